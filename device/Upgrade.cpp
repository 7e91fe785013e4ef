#include "device/Upgrade.h"

#include "common/TextFiles.h"
#include "device/Priority.h"
#include "device/UpgradeTexts.h"
#include "files/InputFile.h"

#include <QByteArray>
#include <algorithm>
#include <array>

namespace {

using frame::Byte;

constexpr std::array<Byte, 1> ZeroData = {0};
constexpr std::uint32_t StartFrameSize = frame::FrameSize(ZeroData.size()); // 7
constexpr std::size_t HexDumpBytes = 20;

// A run that ends without a port drops its Connected flag: the monitor, running again, would
// poll a port that is not there.
class ConnectionWithoutPortDropped {
public:
    explicit ConnectionWithoutPortDropped(CommLink& link) : link_(link) {}
    ~ConnectionWithoutPortDropped() {
        if (!IsPortOpen(link_)) {
            link_.Connected = false;
        }
    }
    ConnectionWithoutPortDropped(const ConnectionWithoutPortDropped&) = delete;
    ConnectionWithoutPortDropped& operator=(const ConnectionWithoutPortDropped&) = delete;

private:
    CommLink& link_;
};

void LoadFrame(CommLink& link, Byte command, const std::array<Byte, 2>& params,
               std::span<const Byte> data) {
    frame::Compose(link.TxFrame, command, params[0], params[1], data);
}

QString HexDumpText(const CommLink& link) {
    const QByteArray head(reinterpret_cast<const char*>(link.RxBuffer.data()), HexDumpBytes);
    return QString::fromLatin1(head.toHex().toUpper());
}

Transfer SendEndUpgrade(CommLink& link) {
    LoadFrame(link, frame::command::EndUpgrade, frame::UpgradeAccessCode, frame::EndUpgradeData);
    link.WriteCount = static_cast<std::uint32_t>(frame::FrameSize(frame::EndUpgradeData.size()));
    return SendFrame(link);
}

enum class StepOutcome { Accepted, Refused, LinkLost };

// Logs how a start step's reply was judged. A refusal also shows the reply's first bytes and
// takes the device out of its upgrade stage, unless the line is gone and there is neither a
// reply to show nor a device to tell; the line may also be lost in telling it.
StepOutcome Judge(CommLink& link, OperationHost& host, const Transfer& reply, bool accepted,
                  const QString& acceptedLine, const QString& refusedLine) {
    if (accepted) {
        host.AppendLogLine(acceptedLine);
        return StepOutcome::Accepted;
    }
    host.AppendLogLine(refusedLine + ReplyCountSeparator + QString::number(reply.Bytes));
    if (reply.LinkLost()) {
        return StepOutcome::LinkLost;
    }
    host.ShowMessage(HexDumpText(link));
    return SendEndUpgrade(link).LinkLost() ? StepOutcome::LinkLost : StepOutcome::Refused;
}

enum class PageOutcome { Confirmed, FlashFault, LinkLost, Stopped };

// Sends the page until its echo matches or the run's differing echoes reach the flash-fault
// limit. A lost line is no fault of the flash: it ends the page at once. Nor is a device that
// never answered the page: its flash was not heard from, the connection is gone. Once the
// program is asked to stop the page is not sent again.
PageOutcome SendPage(CommLink& link, OperationHost& host, const FirmwareImage& image, int page,
                     int& retries) {
    bool answered = false; // some attempt at this page got a reply
    for (;;) {
        frame::Compose(link.TxFrame, frame::command::WritePage, static_cast<Byte>(page),
                       static_cast<Byte>(retries & 0xFF), PageBytes(image, page));
        const Transfer echo = Exchange(link, frame::PageFrameSize, frame::PageFrameSize);
        if (EchoMatches(link)) {
            return PageOutcome::Confirmed;
        }
        if (echo.Stopped()) {
            return PageOutcome::Stopped;
        }
        if (echo.LinkLost()) {
            return PageOutcome::LinkLost;
        }
        answered = answered || echo.Bytes > 0;
        ++retries;
        if (retries >= FlashFaultRetries) {
            if (!answered) {
                return PageOutcome::LinkLost;
            }
            host.AppendLogLine(FlashFaultText);
            return PageOutcome::FlashFault;
        }
        if (StopSignalOf(link) != 0) {
            return PageOutcome::Stopped;
        }
        host.AppendLogLine(PageNotConfirmedText + QString::number(page) + PageResentText +
                           QString::number(echo.Bytes));
    }
}

// A lost line also gives up the port, which is gone; the monitor then searches afresh.
UpgradeResult EndFailed(CommLink& link, OperationHost& host, UpgradeResult result) {
    if (result.LinkLost) {
        link.Connected = false;
        ClosePort(link);
    }
    host.AppendLogLine(UpgradeIncompleteText +
                       QString::number(FirmwarePageCount - result.PagesConfirmed));
    host.SetStatusText(result.LinkLost ? LinkLostStatusText : FailedStatusText);
    return result;
}

// A step of the stage's start: its frame, how its reply is judged, its two log lines and the
// step that a refusal stops at.
struct StartStep {
    Byte Command;
    std::array<Byte, 2> Params;
    bool (*Accepted)(const CommLink& link);
    QString AcceptedLine;
    QString RefusedLine;
    UpgradeStep Step;
};

// Sends the step's frame and judges the reply; a refusal is recorded in result.
bool TakeStartStep(CommLink& link, OperationHost& host, const StartStep& step,
                   UpgradeResult& result) {
    LoadFrame(link, step.Command, step.Params, ZeroData);
    const Transfer reply = Exchange(link, StartFrameSize, frame::UpgradeReplySize);
    if (reply.Stopped()) {
        result.RefusedStep = step.Step; // not sent: the program is stopping
        return false;
    }
    const StepOutcome outcome =
        Judge(link, host, reply, step.Accepted(link), step.AcceptedLine, step.RefusedLine);
    if (outcome == StepOutcome::Accepted) {
        result.InUpgradeStage = true;
        return true;
    }
    result.RefusedStep = step.Step;
    result.LinkLost = outcome == StepOutcome::LinkLost;
    // A refusal told the device to leave its stage, unless the line was lost.
    result.InUpgradeStage = result.InUpgradeStage && result.LinkLost;
    return false;
}

// Brings the device into its upgrade stage. A device that is not known to be connected may be
// waiting there after an interrupted upgrade; it answers only the hello, and only on its own
// port.
bool EnterStage(CommLink& link, OperationHost& host, const QString& recoveryPort,
                UpgradeResult& result) {
    if (link.Connected) {
        return TakeStartStep(link, host,
                             {frame::command::EnterUpgrade, frame::UpgradeAccessCode, StageEntered,
                              EnteredUpgradeText, NotEnteredUpgradeText, UpgradeStep::EnterUpgrade},
                             result);
    }
    ClosePort(link);
    OpenPort(link, recoveryPort, DeviceBaudRate);
    link.Connected = true;
    if (TakeStartStep(link, host,
                      {frame::command::Probe, frame::StageAccessCode, StageEntered,
                       ConnectionEstablishedText, NoConnectionText, UpgradeStep::UpgradeHello},
                      result)) {
        return true;
    }
    // Nothing answered on the recovery port: with the monitor running again, a link still
    // marked connected would show a device that is not there.
    ClosePort(link);
    link.Connected = false;
    return false;
}

bool EraseProgram(CommLink& link, OperationHost& host, UpgradeResult& result) {
    return TakeStartStep(link, host,
                         {frame::command::EraseMemory, frame::StageAccessCode, MemoryErased,
                          MemoryResetText, MemoryNotResetText, UpgradeStep::EraseMemory},
                         result);
}

// Where the run stands after a page, in the status line and the bar, painted at once.
void ShowPage(OperationHost& host, int page, int retries) {
    host.SetStatusText(PageStatusText + QString::number(page) + RetryStatusText +
                       QString::number(retries));
    host.SetProgressPosition(page);
    host.SetProgressVisible(true);
    host.RepaintNow();
}

// Writes the pages in order, at a raised priority, until one is not confirmed.
void WritePages(CommLink& link, OperationHost& host, FirmwareImage& image, UpgradeResult& result) {
    const RaisedPriority priority;
    ApplyPad(image);
    host.SetProgressPosition(0);
    host.SetProgressRange(FirmwarePageCount - 1);
    host.SetProgressVisible(true);
    for (int page = 0; page < FirmwarePageCount; ++page) {
        const PageOutcome outcome = SendPage(link, host, image, page, result.Retries);
        const bool confirmed = outcome == PageOutcome::Confirmed;
        result.PagesConfirmed += confirmed ? 1 : 0;
        ShowPage(host, page, result.Retries);
        if (!confirmed || (StopSignalOf(link) != 0 && page + 1 < FirmwarePageCount)) {
            result.RefusedStep = UpgradeStep::WritePage;
            result.LinkLost = outcome == PageOutcome::LinkLost;
            return;
        }
    }
}

// Tells the device that its program is whole, unless the line is gone, and lets it go: it
// restarts from here, and the monitor has to find it afresh.
UpgradeResult EndStage(CommLink& link, OperationHost& host, UpgradeResult result) {
    const Transfer ended = result.LinkLost ? Transfer{} : SendEndUpgrade(link);
    const bool endWhole = !result.LinkLost && ended.Bytes == link.WriteCount;
    result.InUpgradeStage = result.InUpgradeStage && !endWhole;
    link.Connected = false;
    ClosePort(link);
    // A device never told that its program is whole has not been upgraded, whatever it confirmed.
    if (result.RefusedStep == UpgradeStep::None && !endWhole) {
        result.RefusedStep = UpgradeStep::EndUpgrade;
    }
    if (result.RefusedStep != UpgradeStep::None) {
        result.LinkLost = result.LinkLost || ended.LinkLost();
        return EndFailed(link, host, result);
    }
    result.Completed = true;
    host.SetStatusText(FinishedStatusText);
    return result;
}

} // namespace

