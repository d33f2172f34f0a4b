// A Kobaltin DATA folder of Paradox tables becoming a Selvanto 5 DATA folder: the company mapping, the
// counters, missing tables, code pages, and the source left as it was.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FbTestDb.h"
#include "KobaltinTables.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"

using namespace testsupport;
using kobaltin::Record;
namespace fs = std::filesystem;

namespace {

db::Value t(const std::string& utf8) { return db::Value(w(utf8)); }

std::string repeat(const std::string& piece, std::size_t n) {
    std::string s;
    while (s.size() < n) s += piece;
    return s.substr(0, n);
}

class KobaltinTest : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "ZKT3/DATA";
        dst = tmp / "SELVANTO5/DATA";
        makeSelvantoData(dst);
        up.options.RadioSURUM = 1;
        up.options.DKaynak = src;
        up.options.DrHedef = dst;
    }
    std::string target(const std::string& code, int year) {
        return dst + "/" + code + "/" + std::to_string(year) + "/Mirkado.FDB";
    }

    TempDir tmp;
    std::string src, dst;
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up{dm, op};
};

}  // namespace

TEST_F(KobaltinTest, CompaniesAreMappedWithTheirMemosCutIntoLines) {
    const std::string address = "Atat\xC3\xBCrk Cad. No: 5\r\n" + repeat("Kat 3 Daire 12 ", 120);  // 130+ characters
    const std::string note = repeat("0123456789", 250);
    kobaltin::writeTable(
        src, "sirket.DB",
        {Record{{"SIRKET_KOD", t("ABC")}, {"KISA_AD", t("Çiçek")}, {"UNVAN", t("Çiçek Ticaret Ltd. Şti.")},
                {"ADRES", t(address)}, {"NOT", t(note)}, {"KURULUSTAR", db::Date{1998, 7, 1}},
                {"VDAIRESI", t("Kadıköy")}, {"VERGINO", t("1234567890")}, {"BANKANO1", t("TR01")},
                {"TEL1", t("0216 000 00 00")}, {"WEB", t("ornek.com.tr")}, {"YETKILI", t("Ayşe Işık")},
                {"LOGO", t("logo.bmp")}, {"NUMBER1", 2003.0}, {"ALPHA5", t("yedek")}},
         Record{{"SIRKET_KOD", t("DEF")}, {"KISA_AD", t("Kısa")}, {"ADRES", t("Birinci satır\r\nİkinci satır")},
                {"NUMBER1", 2004.5}}});
    kobaltin::writeCompany(src + "/ABC", {});
    kobaltin::writeCompany(src + "/DEF", {});
    ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    // NUMBER1 gives the year, rounded half to even.
    EXPECT_EQ(op.listed[1], "DEF|2004|" + dst + "/DEF/2004");
    EXPECT_TRUE(fs::exists(target("ABC", 2003)));
    auto rows = query(dst + "/Sirket.FDB",
                      "SELECT SIRKETKODU, KISAAD, TICARIUNVAN, ADRES1, ADRES2, ADRES3, NOT1, NOT2, NOT3, KURULUSTAR"
                      "IH, VERGIDAIRESI, VERGINUMARASI, BANKA1, TEL1, WEB, YETKILI, CALISMAYILI, KAYITTARIHI, "
                      "VERITABANIYOLU FROM SIRKET ORDER BY BLSIRKETKODU");
    ASSERT_EQ(rows.size(), 2u);
    const auto& a = rows[0];
    const std::string addr1254 = w(address);
    std::string cleaned = addr1254;
    for (char& c : cleaned)
        if (c == '\r' || c == '\n') c = ' ';
    EXPECT_EQ(db::asString(a[0]), "ABC");
    EXPECT_EQ(db::asString(a[1]), w("Çiçek"));
    EXPECT_EQ(db::asString(a[2]), w("Çiçek Ticaret Ltd. Şti."));
    EXPECT_EQ(db::asString(a[3]), cleaned.substr(0, 50));
    EXPECT_EQ(db::asString(a[4]), cleaned.substr(50, 50)) << "no character of the address is lost";
    EXPECT_EQ(db::asString(a[5]), cleaned.substr(100, 50));
    EXPECT_EQ(db::asString(a[6]), note.substr(0, 100));
    EXPECT_EQ(db::asString(a[7]), note.substr(100, 100));
    EXPECT_EQ(db::asString(a[8]), note.substr(200, 50));
    EXPECT_EQ(*db::asDate(a[9]), (db::Date{1998, 7, 1}));
    EXPECT_EQ(db::asString(a[10]), w("Kadıköy"));
    EXPECT_EQ(db::asString(a[11]), "1234567890");
    EXPECT_EQ(db::asString(a[12]), "TR01");
    EXPECT_EQ(db::asString(a[15]), w("Ayşe Işık"));
    EXPECT_EQ(db::asInteger(a[16]), 2003);
    EXPECT_TRUE(db::isNull(a[17])) << "an empty date stays empty";
    EXPECT_TRUE(db::isNull(a[18])) << "nothing else reaches the registry";
    const auto& b = rows[1];
    EXPECT_EQ(db::asString(b[3]), w("Birinci satır  İkinci satır")) << "a short address stays whole";
    EXPECT_TRUE(db::isNull(b[4]));
    EXPECT_TRUE(db::isNull(b[6])) << "an empty note leaves the note lines empty";
    EXPECT_EQ(count(dst + "/Sirket.FDB", "MUH_YANSITMA2"), 6);
}

