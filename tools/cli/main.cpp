// muezzin-cli: the device operations from a terminal.
#include "comm/Discovery.h"
#include "comm/Frame.h"
#include "comm/PortIdentity.h"
#include "common/CommandLine.h"
#include "common/ShownText.h"
#include "common/StandardStreams.h"
#include "common/StopSignals.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "device/Profile.h"
#include "device/ReadBack.h"
#include "device/Upgrade.h"
#include "device/Upload.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "location/LocationSelection.h"
#include "location/StartFolder.h"
#include "tools/cli/Console.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Devices.h"
#include "tools/cli/Doctor.h"
#include "tools/cli/Results.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QHash>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

struct GlobalOptions {
    QString Port;          // the first port given; empty: search as the window does
    QStringList Ports;     // every port given
    bool AllPorts = false; // every candidate port where a device answers
    QString Folder;        // the start folder once chosen; before, --folder or nothing

    // Several devices at once: each port given, or each where a device answers.
    bool ManyDevices() const { return AllPorts || Ports.size() > 1; }
};

struct Command {
    QString Summary;
    std::function<void(QCommandLineParser&)> AddOptions;
    std::function<int(const QCommandLineParser&, const GlobalOptions&)> Run;
    bool TakesArguments = false;
    bool UsesStartFolder = false;
    QString Examples{};     // ends the command's help: command lines, each with what it does
    bool DrawsText = false; // needs the fonts, and so a QGuiApplication
};

void PrintError(const QString& text) {
    std::fprintf(stderr, "muezzin-cli: %s\n", qPrintable(text));
}

