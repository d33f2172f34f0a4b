// Plausible values for a column known only by its name and type: the hotel tables of the generated source
// and the rows of the insert floor are filled this way.
#pragma once

#include <cstdint>

#include "Rng.h"
#include "db/fb/Firebird.h"

namespace bench {

// A value that fits the column; texts lean on the column name (ADI gets a first name, IL a city, ...), so
// the rows read like an old hotel's.
db::Value plausibleValue(const db::fb::Column& c, Rng& r, std::int64_t row);

}  // namespace bench
