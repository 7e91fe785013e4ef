// muezzin-config: the window program.
#include "app/TForm1.h"
#include "location/TextFiles.h"
#include "location/UserError.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QFontDatabase>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>
#include <cstdio>

namespace {

// Tahoma where the system has it; else a face that shapes Persian well.
QFont WindowFont() {
    const QStringList families = QFontDatabase::families();
    QFont font(families.contains(QStringLiteral("Tahoma")) ? QStringLiteral("Tahoma")
                                                           : QStringLiteral("Noto Sans Arabic UI"));
    font.setPixelSize(11);
    return font;
}

// Reports once, on stderr, how long the window took to be painted first.
class FirstPaintWatch : public QObject {
public:
    FirstPaintWatch(QWidget* window, const QElapsedTimer& started)
        : window_(window), started_(started) {
        window_->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && event->type() == QEvent::Paint) {
            window_->removeEventFilter(this);
            const qint64 elapsed = started_.elapsed();
            QTimer::singleShot(0, [elapsed] {
                std::fprintf(stderr, "muezzin-config: window painted %lld ms after start\n",
                             static_cast<long long>(elapsed));
            });
        }
        return false;
    }

private:
    QWidget* window_;
    const QElapsedTimer& started_;
};

// Through the shared save, so that a full disk never leaves half a picture.
void SaveScreenshot(TForm1& window, const QString& path) {
    const QByteArray suffix = QFileInfo(path).suffix().toLatin1();
    QBuffer picture;
    picture.open(QIODevice::WriteOnly);
    try {
        if (!window.grab().save(&picture, suffix.isEmpty() ? "PNG" : suffix.constData())) {
            throw UserError(
                QStringLiteral("cannot write %1: no picture format has that name").arg(path));
        }
        SaveBytes(path, picture.data());
    } catch (const UserError& error) {
        std::fprintf(stderr, "muezzin-config: %s\n", qPrintable(error.Text()));
    }
}

// Takes the picture once the first tick has run and, with ports to search, the device shows
// as connected (or the wait runs out), then closes the window as a user would.
void ScheduleScreenshot(TForm1& window, const QString& path) {
    auto* poll = new QTimer(&window);
    auto* waited = new QElapsedTimer;
    waited->start();
    const bool expectDevice = !qEnvironmentVariable("MUEZZIN_PORTS").isEmpty();
    QObject::connect(poll, &QTimer::timeout, &window, [&window, path, poll, waited, expectDevice] {
        const bool ready =
            window.FirstTickDone() &&
            (!expectDevice || window.StatusText() == QStringLiteral("connected to the hardware"));
        if (!ready && waited->elapsed() < 20000) {
            return;
        }
        poll->stop();
        delete waited;
        SaveScreenshot(window, path);
        window.close();
    });
    poll->start(100);
}

} // namespace

int main(int argc, char* argv[]) {
    QElapsedTimer started;
    started.start();
    // The two process-wide records; the window and the operations get them handed down.
    CommLink link;
    CalendarClock clock;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("muezzin-config"));
    QApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(WindowFont());
    QApplication::setLayoutDirection(Qt::LeftToRight);

    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Configures an electronic muezzin over its serial line. The tool's "
                       "files are looked for in the working directory."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Start, wait for the first clock tick and (with MUEZZIN_PORTS set) the "
                       "connection, save a PNG of the window to FILE and exit."),
        QStringLiteral("FILE"));
    parser.addOption(screenshot);
    parser.process(app);

    TForm1 window(link, clock, QDir::currentPath() + u'/');
    FirstPaintWatch watch(&window, started);
    if (parser.isSet(screenshot)) {
        ScheduleScreenshot(window, parser.value(screenshot));
    }
    window.show();
    return QApplication::exec();
}
