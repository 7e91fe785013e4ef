#include "app/AppTexts.h"
#include "app/ButtonGlyph.h"
#include "app/LabeledEdit.h"
#include "app/LampShape.h"
#include "app/Translations.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "location/StartFolder.h"
#include "tests/PortableCases.h"
#include "tests/TestSupport.h"
#include "tests/WindowFixture.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QSlider>
#include <QStatusBar>
#include <QStyleOptionButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

namespace {

struct Fixture : WindowFixture {
    explicit Fixture(const QStringList& ports = {}, const QString& below = {}) {
        Open(ports, below);
        link.Timeouts.ReadTotalConstant = std::chrono::milliseconds(100);
        link.Timeouts.ReadTotalPerByte = std::chrono::milliseconds(5);
    }
    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        file.open(QIODevice::ReadOnly);
        return file.readAll();
    }
    QColor Lamp() const { return Find<LampShape>(QStringLiteral("Shape1"))->brushColor(); }
};

const QColor Red(0xFF, 0, 0);
const QColor Green(0, 0x80, 0);

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

private slots:
    // Every field's control shows the start value of the table of settings fields; a track bar
    // spans the table's range and its label shows its position.
    void startValues_data() {
        QTest::addColumn<int>("row");
        for (std::size_t row = 0; row < SettingsFieldTable.size(); ++row) {
            if (SettingsFieldTable[row].Kind != FieldKind::Index) {
                QTest::newRow(SettingsFieldTable[row].Control) << static_cast<int>(row);
            }
        }
    }

    void startValues() {
        QFETCH(int, row);
        const SettingsField& field = SettingsFieldTable[static_cast<std::size_t>(row)];
        const QString name = QLatin1String(field.Control);
        const SettingsFields start;
        Fixture f;
        if (field.Text) {
            QCOMPARE(f.Find<QLineEdit>(name)->text(), start.*field.Text);
        } else if (field.Level) {
            const auto* bar = f.Find<QSlider>(name);
            QCOMPARE(bar->value(), start.*field.Level);
            QCOMPARE(bar->minimum(), field.Low);
            QCOMPARE(bar->maximum(), field.High);
            QCOMPARE(f.Find<QLabel>(QString(name).replace("TrackBar", "Label"))->text(),
                     QString::number(start.*field.Level));
        } else {
            QCOMPARE(f.Find<QCheckBox>(name)->isChecked(), start.*field.Checked);
        }
    }

    // The controls that hold no field.
    void startTexts_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QStringList rows = {"LabeledEdit3=0",
                                  "LabeledEdit7=010",
                                  "LabeledEdit8=011",
                                  "LabeledEdit9=012",
                                  "LabeledEdit13=0",
                                  "LabeledEdit16=0",
                                  "StaticText2=Not received yet!"};
        for (const QString& row : rows) {
            const auto parts = row.split(u'=');
            QTest::newRow(qPrintable(parts[0])) << parts[0] << parts[1];
        }
    }

    void startTexts() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        Fixture f;
        QObject* control = f.window->findChild<QObject*>(name);
        QVERIFY2(control, qPrintable(name));
        QCOMPARE(control->property("text").toString(), text);
    }

    void startLevels_data() {
        QTest::addColumn<int>("number");
        QTest::addColumn<bool>("enabled");
        for (int n = 1; n <= 11; ++n) {
            QTest::newRow(qPrintable(QStringLiteral("TrackBar%1").arg(n))) << n << (n <= 9);
        }
    }

    void startLevels() {
        QFETCH(int, number);
        QFETCH(bool, enabled);
        Fixture f;
        auto* bar = f.Find<QSlider>(QStringLiteral("TrackBar%1").arg(number));
        QCOMPARE(bar->tickPosition(), QSlider::TicksBelow);
        QCOMPARE(bar->size(), QSize(100, 28));
        QCOMPARE(bar->isEnabled(), enabled);
    }

    void startStates_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("enabled");
        for (int n = 1; n <= 8; ++n) {
            QTest::newRow(qPrintable(QStringLiteral("CheckBox%1").arg(n)))
                << QStringLiteral("CheckBox%1").arg(n) << (n <= 6);
        }
    }

    // The add-on boxes hold no field: disabled and unticked.
    void startStates() {
        QFETCH(QString, name);
        QFETCH(bool, enabled);
        Fixture f;
        auto* box = f.Find<QCheckBox>(name);
        QCOMPARE(box->isEnabled(), enabled);
        if (!enabled) {
            QVERIFY(!box->isChecked());
        }
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("rect");
        QTest::newRow("GroupBox1") << "GroupBox1" << QRect(8, 0, 161, 249);
        QTest::newRow("GroupBox2") << "GroupBox2" << QRect(176, 0, 544, 281);
        QTest::newRow("GroupBox3") << "GroupBox3" << QRect(8, 256, 161, 113);
        QTest::newRow("GroupBox4") << "GroupBox4" << QRect(8, 376, 161, 89);
        QTest::newRow("GroupBox5") << "GroupBox5" << QRect(725, 0, 252, 466);
        QTest::newRow("RichEdit1") << "RichEdit1" << QRect(176, 288, 545, 177);
        QTest::newRow("BitBtn1") << "BitBtn1" << QRect(40, 216, 75, 25);
        QTest::newRow("BitBtn2") << "BitBtn2" << QRect(56, 24, 81, 25);
        QTest::newRow("Shape1") << "Shape1" << QRect(14, 26, 20, 20);
        QTest::newRow("ProgressBar1") << "ProgressBar1" << QRect(328, 256, 206, 17);
        QTest::newRow("TextExtract") << "TextExtract" << QRect(32, 208, 489, 17);
        QTest::newRow("LabeledEdit5") << "LabeledEdit5" << QRect(8, 221, 34, 21);
        QTest::newRow("LabeledEdit13") << "LabeledEdit13" << QRect(8, 25, 81, 21);
    }

    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, rect);
        Fixture f;
        QCOMPARE(f.Find<QWidget>(name)->geometry(), rect);
    }

    // The apply button keeps its place and size; its caption and glyph fit inside it with any
    // font, the glyph smaller or left out when the font leaves it no room.
    void applyCaptionFits_data() {
        QTest::addColumn<int>("pixels");
        QTest::addColumn<int>("smallestGlyph"); // 0: no glyph
        QTest::addColumn<int>("largestGlyph");
        QTest::newRow("8 px: the whole glyph") << 8 << 16 << 16;
        QTest::newRow("10 px: a smaller glyph") << 10 << 10 << 15;
        QTest::newRow("the window's 11 px: the text alone") << 11 << 0 << 0;
        QTest::newRow("12 px: the text alone") << 12 << 0 << 0;
    }

    void applyCaptionFits() {
        QFETCH(int, pixels);
        QFETCH(int, smallestGlyph);
        QFETCH(int, largestGlyph);
        Fixture f;
        QFont font(QStringLiteral("Noto Sans Arabic UI"));
        font.setPixelSize(pixels);
        f.window->setFont(font);
        auto* button = f.Find<QPushButton>(QStringLiteral("BitBtn1"));
        QCOMPARE(button->geometry(), QRect(40, 216, 75, 25));
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect content =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        int width = button->fontMetrics()
                        .boundingRect(content, Qt::AlignCenter, QStringLiteral("اعمال تغييرات"))
                        .width();
        const QSize glyph =
            button->icon().isNull() ? QSize(0, 0) : button->icon().actualSize(button->iconSize());
        QVERIFY2(glyph.width() >= smallestGlyph && glyph.width() <= largestGlyph,
                 qPrintable(QString::number(glyph.width())));
        if (!glyph.isEmpty()) {
            QVERIFY(glyph.height() <= content.height());
            width += glyph.width() + ButtonGlyphSpacing;
        }
        QVERIFY2(width <= content.width(),
                 qPrintable(QStringLiteral("%1 > %2").arg(width).arg(content.width())));
    }

    // 17 pixels high, and still every text of the bar whole: a message of the bar itself (a
    // control's hint, the folder note) takes the place of all the bar's texts, so that no two are
    // drawn over each other, and gives it back.
    void statusBar() {
        Fixture f;
        QFont font(QStringLiteral("Noto Sans Arabic UI"));
        font.setPixelSize(11);
        f.window->setFont(font);
        f.window->show();
        auto* bar = f.Find<QStatusBar>(QStringLiteral("StatusBar1"));
        QCOMPARE(bar->height(), 17);
        QCOMPARE(bar->geometry().bottom(), f.window->height() - 1);
        f.window->SetStatusText(QStringLiteral("Page number: 4 ; Retry : 0"));
        for (const char* name : {"StatusText", "PortProblems", "TextProblem"}) {
            const auto* label = f.Find<QLabel>(QString::fromLatin1(name));
            const QRect inBar(label->mapTo(bar, QPoint(0, 0)), label->size());
            QVERIFY2(bar->rect().contains(inBar), name);
            QVERIFY2(inBar.height() >= label->fontMetrics().height(), name);
        }
        auto* text = f.Find<QLabel>(QStringLiteral("StatusText"));
        QVERIFY(text->isVisible());
        f.Find<QLabel>(QStringLiteral("PortProblems"))->setText(QStringLiteral("cannot open"));
        bar->showMessage(QStringLiteral("2"));
        for (const char* name : {"StatusText", "PortProblems", "TextProblem"}) {
            QVERIFY2(!f.Find<QLabel>(QString::fromLatin1(name))->isVisible(), name);
        }
        bar->clearMessage();
        QVERIFY(text->isVisible());
        QVERIFY(f.Find<QLabel>(QStringLiteral("PortProblems"))->isVisible());
        QCOMPARE(f.window->StatusText(), QStringLiteral("Page number: 4 ; Retry : 0"));
    }

    void otherStartState() {
        Fixture f;
        QVERIFY(!f.Find<QPushButton>(QStringLiteral("BitBtn1"))->isEnabled());
        QVERIFY(f.Find<QPushButton>(QStringLiteral("BitBtn2"))->isEnabled());
        QCOMPARE(f.Lamp(), Red);
        auto* progress = f.Find<QProgressBar>(QStringLiteral("ProgressBar1"));
        QVERIFY(progress->isHidden());
        QCOMPARE(progress->maximum(), 291);
        QVERIFY(f.Find<QPlainTextEdit>(QStringLiteral("TextExtract"))->isHidden());
        QCOMPARE(f.Find<QPlainTextEdit>(QStringLiteral("TextExtract"))->toPlainText(),
                 QStringLiteral("TextExtract"));
        for (const char* name :
             {"N11", "Exit1", "N2", "N3", "N12", "N5", "N4", "N13", "N7", "N8", "N10"}) {
            QVERIFY2(f.Find<QAction>(QString::fromLatin1(name))->isEnabled(), name);
        }
        for (const char* name :
             {"LabeledEdit4", "LabeledEdit5", "LabeledEdit6", "LabeledEdit10", "LabeledEdit11",
              "LabeledEdit12", "LabeledEdit14", "LabeledEdit15"}) {
            QCOMPARE(f.Find<QLineEdit>(QString::fromLatin1(name))->maxLength(), 3);
        }
        QVERIFY(f.Find<QLineEdit>(QStringLiteral("LabeledEdit13"))->isReadOnly());
        QVERIFY(f.Find<QLineEdit>(QStringLiteral("LabeledEdit7"))->isReadOnly());
        QVERIFY(!f.link.Connected);
        QVERIFY(!f.window->FirstTickDone());
        QCOMPARE(f.window->StartFolder(), f.folder.path() + u'/');
    }

    // The caption stands on the edit's right, 3 pixels away, and follows it.
    void captionBesideEdit() {
        Fixture f;
        auto* edit = f.Find<LabeledEdit>(QStringLiteral("LabeledEdit1"));
        QCOMPARE(edit->captionLabel()->x(), edit->geometry().right() + 1 + 3);
        f.window->show();
        edit->move(20, 30);
        QCOMPARE(edit->captionLabel()->x(), 20 + edit->width() + 3);
        QCOMPARE(f.Find<LabeledEdit>(QStringLiteral("LabeledEdit5"))->captionColor(),
                 QColor(Qt::red));
        QVERIFY(!f.Find<LabeledEdit>(QStringLiteral("LabeledEdit17"))->captionLabel()->isEnabled());
    }

    void trackBarsShowTheirPosition() {
        Fixture f;
        for (int n = 1; n <= 11; ++n) {
            auto* bar = f.Find<QSlider>(QStringLiteral("TrackBar%1").arg(n));
            bar->setValue(n == 1 ? 32 : n + 2);
            QCOMPARE(f.Find<QLabel>(QStringLiteral("Label%1").arg(n))->text(),
                     QString::number(bar->value()));
        }
    }

    void clockFields() {
        Fixture f;
        f.window->Timer1Timer();
        const QString time = f.Find<QLineEdit>(QStringLiteral("LabeledEdit13"))->text();
        const QString date = f.Find<QLineEdit>(QStringLiteral("LabeledEdit16"))->text();
        QVERIFY2(QRegularExpression(QStringLiteral("^ \\d\\d : \\d\\d : \\d\\d$"))
                     .match(time)
                     .hasMatch(),
                 qPrintable(time));
        QCOMPARE(time, QString::fromStdString(ClockTimeText(f.clock)));
        QCOMPARE(date, QString::fromStdString(SolarDateText(f.clock)));
        QVERIFY(QRegularExpression(QStringLiteral("^ 1\\d\\d\\d / \\d\\d / \\d\\d$"))
                    .match(date)
                    .hasMatch());
    }

    void firstTick_data() {
        QTest::addColumn<bool>("provinces");
        QTest::addColumn<bool>("log");
        QTest::addColumn<int>("boxes");
        QTest::newRow("both present") << true << true << 0;
        QTest::newRow("province list missing, log still loads") << false << true << 1;
        QTest::newRow("log missing is a first start") << true << false << 0;
        QTest::newRow("both missing") << false << false << 1;
    }

    void firstTick() {
        QFETCH(bool, provinces);
        QFETCH(bool, log);
        QFETCH(int, boxes);
        Fixture f;
        if (provinces) {
            f.Write(QStringLiteral("ostan.txt"),
                    ToWindows1256(QStringLiteral("\u0645\u0631\u06A9\u0632\u06CC\r\nB\r\n")));
        }
        if (log) {
            f.Write(QStringLiteral("log.txt"), QByteArray("first line\r\nsecond \xED\r\n"));
        }
        f.window->Timer1Timer();
        QVERIFY(f.window->FirstTickDone());
        QCOMPARE(static_cast<int>(f.boxes.size()), boxes);
        if (boxes > 0) {
            QCOMPARE(
                f.boxes[0].second,
                WindowWords(Problem(QStringLiteral("file-not-found"), QStringLiteral("read"))
                                .Set(QStringLiteral("path"), f.Path(QStringLiteral("ostan.txt")))));
        }
        auto* combo = f.Find<QComboBox>(QStringLiteral("Combo1"));
        QCOMPARE(combo->count(), provinces ? 2 : 0);
        if (provinces) {
            QCOMPARE(combo->itemText(0), QStringLiteral("\u0645\u0631\u06A9\u0632\u064A"));
            QCOMPARE(combo->currentIndex(), -1);
        }
        QCOMPARE(f.window->LogLines(),
                 log ? QStringList({"first line", QStringLiteral("second \u064A")})
                     : QStringList());
        // The files are read once only.
        f.Write(QStringLiteral("ostan.txt"), QByteArray("X\r\n"));
        f.window->Timer1Timer();
        QCOMPARE(combo->count(), provinces ? 2 : 0);
    }

    // A PC whose zone is not the device's is told so once, in the log at start.
    void zoneNotedAtStart_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("note"); // the log's only line; empty: none
        QTest::newRow("Iran Standard Time") << "IRST-3:30"
                                            << "";
        const Problem zone(QStringLiteral("time-zone"));
        QTest::newRow("UTC") << "UTC0"
                             << u' ' +
                                    WindowWords(Problem(zone.Kind, QStringLiteral("other-offset"))
                                                    .Set(QStringLiteral("offset"),
                                                         QStringLiteral("+00:00")));
        QTest::newRow("Iran's rule before 2022")
            << cases::OldIranRule
            << u' ' + WindowWords(Problem(zone.Kind, QStringLiteral("old-rules"))
                                      .Set(QStringLiteral("last_year"), 2022)
                                      .Set(QStringLiteral("year"), 2023));
    }

    void zoneNotedAtStart() {
        QFETCH(QString, zone);
        QFETCH(QString, note);
        const QByteArray before = qgetenv("TZ");
        qputenv("TZ", zone.toLatin1());
        Fixture f;
        f.window->Timer1Timer();
        qputenv("TZ", before);
        const QString date = QString::fromLatin1(f.clock.DateText.data());
        QCOMPARE(f.window->LogLines(), note.isEmpty() ? QStringList() : QStringList{date + note});
    }

    void logLinesJoinDateText() {
        Fixture f;
        f.window->Timer1Timer();
        f.window->AppendLogLine(QStringLiteral("x"));
        f.window->AppendLogLine(QStringLiteral(" y"));
        const QString date = QString::fromLatin1(f.clock.DateText.data());
        QCOMPARE(f.window->LogLines(), (QStringList{date + u'x', date + QStringLiteral(" y")}));
    }

    void closeSavesLog() {
        Fixture f;
        f.Write(QStringLiteral("log.txt"), QByteArray("old\r\n"));
        f.window->Timer1Timer();
        f.window->AppendLogLine(QStringLiteral(" \u06CC"));
        QVERIFY(f.window->FormCloseQuery());
        const QByteArray date(f.clock.DateText.data());
        QCOMPARE(f.Read(QStringLiteral("log.txt")), "old\r\n" + date + " \xED\r\n");
        QVERIFY(!f.window->ClockTimer()->isActive());
        QVERIFY(!f.window->MonitorTimer()->isActive());
    }

    void clearThenCloseLeavesEmptyLog() {
        Fixture f;
        f.Write(QStringLiteral("log.txt"), QByteArray("old\r\n"));
        f.window->Timer1Timer();
        f.Find<QAction>(QStringLiteral("N11"))->trigger();
        QVERIFY(f.window->FormCloseQuery());
        QCOMPARE(f.Read(QStringLiteral("log.txt")), QByteArray());
    }

    // A log that cannot be written keeps the window open and shows why.
    void closeRefusedWhenLogCannotBeWritten() {
        Fixture f;
        QVERIFY(QDir(f.folder.path()).mkdir(QStringLiteral("log.txt")));
        f.window->show();
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.boxes.size(), std::size_t{1});
        QVERIFY(f.boxes[0].second.contains(QStringLiteral("log.txt")));
        QVERIFY(!f.window->MonitorTimer()->isActive());
        QVERIFY(QDir(f.folder.path()).rmdir(QStringLiteral("log.txt")));
        QVERIFY(f.window->close());
    }

    void closeReleasesPortOnlyWhenConnected_data() {
        QTest::addColumn<bool>("connected");
        QTest::newRow("connected") << true;
        QTest::newRow("not connected") << false;
    }

    void closeReleasesPortOnlyWhenConnected() {
        QFETCH(bool, connected);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f;
        QVERIFY(OpenPort(f.link, PathOf(sim)));
        f.link.Connected = connected;
        QVERIFY(f.window->FormCloseQuery());
        QCOMPARE(IsPortOpen(f.link), !connected);
    }

    // Found by one tick, shown by the next; the version as the device reports it.
    void monitorFindsDevice() {
        SimulatorOptions options;
        const std::string version = "ABCDEFGHIJKL";
        std::copy(version.begin(), version.end(), options.VersionData.begin());
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        Fixture f({PathOf(sim)});
        f.window->Timer2Timer();
        QVERIFY(f.link.Connected);
        QCOMPARE(f.Lamp(), Red);
        QCOMPARE(f.window->StatusText(), QStringLiteral("disconnected from the hardware"));
        QCOMPARE(f.window->MonitorTimer()->interval(), 3000);
        QVERIFY(f.window->MonitorTimer()->isActive());

        f.window->Timer2Timer();
        QCOMPARE(f.Lamp(), Green);
        QCOMPARE(f.window->StatusText(), QStringLiteral("connected to the hardware"));
        QCOMPARE(f.Find<QLabel>(QStringLiteral("StaticText2"))->text(),
                 QStringLiteral("CD.EF.AB.GHIJK"));
        QVERIFY(!f.Find<QPushButton>(QStringLiteral("BitBtn2"))->isEnabled());
        QVERIFY(f.Find<QAction>(QStringLiteral("N3"))->isEnabled());
        QVERIFY(f.Find<QAction>(QStringLiteral("N13"))->isEnabled());
        QCOMPARE(f.window->MonitorTimer()->interval(), 10000);
        QVERIFY(f.boxes.empty());
    }

    // A device that stops answering shows as disconnected at the tick after the failed poll,
    // which searches again at once; the version text stays as it was.
    void monitorNoticesSilentDevice() {
        SimulatorOptions options;
        options.StopAfterFrames = 3; // probe, version, first poll
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        Fixture f({PathOf(sim)});
        f.window->Timer2Timer(); // search: found
        f.window->Timer2Timer(); // shown connected; the poll is answered
        QVERIFY(f.link.Connected);
        f.window->Timer2Timer(); // shown connected; this poll fails
        QVERIFY(!f.link.Connected);
        QCOMPARE(f.Lamp(), Green);
        f.window->Timer2Timer();
        QCOMPARE(f.Lamp(), Red);
        QCOMPARE(f.window->StatusText(), QStringLiteral("disconnected from the hardware"));
        QVERIFY(f.Find<QPushButton>(QStringLiteral("BitBtn2"))->isEnabled());
        QVERIFY(!f.Find<QAction>(QStringLiteral("N13"))->isEnabled());
        QCOMPARE(f.Find<QLabel>(QStringLiteral("StaticText2"))->text(),
                 QStringLiteral("26.01.03.SIM01"));
        QCOMPARE(sim.FramesReceived(), 5); // the search of the last tick probed again
    }

    void monitorDeviceOnSecondPort() {
        SimulatorOptions silent;
        silent.Silent = true;
        DeviceSimulator first(silent);
        DeviceSimulator second;
        QVERIFY(first.Start() && second.Start());
        Fixture f({PathOf(first), PathOf(second)});
        f.window->Timer2Timer();
        QVERIFY(f.link.Connected);
        QCOMPARE(f.link.PortName, PathOf(second));
        QCOMPARE(first.FramesReceived(), 1);
    }

    void monitorWithoutPorts() {
        Fixture f;
        for (int i = 0; i < 3; ++i) {
            f.window->Timer2Timer();
        }
        QVERIFY(!f.link.Connected);
        QVERIFY(f.boxes.empty());
        QCOMPARE(f.window->StatusText(), QStringLiteral("disconnected from the hardware"));
        QCOMPARE(f.window->MonitorTimer()->interval(), 3000);
    }

    // An unopenable port, in Persian as the window speaks: the system's English box once, one
    // log line with the whole reason, then the status bar only, with the short reason and the
    // whole in its tooltip. The port's path stays in order inside the Persian line, isolated in
    // the window and between direction marks in log.txt.
    void unopenablePortShownOnce() {
        QVERIFY(InstallPersianTranslation(*QCoreApplication::instance()));
        const auto removeTranslation = qScopeGuard([] {
            for (QTranslator* t : QCoreApplication::instance()->findChildren<QTranslator*>()) {
                QCoreApplication::removeTranslator(t);
                delete t;
            }
        });
        const QString port = QStringLiteral("/dev/muezzin-missing");
        Fixture f({port});
        for (int i = 0; i < 3; ++i) {
            f.window->Timer2Timer();
        }
        QCOMPARE(f.boxes.size(), std::size_t{1});
        QCOMPARE(f.boxes[0].second, QStringLiteral("Error occured while opening the port"));
        const Problem gone = Problem(QStringLiteral("port-gone"))
                                 .Set(QStringLiteral("port"), port)
                                 .Set(QStringLiteral("reason"), QStringLiteral("-"));
        const QString whole = WindowWords(gone);
        const QString persian = QStringLiteral("[\\x{0600}-\\x{06FF}]");
        QVERIFY2(whole.contains(QRegularExpression(persian)), qPrintable(whole));
        QVERIFY(whole.contains(QChar(0x2068) + port + QChar(0x2069)));
        QCOMPARE(f.window->PortProblemText(), WindowShortWords(gone));
        QVERIFY(WindowShortWords(gone) != whole);
        QCOMPARE(f.window->findChild<QLabel*>(QStringLiteral("PortProblems"))->toolTip(), whole);
        QCOMPARE(f.window->LogLines().filter(port).size(), 1);
        QVERIFY(f.window->LogLines().last().endsWith(u' ' + whole));

        QVERIFY(f.window->FormCloseQuery());
        QFile log(f.Path(QStringLiteral("log.txt")));
        QVERIFY(log.open(QIODevice::ReadOnly));
        const QString saved = FromWindows1256(log.readAll());
        QVERIFY2(saved.contains(QChar(0x200E) + port + QChar(0x200E)), qPrintable(saved));
    }

    void startFolderReport_data() {
        QTest::addColumn<bool>("setUp");
        QTest::addColumn<QString>("name"); // of the start folder, below the temporary one
        QTest::newRow("the data folder, filled") << true << "";
        QTest::newRow("a data folder that cannot be set up") << false << "";
        QTest::newRow("a folder whose name holds a line feed") << true << "two\nlines/";
    }

    // A folder other than the working directory is named in the status bar and the log. One
    // that could not be set up is one box instead of the errors of its missing files, and the
    // window still closes although its log has nowhere to go.
    void startFolderReport() {
        QFETCH(bool, setUp);
        QFETCH(QString, name);
        const QString below = setUp ? name : QStringLiteral("blocked/muezzin-config/");
        Fixture f({}, below);
        f.Write(setUp ? below + QStringLiteral("ostan.txt") : QStringLiteral("blocked"), "A\r\n");
        StartFolderChoice choice;
        choice.Source = StartFolderSource::DataFolder;
        choice.Folder = f.window->StartFolder();
        if (!setUp) {
            choice.SetUpProblem = Problem(QStringLiteral("start-folder"), QStringLiteral("staging"))
                                      .Set(QStringLiteral("folder"), choice.Folder)
                                      .Set(QStringLiteral("reason"), QStringLiteral("blocked"));
        }

        f.window->ReportStartFolder(choice);
        f.window->Timer1Timer();

        // The log keeps one entry a line: a line break of the name is shown as \n.
        const QString said = setUp ? EscapedText(choice.Folder) : choice.Folder;
        QCOMPARE(f.Find<QStatusBar>(QStringLiteral("StatusBar1"))->currentMessage().contains(said),
                 setUp);
        QVERIFY2(f.window->LogLines().last().contains(said),
                 qPrintable(f.window->LogLines().last()));
        QCOMPARE(f.boxes.size(), std::size_t{setUp ? 0u : 1u});
        if (!setUp) {
            QCOMPARE(f.boxes[0].second, ProblemText(choice.SetUpProblem, Wording::PersianWindow));
        }
        QVERIFY(f.window->FormCloseQuery());
        QCOMPARE(QFile::exists(f.window->StartFolder() + QStringLiteral("log.txt")), setUp);
    }

    void persianTexts_data() {
        QTest::addColumn<QString>("context");
        QTest::addColumn<QString>("source");
        QTest::newRow("Qt's message box button") << "QPlatformTheme"
                                                 << "OK";
        QTest::newRow("Qt's edit menu") << "QLineEdit"
                                        << "&Copy";
        QTest::newRow("timetable view") << "TimetableDialog"
                                        << "not a time of day";
        QTest::newRow("status bar note")
            << "TForm1"
            << "no device connected: connect the device and wait for the green lamp";
        QTest::newRow("text-setting check") << "CodePageCheck"
                                            << " Persian text will not work here: ";
        QTest::newRow("a problem's words") << "Problem"
                                           << "no device answered on {ports} port(s)";
    }

    // Qt's own texts and this program's additions speak Persian; the layout stays left to right.
    void persianTexts() {
        QFETCH(QString, context);
        QFETCH(QString, source);
        const QStringList notes = InstallPersianTranslations(*QCoreApplication::instance());
        QCoreApplication::sendPostedEvents(); // the language change
        const QString translated =
            QCoreApplication::translate(context.toUtf8().constData(), source.toUtf8().constData());
        const Qt::LayoutDirection direction = QGuiApplication::layoutDirection();
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QCOMPARE(notes, QStringList());
        QVERIFY2(translated.contains(QRegularExpression(QStringLiteral("[\\x{0600}-\\x{06FF}]"))),
                 qPrintable(translated));
        QCOMPARE(direction, Qt::LeftToRight);
    }

    // Qt's Persian as Qt's folders hold it, or as windeployqt deploys it: one qt_fa made of the
    // modules' catalogues, which a copy of qtbase_fa stands for here.
    void qtTranslationFolders_data() {
        QTest::addColumn<QStringList>("files"); // in the folder, each a copy of qtbase_fa
        QTest::addColumn<bool>("found");
        QTest::newRow("deployed: qt_fa alone") << QStringList{"qt_fa.qm"} << true;
        QTest::newRow("by module: qtbase_fa alone") << QStringList{"qtbase_fa.qm"} << true;
        QTest::newRow("both") << QStringList{"qt_fa.qm", "qtbase_fa.qm"} << true;
        QTest::newRow("another language only") << QStringList{"qt_de.qm"} << false;
    }

    void qtTranslationFolders() {
        QFETCH(QStringList, files);
        QFETCH(bool, found);
        const QString qtbase =
            QLibraryInfo::path(QLibraryInfo::TranslationsPath) + QStringLiteral("/qtbase_fa.qm");
        QTemporaryDir folder;
        for (const QString& file : files) {
            QVERIFY(QFile::copy(qtbase, folder.filePath(file)));
        }
        const QStringList notes =
            InstallPersianTranslations(*QCoreApplication::instance(), {folder.path()});
        const QString translated = QCoreApplication::translate("QPlatformTheme", "OK");
        for (QTranslator* translator : QCoreApplication::instance()->findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
        QCOMPARE(notes.size(), found ? 0 : 1); // the program's own is built in
        QCOMPARE(translated != QStringLiteral("OK"), found);
    }

    void searchButtonRunsSearch() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        Fixture f({PathOf(sim)});
        QVERIFY(!f.window->MonitorTimer()->isActive());
        f.Find<QPushButton>(QStringLiteral("BitBtn2"))->click();
        QVERIFY(f.link.Connected);
        QVERIFY(!f.window->MonitorTimer()->isActive()); // its state is left as it was
    }
};

QTEST_MAIN(WindowTest)
#include "tst_window.moc"