// The ports of the command's devices: the one given with --port (none: a search), each port
// given, or every candidate port.
QStringList DevicePorts(const GlobalOptions& global) {
    if (!global.ManyDevices()) {
        return {global.Port};
    }
    if (!global.AllPorts) {
        return global.Ports;
    }
    CommLink link;
    ListPorts(link);
    for (const QString& port : global.Ports) {
        if (!link.PortNames.contains(port)) {
            link.PortNames.append(port);
        }
    }
    // A device listed by the platform and named in MUEZZIN_PORTS is one device.
    const QStringList given = global.Ports + SplitPortList(SystemPortSources().Extra());
    return DistinctPorts(link.PortNames, given);
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

// Runs the job on the command's devices: one found by a search or on the port given, shown
// alone; or several at once, in a closing table.
int ServeDevices(const GlobalOptions& global, Console& console, const DeviceJob& job,
                 DeviceRunOptions options = {}) {
    options.Alone = !global.ManyDevices();
    options.OnlyAnswering = global.AllPorts;
    return RunOnDevices(DevicePorts(global), console, options, job);
}

int RunPorts(const QCommandLineParser& parser, const GlobalOptions& global) {
    CommLink link;
    if (global.Port.isEmpty()) {
        ListPorts(link); // those a search would probe
    } else {
        ListPorts(link, {[&] { return QStringList{global.Port}; }, {}}); // a name may hold ':'
    }
    const bool pathsOnly = parser.isSet(QStringLiteral("paths"));
    for (PortDetails& port : DetailsOfPorts(link.PortNames)) {
        if (!pathsOnly) {
            const PortProblem problem = CheckPort(port.Path);
            port.Problem = problem.Error != 0 ? problem.Describe() : QString();
        }
        const QString line = pathsOnly ? port.Path : PortDetailsLine(port);
        std::printf("%s\n", line.toUtf8().constData());
    }
    return exitcode::Ok;
}

QString StartFolderOf(const GlobalOptions& global) {
    QString folder = QDir(global.Folder).absolutePath();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

// Chosen only by the commands that read or write the tool's files, so that the others never
// create or fill the data folder.
StartFolderChoice ChooseStartFolderOf(const QString& flag) {
    const StartFolderChoice choice = ChooseStartFolder(SystemStartFolderPlaces(flag));
    if (!choice.Problem.isEmpty()) {
        PrintError(choice.Problem);
    }
    return choice;
}

QString FolderHint(const StartFolderChoice& choice) {
    const QString origin = choice.Source == StartFolderSource::Flag ? QStringLiteral("--folder")
                           : choice.Source == StartFolderSource::WorkingDirectory
                               ? QStringLiteral("the working directory")
                               : QStringLiteral("the user's data folder");
    return QStringLiteral("the tool's files are looked for in %1 (%2); name another folder with "
                          "--folder DIR")
        .arg(QDir::toNativeSeparators(choice.Folder), origin);
}

// The ports named, or else those a search would probe.
int RunDoctorCommand(const QCommandLineParser&, const GlobalOptions& global) {
    CommLink link;
    if (global.Ports.isEmpty()) {
        ListPorts(link);
    }
    return RunDoctor(global.Ports.isEmpty() ? link.PortNames : global.Ports, global.Folder);
}

int RunFind(const QCommandLineParser&, const GlobalOptions& global) {
    Console console({}, StandardErrorIsTerminal());
    return ServeDevices(global, console, [](DeviceContext& device) {
        // Alone, its port and the version text as the device sent it.
        const CommLink& link = device.Link;
        return DeviceOutcome{.Status = exitcode::Ok,
                             .Result = QStringLiteral("device answered"),
                             .Alone = link.PortName.toUtf8() + ' ' +
                                      QByteArray::fromStdString(link.VersionText)};
    });
}

int RunClock(const QCommandLineParser&, const GlobalOptions&) {
    CalendarClock clock;
    ReadClock(clock);
    ToSolarDate(clock);
    std::printf("%s\n%s\n%s\n", ClockTimeText(clock).c_str(), SolarDateText(clock).c_str(),
                clock.DateText.data());
    return exitcode::Ok;
}

int RunSetClock(const QCommandLineParser&, const GlobalOptions& global) {
    Console console({}, StandardErrorIsTerminal());
    return ServeDevices(global, console, [](DeviceContext& device) {
        const bool sent = SetDeviceClock(device.Link, device.Clock);
        return ResultOutcome(sent ? exitcode::Ok : exitcode::Failed,
                             ClockSetText(device.Clock, sent), !sent);
    });
}

// The settings a device holds, one "name: value" a line; the county's names beside its index
// when the start folder's database has it.
QString StoredSettingsText(const StoredSettings& stored, const QString& folder) {
    QStringList lines = {QStringLiteral("province: %1").arg(stored.ProvinceIndex)};
    QStringList years;
    for (const int year : stored.TimetableYears) {
        years.append(QString::number(year));
    }
    lines.append(QStringLiteral("timetable_years: %1").arg(years.join(u' ')));
    QStringList glyphs;
    for (const std::uint8_t code : stored.GlyphCodes) {
        glyphs.append(QStringLiteral("%1").arg(code, 2, 16, QChar(u'0')).toUpper());
    }
    lines.append(QStringLiteral("display_glyphs: %1").arg(glyphs.join(u' ')));
    for (ProfileEntry& entry : ProfileEntries(stored.Fields, stored.CountyIndex)) {
        if (entry.Section == QStringLiteral("location") && entry.Key == QStringLiteral("county")) {
            entry.Value += CountyNamesSuffix(folder, stored.CountyIndex);
        }
        lines.append(QStringLiteral("%1.%2: %3").arg(entry.Section, entry.Key, entry.Value));
    }
    return lines.join(u'\n');
}

QString NotWholeText(std::uint32_t received) {
    return QStringLiteral("the device did not send its settings whole (%1 of %2 bytes)")
        .arg(received)
        .arg(frame::BlockFrameSize);
}

const QString NoSettingsText =
    QStringLiteral("the device holds no settings: its settings block is erased (all 0xFF), as "
                   "on a device never configured; write them with 'muezzin-cli apply'");

int RunReadSettings(const QCommandLineParser& parser, const GlobalOptions& global) {
    const bool profileOut = parser.isSet(QStringLiteral("profile-out"));
    if (profileOut && global.ManyDevices()) {
        PrintError(QStringLiteral("--profile-out writes one device's settings: name one port"));
        return exitcode::InputError;
    }
    // Standard output then holds the profile alone, so that it can be saved as it stands.
    const bool profileToOutput =
        profileOut && parser.value(QStringLiteral("profile-out")) == QStringLiteral("-");
    DeviceRunOptions options;
    options.ReportToError = profileToOutput;
    std::optional<StoredSettings> kept; // for the profile, of the one device
    Console console({}, StandardErrorIsTerminal());
    const int status = ServeDevices(
        global, console,
        [&](DeviceContext& device) {
            const std::optional<SettingsBlock> block = ReadStoredSettings(device.Link);
            if (!block) {
                return ResultOutcome(exitcode::Failed, NotWholeText(device.Link.BytesRead), true);
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
                                 .Report = StoredSettingsText(stored, StartFolderOf(global))};
        },
        options);
    if (kept) {
        const QByteArray profile = ProfileText(kept->Fields, kept->CountyIndex).toUtf8();
        if (profileToOutput) {
            std::fwrite(profile.constData(), 1, static_cast<std::size_t>(profile.size()), stdout);
        } else {
            SaveBytes(parser.value(QStringLiteral("profile-out")), profile);
        }
    }
    return status;
}

int UpgradeStatus(const UpgradeResult& result) {
    if (result.InputError()) {
        return exitcode::InputError;
    }
    return result.Completed ? exitcode::Ok : exitcode::Failed;
}

int RunUpgradeCommand(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        PrintError(QStringLiteral("upgrade takes one FILE.fmw"));
        return exitcode::InputError;
    }
    const QString logPath = StartFolderOf(global) + QStringLiteral("log.txt");
    const FirmwareImage image = ReadFirmwareFile(files[0]);
    if (image.Status != FirmwareFileStatus::Read) {
        // The log gets the window's line; the terminal also gets the reason in English.
        const CalendarClock now = ClockNow();
        Console console(logPath, false);
        console.LogLine(console.AddRow({}), QString::fromLatin1(now.DateText.data()),
                        FirmwareFileLogText(image.Status));
        PrintError(image.Status == FirmwareFileStatus::Short
                       ? QStringLiteral("%1 holds %2 bytes: an upgrade file holds at least %3")
                             .arg(files[0])
                             .arg(image.FileArea.size())
                             .arg(FirmwareFileAreaSize)
                       : image.Problem);
        return exitcode::InputError;
    }
    // A running device is entered; where nothing answers, a device waiting in its upgrade stage
    // may be, and is greeted there (unless only answering devices take part).
    DeviceRunOptions options;
    options.RunWithoutDevice = !global.AllPorts;
    options.CountFromZero = true;
    Console console(logPath, StandardErrorIsTerminal());
    return ServeDevices(
        global, console,
        [&](DeviceContext& device) {
            const UpgradeResult result =
                RunUpgrade(device.Link, device.Host, files[0], device.Port);
            return ResultOutcome(UpgradeStatus(result), UpgradeResultText(result));
        },
        options);
}

int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        PrintError(QStringLiteral("import-cities takes FILE.csv and, optionally, the database"));
        return exitcode::InputError;
    }
    const QString db = files.size() == 2
                           ? files[1]
                           : CityDatabase::PathIn(ChooseStartFolderOf(global.Folder).Folder);
    const int rows = ImportCitiesCsv(files[0], db);
    std::printf("imported %d counties into %s\n", rows, qPrintable(db));
    return exitcode::Ok;
}

