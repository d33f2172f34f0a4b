// Whatever goes wrong, the source never changes and the target is either a complete upgrade or an empty
// target that accepts a new attempt.
#include <gtest/gtest.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <thread>

#include "FbTestDb.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"
#include "db/fb/Firebird.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

const std::string kBatch = std::string(SELVANTO_BINARY_DIR) + "/app/batch/selvanto-upgrade-batch";

// A company large enough that a run can be caught in the middle of each of its steps.
void fillCompany(const std::string& gdb, int cards, int movements, int stock, int hotel) {
    std::ostringstream b;
    b << "EXECUTE BLOCK AS DECLARE i INTEGER = 1; DECLARE j INTEGER; BEGIN\n"
         "INSERT INTO AYAR (BLAYKODU, DVZKUL) VALUES (1, '1');\n"
         "INSERT INTO DOVIZ (BLDVKODU, SIMGE, ALIS, SATIS) VALUES (1, 'USD', 30, 31);\n"
         "INSERT INTO DOVIZ (BLDVKODU, SIMGE, ALIS, SATIS) VALUES (2, 'EUR', 32, 33);\n"
         "INSERT INTO CARIGRUP (BLCGKODU, GRUP_ADI) VALUES (1, 'Toptan');\n"
         "INSERT INTO CARIGRUP2 (BLC2KODU, BLCGKODU, GRUP_ADI) VALUES (1, 1, 'Bayi');\n"
         "INSERT INTO STOKGRUP (BLSGKODU, GRUP_ADI) VALUES (1, 'Gida');\n"
      << "WHILE (i <= " << cards << ") DO BEGIN\n"
      << "  INSERT INTO CARI (BLCRKODU, CARIKODU, ADI, SOYADI, DVZKUL, DVZBRM) VALUES (:i, 'car-' || :i, 'Ad', "
         "'Soyad', IIF(MOD(:i, 10) = 0, '1', '0'), 'USD');\n"
      << "  j = 1; WHILE (j <= " << movements << ") DO BEGIN\n"
      << "    INSERT INTO CARIHR (BLCHKODU, BLCRKODU, IS_TURU, KPB_BTUT, KPB_ATUT, DVZKUL, DVZ_HSISLE, DVZBRM, "
         "DVZ_BTUT, TAKSIT, ODEDI, CARIKODU) VALUES (:i * 100 + :j, :i, 'Fatura', 10 * :j, 3 * :j, "
         "IIF(MOD(:i, 10) = 0 AND :j = 2, '1', '0'), IIF(MOD(:i, 10) = 0 AND :j = 2, '1', '0'), 'USD', 5, "
         "IIF(:j = 1, '1', '0'), '0', 'car-' || :i);\n"
      << "    j = j + 1; END\n"
      << "  i = i + 1; END\n"
      << "i = 1; WHILE (i <= " << stock << ") DO BEGIN\n"
      << "  INSERT INTO STOK (BLSTKODU, STOKKODU, CINSI, MIKTAR_DEVIRKPB, TUTAR_DEVIRKPB, FIYAT_ALIS, DVZKUL) "
         "VALUES (:i, 'stk-' || :i, 'Mal', 10, 100, 7, '0');\n"
      << "  j = 1; WHILE (j <= " << movements << ") DO BEGIN\n"
      << "    INSERT INTO STOKHR (BLSHKODU, BLSTKODU, IS_TURU, TARIHI, MIKTARI, KPB_TUTAR, KPB_FIYAT, KPB_GMIK, "
         "KPB_CMIK, KPB_GTUT, DVZKUL, DVZ_HSISLE) VALUES (:i * 100 + :j, :i, '1', '2004-01-01', 1, 1, 1, 5, 3, "
         "60, '0', '0');\n"
      << "    j = j + 1; END\n"
      << "  i = i + 1; END\n"
      << "i = 1; WHILE (i <= " << hotel << ") DO BEGIN\n"
      << "  INSERT INTO RESERVASYON (BLRZVKODU, MUSTERIADI) VALUES (:i, 'Misafir');\n"
      << "  INSERT INTO FOLIO (BLFLKODU, BLRZVKODU, TUTAR) VALUES (:i, :i, 100);\n"
      << "  INSERT INTO ODAKAYIT (BLODAKODU, ODAADI) VALUES (:i, 'Oda ' || :i);\n"
      << "  i = i + 1; END\n"
      << "END";
    execStatement(gdb, b.str());
    execSql(gdb, "SET GENERATOR CARIKODU_GEN TO " + std::to_string(cards) + "; SET GENERATOR FOLIO_GEN TO " +
                     std::to_string(hotel));
}

struct Source {
    std::string dir;
    std::vector<std::string> codes;
};

