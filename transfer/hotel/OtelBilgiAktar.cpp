// Hotel data of the InterBase source. Rows keep their keys, so the references between the hotel tables
// (a folio's reservation, a maintenance record's room) still hold; the target generators then move past them.
#include "db/Layouts.h"
#include "transfer/Transfers.h"

namespace transfer {

namespace {

struct HotelTable {
    db::Dataset db::TDM::*source;
    db::Dataset db::TDM::*target;
    const char* counted;
    const char* generator;
    const char* text;
};

// The old program's order; it does not follow the references between the tables.
const HotelTable kTables[] = {
    {&db::TDM::Folio4_Ds, &db::TDM::Folio5_Ds, "BLFLKODU", "FOLIO_GEN", "Otel Folioları Aktarılıyor"},
    {&db::TDM::FolioHrc4_Ds, &db::TDM::FolioHrc5_Ds, "BLFHRCKODU", "FOLIOHRC_GEN", "Folio Harcamaları Aktarılıyor"},
    {&db::TDM::Kisi4_Ds, &db::TDM::Kisi5_Ds, "BLKISIKODU", "KISI_GEN", "Odada Kalanlar Aktarılıyor"},
    {&db::TDM::Musteri4_Ds, &db::TDM::Musteri5_Ds, "BILMUSKODU", "MUSTERI_GEN", "Müşteri Kartları Aktarılıyor"},
    {&db::TDM::OdaBakim4_Ds, &db::TDM::OdaBakim5_Ds, "BLOBKODU", "ODABAKIM_GEN", "Oda Bakım Kayıtları Aktarılıyor"},
    {&db::TDM::OdaKayit4_Ds, &db::TDM::OdaKayit5_Ds, "BLODAKODU", "ODAKAYIT_GEN", "Oda Kayıtları Aktarılıyor"},
    {&db::TDM::OdaTipi4_Ds, &db::TDM::OdaTipi5_Ds, "BLTIPKODU", "ODATIPI_GEN", "Oda Tipleri Aktarılıyor"},
    {&db::TDM::OtelTarife4_Ds, &db::TDM::OtelTarife5_Ds, "BLOTTRKODU", "OTELTARIFE_GEN", "Oda Tarifeleri Aktarılıyor"},
    {&db::TDM::Rezervasyon4_Ds, &db::TDM::Rezervasyon5_Ds, "BLRZVKODU", "REZERVASYON_GEN",
     "Otel Rezervasyonları Aktarılıyor"},
    {&db::TDM::Donem4_Ds, &db::TDM::Donem5_Ds, "BLDNMKODU", "DONEM_GEN", "Otel Dönemleri Aktarılıyor"},
};

}  // namespace

void IBOtelBilgiAktar(Context& ctx) {
    db::TDM& dm = ctx.dm;
    for (const HotelTable& t : kTables) {
        db::Dataset& src = dm.*t.source;
        db::Dataset& dst = dm.*t.target;
        ctx.progressStart(dm.KayitSayisiAl(src.table(), t.counted), t.text);
        const auto& layout = db::insertColumns(dst.table());
        for (src.first(); !src.eof();) {
            dst.append();
            for (const auto& column : layout)
                if (src.hasColumn(column) && dst.hasColumn(column)) dst.set(column, src.value(column));
            dst.post();
            src.next();
            ctx.progressStep();
        }
        dm.NewKodu(dm.Mirkado4GenValue(t.generator), t.generator);
    }
}

}  // namespace transfer
