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

#include "db/paradox/Dump.h"
#include "db/paradox/Table.h"

namespace {

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
        if (header) std::cout << db::paradox::dump::headerLine(h) << '\n';
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
        std::string line;
        std::int64_t printed = 0;
        for (t.first(); !t.eof(); t.next()) {
            line = db::paradox::dump::recordLine(t);
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
