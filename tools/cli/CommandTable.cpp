// The command table: each command's name, help texts, options and body, and the program's help
// made from it.
#include "tools/cli/CommandTable.h"

#include "common/ShownText.h"
#include "tools/cli/Commands.h"

const QCommandLineOption& FormatOption() {
    static const QCommandLineOption option(
        QStringLiteral("format"),
        QStringLiteral("Print the outcome as FORMAT: text (the default), or json: one JSON "
                       "document on standard output at the end, for every command and every "
                       "exit status, with each problem's kind; standard error then carries "
                       "only problems and warnings."),
        QStringLiteral("FORMAT"));
    return option;
}

const QCommandLineOption& CountyOption() {
    static const QCommandLineOption option(
        QStringLiteral("county"),
        QStringLiteral("The county: its index in the city database, in Persian, Arabic or Latin "
                       "digits (۳۷ is 37), or its name when that names one county, typed as "
                       "'counties' takes it."),
        QStringLiteral("N|NAME"));
    return option;
}

const std::map<QString, Command>& CommandTable() {
    static const std::map<QString, Command> commands = {
        {QStringLiteral("doctor"),
         {.Help = {.Summary = QStringLiteral(
                       "Check the set-up: the ports, their groups and the programs holding them, "
                       "ModemManager, brltty, latency timers, the udev rule, the start folder and "
                       "its files (the city database read as apply reads it, log.txt and data/ "
                       "tried for writing, nothing changed), the counties' coordinates, the "
                       "fonts, the PC's time zone; one line per check, then a count. With "
                       "--county, also which of the ten timetable years of an apply the data "
                       "folder holds and which an apply will compute."),
                   .Options = {CountyOption()},
                   .Examples = {{QStringLiteral("muezzin-cli doctor"),
                                 QStringLiteral("Every candidate port and the rest of the set-up, "
                                                "each '[ ok ] what: ok' or '[FAIL] what: ' with "
                                                "the problem and its remedy; exit status 0 when "
                                                "every check holds, 1 otherwise.")},
                                {QStringLiteral("muezzin-cli doctor --port /dev/ttyUSB0 --folder "
                                                "~/muezzin"),
                                 QStringLiteral("Only that port, and the start folder "
                                                "~/muezzin.")},
                                {QStringLiteral("muezzin-cli doctor --county 37"),
                                 QStringLiteral("Also the timetable years of Tehran.")}}},
          .Run = RunDoctorCommand,
          .DrawsText = true}},
        {QStringLiteral("ports"),
         {.Help = {.Summary = QStringLiteral(
                       "List the candidate ports: path, description, manufacturer, USB "
                       "vendor:product, serial number, why it would not open now, told without "
                       "opening it (tab-separated; a tab or line break in a name is written "
                       "\\t, \\n)."),
                   .Options = {{QStringLiteral("paths"),
                                QStringLiteral("Print the paths alone, one a line.")}},
                   .Examples = {{QStringLiteral("muezzin-cli ports"),
                                 QStringLiteral("Every port a search would try, with what the "
                                                "system knows of it.")},
                                {QStringLiteral("muezzin-cli ports --paths"),
                                 QStringLiteral("Their paths alone, as --port takes them.")}}},
          .Run = RunPorts}},
        {QStringLiteral("counties"),
         {.Help = {.Summary = QStringLiteral("List the counties whose names contain TEXT: index, "
                                             "province, city, county, longitude, latitude and, "
                                             "where the point is the county's centre rather "
                                             "than its seat, 'approximate' (tab-separated)."),
                   .Arguments = {{QStringLiteral("[TEXT]"),
                                  QStringLiteral("Part of a county's, city's or province's name "
                                                 "(every county without it), typed as it comes: "
                                                 "yeh and kaf in either spelling, alef with or "
                                                 "without madda or hamza (اران finds آران), waw "
                                                 "and yeh with or without hamza, with or without "
                                                 "blanks and zero-width non-joiners between the "
                                                 "words, Persian, Arabic or Latin digits, Latin "
                                                 "letters in any case.")}},
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
                   .Examples = {{QStringLiteral("muezzin-cli find"),
                                 QStringLiteral("The first port where a device answers, and its "
                                                "firmware version.")},
                                {QStringLiteral("muezzin-cli find --all-ports"),
                                 QStringLiteral("Every device on every port, in a table.")}}},
          .Run = RunFind}},
        {QStringLiteral("clock"),
         {.Help = {.Summary = QStringLiteral(
                       "Print the PC clock as the window shows it and set-clock sends it: the "
                       "time (the PC's local time, an hour less while the PC's time zone keeps "
                       "daylight saving), the solar date, and the PC's own date text; and what is "
                       "wrong with the PC's time zone, if anything."),
                   .Examples = {{QStringLiteral("muezzin-cli clock"),
                                 QStringLiteral("The time and date set-clock would send now.")}}},
          .Run = RunClock}},
        {QStringLiteral("set-clock"),
         {.Help = {.Summary = QStringLiteral(
                       "Set the device clock from the PC clock, as 'clock' shows it. A PC time "
                       "zone other than Iran's is noted; the clock is set all the same."),
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
                                QStringLiteral("FILE")}},
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
                   .Examples = {{QStringLiteral("muezzin-cli upgrade new.fmw"),
                                 QStringLiteral("The device found by a search gets the program "
                                                "of new.fmw.")},
                                {QStringLiteral("muezzin-cli upgrade new.fmw --all-ports"),
                                 QStringLiteral("Every device that answers, all at once.")}}},
          .Run = RunUpgradeCommand,
          .UsesStartFolder = true}},
        {QStringLiteral("timetable"),
         {.Help = {.Summary = QStringLiteral(
                       "Print a county's prayer times of one solar year as the device gets them: "
                       "decoded from the timetable file apply would send, which is computed "
                       "first when the data folder lacks it. One line per day: solar date, "
                       "Gregorian date, dawn, sunrise, noon, sunset, maghrib, in Iran Standard "
                       "Time (UTC+03:30), under a header with the county, its coordinates and "
                       "the method. --format json gives the document with the county, its "
                       "coordinates, the method, the time zone and each of the 366 days the "
                       "file holds; --format csv one line per day with a line of heads, for a "
                       "spreadsheet."),
                   .Options = {CountyOption(),
                               {QStringLiteral("year"),
                                QStringLiteral("The solar year (default: the current one)."),
                                QStringLiteral("YEAR")}},
                   .Examples = {{QStringLiteral("muezzin-cli timetable --county 37"),
                                 QStringLiteral("Tehran's times of this solar year.")},
                                {QStringLiteral("muezzin-cli timetable --county ۳۷ --year ۱۴۰۶ "
                                                "--format csv > tehran.csv"),
                                 QStringLiteral("Those of 1406, for a spreadsheet; numbers may "
                                                "be typed in Persian digits.")}}},
          .Run = RunTimetable,
          .UsesStartFolder = true,
          .Formats = {QStringLiteral("text"), QStringLiteral("json"), QStringLiteral("csv")}}},
        {QStringLiteral("help"),
         {.Help = {.Summary = QStringLiteral("Show the help of COMMAND, as 'muezzin-cli COMMAND "
                                             "--help' does; without COMMAND, the program's help."),
                   .Arguments = {{QStringLiteral("[COMMAND]"),
                                  QStringLiteral(
                                      "A command, as 'muezzin-cli --help' lists them.")}},
                   .Examples = {{QStringLiteral("muezzin-cli help apply"),
                                 QStringLiteral("The options and examples of apply.")}}},
          .Run = RunHelp}},
        {QStringLiteral("import-cities"),
         {.Help = {.Summary = QStringLiteral("Build the city database from a CSV export."),
                   .Arguments = {{QStringLiteral("FILE.csv"),
                                  QStringLiteral("The CSV file, with a header line naming its "
                                                 "columns: Parts1_index (the province's line of "
                                                 "ostan.txt), Parts2_index (city), Parts3_index "
                                                 "(county), CountryParts2 (city name), "
                                                 "CountryParts3 (county name), Longitude, "
                                                 "Latitude and, if wanted, Approximate (1 where "
                                                 "the point is the county's centre, not its "
                                                 "seat).")},
                                 {QStringLiteral("[DB]"),
                                  QStringLiteral("The database to write (default: city.db in the "
                                                 "start folder).")}},
                   .Examples = {{QStringLiteral("muezzin-cli import-cities city.csv city.db"),
                                 QStringLiteral("city.db made anew from city.csv.")}}},
          .Run = RunImportCities}},
        {QStringLiteral("export-cities"),
         {.Help = {.Summary = QStringLiteral(
                       "Write the city database as a CSV file that import-cities takes back: to "
                       "correct a county's coordinates or names, edit the file and import it."),
                   .Arguments = {{QStringLiteral("FILE.csv"),
                                  QStringLiteral("The CSV file to write ('-': standard output).")},
                                 {QStringLiteral("[DB]"),
                                  QStringLiteral("The database to read (default: city.db in the "
                                                 "start folder).")}},
                   .Examples = {{QStringLiteral("muezzin-cli export-cities city.csv"),
                                 QStringLiteral("Every county, one a line, in city.csv; after "
                                                "editing, 'muezzin-cli import-cities city.csv' "
                                                "makes city.db anew from it.")}}},
          .Run = RunExportCities}},
        {QStringLiteral("apply"),
         {.Help = {.Summary = QStringLiteral("Write the settings, ten years of timetables and the "
                                             "key table into the device, every block read back "
                                             "and checked."),
                   .Options = {{QStringLiteral("profile"),
                                QStringLiteral("Take the window's fields from the profile FILE."),
                                QStringLiteral("FILE")},
                               CountyOption(),
                               {QStringLiteral("no-resend"),
                                QStringLiteral("Write every block once, whatever its reply. By "
                                               "default a block not confirmed is sent up to "
                                               "three times, and three blocks in a row left "
                                               "unconfirmed stop the run; with this option that "
                                               "stop is off too, so a device that garbles every "
                                               "reply takes the whole run. Three attempts in a "
                                               "row without any reply still stop it.")}},
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
        FormatOption(),
    };
    return options;
}

const ProgramHelp& CliHelp() {
    static const ProgramHelp help = [] {
        ProgramHelp h;
        h.Program = QStringLiteral("muezzin-cli");
        h.Description = QStringLiteral("Configures an electronic muezzin over its serial line.");
        h.GlobalOptions = GlobalOptionList();
        for (const auto& [name, command] : CommandTable()) {
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
                            "by ':' (';' on Windows); the simulator's pseudo-terminal, for "
                            "instance. A separator inside a name is written with a backslash "
                            "before it: '\\:' in a /dev/serial/by-path name.")},
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
                            "year: data/PROVINCE/CITY/COUNTY/YEAR.PTL; a year missing is "
                            "computed from the county's coordinates and saved there first.")},
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

Problem UnknownCommand(const QString& name) {
    return Problem(QStringLiteral("usage"), QStringLiteral("unknown-command"))
        .Set(QStringLiteral("command"), ShownValue(name));
}

const CommandHelp& CommandHelpOf(const QString& name) {
    for (const CommandHelp& command : CliHelp().Commands) {
        if (command.Name == name) {
            return command;
        }
    }
    return CliHelp().Commands.front();
}
