#include "tools/cli/Doctor.h"

#include "calendar/CalendarClock.h"
#include "calendar/ZoneCheck.h"
#include "comm/SerialSetup.h"
#include "common/ExitCodes.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "device/KeyTable.h"
#include "device/SettingsBlock.h"
#include "device/TimetableYears.h"
#include "device/YearBlock.h"
#include "files/FileError.h"
#include "files/SafeSave.h"
#include "location/CityDatabase.h"
#include "location/LocationSelection.h"
#include "location/StartFolder.h"
#include "tools/cli/Console.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/DoctorPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

using Findings = std::vector<SetupFinding>;

// What every check may look at.
struct DoctorScene {
    QStringList Ports;
    StartFolderChoice Start;
    QString County; // --county, or empty

    QString Shown() const { return QDir::toNativeSeparators(Start.Folder); }
};

// Each check is one function, listed in Checks below.
using Check = Findings (*)(const DoctorScene&);

SetupFinding Holds(const QString& subject, const QString& text = QStringLiteral("ok")) {
    return {subject, true, text};
}

SetupFinding Fails(const QString& subject, const Problem& problem) {
    return {subject, false, {}, problem};
}

// Whether the file is there and may be read; form names the file in the missing file's words
// ("province-list", "city-database", "key-table").
SetupFinding FileFinding(const DoctorScene& scene, const QString& name, const QString& form) {
    const QFileInfo file(scene.Start.Folder + name);
    if (!file.exists()) {
        return Fails(name, Problem(QStringLiteral("start-file-missing"), form)
                               .Set(QStringLiteral("folder"), scene.Shown())
                               .Set(QStringLiteral("file"), name));
    }
    if (!file.isReadable()) {
        return Fails(name,
                     Problem(QStringLiteral("file-permission"), QStringLiteral("start-file"))
                         .Set(QStringLiteral("path"), QDir::toNativeSeparators(file.filePath())));
    }
    return Holds(name);
}

Findings PortChecks(const DoctorScene& scene) {
    return CheckPorts(scene.Ports);
}

Findings SystemSerialChecks(const DoctorScene&) {
    return CheckSystemSerialSetup(InstalledUdevRule(QCoreApplication::applicationDirPath(),
                                                    QStringLiteral(MUEZZIN_UDEV_RULES_DIR)));
}

Findings StartFolderCheck(const DoctorScene& scene) {
    if (!scene.Start.SetUpProblem.IsEmpty()) {
        return {Fails(QStringLiteral("start folder"), scene.Start.SetUpProblem)};
    }
    return {Holds(
        QStringLiteral("start folder"),
        QStringLiteral("%1 (%2)").arg(scene.Shown(), StartFolderOriginText(scene.Start.Source)))};
}

Findings ProvinceListCheck(const DoctorScene& scene) {
    SetupFinding finding = FileFinding(scene, ProvinceFileName, QStringLiteral("province-list"));
    if (finding.Ok) {
        const QString path = scene.Start.Folder + ProvinceFileName;
        try {
            if (ReadLines1256(path).isEmpty()) {
                finding = Fails(ProvinceFileName,
                                Problem(QStringLiteral("province-list-empty"))
                                    .Set(QStringLiteral("path"), QDir::toNativeSeparators(path)));
            }
        } catch (const UserError& error) {
            finding = Fails(ProvinceFileName, error.Reported());
        }
    }
    return {finding};
}

// "1405-1407, 1410": years in increasing order, runs joined.
QString YearsText(const std::vector<int>& years) {
    QStringList parts;
    for (std::size_t i = 0; i < years.size();) {
        std::size_t last = i;
        while (last + 1 < years.size() && years[last + 1] == years[last] + 1) {
            ++last;
        }
        parts.append(last == i ? QString::number(years[i])
                               : QStringLiteral("%1-%2").arg(years[i]).arg(years[last]));
        i = last + 1;
    }
    return parts.join(QStringLiteral(", "));
}

