// The window's location boxes and apply button, driven as a user drives them.
#include "app/TForm1.h"
#include "device/DeviceTexts.h"
#include "device/YearBlock.h"
#include "location/CityImport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSlider>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

namespace {

using Shown = std::pair<QString, QString>;

QByteArray Csv() {
    return "Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,"
           "Latitude\n"
           "1,10,100,Alpha,Aone,51.4237,35.6961\n"
           "1,10,101,Alpha,Atwo,51.025,35.015\n"
           "1,11,110,Beta,Bone,50,30\n"
           "1,12,120,Alpha,Again,52,31\n"
           "2,20,200,Gamma,Gone,48.5,33.25\n";
}

struct Fixture {
    QTemporaryDir folder;
    CommLink link;
    CalendarClock clock;
    std::vector<Shown> boxes;
    std::unique_ptr<TForm1> window;

    explicit Fixture(bool withDatabase = true) {
        Write(QStringLiteral("ostan.txt"), "P1\r\nP2\r\nP3\r\n");
        if (withDatabase) {
            Write(QStringLiteral("city.csv"), Csv());
            ImportCitiesCsv(Path(QStringLiteral("city.csv")), Path(QStringLiteral("city.db")));
        }
        WindowTiming timing;
        timing.StartTimers = false;
        window = std::make_unique<TForm1>(link, clock, folder.path() + u'/', timing);
        window->SetMessageBox([this](const QString& caption, const QString& text) {
            boxes.emplace_back(caption, text);
        });
        window->SetPortSources({[] { return QStringList(); }, {}});
        window->Timer1Timer(); // loads the province list and samples the clock
    }
    QString Path(const QString& name) const { return folder.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const {
        QDir().mkpath(QFileInfo(Path(name)).path());
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    template <typename T> T* Find(const QString& name) const { return window->findChild<T*>(name); }
    QComboBox* Box(int n) const { return Find<QComboBox>(QStringLiteral("Combo%1").arg(n)); }
    QString Text(const QString& name) const { return Find<QLineEdit>(name)->text(); }
    void Choose(int box, int item) const {
        Box(box)->setCurrentIndex(item);
        emit Box(box)->activated(item);
    }
    void WriteTimetables(int years) const {
        QByteArray file(static_cast<qsizetype>(TimetableFileSize), '\0');
        for (int j = 0; j < years; ++j) {
            Write(QStringLiteral("data/1/10/100/%1.PTL").arg(clock.SolarYear + j), file);
        }
    }
};

QStringList Items(const QComboBox* box) {
    QStringList items;
    for (int i = 0; i < box->count(); ++i) {
        items.append(box->itemText(i));
    }
    return items;
}

} // namespace

class WindowDeviceTest : public QObject {
    Q_OBJECT

private slots:
    void choosingTheLocation() {
        Fixture f;
        f.Choose(1, 0);
        QCOMPARE(Items(f.Box(2)), (QStringList{"Alpha", "Beta"})); // Alpha once: the first row's
        QCOMPARE(f.Box(2)->toolTip(), QStringLiteral("2"));
        f.Choose(2, 0);
        QCOMPARE(Items(f.Box(3)), (QStringList{"Aone", "Atwo"}));
        QCOMPARE(f.Box(3)->statusTip(), QStringLiteral("2"));
        QVERIFY(!f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled());
        f.Choose(3, 0);
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit3")), QStringLiteral("100"));
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit1")), QStringLiteral("51.42"));
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit2")), QStringLiteral("35.70"));
        QVERIFY(f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled());
        QCOMPARE(f.window->Location().TimetableFolder, f.Path(QStringLiteral("data/1/10/100/")));

        // A new province empties the city and county texts; the county list waits for a city.
        f.Choose(1, 1);
        QCOMPARE(Items(f.Box(2)), (QStringList{"Gamma"}));
        QCOMPARE(f.Box(2)->currentText(), QString());
        QCOMPARE(f.Box(3)->currentText(), QString());
        QCOMPARE(Items(f.Box(3)), (QStringList{"Aone", "Atwo"}));
        QVERIFY(f.boxes.empty());
    }

