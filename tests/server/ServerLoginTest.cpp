#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <regex>

#include "FbTestDb.h"
#include "ScriptedOperator.h"
#include "app/run/Upgrade.h"
#include "db/Login.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

std::string serverPassword() {
    std::ifstream in("/etc/firebird/3.0/SYSDBA.password");
    std::string line;
    std::regex re("^ISC_PASSWORD=\"?([^\"]*)\"?");
    std::smatch m;
    while (std::getline(in, line))
        if (std::regex_search(line, m, re)) return m[1];
    return {};
}

bool serverListening() {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(3050);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    return ok;
}

// The server reads and writes the databases as its own user.
std::string serverFolder() {
    std::string base = "/tmp/selvanto-server-db";
    fs::create_directories(base);
    fs::permissions(base, fs::perms::all | fs::perms::sticky_bit);
    std::string dir = base + "/run-" + std::to_string(::getpid());
    fs::create_directories(dir);
    return dir;
}

void openToAll(const std::string& dir) {
    for (auto& e : fs::recursive_directory_iterator(dir))
        fs::permissions(e.path(), e.is_directory() ? fs::perms::all : (fs::perms::owner_read | fs::perms::owner_write |
                                                                      fs::perms::group_read | fs::perms::group_write |
                                                                      fs::perms::others_read | fs::perms::others_write));
    fs::permissions(dir, fs::perms::all);
}

}  // namespace

TEST(ServerLogin, AWrongPasswordReachesTheOperatorAsTheDatabaseMessage) {
    const std::string password = serverPassword();
    if (password.empty() || !serverListening()) GTEST_SKIP() << "no Firebird server on loopback";
    const std::string dir = serverFolder();
    makeSelvantoData(dir + "/SELVANTO5");
    makeMirkadoData(dir + "/MIRKADO4", {});
    openToAll(dir);

    struct Case {
        std::string typed;
        app::RunResult result;
        std::string kind;
        std::string text;
    } cases[] = {
        {"yanlis", app::RunResult::Failed, "error", "Your user name and password are not defined"},
        {password, app::RunResult::NoCompanies, "box", "Aktarılacak Şirket kaydı bulunamadı..."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.kind);
        db::TDM dm;
        ScriptedOperator op;
        op.passwords = {c.typed};
        app::Upgrade up(dm, op);
        up.extraConnectionParams = {"config=Providers=Loopback"};
        up.options.DKaynak = dir + "/MIRKADO4";
        ::setenv("TMPDIR", dir.c_str(), 1);  // the server must reach the copies the run reads from
        up.options.DrHedef = dir + "/SELVANTO5";
        EXPECT_EQ(up.Button1Click(), c.result) << op.allMessages();
        ASSERT_EQ(op.messages.size(), 1u) << op.allMessages();
        EXPECT_EQ(op.messages[0].kind, c.kind);
        EXPECT_NE(op.messages[0].text.find(c.text), std::string::npos) << op.messages[0].text;
        EXPECT_EQ(op.messages[0].text.find(password == c.typed ? password : c.typed), std::string::npos)
            << "the password appears in no message";
        if (c.result == app::RunResult::Failed) {
            EXPECT_FALSE(db::GirisTamam);
        }
    }
    fs::remove_all(dir);
}
