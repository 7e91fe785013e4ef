#include "location/StartFolder.h"

#include "location/CityDatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <algorithm>

namespace {

const QString ToolFolderName = QStringLiteral("muezzin-config");

QString WithSlash(const QString& folder) {
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

bool HoldsEveryToolFile(const QString& folder) {
    const QDir dir(folder);
    return dir.exists(ProvinceFileName) && dir.exists(CityDatabaseFileName);
}

// The data folder cannot be set up, in the form that says why.
Problem CannotSetUp(const QString& folder, const QString& form) {
    return Problem(QStringLiteral("start-folder"), form)
        .Set(QStringLiteral("folder"), QDir::toNativeSeparators(folder));
}

// The sample's files the folder lacks, relative to the sample; the province list and the city
// database last, as the folder counts as filled once it holds them.
QStringList MissingFiles(const QString& folder, const QString& sample) {
    const QDir sampleDir(sample);
    const QDir target(folder);
    QStringList missing;
    QDirIterator it(sample, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString relative = sampleDir.relativeFilePath(it.next());
        if (!target.exists(relative)) {
            missing.append(relative);
        }
    }
    std::sort(missing.begin(), missing.end());
    std::stable_partition(missing.begin(), missing.end(), [](const QString& relative) {
        return relative != ProvinceFileName && relative != CityDatabaseFileName;
    });
    return missing;
}

// A copy the user may change, whatever the installed file's permissions. Says why it failed:
// the file, and Qt's words for it.
bool CopyFile(const QString& from, const QString& to, QString& why) {
    QFile source(from);
    if (!QDir().mkpath(QFileInfo(to).path()) || !source.copy(to)) {
        why = source.errorString();
        return false;
    }
    QFile::setPermissions(to, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser |
                                  QFile::WriteUser | QFile::ReadGroup | QFile::ReadOther);
    return true;
}

} // namespace

QString StartFolderOriginText(StartFolderSource source) {
    return source == StartFolderSource::Flag ? QStringLiteral("--folder")
           : source == StartFolderSource::WorkingDirectory
               ? QStringLiteral("the working directory")
               : QStringLiteral("the user's data folder");
}

bool HoldsToolFiles(const QString& folder) {
    const QDir dir(folder);
    return !folder.isEmpty() && (dir.exists(ProvinceFileName) || dir.exists(CityDatabaseFileName));
}

Problem SeedDataFolder(const QString& folder, const QString& sample) {
    if (!QFileInfo(sample).isDir() || !HoldsEveryToolFile(sample)) {
        return CannotSetUp(folder, QStringLiteral("sample-missing"))
            .Set(QStringLiteral("sample"), QDir::toNativeSeparators(sample));
    }
    const QFileInfo target(folder);
    const QString parent = target.absolutePath();
    if (!QDir().mkpath(parent)) {
        return CannotSetUp(folder, QStringLiteral("cannot-create"))
            .Set(QStringLiteral("path"), QDir::toNativeSeparators(parent));
    }
    // Beside the folder, on the same file system, so that the moves below are renames. It is
    // removed with whatever it still holds, whichever way this function ends.
    QTemporaryDir staging(parent + QStringLiteral("/.") + target.fileName() +
                          QStringLiteral("-XXXXXX"));
    if (!staging.isValid()) {
        return CannotSetUp(folder, QStringLiteral("staging"))
            .Set(QStringLiteral("reason"), staging.errorString());
    }
    const QStringList missing = MissingFiles(folder, sample);
    for (const QString& relative : missing) {
        QString why;
        if (!CopyFile(sample + u'/' + relative, staging.filePath(relative), why)) {
            return CannotSetUp(folder, QStringLiteral("cannot-copy"))
                .Set(QStringLiteral("file"), QDir::toNativeSeparators(sample + u'/' + relative))
                .Set(QStringLiteral("reason"), why);
        }
    }

    if (!target.exists()) {
        // Another of the tool's programs, started at the same moment, may have been quicker.
        if (!QDir().rename(staging.path(), folder) && !HoldsEveryToolFile(folder)) {
            return CannotSetUp(folder, QStringLiteral("cannot-create"))
                .Set(QStringLiteral("path"), QDir::toNativeSeparators(folder));
        }
        return {}; // a staging folder that lost that race removes itself
    }
    const QDir into(folder);
    for (const QString& relative : missing) {
        const QString destination = into.filePath(relative);
        // A rename never replaces a file: one that appeared meanwhile is the user's.
        if ((!QDir().mkpath(QFileInfo(destination).path()) ||
             !QFile::rename(staging.filePath(relative), destination)) &&
            !QFileInfo::exists(destination)) {
            return CannotSetUp(folder, QStringLiteral("cannot-write"))
                .Set(QStringLiteral("path"), QDir::toNativeSeparators(destination));
        }
    }
    return {};
}

StartFolderChoice ChooseStartFolder(const StartFolderPlaces& places) {
    StartFolderChoice choice;
    const QDir working(places.WorkingDirectory);
    if (!places.Flag.isEmpty()) {
        choice.Source = StartFolderSource::Flag;
        choice.Folder = WithSlash(QDir::cleanPath(working.absoluteFilePath(places.Flag)));
        return choice;
    }
    if (HoldsToolFiles(places.WorkingDirectory) || places.DataFolder.isEmpty()) {
        choice.Source = StartFolderSource::WorkingDirectory;
        choice.Folder = WithSlash(working.absolutePath());
        if (places.DataFolder.isEmpty() && !HoldsToolFiles(places.WorkingDirectory)) {
            choice.SetUpProblem =
                Problem(QStringLiteral("start-folder"), QStringLiteral("no-data-folder"));
        }
        return choice;
    }
    choice.Source = StartFolderSource::DataFolder;
    choice.Folder = WithSlash(QDir::cleanPath(working.absoluteFilePath(places.DataFolder)));
    if (!HoldsEveryToolFile(places.DataFolder)) {
        choice.SetUpProblem = SeedDataFolder(places.DataFolder, places.InstalledSample);
        choice.Seeded = choice.SetUpProblem.IsEmpty();
    }
    return choice;
}

StartFolderPlaces SystemStartFolderPlaces(const QString& flag) {
    StartFolderPlaces places;
    places.Flag = flag;
    places.WorkingDirectory = QDir::currentPath();
    // Qt names the data folder after the running program; every program of the tool shares
    // the one of the window.
    const QString own = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (!own.isEmpty()) {
        places.DataFolder = QFileInfo(own).path() + u'/' + ToolFolderName;
    }
    places.InstalledSample = QDir::cleanPath(QCoreApplication::applicationDirPath() +
                                             QStringLiteral("/../share/muezzin-config/sample"));
    return places;
}
