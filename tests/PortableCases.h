#pragma once

// Cases that the Linux suites and the Windows test program (tests/windows) both run, so that the
// two systems are held to the same dates and bytes. Plain C++, as the Windows program has no Qt.
namespace cases {

// A Gregorian date, its solar date and the daylight-saving decision for it.
struct SolarDate {
    const char* Name;
    int Year;
    int Month;
    int Day;
    int SolarYear;
    int SolarMonth;
    int SolarDay;
    bool Saving;
};

inline constexpr SolarDate SolarDates[] = {
    // First day of the solar year, and the day daylight saving starts.
    {"2026-03-21 N=80", 2026, 3, 21, 1405, 1, 1, false},
    {"2026-03-22 DST first day", 2026, 3, 22, 1405, 1, 2, true},
    {"2024-03-20 leap N=80", 2024, 3, 20, 1403, 1, 1, false},
    {"2024-03-19 leap N=79", 2024, 3, 19, 1402, 12, 29, false},
    {"2025-03-20 30th of Esfand", 2025, 3, 20, 1403, 12, 30, false},
    {"2026-03-20 29th of Esfand", 2026, 3, 20, 1404, 12, 29, false},
    {"2025-03-21 after long Esfand", 2025, 3, 21, 1404, 1, 1, false},
    // Daylight saving's last day, the 31st day of month 6 outside it, then month 7.
    {"2026-09-21 E=185", 2026, 9, 21, 1405, 6, 30, true},
    {"2026-09-22 E=186", 2026, 9, 22, 1405, 6, 31, false},
    {"2026-09-23 month 7", 2026, 9, 23, 1405, 7, 1, false},
    // Month edges of the 31-day half.
    {"2026-04-20 1/31", 2026, 4, 20, 1405, 1, 31, true},
    {"2026-04-21 2/1", 2026, 4, 21, 1405, 2, 1, true},
    // Month edges of the 30-day half.
    {"2026-10-22 7/30", 2026, 10, 22, 1405, 7, 30, false},
    {"2026-10-23 8/1", 2026, 10, 23, 1405, 8, 1, false},
    {"2026-12-21 E=276", 2026, 12, 21, 1405, 9, 30, false},
    {"2026-12-22 10/1", 2026, 12, 22, 1405, 10, 1, false},
    // Year edges.
    {"2026-01-01", 2026, 1, 1, 1404, 10, 11, false},
    {"2025-01-01", 2025, 1, 1, 1403, 10, 12, false},
    {"2024-12-31 N=366", 2024, 12, 31, 1403, 10, 11, false},
    {"2026-12-31", 2026, 12, 31, 1405, 10, 10, false},
    {"2026-01-20 10/30", 2026, 1, 20, 1404, 10, 30, false},
    {"2026-01-21 11/1", 2026, 1, 21, 1404, 11, 1, false},
    {"2026-02-19 11/30", 2026, 2, 19, 1404, 11, 30, false},
    {"2026-02-20 12/1", 2026, 2, 20, 1404, 12, 1, false},
    // Leap years: 29 February and the day after.
    {"2024-02-29", 2024, 2, 29, 1402, 12, 10, false},
    {"2024-03-01", 2024, 3, 1, 1402, 12, 11, false},
    {"2028-03-20 leap N=80", 2028, 3, 20, 1407, 1, 1, false},
    // 2100 is a leap year for this rule (no century exception).
    {"2100-03-20 N=80", 2100, 3, 20, 1479, 1, 1, false},
    {"2100-03-19 N=79", 2100, 3, 19, 1478, 12, 29, false},
    {"2101-03-20 N=79", 2101, 3, 20, 1479, 12, 30, false},
    {"2100-12-31 N=366", 2100, 12, 31, 1479, 10, 11, false},
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