    // Typing into a box chooses nothing; a province that is typed has no cities.
    void typingIntoTheBoxes() {
        Fixture f;
        f.Choose(1, 0);
        f.Choose(2, 0);
        QTest::keyClicks(f.Box(3)->lineEdit(), QStringLiteral("zz"));
        QCOMPARE(f.Text(QStringLiteral("LabeledEdit3")), QStringLiteral("0"));
        QTest::keyClicks(f.Box(2)->lineEdit(), QStringLiteral("zz"));
        QCOMPARE(Items(f.Box(3)), (QStringList{"Aone", "Atwo"}));
        QTest::keyClicks(f.Box(1)->lineEdit(), QStringLiteral("x"));
        QCOMPARE(f.window->Location().ProvinceIndex, 0);
        QCOMPARE(f.Box(2)->count(), 0);
        QCOMPARE(f.Box(2)->toolTip(), QStringLiteral("0"));
        QVERIFY(f.boxes.empty());
    }

    void missingDatabaseIsSaidAndChangesNothing() {
        Fixture f(false);
        f.Choose(1, 0);
        QCOMPARE(f.boxes.size(), std::size_t{1});
        QVERIFY(f.boxes[0].second.contains(QStringLiteral("city.db")));
        QCOMPARE(f.Box(2)->count(), 0);
        QCOMPARE(f.window->Location().ProvinceIndex, 1);
    }

    // Without a device the button says so and sends nothing.
    void applyWithoutDevice() {
        Fixture f;
        f.Choose(1, 0);
        f.Choose(2, 0);
        f.Choose(3, 0);
        f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(f.boxes, (std::vector<Shown>{{f.window->windowTitle(), ConnectDeviceText}}));
        QVERIFY(f.Find<QProgressBar>(QStringLiteral("ProgressBar1"))->isHidden());
    }

    // The whole run from the window: every block confirmed, the closing line logged, the
    // progress bar at its end and hidden, the monitor on again.
    void applyWithDevice() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        f.Choose(1, 0);
        f.Choose(2, 0);
        f.Choose(3, 0);
        f.WriteTimetables(10);
        QFile::copy(QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/encryp.key"),
                    f.Path(QStringLiteral("encryp.key")));
        QVERIFY(OpenPort(f.link, QString::fromStdString(sim.PortPath())));
        f.link.Connected = true;
        f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QVERIFY(f.boxes.empty());
        const QString date = QString::fromLatin1(f.clock.DateText.data());
        QCOMPARE(f.window->LogLines(), QStringList{date + AppliedText});
        auto* progress = f.Find<QProgressBar>(QStringLiteral("ProgressBar1"));
        QCOMPARE(progress->value(), 316);
        QVERIFY(progress->isHidden());
        QVERIFY(f.window->MonitorTimer()->isActive());
        QCOMPARE(sim.FramesReceived(), 316);
        const auto memory = sim.Memory();
        QCOMPARE(int{memory[0]}, 0);   // county 100, high byte
        QCOMPARE(int{memory[1]}, 100); // low byte
        QCOMPARE(int{memory[2]}, 1);   // province
        QCOMPARE(int{memory[3]}, 51);
        QCOMPARE(int{memory[4]}, 42);
    }

    // A field that does not convert: its message, the focus on it, nothing sent.
    void applyRefusesBadField() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        f.Choose(1, 0);
        f.Choose(2, 0);
        f.Choose(3, 0);
        QFile::copy(QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/encryp.key"),
                    f.Path(QStringLiteral("encryp.key")));
        QVERIFY(OpenPort(f.link, QString::fromStdString(sim.PortPath())));
        f.link.Connected = true;
        f.window->show();
        auto* field = f.Find<QLineEdit>(QStringLiteral("LabeledEdit12"));
        field->setText(QStringLiteral("x1"));
        f.Find<QPushButton>(QStringLiteral("BitBtn1"))->click();
        QCOMPARE(f.boxes.size(), std::size_t{1});
        QCOMPARE(f.boxes[0].second, QStringLiteral("'x1' is not a valid integer value"));
        QTRY_VERIFY(field->hasFocus());
        QVERIFY(f.Find<QProgressBar>(QStringLiteral("ProgressBar1"))->isHidden());
        QVERIFY(!f.window->MonitorTimer()->isActive()); // as it was before the click
        QTest::qWait(50);
        QCOMPARE(sim.FramesReceived(), 0);
    }
};

QTEST_MAIN(WindowDeviceTest)
#include "tst_windowdevice.moc"
