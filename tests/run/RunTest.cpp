// The upgrade run as the operator meets it: refusals, login, the company walk, errors and recovery.
#include <gtest/gtest.h>

#include <filesystem>

#include "FbTestDb.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"
#include "db/Login.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

class RunTest : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "MIRKADO4/DATA";
        dst = tmp / "SELVANTO5/DATA";
        makeSelvantoData(dst);
        up.options.DKaynak = src;
        up.options.DrHedef = dst;
    }
    void company(const std::string& code, const std::string& shortName, int year) {
        if (!fs::exists(src + "/Sirket.GDB")) makeMirkadoData(src, {});
        createDatabase(src + "/" + code + "/MIRKADO.GDB", "source_company.sql");
        execSql(src + "/Sirket.GDB",
                "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI, VERITABANIYOLU) "
                "VALUES (" + std::to_string(100 + ++companies) + ", " + lit(w(shortName)) + ", " +
                    lit(w(shortName + " Ticaret A.Ş.")) + ", " + lit(code) + ", " + std::to_string(year) +
                    ", 'C:\\ESKI\\" + code + "')");
    }
    std::string targetDb(const std::string& code, int year) {
        return dst + "/" + code + "/" + std::to_string(year) + "/Mirkado.FDB";
    }

    TempDir tmp;
    std::string src, dst;
    int companies = 0;
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up{dm, op};
};

}  // namespace

TEST(ElapsedTime, SaatCevirWritesTheTimeInWords) {
    struct Case {
        int n;
        const char* text;
    } cases[] = {{1, "1 Saniye"},
                 {59, "59 Saniye"},
                 {60, "1 Dakika 0 Saniye"},
                 {125, "2 Dakika 5 Saniye"},
                 {3600, "1 Saat 0 Dakika 0 Saniye"},
                 {3725, "1 Saat 2 Dakika 5 Saniye"}};
    for (const auto& c : cases) EXPECT_EQ(app::SaatCevir(c.n), c.text);
    app::GecenSaniye = 3724;
    EXPECT_EQ(app::Timer1Timer(), "1 Saat 2 Dakika 5 Saniye");
}

TEST_F(RunTest, RefusalsLeaveTheWindowIdleAndWriteNothing) {
    company("ABC", "Firma", 2004);
    struct Case {
        const char* name;
        std::function<void(app::Options&, ScriptedOperator&)> setup;
        std::string kind, text;
        int loginShown;
    } cases[] = {
        {"no card option",
         [](app::Options& o, ScriptedOperator&) { o.CheckCARI = o.CheckSTOK = false; }, "box",
         "Cari veya Stok Kartlarından birini işaretlemelisiniz...", 0},
        {"empty staff name", [](app::Options& o, ScriptedOperator&) { o.Edit1.clear(); }, "plain",
         "Personel in kullanıcı adını girmediniz.", 0},
        {"missing registry", [this](app::Options& o, ScriptedOperator&) { o.DrHedef = tmp / "YOK"; }, "plain",
         tmp / "YOK" + "/Sirket.FDB dosyası bulunamadı.\r\nLütfen kontrol ediniz.", 0},
        {"missing source registry", [this](app::Options& o, ScriptedOperator&) { o.DKaynak = tmp / "YOK"; },
         "plain", tmp / "YOK" + "/Sirket.GDB dosyası bulunamadı.\r\nLütfen kontrol ediniz.", 1},
        {"cancelled login", [](app::Options&, ScriptedOperator& s) { s.passwords = {std::nullopt}; }, "", "", 1},
        {"missing Paradox folder",
         [this](app::Options& o, ScriptedOperator&) {
             o.RadioSURUM = 1;
             o.DKaynak = tmp / "ZKT3";
         },
         "box", "ZKT Kobaltin uın kullandığı veri tabani klasörü bulunamadı...", 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        db::TDM d;
        ScriptedOperator s;
        app::Upgrade u(d, s);
        u.options = up.options;
        c.setup(u.options, s);
        EXPECT_EQ(u.Button1Click(), app::RunResult::Refused);
        EXPECT_EQ(s.loginShown, c.loginShown);
        if (c.kind.empty()) {
            EXPECT_TRUE(s.messages.empty()) << s.allMessages();
        } else {
            ASSERT_EQ(s.messages.size(), 1u) << s.allMessages();
            EXPECT_EQ(s.messages[0].kind, c.kind);
            EXPECT_EQ(s.messages[0].text, c.text);
        }
        EXPECT_FALSE(s.running);
        EXPECT_FALSE(s.closed);
        EXPECT_FALSE(fs::exists(dst + "/ABC")) << "nothing may be written";
    }
}

TEST_F(RunTest, ACancelledLoginAsksAgainNextTime) {
    company("ABC", "Firma", 2004);
    op.passwords = {std::nullopt, std::string("masterkey")};
    EXPECT_EQ(up.Button1Click(), app::RunResult::Refused);
    EXPECT_FALSE(db::GirisTamam);
    up.options.CheckCARI = up.options.CheckSTOK = false;  // refused again, before any login
    EXPECT_EQ(up.Button1Click(), app::RunResult::Refused);
    EXPECT_EQ(op.loginShown, 1);
}

TEST_F(RunTest, ARegistryThatListsACompanyIsRefusedAfterTheLogin) {
    company("ABC", "Firma", 2004);
    execSql(dst + "/Sirket.FDB", "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, SIRKETKODU) VALUES (1, 'Eski', 'X')");
    EXPECT_EQ(up.Button1Click(), app::RunResult::Refused);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text,
              "Selvanto 5 Şirket sistemine daha önceden şirket kaydı yapılmış.\r\nLütfen kontrol ediniz...");
    EXPECT_EQ(op.messages[0].title, "Bilgi");
    EXPECT_EQ(op.loginShown, 1);
    EXPECT_FALSE(fs::exists(dst + "/ABC"));
}

