// muezzin-cli: the device operations from a terminal.
#include "comm/Discovery.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "device/Profile.h"
#include "device/Upgrade.h"
#include "device/Upload.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "location/LocationSelection.h"
#include "location/StartFolder.h"
#include "tools/cli/CliHost.h"
#include "tools/cli/Console.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Devices.h"
#include "tools/cli/Results.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <map>
#include <unistd.h>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitIncomplete = 1;
constexpr int ExitInputError = 2;

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
};

void PrintError(const QString& text) {
    std::fprintf(stderr, "muezzin-cli: %s\n", qPrintable(text));
}

void InstallNotifier(CommLink& link) {
    link.Notify = [](const QString& text, const QString& caption) {
        // A port that does not open is said in words, with its reason, once the search is over.
        if (text != linktext::OpenFailed) {
            PrintError(QStringLiteral("%1 (%2)").arg(text, caption));
        }
    };
}

// Lists the candidate ports: the one given with --port, or those a search would probe.
void ListCandidates(CommLink& link, const GlobalOptions& global) {
    if (global.Port.isEmpty()) {
        ListPorts(link);
    } else {
        ListPorts(link, {{}, [&] { return global.Port; }});
    }
}

// The ports of a command run on several devices at once.
QStringList DevicePorts(const GlobalOptions& global) {
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
    return link.PortNames;
}

DeviceRunOptions OnDevices(const GlobalOptions& global) {
    DeviceRunOptions options;
    options.OnlyAnswering = global.AllPorts;
    return options;
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) == 1;
}

int RunPorts(const QCommandLineParser& parser, const GlobalOptions& global) {
    CommLink link;
    ListCandidates(link, global);
    const bool pathsOnly = parser.isSet(QStringLiteral("paths"));
    for (const PortDetails& port : DetailsOfPorts(link.PortNames)) {
        const QString line = pathsOnly ? port.Path : PortDetailsLine(port);
        std::printf("%s\n", line.toUtf8().constData());
    }
    return ExitOk;
}

// Searches as the window does (or tries the one port given); says why when nothing answers.
bool ConnectDevice(CommLink& link, const GlobalOptions& global) {
    InstallNotifier(link);
    ListCandidates(link, global);
    DiscoveryState state;
    if (FindDevice(link, state)) {
        return true;
    }
    for (const PortProblem& problem : state.Problems) {
        PrintError(problem.Describe());
    }
    // Ports that did not open have said why; "no answer" is only true of those probed.
    const auto probed = link.PortNames.size() - static_cast<qsizetype>(state.Problems.size());
    if (probed > 0 || link.PortNames.isEmpty()) {
        PrintError(QStringLiteral("no device answered on %1 port(s)").arg(probed));
    }
    return false;
}

void ReleaseDevice(CommLink& link) {
    AbortPort(link);
    ClosePort(link);
}

