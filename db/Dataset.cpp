#include "db/Dataset.h"

#include "db/Layouts.h"

namespace db {

Dataset::Dataset(std::string name, int tag, Connection& connection, Transaction& transaction, std::string table,
                 std::vector<std::string> insertColumns)
    : name_(std::move(name)),
      tag_(tag),
      connection_(connection),
      transaction_(transaction),
      table_(std::move(table)),
      insertColumns_(std::move(insertColumns)),
      readOnly_(insertColumns_.empty()) {
    if (!table_.empty()) sql_ = {"SELECT * FROM " + table_};
    connection.add(this);
}

Dataset::~Dataset() = default;

void Dataset::setSql(std::vector<std::string> lines, std::vector<Value> params) {
    close();
    sql_ = std::move(lines);
    params_in_ = std::move(params);
}

std::vector<std::string> Dataset::boundSql() const {
    std::vector<std::string> out = sql_;
    std::size_t next = 0;
    for (auto& line : out) {
        for (std::size_t at = line.find('?'); at != std::string::npos && next < params_in_.size();
             at = line.find('?', at)) {
            const Value& v = params_in_[next++];
            std::string text = std::holds_alternative<std::string>(v) ? "'" + std::get<std::string>(v) + "'"
                                                                      : db::asString(v);
            line.replace(at, 1, text);
            at += text.size();
        }
    }
    return out;
}

std::string Dataset::sqlText() const {
    std::string s;
    for (std::size_t i = 0; i < sql_.size(); ++i) {
        if (i) s += '\n';
        s += sql_[i];
    }
    return s;
}

void Dataset::describe() {
    const std::string text = sqlText();
    if (text == describedSql_ && !columns_.empty()) return;
    auto stmt = connection_.prepare(text, transaction_);
    columns_ = stmt->columns();
    index_.clear();
    for (std::size_t i = 0; i < columns_.size(); ++i) index_.emplace(columns_[i].name, static_cast<int>(i));
    insertIndex_.clear();
    for (const auto& c : insertColumns_) insertIndex_.push_back(indexOf(c));
    describedSql_ = text;
}

void Dataset::open() {
    if (active_) return;
    describe();
    active_ = true;
    first();
}

void Dataset::close() {
    cursor_.reset();
    statement_.reset();
    insert_.reset();
    active_ = false;
    appending_ = false;
    eof_ = true;
    row_.clear();
    edit_.clear();
    locateCache_.clear();
}

void Dataset::first() {
    if (!active_) open();
    appending_ = false;
    cursor_.reset();
    statement_ = connection_.prepare(sqlText(), transaction_);
    cursor_ = statement_->openCursor(transaction_.handle(), params_in_);
    fetch();
}

void Dataset::fetch() {
    if (!cursor_ || !cursor_->fetch(row_)) {
        cursor_.reset();
        eof_ = true;
        row_.assign(columns_.size(), kNull);
        return;
    }
    eof_ = false;
}

void Dataset::next() {
    if (!active_ || eof_) return;
    if (!cursor_) {
        // The current row came from a post or a locate; there is no cursor to continue.
        eof_ = true;
        row_.assign(columns_.size(), kNull);
        return;
    }
    fetch();
}

int Dataset::indexOf(const std::string& column) const {
    auto it = index_.find(column);
    return it == index_.end() ? -1 : it->second;
}

const fb::Column& Dataset::column(const std::string& name) const {
    int i = indexOf(name);
    if (i < 0) throw fb::Error(name_ + ": Field '" + name + "' not found");
    return columns_[static_cast<std::size_t>(i)];
}

const Value& Dataset::value(std::size_t index) const {
    const auto& r = appending_ ? edit_ : row_;
    if (index >= r.size()) return kNull;
    return r[index];
}

const Value& Dataset::value(const std::string& column) const {
    int i = indexOf(column);
    if (i < 0) throw fb::Error(name_ + ": Field '" + column + "' not found");
    return value(static_cast<std::size_t>(i));
}

void Dataset::append() {
    if (!active_) open();
    if (readOnly_) throw fb::Error(name_ + ": Cannot modify a read-only dataset");
    edit_.assign(columns_.size(), kNull);
    appending_ = true;
}

void Dataset::set(const std::string& columnName, const Value& v) {
    if (!appending_) throw fb::Error(name_ + ": Dataset not in edit or insert mode");
    int i = indexOf(columnName);
    if (i < 0) throw fb::Error(name_ + ": Field '" + columnName + "' not found");
    const fb::Column& c = columns_[static_cast<std::size_t>(i)];
    Value stored = v;
    if (c.kind == fb::Kind::Text && !db::isNull(v)) {
        // Numbers and dates written into text columns arrive as their text; the width rule then applies.
        std::string s = db::asString(v);
        if (c.width && s.size() > c.width) s.resize(c.width);
        stored = s.empty() ? kNull : Value(std::move(s));
    } else if (auto s = std::get_if<std::string>(&v); s && s->empty()) {
        stored = kNull;
    }
    edit_[static_cast<std::size_t>(i)] = std::move(stored);
}

std::string Dataset::insertSql() const {
    std::string cols, marks;
    for (std::size_t i = 0; i < insertColumns_.size(); ++i) {
        if (i) {
            cols += ", ";
            marks += ", ";
        }
        cols += insertColumns_[i];
        marks += '?';
    }
    return "INSERT INTO " + table_ + " (" + cols + ") VALUES (" + marks + ")";
}

void Dataset::post() {
    if (!appending_) return;
    if (beforePost) beforePost(*this);
    params_.resize(insertColumns_.size());
    for (std::size_t k = 0; k < insertColumns_.size(); ++k) {
        int i = insertIndex_[k];
        params_[k] = i < 0 ? kNull : edit_[static_cast<std::size_t>(i)];
    }
    if (!insert_) insert_ = connection_.prepare(insertSql(), transaction_);
    // A refused row stays the current row, so the error handler can name what was refused.
    row_ = edit_;
    cursor_.reset();
    eof_ = false;
    appending_ = false;
    insert_->execute(transaction_.handle(), params_);
    ++posted_;
}

void Dataset::cancel() {
    appending_ = false;
    edit_.clear();
}

void Dataset::copyByName(const Dataset& source, std::initializer_list<const char*> excluded) {
    const auto& cols = source.columns();
    for (std::size_t i = 0; i < cols.size(); ++i) {
        bool skip = false;
        for (const char* e : excluded)
            if (cols[i].name == e) skip = true;
        if (skip || !hasColumn(cols[i].name)) continue;
        set(cols[i].name, source.value(i));
    }
}

bool Dataset::locate(const std::string& columnName, const Value& v) {
    if (!active_) open();
    appending_ = false;
    const std::string wanted = db::asString(v);
    const std::string key = columnName + '\x1f' + wanted;
    if (readOnly_) {
        auto it = locateCache_.find(key);
        if (it != locateCache_.end()) {
            if (!it->second) return false;
            row_ = *it->second;
            cursor_.reset();
            eof_ = false;
            return true;
        }
    }
    // The database narrows the candidates; the exact comparison is ours, because a column's collation may
    // ignore case or trailing blanks where the old program compared bytes.
    const fb::Column& c = column(columnName);
    std::string sql = "SELECT * FROM " + table_ + " WHERE " + columnName + " = ?";
    if (c.kind != fb::Kind::Text) sql = "SELECT * FROM " + table_ + " WHERE " + columnName + " = CAST(? AS VARCHAR(255))";
    auto stmt = connection_.prepare(sql, transaction_);
    auto cursor = stmt->openCursor(transaction_.handle(), {Value(wanted)});
    std::vector<Value> r;
    bool found = false;
    const int idx = indexOf(columnName);
    while (cursor->fetch(r)) {
        if (db::asString(r[static_cast<std::size_t>(idx)]) == wanted && !db::isNull(r[static_cast<std::size_t>(idx)])) {
            found = true;
            break;
        }
    }
    cursor->close();
    if (readOnly_) locateCache_[key] = found ? std::optional<std::vector<Value>>(r) : std::nullopt;
    if (!found) return false;
    row_ = std::move(r);
    cursor_.reset();
    eof_ = false;
    return true;
}

}  // namespace db
