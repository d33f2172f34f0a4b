// A Mirkado 4 DATA folder: Sirket.GDB and one MIRKADO.GDB per company, built from the schema scripts of
// the old installation and filled with prepared inserts, one transaction per table.
#include <filesystem>
#include <stdexcept>

#include "FbInsert.h"
#include "Filler.h"
#include "FbTestDb.h"
#include "Source.h"
#include "Words.h"

namespace fs = std::filesystem;

namespace bench {

using db::Value;
using words::cp;

const HotelTable kHotelTables[10] = {
    {"FOLIO", "BLFLKODU", "FOLIO_GEN"},          {"FOLIOHRC", "BLFHRCKODU", "FOLIOHRC_GEN"},
    {"KISI", "BLKISIKODU", "KISI_GEN"},          {"MUSTERI", "BILMUSKODU", "MUSTERI_GEN"},
    {"ODABAKIM", "BLOBKODU", "ODABAKIM_GEN"},    {"ODAKAYIT", "BLODAKODU", "ODAKAYIT_GEN"},
    {"ODATIPI", "BLTIPKODU", "ODATIPI_GEN"},     {"OTELTARIFE", "BLOTTRKODU", "OTELTARIFE_GEN"},
    {"RESERVASYON", "BLRZVKODU", "REZERVASYON_GEN"}, {"DONEM", "BLDNMKODU", "DONEM_GEN"},
};

namespace {

Value key(std::int64_t k) { return static_cast<double>(k); }
Value flag(bool b) { return std::string(b ? "1" : "0"); }
Value text(const std::string& s) { return s; }
Value num(double d) { return d; }
Value intv(std::int64_t i) { return i; }

std::string line(const std::string& memo, int n) {
    std::size_t start = 0;
    for (int i = 0; i < n; ++i) {
        start = memo.find("\r\n", start);
        if (start == std::string::npos) return {};
        start += 2;
    }
    return memo.substr(start, memo.find("\r\n", start) - start);
}

// A text in `count` lines of at most `width` characters, broken at blanks as an operator would type it.
std::vector<std::string> wrap(const std::string& text, std::size_t width, std::size_t count) {
    std::vector<std::string> out(count);
    std::size_t pos = 0;
    for (auto& lineText : out) {
        while (pos < text.size() && text[pos] == ' ') ++pos;
        if (pos >= text.size()) break;
        std::size_t len = std::min(width, text.size() - pos);
        if (pos + len < text.size()) {
            auto blank = text.rfind(' ', pos + len);
            if (blank != std::string::npos && blank > pos) len = blank - pos;
        }
        lineText = text.substr(pos, len);
        pos += len;
    }
    return out;
}

class Writer {
public:
    Writer(const SourceOptions& o, Report& report) : o_(o), report_(report), rng_(Rng::forEntity(o.seed, "ek", 0)) {}

    void registry() {
        const std::string path = o_.source + "/Sirket.GDB";
        testsupport::createDatabase(path, "source_registry.sql");
        auto att = db::fb::Attachment::open(path, attachOptions());
        Inserter t(*att, "SIRKET");
        for (int i = 0; i < o_.companies; ++i) {
            Company c = company(o_, i);
            Rng r = Rng::forEntity(o_.seed, "sirket-satir", i);
            t["BLSIRKETKODU"] = key(i + 1);
            t["KURULUSTARIH"] = db::Date{1990 + i % 15, 1 + i % 12, 1 + i % 28};
            t["KISAAD"] = c.shortName;
            t["TICARIUNVAN"] = c.title;
            t["VERGIDAIRESI"] = words::taxOffice(r);
            t["ADRES1"] = words::street(r) + " No:" + std::to_string(r.between(1, 99));
            t["ADRES2"] = words::district(r) + " / " + words::city(r);
            t["FAX"] = words::phone(r);
            t["EMAIL"] = "muhasebe@firma" + std::to_string(i + 1) + ".com.tr";
            t["NOT1"] = words::note(r);
            if (r.chance(50)) t["NOT2"] = words::note(r);
            t["BANKA1"] = words::bank(r);
            if (r.chance(50)) t["BANKA2"] = words::bank(r);
            t["KAYITTARIHI"] = db::Date{2003, 1 + i % 12, 15};
            t["TEL1"] = words::phone(r);
            t["TEL2"] = words::phone(r);
            t["WEB"] = "www.firma" + std::to_string(i + 1) + ".com.tr";
            t["CALISMAYILI"] = intv(c.year);
            t["VERITABANIYOLU"] = text("C:\\TORVANEX\\MIRKADO4\\DATA\\" + c.code + "\\MIRKADO.GDB");
            t["AKTIF"] = flag(true);
            t["YETKILI"] = words::firstName(r) + " " + words::surname(r);
            t["VERGINUMARASI"] = std::to_string(r.between(1000000000, 9999999999));
            t["SIRKETKODU"] = c.code;
            t.insert();
        }
        t.commit();
        report_.push_back({"Sirket.GDB", "SIRKET", static_cast<std::int64_t>(t.rows())});
        setGenerator(*att, "SIRKET_GEN", o_.companies);
        att->detach();
    }

