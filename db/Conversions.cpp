#include "db/Conversions.h"

#include <cmath>
#include <cstdint>

namespace db {

std::string MemoTemizle(const std::string& text) {
    std::string out = text;
    for (char& c : out)
        if (c == '\r' || c == '\n') c = ' ';
    return out;
}

std::string BuyukHarfCevir(const std::string& text) {
    std::string out = text;
    for (char& ch : out) {
        unsigned char c = static_cast<unsigned char>(ch);
        switch (c) {
            case 'i': c = 0xDD; break;   // i -> İ
            case 0xFD: c = 'I'; break;   // ı -> I
            case 0xE7: c = 0xC7; break;  // ç -> Ç
            case 0xF0: c = 0xD0; break;  // ğ -> Ğ
            case 0xF6: c = 0xD6; break;  // ö -> Ö
            case 0xFE: c = 0xDE; break;  // ş -> Ş
            case 0xFC: c = 0xDC; break;  // ü -> Ü
            default:
                if (c >= 'a' && c <= 'z') c = static_cast<unsigned char>(c - 'a' + 'A');
        }
        ch = static_cast<char>(c);
    }
    return out;
}

double Yuvarla(double value, double places) {
    const double p = std::pow(10.0, places);
    const double x = value * p;
    // nearbyint under the default rounding mode rounds ties to even.
    const auto n = static_cast<std::int64_t>(std::nearbyint(x));
    return static_cast<double>(n) / p;
}

std::string slice(const std::string& text, std::size_t from, std::size_t to) {
    if (from < 1) from = 1;
    if (from > text.size() || to < from) return {};
    return text.substr(from - 1, to - from + 1);
}

}  // namespace db
