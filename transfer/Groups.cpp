#include "transfer/Groups.h"

namespace transfer {

namespace {

// The found or written group is left current: its sub-groups take its key and name from it.
void findOrAdd(db::Dataset& target, const db::Value& name, const db::Value& description) {
    if (target.locate("GRUP_ADI", name)) return;
    target.append();
    target.set("GRUP_ADI", name);
    target.set("ACIKLAMA", description);
    target.post();
}

}  // namespace

void copyGroups(Context& ctx, const GroupTables& t, int count, const char* progressText) {
    ctx.progressStart(count, progressText);
    for (t.source.first(); !t.source.eof();) {
        findOrAdd(t.target, t.source.value("GRUP_ADI"), t.source.value("ACIKLAMA"));
        t.subSource.setSql({std::string("SELECT * FROM ") + t.subTable, std::string("WHERE ") + t.key + "=?"},
                           {t.source.value(t.key)});
        t.subSource.open();
        for (; !t.subSource.eof(); t.subSource.next()) {
            t.subTarget.append();
            t.subTarget.set("GRUP_ADI", t.subSource.value("GRUP_ADI"));
            t.subTarget.set("ACIKLAMA", t.subSource.value("ACIKLAMA"));
            t.subTarget.post();
            ctx.op.processMessages();
        }
        t.source.next();
        ctx.progressStep();
    }
}

void copyParadoxGroups(Context& ctx, db::paradox::Table& source, db::Dataset& target, const char* progressText) {
    ctx.progressStart(source.recordCount(), progressText);
    for (source.first(); !source.eof();) {
        findOrAdd(target, db::Value(source.asString("GRUPADI")), db::Value(source.asString("ACIKLAMA")));
        source.next();
        ctx.progressStep();
    }
}

}  // namespace transfer
