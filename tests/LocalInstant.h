#pragma once

#include <ctime>

// A local time as the clock would sample it, daylight saving of the zone aside.
inline std::time_t LocalInstant(int year, int month, int day, int hour, int minute, int second) {
    std::tm parts{};
    parts.tm_year = year - 1900;
    parts.tm_mon = month - 1;
    parts.tm_mday = day;
    parts.tm_hour = hour;
    parts.tm_min = minute;
    parts.tm_sec = second;
    parts.tm_isdst = 0;
    return std::mktime(&parts);
}
