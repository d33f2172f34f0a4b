// Stock groups, merged by name into the target; from the InterBase source with their sub-groups.
#include "transfer/Transfers.h"

namespace transfer {

void IBStokGrupAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    ctx.progressStart(dm.KayitSayisiAl("STOKGRUP", "BLSGKODU"), "Stok Grupları Aktarılıyor");
    db::Dataset& src = dm.SGrup4_Ds;
    db::Dataset& group = dm.SGrup5_Ds;
    db::Dataset& srcSub = dm.SGrup24_Ds;
    db::Dataset& sub = dm.SGrup25_Ds;
    for (src.first(); !src.eof();) {
        // The group found or written stays current: its sub-groups take its key and name from it.
        if (!group.locate("GRUP_ADI", src.value("GRUP_ADI"))) {
            group.append();
            group.set("GRUP_ADI", src.value("GRUP_ADI"));
            group.set("ACIKLAMA", src.value("ACIKLAMA"));
            group.post();
        }
        srcSub.close();
        srcSub.setSql({"SELECT * FROM STOKGRUP2", "WHERE BLSGKODU=?"}, {src.value("BLSGKODU")});
        srcSub.open();
        for (; !srcSub.eof(); srcSub.next()) {
            sub.append();
            sub.set("GRUP_ADI", srcSub.value("GRUP_ADI"));
            sub.set("ACIKLAMA", srcSub.value("ACIKLAMA"));
            sub.post();
            ctx.op.processMessages();
        }
        src.next();
        ctx.progressStep();
    }
}

void BDEStokGrupAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    db::paradox::Table& src = dm.SGrup_T;
    db::Dataset& group = dm.SGrup5_Ds;
    ctx.progressStart(src.recordCount(), "Stok Grupları Aktarılıyor");
    for (src.first(); !src.eof();) {
        if (!group.locate("GRUP_ADI", db::Value(src.asString("GRUPADI")))) {
            group.append();
            group.set("GRUP_ADI", src.asString("GRUPADI"));
            group.set("ACIKLAMA", src.asString("ACIKLAMA"));
            group.post();
        }
        src.next();
        ctx.progressStep();
    }
}

}  // namespace transfer
