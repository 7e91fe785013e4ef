// The commands that serve devices: their search, clock, settings and firmware.
#include "common/StandardStreams.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
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
    if (const Problem zone = ZoneProblem(CheckPcZone(std::time(nullptr))); !zone.IsEmpty()) {
        console.Say(zone);
    }
    return ServeDevices(global, console, [](DeviceContext& device) {
        const bool sent = SetDeviceClock(device.Link, device.Clock);
        if (const int signal = StopSignalOf(device.Link); !sent && signal != 0) {
            const Problem stopped = Stopped(signal, QStringLiteral("clock-not-set"));
            DeviceOutcome outcome =
                ResultOutcome(exitcode::Failed, ProblemText(stopped, CommandLineWording()), true);
            outcome.Reported = stopped;
            return outcome;
        }
        return ResultOutcome(sent ? exitcode::Ok : exitcode::Failed,
                             ClockSetText(device.Clock, sent), !sent);
    });
}

int RunReadSettings(const QCommandLineParser& parser, const GlobalOptions& global) {
    const bool profileOut = parser.isSet(QStringLiteral("profile-out"));
    if (profileOut && global.ManyDevices()) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("profile-out-many")));
    }
    const QString path = parser.value(QStringLiteral("profile-out"));
    if (profileOut && global.Json && path == QStringLiteral("-")) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("profile-out-json")));
    }
    // Standard output then holds the profile alone, so that it can be saved as it stands.
    const bool profileToOutput = profileOut && path == QStringLiteral("-");
    DeviceRunOptions options;
    options.ReportToError = profileToOutput;
    std::optional<StoredSettings> kept; // for the profile, of the one device
    // A stop's log line, too, keeps off standard output while the profile goes there.
    Console console(
        QString(), StandardErrorIsTerminal(),
        {.Quiet = global.Quiet, .Report = global.Json, .OutputToError = profileToOutput});
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
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("upgrade-arguments")));
    }
    const QString logPath = StartFolderPath(global) + QStringLiteral("log.txt");
    Console console = CommandConsole(global, logPath);
    const FirmwareImage image = ReadFirmwareFile(files[0]);
    if (image.Status != FirmwareFileStatus::Read) {
        // The log gets the window's line; the terminal also gets the problem with its reason.
        const CalendarClock now = ClockNow();
        console.LogLine(console.AddRow({}), QString::fromLatin1(now.DateText.data()),
                        FirmwareFileLogText(image.Status));
        return RefuseCommand(global, image.Refusal);
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
            DeviceOutcome outcome =
                ResultOutcome(UpgradeExitStatus(result), UpgradeResultText(result));
            if (result.Interrupted()) {
                outcome.Reported = UpgradeStageLeft(result.PagesConfirmed);
                device.Host.AppendProblemLine(outcome.Reported);
            }
            outcome.Facts = UpgradeJson(result);
            return outcome;
        },
        options);
}
