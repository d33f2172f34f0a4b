// One table's rows written through one prepared insert of all its columns, in one transaction.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "db/fb/Firebird.h"

namespace bench {

class Inserter {
public:
    Inserter(db::fb::Attachment& att, const std::string& table);
    ~Inserter();  // rolls back what was not committed

    const std::string& table() const { return table_; }
    const std::vector<db::fb::Column>& columns() const { return columns_; }
    // The value of `column` in the row being built; NULL until set. Throws for a column the table lacks,
    // so a misspelt name fails at once instead of leaving a column empty.
    db::Value& operator[](const std::string& column);
    db::Value& at(std::size_t i) { return values_[i]; }

    // Writes the row (texts cut to their columns) and starts an empty one.
    void insert();
    void commit();
    std::size_t rows() const { return rows_; }

private:
    std::string table_;
    db::fb::Attachment& att_;
    std::unique_ptr<db::fb::Transaction> tr_;
    std::unique_ptr<db::fb::Statement> st_;
    std::vector<db::fb::Column> columns_;
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<db::Value> values_;
    std::size_t rows_ = 0;
};

// Parameter lines of the generator's own connections.
db::fb::AttachOptions attachOptions();
void setGenerator(db::fb::Attachment& att, const std::string& name, std::int64_t value);
// Rows of a table, 0 when it cannot be counted.
std::int64_t countRows(db::fb::Attachment& att, const std::string& table);
// The user tables of a database, in name order.
std::vector<std::string> userTables(db::fb::Attachment& att);

}  // namespace bench
