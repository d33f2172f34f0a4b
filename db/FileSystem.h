// File system access as the old programs expected it: names match without regard to case.
// Paths here are UTF-8 (the file system's edge).
#pragma once

#include <string>

namespace db::fsys {

// The platform's separator, used for every path the program composes.
char separator();

// Join a folder typed by the operator and a name with the platform separator. The folder is used as typed
// (a trailing separator gives a doubled one, as the old program did).
std::string join(const std::string& folder, const std::string& name);

// A folder typed by the operator: on POSIX a '\' is a separator too.
std::string normalizeTyped(const std::string& typed);

// Resolve each component case-insensitively: "MIRKADO.FDB" finds "Mirkado.FDB". Components that do not exist
// are kept as given, so the result names the file that would be created.
std::string resolve(const std::string& path);

bool fileExists(const std::string& path);
bool folderExists(const std::string& path);
// Create a folder with every missing parent; false when it cannot be made.
bool createFolders(const std::string& path);
// Copy, replacing an existing file; false when it fails.
bool copyFile(const std::string& from, const std::string& to);

}  // namespace db::fsys
