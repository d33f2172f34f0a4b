// The columns each target table's insert names, in order.
#pragma once

#include <string>
#include <vector>

namespace db {

// Empty for a table the program never writes.
const std::vector<std::string>& insertColumns(const std::string& table);

}  // namespace db