TEST_F(RunTest, AMissingTemplateIsReportedBeforeAnythingIsRegistered) {
    company("ABC", "Firma", 2004);
    fs::remove(dst + "/DBBackup/Resim.Fdb");
    EXPECT_EQ(up.Button1Click(), app::RunResult::Refused);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, dst + "/DBBackup/Resim.Fdb dosyası bulunamadı.\r\nLütfen kontrol ediniz.");
    EXPECT_EQ(op.companyListShown, 0);
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
}

TEST_F(RunTest, UnsafeCompanyCodesAreRefusedBeforeAnythingIsWritten) {
    makeMirkadoData(src, {});
    for (const char* code : {"../disari", "a/b", "a\\b", "C:", "..", "/kok"}) {
        SCOPED_TRACE(code);
        execSql(src + "/Sirket.GDB", "DELETE FROM SIRKET");
        execSql(src + "/Sirket.GDB",
                "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, SIRKETKODU, CALISMAYILI) VALUES (1, 'Firma', " +
                    lit(code) + ", 2004)");
        db::TDM d;
        ScriptedOperator s;
        app::Upgrade u(d, s);
        u.options = up.options;
        EXPECT_EQ(u.Button1Click(), app::RunResult::Refused);
        ASSERT_EQ(s.messages.size(), 1u);
        EXPECT_NE(s.messages[0].text.find(std::string("Şirket Kodu = ") + code), std::string::npos)
            << s.messages[0].text;
        EXPECT_NE(s.messages[0].text.find("Firma"), std::string::npos);
        EXPECT_EQ(s.companyListShown, 0);
    }
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
    EXPECT_FALSE(fs::exists(tmp / "SELVANTO5/disari"));
    EXPECT_FALSE(fs::exists(tmp / "kok"));
}

TEST_F(RunTest, AnEmptyCompanyListEndsTheProgramWithItsMessage) {
    makeMirkadoData(src, {});
    EXPECT_EQ(up.Button1Click(), app::RunResult::NoCompanies);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "Aktarılacak Şirket kaydı bulunamadı...");
    EXPECT_TRUE(op.closed);
    EXPECT_FALSE(op.running);
}

