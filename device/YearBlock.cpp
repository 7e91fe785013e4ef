#include "device/YearBlock.h"

#include <QFile>
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

// Reads up to out.size() bytes; the count read, or -1 on a read error.
qint64 ReadFully(QFile& file, std::span<std::uint8_t> out) {
    qint64 total = 0;
    while (total < static_cast<qint64>(out.size())) {
        const qint64 got = file.read(reinterpret_cast<char*>(out.data()) + total,
                                     static_cast<qint64>(out.size()) - total);
        if (got < 0) {
            return -1;
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    return total;
}

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
    QFile file(result.Path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.Status = YearFileStatus::Missing;
        return result;
    }
    std::array<std::uint8_t, TimetableFileSize> buffer{};
    const qint64 got = ReadFully(file, buffer);
    if (got < 0) {
        result.Status = YearFileStatus::Missing;
        return result;
    }
    if (got < static_cast<qint64>(buffer.size())) {
        result.Status = YearFileStatus::Short;
        return result;
    }
    result.Status = YearFileStatus::Loaded;
    result.Block = ConvertTimetable(buffer, year);
    return result;
}
