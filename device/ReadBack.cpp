#include "device/ReadBack.h"

#include <algorithm>

std::optional<SettingsBlock> ReadStoredSettings(CommLink& link) {
    std::fill_n(link.TxFrame.begin(), frame::ClearedAtStart, 0);
    std::copy(frame::ReadSettingsFrame.begin(), frame::ReadSettingsFrame.end(),
              link.TxFrame.begin());
    Exchange(link, frame::ReadSettingsFrame.size(), frame::BlockFrameSize);
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

bool HoldsNoSettings(const SettingsBlock& block) {
    return std::all_of(block.begin(), block.end(), [](std::uint8_t b) { return b == 0xFF; });
}
