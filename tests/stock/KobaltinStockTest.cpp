// Stock cards, stock groups and currencies from a Kobaltin DATA folder of Paradox tables.
#include <algorithm>
#include <filesystem>
#include <map>
#include <optional>
#include <utility>

#include "KobaltinTables.h"
#include "ParadoxWriter.h"
#include "StockFixture.h"
#include "db/Conversions.h"

using namespace stocktest;
using db::paradox::FieldType;

namespace {

// A Paradox table given as fields and rows by field name, so each test names only the values it means.
struct TableDef {
    std::vector<std::pair<std::string, std::pair<FieldType, int>>> fields;
    std::vector<std::map<std::string, db::Value>> rows;

    void write(const std::string& folder, const std::string& file) const {
        testsupport::kobaltin::writeFields(folder, file, fields, rows);
    }
};

TableDef stokDb() {
    TableDef t;
    const std::pair<const char*, std::pair<FieldType, int>> fields[] = {
        {"BSTKOD", {FieldType::AutoInc, 0}},  {"STOKKODU", {FieldType::Alpha, 30}},
        {"OZKOD", {FieldType::Alpha, 15}},    {"GRUPAD", {FieldType::Alpha, 15}},
        {"CINS", {FieldType::Alpha, 50}},     {"BIRIM", {FieldType::Alpha, 15}},
        {"KDV", {FieldType::Number, 0}},      {"AISK", {FieldType::Logical, 0}},
        {"SISK", {FieldType::Logical, 0}},    {"AISKORN", {FieldType::Number, 0}},
        {"SISKORN", {FieldType::Number, 0}},  {"ACIKLAMA", {FieldType::Memo, 60}},
        {"KALF", {FieldType::Number, 0}},     {"KSAT1", {FieldType::Number, 0}},
        {"KSAT2", {FieldType::Number, 0}},    {"KSAT3", {FieldType::Number, 0}},
        {"KSAT4", {FieldType::Number, 0}},    {"DALF", {FieldType::Number, 0}},
        {"DSAT1", {FieldType::Number, 0}},    {"DSAT2", {FieldType::Number, 0}},
        {"DSAT3", {FieldType::Number, 0}},    {"DSAT4", {FieldType::Number, 0}},
        {"MIKKAL", {FieldType::Number, 0}},   {"TUTDEV", {FieldType::Number, 0}},
        {"TUTGIR", {FieldType::Number, 0}},   {"DOVKAL", {FieldType::Number, 0}},
        {"KTARIH", {FieldType::Date, 0}},     {"DVZKUL", {FieldType::Logical, 0}},
        {"DVZBRM", {FieldType::Alpha, 4}},    {"UYARI", {FieldType::Alpha, 30}},
        {"MIN", {FieldType::Number, 0}},      {"MAX", {FieldType::Number, 0}},
        {"IMALTAR", {FieldType::Date, 0}},    {"SONTAR", {FieldType::Date, 0}},
        {"SKUYARI", {FieldType::Logical, 0}}, {"NUMBER1", {FieldType::Number, 0}},
        {"ALPHA1", {FieldType::Alpha, 10}},   {"ALPHA2", {FieldType::Alpha, 10}},
        {"ALPHA3", {FieldType::Alpha, 30}}};
    for (const auto& f : fields) t.fields.push_back(f);
    return t;
}

TableDef dovizDb() {
    return {{{"BDVKOD", {FieldType::AutoInc, 0}},
             {"SIMGE", {FieldType::Alpha, 4}},
             {"TARIH", {FieldType::Date, 0}},
             {"DOVIZ", {FieldType::Alpha, 20}},
             {"ACIKLAMA", {FieldType::Alpha, 100}},
             {"GUNLUKKUR", {FieldType::Logical, 0}},
             {"ALIS", {FieldType::Number, 0}},
             {"SATIS", {FieldType::Number, 0}},
             {"OZELKOD", {FieldType::Alpha, 15}}},
            {}};
}

TableDef sGrupDb() {
    return {{{"BSGKOD", {FieldType::AutoInc, 0}},
             {"GRUPADI", {FieldType::Alpha, 15}},
             {"ACIKLAMA", {FieldType::Alpha, 50}}},
            {}};
}

class KobaltinStock : public CompanyRun {
protected:
    void SetUp() override {
        CompanyRun::SetUp();
        src = tmp / "ZKT3/DATA";
        up.options.RadioSURUM = 1;
        up.options.DKaynak = src;
        testsupport::kobaltin::writeTable(src, "sirket.DB",
                                          {{{"SIRKET_KOD", std::string("ABC")},
                                            {"KISA_AD", std::string("Firma")},
                                            {"NUMBER1", double(kYear)}}});
        company = src + "/ABC";
        TableDef{{{"CARIKODU", {FieldType::Alpha, 30}}}, {}}.write(company, "Cari.DB");
        TableDef{{{"GRUPADI", {FieldType::Alpha, 15}}}, {}}.write(company, "c_grup.DB");
        stok = stokDb();
        doviz = dovizDb();
        sGrup = sGrupDb();
        foreignCurrencySetting(true);
    }
    void foreignCurrencySetting(bool on) {
        TableDef{{{"DVZKUL", {FieldType::Logical, 0}}, {"CRNO", {FieldType::Number, 0}},
                   {"STNO", {FieldType::Number, 0}}},
                  {{{"DVZKUL", std::int64_t{on ? 1 : 0}}, {"STNO", 5.0}}}}
            .write(company, "ayar.DB");
    }
    void run() {
        stok.write(company, "Stok.DB");
        doviz.write(company, "doviz.DB");
        sGrup.write(company, "s_grup.DB");
        runCompleted();
    }
    Row card(const std::string& code, const std::vector<std::string>& columns) {
        auto r = select("STOK", columns, "STOKKODU = " + lit(code));
        EXPECT_EQ(r.size(), 1u) << code;
        return r.empty() ? Row{} : r[0];
    }

