// timetable: a county's prayer times of one solar year, decoded from the file an apply sends.
#include "calendar/CalendarClock.h"
#include "calendar/ZoneCheck.h"
#include "common/CommandLine.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "device/TimetableDays.h"
#include "device/TimetableYears.h"
#include "location/CityDatabase.h"
#include "location/LocationSelection.h"
#include "prayer/PrayerTimes.h"
#include "tools/cli/CommandTable.h"
#include "tools/cli/Commands.h"
#include "tools/cli/CountyNames.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonObject>

namespace {

// The years a timetable file can be made for: the device keeps a year as 1300 plus one byte.
constexpr int FirstYear = 1300;
constexpr int LastYear = 1555;

// The names of the five times, in the file's order, as the listings head them.
const std::array<QString, TimesPerDay> TimeNames = {
    QStringLiteral("dawn"), QStringLiteral("sunrise"), QStringLiteral("noon"),
    QStringLiteral("sunset"), QStringLiteral("maghrib")};

// What the timetable is and where it comes from.
struct CountyTimetable {
    int County = 0;
    QString Names; // province / city / county
    double Latitude = 0.0;
    double Longitude = 0.0;
    int Year = 0;
    QString File;
    std::vector<TimetableDay> Days;
};

QString Degrees(double altitude) {
    return QString::number(-altitude);
}

QString ZoneText() {
    return QStringLiteral("Iran Standard Time (UTC%1)")
        .arg(QString::fromStdString(UtcOffsetText(IranStandardOffsetMinutes)));
}

int YearOf(const QCommandLineParser& parser) {
    if (!parser.isSet(QStringLiteral("year"))) {
        return ClockNow().SolarYear;
    }
    const QString value = parser.value(QStringLiteral("year"));
    const std::optional<int> year = WholeNumberOf(value);
    if (!year || *year < FirstYear || *year > LastYear) {
        throw UserError(Problem(QStringLiteral("usage"), QStringLiteral("year"))
                            .Set(QStringLiteral("value"), ShownValue(value))
                            .Set(QStringLiteral("low"), FirstYear)
                            .Set(QStringLiteral("high"), LastYear));
    }
    return *year;
}

CountyTimetable ReadTimetable(const QString& folder, int county, int year, Console& console) {
    CityDatabase db(CityDatabase::PathIn(folder));
    LocationSelection location;
    const CountySelection chosen =
        SelectCountyByIndex(location, db, county, folder, ReadLines1256(folder + ProvinceFileName));
    const CountyPlace place{location.Latitude, location.Longitude};
    const CompletedYears completed =
        CompleteTimetableYears(location.TimetableFolder, year, 1, place);
    const YearBlockResult loaded = LoadYearBlock(location.TimetableFolder, year);
    if (!completed.Computed.empty()) {
        console.Note(ToolMessage(QStringLiteral("%1 computed from the county's coordinates and "
                                                "saved, as apply would")
                                     .arg(QDir::toNativeSeparators(loaded.Path))));
    }
    if (loaded.Status != YearFileStatus::Loaded) {
        throw UserError(YearGapProblem(completed, year, county, loaded.Path,
                                       loaded.Status == YearFileStatus::Missing));
    }
    CountyTimetable timetable;
    timetable.County = county;
    timetable.Names = QStringLiteral("%1 / %2 / %3")
                          .arg(chosen.ProvinceName, chosen.CityNames.value(chosen.CityItem),
                               chosen.Choice.CountyName);
    timetable.Latitude = location.Latitude;
    timetable.Longitude = location.Longitude;
    timetable.Year = year;
    timetable.File = QDir(folder).relativeFilePath(loaded.Path);
    timetable.Days = DecodeYearBlock(loaded.Block, year);
    return timetable;
}

QString TextListing(const CountyTimetable& t) {
    QStringList lines = {
        QStringLiteral("county %1: %2, latitude %3, longitude %4")
            .arg(QString::number(t.County), t.Names, CoordinateText(t.Latitude),
                 CoordinateText(t.Longitude)),
        QStringLiteral("year %1, as the device gets it from %2")
            .arg(QString::number(t.Year), t.File),
        QStringLiteral("times in %1; dawn at %2°, sunrise and sunset at %3°, maghrib at %4° "
                       "below the horizon")
            .arg(ZoneText(), Degrees(prayer::DawnAltitude), Degrees(prayer::HorizonAltitude),
                 Degrees(prayer::MaghribAltitude)),
        QString()};
    QStringList heads = {QStringLiteral("date"), QStringLiteral("gregorian")};
    for (const QString& name : TimeNames) {
        heads.append(name);
    }
    // Columns a blank or more apart: the dates' ten characters, the times' five, a head's seven.
    const auto row = [](const QStringList& cells) {
        static constexpr std::array<int, 7> Widths = {12, 12, 8, 9, 8, 8, 9};
        QString line;
        for (qsizetype i = 0; i < cells.size(); ++i) {
            line += i < static_cast<qsizetype>(Widths.size())
                        ? cells[i].leftJustified(Widths[static_cast<std::size_t>(i)])
                        : cells[i];
        }
        return line.trimmed();
    };
    lines.append(row(heads));
    for (const TimetableDay& day : t.Days) {
        QStringList cells = {SolarDayText(t.Year, day.Month, day.Day),
                             day.Gregorian ? GregorianDayText(*day.Gregorian)
                                           : QStringLiteral("-")};
        for (const QString& time : day.Times) {
            cells.append(time);
        }
        if (!day.InYear()) {
            cells.append(QStringLiteral("(not a day of %1: never used)").arg(t.Year));
        }
        lines.append(row(cells));
    }
    return lines.join(u'\n');
}

QString CsvListing(const CountyTimetable& t) {
    QStringList heads = {QStringLiteral("date"), QStringLiteral("gregorian")};
    for (const QString& name : TimeNames) {
        heads.append(name);
    }
    heads.append(QStringLiteral("in_year"));
    QStringList lines = {heads.join(u',')};
    for (const TimetableDay& day : t.Days) {
        QStringList cells = {SolarDayText(t.Year, day.Month, day.Day),
                             day.Gregorian ? GregorianDayText(*day.Gregorian) : QString()};
        for (const QString& time : day.Times) {
            cells.append(time);
        }
        cells.append(day.InYear() ? QStringLiteral("true") : QStringLiteral("false"));
        lines.append(cells.join(u','));
    }
    return lines.join(u'\n');
}

QJsonObject JsonListing(const CountyTimetable& t) {
    QJsonArray days;
    for (const TimetableDay& day : t.Days) {
        QJsonObject entry = {
            {QStringLiteral("date"), SolarDayText(t.Year, day.Month, day.Day)},
            {QStringLiteral("gregorian"),
             day.Gregorian ? QJsonValue(GregorianDayText(*day.Gregorian)) : QJsonValue()}};
        for (std::size_t i = 0; i < TimeNames.size(); ++i) {
            entry.insert(TimeNames[i], day.Times[i]);
        }
        if (!day.InYear()) {
            entry.insert(QStringLiteral("in_year"), false);
        }
        days.append(entry);
    }
    return {{QStringLiteral("county"), t.County},
            {QStringLiteral("names"), t.Names},
            {QStringLiteral("year"), t.Year},
            {QStringLiteral("latitude"), t.Latitude},
            {QStringLiteral("longitude"), t.Longitude},
            {QStringLiteral("file"), t.File},
            {QStringLiteral("method"),
             QJsonObject{{QStringLiteral("dawn"), -prayer::DawnAltitude},
                         {QStringLiteral("sunrise_sunset"), -prayer::HorizonAltitude},
                         {QStringLiteral("maghrib"), -prayer::MaghribAltitude}}},
            {QStringLiteral("time_zone"),
             QString::fromStdString(UtcOffsetText(IranStandardOffsetMinutes))},
            {QStringLiteral("days"), days}};
}

} // namespace

int RunTimetable(const QCommandLineParser& parser, const GlobalOptions& global) {
    const QString folder = StartFolderPath(global);
    Console console = CommandConsole(global);
    if (!parser.isSet(CountyOption())) {
        return RefuseCommand(global,
                             Problem(QStringLiteral("no-county"), QStringLiteral("timetable")));
    }
    const int year = YearOf(parser);
    const int county = CountyOfValue(folder, parser.value(CountyOption()), console);
    const CountyTimetable timetable = ReadTimetable(folder, county, year, console);
    if (global.Json) {
        // The timetable's fields beside the report's own: one document.
        const QJsonObject listing = JsonListing(timetable);
        for (auto field = listing.begin(); field != listing.end(); ++field) {
            global.Json->Set(field.key(), field.value());
        }
    } else if (global.Format == QStringLiteral("csv")) {
        console.Print(CsvListing(timetable));
    } else {
        console.Print(TextListing(timetable));
    }
    return exitcode::Ok;
}
