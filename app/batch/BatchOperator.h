// The console front end: answers the run from the command line and reports on the console (UTF-8).
#pragma once

#include <cstdio>
#include <map>
#include <string>

#include "app/run/Operator.h"

namespace app {

class BatchOperator : public Operator {
public:
    BatchOperator(std::FILE* progress, std::FILE* messages) : progress_(progress), messages_(messages) {}

    std::string password;                // the first line of standard input, already filtered
    std::map<std::string, int> years;    // --year CODE=YEAR

    std::optional<std::string> askPassword() override { return password; }
    void editCompanyYears(transfer::CompanyList& list) override;
    void messageBox(const std::string& text, const std::string& title, Icon icon) override;
    void plainMessage(const std::string& text) override;
    void showError(const std::string& text) override;
    void setProgressMax(int maximum) override;
    void setProgressPosition(int position) override { position_ = position; }
    void setProgressText(const std::string& text) override;
    void setCompanyText(const std::string& text) override;
    void processMessages() override {}
    void setRunning(bool) override {}

private:
    void flushProgress();
    void print(std::FILE* to, const std::string& text);
    std::FILE* progress_;
    std::FILE* messages_;
    std::string text_;
    int maximum_ = 0, position_ = 0;
    bool open_ = false;
};

}  // namespace app