TEST_F(RunTest, ThreeCompaniesAreWalkedEachIntoItsOwnDatabase) {
    company("ABC", "Birinci", 2004);
    company("DEF", "İkinci", 2005);
    company("GHI", "Üçüncü", 0);
    execSql(src + "/DEF/MIRKADO.GDB", "INSERT INTO DOVIZ (BLDVKODU, SIMGE) VALUES (1, 'USD')");
    op.onCompanyList = [](transfer::CompanyList& list) {
        list.setYear(0, 2006);  // the operator changes the first company's year
        list.refreshPath(0);
    };
    ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    const int thisYear = db::today().year;
    EXPECT_EQ(op.listed, (std::vector<std::string>{"ABC|2006|" + dst + "/ABC/2006", "DEF|2005|" + dst + "/DEF/2005",
                                                   "GHI|" + std::to_string(thisYear) + "|" + dst + "/GHI/" +
                                                       std::to_string(thisYear)}));
    EXPECT_EQ(op.companyTexts, (std::vector<std::string>{"Birinci / Birinci Ticaret A.Ş.",
                                                         "İkinci / İkinci Ticaret A.Ş.",
                                                         "Üçüncü / Üçüncü Ticaret A.Ş."}));
    EXPECT_EQ(count(targetDb("DEF", 2005), "DOVIZ"), 1);
    EXPECT_EQ(count(targetDb("ABC", 2006), "DOVIZ"), 0);
    EXPECT_TRUE(fs::exists(dst + "/ABC/2006/Resim.FDB"));
    EXPECT_TRUE(fs::exists(targetDb("GHI", thisYear)));
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_EQ(op.messages[0].text, "Aktarma İşlemi Tamamlandı");
    EXPECT_EQ(op.messages[0].title, "Bilgi");
    EXPECT_TRUE(op.closed);

    // The registry: companies with their years, year rows, each company's copy of the rules.
    auto rows = query(dst + "/Sirket.FDB",
                      "SELECT SIRKETKODU, CALISMAYILI, VERITABANIYOLU, BLSIRKETKODU FROM SIRKET ORDER BY BLSIRKETKODU");
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(db::asString(rows[0][0]), "ABC");
    EXPECT_EQ(db::asInteger(rows[0][1]), 2006);
    EXPECT_EQ(db::asString(rows[0][2]), "C:\\ESKI\\ABC") << "the old path is stored unchanged";
    EXPECT_EQ(db::asFloat(rows[0][3]), 1.0) << "keys come from the target's generator";
    auto years = query(dst + "/Sirket.FDB", "SELECT BLSRKODU, CYILI, YOL FROM SIRKET_YIL ORDER BY BLSYKODU");
    ASSERT_EQ(years.size(), 3u);
    EXPECT_EQ(db::asString(years[0][2]), dst + "/ABC/2006");
    EXPECT_EQ(db::asInteger(years[1][1]), 2005);
    EXPECT_EQ(count(dst + "/Sirket.FDB", "MUH_YANSITMA2"), 9) << "3 companies x 3 rules";
    auto keys = query(dst + "/Sirket.FDB", "SELECT BLMYKODU, BLSRKODU FROM MUH_YANSITMA2 ORDER BY BLMYKODU");
    EXPECT_EQ(db::asFloat(keys[1][0]) - db::asFloat(keys[0][0]), 2.0);
    EXPECT_EQ(db::asFloat(keys[8][1]), 3.0);
    EXPECT_NE(op.completionDetails.find("DOVIZ"), std::string::npos) << op.completionDetails;
}

TEST_F(RunTest, ErrorInterceptionTurnsDuplicateCodesIntoTurkishMessages) {
    struct Case {
        std::string message, kind, text;
    } cases[] = {
        {"violation of PRIMARY or UNIQUE KEY constraint \"INTEG_13\" on table \"CARI\"", "box",
         "Bu Cari Kodu daha önceden kaydedilmiş!..\r\nEski Programınızdan kontrol ediniz. Cari Kodu = "},
        {"violation of PRIMARY or UNIQUE KEY constraint \"INTEG_216\" on table \"STOK\"", "box",
         "Bu Cari Kodu daha önceden kaydedilmiş!..\r\nEski Programınızdan kontrol ediniz. Stok Kodu = "},
        {"violation of PRIMARY or UNIQUE KEY constraint \"INTEG_13\" on table \"CARIHR\"", "error",
         "violation of PRIMARY or UNIQUE KEY constraint \"INTEG_13\" on table \"CARIHR\""},
        {"Your user name and password are not defined.", "error", "Your user name and password are not defined."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        op.messages.clear();
        db::GirisTamam = true;
        up.AppEventsException(c.message);
        ASSERT_EQ(op.messages.size(), 1u);
        EXPECT_EQ(op.messages[0].kind, c.kind);
        EXPECT_EQ(op.messages[0].text, c.text);
        if (c.kind == "box") {
            EXPECT_EQ(op.messages[0].title, "Dikkat");
        }
        EXPECT_FALSE(db::GirisTamam);
    }
}

TEST_F(RunTest, ASecondRunOnTheSameTargetIsRefusedWhileOneIsRunning) {
    company("ABC", "Firma", 2004);
    // The first run is stopped inside its company list dialog; a second run starts meanwhile.
    db::TDM d2;
    ScriptedOperator s2;
    app::Upgrade second(d2, s2);
    second.options = up.options;
    app::RunResult secondResult{};
    op.onCompanyList = [&](transfer::CompanyList&) { secondResult = second.Button1Click(); };
    EXPECT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    EXPECT_EQ(secondResult, app::RunResult::Refused);
    ASSERT_EQ(s2.messages.size(), 1u);
    EXPECT_NE(s2.messages[0].text.find("başka bir Upgrade işlemi çalışıyor"), std::string::npos);
    EXPECT_EQ(s2.loginShown, 0);
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 1);
}
