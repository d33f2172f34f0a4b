// The text form of a table that paradox-dump prints and the tests compare with: one line per record,
// '|' between fields, NULL for an empty field, text in UTF-8 with \ | CR LF TAB escaped, numbers in shortest
// round-trip form, dates YYYY-MM-DD, times HH:MM:SS, logicals T/F, binary fields as <N bytes>.
#pragma once

#include <string>

#include "db/paradox/Table.h"

namespace db::paradox::dump {

// "# N records; version V codepage C fields name:typeSIZE,..."
std::string headerLine(const Header& header);

// The current record of an open table, without the line end. Text goes from the table's code page straight
// to UTF-8, so characters Windows-1254 lacks still print as they are.
std::string recordLine(const Table& table);

std::string escape(const std::string& utf8);

}  // namespace db::paradox::dump
