#pragma once

#include <ctime>
#include <string>

// The device keeps Iran Standard Time (UTC+03:30) all year, as Iran has since its daylight saving
// ended in 2022, and its timetables are written in it. It gets the PC's own local time, less an
// hour while the PC's zone keeps daylight saving; so the PC's zone is checked against it, and a
// difference is told, never corrected behind the user's back.
constexpr int IranStandardOffsetMinutes = 210;
constexpr int LastIranDaylightYear = 2022;

enum class ZoneVerdict {
    Iran,         // +03:30, no daylight saving after 2022
    OtherOffset,  // a standard offset other than +03:30: the device gets another zone's time
    OldIranRules, // +03:30 with daylight saving after 2022: zone data older than the 2022 law
};

struct ZoneCheck {
    ZoneVerdict Verdict = ZoneVerdict::Iran;
    int StandardOffsetMinutes = 0; // east of UTC
    int DaylightYear = 0;          // the first year after 2022 in which the zone keeps it; or 0
};

// The PC's zone by its own rules: its standard offset in the year of now, and daylight saving
// in any year from 2023 to the year after now's.
ZoneCheck CheckPcZone(std::time_t now);

// "+03:30", "-05:00", "+00:00".
std::string UtcOffsetText(int minutesEast);
