// A Kobaltin DATA folder: sirket.DB, and per company Cari.DB, Stok.DB, doviz.DB, c_grup.DB, s_grup.DB and
// ayar.DB in the layouts the old program wrote. Kobaltin kept no movement tables, only totals on the cards,
// so the totals are those of the same movements the Mirkado 4 writer stores row by row.
#include <filesystem>
#include <stdexcept>
#include <unordered_map>

#include "ParadoxWriter.h"
#include "Source.h"
#include "Words.h"

namespace fs = std::filesystem;

namespace bench {

using db::Value;
using db::paradox::FieldType;
using words::cp;

namespace {

constexpr FieldType A = FieldType::Alpha, N = FieldType::Number, L = FieldType::Logical, D = FieldType::Date,
                    M = FieldType::Memo, I = FieldType::AutoInc;

// Fields by name, texts cut to their alpha fields (the old program never stored more).
class PxTable {
public:
    PxTable(std::initializer_list<std::tuple<const char*, FieldType, int>> fields) {
        for (const auto& [name, type, size] : fields) {
            w_.field(name, type, size);
            index_[name] = types_.size();
            types_.push_back(type);
            sizes_.push_back(type == A ? (size ? size : 20) : 0);
        }
        values_.assign(types_.size(), db::kNull);
    }
    Value& operator[](const std::string& field) {
        auto it = index_.find(field);
        if (it == index_.end()) throw std::logic_error("no field " + field);
        return values_[it->second];
    }
    void row() {
        for (std::size_t i = 0; i < values_.size(); ++i)
            if (auto* s = std::get_if<std::string>(&values_[i]); s && sizes_[i] && s->size() > std::size_t(sizes_[i]))
                s->resize(sizes_[i]);
        w_.row(std::move(values_));
        values_.assign(types_.size(), db::kNull);
    }
    std::int64_t rows() const { return static_cast<std::int64_t>(w_.rowCount()); }
    void write(const std::string& folder, const std::string& file) const { w_.write(folder, file, 1254); }

private:
    testsupport::ParadoxWriter w_;
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<FieldType> types_;
    std::vector<int> sizes_;
    std::vector<Value> values_;
};

Value logical(bool b) { return std::int64_t{b ? 1 : 0}; }
Value num(double d) { return d; }

class Writer {
public:
    Writer(const SourceOptions& o, Report& report) : o_(o), report_(report) {}

    void registry() {
        PxTable t{{"SIRKET_KOD", A, 8}, {"KURULUSTAR", D, 0}, {"KAYITTARIHI", D, 0}, {"KISA_AD", A, 30},
                  {"UNVAN", A, 50},     {"YETKILI", A, 40},  {"VDAIRESI", A, 20},   {"VERGINO", A, 20},
                  {"ADRES", M, 100},    {"TEL1", A, 20},     {"FAX", A, 20},        {"EMAIL", A, 50},
                  {"NOT", M, 200},      {"LOGO", A, 100},    {"BANKANO1", A, 50},   {"BANKANO2", A, 50},
                  {"BANKANO3", A, 50},  {"TEL2", A, 20},     {"WEB", A, 75},        {"LOJIK1", L, 0},
                  {"LOJIK2", L, 0},     {"LOJIK3", L, 0},    {"LOJIK4", L, 0},      {"NUMBER1", N, 0},
                  {"NUMBER2", N, 0},    {"NUMBER3", N, 0},   {"NUMBER4", N, 0},     {"DATE1", D, 0},
                  {"DATE2", D, 0},      {"ALPHA1", A, 10},   {"ALPHA2", A, 10},     {"ALPHA3", A, 30},
                  {"ALPHA4", A, 30},    {"ALPHA5", A, 50}};
        for (int i = 0; i < o_.companies; ++i) {
            Company c = company(o_, i);
            Rng r = Rng::forEntity(o_.seed, "sirket-satir", i);
            t["SIRKET_KOD"] = c.code;
            t["KURULUSTAR"] = db::Date{1990 + i % 15, 1 + i % 12, 1 + i % 28};
            t["KAYITTARIHI"] = db::Date{2003, 1 + i % 12, 15};
            t["KISA_AD"] = c.shortName;
            t["UNVAN"] = c.title;
            t["YETKILI"] = words::firstName(r) + " " + words::surname(r);
            t["VDAIRESI"] = words::taxOffice(r);
            t["VERGINO"] = std::to_string(r.between(1000000000, 9999999999));
            // Three lines, the first company's longer than the part the record keeps itself.
            std::string address = words::address(r, 3);
            if (i == 0) address += "\r\n" + words::note(r) + " " + words::note(r);
            t["ADRES"] = address;
            t["TEL1"] = words::phone(r);
            t["FAX"] = words::phone(r);
            t["EMAIL"] = "muhasebe@firma" + std::to_string(i + 1) + ".com.tr";
            std::string note = words::note(r);
            for (int k = 0; k < 5; ++k) note += "\r\n" + words::note(r);
            t["NOT"] = i % 2 == 0 ? note : words::note(r);
            t["LOGO"] = "C:\\KOBALTIN\\LOGO\\" + c.code + ".BMP";
            t["BANKANO1"] = words::bank(r);
            if (r.chance(50)) t["BANKANO2"] = words::bank(r);
            t["TEL2"] = words::phone(r);
            t["WEB"] = "www.firma" + std::to_string(i + 1) + ".com.tr";
            t["LOJIK1"] = logical(true);
            t["NUMBER1"] = num(c.year);  // the working year the company list offers
            t["ALPHA1"] = "K" + std::to_string(i + 1);
            t.row();
        }
        t.write(o_.source, "sirket.DB");
        report_.push_back({"sirket.DB", "sirket.DB", t.rows()});
    }