int RunCounties(const QCommandLineParser& parser, const GlobalOptions& global) {
    // The words of a name need no quotes.
    return PrintCounties(StartFolderOf(global), parser.positionalArguments().join(u' '));
}

int UploadStatus(const UploadResult& result) {
    if (!result.Started) {
        return exitcode::InputError;
    }
    return result.Complete() ? exitcode::Ok : exitcode::Failed;
}

int RunApply(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QString folder = StartFolderOf(global);
    Profile profile;
    if (parser.isSet(QStringLiteral("profile"))) {
        profile = ReadProfile(parser.value(QStringLiteral("profile")));
    }
    if (parser.isSet(QStringLiteral("county"))) {
        profile.County = CountyOfValue(folder, parser.value(QStringLiteral("county")));
    }
    if (!profile.County) {
        PrintError(QStringLiteral("no county given: use --county N, or county in the [location] "
                                  "section of the profile"));
        return exitcode::InputError;
    }

    // The county is chosen as the three boxes of the window choose it.
    const QStringList provinces = ReadLines1256(folder + QStringLiteral("ostan.txt"));
    CityDatabase db(CityDatabase::PathIn(folder));
    LocationSelection location;
    const CountySelection chosen =
        SelectCountyByIndex(location, db, *profile.County, folder, provinces);
    UploadInput input;
    input.Fields = profile.Fields;
    if (!profile.HasLongitude) {
        input.Fields.Longitude = chosen.Choice.LongitudeText;
    }
    if (!profile.HasLatitude) {
        input.Fields.Latitude = chosen.Choice.LatitudeText;
    }
    input.CountyIndex = location.CountyIndex;
    input.ProvinceIndex = location.ProvinceIndex;
    input.GlyphCodes = location.GlyphCodes;
    input.TimetableFolder = location.TimetableFolder;
    input.KeyFilePath = folder + KeyFileName;
    input.Resend = profile.Resend && !parser.isSet(QStringLiteral("no-resend"));

    const CalendarClock clock = ClockNow();
    // Bad input is reported before any port is touched, with the profile key that holds it.
    try {
        BuildSettingsBlock(input.Fields, input.CountyIndex, input.ProvinceIndex, input.GlyphCodes,
                           clock.SolarYear);
    } catch (const SettingsError& error) {
        const QString key = ProfileKeyOfControl(error.Control());
        throw UserError(key.isEmpty() ? error.Text()
                                      : QStringLiteral("%1 (%2)").arg(error.Text(), key));
    }
    LoadKeyTable(input.KeyFilePath);

    Console console(folder + QStringLiteral("log.txt"), StandardErrorIsTerminal());
    return ServeDevices(global, console, [&](DeviceContext& device) {
        const UploadResult result = RunUpload(device.Link, device.Clock, device.Host, input);
        const QString text = UploadResultText(result);
        // Refused before a block was sent, the host has said why.
        return DeviceOutcome{.Status = UploadStatus(result),
                             .Result = text,
                             .Alone = result.Started ? text.toUtf8() : QByteArray()};
    });
}

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("doctor"),
         {QStringLiteral("Check the set-up: ports and their groups, programs holding them, "
                         "ModemManager, brltty, latency timers, udev rule, start folder, fonts."),
          {},
          RunDoctorCommand,
          false,
          false,
          QStringLiteral(
              "Prints one line per check: 'what: ok', or the problem and its remedy. Exits\n"
              "with 0 when every check holds, 1 otherwise.\n\n"
              "Examples:\n"
              "  muezzin-cli doctor\n"
              "      Check every candidate port and the rest of the set-up.\n"
              "  muezzin-cli doctor --port /dev/ttyUSB0 --folder ~/muezzin\n"
              "      Check only that port, and the start folder ~/muezzin."),
          true}},
        {QStringLiteral("ports"),
         {QStringLiteral("List the candidate ports: path, description, manufacturer, USB "
                         "vendor:product, serial number, why it would not open (tab-separated)."),
          [](QCommandLineParser& parser) {
              parser.addOption(
                  {QStringLiteral("paths"), QStringLiteral("Print the paths alone, one a line.")});
          },
          RunPorts}},
        {QStringLiteral("counties"),
         {QStringLiteral("List the counties whose names contain TEXT: index, province, city, "
                         "county, longitude, latitude (tab-separated)."),
          [](QCommandLineParser& parser) {
              parser.addPositionalArgument(
                  QStringLiteral("text"),
                  QStringLiteral("Part of a county's, city's or province's name (every county "
                                 "without it); yeh and kaf in either spelling, with or without "
                                 "the zero-width non-joiner, Latin letters in any case."),
                  QStringLiteral("[TEXT]"));
          },
          RunCounties, true}},
        {QStringLiteral("find"),
         {QStringLiteral("Search the ports for the device; print its port and firmware version."),
          {},
          RunFind}},
        {QStringLiteral("clock"),
         {QStringLiteral("Print the PC clock as the window shows it: time, solar date, date text."),
          {},
          RunClock}},
        {QStringLiteral("set-clock"),
         {QStringLiteral("Set the device clock from the PC clock."), {}, RunSetClock}},
        {QStringLiteral("read-settings"),
         {QStringLiteral("Print the settings stored in the device, one 'name: value' a line."),
          [](QCommandLineParser& parser) {
              parser.addOption({QStringLiteral("profile-out"),
                                QStringLiteral("Also write them as a profile FILE that 'apply "
                                               "--profile' takes back ('-': standard output, "
                                               "which then holds the profile alone; the "
                                               "settings go to standard error)."),
                                QStringLiteral("FILE")});
          },
          RunReadSettings}},
        {QStringLiteral("upgrade"),
         {QStringLiteral("Replace the device's program with FILE.fmw, every page echoed and "
                         "checked."),
          [](QCommandLineParser& parser) {
              parser.addPositionalArgument(QStringLiteral("file"),
                                           QStringLiteral("The upgrade file."),
                                           QStringLiteral("FILE.fmw"));
          },
          RunUpgradeCommand, true, true}},
        {QStringLiteral("import-cities"),
         {QStringLiteral("Build the city database from a CSV export: import-cities FILE.csv [DB]."),
          [](QCommandLineParser& parser) {
              parser.addPositionalArgument(QStringLiteral("file"),
                                           QStringLiteral("The CSV file, with a header line."),
                                           QStringLiteral("FILE.csv"));
              parser.addPositionalArgument(
                  QStringLiteral("db"),
                  QStringLiteral("The database to write (default: city.db in the start folder)."),
                  QStringLiteral("[DB]"));
          },
          RunImportCities, true}},
        {QStringLiteral("apply"),
         {QStringLiteral("Write the settings, ten years of timetables and the key table into the "
                         "device, every block read back and checked."),
          [](QCommandLineParser& parser) {
              parser.addOption({QStringLiteral("profile"),
                                QStringLiteral("Take the window's fields from the profile FILE."),
                                QStringLiteral("FILE")});
              parser.addOption({QStringLiteral("county"),
                                QStringLiteral("The county: its index in the city database, or "
                                               "its name when that names one county (see "
                                               "'counties')."),
                                QStringLiteral("N|NAME")});
              parser.addOption({QStringLiteral("no-resend"),
                                QStringLiteral("Write every block once, whatever its reply. "
                                               "By default a block not confirmed is sent up to "
                                               "three times, and three blocks in a row left "
                                               "unconfirmed stop the run; with this option that "
                                               "stop is off too, so a device that garbles every "
                                               "reply takes the whole run. Three attempts in a "
                                               "row without any reply still stop it.")});
          },
          RunApply, false, true}},
    };
    return commands;
}

