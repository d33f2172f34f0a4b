// Writers of generated old installations: a Mirkado 4 DATA folder (InterBase databases) or a Kobaltin one
// (Paradox tables), from the same business (Model.h).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Model.h"

namespace bench {

struct WrittenTable {
    std::string database;  // relative to the DATA folder
    std::string table;
    std::int64_t rows = 0;
};
using Report = std::vector<WrittenTable>;

// Creates o.source (which must not hold a registry yet) and fills it.
Report writeMirkado(const SourceOptions& o);
Report writeKobaltin(const SourceOptions& o);

// The ten hotel tables with their key column and generator, in the order the upgrade copies them.
struct HotelTable {
    const char *table, *key, *generator;
};
extern const HotelTable kHotelTables[10];

}  // namespace bench
