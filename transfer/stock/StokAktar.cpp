// Stock cards of both sources, with their foreign-currency prices and their balances as opening entries.
#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <optional>
#include <string>

#include "db/Codepage.h"
#include "db/Conversions.h"
#include "transfer/Transfers.h"

namespace transfer {

namespace {

const std::string kQuote = "'";

// The wordings of the old program's stock warning choice, compared exactly.
const std::string kUyarma = "Uyarma";
const std::string& eksiyeDuserseUyar() {
    static const std::string text = db::codepage::fromUtf8("Stok (-) eksiye düşerse uyar");
    return text;
}

db::Value dateValue(const std::optional<db::Date>& d) { return d ? db::Value(*d) : db::kNull; }

// Balances are sums and differences of floating-point quantities: 0.1 + 0.2 - 0.3 leaves a residue of the
// order of 1e-17 where the books say nothing is left. Such a residue must not become an opening entry (its
// unit price, the amount divided by the residue, would be absurd), while any real quantity stays as it is.
double balance(std::initializer_list<double> terms, double result) {
    double scale = 0;
    for (double t : terms) scale = std::max(scale, std::fabs(t));
    return std::fabs(result) <= scale * 1e-12 ? 0.0 : result;
}

void setAccounts(db::Dataset& card) {
    card.set("MUH_ALIS", "153");
    card.set("MUH_SATIS", "600");
    card.set("MUH_SATIS2", "601");
    card.set("MUH_IADE", "610");
    card.set("MUH_IADE2", "610");
    card.set("MUH_ISK", "611");
    card.set("MUH_MLYT", "621");
}

// MIKTAR2: the quantity in the card's second unit, when the card has one.
void setSecondQuantity(db::Dataset& hr) {
    const double carpan = hr.asFloat("BIRIM_CARPAN");
    if (carpan > 0) hr.set("MIKTAR2", db::Yuvarla(hr.asFloat("MIKTARI") / carpan, 0));
}

// The local-currency opening entry of the card current in Stok5_Ds.
void localEntry(Context& ctx, double quantity, double amount, bool foreignCurrencySetting) {
    db::Dataset& hr = ctx.dm.StokHr5_Ds;
    db::Dataset& card = ctx.dm.Stok5_Ds;
    hr.append();
    StokDevirDoldur(ctx);
    hr.set("MIKTARI", quantity);
    setSecondQuantity(hr);
    if (amount > 0) hr.set("KPB_FIYAT", db::Yuvarla(amount / quantity, 0));
    else if (card.asFloat("FIYAT_ALIS") > 0) hr.set("KPB_FIYAT", card.asFloat("FIYAT_ALIS"));
    if (!(hr.asFloat("KPB_FIYAT") > 0)) hr.set("KPB_FIYAT", 1.0);
    hr.set("KPB_TUTAR", quantity * hr.asFloat("KPB_FIYAT"));
    hr.set("DVZKUL", "0");
    hr.set("KPBDVZ", "1");
    hr.setNull("DVZBRM");
    hr.set("DVZ_HSISLE", "0");
    StokHrMiktarDagit(ctx, foreignCurrencySetting);
    hr.post();
}

// A foreign-currency opening entry: started, filled from the card, MIKTARI and MIKTAR2 set, DOVIZ_FIYAT set
// when a price is known. Fills the rest and posts.
void currencyTail(Context& ctx, const db::Value& symbol, bool foreignCurrencySetting) {
    db::Dataset& hr = ctx.dm.StokHr5_Ds;
    if (!(hr.asFloat("DOVIZ_FIYAT") > 0)) hr.set("DOVIZ_FIYAT", 1.0);
    hr.set("DOVIZ_TUTAR", hr.asFloat("MIKTARI") * hr.asFloat("DOVIZ_FIYAT"));
    hr.set("DVZKUL", "1");
    hr.set("KPBDVZ", "0");
    hr.set("DVZBRM", symbol);
    hr.set("DVZ_HSISLE", "1");
    StokDovizKuruAl(ctx);
    hr.set("KPB_FIYAT", hr.asFloat("DVZ_SATIS") * hr.asFloat("DOVIZ_FIYAT"));
    hr.set("KPB_TUTAR", hr.asFloat("DVZ_SATIS") * hr.asFloat("DOVIZ_TUTAR"));
    StokHrMiktarDagit(ctx, foreignCurrencySetting);
    hr.post();
}

void startCurrencyEntry(Context& ctx, double quantity) {
    db::Dataset& hr = ctx.dm.StokHr5_Ds;
    hr.append();
    StokDevirDoldur(ctx);
    hr.set("MIKTARI", quantity);
    setSecondQuantity(hr);
}

// Balances of the card just posted from the source card current in Stok4_Ds.
void ibBalances(Context& ctx, bool foreignCurrencySetting) {
    db::TDM& dm = ctx.dm;
    db::Dataset& src = dm.Stok4_Ds;
    db::Dataset& q = dm.Topla_Q;
    // The card's key goes in as a parameter: the same rows as the key written into the text, but one prepared
    // statement for all cards instead of one per card.
    const std::vector<db::Value> sourceKey{src.value("BLSTKODU")};

    q.close();
    q.setSql({"SELECT SUM(KPB_GMIK) KPB_GMIK, SUM(KPB_CMIK) KPB_CMIK, SUM(KPB_GTUT) KPB_GTUT, SUM(KPB_CTUT) KPB_CTUT "
              "FROM STOKHR",
              "WHERE BLSTKODU=?",
              " AND (DVZKUL<>" + kQuote + "1" + kQuote + " OR DVZ_HSISLE <>" + kQuote + "1" + kQuote + ")"},
             sourceKey);
    q.open();
    const double gmik = q.asFloat("KPB_GMIK"), cmik = q.asFloat("KPB_CMIK"), gtut = q.asFloat("KPB_GTUT");
    q.close();
    const double devir = src.asFloat("MIKTAR_DEVIRKPB");
    const double quantity = balance({gmik, devir, cmik}, (gmik + devir) - cmik);
    if (quantity != 0) localEntry(ctx, quantity, src.asFloat("TUTAR_DEVIRKPB") + gtut, foreignCurrencySetting);

    if (!foreignCurrencySetting || src.asString("DVZKUL") != "1") return;

    db::Dataset& prices = dm.StDvz4_Ds;
    db::Dataset& targetPrices = dm.StDvz5_Ds;
    db::Dataset& hr = dm.StokHr5_Ds;
    prices.close();
    prices.setSql({"SELECT * FROM STOKDVZ", "WHERE BLSTKODU=?"}, sourceKey);
    prices.open();
    targetPrices.close();
    targetPrices.setSql({"SELECT * FROM STOKDVZ", "WHERE BLSTKODU=?"}, {dm.Stok5_Ds.value("BLSTKODU")});
    targetPrices.open();
    for (; !prices.eof(); prices.next()) {
        if (!prices.asString("SIMGE").empty()) {
            targetPrices.append();
            for (const char* c : {"SIMGE", "FIYAT_ALIS", "FIYAT_SATIS1", "FIYAT_SATIS2", "FIYAT_SATIS3", "FIYAT_SATIS4"})
                targetPrices.set(c, prices.value(c));
            targetPrices.post();
        }
        const double carried = prices.asFloat("MIKTAR_DEVIR");
        if (carried != 0) {
            startCurrencyEntry(ctx, carried);
            if (prices.asFloat("TUTAR_DEVIR") > 0)
                hr.set("DOVIZ_FIYAT", db::Yuvarla(prices.asFloat("TUTAR_DEVIR") / carried, 0));
            else if (prices.asFloat("FIYAT_ALIS") > 0)
                hr.set("DOVIZ_FIYAT", prices.asFloat("FIYAT_ALIS"));
            currencyTail(ctx, prices.value("SIMGE"), foreignCurrencySetting);
        }
    }

    q.setSql({"SELECT DVZBRM, SUM(DVZ_GMIK) DVZ_GMIK, SUM(DVZ_CMIK) DVZ_CMIK, SUM(DVZ_GTUT) DVZ_GTUT, SUM(DVZ_CTUT) "
              "DVZ_CTUT FROM STOKHR",
              "WHERE BLSTKODU=?",
              " AND (DVZKUL=" + kQuote + "1" + kQuote + " AND DVZ_HSISLE=" + kQuote + "1" + kQuote + ")",
              "GROUP BY DVZBRM"},
             sourceKey);
    q.open();
    for (; !q.eof(); q.next()) {
        const double in = q.asFloat("DVZ_GMIK"), out = q.asFloat("DVZ_CMIK");
        const double moved = balance({in, out}, in - out);
        if (moved == 0) continue;
        startCurrencyEntry(ctx, moved);
        if (q.asFloat("DVZ_GTUT") > 0) hr.set("DOVIZ_FIYAT", db::Yuvarla(q.asFloat("DVZ_GTUT") / moved, 0));
        currencyTail(ctx, q.value("DVZBRM"), foreignCurrencySetting);
    }
    q.close();
}

}  // namespace

void StokDevirDoldur(Context& ctx) {
    db::Dataset& hr = ctx.dm.StokHr5_Ds;
    const db::Dataset& card = ctx.dm.Stok5_Ds;
    auto text = [&](const char* to, const char* from) { hr.set(to, card.asString(from)); };
    auto number = [&](const char* to, const char* from) { hr.set(to, card.asFloat(from)); };
    number("BLSTKODU", "BLSTKODU");
    text("STOKKODU", "STOKKODU");
    text("CINSI", "CINSI");
    text("BIRIMI", "BIRIMI");
    text("GRUP_ADI", "GRUP_ADI");
    text("ALTGRUP", "ALTGRUP");
    hr.set("TARIHI", ctx.today);
    text("DVZBRM", "DVZBRM");
    text("STOZELKOD", "OZEL_KODU");
    hr.set("IS_TURU", "1");
    hr.set("DEVIR", "1");
    text("UYARI", "UYARI");
    number("MIN_STOK", "MIN_STOK");
    number("MAX_STOK", "MAX_STOK");
    // A card without an expiry date has none in its entries either (day zero would read as an expired item).
    hr.set("SONKUL_TARIHI", dateValue(card.asDate("SONKUL_TARIHI")));
    text("SONKUL_UYARI", "SONKUL_UYARI");
    text("SIP_EKLE", "SIP_EKLE");
    number("SIP_MIN", "SIP_MIN_ADET");
    number("SIP_MAX", "SIP_EKLE_ADET");
    text("BIRIM2", "BIRIM_2");
    number("BIRIM_CARPAN", "BIRIM_CARPAN");
    hr.set("FATURA_STOK", "0");
    hr.set("IRSSTOK", "0");
    hr.setNull("DEPOADI");
    hr.set("DEPOKUL", "0");
    hr.set("KAYDEDEN", ctx.personel);
}

void StokHrMiktarDagit(Context& ctx, bool foreignCurrencySetting) {
    db::Dataset& hr = ctx.dm.StokHr5_Ds;
    const bool foreign = foreignCurrencySetting && ctx.dm.Stok5_Ds.asString("DVZKUL") == "1" &&
                         hr.asString("DVZKUL") == "1" && hr.asString("DVZ_HSISLE") == "1";
    const bool incoming = hr.asString("IS_TURU") == "1";
    const double quantity = hr.asFloat("MIKTARI");
    const double amount = foreign ? hr.asFloat("DOVIZ_TUTAR") : hr.asFloat("KPB_TUTAR");
    hr.set("DVZ_GMIK", foreign && incoming ? quantity : 0.0);
    hr.set("DVZ_CMIK", foreign && !incoming ? quantity : 0.0);
    hr.set("KPB_GMIK", !foreign && incoming ? quantity : 0.0);
    hr.set("KPB_CMIK", !foreign && !incoming ? quantity : 0.0);
    hr.set("DVZ_GTUT", foreign && incoming ? amount : 0.0);
    hr.set("DVZ_CTUT", foreign && !incoming ? amount : 0.0);
    hr.set("KPB_GTUT", !foreign && incoming ? amount : 0.0);
    hr.set("KPB_CTUT", !foreign && !incoming ? amount : 0.0);
}

void StokDovizKuruAl(Context& ctx) {
    db::Dataset& hr = ctx.dm.StokHr5_Ds;
    db::Dataset& rates = ctx.dm.Doviz4_Ds;
    if (hr.isNull("DVZBRM")) return;  // no symbol names no currency row
    if (!rates.locate("SIMGE", hr.value("DVZBRM"))) return;
    hr.set("DVZ_ALIS", rates.value("ALIS"));
    hr.set("DVZ_SATIS", rates.value("SATIS"));
}

void IBStokAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    ctx.progressStart(dm.KayitSayisiAl("STOK", "BLSTKODU"), "Stok Kartları Aktarılıyor");
    dm.Ayar4_Ds.close();
    dm.Ayar4_Ds.open();
    const bool foreignCurrencySetting = !dm.Ayar4_Ds.eof() && dm.Ayar4_Ds.asString("DVZKUL") == "1";
    dm.Doviz4_Ds.open();
    dm.StokHr5_Ds.open();

