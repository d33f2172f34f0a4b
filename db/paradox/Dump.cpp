#include "db/paradox/Dump.h"

#include "db/Codepage.h"
#include "db/Value.h"

namespace db::paradox::dump {

std::string escape(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (char c : s) {
        switch (c) {
            case '\\': out += "\\\\"; break;
            case '|': out += "\\|"; break;
            case '\r': out += "\\r"; break;
            case '\n': out += "\\n"; break;
            case '\t': out += "\\t"; break;
            default: out += c;
        }
    }
    return out;
}

std::string headerLine(const Header& h) {
    std::string line = "# " + std::to_string(h.info.recordCount) + " records; version " +
                       std::to_string(h.info.fileVersion) + " codepage " + std::to_string(h.info.codePage) + " fields ";
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const Field& f = h.fields[i];
        if (i) line += ',';
        line += codepage::toUtf8(f.name) + ":" + typeLetter(f.type) +
                std::to_string(f.type == FieldType::Bcd ? f.precision : f.size);
    }
    return line;
}

namespace {

std::string show(const Field& f, const Value& v, int codePage) {
    if (isNull(v)) return "NULL";
    if (isBinary(f.type)) {
        const auto* s = std::get_if<std::string>(&v);
        return "<" + std::to_string(s ? s->size() : 0) + " bytes>";
    }
    if (auto* s = std::get_if<std::string>(&v)) return escape(codepage::codePageToUtf8(*s, codePage));
    if (auto* i = std::get_if<std::int64_t>(&v)) {
        if (f.type == FieldType::Logical) return *i ? "T" : "F";
        return std::to_string(*i);
    }
    return db::asString(v);  // number, date, time, timestamp
}

}  // namespace

std::string recordLine(const Table& t) {
    const auto& fields = t.fields();
    const int cp = t.info().codePage;
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i) line += '|';
        line += show(fields[i], t.value(i, false), cp);
    }
    return line;
}

}  // namespace db::paradox::dump
