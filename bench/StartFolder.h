#pragma once

#include "calendar/CalendarClock.h"
#include "tests/TimetableFixture.h"

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <ctime>

// County 41 (province 24, city 34), whose timetables a bench start folder holds.
constexpr int BenchCounty = 41;

// A start folder as shipped: the sample's province list and key file, the city database
// imported by the tool itself, and the county's timetables from the current solar year on.
inline bool MakeBenchStartFolder(const QTemporaryDir& dir) {
    const QString sample = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/");
    for (const char* name : {"ostan.txt", "encryp.key"}) {
        if (!QFile::copy(sample + QLatin1String(name), dir.filePath(QLatin1String(name)))) {
            return false;
        }
    }
    QProcess import;
    import.setWorkingDirectory(dir.path());
    import.start(QStringLiteral(MUEZZIN_CLI),
                 {QStringLiteral("import-cities"), sample + QStringLiteral("city.csv")});
    if (!import.waitForFinished(60000) || import.exitCode() != 0) {
        return false;
    }
    CalendarClock clock;
    SampleClock(clock, std::time(nullptr));
    ToSolarDate(clock);
    for (int j = 0; j < 10; ++j) {
        const int year = clock.SolarYear + j;
        if (!WriteTimetableFile(dir.path() + QStringLiteral("/data/24/34/41/"), year,
                                TimetableFileBytes(year))) {
            return false;
        }
    }
    return true;
}