    std::string src, company;
    TableDef stok, doviz, sGrup;
};

// 200 characters: three lines of 60 with line breaks inside, then 20 that no line holds.
std::string longDescription() {
    std::string s;
    for (int i = 0; i < 200; ++i) s += static_cast<char>('a' + i % 26);
    s[10] = '\r';
    s[11] = '\n';
    s[70] = '\n';
    s[150] = '\r';
    return s;
}

}  // namespace

TEST_F(KobaltinStock, CardsAreMappedFieldByFieldWithTheirWarningsFlagsAndOpeningEntry) {
    const std::string description = longDescription();
    stok.rows = {
        {{"STOKKODU", w("kalem-ış")}, {"UYARI", std::string("Uyarma")}, {"ACIKLAMA", description},
         {"MIKKAL", 12.0}, {"TUTDEV", 100.0}, {"TUTGIR", 60.0}, {"AISK", std::int64_t{1}}, {"DVZKUL", std::int64_t{1}},
         {"DVZBRM", std::string("USD")}, {"DALF", 2.0}, {"DSAT1", 3.0}, {"DSAT4", 6.0}, {"KALF", 9.5},
         {"KSAT2", 11.0}, {"OZKOD", std::string("OK")}, {"GRUPAD", std::string("KIRTASIYE")},
         {"BIRIM", std::string("ADET")}, {"MIN", 2.0}, {"SONTAR", db::Date{2006, 3, 1}},
         {"IMALTAR", db::Date{2003, 3, 1}}, {"ALPHA1", std::string("A")}, {"ALPHA2", std::string("KOLI")},
         {"ALPHA3", std::string("Uretici")}, {"SKUYARI", std::int64_t{1}}},
        {{"STOKKODU", std::string("B2")}, {"CINS", std::string("Defter")},
         {"UYARI", w("Stok (-) eksiye düşerse uyar")}, {"MIKKAL", 0.0}, {"TUTDEV", 50.0}, {"KDV", 18.0},
         {"NUMBER1", 4.0}, {"KTARIH", db::Date{2002, 5, 6}}},
        {{"STOKKODU", std::string("B3")}, {"UYARI", std::string("uyarma")}, {"MIKKAL", -4.0}, {"KALF", 7.0}},
        {{"STOKKODU", std::string("B4")}, {"DVZKUL", std::int64_t{1}}, {"MIKKAL", 8.0}, {"NUMBER1", 3.0}},
        {{"STOKKODU", std::string("B5")}, {"UYARI", std::string("Hep uyar")}, {"DVZBRM", std::string("EUR")}},
    };
    run();

    Row k = card(w("KALEM-IŞ"), {"BLSTKODU", "CINSI", "UYARI", "ACIKLAMA1", "ACIKLAMA2", "ACIKLAMA3", "KDV",
                                 "BIRIM_CARPAN", "KAYIT_TARIHI", "SIP_MIN_ADET", "SIP_EKLE_ADET", "SIP_EKLE",
                                 "DEPOKUL", "DEPOADI", "KAYDEDEN", "ALIS_ISK_KUL", "SATIS_ISK_KUL", "DVZKUL",
                                 "DVZBRM", "SONKUL_UYARI", "MUH_ALIS", "MUH_IADE2", "MUH_MLYT", "MUH_DEGDUS",
                                 "FIYAT_ALIS", "FIYAT_SATIS2", "OZEL_KODU", "GRUP_ADI", "BIRIMI", "MIN_STOK",
                                 "SONKUL_TARIHI", "IMAL_TARIHI", "KALITE", "BIRIM_2", "URETICI_FRM", "ALTGRUP"});
    EXPECT_EQ(db::asString(k["CINSI"]), " ") << "the required name gets a blank";
    EXPECT_EQ(db::asString(k["ACIKLAMA1"]), db::MemoTemizle(description.substr(0, 60)));
    EXPECT_EQ(db::asString(k["ACIKLAMA2"]), db::MemoTemizle(description.substr(60, 60)));
    EXPECT_EQ(db::asString(k["ACIKLAMA3"]), db::MemoTemizle(description.substr(120, 60)));
    EXPECT_EQ(db::asString(k["ACIKLAMA1"]).find_first_of("\r\n"), std::string::npos);
    for (const char* column : {"KDV", "BIRIM_CARPAN", "SIP_MIN_ADET", "SIP_EKLE_ADET"}) {
        EXPECT_FALSE(db::isNull(k[column])) << column;
        EXPECT_EQ(db::asFloat(k[column]), 0) << column;
    }
    EXPECT_TRUE(db::isNull(k["KAYIT_TARIHI"]));
    const std::pair<const char*, std::string> texts[] = {
        {"UYARI", "0"},         {"SIP_EKLE", "0"},         {"DEPOKUL", "0"},          {"KAYDEDEN", w("Ayşe Yılmaz")},
        {"ALIS_ISK_KUL", "1"},  {"SATIS_ISK_KUL", "0"},    {"DVZKUL", "1"},           {"DVZBRM", "USD"},
        {"SONKUL_UYARI", "1"},  {"MUH_ALIS", "153"},       {"MUH_IADE2", "610"},      {"MUH_MLYT", "621"},
        {"OZEL_KODU", "OK"},    {"GRUP_ADI", "KIRTASIYE"}, {"BIRIMI", "ADET"},        {"KALITE", "A"},
        {"BIRIM_2", "KOLI"},    {"URETICI_FRM", "Uretici"}};
    for (const auto& [column, text] : texts) EXPECT_EQ(db::asString(k[column]), text) << column;
    for (const char* column : {"DEPOADI", "MUH_DEGDUS", "ALTGRUP"}) EXPECT_TRUE(db::isNull(k[column])) << column;
    EXPECT_EQ(db::asFloat(k["FIYAT_ALIS"]), 9.5);
    EXPECT_EQ(db::asFloat(k["FIYAT_SATIS2"]), 11);
    EXPECT_EQ(db::asFloat(k["MIN_STOK"]), 2);
    EXPECT_EQ(db::asDate(k["SONKUL_TARIHI"]), (db::Date{2006, 3, 1}));
    EXPECT_EQ(db::asDate(k["IMAL_TARIHI"]), (db::Date{2003, 3, 1}));

    Row b2 = card("B2", {"UYARI", "KDV", "BIRIM_CARPAN", "KAYIT_TARIHI", "CINSI"});
    EXPECT_EQ(db::asString(b2["UYARI"]), "1");
    EXPECT_EQ(db::asFloat(b2["KDV"]), 18);
    EXPECT_EQ(db::asFloat(b2["BIRIM_CARPAN"]), 4);
    EXPECT_EQ(db::asDate(b2["KAYIT_TARIHI"]), (db::Date{2002, 5, 6}));
    EXPECT_EQ(db::asString(b2["CINSI"]), "Defter");
    for (const char* code : {"B3", "B4", "B5"}) EXPECT_EQ(db::asString(card(code, {"UYARI"})["UYARI"]), "2") << code;

    // Opening entries: quantity, price from the amounts or the purchase price, never from the currency fields.
    struct Entry {
        const char* code;
        double quantity, price, amount;
        std::optional<double> second;
    } entries[] = {{"KALEM-I\xDE", 12, 13, 156, {}}, {"B3", -4, 7, -28, {}}, {"B4", 8, 1, 8, 3}};
    EXPECT_EQ(count(targetDb(), "STOKHR"), 3) << "B2's zero quantity and B5 write none";
    for (const auto& e : entries) {
        SCOPED_TRACE(e.code);
        auto r = select("STOKHR", {"MIKTARI", "KPB_FIYAT", "KPB_TUTAR", "MIKTAR2", "DVZKUL", "KPB_GMIK", "KPB_GTUT",
                                   "DVZBRM", "DOVIZ_TUTAR", "KAYDEDEN", "BLSTKODU"},
                        "STOKKODU = " + lit(e.code));
        ASSERT_EQ(r.size(), 1u);
        EXPECT_EQ(db::asFloat(r[0]["MIKTARI"]), e.quantity);
        EXPECT_EQ(db::asFloat(r[0]["KPB_FIYAT"]), e.price);
        EXPECT_EQ(db::asFloat(r[0]["KPB_TUTAR"]), e.amount);
        EXPECT_EQ(db::asFloat(r[0]["KPB_GMIK"]), e.quantity);
        EXPECT_EQ(db::asFloat(r[0]["KPB_GTUT"]), e.amount);
        EXPECT_EQ(db::isNull(r[0]["MIKTAR2"]), !e.second);
        if (e.second) {
            EXPECT_EQ(db::asFloat(r[0]["MIKTAR2"]), *e.second);  // 8 / 3 rounded
        }
        EXPECT_EQ(db::asString(r[0]["DVZKUL"]), "0");
        EXPECT_TRUE(db::isNull(r[0]["DVZBRM"]));
        EXPECT_TRUE(db::isNull(r[0]["DOVIZ_TUTAR"]));
        EXPECT_EQ(db::asString(r[0]["KAYDEDEN"]), w("Ayşe Yılmaz"));
    }

    // Only the currency card with a symbol gets its price row.
    auto prices = select("STOKDVZ", {"SIMGE", "FIYAT_ALIS", "FIYAT_SATIS1", "FIYAT_SATIS4", "BLSTKODU"});
    ASSERT_EQ(prices.size(), 1u);
    EXPECT_EQ(db::asString(prices[0]["SIMGE"]), "USD");
    EXPECT_EQ(db::asFloat(prices[0]["FIYAT_ALIS"]), 2);
    EXPECT_EQ(db::asFloat(prices[0]["FIYAT_SATIS1"]), 3);
    EXPECT_EQ(db::asFloat(prices[0]["FIYAT_SATIS4"]), 6);
    EXPECT_EQ(db::asFloat(prices[0]["BLSTKODU"]), db::asFloat(k["BLSTKODU"]));
    EXPECT_EQ(op.progressTexts.front(), "Stok Kartları Aktarılıyor");
    EXPECT_EQ(op.progressMaxima.front(), 5);
}

