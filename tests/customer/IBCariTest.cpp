// Customer cards, balances, instalments and groups from a Mirkado 4 company, through a real upgrade run.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "FbTestDb.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

using Row = std::vector<db::Value>;

double num(const db::Value& v) { return db::asFloat(v); }
std::string str(const db::Value& v) { return db::asString(v); }

class IBCustomerRun : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "MIRKADO4/DATA";
        dst = tmp / "SELVANTO5/DATA";
        makeSelvantoData(dst);
        makeMirkadoData(src, {"ABC"});
        execSql(src + "/Sirket.GDB",
                "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI) "
                "VALUES (1, 'Firma', 'Firma Ltd', 'ABC', 2005)");
        source("INSERT INTO AYAR (BLAYKODU, DVZKUL) VALUES (1, '1')");
        source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, ALIS, SATIS) VALUES (1, 'USD', 2.4, 2.5)");
        source("INSERT INTO DOVIZ (BLDVKODU, SIMGE, ALIS, SATIS) VALUES (2, 'EUR', 3, 3.25)");
        up.options.DKaynak = src;
        up.options.DrHedef = dst;
        up.options.Edit1 = "Ayşe Işık";
        up.options.CheckSTOK = false;
        up.options.CheckOTEL = false;
    }

    std::string sourceDb() const { return src + "/ABC/MIRKADO.GDB"; }
    std::string targetDb() const { return dst + "/ABC/2005/Mirkado.FDB"; }
    void source(const std::string& sql) { execSql(sourceDb(), sql); }

    // A source card; `columns`/`values` add further columns (values as SQL literals, each led by a comma).
    void card(int key, const std::string& codeUtf8, const std::string& columns = "", const std::string& values = "") {
        source("INSERT INTO CARI (BLCRKODU, CARIKODU" + columns + ") VALUES (" + std::to_string(key) + ", " +
               lit(w(codeUtf8)) + values + ")");
    }
    // A source movement of card `card`.
    void movement(int card, const std::string& columns, const std::string& values) {
        source("INSERT INTO CARIHR (BLCHKODU, BLCRKODU, IS_TURU, " + columns + ") VALUES (" +
               std::to_string(++movements) + ", " + std::to_string(card) + ", 'Fatura', " + values + ")");
    }

    app::RunResult run() { return up.Button1Click(); }
    void runOk() {
        ASSERT_EQ(run(), app::RunResult::Completed) << op.allMessages();
    }

    // The opening entries of the target card with code `code`, in the order they were written.
    std::vector<std::map<std::string, db::Value>> entries(const std::string& codeCp1254) {
        static const char* const cols[] = {"TUTAR",     "DOVIZ",     "TUTAR_TURU", "MUH_DURUM", "DVZKUL",
                                           "KPBDVZ",    "DVZ_HSISLE", "DVZBRM",    "DVZ_ALIS",  "DVZ_SATIS",
                                           "KPB_BTUT",  "KPB_ATUT",  "DVZ_BTUT",   "DVZ_ATUT",  "IS_TURU",
                                           "CARIKODU",  "TAKSIT",    "ODEDI",      "BLCRKODU",  "ADSOYAD",
                                           "TARIHI",    "VADE",      "KAYDEDEN",   "FATCARI",   "IRSCARI",
                                           "CS_CIROLANDI", "CROZELKODU", "OZEL_KOD", "GRUBU", "ALTGRUP", "UNVANI"};
        std::string list;
        for (const char* c : cols) list += std::string(list.empty() ? "" : ", ") + "H." + c;
        auto rows = query(targetDb(), "SELECT " + list +
                                          " FROM CARIHR H JOIN CARI C ON C.BLCRKODU = H.BLCRKODU WHERE C.CARIKODU = " +
                                          lit(codeCp1254) + " AND H.IS_TURU = 'Devir' ORDER BY H.BLCHKODU");
        std::vector<std::map<std::string, db::Value>> out;
        for (const auto& r : rows) {
            std::map<std::string, db::Value> m;
            for (std::size_t i = 0; i < std::size(cols); ++i) m[cols[i]] = r[i];
            out.push_back(std::move(m));
        }
        return out;
    }

    TempDir tmp;
    std::string src, dst;
    int movements = 0;
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up{dm, op};
};

