#include "device/Upload.h"

#include "device/DeviceTexts.h"
#include "device/UpgradeTexts.h"

#include <algorithm>

namespace {

template <std::size_t N>
std::span<const std::uint8_t, 128> BlockOf(const std::array<std::uint8_t, N>& image, int index) {
    return std::span<const std::uint8_t, 128>(image.data() + static_cast<std::size_t>(index) * 128,
                                              128);
}

} // namespace

std::vector<int> UploadAddresses() {
    std::vector<int> addresses = {SettingsAddress};
    for (int b = 0; b < TimetableYearCount * YearBlockCount; ++b) {
        addresses.push_back(TimetableAddress + b * 128);
    }
    for (int i = 0; i < KeyBlockCount; ++i) {
        addresses.push_back(KeyTableAddress + i * 128);
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

BlockOutcome WriteBlock(CommLink& link, OperationHost& host, int address,
                        std::span<const std::uint8_t, 128> data) {
    frame::Compose(link.TxFrame, frame::command::BlockWrite,
                   static_cast<std::uint8_t>((address >> 8) & 0xFF),
                   static_cast<std::uint8_t>(address & 0xFF), data);
    link.WriteCount = frame::BlockFrameSize;
    link.ReadCount = frame::BlockFrameSize;
    SendFrame(link);
    ReceiveReply(link);
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
    std::fill_n(link.TxFrame.begin(), 140, 0);
    std::fill_n(link.RxBuffer.begin(), 140, 0);

    int silentInARow = 0;
    int unconfirmedInARow = 0;
    std::vector<int> sent; // addresses, in increasing order as they are sent
    // Sends one block, again while it is not confirmed and resending is on; false once the
    // device has stopped answering or confirming altogether.
    auto send = [&](int address, std::span<const std::uint8_t, 128> data) {
        BlockOutcome outcome = BlockOutcome::NotSent;
        for (int attempt = 1;; ++attempt) {
            outcome = WriteBlock(link, host, address, data);
            silentInARow = link.BytesRead == 0 ? silentInARow + 1 : 0;
            if (outcome == BlockOutcome::Confirmed || !input.Resend || attempt == BlockAttempts ||
                silentInARow >= SilentBlocksLimit) {
                break;
            }
            ++result.Resends;
            host.AppendLogLine(BlockNotConfirmedText + QString::number(address) + PageResentText);
        }
        ++result.BlocksSent;
        sent.push_back(address);
        if (outcome == BlockOutcome::Confirmed) {
            ++result.BlocksConfirmed;
            unconfirmedInARow = 0;
        } else {
            result.Unconfirmed.push_back({address, outcome});
            ++unconfirmedInARow;
        }
        host.SetProgressPosition(result.BlocksSent);
        host.SetProgressVisible(true);
        host.RepaintNow();
        // Written once each, blocks go on to the end as long as the device answers at all.
        const bool givingUp = input.Resend && unconfirmedInARow >= UnconfirmedBlocksLimit;
        if (silentInARow >= SilentBlocksLimit || givingUp) {
            result.DeviceSilent = true;
            host.AppendLogLine(DeviceSilentText);
            return false;
        }
        return true;
    };

    bool going = send(SettingsAddress, std::span<const std::uint8_t, 128>(settings));
    for (int j = 0; going && j < TimetableYearCount; ++j) {
        const int year = clock.SolarYear + j;
        const YearBlockResult loaded = LoadYearBlock(input.TimetableFolder, year);
        if (loaded.Status != YearFileStatus::Loaded) {
            const QString& text =
                loaded.Status == YearFileStatus::Short ? YearFileShortText : YearFileNotFoundText;
            host.AppendLogLine(text + QString::number(year));
            break;
        }
        const int base = TimetableAddress + j * YearBlockCount * 128;
        for (int b = 0; going && b < YearBlockCount; ++b) {
            going = send(base + b * 128, BlockOf(loaded.Block, b));
        }
        result.YearsWritten += going ? 1 : 0;
    }
    for (int i = 0; going && i < KeyBlockCount; ++i) {
        going = send(KeyTableAddress + i * 128, BlockOf(keys, i));
    }

    // A missing year leaves a gap before the key table, a stop everything after it.
    for (const int address : UploadAddresses()) {
        if (!std::binary_search(sent.begin(), sent.end(), address)) {
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
