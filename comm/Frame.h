#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The one frame layout shared by every command and every reply:
// 0x55 0xAA, Command, ParamHigh, ParamLow, Length (data bytes + 4; 0xFF for 256), Data...
namespace frame {

using Byte = std::uint8_t;

constexpr Byte SyncFirst = 0x55;
constexpr Byte SyncSecond = 0xAA;

constexpr std::size_t CommandAt = 2;
constexpr std::size_t ParamHighAt = 3;
constexpr std::size_t ParamLowAt = 4;
constexpr std::size_t LengthAt = 5;
constexpr std::size_t DataAt = 6;
constexpr std::size_t HeaderSize = DataAt;
constexpr std::size_t BufferSize = 512;

constexpr std::size_t MaxDataCount = 256;
constexpr Byte FullPageLength = 0xFF; // the one frame with 256 data bytes

namespace command {
constexpr Byte Probe = 0x01; // also the upgrade stage's hello
constexpr Byte Version = 0x02;
constexpr Byte BlockWrite = 0x03;
constexpr Byte Clock = 0x04; // clock setting and settings read-back
constexpr Byte EnterUpgrade = 0x77;
constexpr Byte EraseMemory = 0x50;
constexpr Byte WritePage = 0x60;
constexpr Byte EndUpgrade = 0x80;
} // namespace command

// Two-byte codes the device demands in ParamHigh/ParamLow of the upgrade commands.
constexpr std::array<Byte, 2> UpgradeAccessCode = {0x5A, 0xA5};
constexpr std::array<Byte, 2> StageAccessCode = {0xC3, 0x3C};
// ParamHigh/ParamLow of the clock and settings read-back frames and of the block-write reply.
constexpr std::array<Byte, 2> SettingsParams = {0x0F, 0x0E};

constexpr std::array<Byte, 7> ProbeFrame = {0x55, 0xAA, 0x01, 0x00, 0x00, 0x05, 0xFA};
constexpr std::array<Byte, 7> ProbeReply = {0x55, 0xAA, 0x01, 0x03, 0x11, 0x05, 0xE6};
constexpr std::array<Byte, 7> VersionQueryFrame = {0x55, 0xAA, 0x02, 0x00, 0x00, 0x05, 0xF9};
constexpr std::array<Byte, 6> VersionReplyHeader = {0x55, 0xAA, 0x02, 0x03, 0x03, 0x10};
constexpr std::size_t VersionReplySize = 18;
constexpr std::array<Byte, 5> BlockReplyHeader = {0x55, 0xAA, 0x03, 0x0F, 0x0E};
constexpr std::size_t BlockDataSize = 128;
constexpr std::size_t BlockFrameSize = HeaderSize + BlockDataSize; // 134
// What the upload and the settings read-back clear of the buffers before their first frame: a
// block frame and one header more. Nothing past a frame is sent or judged, so no byte on the
// wire depends on it; it keeps the buffers starting alike.
constexpr std::size_t ClearedAtStart = BlockFrameSize + HeaderSize; // 140
constexpr std::array<Byte, 7> ReadSettingsFrame = {0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x05, 0x00};
constexpr std::size_t ClockDataSize = 6;
// Replies of the upgrade stage: EnterUpgrade and the hello answer 01 with 03 11, erase 50 with B3.
constexpr std::size_t UpgradeReplySize = 10;
constexpr std::array<Byte, 2> UpgradeStageMark = {0x03, 0x11};
constexpr Byte EraseDoneMark = 0xB3;
constexpr std::size_t PageDataSize = 256;
constexpr std::size_t PageFrameSize = HeaderSize + PageDataSize; // 262
constexpr std::array<Byte, 2> EndUpgradeData = {0x01, 0xF1};

// Length byte for a frame with dataCount data bytes; nothing for counts the layout cannot carry
// (251 would collide with the 0xFF of a full page).
std::optional<Byte> LengthFor(std::size_t dataCount);

// Data bytes that follow a header with this Length byte; nothing for a Length below 4.
std::optional<std::size_t> DataCountFor(Byte length);

constexpr std::size_t FrameSize(std::size_t dataCount) {
    return HeaderSize + dataCount;
}

// Writes a whole frame at the start of out and returns its size; nothing when the data
// cannot be carried or out is too small (out is then untouched).
std::optional<std::size_t> Compose(std::span<Byte> out, Byte command, Byte paramHigh, Byte paramLow,
                                   std::span<const Byte> data);

// " 55 AA 01": each byte in hexadecimal after a blank, as the traces of frames write them.
std::string HexText(std::span<const Byte> bytes);

} // namespace frame