struct Expected {
    const char* side;  // "1" debit, "0" credit
    bool currency;
    const char* dvzbrm;
    double amount;  // TUTAR for local, DOVIZ for currency
};

void expectEntries(const std::vector<std::map<std::string, db::Value>>& got, const std::vector<Expected>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < want.size(); ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        const auto& e = got[i];
        const auto& x = want[i];
        EXPECT_EQ(str(e.at("TUTAR_TURU")), x.side);
        EXPECT_EQ(str(e.at("MUH_DURUM")), std::string(x.side) == "1" ? "0" : "1");
        EXPECT_EQ(str(e.at("DVZKUL")), x.currency ? "1" : "0");
        EXPECT_EQ(str(e.at("KPBDVZ")), x.currency ? "0" : "1");
        EXPECT_EQ(str(e.at("DVZ_HSISLE")), x.currency ? "1" : "0");
        EXPECT_EQ(str(e.at("DVZBRM")), x.dvzbrm);
        EXPECT_DOUBLE_EQ(num(e.at(x.currency ? "DOVIZ" : "TUTAR")), x.amount);
        if (!x.currency) {
            EXPECT_TRUE(db::isNull(e.at("DOVIZ")));
            EXPECT_TRUE(db::isNull(e.at("DVZ_ALIS")));
            EXPECT_TRUE(db::isNull(e.at("DVZ_SATIS")));
        }
    }
}

}  // namespace

TEST_F(IBCustomerRun, LocalBalancesBecomeOneEntryPerPositiveSide) {
    card(1, "a1", ", DVZKUL, DVZBRM", ", '0', 'TL'");
    movement(1, "KPB_BTUT, KPB_ATUT, DVZKUL, DVZ_HSISLE", "300, 0, '0', '0'");
    movement(1, "KPB_BTUT, KPB_ATUT, DVZKUL, DVZ_HSISLE", "200, 0, '1', '0'");  // not a currency-account entry
    movement(1, "KPB_BTUT, KPB_ATUT, DVZKUL, DVZ_HSISLE", "0, 200, '0', '1'");
    card(2, "a2");  // flags NULL on both sides: neither local nor currency account
    movement(2, "KPB_BTUT, KPB_ATUT, DVZ_BTUT", "70, 30, 5");
    card(3, "a3");  // a negative debit sum and a zero credit sum
    movement(3, "KPB_BTUT, KPB_ATUT, DVZKUL, DVZ_HSISLE", "-50, 0, '0', '0'");
    card(4, "a4");  // no movements at all
    runOk();

    expectEntries(entries("A1"), {{"1", false, "TL", 500}, {"0", false, "TL", 200}});
    for (const char* code : {"A2", "A3", "A4"}) {
        SCOPED_TRACE(code);
        EXPECT_TRUE(entries(code).empty());
    }
    auto e = entries("A1");
    ASSERT_EQ(e.size(), 2u);
    EXPECT_DOUBLE_EQ(num(e[0].at("KPB_BTUT")), 500);
    EXPECT_DOUBLE_EQ(num(e[0].at("KPB_ATUT")), 0);
    EXPECT_DOUBLE_EQ(num(e[1].at("KPB_BTUT")), 0);
    EXPECT_DOUBLE_EQ(num(e[1].at("KPB_ATUT")), 200);
    EXPECT_DOUBLE_EQ(num(e[1].at("DVZ_BTUT")), 0);
    EXPECT_DOUBLE_EQ(num(e[1].at("DVZ_ATUT")), 0);
    EXPECT_EQ(op.progressTexts.front(), "Cari Kartlar Aktarılıyor");
    EXPECT_EQ(op.progressMaxima.front(), 4);
}

