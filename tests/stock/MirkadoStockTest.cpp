// Stock cards, their prices and balances, stock groups and currencies from a Mirkado 4 company database.
#include <algorithm>
#include <array>
#include <optional>

#include "StockFixture.h"

using namespace stocktest;

namespace {

std::string num(double d) { return db::formatNumber(d); }
std::string opt(const std::optional<double>& d) { return d ? num(*d) : "NULL"; }
std::string flagSql(const char* f) { return f ? std::string("'") + f + "'" : "NULL"; }

class MirkadoStock : public MirkadoRun {
protected:
    // A card with the columns the balances read; the rest NULL.
    void card(int key, const std::string& code, std::optional<double> devirQty, std::optional<double> devirAmount,
              std::optional<double> purchasePrice, const char* dvzkul = "0", std::optional<double> carpan = {}) {
        source("INSERT INTO STOK (BLSTKODU, STOKKODU, CINSI, MIKTAR_DEVIRKPB, TUTAR_DEVIRKPB, FIYAT_ALIS, DVZKUL, "
               "BIRIM_CARPAN) VALUES (" + num(key) + ", " + lit(w(code)) + ", 'Mal', " + opt(devirQty) + ", " +
               opt(devirAmount) + ", " + opt(purchasePrice) + ", " + flagSql(dvzkul) + ", " + opt(carpan) + ")");
    }
    // A movement of the old books; `dvzkul`/`hsisle` nullptr for NULL.
    void movement(int cardKey, const char* dvzkul, const char* hsisle, double gmik, double cmik, double gtut,
                  const char* dvzbrm = nullptr, double dgmik = 0, double dcmik = 0, double dgtut = 0) {
        source("INSERT INTO STOKHR (BLSHKODU, BLSTKODU, IS_TURU, TARIHI, MIKTARI, KPB_TUTAR, KPB_FIYAT, DVZKUL, "
               "DVZ_HSISLE, KPB_GMIK, KPB_CMIK, KPB_GTUT, DVZBRM, DVZ_GMIK, DVZ_CMIK, DVZ_GTUT) VALUES (" +
               num(++movements) + ", " + num(cardKey) + ", '1', '2003-05-01', 0, 0, 0, " + flagSql(dvzkul) + ", " +
               flagSql(hsisle) + ", " + num(gmik) + ", " + num(cmik) + ", " + num(gtut) + ", " + flagSql(dvzbrm) +
               ", " + num(dgmik) + ", " + num(dcmik) + ", " + num(dgtut) + ")");
    }
    void foreignCurrencySetting(bool on) {
        source(std::string("INSERT INTO AYAR (BLAYKODU, DVZKUL) VALUES (1, '") + (on ? "1" : "0") + "')");
    }
    std::vector<Row> entries(const std::string& code, const std::vector<std::string>& columns) {
        return select("STOKHR", columns, "STOKKODU = " + lit(w(code)), "BLSHKODU");
    }
    double targetKey(const std::string& code) {
        return db::asFloat(scalar(targetDb(), "SELECT BLSTKODU FROM STOK WHERE STOKKODU = " + lit(w(code))));
    }
    int movements = 0;
};

}  // namespace

