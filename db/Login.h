// The login's non-widget part: the process-wide flag and the password field's rules.
#pragma once

#include <string>
#include <vector>

namespace db {

inline constexpr std::size_t kPasswordMaxLength = 16;

// True once the login dialog has been accepted; cleared at the start of each run and after every error.
extern bool GirisTamam;

// What the password field keeps of a typed text: blanks are discarded, at most 16 characters (UTF-8 aware).
std::string filterPassword(const std::string& typed);

// The three parameter lines of every connection, with the password field's text.
std::vector<std::string> connectionParams(const std::string& password);

}  // namespace db
