// selvanto-insert-floor: how fast this machine writes the rows an upgrade wrote, by the plainest loop of
// prepared inserts in one transaction per table. The benchmark compares the upgrade with this floor.
#include <cstdio>
#include <filesystem>
#include <string>

#include "FbTestDb.h"
#include "Target.h"

namespace fs = std::filesystem;

int main(int argc, char** argv) {
    std::string target, work;
    for (int i = 1; i + 1 < argc; i += 2) {
        std::string a = argv[i];
        if (a == "--target") target = argv[i + 1];
        else if (a == "--work") work = argv[i + 1];
        else {
            std::fprintf(stderr, "unknown option: %s\n", a.c_str());
            return 64;
        }
    }
    if (target.empty() || work.empty()) {
        std::fputs("usage: selvanto-insert-floor --target UPGRADED_SELVANTO5_DATA --work EMPTY_DIR\n", stderr);
        return 64;
    }
    try {
        // What the registry held before the upgrade: a fresh one from its script.
        fs::create_directories(work + "/before");
        testsupport::createDatabase(work + "/before/Sirket.FDB", "target_registry.sql");
        auto before = bench::countTarget(work + "/before");
        auto rows = bench::written(before, bench::countTarget(target));
        for (const auto& t : rows) std::printf("%-28s %-14s %lld\n", t.database.c_str(), t.table.c_str(), static_cast<long long>(t.rows));
        auto floor = bench::insertFloor(target, rows, work + "/floor");
        std::printf("floor: %lld rows in %.2f s, %.0f rows/s\n", static_cast<long long>(floor.rows), floor.seconds,
                    floor.seconds > 0 ? floor.rows / floor.seconds : 0.0);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "selvanto-insert-floor: %s\n", e.what());
        return 2;
    }
    return 0;
}