TEST_F(MirkadoStock, CardsAreCopiedByNameWithAccountsAndATurkishUpperCaseCode) {
    source("INSERT INTO STOK (BLSTKODU, STOKKODU, OZEL_KODU, GRUP_ADI, KDV, DVZKUL, DVZBRM, FIYAT_ALIS, "
           "KAYIT_TARIHI, SIP_MIN_ADET, CINSI, KAYDEDEN, ALTGRUP, MIKTAR_DEVIRKPB, STIST_1) VALUES "
           "(77, " + lit(w("çiğdem-ış")) + ", 'OZ', 'GIDA', 18, '1', 'USD', 2.5, '2003-02-01', 12, " +
           lit(w("Çay")) + ", 'Eski Kisi', 'KURU', 4, 9)");
    up.options.CheckSTBK = false;
    runCompleted();
    auto r = select("STOK", {"BLSTKODU", "STOKKODU", "OZEL_KODU", "GRUP_ADI", "KDV", "DVZKUL", "DVZBRM", "FIYAT_ALIS",
                             "KAYIT_TARIHI", "SIP_MIN_ADET", "CINSI", "KAYDEDEN", "ALTGRUP", "MUH_ALIS", "MUH_SATIS",
                             "MUH_SATIS2", "MUH_IADE", "MUH_IADE2", "MUH_ISK", "MUH_MLYT", "MUH_DEGDUS", "MODEL",
                             "MARKA", "FIYAT_ALIS2", "BARKODU", "SATIS_ISK_KUL"});
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(db::asFloat(r[0]["BLSTKODU"]), 1) << "the key comes from STOK_GEN, not from the source";
    EXPECT_EQ(db::asString(r[0]["STOKKODU"]), w("ÇİĞDEM-IŞ"));
    EXPECT_EQ(db::asString(r[0]["OZEL_KODU"]), "OZ");
    EXPECT_EQ(db::asString(r[0]["GRUP_ADI"]), "GIDA");
    EXPECT_EQ(db::asFloat(r[0]["KDV"]), 18);
    EXPECT_EQ(db::asString(r[0]["DVZKUL"]), "1");
    EXPECT_EQ(db::asString(r[0]["DVZBRM"]), "USD");
    EXPECT_EQ(db::asFloat(r[0]["FIYAT_ALIS"]), 2.5);
    EXPECT_EQ(db::asDate(r[0]["KAYIT_TARIHI"]), (db::Date{2003, 2, 1}));
    EXPECT_EQ(db::asInteger(r[0]["SIP_MIN_ADET"]), 12);
    EXPECT_EQ(db::asString(r[0]["CINSI"]), w("Çay"));
    EXPECT_EQ(db::asString(r[0]["KAYDEDEN"]), "Eski Kisi") << "the card keeps who recorded it";
    EXPECT_EQ(db::asString(r[0]["ALTGRUP"]), "KURU");
    const std::pair<const char*, const char*> accounts[] = {{"MUH_ALIS", "153"}, {"MUH_SATIS", "600"},
                                                            {"MUH_SATIS2", "601"}, {"MUH_IADE", "610"},
                                                            {"MUH_IADE2", "610"}, {"MUH_ISK", "611"},
                                                            {"MUH_MLYT", "621"}};
    for (const auto& [column, account] : accounts) EXPECT_EQ(db::asString(r[0][column]), account) << column;
    for (const char* column : {"MUH_DEGDUS", "MODEL", "MARKA", "FIYAT_ALIS2", "BARKODU", "SATIS_ISK_KUL"})
        EXPECT_TRUE(db::isNull(r[0][column])) << column;
    // Without balances nothing else is written, even for a currency card with prices.
    EXPECT_EQ(count(targetDb(), "STOKDVZ"), 0);
    EXPECT_EQ(count(targetDb(), "STOKHR"), 0);
    EXPECT_EQ(op.progressTexts.front(), "Stok Kartları Aktarılıyor");
    EXPECT_EQ(op.progressMaxima.front(), 1);
}

TEST_F(MirkadoStock, WithBalancesOffOnlyCardsAreWritten) {
    foreignCurrencySetting(true);
    card(1, "D1", 5, 50, 1, "1");
    source("INSERT INTO STOKDVZ (BLSDKODU, SIMGE, BLSTKODU, MIKTAR_DEVIR) VALUES (1, 'USD', 1, 3)");
    movement(1, "0", "0", 2, 0, 20);
    movement(1, "1", "1", 0, 0, 0, "USD", 4, 0, 8);
    up.options.CheckSTBK = false;
    runCompleted();
    EXPECT_EQ(count(targetDb(), "STOK"), 1);
    EXPECT_EQ(count(targetDb(), "STOKDVZ"), 0);
    EXPECT_EQ(count(targetDb(), "STOKHR"), 0);
}

