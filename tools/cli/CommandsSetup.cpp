// The commands that need no device: the set-up's checks, the ports, the counties, the PC
// clock, the city database, the help.
#include "calendar/CalendarClock.h"
#include "comm/PortInfo.h"
#include "comm/PortProblems.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "tools/cli/CommandTable.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Doctor.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonObject>
#include <cstdio>
#include <ctime>
#include <optional>
#include <vector>

int RunDoctorCommand(const QCommandLineParser& parser, const GlobalOptions& global) {
    return RunDoctor(NamedPorts(global.Ports), global.Folder,
                     parser.isSet(CountyOption()) ? parser.value(CountyOption()) : QString(),
                     global.Json);
}

namespace {

// Why the port would not open now, or which other programs have it open (port-shared): told
// without opening it, which would move its modem lines.
Problem PortProblemOf(const QString& port) {
    const PortProblem problem = CheckPort(port);
    if (problem.Error != 0) {
        return problem.AsProblem();
    }
    const std::vector<PortHolder> holders = PortHolders(port);
    return holders.empty() ? Problem() : AlsoOpen(port, holders);
}

// A line of the plain listing: a name holding a line break or a tab keeps its line and its
// column, written as an escape.
QString ShownPortLine(PortDetails port, bool pathOnly) {
    if (pathOnly) {
        return EscapedText(port.Path);
    }
    for (QString* field :
         {&port.Path, &port.Description, &port.Manufacturer, &port.SerialNumber, &port.Problem}) {
        *field = EscapedText(*field);
    }
    return PortDetailsLine(port);
}

} // namespace

int RunPorts(const QCommandLineParser& parser, const GlobalOptions& global) {
    const bool pathsOnly = parser.isSet(QStringLiteral("paths"));
    std::vector<PortDetails> ports = DetailsOfPorts(NamedPorts(global.Ports));
    std::vector<Problem> problems;
    for (PortDetails& port : ports) {
        const Problem problem = pathsOnly ? Problem() : PortProblemOf(port.Path);
        problems.push_back(problem);
        port.Problem = problem.IsEmpty() ? QString() : ProblemText(problem, CommandLineWording());
    }
    Console console = CommandConsole(global);
    for (const PortDetails& port : ports) {
        console.Print(ShownPortLine(port, pathsOnly));
    }
    if (global.Json) {
        global.Json->Set(QStringLiteral("ports"), PortsJson(ports, problems));
    }
    return exitcode::Ok;
}

int RunCounties(const QCommandLineParser& parser, const GlobalOptions& global) {
    // The words of a name need no quotes.
    const QString text = parser.positionalArguments().join(u' ');
    const std::vector<CountyListing> found = CountiesContaining(StartFolderPath(global), text);
    Console console = CommandConsole(global);
    for (const CountyListing& county : found) {
        console.Print(CountyLine(county));
    }
    if (global.Json) {
        global.Json->Set(QStringLiteral("counties"), CountiesJson(found));
    }
    if (found.empty()) {
        // A listing that found nothing: said, and the exit status of a run that found nothing.
        const Problem none = NoCountyProblem(text, QStringLiteral("listing"));
        console.Say(none);
        if (global.Json) {
            global.Json->SetProblem(none);
        }
        return exitcode::Failed;
    }
    return exitcode::Ok;
}

int RunClock(const QCommandLineParser&, const GlobalOptions& global) {
    CalendarClock clock;
    ReadClock(clock);
    ToSolarDate(clock);
    const QString time = QString::fromStdString(ClockTimeText(clock));
    const QString solarDate = QString::fromStdString(SolarDateText(clock));
    const QString dateText = QString::fromLatin1(clock.DateText.data());
    Console console = CommandConsole(global);
    // The PC's wall clock may be right in a wrong zone: said, and the clock shown all the same.
    if (const Problem zone = ZoneProblem(CheckPcZone(std::time(nullptr))); !zone.IsEmpty()) {
        console.Say(zone);
    }
    console.Print(QStringLiteral("%1\n%2\n%3").arg(time, solarDate, dateText));
    if (global.Json) {
        global.Json->Set(QStringLiteral("clock"),
                         QJsonObject{{QStringLiteral("time"), time},
                                     {QStringLiteral("solar_date"), solarDate},
                                     {QStringLiteral("date_text"), dateText},
                                     {QStringLiteral("daylight_saving"), clock.DaylightSaving}});
    }
    return exitcode::Ok;
}

