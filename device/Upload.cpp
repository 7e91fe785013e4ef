#include "device/Upload.h"

#include "device/DeviceTexts.h"
#include "device/UpgradeTexts.h"
#include "location/LocationSelection.h"

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
// once the device has stopped answering or confirming altogether, or the program is stopping.
bool SendBlock(CommLink& link, OperationHost& host, BlockRun& run, UploadResult& result,
               int address, BlockData data) {
    BlockOutcome outcome = BlockOutcome::NotSent;
    for (int attempt = 1;; ++attempt) {
        const BlockOutcome tried = WriteBlock(link, host, address, data);
        if (tried == BlockOutcome::NotSent) {
            break; // the program is stopping: this attempt never left
        }
        outcome = tried;
        run.SilentInARow = outcome == BlockOutcome::NoReply ? run.SilentInARow + 1 : 0;
        if (outcome == BlockOutcome::Confirmed || !run.Resend || attempt == BlockAttempts ||
            run.SilentInARow >= SilentBlocksLimit || StopSignalOf(link) != 0) {
            break;
        }
        ++result.Resends;
        host.AppendLogLine(BlockNotConfirmedText + BlockAddressText(address) + PageResentText);
    }
    if (outcome != BlockOutcome::NotSent) {
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
    }
    // Written once each, blocks go on to the end as long as the device answers at all.
    const bool givingUp = run.Resend && run.UnconfirmedInARow >= UnconfirmedBlocksLimit;
    if (run.SilentInARow >= SilentBlocksLimit || givingUp) {
        result.DeviceSilent = true;
        result.LineSilent = run.SilentInARow >= SilentBlocksLimit;
        host.AppendLogLine(DeviceSilentText);
        return false;
    }
    return StopSignalOf(link) == 0;
}

} // namespace

UploadInput UploadInputOf(const SettingsFields& fields, const LocationSelection& location,
                          const QString& startFolder) {
    UploadInput input;
    input.Fields = fields;
    input.CountyIndex = location.CountyIndex;
    input.ProvinceIndex = location.ProvinceIndex;
    input.GlyphCodes = location.GlyphCodes;
    input.TimetableFolder = location.TimetableFolder;
    if (!location.TimetableFolder.isEmpty()) {
        input.Place = CountyPlace{location.Latitude, location.Longitude};
    }
    input.KeyFilePath = startFolder + KeyFileName;
    return input;
}

void PreparedUpload::ThrowInputError() const {
    if (InputError) {
        std::rethrow_exception(InputError);
    }
}

PreparedUpload PrepareUpload(const UploadInput& input, int solarYear) {
    PreparedUpload upload;
    upload.FirstYear = solarYear;
    upload.CountyIndex = input.CountyIndex;
    upload.TimetableFolder = input.TimetableFolder;
    upload.Resend = input.Resend;
    try {
        upload.Settings = BuildSettingsBlock(input.Fields, input.CountyIndex, input.ProvinceIndex,
                                             input.GlyphCodes, solarYear);
        upload.Keys = LoadKeyTable(input.KeyFilePath);
    } catch (const UserError&) {
        upload.InputError = std::current_exception();
        return upload;
    }
    // Without a county the timetables would be looked for in the working directory.
    if (!input.TimetableFolder.isEmpty()) {
        upload.Completed = CompleteTimetableYears(input.TimetableFolder, solarYear,
                                                  TimetableYearCount, input.Place);
    }
    for (int j = 0; !input.TimetableFolder.isEmpty() && j < TimetableYearCount; ++j) {
        upload.Years.push_back(LoadYearBlock(input.TimetableFolder, solarYear + j));
        if (upload.Years.back().Status != YearFileStatus::Loaded) {
            break;
        }
    }
    return upload;
}

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
    if (Exchange(link, frame::BlockFrameSize, frame::BlockFrameSize).Stopped()) {
        return BlockOutcome::NotSent;
    }
    return JudgeBlockReply(link, host);
}

UploadResult RunUpload(CommLink& link, OperationHost& host, const PreparedUpload& upload) {
    UploadResult result;
    host.SetProgressPosition(0);
    host.SetProgressRange(UploadBlockCount);
    host.SetProgressVisible(true);
    OperationScope scope(host);
    if (!link.Connected) {
        host.ShowMessage(ConnectDeviceText);
        return result;
    }
    if (upload.TimetableFolder.isEmpty()) {
        host.ShowMessage(ChooseCountyText);
        return result;
    }
    // Every input was read before the first frame, so that an input error sends nothing.
    upload.ThrowInputError();

    scope.PauseMonitor();
    result.Started = true;
    std::fill_n(link.TxFrame.begin(), frame::ClearedAtStart, 0);
    std::fill_n(link.RxBuffer.begin(), frame::ClearedAtStart, 0);

    if (!upload.Completed.Computed.empty()) {
        host.AppendLogLine(ComputedYearsText(upload.Completed.Computed, upload.CountyIndex));
    }
    BlockRun run;
    run.Resend = upload.Resend;
    bool going = SendBlock(link, host, run, result, SettingsAddress, BlockData(upload.Settings));
    for (int j = 0; going && j < static_cast<int>(upload.Years.size()); ++j) {
        const YearBlockResult& loaded = upload.Years[static_cast<std::size_t>(j)];
        if (loaded.Status != YearFileStatus::Loaded) {
            const int year = upload.FirstYear + j;
            host.AppendLogLine(YearFileProblemText(loaded.Status, year));
            result.YearGap = YearGapProblem(upload.Completed, year, upload.CountyIndex, loaded.Path,
                                            loaded.Status == YearFileStatus::Missing);
            host.AppendProblemLine(result.YearGap);
            break;
        }
        for (int b = 0; going && b < YearBlockCount; ++b) {
            going = SendBlock(link, host, run, result, TimetableBlockAddress(j, b),
                              BlockOf(loaded.Block, b));
        }
        result.YearsWritten += going ? 1 : 0;
    }
    for (int i = 0; going && i < KeyBlockCount; ++i) {
        going = SendBlock(link, host, run, result, KeyBlockAddress(i), BlockOf(upload.Keys, i));
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
    result.StopSignal = result.Complete() ? 0 : StopSignalOf(link);
    if (result.Complete()) {
        host.AppendLogLine(AppliedText);
    } else {
        host.AppendLogLine(NotFullyAppliedText +
                           QString::number(UploadBlockCount - result.BlocksConfirmed));
    }
    return result;
}
