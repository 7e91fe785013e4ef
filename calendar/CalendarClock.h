#pragma once

#include <array>
#include <cstdint>
#include <ctime>
#include <string>

// The PC clock as the device world sees it: one sample of local time, in standard time (an
// hour back while the PC's own zone rules keep daylight saving), its solar (Persian) date by the
// device's fixed arithmetic rule, and the date text that stamps the log.
struct CalendarClock {
    std::int32_t Year = 0;    // Gregorian, e.g. 2026
    std::uint8_t Month = 0;   // 1..12
    std::uint8_t Day = 0;     // 1..31
    std::uint8_t WeekDay = 0; // 0 = Sunday .. 6 = Saturday
    std::int32_t YearDay = 0; // 0 = 1 January
    std::int32_t SolarYear = 0;
    std::uint8_t SolarMonth = 0;   // 1..12
    std::uint8_t SolarDay = 0;     // 1..31
    std::uint8_t SolarWeekDay = 0; // Saturday 1 .. Friday 0
    std::uint8_t Hour = 0;
    std::uint8_t Minute = 0;
    std::uint8_t Second = 0;
    // The sample is one hour before the PC's local time: the PC's zone keeps daylight saving at
    // the sampled instant. Decided at every sample from the zone's rules, never from the date.
    bool DaylightSaving = false;
    std::array<char, 80> DateText{}; // zero-terminated; always the PC's own local time
};

// Waits for the next second boundary of the PC clock (a timed wait, not a spin) and samples it.
void ReadClock(CalendarClock& clock);

// Fills the record from the calendar time t as ReadClock does once the second has turned.
// Split out so that the sampling can be checked at any instant.
void SampleClock(CalendarClock& clock, std::time_t t);

// Gregorian date of the last sample -> solar date.
void ToSolarDate(CalendarClock& clock);

// The PC clock now, with its solar date, as the log and the timetable years need it. Only the
// clock frame must be sampled at the turn of a second (ReadClock), and that is done where it is
// sent.
CalendarClock ClockNow();

// "%A , %B(%m) , %Y , %X %p" of t in local time, always in the classic C locale.
std::string FormatDateText(std::time_t t);

std::string DateTextString(const CalendarClock& clock);

// The window's two clock fields: " 09 : 05 : 07" and " 1405 / 01 / 02".
std::string ClockTimeText(const CalendarClock& clock);
std::string SolarDateText(const CalendarClock& clock);
