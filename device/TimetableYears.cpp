#include "device/TimetableYears.h"

#include "common/TextFiles.h"
#include "device/DeviceTexts.h"
#include "device/YearBlock.h"
#include "prayer/TimetableFile.h"

#include <QDir>
#include <algorithm>
#include <filesystem>

namespace {

// Nothing at all: not a file, a folder, a link (even a broken one) or anything else.
bool NothingAt(const QString& path) {
    std::error_code error;
    const auto status = std::filesystem::symlink_status(FilePath(path), error);
    return status.type() == std::filesystem::file_type::not_found;
}

} // namespace

bool UsableCoordinates(double latitude, double longitude) {
    return !(latitude == 0.0 && longitude == 0.0) &&
           prayer::CoordinatesAcceptable(latitude, longitude);
}

CompletedYears CompleteTimetableYears(const QString& timetableFolder, int first, int count,
                                      const std::optional<CountyPlace>& place) {
    CompletedYears completed;
    std::vector<int> missing;
    for (int year = first; year < first + count; ++year) {
        if (NothingAt(YearFilePath(timetableFolder, year))) {
            missing.push_back(year);
        }
    }
    if (missing.empty()) {
        return completed;
    }
    if (!place || !UsableCoordinates(place->Latitude, place->Longitude)) {
        completed.Left = missing;
        completed.Cause = YearGapCause::NoCoordinates;
        return completed;
    }
    std::vector<prayer::TimetableFileOut> files;
    for (const int year : missing) {
        files.push_back({FilePath(YearFilePath(timetableFolder, year)),
                         prayer::TimetableFileImage(year, place->Latitude, place->Longitude)});
    }
    try {
        prayer::WriteTimetableFiles(files);
        completed.Computed = missing;
    } catch (const prayer::TimetableWriteError& error) {
        completed.Left = missing;
        completed.Cause = YearGapCause::NotSaved;
        completed.Problem = QString::fromUtf8(error.what());
    }
    return completed;
}

QString ComputedYearsText(const std::vector<int>& years, int county) {
    QStringList list;
    for (const int year : years) {
        list.append(QString::number(year));
    }
    return ComputedYearsTemplate.arg(list.join(YearListSeparator)).arg(county);
}

Problem YearGapProblem(const CompletedYears& completed, int year, int county, const QString& path,
                       bool fileMissing) {
    const bool left =
        std::find(completed.Left.begin(), completed.Left.end(), year) != completed.Left.end();
    // Something is there that cannot be used, and it is not replaced; or nothing is, and the
    // county's coordinates or the folder kept it from being made.
    const QString form = left && completed.Cause == YearGapCause::NoCoordinates ? "no-coordinates"
                         : left && completed.Cause == YearGapCause::NotSaved    ? "not-saved"
                         : fileMissing                                          ? "unreadable"
                                                                                : "short";
    Problem problem(QStringLiteral("timetable-year"), form);
    problem.Set(QStringLiteral("year"), year)
        .Set(QStringLiteral("county"), county)
        .Set(QStringLiteral("path"), QDir::toNativeSeparators(path));
    if (form == QStringLiteral("not-saved")) {
        problem.Set(QStringLiteral("reason"), completed.Problem);
    }
    return problem;
}
