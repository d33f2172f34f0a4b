// Damaged tables: each case breaks one thing in a good table and says what the reader must do about it, a
// clear error naming the file, or the records it can honestly read. Never a crash, a hang or garbage.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>

#include "FbTestDb.h"
#include "ParadoxWriter.h"
#include "db/paradox/Table.h"

namespace {

using db::paradox::Error;
using db::paradox::FieldType;
using db::paradox::Table;

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}
void spit(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The good table: 5 records of 55 bytes, two to a 1 KB block (blocks 1..3 after a 2 KB header).
// Record 1 keeps a 555-byte memo in a shared .MB block, record 2 a 20,000-byte memo in a block of its own,
// record 3 a memo short enough for its leader.
constexpr std::size_t kHeader = 2048, kBlock = 1024, kRec = 55;
constexpr std::size_t kMemo = 8, kNum = 38, kDate = 46, kLogical = 50, kTime = 51;  // field offsets
std::size_t blockAt(int b) { return kHeader + static_cast<std::size_t>(b - 1) * kBlock; }
std::size_t recordAt(int n) { return blockAt((n - 1) / 2 + 1) + 6 + static_cast<std::size_t>((n - 1) % 2) * kRec; }
void put16(std::string& b, std::size_t at, int v) {
    b[at] = static_cast<char>(v & 0xFF);
    b[at + 1] = static_cast<char>((v >> 8) & 0xFF);
}
void put32(std::string& b, std::size_t at, std::uint32_t v) {
    put16(b, at, static_cast<int>(v & 0xFFFF));
    put16(b, at + 2, static_cast<int>(v >> 16));
}
void setBytes(std::string& b, std::size_t at, std::initializer_list<int> bytes) {
    for (int v : bytes) b[at++] = static_cast<char>(v);
}

const std::string kMemo555 = [] {
    std::string s;
    for (int i = 0; i < 555; ++i) s += static_cast<char>('a' + i % 26);
    return s;
}();
const std::string kMemo20000 = [] {
    std::string s;
    for (int i = 0; i < 20000; ++i) s += i % 100 == 99 ? '\n' : static_cast<char>('A' + i % 26);
    return s;
}();

void writeGoodTable(const std::string& folder) {
    testsupport::ParadoxWriter w;
    w.blockSizeKb(1).recordsPerBlock(2);
    w.field("KOD", FieldType::Alpha, 8).field("NOT", FieldType::Memo, 30).field("N", FieldType::Number)
        .field("D", FieldType::Date).field("L", FieldType::Logical).field("T", FieldType::Time);
    w.row({std::string("K1"), kMemo555, 1.5, db::Date{2004, 1, 2}, std::int64_t{1}, db::Time{1, 2, 3, 0}});
    w.row({std::string("K2"), kMemo20000, -2.0, db::Date{2005, 3, 4}, std::int64_t{0}, db::Time{4, 5, 6, 0}});
    w.row({std::string("K3"), std::string("short memo"), 3.0});
    w.row({std::string("K4")});
    w.row({std::string("K5"), db::kNull, 5.0});
    w.write(folder, "Cari.DB", 1254);
}

struct Files {
    std::string db, mb;
    bool dropMb = false;
};

enum class Outcome { OpenFails, Reads, ValueFails };

struct Case {
    const char* name;
    std::function<void(Files&)> damage;
    Outcome outcome;
    std::string message;      // OpenFails / ValueFails: part of the error text
    int records = 5;          // Reads: records delivered; ValueFails: the table still reads this many
    std::vector<int> badRecords = {};  // ValueFails: the records whose value of badField is refused
    const char* badField = "";
    bool namesMemoFile = false;  // the error names the .MB rather than the .DB
};

std::vector<Case> cases() {
    return {
        // Truncated and damaged headers.
        {"empty file", [](Files& f) { f.db.clear(); }, Outcome::OpenFails, "too short"},
        {"cut at 50 bytes", [](Files& f) { f.db.resize(50); }, Outcome::OpenFails, "too short"},
        {"header cut short", [](Files& f) { f.db.resize(1000); }, Outcome::OpenFails, "truncated"},
        {"header size past the end", [](Files& f) { put16(f.db, 2, 0xF000); }, Outcome::OpenFails, "truncated"},
        {"file version 2", [](Files& f) { f.db[0x39] = 2; }, Outcome::OpenFails, "file version 2"},
        {"file version 13", [](Files& f) { f.db[0x39] = 13; }, Outcome::OpenFails, "file version 13"},
        {"an index file", [](Files& f) { f.db[4] = 1; }, Outcome::OpenFails, "not a Paradox data table"},
        {"block size code 0", [](Files& f) { f.db[5] = 0; }, Outcome::OpenFails, "block size"},
        {"no fields", [](Files& f) { put16(f.db, 0x21, 0); }, Outcome::OpenFails, "0 fields"},
        {"record size not its fields'", [](Files& f) { put16(f.db, 0, 56); }, Outcome::OpenFails, "record size"},
        {"unknown field type", [](Files& f) { f.db[0x78] = 0x30; }, Outcome::OpenFails, "unknown type"},
        {"date field of 5 bytes", [](Files& f) { f.db[0x78 + 7] = 5; }, Outcome::OpenFails, "has size 5"},
        {"field names wiped",
         [](Files& f) { std::fill(f.db.begin() + 0x78 + 12 + 4 + 24, f.db.begin() + kHeader, '\0'); },
         Outcome::OpenFails, "field names"},
        {"password-protected", [](Files& f) { put32(f.db, 0x5C, 0x1234ABCD); }, Outcome::OpenFails, "password"},
        // Truncated data and broken block chains.
        {"cut after the first block", [](Files& f) { f.db.resize(blockAt(2)); }, Outcome::OpenFails, "truncated"},
        {"cut inside the second block", [](Files& f) { f.db.resize(blockAt(2) + 60); }, Outcome::OpenFails, "cut short"},
        {"chain loops back", [](Files& f) { put16(f.db, blockAt(2), 1); }, Outcome::OpenFails, "loops"},
        {"chain points to itself", [](Files& f) { put16(f.db, blockAt(1), 1); }, Outcome::OpenFails, "loops"},
        {"chain points past the file", [](Files& f) { put16(f.db, blockAt(1), 999); }, Outcome::OpenFails, "block 999"},
        {"first block past the file", [](Files& f) { put16(f.db, 0x0E, 50); }, Outcome::OpenFails, "block 50"},
        {"block claims more records than fit", [](Files& f) { put16(f.db, blockAt(1) + 4, 20 * kRec); },
         Outcome::OpenFails, "do not fit"},
        {"block record area not whole records", [](Files& f) { put16(f.db, blockAt(1) + 4, 54); },
         Outcome::OpenFails, "record area"},
        // What the file honestly holds.
        {"header claims more records than the file holds", [](Files& f) { put32(f.db, 6, 1000); }, Outcome::Reads, "", 5},
        {"header claims fewer records", [](Files& f) { put32(f.db, 6, 1); }, Outcome::Reads, "", 5},
        {"chain ends early", [](Files& f) { put16(f.db, blockAt(2), 0); }, Outcome::Reads, "", 4},
        {"empty block in the chain", [](Files& f) { put16(f.db, blockAt(2) + 4, -static_cast<int>(kRec)); },
         Outcome::Reads, "", 3},
        {"deleted space holds garbage",
         [](Files& f) { std::fill(f.db.begin() + recordAt(6), f.db.begin() + blockAt(4), '\xFF'); }, Outcome::Reads,
         "", 5},
        {"trailing bytes after the last block", [](Files& f) { f.db += std::string(100, '\x7F'); }, Outcome::Reads, "", 5},
        // Field values out of range: that value is refused, the rest of the table reads.
        {"date all bits set", [](Files& f) { setBytes(f.db, recordAt(1) + kDate, {0xFF, 0xFF, 0xFF, 0xFF}); },
         Outcome::ValueFails, "date out of range", 5, {1}, "D"},
        {"date of day zero", [](Files& f) { setBytes(f.db, recordAt(2) + kDate, {0x80, 0, 0, 0}); },
         Outcome::ValueFails, "date out of range", 5, {2}, "D"},
        {"negative date", [](Files& f) { setBytes(f.db, recordAt(1) + kDate, {0x7F, 0xFF, 0xFF, 0xF0}); },
         Outcome::ValueFails, "date out of range", 5, {1}, "D"},
        {"logical neither true nor false", [](Files& f) { f.db[recordAt(1) + kLogical] = 0x55; },
         Outcome::ValueFails, "logical value out of range", 5, {1}, "L"},
        {"time past midnight", [](Files& f) { setBytes(f.db, recordAt(1) + kTime, {0x85, 0x26, 0x5C, 0x00}); },
         Outcome::ValueFails, "time out of range", 5, {1}, "T"},
        {"number not a number",
         [](Files& f) { setBytes(f.db, recordAt(1) + kNum, {0xFF, 0xF8, 0, 0, 0, 0, 0, 0}); }, Outcome::ValueFails,
         "not a finite", 5, {1}, "N"},
        // The memo file.
        {"memo file missing", [](Files& f) { f.dropMb = true; }, Outcome::ValueFails, "memo file not found", 5, {1, 2}, "NOT",
         true},
        {"memo file cut short", [](Files& f) { f.mb.resize(4096 + 200); }, Outcome::ValueFails, "cut short", 5, {1, 2}, "NOT",
         true},
        {"memo file cut inside the long memo", [](Files& f) { f.mb.resize(f.mb.size() - 4096 * 2); },
         Outcome::ValueFails, "cut short", 5, {2}, "NOT", true},
        {"memo block of the wrong type", [](Files& f) { f.mb[4096] = 2; }, Outcome::ValueFails, "type 2", 5, {1}, "NOT",
         true},
        {"memo length not the slot's", [](Files& f) { put32(f.db, recordAt(1) + kMemo + 20 + 4, 556); },
         Outcome::ValueFails, "does not match", 5, {1}, "NOT", true},
        {"memo length not the block's", [](Files& f) { put32(f.db, recordAt(2) + kMemo + 20 + 4, 19999); },
         Outcome::ValueFails, "does not match", 5, {2}, "NOT", true},
        {"memo longer than the memo file", [](Files& f) { put32(f.db, recordAt(2) + kMemo + 20 + 4, 0x7FFFFFFF); },
         Outcome::ValueFails, "longer than the memo file", 5, {2}, "NOT", true},
        {"memo reference inside a block", [](Files& f) { f.db[recordAt(1) + kMemo + 20 + 1] = 0x18; },
         Outcome::ValueFails, "inside a block", 5, {1}, "NOT", true},
        {"memo reference past the memo file", [](Files& f) { f.db[recordAt(1) + kMemo + 20 + 2] = 0x40; },
         Outcome::ValueFails, "cut short", 5, {1}, "NOT", true},
        {"memo slot freed", [](Files& f) { f.mb[4096 + 12 + 63 * 5 + 1] = 0; }, Outcome::ValueFails, "free", 5, {1},
         "NOT", true},
        {"memo in the leader claims more than the leader",
         [](Files& f) { put32(f.db, recordAt(3) + kMemo + 20 + 4, 500); }, Outcome::ValueFails, "leader", 5, {3}, "NOT"},
    };
}

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

bool isBad(const Case& c, int record, const std::string& field) {
    return c.outcome == Outcome::ValueFails && field == c.badField &&
           std::find(c.badRecords.begin(), c.badRecords.end(), record) != c.badRecords.end();
}

class DamagedTable : public ::testing::TestWithParam<Case> {};

TEST_P(DamagedTable, GivesAClearErrorOrWhatItHonestlyHolds) {
    const Case& c = GetParam();
    testsupport::TempDir dir;
    writeGoodTable(dir.path());
    Files f{slurp(dir / "Cari.DB"), slurp(dir / "Cari.MB")};
    c.damage(f);
    spit(dir / "Cari.DB", f.db);
    if (f.dropMb) std::filesystem::remove(dir / "Cari.MB");
    else spit(dir / "Cari.MB", f.mb);

    Table t("Cari_T", "cari.db", 0);
    t.setFolder(dir.path());
    if (c.outcome == Outcome::OpenFails) {
        try {
            t.open();
            FAIL() << "opened a damaged table";
        } catch (const Error& e) {
            const std::string msg = e.what();
            EXPECT_NE(msg.find("Cari.DB"), std::string::npos) << msg;
            EXPECT_NE(msg.find(c.message), std::string::npos) << msg;
        }
        EXPECT_FALSE(t.active());
        return;
    }

    t.open();
    EXPECT_EQ(t.recordCount(), c.records);
    int n = 0;
    for (t.first(); !t.eof(); t.next()) {
        ++n;
        ASSERT_LE(n, c.records);
        for (const auto& field : t.fields()) {
            const bool bad = isBad(c, n, field.name);
            if (!bad) {
                EXPECT_NO_THROW(t.value(field.name)) << "record " << n << " field " << field.name;
                continue;
            }
            try {
                t.value(field.name);
                ADD_FAILURE() << "a damaged value was read";
            } catch (const Error& e) {
                const std::string msg = e.what();
                EXPECT_NE(msg.find(c.namesMemoFile ? "Cari.MB" : "Cari.DB"), std::string::npos) << msg;
                EXPECT_NE(msg.find(c.message), std::string::npos) << msg;
            }
        }
        // What is intact keeps its value.
        const std::string kod = t.asString("KOD");
        if (c.outcome == Outcome::Reads && c.records == 5) {
            EXPECT_EQ(kod, "K" + std::to_string(n));
        }
        if (kod == "K2" && !isBad(c, n, "NOT")) {
            EXPECT_EQ(t.asString("NOT"), kMemo20000);
        }
        if (kod == "K3" && !isBad(c, n, "NOT")) {
            EXPECT_EQ(t.asString("NOT"), "short memo");
        }
    }
    EXPECT_EQ(n, c.records);
}

INSTANTIATE_TEST_SUITE_P(Cases, DamagedTable, ::testing::ValuesIn(cases()), [](const auto& info) {
    std::string n;
    for (char ch : std::string(info.param.name)) n += std::isalnum(static_cast<unsigned char>(ch)) ? ch : '_';
    return n;
});

TEST(DamagedTable, GoodTableReadsWhole) {
    testsupport::TempDir dir;
    writeGoodTable(dir.path());
    Table t("Cari_T", "Cari.DB", 0);
    t.setFolder(dir.path());
    t.open();
    EXPECT_EQ(t.recordCount(), 5);
    EXPECT_EQ(t.asString("NOT"), kMemo555);
    t.next();
    EXPECT_EQ(t.asString("NOT"), kMemo20000);
    EXPECT_EQ(t.asFloat("N"), -2.0);
    EXPECT_FALSE(t.asBoolean("L"));
    t.next();
    EXPECT_EQ(t.asString("NOT"), "short memo");
    EXPECT_FALSE(t.asDate("D").has_value());
}

TEST(DamagedTable, SourceFilesAreNeverWritten) {
    testsupport::TempDir dir;
    writeGoodTable(dir.path());
    const std::string db = slurp(dir / "Cari.DB"), mb = slurp(dir / "Cari.MB");
    std::filesystem::permissions(dir / "Cari.DB", std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
    std::filesystem::permissions(dir / "Cari.MB", std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
    Table t("Cari_T", "Cari.DB", 0);
    t.setFolder(dir.path());
    t.open();  // read-only files open: nothing asks for write access
    for (; !t.eof(); t.next())
        for (const auto& field : t.fields()) t.value(field.name);
    t.close();
    EXPECT_EQ(slurp(dir / "Cari.DB"), db);
    EXPECT_EQ(slurp(dir / "Cari.MB"), mb);
}

}  // namespace