TEST_F(IBCustomerRun, OpeningEntriesCarryTheCardAndTheRun) {
    card(7, "kart-1", ", ADI, SOYADI, UNVANI, GRUBU, ALTGRUP, OZEL_KOD, DVZBRM",
         ", 'Ali', 'Veli', 'Ali Veli Ltd', 'Toptan', 'Alt', 'OK1', 'ABCDEF'");
    movement(7, "KPB_BTUT, DVZKUL, DVZ_HSISLE", "10, '0', '0'");
    card(8, "kart-2");  // no names at all
    movement(8, "KPB_ATUT, DVZKUL, DVZ_HSISLE", "4, '0', '0'");
    runOk();

    auto e = entries("KART-1");
    ASSERT_EQ(e.size(), 1u);
    const auto& x = e[0];
    EXPECT_EQ(str(x.at("IS_TURU")), "Devir");
    EXPECT_EQ(str(x.at("CARIKODU")), "KART-1");
    EXPECT_EQ(str(x.at("ADSOYAD")), "Ali Veli");
    EXPECT_EQ(str(x.at("UNVANI")), "Ali Veli Ltd");
    EXPECT_EQ(str(x.at("GRUBU")), "Toptan");
    EXPECT_EQ(str(x.at("ALTGRUP")), "Alt");
    EXPECT_EQ(str(x.at("OZEL_KOD")), "OK1");
    EXPECT_EQ(str(x.at("CROZELKODU")), "OK1");
    EXPECT_EQ(str(x.at("DVZBRM")), "ABCD");  // the card's 6-character code, cut to the entry's 4
    EXPECT_EQ(str(x.at("TAKSIT")), "0");
    EXPECT_EQ(str(x.at("ODEDI")), "1");
    for (const char* f : {"FATCARI", "IRSCARI", "CS_CIROLANDI"}) EXPECT_EQ(str(x.at(f)), "0") << f;
    EXPECT_EQ(str(x.at("KAYDEDEN")), w("Ayşe Işık"));
    EXPECT_EQ(db::asDate(x.at("TARIHI")), db::today());
    EXPECT_EQ(db::asDate(x.at("VADE")), db::today());
    EXPECT_EQ(num(x.at("BLCRKODU")),
              num(scalar(targetDb(), "SELECT BLCRKODU FROM CARI WHERE CARIKODU = 'KART-1'")));

    auto blank = entries("KART-2");
    ASSERT_EQ(blank.size(), 1u);
    EXPECT_EQ(str(blank[0].at("ADSOYAD")), " ");
}

TEST_F(IBCustomerRun, CardsAreCopiedByNameWithNewKeysAndUpperCaseCodes) {
    card(125, "çiçek-ış", ", KAYIT_TARIHI, ADRES1, ISK_ORAN, ISKONTO, DVZKUL, KAYDEDEN, NOT3, PAZ_ISCILIK",
         ", '2004-03-05 10:20:00', '" + std::string(60, 'x') + "', 12.5, '1', '0', 'Eski', 'not', 7");
    runOk();
    auto rows = query(targetDb(),
                      "SELECT BLCRKODU, CARIKODU, KAYIT_TARIHI, ADRES1, ISK_ORAN, ISKONTO, DVZKUL, KAYDEDEN, NOT3, "
                      "PAZ_ISCILIK, MUHKODU_ALIS, MUHKODU_SATIS, IL1, VADE_ORAN FROM CARI");
    ASSERT_EQ(rows.size(), 1u);
    const Row& r = rows[0];
    EXPECT_NE(num(r[0]), 125);  // the key comes from the target's generator
    EXPECT_EQ(num(r[0]), num(scalar(targetDb(), "SELECT GEN_ID(CARI_GEN, 0) FROM RDB$DATABASE")));
    EXPECT_EQ(str(r[1]), w("ÇİÇEK-IŞ"));
    EXPECT_EQ(db::asDate(r[2]), (db::Date{2004, 3, 5}));
    EXPECT_EQ(str(r[3]), std::string(60, 'x'));
    EXPECT_DOUBLE_EQ(num(r[4]), 12.5);
    EXPECT_EQ(str(r[5]), "1");
    EXPECT_EQ(str(r[6]), "0");
    EXPECT_EQ(str(r[7]), "Eski");  // the card keeps who recorded it; the operator goes into entries only
    EXPECT_EQ(str(r[8]), "not");
    EXPECT_DOUBLE_EQ(num(r[9]), 7);
    EXPECT_EQ(str(r[10]), "120");
    EXPECT_EQ(str(r[11]), "320");
    EXPECT_TRUE(db::isNull(r[12]));
    EXPECT_TRUE(db::isNull(r[13]));
}

