#include "transfer/Context.h"

#include "db/Codepage.h"

namespace transfer {

Context::Context(db::TDM& dm, app::Operator& op, const app::Options& options, CompanyList& companies)
    : dm(dm), op(op), options(options), companies(companies), personel(db::codepage::fromUtf8(options.Edit1)),
      today(db::today()) {}

void Context::progressStart(int maximum, const std::string& textUtf8) {
    position_ = 0;
    op.setProgressMax(maximum);
    op.setProgressPosition(0);
    op.setProgressText(textUtf8);
}

void Context::progressStep() {
    ++position_;
    op.setProgressPosition(position_);
    op.processMessages();
}

}  // namespace transfer
