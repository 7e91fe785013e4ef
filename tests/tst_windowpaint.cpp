// What the screen shows while the upload and the upgrade hold the window's thread: the window
// on a real X display of the test's own, grabbed from the screen in the middle of a run, since
// the widgets themselves would paint correctly whatever reached the screen.
#include "app/TForm1.h"
#include "device/Upgrade.h"
#include "location/CityImport.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

// An X server on a display number it picks itself, so that parallel runs never collide.
class VirtualDisplay {
public:
    VirtualDisplay() = default;
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;
    ~VirtualDisplay() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitpid(pid_, nullptr, 0);
        }
    }

    // Points this process at the new display; false when no server came up.
    bool Start() {
        int ready[2];
        if (pipe(ready) != 0) {
            return false;
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            const int quiet = open("/dev/null", O_WRONLY);
            dup2(quiet, 1);
            dup2(quiet, 2);
            const std::string fd = std::to_string(ready[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1280x800x24",
                   "-nolisten", "tcp", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(ready[1]);
        std::string number;
        char c = 0;
        while (pid_ > 0 && read(ready[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(ready[0]);
        if (number.empty()) {
            return false;
        }
        setenv("DISPLAY", (":" + number).c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        return true;
    }

private:
    pid_t pid_ = -1;
};

QByteArray Csv() {
    return "Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,"
           "Latitude\n"
           "1,10,100,Alpha,Aone,51.4237,35.6961\n";
}

// The window that also takes a picture of the screen at one repaint of a run.
class WatchedWindow : public TForm1 {
public:
    using TForm1::TForm1;
    int GrabAtRepaint = 5;
    QImage MidRun;
    void RepaintNow() override {
        TForm1::RepaintNow();
        if (++repaints_ == GrabAtRepaint) {
            MidRun = OnScreen();
        }
    }
    // What the display shows where the window is.
    QImage OnScreen() const {
        return screen()->grabWindow(0, x(), y(), width(), height()).toImage();
    }

private:
    int repaints_ = 0;
};

struct Desk {
    QTemporaryDir folder;
    DeviceSimulator sim;
    CommLink link;
    CalendarClock clock;
    std::unique_ptr<WatchedWindow> window;

    Desk() {
        Write(QStringLiteral("ostan.txt"), "P1\r\n");
        Write(QStringLiteral("city.csv"), Csv());
        ImportCitiesCsv(Path(QStringLiteral("city.csv")), Path(QStringLiteral("city.db")));
        QFile::copy(QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/encryp.key"),
                    Path(QStringLiteral("encryp.key")));
        WindowTiming timing;
        timing.StartTimers = false;
        window = std::make_unique<WatchedWindow>(link, clock, folder.path() + u'/', timing);
        window->SetMessageBox([](const QString&, const QString&) {});
        window->SetPortSources({[] { return QStringList(); }, {}});
        window->Timer1Timer();
    }
    QString Path(const QString& name) const { return folder.filePath(name); }
    void Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    bool Connect() { return sim.Start() && OpenPort(link, PathOf(sim)) && (link.Connected = true); }
    void Choose(int box, int item) const {
        auto* combo = window->findChild<QComboBox*>(QStringLiteral("Combo%1").arg(box));
        combo->setCurrentIndex(item);
        emit combo->activated(item);
    }
    // The read-outs beside the track bars, in window coordinates.
    std::vector<QRect> ReadOuts() const {
        std::vector<QRect> rects;
        for (int n = 1; n <= 9; ++n) {
            const auto* label = window->findChild<QLabel*>(QStringLiteral("Label%1").arg(n));
            rects.emplace_back(label->mapTo(window.get(), QPoint(0, 0)), label->size());
        }
        return rects;
    }
};

} // namespace

class WindowPaintTest : public QObject {
    Q_OBJECT

private slots:
    // Another window closes just before the run (the upgrade's own file dialog, or any other
    // window for the upload): the read-outs it covered must be back on the screen during the run.
    void readOutsStayPaintedDuringRuns_data() {
        QTest::addColumn<bool>("upgrade");
        QTest::newRow("upload after another window closed") << false;
        QTest::newRow("upgrade after its file dialog") << true;
    }

    void readOutsStayPaintedDuringRuns() {
        QFETCH(bool, upgrade);
        Desk desk;
        QVERIFY(desk.Connect());
        desk.window->show();
        QVERIFY(QTest::qWaitForWindowExposed(desk.window.get()));
        QTest::qWait(200);
        const QImage idle = desk.window->OnScreen();
        const std::vector<QRect> readOuts = desk.ReadOuts();
        for (const QRect& r : readOuts) {
            QCOMPARE(idle.pixelColor(r.topLeft() + QPoint(1, 1)), QColor(Qt::yellow));
        }

        QRect covered; // where the other window stood, in the main window's coordinates
        if (upgrade) {
            QByteArray file(static_cast<qsizetype>(FirmwareFileAreaSize), '\x5A');
            desk.Write(QStringLiteral("new.fmw"), file);
            // Typed into the window's own dialog once it has been painted, as a user would.
            QTimer::singleShot(500, [&] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                QVERIFY(dialog);
                covered = QRect(desk.window->mapFromGlobal(dialog->pos()), dialog->size());
                QTimer::singleShot(5000, dialog, &QDialog::reject); // a dialog that stays: fail
                QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("new.fmw"));
                QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
            });
            desk.window->N13Click();
        } else {
            desk.Choose(1, 0);
            desk.Choose(2, 0);
            desk.Choose(3, 0);
            QWidget other;
            other.setWindowFlag(Qt::Dialog);
            other.setGeometry(QRect(desk.window->mapToGlobal(QPoint(150, 40)), QSize(700, 360)));
            other.show();
            QVERIFY(QTest::qWaitForWindowExposed(&other));
            QTest::qWait(200);
            covered = QRect(desk.window->mapFromGlobal(other.pos()), other.size());
            other.hide();
            desk.window->findChild<QPushButton*>(QStringLiteral("BitBtn1"))->click();
        }

        QVERIFY(!desk.window->MidRun.isNull());
        int wereCovered = 0;
        for (std::size_t i = 0; i < readOuts.size(); ++i) {
            const QRect& r = readOuts[i];
            wereCovered += covered.contains(r) ? 1 : 0;
            QVERIFY2(desk.window->MidRun.copy(r) == idle.copy(r),
                     qPrintable(QStringLiteral("Label%1 differs from its idle look").arg(i + 1)));
        }
        QVERIFY2(wereCovered > 0, "the other window covered no read-out");
    }
};

int main(int argc, char* argv[]) {
    VirtualDisplay display;
    if (!display.Start()) {
        std::fprintf(stderr, "tst_windowpaint: no virtual X display (is Xvfb installed?)\n");
        return 1;
    }
    QApplication app(argc, argv);
    WindowPaintTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_windowpaint.moc"
