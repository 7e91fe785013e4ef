#pragma once

#include "calendar/CalendarClock.h"
#include "common/UserError.h"
#include "location/CityImport.h"
#include "tests/TimetableFixture.h"

#include <QFile>
#include <QString>

// County 41 lies in province 24 and city 34 at 51.73, 35.31: three different indexes, so that a
// mix-up shows in the file names and in the settings block.
constexpr int SampleCounty = 41;
inline const QString SampleCountyFolder = QStringLiteral("/data/24/34/41/");

// The solar year the tools take for the current one, found the way they find it.
inline int CurrentSolarYear() {
    return ClockNow().SolarYear;
}

// A start folder as shipped: the sample's province list and key file, the city database
// imported from the sample's CSV, and the sample county's timetable files for that many years
// from the current one.
inline bool MakeSampleStartFolder(const QString& folder, int years = 10) {
    const QString sample = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/");
    for (const char* name : {"ostan.txt", "encryp.key"}) {
        if (!QFile::copy(sample + QLatin1String(name), folder + u'/' + QLatin1String(name))) {
            return false;
        }
    }
    try {
        ImportCitiesCsv(sample + QStringLiteral("city.csv"), folder + QStringLiteral("/city.db"));
    } catch (const UserError&) {
        return false;
    }
    const int first = CurrentSolarYear();
    for (int j = 0; j < years; ++j) {
        if (!WriteTimetableFile(folder + SampleCountyFolder, first + j,
                                TimetableFileBytes(first + j))) {
            return false;
        }
    }
    return true;
}