    void companyDatabase(const Company& co) {
        const std::string rel = co.code + "/MIRKADO.GDB";
        const std::string path = o_.source + "/" + rel;
        testsupport::createDatabase(path, "source_company.sql");
        auto att = db::fb::Attachment::open(path, attachOptions());
        rel_ = rel;
        att_ = att.get();
        settings(co);
        auto cur = currencies(o_);
        currencyTable(cur);
        auto cg = customerGroups(o_);
        groupTables(cg, "CARIGRUP", "BLCGKODU", "CARIGRUP2", "BLC2KODU");
        auto sg = stockGroups(o_);
        groupTables(sg, "STOKGRUP", "BLSGKODU", "STOKGRUP2", "BLS2KODU");
        customers(co, cur, cg);
        stocks(co, cur, sg);
        hotel();
        att_ = nullptr;
        att->detach();
    }

private:
    void done(Inserter& t) {
        t.commit();
        report_.push_back({rel_, t.table(), static_cast<std::int64_t>(t.rows())});
    }

    void settings(const Company& co) {
        Inserter t(*att_, "AYAR");
        t["BLAYKODU"] = key(1);
        t["DVZKUL"] = flag(true);
        t["FIRMA"] = co.shortName;
        t["KDV"] = num(18);
        t.insert();
        done(t);
    }

    void currencyTable(const std::vector<Currency>& cur) {
        Inserter t(*att_, "DOVIZ");
        for (std::size_t i = 0; i < cur.size(); ++i) {
            const Currency& c = cur[i];
            t["BLDVKODU"] = key(static_cast<std::int64_t>(i) + 1);
            t["SIMGE"] = c.simge;
            t["TARIH"] = c.date;
            t["DOVIZ"] = c.name;
            t["ACIKLAMA1"] = c.name + cp(" kuru, Merkez Bankası");
            t["GUNLUKKUR"] = flag(i < 5);
            t["ALIS"] = num(c.alis);
            t["SATIS"] = num(c.satis);
            t["OZEL_KODU"] = i < 5 ? std::string("ANA") : std::string();
            t["KAYDEDEN"] = text("Yetkili");
            t["KCBIRIM"] = i < 5 ? cp("Kuruş") : std::string();
            t["KCSIMGE"] = i < 5 ? std::string("KR") : std::string();
            t["ORAN"] = flag(i % 2 == 0);
            t.insert();
        }
        done(t);
    }

    void groupTables(const std::vector<Group>& groups, const char* table, const char* keyCol, const char* table2,
                     const char* key2) {
        Inserter t(*att_, table);
        for (std::size_t g = 0; g < groups.size(); ++g) {
            t[keyCol] = key(static_cast<std::int64_t>(g) + 1);
            t["GRUP_ADI"] = groups[g].name;
            t["ACIKLAMA"] = groups[g].description;
            t.insert();
        }
        done(t);
        Inserter t2(*att_, table2);
        std::int64_t k = 0;
        for (std::size_t g = 0; g < groups.size(); ++g)
            for (std::size_t s = 0; s < groups[g].subNames.size(); ++s) {
                t2[key2] = key(++k);
                t2[keyCol] = key(static_cast<std::int64_t>(g) + 1);
                t2["GRUP_ADI2"] = groups[g].name;
                t2["GRUP_ADI"] = groups[g].subNames[s];
                t2["ACIKLAMA"] = groups[g].subDescriptions[s];
                t2.insert();
            }
        done(t2);
    }

