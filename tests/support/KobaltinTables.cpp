#include "KobaltinTables.h"

#include <filesystem>
#include <stdexcept>

#include "ParadoxWriter.h"

namespace testsupport::kobaltin {

namespace {

using T = db::paradox::FieldType;

std::vector<FieldSpec> spare(const std::vector<FieldSpec>& head, bool withDates = true) {
    std::vector<FieldSpec> f = head;
    for (const char* n : {"LOJIK1", "LOJIK2", "LOJIK3", "LOJIK4"}) f.push_back({n, T::Logical, 0});
    for (const char* n : {"NUMBER1", "NUMBER2", "NUMBER3", "NUMBER4"}) f.push_back({n, T::Number, 0});
    if (withDates)
        for (const char* n : {"DATE1", "DATE2"}) f.push_back({n, T::Date, 0});
    return f;
}

const std::map<std::string, std::vector<FieldSpec>>& layouts() {
    static const std::map<std::string, std::vector<FieldSpec>> all = [] {
        std::map<std::string, std::vector<FieldSpec>> m;
        auto sirket = spare({{"SIRKET_KOD", T::Alpha, 8},  {"KURULUSTAR", T::Date, 0}, {"KAYITTARIHI", T::Date, 0},
                             {"KISA_AD", T::Alpha, 30},    {"UNVAN", T::Alpha, 50},    {"YETKILI", T::Alpha, 40},
                             {"VDAIRESI", T::Alpha, 20},   {"VERGINO", T::Alpha, 20},  {"ADRES", T::Memo, 110},
                             {"TEL1", T::Alpha, 20},       {"FAX", T::Alpha, 20},      {"EMAIL", T::Alpha, 50},
                             {"NOT", T::Memo, 210},        {"LOGO", T::Alpha, 100},    {"BANKANO1", T::Alpha, 50},
                             {"BANKANO2", T::Alpha, 50},   {"BANKANO3", T::Alpha, 50}, {"TEL2", T::Alpha, 20},
                             {"WEB", T::Alpha, 75}});
        for (auto f : std::vector<FieldSpec>{{"ALPHA1", T::Alpha, 10}, {"ALPHA2", T::Alpha, 10}, {"ALPHA3", T::Alpha, 30},
                                             {"ALPHA4", T::Alpha, 30}, {"ALPHA5", T::Alpha, 50}})
            sirket.push_back(f);
        m["sirket.DB"] = sirket;

        std::vector<FieldSpec> cari = {
            {"BCRKOD", T::AutoInc, 0}, {"CARIKODU", T::Alpha, 30}, {"GRUBU", T::Alpha, 15}, {"OZKOD", T::Alpha, 15},
            {"K_TARIH", T::Date, 0},   {"AD", T::Alpha, 20},       {"SOYAD", T::Alpha, 20}, {"UNVAN", T::Alpha, 50},
            {"VERGINO", T::Alpha, 20}, {"VDAIRE", T::Alpha, 20},   {"MUHSBKOD", T::Alpha, 15},
            {"ISKONTO", T::Logical, 0}, {"ISKORAN", T::Number, 0}, {"TEL1", T::Alpha, 20}, {"TEL2", T::Alpha, 20},
            {"CEPTEL", T::Alpha, 20},  {"FAX", T::Alpha, 20},      {"EMAIL", T::Alpha, 50}, {"ICQNO", T::Alpha, 20},
            {"WEB", T::Alpha, 50},     {"NOT", T::Memo, 210},      {"ADRES", T::Memo, 110}, {"RESIM", T::Alpha, 100}};
        for (const char* fam : {"KD", "KH", "KT", "DD", "DH", "DT"}) {
            for (const char* side : {"BRC", "ALC", "BKY"})
                cari.push_back({std::string(fam) + side, T::Number, 0});
            cari.push_back({std::string(fam) + "BTR", T::Alpha, 6});
        }
        for (auto f : std::vector<FieldSpec>{{"DVZKUL", T::Logical, 0}, {"DVZBRM", T::Alpha, 4}, {"KLIMKPB", T::Number, 0},
                                             {"KLIMDVZ", T::Number, 0}, {"KLIMUYAR", T::Logical, 0}, {"EVTEL", T::Alpha, 20},
                                             {"KKART1", T::Alpha, 40}, {"KKART2", T::Alpha, 40}, {"TAKKART", T::Alpha, 40}})
            cari.push_back(f);
        cari = spare(cari);
        for (auto f : std::vector<FieldSpec>{{"ALPHA1", T::Alpha, 10}, {"ALPHA2", T::Alpha, 10}, {"ALPHA3", T::Alpha, 30},
                                             {"ALPHA4", T::Alpha, 30}, {"ALPHA5", T::Alpha, 50}})
            cari.push_back(f);
        m["Cari.DB"] = cari;

        std::vector<FieldSpec> stok = {
            {"BSTKOD", T::AutoInc, 0},  {"STOKKODU", T::Alpha, 30},  {"OZKOD", T::Alpha, 15},  {"GRUPAD", T::Alpha, 15},
            {"CINS", T::Alpha, 50},     {"BIRIM", T::Alpha, 15},     {"KDV", T::Number, 0},    {"AISK", T::Logical, 0},
            {"SISK", T::Logical, 0},    {"AISKORN", T::Number, 0},   {"SISKORN", T::Number, 0},
            {"MUHKODALIS", T::Alpha, 15}, {"MUHKODSATIS", T::Alpha, 15}, {"ACIKLAMA", T::Alpha, 200},
            {"RESIM", T::Alpha, 100},   {"KALF", T::Number, 0},      {"KSAT1", T::Number, 0},  {"KSAT2", T::Number, 0},
            {"KSAT3", T::Number, 0},    {"KSAT4", T::Number, 0},     {"DALF", T::Number, 0},   {"DSAT1", T::Number, 0},
            {"DSAT2", T::Number, 0},    {"DSAT3", T::Number, 0},     {"DSAT4", T::Number, 0},  {"MIKDEV", T::Number, 0},
            {"MIKGIR", T::Number, 0},   {"MIKCIK", T::Number, 0},    {"MIKKAL", T::Number, 0}, {"TUTDEV", T::Number, 0},
            {"TUTGIR", T::Number, 0},   {"TUTCIK", T::Number, 0},    {"TUTKAL", T::Number, 0}, {"DOVDEV", T::Number, 0},
            {"DOVGIR", T::Number, 0},   {"DOVCIK", T::Number, 0},    {"DOVKAL", T::Number, 0}, {"KTARIH", T::Date, 0},
            {"DVZKUL", T::Logical, 0},  {"DVZBRM", T::Alpha, 4},     {"UYARI", T::Alpha, 30},  {"MIN", T::Number, 0},
            {"MAX", T::Number, 0},      {"IMALTAR", T::Date, 0},     {"SONTAR", T::Date, 0},   {"SKUYARI", T::Logical, 0},
            {"DEPONO", T::Alpha, 15},   {"RAFNO", T::Alpha, 15},     {"YERNO", T::Alpha, 15}};
        stok = spare(stok);
        for (auto f : std::vector<FieldSpec>{{"ALPHA1", T::Alpha, 10}, {"ALPHA2", T::Alpha, 10}, {"ALPHA3", T::Alpha, 30},
                                             {"ALPHA4", T::Alpha, 30}, {"ALPHA5", T::Alpha, 50}})
            stok.push_back(f);
        m["Stok.DB"] = stok;

        auto doviz = spare({{"BDVKOD", T::AutoInc, 0}, {"SIMGE", T::Alpha, 4}, {"TARIH", T::Date, 0},
                            {"DOVIZ", T::Alpha, 20}, {"ACIKLAMA", T::Alpha, 100}, {"GUNLUKKUR", T::Logical, 0},
                            {"ALIS", T::Number, 0}, {"SATIS", T::Number, 0}, {"OZELKOD", T::Alpha, 15}});
        for (auto f : std::vector<FieldSpec>{{"ALPHA1", T::Alpha, 10}, {"ALPHA2", T::Alpha, 30}, {"ALPHA3", T::Alpha, 50}})
            doviz.push_back(f);
        m["doviz.DB"] = doviz;

        m["c_grup.DB"] = {{"BCGKOD", T::AutoInc, 0}, {"GRUPADI", T::Alpha, 15}, {"ACIKLAMA", T::Alpha, 50},
                          {"LOJIK", T::Logical, 0},  {"NUMBER", T::Number, 0},  {"DATE", T::Date, 0},
                          {"ALPHA1", T::Alpha, 10},  {"ALPHA2", T::Alpha, 30},  {"ALPHA3", T::Alpha, 50}};
        m["s_grup.DB"] = {{"BSGKOD", T::AutoInc, 0}, {"GRUPADI", T::Alpha, 15}, {"ACIKLAMA", T::Alpha, 50},
                          {"LOJIK", T::Logical, 0},  {"NUMBER", T::Number, 0},  {"ALPHA1", T::Alpha, 10},
                          {"ALPHA2", T::Alpha, 30},  {"ALPHA3", T::Alpha, 50},  {"DATE", T::Date, 0}};
        m["ayar.DB"] = {{"CRNO", T::Number, 0}, {"STNO", T::Number, 0}, {"DVZKUL", T::Logical, 0},
                        {"FIRMA", T::Alpha, 30}, {"KDV", T::Number, 0}};
        return m;
    }();
    return all;
}

}  // namespace

const std::vector<FieldSpec>& layout(const std::string& file) {
    auto it = layouts().find(file);
    if (it == layouts().end()) throw std::invalid_argument("no Kobaltin table " + file);
    return it->second;
}

std::string writeFields(const std::string& folder, const std::string& file, const Fields& fields,
                        const std::vector<Record>& rows, int codePage) {
    ParadoxWriter w;
    for (const auto& [name, type] : fields) w.field(name, type.first, type.second);
    for (const auto& r : rows) {
        for (const auto& [name, value] : r) {
            bool known = false;
            for (const auto& f : fields) known = known || name == f.first;
            if (!known) throw std::invalid_argument(file + " has no field " + name);
        }
        std::vector<db::Value> values;
        for (const auto& f : fields) {
            auto it = r.find(f.first);
            values.push_back(it == r.end() ? db::kNull : it->second);
        }
        w.row(values);
    }
    std::filesystem::create_directories(folder);
    return w.write(folder, file, codePage);
}

std::string writeTable(const std::string& folder, const std::string& file, const std::vector<Record>& rows,
                       int codePage) {
    Fields fields;
    for (const auto& f : layout(file)) fields.push_back({f.name, {f.type, f.size}});
    return writeFields(folder, file, fields, rows, codePage);
}

void writeCompany(const std::string& folder, const std::map<std::string, std::vector<Record>>& rows, int codePage) {
    for (const char* file : {"Cari.DB", "Stok.DB", "doviz.DB", "c_grup.DB", "s_grup.DB", "ayar.DB"}) {
        auto it = rows.find(file);
        writeTable(folder, file, it == rows.end() ? std::vector<Record>{} : it->second, codePage);
    }
}

}  // namespace testsupport::kobaltin
