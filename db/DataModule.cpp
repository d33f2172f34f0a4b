#include "db/DataModule.h"

#include <cstdio>

#include "db/Layouts.h"

namespace db {

namespace {

constexpr int kTarget = 1;
constexpr int kSource = 2;

}  // namespace

#define TARGET_DS(member, table) member(#member, kTarget, Mirkado5_DB, Mirkado5_Tr, table, insertColumns(table))
#define SOURCE_DS(member, table) member(#member, kSource, Mirkado4_DB, Mirkado4_Tr, table)

TDM::TDM()
    : TARGET_DS(Cari5_Ds, "CARI"),
      TARGET_DS(Stok5_Ds, "STOK"),
      TARGET_DS(Doviz5_Ds, "DOVIZ"),
      TARGET_DS(CariBk5_Ds, "CARIBK"),
      TARGET_DS(StDvz5_Ds, "STOKDVZ"),
      TARGET_DS(CGrup5_Ds, "CARIGRUP"),
      TARGET_DS(CGrup25_Ds, "CARIGRUP2"),
      TARGET_DS(SGrup5_Ds, "STOKGRUP"),
      TARGET_DS(SGrup25_Ds, "STOKGRUP2"),
      TARGET_DS(Folio5_Ds, "FOLIO"),
      TARGET_DS(FolioHrc5_Ds, "FOLIOHRC"),
      TARGET_DS(Kisi5_Ds, "KISI"),
      TARGET_DS(Musteri5_Ds, "MUSTERI"),
      TARGET_DS(OdaBakim5_Ds, "ODABAKIM"),
      TARGET_DS(OdaKayit5_Ds, "ODAKAYIT"),
      TARGET_DS(OdaTipi5_Ds, "ODATIPI"),
      TARGET_DS(OtelTarife5_Ds, "OTELTARIFE"),
      TARGET_DS(Rezervasyon5_Ds, "RESERVASYON"),
      TARGET_DS(Donem5_Ds, "DONEM"),
      SOURCE_DS(Cari4_Ds, "CARI"),
      SOURCE_DS(CariBk4_Ds, "CARIBK"),
      SOURCE_DS(Stok4_Ds, "STOK"),
      SOURCE_DS(StDvz4_Ds, "STOKDVZ"),
      SOURCE_DS(Doviz4_Ds, "DOVIZ"),
      SOURCE_DS(CGrup4_Ds, "CARIGRUP"),
      SOURCE_DS(SGrup4_Ds, "STOKGRUP"),
      SOURCE_DS(Folio4_Ds, "FOLIO"),
      SOURCE_DS(FolioHrc4_Ds, "FOLIOHRC"),
      SOURCE_DS(Kisi4_Ds, "KISI"),
      SOURCE_DS(Musteri4_Ds, "MUSTERI"),
      SOURCE_DS(OdaBakim4_Ds, "ODABAKIM"),
      SOURCE_DS(OdaKayit4_Ds, "ODAKAYIT"),
      SOURCE_DS(OdaTipi4_Ds, "ODATIPI"),
      SOURCE_DS(OtelTarife4_Ds, "OTELTARIFE"),
      SOURCE_DS(Rezervasyon4_Ds, "RESERVASYON"),
      SOURCE_DS(Donem4_Ds, "DONEM"),
      Sirket5_Ds("Sirket5_Ds", 0, Sirket5_DB, Sirket5_Tr, "SIRKET", insertColumns("SIRKET")),
      Yansitma_Ds("Yansitma_Ds", 0, Sirket5_DB, Sirket5_Tr, "MUH_YANSITMA"),
      Yans2_Ds("Yans2_Ds", 0, Sirket5_DB, Sirket5_Tr, "MUH_YANSITMA2", insertColumns("MUH_YANSITMA2")),
      SYili_Ds("SYili_Ds", 0, Sirket5_DB, Sirket5_Tr, "SIRKET_YIL", insertColumns("SIRKET_YIL")),
      Sirket4_Ds("Sirket4_Ds", 0, Sirket4_DB, Sirket4_Tr, "SIRKET"),
      CGrup24_Ds("CGrup24_Ds", 0, Mirkado4_DB, Mirkado4_Tr, "CARIGRUP2"),
      SGrup24_Ds("SGrup24_Ds", 0, Mirkado4_DB, Mirkado4_Tr, "STOKGRUP2"),
      CariHr4_Ds("CariHr4_Ds", 0, Mirkado4_DB, Mirkado4_Tr, "CARIHR"),
      Ayar4_Ds("Ayar4_Ds", 0, Mirkado4_DB, Mirkado4_Tr, "AYAR"),
      Topla_Q("Topla_Q", 0, Mirkado4_DB, Mirkado4_Tr, ""),
      CariHr5_Ds("CariHr5_Ds", 0, Mirkado5_DB, Mirkado5_Tr, "CARIHR", insertColumns("CARIHR")),
      StokHr5_Ds("StokHr5_Ds", 0, Mirkado5_DB, Mirkado5_Tr, "STOKHR", insertColumns("STOKHR")) {
    datasets_ = {&Cari5_Ds,     &Stok5_Ds,       &Doviz5_Ds,        &CariBk5_Ds,     &StDvz5_Ds,
                 &CGrup5_Ds,    &CGrup25_Ds,     &SGrup5_Ds,        &SGrup25_Ds,     &Folio5_Ds,
                 &FolioHrc5_Ds, &Kisi5_Ds,       &Musteri5_Ds,      &OdaBakim5_Ds,   &OdaKayit5_Ds,
                 &OdaTipi5_Ds,  &OtelTarife5_Ds, &Rezervasyon5_Ds,  &Donem5_Ds,      &Cari4_Ds,
                 &CariBk4_Ds,   &Stok4_Ds,       &StDvz4_Ds,        &Doviz4_Ds,      &CGrup4_Ds,
                 &SGrup4_Ds,    &Folio4_Ds,      &FolioHrc4_Ds,     &Kisi4_Ds,       &Musteri4_Ds,
                 &OdaBakim4_Ds, &OdaKayit4_Ds,   &OdaTipi4_Ds,      &OtelTarife4_Ds, &Rezervasyon4_Ds,
                 &Donem4_Ds,    &Sirket5_Ds,     &Yansitma_Ds,      &Yans2_Ds,       &SYili_Ds,
                 &Sirket4_Ds,   &CGrup24_Ds,     &SGrup24_Ds,       &CariHr4_Ds,     &Ayar4_Ds,
                 &CariHr5_Ds,   &StokHr5_Ds};
    tables_ = {&Sirket_T, &Cari_T, &Stok_T, &Doviz_T, &CGrup_T, &SGrup_T, &Ayar_T};

    Cari5_Ds.beforePost = [this](Dataset& ds) { Cari5_DsBeforePost(ds); };
    Stok5_Ds.beforePost = [this](Dataset& ds) { Stok5_DsBeforePost(ds); };
    Doviz5_Ds.beforePost = [this](Dataset& ds) { Doviz5_DsBeforePost(ds); };
    Sirket5_Ds.beforePost = [this](Dataset& ds) { Sirket5_DsBeforePost(ds); };
    CariBk5_Ds.beforePost = [this](Dataset& ds) { CariBk5_DsBeforePost(ds); };
    StDvz5_Ds.beforePost = [this](Dataset& ds) { StDvz5_DsBeforePost(ds); };
    Yans2_Ds.beforePost = [this](Dataset& ds) { Yans2_DsBeforePost(ds); };
    SYili_Ds.beforePost = [this](Dataset& ds) { SYili_DsBeforePost(ds); };
    CGrup5_Ds.beforePost = [this](Dataset& ds) { CGrup5_DsBeforePost(ds); };
    CGrup25_Ds.beforePost = [this](Dataset& ds) { CGrup25_DsBeforePost(ds); };
    SGrup5_Ds.beforePost = [this](Dataset& ds) { SGrup5_DsBeforePost(ds); };
    SGrup25_Ds.beforePost = [this](Dataset& ds) { SGrup25_DsBeforePost(ds); };
    CariHr5_Ds.beforePost = [this](Dataset& ds) { CariHr5_DsBeforePost(ds); };
    StokHr5_Ds.beforePost = [this](Dataset& ds) { StokHr5_DsBeforePost(ds); };
}

#undef TARGET_DS
#undef SOURCE_DS

TDM::~TDM() {
    // Connections close while their datasets still exist; closing commits, as at any program end.
    for (Connection* c : {&Sirket4_DB, &Sirket5_DB, &Mirkado4_DB, &Mirkado5_DB}) {
        try {
            c->close();
        } catch (...) {
        }
    }
}

void TDM::reopenGroup(int tag) {
    for (Dataset* ds : datasets_) {
        if (ds->tag() != tag) continue;
        ds->close();
        ds->open();
    }
}

void TDM::closeAll() {
    Sirket4_DB.close();
    Sirket5_DB.close();
    Mirkado4_DB.close();
    Mirkado5_DB.close();
}

std::int32_t TDM::allocate(Connection& db, Transaction& tr, std::int64_t value, const std::string& name) {
    try {
        char sql[256];
        std::snprintf(sql, sizeof sql, "SELECT GEN_ID(%s, %lld) FROM RDB$DATABASE", name.c_str(),
                      static_cast<long long>(value));
        // The allocation transaction stays running: generator values are outside transaction control, so
        // keys come out the same as with a transaction per key, at a fraction of the cost.
        auto stmt = db.prepare(sql, tr);
        std::vector<Value> row;
        stmt->execute(tr.handle(), {}, &row);
        if (row.empty()) return -1;
        return asInteger(row[0]);
    } catch (...) {
        return -1;
    }
}

std::int32_t TDM::NewKodu(std::int64_t value, const std::string& name) {
    return allocate(Mirkado5_DB, GeneratorTr, value, name);
}

std::int32_t TDM::NewKodu2(std::int64_t value, const std::string& name) {
    return allocate(Sirket5_DB, NewKodu_Tr, value, name);
}

std::int32_t TDM::Mirkado4GenValue(const std::string& name) {
    Topla_Q.close();
    Topla_Q.setSql({"SELECT GEN_ID(" + name + " ,0) FROM RDB$DATABASE"});
    Topla_Q.open();
    std::int32_t v = asInteger(Topla_Q.value(std::size_t{0}));
    Topla_Q.close();
    return v;
}

std::int32_t TDM::KayitSayisiAl(const std::string& table, const std::string& column) {
    try {
        const bool started = !KS_Tr.active();
        auto stmt = Mirkado4_DB.prepare("SELECT COUNT(" + column + ") FROM " + table, KS_Tr);
        std::vector<Value> row;
        stmt->execute(KS_Tr.handle(), {}, &row);
        if (started) KS_Tr.commit();
        if (row.empty()) return -1;
        return asInteger(row[0]);
    } catch (...) {
        try {
            if (KS_Tr.active()) KS_Tr.commit();
        } catch (...) {
        }
        return -1;
    }
}

void TDM::stamp(Dataset& ds, const char* key, std::int32_t (TDM::*allocator)(std::int64_t, const std::string&),
                const char* generator, int step) {
    if (ds.isNull(key)) ds.set(key, static_cast<double>((this->*allocator)(step, generator)));
}

void TDM::Cari5_DsBeforePost(Dataset& ds) { stamp(ds, "BLCRKODU", &TDM::NewKodu, "CARI_GEN", 1); }
void TDM::Stok5_DsBeforePost(Dataset& ds) { stamp(ds, "BLSTKODU", &TDM::NewKodu, "STOK_GEN", 1); }
void TDM::Doviz5_DsBeforePost(Dataset& ds) { stamp(ds, "BLDVKODU", &TDM::NewKodu, "DOVIZ_GEN", 1); }
void TDM::Sirket5_DsBeforePost(Dataset& ds) { stamp(ds, "BLSIRKETKODU", &TDM::NewKodu2, "SIRKET_GEN", 1); }

void TDM::CariBk5_DsBeforePost(Dataset& ds) {
    stamp(ds, "BLBKKODU", &TDM::NewKodu, "CARIBK_GEN", 1);
    ds.set("BLCRKODU", Cari5_Ds.value("BLCRKODU"));
}

void TDM::StDvz5_DsBeforePost(Dataset& ds) {
    stamp(ds, "BLSDKODU", &TDM::NewKodu, "STOKDV_GEN", 1);
    ds.set("BLSTKODU", Stok5_Ds.value("BLSTKODU"));
}

void TDM::Yans2_DsBeforePost(Dataset& ds) {
    stamp(ds, "BLMYKODU", &TDM::NewKodu2, "MUH_YANSITMA_GEN", 2);
    ds.set("BLSRKODU", Sirket5_Ds.value("BLSIRKETKODU"));
}

void TDM::SYili_DsBeforePost(Dataset& ds) {
    stamp(ds, "BLSYKODU", &TDM::NewKodu2, "SIRKET_YIL_GEN", 1);
    ds.set("BLSRKODU", Sirket5_Ds.value("BLSIRKETKODU"));
}

void TDM::CGrup5_DsBeforePost(Dataset& ds) { stamp(ds, "BLCGKODU", &TDM::NewKodu, "CARIGRUP_GEN", 1); }

void TDM::CGrup25_DsBeforePost(Dataset& ds) {
    stamp(ds, "BLC2KODU", &TDM::NewKodu, "CARIGRUP2_GEN", 1);
    ds.set("BLCGKODU", CGrup5_Ds.value("BLCGKODU"));
    ds.set("GRUP_ADI2", CGrup5_Ds.value("GRUP_ADI"));
}

void TDM::SGrup5_DsBeforePost(Dataset& ds) { stamp(ds, "BLSGKODU", &TDM::NewKodu, "STOKGRUP_GEN", 1); }

void TDM::SGrup25_DsBeforePost(Dataset& ds) {
    stamp(ds, "BLS2KODU", &TDM::NewKodu, "STOKGRUP2_GEN", 1);
    ds.set("BLSGKODU", SGrup5_Ds.value("BLSGKODU"));
    ds.set("GRUP_ADI2", SGrup5_Ds.value("GRUP_ADI"));
}

void TDM::CariHr5_DsBeforePost(Dataset& ds) { stamp(ds, "BLCHKODU", &TDM::NewKodu, "CARIHR_GEN", 1); }
void TDM::StokHr5_DsBeforePost(Dataset& ds) { stamp(ds, "BLSHKODU", &TDM::NewKodu, "STOKHR_GEN", 1); }

}  // namespace db
