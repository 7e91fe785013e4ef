#include "device/ClockCommands.h"

#include <algorithm>

ClockFrame ClockFrameOf(const CalendarClock& clock) {
    const std::array<std::uint8_t, frame::ClockDataSize> data = {
        clock.Second, clock.Minute, clock.Hour,
        clock.Day,    clock.Month,  static_cast<std::uint8_t>((clock.Year - 2000) & 0xFF)};
    ClockFrame out{};
    frame::Compose(out, frame::command::Clock, frame::SettingsParams[0], frame::SettingsParams[1],
                   data);
    return out;
}

bool SetDeviceClock(CommLink& link, CalendarClock& clock) {
    ReadClock(clock);
    const ClockFrame bytes = ClockFrameOf(clock);
    std::copy(bytes.begin(), bytes.end(), link.TxFrame.begin());
    link.WriteCount = bytes.size();
    return SendFrame(link).Bytes == bytes.size();
}

QString ClockSetText(const CalendarClock& clock, bool sent) {
    if (!sent) {
        return QStringLiteral("the device clock was not set: the clock frame could not be sent");
    }
    const QChar zero(u'0');
    return QStringLiteral("device clock set to %1-%2-%3 %4:%5:%6, %7")
        .arg(clock.Year)
        .arg(clock.Month, 2, 10, zero)
        .arg(clock.Day, 2, 10, zero)
        .arg(clock.Hour, 2, 10, zero)
        .arg(clock.Minute, 2, 10, zero)
        .arg(clock.Second, 2, 10, zero)
        .arg(clock.DaylightSaving ? QStringLiteral("an hour behind the PC for daylight saving")
                                  : QStringLiteral("the PC's time (no daylight saving)"));
}

Problem ZoneProblem(const ZoneCheck& zone) {
    switch (zone.Verdict) {
    case ZoneVerdict::OtherOffset:
        return Problem(QStringLiteral("time-zone"), QStringLiteral("other-offset"))
            .Set(QStringLiteral("offset"),
                 QString::fromStdString(UtcOffsetText(zone.StandardOffsetMinutes)));
    case ZoneVerdict::OldIranRules:
        return Problem(QStringLiteral("time-zone"), QStringLiteral("old-rules"))
            .Set(QStringLiteral("last_year"), LastIranDaylightYear)
            .Set(QStringLiteral("year"), zone.DaylightYear);
    case ZoneVerdict::Iran:
        break;
    }
    return {};
}
