// Customer groups, merged by name into the target; from the InterBase source with their sub-groups.
#include "transfer/Groups.h"
#include "transfer/Transfers.h"

namespace transfer {

void IBCariGrupAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    copyGroups(ctx, {dm.CGrup4_Ds, dm.CGrup5_Ds, dm.CGrup24_Ds, dm.CGrup25_Ds, "CARIGRUP2", "BLCGKODU"},
               dm.KayitSayisiAl("CARIGRUP", "BLCGKODU"), "Cari Grupları Aktarılıyor");
}

void BDECariGrupAktar(Context& ctx) { copyParadoxGroups(ctx, ctx.dm.CGrup_T, ctx.dm.CGrup5_Ds, "Cari Grupları Aktarılıyor"); }

}  // namespace transfer