TEST_F(KobaltinStock, ThePriceRowNeedsTheSettingButNotTheBalances) {
    struct Case {
        bool balances, setting;
        int prices, entries;
    } cases[] = {{false, true, 1, 0}, {true, false, 0, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.balances) + "/" + std::to_string(c.setting));
        foreignCurrencySetting(c.setting);
        stok.rows = {{{"STOKKODU", std::string("D1")}, {"DVZKUL", std::int64_t{1}}, {"DVZBRM", std::string("USD")},
                      {"MIKKAL", 2.0}, {"DALF", 1.0}}};
        stok.write(company, "Stok.DB");
        doviz.write(company, "doviz.DB");
        sGrup.write(company, "s_grup.DB");
        // Each case on a fresh target registry and company database.
        std::filesystem::remove_all(dst + "/ABC");
        execSql(dst + "/Sirket.FDB", "DELETE FROM SIRKET_YIL; DELETE FROM MUH_YANSITMA2; DELETE FROM SIRKET");
        db::TDM d;
        ScriptedOperator s;
        app::Upgrade u(d, s);
        u.options = up.options;
        u.options.CheckSTBK = c.balances;
        ASSERT_EQ(u.Button1Click(), app::RunResult::Completed) << s.allMessages();
        EXPECT_EQ(count(targetDb(), "STOKDVZ"), c.prices);
        EXPECT_EQ(count(targetDb(), "STOKHR"), c.entries);
    }
}

