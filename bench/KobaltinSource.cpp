// A Kobaltin DATA folder: sirket.DB and per company the Paradox tables of the old program.
#include <stdexcept>

#include "Source.h"

namespace bench {

Report writeKobaltin(const SourceOptions&) { throw std::runtime_error("the Paradox writer is not there yet"); }

}  // namespace bench
