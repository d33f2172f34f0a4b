#include "FbTestDb.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>

#include "db/Codepage.h"
#include "db/fb/Firebird.h"

namespace fs = std::filesystem;

namespace testsupport {

TempDir::TempDir() {
    std::string tmpl = (fs::temp_directory_path() / "selvanto-test-XXXXXX").string();
    std::vector<char> buf(tmpl.begin(), tmpl.end());
    buf.push_back('\0');
    if (!::mkdtemp(buf.data())) throw std::runtime_error("cannot create a temporary folder");
    path_ = buf.data();
}

TempDir::~TempDir() {
    std::error_code ec;
    fs::remove_all(path_, ec);
}

std::string testdataFile(const std::string& name) { return std::string(SELVANTO_TESTDATA_DIR) + "/" + name; }
std::string sharedFile(const std::string& name) { return std::string(SELVANTO_SHARED_DIR) + "/" + name; }

std::vector<std::string> testParams() { return {"lc_ctype=WIN1254", "user_name=SYSDBA", "password=masterkey"}; }

std::vector<std::string> splitSql(const std::string& script) {
    std::vector<std::string> out;
    std::string cur;
    bool quote = false;
    for (std::size_t i = 0; i < script.size(); ++i) {
        char c = script[i];
        if (!quote && c == '-' && i + 1 < script.size() && script[i + 1] == '-') {
            while (i < script.size() && script[i] != '\n') ++i;
            cur += '\n';
            continue;
        }
        if (c == '\'') quote = !quote;
        if (!quote && c == ';') {
            if (cur.find_first_not_of(" \r\n\t") != std::string::npos) out.push_back(cur);
            cur.clear();
            continue;
        }
        cur += c;
    }
    if (cur.find_first_not_of(" \r\n\t") != std::string::npos) out.push_back(cur);
    return out;
}

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

void runScript(db::fb::Attachment& att, const std::string& script) {
    for (const auto& stmt : splitSql(script)) {
        db::fb::Transaction tr(att);
        // Scripts are UTF-8 files; the connection speaks Windows-1254.
        db::fb::executeImmediate(att, tr, db::codepage::fromUtf8(stmt));
        tr.commit();
    }
}

}  // namespace

void createDatabase(const std::string& path, const std::string& script) {
    fs::path cacheDir = fs::path(SELVANTO_BINARY_DIR) / "testdb-cache";
    fs::create_directories(cacheDir);
    fs::path cached = cacheDir / (script + ".fdb");
    fs::path source = testdataFile(script);
    // Rebuild when the script is newer than the cached copy; a lock keeps parallel test programs apart.
    int lock = ::open((cacheDir / (script + ".lock")).c_str(), O_CREAT | O_RDWR, 0644);
    ::flock(lock, LOCK_EX);
    std::error_code ec;
    if (!fs::exists(cached) || fs::last_write_time(cached, ec) < fs::last_write_time(source, ec)) {
        fs::path building = cacheDir / (script + ".building.fdb");
        fs::remove(building, ec);
        {
            db::fb::AttachOptions opts;
            opts.params = testParams();
            auto att = db::fb::Attachment::create(building.string(), opts);
            runScript(*att, readFile(source.string()));
            att->detach();
        }
        fs::rename(building, cached);
    }
    ::flock(lock, LOCK_UN);
    ::close(lock);
    fs::create_directories(fs::path(path).parent_path());
    fs::copy_file(cached, path, fs::copy_options::overwrite_existing);
}

void execSql(const std::string& path, const std::string& sql) {
    db::fb::AttachOptions opts;
    opts.params = testParams();
    auto att = db::fb::Attachment::open(path, opts);
    {
        db::fb::Transaction tr(*att);
        for (const auto& stmt : splitSql(sql)) db::fb::executeImmediate(*att, tr, stmt);
        tr.commit();
    }
    att->detach();
}

void execStatement(const std::string& path, const std::string& sql) {
    db::fb::AttachOptions opts;
    opts.params = testParams();
    auto att = db::fb::Attachment::open(path, opts);
    {
        db::fb::Transaction tr(*att);
        db::fb::executeImmediate(*att, tr, sql);
        tr.commit();
    }
    att->detach();
}

std::vector<std::vector<db::Value>> query(const std::string& path, const std::string& sql) {
    db::fb::AttachOptions opts;
    opts.params = testParams();
    auto att = db::fb::Attachment::open(path, opts);
    std::vector<std::vector<db::Value>> rows;
    {
        db::fb::Transaction tr(*att);
        db::fb::Statement stmt(*att, tr, sql);
        auto cursor = stmt.openCursor(tr);
        std::vector<db::Value> row;
        while (cursor->fetch(row)) rows.push_back(row);
        cursor->close();
        tr.commit();
    }
    att->detach();
    return rows;
}

db::Value scalar(const std::string& path, const std::string& sql) {
    auto rows = query(path, sql);
    if (rows.empty() || rows[0].empty()) return db::kNull;
    return rows[0][0];
}

std::int64_t count(const std::string& path, const std::string& table, const std::string& where) {
    return db::asInt64(scalar(path, "SELECT COUNT(*) FROM " + table + (where.empty() ? "" : " WHERE " + where)));
}

void makeMirkadoData(const std::string& dataDir, const std::vector<std::string>& companyCodes) {
    fs::create_directories(dataDir);
    createDatabase(dataDir + "/Sirket.GDB", "source_registry.sql");
    for (const auto& code : companyCodes) createDatabase(dataDir + "/" + code + "/MIRKADO.GDB", "source_company.sql");
}

void makeSelvantoData(const std::string& dataDir) {
    fs::create_directories(dataDir + "/DBBackup");
    createDatabase(dataDir + "/Sirket.FDB", "target_registry.sql");
    createDatabase(dataDir + "/DBBackup/Mirkado.Fdb", "target_company.sql");
    createDatabase(dataDir + "/DBBackup/Resim.Fdb", "target_picture.sql");
}

std::string w(const std::string& utf8) { return db::codepage::fromUtf8(utf8); }

std::string lit(const std::string& cp1254) {
    std::string out = "'";
    for (char c : cp1254) {
        if (c == '\'') out += "''";
        else out += c;
    }
    return out + "'";
}

}  // namespace testsupport
