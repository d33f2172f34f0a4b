// Code page conversions. Inside the program text is Windows-1254; these are the edges.
#pragma once

#include <string>

namespace db::codepage {

// Windows-1254 bytes to UTF-8. The few byte values 1254 leaves undefined become '?'.
std::string toUtf8(const std::string& cp1254);

// UTF-8 to Windows-1254. A character 1254 cannot hold becomes '?', so no row is ever dropped for it.
// `lossy` (when given) is set when that happened.
std::string fromUtf8(const std::string& utf8, bool* lossy = nullptr);

// Bytes of a DOS or Windows code page (437, 850, 857, 1252, 1254, ...) to Windows-1254. Characters without a
// 1254 counterpart become '?'; `lossy` reports it. An unknown code page is read as 1252, best effort.
std::string toCp1254(const std::string& bytes, int codePage, bool* lossy = nullptr);

// Any of those code pages to UTF-8.
std::string codePageToUtf8(const std::string& bytes, int codePage);

}  // namespace db::codepage
