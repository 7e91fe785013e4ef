// The commands that need no device: the set-up's checks, the ports, the counties, the PC
// clock, the city database.
#include "calendar/CalendarClock.h"
#include "comm/PortInfo.h"
#include "comm/PortProblems.h"
#include "device/ClockCommands.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "tools/cli/CommandTable.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Doctor.h"

#include <ctime>
#include <vector>

int RunDoctorCommand(const QCommandLineParser& parser, const GlobalOptions& global) {
    return RunDoctor(NamedPorts(global.Ports), global.Folder,
                     parser.isSet(CountyOption()) ? parser.value(CountyOption()) : QString());
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
    Console console = CommandConsole(global);
    for (const PortDetails& port : ports) {
        console.Print(pathsOnly ? port.Path : PortDetailsLine(port));
    }
    if (global.Json) {
        global.Json->Set(QStringLiteral("ports"), PortsJson(ports));
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
        console.Error(ToolMessage(NoCountyText(text)));
        return exitcode::Failed;
    }
    return exitcode::Ok;
}

int RunClock(const QCommandLineParser&, const GlobalOptions& global) {
    CalendarClock clock;
    ReadClock(clock);
    ToSolarDate(clock);
    Console console = CommandConsole(global);
    if (const QString zone = ZoneProblemText(CheckPcZone(std::time(nullptr))); !zone.isEmpty()) {
        console.Error(ToolMessage(zone));
    }
    console.Print(QStringLiteral("%1\n%2\n%3")
                      .arg(QString::fromStdString(ClockTimeText(clock)),
                           QString::fromStdString(SolarDateText(clock)),
                           QString::fromLatin1(clock.DateText.data())));
    return exitcode::Ok;
}

int RunImportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        PrintError(QStringLiteral("import-cities takes FILE.csv and, optionally, the database"));
        return exitcode::InputError;
    }
    const QString db = files.size() == 2
                           ? files[1]
                           : CityDatabase::PathIn(ChooseStartFolderAndWarn(global.Folder).Folder);
    const int rows = ImportCitiesCsv(files[0], db);
    CommandConsole(global).Print(QStringLiteral("imported %1 counties into %2").arg(rows).arg(db));
    return exitcode::Ok;
}