TEST_F(MirkadoStock, LocalBalancesBecomeOneOpeningEntry) {
    foreignCurrencySetting(false);
    struct Case {
        const char* code;
        std::optional<double> devirQty, devirAmount, purchasePrice;
        std::vector<std::array<double, 3>> local;  // in, out, incoming amount
        std::optional<std::array<double, 3>> entry;  // MIKTARI, KPB_FIYAT, KPB_TUTAR; none: no entry
    };
    const Case cases[] = {
        {"ORNEK", 10, 100, {}, {{5, 0, 60}, {0, 3, 0}}, {{12, 13, 156}}},
        {"SIFIR", 2, 20, 9, {{0, 2, 0}}, {}},
        {"EKSI-ALIS", {}, {}, 7, {{0, 4, 0}}, {{-4, 7, -28}}},
        {"EKSI-FIYATSIZ", {}, {}, 0, {{0, 4, 0}}, {{-4, 1, -4}}},
        {"EKSI-TUTARLI", {}, 50, 7, {{0, 4, 0}}, {{-4, 1, -4}}},  // -12.5 is no price: 1, not the card's 7
        {"BOS", {}, {}, {}, {}, {}},
        // Decimal quantities: 0.1 + 0.2 - 0.3 is not exactly 0 in floating point, yet nothing is left.
        {"ONDALIK", 0.1, {}, {}, {{0.2, 0, 0}, {0, 0.3, 0}}, {}},
        {"ONDALIK-KALAN", 0.1, {}, {}, {{0.2, 0, 0}}, {{0.1 + 0.2, 1, 0.1 + 0.2}}},
    };
    int key = 0;
    for (const auto& c : cases) {
        card(++key, c.code, c.devirQty, c.devirAmount, c.purchasePrice);
        for (const auto& m : c.local) movement(key, "0", "0", m[0], m[1], m[2]);
    }
    // Counted nowhere: a movement whose flags are both NULL; and, with the setting off, one booked in a currency.
    card(++key, "HARIC", 1, {}, {}, "1");
    movement(key, nullptr, nullptr, 100, 0, 500);
    movement(key, "1", "1", 50, 0, 500, "USD", 50, 0, 5);
    runCompleted();

    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        auto e = entries(c.code, {"MIKTARI", "KPB_FIYAT", "KPB_TUTAR", "KPB_GMIK", "KPB_GTUT"});
        if (!c.entry) {
            EXPECT_TRUE(e.empty());
            continue;
        }
        ASSERT_EQ(e.size(), 1u);
        EXPECT_DOUBLE_EQ(db::asFloat(e[0]["MIKTARI"]), (*c.entry)[0]);
        EXPECT_DOUBLE_EQ(db::asFloat(e[0]["KPB_FIYAT"]), (*c.entry)[1]);
        EXPECT_DOUBLE_EQ(db::asFloat(e[0]["KPB_TUTAR"]), (*c.entry)[2]);
        EXPECT_DOUBLE_EQ(db::asFloat(e[0]["KPB_GMIK"]), (*c.entry)[0]) << "a negative balance stays incoming";
        EXPECT_DOUBLE_EQ(db::asFloat(e[0]["KPB_GTUT"]), (*c.entry)[2]);
    }
    auto e = entries("HARIC", {"MIKTARI", "DVZKUL", "DVZBRM"});
    ASSERT_EQ(e.size(), 1u) << "no currency entry with the setting off";
    EXPECT_EQ(db::asFloat(e[0]["MIKTARI"]), 1);
    EXPECT_EQ(db::asString(e[0]["DVZKUL"]), "0");
    EXPECT_EQ(count(targetDb(), "STOKDVZ"), 0);
}

