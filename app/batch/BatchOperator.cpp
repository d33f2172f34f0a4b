#include "BatchOperator.h"

#include "transfer/company/CompanyList.h"

namespace app {

void BatchOperator::print(std::FILE* to, const std::string& text) {
    // Message texts use CR LF line breaks, as the windows show them; the console wants plain lines.
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') continue;
        out += text[i];
    }
    std::fprintf(to, "%s\n", out.c_str());
    std::fflush(to);
}

void BatchOperator::editCompanyYears(transfer::CompanyList& list) {
    for (std::size_t i = 0; i < list.size(); ++i) {
        auto it = years.find(list.row(i).SIRKETKODU);
        if (it == years.end()) continue;
        list.setYear(i, it->second);
        list.refreshPath(i);
    }
    for (const auto& [code, year] : years) {
        bool found = false;
        for (const auto& r : list.rows()) found = found || r.SIRKETKODU == code;
        if (!found) print(messages_, "Uyarı: --year " + code + "=" + std::to_string(year) + " için şirket bulunamadı.");
    }
    for (const auto& r : list.rows())
        print(progress_, "Şirket " + r.SIRKETKODU + " / " + r.KISAAD + " : Çalışma Yılı " +
                             (r.CYILI ? std::to_string(*r.CYILI) : std::string()) + " -> " + r.DBYOLU);
}

void BatchOperator::messageBox(const std::string& text, const std::string& title, Icon) {
    flushProgress();
    print(messages_, title + ": " + text);
}

void BatchOperator::plainMessage(const std::string& text) {
    flushProgress();
    print(messages_, text);
}

void BatchOperator::showError(const std::string& text) {
    flushProgress();
    print(messages_, "Hata: " + text);
}

void BatchOperator::setProgressMax(int maximum) {
    // A new maximum starts the next transfer: the one before it is done.
    flushProgress();
    maximum_ = maximum;
}

void BatchOperator::setProgressText(const std::string& text) {
    flushProgress();
    text_ = text;
    position_ = 0;
    open_ = true;
    print(progress_, "  " + text_ + " (" + (maximum_ < 0 ? std::string("?") : std::to_string(maximum_)) + " kayıt)");
}

void BatchOperator::flushProgress() {
    if (!open_) return;
    open_ = false;
    std::string total = maximum_ < 0 ? std::string("?") : std::to_string(maximum_);
    print(progress_, "  " + text_ + " " + std::to_string(position_) + "/" + total);
}

void BatchOperator::setCompanyText(const std::string& text) {
    flushProgress();
    print(progress_, "Aktarılan Şirket : " + text);
}

}  // namespace app