TEST_F(KobaltinTest, CountersAdvanceTheCodeGeneratorsRoundedHalfToEven) {
    kobaltin::writeTable(src, "sirket.DB",
                         {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("A")}, {"NUMBER1", 2005.0}},
                          Record{{"SIRKET_KOD", t("B")}, {"KISA_AD", t("B")}, {"NUMBER1", 2005.0}}});
    kobaltin::writeCompany(src + "/A", {{"ayar.DB", {Record{{"CRNO", 17.5}, {"STNO", 2.5}}}}});
    kobaltin::writeCompany(src + "/B", {{"ayar.DB", {Record{{"DVZKUL", std::int64_t{1}}}}}});
    execSql(dst + "/DBBackup/Mirkado.Fdb", "SET GENERATOR CARIKODU_GEN TO 100");
    ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    EXPECT_EQ(db::asInt64(scalar(target("A", 2005), "SELECT GEN_ID(CARIKODU_GEN, 0) FROM RDB$DATABASE")), 118);
    EXPECT_EQ(db::asInt64(scalar(target("A", 2005), "SELECT GEN_ID(STOKKODU_GEN, 0) FROM RDB$DATABASE")), 2);
    EXPECT_EQ(db::asInt64(scalar(target("B", 2005), "SELECT GEN_ID(CARIKODU_GEN, 0) FROM RDB$DATABASE")), 100)
        << "an empty counter leaves the generator where it was";
}

TEST_F(KobaltinTest, EveryCompanyTableMustBeThereEvenWhenItsRecordsAreNotMoved) {
    kobaltin::writeTable(src, "sirket.DB", {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("A")}, {"NUMBER1", 2005.0}}});
    kobaltin::writeCompany(src + "/A", {});
    fs::remove(src + "/A/s_grup.DB");
    up.options.CheckSTGR = false;
    EXPECT_EQ(up.Button1Click(), app::RunResult::Failed);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_NE(op.messages[0].text.find("s_grup.DB"), std::string::npos) << op.messages[0].text;
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
}

TEST_F(KobaltinTest, FileNamesAreFoundWithoutRegardToCase) {
    kobaltin::writeTable(src, "sirket.DB", {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("A")}, {"NUMBER1", 2005.0}}});
    fs::rename(src + "/sirket.DB", src + "/SIRKET.DB");
    kobaltin::writeCompany(src + "/A", {{"Cari.DB", {Record{{"CARIKODU", t("c1")}, {"NOT", t(repeat("x", 300))}}}}});
    fs::rename(src + "/A/Cari.DB", src + "/A/CARI.DB");
    fs::rename(src + "/A/Cari.MB", src + "/A/cari.mb");
    ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    EXPECT_EQ(count(target("A", 2005), "CARI"), 1);
}

TEST_F(KobaltinTest, TextOfOtherCodePagesArrivesInTurkishAndNothingIsDropped) {
    // A registry in DOS Turkish, and a company table in the US code page with box-drawing characters that
    // Windows-1254 cannot hold.
    kobaltin::writeTable(src, "sirket.DB",
                         {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("Şişli Çiçekçilik")}, {"NUMBER1", 2005.0}}}, 857);
    kobaltin::writeCompany(src + "/A", {});
    // The box characters are code page 437 bytes: written untouched, then the header names the code page.
    const std::string table = kobaltin::writeTable(
        src + "/A", "c_grup.DB",
        {Record{{"GRUPADI", db::Value(std::string("Kutu \xC9\xCD\xBB"))}}, Record{{"GRUPADI", t("Toptan")}}}, 1254);
    {
        std::fstream f(table, std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0x6A);
        const char cp437[2] = {static_cast<char>(437 & 0xFF), static_cast<char>(437 >> 8)};
        f.write(cp437, 2);
    }
    ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    EXPECT_EQ(db::asString(scalar(dst + "/Sirket.FDB", "SELECT KISAAD FROM SIRKET")), w("Şişli Çiçekçilik"));
    auto groups = query(target("A", 2005), "SELECT GRUP_ADI FROM CARIGRUP ORDER BY BLCGKODU");
    ASSERT_EQ(groups.size(), 2u) << "no row is dropped for a character the target cannot hold";
    EXPECT_EQ(db::asString(groups[0][0]), "Kutu ???");
    EXPECT_EQ(db::asString(groups[1][0]), "Toptan");
}

