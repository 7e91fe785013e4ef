#pragma once

#include "comm/CommLink.h"
#include "device/KeyTable.h"
#include "device/OperationHost.h"
#include "device/SettingsBlock.h"
#include "device/TimetableYears.h"
#include "device/YearBlock.h"

#include <exception>
#include <optional>
#include <span>
#include <vector>

struct LocationSelection;

// A block of device memory as one block-write frame carries it.
constexpr int BlockBytes = static_cast<int>(frame::BlockDataSize); // 0x80
using BlockData = std::span<const std::uint8_t, frame::BlockDataSize>;

// Device memory written by one upload, as addressed by the block-write frame: the settings at
// 0x0000, ten years of timetables from 0x0080, one year after the other, and the key table from
// 0x9180, where the timetables end.
constexpr int SettingsAddress = 0x0000;
constexpr int TimetableAddress = 0x0080;
constexpr int KeyTableAddress = 0x9180;
constexpr int YearBlockCount = static_cast<int>(std::tuple_size_v<YearBlock>) / BlockBytes; // 29
constexpr int KeyBlockCount = static_cast<int>(std::tuple_size_v<KeyTable>) / BlockBytes;   // 25
constexpr int UploadBlockCount = 1 + TimetableYearCount * YearBlockCount + KeyBlockCount;   // 316
static_assert(std::tuple_size_v<YearBlock> % frame::BlockDataSize == 0 &&
              std::tuple_size_v<KeyTable> % frame::BlockDataSize == 0);
static_assert(TimetableAddress + TimetableYearCount * YearBlockCount * BlockBytes ==
              KeyTableAddress);

// Attempts in a row without a single byte of reply after which the device counts as gone.
constexpr int SilentBlocksLimit = 3;
// Writes of one block until it is given up, when resending is on; and blocks in a row given
// up after all their attempts, after which the run stops as for a device that is gone.
constexpr int BlockAttempts = 3;
constexpr int UnconfirmedBlocksLimit = 3;

// What one upload is made of: the window's fields and the chosen location.
struct UploadInput {
    SettingsFields Fields;
    int CountyIndex = 0;
    int ProvinceIndex = 0;
    GlyphCodeArray GlyphCodes{};
    QString TimetableFolder; // empty while no county has been chosen
    // The county's coordinates, from which the years its folder lacks are computed; none: they
    // cannot be.
    std::optional<CountyPlace> Place;
    QString KeyFilePath;
    bool Resend = true; // false: every block written once, whatever its reply
};

// The input of an upload from the fields and the location chosen with the three boxes, as the
// window and the command line both fill it; the key file is the start folder's (which ends with
// "/").
UploadInput UploadInputOf(const SettingsFields& fields, const LocationSelection& location,
                          const QString& startFolder);

// What an upload sends, read and checked once however many devices a run writes it into.
struct PreparedUpload {
    SettingsBlock Settings{};
    KeyTable Keys{};
    // The timetables from FirstYear on, up to the first year whose file cannot be used (that
    // one included, with its status); none while no county has been chosen. The years the
    // county's folder lacked were computed first, where they could be.
    int FirstYear = 0;
    int CountyIndex = 0;
    CompletedYears Completed;
    std::vector<YearBlockResult> Years;
    QString TimetableFolder;
    bool Resend = true;
    // Why the input cannot be sent (a SettingsError or a UserError). RunUpload throws it only
    // once it has found a device and a county, since those are said first.
    std::exception_ptr InputError;

    // Throws the input error, if there is one.
    void ThrowInputError() const;
};

// Builds the settings block for the current solar year and reads the key table and the
// timetables, the ten years' missing files computed and saved first; a field that does not
// convert or a key file that cannot be read is kept as the input error, and nothing more is read
// or written then.
PreparedUpload PrepareUpload(const UploadInput& input, int solarYear);

// How one block ended: confirmed by a whole, equal echo, or what went wrong with the reply.
enum class BlockOutcome { Confirmed, Differs, ShortReply, WrongHeader, NoReply, NotSent };

// A block that the run did not confirm, and how its last attempt ended.
struct UnconfirmedBlock {
    int Address = 0;
    BlockOutcome Outcome = BlockOutcome::NotSent;
};

struct UploadResult {
    bool Started = false; // false: refused before anything was sent
    int BlocksSent = 0;
    int BlocksConfirmed = 0;
    int YearsWritten = 0;
    int Resends = 0;
    bool DeviceSilent = false; // stopped: the device stopped answering or confirming
    bool LineSilent = false;   // ... answering: nothing came back, the line is lost
    int StopSignal = 0;        // stopped early: the program was asked to stop by this signal
    std::vector<UnconfirmedBlock> Unconfirmed; // in device order, the unsent ones included
    // A year whose file could not be used, and what makes it (timetable-year); the run sent the
    // blocks before it and the key table.
    Problem YearGap;
    bool Complete() const { return BlocksConfirmed == UploadBlockCount; }
    // Cut short by a stop or a lost line: the device holds part of the new configuration, and
    // the same apply again completes it. Stopped before the first block, it holds the old one.
    bool Interrupted() const {
        return !Complete() && BlocksSent > 0 && (StopSignal != 0 || LineSilent);
    }
};

// The device addresses of a complete upload's blocks, in the order they are sent.
std::vector<int> UploadAddresses();

// Judges the device's reply in RxBuffer against the block frame in TxFrame; logs what is
// wrong with it.
BlockOutcome JudgeBlockReply(const CommLink& link, OperationHost& host);

// Writes one block at the address and checks the device's read-back; logs what is wrong. NotSent
// when the program is stopping.
BlockOutcome WriteBlock(CommLink& link, OperationHost& host, int address, BlockData data);

// The whole upload: settings, ten years of timetables from the current solar year, the key
// table; every block read back and compared. The log names the years computed for it, and after
// a year whose file could not be used, what would make it usable. Once the program is asked to
// stop, the block under way is judged but not sent again, and no further block is sent. Without a
// device or a county it says so and sends nothing; then the input error, if any, is thrown before
// anything is sent, with the monitor running and the progress bar hidden again.
UploadResult RunUpload(CommLink& link, OperationHost& host, const PreparedUpload& upload);
