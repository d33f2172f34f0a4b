// The Paradox tables of a Kobaltin DATA folder with their full layouts, written by the test Paradox writer.
// A record names only the fields it fills; every other field is empty, as Paradox stores it.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "db/Value.h"
#include "db/paradox/Table.h"

namespace testsupport::kobaltin {

struct FieldSpec {
    std::string name;
    db::paradox::FieldType type;
    int size;  // as the writer takes it (memo: leader + 10)
};

using Record = std::map<std::string, db::Value>;
// Fields by name with their type and writer size, for tables a test lays out itself.
using Fields = std::vector<std::pair<std::string, std::pair<db::paradox::FieldType, int>>>;

// Writes folder/file with the given fields; a record names only the fields it fills.
std::string writeFields(const std::string& folder, const std::string& file, const Fields& fields,
                        const std::vector<Record>& rows, int codePage = 1254);

// "sirket.DB", "Cari.DB", "Stok.DB", "doviz.DB", "c_grup.DB", "s_grup.DB", "ayar.DB".
const std::vector<FieldSpec>& layout(const std::string& file);

// Writes folder/file (and its .MB) with the table's layout; returns the .DB path.
std::string writeTable(const std::string& folder, const std::string& file, const std::vector<Record>& rows,
                       int codePage = 1254);

// A company folder with every table the run opens, empty but for the rows given.
void writeCompany(const std::string& folder, const std::map<std::string, std::vector<Record>>& rows,
                  int codePage = 1254);

}  // namespace testsupport::kobaltin
