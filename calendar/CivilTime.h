#pragma once

#include <cstdint>
#include <ctime>

// Calendar arithmetic on the proleptic Gregorian calendar, free of any zone: a local reading
// shifted by an hour, or compared with the instant it reads, must not go through the zone again.
namespace civil {

// Days since 1 January 1970.
constexpr std::int64_t DaysFromDate(int year, int month, int day) {
    const std::int64_t y = year - (month <= 2 ? 1 : 0);
    const std::int64_t era = (y >= 0 ? y : y - 399) / 400;
    const std::int64_t yearOfEra = y - era * 400;
    const std::int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const std::int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// The date of a day counted as DaysFromDate counts it, as the fields of a std::tm: tm_year,
// tm_mon, tm_mday, tm_wday and tm_yday; the time of day is left as it was.
constexpr void SetDate(std::tm& parts, std::int64_t days) {
    const std::int64_t z = days + 719468;
    const std::int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const std::int64_t dayOfEra = z - era * 146097;
    const std::int64_t yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const std::int64_t dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const std::int64_t mp = (5 * dayOfYear + 2) / 153;
    const int day = static_cast<int>(dayOfYear - (153 * mp + 2) / 5 + 1);
    const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    const int year = static_cast<int>(yearOfEra + era * 400 + (month <= 2 ? 1 : 0));
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_wday = static_cast<int>(((days % 7) + 11) % 7); // 1 January 1970 was a Thursday
    parts.tm_yday = static_cast<int>(days - DaysFromDate(year, 1, 1));
}

// The seconds since 1970 that the reading would be if it were in UTC.
constexpr std::int64_t SecondsOf(const std::tm& parts) {
    return DaysFromDate(parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday) * 86400 +
           parts.tm_hour * 3600 + parts.tm_min * 60 + parts.tm_sec;
}

// The reading the seconds make, as SecondsOf counts them; tm_isdst is left as it was.
constexpr void SetReading(std::tm& parts, std::int64_t seconds) {
    const std::int64_t days = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
    const std::int64_t inDay = seconds - days * 86400;
    SetDate(parts, days);
    parts.tm_hour = static_cast<int>(inDay / 3600);
    parts.tm_min = static_cast<int>(inDay / 60 % 60);
    parts.tm_sec = static_cast<int>(inDay % 60);
}

} // namespace civil
