#include "Model.h"

#include <cmath>
#include <cstdio>

#include "Words.h"

namespace bench {

using words::cp;
using words::fit;

namespace {

double round2(double v) { return std::round(v * 100.0) / 100.0; }

db::Date dayOf(int year, int dayOfYear) {
    return db::fromDayNumber(db::toDayNumber(db::Date{year, 1, 1}) + dayOfYear);
}

std::string padded(int n, int digits) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%0*d", digits, n);
    return buf;
}

// Movement j of `count` falls in its own stretch of the year, so the rows of a card run in date order.
db::Date movementDate(Rng& r, int j, int count) {
    int stretch = 360 / std::max(count, 1);
    return dayOf(2004, std::min(364, j * stretch + static_cast<int>(r.below(std::max(stretch, 1)))));
}

}  // namespace

bool applyPreset(SourceOptions& o, const std::string& name) {
    if (name == "demo") {
        o.companies = 2, o.cards = 12, o.movements = 5, o.stock = 10, o.groups = 4, o.subgroups = 2;
        o.currencies = 5, o.hotel = 6, o.foreignEvery = 4, o.instalmentEvery = 3, o.turkishCodes = true;
        return true;
    }
    if (name == "bench") {
        o.companies = 1, o.cards = 20000, o.movements = 10, o.stock = 20000, o.groups = 200, o.subgroups = 2;
        o.currencies = 500, o.hotel = 10000, o.foreignEvery = 10, o.instalmentEvery = 10, o.turkishCodes = false;
        return true;
    }
    return false;
}

Company company(const SourceOptions& o, int index) {
    Company c;
    c.index = index;
    c.code = "FIRMA" + std::to_string(index + 1);
    c.year = 2005 + index;
    Rng r = Rng::forEntity(o.seed, "sirket", index);
    if (index == 0) c.shortName = cp("Çiçek Ticaret");
    else if (index == 1) c.shortName = cp("Yıldız Gıda");
    else c.shortName = fit(words::tradeName(r) + " " + words::trade(r) + " " + std::to_string(index + 1), 30);
    c.title = c.shortName + cp(" San. ve Tic. Ltd. Şti.");
    return c;
}

std::vector<Currency> currencies(const SourceOptions& o) {
    struct Known {
        const char *simge, *name;
        double alis, satis;
    };
    static const Known known[] = {{"USD", "Amerikan Doları", 1.3450, 1.3520},
                                  {"EUR", "Euro", 1.6380, 1.6460},
                                  {"GBP", "İngiliz Sterlini", 2.4010, 2.4130},
                                  {"CHF", "İsviçre Frangı", 1.0550, 1.0610},
                                  {"JPY", "Japon Yeni", 0.0121, 0.0123}};
    std::vector<Currency> out;
    for (int i = 0; i < o.currencies; ++i) {
        Rng r = Rng::forEntity(o.seed, "doviz", i);
        Currency c;
        c.date = dayOf(2004, 360 + static_cast<int>(r.below(5)));
        if (i < 5) {
            c.simge = known[i].simge;
            c.name = cp(known[i].name);
            c.alis = known[i].alis;
            c.satis = known[i].satis;
        } else {
            static const char digits[] = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
            c.simge = std::string("Q") + digits[(i / 1296) % 36] + digits[(i / 36) % 36] + digits[i % 36];
            c.name = cp("Döviz Birimi ") + std::to_string(i + 1);
            c.alis = static_cast<double>(r.between(100, 500000)) / 10000.0;
            c.satis = std::round(c.alis * 1.005 * 10000.0) / 10000.0;
        }
        out.push_back(c);
    }
    return out;
}

