#include "transfer/company/CompanyList.h"

#include "db/Codepage.h"
#include "db/Dataset.h"
#include "db/FileSystem.h"
#include "db/paradox/Table.h"

#include <cmath>

namespace transfer {

namespace {

// Columns of the list hold characters, and the source holds Windows-1254: cut there, show as UTF-8.
std::string cut1254(const std::string& cp1254, std::size_t size) {
    return db::codepage::toUtf8(cp1254.size() > size ? cp1254.substr(0, size) : cp1254);
}

std::string cutUtf8(const std::string& utf8, std::size_t size) {
    std::string bytes = db::codepage::fromUtf8(utf8);
    if (bytes.size() <= size) return utf8;
    return db::codepage::toUtf8(bytes.substr(0, size));
}

}  // namespace

void CompanyList::clear() {
    rows_.clear();
    ListeYuklendi = false;
}

void CompanyList::add(CompanyRow row) {
    row.DBYOLU = pathFor(row);
    rows_.push_back(std::move(row));
}

std::string CompanyList::pathFor(const CompanyRow& row) const {
    std::string year = row.CYILI ? std::to_string(*row.CYILI) : std::string();
    return cutUtf8(db::fsys::normalizeTyped(targetFolder_) + db::fsys::separator() + row.SIRKETKODU +
                       db::fsys::separator() + year,
                   kDbYoluSize);
}

void CompanyList::fillFromInterBase(db::Dataset& sirket4, const std::string& targetFolder, int currentYear) {
    clear();
    targetFolder_ = targetFolder;
    sirket4.first();
    while (!sirket4.eof()) {
        CompanyRow row;
        row.KISAAD = cut1254(sirket4.asString("KISAAD"), kKisaAdSize);
        row.SIRKETKODU = cut1254(sirket4.asString("SIRKETKODU"), kSirketKoduSize);
        int year = sirket4.asInteger("CALISMAYILI");
        row.CYILI = year >= 1 ? year : currentYear;
        add(std::move(row));
        sirket4.next();
    }
    ListeYuklendi = true;
}

void CompanyList::fillFromParadox(db::paradox::Table& sirket, const std::string& targetFolder, int currentYear) {
    clear();
    targetFolder_ = targetFolder;
    sirket.first();
    while (!sirket.eof()) {
        CompanyRow row;
        row.KISAAD = cut1254(sirket.asString("KISA_AD"), kKisaAdSize);
        row.SIRKETKODU = cut1254(sirket.asString("SIRKET_KOD"), kSirketKoduSize);
        double n = sirket.asFloat("NUMBER1");
        // Rounded to the nearest whole number the way the old tools rounded: ties to even.
        row.CYILI = n > 0 ? static_cast<int>(std::nearbyint(n)) : currentYear;
        add(std::move(row));
        sirket.next();
    }
    ListeYuklendi = true;
}

bool CompanyList::insertRow(const CompanyRow& row) {
    if (ListeYuklendi) return false;
    add(row);
    return true;
}

bool CompanyList::deleteRow(std::size_t) { return false; }

void CompanyList::setYear(std::size_t i, std::optional<int> year) { rows_.at(i).CYILI = year; }

void CompanyList::refreshPath(std::size_t i) { rows_.at(i).DBYOLU = pathFor(rows_.at(i)); }

}  // namespace transfer
