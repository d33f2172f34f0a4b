#include "db/Codepage.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace db::codepage {

namespace {

std::string iconvName(int codePage) {
    switch (codePage) {
        case 437: return "CP437";
        case 850: return "CP850";
        case 852: return "CP852";
        case 857: return "CP857";
        case 866: return "CP866";
        case 1250: return "CP1250";
        case 1251: return "CP1251";
        case 1252: return "CP1252";
        case 1253: return "CP1253";
        case 1254: return "CP1254";
        default: return "CP1252";  // the Windows default of the old tools
    }
}

// Converts with iconv; an input byte or character the target cannot hold becomes '?', so text is never
// silently shortened.
std::string convert(const std::string& in, const char* from, const char* to, bool* lossy) {
    if (lossy) *lossy = false;
    if (in.empty()) return {};
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return in;
    std::string out;
    out.reserve(in.size() * 2);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buf[1024];
    while (srcLeft > 0) {
        char* dst = buf;
        size_t dstLeft = sizeof buf;
        size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
        out.append(buf, static_cast<size_t>(dst - buf));
        if (r == static_cast<size_t>(-1)) {
            if (errno == E2BIG) continue;
            // EILSEQ or EINVAL: skip one input character and mark it.
            if (lossy) *lossy = true;
            out.push_back('?');
            // Skip a whole UTF-8 sequence when the input is UTF-8, otherwise one byte.
            size_t skip = 1;
            if (std::string(from) == "UTF-8") {
                unsigned char c = static_cast<unsigned char>(*src);
                if (c >= 0xF0) skip = 4;
                else if (c >= 0xE0) skip = 3;
                else if (c >= 0xC0) skip = 2;
                if (skip > srcLeft) skip = srcLeft;
            }
            src += skip;
            srcLeft -= skip;
        }
    }
    iconv_close(cd);
    return out;
}

}  // namespace

std::string toUtf8(const std::string& cp1254) { return convert(cp1254, "CP1254", "UTF-8", nullptr); }

std::string fromUtf8(const std::string& utf8, bool* lossy) { return convert(utf8, "UTF-8", "CP1254", lossy); }

std::string toCp1254(const std::string& bytes, int codePage, bool* lossy) {
    if (codePage == 1254) {
        if (lossy) *lossy = false;
        return bytes;
    }
    std::string name = iconvName(codePage);
    return convert(bytes, name.c_str(), "CP1254", lossy);
}

std::string codePageToUtf8(const std::string& bytes, int codePage) {
    std::string name = iconvName(codePage);
    return convert(bytes, name.c_str(), "UTF-8", nullptr);
}

}  // namespace db::codepage
