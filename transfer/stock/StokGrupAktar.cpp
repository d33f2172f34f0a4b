// Stock groups, merged by name into the target; from the InterBase source with their sub-groups.
#include "transfer/Groups.h"
#include "transfer/Transfers.h"

namespace transfer {

void IBStokGrupAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    copyGroups(ctx, {dm.SGrup4_Ds, dm.SGrup5_Ds, dm.SGrup24_Ds, dm.SGrup25_Ds, "STOKGRUP2", "BLSGKODU"},
               dm.KayitSayisiAl("STOKGRUP", "BLSGKODU"), "Stok Grupları Aktarılıyor");
}

void BDEStokGrupAktar(Context& ctx) { copyParadoxGroups(ctx, ctx.dm.SGrup_T, ctx.dm.SGrup5_Ds, "Stok Grupları Aktarılıyor"); }

}  // namespace transfer