TEST_F(KobaltinStock, CurrenciesAndGroupsArriveWithTheOperatorAndWithoutInventedDates) {
    std::string description(100, 'x');
    description.replace(0, 5, "Dolar");
    description[30] = '\n';
    description[61] = '\r';
    description[62] = '\n';
    description.replace(95, 5, "SONUC");
    doviz.rows = {
        {{"SIMGE", std::string("USD")}, {"ACIKLAMA", description}, {"SATIS", 1.5}, {"OZELKOD", std::string("OK")},
         {"DOVIZ", w("Amerikan Doları")}},
        {{"SIMGE", std::string("USD")}, {"TARIH", db::Date{2004, 1, 2}}, {"ALIS", 1.25},
         {"GUNLUKKUR", std::int64_t{1}}},
        {{"SIMGE", std::string("eur")}, {"GUNLUKKUR", std::int64_t{0}}},
    };
    execSql(templateDb(), "INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI, ACIKLAMA) VALUES (100, 'TEMIZLIK', 'Sablon')");
    sGrup.rows = {{{"GRUPADI", std::string("GIDA")}, {"ACIKLAMA", std::string("Birinci")}},
                  {{"GRUPADI", std::string("GIDA")}, {"ACIKLAMA", std::string("Ikinci")}},
                  {{"GRUPADI", std::string("gida")}},
                  {{"GRUPADI", std::string("TEMIZLIK")}, {"ACIKLAMA", std::string("Kaynak")}}};
    up.options.CheckSTGR = true;
    run();

    auto r = select("DOVIZ", {"SIMGE", "TARIH", "DOVIZ", "ACIKLAMA1", "ACIKLAMA2", "GUNLUKKUR", "ALIS", "SATIS",
                              "OZEL_KODU", "KAYDEDEN", "DUZENLEYEN", "ORAN"},
                    "", "BLDVKODU");
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(db::asString(r[0]["ACIKLAMA1"]), db::MemoTemizle(description.substr(0, 60)));
    EXPECT_EQ(db::asString(r[0]["ACIKLAMA2"]), db::MemoTemizle(description.substr(60, 40)));
    EXPECT_TRUE(db::isNull(r[0]["TARIH"])) << "a rate without a date keeps none";
    EXPECT_FALSE(db::isNull(r[0]["ALIS"]));
    EXPECT_EQ(db::asFloat(r[0]["ALIS"]), 0);
    EXPECT_EQ(db::asFloat(r[0]["SATIS"]), 1.5);
    EXPECT_EQ(db::asString(r[0]["GUNLUKKUR"]), "0");
    EXPECT_EQ(db::asString(r[0]["OZEL_KODU"]), "OK");
    EXPECT_EQ(db::asString(r[0]["DOVIZ"]), w("Amerikan Doları"));
    for (auto& row : r) {
        EXPECT_EQ(db::asString(row["KAYDEDEN"]), w("Ayşe Yılmaz"));
        EXPECT_TRUE(db::isNull(row["DUZENLEYEN"]));
        EXPECT_TRUE(db::isNull(row["ORAN"]));
    }
    EXPECT_EQ(db::asDate(r[1]["TARIH"]), (db::Date{2004, 1, 2}));
    EXPECT_EQ(db::asString(r[1]["GUNLUKKUR"]), "1");
    EXPECT_EQ(db::asFloat(r[1]["ALIS"]), 1.25);
    EXPECT_EQ(db::asFloat(r[1]["SATIS"]), 0);
    EXPECT_EQ(db::asString(r[2]["SIMGE"]), "eur");
    EXPECT_EQ(db::asString(r[2]["GUNLUKKUR"]), "0");

    auto groups = select("STOKGRUP", {"BLSGKODU", "GRUP_ADI", "ACIKLAMA"}, "", "BLSGKODU");
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(db::asString(groups[0]["GRUP_ADI"]), "GIDA");
    EXPECT_EQ(db::asString(groups[0]["ACIKLAMA"]), "Birinci");
    EXPECT_EQ(db::asString(groups[1]["GRUP_ADI"]), "gida");
    EXPECT_EQ(db::asFloat(groups[2]["BLSGKODU"]), 100);
    EXPECT_EQ(db::asString(groups[2]["ACIKLAMA"]), "Sablon");
    EXPECT_EQ(count(targetDb(), "STOKGRUP2"), 0);
    for (const char* text : {"Stok Grupları Aktarılıyor", "Döviz Birimleri Aktarılıyor"})
        EXPECT_NE(std::find(op.progressTexts.begin(), op.progressTexts.end(), text), op.progressTexts.end()) << text;
}
