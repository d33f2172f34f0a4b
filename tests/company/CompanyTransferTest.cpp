// The company list's rules and the registration of InterBase-source companies.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FbTestDb.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"
#include "transfer/Transfers.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class CompanyTest : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "M4";
        dst = tmp / "S5";
        makeSelvantoData(dst);
        makeMirkadoData(src, {});
        up.options.DKaynak = src;
        up.options.DrHedef = dst;
        up.options.CheckSTOK = false;
        up.options.CheckCARI = false;
    }
    // Registry rows: key, code, short name, working year (empty text for NULL).
    void registry(const std::string& rows) { execSql(src + "/Sirket.GDB", rows); }
    void row(int key, const std::string& code, const std::string& name, const std::string& year) {
        registry("INSERT INTO SIRKET (BLSIRKETKODU, SIRKETKODU, KISAAD, CALISMAYILI) VALUES (" +
                 std::to_string(key) + ", " + lit(w(code)) + ", " + lit(w(name)) + ", " +
                 (year.empty() ? "NULL" : year) + ")");
    }

    TempDir tmp;
    std::string src, dst;
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up{dm, op};
};

}  // namespace

TEST_F(CompanyTest, TheListDefaultsYearsAndRefusesInsertsAndDeletes) {
    row(1, "A", "Eksi", "-3");
    row(2, "B", "Sifir", "0");
    row(3, "C", "Bos", "");
    row(4, "D", std::string(30, 'x'), "2004");
    up.options.CheckCARI = true;  // the run goes as far as the list; the transfer stops it later
    transfer::CompanyList* shown = nullptr;
    op.onCompanyList = [&](transfer::CompanyList& list) { shown = &list; };
    up.options.DrHedef = dst;
    up.Button1Click();
    ASSERT_NE(shown, nullptr);
    auto& list = up.companies;
    const int thisYear = db::today().year;
    ASSERT_EQ(list.size(), 4u);
    for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(list.year(i), thisYear) << i;
    EXPECT_EQ(list.year(3), 2004);
    EXPECT_EQ(list.row(3).KISAAD, std::string(30, 'x'));
    EXPECT_EQ(list.row(3).DBYOLU, dst + "/D/2004");
    EXPECT_TRUE(list.ListeYuklendi);
    EXPECT_FALSE(list.insertRow({}));
    EXPECT_FALSE(list.deleteRow(0));
    EXPECT_EQ(list.size(), 4u);
    // Enter after an edit refreshes the folder; an emptied year leaves an empty segment and counts as 0.
    list.setYear(3, 2005);
    EXPECT_EQ(list.row(3).DBYOLU, dst + "/D/2004") << "the folder follows only on Enter";
    list.refreshPath(3);
    EXPECT_EQ(list.row(3).DBYOLU, dst + "/D/2005");
    list.setYear(0, std::nullopt);
    list.refreshPath(0);
    EXPECT_EQ(list.row(0).DBYOLU, dst + "/A/");
    EXPECT_EQ(list.year(0), 0);
}

TEST_F(CompanyTest, ASecondShowingFillsTheListAgain) {
    row(1, "A", "Bir", "2004");
    transfer::CompanyList list;
    dm.Sirket4_DB.DatabaseName = src + "/Sirket.GDB";
    dm.Sirket4_DB.Params = testParams();
    dm.Sirket4_DB.open();
    dm.Sirket4_Tr.start();
    list.fillFromInterBase(dm.Sirket4_Ds, "C:\\TORVANEX\\SELVANTO5\\DATA", 2026);
    list.fillFromInterBase(dm.Sirket4_Ds, "C:\\TORVANEX\\SELVANTO5\\DATA", 2026);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list.row(0).DBYOLU, "C:/TORVANEX/SELVANTO5/DATA/A/2004");
}

namespace {

// Registers the companies as the run does before its per-company loop, and commits the registry.
bool registerCompanies(app::Upgrade& up, db::TDM& dm, const std::string& src, const std::string& dst) {
    if (!up.IBSirketAc(dm.Sirket5_DB, dm.Sirket5_Ds, dst) || !up.IBSirketAc(dm.Sirket4_DB, dm.Sirket4_Ds, src))
        return false;
    transfer::Context ctx(dm, up.op(), up.options, up.companies);
    bool ok = transfer::IBSirketAktar(ctx);
    dm.Sirket5_DB.close();
    return ok;
}

}  // namespace

