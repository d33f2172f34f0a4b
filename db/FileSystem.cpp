#include "db/FileSystem.h"

#include <dirent.h>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <system_error>
#include <vector>

namespace db::fsys {

namespace {

// Case-insensitive comparison of UTF-8 names: ASCII letters fold, and so do the Turkish letters the old
// installations used in folder names (the comparison of other bytes is exact).
std::string fold(const std::string& s) {
    std::string out;
    out.reserve(s.size());
    for (unsigned char c : s) out.push_back(c < 0x80 ? static_cast<char>(std::tolower(c)) : static_cast<char>(c));
    return out;
}

bool isDir(const std::string& p) {
    struct stat st{};
    return ::stat(p.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool exists(const std::string& p) {
    struct stat st{};
    return ::stat(p.c_str(), &st) == 0;
}

}  // namespace

char separator() { return '/'; }

std::string normalizeTyped(const std::string& typed) {
    std::string out = typed;
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

std::string join(const std::string& folder, const std::string& name) {
    return normalizeTyped(folder) + separator() + normalizeTyped(name);
}

std::string resolve(const std::string& path) {
    std::string p = normalizeTyped(path);
    if (p.empty() || exists(p)) return p;
    std::vector<std::string> parts;
    std::string current;
    bool absolute = !p.empty() && p[0] == '/';
    size_t i = absolute ? 1 : 0;
    while (i <= p.size()) {
        size_t j = p.find('/', i);
        if (j == std::string::npos) j = p.size();
        parts.push_back(p.substr(i, j - i));
        i = j + 1;
    }
    std::string base = absolute ? "/" : "";
    std::string result = base;
    bool missing = false;
    for (size_t k = 0; k < parts.size(); ++k) {
        const std::string& part = parts[k];
        std::string candidate = result + part;
        if (!missing && !part.empty() && part != "." && part != ".." && !exists(candidate)) {
            std::string dir = result.empty() ? "." : result;
            std::string found;
            if (DIR* d = ::opendir(dir.c_str())) {
                std::string want = fold(part);
                while (dirent* e = ::readdir(d)) {
                    if (fold(e->d_name) == want) {
                        found = e->d_name;
                        break;
                    }
                }
                ::closedir(d);
            }
            if (found.empty()) missing = true;
            else candidate = result + found;
        }
        result = candidate;
        if (k + 1 < parts.size()) result += '/';
    }
    return result;
}

bool fileExists(const std::string& path) {
    struct stat st{};
    return ::stat(resolve(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool folderExists(const std::string& path) { return isDir(resolve(path)); }

bool createFolders(const std::string& path) {
    std::error_code ec;
    std::string p = resolve(path);
    std::filesystem::create_directories(p, ec);
    return isDir(p);
}

bool copyFile(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::string src = resolve(from), dst = resolve(to);
    if (!std::filesystem::is_regular_file(src, ec)) return false;
    // Copied beside the target and renamed over it, so a copy cut short never leaves a half database under
    // the real name.
    std::string tmp = dst + ".kopya-" + std::to_string(::getpid());
    std::filesystem::copy_file(src, tmp, std::filesystem::copy_options::overwrite_existing, ec);
    if (!ec) std::filesystem::rename(tmp, dst, ec);
    if (ec) {
        std::error_code ignored;
        std::filesystem::remove(tmp, ignored);
        return false;
    }
    return true;
}

}  // namespace db::fsys