bool StageEntered(const CommLink& link) {
    return ReplyMatches(link, frame::command::Probe) &&
           link.RxBuffer[frame::ParamHighAt] == frame::UpgradeStageMark[0] &&
           link.RxBuffer[frame::ParamLowAt] == frame::UpgradeStageMark[1];
}

bool MemoryErased(const CommLink& link) {
    return ReplyMatches(link, frame::command::EraseMemory) &&
           link.RxBuffer[frame::ParamHighAt] == frame::EraseDoneMark;
}

bool EchoMatches(const CommLink& link) {
    const auto from = static_cast<std::ptrdiff_t>(frame::DataAt);
    const auto to = static_cast<std::ptrdiff_t>(frame::PageFrameSize);
    return link.BytesRead == frame::PageFrameSize &&
           std::equal(link.RxBuffer.begin() + from, link.RxBuffer.begin() + to,
                      link.TxFrame.begin() + from);
}

FirmwareImage ReadFirmwareFile(const QString& path) {
    FirmwareImage image;
    try {
        // Only a regular file: a FIFO or a device could block the run or never end.
        files::InputFile file(FilePath(path));
        image.FileArea.resize(FirmwareFileAreaSize);
        const std::size_t got =
            file.Read(reinterpret_cast<char*>(image.FileArea.data()), image.FileArea.size());
        image.FileArea.resize(got);
    } catch (const files::FileError& error) {
        image.FileArea.clear();
        image.Problem = ReadErrorText(error, path);
        return image;
    }
    image.Status = image.FileArea.size() == FirmwareFileAreaSize ? FirmwareFileStatus::Read
                                                                 : FirmwareFileStatus::Short;
    return image;
}