    void companyTables(const Company& co) {
        const std::string folder = o_.source + "/" + co.code;
        fs::create_directories(folder);
        auto cur = currencies(o_);
        auto cg = customerGroups(o_);
        auto sg = stockGroups(o_);
        settings(co, folder);
        currencyTable(cur, co, folder);
        groupTable(cg, co, folder, "c_grup.DB", false);
        groupTable(sg, co, folder, "s_grup.DB", true);
        customers(co, cur, cg, folder);
        stocks(co, cur, sg, folder);
    }

private:
    void done(const PxTable& t, const Company& co, const std::string& folder, const char* file) {
        t.write(folder, file);
        report_.push_back({co.code, file, t.rows()});
    }

    void settings(const Company& co, const std::string& folder) {
        PxTable t{{"CRNO", N, 0}, {"STNO", N, 0}, {"DVZKUL", L, 0}, {"FIRMA", A, 30}, {"KDV", N, 0},
                  {"YEDEKTAR", D, 0}, {"YAZICI", A, 40}};
        // The code counters run ahead of the cards: deleted cards keep their numbers.
        t["CRNO"] = num(o_.cards + 3);
        t["STNO"] = num(o_.stock + 2);
        t["DVZKUL"] = logical(true);
        t["FIRMA"] = co.shortName;
        t["KDV"] = num(18);
        t["YEDEKTAR"] = db::Date{2004, 12, 31};
        t["YAZICI"] = std::string("Epson LX-300");
        t.row();
        done(t, co, folder, "ayar.DB");
    }

    void currencyTable(const std::vector<Currency>& cur, const Company& co, const std::string& folder) {
        PxTable t{{"BDVKOD", I, 0},   {"SIMGE", A, 4},    {"TARIH", D, 0},    {"DOVIZ", A, 20},   {"ACIKLAMA", A, 100},
                  {"GUNLUKKUR", L, 0}, {"ALIS", N, 0},    {"SATIS", N, 0},    {"OZELKOD", A, 15}, {"LOJIK1", L, 0},
                  {"LOJIK2", L, 0},   {"LOJIK3", L, 0},   {"LOJIK4", L, 0},   {"NUMBER1", N, 0},  {"NUMBER2", N, 0},
                  {"NUMBER3", N, 0},  {"NUMBER4", N, 0},  {"DATE1", D, 0},    {"DATE2", D, 0},    {"ALPHA1", A, 10},
                  {"ALPHA2", A, 30},  {"ALPHA3", A, 50}};
        for (std::size_t i = 0; i < cur.size(); ++i) {
            const Currency& c = cur[i];
            t["SIMGE"] = c.simge;
            t["TARIH"] = c.date;
            t["DOVIZ"] = c.name;
            t["ACIKLAMA"] = c.name + cp(" kuru.\r\nKaynak: Merkez Bankası gösterge niteliğindeki kurlar, öğlen ilan edilen değerler.");
            t["GUNLUKKUR"] = logical(i < 5);
            t["ALIS"] = num(c.alis);
            t["SATIS"] = num(c.satis);
            t["OZELKOD"] = i < 5 ? std::string("ANA") : std::string();
            t.row();
        }
        done(t, co, folder, "doviz.DB");
    }

