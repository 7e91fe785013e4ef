#include "tools/cli/Doctor.h"

#include "comm/SerialSetup.h"
#include "common/ExitCodes.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#include "device/KeyTable.h"
#include "location/CityDatabase.h"
#include "location/StartFolder.h"
#include "tools/cli/DoctorPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
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

// The database's counties, and how many of them lie at the centre of their area: their
// timetables may be a minute or two off until their coordinates are corrected.
SetupFinding CityDatabaseFinding(const QString& folder) {
    SetupFinding finding = FileFinding(folder, CityDatabaseFileName,
                                       QStringLiteral("the city database (see import-cities)"));
    if (!finding.Ok) {
        return finding;
    }
    try {
        CityDatabase db(CityDatabase::PathIn(folder));
        const std::vector<CityRow> rows = db.AllRows();
        const auto approximate = std::count_if(rows.begin(), rows.end(),
                                               [](const CityRow& row) { return row.Approximate; });
        finding.Text = QStringLiteral("%1 counties, %2 of them with approximate coordinates")
                           .arg(rows.size())
                           .arg(approximate);
    } catch (const UserError& error) {
        finding = {CityDatabaseFileName, false, error.Text()};
    }
    return finding;
}

std::vector<SetupFinding> StartFolderFindings(const QString& folderFlag) {
    const StartFolderChoice choice = ChooseStartFolder(SystemStartFolderPlaces(folderFlag));
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
    findings.push_back(CityDatabaseFinding(choice.Folder));
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

int RunDoctor(const QStringList& ports, const QString& folderFlag) {
    std::vector<SetupFinding> findings = CheckPorts(ports);
    const QString rule = InstalledUdevRule(QCoreApplication::applicationDirPath(),
                                           QStringLiteral(MUEZZIN_UDEV_RULES_DIR));
    for (auto part :
         {CheckSystemSerialSetup(rule), StartFolderFindings(folderFlag), TextFindings()}) {
        findings.insert(findings.end(), part.begin(), part.end());
    }
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
