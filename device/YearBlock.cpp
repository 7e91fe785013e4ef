#include "device/YearBlock.h"

#include "common/TextFiles.h"
#include "device/DeviceTexts.h"
#include "files/InputFile.h"

#include <algorithm>
#include <stdexcept>

namespace {

constexpr int HourBase = 10;
constexpr int HourStep = 7;
constexpr int MinuteBase = 8;
constexpr int MinuteStep = 3;
constexpr std::size_t TimeEntrySize = 3;
constexpr std::size_t StoredTimeSize = 2;

constexpr int DaysBefore(int month) {
    int days = 0;
    for (int m = 1; m < month; ++m) {
        days += DaysInMonth(m);
    }
    return days;
}

// 366 days of five times fill the block up to its last two bytes.
static_assert(YearHeaderSize + StoredTimeSize * TimesPerDay * DaysBefore(13) == 3710);

void WriteHeader(YearBlock& block, int year) {
    const QByteArray header =
        QByteArray::number(year) + ' ' + QByteArray(YearSignature.data(), YearSignature.size());
    // The zero byte after the text must stay inside the header whatever the year.
    const auto length = std::min<std::size_t>(header.size(), YearHeaderSize - 1);
    std::copy_n(header.constBegin(), length, block.begin());
    block[length] = 0;
}

} // namespace

std::size_t TimetableFileOffset(int month, int day, int time) {
    return (month - 1) * MonthRecordSize + DayRecordsAt + (day - 1) * DayRecordSize +
           (time - 1) * TimeEntrySize;
}

std::size_t YearBlockTimeOffset(int month, int day, int time) {
    const int index = TimesPerDay * DaysBefore(month) + TimesPerDay * (day - 1) + (time - 1);
    return YearHeaderSize + StoredTimeSize * index;
}

std::uint8_t DecodeHour(std::uint8_t code) {
    return static_cast<std::uint8_t>((code - HourBase) / HourStep);
}

std::uint8_t DecodeMinute(std::uint8_t code) {
    return static_cast<std::uint8_t>((code - MinuteBase) / MinuteStep);
}

std::uint8_t HourCode(int hour) {
    if (hour < 0 || hour > 23) {
        throw std::out_of_range("hour outside 0..23");
    }
    return prayer::HourCodeOf(hour);
}

std::uint8_t MinuteCode(int minute) {
    if (minute < 0 || minute > 59) {
        throw std::out_of_range("minute outside 0..59");
    }
    return prayer::MinuteCodeOf(minute);
}

TimeEntry EncodeTime(int hour, int minute) {
    return {HourCode(hour), MinuteCode(minute), 0};
}

YearBlock ConvertTimetable(std::span<const std::uint8_t, TimetableFileSize> file, int year) {
    YearBlock block{};
    WriteHeader(block, year);
    std::size_t out = YearHeaderSize;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonth(month); ++day) {
            for (int time = 1; time <= TimesPerDay; ++time) {
                const std::size_t at = TimetableFileOffset(month, day, time);
                block[out] = DecodeHour(file[at]);
                block[out + 1] = DecodeMinute(file[at + 1]);
                out += StoredTimeSize;
            }
        }
    }
    return block;
}

QString YearFilePath(const QString& timetableFolder, int year) {
    return timetableFolder + QString::number(year) + QStringLiteral(".PTL");
}

YearBlockResult LoadYearBlock(const QString& timetableFolder, int year) {
    YearBlockResult result;
    result.Path = YearFilePath(timetableFolder, year);
    std::array<std::uint8_t, TimetableFileSize> buffer{};
    std::size_t got = 0;
    try {
        // Only a regular file: a FIFO in its place would hold the upload up for ever.
        files::InputFile file(FilePath(result.Path));
        got = file.Read(reinterpret_cast<char*>(buffer.data()), buffer.size());
    } catch (const files::FileError&) {
        result.Status = YearFileStatus::Missing;
        return result;
    }
    if (got < buffer.size()) {
        result.Status = YearFileStatus::Short;
        return result;
    }
    result.Status = YearFileStatus::Loaded;
    result.Block = ConvertTimetable(buffer, year);
    return result;
}

QString YearFileProblemText(YearFileStatus status, int year) {
    return status == YearFileStatus::Short ? YearFileShortTemplate.arg(year)
                                           : YearFileNotFoundText + QString::number(year);
}
