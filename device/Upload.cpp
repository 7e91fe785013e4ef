#include "device/Upload.h"

#include "device/DeviceTexts.h"
#include "device/UpgradeTexts.h"

#include <algorithm>

namespace {

template <std::size_t N> BlockData BlockOf(const std::array<std::uint8_t, N>& image, int index) {
    return BlockData(image.data() + static_cast<std::size_t>(index) * frame::BlockDataSize,
                     frame::BlockDataSize);
}

// Block b of the year that lies j years after the first.
int TimetableBlockAddress(int j, int b) {
    return TimetableAddress + (j * YearBlockCount + b) * BlockBytes;
}

int KeyBlockAddress(int i) {
    return KeyTableAddress + i * BlockBytes;
}

// What the run keeps from one block to the next.
struct BlockRun {
    bool Resend = true;
    int SilentInARow = 0;
    int UnconfirmedInARow = 0;
    std::vector<int> Sent; // addresses, in increasing order as they are sent
};

// Sends one block, again while it is not confirmed and resending is on, and counts it; false
// once the device has stopped answering or confirming altogether.
bool SendBlock(CommLink& link, OperationHost& host, BlockRun& run, UploadResult& result,
               int address, BlockData data) {
    BlockOutcome outcome = BlockOutcome::NotSent;
    for (int attempt = 1;; ++attempt) {
        outcome = WriteBlock(link, host, address, data);
        run.SilentInARow = outcome == BlockOutcome::NoReply ? run.SilentInARow + 1 : 0;
        if (outcome == BlockOutcome::Confirmed || !run.Resend || attempt == BlockAttempts ||
            run.SilentInARow >= SilentBlocksLimit) {
            break;
        }
        ++result.Resends;
        host.AppendLogLine(BlockNotConfirmedText + BlockAddressText(address) + PageResentText);
    }
    ++result.BlocksSent;
    run.Sent.push_back(address);
    if (outcome == BlockOutcome::Confirmed) {
        ++result.BlocksConfirmed;
        run.UnconfirmedInARow = 0;
    } else {
        result.Unconfirmed.push_back({address, outcome});
        ++run.UnconfirmedInARow;
    }
    host.SetProgressPosition(result.BlocksSent);
    host.SetProgressVisible(true);
    host.RepaintNow();
    // Written once each, blocks go on to the end as long as the device answers at all.
    const bool givingUp = run.Resend && run.UnconfirmedInARow >= UnconfirmedBlocksLimit;
    if (run.SilentInARow >= SilentBlocksLimit || givingUp) {
        result.DeviceSilent = true;
        host.AppendLogLine(DeviceSilentText);
        return false;
    }
    return true;
}

} // namespace

std::vector<int> UploadAddresses() {
    std::vector<int> addresses = {SettingsAddress};
    for (int j = 0; j < TimetableYearCount; ++j) {
        for (int b = 0; b < YearBlockCount; ++b) {
            addresses.push_back(TimetableBlockAddress(j, b));
        }
    }
    for (int i = 0; i < KeyBlockCount; ++i) {
        addresses.push_back(KeyBlockAddress(i));
    }
    return addresses;
}

BlockOutcome JudgeBlockReply(const CommLink& link, OperationHost& host) {
    const bool whole = link.BytesRead == frame::BlockFrameSize;
    if (!whole) {
        host.AppendLogLine(ReceiveErrorText);
    }
    const bool headerRight = std::equal(frame::BlockReplyHeader.begin(),
                                        frame::BlockReplyHeader.end(), link.RxBuffer.begin());
    if (!headerRight) {
        if (link.BytesRead == 0) {
            return BlockOutcome::NoReply;
        }
        return whole ? BlockOutcome::WrongHeader : BlockOutcome::ShortReply;
    }
    int differing = 0;
    for (std::size_t k = frame::DataAt; k < frame::BlockFrameSize; ++k) {
        differing += link.RxBuffer[k] != link.TxFrame[k] ? 1 : 0;
    }
    if (differing != 0) {
        host.AppendLogLine(NotChangedCountText + QString::number(differing));
    }
    if (!whole) {
        return BlockOutcome::ShortReply;
    }
    return differing == 0 ? BlockOutcome::Confirmed : BlockOutcome::Differs;
}

BlockOutcome WriteBlock(CommLink& link, OperationHost& host, int address, BlockData data) {
    frame::Compose(link.TxFrame, frame::command::BlockWrite,
                   static_cast<std::uint8_t>((address >> 8) & 0xFF),
                   static_cast<std::uint8_t>(address & 0xFF), data);
    Exchange(link, frame::BlockFrameSize, frame::BlockFrameSize);
    return JudgeBlockReply(link, host);
}

UploadResult RunUpload(CommLink& link, const CalendarClock& clock, OperationHost& host,
                       const UploadInput& input) {
    UploadResult result;
    host.SetProgressPosition(0);
    host.SetProgressRange(UploadBlockCount);
    host.SetProgressVisible(true);
    OperationScope scope(host);
    if (!link.Connected) {
        host.ShowMessage(ConnectDeviceText);
        return result;
    }
    if (input.TimetableFolder.isEmpty()) {
        // Without a county the timetables would be looked for in the working directory.
        host.ShowMessage(ChooseCountyText);
        return result;
    }
    // Every input is read before the first frame, so that an input error sends nothing.
    const SettingsBlock settings = BuildSettingsBlock(
        input.Fields, input.CountyIndex, input.ProvinceIndex, input.GlyphCodes, clock.SolarYear);
    const KeyTable keys = LoadKeyTable(input.KeyFilePath);

    scope.PauseMonitor();
    result.Started = true;
    std::fill_n(link.TxFrame.begin(), frame::ClearedAtStart, 0);
    std::fill_n(link.RxBuffer.begin(), frame::ClearedAtStart, 0);

    BlockRun run;
    run.Resend = input.Resend;
    bool going = SendBlock(link, host, run, result, SettingsAddress, BlockData(settings));
    for (int j = 0; going && j < TimetableYearCount; ++j) {
        const int year = clock.SolarYear + j;
        const YearBlockResult loaded = LoadYearBlock(input.TimetableFolder, year);
        if (loaded.Status != YearFileStatus::Loaded) {
            host.AppendLogLine(YearFileProblemText(loaded.Status, year));
            break;
        }
        for (int b = 0; going && b < YearBlockCount; ++b) {
            going = SendBlock(link, host, run, result, TimetableBlockAddress(j, b),
                              BlockOf(loaded.Block, b));
        }
        result.YearsWritten += going ? 1 : 0;
    }
    for (int i = 0; going && i < KeyBlockCount; ++i) {
        going = SendBlock(link, host, run, result, KeyBlockAddress(i), BlockOf(keys, i));
    }

    // A missing year leaves a gap before the key table, a stop everything after it.
    for (const int address : UploadAddresses()) {
        if (!std::binary_search(run.Sent.begin(), run.Sent.end(), address)) {
            result.Unconfirmed.push_back({address, BlockOutcome::NotSent});
        }
    }
    std::sort(
        result.Unconfirmed.begin(), result.Unconfirmed.end(),
        [](const UnconfirmedBlock& a, const UnconfirmedBlock& b) { return a.Address < b.Address; });
    if (result.Complete()) {
        host.AppendLogLine(AppliedText);
    } else {
        host.AppendLogLine(NotFullyAppliedText +
                           QString::number(UploadBlockCount - result.BlocksConfirmed));
    }
    return result;
}
