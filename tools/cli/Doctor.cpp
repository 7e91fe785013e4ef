#include "tools/cli/Doctor.h"

#include "comm/SerialSetup.h"
#include "common/ExitCodes.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "common/UserError.h"
#include "device/KeyTable.h"
#include "files/FileError.h"
#include "files/SafeSave.h"
#include "location/CityDatabase.h"
#include "location/StartFolder.h"
#include "tools/cli/Console.h"
#include "tools/cli/DoctorPlatform.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using Findings = std::vector<SetupFinding>;

// What every check may look at.
struct DoctorScene {
    QStringList Ports;
    StartFolderChoice Start;

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

// The timetable files are there, and the folder takes new ones (a file made and removed).
Findings TimetableFolderCheck(const DoctorScene& scene) {
    const QString name = QStringLiteral("data");
    const QString folder = scene.Start.Folder + name;
    if (!QFileInfo(folder).isDir()) {
        return {Fails(name, Problem(QStringLiteral("start-file-missing"), QStringLiteral("data"))
                                .Set(QStringLiteral("folder"), scene.Shown())
                                .Set(QStringLiteral("file"), name))};
    }
    try {
        files::CheckCanCreateIn(FilePath(folder));
    } catch (const files::FileError& error) {
        return {Fails(name, Problem(QStringLiteral("folder-unwritable"), QStringLiteral("data"))
                                .Set(QStringLiteral("path"), QDir::toNativeSeparators(folder))
                                .Set(QStringLiteral("reason"), ReasonOf(error)))};
    }
    return {Holds(name)};
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

// In the order printed; a new check is a function above and a line here, one check a line.
// clang-format off
constexpr Check Checks[] = {
    PortChecks,
    SystemSerialChecks,
    StartFolderCheck,
    ProvinceListCheck,
    CityDatabaseCheck,
    KeyTableCheck,
    TimetableFolderCheck,
    LogCheck,
    ConverterCheck,
    FontCheck,
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

int RunDoctor(const QStringList& ports, const QString& folderFlag, JsonReport* report) {
    const DoctorScene scene{ports, ChooseStartFolder(SystemStartFolderPlaces(folderFlag))};
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
