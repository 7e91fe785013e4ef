#include "device/YearBlock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

namespace {

using TimetableFile = std::vector<std::uint8_t>;

// A file whose time t of day d of month m decodes to hour d and minute 5 m + t, with noise in
// every byte the conversion must not read.
TimetableFile LabelledFile() {
    TimetableFile file(TimetableFileSize, 0xA5);
    for (int m = 1; m <= 12; ++m) {
        for (int d = 1; d <= 31; ++d) {
            for (int t = 1; t <= 5; ++t) {
                const std::size_t at = (m - 1) * 512 + 25 + (d - 1) * 15 + (t - 1) * 3;
                file[at] = static_cast<std::uint8_t>(10 + 7 * d);
                file[at + 1] = static_cast<std::uint8_t>(8 + 3 * (5 * m + t));
            }
        }
    }
    return file;
}

QString WriteFile(const QTemporaryDir& dir, int year, const TimetableFile& bytes) {
    QFile file(dir.filePath(QStringLiteral("%1.PTL").arg(year)));
    file.open(QIODevice::WriteOnly);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<qint64>(bytes.size()));
    return dir.path() + '/';
}

YearBlock Convert(const TimetableFile& file, int year = 1392) {
    return ConvertTimetable(
        std::span<const std::uint8_t, TimetableFileSize>(file.data(), TimetableFileSize), year);
}

} // namespace

class YearBlockTest : public QObject {
    Q_OBJECT

private slots:
    void codes_data() {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("hour");
        QTest::addColumn<int>("minute");
        QTest::newRow("0") << 0 << 255 << 254;
        QTest::newRow("2") << 2 << 255 << 254;
        QTest::newRow("3") << 3 << 255 << 255;
        QTest::newRow("4") << 4 << 0 << 255;
        QTest::newRow("5") << 5 << 0 << 255;
        QTest::newRow("6") << 6 << 0 << 0;
        QTest::newRow("10") << 10 << 0 << 0;
        QTest::newRow("16") << 16 << 0 << 2;
        QTest::newRow("17") << 17 << 1 << 3;
        QTest::newRow("45") << 45 << 5 << 12;
        QTest::newRow("98") << 98 << 12 << 30;
        QTest::newRow("100") << 100 << 12 << 30;
        QTest::newRow("255") << 255 << 35 << 82;
    }

    // The same code read as an hour and as a minute, from a real file.
    void codes() {
        QFETCH(int, code);
        QFETCH(int, hour);
        QFETCH(int, minute);
        TimetableFile file(TimetableFileSize, 0);
        file[25] = file[26] = static_cast<std::uint8_t>(code);
        QTemporaryDir dir;
        const YearBlockResult result = LoadYearBlock(WriteFile(dir, 1392, file), 1392);
        QCOMPARE(result.Status, YearFileStatus::Loaded);
        QCOMPARE(int{result.Block[50]}, hour);
        QCOMPARE(int{result.Block[51]}, minute);
    }

