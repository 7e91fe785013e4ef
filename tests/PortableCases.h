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

// Windows-1256: the character of each byte. The system's converter gives these on both systems
// (as Qt's ICU converter did on Linux before), and holds no other character: an encode of any
// other one fails rather than write a look-alike.
inline constexpr char16_t Windows1256[256] = {
    0x0000, 0x0001, 0x0002, 0x0003, 0x0004, 0x0005, 0x0006, 0x0007, // 0x00
    0x0008, 0x0009, 0x000A, 0x000B, 0x000C, 0x000D, 0x000E, 0x000F, // 0x08
    0x0010, 0x0011, 0x0012, 0x0013, 0x0014, 0x0015, 0x0016, 0x0017, // 0x10
    0x0018, 0x0019, 0x001A, 0x001B, 0x001C, 0x001D, 0x001E, 0x001F, // 0x18
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027, // 0x20
    0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F, // 0x28
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, // 0x30
    0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F, // 0x38
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, // 0x40
    0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F, // 0x48
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, // 0x50
    0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F, // 0x58
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, // 0x60
    0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F, // 0x68
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, // 0x70
    0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x007F, // 0x78
    0x20AC, 0x067E, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 0x80
    0x02C6, 0x2030, 0x0679, 0x2039, 0x0152, 0x0686, 0x0698, 0x0688, // 0x88
    0x06AF, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 0x90
    0x06A9, 0x2122, 0x0691, 0x203A, 0x0153, 0x200C, 0x200D, 0x06BA, // 0x98
    0x00A0, 0x060C, 0x00A2, 0x00A3, 0x00A4, 0x00A5, 0x00A6, 0x00A7, // 0xA0
    0x00A8, 0x00A9, 0x06BE, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x00AF, // 0xA8
    0x00B0, 0x00B1, 0x00B2, 0x00B3, 0x00B4, 0x00B5, 0x00B6, 0x00B7, // 0xB0
    0x00B8, 0x00B9, 0x061B, 0x00BB, 0x00BC, 0x00BD, 0x00BE, 0x061F, // 0xB8
    0x06C1, 0x0621, 0x0622, 0x0623, 0x0624, 0x0625, 0x0626, 0x0627, // 0xC0
    0x0628, 0x0629, 0x062A, 0x062B, 0x062C, 0x062D, 0x062E, 0x062F, // 0xC8
    0x0630, 0x0631, 0x0632, 0x0633, 0x0634, 0x0635, 0x0636, 0x00D7, // 0xD0
    0x0637, 0x0638, 0x0639, 0x063A, 0x0640, 0x0641, 0x0642, 0x0643, // 0xD8
    0x00E0, 0x0644, 0x00E2, 0x0645, 0x0646, 0x0647, 0x0648, 0x00E7, // 0xE0
    0x00E8, 0x00E9, 0x00EA, 0x00EB, 0x0649, 0x064A, 0x00EE, 0x00EF, // 0xE8
    0x064B, 0x064C, 0x064D, 0x064E, 0x00F4, 0x064F, 0x0650, 0x00F7, // 0xF0
    0x0651, 0x00F9, 0x0652, 0x00FB, 0x00FC, 0x200E, 0x200F, 0x06D2, // 0xF8
};

// A Persian text the code page holds whole, with its guillemets, Arabic comma and semicolon,
// question mark, zero-width non-joiner and the letters that Arabic lacks; and its bytes. (The
// Farsi yeh is not among them: the look-alike mapping above the converter makes it the Arabic one.)
inline constexpr char16_t Windows1256PersianText[] =
    u"«اذان صبح، ظهر و مغرب» در گرگان، پاوه، چابهار و کرج؛ پژوهش\u200Cها؟";
inline constexpr char Windows1256PersianBytes[] =
    "\xAB\xC7\xD0\xC7\xE4\x20\xD5\xC8\xCD\xA1\x20\xD9\xE5\xD1\x20\xE6\x20\xE3\xDB\xD1\xC8"
    "\xBB\x20\xCF\xD1\x20\x90\xD1\x90\xC7\xE4\xA1\x20\x81\xC7\xE6\xE5\xA1\x20\x8D\xC7\xC8"
    "\xE5\xC7\xD1\x20\xE6\x20\x98\xD1\xCC\xBA\x20\x81\x8E\xE6\xE5\xD4\x9D\xE5\xC7\xBF";

} // namespace cases
