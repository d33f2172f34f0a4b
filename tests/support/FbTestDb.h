// Test databases built from the schema scripts in testdata/, and DATA folders of both installations.
#pragma once

#include <string>
#include <vector>

#include "db/Value.h"

namespace testsupport {

// A fresh folder under the system's temporary folder, removed with everything in it at the end.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string testdataFile(const std::string& name);
std::string sharedFile(const std::string& name);

// Parameter lines of every test connection.
std::vector<std::string> testParams();

// The statements of a script: comments dropped, split at semicolons outside quotes.
std::vector<std::string> splitSql(const std::string& script);

// Creates the database `path` from testdata/<script> (built once per test program, then copied).
void createDatabase(const std::string& path, const std::string& script);

// Runs statements (a script text) on a database and commits.
void execSql(const std::string& path, const std::string& sql);
// Runs one statement as it is (an EXECUTE BLOCK with semicolons inside) and commits.
void execStatement(const std::string& path, const std::string& sql);

// Every row of a query; text is Windows-1254 as stored.
std::vector<std::vector<db::Value>> query(const std::string& path, const std::string& sql);
// The first column of the first row (NULL when there is no row).
db::Value scalar(const std::string& path, const std::string& sql);
std::int64_t count(const std::string& path, const std::string& table, const std::string& where = "");

// A Mirkado 4 DATA folder: Sirket.GDB, and per company code a folder with an empty MIRKADO.GDB.
void makeMirkadoData(const std::string& dataDir, const std::vector<std::string>& companyCodes);
// A Selvanto 5 DATA folder: an empty Sirket.FDB and the templates DBBackup/Mirkado.Fdb, DBBackup/Resim.Fdb.
void makeSelvantoData(const std::string& dataDir);

// Windows-1254 from UTF-8, for writing Turkish test values.
std::string w(const std::string& utf8);
// A SQL string literal of Windows-1254 bytes (quotes doubled).
std::string lit(const std::string& cp1254);

}  // namespace testsupport
