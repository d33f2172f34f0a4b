// Currency units with their rates. Every source row becomes a target row: a symbol quoted on several dates
// keeps all its rates.
#include "db/Conversions.h"
#include "transfer/Transfers.h"

namespace transfer {

void IBDovizAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    ctx.progressStart(dm.KayitSayisiAl("DOVIZ", "BLDVKODU"), "Döviz Birimleri Aktarılıyor");
    db::Dataset& src = dm.Doviz4_Ds;
    db::Dataset& dst = dm.Doviz5_Ds;
    for (src.first(); !src.eof();) {
        dst.append();
        dst.copyByName(src, {"BLDVKODU"});
        dst.post();
        src.next();
        ctx.progressStep();
    }
}

void BDEDovizAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    db::paradox::Table& src = dm.Doviz_T;
    db::Dataset& dst = dm.Doviz5_Ds;
    ctx.progressStart(src.recordCount(), "Döviz Birimleri Aktarılıyor");
    for (src.first(); !src.eof();) {
        dst.append();
        dst.set("SIMGE", src.asString("SIMGE"));
        // A rate without a date keeps none; day zero would pass for a real, very old rate.
        const auto date = src.asDate("TARIH");
        dst.set("TARIH", date ? db::Value(*date) : db::kNull);
        dst.set("DOVIZ", src.asString("DOVIZ"));
        const std::string description = src.asString("ACIKLAMA");
        dst.set("ACIKLAMA1", db::MemoTemizle(db::slice(description, 1, 60)));
        dst.set("ACIKLAMA2", db::MemoTemizle(db::slice(description, 61, 160)));  // cut to the column's 60
        dst.set("ALIS", src.asFloat("ALIS"));
        dst.set("SATIS", src.asFloat("SATIS"));
        dst.set("OZEL_KODU", src.asString("OZELKOD"));
        dst.set("KAYDEDEN", ctx.personel);
        dst.set("GUNLUKKUR", src.asBoolean("GUNLUKKUR") ? "1" : "0");
        dst.post();
        src.next();
        ctx.progressStep();
    }
}

}  // namespace transfer
