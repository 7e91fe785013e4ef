#pragma once

#include "prayer/SolarYear.h"

#include <array>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

namespace prayer {

// The device keeps Iran Standard Time all year; the tool sets its clock an hour back only while
// the PC's own zone keeps daylight saving.
constexpr double IranStandardTime = 3.5;

// Sun altitudes, in degrees, that mark the times (the sun's centre; refraction and the sun's
// radius make up the 0.833 of sunrise and sunset; no correction for the observer's elevation).
constexpr double DawnAltitude = -17.7;
constexpr double HorizonAltitude = -0.833;
constexpr double MaghribAltitude = -4.5;

// The sun's declination never exceeds the obliquity of the ecliptic: 23.44 degrees today,
// 23.45 a century ago, a little more with nutation; 23.5 covers every year of the calendar's
// range. Beyond 90 - 23.5 - 17.7 the sun stays above the dawn altitude on summer nights.
constexpr double GreatestDeclination = 23.5;
constexpr double MaxLatitude = 90.0 + DawnAltitude - GreatestDeclination; // 48.8

struct ClockTime {
    int Hour = 0;   // 0..23
    int Minute = 0; // 0..59
    friend bool operator==(const ClockTime&, const ClockTime&) = default;
};

// The five times of a day, in the order in which the device keeps them.
enum DailyTime : std::size_t { Dawn, Sunrise, Noon, Sunset, Maghrib };
constexpr std::size_t TimesPerDay = 5;

// Empty where the sun never reaches the time's altitude that day.
using DayTimes = std::array<std::optional<ClockTime>, TimesPerDay>;

struct Place {
    double Latitude = 0.0;  // degrees, north positive
    double Longitude = 0.0; // degrees, east positive
    double ZoneHours = IranStandardTime;
};

// Latitude within MaxLatitude either side, longitude within -180..180. Every time of every day is
// defined for such a place.
bool CoordinatesAcceptable(double latitude, double longitude);

// Times in the zone's clock, rounded to the nearest minute. A time is the clock reading of that
// day's event reduced to 0:00..23:59, so one that rounds to 24:00 reads 0:00 (only far outside
// the zone's own longitudes).
DayTimes ComputePrayerTimes(const GregorianDate& date, const Place& place);

// The same for many days at once; consecutive days share the sun's position at the midnight
// between them, which halves the astronomy of a whole year.
std::vector<DayTimes> ComputePrayerTimes(std::span<const GregorianDate> dates, const Place& place);

} // namespace prayer