    void customers(const Company& co, const std::vector<Currency>& cur, const std::vector<Group>& groups) {
        Inserter cari(*att_, "CARI"), bk(*att_, "CARIBK"), hr(*att_, "CARIHR");
        std::int64_t bkKey = 0, hrKey = 0;
        for (int k = 1; k <= o_.cards; ++k) {
            Customer c = customer(o_, co, cur, groups, k);
            const std::string group = c.group >= 0 ? groups[c.group].name : std::string();
            const std::string sub = c.subgroup >= 0 ? groups[c.group].subNames[c.subgroup] : std::string();
            cari["BLCRKODU"] = key(c.key);
            cari["CARIKODU"] = c.code;
            cari["GRUBU"] = group;
            cari["OZEL_KOD"] = c.specialCode;
            cari["KAYIT_TARIHI"] = c.recorded;
            cari["ADI"] = c.firstName;
            cari["SOYADI"] = c.surname;
            cari["UNVANI"] = c.title;
            cari["VERGI_DR"] = c.taxOffice;
            cari["VERGI_NO"] = c.taxNo;
            cari["ISKONTO"] = flag(c.discount);
            cari["ISK_ORAN"] = num(c.discountRate);
            cari["TEL1"] = c.tel1;
            cari["TEL2"] = c.tel2;
            cari["EVTEL"] = c.homeTel;
            cari["CEPTEL"] = c.mobile;
            cari["FAX"] = c.fax;
            cari["EMAIL"] = c.email;
            cari["WEB"] = c.web;
            cari["NOT1"] = line(c.note, 0);
            cari["NOT2"] = line(c.note, 1);
            cari["NOT3"] = line(c.note, 2);
            cari["DEVIR_BRC"] = num(0);
            cari["DEVIR_ALC"] = num(0);
            cari["HRK_BRC"] = num(c.localDebit);
            cari["HRK_ALC"] = num(c.localCredit);
            cari["HRK_BKY"] = num(c.localDebit - c.localCredit);
            cari["HRK_BTR"] = text(c.localDebit >= c.localCredit ? "B" : "A");
            cari["TPL_BRC"] = num(c.localDebit);
            cari["TPL_ALC"] = num(c.localCredit);
            cari["TPL_BKY"] = num(c.localDebit - c.localCredit);
            cari["TPL_BTR"] = text(c.localDebit >= c.localCredit ? "B" : "A");
            cari["DVZKUL"] = flag(c.foreign);
            cari["DVZBRM"] = c.currency;
            cari["KPB_KLIM"] = num(c.creditLimit);
            cari["KPB_KLIMUYAR"] = flag(c.limitWarning);
            cari["KAYDEDEN"] = c.recordedBy;
            cari["DUZENLEYEN"] = c.key % 4 == 0 ? text("Yetkili") : Value{};
            cari["ADRES1"] = line(c.address, 0);
            cari["ADRES2"] = line(c.address, 1);
            cari["ALTGRUP"] = sub;
            cari["OTELMUSTERI"] = flag(c.key % 25 == 0);
            if (c.key % 7 == 0) {
                cari["KEFIL_ADISOYADI"] = words::firstName(rng_) + " " + words::surname(rng_);
                cari["KEFIL_TEL1"] = words::phone(rng_);
                cari["KEFIL_ADRES"] = words::address(rng_, 1);
            }
            cari["PAZ_KULLAN"] = flag(false);
            cari.insert();

            for (const auto& b : c.balances) {
                bk["BLBKKODU"] = key(++bkKey);
                bk["BLCRKODU"] = key(c.key);
                bk["DEVIR_BRC"] = num(b.openingDebit);
                bk["DEVIR_ALC"] = num(b.openingCredit);
                bk["DEVIR_BKY"] = num(b.openingDebit - b.openingCredit);
                bk["DEVIR_BTR"] = text(b.openingDebit >= b.openingCredit ? "B" : "A");
                bk["KR_LIMITI"] = num(c.creditLimit);
                bk["KR_LIMUYAR"] = flag(c.limitWarning);
                bk["DOVIZ_SIMGE"] = b.currency;
                bk["TPL_BRC"] = num(b.openingDebit + c.foreignDebit);
                bk["TPL_ALC"] = num(b.openingCredit + c.foreignCredit);
                bk.insert();
            }

            for (const auto& m : c.movements) {
                hr["BLCHKODU"] = key(++hrKey);
                hr["BLCRKODU"] = key(c.key);
                hr["OZEL_KOD"] = c.specialCode;
                hr["EVRAKNO"] = m.document;
                hr["GRUBU"] = group;
                hr["TARIHI"] = m.date;
                hr["ADSOYAD"] = c.firstName + " " + c.surname;
                hr["UNVANI"] = c.title;
                hr["TUTAR"] = num(m.local);
                hr["TUTAR_TURU"] = flag(m.debit);
                hr["IS_TURU"] = m.kind;
                hr["VADE"] = m.due;
                hr["FATCARI"] = flag(m.kind == "Fatura");
                hr["ACIKLAMA"] = m.note;
                hr["CARIKODU"] = c.code;
                hr["CROZELKODU"] = c.specialCode;
                if (m.foreign) {
                    hr["DOVIZ"] = num(m.foreignAmount);
                    hr["DVZ_ALIS"] = num(m.rate * 0.995);
                    hr["DVZ_SATIS"] = num(m.rate);
                    hr["DVZBRM"] = m.currency;
                    hr["DVZKUL"] = flag(true);
                    hr["KPBDVZ"] = flag(false);
                    hr["DVZ_HSISLE"] = flag(true);
                    hr[m.debit ? "DVZ_BTUT" : "DVZ_ATUT"] = num(m.foreignAmount);
                    hr[m.debit ? "DVZ_ATUT" : "DVZ_BTUT"] = num(0);
                } else if (!m.flagsNull) {
                    hr["DVZBRM"] = c.currency;
                    hr["DVZKUL"] = flag(false);
                    hr["KPBDVZ"] = flag(true);
                    hr["DVZ_HSISLE"] = flag(false);
                }
                hr["TAKSIT"] = flag(m.instalment);
                hr["ODEDI"] = flag(m.paid);
                hr["NAKCARI"] = flag(false);
                hr["KAYDEDEN"] = c.recordedBy;
                if (m.kind == cp("Çek")) {
                    hr["BANKA_ADI"] = words::bank(rng_);
                    hr["CEK_TIPI"] = cp("Müşteri Çeki");
                }
                hr["ALTGRUP"] = sub;
                hr["IRSCARI"] = flag(false);
                hr[m.debit ? "KPB_BTUT" : "KPB_ATUT"] = num(m.local);
                hr[m.debit ? "KPB_ATUT" : "KPB_BTUT"] = num(0);
                hr.insert();
            }
        }
        done(cari);
        done(bk);
        done(hr);
        setGenerator(*att_, "CARI_GEN", o_.cards);
        setGenerator(*att_, "CARIHR_GEN", hrKey);
        // The old program's code counter: the upgrade carries it into the new installation.
        setGenerator(*att_, "CARIKODU_GEN", o_.cards);
    }

