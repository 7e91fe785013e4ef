#include "tools/cli/Doctor.h"

#include "calendar/CalendarClock.h"
#include "calendar/ZoneCheck.h"
#include "comm/SerialSetup.h"
#include "common/ExitCodes.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "device/ClockCommands.h"
#include "device/KeyTable.h"
#include "device/SettingsBlock.h"
#include "device/TimetableYears.h"
#include "device/YearBlock.h"
#include "location/CityDatabase.h"
#include "location/LocationSelection.h"
#include "location/StartFolder.h"
#include "tools/cli/CountyNames.h"
#include "tools/cli/DoctorPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

SetupFinding FileFinding(const QString& folder, const QString& name, const QString& what) {
    const QFileInfo file(folder + name);
    if (!file.exists()) {
        return {name, false,
                QStringLiteral("missing from %1: %2; copy it there, or name the folder that holds "
                               "it with --folder DIR")
                    .arg(QDir::toNativeSeparators(folder), what)};
    }
    if (!file.isReadable()) {
        return {name, false,
                QStringLiteral("%1 may not be read by this user; give it read permission")
                    .arg(QDir::toNativeSeparators(file.filePath()))};
    }
    return {name, true, QStringLiteral("ok")};
}

std::vector<SetupFinding> StartFolderFindings(const StartFolderChoice& choice) {
    const QString shown = QDir::toNativeSeparators(choice.Folder);
    std::vector<SetupFinding> findings;
    if (!choice.Problem.isEmpty()) {
        findings.push_back({QStringLiteral("start folder"), false, choice.Problem});
    } else {
        findings.push_back(
            {QStringLiteral("start folder"), true,
             QStringLiteral("%1 (%2)").arg(shown, StartFolderOriginText(choice.Source))});
    }
    findings.push_back(
        FileFinding(choice.Folder, ProvinceFileName, QStringLiteral("the province list")));
    if (findings.back().Ok) {
        try {
            if (ReadLines1256(choice.Folder + ProvinceFileName).isEmpty()) {
                findings.back() = {ProvinceFileName, false,
                                   QStringLiteral("empty: it lists no province")};
            }
        } catch (const UserError& error) {
            findings.back() = {ProvinceFileName, false, error.Text()};
        }
    }
    findings.push_back(FileFinding(choice.Folder, CityDatabaseFileName,
                                   QStringLiteral("the city database (see import-cities)")));
    findings.push_back(FileFinding(choice.Folder, KeyFileName, QStringLiteral("the key table")));
    const QFileInfo timetables(choice.Folder + QStringLiteral("data"));
    findings.push_back(
        timetables.isDir()
            ? SetupFinding{QStringLiteral("data"), true, QStringLiteral("ok")}
            : SetupFinding{QStringLiteral("data"), false,
                           QStringLiteral("missing from %1: the timetable files "
                                          "(data/<province>/<city>/<county>/<year>.PTL); make "
                                          "them with muezzin-timetable")
                               .arg(shown)});
    const QFileInfo log(choice.Folder + QStringLiteral("log.txt"));
    const bool logWritable =
        log.exists() ? log.isWritable() : QFileInfo(choice.Folder).isWritable();
    findings.push_back(logWritable
                           ? SetupFinding{QStringLiteral("log.txt"), true, QStringLiteral("ok")}
                           : SetupFinding{QStringLiteral("log.txt"), false,
                                          QStringLiteral("cannot be written in %1: the event log "
                                                         "would be lost; give this user write "
                                                         "permission there")
                                              .arg(shown)});
    return findings;
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

// How many counties an apply can compute missing timetables for.
SetupFinding CoordinatesFinding(const QString& folder) {
    const QString subject = QStringLiteral("coordinates");
    try {
        CityDatabase db(CityDatabase::PathIn(folder));
        const std::vector<CityRow> rows = db.AllRows();
        const auto usable = std::count_if(rows.begin(), rows.end(), [](const CityRow& row) {
            return UsableCoordinates(row.Latitude, row.Longitude);
        });
        return {subject, true,
                QStringLiteral("%1 of %2 counties have them; the timetable years an apply lacks "
                               "are computed from them%3")
                    .arg(usable)
                    .arg(rows.size())
                    .arg(static_cast<std::size_t>(usable) == rows.size()
                             ? QString()
                             : QStringLiteral(", the others need their files in data/"))};
    } catch (const UserError& error) {
        return {subject, false, error.Text()};
    }
}

// The ten years an apply sends now for the county: which the data folder holds, which the
// apply will compute, and which it can neither read nor compute.
SetupFinding CountyYearsFinding(const QString& folder, const QString& value) {
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
        if (!missing.empty()) {
            parts.append(computable
                             ? QStringLiteral("%1 will be computed from its coordinates "
                                              "(%2, %3) by the next apply")
                                   .arg(YearsText(missing), CoordinateText(location.Latitude),
                                        CoordinateText(location.Longitude))
                             : QStringLiteral("%1 missing, and the county has no "
                                              "coordinates in the city database to "
                                              "compute them from: import them with "
                                              "'muezzin-cli import-cities FILE.csv', or "
                                              "put the files in %2")
                                   .arg(YearsText(missing),
                                        QDir::toNativeSeparators(location.TimetableFolder)));
        }
        if (!unusable.empty()) {
            parts.append(
                QStringLiteral("%1 in %2 cannot be read or are short, and are never "
                               "replaced: remove them, or write them anew with "
                               "'muezzin-timetable --county %3 --from YEAR --years 1'")
                    .arg(YearsText(unusable), QDir::toNativeSeparators(location.TimetableFolder))
                    .arg(county));
        }
        finding.Ok = unusable.empty() && (missing.empty() || computable);
        finding.Text = parts.join(QStringLiteral("; "));
    } catch (const UserError& error) {
        finding.Text = error.Text();
    }
    return finding;
}

