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
#include "tools/cli/Help.h"
#include "tools/cli/JsonReport.h"
#include "tools/cli/Results.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace {

struct GlobalOptions {
    QString Port;          // the first port given; empty: search as the window does
    QStringList Ports;     // every port given
    bool AllPorts = false; // every candidate port where a device answers
    QString Folder;        // the start folder once chosen; before, --folder or nothing
    bool Verbose = false;  // every frame on standard error
    bool Quiet = false;    // the results and the errors alone
    // --format json: the document the command fills, printed when it ends; else none.
    JsonReport* Json = nullptr;

    // Several devices at once: each port given, or each where a device answers.
    bool ManyDevices() const { return AllPorts || Ports.size() > 1; }
};

struct Command {
    // What its help says; its name is its key in the command table. Its options are its own,
    // besides the global options; no arguments: it takes none.
    CommandHelp Help{};
    std::function<int(const QCommandLineParser&, const GlobalOptions&)> Run{};
    bool UsesStartFolder = false;
    bool DrawsText = false; // needs the fonts, and so a QGuiApplication
};

// The ports of the command's devices: the one given with --port (none: a search), each port
// given, or every candidate port.
QStringList DevicePorts(const GlobalOptions& global) {
    if (!global.ManyDevices()) {
        return {global.Port};
    }
    if (!global.AllPorts) {
        return global.Ports;
    }
    QStringList ports = CandidatePorts();
    for (const QString& port : global.Ports) {
        if (!ports.contains(port)) {
            ports.append(port);
        }
    }
    // A device listed by the platform and named in MUEZZIN_PORTS is one device.
    const QStringList given = global.Ports + SplitPortList(SystemPortSources().Extra());
    return DistinctPorts(ports, given);
}

// Says why the command does nothing, in the JSON document too.
int Refuse(const GlobalOptions& global, const QString& text) {
    PrintError(text);
    if (global.Json) {
        global.Json->SetError(text);
    }
    return exitcode::InputError;
}

// The command's console: quiet or not, its people's lines on standard error when standard
// output carries a JSON document; logging to logPath unless it is empty.
Console ConsoleOf(const GlobalOptions& global, const QString& logPath = {}) {
    return Console(logPath, StandardErrorIsTerminal(),
                   {.Quiet = global.Quiet, .OutputToError = global.Json != nullptr});
}

// Runs the job on the command's devices: one found by a search or on the port given, shown
// alone; or several at once, in a closing table. Each device's part goes into the JSON
// document when one is asked for.
int ServeDevices(const GlobalOptions& global, Console& console, const DeviceJob& job,
                 DeviceRunOptions options = {}) {
    options.Alone = !global.ManyDevices();
    options.OnlyAnswering = global.AllPorts;
    options.Verbose = global.Verbose;
    std::vector<DeviceSummary> summaries;
    if (global.Json) {
        options.Summaries = &summaries;
    }
    const auto keep = [&] {
        if (global.Json) {
            global.Json->Set(QStringLiteral("devices"), DevicesJson(summaries));
        }
    };
    try {
        const int status = RunOnDevices(DevicePorts(global), console, options, job);
        keep();
        return status;
    } catch (const UserError&) {
        keep(); // a device served alone: its error is the command's, its entry stays
        throw;
    }
}