// The clock as the log and the timetable years need it. Only the clock frame must be sampled at
// the turn of a second, and that is done where it is sent.
CalendarClock ClockNow() {
    CalendarClock clock;
    SampleClock(clock, std::time(nullptr));
    ToSolarDate(clock);
    return clock;
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

int RunFind(const QCommandLineParser&, const GlobalOptions& global) {
    if (global.ManyDevices()) {
        Console console({}, StandardErrorIsTerminal());
        return RunOnDevices(DevicePorts(global), console, OnDevices(global),
                            [](CommLink&, CalendarClock&, CliHost&) {
                                return DeviceOutcome{0, QStringLiteral("device answered")};
                            });
    }
    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    std::printf("%s %s\n", qPrintable(link.PortName), link.VersionText.c_str());
    ReleaseDevice(link);
    return ExitOk;
}

int RunClock(const QCommandLineParser&, const GlobalOptions&) {
    CalendarClock clock;
    ReadClock(clock);
    ToSolarDate(clock);
    std::printf("%s\n%s\n%s\n", ClockTimeText(clock).c_str(), SolarDateText(clock).c_str(),
                clock.DateText.data());
    return ExitOk;
}

int RunSetClock(const QCommandLineParser&, const GlobalOptions& global) {
    if (global.ManyDevices()) {
        Console console({}, StandardErrorIsTerminal());
        return RunOnDevices(
            DevicePorts(global), console, OnDevices(global),
            [](CommLink& link, CalendarClock& clock, CliHost&) {
                const bool sent = SetDeviceClock(link, clock);
                return DeviceOutcome{sent ? ExitOk : ExitIncomplete, ClockSetText(clock, sent)};
            });
    }
    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    CalendarClock clock = ClockNow(); // decides daylight saving for the sample that is sent
    const bool sent = SetDeviceClock(link, clock);
    ReleaseDevice(link);
    if (!sent) {
        PrintError(ClockSetText(clock, sent));
        return ExitIncomplete;
    }
    std::printf("%s\n", qPrintable(ClockSetText(clock, sent)));
    return ExitOk;
}

// The settings a device holds, one "name: value" a line; the county's names beside its index
// when the start folder's database has it.
QString StoredSettingsText(const StoredSettings& stored, const QString& folder) {
    QString text = QStringLiteral("province: %1\n").arg(stored.ProvinceIndex);
    QStringList years;
    for (const int year : stored.TimetableYears) {
        years.append(QString::number(year));
    }
    text += QStringLiteral("timetable_years: %1\n").arg(years.join(u' '));
    QStringList glyphs;
    for (const std::uint8_t code : stored.GlyphCodes) {
        glyphs.append(QStringLiteral("%1").arg(code, 2, 16, QChar(u'0')).toUpper());
    }
    text += QStringLiteral("display_glyphs: %1\n").arg(glyphs.join(u' '));
    for (ProfileEntry& entry : ProfileEntries(stored.Fields, stored.CountyIndex)) {
        if (entry.Section == QStringLiteral("location") && entry.Key == QStringLiteral("county")) {
            entry.Value += CountyNamesSuffix(folder, stored.CountyIndex);
        }
        text += QStringLiteral("%1.%2: %3\n").arg(entry.Section, entry.Key, entry.Value);
    }
    return text;
}

QString NotWholeText(std::uint32_t received) {
    return QStringLiteral("the device did not send its settings whole (%1 of 134 bytes)")
        .arg(received);
}

const QString NoSettingsText =
    QStringLiteral("the device holds no settings: its settings block is erased (all 0xFF), as "
                   "on a device never configured; write them with 'muezzin-cli apply'");

int RunReadSettings(const QCommandLineParser& parser, const GlobalOptions& global) {
    if (global.ManyDevices()) {
        if (parser.isSet(QStringLiteral("profile-out"))) {
            PrintError(QStringLiteral("--profile-out writes one device's settings: name one port"));
            return ExitInputError;
        }
        Console console({}, StandardErrorIsTerminal());
        return RunOnDevices(
            DevicePorts(global), console, OnDevices(global),
            [&](CommLink& link, CalendarClock&, CliHost&) {
                const std::optional<SettingsBlock> block = ReadStoredSettings(link);
                if (!block) {
                    return DeviceOutcome{ExitIncomplete, NotWholeText(link.BytesRead)};
                }
                if (HoldsNoSettings(*block)) {
                    return DeviceOutcome{ExitIncomplete, NoSettingsText};
                }
                // One print, so that the device's lines stay together.
                console.Print(
                    QStringLiteral("[%1]\n").arg(link.PortName) +
                    StoredSettingsText(DecodeSettingsBlock(*block), StartFolderOf(global)));
                return DeviceOutcome{ExitOk, QStringLiteral("settings read")};
            });
    }
    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    const std::optional<SettingsBlock> block = ReadStoredSettings(link);
    const std::uint32_t received = link.BytesRead;
    ReleaseDevice(link);
    if (!block) {
        PrintError(NotWholeText(received));
        return ExitIncomplete;
    }
    if (HoldsNoSettings(*block)) {
        PrintError(NoSettingsText);
        return ExitIncomplete;
    }
    const StoredSettings stored = DecodeSettingsBlock(*block);
    std::printf("%s", StoredSettingsText(stored, StartFolderOf(global)).toUtf8().constData());
    if (parser.isSet(QStringLiteral("profile-out"))) {
        const QString path = parser.value(QStringLiteral("profile-out"));
        std::fflush(stdout); // what was printed comes first where the profile goes there too
        SaveBytes(path == QStringLiteral("-") ? QStringLiteral("/dev/stdout") : path,
                  ProfileText(stored.Fields, stored.CountyIndex).toUtf8());
    }
    return ExitOk;
}

int RunUpgradeCommand(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        PrintError(QStringLiteral("upgrade takes one FILE.fmw"));
        return ExitInputError;
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
        return ExitInputError;
    }
    const auto status = [](const UpgradeResult& result) {
        if (result.InputError()) {
            return ExitInputError;
        }
        return result.Completed ? ExitOk : ExitIncomplete;
    };
    if (global.ManyDevices()) {
        // A port where nothing answers may hold a device waiting in its upgrade stage.
        DeviceRunOptions options = OnDevices(global);
        options.RunWithoutDevice = !global.AllPorts;
        options.CountFromZero = true;
        Console console(logPath, StandardErrorIsTerminal());
        return RunOnDevices(DevicePorts(global), console, options,
                            [&](CommLink& link, CalendarClock&, CliHost& host) {
                                const QString port = link.PortNames.value(0);
                                const UpgradeResult result = RunUpgrade(link, host, files[0], port);
                                return DeviceOutcome{status(result), UpgradeResultText(result)};
                            });
    }
    // A running device is entered; without one, a device waiting in its upgrade stage is
    // greeted on the recovery port.
    CommLink link;
    if (!ConnectDevice(link, global)) {
        const QString port = RecoveryPortName(link, link.PortNames, global.Port);
        if (port.isEmpty()) {
            return ExitInputError;
        }
        PrintError(QStringLiteral("greeting a device in its upgrade stage on %1").arg(port));
    }
    const CalendarClock clock = ClockNow();
    Console console(logPath, StandardErrorIsTerminal());
    UpgradeResult result;
    {
        CliHost host(clock, console, console.AddRow({}));
        host.CountFromZero(true);
        result =
            RunUpgrade(link, host, files[0], RecoveryPortName(link, link.PortNames, global.Port));
    }
    ReleaseDevice(link);
    console.Print(UpgradeResultText(result));
    return status(result);
}

