#include "Filler.h"

#include <cstdio>

#include "Words.h"

namespace bench {

using words::cp;

namespace {

bool starts(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }
bool has(const std::string& s, const char* part) { return s.find(part) != std::string::npos; }

std::string digits(Rng& r, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>('0' + (i == 0 ? r.between(1, 9) : r.below(10)));
    return s;
}

std::string text(const std::string& n, Rng& r, std::int64_t row, unsigned width) {
    if (width <= 1) return r.chance(50) ? "1" : "0";
    if (n == "ADI" || n == "BABAADI") return words::firstName(r);
    if (has(n, "SOYADI")) return words::surname(r);
    if (n == "MUSTERIADI") return words::firstName(r) + " " + words::surname(r);
    if (starts(n, "ACENTA")) return words::tradeName(r) + " Turizm";
    if (n == "IL" || n == "DOGUMYERI" || n == "NUFUSDAIRESI") return words::city(r);
    if (n == "ILCE") return words::district(r);
    if (n == "MAH_KOY") return words::street(r);
    if (has(n, "ADRES")) return words::address(r, 1);
    if (starts(n, "TEL") || n == "EVTEL" || n == "CEPTEL" || n == "FAX") return words::phone(r);
    if (n == "KAYDEDEN" || n == "DUZENLEYEN" || n == "IPTALEDEN") return words::staff(r);
    if (n == "DVZBRM") return r.chance(50) ? "USD" : "EUR";
    if (n == "HITAP") return words::oneOf(r, {"Bay", "Bayan", "Sayın"});
    if (n == "CINSIYETI") return words::oneOf(r, {"Erkek", "Kadın"});
    if (n == "MEDENIHALI") return words::oneOf(r, {"Evli", "Bekar"});
    if (n == "DINI") return cp("İslam");
    if (n == "UYRUGU") return words::oneOf(r, {"T.C.", "Alman", "İngiliz", "Rus"});
    if (n == "ODATIPI" || n == "TIPADI") return words::oneOf(r, {"Standart", "Suit", "Aile", "Tek Kişi"});
    if (n == "ODAADI" || n == "ODANO") return std::to_string(100 * r.between(1, 5) + r.between(1, 30));
    if (starts(n, "PANSIYON")) return words::oneOf(r, {"HB", "FB", "BB", "AI"});
    if (n == "DURUM") return words::oneOf(r, {"Onaylı", "Beklemede", "Giriş Yaptı", "Çıkış Yaptı"});
    if (n == "DONEMADI") return words::oneOf(r, {"Yaz 2005", "Kış 2005", "Bayram", "Sezon Dışı"});
    if (n == "TARIFEADI") return words::oneOf(r, {"Yaz Tarifesi", "Kış Tarifesi", "Standart", "Acenta"});
    if (n == "TCKIMLIKNO") return digits(r, 11);
    if (n == "HUVIYETNO") return "A" + digits(r, 2) + " " + digits(r, 6);
    if (n == "HUVIYETTURU") return words::oneOf(r, {"Nüfus Cüzdanı", "Pasaport", "Ehliyet"});
    if (n == "MESLEGI") return words::oneOf(r, {"Öğretmen", "Mühendis", "Doktor", "Esnaf", "Emekli"});
    if (n == "YAKINLIK") return words::oneOf(r, {"Eşi", "Oğlu", "Kızı", "Annesi", "Arkadaşı"});
    if (n == "IPTALNEDENI") return words::oneOf(r, {"Hatalı giriş", "Müşteri vazgeçti", "Çift kayıt"});
    if (n == "ARIZA") return words::oneOf(r, {"Klima çalışmıyor", "Musluk damlatıyor", "Televizyon arızalı",
                                              "Kapı kilidi bozuk", "Ampul değişecek"});
    if (starts(n, "ACIKLAMA") || n == "HSKPRNOT") return words::note(r);
    if (n == "HKODU") return std::to_string(r.between(100, 999));
    if (has(n, "VOUCHER") || has(n, "NO")) return std::to_string(r.between(1, 99999));
    if (n == "ONAY_KODU") return "ONY" + std::to_string(row % 10000);
    return cp("Kayıt ") + std::to_string(row);
}

}  // namespace

db::Value plausibleValue(const db::fb::Column& c, Rng& r, std::int64_t row) {
    using db::fb::Kind;
    const std::string& n = c.name;
    switch (c.kind) {
        case Kind::Text:
        case Kind::TextBlob: return words::fit(text(n, r, row, c.width ? c.width : 20), c.width ? c.width : 20);
        case Kind::Integer:
            if (n == "YASI") return static_cast<std::int64_t>(r.between(1, 85));
            if (has(n, "GECELEME")) return static_cast<std::int64_t>(r.between(1, 14));
            if (has(n, "YETISKIN")) return static_cast<std::int64_t>(r.between(1, 4));
            if (has(n, "COCUK")) return static_cast<std::int64_t>(r.between(0, 3));
            if (has(n, "RENK")) return static_cast<std::int64_t>(r.below(0x1000000));
            return static_cast<std::int64_t>(r.between(1, c.scale ? 999 : 9));
        case Kind::Float:
        case Kind::Numeric:
            if (has(n, "KURU")) return static_cast<double>(r.between(12000, 26000)) / 10000.0;
            if (has(n, "UCRET")) return r.money(40, 450);
            return r.money(0, 1500);
        case Kind::Date:
            if (starts(n, "DOGUM")) return db::Date{static_cast<int>(r.between(1940, 2000)), 1 + static_cast<int>(r.below(12)), 1 + static_cast<int>(r.below(28))};
            return db::Date{2005, 1 + static_cast<int>(r.below(12)), 1 + static_cast<int>(r.below(28))};
        case Kind::Time:
            return db::Time{static_cast<int>(has(n, "CIKIS") ? r.between(9, 12) : r.between(12, 23)), static_cast<int>(r.below(4) * 15), 0, 0};
        case Kind::Timestamp:
            return db::Timestamp{db::Date{2005, 1 + static_cast<int>(r.below(12)), 1 + static_cast<int>(r.below(28))},
                                 db::Time{static_cast<int>(r.below(24)), static_cast<int>(r.below(60)), 0, 0}};
        case Kind::Boolean: return static_cast<std::int64_t>(r.below(2));
        default: return db::kNull;
    }
}

}  // namespace bench
