#include "calendar/CivilTime.h"
#include "calendar/LocalTime.h"

#include <cstdint>
#include <windows.h>

namespace {

constexpr std::int64_t FileTimeEpoch = 11644473600; // 1601-01-01 to 1970-01-01, in seconds
constexpr std::uint64_t FileTimeTicks = 10000000;   // of 100 ns in a second

SYSTEMTIME UniversalTime(std::time_t t) {
    const std::uint64_t ticks = static_cast<std::uint64_t>(t + FileTimeEpoch) * FileTimeTicks;
    FILETIME file{};
    file.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFu);
    file.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    SYSTEMTIME utc{};
    FileTimeToSystemTime(&file, &utc);
    return utc;
}

std::tm PartsOf(const SYSTEMTIME& time) {
    std::tm parts{};
    parts.tm_hour = time.wHour;
    parts.tm_min = time.wMinute;
    parts.tm_sec = time.wSecond;
    civil::SetDate(parts, civil::DaysFromDate(time.wYear, time.wMonth, time.wDay));
    return parts;
}

// The zone's rules for that year: Windows keeps rules per year for zones whose law changed, Iran's
// among them. The zone's current rules where the system has none per year.
TIME_ZONE_INFORMATION RulesOf(int year) {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    TIME_ZONE_INFORMATION rules{};
    if (GetDynamicTimeZoneInformation(&zone) == TIME_ZONE_ID_INVALID ||
        !GetTimeZoneInformationForYear(static_cast<USHORT>(year), &zone, &rules)) {
        GetTimeZoneInformation(&rules);
    }
    return rules;
}

} // namespace

std::tm LocalTime(std::time_t t) {
    const SYSTEMTIME utc = UniversalTime(t);
    TIME_ZONE_INFORMATION rules = RulesOf(utc.wYear);
    SYSTEMTIME local{};
    if (!SystemTimeToTzSpecificLocalTime(&rules, &utc, &local)) {
        local = utc;
    } else if (local.wYear != utc.wYear) {
        // New Year's night in the zone: the local year's rules decide.
        rules = RulesOf(local.wYear);
        SystemTimeToTzSpecificLocalTime(&rules, &utc, &local);
    }
    std::tm parts = PartsOf(local);
    const std::int64_t east = (civil::SecondsOf(parts) - civil::SecondsOf(PartsOf(utc))) / 60;
    const bool keepsDaylight =
        rules.DaylightDate.wMonth != 0 && rules.DaylightBias != rules.StandardBias;
    parts.tm_isdst =
        keepsDaylight && east == -(static_cast<std::int64_t>(rules.Bias) + rules.DaylightBias) ? 1
                                                                                               : 0;
    return parts;
}