// Read as apply reads it: every row of table city, each field converted.
Findings CityDatabaseCheck(const DoctorScene& scene) {
    SetupFinding finding =
        FileFinding(scene, CityDatabaseFileName, QStringLiteral("city-database"));
    if (!finding.Ok) {
        return {finding};
    }
    const QString path = QDir::toNativeSeparators(CityDatabase::PathIn(scene.Start.Folder));
    try {
        CityDatabase db(CityDatabase::PathIn(scene.Start.Folder));
        const std::vector<CityRow> rows = db.AllRows();
        // Counties at the centre of their area: their timetables may be a minute or two off
        // until their coordinates are corrected.
        const auto approximate = std::count_if(rows.begin(), rows.end(),
                                               [](const CityRow& row) { return row.Approximate; });
        finding = rows.empty()
                      ? Fails(CityDatabaseFileName, Problem(QStringLiteral("city-database-broken"),
                                                            QStringLiteral("empty"))
                                                        .Set(QStringLiteral("path"), path))
                      : Holds(CityDatabaseFileName,
                              QStringLiteral("%1 counties, %2 of them with approximate coordinates")
                                  .arg(rows.size())
                                  .arg(approximate));
    } catch (const UserError& error) {
        // The cause as the other commands would meet it, with the remedy.
        finding = Fails(
            CityDatabaseFileName,
            Problem(QStringLiteral("city-database-broken"))
                .Set(QStringLiteral("path"), path)
                .Set(QStringLiteral("cause"), ProblemJson(error.Reported(), CommandLineWording())));
    }
    return {finding};
}

Findings KeyTableCheck(const DoctorScene& scene) {
    return {FileFinding(scene, KeyFileName, QStringLiteral("key-table"))};
}

// The timetable folder takes new files (a file made and removed): an apply computes there the
// years it lacks. A start folder without one yet, as the sample is installed, holds when the
// folder can be made.
Findings TimetableFolderCheck(const DoctorScene& scene) {
    const QString name = QStringLiteral("data");
    const QString folder = scene.Start.Folder + name;
    const bool made = QFileInfo(folder).isDir();
    if (!made && QFileInfo::exists(folder)) {
        return {
            Fails(name, Problem(QStringLiteral("timetable-folder"), QStringLiteral("not-a-folder"))
                            .Set(QStringLiteral("path"), QDir::toNativeSeparators(folder)))};
    }
    const QString checked = made ? folder : scene.Start.Folder;
    try {
        files::CheckCanCreateIn(FilePath(checked));
    } catch (const files::FileError& error) {
        return {
            Fails(name, Problem(QStringLiteral("timetable-folder"), QStringLiteral("unwritable"))
                            .Set(QStringLiteral("path"), QDir::toNativeSeparators(checked))
                            .Set(QStringLiteral("reason"), ReasonOf(error)))};
    }
    return {made ? Holds(name)
                 : Holds(name, QStringLiteral("not made yet: the first apply makes it and "
                                              "computes there the timetables it sends"))};
}

// Opened for appending as each run appends to it, and closed unwritten.
Findings LogCheck(const DoctorScene& scene) {
    const QString name = QStringLiteral("log.txt");
    try {
        files::CheckCanAppend(FilePath(scene.Start.Folder + name));
    } catch (const files::FileError& error) {
        return {Fails(name, Problem(QStringLiteral("log-unwritable"))
                                .Set(QStringLiteral("path"),
                                     QDir::toNativeSeparators(scene.Start.Folder + name))
                                .Set(QStringLiteral("reason"), ReasonOf(error)))};
    }
    return {Holds(name)};
}

Findings ConverterCheck(const DoctorScene&) {
    const QString name = QStringLiteral("Windows-1256 converter");
    if (Windows1256ConverterWorks()) {
        return {Holds(name)};
    }
    return {Fails(name, ConverterMissingProblem())};
}

Findings FontCheck(const DoctorScene&) {
    const QString name = QStringLiteral("Persian font");
    const QFont font = WindowFont();
    if (FontCoversPersian(font)) {
        return {Holds(name, font.family())};
    }
    return {
        Fails(name, Problem(QStringLiteral("no-persian-font"), QLatin1String(FontRemedyForm())))};
}

