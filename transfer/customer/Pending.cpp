// Placeholders until the customer transfers land; each is removed as its routine is written.
#include <stdexcept>

#include "transfer/Transfers.h"

namespace transfer {

void IBCariAktar(Context&) { throw std::logic_error("IBCariAktar"); }
void BDECariAktar(Context&) { throw std::logic_error("BDECariAktar"); }
void IBCariGrupAktar(Context&) { throw std::logic_error("IBCariGrupAktar"); }
void BDECariGrupAktar(Context&) { throw std::logic_error("BDECariGrupAktar"); }

}  // namespace transfer
