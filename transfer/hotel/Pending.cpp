// Placeholder until the hotel transfer lands.
#include <stdexcept>

#include "transfer/Transfers.h"

namespace transfer {

void IBOtelBilgiAktar(Context&) { throw std::logic_error("IBOtelBilgiAktar"); }

}  // namespace transfer
