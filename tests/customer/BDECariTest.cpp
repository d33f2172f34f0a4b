// Customer cards, balance totals and groups from a Kobaltin DATA folder of Paradox tables, through a real run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FbTestDb.h"
#include "KobaltinTables.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"

using namespace testsupport;
using db::paradox::FieldType;
namespace fs = std::filesystem;

namespace {

using Row = std::vector<db::Value>;
using kobaltin::Fields;
using kobaltin::Record;

double num(const db::Value& v) { return db::asFloat(v); }
std::string str(const db::Value& v) { return db::asString(v); }
db::Value text(const std::string& utf8) { return db::Value(w(utf8)); }

void writeTable(const std::string& folder, const std::string& file, const Fields& fields,
                const std::vector<Record>& rows) {
    kobaltin::writeFields(folder, file, fields, rows);
}

const Fields kCari = {
    {"BCRKOD", {FieldType::AutoInc, 0}}, {"CARIKODU", {FieldType::Alpha, 30}}, {"GRUBU", {FieldType::Alpha, 15}},
    {"OZKOD", {FieldType::Alpha, 15}},   {"K_TARIH", {FieldType::Date, 0}},    {"AD", {FieldType::Alpha, 20}},
    {"SOYAD", {FieldType::Alpha, 20}},   {"UNVAN", {FieldType::Alpha, 50}},    {"VERGINO", {FieldType::Alpha, 20}},
    {"VDAIRE", {FieldType::Alpha, 20}},  {"MUHSBKOD", {FieldType::Alpha, 15}}, {"ISKONTO", {FieldType::Logical, 0}},
    {"ISKORAN", {FieldType::Number, 0}}, {"TEL1", {FieldType::Alpha, 20}},     {"TEL2", {FieldType::Alpha, 20}},
    {"CEPTEL", {FieldType::Alpha, 20}},  {"FAX", {FieldType::Alpha, 20}},      {"EMAIL", {FieldType::Alpha, 50}},
    {"ICQNO", {FieldType::Alpha, 20}},   {"WEB", {FieldType::Alpha, 50}},      {"NOT", {FieldType::Memo, 200}},
    {"ADRES", {FieldType::Memo, 100}},   {"KTBRC", {FieldType::Number, 0}},    {"KTALC", {FieldType::Number, 0}},
    {"DTBRC", {FieldType::Number, 0}},   {"DTALC", {FieldType::Number, 0}},    {"DVZKUL", {FieldType::Logical, 0}},
    {"DVZBRM", {FieldType::Alpha, 4}},   {"KLIMKPB", {FieldType::Number, 0}},  {"KLIMDVZ", {FieldType::Number, 0}},
    {"KLIMUYAR", {FieldType::Logical, 0}}, {"EVTEL", {FieldType::Alpha, 20}},  {"KKART1", {FieldType::Alpha, 40}},
    {"KKART2", {FieldType::Alpha, 40}},  {"TAKKART", {FieldType::Alpha, 40}},  {"NUMBER1", {FieldType::Number, 0}}};

const Fields kDoviz = {{"BDVKOD", {FieldType::AutoInc, 0}}, {"SIMGE", {FieldType::Alpha, 4}},
                       {"TARIH", {FieldType::Date, 0}},     {"DOVIZ", {FieldType::Alpha, 20}},
                       {"ACIKLAMA", {FieldType::Memo, 100}}, {"GUNLUKKUR", {FieldType::Logical, 0}},
                       {"ALIS", {FieldType::Number, 0}},    {"SATIS", {FieldType::Number, 0}},
                       {"OZELKOD", {FieldType::Alpha, 15}}};

const Fields kGrup = {{"BCGKOD", {FieldType::AutoInc, 0}},
                      {"GRUPADI", {FieldType::Alpha, 15}},
                      {"ACIKLAMA", {FieldType::Alpha, 50}}};

class BDECustomerRun : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "ZKT3/DATA";
        dst = tmp / "SELVANTO5/DATA";
        company = src + "/ABC";
        makeSelvantoData(dst);
        kobaltin::writeTable(src, "sirket.DB",
                   {{{"SIRKET_KOD", std::string("ABC")}, {"KISA_AD", std::string("Firma")}, {"NUMBER1", 2005.0}}});
        writeTable(company, "Stok.DB", {{"STOKKODU", {FieldType::Alpha, 30}}}, {});
        writeTable(company, "s_grup.DB", {{"GRUPADI", {FieldType::Alpha, 15}}}, {});
        writeTable(company, "doviz.DB", kDoviz,
                   {{{"SIMGE", std::string("EUR")}, {"ALIS", 3.0}, {"SATIS", 3.25}},
                    {{"SIMGE", std::string("USD")}, {"ALIS", 2.4}, {"SATIS", 2.5}},
                    {{"SIMGE", std::string("USD")}, {"ALIS", 9.0}, {"SATIS", 9.0}}});
        setting(true);
        up.options.RadioSURUM = 1;
        up.options.DKaynak = src;
        up.options.DrHedef = dst;
        up.options.Edit1 = "Ayşe Işık";
        up.options.CheckSTOK = false;
    }
    void setting(bool on) {
        writeTable(company, "ayar.DB",
                   {{"DVZKUL", {FieldType::Logical, 0}}, {"CRNO", {FieldType::Number, 0}},
                    {"STNO", {FieldType::Number, 0}}},
                   {{{"DVZKUL", std::int64_t{on ? 1 : 0}}}});
    }
    void run(const std::vector<Record>& cards, const std::vector<Record>& groups = {}) {
        writeTable(company, "Cari.DB", kCari, cards);
        writeTable(company, "c_grup.DB", kGrup, groups);
        ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    }
    std::string targetDb() const { return dst + "/ABC/2005/Mirkado.FDB"; }
    Row cardRow(const std::string& codeCp1254, const std::string& columns) {
        auto rows = query(targetDb(), "SELECT " + columns + " FROM CARI WHERE CARIKODU = " + lit(codeCp1254));
        EXPECT_EQ(rows.size(), 1u) << codeCp1254;
        return rows.empty() ? Row{} : rows[0];
    }
    std::vector<Row> entries(const std::string& codeCp1254) {
        return query(targetDb(),
                     "SELECT H.TUTAR_TURU, H.DVZKUL, H.DVZBRM, H.TUTAR, H.DOVIZ, H.DVZ_ALIS, H.DVZ_SATIS, "
                     "H.KPB_BTUT, H.KPB_ATUT, H.DVZ_BTUT, H.DVZ_ATUT, H.IS_TURU, H.KAYDEDEN, H.CARIKODU "
                     "FROM CARIHR H JOIN CARI C ON C.BLCRKODU = H.BLCRKODU WHERE C.CARIKODU = " +
                         lit(codeCp1254) + " ORDER BY H.BLCHKODU");
    }

    TempDir tmp;
    std::string src, dst, company;
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up{dm, op};
};

