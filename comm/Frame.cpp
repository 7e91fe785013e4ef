#include "comm/Frame.h"

#include <algorithm>

namespace frame {

std::optional<Byte> LengthFor(std::size_t dataCount) {
    if (dataCount == MaxDataCount) {
        return FullPageLength;
    }
    if (dataCount + 4 >= FullPageLength) {
        return std::nullopt;
    }
    return static_cast<Byte>(dataCount + 4);
}

std::optional<std::size_t> DataCountFor(Byte length) {
    if (length == FullPageLength) {
        return MaxDataCount;
    }
    if (length < 4) {
        return std::nullopt;
    }
    return std::size_t{length} - 4;
}

std::optional<std::size_t> Compose(std::span<Byte> out, Byte command, Byte paramHigh, Byte paramLow,
                                   std::span<const Byte> data) {
    const auto length = LengthFor(data.size());
    const std::size_t size = FrameSize(data.size());
    if (!length || out.size() < size) {
        return std::nullopt;
    }
    out[0] = SyncFirst;
    out[1] = SyncSecond;
    out[CommandAt] = command;
    out[ParamHighAt] = paramHigh;
    out[ParamLowAt] = paramLow;
    out[LengthAt] = *length;
    std::copy(data.begin(), data.end(), out.begin() + DataAt);
    return size;
}

std::string HexText(std::span<const Byte> bytes) {
    static constexpr char Digits[] = "0123456789ABCDEF";
    std::string text;
    for (const Byte byte : bytes) {
        text += {' ', Digits[byte >> 4], Digits[byte & 0x0F]};
    }
    return text;
}

} // namespace frame