int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        PrintError(QStringLiteral("import-cities takes FILE.csv and, optionally, the database"));
        return ExitInputError;
    }
    const QString db = files.size() == 2
                           ? files[1]
                           : CityDatabase::PathIn(ChooseStartFolderOf(global.Folder).Folder);
    const int rows = ImportCitiesCsv(files[0], db);
    std::printf("imported %d counties into %s\n", rows, qPrintable(db));
    return ExitOk;
}

int RunCounties(const QCommandLineParser& parser, const GlobalOptions& global) {
    // The words of a name need no quotes.
    return PrintCounties(StartFolderOf(global), parser.positionalArguments().join(u' '));
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
        return ExitInputError;
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

    const auto status = [](const UploadResult& result) {
        if (!result.Started) {
            return ExitInputError;
        }
        return result.Complete() ? ExitOk : ExitIncomplete;
    };
    Console console(folder + QStringLiteral("log.txt"), StandardErrorIsTerminal());
    if (global.ManyDevices()) {
        return RunOnDevices(DevicePorts(global), console, OnDevices(global),
                            [&](CommLink& link, CalendarClock& deviceClock, CliHost& host) {
                                const UploadResult result =
                                    RunUpload(link, deviceClock, host, input);
                                return DeviceOutcome{status(result), UploadResultText(result)};
                            });
    }
    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    UploadResult result;
    {
        CliHost host(clock, console, console.AddRow({}));
        result = RunUpload(link, clock, host, input);
    }
    ReleaseDevice(link);
    if (result.Started) {
        console.Print(UploadResultText(result));
    }
    return status(result);
}

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("ports"),
         {QStringLiteral("List the candidate ports: path, description, manufacturer, USB "
                         "vendor:product, serial number (tab-separated)."),
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
                                               "--profile' takes back ('-': standard output)."),
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
                                QStringLiteral("Write every block once, whatever its reply "
                                               "(by default a block not confirmed is sent up "
                                               "to three times).")});
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
    return usage + u'\n' + help;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));

    QCommandLineParser top;
    top.setApplicationDescription(
        QStringLiteral("Configures an electronic muezzin over its serial line.") + CommandList());
    top.addHelpOption();
    top.addVersionOption();
    AddGlobalOptions(top);
    top.addPositionalArgument(QStringLiteral("command"), QStringLiteral("The command to run."),
                              QStringLiteral("COMMAND [options]"));
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(QCoreApplication::arguments())) {
        PrintError(top.errorText());
        return ExitInputError;
    }
    if (top.isSet(QStringLiteral("version"))) {
        top.showVersion();
    }
    if (top.isSet(QStringLiteral("help"))) {
        std::printf("%s\n", qPrintable(UsageText(top, QString())));
        return ExitOk;
    }

    const QStringList rest = top.positionalArguments();
    if (rest.isEmpty()) {
        PrintError(QStringLiteral("no command given; see 'muezzin-cli --help'"));
        return ExitInputError;
    }
    const auto found = Commands().find(rest.first());
    if (found == Commands().end()) {
        PrintError(
            QStringLiteral("unknown command '%1'; see 'muezzin-cli --help'").arg(rest.first()));
        return ExitInputError;
    }
    const Command& command = found->second;

    // The command's own parser also takes the global options, so they may follow the command.
    QCommandLineParser parser;
    parser.setApplicationDescription(command.Summary);
    parser.addHelpOption();
    AddGlobalOptions(parser);
    if (command.AddOptions) {
        command.AddOptions(parser);
    }
    QStringList arguments = rest;
    arguments.first() = QStringLiteral("muezzin-cli ") + rest.first();
    if (!parser.parse(arguments)) {
        PrintError(parser.errorText());
        return ExitInputError;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s\n", qPrintable(UsageText(parser, rest.first())));
        return ExitOk;
    }
    if (!command.TakesArguments && !parser.positionalArguments().isEmpty()) {
        PrintError(
            QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
        return ExitInputError;
    }

    GlobalOptions global;
    for (const QCommandLineParser* source : {&top, &parser}) {
        global.Ports += source->values(QStringLiteral("port"));
        global.AllPorts = global.AllPorts || source->isSet(QStringLiteral("all-ports"));
        if (source->isSet(QStringLiteral("folder"))) {
            global.Folder = source->value(QStringLiteral("folder"));
        }
    }
    global.Ports.removeDuplicates();
    global.Port = global.Ports.value(0);
    StartFolderChoice start;
    if (command.UsesStartFolder) {
        start = ChooseStartFolderOf(global.Folder);
        global.Folder = start.Folder;
    }
    try {
        return command.Run(parser, global);
    } catch (const UserError& error) {
        PrintError(error.Text());
        // A file of the start folder is missing: maybe the folder is not the one meant.
        if (command.UsesStartFolder && start.Problem.isEmpty() &&
            error.Text().contains(QDir::toNativeSeparators(start.Folder))) {
            PrintError(FolderHint(start));
        }
        return ExitInputError;
    }
}
