#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "FbTestDb.h"
#include "db/Codepage.h"
#include "db/Conversions.h"
#include "db/FileSystem.h"
#include "db/Login.h"
#include "db/Value.h"

using testsupport::w;

TEST(Conversions, MemoTemizleKeepsLengthAndTurnsBreaksIntoBlanks) {
    struct Case {
        std::string in, out;
    } cases[] = {{"AB\r\nCD", "AB  CD"}, {"satır\r\n", "satır  "}, {"", ""}, {"a\nb\rc", "a b c"}};
    for (const auto& c : cases) EXPECT_EQ(db::MemoTemizle(w(c.in)), w(c.out)) << c.in;
}

TEST(Conversions, BuyukHarfCevirFollowsTurkishRules) {
    struct Case {
        const char* in;
        const char* out;
    } cases[] = {{"istanbul", "İSTANBUL"}, {"ışık", "IŞIK"},    {"çğöşü", "ÇĞÖŞÜ"},
                 {"abc-12", "ABC-12"},     {"âé", "âé"},        {"", ""},
                 {"İIiı", "İIİI"},         {"çiçek", "ÇİÇEK"}};
    for (const auto& c : cases) EXPECT_EQ(db::BuyukHarfCevir(w(c.in)), w(c.out)) << c.in;
}

TEST(Conversions, YuvarlaRoundsTiesToEvenAfterScaling) {
    struct Case {
        double value, places, expected;
    } cases[] = {{2.5, 0, 2},   {3.5, 0, 4},     {-2.5, 0, -2},  {2.4999, 0, 2}, {7, 0, 7},
                 {0.125, 2, 0.12}, {1.005, 2, 1}, {160.0 / 12, 0, 13}, {-0.5, 0, -0.0}};
    for (const auto& c : cases) EXPECT_DOUBLE_EQ(db::Yuvarla(c.value, c.places), c.expected) << c.value;
}

TEST(Conversions, SliceIsOneBasedAndEmptyPastTheEnd) {
    EXPECT_EQ(db::slice("abcdef", 1, 3), "abc");
    EXPECT_EQ(db::slice("abcdef", 5, 60), "ef");
    EXPECT_EQ(db::slice("abc", 61, 120), "");
}

TEST(Codepage, TurkishRoundTripAndLossMarked) {
    const std::string utf8 = "Şirket Ğİıçöü";
    EXPECT_EQ(db::codepage::toUtf8(db::codepage::fromUtf8(utf8)), utf8);
    bool lossy = false;
    EXPECT_EQ(db::codepage::fromUtf8("a€b✓c", &lossy), "a\x80" "b?c");
    EXPECT_TRUE(lossy);
    // DOS Turkish: 0x9E is Ş, 0x98 is İ in code page 857.
    EXPECT_EQ(db::codepage::toCp1254("\x9E\x98", 857), w("Şİ"));
}

TEST(Values, NullReadsAsZeroOrEmptyAndNumbersPrintShortest) {
    EXPECT_EQ(db::asFloat(db::kNull), 0.0);
    EXPECT_EQ(db::asString(db::kNull), "");
    EXPECT_FALSE(db::asDate(db::kNull).has_value());
    EXPECT_EQ(db::formatNumber(125.0), "125");
    EXPECT_EQ(db::formatNumber(0.1), "0.1");
    EXPECT_EQ(db::formatNumber(-200), "-200");
    for (db::Date d : {db::Date{1, 1, 1}, db::Date{1899, 12, 30}, db::Date{2024, 2, 29}, db::Date{1996, 3, 16}})
        EXPECT_EQ(db::fromDayNumber(db::toDayNumber(d)), d);
    EXPECT_EQ(db::toDayNumber({1, 1, 1}), 1);
}

TEST(Login, PasswordFilterDropsBlanksAndKeepsSixteenCharacters) {
    EXPECT_EQ(db::filterPassword("master key"), "masterkey");
    EXPECT_EQ(db::filterPassword("12345678901234567"), "1234567890123456");
    EXPECT_EQ(db::filterPassword("şifreşifreşifreşifre"), "şifreşifreşifreş");
}

TEST(FileSystem, NamesResolveWithoutRegardToCase) {
    testsupport::TempDir tmp;
    std::filesystem::create_directories(tmp / "DATA/Firma1");
    std::ofstream(tmp / "DATA/Firma1/Mirkado.FDB") << "x";
    std::ofstream(tmp / "DATA/SIRKET.DB") << "x";
    EXPECT_EQ(db::fsys::resolve(tmp / "data/FIRMA1/MIRKADO.FDB"), tmp / "DATA/Firma1/Mirkado.FDB");
    EXPECT_TRUE(db::fsys::fileExists(tmp / "DATA/sirket.DB"));
    EXPECT_TRUE(db::fsys::folderExists(tmp / "data"));
    // A part that does not exist is kept as given, so the name can still be created.
    EXPECT_EQ(db::fsys::resolve(tmp / "data/Yeni/2005"), tmp / "DATA/Yeni/2005");
    // A folder typed with Windows separators is used as typed.
    EXPECT_EQ(db::fsys::join(tmp.path() + "\\DATA", "Sirket.FDB"), tmp / "DATA/Sirket.FDB");
    EXPECT_TRUE(db::fsys::createFolders(tmp / "data/A/B/2005"));
    EXPECT_TRUE(std::filesystem::is_directory(tmp / "DATA/A/B/2005"));
    EXPECT_TRUE(db::fsys::copyFile(tmp / "DATA/sirket.db", tmp / "DATA/A/B/2005/kopya.db"));
    EXPECT_FALSE(db::fsys::copyFile(tmp / "DATA/yok.db", tmp / "DATA/A/kopya.db"));
}
