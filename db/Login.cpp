#include "db/Login.h"

namespace db {

bool GirisTamam = false;

std::string filterPassword(const std::string& typed) {
    std::string out;
    std::size_t chars = 0;
    for (std::size_t i = 0; i < typed.size();) {
        unsigned char c = static_cast<unsigned char>(typed[i]);
        std::size_t len = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
        if (c == ' ' || c == '\r' || c == '\n') {
            ++i;
            continue;
        }
        if (chars == kPasswordMaxLength) break;
        out.append(typed, i, len);
        ++chars;
        i += len;
    }
    return out;
}

std::vector<std::string> connectionParams(const std::string& password) {
    return {"lc_ctype=WIN1254", "user_name=SYSDBA", "password=" + password};
}

}  // namespace db