Source makeSource(const std::string& dir, int companies, int cards) {
    Source s{dir, {}};
    makeMirkadoData(dir, {});
    for (int c = 1; c <= companies; ++c) {
        std::string code = "FIRMA" + std::to_string(c);
        s.codes.push_back(code);
        createDatabase(dir + "/" + code + "/MIRKADO.GDB", "source_company.sql");
        fillCompany(dir + "/" + code + "/MIRKADO.GDB", cards, 3, cards / 2, cards / 2);
        execSql(dir + "/Sirket.GDB", "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI) "
                                     "VALUES (" + std::to_string(c) + ", 'Firma " + std::to_string(c) +
                                         "', 'Firma A.S.', '" + code + "', 2005)");
    }
    return s;
}

// Rows of every target table of every company, and of the registry.
std::map<std::string, std::int64_t> targetCounts(const std::string& target, const Source& s) {
    std::map<std::string, std::int64_t> out;
    for (const char* t : {"SIRKET", "SIRKET_YIL", "MUH_YANSITMA2"}) out[std::string("registry.") + t] = count(target + "/Sirket.FDB", t);
    for (const auto& code : s.codes)
        for (const char* t : {"CARI", "CARIHR", "CARIGRUP", "CARIGRUP2", "STOK", "STOKDVZ", "STOKHR", "STOKGRUP",
                              "DOVIZ", "FOLIO", "RESERVASYON", "ODAKAYIT"})
            out[code + "." + t] = count(target + "/" + code + "/2005/Mirkado.FDB", t);
    return out;
}

struct Spawned {
    pid_t pid;
    int err;  // read end of its standard error
};

