// The three conversions the transfers share. All work on Windows-1254 bytes.
#pragma once

#include <string>

namespace db {

// Every CR and every LF becomes one blank; the length never changes.
std::string MemoTemizle(const std::string& text);

// Turkish upper case: i -> İ, ı -> I, ç ğ ö ş ü -> Ç Ğ Ö Ş Ü, a-z -> A-Z; nothing else changes.
std::string BuyukHarfCevir(const std::string& text);

// Round to `places` decimals, ties to even, after scaling in double precision.
double Yuvarla(double value, double places);

// Characters from..to (1-based, inclusive) of a text; empty when the text is shorter than `from`.
std::string slice(const std::string& text, std::size_t from, std::size_t to);

}  // namespace db
