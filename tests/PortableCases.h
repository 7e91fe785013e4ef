#pragma once

// Cases that the Linux suites and the Windows test program (tests/windows) both run, so that the
// two systems are held to the same dates and bytes. Plain C++, as the Windows program has no Qt.
namespace cases {

// A Gregorian date and its solar date.
struct SolarDate {
    const char* Name;
    int Year;
    int Month;
    int Day;
    int SolarYear;
    int SolarMonth;
    int SolarDay;
};

inline constexpr SolarDate SolarDates[] = {
    // First and second day of the solar year.
    {"2026-03-21 N=80", 2026, 3, 21, 1405, 1, 1},
    {"2026-03-22 1/2", 2026, 3, 22, 1405, 1, 2},
    {"2024-03-20 leap N=80", 2024, 3, 20, 1403, 1, 1},
    {"2024-03-19 leap N=79", 2024, 3, 19, 1402, 12, 29},
    {"2025-03-20 30th of Esfand", 2025, 3, 20, 1403, 12, 30},
    {"2026-03-20 29th of Esfand", 2026, 3, 20, 1404, 12, 29},
    {"2025-03-21 after long Esfand", 2025, 3, 21, 1404, 1, 1},
    // The last days of month 6, then month 7.
    {"2026-09-21 E=185", 2026, 9, 21, 1405, 6, 30},
    {"2026-09-22 E=186", 2026, 9, 22, 1405, 6, 31},
    {"2026-09-23 month 7", 2026, 9, 23, 1405, 7, 1},
    // Month edges of the 31-day half.
    {"2026-04-20 1/31", 2026, 4, 20, 1405, 1, 31},
    {"2026-04-21 2/1", 2026, 4, 21, 1405, 2, 1},
    // Month edges of the 30-day half.
    {"2026-10-22 7/30", 2026, 10, 22, 1405, 7, 30},
    {"2026-10-23 8/1", 2026, 10, 23, 1405, 8, 1},
    {"2026-12-21 E=276", 2026, 12, 21, 1405, 9, 30},
    {"2026-12-22 10/1", 2026, 12, 22, 1405, 10, 1},
    // Year edges.
    {"2026-01-01", 2026, 1, 1, 1404, 10, 11},
    {"2025-01-01", 2025, 1, 1, 1403, 10, 12},
    {"2024-12-31 N=366", 2024, 12, 31, 1403, 10, 11},
    {"2026-12-31", 2026, 12, 31, 1405, 10, 10},
    {"2026-01-20 10/30", 2026, 1, 20, 1404, 10, 30},
    {"2026-01-21 11/1", 2026, 1, 21, 1404, 11, 1},
    {"2026-02-19 11/30", 2026, 2, 19, 1404, 11, 30},
    {"2026-02-20 12/1", 2026, 2, 20, 1404, 12, 1},
    // Leap years: 29 February and the day after.
    {"2024-02-29", 2024, 2, 29, 1402, 12, 10},
    {"2024-03-01", 2024, 3, 1, 1402, 12, 11},
    {"2028-03-20 leap N=80", 2028, 3, 20, 1407, 1, 1},
    // 2100 is a leap year for this rule (no century exception).
    {"2100-03-20 N=80", 2100, 3, 20, 1479, 1, 1},
    {"2100-03-19 N=79", 2100, 3, 19, 1478, 12, 29},
    {"2101-03-20 N=79", 2101, 3, 20, 1479, 12, 30},
    {"2100-12-31 N=366", 2100, 12, 31, 1479, 10, 11},
};

// The clock sample under a zone (TZ): an instant, given in UTC; the sample the device gets, an hour
// back while the zone keeps daylight saving then; and the hour of the PC's own reading, which the
// date text shows. Around each transition, the second before it and the one it begins with.
struct ClockSample {
    const char* Name;
    const char* Zone;
    int Utc[6]; // year, month, day, hour, minute, second
    int Sample[6];
    bool Daylight;
    int LocalHour;
    // The last second before a transition of the zone database, which Windows' zone data puts at
    // 23:59:59.999 of the day before: wine, which counts whole seconds, has the transition there.
    bool LastSecondBefore = false;
};

// Iran's old rule as a POSIX rule, for PCs whose zone data predates 2022.
inline constexpr const char* OldIranRule = "IRST-3:30IRDT,J80/0,J264/0";

inline constexpr ClockSample ClockSamples[] = {
    {"Tehran 2022, before daylight saving",
     "Asia/Tehran",
     {2022, 3, 21, 20, 29, 59},
     {2022, 3, 21, 23, 59, 59},
     false,
     23,
     true},
    {"Tehran 2022, daylight saving's first second",
     "Asia/Tehran",
     {2022, 3, 21, 20, 30, 0},
     {2022, 3, 22, 0, 0, 0},
     true,
     1},
    {"Tehran 2022, summer noon",
     "Asia/Tehran",
     {2022, 6, 15, 7, 30, 0},
     {2022, 6, 15, 11, 0, 0},
     true,
     12},
    {"Tehran 2022, 00:30 in summer: the day before",
     "Asia/Tehran",
     {2022, 6, 15, 20, 0, 0},
     {2022, 6, 15, 23, 30, 0},
     true,
     0},
    {"Tehran 2022, daylight saving's last second",
     "Asia/Tehran",
     {2022, 9, 21, 19, 29, 59},
     {2022, 9, 21, 22, 59, 59},
     true,
     23,
     true},
    {"Tehran 2022, standard time again",
     "Asia/Tehran",
     {2022, 9, 21, 19, 30, 0},
     {2022, 9, 21, 23, 0, 0},
     false,
     23},
    {"Tehran 2026, where the old rule began",
     "Asia/Tehran",
     {2026, 3, 21, 20, 30, 0},
     {2026, 3, 22, 0, 0, 0},
     false,
     0},
    {"Tehran 2026, summer noon",
     "Asia/Tehran",
     {2026, 6, 15, 8, 30, 0},
     {2026, 6, 15, 12, 0, 0},
     false,
     12},
    {"Tehran 2026, where the old rule ended",
     "Asia/Tehran",
     {2026, 9, 21, 19, 30, 0},
     {2026, 9, 21, 23, 0, 0},
     false,
     23},
    {"Tehran 2026, winter noon",
     "Asia/Tehran",
     {2026, 12, 15, 8, 30, 0},
     {2026, 12, 15, 12, 0, 0},
     false,
     12},
    {"Tehran 2026, new year's night",
     "Asia/Tehran",
     {2026, 12, 31, 20, 30, 0},
     {2027, 1, 1, 0, 0, 0},
     false,
     0},
    {"old rule 2026, before daylight saving",
     OldIranRule,
     {2026, 3, 20, 20, 29, 59},
     {2026, 3, 20, 23, 59, 59},
     false,
     23},
    {"old rule 2026, daylight saving's first second",
     OldIranRule,
     {2026, 3, 20, 20, 30, 0},
     {2026, 3, 21, 0, 0, 0},
     true,
     1},
    {"old rule 2026, summer noon",
     OldIranRule,
     {2026, 6, 15, 7, 30, 0},
     {2026, 6, 15, 11, 0, 0},
     true,
     12},
    {"old rule 2026, daylight saving's last second",
     OldIranRule,
     {2026, 9, 20, 19, 29, 59},
     {2026, 9, 20, 22, 59, 59},
     true,
     23},
    {"old rule 2026, standard time again",
     OldIranRule,
     {2026, 9, 20, 19, 30, 0},
     {2026, 9, 20, 23, 0, 0},
     false,
     23},
    {"UTC, summer noon", "UTC", {2026, 6, 15, 12, 0, 0}, {2026, 6, 15, 12, 0, 0}, false, 12},
    {"Berlin, summer noon",
     "Europe/Berlin",
     {2026, 6, 15, 10, 0, 0},
     {2026, 6, 15, 11, 0, 0},
     true,
     12},
};

// A frame's data count, its Length byte (-1: the layout cannot carry it) and its whole size.
struct FrameLength {
    const char* Name;
    int DataCount;
    int Length;
    int FrameSize;
};

inline constexpr FrameLength FrameLengths[] = {
    {"no data", 0, 0x04, 6},
    {"probe, 1 byte", 1, 0x05, 7},
    {"end upgrade, 2 bytes", 2, 0x06, 8},
    {"clock, 6 bytes", 6, 0x0A, 12},
    {"version reply, 12 bytes", 12, 0x10, 18},
    {"block, 128 bytes", 128, 0x84, 134},
    {"largest plain, 250", 250, 0xFE, 256},
    {"251 would read as 256", 251, -1, 257},
    {"255", 255, -1, 261},
    {"page, 256 bytes", 256, 0xFF, 262},
    {"257", 257, -1, 263},
};

} // namespace cases