namespace {

std::vector<Group> groups(const SourceOptions& o, bool stock) {
    std::vector<Group> out;
    for (int g = 0; g < o.groups; ++g) {
        Rng r = Rng::forEntity(o.seed, stock ? "stokgrup" : "carigrup", g);
        Group gr;
        const std::string& base = stock ? words::stockGroupName(g % 12) : words::groupName(g % 12);
        gr.name = g < 12 ? base : fit(base, 10) + "-" + std::to_string(g / 12);
        gr.description = fit(base + cp(" grubu; ") + words::note(r), 50);
        for (int s = 0; s < o.subgroups; ++s) {
            std::string sub = words::subgroupName(s);
            if (s >= 7) sub = fit(sub, 10) + "-" + std::to_string(s / 7);
            gr.subNames.push_back(sub);
            gr.subDescriptions.push_back(fit(gr.name + " / " + sub, 50));
        }
        out.push_back(gr);
    }
    return out;
}

int foreignCurrency(Rng& r, const std::vector<Currency>& cur) {
    return static_cast<int>(r.below(std::min<std::size_t>(cur.size(), 5)));
}

}  // namespace

std::vector<Group> customerGroups(const SourceOptions& o) { return groups(o, false); }
std::vector<Group> stockGroups(const SourceOptions& o) { return groups(o, true); }

std::string customerCode(const SourceOptions& o, int key) {
    return o.turkishCodes ? cp("müşteri-") + padded(key, 3) : "car-" + padded(key, 6);
}
std::string stockCode(const SourceOptions& o, int key) {
    return o.turkishCodes ? cp("ürün-") + padded(key, 3) : "stk-" + padded(key, 6);
}