TEST_F(IBCustomerRun, CurrencyCardsCarryTheirCurrencyOpeningsAndMovements) {
    card(1, "dvz", ", DVZKUL, DVZBRM", ", '1', 'USD'");
    // CARIBK: per-currency openings; an empty currency is skipped whatever its amounts.
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DEVIR_ALC, DOVIZ_SIMGE) VALUES (1, 1, 100, 40, 'USD')");
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DEVIR_ALC, DOVIZ_SIMGE) VALUES (2, 1, 999, 999, '')");
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DEVIR_ALC, DOVIZ_SIMGE) VALUES (3, 1, 0, 10, 'EUR')");
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DEVIR_ALC, DOVIZ_SIMGE) VALUES (4, 1, 8, -2, 'GBP')");
    // Movements in the currency account, grouped per currency; one entry counting locally.
    movement(1, "DVZBRM, DVZ_BTUT, DVZ_ATUT, KPB_BTUT, DVZKUL, DVZ_HSISLE", "'USD', 5, 0, 12, '1', '1'");
    movement(1, "DVZBRM, DVZ_BTUT, DVZ_ATUT, KPB_BTUT, DVZKUL, DVZ_HSISLE", "'USD', 7, 0, 17, '1', '1'");
    movement(1, "DVZBRM, DVZ_BTUT, DVZ_ATUT, DVZKUL, DVZ_HSISLE", "'EUR', 0, 3, '1', '1'");
    movement(1, "DVZBRM, KPB_BTUT, DVZKUL, DVZ_HSISLE", "'USD', 11, '1', '0'");  // counts in the local account
    movement(1, "DVZBRM, KPB_BTUT, DVZ_BTUT, DVZKUL", "'USD', 13, 13, '1'");  // DVZ_HSISLE NULL: counts nowhere
    // A card whose own DVZKUL is not "1" gets no currency entries, whatever the source holds.
    card(2, "yerel", ", DVZKUL, DVZBRM", ", '0', 'USD'");
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DOVIZ_SIMGE) VALUES (5, 2, 50, 'USD')");
    movement(2, "DVZBRM, DVZ_BTUT, DVZKUL, DVZ_HSISLE", "'USD', 6, '1', '1'");
    runOk();

    // Order: local entries, CARIBK rows as returned (debit then credit), then the sums per currency.
    expectEntries(entries("DVZ"), {{"1", false, "USD", 11},
                                   {"1", true, "USD", 100},
                                   {"0", true, "USD", 40},
                                   {"0", true, "EUR", 10},
                                   {"1", true, "GBP", 8},
                                   {"0", true, "EUR", 3},
                                   {"1", true, "USD", 12}});
    auto e = entries("DVZ");
    ASSERT_EQ(e.size(), 7u);
    struct Amounts {
        double tutar, alis, satis, kpbB, kpbA, dvzB, dvzA;
    } want[] = {{11, 0, 0, 11, 0, 0, 0},          {250, 2.4, 2.5, 250, 0, 100, 0}, {100, 2.4, 2.5, 0, 100, 0, 40},
                {32.5, 3, 3.25, 0, 32.5, 0, 10}, {0, 0, 0, 0, 0, 8, 0},           {9.75, 3, 3.25, 0, 9.75, 0, 3},
                {30, 2.4, 2.5, 30, 0, 12, 0}};
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE("entry " + std::to_string(i));
        EXPECT_NEAR(num(e[i].at("TUTAR")), want[i].tutar, 1e-9);
        EXPECT_NEAR(num(e[i].at("DVZ_ALIS")), want[i].alis, 1e-9);
        EXPECT_NEAR(num(e[i].at("DVZ_SATIS")), want[i].satis, 1e-9);
        EXPECT_NEAR(num(e[i].at("KPB_BTUT")), want[i].kpbB, 1e-9);
        EXPECT_NEAR(num(e[i].at("KPB_ATUT")), want[i].kpbA, 1e-9);
        EXPECT_NEAR(num(e[i].at("DVZ_BTUT")), want[i].dvzB, 1e-9);
        EXPECT_NEAR(num(e[i].at("DVZ_ATUT")), want[i].dvzA, 1e-9);
    }
    // A currency missing from DOVIZ keeps no rates at all.
    EXPECT_TRUE(db::isNull(e[4].at("DVZ_ALIS")));
    EXPECT_TRUE(db::isNull(e[4].at("DVZ_SATIS")));

    EXPECT_TRUE(entries("YEREL").empty());
    // The per-currency openings were read for the currency card only.
    EXPECT_EQ(dm.CariBk4_Ds.boundSql(), (std::vector<std::string>{"SELECT * FROM CARIBK", "WHERE BLCRKODU=1"}));
}

