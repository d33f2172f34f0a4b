#include "FbInsert.h"

#include <stdexcept>

namespace bench {

Inserter::Inserter(db::fb::Attachment& att, const std::string& table) : table_(table), att_(att) {
    tr_ = std::make_unique<db::fb::Transaction>(att_);
    {
        db::fb::Statement probe(att_, *tr_, "SELECT * FROM " + table);
        columns_ = probe.columns();
    }
    std::string names, marks;
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        index_[columns_[i].name] = i;
        names += (i ? ", " : "") + columns_[i].name;
        marks += i ? ", ?" : "?";
    }
    st_ = std::make_unique<db::fb::Statement>(att_, *tr_,
                                              "INSERT INTO " + table + " (" + names + ") VALUES (" + marks + ")");
    values_.assign(columns_.size(), db::kNull);
}

Inserter::~Inserter() {
    st_.reset();
    tr_.reset();
}

db::Value& Inserter::operator[](const std::string& column) {
    auto it = index_.find(column);
    if (it == index_.end()) throw std::logic_error("no column " + column + " in " + table_);
    return values_[it->second];
}

void Inserter::insert() {
    for (std::size_t i = 0; i < columns_.size(); ++i) {
        auto* s = std::get_if<std::string>(&values_[i]);
        if (!s) continue;
        if (s->empty()) values_[i] = db::kNull;  // the old programs stored no empty texts
        else if (columns_[i].kind == db::fb::Kind::Text && columns_[i].width && s->size() > columns_[i].width)
            s->resize(columns_[i].width);
    }
    st_->execute(*tr_, values_);
    ++rows_;
    for (auto& v : values_) v = db::kNull;
}

void Inserter::commit() {
    st_.reset();
    tr_->commit();
}

db::fb::AttachOptions attachOptions() {
    db::fb::AttachOptions o;
    o.params = {"lc_ctype=WIN1254", "user_name=SYSDBA", "password=masterkey"};
    return o;
}

void setGenerator(db::fb::Attachment& att, const std::string& name, std::int64_t value) {
    db::fb::Transaction tr(att);
    db::fb::executeImmediate(att, tr, "SET GENERATOR " + name + " TO " + std::to_string(value));
    tr.commit();
}

std::int64_t countRows(db::fb::Attachment& att, const std::string& table) {
    db::fb::Transaction tr(att);
    db::fb::Statement st(att, tr, "SELECT COUNT(*) FROM " + table);
    std::vector<db::Value> row;
    st.execute(tr, {}, &row);
    tr.commit();
    return row.empty() ? 0 : db::asInt64(row[0]);
}

std::vector<std::string> userTables(db::fb::Attachment& att) {
    db::fb::Transaction tr(att);
    db::fb::Statement st(att, tr,
                         "SELECT TRIM(RDB$RELATION_NAME) FROM RDB$RELATIONS WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 "
                         "AND RDB$VIEW_BLR IS NULL ORDER BY 1");
    auto cur = st.openCursor(tr);
    std::vector<std::string> out;
    std::vector<db::Value> row;
    while (cur->fetch(row)) out.push_back(db::asString(row[0]));
    cur->close();
    tr.commit();
    return out;
}

}  // namespace bench