namespace {

// "Cannot import c.csv: no province list to check its Parts1_index against: neither ... nor ...
// exists" (import-refused).
Problem NoProvinceList(const QString& csvPath, const QStringList& looked) {
    QStringList shown;
    for (const QString& path : looked) {
        shown.append(QDir::toNativeSeparators(path));
    }
    Problem problem(QStringLiteral("import-refused"), shown.size() == 1
                                                          ? QStringLiteral("no-province-list")
                                                          : QStringLiteral("no-province-lists"));
    return problem.Set(QStringLiteral("path"), csvPath)
        .Set(QStringLiteral("column"), QString::fromLatin1(citycolumn::Province))
        .Set(QStringLiteral("list"), shown.value(0))
        .Set(QStringLiteral("other_list"), TextOrNull(shown.value(1)))
        .Set(QStringLiteral("file"), ProvinceFileName);
}

// The province list the rows are checked against: the one beside the database, which it will be
// read with; else the start folder's.
QString ProvinceListFor(const QString& csvPath, const QString& db,
                        const std::optional<StartFolderChoice>& start, const QString& flag) {
    const QString beside = QFileInfo(db).absoluteDir().filePath(ProvinceFileName);
    if (QFileInfo::exists(beside)) {
        return beside;
    }
    const QString folder = start ? start->Folder : ChooseStartFolderAndWarn(flag).Folder;
    const QString inStart = QDir(folder).filePath(ProvinceFileName);
    if (QFileInfo::exists(inStart)) {
        return inStart;
    }
    QStringList looked{beside};
    if (QDir::cleanPath(inStart) != QDir::cleanPath(beside)) {
        looked.append(inStart);
    }
    throw UserError(NoProvinceList(csvPath, looked));
}

// "imported 53 counties into city.db, their provinces those of /x/ostan.txt".
QString ImportedText(int rows, const QString& db, const QString& provinces) {
    return QStringLiteral("imported %1 counties into %2, their provinces those of %3")
        .arg(rows)
        .arg(db, QDir::toNativeSeparators(provinces));
}

} // namespace

int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("import-arguments")));
    }
    std::optional<StartFolderChoice> start;
    if (files.size() < 2) {
        start = ChooseStartFolderAndWarn(global.Folder);
    }
    const QString db = files.size() == 2 ? files[1] : CityDatabase::PathIn(start->Folder);
    const QString provinces = ProvinceListFor(files[0], db, start, global.Folder);
    const int rows = ImportCitiesCsv(files[0], db, provinces);
    CommandConsole(global).Print(ImportedText(rows, db, provinces));
    if (global.Json) {
        global.Json->Set(
            QStringLiteral("imported"),
            QJsonObject{{QStringLiteral("counties"), rows},
                        {QStringLiteral("database"), db},
                        {QStringLiteral("provinces"), QDir::toNativeSeparators(provinces)}});
    }
    return exitcode::Ok;
}

int RunHelp(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList words = parser.positionalArguments();
    if (words.size() > 1) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("help-arguments"))
                                 .Set(QStringLiteral("argument"), ShownValue(words.join(u' '))));
    }
    QString text;
    if (words.isEmpty()) {
        text = ProgramHelpText(CliHelp());
    } else if (CommandTable().contains(words.first())) {
        text = CommandHelpText(CliHelp(), CommandHelpOf(words.first()));
    } else {
        return RefuseCommand(global, UnknownCommand(words.first()));
    }
    if (global.Json) {
        global.Json->Set(QStringLiteral("help"), text);
    } else {
        std::fputs(text.toUtf8().constData(), stdout);
    }
    return exitcode::Ok;
}

int RunExportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("export-arguments")));
    }
    const bool toOutput = files[0] == QStringLiteral("-");
    if (toOutput && global.Json) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("export-json")));
    }
    const QString path = files.size() == 2
                             ? files[1]
                             : CityDatabase::PathIn(ChooseStartFolderAndWarn(global.Folder).Folder);
    CityDatabase db(path);
    const std::vector<CityRow> rows = db.AllRows();
    const QByteArray csv = CityCsvText(rows);
    if (toOutput) {
        std::fwrite(csv.constData(), 1, static_cast<std::size_t>(csv.size()), stdout);
        return exitcode::Ok;
    }
    SaveBytes(files[0], csv);
    CommandConsole(global).Print(QStringLiteral("exported %1 counties from %2 into %3")
                                     .arg(rows.size())
                                     .arg(path, files[0]));
    if (global.Json) {
        global.Json->Set(QStringLiteral("exported"),
                         QJsonObject{{QStringLiteral("counties"), static_cast<qint64>(rows.size())},
                                     {QStringLiteral("database"), path},
                                     {QStringLiteral("file"), files[0]}});
    }
    return exitcode::Ok;
}
