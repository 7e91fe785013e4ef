// muezzin-timetable: writes the prayer timetable files of counties from their coordinates.
#include "calendar/CalendarClock.h"
#include "common/CommandLine.h"
#include "common/ConsoleOutput.h"
#include "common/ExitCodes.h"
#include "common/ShownText.h"
#include "common/StandardStreams.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "location/CityDatabase.h"
#include "location/StartFolder.h"
#include "prayer/PrayerTimes.h"
#include "prayer/TimetableFile.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <optional>
#include <vector>

namespace {

constexpr int FirstYear = 1300; // the device counts its years from here, in one byte
constexpr int LastYear = 1555;
constexpr int MostYears = 100;

void Fail(const QString& text) {
    std::fprintf(stderr, "muezzin-timetable: %s\n", text.toUtf8().constData());
}

// An option that takes a whole number, in Latin or Persian digits.
TableOption NumberOption(const QCommandLineOption& option, int& target) {
    return {option, [name = option.names().first(), &target](const QString& text) {
                const std::optional<int> number = WholeNumberOf(text);
                target = number.value_or(0);
                return number ? QString()
                              : QStringLiteral("--%1 takes a whole number, not '%2'")
                                    .arg(name, ShownValue(text));
            }};
}

// The folder the tool reads a county's timetables from, under the start folder.
QString CountyFolder(const QString& startFolder, const CityRow& row) {
    return QStringLiteral("%1data/%2/%3/%4/")
        .arg(startFolder)
        .arg(row.Province)
        .arg(row.City)
        .arg(row.County);
}

struct Options {
    std::optional<int> Exit; // ends the program at once: help shown, or a usage error said
    QString Folder;          // as given; empty: chosen as the other tools choose it
    bool All = false;
    int County = 0;
    int From = 0;
    int Years = 10;
};

Options Ended(int status) {
    Options options;
    options.Exit = status;
    return options;
}

// The years asked for, which the device must be able to hold; refused ones have been said.
Options YearsChecked(Options options) {
    const int from = options.From;
    const int years = options.Years;
    // Each bound on its own first, so that no sum below can overflow.
    if (years < 1 || years > MostYears) {
        Fail(QStringLiteral("--years takes 1 to %1 years within %2..%3, which the device can "
                            "hold, not %4")
                 .arg(MostYears)
                 .arg(FirstYear)
                 .arg(LastYear)
                 .arg(years));
        return Ended(exitcode::InputError);
    }
    if (from < FirstYear || from > LastYear || from + years - 1 > LastYear) {
        Fail(QStringLiteral("the years %1 to %2 are not all within %3..%4, which the device can "
                            "hold")
                 .arg(from)
                 .arg(qint64{from} + years - 1)
                 .arg(FirstYear)
                 .arg(LastYear));
        return Ended(exitcode::InputError);
    }
    return options;
}

// The options, in the order of the help, each taking its value into parsed.
std::vector<TableOption> OptionTable(Options& parsed) {
    return {
        TextOption({QStringLiteral("folder"),
                    QStringLiteral("The start folder (default: the working directory when it "
                                   "holds the tool's files, else the user's data folder)."),
                    QStringLiteral("DIR")},
                   parsed.Folder),
        NumberOption({QStringLiteral("county"),
                      QStringLiteral("The county's index in the city database."),
                      QStringLiteral("N")},
                     parsed.County),
        SwitchOption({QStringLiteral("all"), QStringLiteral("Every county of the city database.")},
                     parsed.All),
        NumberOption({QStringLiteral("from"),
                      QStringLiteral("The first solar year (default: the current one)."),
                      QStringLiteral("YEAR")},
                     parsed.From),
        NumberOption({QStringLiteral("years"),
                      QStringLiteral("How many years, 1 to 100 (default: 10)."),
                      QStringLiteral("N")},
                     parsed.Years),
    };
}

// The options, checked; a refused one has been said and ends the program as a usage error.
Options ParseOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    // Broken by hand: the parser prints the description as it stands, and a terminal has 80
    // columns.
    parser.setApplicationDescription(QStringLiteral(
        "Writes the prayer timetable files data/<province>/<city>/<county>/<year>.PTL of\n"
        "a county, or of every county, from the coordinates in the city database\n"
        "(city.db in the start folder): dawn at 17.7 degrees below the horizon, sunrise,\n"
        "noon, sunset at 0.833 degrees, maghrib at 4.5 degrees, in Iran Standard Time\n"
        "(UTC+3:30)."));
    parser.addHelpOption();
    parser.addVersionOption();
    Options parsed;
    const std::vector<TableOption> table = OptionTable(parsed);
    AddOptions(parser, table);
    if (!parser.parse(arguments)) {
        Fail(parser.errorText());
        return Ended(exitcode::InputError);
    }
    if (parser.isSet(QStringLiteral("version"))) {
        PrintVersion();
        return Ended(exitcode::Ok);
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::printf("%s", qPrintable(parser.helpText()));
        return Ended(exitcode::Ok);
    }
    if (!parser.positionalArguments().isEmpty()) {
        Fail(QStringLiteral("unexpected argument '%1'; see --help")
                 .arg(ShownValue(parser.positionalArguments().first())));
        return Ended(exitcode::InputError);
    }
    if (const QString repeated = RepeatedOption({&parser}); !repeated.isEmpty()) {
        Fail(RepeatedOptionText(repeated));
        return Ended(exitcode::InputError);
    }

