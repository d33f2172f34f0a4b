// Customer groups. A first-level group is known by its exact name: one that the target already holds is not
// written again, and the sub-groups of the source group are attached to it.
#include <string>

#include "transfer/Transfers.h"

namespace transfer {

void IBCariGrupAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    ctx.progressStart(dm.KayitSayisiAl("CARIGRUP", "BLCGKODU"), "Cari Grupları Aktarılıyor");
    db::Dataset& src = dm.CGrup4_Ds;
    db::Dataset& group = dm.CGrup5_Ds;
    db::Dataset& subSrc = dm.CGrup24_Ds;
    db::Dataset& sub = dm.CGrup25_Ds;
    for (src.first(); !src.eof();) {
        if (!group.locate("GRUP_ADI", src.value("GRUP_ADI"))) {
            group.append();
            group.set("GRUP_ADI", src.value("GRUP_ADI"));
            group.set("ACIKLAMA", src.value("ACIKLAMA"));
            group.post();
        }
        // CGrup5_Ds now stands on the group, found or new; posting a sub-group links it there.
        subSrc.setSql({"SELECT * FROM CARIGRUP2", "WHERE BLCGKODU=?"}, {src.value("BLCGKODU")});
        subSrc.open();
        for (; !subSrc.eof(); subSrc.next()) {
            sub.append();
            sub.set("GRUP_ADI", subSrc.value("GRUP_ADI"));
            sub.set("ACIKLAMA", subSrc.value("ACIKLAMA"));
            sub.post();
            ctx.op.processMessages();
        }
        ctx.progressStep();
        src.next();
    }
}

void BDECariGrupAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    db::paradox::Table& src = dm.CGrup_T;
    db::Dataset& group = dm.CGrup5_Ds;
    ctx.progressStart(src.recordCount(), "Cari Grupları Aktarılıyor");
    for (src.first(); !src.eof();) {
        const std::string name = src.asString("GRUPADI");
        if (!group.locate("GRUP_ADI", name)) {
            group.append();
            group.set("GRUP_ADI", name);
            group.set("ACIKLAMA", src.asString("ACIKLAMA"));
            group.post();
        }
        ctx.progressStep();
        src.next();
    }
}

}  // namespace transfer
