#include "db/Value.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace db {

namespace {

template <class... Ts>
struct Overload : Ts... {
    using Ts::operator()...;
};
template <class... Ts>
Overload(Ts...) -> Overload<Ts...>;

double parseNumber(const std::string& s) {
    double d = 0;
    auto begin = s.data();
    while (begin < s.data() + s.size() && *begin == ' ') ++begin;
    std::from_chars(begin, s.data() + s.size(), d);
    return d;
}

}  // namespace

double asFloat(const Value& v) {
    return std::visit(Overload{[](std::monostate) { return 0.0; }, [](std::int64_t i) { return double(i); },
                               [](double d) { return d; }, [](const std::string& s) { return parseNumber(s); },
                               [](const Date&) { return 0.0; }, [](const Time&) { return 0.0; },
                               [](const Timestamp&) { return 0.0; }},
                      v);
}

std::int64_t asInt64(const Value& v) {
    if (auto i = std::get_if<std::int64_t>(&v)) return *i;
    double d = asFloat(v);
    if (!std::isfinite(d)) return 0;
    if (d >= 9.2e18) return std::numeric_limits<std::int64_t>::max();
    if (d <= -9.2e18) return std::numeric_limits<std::int64_t>::min();
    return static_cast<std::int64_t>(std::nearbyint(d));
}

std::int32_t asInteger(const Value& v) {
    auto i = asInt64(v);
    if (i > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
    if (i < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(i);
}

std::string formatNumber(double d) {
    if (std::isnan(d)) return "NaN";
    if (std::isinf(d)) return d > 0 ? "INF" : "-INF";
    if (d == std::floor(d) && std::fabs(d) < 1e15) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.0f", d);
        return buf;
    }
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, d);
    return std::string(buf, res.ptr);
}

std::string formatDate(const Date& d) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%04d-%02d-%02d", d.year, d.month, d.day);
    return buf;
}

std::string formatTime(const Time& t) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return buf;
}

std::string asString(const Value& v) {
    return std::visit(Overload{[](std::monostate) { return std::string(); },
                               [](std::int64_t i) { return std::to_string(i); },
                               [](double d) { return formatNumber(d); }, [](const std::string& s) { return s; },
                               [](const Date& d) { return formatDate(d); },
                               [](const Time& t) { return formatTime(t); },
                               [](const Timestamp& ts) { return formatDate(ts.date) + " " + formatTime(ts.time); }},
                      v);
}

std::optional<Date> asDate(const Value& v) {
    if (auto d = std::get_if<Date>(&v)) return *d;
    if (auto ts = std::get_if<Timestamp>(&v)) return ts->date;
    return std::nullopt;
}

std::optional<Time> asTime(const Value& v) {
    if (auto t = std::get_if<Time>(&v)) return *t;
    if (auto ts = std::get_if<Timestamp>(&v)) return ts->time;
    return std::nullopt;
}

Date today() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Date{local.tm_year + 1900, local.tm_mon + 1, local.tm_mday};
}

// Civil-from-days after Howard Hinnant's algorithm, shifted so that 0001-01-01 is day 1.
std::int64_t toDayNumber(const Date& d) {
    std::int64_t y = d.year;
    const unsigned m = static_cast<unsigned>(d.month);
    y -= m <= 2;
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + static_cast<unsigned>(d.day) - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    const std::int64_t daysFrom1970 = era * 146097 + static_cast<std::int64_t>(doe) - 719468;
    return daysFrom1970 + 719163;  // 1970-01-01 is day 719163 when 0001-01-01 is day 1
}

Date fromDayNumber(std::int64_t n) {
    std::int64_t z = n - 719163 + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const std::int64_t y = static_cast<std::int64_t>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp < 10 ? mp + 3 : mp - 9;
    return Date{static_cast<int>(y + (m <= 2)), static_cast<int>(m), static_cast<int>(d)};
}

}  // namespace db
