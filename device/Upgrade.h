#pragma once

#include "comm/CommLink.h"
#include "device/OperationHost.h"

#include <QString>
#include <QStringList>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

// An upgrade file: 256 pages of 256 bytes, then a 4096-byte pad that scrambles every 4096-byte
// block of the image. Whatever follows the pad is not part of the upgrade.
constexpr std::size_t FirmwareImageSize = 65536;
constexpr std::size_t FirmwarePadSize = 4096;
constexpr std::size_t FirmwareFileAreaSize = FirmwareImageSize + FirmwarePadSize; // 0x11000
constexpr int FirmwarePageCount = 256;
// Differing echoes in one run after which the device's flash counts as faulty.
constexpr int FlashFaultRetries = 5;

enum class FirmwareFileStatus {
    Read,      // the whole file area is in
    NotOpened, // the file cannot be opened
    Short,     // the file ends before the pad does; it must not be sent
};

struct FirmwareImage {
    FirmwareFileStatus Status = FirmwareFileStatus::NotOpened;
    // The first 69632 bytes of the file (fewer when it is short). ApplyPad turns the first
    // 65536 into the bytes that are sent.
    std::vector<std::uint8_t> FileArea;
    bool PadApplied = false;
    QString Problem; // why the file could not be read, for NotOpened
};

// Reads at most the file area from the start of the file, which must be a regular file.
FirmwareImage ReadFirmwareFile(const QString& path);

// The log line of a file that cannot be used (not opened, or short); empty for a file read whole.
QString FirmwareFileLogText(FirmwareFileStatus status);

// Byte k of the image becomes byte k XOR pad byte k mod 4096, in place; once only.
void ApplyPad(FirmwareImage& image);

// The 256 bytes sent for page p (0-255) once the pad has been applied.
std::span<const std::uint8_t, 256> PageBytes(const FirmwareImage& image, int page);

// The port of the recovery start, taken when no device is connected: a port named by the
// operator, else the port where a device last answered in this run, else COM2 on Windows and the
// first candidate elsewhere; empty when there is none.
QString RecoveryPortName(const CommLink& link, const QStringList& candidates,
                         const QString& overridePort);

// How the replies of the upgrade are judged, from RxBuffer and BytesRead (and TxFrame for the
// echo).
// The running device, or one waiting in its upgrade stage, is in that stage now.
bool StageEntered(const CommLink& link);
// The device erased its program.
bool MemoryErased(const CommLink& link);
// The whole page came back as sent; a short echo never counts.
bool EchoMatches(const CommLink& link);

// The step at which a run stopped early.
enum class UpgradeStep {
    None,
    EnterUpgrade, // the running device did not enter its upgrade stage
    UpgradeHello, // no device answered in its upgrade stage on the recovery port
    EraseMemory,  // the device did not erase its program
    WritePage,    // echoes kept differing: the flash is faulty
    EndUpgrade,   // every page confirmed, but the closing frame did not go out
};

struct UpgradeResult {
    FirmwareFileStatus File = FirmwareFileStatus::NotOpened;
    UpgradeStep RefusedStep = UpgradeStep::None;
    int PagesConfirmed = 0;
    int Retries = 0; // WritePage frames whose echo differed
    bool Completed = false;
    // The connection was lost: the port reported the line lost (cable pulled, device gone), or
    // no attempt at the page where the run stopped got any reply.
    bool LinkLost = false;
    // The device was brought into its upgrade stage and not told to leave it: it waits there,
    // with no program to run, until an upgrade greets it again.
    bool InUpgradeStage = false;
    int StopSignal = 0; // stopped early: the program was asked to stop by this signal
    // Cut short by a stop or a lost line with the device in its upgrade stage: the same upgrade
    // again greets it there and completes it.
    bool Interrupted() const {
        return !Completed && InUpgradeStage && (StopSignal != 0 || LinkLost);
    }
    // Nothing was sent: the file could not be used.
    bool InputError() const { return File != FirmwareFileStatus::Read; }
};

// The upgrade after the file has been chosen: reads the file, brings the device into its
// upgrade stage (EnterUpgrade when Connected, else UpgradeHello on recoveryPort), erases it,
// writes the 256 pages, each until its echo matches, and ends the stage. Once the program is
// asked to stop, no further frame is sent, not even the end of the stage. Every end resumes the
// connection monitor and hides the progress bar. A completed run leaves Connected clear and
// the port closed, so that the monitor finds the device again under its new program.
UpgradeResult RunUpgrade(CommLink& link, OperationHost& host, const QString& firmwarePath,
                         const QString& recoveryPort);
