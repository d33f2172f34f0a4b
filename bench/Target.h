// What an upgrade wrote into a Selvanto 5 DATA folder, and the floor: the same rows written by the plainest
// loop of prepared inserts, one transaction per table, into fresh copies of the templates.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace bench {

struct TableRows {
    std::string database;  // relative to the DATA folder: "Sirket.FDB", "FIRMA1/2005/Mirkado.FDB"
    std::string table;
    std::int64_t rows = 0;
};

// Rows of every user table of the registry and of every company's per-year database.
std::vector<TableRows> countTarget(const std::string& dataDir);

// after - before, per database and table, leaving out tables that did not grow.
std::vector<TableRows> written(const std::vector<TableRows>& before, const std::vector<TableRows>& after);
std::int64_t total(const std::vector<TableRows>& rows);

struct FloorResult {
    std::int64_t rows = 0;
    double seconds = 0;  // attach to detach, every insert and commit
    double cpuSeconds = 0;
};

// Writes `rows` again into fresh template copies under `workDir`: the registry from its script, each
// company database from `dataDir`/DBBackup/Mirkado.Fdb. Column by column the rows have the density (share
// of non-NULL values) and the mean text length of what the upgrade wrote into `dataDir`, so that the floor
// moves as many bytes as the upgrade did.
FloorResult insertFloor(const std::string& dataDir, const std::vector<TableRows>& rows, const std::string& workDir);

}  // namespace bench
