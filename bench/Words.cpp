#include "Words.h"

#include <cstdio>
#include <vector>

#include "db/Codepage.h"

namespace bench::words {

std::string cp(const std::string& utf8) { return db::codepage::fromUtf8(utf8); }

namespace {

// Converted once: the generator draws from these lists hundreds of thousands of times.
class List {
public:
    List(std::initializer_list<const char*> utf8) {
        for (const char* s : utf8) items_.push_back(cp(s));
    }
    const std::string& pick(Rng& r) const { return items_[r.below(items_.size())]; }
    const std::string& at(std::size_t i) const { return items_[i % items_.size()]; }

private:
    std::vector<std::string> items_;
};

const List& firstNames() {
    static const List l{"Ayşe", "Mehmet", "Çağla", "Güneş", "Şükrü", "İsmail", "Özlem", "Ümit", "Gülşen", "Oğuz",
                        "Işıl", "Ahmet", "Fatma", "Hüseyin", "Zeynep", "Ömer", "Elif", "Mustafa", "Sevgi", "Çetin"};
    return l;
}
const List& surnames() {
    static const List l{"Yılmaz", "Çelik", "Şahin", "Öztürk", "Doğan", "Kılıç", "Aydın", "Güler", "Arslan", "Koç",
                        "Özdemir", "Kaya", "Demir", "Yıldırım", "Erdoğdu", "Bulut", "Aksoy", "Işık", "Ünal", "Çakır"};
    return l;
}
const List& tradeNames() {
    static const List l{"Çiçek", "Yıldız", "Güneş", "Öz Ağaç", "Şimşek", "Doğuş", "İpek", "Ülkü", "Gökçe", "Çınar",
                        "Özgür", "Ilgaz", "Kardeşler", "Başak", "Ege", "Toros"};
    return l;
}
const List& trades() {
    static const List l{"Ticaret", "Gıda", "Tekstil", "İnşaat", "Turizm", "Kırtasiye", "Mobilya", "Elektrik",
                        "Otomotiv", "Tarım Ürünleri", "Kuyumculuk", "Hırdavat"};
    return l;
}
const List& cities() {
    static const List l{"İstanbul", "İzmir", "Ankara", "Eskişehir", "Muğla", "Şanlıurfa", "Çanakkale", "Iğdır",
                        "Kırşehir", "Düzce", "Gümüşhane", "Bursa", "Ağrı", "Çorum"};
    return l;
}
const List& districts() {
    static const List l{"Kadıköy", "Üsküdar", "Karşıyaka", "Çankaya", "Bodrum", "Şişli", "Beşiktaş", "Gölcük",
                        "Ödemiş", "Çeşme", "Tepebaşı", "Nilüfer"};
    return l;
}
const List& streets() {
    static const List l{"Atatürk Cad.", "Gül Sok.", "İnönü Bulvarı", "Çamlık Sok.", "Şehit Öğretmen Cad.",
                        "Menekşe Sok.", "Cumhuriyet Mah.", "Yeşilçam Sok.", "Ihlamur Yolu", "Kışla Cad."};
    return l;
}
const List& taxOffices() {
    static const List l{"Kadıköy V.D.", "Göztepe", "Karşıyaka", "Çankaya", "Boğaziçi Kurumlar", "Ulus",
                        "Şişli", "Osmangazi"};
    return l;
}
const List& products() {
    static const List l{"Çay", "Şeker", "Un", "Zeytinyağı", "Peynir", "Kırmızı Mercimek", "Pirinç", "Fındık",
                        "Kuru İncir", "Bulgur", "Kaşar", "Çikolata", "Sabun", "Deterjan", "Defter", "Kalem"};
    return l;
}
const List& productKinds() {
    static const List l{"Birinci Sınıf", "Ekonomik", "Özel Seri", "İthal", "Yerli Üretim", "Organik",
                        "Büyük Boy", "Küçük Boy"};
    return l;
}
const List& units() {
    static const List l{"Adet", "Kg", "Lt", "Koli", "Paket", "Metre", "Çuval", "Düzine"};
    return l;
}
const List& banks() {
    static const List l{"Ziraat Bankası Kadıköy Şb.", "İş Bankası Üsküdar Şb.", "Halkbank Çankaya Şb.",
                        "Vakıfbank Karşıyaka Şb.", "Yapı Kredi Şişli Şb."};
    return l;
}
const List& notes() {
    static const List l{"Ödemeler ay sonunda çek ile yapılır.",
                        "Sevkiyat öncesi telefonla aranmalı; öğleden sonra teslim.",
                        "İskonto yalnızca peşin ödemede geçerlidir.",
                        "Şubat ayından itibaren yeni fiyat listesi uygulanacak.",
                        "Müşteri temsilcisi: Gülşen Hanım. Faturalar şirket adına kesilir.",
                        "Çağrı merkezi üzerinden sipariş veriyor.",
                        "Kış aylarında ürün çeşidi azalır, stok takibi önemli."};
    return l;
}
const List& staffNames() {
    static const List l{"Yetkili", "Gülşen Kaya", "Ömer Çelik", "Işıl Doğan", "Şükrü Ünal", "Muhasebe"};
    return l;
}
const List& groups() {
    static const List l{"Toptancılar", "Perakende", "İhracat", "Şubeler", "Bayiler", "Kurumsal", "Öğrenci",
                        "Çiftçiler", "Oteller", "Lokantalar", "Eczaneler", "Okullar"};
    return l;
}
const List& subgroups() {
    static const List l{"İç Anadolu", "Ege", "Marmara", "Karadeniz", "Güneydoğu", "Akdeniz", "Doğu"};
    return l;
}

const List& stockGroups() {
    static const List l{"Gıda", "Temizlik", "Kırtasiye", "İçecek", "Şarküteri", "Baharat", "Kuruyemiş",
                        "Unlu Mamul", "Süt Ürünleri", "Hırdavat", "Ambalaj", "Züccaciye"};
    return l;
}

}  // namespace

const std::string& firstName(Rng& r) { return firstNames().pick(r); }
const std::string& surname(Rng& r) { return surnames().pick(r); }
const std::string& tradeName(Rng& r) { return tradeNames().pick(r); }
const std::string& trade(Rng& r) { return trades().pick(r); }
const std::string& city(Rng& r) { return cities().pick(r); }
const std::string& district(Rng& r) { return districts().pick(r); }
const std::string& street(Rng& r) { return streets().pick(r); }
const std::string& taxOffice(Rng& r) { return taxOffices().pick(r); }
const std::string& product(Rng& r) { return products().pick(r); }
const std::string& productKind(Rng& r) { return productKinds().pick(r); }
const std::string& unit(Rng& r) { return units().pick(r); }
const std::string& bank(Rng& r) { return banks().pick(r); }
const std::string& note(Rng& r) { return notes().pick(r); }
const std::string& staff(Rng& r) { return staffNames().pick(r); }
const std::string& groupName(std::size_t i) { return groups().at(i); }
const std::string& subgroupName(std::size_t i) { return subgroups().at(i); }

const std::string& stockGroupName(std::size_t i) { return stockGroups().at(i); }

std::string oneOf(Rng& r, std::initializer_list<const char*> items) {
    return cp(*(items.begin() + r.below(items.size())));
}

std::string address(Rng& r, int lines) {
    std::string s = street(r) + " No:" + std::to_string(r.between(1, 180));
    if (r.chance(50)) s += " D:" + std::to_string(r.between(1, 24));
    for (int i = 1; i < lines; ++i) {
        s += "\r\n";
        s += i == 1 ? district(r) + " / " + city(r) : cp("Posta kodu ") + std::to_string(r.between(1000, 81999));
    }
    if (lines <= 1) s += " " + district(r) + " / " + city(r);
    return s;
}

std::string phone(Rng& r) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0(%03d) %03d %02d %02d", int(r.between(212, 488)), int(r.between(200, 999)),
                  int(r.between(0, 99)), int(r.between(0, 99)));
    return buf;
}

std::string fit(std::string s, std::size_t width) {
    if (s.size() > width) s.resize(width);
    return s;
}

}  // namespace bench::words
