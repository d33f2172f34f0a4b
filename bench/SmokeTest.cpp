// The generator builds what the upgrade expects to read, the same every time for a seed; the benchmark
// runner goes through end to end at a tiny size. The benchmark itself is never run here.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <set>

#include "FbTestDb.h"
#include "Model.h"
#include "Source.h"
#include "db/Conversions.h"
#include "db/paradox/Table.h"

using namespace testsupport;

namespace {

bench::SourceOptions tiny(const std::string& dir) {
    bench::SourceOptions o;
    o.source = dir;
    o.companies = 2, o.cards = 7, o.movements = 3, o.stock = 5, o.groups = 2, o.subgroups = 2;
    o.currencies = 3, o.hotel = 4, o.foreignEvery = 3, o.instalmentEvery = 2, o.seed = 42;
    return o;
}

std::string dump(const std::string& db, const std::string& sql) {
    std::string out;
    for (const auto& row : query(db, sql)) {
        for (const auto& v : row) out += db::asString(v) + "|";
        out += "\n";
    }
    return out;
}

TEST(MirkadoSource, HoldsWhatTheOptionsAskFor) {
    TempDir tmp;
    auto o = tiny(tmp / "DATA");
    bench::Report report = bench::writeMirkado(o);

    const std::string reg = o.source + "/Sirket.GDB";
    EXPECT_EQ(dump(reg, "SELECT SIRKETKODU, CALISMAYILI FROM SIRKET ORDER BY BLSIRKETKODU"), "FIRMA1|2005|\nFIRMA2|2006|\n");
    for (const char* code : {"FIRMA1", "FIRMA2"}) {
        SCOPED_TRACE(code);
        const std::string db = o.source + "/" + code + "/MIRKADO.GDB";
        struct Expect {
            const char* table;
            std::int64_t rows;
        };
        const Expect expected[] = {{"AYAR", 1},     {"DOVIZ", 3},     {"CARIGRUP", 2}, {"CARIGRUP2", 4},
                                   {"STOKGRUP", 2}, {"STOKGRUP2", 4}, {"CARI", 7},     {"CARIHR", 21},
                                   {"STOK", 5},     {"STOKHR", 15}};
        for (const auto& e : expected) EXPECT_EQ(count(db, e.table), e.rows) << e.table;
        for (const auto& h : bench::kHotelTables) {
            EXPECT_EQ(count(db, h.table), 4) << h.table;
            EXPECT_EQ(db::asInt64(scalar(db, std::string("SELECT GEN_ID(") + h.generator + ", 0) FROM RDB$DATABASE")), 4);
        }
        for (const auto& t : report) {
            if (t.database == std::string(code) + "/MIRKADO.GDB") {
                EXPECT_EQ(count(db, t.table), t.rows) << t.table;
            }
        }

        EXPECT_EQ(db::asString(scalar(db, "SELECT DVZKUL FROM AYAR")), "1");
        EXPECT_EQ(db::asInt64(scalar(db, "SELECT GEN_ID(CARIKODU_GEN, 0) FROM RDB$DATABASE")), 7);
        EXPECT_EQ(db::asInt64(scalar(db, "SELECT GEN_ID(STOKKODU_GEN, 0) FROM RDB$DATABASE")), 5);
        // Cards 3 and 6 run in a foreign currency, with balances per currency and currency movements.
        EXPECT_EQ(count(db, "CARI", "DVZKUL = '1'"), 2);
        EXPECT_EQ(count(db, "CARI c", "DVZKUL = '1' AND NOT EXISTS (SELECT 1 FROM CARIBK b WHERE b.BLCRKODU = c.BLCRKODU)"), 0);
        EXPECT_GT(count(db, "CARIHR", "DVZKUL = '1' AND DVZ_HSISLE = '1'"), 0);
        // Cards 2, 4 and 6 have one unpaid instalment each.
        EXPECT_EQ(count(db, "CARIHR", "TAKSIT = '1' AND ODEDI <> '1'"), 3);
        EXPECT_EQ(count(db, "STOK s", "DVZKUL = '1' AND EXISTS (SELECT 1 FROM STOKDVZ d WHERE d.BLSTKODU = s.BLSTKODU)"), 1);
        EXPECT_GT(count(db, "STOKHR", "DVZKUL = '1' AND DVZ_HSISLE = '1'"), 0);
        // The target refuses codes that collide once upper-cased.
        for (const char* sql : {"SELECT CARIKODU FROM CARI", "SELECT STOKKODU FROM STOK"}) {
            std::set<std::string> upper;
            auto rows = query(db, sql);
            for (const auto& r : rows) upper.insert(db::BuyukHarfCevir(db::asString(r[0])));
            EXPECT_EQ(upper.size(), rows.size()) << sql;
        }
        // Hotel rows point at rows that exist.
        EXPECT_EQ(count(db, "FOLIO f", "NOT EXISTS (SELECT 1 FROM RESERVASYON r WHERE r.BLRZVKODU = f.BLRZVKODU)"), 0);
        EXPECT_EQ(count(db, "ODABAKIM b", "NOT EXISTS (SELECT 1 FROM ODAKAYIT k WHERE k.BLODAKODU = b.BLODAKODU)"), 0);
        EXPECT_EQ(count(db, "CARIGRUP2 s", "NOT EXISTS (SELECT 1 FROM CARIGRUP g WHERE g.BLCGKODU = s.BLCGKODU)"), 0);
    }
}

TEST(MirkadoSource, IsFixedByTheSeed) {
    TempDir tmp;
    auto a = tiny(tmp / "A"), b = tiny(tmp / "B"), c = tiny(tmp / "C");
    c.seed = 43;
    bench::writeMirkado(a);
    bench::writeMirkado(b);
    bench::writeMirkado(c);
    for (const char* sql : {"SELECT * FROM CARI ORDER BY BLCRKODU", "SELECT * FROM CARIHR ORDER BY BLCHKODU",
                            "SELECT * FROM STOKHR ORDER BY BLSHKODU", "SELECT * FROM RESERVASYON ORDER BY BLRZVKODU"}) {
        SCOPED_TRACE(sql);
        const std::string rel = "/FIRMA2/MIRKADO.GDB";
        EXPECT_EQ(dump(a.source + rel, sql), dump(b.source + rel, sql));
        EXPECT_NE(dump(a.source + rel, sql), dump(c.source + rel, sql));
    }
}

TEST(KobaltinSource, HoldsWhatTheOptionsAskFor) {
    TempDir tmp;
    auto o = tiny(tmp / "DATA");
    o.kind = "kobaltin";
    bench::Report report = bench::writeKobaltin(o);

    auto open = [&](const std::string& folder, const std::string& file) {
        auto t = std::make_unique<db::paradox::Table>(file, file, 0);
        t->setFolder(folder);
        t->open();
        return t;
    };
    auto reg = open(o.source, "sirket.DB");
    ASSERT_EQ(reg->recordCount(), 2);
    EXPECT_EQ(reg->asString("SIRKET_KOD"), "FIRMA1");
    EXPECT_EQ(reg->asFloat("NUMBER1"), 2005);
    EXPECT_GT(reg->asString("ADRES").size(), 90u) << "an address longer than the part the record keeps";
    EXPECT_NE(reg->asString("ADRES").find("\r\n"), std::string::npos);

    for (const char* code : {"FIRMA1", "FIRMA2"}) {
        SCOPED_TRACE(code);
        const std::string folder = o.source + "/" + code;
        struct Expect {
            const char* file;
            int records;
        };
        for (const Expect& e : {Expect{"Cari.DB", 7}, Expect{"Stok.DB", 5}, Expect{"doviz.DB", 3}, Expect{"c_grup.DB", 2},
                                Expect{"s_grup.DB", 2}, Expect{"ayar.DB", 1}})
            EXPECT_EQ(open(folder, e.file)->recordCount(), e.records) << e.file;
        for (const auto& t : report) {
            if (t.database == code) {
                EXPECT_EQ(open(folder, t.table)->recordCount(), t.rows) << t.table;
            }
        }
        auto ayar = open(folder, "ayar.DB");
        EXPECT_TRUE(ayar->asBoolean("DVZKUL"));
        EXPECT_GE(ayar->asFloat("CRNO"), 7);
        EXPECT_GE(ayar->asFloat("STNO"), 5);

        auto cari = open(folder, "Cari.DB");
        std::set<std::string> upper;
        int foreign = 0;
        for (cari->first(); !cari->eof(); cari->next()) {
            upper.insert(db::BuyukHarfCevir(cari->asString("CARIKODU")));
            if (cari->asBoolean("DVZKUL")) {
                ++foreign;
                EXPECT_GT(cari->asFloat("DTBRC") + cari->asFloat("DTALC"), 0) << cari->asString("CARIKODU");
            }
            EXPECT_GT(cari->asFloat("KTBRC"), 0) << cari->asString("CARIKODU");
        }
        EXPECT_EQ(upper.size(), 7u);
        EXPECT_EQ(foreign, 2);

        auto stok = open(folder, "Stok.DB");
        int currencyPrices = 0;
        for (stok->first(); !stok->eof(); stok->next())
            if (stok->asBoolean("DVZKUL") && stok->asFloat("DALF") > 0) ++currencyPrices;
        EXPECT_EQ(currencyPrices, 1);
    }
}

TEST(BenchRunner, RunsEndToEndAtATinySize) {
    TempDir tmp;
    const std::string exe = std::string(SELVANTO_BINARY_DIR) + "/bench/selvanto-bench";
    const std::string cmd = exe + " --kind both --preset demo --companies 1 --cards 4 --stock 3 --movements 2 --hotel 2 --groups 2" +
                            " --currencies 3 --scales 1,2 --work " + tmp.path() + " 2>&1";
    FILE* p = ::popen(cmd.c_str(), "r");
    ASSERT_NE(p, nullptr);
    std::string out;
    char buf[512];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    int status = ::pclose(p);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << out;
    EXPECT_NE(out.find("floor rows/s"), std::string::npos) << out;
    EXPECT_NE(out.find("time 2N / N"), std::string::npos) << out;
}

}  // namespace