    void stocks(const Company& co, const std::vector<Currency>& cur, const std::vector<Group>& groups) {
        Inserter st(*att_, "STOK"), dvz(*att_, "STOKDVZ"), hr(*att_, "STOKHR");
        std::int64_t dvzKey = 0, hrKey = 0;
        for (int k = 1; k <= o_.stock; ++k) {
            Stock s = stock(o_, co, cur, groups, k);
            const std::string group = s.group >= 0 ? groups[s.group].name : std::string();
            const std::string sub = s.subgroup >= 0 ? groups[s.group].subNames[s.subgroup] : std::string();
            st["BLSTKODU"] = key(s.key);
            st["STOKKODU"] = s.code;
            st["OZEL_KODU"] = s.specialCode;
            st["GRUP_ADI"] = group;
            st["BIRIMI"] = s.unit;
            st["KDV"] = num(s.vat);
            st["ALIS_ISK_KUL"] = flag(s.buyDiscount);
            st["SATIS_ISK_KUL"] = flag(s.sellDiscount);
            st["ALIS_ISK_ORANI"] = num(s.buyDiscountRate);
            st["SATIS_ISK_ORANI"] = num(s.sellDiscountRate);
            st["FIYAT_ALIS"] = num(s.buy);
            st["FIYAT_SATIS1"] = num(s.sell[0]);
            st["FIYAT_SATIS2"] = num(s.sell[1]);
            st["FIYAT_SATIS3"] = num(s.sell[2]);
            st["FIYAT_SATIS4"] = num(s.sell[3]);
            st["KAYIT_TARIHI"] = s.recorded;
            st["DVZKUL"] = flag(s.foreign);
            st["DVZBRM"] = s.currency;
            st["UYARI"] = s.warning;
            st["MIN_STOK"] = num(s.minStock);
            st["MAX_STOK"] = num(s.maxStock);
            if (s.made) st["IMAL_TARIHI"] = *s.made;
            if (s.expires) st["SONKUL_TARIHI"] = *s.expires;
            st["SONKUL_UYARI"] = flag(s.expiryWarning);
            st["KALITE"] = s.quality;
            st["BIRIM_2"] = s.unit2;
            st["URETICI_FRM"] = s.maker;
            if (s.unitFactor > 0) st["BIRIM_CARPAN"] = num(s.unitFactor);
            st["KAYDEDEN"] = s.recordedBy;
            {
                auto lines = wrap(s.description, 60, 3);
                st["ACIKLAMA1"] = lines[0];
                st["ACIKLAMA2"] = lines[1];
                st["ACIKLAMA3"] = lines[2];
            }
            st["CINSI"] = s.name;
            st["DEPOKUL"] = flag(s.key % 5 == 0);
            if (s.key % 5 == 0) st["DEPOADI"] = cp("Ana Depo");
            st["SIP_EKLE"] = flag(s.orderMin > 0);
            st["SIP_MIN_ADET"] = intv(s.orderMin);
            st["SIP_EKLE_ADET"] = intv(s.orderAdd);
            st["ALTGRUP"] = sub;
            st["MIKTAR_DEVIRKPB"] = num(s.carriedQuantity);
            st["TUTAR_DEVIRKPB"] = num(s.carriedAmount);
            st["MIKTAR_DEVIR"] = num(s.carriedQuantity);
            st["MIKTAR_GIREN"] = num(s.inQuantity);
            st["MIKTAR_CIKAN"] = num(s.outQuantity);
            st["MIKTAR_KALAN"] = num(s.carriedQuantity + s.inQuantity - s.outQuantity);
            st["MIKTAR_GIRENKPB"] = num(s.inQuantity);
            st["MIKTAR_CIKANKPB"] = num(s.outQuantity);
            st["MIKTAR_KALANKPB"] = num(s.carriedQuantity + s.inQuantity - s.outQuantity);
            st["TUTAR_GIRENKPB"] = num(s.inAmount);
            st["TUTAR_CIKANKPB"] = num(s.outAmount);
            st["SIP_EKLENDI"] = flag(false);
            st.insert();

            for (const auto& p : s.prices) {
                dvz["BLSDKODU"] = key(++dvzKey);
                dvz["SIMGE"] = p.currency;
                dvz["FIYAT_ALIS"] = num(p.buy);
                dvz["FIYAT_SATIS1"] = num(p.sell[0]);
                dvz["FIYAT_SATIS2"] = num(p.sell[1]);
                dvz["FIYAT_SATIS3"] = num(p.sell[2]);
                dvz["FIYAT_SATIS4"] = num(p.sell[3]);
                dvz["TUTAR_DEVIR"] = num(p.carriedAmount);
                dvz["BLSTKODU"] = key(s.key);
                dvz["MIKTAR_DEVIR"] = num(p.carriedQuantity);
                dvz.insert();
            }

            for (const auto& m : s.movements) {
                const double amount = m.quantity * m.price;
                hr["BLSHKODU"] = key(++hrKey);
                hr["BLSTKODU"] = key(s.key);
                hr["CINSI"] = s.name;
                hr["IS_TURU"] = text(m.incoming ? "1" : "2");
                hr["TARIHI"] = m.date;
                hr["EVRAK_NO"] = m.document;
                hr["ACIKLAMA"] = m.incoming ? cp("Alış faturası") : cp("Satış faturası");
                hr["GRUP_ADI"] = group;
                hr["FATURA_STOK"] = flag(true);
                hr["BIRIMI"] = s.unit;
                hr["BIRIM2"] = s.unit2;
                if (s.unitFactor > 0) hr["BIRIM_CARPAN"] = num(s.unitFactor);
                hr["MIKTARI"] = num(m.quantity);
                hr["STOKKODU"] = s.code;
                hr["CARIKODU"] = m.customerCode;
                hr["KAYDEDEN"] = s.recordedBy;
                hr["ALTGRUP"] = sub;
                hr["IRSSTOK"] = flag(false);
                hr["DEPOKUL"] = flag(false);
                hr["STOZELKOD"] = s.specialCode;
                hr["DEVIR"] = flag(false);
                if (m.foreign) {
                    hr["DOVIZ_FIYAT"] = num(m.price);
                    hr["DOVIZ_TUTAR"] = num(amount);
                    hr["KPB_FIYAT"] = num(m.price * m.rate);
                    hr["KPB_TUTAR"] = num(amount * m.rate);
                    hr["DVZKUL"] = flag(true);
                    hr["KPBDVZ"] = flag(false);
                    hr["DVZBRM"] = m.currency;
                    hr["DVZ_HSISLE"] = flag(true);
                    hr["DVZ_ALIS"] = num(m.rate * 0.995);
                    hr["DVZ_SATIS"] = num(m.rate);
                    hr["DVZ_GMIK"] = num(m.incoming ? m.quantity : 0);
                    hr["DVZ_CMIK"] = num(m.incoming ? 0 : m.quantity);
                    hr["DVZ_GTUT"] = num(m.incoming ? amount : 0);
                    hr["DVZ_CTUT"] = num(m.incoming ? 0 : amount);
                } else {
                    hr["KPB_FIYAT"] = num(m.price);
                    hr["KPB_TUTAR"] = num(amount);
                    hr["DVZKUL"] = flag(false);
                    hr["KPBDVZ"] = flag(true);
                    hr["DVZ_HSISLE"] = flag(false);
                    hr["KPB_GMIK"] = num(m.incoming ? m.quantity : 0);
                    hr["KPB_CMIK"] = num(m.incoming ? 0 : m.quantity);
                    hr["KPB_GTUT"] = num(m.incoming ? amount : 0);
                    hr["KPB_CTUT"] = num(m.incoming ? 0 : amount);
                }
                hr.insert();
            }
        }
        done(st);
        done(dvz);
        done(hr);
        setGenerator(*att_, "STOK_GEN", o_.stock);
        setGenerator(*att_, "STOKHR_GEN", hrKey);
        setGenerator(*att_, "STOKKODU_GEN", o_.stock);
    }