// How many counties an apply can compute missing timetables for. Nothing when the database
// cannot be read: its own check says why.
Findings CoordinatesCheck(const DoctorScene& scene) {
    const QString subject = QStringLiteral("coordinates");
    try {
        CityDatabase db(CityDatabase::PathIn(scene.Start.Folder));
        const std::vector<CityRow> rows = db.AllRows();
        const auto usable = std::count_if(rows.begin(), rows.end(), [](const CityRow& row) {
            return UsableCoordinates(row.Latitude, row.Longitude);
        });
        return {Holds(subject,
                      QStringLiteral("%1 of %2 counties have them; the timetable years an apply "
                                     "lacks are computed from them%3")
                          .arg(usable)
                          .arg(rows.size())
                          .arg(static_cast<std::size_t>(usable) == rows.size()
                                   ? QString()
                                   : QStringLiteral(", the others need their files in data/")))};
    } catch (const UserError&) {
        return {};
    }
}

// With --county, the ten years an apply sends now for the county: which the data folder holds,
// which the apply will compute, and which it can neither read nor compute.
Findings CountyYearsCheck(const DoctorScene& scene) {
    if (scene.County.isEmpty()) {
        return {};
    }
    const QString& folder = scene.Start.Folder;
    const QString& value = scene.County;
    SetupFinding finding{QStringLiteral("timetables of county %1").arg(value), false, {}};
    try {
        Console quiet(QString(), false, {.Quiet = true});
        const int county = CountyOfValue(folder, value, quiet);
        finding.Subject = QStringLiteral("timetables of county %1").arg(county);
        CityDatabase db(CityDatabase::PathIn(folder));
        LocationSelection location;
        SelectCountyByIndex(location, db, county, folder, ReadLines1256(folder + ProvinceFileName));
        const bool computable = UsableCoordinates(location.Latitude, location.Longitude);
        std::vector<int> present;
        std::vector<int> missing;
        std::vector<int> unusable;
        const int first = ClockNow().SolarYear;
        for (int year = first; year < first + TimetableYearCount; ++year) {
            const YearBlockResult loaded = LoadYearBlock(location.TimetableFolder, year);
            const QFileInfo file(loaded.Path);
            if (loaded.Status == YearFileStatus::Loaded) {
                present.push_back(year);
            } else if (file.exists() || file.isSymLink()) {
                unusable.push_back(year);
            } else {
                missing.push_back(year);
            }
        }
        QStringList parts;
        if (!present.empty()) {
            parts.append(QStringLiteral("%1 present").arg(YearsText(present)));
        }
        if (!missing.empty() && computable) {
            parts.append(QStringLiteral("%1 will be computed from its coordinates (%2, %3) by the "
                                        "next apply")
                             .arg(YearsText(missing), CoordinateText(location.Latitude),
                                  CoordinateText(location.Longitude)));
        }
        finding.Text = parts.join(QStringLiteral("; "));
        finding.Ok = unusable.empty() && (missing.empty() || computable);
        if (!finding.Ok) {
            // What the apply would meet, after what holds.
            const bool uncomputed = !missing.empty() && !computable;
            Problem problem(QStringLiteral("timetable-year"),
                            uncomputed && !unusable.empty() ? QStringLiteral("doctor-both")
                            : uncomputed ? QStringLiteral("doctor-no-coordinates")
                                         : QStringLiteral("doctor-unusable"));
            finding.Reported =
                problem.Set(QStringLiteral("county"), county)
                    .Set(QStringLiteral("folder"),
                         QDir::toNativeSeparators(location.TimetableFolder))
                    .Set(QStringLiteral("found"), TextOrNull(finding.Text))
                    .Set(QStringLiteral("missing"),
                         TextOrNull(uncomputed ? YearsText(missing) : QString()))
                    .Set(QStringLiteral("unusable"), TextOrNull(YearsText(unusable)));
        }
    } catch (const UserError& error) {
        finding.Reported = error.Reported();
    }
    return {finding};
}

