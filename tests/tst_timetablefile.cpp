#include "prayer/TimetableFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace prayer;

namespace {

// Byte offset of time t (1..5) of day d of month m, as the reader computes it.
std::size_t EntryAt(int m, int d, int t) {
    const int at = (m - 1) * 512 + 25 + (d - 1) * 15 + (t - 1) * 3;
    return static_cast<std::size_t>(at);
}

QByteArray Bytes(const TimetableImage& image) {
    return {reinterpret_cast<const char*>(image.data()), static_cast<qsizetype>(image.size())};
}

QStringList Leftovers(const QString& folder) {
    return QDir(folder).entryList(QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot);
}

} // namespace

class TimetableFileTest : public QObject {
    Q_OBJECT

private slots:
    void roundTrip_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<double>("latitude");
        QTest::addColumn<double>("longitude");
        QTest::newRow("Tehran 1403, long year") << 1403 << 35.69 << 51.39;
        QTest::newRow("Tehran 1404, short year") << 1404 << 35.69 << 51.39;
        QTest::newRow("Chabahar 1478, lost day") << 1478 << 25.29 << 60.64;
        QTest::newRow("latitude limit 1555") << 1555 << MaxLatitude << 44.0;
    }

    // The reader's decoding gives back the computed times of every day, and every byte that
    // holds no time is zero.
    void roundTrip() {
        QFETCH(int, year);
        QFETCH(double, latitude);
        QFETCH(double, longitude);
        const TimetableImage image = TimetableFileImage(year, latitude, longitude);
        std::vector<bool> holdsTime(TimetableFileSize, false);
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= (m <= 6 ? 31 : 30); ++d) {
                const DayTimes times =
                    ComputePrayerTimes(TimetableDate(year, m, d), Place{latitude, longitude});
                for (int t = 1; t <= 5; ++t) {
                    const std::size_t at = EntryAt(m, d, t);
                    const ClockTime expected = times.at(static_cast<std::size_t>(t - 1)).value();
                    QCOMPARE((image.at(at) - 10) / 7, expected.Hour);
                    QCOMPARE((image.at(at + 1) - 8) / 3, expected.Minute);
                    holdsTime.at(at) = holdsTime.at(at + 1) = true;
                }
            }
        }
        for (std::size_t i = 0; i < TimetableFileSize; ++i) {
            QVERIFY2(holdsTime.at(i) || image.at(i) == 0, qPrintable(QString::number(i)));
        }
    }

    // Month 12 of a short year ends with the next new year's day.
    void shortYearEndsWithNewYear() {
        const TimetableImage last = TimetableFileImage(1404, 35.69, 51.39);
        const TimetableImage next = TimetableFileImage(1405, 35.69, 51.39);
        const auto from = last.begin() + static_cast<std::ptrdiff_t>(EntryAt(12, 30, 1));
        QVERIFY(std::equal(from, from + 15, next.begin() + 25));
    }

    // Neither a place where a time can be undefined nor an undefined time makes a file.
    void refusesUndefinedTimes() {
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, TimetableFileImage(1404, 49.0, 51.0));
        std::array<DayTimes, DaysInTimetableYear> days{};
        for (DayTimes& day : days) {
            day.fill(ClockTime{5, 30});
        }
        days.at(200).at(Maghrib).reset();
        QVERIFY_THROWS_EXCEPTION(std::invalid_argument, EncodeTimetable(days));
    }

    // Missing folders are made; a longer old file is replaced whole, with nothing left beside.
    void writeReplacesWhole() {
        QTemporaryDir root;
        const QString folder = root.filePath("data/8/12/96");
        const QString path = folder + "/1392.PTL";
        const TimetableImage image = TimetableFileImage(1392, 35.69, 51.39);
        WriteTimetableFile(path.toStdString(), image);
        QFile old(path);
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(10000, '\xff'));
        old.close();
        WriteTimetableFile(path.toStdString(), image);
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll(), Bytes(image));
        QCOMPARE(Leftovers(folder), QStringList{"1392.PTL"});
    }

    void writeFailures_data() {
        QTest::addColumn<QString>("blocker");
        QTest::addColumn<QString>("target");
        QTest::newRow("folder is a file") << "data"
                                          << "data/1/1392.PTL";
        QTest::newRow("file is a folder") << "1392.PTL/x"
                                          << "1392.PTL";
    }

    // A failure names the file and leaves no temporary file behind.
    void writeFailures() {
        QFETCH(QString, blocker);
        QFETCH(QString, target);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QFileInfo(root.filePath(blocker)).path()));
        QFile block(root.filePath(blocker));
        QVERIFY(block.open(QIODevice::WriteOnly));
        block.close();
        const QStringList before = Leftovers(root.path());
        try {
            WriteTimetableFile(root.filePath(target).toStdString(), TimetableImage{});
            QFAIL("no error");
        } catch (const TimetableWriteError& error) {
            QVERIFY2(QString(error.what()).contains(target), error.what());
        }
        QCOMPARE(Leftovers(root.path()), before);
    }
};

QTEST_GUILESS_MAIN(TimetableFileTest)
#include "tst_timetablefile.moc"
