#include "calendar/CalendarClock.h"

#include "calendar/CivilTime.h"
#include "calendar/LocalTime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <iomanip>
#include <locale>
#include <sstream>
#include <thread>

namespace {

constexpr std::int64_t DaylightShift = 3600;

std::time_t Now() {
    using namespace std::chrono;
    return system_clock::to_time_t(time_point_cast<seconds>(system_clock::now()));
}

// Sleeps until the calendar time has moved past the current second. The precise clock is read
// rather than time(), whose coarse value can lag the boundary by a scheduler tick; the loop only
// matters when the system wakes us early or the clock is stepped.
std::time_t WaitForNextSecond() {
    using namespace std::chrono;
    const std::time_t t0 = Now();
    for (;;) {
        const auto boundary = system_clock::from_time_t(t0 + 1);
        const auto now = system_clock::now();
        if (now < boundary) {
            std::this_thread::sleep_for(boundary - now + microseconds(100));
        }
        const std::time_t t = Now();
        if (t != t0) {
            return t;
        }
    }
}

std::string DateTextOf(const std::tm& parts) {
    std::ostringstream out;
    out.imbue(std::locale::classic());
    out << std::put_time(&parts, "%A , %B(%m) , %Y , %X %p");
    return out.str();
}

} // namespace

std::string FormatDateText(std::time_t t) {
    return DateTextOf(LocalTime(t));
}

void SampleClock(CalendarClock& clock, std::time_t t) {
    const std::tm local = LocalTime(t);
    // The local reading an hour back, not the zone's reading of the instant an hour earlier:
    // in the first hour of daylight saving that instant still lies in standard time.
    clock.DaylightSaving = local.tm_isdst > 0;
    std::tm parts = local;
    if (clock.DaylightSaving) {
        civil::SetReading(parts, civil::SecondsOf(local) - DaylightShift);
    }
    clock.Year = parts.tm_year + 1900;
    clock.Month = static_cast<std::uint8_t>(parts.tm_mon + 1);
    clock.Day = static_cast<std::uint8_t>(parts.tm_mday);
    clock.WeekDay = static_cast<std::uint8_t>(parts.tm_wday);
    clock.YearDay = parts.tm_yday;
    clock.SolarWeekDay = static_cast<std::uint8_t>((parts.tm_wday + 2) % 7);
    clock.Hour = static_cast<std::uint8_t>(parts.tm_hour);
    clock.Minute = static_cast<std::uint8_t>(parts.tm_min);
    clock.Second = static_cast<std::uint8_t>(parts.tm_sec);

    // The text keeps the PC's own time even while the sample is shifted.
    const std::string text = DateTextOf(local);
    clock.DateText.fill('\0');
    std::copy_n(text.begin(), std::min(text.size(), clock.DateText.size() - 1),
                clock.DateText.begin());
}

void ReadClock(CalendarClock& clock) {
    SampleClock(clock, WaitForNextSecond());
}

void ToSolarDate(CalendarClock& clock) {
    static constexpr std::array<int, 12> DaysBefore = {0,   31,  59,  90,  120, 151,
                                                       181, 212, 243, 273, 304, 334};
    const int year = clock.Year;
    const int month = clock.Month;
    const bool leap = year % 4 == 0; // no century exception: 2100 counts as leap
    const int n = DaysBefore.at(static_cast<std::size_t>(std::clamp(month, 1, 12) - 1)) +
                  ((leap && month >= 3) ? 1 : 0) + clock.Day;

    int solarMonth = 0;
    int solarDay = 0;
    if (n >= 80) {
        clock.SolarYear = year - 621;
        const int e = n - 79;
        if (e <= 186) {
            solarMonth = e % 31 == 0 ? e / 31 : e / 31 + 1;
            solarDay = e % 31 == 0 ? 31 : e % 31;
        } else {
            const int f = e - 186;
            solarMonth = f % 30 == 0 ? f / 30 + 6 : f / 30 + 7;
            solarDay = f % 30 == 0 ? 30 : f % 30;
        }
    } else {
        clock.SolarYear = year - 622;
        const int g = n + ((year - 1) % 4 == 0 ? 11 : 10);
        solarMonth = g % 30 == 0 ? g / 30 + 9 : g / 30 + 10;
        solarDay = g % 30 == 0 ? 30 : g % 30;
    }
    clock.SolarMonth = static_cast<std::uint8_t>(solarMonth);
    clock.SolarDay = static_cast<std::uint8_t>(solarDay);
}

CalendarClock ClockNow() {
    CalendarClock clock;
    SampleClock(clock, std::time(nullptr));
    ToSolarDate(clock);
    return clock;
}

std::string DateTextString(const CalendarClock& clock) {
    return clock.DateText.data();
}

std::string ClockTimeText(const CalendarClock& clock) {
    std::array<char, 32> text{};
    std::snprintf(text.data(), text.size(), " %02u : %02u : %02u", unsigned{clock.Hour},
                  unsigned{clock.Minute}, unsigned{clock.Second});
    return text.data();
}

std::string SolarDateText(const CalendarClock& clock) {
    std::array<char, 40> text{};
    std::snprintf(text.data(), text.size(), " %04u / %02u / %02u",
                  static_cast<unsigned>(clock.SolarYear), unsigned{clock.SolarMonth},
                  unsigned{clock.SolarDay});
    return text.data();
}
