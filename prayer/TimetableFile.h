#pragma once

#include "prayer/PrayerTimes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <stdexcept>

namespace prayer {

// A timetable file (<year>.PTL): 12 month records of 512 bytes; a month record holds its day
// records from byte 25; a day record holds five time entries of 3 bytes (hour code, minute code,
// a zero byte). Every other byte is zero and the file is always 6144 bytes long.
constexpr std::size_t TimetableFileSize = 6144;
constexpr std::size_t MonthRecordSize = 512;
constexpr std::size_t DayRecordsAt = 25;
constexpr std::size_t DayRecordSize = 15;
constexpr std::size_t TimeEntrySize = 3;

using TimetableImage = std::array<std::uint8_t, TimetableFileSize>;

// Codes the reader decodes with (code - 10) / 7 and (code - 8) / 3.
constexpr std::uint8_t HourCodeOf(int hour) {
    return static_cast<std::uint8_t>(10 + 7 * hour);
}
constexpr std::uint8_t MinuteCodeOf(int minute) {
    return static_cast<std::uint8_t>(8 + 3 * minute);
}

// Encodes a year's times, one DayTimes per day in file order (TimetableDates). Throws
// std::invalid_argument for an undefined time, which the file has no way to say.
TimetableImage EncodeTimetable(std::span<const DayTimes, DaysInTimetableYear> days);

// The file of one solar year for a place in Iran Standard Time. Throws std::invalid_argument for
// coordinates CoordinatesAcceptable refuses.
TimetableImage TimetableFileImage(int solarYear, double latitude, double longitude);

class TimetableWriteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates the missing folders and replaces the file in one rename, so that a reader sees the
// old file or the new one, never a part; a failure leaves no temporary file behind. Throws
// TimetableWriteError naming the path.
void WriteTimetableFile(const std::filesystem::path& path, const TimetableImage& image);

// Several files written as WriteTimetableFile writes one, synced to the disk at once: a county
// after another, many times faster than a sync for each file. Nothing is replaced when one of
// them cannot be written before the renames.
struct TimetableFileOut {
    std::filesystem::path Path;
    TimetableImage Image;
};
void WriteTimetableFiles(std::span<const TimetableFileOut> files);

} // namespace prayer