TEST_F(IBCustomerRun, WithTheCurrencySettingOffCurrencyEntriesKeepOnlyLocalAmounts) {
    source("UPDATE AYAR SET DVZKUL = '0'");
    card(1, "dvz", ", DVZKUL, DVZBRM", ", '1', 'USD'");
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DEVIR_ALC, DOVIZ_SIMGE) VALUES (1, 1, 100, 0, 'USD')");
    runOk();
    auto e = entries("DVZ");
    ASSERT_EQ(e.size(), 1u);
    EXPECT_DOUBLE_EQ(num(e[0].at("DOVIZ")), 100);
    EXPECT_DOUBLE_EQ(num(e[0].at("TUTAR")), 250);
    EXPECT_DOUBLE_EQ(num(e[0].at("KPB_BTUT")), 250);
    EXPECT_DOUBLE_EQ(num(e[0].at("KPB_ATUT")), 0);
    EXPECT_DOUBLE_EQ(num(e[0].at("DVZ_BTUT")), 0);
    EXPECT_DOUBLE_EQ(num(e[0].at("DVZ_ATUT")), 0);
}

TEST_F(IBCustomerRun, UnpaidInstalmentsMoveToTheNewCardWithNewKeys) {
    card(40, "çiçek");
    struct Case {
        const char* taksit;
        const char* odedi;
        bool copied;
    } cases[] = {{"'1'", "'0'", true}, {"'1'", "NULL", false}, {"'1'", "'1'", false}, {"'0'", "'0'", false},
                 {"'1'", "'2'", true}};
    for (const auto& c : cases)
        movement(40, "TAKSIT, ODEDI, CARIKODU, TUTAR, KPB_BTUT, VADE, TARIHI, KAYDEDEN, TUTAR_TURU, EVRAKNO",
                 std::string(c.taksit) + ", " + c.odedi + ", " + lit(w("çiçek")) +
                     ", 150.25, 150.25, '2006-01-31', '2005-12-01', 'Eski', '1', 'E" + std::to_string(movements + 1) +
                     "'");
    movement(40, "KPB_BTUT, DVZKUL, DVZ_HSISLE", "9, '0', '0'");  // gives one opening entry
    runOk();

    const double newCard = num(scalar(targetDb(), "SELECT BLCRKODU FROM CARI WHERE CARIKODU = " + lit(w("ÇİÇEK"))));
    auto rows = query(targetDb(),
                      "SELECT BLCHKODU, BLCRKODU, CARIKODU, TAKSIT, ODEDI, TUTAR, VADE, TARIHI, KAYDEDEN, EVRAKNO, "
                      "IS_TURU, MUH_DURUM, KKARTI_DETAY FROM CARIHR ORDER BY BLCHKODU");
    // The opening entry first, then the instalments.
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(str(rows[0][10]), "Devir");
    EXPECT_EQ(str(rows[0][2]), w("ÇİÇEK"));
    const char* evrak[] = {"E1", "E5"};
    for (std::size_t i = 1; i < 3; ++i) {
        SCOPED_TRACE(i);
        const Row& r = rows[i];
        EXPECT_EQ(num(r[0]), num(rows[0][0]) + static_cast<double>(i));  // new keys from CARIHR_GEN
        EXPECT_EQ(num(r[1]), newCard);
        EXPECT_EQ(str(r[2]), w("çiçek"));  // the old code as the entry stored it
        EXPECT_EQ(str(r[3]), "1");
        EXPECT_DOUBLE_EQ(num(r[5]), 150.25);
        EXPECT_EQ(db::asDate(r[6]), (db::Date{2006, 1, 31}));
        EXPECT_EQ(db::asDate(r[7]), (db::Date{2005, 12, 1}));
        EXPECT_EQ(str(r[8]), "Eski");
        EXPECT_EQ(str(r[9]), evrak[i - 1]);
        EXPECT_EQ(str(r[10]), "Fatura");
        EXPECT_TRUE(db::isNull(r[11]));
        EXPECT_TRUE(db::isNull(r[12]));
    }
    EXPECT_EQ(str(rows[1][4]), "0");
    EXPECT_EQ(str(rows[2][4]), "2");
    EXPECT_EQ(dm.CariHr4_Ds.boundSql(), (std::vector<std::string>{"SELECT * FROM CARIHR", "WHERE BLCRKODU=40",
                                                              " AND TAKSIT='1' AND ODEDI<>'1'"}));
    EXPECT_EQ(dm.CariHr5_Ds.boundSql(),
              (std::vector<std::string>{"SELECT * FROM CARIHR", "WHERE BLCRKODU=" + db::formatNumber(newCard)}));
}

