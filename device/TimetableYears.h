#pragma once

#include "common/Problem.h"

#include <QString>
#include <optional>
#include <vector>

// The timetable files a county needs: the years an upload sends that the data folder lacks are
// computed from the county's coordinates, as muezzin-timetable computes them, and saved.

// A county's place as the city database gives it.
struct CountyPlace {
    double Latitude = 0.0;
    double Longitude = 0.0;
};

// Coordinates a timetable can be computed from: given (a county without them is stored with both
// zero) and where every time of every day is defined.
bool UsableCoordinates(double latitude, double longitude);

// Why a year was left without its file.
enum class YearGapCause {
    None,
    NoCoordinates, // the county has no usable coordinates
    NotSaved,      // computed, but the file could not be saved
};

struct CompletedYears {
    std::vector<int> Computed; // saved now, in increasing order
    std::vector<int> Left;     // still without a file
    YearGapCause Cause = YearGapCause::None;
    QString Problem; // why the save failed
};

// Each of the count years from first on that has nothing at all at its path in the county's
// folder (which ends with its separator) is computed and saved through the safe save, all of them
// at once. A file that is there, whole or not, readable or not, is never replaced.
CompletedYears CompleteTimetableYears(const QString& timetableFolder, int first, int count,
                                      const std::optional<CountyPlace>& place);

// The log line that names the years computed and the county.
QString ComputedYearsText(const std::vector<int>& years, int county);

// Why a year's file at path could not be used, with what makes it usable (timetable-year): the
// county's coordinates, a folder that can be written, or a file put right. fileMissing is true
// when the year's file could not be opened at all.
Problem YearGapProblem(const CompletedYears& completed, int year, int county, const QString& path,
                       bool fileMissing);
