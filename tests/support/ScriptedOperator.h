// An operator that answers the run from a script and records what it was shown: the tests' front end.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/run/Operator.h"
#include "transfer/company/CompanyList.h"

namespace testsupport {

class ScriptedOperator : public app::Operator {
public:
    struct Message {
        std::string kind;  // "box", "plain", "error"
        std::string text, title;
        app::Icon icon = app::Icon::None;
    };

    // Answers of the login dialog, one per showing; nothing left means "cancelled".
    std::vector<std::optional<std::string>> passwords{std::string("masterkey")};
    // Called when the company list dialog is shown (edit years here).
    std::function<void(transfer::CompanyList&)> onCompanyList;

    std::vector<Message> messages;
    std::vector<std::string> companyTexts;
    std::vector<std::string> progressTexts;  // each distinct text, in order
    std::vector<int> progressMaxima;
    int loginShown = 0;
    int companyListShown = 0;
    int lastMax = 0, lastPosition = 0;
    long pumps = 0;
    bool running = false, closed = false;
    std::string completionDetails;
    std::vector<std::string> listed;  // company list rows as "code|year|path" when shown

    std::optional<std::string> askPassword() override;
    void editCompanyYears(transfer::CompanyList& list) override;
    void messageBox(const std::string& text, const std::string& title, app::Icon icon) override;
    void plainMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    void setProgressMax(int maximum) override;
    void setProgressPosition(int position) override { lastPosition = position; }
    void setProgressText(const std::string& text) override;
    void setCompanyText(const std::string& text) override { companyTexts.push_back(text); }
    void processMessages() override { ++pumps; }
    void setRunning(bool r) override { running = r; }
    void closeMainWindow() override { closed = true; }
    void setCompletionDetails(const std::string& details) override { completionDetails = details; }

    // The texts of all messages, for assertions.
    std::string allMessages() const;
};

}  // namespace testsupport