TEST_F(IBCustomerRun, WithoutBalancesAndInstalmentsOnlyCardsAreWritten) {
    card(1, "k1", ", DVZKUL", ", '1'");
    movement(1, "KPB_BTUT, DVZKUL, DVZ_HSISLE, TAKSIT, ODEDI", "9, '0', '0', '1', '0'");
    source("INSERT INTO CARIBK (BLBKKODU, BLCRKODU, DEVIR_BRC, DOVIZ_SIMGE) VALUES (1, 1, 100, 'USD')");
    up.options.CheckCRBK = false;
    up.options.CheckTAKSIT = false;
    runOk();
    EXPECT_EQ(count(targetDb(), "CARI"), 1);
    EXPECT_EQ(count(targetDb(), "CARIHR"), 0);
}

TEST_F(IBCustomerRun, GroupsAreMergedByExactNameWithTheirSubGroupsAttached) {
    execSql(dst + "/DBBackup/Mirkado.Fdb",
            "INSERT INTO CARIGRUP (BLCGKODU, GRUP_ADI, ACIKLAMA) VALUES (500, 'Toptan', 'hazir')");
    struct Group {
        int key;
        const char* name;
        const char* description;
        std::vector<const char*> subs;
    } groups[] = {{11, "Toptan", "kaynak", {"T1", "T2"}},
                  {12, "Perakende", "ilk", {"P1"}},
                  {13, "toptan", "kucuk", {}},
                  {14, "Perakende", "ikinci", {"P2"}},
                  {15, "Toptan ", "blank", {}}};
    int subKey = 0;
    for (const auto& g : groups) {
        source("INSERT INTO CARIGRUP (BLCGKODU, GRUP_ADI, ACIKLAMA) VALUES (" + std::to_string(g.key) + ", " +
               lit(g.name) + ", " + lit(g.description) + ")");
        for (const char* s : g.subs)
            source("INSERT INTO CARIGRUP2 (BLC2KODU, BLCGKODU, GRUP_ADI2, GRUP_ADI, ACIKLAMA) VALUES (" +
                   std::to_string(++subKey) + ", " + std::to_string(g.key) + ", 'eski', " + lit(s) + ", 'alt " +
                   s + "')");
    }
    runOk();

    auto top = query(targetDb(), "SELECT BLCGKODU, GRUP_ADI, ACIKLAMA FROM CARIGRUP ORDER BY BLCGKODU");
    std::map<std::string, std::pair<double, std::string>> byName;
    for (const auto& r : top) byName[str(r[1])] = {num(r[0]), str(r[2])};
    ASSERT_EQ(top.size(), 4u);
    EXPECT_EQ(byName.at("Toptan"), (std::pair<double, std::string>{500, "hazir"}));  // found: keeps its own text
    EXPECT_EQ(byName.at("Perakende").second, "ilk");
    EXPECT_EQ(byName.at("toptan").second, "kucuk");
    EXPECT_EQ(byName.at("Toptan ").second, "blank");

    auto subs = query(targetDb(), "SELECT BLCGKODU, GRUP_ADI2, GRUP_ADI, ACIKLAMA FROM CARIGRUP2 ORDER BY BLC2KODU");
    ASSERT_EQ(subs.size(), 4u);
    const char* parent[] = {"Toptan", "Toptan", "Perakende", "Perakende"};
    const char* name[] = {"T1", "T2", "P1", "P2"};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(num(subs[i][0]), byName.at(parent[i]).first);
        EXPECT_EQ(str(subs[i][1]), parent[i]);
        EXPECT_EQ(str(subs[i][2]), name[i]);
        EXPECT_EQ(str(subs[i][3]), std::string("alt ") + name[i]);
    }
    EXPECT_EQ(dm.CGrup24_Ds.boundSql(), (std::vector<std::string>{"SELECT * FROM CARIGRUP2", "WHERE BLCGKODU=15"}));
    ASSERT_GE(op.progressTexts.size(), 2u);
    EXPECT_EQ(op.progressTexts[1], "Cari Grupları Aktarılıyor");
    EXPECT_EQ(op.progressMaxima[1], 5);
}