std::string letters(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}

}  // namespace

TEST_F(BDECustomerRun, CardFieldsAreMappedWithMemosSlicedAndEmptiesDefaulted) {
    std::string notes = letters(200);
    notes[10] = '\r';
    notes[11] = '\n';
    notes[130] = '\n';
    std::string address = "Atatürk Cad. No 5\r\n" + letters(230);  // 19 + 230 = 249 characters
    address = w(address);
    run({{{"CARIKODU", text("çiçek")},
          {"GRUBU", std::string("Toptan")},
          {"OZKOD", std::string("OK")},
          {"K_TARIH", db::Date{2003, 7, 14}},
          {"AD", std::string("Ali")},
          {"SOYAD", std::string("Veli")},
          {"UNVAN", std::string("Ali Veli Ltd")},
          {"VERGINO", std::string("123")},
          {"VDAIRE", std::string("Merkez")},
          {"ISKONTO", std::int64_t{1}},
          {"ISKORAN", 5.5},
          {"TEL1", std::string("t1")},
          {"TEL2", std::string("t2")},
          {"EVTEL", std::string("ev")},
          {"CEPTEL", std::string("cep")},
          {"FAX", std::string("fx")},
          {"EMAIL", std::string("a@b")},
          {"ICQNO", std::string("77")},
          {"WEB", std::string("w.com")},
          {"NOT", notes},
          {"ADRES", address},
          {"DVZKUL", std::int64_t{1}},
          {"DVZBRM", std::string("USD")},
          {"KLIMKPB", 1000.0},
          {"KLIMUYAR", std::int64_t{1}},
          {"KKART1", std::string("k1")},
          {"KKART2", std::string("k2")},
          {"TAKKART", std::string("tk")}},
         {{"CARIKODU", std::string("bos")}, {"NOT", letters(70)}, {"ADRES", std::string("kisa")}}});

    Row r = cardRow(w("ÇİÇEK"),
                    "GRUBU, OZEL_KOD, KAYIT_TARIHI, ADI, SOYADI, UNVANI, VERGI_DR, VERGI_NO, ISK_ORAN, TEL1, TEL2, "
                    "EVTEL, CEPTEL, FAX, EMAIL, ICQ, WEB, NOT1, NOT2, NOT3, DVZBRM, KPB_KLIM, KAYDEDEN, ADRES1, "
                    "ADRES2, K_KARTI1, K_KARTI2, TAK_KARTI, MUHKODU_ALIS, MUHKODU_SATIS, ISKONTO, DVZKUL, "
                    "KPB_KLIMUYAR, IL1, ALTGRUP");
    ASSERT_EQ(r.size(), 35u);
    const char* texts[] = {"Toptan", "OK"};
    EXPECT_EQ(str(r[0]), texts[0]);
    EXPECT_EQ(str(r[1]), texts[1]);
    EXPECT_EQ(db::asDate(r[2]), (db::Date{2003, 7, 14}));
    const std::pair<int, const char*> plain[] = {{3, "Ali"}, {4, "Veli"}, {5, "Ali Veli Ltd"}, {6, "Merkez"},
                                                 {7, "123"}, {9, "t1"},   {10, "t2"},          {11, "ev"},
                                                 {12, "cep"}, {13, "fx"}, {14, "a@b"},         {15, "77"},
                                                 {16, "w.com"}, {20, "USD"}, {25, "k1"},       {26, "k2"},
                                                 {27, "tk"},  {28, "120"}, {29, "320"},        {30, "1"},
                                                 {31, "1"},   {32, "1"}};
    for (const auto& [i, v] : plain) EXPECT_EQ(str(r[i]), v) << "column " << i;
    EXPECT_DOUBLE_EQ(num(r[8]), 5.5);
    std::string flat = notes;
    flat[10] = flat[11] = flat[130] = ' ';
    EXPECT_EQ(str(r[17]), flat.substr(0, 60));
    EXPECT_EQ(str(r[18]), flat.substr(60, 60));
    EXPECT_EQ(str(r[19]), flat.substr(120, 60));
    EXPECT_DOUBLE_EQ(num(r[21]), 1000);
    EXPECT_EQ(str(r[22]), w("Ayşe Işık"));
    EXPECT_EQ(str(r[23]), address.substr(0, 120));  // line break kept
    EXPECT_NE(str(r[23]).find("\r\n"), std::string::npos);
    EXPECT_EQ(str(r[24]), address.substr(120, 120));
    EXPECT_TRUE(db::isNull(r[33]));
    EXPECT_TRUE(db::isNull(r[34]));

    Row e = cardRow("BOS", "ISK_ORAN, KAYIT_TARIHI, ISKONTO, DVZKUL, KPB_KLIMUYAR, KPB_KLIM, NOT2, NOT3, ADRES1, "
                           "ADRES2, GRUBU");
    ASSERT_EQ(e.size(), 11u);
    EXPECT_FALSE(db::isNull(e[0]));
    EXPECT_DOUBLE_EQ(num(e[0]), 0);
    EXPECT_TRUE(db::isNull(e[1]));
    for (int i : {2, 3, 4}) EXPECT_EQ(str(e[static_cast<std::size_t>(i)]), "0") << i;
    EXPECT_FALSE(db::isNull(e[5]));
    EXPECT_EQ(str(e[6]), letters(70).substr(60));
    EXPECT_TRUE(db::isNull(e[7]));
    EXPECT_EQ(str(e[8]), "kisa");
    EXPECT_TRUE(db::isNull(e[9]));
    EXPECT_TRUE(db::isNull(e[10]));

    EXPECT_EQ(op.progressTexts.front(), "Cari Kartlar Aktarılıyor");
    EXPECT_EQ(op.progressMaxima.front(), 2);
}

