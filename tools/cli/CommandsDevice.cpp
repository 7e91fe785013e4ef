// The commands that serve devices: their search, clock, settings and firmware.
#include "common/StandardStreams.h"
#include "common/TextFiles.h"
#include "device/ClockCommands.h"
#include "device/Profile.h"
#include "device/ReadBack.h"
#include "device/Upgrade.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Results.h"

#include <cstdio>
#include <ctime>
#include <optional>

namespace {

// The settings a device holds, one "name: value" a line; the county's names beside its index
// when the start folder's database has it.
QString StoredSettingsText(const StoredSettings& stored, const QString& folder) {
    QStringList lines = {QStringLiteral("province: %1").arg(stored.ProvinceIndex)};
    QStringList years;
    for (const int year : stored.TimetableYears) {
        years.append(QString::number(year));
    }
    lines.append(QStringLiteral("timetable_years: %1").arg(years.join(u' ')));
    lines.append(QStringLiteral("display_glyphs: %1").arg(DisplayGlyphsText(stored)));
    for (ProfileEntry& entry : ProfileEntries(stored.Fields, stored.CountyIndex)) {
        if (entry.Section == QStringLiteral("location") && entry.Key == QStringLiteral("county")) {
            entry.Value += CountyNamesSuffix(folder, stored.CountyIndex);
        }
        lines.append(QStringLiteral("%1.%2: %3").arg(entry.Section, entry.Key, entry.Value));
    }
    return lines.join(u'\n');
}

QString SettingsNotWholeText(std::uint32_t received) {
    return QStringLiteral("the device did not send its settings whole (%1 of %2 bytes)")
        .arg(received)
        .arg(frame::BlockFrameSize);
}

const QString NoSettingsText =
    QStringLiteral("the device holds no settings: its settings block is erased (all 0xFF), as "
                   "on a device never configured; write them with 'muezzin-cli apply'");

int UpgradeExitStatus(const UpgradeResult& result) {
    if (result.InputError()) {
        return exitcode::InputError;
    }
    return result.Completed ? exitcode::Ok : exitcode::Failed;
}

} // namespace

int RunFind(const QCommandLineParser&, const GlobalOptions& global) {
    Console console = CommandConsole(global);
    return ServeDevices(global, console, [](DeviceContext& device) {
        // Alone, its port and the version text as the device sent it.
        const CommLink& link = device.Link;
        return DeviceOutcome{.Status = exitcode::Ok,
                             .Result = QStringLiteral("device answered"),
                             .Alone = link.PortName.toUtf8() + ' ' +
                                      QByteArray::fromStdString(link.VersionText)};
    });
}

int RunSetClock(const QCommandLineParser&, const GlobalOptions& global) {
    Console console = CommandConsole(global);
    // The PC's wall clock may be right in a wrong zone: the clock is set all the same.
    if (const QString zone = ZoneProblemText(CheckPcZone(std::time(nullptr))); !zone.isEmpty()) {
        console.Error(ToolMessage(zone));
    }
    return ServeDevices(global, console, [](DeviceContext& device) {
        const bool sent = SetDeviceClock(device.Link, device.Clock);
        if (!sent && StopSignalOf(device.Link) != 0) {
            return ResultOutcome(exitcode::Failed, ClockNotSetStoppedText(), true);
        }
        return ResultOutcome(sent ? exitcode::Ok : exitcode::Failed,
                             ClockSetText(device.Clock, sent), !sent);
    });
}

int RunReadSettings(const QCommandLineParser& parser, const GlobalOptions& global) {
    const bool profileOut = parser.isSet(QStringLiteral("profile-out"));
    if (profileOut && global.ManyDevices()) {
        return RefuseCommand(
            global, QStringLiteral("--profile-out writes one device's settings: name one port"));
    }
    const QString path = parser.value(QStringLiteral("profile-out"));
    if (profileOut && global.Json && path == QStringLiteral("-")) {
        return RefuseCommand(global,
                             QStringLiteral("--profile-out - and --format json both want standard "
                                            "output: name a FILE for the profile"));
    }
    // Standard output then holds the profile alone, so that it can be saved as it stands.
    const bool profileToOutput = profileOut && path == QStringLiteral("-");
    DeviceRunOptions options;
    options.ReportToError = profileToOutput;
    std::optional<StoredSettings> kept; // for the profile, of the one device
    // A stop's log line, too, keeps off standard output while the profile goes there.
    Console console(QString(), StandardErrorIsTerminal(),
                    {.Quiet = global.Quiet, .OutputToError = global.Json || profileToOutput});
    const int status = ServeDevices(
        global, console,
        [&](DeviceContext& device) {
            const std::optional<SettingsBlock> block = ReadStoredSettings(device.Link);
            if (!block) {
                return ResultOutcome(exitcode::Failed, SettingsNotWholeText(device.Link.BytesRead),
                                     true);
            }
            if (HoldsNoSettings(*block)) {
                return ResultOutcome(exitcode::Failed, NoSettingsText, true);
            }
            const StoredSettings stored = DecodeSettingsBlock(*block);
            if (profileOut) {
                kept = stored;
            }
            return DeviceOutcome{.Status = exitcode::Ok,
                                 .Result = QStringLiteral("settings read"),
                                 .Report = StoredSettingsText(stored, StartFolderPath(global)),
                                 .Facts = SettingsJson(stored)};
        },
        options);
    if (kept) {
        const QByteArray profile = ProfileText(kept->Fields, kept->CountyIndex).toUtf8();
        if (profileToOutput) {
            std::fwrite(profile.constData(), 1, static_cast<std::size_t>(profile.size()), stdout);
        } else {
            SaveBytes(path, profile);
        }
    }
    return status;
}

int RunUpgradeCommand(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        return RefuseCommand(global, QStringLiteral("upgrade takes one FILE.fmw"));
    }
    const QString logPath = StartFolderPath(global) + QStringLiteral("log.txt");
    Console console = CommandConsole(global, logPath);
    const FirmwareImage image = ReadFirmwareFile(files[0]);
    if (image.Status != FirmwareFileStatus::Read) {
        // The log gets the window's line; the terminal also gets the reason in English.
        const CalendarClock now = ClockNow();
        console.LogLine(console.AddRow({}), QString::fromLatin1(now.DateText.data()),
                        FirmwareFileLogText(image.Status));
        const QString reason = image.Status == FirmwareFileStatus::Short
                                   ? QStringLiteral("%1 holds %2 bytes: an upgrade file holds at "
                                                    "least %3")
                                         .arg(files[0])
                                         .arg(image.FileArea.size())
                                         .arg(FirmwareFileAreaSize)
                                   : image.Problem;
        return RefuseCommand(global, reason);
    }
    // A running device is entered; where nothing answers, a device waiting in its upgrade stage
    // may be, and is greeted there (unless only answering devices take part).
    DeviceRunOptions options;
    options.RunWithoutDevice = !global.AllPorts;
    options.CountFromZero = true;
    return ServeDevices(
        global, console,
        [&](DeviceContext& device) {
            const UpgradeResult result =
                RunUpgrade(device.Link, device.Host, files[0], device.Port);
            if (result.Interrupted()) {
                device.Host.AppendLogLine(u' ' + UpgradeStageLeftText(result.PagesConfirmed));
            }
            DeviceOutcome outcome =
                ResultOutcome(UpgradeExitStatus(result), UpgradeResultText(result));
            outcome.Facts = UpgradeJson(result);
            return outcome;
        },
        options);
}
