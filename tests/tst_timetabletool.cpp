// muezzin-timetable as a user runs it: what it writes, and what it refuses to write.
#include "device/YearBlock.h"
#include "location/CityImport.h"
#include "prayer/PrayerTimes.h"
#include "prayer/SolarYear.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

namespace {

struct Folder {
    QTemporaryDir dir;
    explicit Folder(const QByteArray& rows) {
        QFile csv(dir.filePath(QStringLiteral("city.csv")));
        csv.open(QIODevice::WriteOnly);
        csv.write("Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,"
                  "Latitude\n" +
                  rows);
        csv.close();
        QFile provinces(dir.filePath(QStringLiteral("ostan.txt"))); // as many as Iran has
        provinces.open(QIODevice::WriteOnly);
        for (int k = 1; k <= 31; ++k) {
            provinces.write(QByteArray("P") + QByteArray::number(k) + "\r\n");
        }
        provinces.close();
        ImportCitiesCsv(csv.fileName(), dir.filePath(QStringLiteral("city.db")));
    }
    int Run(const QStringList& arguments, QByteArray* output = nullptr) const {
        QProcess process;
        process.start(QStringLiteral(MUEZZIN_TIMETABLE),
                      QStringList{QStringLiteral("--folder"), dir.path()} + arguments);
        if (!process.waitForFinished(60000)) {
            return -1;
        }
        if (output) {
            *output = process.readAllStandardOutput() + process.readAllStandardError();
        }
        return process.exitCode();
    }
    int FilesWritten() const {
        int count = 0;
        QDirIterator it(dir.filePath(QStringLiteral("data")), {QStringLiteral("*.PTL")},
                        QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            ++count;
        }
        return count;
    }
};

const QByteArray Tehran = "24,33,37,Tehran,Tehran,51.39,35.69\n";

} // namespace

class TimetableToolTest : public QObject {
    Q_OBJECT

private slots:
    // The file the tool writes, read back as the upload reads it, gives the computed times.
    void writtenFileReadsBackAsComputed() {
        Folder folder(Tehran);
        QByteArray output;
        QCOMPARE(
            folder.Run({QStringLiteral("--county"), QStringLiteral("37"), QStringLiteral("--from"),
                        QStringLiteral("1402"), QStringLiteral("--years"), QStringLiteral("2")},
                       &output),
            0);
        QVERIFY2(output.contains("1402 to 1403"), output.constData());
        const QString countyFolder = folder.dir.filePath(QStringLiteral("data/24/33/37/"));
        QCOMPARE(QFileInfo(countyFolder + QStringLiteral("1402.PTL")).size(), 6144);
        const YearBlockResult loaded = LoadYearBlock(countyFolder, 1402);
        QCOMPARE(loaded.Status, YearFileStatus::Loaded);
        const auto dates = prayer::TimetableDates(1402);
        const prayer::Place tehran{35.69, 51.39};
        int index = 0;
        for (int month = 1; month <= 12; ++month) {
            for (int day = 1; day <= DaysInMonth(month); ++day, ++index) {
                const auto times =
                    prayer::ComputePrayerTimes(dates[static_cast<std::size_t>(index)], tehran);
                for (int t = 1; t <= 5; ++t) {
                    const std::size_t at = YearBlockTimeOffset(month, day, t);
                    const auto& expected = times[static_cast<std::size_t>(t - 1)];
                    QVERIFY(expected.has_value());
                    QCOMPARE(int{loaded.Block[at]}, expected->Hour);
                    QCOMPARE(int{loaded.Block[at + 1]}, expected->Minute);
                }
            }
        }
        QCOMPARE(int{loaded.Block[YearBlockTimeOffset(1, 1, 3)]}, 12); // noon of new year's day
    }

    void refusals_data() {
        QTest::addColumn<QByteArray>("rows");
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QByteArray>("says");
        QTest::newRow("unknown county")
            << Tehran << QStringList{"--county", "99"} << QByteArray("no county with index 99");
        QTest::newRow("latitude where dawn can be undefined")
            << (Tehran + "1,1,5,North,North,30.0,55.0\n") << QStringList{"--all"}
            << QByteArray("latitude 55");
        QTest::newRow("year before 1300")
            << Tehran << QStringList{"--county", "37", "--from", "1299"}
            << QByteArray("1300..1555");
        QTest::newRow("years past 1555")
            << Tehran << QStringList{"--county", "37", "--from", "1550"}
            << QByteArray("1300..1555");
        QTest::newRow("no years") << Tehran << QStringList{"--county", "37", "--years", "0"}
                                  << QByteArray("1300..1555");
        QTest::newRow("neither county nor all")
            << Tehran << QStringList{} << QByteArray("--county N or --all");
        QTest::newRow("both") << Tehran << QStringList{"--county", "37", "--all"}
                              << QByteArray("--county N or --all");
        QTest::newRow("county not a number")
            << Tehran << QStringList{"--county", "x"} << QByteArray("whole number");
        // Usage errors, as in muezzin-cli.
        QTest::newRow("unknown option")
            << Tehran << QStringList{"--bogus"} << QByteArray("Unknown option 'bogus'");
        QTest::newRow("county without its value")
            << Tehran << QStringList{"--county"} << QByteArray("Missing value after '--county'");
        QTest::newRow("county twice") << Tehran << QStringList{"--county", "37", "--county", "38"}
                                      << QByteArray("--county is given more than once");
    }

    // Each refusal says why and writes nothing, not even for the counties that were fine.
    void refusals() {
        QFETCH(QByteArray, rows);
        QFETCH(QStringList, arguments);
        QFETCH(QByteArray, says);
        Folder folder(rows);
        QByteArray output;
        QCOMPARE(folder.Run(arguments, &output), 2);
        QVERIFY2(output.contains(says), output.constData());
        QCOMPARE(folder.FilesWritten(), 0);
    }

    void missingDatabase() {
        QTemporaryDir empty;
        QProcess process;
        process.start(QStringLiteral(MUEZZIN_TIMETABLE),
                      {QStringLiteral("--folder"), empty.path(), QStringLiteral("--all")});
        QVERIFY(process.waitForFinished(60000));
        QCOMPARE(process.exitCode(), 2);
        QVERIFY(process.readAllStandardError().contains("city.db"));
        QVERIFY(!QFile::exists(empty.filePath(QStringLiteral("city.db"))));
    }
};

QTEST_GUILESS_MAIN(TimetableToolTest)
#include "tst_timetabletool.moc"