    // Keys 1..N in every table; the columns named after another hotel table's key point at its rows.
    void hotel() {
        const std::int64_t n = o_.hotel;
        for (const auto& h : kHotelTables) {
            Inserter t(*att_, h.table);
            for (std::int64_t k = 1; k <= n; ++k) {
                Rng r = Rng::forEntity(o_.seed, h.table, static_cast<std::uint64_t>(k));
                for (std::size_t i = 0; i < t.columns().size(); ++i) {
                    const auto& c = t.columns()[i];
                    const std::string& name = c.name;
                    Value v;
                    if (name == h.key) v = key(k);
                    else if (name == "BLRZVKODU" || name == "REZERVASYONKODU") v = key((k * 7) % n + 1);
                    else if (name == "BLODAKODU") v = key((k * 3) % n + 1);
                    else if (name == "MUSTERI_BILKODU" || name == "MUSTERIBILKODU") v = key((k * 5) % n + 1);
                    else if (name == "BLTRKODU") v = key((k * 11) % n + 1);
                    else if (name == "ACENTA_BILKODU" || name == "ACENTABILKODU") v = r.chance(40) ? key(r.between(1, 20)) : Value{};
                    else if (name == "BLRSKODU") v = Value{};
                    else if (!c.required && r.chance(5)) v = Value{};
                    else v = plausibleValue(c, r, k);
                    t.at(i) = std::move(v);
                }
                t.insert();
            }
            done(t);
            setGenerator(*att_, h.generator, n);
        }
    }

    const SourceOptions& o_;
    Report& report_;
    std::string rel_;
    db::fb::Attachment* att_ = nullptr;
    Rng rng_;
};

}  // namespace

Report writeMirkado(const SourceOptions& o) {
    if (fs::exists(o.source + "/Sirket.GDB")) throw std::runtime_error(o.source + " already holds Sirket.GDB");
    fs::create_directories(o.source);
    Report report;
    Writer w(o, report);
    w.registry();
    for (int i = 0; i < o.companies; ++i) w.companyDatabase(company(o, i));
    return report;
}

}  // namespace bench
