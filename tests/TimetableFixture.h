#pragma once

#include "device/YearBlock.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

// Timetable files for the upload tests and benchmark. Every time differs from year to year,
// month to month and day to day, so that a block from the wrong year or at the wrong address
// shows in the device's memory.
inline int FixtureHour(int year, int month, int day, int time) {
    return (year + 3 * month + day + time) % 24;
}

inline int FixtureMinute(int year, int month, int day, int time) {
    return (7 * year + 11 * month + 3 * day + 13 * time) % 60;
}

// A whole 6144-byte file: twelve month records with 31 day records each, the bytes nobody reads
// left at 0.
inline QByteArray TimetableFileBytes(int year) {
    QByteArray file(static_cast<qsizetype>(TimetableFileSize), '\0');
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= 31; ++day) {
            for (int time = 1; time <= 5; ++time) {
                const TimeEntry entry = EncodeTime(FixtureHour(year, month, day, time),
                                                   FixtureMinute(year, month, day, time));
                const qsizetype at = (month - 1) * 512 + 25 + (day - 1) * 15 + (time - 1) * 3;
                file[at] = static_cast<char>(entry[0]);
                file[at + 1] = static_cast<char>(entry[1]);
                file[at + 2] = static_cast<char>(entry[2]);
            }
        }
    }
    return file;
}

// Writes folder/<year>.PTL, making the folder first; folder ends with "/".
inline bool WriteTimetableFile(const QString& folder, int year, const QByteArray& bytes) {
    if (!QDir().mkpath(folder)) {
        return false;
    }
    QFile file(folder + QString::number(year) + QStringLiteral(".PTL"));
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}
