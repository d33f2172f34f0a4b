// The transfer routines, named as the old program named them. IB… reads the InterBase source (Mirkado 4),
// BDE… the Paradox source (Kobaltin).
#pragma once

#include "transfer/Context.h"

namespace transfer {

// Company registration (registry rows, year folders, template copies).
bool IBSirketAktar(Context& ctx);
bool BDESirketAktar(Context& ctx);

// Customers.
void IBCariAktar(Context& ctx);
void BDECariAktar(Context& ctx);
void IBCariGrupAktar(Context& ctx);
void BDECariGrupAktar(Context& ctx);

// Customer opening entries: the source kind decides the rate table and the settings flag.
enum class Source { InterBase, Paradox };
void CariDevirDoldur(Context& ctx);
void CariDovizKuruAl(Context& ctx, Source source);
void CariHrTutarDagit(Context& ctx, Source source);
enum class EntryKind { LocalDebit, LocalCredit, CurrencyDebit, CurrencyCredit };
// Appends, fills and posts one opening entry of `kind` for the card current in Cari5_Ds.
void CariDevirEkle(Context& ctx, Source source, EntryKind kind, double amount, const std::string& currency = {});

// Stock and currencies.
void IBStokAktar(Context& ctx);
void BDEStokAktar(Context& ctx);
void IBStokGrupAktar(Context& ctx);
void BDEStokGrupAktar(Context& ctx);
void IBDovizAktar(Context& ctx);
void BDEDovizAktar(Context& ctx);

// Stock opening entries.
void StokDevirDoldur(Context& ctx);
void StokHrMiktarDagit(Context& ctx, bool foreignCurrencySetting);
void StokDovizKuruAl(Context& ctx);

// Hotel data (InterBase source only).
void IBOtelBilgiAktar(Context& ctx);

}  // namespace transfer