TEST_F(MirkadoStock, AnOpeningEntryCarriesTheCardAndMarksItselfLocal) {
    foreignCurrencySetting(false);
    source("INSERT INTO STOK (BLSTKODU, STOKKODU, CINSI, GRUP_ADI, ALTGRUP, BIRIMI, BIRIM_2, BIRIM_CARPAN, OZEL_KODU, "
           "DVZBRM, UYARI, MAX_STOK, SONKUL_UYARI, SIP_EKLE, SIP_MIN_ADET, SIP_EKLE_ADET, DEPOKUL, DEPOADI, "
           "MIKTAR_DEVIRKPB) VALUES (5, 'kalem', " + lit(w("Kurşun kalem")) + ", 'KIRTASIYE', 'YAZI', 'ADET', 'KOLI', 5, 'OK1', "
           "'EUR', '1', 900, '0', '1', 3, 4, '1', 'Ana Depo', 12)");
    source("INSERT INTO STOK (BLSTKODU, STOKKODU, CINSI, SONKUL_TARIHI, MIKTAR_DEVIRKPB) "
           "VALUES (6, 'SUT', 'Sut', '2005-01-31', 1)");
    runCompleted();
    const std::vector<std::string> columns = {
        "BLSTKODU", "STOKKODU", "CINSI", "GRUP_ADI", "ALTGRUP", "BIRIMI", "BIRIM2", "BIRIM_CARPAN", "MIKTAR2",
        "STOZELKOD", "IS_TURU", "TARIHI", "DEVIR", "UYARI", "MIN_STOK", "MAX_STOK", "SONKUL_TARIHI", "SONKUL_UYARI",
        "SIP_EKLE", "SIP_MIN", "SIP_MAX", "FATURA_STOK", "IRSSTOK", "DEPOKUL", "DEPOADI", "KAYDEDEN", "DVZKUL",
        "KPBDVZ", "DVZBRM", "DVZ_HSISLE", "DOVIZ_TUTAR", "DOVIZ_FIYAT", "DVZ_ALIS", "DVZ_SATIS", "KPB_CMIK",
        "KPB_CTUT", "DVZ_GMIK", "DVZ_CMIK", "DVZ_GTUT", "DVZ_CTUT", "EVRAK_NO", "CARIKODU", "MUH_ALIS"};
    auto e = entries("KALEM", columns);
    ASSERT_EQ(e.size(), 1u);
    Row& r = e[0];
    EXPECT_EQ(db::asFloat(r["BLSTKODU"]), targetKey("KALEM")) << "the target card's key, not the source's 5";
    const std::pair<const char*, std::string> texts[] = {
        {"CINSI", w("Kurşun kalem")}, {"GRUP_ADI", "KIRTASIYE"}, {"ALTGRUP", "YAZI"}, {"BIRIMI", "ADET"},
        {"BIRIM2", "KOLI"}, {"STOZELKOD", "OK1"}, {"IS_TURU", "1"}, {"DEVIR", "1"}, {"UYARI", "1"},
        {"SONKUL_UYARI", "0"}, {"SIP_EKLE", "1"}, {"FATURA_STOK", "0"}, {"IRSSTOK", "0"}, {"DEPOKUL", "0"},
        {"KAYDEDEN", w("Ayşe Yılmaz")}, {"DVZKUL", "0"}, {"KPBDVZ", "1"}, {"DVZ_HSISLE", "0"}};
    for (const auto& [column, text] : texts) EXPECT_EQ(db::asString(r[column]), text) << column;
    const std::pair<const char*, double> numbers[] = {
        {"BIRIM_CARPAN", 5}, {"MIKTAR2", 2}, {"MIN_STOK", 0}, {"MAX_STOK", 900}, {"SIP_MIN", 3}, {"SIP_MAX", 4},
        {"KPB_CMIK", 0}, {"KPB_CTUT", 0}, {"DVZ_GMIK", 0}, {"DVZ_CMIK", 0}, {"DVZ_GTUT", 0}, {"DVZ_CTUT", 0}};
    for (const auto& [column, number] : numbers) {
        EXPECT_FALSE(db::isNull(r[column])) << column << ": a NULL number of the card arrives as 0";
        EXPECT_EQ(db::asFloat(r[column]), number) << column;
    }
    for (const char* column : {"DEPOADI", "DVZBRM", "DOVIZ_TUTAR", "DOVIZ_FIYAT", "DVZ_ALIS", "DVZ_SATIS",
                               "SONKUL_TARIHI", "EVRAK_NO", "CARIKODU", "MUH_ALIS"})
        EXPECT_TRUE(db::isNull(r[column])) << column;
    EXPECT_EQ(db::asDate(r["TARIHI"]), db::today());

    auto dated = entries("SUT", {"SONKUL_TARIHI", "MIKTAR2"});
    ASSERT_EQ(dated.size(), 1u);
    EXPECT_EQ(db::asDate(dated[0]["SONKUL_TARIHI"]), (db::Date{2005, 1, 31}));
    EXPECT_TRUE(db::isNull(dated[0]["MIKTAR2"])) << "no second unit without a factor";
}