QString FirmwareFileLogText(FirmwareFileStatus status) {
    switch (status) {
    case FirmwareFileStatus::NotOpened:
        return FirmwareFileNotOpenedText;
    case FirmwareFileStatus::Short:
        return FirmwareFileShortText;
    case FirmwareFileStatus::Read:
        break;
    }
    return {};
}

void ApplyPad(FirmwareImage& image) {
    if (image.PadApplied || image.FileArea.size() != FirmwareFileAreaSize) {
        return;
    }
    const auto pad = image.FileArea.begin() + FirmwareImageSize;
    for (std::size_t k = 0; k < FirmwareImageSize; ++k) {
        image.FileArea[k] ^= pad[static_cast<std::ptrdiff_t>(k % FirmwarePadSize)];
    }
    image.PadApplied = true;
}

std::span<const std::uint8_t, 256> PageBytes(const FirmwareImage& image, int page) {
    return std::span<const std::uint8_t, 256>(
        image.FileArea.data() + static_cast<std::size_t>(page) * frame::PageDataSize,
        frame::PageDataSize);
}

UpgradeResult RunUpgrade(CommLink& link, OperationHost& host, const QString& firmwarePath,
                         const QString& recoveryPort) {
    UpgradeResult result;
    OperationScope scope(host);
    scope.PauseMonitor();
    const ConnectionWithoutPortDropped dropped(link); // runs before the monitor resumes

    FirmwareImage image = ReadFirmwareFile(firmwarePath);
    result.File = image.Status;
    if (image.Status != FirmwareFileStatus::Read) {
        host.AppendLogLine(FirmwareFileLogText(image.Status));
        return result;
    }
    host.ClearLog();
    UpgradeResult ended;
    if (!EnterStage(link, host, recoveryPort, result) || !EraseProgram(link, host, result)) {
        ended = EndFailed(link, host, result);
    } else {
        WritePages(link, host, image, result);
        ended = EndStage(link, host, result);
    }
    ended.StopSignal = ended.Completed ? 0 : StopSignalOf(link);
    return ended;
}
