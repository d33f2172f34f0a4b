// The company list shown by the company list dialog (RSirket_T): one row per source company, in registry
// order, with the working year the operator may change. Its rules live here; the dialog only shows it.
// Texts are UTF-8 (it is a display list); each is cut to its column's size in characters.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace db {
class Dataset;
namespace paradox {
class Table;
}
}  // namespace db

namespace transfer {

struct CompanyRow {
    std::string KISAAD;      // 50
    std::string SIRKETKODU;  // 30
    std::optional<int> CYILI;
    std::string DBYOLU;  // 100, display only
};

class CompanyList {
public:
    static constexpr std::size_t kKisaAdSize = 50, kSirketKoduSize = 30, kDbYoluSize = 100;

    // Fill from the open source registry, from its first row (the cursor is left at its end). Clears
    // ListeYuklendi first, so a second showing in one program start fills again.
    void fillFromInterBase(db::Dataset& sirket4, const std::string& targetFolder, int currentYear);
    void fillFromParadox(db::paradox::Table& sirket, const std::string& targetFolder, int currentYear);
    void clear();

    std::size_t size() const { return rows_.size(); }
    const CompanyRow& row(std::size_t i) const { return rows_.at(i); }
    const std::vector<CompanyRow>& rows() const { return rows_; }

    // Insertion by the operator is refused once the list is loaded; deletion always.
    bool insertRow(const CompanyRow& row);
    bool deleteRow(std::size_t i);

    // The operator's edit of the working year; `refreshPath` is what Enter does (DBYOLU follows the year).
    void setYear(std::size_t i, std::optional<int> year);
    void refreshPath(std::size_t i);

    // The year the transfers use: an empty cell counts as 0.
    int year(std::size_t i) const { return rows_.at(i).CYILI.value_or(0); }

    bool ListeYuklendi = false;
    const std::string& targetFolder() const { return targetFolder_; }

private:
    void add(CompanyRow row);
    std::string pathFor(const CompanyRow& row) const;
    std::vector<CompanyRow> rows_;
    std::string targetFolder_;
};

}  // namespace transfer