int RunPorts(const QCommandLineParser& parser, const GlobalOptions& global) {
    const bool pathsOnly = parser.isSet(QStringLiteral("paths"));
    std::vector<PortDetails> ports = DetailsOfPorts(NamedPorts(global.Ports));
    for (PortDetails& port : ports) {
        if (!pathsOnly) {
            const PortProblem problem = CheckPort(port.Path);
            port.Problem = problem.Error != 0 ? problem.Describe() : QString();
        }
    }
    Console console = ConsoleOf(global);
    for (const PortDetails& port : ports) {
        console.Print(pathsOnly ? port.Path : PortDetailsLine(port));
    }
    if (global.Json) {
        global.Json->Set(QStringLiteral("ports"), PortsJson(ports));
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
    return QStringLiteral("the tool's files are looked for in %1 (%2); name another folder with "
                          "--folder DIR")
        .arg(QDir::toNativeSeparators(choice.Folder), StartFolderOriginText(choice.Source));
}

int RunDoctorCommand(const QCommandLineParser&, const GlobalOptions& global) {
    return RunDoctor(NamedPorts(global.Ports), global.Folder);
}

int RunFind(const QCommandLineParser&, const GlobalOptions& global) {
    Console console = ConsoleOf(global);
    return ServeDevices(global, console, [](DeviceContext& device) {
        // Alone, its port and the version text as the device sent it.
        const CommLink& link = device.Link;
        return DeviceOutcome{.Status = exitcode::Ok,
                             .Result = QStringLiteral("device answered"),
                             .Alone = link.PortName.toUtf8() + ' ' +
                                      QByteArray::fromStdString(link.VersionText)};
    });
}

int RunClock(const QCommandLineParser&, const GlobalOptions& global) {
    CalendarClock clock;
    ReadClock(clock);
    ToSolarDate(clock);
    Console console = ConsoleOf(global);
    console.Print(QStringLiteral("%1\n%2\n%3")
                      .arg(QString::fromStdString(ClockTimeText(clock)),
                           QString::fromStdString(SolarDateText(clock)),
                           QString::fromLatin1(clock.DateText.data())));
    return exitcode::Ok;
}

int RunSetClock(const QCommandLineParser&, const GlobalOptions& global) {
    Console console = ConsoleOf(global);
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
    lines.append(QStringLiteral("display_glyphs: %1").arg(DisplayGlyphsText(stored)));
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
        return Refuse(global,
                      QStringLiteral("--profile-out writes one device's settings: name one port"));
    }
    const QString path = parser.value(QStringLiteral("profile-out"));
    if (profileOut && global.Json && path == QStringLiteral("-")) {
        return Refuse(global, QStringLiteral("--profile-out - and --format json both want standard "
                                             "output: name a FILE for the profile"));
    }
    // Standard output then holds the profile alone, so that it can be saved as it stands.
    const bool profileToOutput = profileOut && path == QStringLiteral("-");
    DeviceRunOptions options;
    options.ReportToError = profileToOutput;
    std::optional<StoredSettings> kept; // for the profile, of the one device
    Console console = ConsoleOf(global);
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
                                 .Report = StoredSettingsText(stored, StartFolderOf(global)),
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

int UpgradeStatus(const UpgradeResult& result) {
    if (result.InputError()) {
        return exitcode::InputError;
    }
    return result.Completed ? exitcode::Ok : exitcode::Failed;
}

int RunUpgradeCommand(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.size() != 1) {
        return Refuse(global, QStringLiteral("upgrade takes one FILE.fmw"));
    }
    const QString logPath = StartFolderOf(global) + QStringLiteral("log.txt");
    Console console = ConsoleOf(global, logPath);
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
        return Refuse(global, reason);
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
            DeviceOutcome outcome = ResultOutcome(UpgradeStatus(result), UpgradeResultText(result));
            outcome.Facts = UpgradeJson(result);
            return outcome;
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
    ConsoleOf(global).Print(QStringLiteral("imported %1 counties into %2").arg(rows).arg(db));
    return exitcode::Ok;
}

int RunCounties(const QCommandLineParser& parser, const GlobalOptions& global) {
    // The words of a name need no quotes.
    const QString text = parser.positionalArguments().join(u' ');
    const std::vector<CountyListing> found = CountiesContaining(StartFolderOf(global), text);
    Console console = ConsoleOf(global);
    for (const CountyListing& county : found) {
        console.Print(CountyLine(county));
    }
    if (global.Json) {
        global.Json->Set(QStringLiteral("counties"), CountiesJson(found));
    }
    if (found.empty()) {
        console.Error(ToolMessage(NoCountyText(text)));
        return exitcode::Failed;
    }
    return exitcode::Ok;
}

int UploadStatus(const UploadResult& result) {
    if (!result.Started) {
        return exitcode::InputError;
    }
    return result.Complete() ? exitcode::Ok : exitcode::Failed;
}