    void groupTable(const std::vector<Group>& groups, const Company& co, const std::string& folder, const char* file,
                    bool stock) {
        PxTable c{{"BCGKOD", I, 0}, {"GRUPADI", A, 15}, {"ACIKLAMA", A, 50}, {"LOJIK", L, 0},   {"NUMBER", N, 0},
                  {"DATE", D, 0},   {"ALPHA1", A, 10},  {"ALPHA2", A, 30},   {"ALPHA3", A, 50}};
        PxTable s{{"BSGKOD", I, 0}, {"GRUPADI", A, 15}, {"ACIKLAMA", A, 50}, {"LOJIK", L, 0},   {"NUMBER", N, 0},
                  {"ALPHA1", A, 10}, {"ALPHA2", A, 30}, {"ALPHA3", A, 50},   {"DATE", D, 0}};
        PxTable& t = stock ? s : c;
        for (std::size_t g = 0; g < groups.size(); ++g) {
            t["GRUPADI"] = groups[g].name;
            t["ACIKLAMA"] = groups[g].description;
            t["NUMBER"] = num(static_cast<double>(g + 1));
            t.row();
        }
        done(t, co, folder, file);
    }

    void customers(const Company& co, const std::vector<Currency>& cur, const std::vector<Group>& groups,
                   const std::string& folder) {
        PxTable t{{"BCRKOD", I, 0},    {"CARIKODU", A, 30}, {"GRUBU", A, 15},   {"OZKOD", A, 15},    {"K_TARIH", D, 0},
                  {"AD", A, 20},       {"SOYAD", A, 20},    {"UNVAN", A, 50},   {"VERGINO", A, 20},  {"VDAIRE", A, 20},
                  {"MUHSBKOD", A, 15}, {"ISKONTO", L, 0},   {"ISKORAN", N, 0},  {"TEL1", A, 20},     {"TEL2", A, 20},
                  {"CEPTEL", A, 20},   {"FAX", A, 20},      {"EMAIL", A, 50},   {"ICQNO", A, 20},    {"WEB", A, 50},
                  {"NOT", M, 200},     {"ADRES", M, 100},   {"RESIM", A, 100},  {"KDBRC", N, 0},     {"KDALC", N, 0},
                  {"KDBKY", N, 0},     {"KDBTR", A, 6},     {"KHBRC", N, 0},    {"KHALC", N, 0},     {"KHBKY", N, 0},
                  {"KHBTR", A, 6},     {"KTBRC", N, 0},     {"KTALC", N, 0},    {"KTBKY", N, 0},     {"KTBTR", A, 6},
                  {"DDBRC", N, 0},     {"DDALC", N, 0},     {"DDBKY", N, 0},    {"DDBTR", A, 6},     {"DHBRC", N, 0},
                  {"DHALC", N, 0},     {"DHBKY", N, 0},     {"DHBTR", A, 6},    {"DTBRC", N, 0},     {"DTALC", N, 0},
                  {"DTBKY", N, 0},     {"DTBTR", A, 6},     {"DVZKUL", L, 0},   {"DVZBRM", A, 4},    {"KLIMKPB", N, 0},
                  {"KLIMDVZ", N, 0},   {"KLIMUYAR", L, 0},  {"EVTEL", A, 20},   {"KKART1", A, 40},   {"KKART2", A, 40},
                  {"TAKKART", A, 40},  {"LOJIK1", L, 0},    {"LOJIK2", L, 0},   {"LOJIK3", L, 0},    {"LOJIK4", L, 0},
                  {"NUMBER1", N, 0},   {"NUMBER2", N, 0},   {"NUMBER3", N, 0},  {"NUMBER4", N, 0},   {"DATE1", D, 0},
                  {"DATE2", D, 0},     {"ALPHA1", A, 10},   {"ALPHA2", A, 10},  {"ALPHA3", A, 30},   {"ALPHA4", A, 30},
                  {"ALPHA5", A, 50}};
        auto side = [](double debit, double credit) { return std::string(debit >= credit ? "B" : "A"); };
        for (int k = 1; k <= o_.cards; ++k) {
            Customer c = customer(o_, co, cur, groups, k);
            t["CARIKODU"] = c.code;
            if (c.group >= 0) t["GRUBU"] = groups[c.group].name;
            t["OZKOD"] = c.specialCode;
            if (k % 11 != 0) t["K_TARIH"] = c.recorded.date;  // a few cards were never dated
            t["AD"] = c.firstName;
            t["SOYAD"] = c.surname;
            t["UNVAN"] = c.title;
            t["VERGINO"] = c.taxNo;
            t["VDAIRE"] = c.taxOffice;
            t["MUHSBKOD"] = "120." + std::to_string(k);
            t["ISKONTO"] = logical(c.discount);
            if (c.discount) t["ISKORAN"] = num(c.discountRate);
            t["TEL1"] = c.tel1;
            t["TEL2"] = c.tel2;
            t["CEPTEL"] = c.mobile;
            t["FAX"] = c.fax;
            t["EMAIL"] = c.email;
            t["WEB"] = c.web;
            t["NOT"] = c.note;
            t["ADRES"] = c.address;
            // Local figures: no opening, the movements, their totals. Currency figures: the per-currency
            // openings of the card's own currency and its currency movements.
            double dOpenD = 0, dOpenC = 0;
            for (const auto& b : c.balances)
                if (b.currency == c.currency) dOpenD += b.openingDebit, dOpenC += b.openingCredit;
            t["KDBRC"] = num(0), t["KDALC"] = num(0), t["KDBKY"] = num(0);
            t["KHBRC"] = num(c.localDebit), t["KHALC"] = num(c.localCredit);
            t["KHBKY"] = num(c.localDebit - c.localCredit), t["KHBTR"] = side(c.localDebit, c.localCredit);
            t["KTBRC"] = num(c.localDebit), t["KTALC"] = num(c.localCredit);
            t["KTBKY"] = num(c.localDebit - c.localCredit), t["KTBTR"] = side(c.localDebit, c.localCredit);
            if (c.foreign) {
                t["DDBRC"] = num(dOpenD), t["DDALC"] = num(dOpenC);
                t["DHBRC"] = num(c.foreignDebit), t["DHALC"] = num(c.foreignCredit);
                t["DTBRC"] = num(dOpenD + c.foreignDebit), t["DTALC"] = num(dOpenC + c.foreignCredit);
                t["DTBKY"] = num(dOpenD + c.foreignDebit - dOpenC - c.foreignCredit);
                t["DTBTR"] = side(dOpenD + c.foreignDebit, dOpenC + c.foreignCredit);
            }
            t["DVZKUL"] = logical(c.foreign);
            t["DVZBRM"] = c.currency;
            t["KLIMKPB"] = num(c.creditLimit);
            t["KLIMUYAR"] = logical(c.limitWarning);
            t["EVTEL"] = c.homeTel;
            t["LOJIK1"] = logical(k % 2 == 0);
            t["NUMBER1"] = num(static_cast<double>(k));
            t.row();
        }
        done(t, co, folder, "Cari.DB");
    }

