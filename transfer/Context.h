// What every transfer works with: the data module positioned on the current company, the operator, and the
// main window's options. Transfers take nothing else and return nothing (the company transfers return
// whether companies were registered).
#pragma once

#include <string>

#include "app/run/Operator.h"
#include "app/run/Options.h"
#include "db/DataModule.h"
#include "db/Value.h"
#include "transfer/company/CompanyList.h"

namespace transfer {

struct Context {
    db::TDM& dm;
    app::Operator& op;
    const app::Options& options;
    CompanyList& companies;
    std::string personel;  // the operator name of "Kaydeden Personel", Windows-1254
    db::Date today;        // the date of the run

    Context(db::TDM& dm, app::Operator& op, const app::Options& options, CompanyList& companies);

    // Progress bar of the main window: maximum, position 0, text; then one step per source record, which also
    // lets the window process pending messages.
    void progressStart(int maximum, const std::string& textUtf8);
    void progressStep();
    int progressPosition() const { return position_; }

private:
    int position_ = 0;
};

}  // namespace transfer
