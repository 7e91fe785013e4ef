// The commands that need no device: the set-up's checks, the ports, the counties, the PC
// clock, the city database.
#include "calendar/CalendarClock.h"
#include "comm/PortInfo.h"
#include "comm/PortProblems.h"
#include "common/Translation.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Doctor.h"

#include <QJsonObject>
#include <vector>

int RunDoctorCommand(const QCommandLineParser&, const GlobalOptions& global) {
    return RunDoctor(NamedPorts(global.Ports), global.Folder, global.Json);
}

int RunPorts(const QCommandLineParser& parser, const GlobalOptions& global) {
    const bool pathsOnly = parser.isSet(QStringLiteral("paths"));
    std::vector<PortDetails> ports = DetailsOfPorts(NamedPorts(global.Ports));
    std::vector<Problem> problems;
    for (PortDetails& port : ports) {
        const PortProblem problem = pathsOnly ? PortProblem{} : CheckPort(port.Path);
        problems.push_back(problem.Error != 0 ? problem.AsProblem() : Problem());
        port.Problem =
            problem.Error != 0 ? ProblemText(problems.back(), CommandLineWording()) : QString();
    }
    Console console = CommandConsole(global);
    for (const PortDetails& port : ports) {
        console.Print(pathsOnly ? port.Path : PortDetailsLine(port));
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

int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("usage"), QStringLiteral("import-arguments")));
    }
    const QString db = files.size() == 2
                           ? files[1]
                           : CityDatabase::PathIn(ChooseStartFolderAndWarn(global.Folder).Folder);
    const int rows = ImportCitiesCsv(files[0], db);
    CommandConsole(global).Print(QStringLiteral("imported %1 counties into %2").arg(rows).arg(db));
    if (global.Json) {
        global.Json->Set(QStringLiteral("imported"), QJsonObject{{QStringLiteral("counties"), rows},
                                                                 {QStringLiteral("database"), db}});
    }
    return exitcode::Ok;
}