    db::Dataset& src = dm.Stok4_Ds;
    db::Dataset& card = dm.Stok5_Ds;
    for (src.first(); !src.eof();) {
        card.append();
        card.copyByName(src, {"BLSTKODU"});
        setAccounts(card);
        card.set("STOKKODU", db::BuyukHarfCevir(card.asString("STOKKODU")));
        card.post();
        if (ctx.options.CheckSTBK) ibBalances(ctx, foreignCurrencySetting);
        src.next();
        ctx.progressStep();
    }
}

void BDEStokAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    db::paradox::Table& src = dm.Stok_T;
    ctx.progressStart(src.recordCount(), "Stok Kartları Aktarılıyor");
    if (!dm.Ayar_T.active()) dm.Ayar_T.open();
    dm.Ayar_T.first();
    const bool foreignCurrencySetting = !dm.Ayar_T.eof() && dm.Ayar_T.asBoolean("DVZKUL");
    dm.StokHr5_Ds.open();

    db::Dataset& card = dm.Stok5_Ds;
    auto flag = [&](const char* field) { return src.asBoolean(field) ? "1" : "0"; };
    for (src.first(); !src.eof();) {
        card.append();
        card.set("STOKKODU", db::BuyukHarfCevir(src.asString("STOKKODU")));
        card.set("OZEL_KODU", src.asString("OZKOD"));
        card.set("GRUP_ADI", src.asString("GRUPAD"));
        card.set("BIRIMI", src.asString("BIRIM"));
        card.set("KDV", src.asFloat("KDV"));
        card.set("ALIS_ISK_ORANI", src.asFloat("AISKORN"));
        card.set("SATIS_ISK_ORANI", src.asFloat("SISKORN"));
        card.set("FIYAT_ALIS", src.asFloat("KALF"));
        card.set("FIYAT_SATIS1", src.asFloat("KSAT1"));
        card.set("FIYAT_SATIS2", src.asFloat("KSAT2"));
        card.set("FIYAT_SATIS3", src.asFloat("KSAT3"));
        card.set("FIYAT_SATIS4", src.asFloat("KSAT4"));
        card.set("KAYIT_TARIHI", dateValue(src.asDate("KTARIH")));
        card.set("DVZBRM", src.asString("DVZBRM"));
        card.set("MIN_STOK", src.asFloat("MIN"));
        card.set("MAX_STOK", src.asFloat("MAX"));
        card.set("IMAL_TARIHI", dateValue(src.asDate("IMALTAR")));
        card.set("SONKUL_TARIHI", dateValue(src.asDate("SONTAR")));
        card.set("KALITE", src.asString("ALPHA1"));
        card.set("URETICI_FRM", src.asString("ALPHA3"));
        card.set("BIRIM_CARPAN", src.asFloat("NUMBER1"));
        card.set("BIRIM_2", src.asString("ALPHA2"));
        card.set("KAYDEDEN", ctx.personel);
        const std::string description = src.asString("ACIKLAMA");
        card.set("ACIKLAMA1", db::MemoTemizle(db::slice(description, 1, 60)));
        card.set("ACIKLAMA2", db::MemoTemizle(db::slice(description, 61, 120)));
        card.set("ACIKLAMA3", db::MemoTemizle(db::slice(description, 121, 180)));
        setAccounts(card);
        // CINSI is required: a card without a name gets a single blank.
        const std::string name = src.asString("CINS");
        card.set("CINSI", name.empty() ? std::string(" ") : name);
        card.set("DEPOKUL", "0");
        card.setNull("DEPOADI");
        card.set("SIP_EKLE", "0");
        card.set("SIP_MIN_ADET", std::int64_t{0});
        card.set("SIP_EKLE_ADET", std::int64_t{0});
        card.set("ALIS_ISK_KUL", flag("AISK"));
        card.set("SATIS_ISK_KUL", flag("SISK"));
        card.set("DVZKUL", flag("DVZKUL"));
        const std::string warning = src.asString("UYARI");
        card.set("UYARI", warning == kUyarma ? "0" : warning == eksiyeDuserseUyar() ? "1" : "2");
        card.set("SONKUL_UYARI", flag("SKUYARI"));
        card.post();

        const double remaining = src.asFloat("MIKKAL");
        if (ctx.options.CheckSTBK && remaining != 0)
            localEntry(ctx, remaining, src.asFloat("TUTDEV") + src.asFloat("TUTGIR"), foreignCurrencySetting);

        if (foreignCurrencySetting && src.asBoolean("DVZKUL") && !src.asString("DVZBRM").empty()) {
            db::Dataset& prices = dm.StDvz5_Ds;
            prices.append();
            prices.set("SIMGE", src.asString("DVZBRM"));
            prices.set("FIYAT_ALIS", src.asFloat("DALF"));
            prices.set("FIYAT_SATIS1", src.asFloat("DSAT1"));
            prices.set("FIYAT_SATIS2", src.asFloat("DSAT2"));
            prices.set("FIYAT_SATIS3", src.asFloat("DSAT3"));
            prices.set("FIYAT_SATIS4", src.asFloat("DSAT4"));
            prices.post();
        }
        src.next();
        ctx.progressStep();
    }
}

}  // namespace transfer
