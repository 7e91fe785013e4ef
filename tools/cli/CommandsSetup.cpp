// The commands that need no device: the set-up's checks, the ports, the counties, the PC
// clock, the city database.
#include "calendar/CalendarClock.h"
#include "comm/PortInfo.h"
#include "comm/PortProblems.h"
#include "common/TextFiles.h"
#include "location/CityDatabase.h"
#include "location/CityImport.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/Doctor.h"

#include <cstdio>
#include <vector>

int RunDoctorCommand(const QCommandLineParser&, const GlobalOptions& global) {
    return RunDoctor(NamedPorts(global.Ports), global.Folder);
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

int RunExportCities(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QStringList files = parser.positionalArguments();
    if (files.isEmpty() || files.size() > 2) {
        PrintError(QStringLiteral("export-cities takes FILE.csv ('-': standard output) and, "
                                  "optionally, the database"));
        return exitcode::InputError;
    }
    const QString path = files.size() == 2
                             ? files[1]
                             : CityDatabase::PathIn(ChooseStartFolderAndWarn(global.Folder).Folder);
    CityDatabase db(path);
    const std::vector<CityRow> rows = db.AllRows();
    const QByteArray csv = CityCsvText(rows);
    if (files[0] == QStringLiteral("-")) {
        std::fwrite(csv.constData(), 1, static_cast<std::size_t>(csv.size()), stdout);
        return exitcode::Ok;
    }
    SaveBytes(files[0], csv);
    CommandConsole(global).Print(QStringLiteral("exported %1 counties from %2 into %3")
                                     .arg(rows.size())
                                     .arg(path, files[0]));
    return exitcode::Ok;
}
