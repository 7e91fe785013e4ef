#include "prayer/TimetableFile.h"

#include "files/SafeSave.h"

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

[[noreturn]] void Fail(const std::filesystem::path& path, const std::string& reason) {
    throw TimetableWriteError("cannot write timetable file " + files::PathText(path) + ": " +
                              reason);
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
    const TimetableFileOut file{path, image};
    WriteTimetableFiles(std::span<const TimetableFileOut>(&file, 1));
}

void WriteTimetableFiles(std::span<const TimetableFileOut> files) {
    std::vector<files::FileBytes> bytes;
    bytes.reserve(files.size());
    for (const TimetableFileOut& file : files) {
        std::error_code error;
        if (file.Path.has_parent_path()) {
            std::filesystem::create_directories(file.Path.parent_path(), error);
            if (error) {
                Fail(file.Path, error.message());
            }
        }
        bytes.push_back(
            {file.Path, std::string_view(reinterpret_cast<const char*>(file.Image.data()),
                                         file.Image.size())});
    }
    try {
        files::SaveFiles(bytes);
    } catch (const files::FileError& failure) {
        Fail(failure.Path(), failure.Reason());
    }
}

} // namespace prayer