    parsed.From = ClockNow().SolarYear;
    if (const QStringList refused = TakeOptions(parser, table); !refused.isEmpty()) {
        for (const QString& refusal : refused) {
            Fail(refusal);
        }
        return Ended(exitcode::InputError);
    }
    if (parser.isSet(QStringLiteral("county")) == parsed.All) {
        Fail(QStringLiteral("give either --county N or --all; see --help"));
        return Ended(exitcode::InputError);
    }
    return YearsChecked(parsed);
}

int Run(const Options& options) {
    const int county = options.County;
    const int from = options.From;
    const int years = options.Years;
    const StartFolderChoice start = ChooseStartFolder(SystemStartFolderPlaces(options.Folder));
    if (!start.SetUpProblem.IsEmpty()) {
        Fail(ProblemText(start.SetUpProblem, Wording::English));
    }
    const QString& folder = start.Folder;
    std::vector<CityRow> rows;
    try {
        CityDatabase db(CityDatabase::PathIn(folder));
        rows = options.All ? db.AllRows() : db.RowsOfCounty(county);
    } catch (const UserError& error) {
        Fail(error.Text());
        return exitcode::InputError;
    }
    if (rows.empty()) {
        Fail(options.All ? QStringLiteral("the city database holds no county")
                         : QStringLiteral("there is no county with index %1 in the city database")
                               .arg(county));
        return exitcode::InputError;
    }
    // Everything is checked before the first file is written.
    for (const CityRow& row : rows) {
        if (!prayer::CoordinatesAcceptable(row.Latitude, row.Longitude)) {
            Fail(QStringLiteral("county %1 (%2) lies at latitude %3, longitude %4, where dawn or "
                                "maghrib can be undefined; no file was written")
                     .arg(row.County)
                     .arg(row.CountyName)
                     .arg(row.Latitude)
                     .arg(row.Longitude));
            return exitcode::InputError;
        }
    }

    const auto started = std::chrono::steady_clock::now();
    // Files go to the disk a batch of counties at a time: one sync for all of them is many
    // times faster than one for each file. A county's line is printed once its files are in.
    constexpr std::size_t BatchFiles = 200;
    std::vector<prayer::TimetableFileOut> batch;
    QStringList done;
    const auto flush = [&] {
        prayer::WriteTimetableFiles(batch);
        for (const QString& line : std::as_const(done)) {
            std::printf("%s\n", line.toUtf8().constData());
        }
        batch.clear();
        done.clear();
    };
    try {
        for (const CityRow& row : rows) {
            const QString countyFolder = CountyFolder(folder, row);
            for (int year = from; year < from + years; ++year) {
                batch.push_back({FilePath(countyFolder + QStringLiteral("%1.PTL").arg(year)),
                                 prayer::TimetableFileImage(year, row.Latitude, row.Longitude)});
            }
            done.append(QStringLiteral("%1: %2 to %3 (%4 files) for county %5, %6")
                            .arg(QDir(folder).relativeFilePath(countyFolder))
                            .arg(from)
                            .arg(from + years - 1)
                            .arg(years)
                            .arg(row.County)
                            .arg(row.CountyName));
            if (batch.size() >= BatchFiles) {
                flush();
            }
        }
        flush();
    } catch (const std::exception& error) {
        Fail(QString::fromUtf8(error.what()));
        return exitcode::Failed;
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    std::printf("wrote %zu files for %zu counties in %.2f s\n",
                rows.size() * static_cast<std::size_t>(years), rows.size(), seconds);
    return exitcode::Ok;
}

} // namespace

int main(int argc, char* argv[]) {
    HoldClosedStandardStreams();
    PrepareConsoleOutput();
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-timetable"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    const Options options = ParseOptions(QCoreApplication::arguments());
    return FlushedOutputStatus(options.Exit ? *options.Exit : Run(options), "muezzin-timetable");
}
