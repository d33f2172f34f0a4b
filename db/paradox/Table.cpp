#include "db/paradox/Table.h"

#include "db/FileSystem.h"
#include "db/paradox/Reader.h"
#include "db/paradox/Source.h"

namespace db::paradox {

namespace {

// The memo file sits beside the table under the same name with the extension .MB, in whatever case.
std::string memoPathFor(const std::string& dbPath) {
    std::size_t slash = dbPath.find_last_of('/');
    std::size_t dot = dbPath.find_last_of('.');
    std::string stem = (dot != std::string::npos && (slash == std::string::npos || dot > slash)) ? dbPath.substr(0, dot)
                                                                                                   : dbPath;
    return fsys::resolve(stem + ".MB");
}

}  // namespace

Header readHeader(const std::string& pathUtf8) {
    std::string path = fsys::resolve(pathUtf8);
    auto src = openFile(path);
    return parseHeader(*src);
}

Table::Table(std::string name, std::string fileName, int tag)
    : name_(std::move(name)), fileName_(std::move(fileName)), tag_(tag) {}

Table::~Table() = default;

void Table::setFolder(const std::string& folderUtf8) { folder_ = folderUtf8; }

void Table::open() {
    close();
    std::string path = fsys::resolve(folder_.empty() ? fileName_ : fsys::join(folder_, fileName_));
    if (!fsys::fileExists(path)) throw Error(path + ": table not found");
    std::string memoPath = memoPathFor(path);
    auto db = openFile(path);
    auto openMemo = [memoPath]() -> std::unique_ptr<Source> {
        if (!fsys::fileExists(memoPath)) return nullptr;
        return openFile(memoPath);
    };
    reader_ = std::make_unique<Reader>(std::move(db), openMemo, memoPath);
    path_ = path;
}

void Table::close() { reader_.reset(); }

bool Table::active() const { return reader_ != nullptr; }

namespace {
[[noreturn]] void notOpen(const std::string& name, const std::string& fileName) {
    throw Error(fileName + ": table " + name + " is not open");
}
}  // namespace

void Table::first() {
    if (!reader_) notOpen(name_, fileName_);
    reader_->first();
}

void Table::next() {
    if (!reader_) notOpen(name_, fileName_);
    reader_->next();
}

bool Table::eof() const { return !reader_ || reader_->eof(); }

std::int32_t Table::recordCount() const {
    if (!reader_) notOpen(name_, fileName_);
    return reader_->recordCount();
}

const TableInfo& Table::info() const {
    if (!reader_) notOpen(name_, fileName_);
    return reader_->info();
}

const std::vector<Field>& Table::fields() const {
    if (!reader_) notOpen(name_, fileName_);
    return reader_->fields();
}

bool Table::hasField(const std::string& field) const { return reader_ && reader_->fieldIndex(field).has_value(); }

Value Table::value(const std::string& field) const {
    if (!reader_) notOpen(name_, fileName_);
    auto index = reader_->fieldIndex(field);
    if (!index) throw Error(path_ + ": no field " + field);
    return reader_->value(*index, true);
}

Value Table::value(std::size_t fieldIndex, bool convertText) const {
    if (!reader_) notOpen(name_, fileName_);
    return reader_->value(fieldIndex, convertText);
}

std::string Table::asString(const std::string& field) const { return db::asString(value(field)); }

double Table::asFloat(const std::string& field) const { return db::asFloat(value(field)); }

bool Table::asBoolean(const std::string& field) const {
    Value v = value(field);
    if (auto* i = std::get_if<std::int64_t>(&v)) return *i != 0;
    if (auto* d = std::get_if<double>(&v)) return *d != 0;
    if (auto* s = std::get_if<std::string>(&v)) return *s == "T" || *s == "t" || *s == "True" || *s == "TRUE" || *s == "1";
    return false;
}

std::optional<Date> Table::asDate(const std::string& field) const { return db::asDate(value(field)); }

}  // namespace db::paradox
