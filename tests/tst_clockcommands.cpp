// Setting the device clock and reading its stored settings back: the frames, the window's
// menu commands and the command line's copy of one device's settings to another.
#include "app/AppTexts.h"
#include "app/TForm1.h"
#include "device/ClockCommands.h"
#include "device/DeviceTexts.h"
#include "device/ReadBack.h"
#include "location/CityImport.h"
#include "tests/PortableCases.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <cstdlib>
#include <ctime>

namespace {

using Bytes = std::vector<std::uint8_t>;

// A block written straight into the simulator's memory, as an earlier upload would leave it.
void Store(const DeviceSimulator& sim, std::uint16_t address, const SettingsBlock& block) {
    CommLink link;
    OpenPort(link, PathOf(sim));
    frame::Compose(link.TxFrame, frame::command::BlockWrite,
                   static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                   block);
    Exchange(link, frame::BlockFrameSize, frame::BlockFrameSize);
}

QByteArray Csv() {
    return "Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,"
           "Latitude\n"
           "1,10,100,Alpha,Aone,51.4237,35.6961\n"
           "2,20,200,Gamma,Gone,48.5,33.25\n"
           "2,20,201,Gamma,Gtwo,48.75,33.5\n";
}

struct Folder {
    QTemporaryDir dir;
    Folder() {
        Write(QStringLiteral("ostan.txt"), "P1\r\nP2\r\n");
        Write(QStringLiteral("city.csv"), Csv());
        ImportCitiesCsv(Path(QStringLiteral("city.csv")), Path(QStringLiteral("city.db")));
        QFile::copy(QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/encryp.key"),
                    Path(QStringLiteral("encryp.key")));
    }
    QString Path(const QString& name) const { return dir.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
};

// The window in a start folder of its own, its timers left to the test, its boxes recorded.
struct Desk {
    Folder folder;
    CommLink link;
    CalendarClock clock;
    TForm1 window;
    std::vector<QString> boxes;
    Desk() : window(link, clock, folder.dir.path() + u'/', StillTiming()) {
        window.SetMessageBox(
            [this](const QString&, const QString& text) { boxes.push_back(text); });
    }
    static WindowTiming StillTiming() {
        WindowTiming timing;
        timing.StartTimers = false;
        return timing;
    }
};

SettingsBlock KnownBlock() {
    SettingsFields fields;
    fields.Longitude = QStringLiteral("48.75");
    fields.Latitude = QStringLiteral("33.50");
    fields.DawnCall = QStringLiteral("007");
    fields.NoonSupplication = QStringLiteral("012");
    fields.DawnRandom = true;
    fields.SunsetQuran = false;
    fields.NoonCallLevel = 31;
    fields.Option2Folder = QStringLiteral("099");
    GlyphCodeArray glyphs{};
    glyphs.fill(0xFF);
    return BuildSettingsBlock(fields, 201, 2, glyphs, 1405);
}

constexpr const char* IranTime = "IRST-3:30";
// Daylight saving all year, so that a test at any date meets it.
constexpr const char* DaylightAllYear = "XST-3:30XDT,J1/0,J365/24";

void UseZone(const char* zone) {
    setenv("TZ", zone, 1);
    tzset();
}

int Run(const QStringList& arguments, const QString& folder, QByteArray* out = nullptr) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(QStringLiteral(MUEZZIN_CLI), arguments);
    if (!process.waitForFinished(60000)) {
        return -1;
    }
    if (out) {
        *out = process.readAllStandardOutput() + process.readAllStandardError();
    }
    return process.exitCode();
}

} // namespace

class ClockCommandsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { UseZone(IranTime); }

    // The frame of the PC's local time under its own zone: an hour back while the zone keeps
    // daylight saving (Iran's old rule in summer, Sydney in January), the day and year with it.
    void clockFrame_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QDateTime>("instant");
        QTest::addColumn<Bytes>("frame");
        const auto utc = [](int y, int mo, int d, int h, int mi, int sec) {
            return QDateTime(QDate(y, mo, d), QTime(h, mi, sec), Qt::UTC);
        };
        QTest::newRow("14:07:09, standard time")
            << "IRST-3:30" << utc(2026, 3, 5, 10, 37, 9)
            << Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x0A, 0x09, 0x07, 0x0E, 0x05, 0x03, 0x1A};
        QTest::newRow("daylight saving: an hour less")
            << cases::OldIranRule << utc(2026, 6, 10, 9, 37, 9)
            << Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x0A, 0x09, 0x07, 0x0D, 0x0A, 0x06, 0x1A};
        QTest::newRow("daylight saving at 00:30: the day before")
            << cases::OldIranRule << utc(2026, 6, 9, 20, 0, 0)
            << Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x0A, 0x00, 0x1E, 0x17, 0x09, 0x06, 0x1A};
        QTest::newRow("new year's night, daylight saving: the old year")
            << "AEST-10AEDT,M10.1.0,M4.1.0/3" << utc(2026, 12, 31, 13, 0, 5)
            << Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x0A, 0x05, 0x00, 0x17, 0x1F, 0x0C, 0x1A};
        QTest::newRow("year 2000")
            << "IRST-3:30" << utc(1999, 12, 31, 20, 30, 0)
            << Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x0A, 0x00, 0x00, 0x00, 0x01, 0x01, 0x00};
    }

    void clockFrame() {
        QFETCH(QString, zone);
        QFETCH(QDateTime, instant);
        QFETCH(Bytes, frame);
        UseZone(zone.toLatin1().constData());
        CalendarClock clock;
        SampleClock(clock, static_cast<std::time_t>(instant.toSecsSinceEpoch()));
        UseZone(IranTime);
        const ClockFrame bytes = ClockFrameOf(clock);
        QCOMPARE(Bytes(bytes.begin(), bytes.end()), frame);
    }

    // The frame reaches the device within a moment of the second's turn, and nothing is read.
    void setClockAgainstDevice() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        CommLink link;
        QVERIFY(OpenPort(link, PathOf(sim)));
        CalendarClock clock;
        SetDeviceClock(link, clock);
        QTRY_VERIFY(sim.Clock().Set);
        const DeviceClock stored = sim.Clock();
        QCOMPARE(int{stored.Second}, int{clock.Second});
        QCOMPARE(int{stored.Minute}, int{clock.Minute});
        QCOMPARE(int{stored.Hour}, int{clock.Hour});
        QCOMPARE(int{stored.Year}, clock.Year - 2000);
        QCOMPARE(link.WriteCount, 12u);
        QCOMPARE(link.BytesRead, 0u);
    }

    // The clock frame has no reply; the read-back written right after it must not cut it off.
    void clockThenReadBack() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Store(sim, 0, KnownBlock());
        CommLink link;
        QVERIFY(OpenPort(link, PathOf(sim)));
        CalendarClock clock;
        SetDeviceClock(link, clock);
        const auto block = ReadStoredSettings(link);
        QVERIFY(block.has_value());
        QCOMPARE(*block, KnownBlock());
        QVERIFY(sim.Clock().Set);
        std::vector<std::size_t> arrived; // after the block that stored the settings
        for (const TraceEntry& entry : sim.Trace()) {
            if (entry.Way != TraceEntry::Direction::Out) {
                arrived.push_back(entry.Way == TraceEntry::Direction::In ? entry.Bytes.size() : 0);
            }
        }
        QCOMPARE(arrived, (std::vector<std::size_t>{frame::BlockFrameSize,
                                                    frame::FrameSize(frame::ClockDataSize),
                                                    frame::ReadSettingsFrame.size()}));
    }

    // The status bar says what the device was sent, as the device got it, and whether daylight
    // saving put it an hour behind the PC; a frame that cannot go out is not reported as set.
    void windowShowsClockSent_data() {
        QTest::addColumn<bool>("saving");
        QTest::addColumn<bool>("deviceGone");
        QTest::newRow("standard time") << false << false;
        QTest::newRow("daylight saving") << true << false;
        QTest::newRow("device gone") << false << true;
    }

    void windowShowsClockSent() {
        QFETCH(bool, saving);
        QFETCH(bool, deviceGone);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Desk desk;
        QVERIFY(OpenPort(desk.link, PathOf(sim)));
        desk.link.Connected = true;
        UseZone(saving ? DaylightAllYear : IranTime);
        if (deviceGone) {
            sim.Stop(); // the cable pulled
        }
        const QTime before = QTime::currentTime();
        desk.window.N12Click();
        UseZone(IranTime);
        const QString shown = desk.window.StatusText();
        if (deviceGone) {
            QVERIFY2(shown.startsWith(QStringLiteral("the device clock was not set")),
                     qPrintable(shown));
            return;
        }
        QTRY_VERIFY(sim.Clock().Set);
        const DeviceClock got = sim.Clock();
        const QString sent = QStringLiteral("%1-%2-%3 %4:%5:%6")
                                 .arg(2000 + got.Year)
                                 .arg(got.Month, 2, 10, QChar(u'0'))
                                 .arg(got.Day, 2, 10, QChar(u'0'))
                                 .arg(got.Hour, 2, 10, QChar(u'0'))
                                 .arg(got.Minute, 2, 10, QChar(u'0'))
                                 .arg(got.Second, 2, 10, QChar(u'0'));
        QCOMPARE(shown, QStringLiteral("device clock set to ") + sent +
                            (saving ? QStringLiteral(", an hour behind the PC for daylight saving")
                                    : QStringLiteral(", the PC's time (no daylight saving)")));
        const int behind = (before.hour() - got.Hour + 24) % 24;
        QVERIFY(behind == (saving ? 1 : 0) || before.minute() == 59);
    }

    void readBack_data() {
        QTest::addColumn<int>("cut");
        QTest::addColumn<bool>("whole");
        QTest::newRow("whole reply") << -1 << true;
        QTest::newRow("133 bytes") << int{frame::BlockFrameSize - 1} << false;
        QTest::newRow("header only") << int{frame::HeaderSize} << false;
    }

    void readBack() {
        QFETCH(int, cut);
        QFETCH(bool, whole);
        SimulatorOptions options;
        options.ShortReplyBytes = cut;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        Store(sim, 0, KnownBlock());
        CommLink link;
        link.Timeouts.ReadInterval = std::chrono::milliseconds(100);
        QVERIFY(OpenPort(link, PathOf(sim)));
        const auto block = ReadStoredSettings(link);
        QCOMPARE(block.has_value(), whole);
        if (block) {
            QCOMPARE(*block, KnownBlock());
        }
    }

    // The window shows what the device holds and goes to its county.
    void windowReadsSettings() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Store(sim, 0, KnownBlock());
        Desk desk;
        desk.window.Timer1Timer();
        QVERIFY(OpenPort(desk.link, PathOf(sim)));
        desk.link.Connected = true;
        desk.window.N2Click();
        QVERIFY(desk.boxes.empty());
        QVERIFY(desk.window.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->isEnabled());
        QCOMPARE(desk.window.findChild<QComboBox*>(QStringLiteral("Combo3"))->currentText(),
                 QStringLiteral("Gtwo"));
        QCOMPARE(desk.window.findChild<QComboBox*>(QStringLiteral("Combo1"))->currentIndex(), 1);
        QCOMPARE(desk.window.Location().CountyIndex, 201);
        QCOMPARE(desk.window.Location().TimetableFolder,
                 desk.folder.Path(QStringLiteral("data/2/20/201/")));
        QCOMPARE(desk.window.findChild<QLineEdit*>(QStringLiteral("LabeledEdit4"))->text(),
                 QStringLiteral("007"));
        QCOMPARE(desk.window.findChild<QLineEdit*>(QStringLiteral("LabeledEdit1"))->text(),
                 QStringLiteral("48.75"));
        QCOMPARE(desk.window.findChild<QLineEdit*>(QStringLiteral("LabeledEdit3"))->text(),
                 QStringLiteral("201"));
        QVERIFY(desk.window.findChild<QCheckBox*>(QStringLiteral("CheckBox1"))->isChecked());
        QVERIFY(!desk.window.findChild<QCheckBox*>(QStringLiteral("CheckBox6"))->isChecked());
        QCOMPARE(desk.window.findChild<QSlider*>(QStringLiteral("TrackBar5"))->value(), 31);
        QCOMPARE(desk.window.LogLines().size(), 1);
        // Applying now writes back what was read.
        desk.window.BitBtn1Click();
        const Bytes memory = sim.Memory();
        const SettingsBlock known = KnownBlock();
        for (std::size_t k = 0; k < known.size(); ++k) {
            const bool glyphOrYear = (k >= 7 && k <= 36) || (k >= 49 && k <= 58);
            QVERIFY2(glyphOrYear || memory[k] == known[k], qPrintable(QString::number(k)));
        }
    }

    // A device whose county the database lacks: its settings shown, but no county chosen, so
    // that an apply cannot mix its coordinates with another county's name and timetables.
    void windowReadsUnknownCounty() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        GlyphCodeArray glyphs{};
        Store(sim, 0, BuildSettingsBlock(SettingsFields{}, 777, 1, glyphs, 1405));
        Desk desk;
        desk.window.Timer1Timer();
        auto* county = desk.window.findChild<QComboBox*>(QStringLiteral("Combo3"));
        desk.window.findChild<QComboBox*>(QStringLiteral("Combo1"))->setCurrentIndex(0);
        desk.window.Combo1Change();
        desk.window.findChild<QComboBox*>(QStringLiteral("Combo2"))->setCurrentIndex(0);
        desk.window.Combo2Change();
        county->setCurrentIndex(0);
        desk.window.Combo3Change();
        QCOMPARE(desk.window.Location().CountyIndex, 100);
        QVERIFY(OpenPort(desk.link, PathOf(sim)));
        desk.link.Connected = true;
        desk.window.N2Click();
        QVERIFY(desk.boxes.empty());
        QVERIFY(desk.window.StatusText().contains(QStringLiteral("777")));
        QCOMPARE(desk.window.Location().CountyIndex, 777);
        QVERIFY(desk.window.Location().TimetableFolder.isEmpty());
        QCOMPARE(county->currentText(), QString());
        const int frames = sim.FramesReceived();
        desk.window.BitBtn1Click();
        QCOMPARE(desk.boxes, std::vector<QString>{ChooseCountyText});
        QTest::qWait(50);
        QCOMPARE(sim.FramesReceived(), frames);
    }

    void windowIgnoresReply_data() {
        QTest::addColumn<int>("cut");
        QTest::addColumn<QString>("status");
        QTest::newRow("a byte short") << 133 << QString();
        QTest::newRow("erased device") << -1 << "the device holds no settings";
    }

    // Neither a short reply nor an erased device's bytes reach the fields or the log.
    void windowIgnoresReply() {
        QFETCH(int, cut);
        QFETCH(QString, status);
        SimulatorOptions options;
        options.ShortReplyBytes = cut;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        Desk desk;
        QVERIFY(OpenPort(desk.link, PathOf(sim)));
        desk.link.Connected = true;
        desk.link.Timeouts.ReadInterval = std::chrono::milliseconds(100);
        desk.window.N2Click();
        QVERIFY(!desk.window.findChild<QPushButton*>(QStringLiteral("BitBtn1"))->isEnabled());
        QCOMPARE(desk.window.findChild<QLineEdit*>(QStringLiteral("LabeledEdit4"))->text(),
                 QStringLiteral("010"));
        QVERIFY(desk.window.LogLines().isEmpty());
        QVERIFY2(desk.window.StatusText().contains(status), qPrintable(desk.window.StatusText()));
    }

    // Without a device neither command sends anything; the status bar says why.
    void windowWithoutDevice() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Desk desk;
        QVERIFY(OpenPort(desk.link, PathOf(sim))); // a port held, but no device confirmed on it
        desk.window.N12Click();
        desk.window.N2Click();
        QCOMPARE(desk.window.StatusText(), NoDeviceText());
        QTest::qWait(100);
        QCOMPARE(sim.FramesReceived(), 0);
    }

    // One device's settings copied to another through a profile file.
    void copySettingsThroughProfile() {
        DeviceSimulator source;
        DeviceSimulator target;
        QVERIFY(source.Start() && target.Start());
        Store(source, 0, KnownBlock());
        Folder folder;
        const QString profile = folder.Path(QStringLiteral("copied.ini"));
        QByteArray out;
        QCOMPARE(Run({QStringLiteral("read-settings"), QStringLiteral("--port"), PathOf(source),
                      QStringLiteral("--profile-out"), profile},
                     folder.dir.path(), &out),
                 0);
        QVERIFY(out.contains("dawn.call: 007"));
        QVERIFY(out.contains("location.county: 201"));
        // No timetables here: the apply computes them from the county's coordinates.
        QCOMPARE(Run({QStringLiteral("apply"), QStringLiteral("--port"), PathOf(target),
                      QStringLiteral("--profile"), profile},
                     folder.dir.path(), &out),
                 0);
        const auto copied = target.Memory();
        const SettingsBlock original = KnownBlock();
        // Glyphs and years come from the database and today's date: the rest must match.
        for (std::size_t k = 0; k < original.size(); ++k) {
            const bool glyphOrYear = (k >= 7 && k <= 36) || (k >= 49 && k <= 58);
            if (!glyphOrYear && copied[k] != original[k]) {
                QFAIL(qPrintable(QStringLiteral("byte %1: %2 instead of %3")
                                     .arg(k)
                                     .arg(copied[k])
                                     .arg(original[k])));
            }
        }
    }
};

QTEST_MAIN(ClockCommandsTest)
#include "tst_clockcommands.moc"