int RunApply(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QString folder = StartFolderOf(global);
    Console console = ConsoleOf(global, folder + QStringLiteral("log.txt"));
    Profile profile;
    if (parser.isSet(QStringLiteral("profile"))) {
        profile = ReadProfile(parser.value(QStringLiteral("profile")));
    }
    if (parser.isSet(QStringLiteral("county"))) {
        profile.County = CountyOfValue(folder, parser.value(QStringLiteral("county")), console);
    }
    if (!profile.County) {
        return Refuse(global, QStringLiteral("no county given: use --county N, or county in the "
                                             "[location] section of the profile"));
    }

    // The county is chosen as the three boxes of the window choose it.
    const QStringList provinces = ReadLines1256(folder + ProvinceFileName);
    CityDatabase db(CityDatabase::PathIn(folder));
    LocationSelection location;
    const CountySelection chosen =
        SelectCountyByIndex(location, db, *profile.County, folder, provinces);
    SettingsFields fields = profile.Fields;
    if (!profile.HasLongitude) {
        fields.Longitude = chosen.Choice.LongitudeText;
    }
    if (!profile.HasLatitude) {
        fields.Latitude = chosen.Choice.LatitudeText;
    }
    UploadInput input = UploadInputOf(fields, location, folder);
    input.Resend = profile.Resend && !parser.isSet(QStringLiteral("no-resend"));

    // Read once for every device. Bad input is reported before any port is touched, with the
    // profile key that holds it.
    const PreparedUpload upload = PrepareUpload(input, ClockNow().SolarYear);
    try {
        upload.ThrowInputError();
    } catch (const SettingsError& error) {
        const QString key = ProfileKeyOfControl(error.Control());
        throw UserError(key.isEmpty() ? error.Text()
                                      : QStringLiteral("%1 (%2)").arg(error.Text(), key));
    }

    return ServeDevices(global, console, [&](DeviceContext& device) {
        const UploadResult result = RunUpload(device.Link, device.Host, upload);
        const QString text = UploadResultText(result);
        // Refused before a block was sent, the host has said why.
        return DeviceOutcome{.Status = UploadStatus(result),
                             .Result = text,
                             .Alone = result.Started ? text.toUtf8() : QByteArray(),
                             .Facts = UploadJson(result)};
    });
}