TEST_F(MirkadoStock, CurrencyCardsGetTheirPricesAndOneEntryPerCarriedRowAndPerMovedCurrency) {
    foreignCurrencySetting(true);
    source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, TARIH, ALIS, SATIS) VALUES (1, 'USD', '2003-01-01', 30, 32)");
    source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, TARIH, ALIS, SATIS) VALUES (2, 'USD', '2003-06-01', 38, 40)");
    source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, TARIH, ALIS, SATIS) VALUES (3, 'usd', '2003-06-01', 1, 1)");
    card(1, "DOVIZLI", {}, {}, {}, "1");
    source("INSERT INTO STOKDVZ (BLSDKODU, SIMGE, FIYAT_ALIS, FIYAT_SATIS1, FIYAT_SATIS4, BLSTKODU, MIKTAR_DEVIR, "
           "TUTAR_DEVIR) VALUES (10, 'USD', 2, 3, 6, 1, 4, 10)");
    source("INSERT INTO STOKDVZ (BLSDKODU, SIMGE, BLSTKODU, MIKTAR_DEVIR) VALUES (11, '', 1, 3)");
    source("INSERT INTO STOKDVZ (BLSDKODU, SIMGE, FIYAT_ALIS, BLSTKODU, MIKTAR_DEVIR) VALUES (12, 'EUR', 5, 1, 0)");
    source("INSERT INTO STOKDVZ (BLSDKODU, SIMGE, FIYAT_ALIS, BLSTKODU, MIKTAR_DEVIR) VALUES (13, 'GBP', 7, 1, -2)");
    movement(1, "0", "0", 1, 0, 0);                       // local: one entry of 1
    movement(1, "1", "1", 0, 0, 0, "EUR", 5, 1, 50);      // EUR: 4 at 12.5 -> 12, no EUR rate
    movement(1, "1", "1", 0, 0, 0, "USD", 2, 2, 10);      // USD moved in and out: nothing
    movement(1, "1", "0", 7, 0, 0, "USD", 9, 0, 9);       // booked locally: in the local sum only
    card(2, "TLKART", 1, {}, {}, "0");                    // not a currency card: its price rows stay behind
    source("INSERT INTO STOKDVZ (BLSDKODU, SIMGE, BLSTKODU, MIKTAR_DEVIR) VALUES (20, 'USD', 2, 5)");
    runCompleted();

    auto prices = select("STOKDVZ", {"SIMGE", "FIYAT_ALIS", "FIYAT_SATIS1", "FIYAT_SATIS4", "BLSTKODU"}, "",
                         "BLSDKODU");
    ASSERT_EQ(prices.size(), 3u) << "the row without a symbol writes no price";
    EXPECT_EQ(db::asString(prices[0]["SIMGE"]), "USD");
    EXPECT_EQ(db::asFloat(prices[0]["FIYAT_ALIS"]), 2);
    EXPECT_EQ(db::asFloat(prices[0]["FIYAT_SATIS1"]), 3);
    EXPECT_EQ(db::asFloat(prices[0]["FIYAT_SATIS4"]), 6);
    EXPECT_EQ(db::asString(prices[1]["SIMGE"]), "EUR");
    EXPECT_EQ(db::asString(prices[2]["SIMGE"]), "GBP");
    for (auto& p : prices) EXPECT_EQ(db::asFloat(p["BLSTKODU"]), targetKey("DOVIZLI"));

    auto e = entries("DOVIZLI", {"MIKTARI", "DOVIZ_FIYAT", "DOVIZ_TUTAR", "DVZBRM", "DVZ_ALIS", "DVZ_SATIS",
                                 "KPB_FIYAT", "KPB_TUTAR", "DVZKUL", "KPBDVZ", "DVZ_HSISLE", "DVZ_GMIK", "DVZ_GTUT",
                                 "KPB_GMIK", "KPB_GTUT"});
    struct Expected {
        double quantity;
        std::optional<double> dovizFiyat;  // none: a local entry
        const char* symbol;
        std::optional<double> satis;
    };
    const Expected expected[] = {
        {8, {}, nullptr, {}},        // local: 1 + 7 booked locally, price 1
        {4, 2, "USD", 32},           // carried 4 at 10 / 4 = 2.5 -> 2; the first USD rate
        {3, 1, nullptr, {}},         // carried without a symbol: price 1, no rate
        {-2, 7, "GBP", {}},          // no amount: the row's purchase price; GBP has no rate
        {4, 12, "EUR", {}},          // moved EUR
    };
    ASSERT_EQ(e.size(), std::size(expected));
    for (std::size_t i = 0; i < e.size(); ++i) {
        SCOPED_TRACE(i);
        Row& r = e[i];
        const Expected& x = expected[i];
        EXPECT_DOUBLE_EQ(db::asFloat(r["MIKTARI"]), x.quantity);
        if (!x.dovizFiyat) {
            EXPECT_EQ(db::asString(r["DVZKUL"]), "0");
            EXPECT_EQ(db::asFloat(r["KPB_FIYAT"]), 1);
            EXPECT_EQ(db::asFloat(r["KPB_GMIK"]), x.quantity);
            EXPECT_TRUE(db::isNull(r["DOVIZ_FIYAT"]));
            continue;
        }
        const double tutar = x.quantity * *x.dovizFiyat;
        EXPECT_EQ(db::asFloat(r["DOVIZ_FIYAT"]), *x.dovizFiyat);
        EXPECT_EQ(db::asFloat(r["DOVIZ_TUTAR"]), tutar);
        EXPECT_EQ(db::asString(r["DVZKUL"]), "1");
        EXPECT_EQ(db::asString(r["KPBDVZ"]), "0");
        EXPECT_EQ(db::asString(r["DVZ_HSISLE"]), "1");
        EXPECT_EQ(db::isNull(r["DVZBRM"]), x.symbol == nullptr);
        if (x.symbol) {
            EXPECT_EQ(db::asString(r["DVZBRM"]), x.symbol);
        }
        EXPECT_EQ(db::isNull(r["DVZ_SATIS"]), !x.satis);
        EXPECT_EQ(db::isNull(r["DVZ_ALIS"]), !x.satis);
        EXPECT_EQ(db::asFloat(r["KPB_FIYAT"]), x.satis.value_or(0) * *x.dovizFiyat);
        EXPECT_EQ(db::asFloat(r["KPB_TUTAR"]), x.satis.value_or(0) * tutar);
        EXPECT_EQ(db::asFloat(r["DVZ_GMIK"]), x.quantity);
        EXPECT_EQ(db::asFloat(r["DVZ_GTUT"]), tutar);
        EXPECT_EQ(db::asFloat(r["KPB_GMIK"]), 0);
        EXPECT_EQ(db::asFloat(r["KPB_GTUT"]), 0);
    }
    EXPECT_EQ(db::asFloat(e[1]["DVZ_ALIS"]), 30);
    auto tl = entries("TLKART", {"DVZKUL"});
    ASSERT_EQ(tl.size(), 1u);
    EXPECT_EQ(db::asString(tl[0]["DVZKUL"]), "0");
}

