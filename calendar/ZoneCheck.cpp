#include "calendar/ZoneCheck.h"

#include "calendar/CivilTime.h"
#include "calendar/LocalTime.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>

namespace {

struct Reading {
    int OffsetMinutes = 0;
    bool Daylight = false;
};

// Noon UTC of the 15th of each month: any daylight period a zone keeps spans one of them.
Reading ReadingAt(int year, int month) {
    const auto t = static_cast<std::time_t>(civil::DaysFromDate(year, month, 15) * 86400 + 43200);
    const std::tm local = LocalTime(t);
    return {static_cast<int>((civil::SecondsOf(local) - static_cast<std::int64_t>(t)) / 60),
            local.tm_isdst > 0};
}

} // namespace

ZoneCheck CheckPcZone(std::time_t now) {
    const int year = LocalTime(now).tm_year + 1900;
    ZoneCheck check;
    check.StandardOffsetMinutes = ReadingAt(year, 1).OffsetMinutes - 60; // were every month DST
    for (int month = 1; month <= 12; ++month) {
        const Reading reading = ReadingAt(year, month);
        if (!reading.Daylight) {
            check.StandardOffsetMinutes = reading.OffsetMinutes;
            break;
        }
    }
    const int last = std::max(year + 1, LastIranDaylightYear + 1);
    for (int y = LastIranDaylightYear + 1; y <= last && check.DaylightYear == 0; ++y) {
        for (int month = 1; month <= 12; ++month) {
            if (ReadingAt(y, month).Daylight) {
                check.DaylightYear = y;
                break;
            }
        }
    }
    if (check.StandardOffsetMinutes != IranStandardOffsetMinutes) {
        check.Verdict = ZoneVerdict::OtherOffset;
    } else if (check.DaylightYear != 0) {
        check.Verdict = ZoneVerdict::OldIranRules;
    }
    return check;
}

std::string UtcOffsetText(int minutesEast) {
    std::array<char, 16> text{};
    const int size = std::abs(minutesEast);
    std::snprintf(text.data(), text.size(), "%c%02d:%02d", minutesEast < 0 ? '-' : '+', size / 60,
                  size % 60);
    return text.data();
}
