#include "prayer/TimetableFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace prayer {

namespace {

void PutTime(TimetableImage& image, std::size_t at, const std::optional<ClockTime>& time) {
    if (!time) {
        throw std::invalid_argument("a timetable cannot hold an undefined time");
    }
    image.at(at) = HourCodeOf(time->Hour);
    image.at(at + 1) = MinuteCodeOf(time->Minute);
}

// Beside the file, so that the rename stays on one file system; the random part keeps two
// processes apart, the counter two threads of one process.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& path) {
    static const unsigned long long processTag = std::random_device{}();
    static std::atomic<unsigned long long> counter{0};
    std::filesystem::path temporary = path;
    temporary += ".tmp-" + std::to_string(processTag) + "-" + std::to_string(counter++);
    return temporary;
}

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& reason) {
    throw TimetableWriteError("cannot write timetable file " + path.string() + ": " + reason);
}

} // namespace

TimetableImage EncodeTimetable(std::span<const DayTimes, DaysInTimetableYear> days) {
    TimetableImage image{};
    std::size_t index = 0;
    for (int month = 1; month <= 12; ++month) {
        std::size_t at = static_cast<std::size_t>(month - 1) * MonthRecordSize + DayRecordsAt;
        for (int day = 1; day <= DaysInTimetableMonth(month); ++day) {
            for (const std::optional<ClockTime>& time : days[index]) {
                PutTime(image, at, time);
                at += TimeEntrySize;
            }
            ++index;
        }
    }
    return image;
}

TimetableImage TimetableFileImage(int solarYear, double latitude, double longitude) {
    if (!CoordinatesAcceptable(latitude, longitude)) {
        throw std::invalid_argument("coordinates out of range: latitude " +
                                    std::to_string(latitude) + ", longitude " +
                                    std::to_string(longitude));
    }
    const auto dates = TimetableDates(solarYear);
    const std::vector<DayTimes> times = ComputePrayerTimes(dates, Place{latitude, longitude});
    return EncodeTimetable(
        std::span<const DayTimes, DaysInTimetableYear>(times.data(), DaysInTimetableYear));
}

void WriteTimetableFile(const std::filesystem::path& path, const TimetableImage& image) {
    std::error_code error;
    if (path.has_parent_path()) {
        std::filesystem::create_directories(path.parent_path(), error);
        if (error) {
            Fail(path, error.message());
        }
    }
    const std::filesystem::path temporary = TemporaryPathFor(path);
    errno = 0;
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (out) {
            out.write(reinterpret_cast<const char*>(image.data()),
                      static_cast<std::streamsize>(image.size()));
            out.close();
        }
        if (!out) {
            const std::string reason = errno != 0 ? std::strerror(errno) : "write failed";
            std::filesystem::remove(temporary, error);
            Fail(path, reason);
        }
    }
    std::filesystem::rename(temporary, path, error);
    if (error) {
        const std::string reason = error.message();
        std::filesystem::remove(temporary, error);
        Fail(path, reason);
    }
}

} // namespace prayer