void AddGlobalOptions(QCommandLineParser& parser) {
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("Use the serial port PATH instead of searching all ports. "
                                     "Given more than once, find, set-clock, read-settings, "
                                     "apply and upgrade serve every device at once."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("all-ports"),
                      QStringLiteral("Serve every device that answers on any port, all at "
                                     "once.")});
    parser.addOption({QStringLiteral("folder"),
                      QStringLiteral("The start folder with the tool's files (default: the "
                                     "working directory when it holds them, else the user's "
                                     "data folder, filled from the installed sample)."),
                      QStringLiteral("DIR")});
}

QString CommandList() {
    QString text = QStringLiteral("\n\nCommands:\n");
    for (const auto& [name, command] : Commands()) {
        text += QStringLiteral("  %1  %2\n").arg(name, -14).arg(command.Summary);
    }
    text += QStringLiteral("\nRun 'muezzin-cli COMMAND --help' for a command's options.\n"
                           "Ports named in MUEZZIN_PORTS (separated by ':') are searched too.");
    return text;
}

// The parser's help names the binary's path; ours names the program and the command.
QString UsageText(const QCommandLineParser& parser, const QString& command) {
    QString help = parser.helpText();
    help = help.mid(help.indexOf(u'\n') + 1).trimmed();
    const QString usage = command.isEmpty()
                              ? QStringLiteral("Usage: muezzin-cli [options] COMMAND [options]")
                              : QStringLiteral("Usage: muezzin-cli %1 [options]").arg(command);
    const auto found = Commands().find(command);
    const QString examples = found == Commands().end() || found->second.Examples.isEmpty()
                                 ? QString()
                                 : QStringLiteral("\n\n") + found->second.Examples;
    return usage + u'\n' + help + examples;
}