TEST_F(BDECustomerRun, BalanceTotalsBecomeOpeningEntries) {
    struct Case {
        const char* code;
        Record fields;
        // side, currency flag, DVZBRM, TUTAR, DOVIZ, DVZ_SATIS, KPB_BTUT, KPB_ATUT, DVZ_BTUT, DVZ_ATUT
        std::vector<std::tuple<const char*, const char*, const char*, double, double, double, double, double,
                               double, double>>
            want;
    } cases[] = {
        {"L", {{"KTBRC", 500.0}, {"KTALC", 200.0}, {"DTBRC", 9.0}, {"DVZBRM", std::string("TL")}},
         {{"1", "0", "TL", 500, 0, 0, 500, 0, 0, 0}, {"0", "0", "TL", 200, 0, 0, 0, 200, 0, 0}}},
        {"D", {{"DVZKUL", std::int64_t{1}}, {"DVZBRM", std::string("USD")}, {"DTBRC", 100.0}, {"DTALC", 40.0}},
         {{"1", "1", "USD", 250, 100, 2.5, 250, 0, 100, 0}, {"0", "1", "USD", 100, 40, 2.5, 0, 100, 0, 40}}},
        {"X", {{"DVZKUL", std::int64_t{1}}, {"DVZBRM", std::string("XYZ")}, {"DTBRC", 8.0}, {"KTALC", 3.0}},
         {{"0", "0", "XYZ", 3, 0, 0, 0, 3, 0, 0}, {"1", "1", "XYZ", 0, 8, 0, 0, 0, 8, 0}}},
        {"N", {{"KTBRC", -5.0}, {"KTALC", 0.0}, {"DVZKUL", std::int64_t{1}}, {"DTALC", -1.0}}, {}},
    };
    std::vector<Record> cards;
    for (const auto& c : cases) {
        Record r = c.fields;
        r["CARIKODU"] = std::string(c.code);
        cards.push_back(r);
    }
    run(cards);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.code);
        auto got = entries(c.code);
        ASSERT_EQ(got.size(), c.want.size());
        for (std::size_t i = 0; i < got.size(); ++i) {
            const auto& [side, dvz, brm, tutar, doviz, satis, kb, ka, db_, da] = c.want[i];
            const Row& g = got[i];
            EXPECT_EQ(str(g[0]), side);
            EXPECT_EQ(str(g[1]), dvz);
            EXPECT_EQ(str(g[2]), brm);
            EXPECT_NEAR(num(g[3]), tutar, 1e-9);
            EXPECT_NEAR(num(g[4]), doviz, 1e-9);
            EXPECT_NEAR(num(g[6]), satis, 1e-9);
            EXPECT_NEAR(num(g[7]), kb, 1e-9);
            EXPECT_NEAR(num(g[8]), ka, 1e-9);
            EXPECT_NEAR(num(g[9]), db_, 1e-9);
            EXPECT_NEAR(num(g[10]), da, 1e-9);
            EXPECT_EQ(str(g[11]), "Devir");
            EXPECT_EQ(str(g[13]), c.code);
            if (std::string(brm) == "XYZ") {
                EXPECT_TRUE(db::isNull(g[5]) && db::isNull(g[6]));
            }
        }
    }
}