Findings TimeZoneCheck(const DoctorScene&) {
    const ZoneCheck zone = CheckPcZone(std::time(nullptr));
    const QString subject = QStringLiteral("time zone");
    if (zone.Verdict == ZoneVerdict::Iran) {
        return {Holds(subject,
                      QStringLiteral("UTC+03:30, Iran Standard Time, without daylight saving"))};
    }
    return {Fails(subject, ZoneProblem(zone))};
}

// In the order printed; a new check is a function above and a line here, one check a line.
// clang-format off
constexpr Check Checks[] = {
    PortChecks,
    SystemSerialChecks,
    StartFolderCheck,
    ProvinceListCheck,
    CityDatabaseCheck,
    CoordinatesCheck,
    KeyTableCheck,
    TimetableFolderCheck,
    CountyYearsCheck,
    LogCheck,
    ConverterCheck,
    FontCheck,
    TimeZoneCheck,
};
// clang-format on

// What a check found: "ok", "ok (detail)", or the problem with its remedy.
QString FindingDetail(const SetupFinding& finding) {
    if (!finding.Ok) {
        return finding.Reported.IsEmpty() ? finding.Text
                                          : ProblemText(finding.Reported, CommandLineWording());
    }
    return finding.Text == QStringLiteral("ok") ? finding.Text
                                                : QStringLiteral("ok (%1)").arg(finding.Text);
}

// "[ ok ] what: ok", "[ ok ] what: ok (detail)" or "[FAIL] what: problem; remedy": the mark
// makes a failure stand out without colour.
QString FindingLine(const SetupFinding& finding) {
    const QString mark = finding.Ok ? QStringLiteral("[ ok ] ") : QStringLiteral("[FAIL] ");
    return mark + finding.Subject + QStringLiteral(": ") + FindingDetail(finding);
}

// A check in the JSON document: {"subject", "ok", "detail", "problem"}; the detail null for a
// plain "ok", the problem null for a check that holds.
QJsonObject FindingJson(const SetupFinding& finding) {
    const bool plainOk = finding.Ok && finding.Text == QStringLiteral("ok");
    return {{QStringLiteral("subject"), finding.Subject},
            {QStringLiteral("ok"), finding.Ok},
            {QStringLiteral("detail"), plainOk ? QJsonValue() : QJsonValue(FindingDetail(finding))},
            {QStringLiteral("problem"),
             finding.Reported.IsEmpty()
                 ? QJsonValue()
                 : QJsonValue(ProblemJson(finding.Reported, CommandLineWording()))}};
}

QString SummaryLine(int passed, int failed) {
    return QStringLiteral("%1 checks: %2 passed, %3 failed")
        .arg(passed + failed)
        .arg(passed)
        .arg(failed);
}

} // namespace

int RunDoctor(const QStringList& ports, const QString& folderFlag, const QString& county,
              JsonReport* report) {
    const DoctorScene scene{ports, ChooseStartFolder(SystemStartFolderPlaces(folderFlag)), county};
    int passed = 0;
    int failed = 0;
    QJsonArray checks;
    for (const Check check : Checks) {
        for (const SetupFinding& finding : check(scene)) {
            if (report) {
                // Standard output carries the report; a failed check is a problem said on
                // standard error as well.
                checks.append(FindingJson(finding));
                if (!finding.Ok) {
                    PrintError(finding.Subject + QStringLiteral(": ") + FindingDetail(finding));
                }
            } else {
                std::printf("%s\n", FindingLine(finding).toUtf8().constData());
            }
            (finding.Ok ? passed : failed) += 1;
        }
    }
    if (report) {
        report->Set(QStringLiteral("checks"), checks);
        report->Set(QStringLiteral("summary"), QJsonObject{{QStringLiteral("passed"), passed},
                                                           {QStringLiteral("failed"), failed}});
    } else {
        std::printf("%s\n", SummaryLine(passed, failed).toUtf8().constData());
    }
    return failed == 0 ? exitcode::Ok : exitcode::Failed;
}