// What the command line asks for. Exit, when set, ends the program at once with that status: help
// was shown, or what is wrong with the command line was said.
struct Options {
    std::optional<int> Exit;
    const Command* Chosen = nullptr;
    std::unique_ptr<QCommandLineParser> Parser; // the command's own, with the global options
    GlobalOptions Global;
};

Options Ended(int status) {
    Options options;
    options.Exit = status;
    return options;
}

// Two names of one device (a by-id link and its ttyUSB) would be probed at once and collide: the
// device is served once, under the name given first.
QStringList OncePerDevice(const QStringList& ports) {
    QStringList kept;
    QHash<QString, QString> firstNames; // of each device
    for (const QString& port : ports) {
        const QString identity = PortIdentity(port);
        const auto first = firstNames.constFind(identity);
        if (first == firstNames.cend()) {
            firstNames.insert(identity, port);
            kept.append(port);
        } else if (*first != port) {
            PrintError(QStringLiteral("%1 and %2 are the same device; it is served once, as %1")
                           .arg(ShownValue(*first), ShownValue(port)));
        }
    }
    return kept;
}

// The global options may stand before the command and after it.
GlobalOptions GlobalOptionsOf(const QCommandLineParser& top, const QCommandLineParser& parser) {
    GlobalOptions global;
    for (const QCommandLineParser* source : {&top, &parser}) {
        global.Ports += source->values(QStringLiteral("port"));
        global.AllPorts = global.AllPorts || source->isSet(QStringLiteral("all-ports"));
        if (source->isSet(QStringLiteral("folder"))) {
            global.Folder = source->value(QStringLiteral("folder"));
        }
    }
    global.Ports = OncePerDevice(global.Ports);
    global.Port = global.Ports.value(0);
    return global;
}