Customer customer(const SourceOptions& o, const Company& co, const std::vector<Currency>& cur,
                  const std::vector<Group>& groups, int key) {
    Rng r = Rng::forEntity(o.seed ^ static_cast<std::uint64_t>(co.index) << 40, "cari", key);
    Customer c;
    c.key = key;
    c.code = customerCode(o, key);
    if (!groups.empty()) {
        c.group = key % static_cast<int>(groups.size());
        if (!groups[c.group].subNames.empty()) c.subgroup = key % static_cast<int>(groups[c.group].subNames.size());
    }
    c.specialCode = "OZ" + padded(static_cast<int>(r.below(100)), 2);
    c.firstName = words::firstName(r);
    c.surname = words::surname(r);
    c.title = key % 3 == 0 ? c.firstName + " " + c.surname : words::tradeName(r) + " " + words::trade(r);
    if (key % 3 != 0 && r.chance(50)) c.title += cp(" Ltd. Şti.");
    c.taxOffice = words::taxOffice(r);
    c.taxNo = padded(static_cast<int>(r.between(100000000, 999999999)), 10);
    c.discount = r.chance(30);
    c.discountRate = c.discount ? static_cast<double>(r.between(1, 15)) : 0;
    c.tel1 = words::phone(r);
    if (r.chance(40)) c.tel2 = words::phone(r);
    if (r.chance(30)) c.homeTel = words::phone(r);
    c.mobile = "0(5" + padded(static_cast<int>(r.between(30, 59)), 2) + ") " +
               padded(static_cast<int>(r.between(100, 999)), 3) + " " + padded(static_cast<int>(r.below(10000)), 4);
    if (r.chance(20)) c.fax = words::phone(r);
    c.email = "cari" + std::to_string(key) + "@ornek.com.tr";
    if (r.chance(30)) c.web = "www.ornek" + std::to_string(key) + ".com.tr";
    // Notes of one to three sentences: long ones run past the part an old record keeps in itself.
    c.note = words::note(r);
    for (int extra = static_cast<int>(r.below(3)); extra > 0; --extra) c.note += "\r\n" + words::note(r);
    c.address = words::address(r, 2);
    c.foreign = !cur.empty() && key % o.foreignEvery == 0;
    int ci = c.foreign ? foreignCurrency(r, cur) : -1;
    c.currency = c.foreign ? cur[ci].simge : "YTL";
    c.creditLimit = r.chance(50) ? static_cast<double>(r.between(1, 50)) * 1000.0 : 0;
    c.limitWarning = c.creditLimit > 0 && r.chance(50);
    c.recordedBy = words::staff(r);
    c.recorded = db::Timestamp{dayOf(2003, static_cast<int>(r.below(365))),
                               db::Time{static_cast<int>(r.between(8, 18)), static_cast<int>(r.below(60)), 0, 0}};

    if (c.foreign) {
        CustomerBalance b;
        b.currency = c.currency;
        b.openingDebit = r.chance(70) ? r.money(10, 2500) : 0;
        b.openingCredit = r.chance(40) ? r.money(10, 1200) : 0;
        c.balances.push_back(b);
        if (key % 3 == 0 && cur.size() > 1) {
            CustomerBalance b2;
            b2.currency = cur[(ci + 1) % std::min<std::size_t>(cur.size(), 5)].simge;
            b2.openingDebit = r.money(5, 900);
            c.balances.push_back(b2);
        }
    }

    const int n = o.movements;
    const bool withInstalments = n > 0 && key % o.instalmentEvery == 0;
    for (int j = 0; j < n; ++j) {
        CustomerMovement m;
        m.date = movementDate(r, j, n);
        m.due = m.date;
        m.document = "EV" + padded(key % 100000, 5) + padded(j, 2);
        m.note = r.chance(40) ? words::note(r) : std::string();
        if (withInstalments && j >= n - 2) {
            // The last two are instalments of one sale: the earlier paid, the later still open.
            m.kind = "Taksit";
            m.instalment = true;
            m.paid = j != n - 1;
            m.debit = true;
            m.local = r.money(100, 1500);
            m.due = db::fromDayNumber(db::toDayNumber(m.date) + 30 * (j - n + 3));
        } else if (c.foreign && j % 2 == 1) {
            m.foreign = true;
            m.currency = c.currency;
            m.rate = cur[ci].satis;
            m.debit = j % 4 == 1;
            m.foreignAmount = m.debit ? r.money(50, 3000) : r.money(20, 1500);
            m.local = round2(m.foreignAmount * m.rate);
            m.kind = m.debit ? "Fatura" : cp("Ödeme");
        } else {
            m.debit = j % 2 == 0;
            m.local = m.debit ? r.money(100, 5000) : r.money(50, 3000);
            m.kind = m.debit ? std::string("Fatura") : words::oneOf(r, {"Tahsilat", "Çek", "Senet", "Virman"});
            m.flagsNull = r.chance(3);
        }
        if (m.foreign) (m.debit ? c.foreignDebit : c.foreignCredit) += m.foreignAmount;
        (m.debit ? c.localDebit : c.localCredit) += m.local;
        c.movements.push_back(std::move(m));
    }
    c.localDebit = round2(c.localDebit), c.localCredit = round2(c.localCredit);
    c.foreignDebit = round2(c.foreignDebit), c.foreignCredit = round2(c.foreignCredit);
    return c;
}