TEST_F(IBCustomerRun, ACodeTakenTwiceAfterUpperCasingEndsTheRunAndNothingStays) {
    card(1, "çiçek");
    card(2, "ÇİÇEK");
    movement(1, "KPB_BTUT, DVZKUL, DVZ_HSISLE", "9, '0', '0'");
    EXPECT_EQ(run(), app::RunResult::Failed);
    ASSERT_EQ(op.messages.size(), 1u) << op.allMessages();
    EXPECT_EQ(op.messages[0].text,
              "Bu Cari Kodu daha önceden kaydedilmiş!..\r\nEski Programınızdan kontrol ediniz. Cari Kodu = ÇİÇEK");
    EXPECT_EQ(op.messages[0].title, "Dikkat");
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
    if (fs::exists(targetDb())) {
        EXPECT_EQ(count(targetDb(), "CARI"), 0);
        EXPECT_EQ(count(targetDb(), "CARIHR"), 0);
    }

    source("DELETE FROM CARI WHERE BLCRKODU = 2");
    db::TDM dm2;
    ScriptedOperator op2;
    app::Upgrade again(dm2, op2);
    again.options = up.options;
    ASSERT_EQ(again.Button1Click(), app::RunResult::Completed) << op2.allMessages();
    EXPECT_EQ(count(targetDb(), "CARI"), 1);
    EXPECT_EQ(count(targetDb(), "CARIHR"), 1);
}
