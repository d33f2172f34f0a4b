// Placeholders until the stock and currency transfers land; each is removed as its routine is written.
#include <stdexcept>

#include "transfer/Transfers.h"

namespace transfer {

void IBStokAktar(Context&) { throw std::logic_error("IBStokAktar"); }
void BDEStokAktar(Context&) { throw std::logic_error("BDEStokAktar"); }
void IBStokGrupAktar(Context&) { throw std::logic_error("IBStokGrupAktar"); }
void BDEStokGrupAktar(Context&) { throw std::logic_error("BDEStokGrupAktar"); }
void IBDovizAktar(Context&) { throw std::logic_error("IBDovizAktar"); }
void BDEDovizAktar(Context&) { throw std::logic_error("BDEDovizAktar"); }

}  // namespace transfer
