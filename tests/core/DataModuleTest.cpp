#include <gtest/gtest.h>

#include "FbTestDb.h"
#include "db/DataModule.h"
#include "db/fb/Firebird.h"

using namespace testsupport;

namespace {

class DataModuleTest : public ::testing::Test {
protected:
    void SetUp() override {
        target = tmp / "target/MIRKADO.FDB";
        source = tmp / "source/MIRKADO.GDB";
        registry = tmp / "target/Sirket.FDB";
        createDatabase(target, "target_company.sql");
        createDatabase(source, "source_company.sql");
        createDatabase(registry, "target_registry.sql");
    }
    void openTarget() { open(dm.Mirkado5_DB, dm.Mirkado5_Tr, target, 1); }
    void openSource() { open(dm.Mirkado4_DB, dm.Mirkado4_Tr, source, 2); }
    void openRegistry() { open(dm.Sirket5_DB, dm.Sirket5_Tr, registry, 0); }
    void open(db::Connection& c, db::Transaction& tr, const std::string& path, int group) {
        c.DatabaseName = path;
        c.Params = testParams();
        c.open();
        tr.start();
        if (group) dm.reopenGroup(group);
    }

    TempDir tmp;
    std::string target, source, registry;
    db::TDM dm;
};

}  // namespace

TEST_F(DataModuleTest, PostedRowsTakeKeysFromTheirGenerators) {
    openTarget();
    for (const char* code : {"A1", "A2"}) {
        dm.Cari5_Ds.append();
        dm.Cari5_Ds.set("CARIKODU", code);
        dm.Cari5_Ds.post();
        // The posted card is the current row; its children take its key.
        dm.CariBk5_Ds.append();
        dm.CariBk5_Ds.set("DOVIZ_SIMGE", "USD");
        dm.CariBk5_Ds.post();
        EXPECT_EQ(dm.CariBk5_Ds.asFloat("BLCRKODU"), dm.Cari5_Ds.asFloat("BLCRKODU"));
    }
    EXPECT_EQ(dm.Cari5_Ds.asFloat("BLCRKODU"), 2.0);
    EXPECT_EQ(dm.CariBk5_Ds.asFloat("BLBKKODU"), 2.0);
    dm.Mirkado5_DB.close();  // closing commits
    auto rows = query(target, "SELECT BLCRKODU, CARIKODU FROM CARI ORDER BY BLCRKODU");
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(db::asString(rows[1][1]), "A2");
    EXPECT_EQ(count(target, "CARIBK", "BLCRKODU = 2"), 1);
}

TEST_F(DataModuleTest, AFilledKeyIsKeptAndParentsAreStillSet) {
    openTarget();
    dm.CGrup5_Ds.append();
    dm.CGrup5_Ds.set("GRUP_ADI", "A");
    dm.CGrup5_Ds.post();
    dm.CGrup25_Ds.append();
    dm.CGrup25_Ds.set("BLC2KODU", 77.0);
    dm.CGrup25_Ds.set("GRUP_ADI", "alt");
    dm.CGrup25_Ds.post();
    EXPECT_EQ(dm.CGrup25_Ds.asFloat("BLC2KODU"), 77.0);
    EXPECT_EQ(dm.CGrup25_Ds.asFloat("BLCGKODU"), dm.CGrup5_Ds.asFloat("BLCGKODU"));
    EXPECT_EQ(dm.CGrup25_Ds.asString("GRUP_ADI2"), "A");
    EXPECT_EQ(dm.NewKodu(0, "CARIGRUP2_GEN"), 0) << "the generator must not move for a filled key";
}

TEST_F(DataModuleTest, RegistryRulesStepTheirGeneratorByTwo) {
    openRegistry();
    dm.Sirket5_Ds.open();
    dm.Sirket5_Ds.append();
    dm.Sirket5_Ds.set("KISAAD", "Firma");
    dm.Sirket5_Ds.post();
    dm.Yans2_Ds.open();
    std::vector<double> keys;
    for (int i = 0; i < 3; ++i) {
        dm.Yans2_Ds.append();
        dm.Yans2_Ds.set("BLMSKODU", 1.0);
        dm.Yans2_Ds.post();
        keys.push_back(dm.Yans2_Ds.asFloat("BLMYKODU"));
        EXPECT_EQ(dm.Yans2_Ds.asFloat("BLSRKODU"), dm.Sirket5_Ds.asFloat("BLSIRKETKODU"));
    }
    EXPECT_EQ(keys, (std::vector<double>{2, 4, 6}));
}

