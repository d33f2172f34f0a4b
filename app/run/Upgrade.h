// The upgrade run (Button1Click) with its preconditions, the per-company loop, the commit and rollback policy,
// the opening routines, elapsed time and the error interception. One run core for every front end.
#pragma once

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

#include "app/run/Operator.h"
#include "app/run/Options.h"
#include "db/DataModule.h"
#include "transfer/company/CompanyList.h"

namespace app {

// Ticks of Timer1 since program start.
extern std::int32_t GecenSaniye;
// "1 Saat 2 Dakika 5 Saniye".
std::string SaatCevir(std::int32_t seconds);
// One tick: counts it and returns the text for LabelGecen.
std::string Timer1Timer();

enum class RunResult {
    Refused,      // a precondition refused the run (or the login was cancelled); the window stays idle
    NoCompanies,  // the company list was empty: the program ends after the message
    Completed,    // "Aktarma İşlemi Tamamlandı": the program ends
    Failed,       // an error ended the run; it was shown, the target was rolled back, the window is idle again
};

struct TableCount {
    std::string table;
    std::size_t rows = 0;
};

struct CompanySummary {
    std::string company;  // the company text shown during the run (UTF-8)
    std::vector<TableCount> tables;
};

class Upgrade {
public:
    Upgrade(db::TDM& dm, Operator& op);
    ~Upgrade();

    // The main window's controls, written by the front end before each run.
    Options options;
    // The company list of the company list dialog.
    transfer::CompanyList companies;

    RunResult Button1Click();

    // The application-wide handler: the two duplicate-code messages or the standard display, and a new login
    // next time.
    void AppEventsException(const std::exception& error);
    void AppEventsException(const std::string& message);

    // Rows written per company and target table by the last run.
    const std::vector<CompanySummary>& summary() const { return summary_; }
    std::string summaryText() const;

    // The message the last failed run showed (UTF-8), empty after a completed one.
    const std::string& lastError() const { return lastError_; }

    // Opening routines.
    bool IBSirketAc(db::Connection& connection, db::Dataset& dataset, const std::string& folder);
    bool IBAc(db::Connection& connection, const std::string& folder, int group);
    bool BDESirketAc();
    bool BDEAc();

    // Further parameter lines for every connection. Empty in the program; a test reaching a local server
    // through the loopback provider adds "config=Providers=Loopback" here.
    std::vector<std::string> extraConnectionParams;

    db::TDM& dm() { return dm_; }
    Operator& op() { return op_; }

private:
    RunResult run();
    void perCompanyInterBase();
    void perCompanyParadox();
    void collectSummary(const std::string& company);
    void rollbackAfterFailure();
    // A company code becomes a folder name; a code that would leave the target folder is refused.
    bool acceptCode(const std::string& name1254, const std::string& code1254);
    std::string sourceSnapshot(const std::string& original);
    void dropSnapshots();

    db::TDM& dm_;
    Operator& op_;
    std::string password_;  // the password field's text; never shown, never written anywhere
    std::vector<CompanySummary> summary_;
    std::string lastError_;
    // The old databases are read from private copies: attaching a database writes to its file, and the
    // source must stay exactly as it was.
    std::string snapshotDir_;
    std::vector<std::pair<std::string, std::string>> snapshots_;  // copy, original
};

}  // namespace app