SetupFinding ZoneFinding() {
    const ZoneCheck zone = CheckPcZone(std::time(nullptr));
    const QString subject = QStringLiteral("time zone");
    if (zone.Verdict == ZoneVerdict::Iran) {
        return {subject, true,
                QStringLiteral("UTC+03:30, Iran Standard Time, without daylight saving")};
    }
    return {subject, false, ZoneProblemText(zone)};
}

std::vector<SetupFinding> TextFindings() {
    std::vector<SetupFinding> findings;
    findings.push_back(
        Windows1256ConverterWorks()
            ? SetupFinding{QStringLiteral("Windows-1256 converter"), true, QStringLiteral("ok")}
            : SetupFinding{QStringLiteral("Windows-1256 converter"), false,
                           QStringLiteral("missing: Qt has no Windows-1256 converter here; ") +
                               ConverterRemedy()});
    const QFont font = WindowFont();
    findings.push_back(
        FontCoversPersian(font)
            ? SetupFinding{QStringLiteral("Persian font"), true, font.family()}
            : SetupFinding{QStringLiteral("Persian font"), false,
                           QStringLiteral("no font has the Persian letters, and the window would "
                                          "show empty boxes; ") +
                               FontRemedy()});
    return findings;
}

} // namespace

int RunDoctor(const QStringList& ports, const QString& folderFlag, const QString& county) {
    std::vector<SetupFinding> findings = CheckPorts(ports);
    const QString rule = InstalledUdevRule(QCoreApplication::applicationDirPath(),
                                           QStringLiteral(MUEZZIN_UDEV_RULES_DIR));
    const StartFolderChoice start = ChooseStartFolder(SystemStartFolderPlaces(folderFlag));
    for (auto part : {CheckSystemSerialSetup(rule), StartFolderFindings(start), TextFindings()}) {
        findings.insert(findings.end(), part.begin(), part.end());
    }
    findings.push_back(CoordinatesFinding(start.Folder));
    if (!county.isEmpty()) {
        findings.push_back(CountyYearsFinding(start.Folder, county));
    }
    findings.push_back(ZoneFinding());
    bool allHold = true;
    for (const SetupFinding& finding : findings) {
        const QString line = finding.Ok && finding.Text == QStringLiteral("ok")
                                 ? finding.Subject + QStringLiteral(": ok")
                             : finding.Ok
                                 ? QStringLiteral("%1: ok (%2)").arg(finding.Subject, finding.Text)
                                 : finding.Subject + QStringLiteral(": ") + finding.Text;
        std::printf("%s\n", line.toUtf8().constData());
        allHold = allHold && finding.Ok;
    }
    return allHold ? exitcode::Ok : exitcode::Failed;
}