TEST_F(DataModuleTest, GeneratorRoutinesReadMoveAndFailQuietly) {
    execSql(target, "DROP GENERATOR CARIGRUP_GEN");
    execSql(source, "SET GENERATOR CARIKODU_GEN TO 250");
    openTarget();
    openSource();
    EXPECT_EQ(dm.NewKodu(0, "CARIKODU_GEN"), 0);
    EXPECT_EQ(dm.NewKodu(dm.Mirkado4GenValue("CARIKODU_GEN"), "CARIKODU_GEN"), 250);
    EXPECT_EQ(dm.Mirkado4GenValue("CARIKODU_GEN"), 250) << "reading the source moves nothing";
    EXPECT_EQ(dm.NewKodu(1, "YOK_GEN"), -1);
    EXPECT_THROW(dm.Mirkado4GenValue("YOK_GEN"), db::fb::Error);
    // A missing generator stores -1 in the key, without a message.
    dm.CGrup5_Ds.append();
    dm.CGrup5_Ds.set("GRUP_ADI", "G");
    dm.CGrup5_Ds.post();
    EXPECT_EQ(dm.CGrup5_Ds.asFloat("BLCGKODU"), -1.0);

    execSql(source, "INSERT INTO DOVIZ (BLDVKODU, SIMGE) VALUES (1, 'USD'); INSERT INTO DOVIZ (BLDVKODU, SIMGE) VALUES (2, 'EUR')");
    EXPECT_EQ(dm.KayitSayisiAl("DOVIZ", "BLDVKODU"), 2);
    EXPECT_EQ(dm.KayitSayisiAl("DOVIZ", "TARIH"), 0) << "only values are counted";
    EXPECT_EQ(dm.KayitSayisiAl("YOKTABLO", "X"), -1);
}

TEST_F(DataModuleTest, TextIsCutToItsColumnAndEmptyTextIsNull) {
    openTarget();
    dm.Cari5_Ds.append();
    dm.Cari5_Ds.set("CARIKODU", std::string(40, 'K'));
    dm.Cari5_Ds.set("GRUBU", "");
    dm.Cari5_Ds.set("DVZBRM", "ABCDEFGH");
    dm.Cari5_Ds.set("ISK_ORAN", 12.5);
    dm.Cari5_Ds.set("ISKONTO", std::int64_t{1});  // a number into a flag column arrives as its text
    dm.Cari5_Ds.post();
    dm.Mirkado5_DB.close();
    auto row = query(target, "SELECT CARIKODU, GRUBU, DVZBRM, ISK_ORAN, ISKONTO, KLIM_CEKSEN FROM CARI")[0];
    EXPECT_EQ(db::asString(row[0]), std::string(30, 'K'));
    EXPECT_TRUE(db::isNull(row[1]));
    EXPECT_EQ(db::asString(row[2]), "ABCDEF");
    EXPECT_EQ(db::asFloat(row[3]), 12.5);
    EXPECT_EQ(db::asString(row[4]), "1");
    EXPECT_EQ(db::asString(row[5]), "0") << "columns outside the insert take the database's default";
}

TEST_F(DataModuleTest, CopyByNameConvertsBetweenSqlTypes) {
    execSql(source,
            "INSERT INTO CARI (BLCRKODU, CARIKODU, ISKONTO, ISK_ORAN, KAYIT_TARIHI, DVZKUL, ADRES1, DEVIR_BRC) "
            "VALUES (125, 'c1', '1', 12.25, '2004-05-06 13:14:15', '0', " + lit(w("Çarşı")) + ", 99)");
    openTarget();
    openSource();
    ASSERT_FALSE(dm.Cari4_Ds.eof());
    EXPECT_EQ(dm.Cari4_Ds.column("ISK_ORAN").kind, db::fb::Kind::Numeric);
    EXPECT_TRUE(dm.Cari4_Ds.column("ISKONTO").fixedChar);
    dm.Cari5_Ds.append();
    dm.Cari5_Ds.copyByName(dm.Cari4_Ds, {"BLCRKODU"});
    dm.Cari5_Ds.post();
    EXPECT_EQ(dm.Cari5_Ds.asFloat("BLCRKODU"), 1.0) << "the source key is not carried";
    dm.Mirkado5_DB.close();
    auto row = query(target, "SELECT CARIKODU, ISKONTO, ISK_ORAN, KAYIT_TARIHI, DVZKUL, ADRES1 FROM CARI")[0];
    EXPECT_EQ(db::asString(row[0]), "c1");
    EXPECT_EQ(db::asString(row[1]), "1");
    EXPECT_DOUBLE_EQ(db::asFloat(row[2]), 12.25);
    EXPECT_EQ(*db::asDate(row[3]), (db::Date{2004, 5, 6}));
    EXPECT_EQ(db::asString(row[4]), "0");
    EXPECT_EQ(db::asString(row[5]), w("Çarşı"));
}

TEST_F(DataModuleTest, LocateFindsExactNamesIncludingRowsPostedThisSession) {
    execSql(target, "INSERT INTO CARIGRUP (BLCGKODU, GRUP_ADI, ACIKLAMA) VALUES (100, 'Toptan', 'şablon')");
    openTarget();
    dm.CGrup5_Ds.append();
    dm.CGrup5_Ds.set("GRUP_ADI", "Perakende");
    dm.CGrup5_Ds.post();
    EXPECT_TRUE(dm.CGrup5_Ds.locate("GRUP_ADI", std::string("Toptan")));
    EXPECT_EQ(dm.CGrup5_Ds.asFloat("BLCGKODU"), 100.0);
    EXPECT_TRUE(dm.CGrup5_Ds.locate("GRUP_ADI", std::string("Perakende")));
    EXPECT_EQ(dm.CGrup5_Ds.asFloat("BLCGKODU"), 1.0);
    EXPECT_FALSE(dm.CGrup5_Ds.locate("GRUP_ADI", std::string("toptan"))) << "case counts";
    EXPECT_FALSE(dm.CGrup5_Ds.locate("GRUP_ADI", std::string("Top")));
}