    void encodeDecodes() {
        for (int h = 0; h < 24; ++h) {
            QCOMPARE(int{DecodeHour(HourCode(h))}, h);
        }
        for (int m = 0; m < 60; ++m) {
            QCOMPARE(int{DecodeMinute(MinuteCode(m))}, m);
        }
        QCOMPARE(EncodeTime(23, 59), (TimeEntry{171, 185, 0}));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, HourCode(24));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, HourCode(-1));
        QVERIFY_THROWS_EXCEPTION(std::out_of_range, MinuteCode(60));
    }

    // Every time in its place: months 1..6 with 31 days, 7..12 with 30, five times a day.
    void layout() {
        const YearBlock block = Convert(LabelledFile());
        std::size_t at = 50;
        for (int m = 1; m <= 12; ++m) {
            for (int d = 1; d <= (m <= 6 ? 31 : 30); ++d) {
                for (int t = 1; t <= 5; ++t, at += 2) {
                    QCOMPARE(int{block[at]}, d);
                    QCOMPARE(int{block[at + 1]}, 5 * m + t);
                }
            }
        }
        QCOMPARE(at, std::size_t{3710});
        QCOMPARE(int{block[3708]}, 30); // month 12, day 30, time 5
        QCOMPARE(int{block[3709]}, 65);
        QCOMPARE(int{block[3710]}, 0);
        QCOMPARE(int{block[3711]}, 0);
        QCOMPARE(YearBlockTimeOffset(12, 30, 5), std::size_t{3708});
        QCOMPARE(TimetableFileOffset(12, 30, 5), std::size_t{6104});
    }

    void unreadBytes_data() {
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("offset"); // in the month record
        QTest::addColumn<bool>("read");
        QTest::newRow("first 25 bytes of month 1") << 1 << 0 << false;
        QTest::newRow("third byte of a time") << 3 << 25 + 2 << false;
        QTest::newRow("third byte of the last time") << 6 << 25 + 30 * 15 + 14 << false;
        QTest::newRow("day 31 of month 7") << 7 << 25 + 30 * 15 << false;
        QTest::newRow("day 31 of month 12") << 12 << 25 + 30 * 15 + 13 << false;
        QTest::newRow("after day 31") << 1 << 25 + 31 * 15 << false;
        QTest::newRow("day 31 of month 6 is read") << 6 << 25 + 30 * 15 << true;
        QTest::newRow("day 30 of month 12 is read") << 12 << 25 + 29 * 15 + 13 << true;
    }

    void unreadBytes() {
        QFETCH(int, month);
        QFETCH(int, offset);
        QFETCH(bool, read);
        const TimetableFile file = LabelledFile();
        TimetableFile changed = file;
        changed[(month - 1) * 512 + offset] ^= 0xFF;
        QCOMPARE(Convert(changed) != Convert(file), read);
    }

    void header_data() {
        QTest::addColumn<int>("year");
        QTest::addColumn<QByteArray>("digits");
        QTest::newRow("1392") << 1392 << QByteArray("1392");
        QTest::newRow("five digits") << 12345 << QByteArray("12345");
    }

    void header() {
        QFETCH(int, year);
        QFETCH(QByteArray, digits);
        const YearBlock block = Convert(LabelledFile(), year);
        const QByteArray text(reinterpret_cast<const char*>(block.data()), 50);
        QCOMPARE(YearSignature.size(), std::size_t{39});
        const QByteArray expected = digits + ' ' + QByteArray(YearSignature.data(), 39);
        QCOMPARE(text.left(expected.size()), expected);
        QCOMPARE(text.mid(expected.size()), QByteArray(50 - expected.size(), '\0'));
        for (char c : QByteArray(YearSignature.data(), 39)) {
            QVERIFY(c >= 0x20 && c < 0x7F);
        }
    }

    // A year too long for the header still leaves its zero byte inside it.
    void headerNeverSpills() {
        const YearBlock block = Convert(LabelledFile(), 2147483647);
        QCOMPARE(int{block[49]}, 0);
        QCOMPARE(int{block[50]}, 1); // month 1, day 1: hour 1
    }

    void fileStatus_data() {
        QTest::addColumn<qint64>("size"); // -1: no file
        QTest::addColumn<YearFileStatus>("status");
        QTest::newRow("missing") << qint64{-1} << YearFileStatus::Missing;
        QTest::newRow("a folder in its place") << qint64{-2} << YearFileStatus::Missing;
        QTest::newRow("empty") << qint64{0} << YearFileStatus::Short;
        QTest::newRow("one byte short") << qint64{6143} << YearFileStatus::Short;
        QTest::newRow("whole") << qint64{6144} << YearFileStatus::Loaded;
        QTest::newRow("longer") << qint64{6145} << YearFileStatus::Loaded;
        QTest::newRow("huge") << (qint64{1} << 30) << YearFileStatus::Loaded;
    }

    void fileStatus() {
        QFETCH(qint64, size);
        QFETCH(YearFileStatus, status);
        QTemporaryDir dir;
        const QString folder = dir.path() + '/';
        if (size == -2) {
            QVERIFY(QDir(folder).mkdir("1400.PTL"));
        } else if (size >= 0) {
            TimetableFile bytes = LabelledFile();
            bytes.resize(static_cast<std::size_t>(std::min<qint64>(size, 6145)), 0x11);
            WriteFile(dir, 1400, bytes);
            QFile file(YearFilePath(folder, 1400));
            QVERIFY(file.resize(size)); // sparse: the huge file costs no disk
        }
        const YearBlockResult result = LoadYearBlock(folder, 1400);
        QCOMPARE(result.Status, status);
        QCOMPARE(result.Path, folder + "1400.PTL");
        QCOMPARE(YearFilePath("", 1401), QString("1401.PTL"));
        if (status == YearFileStatus::Loaded) {
            QCOMPARE(result.Block, Convert(LabelledFile(), 1400));
        } else {
            QCOMPARE(result.Block, YearBlock{});
        }
    }
};

QTEST_GUILESS_MAIN(YearBlockTest)
#include "tst_yearblock.moc"
