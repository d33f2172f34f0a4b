// paradox-dump: prints a Paradox table one record a line, for looking into old tables and comparing them.
//   paradox-dump [--header] FILE.DB
// Fields are separated by '|'; an empty field is NULL; text is UTF-8 with \ | CR LF TAB escaped as \\ \| \r \n
// \t; numbers in shortest round-trip form; dates YYYY-MM-DD, times HH:MM:SS; logicals T/F; binary fields as
// <N bytes>. With --header the first line says what the header holds. A password-protected table prints
// "# encrypted" in place of its records.
// Exit status: 0 dumped (or identified as encrypted), 1 the table cannot be read, 2 wrong usage.
#include <cstdio>
#include <iostream>
#include <string>

#include "db/Codepage.h"
#include "db/Value.h"
#include "db/paradox/Table.h"

namespace {

using db::paradox::FieldType;

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

std::string headerLine(const db::paradox::Header& h) {
    std::string line = "# " + std::to_string(h.info.recordCount) + " records; version " +
                       std::to_string(h.info.fileVersion) + " codepage " + std::to_string(h.info.codePage) + " fields ";
    for (std::size_t i = 0; i < h.fields.size(); ++i) {
        const auto& f = h.fields[i];
        if (i) line += ',';
        line += db::codepage::toUtf8(f.name) + ":" + db::paradox::typeLetter(f.type) +
                std::to_string(f.type == FieldType::Bcd ? f.precision : f.size);
    }
    return line;
}

std::string show(const db::paradox::Field& f, const db::Value& v, int codePage) {
    if (db::isNull(v)) return "NULL";
    if (db::paradox::isBinary(f.type)) {
        const auto* s = std::get_if<std::string>(&v);
        return "<" + std::to_string(s ? s->size() : 0) + " bytes>";
    }
    if (auto* s = std::get_if<std::string>(&v)) return escape(db::codepage::codePageToUtf8(*s, codePage));
    if (auto* i = std::get_if<std::int64_t>(&v)) {
        if (f.type == FieldType::Logical) return *i ? "T" : "F";
        return std::to_string(*i);
    }
    return db::asString(v);  // number, date, time, timestamp
}

int usage() {
    std::cerr << "usage: paradox-dump [--header] FILE.DB\n";
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    bool header = false;
    std::string file;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        if (a == "--header") header = true;
        else if (a == "-h" || a == "--help") return usage();
        else if (file.empty()) file = a;
        else return usage();
    }
    if (file.empty()) return usage();

    try {
        db::paradox::Header h = db::paradox::readHeader(file);
        if (header) std::cout << headerLine(h) << '\n';
        if (h.info.encrypted) {
            std::cout << "# encrypted\n";
            return 0;
        }
        std::size_t slash = file.find_last_of('/');
        std::string folder = slash == std::string::npos ? std::string() : file.substr(0, slash == 0 ? 1 : slash);
        std::string name = slash == std::string::npos ? file : file.substr(slash + 1);
        db::paradox::Table t("dump", name, 0);
        t.setFolder(folder);
        t.open();
        const auto& fields = t.fields();
        const int cp = t.info().codePage;
        std::string line;
        std::int64_t printed = 0;
        for (t.first(); !t.eof(); t.next()) {
            line.clear();
            for (std::size_t i = 0; i < fields.size(); ++i) {
                if (i) line += '|';
                line += show(fields[i], t.value(i, false), cp);
            }
            line += '\n';
            std::cout << line;
            ++printed;
        }
        std::cout.flush();
        if (printed != h.info.recordCount)
            std::cerr << "paradox-dump: " << file << ": the header claims " << h.info.recordCount
                      << " records, the file holds " << printed << "\n";
    } catch (const std::exception& e) {
        std::cout.flush();
        std::cerr << "paradox-dump: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
