// The batch command as an administrator runs it: arguments, password on standard input, exit status, output.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "FbTestDb.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

struct Result {
    int status = -1;
    std::string out, err;
};

std::string slurp(const std::string& path) {
    std::ifstream in(path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

Result runBatch(const std::vector<std::string>& args, const std::string& input, const std::string& tmp) {
    const std::string exe = std::string(SELVANTO_BINARY_DIR) + "/app/batch/selvanto-upgrade-batch";
    const std::string in = tmp + "/stdin", out = tmp + "/stdout", err = tmp + "/stderr";
    std::ofstream(in) << input;
    pid_t pid = ::fork();
    if (pid == 0) {
        std::freopen(in.c_str(), "r", stdin);
        std::freopen(out.c_str(), "w", stdout);
        std::freopen(err.c_str(), "w", stderr);
        std::vector<char*> argv{const_cast<char*>(exe.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(exe.c_str(), argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, slurp(out), slurp(err)};
}

class BatchTest : public ::testing::Test {
protected:
    void SetUp() override {
        src = tmp / "M4";
        dst = tmp / "S5";
        makeSelvantoData(dst);
        makeMirkadoData(src, {});
    }
    std::vector<std::string> base() { return {"--source-kind", "mirkado4", "--source", src, "--target", dst}; }
    TempDir tmp;
    std::string src, dst;
};

}  // namespace

TEST_F(BatchTest, ExitStatusTellsUsageRefusalAndCompletion) {
    struct Case {
        const char* name;
        std::vector<std::string> args;
        int status;
        std::string said;
    } cases[] = {
        {"no arguments", {}, 64, "--source-kind"},
        {"unknown option", {"--kaynak", "x"}, 64, "Bilinmeyen seçenek"},
        {"unknown kind", {"--source-kind", "dbase", "--source", "a", "--target", "b"}, 64, "dbase"},
        {"unknown without", {}, 64, "bilinmeyen seçenek hesap"},
        {"bad year", {}, 64, "yıl tam sayı"},
        {"no card option", {}, 1, "Cari veya Stok Kartlarından birini işaretlemelisiniz..."},
        {"empty staff", {}, 1, "Personel in kullanıcı adını girmediniz."},
        {"missing registry", {}, 1, "/YOK/Sirket.FDB dosyası bulunamadı.\nLütfen kontrol ediniz."},
        {"no company", {}, 1, "Aktarılacak Şirket kaydı bulunamadı..."},
        {"missing Paradox folder", {}, 1, "ZKT Kobaltin uın kullandığı veri tabani klasörü bulunamadı..."},
    };
    for (auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::string name = c.name;
        if (name == "unknown without") c.args = base(), c.args.insert(c.args.end(), {"--without", "cari,hesap"});
        if (name == "bad year") c.args = base(), c.args.insert(c.args.end(), {"--year", "ABC=iki"});
        if (name == "no card option") c.args = base(), c.args.insert(c.args.end(), {"--without", "cari,stok"});
        if (name == "empty staff") c.args = base(), c.args.insert(c.args.end(), {"--staff", ""});
        if (name == "missing registry") c.args = {"--source-kind", "mirkado4", "--source", src, "--target", tmp / "YOK"};
        if (name == "no company") c.args = base();
        if (name == "missing Paradox folder")
            c.args = {"--source-kind", "kobaltin", "--source", tmp / "ZKT3", "--target", dst};
        auto r = runBatch(c.args, "gizli parola\n", tmp.path());
        EXPECT_EQ(r.status, c.status) << r.err;
        EXPECT_NE(r.err.find(c.said), std::string::npos) << r.err;
        EXPECT_EQ((r.out + r.err).find("gizliparola"), std::string::npos) << "the password is never printed";
    }
}

TEST_F(BatchTest, ACompletedRunPrintsProgressAndTheSummaryTable) {
    execSql(src + "/Sirket.GDB",
            "INSERT INTO SIRKET (BLSIRKETKODU, KISAAD, TICARIUNVAN, SIRKETKODU, CALISMAYILI) VALUES "
            "(1, 'Bir', " + lit(w("Bir Ticaret")) + ", 'BIR', 2004)");
    createDatabase(src + "/BIR/MIRKADO.GDB", "source_company.sql");
    execSql(src + "/BIR/MIRKADO.GDB",
            "INSERT INTO DOVIZ (BLDVKODU, SIMGE) VALUES (1, 'USD'); INSERT INTO DOVIZ (BLDVKODU, SIMGE) VALUES (2, 'EUR')");
    auto args = base();
    args.insert(args.end(), {"--year", "BIR=2006", "--without", "otel"});
    auto r = runBatch(args, "masterkey\n", tmp.path());
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("Aktarılan Şirket : Bir / Bir Ticaret"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Döviz Birimleri Aktarılıyor 2/2"), std::string::npos) << r.err;
    EXPECT_NE(r.err.find("Aktarma İşlemi Tamamlandı"), std::string::npos);
    EXPECT_NE(r.out.find("DOVIZ"), std::string::npos) << r.out;
    EXPECT_TRUE(fs::exists(dst + "/BIR/2006/Mirkado.FDB"));
    EXPECT_EQ(count(dst + "/BIR/2006/Mirkado.FDB", "DOVIZ"), 2);
    EXPECT_EQ(r.out.find("masterkey"), std::string::npos);
}