Spawned spawnBatch(const std::string& source, const std::string& target) {
    int errPipe[2], inPipe[2];
    if (::pipe(errPipe) != 0 || ::pipe(inPipe) != 0) throw std::runtime_error("pipe");
    pid_t pid = ::fork();
    if (pid == 0) {
        ::dup2(inPipe[0], 0);
        ::dup2(errPipe[1], 2);
        int devnull = ::open("/dev/null", O_WRONLY);
        ::dup2(devnull, 1);
        ::close(errPipe[0]);
        ::close(inPipe[1]);
        ::execl(kBatch.c_str(), kBatch.c_str(), "--source-kind", "mirkado4", "--source", source.c_str(), "--target",
                target.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(errPipe[1]);
    ::close(inPipe[0]);
    (void)!::write(inPipe[1], "masterkey\n", 10);
    ::close(inPipe[1]);
    return {pid, errPipe[0]};
}

int runBatch(const std::string& source, const std::string& target, std::string* output = nullptr) {
    Spawned p = spawnBatch(source, target);
    std::string all;
    char buf[4096];
    for (ssize_t n; (n = ::read(p.err, buf, sizeof buf)) > 0;) all.append(buf, static_cast<size_t>(n));
    ::close(p.err);
    int status = 0;
    ::waitpid(p.pid, &status, 0);
    if (output) *output = all;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Runs the batch command and kills it (SIGKILL) `delay` after a line containing `marker` appears.
bool killAt(const std::string& source, const std::string& target, const std::string& marker,
            std::chrono::milliseconds delay, std::string* seen) {
    Spawned p = spawnBatch(source, target);
    std::string all;
    char buf[4096];
    bool hit = false;
    for (ssize_t n; !hit && (n = ::read(p.err, buf, sizeof buf)) > 0;) {
        all.append(buf, static_cast<size_t>(n));
        hit = all.find(marker) != std::string::npos;
    }
    if (hit) {
        std::this_thread::sleep_for(delay);
        ::kill(p.pid, SIGKILL);
    }
    ::close(p.err);
    int status = 0;
    ::waitpid(p.pid, &status, 0);
    *seen = all;
    return hit && WIFSIGNALED(status);
}

bool opens(const std::string& path) {
    try {
        db::fb::AttachOptions o;
        o.params = testParams();
        auto att = db::fb::Attachment::open(path, o);
        att->detach();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

struct FileState {
    std::string bytes;
    fs::file_time_type time;
};

std::map<std::string, FileState> snapshot(const std::string& dir) {
    std::map<std::string, FileState> out;
    for (auto& e : fs::recursive_directory_iterator(dir)) {
        if (!e.is_regular_file()) continue;
        std::ifstream in(e.path(), std::ios::binary);
        std::stringstream ss;
        ss << in.rdbuf();
        out[e.path().string()] = {ss.str(), fs::last_write_time(e.path())};
    }
    return out;
}

}  // namespace

TEST(Reliability, AKilledRunLeavesAnEmptyRegistryAndANewRunCompletes) {
    TempDir tmp;
    Source s = makeSource(tmp / "M4", 2, 3000);
    // The counts a clean run writes, to compare every recovered run with.
    makeSelvantoData(tmp / "ref");
    ASSERT_EQ(runBatch(s.dir, tmp / "ref"), 0);
    const auto expected = targetCounts(tmp / "ref", s);
    ASSERT_EQ(expected.at("FIRMA1.CARI"), 3000);

    const auto before = snapshot(s.dir);
    struct Point {
        const char* name;
        const char* marker;
        int delayMs;
    } points[] = {
        {"during the company transfer", "Şirket FIRMA2", 0},
        {"during customers", "Cari Kartlar Aktarılıyor (", 300},
        {"during the second company's customers", "Aktarılan Şirket : Firma 2", 200},
        {"during hotel data", "Otel Folioları Aktarılıyor (", 50},
    };
    int killed = 0;
    for (const auto& p : points) {
        SCOPED_TRACE(p.name);
        const std::string target = tmp / (std::string("t") + std::to_string(killed));
        makeSelvantoData(target);
        std::string seen;
        if (!killAt(s.dir, target, p.marker, std::chrono::milliseconds(p.delayMs), &seen)) {
            ADD_FAILURE() << "the run ended before it could be killed:\n" << seen;
            continue;
        }
        ++killed;
        for (auto& e : fs::recursive_directory_iterator(target))
            if (e.path().extension() == ".FDB" || e.path().extension() == ".Fdb") {
                EXPECT_TRUE(opens(e.path().string())) << e.path();
            }
        EXPECT_EQ(count(target + "/Sirket.FDB", "SIRKET"), 0) << "the registry lists no company";
        std::string out;
        ASSERT_EQ(runBatch(s.dir, target, &out), 0) << out;
        EXPECT_EQ(targetCounts(target, s), expected);
    }
    EXPECT_EQ(killed, 4);
    const auto after = snapshot(s.dir);
    ASSERT_EQ(after.size(), before.size());
    for (const auto& [path, state] : before) {
        EXPECT_TRUE(after.at(path).bytes == state.bytes) << path << " changed";
        EXPECT_EQ(after.at(path).time, state.time) << path;
    }
}

TEST(Reliability, ABadSourceStopsTheRunWithTheDatabaseMessageAndCanBeRetried) {
    TempDir tmp;
    Source s = makeSource(tmp / "M4", 2, 20);
    const std::string gdb = s.dir + "/FIRMA2/MIRKADO.GDB";
    fs::copy_file(gdb, tmp / "good.gdb");
    struct Case {
        const char* name;
        std::function<void()> spoil;
        std::string said;
    } cases[] = {
        {"damaged",
         [&] {
             std::fstream f(gdb, std::ios::in | std::ios::out | std::ios::binary);
             f.seekp(0);
             const std::string junk(4096, '\x5A');
             f.write(junk.data(), static_cast<std::streamsize>(junk.size()));
         },
         "FIRMA2/MIRKADO.GDB"},
        {"missing", [&] { fs::remove(gdb); }, "FIRMA2/MIRKADO.GDB"},
        {"missing column", [&] { execSql(gdb, "ALTER TABLE CARIHR DROP DVZ_HSISLE"); }, "DVZ_HSISLE"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string target = tmp / c.name;
        makeSelvantoData(target);
        c.spoil();
        db::TDM dm;
        ScriptedOperator op;
        app::Upgrade up(dm, op);
        up.options.DKaynak = s.dir;
        up.options.DrHedef = target;
        EXPECT_EQ(up.Button1Click(), app::RunResult::Failed);
        ASSERT_EQ(op.messages.size(), 1u) << op.allMessages();
        EXPECT_EQ(op.messages[0].kind, "error");
        EXPECT_NE(op.messages[0].text.find(c.said), std::string::npos) << op.messages[0].text;
        EXPECT_EQ(op.messages[0].text.find("selvanto-kaynak"), std::string::npos) << "the operator's own paths";
        EXPECT_EQ(count(target + "/Sirket.FDB", "SIRKET"), 0);
        // Once the source is fixed, the same target accepts a new run.
        fs::copy_file(tmp / "good.gdb", gdb, fs::copy_options::overwrite_existing);
        EXPECT_EQ(runBatch(s.dir, target), 0);
        EXPECT_EQ(count(target + "/Sirket.FDB", "SIRKET"), 2);
        EXPECT_EQ(count(target + "/FIRMA2/2005/Mirkado.FDB", "CARI"), 20);
    }
}

TEST(Reliability, ASourceStillInUseIsRefusedWithoutTouchingIt) {
    TempDir tmp;
    Source s = makeSource(tmp / "M4", 1, 5);
    makeSelvantoData(tmp / "S5");
    // The old program still has the company database open.
    db::fb::AttachOptions o;
    o.params = testParams();
    auto holder = db::fb::Attachment::open(s.dir + "/FIRMA1/MIRKADO.GDB", o);
    db::TDM dm;
    ScriptedOperator op;
    app::Upgrade up(dm, op);
    up.options.DKaynak = s.dir;
    up.options.DrHedef = tmp / "S5";
    EXPECT_EQ(up.Button1Click(), app::RunResult::Failed);
    ASSERT_EQ(op.messages.size(), 1u);
    EXPECT_NE(op.messages[0].text.find("başka bir program tarafından kullanılıyor"), std::string::npos);
    EXPECT_EQ(count(tmp / "S5/Sirket.FDB", "SIRKET"), 0);
    holder->detach();
    EXPECT_EQ(runBatch(s.dir, tmp / "S5"), 0);
}
