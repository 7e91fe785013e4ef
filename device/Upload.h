#pragma once

#include "calendar/CalendarClock.h"
#include "comm/CommLink.h"
#include "device/KeyTable.h"
#include "device/OperationHost.h"
#include "device/SettingsBlock.h"
#include "device/YearBlock.h"

#include <span>

// Device memory written by one upload: the settings at 0, ten years of timetables from 128,
// the key table from 0x9180.
constexpr int SettingsAddress = 0;
constexpr int TimetableAddress = 128;
constexpr int KeyTableAddress = 37248;
constexpr int YearBlockCount = static_cast<int>(std::tuple_size_v<YearBlock>) / 128;      // 29
constexpr int KeyBlockCount = static_cast<int>(std::tuple_size_v<KeyTable>) / 128;        // 25
constexpr int UploadBlockCount = 1 + TimetableYearCount * YearBlockCount + KeyBlockCount; // 316
// Blocks in a row without a single byte of reply after which the device counts as gone.
constexpr int SilentBlocksLimit = 3;

// What one upload is made of: the window's fields and the chosen location.
struct UploadInput {
    SettingsFields Fields;
    int CountyIndex = 0;
    int ProvinceIndex = 0;
    GlyphCodeArray GlyphCodes{};
    QString TimetableFolder; // empty while no county has been chosen
    QString KeyFilePath;
};

// How one block ended: confirmed by a whole, equal echo, or what went wrong with the reply.
enum class BlockOutcome { Confirmed, Differs, ShortReply, WrongHeader, NoReply, NotSent };

struct UploadResult {
    bool Started = false; // false: refused before anything was sent
    int BlocksSent = 0;
    int BlocksConfirmed = 0;
    int YearsWritten = 0;
    bool DeviceSilent = false; // stopped: the device stopped answering
    bool Complete() const { return BlocksConfirmed == UploadBlockCount; }
};

// Judges the device's reply in RxBuffer against the block frame in TxFrame; logs what is
// wrong with it.
BlockOutcome JudgeBlockReply(const CommLink& link, OperationHost& host);

// Writes one block at the address and checks the device's read-back; logs what is wrong.
BlockOutcome WriteBlock(CommLink& link, OperationHost& host, int address,
                        std::span<const std::uint8_t, 128> data);

// The whole upload: settings, ten years of timetables from the current solar year, the key
// table; every block read back and compared. Input errors (a field that does not convert, a
// missing key file) throw before anything is sent, with the monitor running and the progress
// bar hidden again.
UploadResult RunUpload(CommLink& link, const CalendarClock& clock, OperationHost& host,
                       const UploadInput& input);