// --format: the outcome as text (the default) or as one JSON document.
const QCommandLineOption FormatOption(
    QStringLiteral("format"),
    QStringLiteral("Print the outcome as FORMAT: text (the default), or json: one JSON document "
                   "on standard output at the end, every other line on standard error."),
    QStringLiteral("FORMAT"));

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("doctor"),
         {.Help = {.Summary = QStringLiteral(
                       "Check the set-up: the ports, their groups and the programs holding them, "
                       "ModemManager, brltty, latency timers, the udev rule, the start folder, the "
                       "fonts; one line per check."),
                   .Examples = {{QStringLiteral("muezzin-cli doctor"),
                                 QStringLiteral("Every candidate port and the rest of the set-up, "
                                                "each 'what: ok' or the problem with its remedy; "
                                                "exit status 0 when every check holds, 1 "
                                                "otherwise.")},
                                {QStringLiteral("muezzin-cli doctor --port /dev/ttyUSB0 --folder "
                                                "~/muezzin"),
                                 QStringLiteral("Only that port, and the start folder "
                                                "~/muezzin.")}}},
          .Run = RunDoctorCommand,
          .DrawsText = true}},
        {QStringLiteral("ports"),
         {.Help = {.Summary = QStringLiteral(
                       "List the candidate ports: path, description, manufacturer, USB "
                       "vendor:product, serial number, why it would not open now (tab-separated)."),
                   .Options = {{QStringLiteral("paths"),
                                QStringLiteral("Print the paths alone, one a line.")},
                               FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli ports"),
                                 QStringLiteral("Every port a search would try, with what the "
                                                "system knows of it.")},
                                {QStringLiteral("muezzin-cli ports --paths"),
                                 QStringLiteral("Their paths alone, as --port takes them.")}}},
          .Run = RunPorts}},
        {QStringLiteral("counties"),
         {.Help = {.Summary = QStringLiteral("List the counties whose names contain TEXT: index, "
                                             "province, city, county, longitude, latitude "
                                             "(tab-separated)."),
                   .Arguments = {{QStringLiteral("[TEXT]"),
                                  QStringLiteral("Part of a county's, city's or province's name "
                                                 "(every county without it); yeh and kaf in "
                                                 "either spelling, with or without the zero-width "
                                                 "non-joiner, Latin letters in any case.")}},
                   .Options = {FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli counties ورامین"),
                                 QStringLiteral("The counties of Varamin, with the index that "
                                                "apply --county takes.")},
                                {QStringLiteral("muezzin-cli counties --format json"),
                                 QStringLiteral("Every county, as one JSON document.")}}},
          .Run = RunCounties,
          .UsesStartFolder = true}},
        {QStringLiteral("find"),
         {.Help = {.Summary = QStringLiteral("Search the ports for the device; print its port and "
                                             "firmware version."),
                   .Options = {FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli find"),
                                 QStringLiteral("The first port where a device answers, and its "
                                                "firmware version.")},
                                {QStringLiteral("muezzin-cli find --all-ports"),
                                 QStringLiteral("Every device on every port, in a table.")}}},
          .Run = RunFind}},
        {QStringLiteral("clock"),
         {.Help = {.Summary = QStringLiteral("Print the PC clock as the window shows it: time, "
                                             "solar date, date text."),
                   .Examples = {{QStringLiteral("muezzin-cli clock"),
                                 QStringLiteral("What set-clock would send now.")}}},
          .Run = RunClock}},
        {QStringLiteral("set-clock"),
         {.Help = {.Summary = QStringLiteral("Set the device clock from the PC clock."),
                   .Options = {FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli set-clock --port /dev/ttyUSB0"),
                                 QStringLiteral("The device on that port gets the PC's time and "
                                                "date.")}}},
          .Run = RunSetClock}},
        {QStringLiteral("read-settings"),
         {.Help = {.Summary = QStringLiteral("Print the settings stored in the device, one 'name: "
                                             "value' a line."),
                   .Options = {{QStringLiteral("profile-out"),
                                QStringLiteral("Also write them as a profile FILE that 'apply "
                                               "--profile' takes back ('-': standard output, "
                                               "which then holds the profile alone; the settings "
                                               "go to standard error)."),
                                QStringLiteral("FILE")},
                               FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli read-settings --profile-out "
                                                "mosque.ini"),
                                 QStringLiteral("What the device holds, also as a profile for "
                                                "another.")}}},
          .Run = RunReadSettings,
          .UsesStartFolder = true}}, // the county's names come from its city database
        {QStringLiteral("upgrade"),
         {.Help = {.Summary = QStringLiteral("Replace the device's program with FILE.fmw, every "
                                             "page echoed and checked."),
                   .Arguments = {{QStringLiteral("FILE.fmw"), QStringLiteral("The upgrade file.")}},
                   .Options = {FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli upgrade new.fmw"),
                                 QStringLiteral("The device found by a search gets the program "
                                                "of new.fmw.")},
                                {QStringLiteral("muezzin-cli upgrade new.fmw --all-ports"),
                                 QStringLiteral("Every device that answers, all at once.")}}},
          .Run = RunUpgradeCommand,
          .UsesStartFolder = true}},
        {QStringLiteral("import-cities"),
         {.Help = {.Summary = QStringLiteral("Build the city database from a CSV export."),
                   .Arguments = {{QStringLiteral("FILE.csv"),
                                  QStringLiteral("The CSV file, with a header line.")},
                                 {QStringLiteral("[DB]"),
                                  QStringLiteral("The database to write (default: city.db in the "
                                                 "start folder).")}},
                   .Examples = {{QStringLiteral("muezzin-cli import-cities city.csv city.db"),
                                 QStringLiteral("city.db made anew from city.csv.")}}},
          .Run = RunImportCities}},
        {QStringLiteral("apply"),
         {.Help = {.Summary = QStringLiteral("Write the settings, ten years of timetables and the "
                                             "key table into the device, every block read back "
                                             "and checked."),
                   .Options = {{QStringLiteral("profile"),
                                QStringLiteral("Take the window's fields from the profile FILE."),
                                QStringLiteral("FILE")},
                               {QStringLiteral("county"),
                                QStringLiteral("The county: its index in the city database, or "
                                               "its name when that names one county (see "
                                               "'counties')."),
                                QStringLiteral("N|NAME")},
                               {QStringLiteral("no-resend"),
                                QStringLiteral("Write every block once, whatever its reply. By "
                                               "default a block not confirmed is sent up to "
                                               "three times, and three blocks in a row left "
                                               "unconfirmed stop the run; with this option that "
                                               "stop is off too, so a device that garbles every "
                                               "reply takes the whole run. Three attempts in a "
                                               "row without any reply still stop it.")},
                               FormatOption},
                   .Examples = {{QStringLiteral("muezzin-cli apply --county 37"),
                                 QStringLiteral("Tehran, with the window's start values.")},
                                {QStringLiteral("muezzin-cli apply --profile mosque.ini "
                                                "--all-ports"),
                                 QStringLiteral("The profile's settings into every device that "
                                                "answers, all at once.")}}},
          .Run = RunApply,
          .UsesStartFolder = true}},
    };
    return commands;
}

