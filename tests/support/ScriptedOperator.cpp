#include "ScriptedOperator.h"

namespace testsupport {

std::optional<std::string> ScriptedOperator::askPassword() {
    ++loginShown;
    if (passwords.empty()) return std::nullopt;
    auto answer = passwords.front();
    passwords.erase(passwords.begin());
    return answer;
}

void ScriptedOperator::editCompanyYears(transfer::CompanyList& list) {
    ++companyListShown;
    if (onCompanyList) onCompanyList(list);
    listed.clear();
    for (const auto& r : list.rows())
        listed.push_back(r.SIRKETKODU + "|" + (r.CYILI ? std::to_string(*r.CYILI) : "") + "|" + r.DBYOLU);
}

void ScriptedOperator::messageBox(const std::string& text, const std::string& title, app::Icon icon) {
    messages.push_back({"box", text, title, icon});
}

void ScriptedOperator::plainMessage(const std::string& text) { messages.push_back({"plain", text, "", app::Icon::None}); }

void ScriptedOperator::showError(const std::string& text) { messages.push_back({"error", text, "", app::Icon::Error}); }

void ScriptedOperator::setProgressMax(int maximum) {
    lastMax = maximum;
    progressMaxima.push_back(maximum);
}

void ScriptedOperator::setProgressText(const std::string& text) {
    if (progressTexts.empty() || progressTexts.back() != text) progressTexts.push_back(text);
}

std::string ScriptedOperator::allMessages() const {
    std::string out;
    for (const auto& m : messages) out += "[" + m.kind + "|" + m.title + "] " + m.text + "\n";
    return out;
}

}  // namespace testsupport