TEST_F(KobaltinTest, TheSourceFolderIsOnlyRead) {
    kobaltin::writeTable(src, "sirket.DB", {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("A")}, {"NUMBER1", 2005.0}}});
    kobaltin::writeCompany(
        src + "/A", {{"Cari.DB", {Record{{"CARIKODU", t("c1")}, {"KTBRC", 500.0}, {"NOT", t(repeat("not ", 80))}}}},
                     {"Stok.DB", {Record{{"STOKKODU", t("s1")}, {"MIKKAL", 12.0}}}},
                     {"doviz.DB", {Record{{"SIMGE", t("USD")}, {"ALIS", 30.0}}}}});
    auto state = [&] {
        std::map<std::string, std::pair<std::string, fs::file_time_type>> m;
        for (auto& e : fs::recursive_directory_iterator(src)) {
            if (!e.is_regular_file()) continue;
            std::ifstream in(e.path(), std::ios::binary);
            std::stringstream ss;
            ss << in.rdbuf();
            m[e.path().string()] = {ss.str(), fs::last_write_time(e.path())};
        }
        return m;
    };
    const auto before = state();
    ASSERT_EQ(up.Button1Click(), app::RunResult::Completed) << op.allMessages();
    EXPECT_TRUE(state() == before);
    EXPECT_EQ(count(target("A", 2005), "CARIHR"), 1);
    EXPECT_EQ(count(target("A", 2005), "STOKHR"), 1);
}

TEST_F(KobaltinTest, TheBatchCommandUpgradesAKobaltinFolder) {
    kobaltin::writeTable(src, "sirket.DB",
                         {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("Bir")}, {"UNVAN", t("Bir A.Ş.")}, {"NUMBER1", 2005.0}},
                          Record{{"SIRKET_KOD", t("B")}, {"KISA_AD", t("İki")}, {"NUMBER1", 2006.0}}});
    for (const char* code : {"A", "B"})
        kobaltin::writeCompany(src + "/" + code,
                               {{"Cari.DB", {Record{{"CARIKODU", t("çiçek")}, {"KTBRC", 500.0}, {"KTALC", 200.0}}}},
                                {"Stok.DB", {Record{{"STOKKODU", t("kalem")}, {"MIKKAL", 12.0}, {"TUTDEV", 100.0},
                                                    {"TUTGIR", 60.0}}}},
                                {"c_grup.DB", {Record{{"GRUPADI", t("Toptan")}}}},
                                {"s_grup.DB", {Record{{"GRUPADI", t("Gıda")}}}},
                                {"doviz.DB", {Record{{"SIMGE", t("USD")}, {"ALIS", 30.0}, {"SATIS", 31.0}}}},
                                {"ayar.DB", {Record{{"CRNO", 3.0}}}}});
    const std::string exe = std::string(SELVANTO_BINARY_DIR) + "/app/batch/selvanto-upgrade-batch";
    const std::string cmd = "echo masterkey | '" + exe + "' --source-kind kobaltin --source '" + src + "' --target '" +
                            dst + "' --staff 'Ayşe' > '" + tmp.path() + "/out' 2>&1";
    ASSERT_EQ(WEXITSTATUS(std::system(cmd.c_str())), 0);
    for (const auto& [code, year] : {std::pair{"A", 2005}, std::pair{"B", 2006}}) {
        SCOPED_TRACE(code);
        EXPECT_EQ(db::asString(scalar(target(code, year), "SELECT CARIKODU FROM CARI")), w("ÇİÇEK"));
        EXPECT_EQ(count(target(code, year), "CARIHR"), 2) << "debit and credit as two entries";
        EXPECT_EQ(db::asFloat(scalar(target(code, year), "SELECT KPB_FIYAT FROM STOKHR")), 13.0);
        EXPECT_EQ(db::asFloat(scalar(target(code, year), "SELECT KPB_TUTAR FROM STOKHR")), 156.0);
        EXPECT_EQ(db::asString(scalar(target(code, year), "SELECT KAYDEDEN FROM DOVIZ")), w("Ayşe"));
        EXPECT_EQ(count(target(code, year), "CARIGRUP"), 1);
        EXPECT_EQ(count(target(code, year), "STOKGRUP"), 1);
    }
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 2);
}

TEST_F(KobaltinTest, ATableWhoseHeaderPromisesMoreRecordsStopsTheRun) {
    kobaltin::writeTable(src, "sirket.DB", {Record{{"SIRKET_KOD", t("A")}, {"KISA_AD", t("A")}, {"NUMBER1", 2005.0}}});
    kobaltin::writeCompany(src + "/A", {{"Cari.DB", {Record{{"CARIKODU", t("c1")}}, Record{{"CARIKODU", t("c2")}}}}});
    {
        std::fstream f(src + "/A/Cari.DB", std::ios::in | std::ios::out | std::ios::binary);
        f.seekp(0x06);
        const char claimed[4] = {5, 0, 0, 0};  // the blocks hold two
        f.write(claimed, 4);
    }
    EXPECT_EQ(up.Button1Click(), app::RunResult::Failed);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_NE(op.messages[0].text.find("Cari.DB tablosunun başlığında 5 kayıt yazıyor, dosyada 2 kayıt okunabildi."),
              std::string::npos)
        << op.messages[0].text;
    EXPECT_EQ(count(dst + "/Sirket.FDB", "SIRKET"), 0);
}
