#include "Target.h"

#include <algorithm>
#include <sys/resource.h>

#include <chrono>
#include <filesystem>
#include <map>

#include "FbInsert.h"
#include "FbTestDb.h"
#include "Filler.h"

namespace fs = std::filesystem;

namespace bench {

namespace {

void countDatabase(const std::string& dataDir, const std::string& rel, std::vector<TableRows>& out) {
    auto att = db::fb::Attachment::open(dataDir + "/" + rel, attachOptions());
    for (const auto& t : userTables(*att)) out.push_back({rel, t, countRows(*att, t)});
    att->detach();
}

}  // namespace

std::vector<TableRows> countTarget(const std::string& dataDir) {
    std::vector<TableRows> out;
    if (fs::exists(dataDir + "/Sirket.FDB")) countDatabase(dataDir, "Sirket.FDB", out);
    std::vector<std::string> dbs;
    for (const auto& code : fs::directory_iterator(dataDir)) {
        if (!code.is_directory() || code.path().filename() == "DBBackup") continue;
        for (const auto& year : fs::directory_iterator(code.path())) {
            fs::path f = year.path() / "Mirkado.FDB";
            if (year.is_directory() && fs::exists(f)) dbs.push_back(fs::relative(f, dataDir).string());
        }
    }
    std::sort(dbs.begin(), dbs.end());
    for (const auto& rel : dbs) countDatabase(dataDir, rel, out);
    return out;
}

std::vector<TableRows> written(const std::vector<TableRows>& before, const std::vector<TableRows>& after) {
    std::map<std::pair<std::string, std::string>, std::int64_t> base;
    for (const auto& t : before) base[{t.database, t.table}] = t.rows;
    std::vector<TableRows> out;
    for (const auto& t : after) {
        auto it = base.find({t.database, t.table});
        std::int64_t n = t.rows - (it == base.end() ? 0 : it->second);
        if (n > 0) out.push_back({t.database, t.table, n});
    }
    return out;
}

std::int64_t total(const std::vector<TableRows>& rows) {
    std::int64_t n = 0;
    for (const auto& t : rows) n += t.rows;
    return n;
}

namespace {

double cpuNow() {
    struct rusage ru {};
    ::getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_utime.tv_usec / 1e6 + ru.ru_stime.tv_sec + ru.ru_stime.tv_usec / 1e6;
}

struct ColumnPlan {
    db::fb::Column column;
    bool unique = false;
    int densityPercent = 100;
    std::vector<db::Value> pool;  // drawn before the clock starts, so the loop only binds and executes
};

std::vector<std::string> uniqueColumns(db::fb::Attachment& att, db::fb::Transaction& tr, const std::string& table) {
    db::fb::Statement st(att, tr,
                         "SELECT TRIM(s.RDB$FIELD_NAME) FROM RDB$RELATION_CONSTRAINTS c "
                         "JOIN RDB$INDEX_SEGMENTS s ON s.RDB$INDEX_NAME = c.RDB$INDEX_NAME "
                         "WHERE c.RDB$RELATION_NAME = ? AND c.RDB$CONSTRAINT_TYPE IN ('PRIMARY KEY', 'UNIQUE')");
    auto cur = st.openCursor(tr, {db::Value{table}});
    std::vector<std::string> out;
    std::vector<db::Value> row;
    while (cur->fetch(row)) out.push_back(db::asString(row[0]));
    cur->close();
    return out;
}

// Column by column: the share of rows with a value, and the mean length of the texts.
std::vector<ColumnPlan> plan(db::fb::Attachment& written, const std::string& table, std::uint64_t seed) {
    db::fb::Transaction tr(written);
    std::vector<db::fb::Column> cols;
    {
        db::fb::Statement probe(written, tr, "SELECT * FROM " + table);
        cols = probe.columns();
    }
    auto uniques = uniqueColumns(written, tr, table);
    std::string sql = "SELECT COUNT(*)";
    for (const auto& c : cols) {
        sql += ", COUNT(" + c.name + ")";
        sql += c.kind == db::fb::Kind::Text ? ", AVG(CHAR_LENGTH(" + c.name + "))" : ", 0";
    }
    db::fb::Statement st(written, tr, sql + " FROM " + table);
    std::vector<db::Value> stats;
    st.execute(tr, {}, &stats);
    tr.commit();
    const double n = std::max<double>(1, db::asFloat(stats[0]));
    std::vector<ColumnPlan> out;
    Rng r = Rng::forEntity(seed, table, 0);
    for (std::size_t i = 0; i < cols.size(); ++i) {
        ColumnPlan p;
        p.column = cols[i];
        p.unique = std::find(uniques.begin(), uniques.end(), cols[i].name) != uniques.end();
        p.densityPercent = p.unique || cols[i].required ? 100 : static_cast<int>(db::asFloat(stats[1 + 2 * i]) * 100 / n + 0.5);
        const auto meanLength = static_cast<std::size_t>(db::asFloat(stats[2 + 2 * i]) + 0.5);
        for (int k = 0; k < 64; ++k) {
            db::Value v = plausibleValue(cols[i], r, k);
            if (auto* s = std::get_if<std::string>(&v); s && meanLength > 0) {
                if (s->empty()) *s = "x";
                while (s->size() < meanLength) *s += " " + *s;
                s->resize(std::min<std::size_t>(meanLength, cols[i].width ? cols[i].width : meanLength));
            }
            p.pool.push_back(std::move(v));
        }
        out.push_back(std::move(p));
    }
    return out;
}

void fill(db::fb::Attachment& att, const std::string& table, const std::vector<ColumnPlan>& plans, std::int64_t rows) {
    db::fb::Transaction tr(att);
    std::string names, marks;
    for (std::size_t i = 0; i < plans.size(); ++i) {
        names += (i ? ", " : "") + plans[i].column.name;
        marks += i ? ", ?" : "?";
    }
    db::fb::Statement st(att, tr, "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")");
    std::vector<db::Value> values(plans.size());
    // Away from any key the templates may already hold.
    const std::int64_t offset = 1000000;
    for (std::int64_t row = 0; row < rows; ++row) {
        for (std::size_t i = 0; i < plans.size(); ++i) {
            const ColumnPlan& p = plans[i];
            if (p.unique) {
                if (p.column.kind == db::fb::Kind::Text) values[i] = "U" + std::to_string(offset + row);
                else if (p.column.kind == db::fb::Kind::Integer) values[i] = static_cast<std::int64_t>(offset + row);
                else values[i] = static_cast<double>(offset + row);
            } else if (static_cast<int>(row % 100) < p.densityPercent) {
                values[i] = p.pool[static_cast<std::size_t>(row + static_cast<std::int64_t>(i)) % p.pool.size()];
            } else {
                values[i] = db::kNull;
            }
        }
        st.execute(tr, values);
    }
    tr.commit();
}

}  // namespace

FloorResult insertFloor(const std::string& dataDir, const std::vector<TableRows>& rows, const std::string& workDir) {
    std::map<std::string, std::vector<TableRows>> byDatabase;
    for (const auto& t : rows) byDatabase[t.database].push_back(t);
    FloorResult result;
    for (const auto& [rel, tables] : byDatabase) {
        const std::string path = workDir + "/" + rel;
        fs::create_directories(fs::path(path).parent_path());
        if (rel == "Sirket.FDB") testsupport::createDatabase(path, "target_registry.sql");
        else fs::copy_file(dataDir + "/DBBackup/Mirkado.Fdb", path, fs::copy_options::overwrite_existing);

        std::map<std::string, std::vector<ColumnPlan>> plans;
        {
            auto src = db::fb::Attachment::open(dataDir + "/" + rel, attachOptions());
            for (const auto& t : tables) plans[t.table] = plan(*src, t.table, 7);
            src->detach();
        }
        auto start = std::chrono::steady_clock::now();
        const double cpuStart = cpuNow();
        auto att = db::fb::Attachment::open(path, attachOptions());
        for (const auto& t : tables) {
            fill(*att, t.table, plans[t.table], t.rows);
            result.rows += t.rows;
        }
        att->detach();
        result.seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        result.cpuSeconds += cpuNow() - cpuStart;
    }
    return result;
}

}  // namespace bench