TEST_F(MirkadoStock, ADuplicateStockCodeStopsTheRunWithItsMessageAndLeavesNoCompany) {
    card(1, "kalem", {}, {}, {});
    card(2, "KALEM", {}, {}, {});
    EXPECT_EQ(up.Button1Click(), app::RunResult::Failed);
    ASSERT_EQ(op.messages.size(), 1u) << op.allMessages();
    const std::string tail = "Stok Kodu = KALEM";
    const std::string& text = op.messages[0].text;
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << text;
    EXPECT_EQ(op.messages[0].title, "Dikkat");
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
}

TEST_F(MirkadoStock, GroupsAreMergedByExactNameAndSubGroupsFollowTheMergedGroup) {
    execSql(templateDb(), "INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI, ACIKLAMA) VALUES (100, 'GIDA', 'Sablon')");
    execSql(templateDb(), "INSERT INTO STOKGRUP2 (BLS2KODU, BLSGKODU, GRUP_ADI2, GRUP_ADI) "
                          "VALUES (100, 100, 'GIDA', 'Kuru')");
    source("INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI, ACIKLAMA) VALUES (1, 'GIDA', 'Kaynak')");
    source("INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI) VALUES (2, 'gida')");
    source("INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI, ACIKLAMA) VALUES (3, 'TEMIZLIK', 'Birinci')");
    source("INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI, ACIKLAMA) VALUES (4, 'TEMIZLIK', 'Ikinci')");
    source("INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI) VALUES (5, 'BOS')");
    source("INSERT INTO STOKGRUP2 (BLS2KODU, BLSGKODU, GRUP_ADI2, GRUP_ADI, ACIKLAMA) "
           "VALUES (1, 1, 'ESKI', 'Kuru', 'Bakliyat')");
    source("INSERT INTO STOKGRUP2 (BLS2KODU, BLSGKODU, GRUP_ADI) VALUES (2, 2, 'Kucuk')");
    source("INSERT INTO STOKGRUP2 (BLS2KODU, BLSGKODU, GRUP_ADI) VALUES (3, 3, 'Sabun')");
    source("INSERT INTO STOKGRUP2 (BLS2KODU, BLSGKODU, GRUP_ADI) VALUES (4, 4, 'Deterjan')");
    up.options.CheckSTGR = true;
    runCompleted();

    auto groups = select("STOKGRUP", {"BLSGKODU", "GRUP_ADI", "ACIKLAMA"}, "", "BLSGKODU");
    ASSERT_EQ(groups.size(), 4u);
    std::map<std::string, Row> byName;
    for (auto& g : groups) byName[db::asString(g["GRUP_ADI"])] = g;
    ASSERT_EQ(byName.size(), 4u);
    EXPECT_EQ(db::asFloat(byName["GIDA"]["BLSGKODU"]), 100);
    EXPECT_EQ(db::asString(byName["GIDA"]["ACIKLAMA"]), "Sablon") << "the target's description stays";
    EXPECT_EQ(db::asString(byName["TEMIZLIK"]["ACIKLAMA"]), "Birinci");
    ASSERT_TRUE(byName.count("gida")) << "case counts";

    auto subs = select("STOKGRUP2", {"BLSGKODU", "GRUP_ADI2", "GRUP_ADI", "ACIKLAMA"}, "", "BLS2KODU");
    ASSERT_EQ(subs.size(), 5u);
    struct Sub {
        const char* group;
        const char* name;
    } expected[] = {{"GIDA", "Kuru"}, {"gida", "Kucuk"}, {"TEMIZLIK", "Sabun"}, {"TEMIZLIK", "Deterjan"},
                    {"GIDA", "Kuru"}};  // the last one the template's own
    for (std::size_t i = 0; i < subs.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(db::asString(subs[i]["GRUP_ADI"]), expected[i].name);
        EXPECT_EQ(db::asString(subs[i]["GRUP_ADI2"]), expected[i].group);
        EXPECT_EQ(db::asFloat(subs[i]["BLSGKODU"]), db::asFloat(byName[expected[i].group]["BLSGKODU"]));
    }
    EXPECT_EQ(db::asString(subs[0]["ACIKLAMA"]), "Bakliyat");
    const auto at = std::find(op.progressTexts.begin(), op.progressTexts.end(), "Stok Grupları Aktarılıyor");
    ASSERT_NE(at, op.progressTexts.end());
    EXPECT_NE(std::find(op.progressMaxima.begin(), op.progressMaxima.end(), 5), op.progressMaxima.end());
}

