// A dataset of the data module: a select statement over one table, a current row, and (for target tables) an
// insert of the table's declared columns. Source datasets stream their rows from an open cursor; target
// datasets keep only the current row and find rows again with Locate.
#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Value.h"

namespace db {

class Dataset {
public:
    // `table` is the table the dataset selects ("SELECT * FROM <table>" until a routine sets another
    // statement). `insertColumns` empty: the dataset only reads.
    Dataset(std::string name, int tag, Connection& connection, Transaction& transaction, std::string table,
            std::vector<std::string> insertColumns = {});
    ~Dataset();
    Dataset(const Dataset&) = delete;
    Dataset& operator=(const Dataset&) = delete;

    const std::string& name() const { return name_; }
    int tag() const { return tag_; }
    const std::string& table() const { return table_; }
    Connection& connection() const { return connection_; }
    Transaction& transaction() const { return transaction_; }

    // The select statement, as lines; the statement run is the lines joined by line breaks. A statement that is
    // narrowed to one key per row takes the key as a parameter ("WHERE BLCRKODU=?", {125.0}): it selects the
    // same rows as the key written into the text, and is prepared once instead of once per row.
    void setSql(std::vector<std::string> lines, std::vector<Value> params = {});
    const std::vector<std::string>& sql() const { return sql_; }
    const std::vector<Value>& params() const { return params_in_; }
    // The statement as it reads with its parameters written in (numbers without a fraction, texts quoted).
    std::vector<std::string> boundSql() const;
    std::string sqlText() const;

    // Opens the select and stands on its first row (eof when it has none).
    void open();
    void close();
    void reopen() { close(); open(); }
    bool active() const { return active_; }

    void first();
    void next();
    bool eof() const { return eof_; }

    // Columns of the select, in its order.
    const std::vector<fb::Column>& columns() const { return columns_; }
    int indexOf(const std::string& column) const;
    bool hasColumn(const std::string& column) const { return indexOf(column) >= 0; }
    const fb::Column& column(const std::string& name) const;

    // The current row; while a row is being appended, that row.
    const Value& value(const std::string& column) const;
    const Value& value(std::size_t index) const;
    bool isNull(const std::string& column) const { return db::isNull(value(column)); }
    std::string asString(const std::string& column) const { return db::asString(value(column)); }
    double asFloat(const std::string& column) const { return db::asFloat(value(column)); }
    std::int32_t asInteger(const std::string& column) const { return db::asInteger(value(column)); }
    std::optional<Date> asDate(const std::string& column) const { return db::asDate(value(column)); }
    std::optional<Time> asTime(const std::string& column) const { return db::asTime(value(column)); }

    // Appending: a new row with every column NULL; set fields; Post writes it.
    void append();
    bool appending() const { return appending_; }
    // A text longer than its column is cut to the column's width; an empty text becomes NULL.
    void set(const std::string& column, const Value& v);
    void setNull(const std::string& column) { set(column, kNull); }
    // Runs the key-stamping handler, inserts the declared insert columns, and makes the row the current one.
    void post();
    void cancel();

    // Copy by column name: each source column in source order, except the excluded ones, into the column of
    // the same name when this table has one.
    void copyByName(const Dataset& source, std::initializer_list<const char*> excluded = {});

    // The first row, from the first, whose column equals `v` exactly (bytes compared, case counts), over every
    // row of the table including those posted in this session. The found row becomes current.
    bool locate(const std::string& column, const Value& v);

    std::function<void(Dataset&)> beforePost;

    std::size_t postedCount() const { return posted_; }
    void resetPostedCount() { posted_ = 0; }

private:
    void describe();  // prepares the select and learns its columns
    void fetch();
    std::string insertSql() const;

    std::string name_;
    int tag_;
    Connection& connection_;
    Transaction& transaction_;
    std::string table_;
    std::vector<std::string> insertColumns_;
    std::vector<std::string> sql_;
    std::vector<Value> params_in_;

    bool active_ = false;
    bool eof_ = true;
    bool appending_ = false;
    bool readOnly_;
    std::vector<fb::Column> columns_;
    std::map<std::string, int> index_;
    std::string describedSql_;
    std::vector<Value> row_;
    std::vector<Value> edit_;
    std::shared_ptr<fb::Statement> statement_;  // the one cursor_ reads from
    std::shared_ptr<fb::Statement> insert_;     // prepared once per opening, used for every posted row
    std::vector<Value> params_;
    std::unique_ptr<fb::Cursor> cursor_;
    std::vector<int> insertIndex_;  // select column index of each insert column
    std::size_t posted_ = 0;
    // Locate on a source table: the table never changes during a run, so found rows are kept.
    std::map<std::string, std::optional<std::vector<Value>>> locateCache_;
};

}  // namespace db
