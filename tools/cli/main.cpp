// muezzin-cli: the device operations from a terminal.
#include "comm/Discovery.h"
#include "device/ClockCommands.h"
#include "device/Profile.h"
#include "device/Upgrade.h"
#include "device/Upload.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "location/LocationSelection.h"
#include "location/TextFiles.h"
#include "location/UserError.h"
#include "tools/cli/CliHost.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cerrno>
#include <cstdio>
#include <functional>
#include <map>

namespace {

constexpr int ExitOk = 0;
constexpr int ExitIncomplete = 1;
constexpr int ExitInputError = 2;

struct GlobalOptions {
    QString Port;   // empty: search as the window does
    QString Folder; // the start folder
};

struct Command {
    QString Summary;
    std::function<void(QCommandLineParser&)> AddOptions;
    std::function<int(const QCommandLineParser&, const GlobalOptions&)> Run;
    bool TakesArguments = false;
};

void PrintError(const QString& text) {
    std::fprintf(stderr, "muezzin-cli: %s\n", qPrintable(text));
}

void InstallNotifier(CommLink& link) {
    link.Notify = [](const QString& text, const QString& caption) {
        PrintError(QStringLiteral("%1 (%2)").arg(text, caption));
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

int RunPorts(const QCommandLineParser&, const GlobalOptions& global) {
    CommLink link;
    ListCandidates(link, global);
    for (const QString& port : std::as_const(link.PortNames)) {
        std::printf("%s\n", qPrintable(port));
    }
    return ExitOk;
}

// Searches as the window does (or tries the one port given); says why when nothing answers.
bool ConnectDevice(CommLink& link, const GlobalOptions& global) {
    InstallNotifier(link);
    ListCandidates(link, global);
    DiscoveryState state;
    FindDevice(link, state);
    for (const PortProblem& problem : state.Problems) {
        if (problem.Error == EACCES) { // the box text alone does not say what to do
            PrintError(problem.Describe());
        }
    }
    if (!link.Connected) {
        PrintError(QStringLiteral("no device answered on %1 port(s)").arg(link.PortNames.size()));
    }
    return link.Connected;
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

int RunFind(const QCommandLineParser&, const GlobalOptions& global) {
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
    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    CalendarClock clock = ClockNow(); // decides daylight saving for the sample that is sent
    SetDeviceClock(link, clock);
    ReleaseDevice(link);
    std::printf("set the device clock to %04d-%02u-%02u %02u:%02u:%02u%s\n", clock.Year,
                unsigned{clock.Month}, unsigned{clock.Day}, unsigned{clock.Hour},
                unsigned{clock.Minute}, unsigned{clock.Second},
                clock.DaylightSaving ? " (standard time: daylight saving is on)" : "");
    return ExitOk;
}

int RunReadSettings(const QCommandLineParser& parser, const GlobalOptions& global) {
    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    const std::optional<SettingsBlock> block = ReadStoredSettings(link);
    const std::uint32_t received = link.BytesRead;
    ReleaseDevice(link);
    if (!block) {
        PrintError(QStringLiteral("the device did not send its settings whole (%1 of 134 bytes)")
                       .arg(received));
        return ExitIncomplete;
    }
    const StoredSettings stored = DecodeSettingsBlock(*block);
    std::printf("province: %d\n", stored.ProvinceIndex);
    QStringList years;
    for (const int year : stored.TimetableYears) {
        years.append(QString::number(year));
    }
    std::printf("timetable_years: %s\n", qPrintable(years.join(u' ')));
    QStringList glyphs;
    for (const std::uint8_t code : stored.GlyphCodes) {
        glyphs.append(QStringLiteral("%1").arg(code, 2, 16, QChar(u'0')).toUpper());
    }
    std::printf("display_glyphs: %s\n", qPrintable(glyphs.join(u' ')));
    for (const ProfileEntry& entry : ProfileEntries(stored.Fields, stored.CountyIndex)) {
        std::printf("%s.%s: %s\n", qPrintable(entry.Section), qPrintable(entry.Key),
                    entry.Value.toUtf8().constData());
    }
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
    const FirmwareImage image = ReadFirmwareFile(files[0]);
    if (image.Status != FirmwareFileStatus::Read) {
        PrintError(image.Status == FirmwareFileStatus::Short
                       ? QStringLiteral("%1 holds %2 bytes: an upgrade file holds at least %3")
                             .arg(files[0])
                             .arg(image.FileArea.size())
                             .arg(FirmwareFileAreaSize)
                       : image.Problem);
        return ExitInputError;
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
    CliHost host(clock, StartFolderOf(global) + QStringLiteral("log.txt"));
    const UpgradeResult result =
        RunUpgrade(link, host, files[0], RecoveryPortName(link, link.PortNames, global.Port));
    ReleaseDevice(link);
    if (result.InputError()) {
        return ExitInputError;
    }
    return result.Completed ? ExitOk : ExitIncomplete;
}

int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        PrintError(QStringLiteral("import-cities takes FILE.csv and, optionally, the database"));
        return ExitInputError;
    }
    const QString db = files.size() == 2 ? files[1] : CityDatabase::PathIn(StartFolderOf(global));
    const int rows = ImportCitiesCsv(files[0], db);
    std::printf("imported %d counties into %s\n", rows, qPrintable(db));
    return ExitOk;
}

int RunApply(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QString folder = StartFolderOf(global);
    Profile profile;
    if (parser.isSet(QStringLiteral("profile"))) {
        profile = ReadProfile(parser.value(QStringLiteral("profile")));
    }
    if (parser.isSet(QStringLiteral("county"))) {
        bool ok = false;
        profile.County = parser.value(QStringLiteral("county")).toInt(&ok);
        if (!ok) {
            PrintError(QStringLiteral("'%1' is not a county index")
                           .arg(parser.value(QStringLiteral("county"))));
            return ExitInputError;
        }
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

    CommLink link;
    if (!ConnectDevice(link, global)) {
        return ExitInputError;
    }
    CliHost host(clock, folder + QStringLiteral("log.txt"));
    const UploadResult result = RunUpload(link, clock, host, input);
    ReleaseDevice(link);
    if (!result.Started) {
        return ExitInputError;
    }
    return result.Complete() ? ExitOk : ExitIncomplete;
}

const std::map<QString, Command>& Commands() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("ports"),
         {QStringLiteral("List the candidate serial ports, one a line, as the search sees them."),
          {},
          RunPorts}},
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
          RunUpgradeCommand, true}},
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
                                QStringLiteral("The county's index in the city database."),
                                QStringLiteral("N")});
          },
          RunApply}},
    };
    return commands;
}

void AddGlobalOptions(QCommandLineParser& parser) {
    parser.addOption({QStringLiteral("port"),
                      QStringLiteral("Use the serial port PATH instead of searching all ports."),
                      QStringLiteral("PATH")});
    parser.addOption({QStringLiteral("folder"),
                      QStringLiteral("The start folder with the tool's files (default: the "
                                     "working directory)."),
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
        if (source->isSet(QStringLiteral("port"))) {
            global.Port = source->value(QStringLiteral("port"));
        }
        if (source->isSet(QStringLiteral("folder"))) {
            global.Folder = source->value(QStringLiteral("folder"));
        }
    }
    if (global.Folder.isEmpty()) {
        global.Folder = QDir::currentPath();
    }
    try {
        return command.Run(parser, global);
    } catch (const UserError& error) {
        PrintError(error.Text());
        return ExitInputError;
    }
}
