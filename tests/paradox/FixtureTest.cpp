// Tables written by real Paradox tools, read exactly as an independent reader decoded them.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FbTestDb.h"
#include "db/Codepage.h"
#include "db/paradox/Dump.h"
#include "db/paradox/Table.h"

namespace {

namespace fs = std::filesystem;
using db::paradox::Error;
using db::paradox::FieldType;
using db::paradox::Table;

const std::string kFixtures = SELVANTO_SHARED_DIR "/fixtures/paradox";

std::vector<std::string> expectedLines(const std::string& table) {
    std::ifstream in(kFixtures + "/expected/" + table + ".txt", std::ios::binary);
    EXPECT_TRUE(in) << table;
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

class FixtureTable : public ::testing::TestWithParam<std::string> {};

TEST_P(FixtureTable, ReadsAsTheExpectedDump) {
    const std::string name = GetParam();
    std::vector<std::string> expected = expectedLines(name);
    ASSERT_FALSE(expected.empty());
    EXPECT_EQ(db::paradox::dump::headerLine(db::paradox::readHeader(kFixtures + "/" + name)), expected[0]);

    Table t("T", name, 0);
    t.setFolder(kFixtures);
    t.open();
    ASSERT_TRUE(t.active());
    EXPECT_EQ(t.recordCount(), static_cast<std::int32_t>(expected.size() - 1));
    EXPECT_EQ(t.recordCount(), t.info().recordCount);
    std::size_t line = 1;
    for (t.first(); !t.eof(); t.next(), ++line) {
        ASSERT_LT(line, expected.size()) << "more records than expected";
        EXPECT_EQ(db::paradox::dump::recordLine(t), expected[line]) << name << " record " << line;
    }
    EXPECT_EQ(line, expected.size());

    // A second pass reads the same again.
    t.first();
    ASSERT_FALSE(t.eof());
    EXPECT_EQ(db::paradox::dump::recordLine(t), expected[1]);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, FixtureTable,
                         ::testing::Values("AREACODE.DB", "CUSTOMER.DB", "DECIMAL.DB", "ORDERS.DB", "date4.db",
                                           "date7.db", "fmemo.db", "logical.db", "long.db", "memo.db", "time.db",
                                           "timestamp.db"),
                         [](const auto& info) {
                             std::string n = info.param;
                             for (char& c : n)
                                 if (c == '.') c = '_';
                             return n;
                         });

TEST(Fixtures, EncryptedTableIsRefusedNamingTheFile) {
    Table t("T", "encrypted.db", 0);
    t.setFolder(kFixtures);
    try {
        t.open();
        FAIL() << "an encrypted table was opened";
    } catch (const Error& e) {
        std::string msg = e.what();
        EXPECT_NE(msg.find("encrypted.db"), std::string::npos) << msg;
        EXPECT_NE(msg.find("password"), std::string::npos) << msg;
    }
    EXPECT_FALSE(t.active());
    EXPECT_TRUE(t.eof());
    auto h = db::paradox::readHeader(kFixtures + "/encrypted.db");
    EXPECT_TRUE(h.info.encrypted);
    EXPECT_EQ(h.fields.size(), 2u);
}

TEST(Fixtures, TypedReadingRules) {
    Table t("Cust", "customer.db", 0);  // the file is CUSTOMER.DB: found without regard to case
    t.setFolder(kFixtures);
    t.open();
    EXPECT_EQ(t.info().fileVersion, 12);
    EXPECT_EQ(t.info().codePage, 1252);
    EXPECT_TRUE(t.info().indexed);
    EXPECT_TRUE(t.hasField("custno"));
    EXPECT_FALSE(t.hasField("NoSuchField"));
    EXPECT_EQ(t.asFloat("CustNo"), 1);
    EXPECT_EQ(t.asString("FirstName"), "Luke");
    EXPECT_EQ(t.asString("Comments"), "Small comment (less 100 symbols)");
    ASSERT_TRUE(t.asDate("DateEntered").has_value());
    EXPECT_EQ(*t.asDate("DateEntered"), (db::Date{1996, 2, 2}));
    EXPECT_THROW(t.value("NoSuchField"), Error);

    // The memo kept in a block of its own reads whole; CR LF stay as they are.
    t.next();
    t.next();
    t.next();
    std::string memo = t.asString("Comments");
    EXPECT_EQ(memo.size(), 56864u);
    EXPECT_EQ(memo.rfind(" The PARADOX File Structure", 0), 0u);
    EXPECT_NE(memo.find("\r\n"), std::string::npos);

    Table l("L", "LONG.DB", 0);
    l.setFolder(kFixtures);
    l.open();
    l.next();
    l.next();
    EXPECT_TRUE(db::isNull(l.value("LONG")));
    EXPECT_EQ(l.asFloat("LONG"), 0);  // NULL number reads 0
    EXPECT_EQ(l.asString("LONG"), "");
    EXPECT_EQ(std::get<std::int64_t>(l.value("Id")), 3);

    Table d("D", "date7.db", 0);
    d.setFolder(kFixtures);
    d.open();
    for (int i = 0; i < 3; ++i) d.next();
    EXPECT_FALSE(d.asDate("DATE").has_value());  // NULL dates stay NULL
    EXPECT_EQ(std::get<db::Time>(d.value("TIME")), (db::Time{10, 0, 0, 0}));

    Table b("B", "logical.db", 0);
    b.setFolder(kFixtures);
    b.open();
    EXPECT_TRUE(b.asBoolean("BOOL"));
    b.next();
    EXPECT_FALSE(b.asBoolean("BOOL"));

    Table ts("TS", "timestamp.db", 0);
    ts.setFolder(kFixtures);
    ts.open();
    EXPECT_TRUE(db::isNull(ts.value("Timestamp")));
    EXPECT_FALSE(ts.asDate("Timestamp").has_value());
    ts.next();
    EXPECT_EQ(std::get<db::Timestamp>(ts.value("Timestamp")), (db::Timestamp{{2020, 2, 1}, {1, 0, 1, 0}}));
}

TEST(Fixtures, MemoFileFoundWithoutRegardToCase) {
    testsupport::TempDir dir;
    fs::copy_file(kFixtures + "/memo.db", dir / "MEMO.DB");
    fs::copy_file(kFixtures + "/memo.mb", dir / "Memo.Mb");
    Table t("M", "memo.DB", 0);
    t.setFolder(dir.path());
    t.open();
    EXPECT_EQ(t.asString("MEMO").size(), 555u);
    t.next();
    EXPECT_EQ(t.asString("MEMO"), "01234567890\n");
}

TEST(Fixtures, MissingTableIsAnErrorNamingIt) {
    Table t("X", "Stok.DB", 0);
    t.setFolder(kFixtures);
    try {
        t.open();
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("Stok.DB"), std::string::npos) << e.what();
    }
    EXPECT_FALSE(t.active());
}

}  // namespace
