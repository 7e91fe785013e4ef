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

void SetDeviceClock(CommLink& link, CalendarClock& clock) {
    ReadClock(clock);
    const ClockFrame bytes = ClockFrameOf(clock);
    std::copy(bytes.begin(), bytes.end(), link.TxFrame.begin());
    link.WriteCount = bytes.size();
    SendFrame(link);
}

std::optional<SettingsBlock> ReadStoredSettings(CommLink& link) {
    std::fill_n(link.TxFrame.begin(), 140, 0);
    std::copy(frame::ReadSettingsFrame.begin(), frame::ReadSettingsFrame.end(),
              link.TxFrame.begin());
    link.WriteCount = frame::ReadSettingsFrame.size();
    link.ReadCount = frame::BlockFrameSize;
    SendFrame(link);
    ReceiveReply(link);
    return SettingsOfReply(link);
}

std::optional<SettingsBlock> SettingsOfReply(const CommLink& link) {
    if (link.BytesRead != frame::BlockFrameSize) {
        return std::nullopt;
    }
    SettingsBlock block{};
    std::copy_n(link.RxBuffer.begin() + frame::DataAt, block.size(), block.begin());
    return block;
}