TEST_F(BDECustomerRun, WithTheSettingOffCurrencyTotalsKeepOnlyLocalAmounts) {
    setting(false);
    run({{{"CARIKODU", std::string("D")},
          {"DVZKUL", std::int64_t{1}},
          {"DVZBRM", std::string("USD")},
          {"DTBRC", 100.0}}});
    auto got = entries("D");
    ASSERT_EQ(got.size(), 1u);
    EXPECT_DOUBLE_EQ(num(got[0][4]), 100);
    EXPECT_DOUBLE_EQ(num(got[0][3]), 250);
    EXPECT_DOUBLE_EQ(num(got[0][7]), 250);
    EXPECT_DOUBLE_EQ(num(got[0][9]), 0);
}

TEST_F(BDECustomerRun, WithoutBalancesOnlyCardsAreWritten) {
    up.options.CheckCRBK = false;
    run({{{"CARIKODU", std::string("A")}, {"KTBRC", 5.0}, {"DVZKUL", std::int64_t{1}}, {"DTBRC", 5.0}}});
    EXPECT_EQ(count(targetDb(), "CARI"), 1);
    EXPECT_EQ(count(targetDb(), "CARIHR"), 0);
}

TEST_F(BDECustomerRun, GroupsAreWrittenOncePerExactName) {
    execSql(dst + "/DBBackup/Mirkado.Fdb",
            "INSERT INTO CARIGRUP (BLCGKODU, GRUP_ADI, ACIKLAMA) VALUES (500, 'Perakende', 'hazir')");
    run({}, {{{"GRUPADI", std::string("Toptan")}, {"ACIKLAMA", std::string("ilk")}},
             {{"GRUPADI", std::string("Perakende")}, {"ACIKLAMA", std::string("kaynak")}},
             {{"GRUPADI", std::string("Toptan")}, {"ACIKLAMA", std::string("ikinci")}},
             {{"GRUPADI", std::string("toptan")}, {"ACIKLAMA", std::string("kucuk")}}});
    auto rows = query(targetDb(), "SELECT GRUP_ADI, ACIKLAMA FROM CARIGRUP ORDER BY BLCGKODU");
    ASSERT_EQ(rows.size(), 3u);
    std::map<std::string, std::string> got;
    for (const auto& r : rows) got[str(r[0])] = str(r[1]);
    EXPECT_EQ(got, (std::map<std::string, std::string>{{"Perakende", "hazir"}, {"Toptan", "ilk"}, {"toptan", "kucuk"}}));
    EXPECT_EQ(count(targetDb(), "CARIGRUP2"), 0);
    ASSERT_GE(op.progressTexts.size(), 2u);
    EXPECT_EQ(op.progressTexts[1], "Cari Grupları Aktarılıyor");
    EXPECT_EQ(op.progressMaxima[1], 4);
}

