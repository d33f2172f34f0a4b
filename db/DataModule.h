// The data module DM: every connection, transaction, dataset and Paradox table of the program, for its whole
// life, with the key-stamping handlers and the generator routines.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "db/Connection.h"
#include "db/Dataset.h"
#include "db/paradox/Table.h"

namespace db {

class TDM {
public:
    TDM();
    ~TDM();
    TDM(const TDM&) = delete;
    TDM& operator=(const TDM&) = delete;

    // Connections.
    Connection Sirket5_DB{"Sirket5_DB"};
    Connection Sirket4_DB{"Sirket4_DB"};
    Connection Mirkado5_DB{"Mirkado5_DB"};
    Connection Mirkado4_DB{"Mirkado4_DB"};

    // Transactions.
    Transaction Sirket5_Tr{"Sirket5_Tr", Sirket5_DB};
    Transaction NewKodu_Tr{"NewKodu_Tr", Sirket5_DB};
    Transaction Sirket4_Tr{"Sirket4_Tr", Sirket4_DB};
    Transaction Mirkado5_Tr{"Mirkado5_Tr", Mirkado5_DB};
    Transaction GeneratorTr{"GeneratorTr", Mirkado5_DB};
    Transaction Mirkado4_Tr{"Mirkado4_Tr", Mirkado4_DB};
    Transaction KS_Tr{"KS_Tr", Mirkado4_DB};

    // Target company datasets (Tag 1), in the data module's order.
    Dataset Cari5_Ds, Stok5_Ds, Doviz5_Ds, CariBk5_Ds, StDvz5_Ds, CGrup5_Ds, CGrup25_Ds, SGrup5_Ds, SGrup25_Ds,
        Folio5_Ds, FolioHrc5_Ds, Kisi5_Ds, Musteri5_Ds, OdaBakim5_Ds, OdaKayit5_Ds, OdaTipi5_Ds, OtelTarife5_Ds,
        Rezervasyon5_Ds, Donem5_Ds;
    // Source company datasets (Tag 2).
    Dataset Cari4_Ds, CariBk4_Ds, Stok4_Ds, StDvz4_Ds, Doviz4_Ds, CGrup4_Ds, SGrup4_Ds, Folio4_Ds, FolioHrc4_Ds,
        Kisi4_Ds, Musteri4_Ds, OdaBakim4_Ds, OdaKayit4_Ds, OdaTipi4_Ds, OtelTarife4_Ds, Rezervasyon4_Ds, Donem4_Ds;
    // Tag 0: opened by the routines that use them.
    Dataset Sirket5_Ds, Yansitma_Ds, Yans2_Ds, SYili_Ds;  // target registry
    Dataset Sirket4_Ds;                                   // source registry
    Dataset CGrup24_Ds, SGrup24_Ds, CariHr4_Ds, Ayar4_Ds;  // source company
    Dataset Topla_Q;                                      // source company, statement set by its user
    Dataset CariHr5_Ds, StokHr5_Ds;                       // target company

    // Paradox tables.
    paradox::Table Sirket_T{"Sirket_T", "sirket.DB", 1};
    paradox::Table Cari_T{"Cari_T", "Cari.DB", 0};
    paradox::Table Stok_T{"Stok_T", "Stok.DB", 0};
    paradox::Table Doviz_T{"Doviz_T", "doviz.DB", 0};
    paradox::Table CGrup_T{"CGrup_T", "c_grup.DB", 0};
    paradox::Table SGrup_T{"SGrup_T", "s_grup.DB", 0};
    paradox::Table Ayar_T{"Ayar_T", "ayar.DB", 0};

    // Every client-database dataset (Topla_Q excluded), in the data module's order.
    const std::vector<Dataset*>& datasets() const { return datasets_; }
    const std::vector<paradox::Table*>& tables() const { return tables_; }
    // Closes and opens again every dataset of the group, in order.
    void reopenGroup(int tag);

    // Advances generator `name` of the target company database by `value` and returns the new value; -1 on
    // any failure, which is swallowed. GeneratorTr stays running across calls and ends with its connection.
    std::int32_t NewKodu(std::int64_t value, const std::string& name);
    // The same on the target registry, in NewKodu_Tr.
    std::int32_t NewKodu2(std::int64_t value, const std::string& name);
    // Current value of a generator of the source company database, unchanged. Errors propagate.
    std::int32_t Mirkado4GenValue(const std::string& name);
    // Rows of `table` in the source company database whose `column` holds a value; -1 on any failure.
    std::int32_t KayitSayisiAl(const std::string& table, const std::string& column);

    // Key stamping, run before each write of their dataset.
    void Cari5_DsBeforePost(Dataset& ds);
    void Stok5_DsBeforePost(Dataset& ds);
    void Doviz5_DsBeforePost(Dataset& ds);
    void Sirket5_DsBeforePost(Dataset& ds);
    void CariBk5_DsBeforePost(Dataset& ds);
    void StDvz5_DsBeforePost(Dataset& ds);
    void Yans2_DsBeforePost(Dataset& ds);
    void SYili_DsBeforePost(Dataset& ds);
    void CGrup5_DsBeforePost(Dataset& ds);
    void CGrup25_DsBeforePost(Dataset& ds);
    void SGrup5_DsBeforePost(Dataset& ds);
    void SGrup25_DsBeforePost(Dataset& ds);
    void CariHr5_DsBeforePost(Dataset& ds);
    void StokHr5_DsBeforePost(Dataset& ds);

    // Closes the four connections in the order the main window does when it is first shown.
    void closeAll();

private:
    std::int32_t allocate(Connection& db, Transaction& tr, std::int64_t value, const std::string& name);
    void stamp(Dataset& ds, const char* key, std::int32_t (TDM::*allocator)(std::int64_t, const std::string&),
               const char* generator, int step);
    std::vector<Dataset*> datasets_;
    std::vector<paradox::Table*> tables_;
};

}  // namespace db