TEST_F(DataModuleTest, SourceDatasetsStreamAndReopenOnTheNewCompany) {
    std::string script;
    for (int i = 1; i <= 50; ++i)
        script += "INSERT INTO DOVIZ (BLDVKODU, SIMGE, ALIS) VALUES (" + std::to_string(i) + ", 'D" +
                  std::to_string(i) + "', 1.5);";
    execSql(source, script);
    openSource();
    int n = 0;
    for (dm.Doviz4_Ds.first(); !dm.Doviz4_Ds.eof(); dm.Doviz4_Ds.next()) ++n;
    EXPECT_EQ(n, 50);
    dm.Doviz4_Ds.first();
    EXPECT_EQ(dm.Doviz4_Ds.asString("SIMGE"), "D1");
    EXPECT_DOUBLE_EQ(dm.Doviz4_Ds.asFloat("ALIS"), 1.5);
    EXPECT_TRUE(dm.Doviz4_Ds.locate("SIMGE", std::string("D7")));
    EXPECT_TRUE(dm.Doviz4_Ds.active());
    EXPECT_FALSE(dm.CariHr4_Ds.active()) << "group-0 datasets are opened by their users";
    // A narrowed statement runs as given.
    dm.CariBk4_Ds.setSql({"SELECT * FROM CARIBK", "WHERE BLCRKODU=125"});
    dm.CariBk4_Ds.open();
    EXPECT_TRUE(dm.CariBk4_Ds.eof());
    dm.Mirkado4_DB.close();
    EXPECT_FALSE(dm.Doviz4_Ds.active());
}

TEST_F(DataModuleTest, DatabaseErrorsCarryTheDatabaseText) {
    openTarget();
    for (int i = 0; i < 2; ++i) {
        dm.Cari5_Ds.append();
        dm.Cari5_Ds.set("CARIKODU", "AYNI");
        if (i == 0) {
            dm.Cari5_Ds.post();
            continue;
        }
        try {
            dm.Cari5_Ds.post();
            FAIL() << "a duplicate code must be refused";
        } catch (const db::fb::Error& e) {
            std::string m = e.what();
            EXPECT_NE(m.find("INTEG_13"), std::string::npos) << m;
            EXPECT_NE(m.find("\"CARI\""), std::string::npos) << m;
            EXPECT_EQ(dm.Cari5_Ds.asString("CARIKODU"), "AYNI") << "the refused row stays current";
        }
    }
}

TEST_F(DataModuleTest, ParametersOfAnyKindReachColumnsOfAnyType) {
    // Rows that differ in which values are empty share prepared messages; a scaled column still gets the
    // value, not its digits.
    db::fb::AttachOptions o;
    o.params = testParams();
    auto att = db::fb::Attachment::open(source, o);
    {
        db::fb::Transaction tr(*att);
        db::fb::Statement ins(*att, tr,
                              "INSERT INTO CARIHR (BLCHKODU, BLCRKODU, IS_TURU, KPB_BTUT, DVZKUL, TARIHI) "
                              "VALUES (?, ?, ?, ?, ?, ?)");
        const std::vector<std::vector<db::Value>> rows = {
            {1.0, 1.0, std::string("a"), db::kNull, db::kNull, db::kNull},
            {2.0, 2.0, std::string("b"), std::int64_t{125}, std::string("1"), db::Date{2004, 2, 29}},
            {3.0, 3.0, std::string("c"), 12.345, db::kNull, db::kNull},
            {4.0, 4.0, std::string("d"), std::string("7.5"), std::string("0"), db::Timestamp{{2004, 3, 1}, {10, 0, 0, 0}}},
        };
        for (const auto& r : rows) ins.execute(tr, r);
        tr.commit();
    }
    att->detach();
    auto got = query(source, "SELECT KPB_BTUT, DVZKUL, TARIHI FROM CARIHR ORDER BY BLCHKODU");
    ASSERT_EQ(got.size(), 4u);
    EXPECT_TRUE(db::isNull(got[0][0]));
    EXPECT_EQ(db::asFloat(got[1][0]), 125.0);
    EXPECT_EQ(db::asFloat(got[2][0]), 12.35) << "NUMERIC(15,2) rounds";
    EXPECT_EQ(db::asFloat(got[3][0]), 7.5);
    EXPECT_EQ(db::asString(got[1][1]), "1");
    EXPECT_EQ(*db::asDate(got[1][2]), (db::Date{2004, 2, 29}));
    EXPECT_EQ(*db::asDate(got[3][2]), (db::Date{2004, 3, 1}));
}