TEST_F(BDECustomerRun, EachCompanyTakesItsRatesFromItsOwnCurrencyTable) {
    // A second company whose USD is quoted differently; rates must not carry over from the first.
    const std::string other = src + "/DEF";
    fs::create_directories(other);
    for (const char* file : {"Stok.DB", "s_grup.DB", "ayar.DB"}) fs::copy_file(company + "/" + file, other + "/" + file);
    writeTable(other, "c_grup.DB", kGrup, {});
    writeTable(other, "doviz.DB", kDoviz, {{{"SIMGE", std::string("USD")}, {"ALIS", 4.0}, {"SATIS", 4.0}}});
    writeTable(other, "Cari.DB", kCari,
               {{{"CARIKODU", std::string("D")}, {"DVZKUL", std::int64_t{1}}, {"DVZBRM", std::string("USD")},
                 {"DTBRC", 10.0}}});
    kobaltin::writeTable(src, "sirket.DB",
               {{{"SIRKET_KOD", std::string("ABC")}, {"KISA_AD", std::string("Bir")}, {"NUMBER1", 2005.0}},
                {{"SIRKET_KOD", std::string("DEF")}, {"KISA_AD", std::string("Iki")}, {"NUMBER1", 2005.0}}});
    run({{{"CARIKODU", std::string("D")}, {"DVZKUL", std::int64_t{1}}, {"DVZBRM", std::string("USD")},
          {"DTBRC", 10.0}}});
    auto first = entries("D");
    auto second = query(dst + "/DEF/2005/Mirkado.FDB", "SELECT TUTAR, DVZ_SATIS FROM CARIHR");
    ASSERT_EQ(first.size(), 1u);
    ASSERT_EQ(second.size(), 1u);
    EXPECT_DOUBLE_EQ(num(first[0][3]), 25);
    EXPECT_DOUBLE_EQ(num(second[0][0]), 40);
    EXPECT_DOUBLE_EQ(num(second[0][1]), 4);
}