Stock stock(const SourceOptions& o, const Company& co, const std::vector<Currency>& cur,
            const std::vector<Group>& groups, int key) {
    Rng r = Rng::forEntity(o.seed ^ static_cast<std::uint64_t>(co.index) << 40, "stok", key);
    Stock s;
    s.key = key;
    s.code = stockCode(o, key);
    s.name = words::product(r) + " " + words::productKind(r);
    if (!groups.empty()) {
        s.group = key % static_cast<int>(groups.size());
        if (!groups[s.group].subNames.empty()) s.subgroup = key % static_cast<int>(groups[s.group].subNames.size());
    }
    s.specialCode = "S" + padded(static_cast<int>(r.below(1000)), 3);
    s.unit = words::unit(r);
    if (s.unit == "Adet" && r.chance(50)) {
        s.unit2 = "Koli";
        s.unitFactor = 12;
    }
    s.quality = words::oneOf(r, {"A", "B", "1. Sınıf", "Standart"});
    s.maker = words::tradeName(r) + " " + words::trade(r);
    s.description = words::note(r);
    for (int extra = static_cast<int>(r.below(4)); extra > 0; --extra) s.description += " " + words::note(r);
    s.description = fit(s.description, 200);
    static const double vats[] = {1, 8, 18};
    s.vat = r.pick(vats);
    s.buy = r.money(1, 500);
    for (int k = 0; k < 4; ++k) s.sell[k] = round2(s.buy * (1.2 + 0.1 * k));
    s.buyDiscount = r.chance(20), s.sellDiscount = r.chance(20);
    s.buyDiscountRate = s.buyDiscount ? static_cast<double>(r.between(1, 10)) : 0;
    s.sellDiscountRate = s.sellDiscount ? static_cast<double>(r.between(1, 10)) : 0;
    s.foreign = !cur.empty() && key % o.foreignEvery == 0;
    int ci = s.foreign ? foreignCurrency(r, cur) : -1;
    s.currency = s.foreign ? cur[ci].simge : std::string();
    s.warning = std::to_string(r.below(3));
    s.minStock = static_cast<double>(r.below(10));
    s.maxStock = static_cast<double>(r.between(100, 1000));
    s.made = dayOf(2004, static_cast<int>(r.below(200)));
    if (r.chance(70)) s.expires = dayOf(2006, static_cast<int>(r.below(365)));
    s.expiryWarning = s.expires && r.chance(50);
    s.recorded = dayOf(2003, static_cast<int>(r.below(365)));
    s.recordedBy = words::staff(r);
    s.orderMin = static_cast<int>(r.below(20));
    s.orderAdd = static_cast<int>(r.below(50));
    s.carriedQuantity = r.chance(80) ? static_cast<double>(r.between(1, 100)) : 0;
    s.carriedAmount = s.carriedQuantity > 0 && r.chance(80) ? round2(s.carriedQuantity * s.buy) : 0;

    if (s.foreign) {
        auto priceIn = [&](int c) {
            StockPrice p;
            p.currency = cur[c].simge;
            double rate = cur[c].satis > 0 ? cur[c].satis : 1;
            p.buy = round2(s.buy / rate);
            for (int k = 0; k < 4; ++k) p.sell[k] = round2(s.sell[k] / rate);
            return p;
        };
        StockPrice p = priceIn(ci);
        p.carriedQuantity = r.chance(70) ? static_cast<double>(r.between(1, 40)) : 0;
        p.carriedAmount = round2(p.carriedQuantity * p.buy);
        s.prices.push_back(p);
        if (key % 3 == 0 && cur.size() > 1) s.prices.push_back(priceIn((ci + 1) % std::min<std::size_t>(cur.size(), 5)));
    }

    const int n = o.movements;
    for (int j = 0; j < n; ++j) {
        StockMovement m;
        m.date = movementDate(r, j, n);
        m.incoming = j % 2 == 0;
        m.quantity = static_cast<double>(m.incoming ? r.between(5, 60) : r.between(1, 25));
        m.document = (m.incoming ? "AF" : "SF") + padded(key % 100000, 5) + padded(j, 2);
        if (o.cards > 0) m.customerCode = customerCode(o, static_cast<int>(r.between(1, o.cards)));
        if (s.foreign && j % 3 == 2) {
            m.foreign = true;
            m.currency = s.currency;
            m.rate = cur[ci].satis;
            m.price = s.prices[0].buy;
        } else {
            m.price = m.incoming ? s.buy : s.sell[0];
        }
        if (!m.foreign) {
            (m.incoming ? s.inQuantity : s.outQuantity) += m.quantity;
            (m.incoming ? s.inAmount : s.outAmount) += round2(m.quantity * m.price);
        }
        s.movements.push_back(std::move(m));
    }
    return s;
}

}  // namespace bench
