#include "prayer/SolarYear.h"

#include "calendar/CalendarClock.h"

#include <chrono>
#include <stdexcept>
#include <string>

namespace prayer {

namespace {

// The rule's own leap year: every fourth year, 2100 included.
bool RuleLeap(int year) {
    return year % 4 == 0;
}

// Day of the year (1 = 1 January) -> month and day as the rule counts them.
std::optional<GregorianDate> RuleDateOfDayNumber(int year, int n) {
    static constexpr std::array<int, 13> DaysBefore = {0,   31,  59,  90,  120, 151, 181,
                                                       212, 243, 273, 304, 334, 365};
    const auto before = [&](int month) {
        return DaysBefore.at(static_cast<std::size_t>(month - 1)) +
               (RuleLeap(year) && month >= 3 ? 1 : 0);
    };
    if (n < 1 || n > before(13)) {
        return std::nullopt;
    }
    int month = 12;
    while (before(month) >= n) {
        --month;
    }
    return GregorianDate{year, month, n - before(month)};
}

bool Exists(const GregorianDate& date) {
    using namespace std::chrono;
    return year_month_day{year{date.Year}, month{static_cast<unsigned>(date.Month)},
                          day{static_cast<unsigned>(date.Day)}}
        .ok();
}

bool ConvertsTo(const GregorianDate& date, int solarYear, int month, int day) {
    CalendarClock clock;
    clock.Year = date.Year;
    clock.Month = static_cast<std::uint8_t>(date.Month);
    clock.Day = static_cast<std::uint8_t>(date.Day);
    ToSolarDate(clock);
    return clock.SolarYear == solarYear && clock.SolarMonth == month && clock.SolarDay == day;
}

bool InTimetable(int month, int day) {
    return month >= 1 && month <= 12 && day >= 1 && day <= DaysInTimetableMonth(month);
}

} // namespace

int DaysSinceEpoch(const GregorianDate& date) {
    using namespace std::chrono;
    const sys_days days{year_month_day{year{date.Year}, month{static_cast<unsigned>(date.Month)},
                                       day{static_cast<unsigned>(date.Day)}}};
    return days.time_since_epoch().count();
}

GregorianDate DateOfEpochDay(int days) {
    using namespace std::chrono;
    const year_month_day date{sys_days{std::chrono::days{days}}};
    return {static_cast<int>(date.year()), static_cast<int>(static_cast<unsigned>(date.month())),
            static_cast<int>(static_cast<unsigned>(date.day()))};
}

std::optional<GregorianDate> GregorianOfSolar(int solarYear, int month, int day) {
    if (!InTimetable(month, day)) {
        return std::nullopt;
    }
    // The rule counts the solar year from day 80 of Gregorian year S + 621 ...
    const int e = month <= 6 ? (month - 1) * 31 + day : 186 + (month - 7) * 30 + day;
    std::optional<GregorianDate> candidate = RuleDateOfDayNumber(solarYear + 621, e + 79);
    // ... and ends the months 10..12 in the first 79 days of the next Gregorian year.
    if (!candidate && month >= 10) {
        const int next = solarYear + 622;
        const int n = (month - 10) * 30 + day - (RuleLeap(next - 1) ? 11 : 10);
        if (n <= 79) {
            candidate = RuleDateOfDayNumber(next, n);
        }
    }
    // Checking against the rule itself keeps the two directions from drifting apart.
    if (candidate && Exists(*candidate) && ConvertsTo(*candidate, solarYear, month, day)) {
        return candidate;
    }
    return std::nullopt;
}

GregorianDate TimetableDate(int solarYear, int month, int day) {
    if (!InTimetable(month, day)) {
        throw std::out_of_range("no timetable day " + std::to_string(month) + "/" +
                                std::to_string(day));
    }
    if (const auto date = GregorianOfSolar(solarYear, month, day)) {
        return *date;
    }
    // Month 1 day 1 always exists, so the walk back ends.
    const GregorianDate previous =
        day > 1     ? TimetableDate(solarYear, month, day - 1)
        : month > 1 ? TimetableDate(solarYear, month - 1, DaysInTimetableMonth(month - 1))
                    : TimetableDate(solarYear - 1, 12, 30);
    return DateOfEpochDay(DaysSinceEpoch(previous) + 1);
}

std::array<GregorianDate, DaysInTimetableYear> TimetableDates(int solarYear) {
    std::array<GregorianDate, DaysInTimetableYear> dates{};
    std::size_t i = 0;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInTimetableMonth(month); ++day) {
            dates.at(i++) = TimetableDate(solarYear, month, day);
        }
    }
    return dates;
}

} // namespace prayer
