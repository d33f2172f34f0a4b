// Turkish names, places and texts for the generated installations, as Windows-1254 bytes.
#pragma once

#include <string>

#include "Rng.h"

namespace bench::words {

// UTF-8 source text to the bytes the databases hold.
std::string cp(const std::string& utf8);

const std::string& firstName(Rng& r);
const std::string& surname(Rng& r);
const std::string& tradeName(Rng& r);  // "Çiçek", "Yıldız", ...
const std::string& trade(Rng& r);      // "Ticaret", "Gıda", ...
const std::string& city(Rng& r);
const std::string& district(Rng& r);
const std::string& street(Rng& r);
const std::string& taxOffice(Rng& r);
const std::string& product(Rng& r);
const std::string& productKind(Rng& r);
const std::string& unit(Rng& r);
const std::string& bank(Rng& r);
const std::string& note(Rng& r);  // a sentence of 30 to 70 characters
const std::string& staff(Rng& r);
const std::string& groupName(std::size_t i);  // distinct for the first dozen, then numbered by the caller
const std::string& subgroupName(std::size_t i);
const std::string& stockGroupName(std::size_t i);
// One of `items` (UTF-8), converted; for the short fixed vocabularies of single columns.
std::string oneOf(Rng& r, std::initializer_list<const char*> items);

// "Atatürk Cad. No:12 Kadıköy" and the like; `lines` parts separated by CR LF when above 1.
std::string address(Rng& r, int lines);
std::string phone(Rng& r);
// Cut to `width` bytes; Windows-1254 has one byte per character.
std::string fit(std::string s, std::size_t width);

}  // namespace bench::words
