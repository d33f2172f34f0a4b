// Values as the data module carries them between databases, Paradox tables and the transfers.
// Text is always Windows-1254 bytes; NULL is its own alternative, never an empty string or a zero.
#pragma once

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace db {

struct Date {
    int year = 1899;
    int month = 12;
    int day = 30;
    auto operator<=>(const Date&) const = default;
};

// Time of day; fraction in ten-thousandths of a second, the database's own resolution.
struct Time {
    int hour = 0;
    int minute = 0;
    int second = 0;
    int fraction = 0;
    auto operator<=>(const Time&) const = default;
};

struct Timestamp {
    Date date;
    Time time;
    auto operator<=>(const Timestamp&) const = default;
};

using Value = std::variant<std::monostate, std::int64_t, double, std::string, Date, Time, Timestamp>;

inline const Value kNull{};

inline bool isNull(const Value& v) { return std::holds_alternative<std::monostate>(v); }

// Reading rules shared by every routine: a NULL read as a number is 0, a NULL read as text is empty.
double asFloat(const Value& v);
std::int64_t asInt64(const Value& v);
std::int32_t asInteger(const Value& v);
std::string asString(const Value& v);
std::optional<Date> asDate(const Value& v);
std::optional<Time> asTime(const Value& v);

// Shortest text that reads back as the same double; whole numbers without a fraction ("125", not "125.0").
std::string formatNumber(double d);

Date today();
// Day zero of the old programs' date scale.
inline constexpr Date kDayZero{1899, 12, 30};

// Days since 0001-01-01 counted as day 1 (the Paradox date scale), and back.
std::int64_t toDayNumber(const Date& d);
Date fromDayNumber(std::int64_t n);

std::string formatDate(const Date& d);  // YYYY-MM-DD
std::string formatTime(const Time& t);  // HH:MM:SS

}  // namespace db
