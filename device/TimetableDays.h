#pragma once

#include "device/YearBlock.h"
#include "prayer/SolarYear.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

// One day of a year block as the device will get it.
struct TimetableDay {
    int Month = 0;
    int Day = 0;
    std::array<QString, TimesPerDay> Times; // "05:04"; a value no clock can show as it is
    std::array<bool, TimesPerDay> Impossible{};
    // The Gregorian date of the day; none for a place the solar year does not have (the 30th
    // of month 12 of a common year), which the device never reaches.
    std::optional<prayer::GregorianDate> Gregorian;
    bool InYear() const { return Gregorian.has_value(); }
};

// The 366 days of the year block of solarYear, in the device's order.
std::vector<TimetableDay> DecodeYearBlock(const YearBlock& block, int solarYear);

// "1405-01-02", "2026-03-22": the dates as the listings write them.
QString SolarDayText(int solarYear, int month, int day);
QString GregorianDayText(const prayer::GregorianDate& date);
