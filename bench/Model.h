// The business of a generated old installation, independent of how either old program stored it: companies,
// currencies, groups, customer cards with their movements, stock cards with theirs. Both writers (the
// InterBase one and the Paradox one) store the same business, each in its own layout.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "Rng.h"
#include "db/Value.h"

namespace bench {

struct SourceOptions {
    std::string kind = "mirkado4";  // or "kobaltin"
    std::string source, target;
    int companies = 2;
    int cards = 12;
    int movements = 5;  // per customer card and per stock card
    int stock = 10;
    int groups = 4;     // customer groups and stock groups each
    int subgroups = 2;  // per group
    int currencies = 5;
    int hotel = 6;      // rows per hotel table
    int foreignEvery = 4;      // every n-th card and stock card runs in a foreign currency
    int instalmentEvery = 3;   // every n-th customer card has instalments, one of them unpaid
    std::uint64_t seed = 1;
    bool turkishCodes = true;  // "müşteri-001" (upper-cased by the upgrade) instead of "car-000001"
};

// "demo" or "bench"; false for an unknown name.
bool applyPreset(SourceOptions& o, const std::string& name);

struct Company {
    int index = 0;  // 0-based
    std::string code;  // "FIRMA1"
    int year = 2005;
    std::string shortName, title;
};
Company company(const SourceOptions& o, int index);

struct Currency {
    std::string simge, name;  // Windows-1254
    double alis = 0, satis = 0;
    db::Date date;
};
// The first five are real currencies; further rows get made-up symbols of four characters.
std::vector<Currency> currencies(const SourceOptions& o);

struct Group {
    std::string name, description;
    std::vector<std::string> subNames, subDescriptions;
};
std::vector<Group> customerGroups(const SourceOptions& o);
std::vector<Group> stockGroups(const SourceOptions& o);

struct CustomerMovement {
    db::Date date, due;
    std::string kind;  // IS_TURU
    std::string document;
    bool debit = true;
    double local = 0;  // amount in local currency
    bool foreign = false;
    std::string currency;  // for a foreign movement
    double foreignAmount = 0, rate = 0;
    bool instalment = false, paid = true;
    bool flagsNull = false;  // old rows without currency flags at all
    std::string note;
};

struct CustomerBalance {  // one per currency of a foreign-currency card
    std::string currency;
    double openingDebit = 0, openingCredit = 0;
};

struct Customer {
    int key = 0;  // 1-based
    std::string code;  // as the old program stored it (lower case)
    int group = -1, subgroup = -1;
    std::string specialCode, firstName, surname, title, taxOffice, taxNo;
    bool discount = false;
    double discountRate = 0;
    std::string tel1, tel2, homeTel, mobile, fax, email, web, note;  // note may hold line breaks
    std::string address;  // two lines
    bool foreign = false;
    std::string currency;  // "YTL" for local cards
    double creditLimit = 0;
    bool limitWarning = false;
    std::string recordedBy;
    db::Timestamp recorded;
    std::vector<CustomerBalance> balances;
    std::vector<CustomerMovement> movements;
    // Totals of the movements, as the old cards kept them.
    double localDebit = 0, localCredit = 0, foreignDebit = 0, foreignCredit = 0;
};
Customer customer(const SourceOptions& o, const Company& c, const std::vector<Currency>& cur,
                  const std::vector<Group>& groups, int key);

struct StockMovement {
    db::Date date;
    bool incoming = true;
    double quantity = 0, price = 0;  // price in local currency, or in the currency for a foreign movement
    bool foreign = false;
    std::string currency;
    double rate = 0;
    std::string document, customerCode;
};

struct StockPrice {  // one per currency of a foreign-currency card
    std::string currency;
    double buy = 0, sell[4] = {0, 0, 0, 0};
    double carriedQuantity = 0, carriedAmount = 0;
};

struct Stock {
    int key = 0;
    std::string code, name, specialCode, unit, unit2, quality, maker, description;  // description may be long
    int group = -1, subgroup = -1;
    double vat = 18, buy = 0, sell[4] = {0, 0, 0, 0};
    bool buyDiscount = false, sellDiscount = false;
    double buyDiscountRate = 0, sellDiscountRate = 0;
    bool foreign = false;
    std::string currency;
    std::string warning;  // '0', '1', '2'
    double minStock = 0, maxStock = 0, unitFactor = 0;
    std::optional<db::Date> made, expires;
    bool expiryWarning = false;
    db::Date recorded;
    std::string recordedBy;
    int orderMin = 0, orderAdd = 0;
    double carriedQuantity = 0, carriedAmount = 0;  // local-currency carry-over from the previous period
    std::vector<StockPrice> prices;
    std::vector<StockMovement> movements;
    // Totals, as the old cards kept them.
    double inQuantity = 0, outQuantity = 0, inAmount = 0, outAmount = 0;
};
Stock stock(const SourceOptions& o, const Company& c, const std::vector<Currency>& cur,
            const std::vector<Group>& groups, int key);

// "müşteri-001" or "car-000001"; unique after Turkish upper-casing because the numbers differ.
std::string customerCode(const SourceOptions& o, int key);
std::string stockCode(const SourceOptions& o, int key);

}  // namespace bench
