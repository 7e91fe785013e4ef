#pragma once

#include <array>
#include <optional>

namespace prayer {

struct GregorianDate {
    int Year = 0;
    int Month = 0; // 1..12
    int Day = 0;   // 1..31
    friend bool operator==(const GregorianDate&, const GregorianDate&) = default;
};

// A timetable year has 31 days in months 1..6 and 30 in months 7..12, month 12 included.
constexpr int DaysInTimetableMonth(int month) {
    return month <= 6 ? 31 : 30;
}
constexpr int DaysInTimetableYear = 366;

// Days since 1 January 1970 (proleptic Gregorian calendar).
int DaysSinceEpoch(const GregorianDate& date);
GregorianDate DateOfEpochDay(int days);

// The Gregorian date that ToSolarDate turns into this solar date, so that the files and the
// clock agree on every day. Empty when the rule never produces the date: the 30th of month 12 in
// most years, a day lost to a Gregorian 29 February the rule expects (1478/12/10 falls on
// 29 February 2100, which does not exist), or a month or day outside the calendar.
std::optional<GregorianDate> GregorianOfSolar(int solarYear, int month, int day);

// The date whose times are written for this day of the file: GregorianOfSolar where the rule has
// the day, otherwise the day after the date of the solar day before it (the 30th of month 12 of a
// short year thus gets the times of the next solar new year's day). Throws std::out_of_range for
// a month or day the file has no place for.
GregorianDate TimetableDate(int solarYear, int month, int day);

// TimetableDate of every day of the file in its order: 31 days of months 1..6, then 30 of 7..12.
std::array<GregorianDate, DaysInTimetableYear> TimetableDates(int solarYear);

} // namespace prayer
