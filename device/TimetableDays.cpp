#include "device/TimetableDays.h"

namespace {

QString TwoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QChar(u'0'));
}

} // namespace

std::vector<TimetableDay> DecodeYearBlock(const YearBlock& block, int solarYear) {
    std::vector<TimetableDay> days;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= DaysInMonth(month); ++day) {
            TimetableDay entry;
            entry.Month = month;
            entry.Day = day;
            entry.Gregorian = prayer::GregorianOfSolar(solarYear, month, day);
            for (int t = 1; t <= TimesPerDay; ++t) {
                const std::size_t at = YearBlockTimeOffset(month, day, t);
                const int hour = block[at];
                const int minute = block[at + 1];
                const auto i = static_cast<std::size_t>(t - 1);
                entry.Times[i] = TwoDigits(hour) + u':' + TwoDigits(minute);
                entry.Impossible[i] = hour > 23 || minute > 59;
            }
            days.push_back(entry);
        }
    }
    return days;
}

QString SolarDayText(int solarYear, int month, int day) {
    return QStringLiteral("%1-%2-%3").arg(solarYear).arg(TwoDigits(month), TwoDigits(day));
}

QString GregorianDayText(const prayer::GregorianDate& date) {
    return QStringLiteral("%1-%2-%3")
        .arg(date.Year)
        .arg(TwoDigits(date.Month), TwoDigits(date.Day));
}
