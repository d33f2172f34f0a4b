// Groups of both kinds (customer and stock) move the same way: a first-level group is known by its exact
// name, and sub-groups are attached to the group the target holds under that name.
#pragma once

#include "transfer/Context.h"

namespace transfer {

struct GroupTables {
    db::Dataset& source;     // first-level groups of the InterBase source
    db::Dataset& target;     // first-level groups of the target; stands on the group found or written
    db::Dataset& subSource;  // sub-groups of the source, narrowed per group
    db::Dataset& subTarget;  // sub-groups of the target, linked to the current target group when posted
    const char* subTable;    // CARIGRUP2, STOKGRUP2
    const char* key;         // BLCGKODU, BLSGKODU
};

void copyGroups(Context& ctx, const GroupTables& t, int count, const char* progressText);
void copyParadoxGroups(Context& ctx, db::paradox::Table& source, db::Dataset& target, const char* progressText);

}  // namespace transfer