Options ParseOptions(const QStringList& arguments) {
    QCommandLineParser top;
    top.setApplicationDescription(
        QStringLiteral("Configures an electronic muezzin over its serial line.") + CommandList());
    top.addHelpOption();
    top.addVersionOption();
    AddGlobalOptions(top);
    top.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
                              QStringLiteral("COMMAND [options]"));
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments)) {
        PrintError(top.errorText());
        return Ended(exitcode::InputError);
    }
    if (top.isSet(QStringLiteral("version"))) {
        PrintVersion();
        return Ended(exitcode::Ok);
    }
    if (top.isSet(QStringLiteral("help"))) {
        std::printf("%s\n", qPrintable(UsageText(top, QString())));
        return Ended(exitcode::Ok);
    }

    const QStringList rest = top.positionalArguments();
    if (rest.isEmpty()) {
        PrintError(QStringLiteral("no command given; see 'muezzin-cli --help'"));
        return Ended(exitcode::InputError);
    }
    const auto found = Commands().find(rest.first());
    if (found == Commands().end()) {
        PrintError(QStringLiteral("unknown command '%1'; see 'muezzin-cli --help'")
                       .arg(ShownValue(rest.first())));
        return Ended(exitcode::InputError);
    }
    Options options;
    options.Chosen = &found->second;
    options.Parser = std::make_unique<QCommandLineParser>();
    QCommandLineParser& parser = *options.Parser;
    parser.setApplicationDescription(options.Chosen->Summary);
    parser.addHelpOption();
    AddGlobalOptions(parser);
    if (options.Chosen->AddOptions) {
        options.Chosen->AddOptions(parser);
    }
    QStringList commandArguments = rest;
    commandArguments.first() = QStringLiteral("muezzin-cli ") + rest.first();
    if (!parser.parse(commandArguments)) {
        PrintError(parser.errorText());
        return Ended(exitcode::InputError);
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s\n", qPrintable(UsageText(parser, rest.first())));
        return Ended(exitcode::Ok);
    }
    if (!options.Chosen->TakesArguments && !parser.positionalArguments().isEmpty()) {
        PrintError(QStringLiteral("unexpected argument '%1'")
                       .arg(ShownValue(parser.positionalArguments().first())));
        return Ended(exitcode::InputError);
    }
    if (const QString repeated = RepeatedOption({&top, &parser}, {QStringLiteral("port")});
        !repeated.isEmpty()) {
        PrintError(RepeatedOptionText(repeated));
        return Ended(exitcode::InputError);
    }
    options.Global = GlobalOptionsOf(top, parser);
    return options;
}

int Run(const Options& options) {
    const Command& command = *options.Chosen;
    GlobalOptions global = options.Global;
    StartFolderChoice start;
    if (command.UsesStartFolder) {
        start = ChooseStartFolderOf(global.Folder);
        global.Folder = start.Folder;
    }
    try {
        const int status = command.Run(*options.Parser, global);
        if (const int signal = StopSignal()) {
            PrintError(QStringLiteral("stopped by %1").arg(StopSignalName(signal)));
            return StopExitStatus(signal);
        }
        return status;
    } catch (const UserError& error) {
        PrintError(error.Text());
        // A file of the start folder is missing: maybe the folder is not the one meant.
        if (command.UsesStartFolder && start.Problem.isEmpty() &&
            error.Text().contains(QDir::toNativeSeparators(start.Folder))) {
            PrintError(FolderHint(start));
        }
        return exitcode::InputError;
    }
}

// The command is known before the application object is made: the doctor checks fonts, which need
// a QGuiApplication; it needs no display.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[], const Options& options) {
    if (options.Chosen && options.Chosen->DrawsText) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

} // namespace

int main(int argc, char* argv[]) {
    HoldClosedStandardStreams();
    InstallStopSignals();
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const Options options = ParseOptions(arguments);
    const std::unique_ptr<QCoreApplication> app = MakeApplication(argc, argv, options);
    return FlushedOutputStatus(options.Exit ? *options.Exit : Run(options), "muezzin-cli");
}