TEST_F(CompanyTest, RegistrationCopiesTheRegistryRowWithTheChosenYear) {
    registry("INSERT INTO SIRKET (BLSIRKETKODU, KURULUSTARIH, KISAAD, TICARIUNVAN, ADRES1, NOT3, CALISMAYILI, "
             "VERITABANIYOLU, AKTIF, SIRKETKODU, BLRSKODU) VALUES (500, '1999-01-02', " + lit(w("Çiçek")) + ", " +
             lit(w("Çiçek Ticaret Ltd. Şti.")) + ", 'Adres', 'Not', 2004, 'C:\\M4\\DATA\\CCK', '1', 'CCK', 9)");
    execSql(dst + "/Sirket.FDB", "SET GENERATOR SIRKET_GEN TO 40");
    op.onCompanyList = [](transfer::CompanyList& l) {
        l.setYear(0, 2005);
        l.refreshPath(0);
    };
    ASSERT_TRUE(registerCompanies(up, dm, src, dst)) << op.allMessages();
    EXPECT_TRUE(fs::exists(dst + "/CCK/2005/Mirkado.FDB"));
    EXPECT_TRUE(fs::exists(dst + "/CCK/2005/Resim.FDB"));
    auto r = query(dst + "/Sirket.FDB",
                   "SELECT BLSIRKETKODU, KURULUSTARIH, KISAAD, TICARIUNVAN, ADRES1, NOT3, CALISMAYILI, "
                   "VERITABANIYOLU, AKTIF, SIRKETKODU, BLRSKODU, TCKIMLIK, MUH_TIPI FROM SIRKET");
    ASSERT_EQ(r.size(), 1u);
    EXPECT_EQ(db::asFloat(r[0][0]), 41.0) << "the key comes from the target generator, never the source";
    EXPECT_EQ(*db::asDate(r[0][1]), (db::Date{1999, 1, 2}));
    EXPECT_EQ(db::asString(r[0][2]), w("Çiçek"));
    EXPECT_EQ(db::asString(r[0][3]), w("Çiçek Ticaret Ltd. Şti."));
    EXPECT_EQ(db::asString(r[0][4]), "Adres");
    EXPECT_EQ(db::asString(r[0][5]), "Not");
    EXPECT_EQ(db::asInteger(r[0][6]), 2005);
    EXPECT_EQ(db::asString(r[0][7]), "C:\\M4\\DATA\\CCK");
    EXPECT_EQ(db::asString(r[0][8]), "1");
    EXPECT_EQ(db::asString(r[0][9]), "CCK");
    EXPECT_EQ(db::asFloat(r[0][10]), 9.0);
    EXPECT_TRUE(db::isNull(r[0][11]));
    EXPECT_EQ(db::asString(r[0][12]), "T") << "columns the insert does not name keep their defaults";
    auto y = query(dst + "/Sirket.FDB", "SELECT BLSRKODU, CYILI, YOL FROM SIRKET_YIL");
    ASSERT_EQ(y.size(), 1u);
    EXPECT_EQ(db::asFloat(y[0][0]), 41.0);
    EXPECT_EQ(db::asInteger(y[0][1]), 2005);
    EXPECT_EQ(db::asString(y[0][2]), dst + "/CCK/2005");
    auto m = query(dst + "/Sirket.FDB",
                   "SELECT BLMYKODU, BLMSKODU, MUHKODU, BLSRKODU, MASTER FROM MUH_YANSITMA2 ORDER BY BLMYKODU");
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(db::asFloat(m[0][0]), 2.0);
    EXPECT_EQ(db::asFloat(m[2][0]), 6.0);
    EXPECT_EQ(db::asString(m[1][2]), "320");
    EXPECT_EQ(db::asFloat(m[2][1]), 2.0);
    EXPECT_EQ(db::asFloat(m[2][3]), 41.0);
    EXPECT_TRUE(db::isNull(m[2][4]));
}

TEST_F(CompanyTest, SameCodeAndYearShareAFolderAndBothAreRegistered) {
    row(1, "AYNI", "Bir", "2004");
    row(2, "AYNI", "Iki", "2004");
    execSql(dst + "/Sirket.FDB", "DELETE FROM MUH_YANSITMA");
    up.options.DrHedef = dst + "/";  // a trailing separator is used as typed
    ASSERT_TRUE(registerCompanies(up, dm, src, dst + "/"));
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 2);
    EXPECT_EQ(count(dst + "/Sirket.FDB", "MUH_YANSITMA2"), 0) << "no rules, no copies";
    auto y = query(dst + "/Sirket.FDB", "SELECT YOL FROM SIRKET_YIL ORDER BY BLSYKODU");
    ASSERT_EQ(y.size(), 2u);
    EXPECT_EQ(db::asString(y[1][0]), dst + "//AYNI/2004");
    EXPECT_TRUE(fs::exists(dst + "/AYNI/2004/Mirkado.FDB"));
}

TEST_F(CompanyTest, AFolderThatCannotBeMadeStopsTheRunWithNothingRegistered) {
    row(1, "ENGEL", "Bir", "2004");
    createDatabase(src + "/ENGEL/MIRKADO.GDB", "source_company.sql");
    std::ofstream(dst + "/ENGEL") << "bir dosya, klasör değil";
    up.options.CheckCARI = true;
    EXPECT_EQ(up.Button1Click(), app::RunResult::Failed);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, dst + "/ENGEL/2004 klasörü oluşturulamadı.\r\n"
                                         "Lütfen hedef klasörün yazılabilir olduğunu kontrol ediniz.");
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
    EXPECT_FALSE(op.running);
}
