// The test writer's tables read back through the reader: every field type, memos in the leader, in shared
// and in single .MB blocks, code pages, header layouts of each file version, tables over many blocks.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "FbTestDb.h"
#include "ParadoxWriter.h"
#include "db/Codepage.h"
#include "db/paradox/Dump.h"
#include "db/paradox/Table.h"

namespace {

using db::Value;
using db::paradox::FieldType;
using db::paradox::Table;
using testsupport::ParadoxWriter;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::vector<Value>> readAll(const std::string& folder, const std::string& file) {
    Table t("T", file, 0);
    t.setFolder(folder);
    t.open();
    std::vector<std::vector<Value>> rows;
    for (t.first(); !t.eof(); t.next()) {
        std::vector<Value> row;
        for (std::size_t i = 0; i < t.fields().size(); ++i) row.push_back(t.value(i));
        rows.push_back(std::move(row));
    }
    EXPECT_EQ(static_cast<std::size_t>(t.recordCount()), rows.size());
    return rows;
}

struct TypeCase {
    const char* name;
    FieldType type;
    int size;
    std::vector<Value> values;  // written and expected back as they are
};

TEST(ParadoxWriter, EveryFieldTypeReadsBack) {
    const std::vector<TypeCase> cases = {
        {"ALPHA", FieldType::Alpha, 12, {std::string("Ankara"), std::string("  blanks  "), std::string(12, 'z'), db::kNull}},
        {"SHORT", FieldType::Short, 0, {std::int64_t{0}, std::int64_t{1}, std::int64_t{-1}, std::int64_t{32767},
                                        std::int64_t{-32767}, db::kNull}},
        {"LONG", FieldType::Long, 0, {std::int64_t{0}, std::int64_t{-2147483647}, std::int64_t{2147483647},
                                      std::int64_t{256}, db::kNull}},
        {"NUM", FieldType::Number, 0, {0.0, 1.0, -1.0, 200.36, -1.387, 1e300, -1e-300, 123456789.125, db::kNull}},
        {"MONEY", FieldType::Money, 0, {0.0, 7320.0, -0.01, 99999999.99, db::kNull}},
        {"BCD", FieldType::Bcd, 2, {0.0, 12.34, -12.34, 1234567890.12, db::kNull}},
        {"LOGIC", FieldType::Logical, 0, {std::int64_t{1}, std::int64_t{0}, db::kNull}},
        {"DATE", FieldType::Date, 0, {db::Date{1, 1, 1}, db::Date{9999, 12, 31}, db::Date{1899, 12, 30},
                                      db::Date{2024, 2, 29}, db::kNull}},
        {"TIME", FieldType::Time, 0, {db::Time{0, 0, 0, 0}, db::Time{23, 59, 59, 9990}, db::Time{10, 30, 0, 0}, db::kNull}},
        {"STAMP", FieldType::Timestamp, 0, {db::Timestamp{{2020, 2, 1}, {1, 0, 1, 0}}, db::Timestamp{{1, 1, 1}, {0, 0, 0, 0}},
                                            db::Timestamp{{9999, 12, 31}, {23, 59, 59, 9990}}, db::kNull}},
        {"AUTO", FieldType::AutoInc, 0, {std::int64_t{1}, std::int64_t{2}, std::int64_t{100}}},
        {"BYTES", FieldType::Bytes, 4, {std::string("\x01\x00\x02\x03", 4), std::string("\xff\xff\xff\xff", 4), db::kNull}},
        {"BLOB", FieldType::Blob, 10, {std::string("\x00\x01binary\x00", 9), std::string(3000, '\xAB'), db::kNull}},
        {"GRAPH", FieldType::Graphic, 20, {std::string("GIF89a"), std::string(700, '\x01'), db::kNull}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        testsupport::TempDir dir;
        ParadoxWriter w;
        w.field(c.name, c.type, c.size);
        for (const auto& v : c.values) w.row({v});
        w.write(dir.path(), "types.DB", 1254);
        auto rows = readAll(dir.path(), "types.DB");
        ASSERT_EQ(rows.size(), c.values.size());
        for (std::size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(rows[i][0], c.values[i]) << "row " << i;
    }
}

TEST(ParadoxWriter, EmptyFieldsFollowTheReadingRules) {
    testsupport::TempDir dir;
    ParadoxWriter w;
    w.field("A", FieldType::Alpha, 5).field("M", FieldType::Memo, 20).field("N", FieldType::Number)
        .field("S", FieldType::Short).field("I", FieldType::Long).field("C", FieldType::Money)
        .field("L", FieldType::Logical).field("D", FieldType::Date).field("TS", FieldType::Timestamp);
    w.row({});
    w.write(dir.path(), "ayar.DB", 857);
    Table t("Ayar_T", "AYAR.DB", 0);
    t.setFolder(dir.path());
    t.open();
    for (const char* f : {"A", "M", "N", "S", "I", "C", "L", "D", "TS"}) {
        SCOPED_TRACE(f);
        EXPECT_TRUE(db::isNull(t.value(f)));
        EXPECT_EQ(t.asString(f), "");
        EXPECT_EQ(t.asFloat(f), 0.0);
        EXPECT_FALSE(t.asBoolean(f));
        EXPECT_FALSE(t.asDate(f).has_value());
    }
    t.close();
    EXPECT_FALSE(t.active());
    EXPECT_TRUE(t.eof());
    EXPECT_THROW(t.value("A"), db::paradox::Error);
}

TEST(ParadoxWriter, AutoIncrementFillsItselfAndMissingValuesAreNull) {
    testsupport::TempDir dir;
    ParadoxWriter w;
    w.field("BCRKOD", FieldType::AutoInc).field("AD", FieldType::Alpha, 10).field("BAKIYE", FieldType::Number);
    w.row({}).row({db::kNull, std::string("b")}).row({std::int64_t{10}, std::string("c"), 5.0}).row({});
    w.write(dir.path(), "Cari.DB", 1254);
    Table t("Cari_T", "cari.db", 0);
    t.setFolder(dir.path());
    t.open();
    std::vector<double> keys;
    for (; !t.eof(); t.next()) keys.push_back(t.asFloat("BCRKOD"));
    EXPECT_EQ(keys, (std::vector<double>{1, 2, 10, 11}));
    t.first();
    EXPECT_EQ(t.asString("AD"), "");
    EXPECT_EQ(t.asFloat("BAKIYE"), 0);
}

TEST(ParadoxWriter, MemosInLeaderSharedBlocksAndSingleBlocks) {
    // Memo field of 30 bytes in the record: a 20-byte leader.
    const std::vector<std::size_t> lengths = {1, 19, 20, 21, 555, 2048, 2049, 4087, 4088, 20000, 100000};
    testsupport::TempDir dir;
    ParadoxWriter w;
    w.field("NO", FieldType::Long).field("NOT", FieldType::Memo, 30);
    std::vector<std::string> memos;
    for (std::size_t i = 0; i < lengths.size(); ++i) {
        std::string m;
        for (std::size_t k = 0; k < lengths[i]; ++k) m += static_cast<char>(k % 61 == 60 ? '\n' : 'A' + (k + i) % 26);
        memos.push_back(m);
        w.row({static_cast<std::int64_t>(i), m});
    }
    w.row({std::int64_t{99}, std::string()});  // empty memo: NULL
    w.write(dir.path(), "memos.DB", 1254);

    auto rows = readAll(dir.path(), "memos.DB");
    ASSERT_EQ(rows.size(), lengths.size() + 1);
    for (std::size_t i = 0; i < lengths.size(); ++i) EXPECT_EQ(std::get<std::string>(rows[i][1]), memos[i]) << lengths[i];
    EXPECT_TRUE(db::isNull(rows.back()[1]));

    // The .MB holds both kinds of block, as Paradox writes them.
    const std::string mb = slurp(dir / "memos.MB");
    bool shared = false, single = false;
    for (std::size_t at = 4096; at < mb.size(); at += 4096) {
        shared = shared || mb[at] == 3;
        single = single || mb[at] == 2;
    }
    EXPECT_TRUE(shared);
    EXPECT_TRUE(single);
}

TEST(ParadoxWriter, ManySmallMemosSpreadOverSharedBlocks) {
    testsupport::TempDir dir;
    ParadoxWriter w;
    w.field("M", FieldType::Memo, 11).field("F", FieldType::FormattedMemo, 10);
    for (int i = 0; i < 200; ++i) w.row({std::string(2 + i % 90, static_cast<char>('a' + i % 26)), std::string(1 + i, '\x05')});
    w.write(dir.path(), "small.DB", 1254);
    auto rows = readAll(dir.path(), "small.DB");
    ASSERT_EQ(rows.size(), 200u);
    for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(std::get<std::string>(rows[i][0]), std::string(2 + i % 90, static_cast<char>('a' + i % 26)));
        EXPECT_EQ(std::get<std::string>(rows[i][1]), std::string(1 + i, '\x05'));
    }
}

struct CodePageCase {
    int codePage;
    std::string cp1254;  // what the writer is given and the reader delivers
    std::string stored;  // the bytes in the file
};

TEST(ParadoxWriter, TextStoredInTheTablesCodePageArrivesAsWindows1254) {
    const std::string turkish = "\xDE\xFE\xD0\xF0\xDD\xFD\xDC\xFC\xD6\xF6\xC7\xE7";  // ŞşĞğİıÜüÖöÇç
    const std::vector<CodePageCase> cases = {
        {1254, turkish, turkish},
        {857, turkish, "\x9E\x9F\xA6\xA7\x98\x8D\x9A\x81\x99\x94\x80\x87"},
        {1252, "\xE9\xFC\xC7", "\xE9\xFC\xC7"},
        {437, "\xE9\xFC\xC7", "\x82\x81\x80"},
        {850, "\xE9\xFC\xC7", "\x82\x81\x80"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.codePage);
        testsupport::TempDir dir;
        ParadoxWriter w;
        w.field("AD", FieldType::Alpha, 30).field("ADRES", FieldType::Memo, 15);
        w.row({c.cp1254, c.cp1254 + std::string(40, '-') + c.cp1254});
        w.write(dir.path(), "cp.DB", c.codePage);
        const std::string file = slurp(dir / "cp.DB");
        EXPECT_NE(file.find(c.stored), std::string::npos) << "text not stored in the table's code page";

        Table t("T", "cp.DB", 0);
        t.setFolder(dir.path());
        t.open();
        EXPECT_EQ(t.info().codePage, c.codePage);
        EXPECT_EQ(t.asString("AD"), c.cp1254);
        EXPECT_EQ(t.asString("ADRES"), c.cp1254 + std::string(40, '-') + c.cp1254);
        EXPECT_EQ(std::get<std::string>(t.value(0, false)), c.stored);
        // The dump goes from the table's code page straight to UTF-8.
        EXPECT_EQ(db::paradox::dump::recordLine(t).substr(0, db::codepage::toUtf8(c.cp1254).size()),
                  db::codepage::toUtf8(c.cp1254));
    }
}

TEST(ParadoxWriter, EveryFileVersionsHeaderLayoutReadsBack) {
    for (int version : {3, 4, 5, 9, 10, 11, 12}) {
        SCOPED_TRACE(version);
        testsupport::TempDir dir;
        ParadoxWriter w;
        w.fileVersion(version).field("SIRKET_KOD", FieldType::Alpha, 8).field("NUMBER1", FieldType::Number)
            .field("TARIH", FieldType::Date);
        w.row({std::string("001"), 2004.0, db::Date{2004, 5, 6}}).row({std::string("002")});
        w.write(dir.path(), "sirket.DB", 1254);
        auto h = db::paradox::readHeader(dir / "SIRKET.db");
        EXPECT_EQ(h.info.fileVersion, version);
        EXPECT_EQ(h.info.codePage, version <= 4 ? 0 : 1254);
        ASSERT_EQ(h.fields.size(), 3u);
        EXPECT_EQ(h.fields[0].name, "SIRKET_KOD");
        EXPECT_EQ(h.fields[2].name, "TARIH");
        auto rows = readAll(dir.path(), "sirket.DB");
        ASSERT_EQ(rows.size(), 2u);
        EXPECT_EQ(rows[0], (std::vector<Value>{std::string("001"), 2004.0, db::Date{2004, 5, 6}}));
        EXPECT_EQ(rows[1], (std::vector<Value>{std::string("002"), db::kNull, db::kNull}));
    }
}

TEST(ParadoxWriter, LargeTableOverManyBlocksReadsInOrder) {
    testsupport::TempDir dir;
    ParadoxWriter w;
    w.blockSizeKb(1).indexed(true).field("STKOD", FieldType::Alpha, 20).field("NO", FieldType::Long);
    const int n = 20000;
    for (int i = 0; i < n; ++i) w.row({"S" + std::to_string(i), static_cast<std::int64_t>(i)});
    w.write(dir.path(), "Stok.DB", 1254);
    Table t("Stok_T", "Stok.DB", 0);
    t.setFolder(dir.path());
    t.open();
    EXPECT_EQ(t.recordCount(), n);
    int i = 0;
    for (; !t.eof(); t.next(), ++i)
        if (t.asFloat("NO") != i || t.asString("STKOD") != "S" + std::to_string(i)) break;
    EXPECT_EQ(i, n);
}

TEST(ParadoxWriter, RefusesWhatATableCannotHold) {
    ParadoxWriter w;
    w.field("KOD", FieldType::Alpha, 3).field("D", FieldType::Date);
    testsupport::TempDir dir;
    EXPECT_THROW(ParadoxWriter(w).row({std::string("1234")}).write(dir.path(), "x.DB"), std::invalid_argument);
    EXPECT_THROW(ParadoxWriter(w).row({std::string("1"), 5.0}).write(dir.path(), "x.DB"), std::invalid_argument);
    EXPECT_THROW(ParadoxWriter(w).row({std::string("1"), db::kNull, db::kNull}), std::invalid_argument);
    EXPECT_THROW(ParadoxWriter(w).row({std::string("\xFE")}).write(dir.path(), "x.DB", 437), std::invalid_argument);
}

}  // namespace