TEST_F(MirkadoStock, EveryCurrencyRowIsCopiedAsItIs) {
    source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, TARIH, DOVIZ, GUNLUKKUR, ALIS, SATIS, KAYDEDEN, ORAN) "
           "VALUES (7, 'USD', '2003-01-01', " + lit(w("Dolar")) + ", '1', 1.25, 1.5, 'Mehmet', '1')");
    source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, TARIH) VALUES (8, 'USD', '2003-02-01')");
    source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, ALIS) VALUES (9, 'eur', NULL)");
    runCompleted();
    auto r = select("DOVIZ", {"BLDVKODU", "SIMGE", "TARIH", "DOVIZ", "GUNLUKKUR", "ALIS", "SATIS", "KAYDEDEN", "ORAN"},
                    "", "BLDVKODU");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(db::asFloat(r[0]["BLDVKODU"]), 1);
    EXPECT_EQ(db::asString(r[0]["SIMGE"]), "USD");
    EXPECT_EQ(db::asDate(r[0]["TARIH"]), (db::Date{2003, 1, 1}));
    EXPECT_EQ(db::asString(r[0]["DOVIZ"]), "Dolar");
    EXPECT_EQ(db::asString(r[0]["GUNLUKKUR"]), "1");
    EXPECT_EQ(db::asFloat(r[0]["ALIS"]), 1.25);
    EXPECT_EQ(db::asFloat(r[0]["SATIS"]), 1.5);
    EXPECT_EQ(db::asString(r[0]["KAYDEDEN"]), "Mehmet");
    EXPECT_EQ(db::asString(r[0]["ORAN"]), "1");
    EXPECT_EQ(db::asDate(r[1]["TARIH"]), (db::Date{2003, 2, 1}));
    EXPECT_EQ(db::asString(r[2]["SIMGE"]), "eur") << "symbols are not upper-cased";
    EXPECT_TRUE(db::isNull(r[2]["ALIS"]));
    EXPECT_TRUE(db::isNull(r[2]["TARIH"]));
    EXPECT_NE(std::find(op.progressTexts.begin(), op.progressTexts.end(), "Döviz Birimleri Aktarılıyor"),
              op.progressTexts.end());
}