// Those the commands all take, before them or after them.
const QList<QCommandLineOption>& GlobalOptionList() {
    static const QList<QCommandLineOption> options = {
        {{QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help.")},
        {{QStringLiteral("V"), QStringLiteral("version")}, QStringLiteral("Show the version.")},
        {{QStringLiteral("v"), QStringLiteral("verbose")},
         QStringLiteral("Show every frame sent to the device and received from it, in "
                        "hexadecimal with the seconds since the start, on standard error ('>' "
                        "sent, '<' received).")},
        {{QStringLiteral("q"), QStringLiteral("quiet")},
         QStringLiteral("Print only the result lines and the errors: no log lines, status lines "
                        "or progress bar (log.txt still gets every log line).")},
        {QStringLiteral("port"),
         QStringLiteral("Use the serial port PATH instead of searching all ports. Given more "
                        "than once, find, set-clock, read-settings, apply and upgrade serve "
                        "every device at once."),
         QStringLiteral("PATH")},
        {QStringLiteral("all-ports"),
         QStringLiteral("Serve every device that answers on any port, all at once.")},
        {QStringLiteral("folder"),
         QStringLiteral("The start folder with the tool's files (default: the working directory "
                        "when it holds them, else the user's data folder, filled from the "
                        "installed sample)."),
         QStringLiteral("DIR")},
    };
    return options;
}

// What the program says of itself, built from the command table.
const ProgramHelp& Help() {
    static const ProgramHelp help = [] {
        ProgramHelp h;
        h.Program = QStringLiteral("muezzin-cli");
        h.Description = QStringLiteral("Configures an electronic muezzin over its serial line.");
        h.GlobalOptions = GlobalOptionList();
        for (const auto& [name, command] : Commands()) {
            h.Commands.push_back(command.Help);
            h.Commands.back().Name = name;
        }
        h.ExitStatus = {
            {QStringLiteral("0"), QStringLiteral("Everything was done and confirmed.")},
            {QStringLiteral("1"),
             QStringLiteral("Started, not all done: a block or page not confirmed, a device "
                            "that holds no settings, a listing that found nothing, a check of "
                            "doctor that does not hold.")},
            {QStringLiteral("2"),
             QStringLiteral("Nothing was done: a usage error, an input refused (no county, a "
                            "field that does not convert, a missing file) or no device "
                            "answered.")},
            {QStringLiteral("128+N"),
             QStringLiteral("Stopped by signal N: 143 for SIGTERM, 130 for SIGINT (Ctrl+C), 129 "
                            "for SIGHUP (a closed terminal). The port was released and the "
                            "log's last line names the signal.")},
        };
        h.Environment = {
            {QStringLiteral("MUEZZIN_PORTS"),
             QStringLiteral("Serial ports to search besides those the system lists, separated "
                            "by ':'; the simulator's pseudo-terminal, for instance.")},
            {QStringLiteral("MUEZZIN_PORTS_ONLY"),
             QStringLiteral("Set to 1, only the ports MUEZZIN_PORTS names are searched, none "
                            "the system lists: for a PC whose other serial ports hold a console "
                            "or a modem that must not be written to.")},
            {QStringLiteral("XDG_DATA_HOME"),
             QStringLiteral("Where the user's data folder lies (default ~/.local/share).")},
            {QStringLiteral("MUEZZIN_UDEV_RULES_DIRS"),
             QStringLiteral("The folders where doctor looks for udev's rules, separated by ':' "
                            "(default: the folders udev reads, /etc/udev/rules.d first).")},
        };
        h.Files = {
            {QStringLiteral("log.txt"),
             QStringLiteral("The event log in the start folder; apply and upgrade add their "
                            "lines to it.")},
            {QStringLiteral("ostan.txt, city.db"),
             QStringLiteral("The province list and the city database in the start folder.")},
            {QStringLiteral("encryp.key"),
             QStringLiteral("The key table that apply writes into the device.")},
            {QStringLiteral("data/"),
             QStringLiteral("The timetables that apply writes into the device, one file a "
                            "year: data/PROVINCE/CITY/COUNTY/YEAR.PTL.")},
            {QStringLiteral("*.ini"),
             QStringLiteral("Profiles: apply --profile reads one, read-settings --profile-out "
                            "writes one.")},
        };
        h.FilesIntroduction = QStringLiteral(
            "The tool's files are looked for in its start folder: the folder given with "
            "--folder; else the working directory, when it holds ostan.txt or city.db; else the "
            "user's data folder, ~/.local/share/muezzin-config, which is filled from the sample "
            "installed with the programs (/usr/share/muezzin-config/sample in the Debian "
            "package) on first use, never overwriting a file that is there.");
        h.SeeAlso = {QStringLiteral("muezzin-config(1)"), QStringLiteral("muezzin-timetable(1)"),
                     QStringLiteral("muezzin-sim(1)")};
        return h;
    }();
    return help;
}

const CommandHelp& HelpOf(const QString& name) {
    for (const CommandHelp& command : Help().Commands) {
        if (command.Name == name) {
            return command;
        }
    }
    return Help().Commands.front();
}

void PrintText(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

// What the command line asks for. Exit, when set, ends the program at once with that status: help
// was asked for, or the command line is wrong. Nothing is printed while it is read; Text and
// Errors hold what is to be said.
struct Options {
    std::optional<int> Exit;
    QString Text;       // for standard output: the help, the version or the man page's sections
    QStringList Errors; // the tool's messages, in order
    QString Name;
    const Command* Chosen = nullptr;
    std::unique_ptr<QCommandLineParser> Parser; // the command's own, with the global options
    GlobalOptions Global;
    bool Json = false; // --format json
};

Options Ended(int status, const QString& text = {}) {
    Options options;
    options.Exit = status;
    options.Text = text;
    return options;
}

Options Wrong(const QString& error) {
    Options options = Ended(exitcode::InputError);
    options.Errors.append(error);
    return options;
}

// Two names of one device (a by-id link and its ttyUSB) would be probed at once and collide: the
// device is served once, under the name given first, and each other name is said.
QStringList OncePerDevice(const QStringList& ports, QStringList& said) {
    const QStringList kept = DistinctPorts(ports);
    for (const QString& port : ports) {
        if (kept.contains(port)) {
            continue; // served, or given twice as it stands
        }
        const QString identity = PortIdentity(port);
        for (const QString& first : kept) {
            if (PortIdentity(first) == identity) {
                said.append(
                    QStringLiteral("%1 and %2 are the same device; it is served once, as %1")
                        .arg(ShownValue(first), ShownValue(port)));
            }
        }
    }
    return kept;
}

// The global options may stand before the command and after it.
GlobalOptions GlobalOptionsOf(const QCommandLineParser& top, const QCommandLineParser& parser,
                              QStringList& said) {
    GlobalOptions global;
    for (const QCommandLineParser* source : {&top, &parser}) {
        global.Ports += source->values(QStringLiteral("port"));
        global.AllPorts = global.AllPorts || source->isSet(QStringLiteral("all-ports"));
        global.Verbose = global.Verbose || source->isSet(QStringLiteral("verbose"));
        global.Quiet = global.Quiet || source->isSet(QStringLiteral("quiet"));
        if (source->isSet(QStringLiteral("folder"))) {
            global.Folder = source->value(QStringLiteral("folder"));
        }
    }
    global.Ports = OncePerDevice(global.Ports, said);
    global.Port = global.Ports.value(0);
    return global;
}

// The help or the version, when one is asked for.
std::optional<QString> TextAsked(const QCommandLineParser& parser, const QString& command) {
    if (parser.isSet(QStringLiteral("version"))) {
        return QStringLiteral("muezzin-cli %1\n").arg(QCoreApplication::applicationVersion());
    }
    if (parser.isSet(QStringLiteral("help"))) {
        return command.isEmpty() ? ProgramHelpText(Help())
                                 : CommandHelpText(Help(), HelpOf(command));
    }
    return std::nullopt;
}

Options ParseOptions(const QStringList& arguments) {
    QCommandLineParser top;
    top.addOptions(GlobalOptionList());
    // For help2man: the man page's own sections, made from the same table as the help.
    QCommandLineOption manPage(QStringLiteral("help-man"));
    manPage.setFlags(QCommandLineOption::HiddenFromHelp);
    top.addOption(manPage);
    top.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsPositionalArguments);
    if (!top.parse(arguments)) {
        return Wrong(top.errorText());
    }
    if (top.isSet(manPage)) {
        return Ended(exitcode::Ok, ManPageInclude(Help()));
    }
    if (const auto text = TextAsked(top, QString())) {
        return Ended(exitcode::Ok, *text);
    }

    const QStringList rest = top.positionalArguments();
    if (rest.isEmpty()) {
        return Wrong(QStringLiteral("no command given; see 'muezzin-cli --help'"));
    }
    const auto found = Commands().find(rest.first());
    if (found == Commands().end()) {
        return Wrong(QStringLiteral("unknown command '%1'; see 'muezzin-cli --help'")
                         .arg(ShownValue(rest.first())));
    }
    Options options;
    options.Name = found->first;
    options.Chosen = &found->second;
    options.Parser = std::make_unique<QCommandLineParser>();
    QCommandLineParser& parser = *options.Parser;
    parser.addOptions(GlobalOptionList());
    parser.addOptions(options.Chosen->Help.Options);
    QStringList commandArguments = rest;
    commandArguments.first() = QStringLiteral("muezzin-cli ") + rest.first();
    if (!parser.parse(commandArguments)) {
        return Wrong(parser.errorText());
    }
    if (const auto text = TextAsked(parser, options.Name)) {
        return Ended(exitcode::Ok, *text);
    }
    if (options.Chosen->Help.Arguments.isEmpty() && !parser.positionalArguments().isEmpty()) {
        return Wrong(QStringLiteral("unexpected argument '%1'")
                         .arg(ShownValue(parser.positionalArguments().first())));
    }
    if (const QString repeated = RepeatedOption({&top, &parser}, {QStringLiteral("port")});
        !repeated.isEmpty()) {
        return Wrong(RepeatedOptionText(repeated));
    }
    if (parser.optionNames().contains(FormatOption.names().first())) {
        const QString format = parser.value(FormatOption);
        if (format != QStringLiteral("json") && format != QStringLiteral("text")) {
            return Wrong(
                QStringLiteral("--format takes text or json, not '%1'").arg(ShownValue(format)));
        }
        options.Json = format == QStringLiteral("json");
    }
    options.Global = GlobalOptionsOf(top, parser, options.Errors);
    return options;
}

// Prints the JSON document, when one was asked for, once the command has ended.
int Reported(const std::optional<JsonReport>& report, int status) {
    if (report) {
        PrintText(QString::fromUtf8(report->Document(status)));
    }
    return status;
}

int Run(const Options& options) {
    const Command& command = *options.Chosen;
    GlobalOptions global = options.Global;
    std::optional<JsonReport> report;
    if (options.Json) {
        report.emplace(options.Name);
        global.Json = &*report;
    }
    StartFolderChoice start;
    if (command.UsesStartFolder) {
        start = ChooseStartFolderOf(global.Folder);
        global.Folder = start.Folder;
    }
    try {
        int status = command.Run(*options.Parser, global);
        if (const int signal = StopSignal()) {
            PrintError(QStringLiteral("stopped by %1").arg(StopSignalName(signal)));
            status = StopExitStatus(signal);
        }
        return Reported(report, status);
    } catch (const UserError& error) {
        PrintError(error.Text());
        // A file of the start folder is missing: maybe the folder is not the one meant.
        if (command.UsesStartFolder && start.Problem.isEmpty() &&
            error.Text().contains(QDir::toNativeSeparators(start.Folder))) {
            PrintError(FolderHint(start));
        }
        if (report) {
            report->SetError(error.Text());
        }
        return Reported(report, exitcode::InputError);
    }
}

// The doctor checks fonts, which need a QGuiApplication; it needs no display.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[], bool drawsText) {
    if (drawsText) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Whether the command line names a command that draws text, read silently from the arguments
// as they come, before the application object exists: enough for the command's name, which is
// ASCII in any code page.
bool DrawsText(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const Options options = ParseOptions(arguments);
    return !options.Exit && options.Chosen->DrawsText;
}

} // namespace

int main(int argc, char* argv[]) {
    HoldClosedStandardStreams();
    InstallStopSignals();
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    const std::unique_ptr<QCoreApplication> app =
        MakeApplication(argc, argv, DrawsText(argc, argv));
    // Read as the application object hands them over: on Windows from the wide command line, so
    // that a Persian name or path is not lost to the ANSI code page.
    const Options options = ParseOptions(QCoreApplication::arguments());
    PrintText(options.Text);
    for (const QString& error : options.Errors) {
        PrintError(error);
    }
    return FlushedOutputStatus(options.Exit ? *options.Exit : Run(options), "muezzin-cli");
}
