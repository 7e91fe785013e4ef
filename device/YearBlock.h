#pragma once

#include "prayer/TimetableFile.h"

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

// One solar year of prayer times as the device stores it: a 50-byte header, then 366 days of
// five times (hour, minute), 3712 bytes written as 29 blocks of 128.
using YearBlock = std::array<std::uint8_t, 3712>;

// A timetable file (<year>.PTL) holds 12 month records of 512 bytes; a month record holds day
// records of 15 bytes from byte 25; a day record holds five time entries of 3 bytes:
// hour code, minute code, and a byte nobody reads.
using TimeEntry = std::array<std::uint8_t, 3>;

// The file layout is the writer's, so that reader and writer cannot drift apart.
using prayer::DayRecordsAt;
using prayer::DayRecordSize;
using prayer::MonthRecordSize;
using prayer::TimetableFileSize;
constexpr int TimesPerDay = static_cast<int>(prayer::TimesPerDay);
constexpr std::size_t YearHeaderSize = 50;

// The same 39 characters follow the year in every header.
constexpr std::string_view YearSignature = "MUEZZIN PRAYER TIMETABLE ONE SOLAR YEAR";
static_assert(YearSignature.size() == 39);

// The device keeps 31 days for months 1..6 and 30 for months 7..12, in every year.
constexpr int DaysInMonth(int month) {
    return prayer::DaysInTimetableMonth(month);
}

// Where time t (1..5) of day d of month m (1..12) lies in a timetable file and in a YearBlock.
std::size_t TimetableFileOffset(int month, int day, int time);
std::size_t YearBlockTimeOffset(int month, int day, int time);

// The file's codes: hour = (code - 10) / 7, minute = (code - 8) / 3, truncated toward zero and
// kept to 8 bits: codes below the base give 254 or 255, and are sent as they are.
std::uint8_t DecodeHour(std::uint8_t code);
std::uint8_t DecodeMinute(std::uint8_t code);

// The other way, for writing timetable files: 10 + 7h and 8 + 3m. Hours 0..23 and minutes 0..59
// only; anything else throws std::out_of_range.
std::uint8_t HourCode(int hour);
std::uint8_t MinuteCode(int minute);
TimeEntry EncodeTime(int hour, int minute);

// Converts the first 6144 bytes of a timetable file into the year's block.
YearBlock ConvertTimetable(std::span<const std::uint8_t, TimetableFileSize> file, int year);

// timetableFolder + year + ".PTL"; the folder ends with its separator.
QString YearFilePath(const QString& timetableFolder, int year);

enum class YearFileStatus {
    Loaded,
    Missing, // cannot be opened or read, or is not a regular file
    Short,   // fewer than 6144 bytes: converting it would send invented times
};

struct YearBlockResult {
    YearFileStatus Status = YearFileStatus::Missing;
    QString Path;
    YearBlock Block{}; // all zero unless Loaded
};

// Reads the first 6144 bytes of the year's file (never more, however large it is) and
// converts them.
YearBlockResult LoadYearBlock(const QString& timetableFolder, int year);

// The log line of a year whose file could not be used (missing or short).
QString YearFileProblemText(YearFileStatus status, int year);