    void stocks(const Company& co, const std::vector<Currency>& cur, const std::vector<Group>& groups,
                const std::string& folder) {
        PxTable t{{"BSTKOD", I, 0},       {"STOKKODU", A, 30}, {"OZKOD", A, 15},   {"GRUPAD", A, 15},  {"CINS", A, 50},
                  {"BIRIM", A, 15},       {"KDV", N, 0},       {"AISK", L, 0},     {"SISK", L, 0},     {"AISKORN", N, 0},
                  {"SISKORN", N, 0},      {"MUHKODALIS", A, 15}, {"MUHKODSATIS", A, 15}, {"ACIKLAMA", A, 200},
                  {"RESIM", A, 100},      {"KALF", N, 0},      {"KSAT1", N, 0},    {"KSAT2", N, 0},    {"KSAT3", N, 0},
                  {"KSAT4", N, 0},        {"DALF", N, 0},      {"DSAT1", N, 0},    {"DSAT2", N, 0},    {"DSAT3", N, 0},
                  {"DSAT4", N, 0},        {"MIKDEV", N, 0},    {"MIKGIR", N, 0},   {"MIKCIK", N, 0},   {"MIKKAL", N, 0},
                  {"TUTDEV", N, 0},       {"TUTGIR", N, 0},    {"TUTCIK", N, 0},   {"TUTKAL", N, 0},   {"DOVDEV", N, 0},
                  {"DOVGIR", N, 0},       {"DOVCIK", N, 0},    {"DOVKAL", N, 0},   {"KTARIH", D, 0},   {"DVZKUL", L, 0},
                  {"DVZBRM", A, 4},       {"UYARI", A, 30},    {"MIN", N, 0},      {"MAX", N, 0},      {"IMALTAR", D, 0},
                  {"SONTAR", D, 0},       {"SKUYARI", L, 0},   {"DEPONO", A, 15},  {"RAFNO", A, 15},   {"YERNO", A, 15},
                  {"LOJIK1", L, 0},       {"LOJIK2", L, 0},    {"LOJIK3", L, 0},   {"LOJIK4", L, 0},   {"NUMBER1", N, 0},
                  {"NUMBER2", N, 0},      {"NUMBER3", N, 0},   {"NUMBER4", N, 0},  {"DATE1", D, 0},    {"DATE2", D, 0},
                  {"ALPHA1", A, 10},      {"ALPHA2", A, 10},   {"ALPHA3", A, 30},  {"ALPHA4", A, 30},  {"ALPHA5", A, 50}};
        for (int k = 1; k <= o_.stock; ++k) {
            Stock s = stock(o_, co, cur, groups, k);
            t["STOKKODU"] = s.code;
            t["OZKOD"] = s.specialCode;
            if (s.group >= 0) t["GRUPAD"] = groups[s.group].name;
            t["CINS"] = s.name;
            t["BIRIM"] = s.unit;
            t["KDV"] = num(s.vat);
            t["AISK"] = logical(s.buyDiscount);
            t["SISK"] = logical(s.sellDiscount);
            t["AISKORN"] = num(s.buyDiscountRate);
            t["SISKORN"] = num(s.sellDiscountRate);
            t["MUHKODALIS"] = std::string("153");
            t["MUHKODSATIS"] = std::string("600");
            // The description field was typed as lines; the old program kept the breaks.
            std::string description = s.description;
            if (auto blank = description.find(". "); blank != std::string::npos && description.size() < 199)
                description.replace(blank + 1, 1, "\r\n");
            t["ACIKLAMA"] = description;
            t["KALF"] = num(s.buy);
            for (int i = 0; i < 4; ++i) t["KSAT" + std::to_string(i + 1)] = num(s.sell[i]);
            if (!s.prices.empty()) {
                t["DALF"] = num(s.prices[0].buy);
                for (int i = 0; i < 4; ++i) t["DSAT" + std::to_string(i + 1)] = num(s.prices[0].sell[i]);
            }
            const double left = s.carriedQuantity + s.inQuantity - s.outQuantity;
            t["MIKDEV"] = num(s.carriedQuantity), t["MIKGIR"] = num(s.inQuantity), t["MIKCIK"] = num(s.outQuantity);
            t["MIKKAL"] = num(left);
            t["TUTDEV"] = num(s.carriedAmount), t["TUTGIR"] = num(s.inAmount), t["TUTCIK"] = num(s.outAmount);
            t["TUTKAL"] = num(s.carriedAmount + s.inAmount - s.outAmount);
            if (!s.prices.empty()) {
                t["DOVDEV"] = num(s.prices[0].carriedQuantity);
                t["DOVKAL"] = num(s.prices[0].carriedQuantity);
            }
            t["KTARIH"] = s.recorded;
            t["DVZKUL"] = logical(s.foreign);
            t["DVZBRM"] = s.currency;
            static const char* const warnings[] = {"Uyarma", "Stok (-) eksiye düşerse uyar", "Minimum stokta uyar"};
            t["UYARI"] = cp(warnings[std::stoi(s.warning)]);
            t["MIN"] = num(s.minStock);
            t["MAX"] = num(s.maxStock);
            if (s.made) t["IMALTAR"] = *s.made;
            if (s.expires) t["SONTAR"] = *s.expires;
            t["SKUYARI"] = logical(s.expiryWarning);
            if (k % 5 == 0) t["DEPONO"] = std::string("D1"), t["RAFNO"] = "R" + std::to_string(k % 40);
            if (s.unitFactor > 0) t["NUMBER1"] = num(s.unitFactor);
            t["ALPHA1"] = s.quality;
            t["ALPHA2"] = s.unit2;
            t["ALPHA3"] = s.maker;
            t.row();
        }
        done(t, co, folder, "Stok.DB");
    }

    const SourceOptions& o_;
    Report& report_;
};

}  // namespace

Report writeKobaltin(const SourceOptions& o) {
    if (fs::exists(o.source + "/sirket.DB")) throw std::runtime_error(o.source + " already holds sirket.DB");
    fs::create_directories(o.source);
    Report report;
    Writer w(o, report);
    w.registry();
    for (int i = 0; i < o.companies; ++i) w.companyTables(company(o, i));
    return report;
}

}  // namespace bench
