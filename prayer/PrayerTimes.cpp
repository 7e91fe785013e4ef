#include "prayer/PrayerTimes.h"

#include <cmath>
#include <numbers>

namespace prayer {

namespace {

constexpr double Radian = std::numbers::pi / 180.0;
constexpr double JulianDayOfEpoch = 2440587.5; // 1 January 1970, 0:00 UT
constexpr double J2000 = 2451545.0;
constexpr double MinutesPerDay = 24.0 * 60.0;

struct SunState {
    double SinDeclination = 0.0;
    double CosDeclination = 1.0;
    double EquationOfTime = 0.0; // minutes, apparent minus mean solar time
};

// Low-precision solar coordinates (mean elements, equation of centre, nutation and aberration
// in longitude): about 0.01 degree in declination and a few seconds in the equation of time,
// far inside the minute the times are rounded to.
SunState SunAt(double julianDay) {
    const double t = (julianDay - J2000) / 36525.0;
    const double meanLongitude = (280.46646 + t * (36000.76983 + t * 0.0003032)) * Radian;
    const double anomaly = (357.52911 + t * (35999.05029 - t * 0.0001537)) * Radian;
    const double eccentricity = 0.016708634 - t * (0.000042037 + t * 0.0000001267);
    const double sinM = std::sin(anomaly);
    const double sin2M = std::sin(2.0 * anomaly);
    const double centre = sinM * (1.914602 - t * (0.004817 + t * 0.000014)) +
                          sin2M * (0.019993 - t * 0.000101) + std::sin(3.0 * anomaly) * 0.000289;
    const double node = (125.04 - 1934.136 * t) * Radian;
    const double apparentLongitude =
        meanLongitude + (centre - 0.00569 - 0.00478 * std::sin(node)) * Radian;
    const double obliquity = (23.439291 - 0.0130042 * t + 0.00256 * std::cos(node)) * Radian;

    const double y = std::pow(std::tan(obliquity / 2.0), 2);
    const double equation = y * std::sin(2.0 * meanLongitude) - 2.0 * eccentricity * sinM +
                            4.0 * eccentricity * y * sinM * std::cos(2.0 * meanLongitude) -
                            0.5 * y * y * std::sin(4.0 * meanLongitude) -
                            1.25 * eccentricity * eccentricity * sin2M;
    const double sinDeclination = std::sin(obliquity) * std::sin(apparentLongitude);
    return {sinDeclination, std::sqrt(1.0 - sinDeclination * sinDeclination),
            4.0 * equation / Radian};
}

// The sun over one local day. Declination and equation of time bend so little within a day
// that a straight line between the two midnights is exact to a thousandth of a degree and a
// fraction of a second, and it costs no trigonometry per step.
struct DaySun {
    SunState Midnight;
    SunState NextMidnight;

    SunState At(double hours) const {
        const double f = hours / 24.0;
        const auto between = [f](double a, double b) { return a + f * (b - a); };
        return {between(Midnight.SinDeclination, NextMidnight.SinDeclination),
                between(Midnight.CosDeclination, NextMidnight.CosDeclination),
                between(Midnight.EquationOfTime, NextMidnight.EquationOfTime)};
    }
};

struct Site {
    double SinLatitude;
    double CosLatitude;
    double MeanNoon; // clock hours of the mean sun's transit

    explicit Site(const Place& place)
        : SinLatitude(std::sin(place.Latitude * Radian)),
          CosLatitude(std::cos(place.Latitude * Radian)),
          MeanNoon(12.0 + place.ZoneHours - place.Longitude / 15.0) {}

    double Transit(const SunState& sun) const { return MeanNoon - sun.EquationOfTime / 60.0; }
};

double SinDegrees(double degrees) {
    return std::sin(degrees * Radian);
}

double TransitHours(const DaySun& sun, const Site& site) {
    // The equation of time moves under half a minute a day: one correction is plenty.
    return site.Transit(sun.At(site.Transit(sun.At(site.MeanNoon))));
}

// Clock hours at which the sun's centre passes the altitude whose sine is given, before noon
// (side -1) or after it (+1). The first pass takes the sun at noon; the second takes it at that
// estimate, which is off by under a minute, and the sun's declination moves too little in a
// minute for a third pass to change the time by a second.
std::optional<double> EventHours(const DaySun& sun, const Site& site, double sinAltitude,
                                 double side, double noon) {
    double hours = noon;
    for (int pass = 0; pass < 2; ++pass) {
        const SunState state = sun.At(hours);
        const double cosHourAngle = (sinAltitude - site.SinLatitude * state.SinDeclination) /
                                    (site.CosLatitude * state.CosDeclination);
        if (!(std::abs(cosHourAngle) <= 1.0)) {
            return std::nullopt;
        }
        hours = site.Transit(state) + side * std::acos(cosHourAngle) / Radian / 15.0;
    }
    return hours;
}

std::optional<ClockTime> Rounded(std::optional<double> hours) {
    if (!hours) {
        return std::nullopt;
    }
    const auto day = static_cast<long>(MinutesPerDay);
    const long minutes = ((std::lround(*hours * 60.0) % day) + day) % day;
    return ClockTime{static_cast<int>(minutes / 60), static_cast<int>(minutes % 60)};
}

DayTimes TimesOfDay(const DaySun& sun, const Site& site) {
    static const double sinDawn = SinDegrees(DawnAltitude);
    static const double sinHorizon = SinDegrees(HorizonAltitude);
    static const double sinMaghrib = SinDegrees(MaghribAltitude);
    const double noon = TransitHours(sun, site);
    DayTimes times;
    times[Dawn] = Rounded(EventHours(sun, site, sinDawn, -1.0, noon));
    times[Sunrise] = Rounded(EventHours(sun, site, sinHorizon, -1.0, noon));
    times[Noon] = Rounded(noon);
    times[Sunset] = Rounded(EventHours(sun, site, sinHorizon, +1.0, noon));
    times[Maghrib] = Rounded(EventHours(sun, site, sinMaghrib, +1.0, noon));
    return times;
}

// Julian day of the zone's midnight that starts the given day.
double LocalMidnight(int epochDay, const Place& place) {
    return JulianDayOfEpoch + epochDay - place.ZoneHours / 24.0;
}

} // namespace

bool CoordinatesAcceptable(double latitude, double longitude) {
    // Written so that NaN fails every comparison and is refused.
    return std::abs(latitude) <= MaxLatitude && std::abs(longitude) <= 180.0;
}

DayTimes ComputePrayerTimes(const GregorianDate& date, const Place& place) {
    return ComputePrayerTimes(std::span<const GregorianDate>(&date, 1), place).front();
}

std::vector<DayTimes> ComputePrayerTimes(std::span<const GregorianDate> dates, const Place& place) {
    const Site site(place);
    std::vector<DayTimes> result;
    result.reserve(dates.size());
    DaySun sun;
    std::optional<int> previousDay;
    for (const GregorianDate& date : dates) {
        const int day = DaysSinceEpoch(date);
        if (previousDay && day == *previousDay) {
            result.push_back(result.back());
            continue;
        }
        sun.Midnight = previousDay && day == *previousDay + 1 ? sun.NextMidnight
                                                              : SunAt(LocalMidnight(day, place));
        sun.NextMidnight = SunAt(LocalMidnight(day + 1, place));
        result.push_back(TimesOfDay(sun, site));
        previousDay = day;
    }
    return result;
}

} // namespace prayer
