// Opening entries: an old customer balance arrives in the target as "Devir" records of CARIHR, one per side
// and currency, built for the card that is current in Cari5_Ds.
#include <map>
#include <optional>
#include <string>
#include <utility>

#include "transfer/Transfers.h"
#include "transfer/customer/Rates.h"

namespace transfer {

namespace {

// doviz.DB is read sequentially; a currency code is looked up once per company, not once per entry.
struct ParadoxRates {
    std::string folder;
    std::map<std::string, std::optional<std::pair<db::Value, db::Value>>> byCode;
};
ParadoxRates& paradoxRates() {
    static ParadoxRates rates;
    return rates;
}

}  // namespace

namespace customer {
void forgetParadoxRates() {
    paradoxRates().byCode.clear();
    paradoxRates().folder.clear();
}
}  // namespace customer

void CariDevirDoldur(Context& ctx) {
    db::Dataset& hr = ctx.dm.CariHr5_Ds;
    const db::Dataset& card = ctx.dm.Cari5_Ds;
    hr.set("BLCRKODU", card.value("BLCRKODU"));
    hr.set("TARIHI", ctx.today);
    hr.set("VADE", ctx.today);
    hr.set("ADSOYAD", card.asString("ADI") + " " + card.asString("SOYADI"));
    for (const char* column : {"UNVANI", "GRUBU", "ALTGRUP", "CARIKODU", "OZEL_KOD"})
        hr.set(column, card.value(column));
    hr.set("CROZELKODU", card.value("OZEL_KOD"));
    hr.set("MUH_DURUM", std::string("0"));
    hr.set("TAKSIT", std::string("0"));
    hr.set("ODEDI", std::string("1"));
    hr.set("TUTAR_TURU", std::string("1"));
    hr.set("FATCARI", std::string("0"));
    hr.set("IRSCARI", std::string("0"));
    hr.set("CS_CIROLANDI", std::string("0"));
    hr.set("IS_TURU", std::string("Devir"));
    hr.set("DVZBRM", card.value("DVZBRM"));
    hr.set("KAYDEDEN", ctx.personel);
}

void CariDovizKuruAl(Context& ctx, Source source) {
    db::Dataset& hr = ctx.dm.CariHr5_Ds;
    const std::string code = hr.asString("DVZBRM");
    // No currency is recorded without a symbol; an entry without one keeps no rate.
    if (code.empty()) return;
    if (source == Source::InterBase) {
        db::Dataset& rates = ctx.dm.Doviz4_Ds;
        if (!rates.locate("SIMGE", code)) return;
        hr.set("DVZ_ALIS", rates.value("ALIS"));
        hr.set("DVZ_SATIS", rates.value("SATIS"));
        return;
    }
    db::paradox::Table& table = ctx.dm.Doviz_T;
    ParadoxRates& cache = paradoxRates();
    if (cache.folder != table.folder()) {
        cache.byCode.clear();
        cache.folder = table.folder();
    }
    auto it = cache.byCode.find(code);
    if (it == cache.byCode.end()) {
        std::optional<std::pair<db::Value, db::Value>> found;
        for (table.first(); !table.eof(); table.next()) {
            if (table.asString("SIMGE") == code) {
                found.emplace(table.value("ALIS"), table.value("SATIS"));
                break;
            }
        }
        it = cache.byCode.emplace(code, std::move(found)).first;
    }
    if (!it->second) return;
    hr.set("DVZ_ALIS", it->second->first);
    hr.set("DVZ_SATIS", it->second->second);
}

void CariHrTutarDagit(Context& ctx, Source source) {
    db::Dataset& hr = ctx.dm.CariHr5_Ds;
    bool setting = false;
    if (source == Source::InterBase) {
        setting = ctx.dm.Ayar4_Ds.asString("DVZKUL") == "1";
    } else {
        // The customer transfer stands ayar.DB on its first record, the one that holds the settings.
        const db::paradox::Table& ayar = ctx.dm.Ayar_T;
        setting = !ayar.eof() && ayar.asBoolean("DVZKUL");
    }
    const bool currency = setting && ctx.dm.Cari5_Ds.asString("DVZKUL") == "1" && hr.asString("DVZKUL") == "1" &&
                          hr.asString("DVZ_HSISLE") == "1";
    const bool debit = hr.asString("TUTAR_TURU") == "1";
    const double tutar = hr.asFloat("TUTAR");
    const double doviz = currency ? hr.asFloat("DOVIZ") : 0.0;
    hr.set("DVZ_BTUT", debit ? doviz : 0.0);
    hr.set("DVZ_ATUT", debit ? 0.0 : doviz);
    hr.set("KPB_BTUT", debit ? tutar : 0.0);
    hr.set("KPB_ATUT", debit ? 0.0 : tutar);
}

void CariDevirEkle(Context& ctx, Source source, EntryKind kind, double amount, const std::string& currency) {
    db::Dataset& hr = ctx.dm.CariHr5_Ds;
    const bool isCurrency = kind == EntryKind::CurrencyDebit || kind == EntryKind::CurrencyCredit;
    const bool isDebit = kind == EntryKind::LocalDebit || kind == EntryKind::CurrencyDebit;
    hr.append();
    CariDevirDoldur(ctx);
    hr.set(isCurrency ? "DOVIZ" : "TUTAR", amount);
    hr.set("TUTAR_TURU", std::string(isDebit ? "1" : "0"));
    hr.set("MUH_DURUM", std::string(isDebit ? "0" : "1"));
    hr.set("DVZKUL", std::string(isCurrency ? "1" : "0"));
    hr.set("KPBDVZ", std::string(isCurrency ? "0" : "1"));
    hr.set("DVZ_HSISLE", std::string(isCurrency ? "1" : "0"));
    if (isCurrency) {
        hr.set("DVZBRM", currency);
        CariDovizKuruAl(ctx, source);
        // A rate that was not found reads as 0: the entry keeps its currency amount and no local value.
        hr.set("TUTAR", hr.asFloat("DOVIZ") * hr.asFloat("DVZ_SATIS"));
    }
    CariHrTutarDagit(ctx, source);
    hr.post();
}

}  // namespace transfer
