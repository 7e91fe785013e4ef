// muezzin-config: the window program.
#include "app/AppTexts.h"
#include "app/TForm1.h"
#include "app/Translations.h"
#include "comm/PortInfo.h"
#include "common/StopSignals.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "common/UserError.h"
#include "location/StartFolder.h"

#include <QApplication>
#include <QBuffer>
#include <QCommandLineParser>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPixmap>
#include <QStyleFactory>
#include <QTimer>
#include <cstring>
#include <optional>

namespace {

// Reports once, on stderr, how long the window took to be painted first (--verbose).
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
                PrintNote(QStringLiteral("window painted %1 ms after start").arg(elapsed));
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
                Problem(QStringLiteral("picture-format")).Set(QStringLiteral("path"), path));
        }
        SaveBytes(path, picture.data());
    } catch (const UserError& error) {
        PrintNote(ProblemText(error.Reported(), CommandLineWording()));
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
            window.FirstTickDone() && (!expectDevice || window.StatusText() == ConnectedText);
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

struct WindowOptions {
    QCommandLineOption Screenshot{
        QStringLiteral("screenshot"),
        QStringLiteral("Start, wait for the first clock tick and (with MUEZZIN_PORTS set) the "
                       "connection, save a PNG of the window to FILE and exit."),
        QStringLiteral("FILE")};
    QCommandLineOption Folder{
        QStringLiteral("folder"),
        QStringLiteral("The start folder with the tool's files (default: the working directory "
                       "when it holds them, else the user's data folder, filled from the "
                       "installed sample on first use)."),
        QStringLiteral("DIR")};
    QCommandLineOption Verbose{
        QStringLiteral("verbose"),
        QStringLiteral("Say on standard error how long the window took to be painted first.")};
};

void DescribeOptions(QCommandLineParser& parser, const WindowOptions& options) {
    // Broken by hand: the parser prints the description as it stands.
    parser.setApplicationDescription(
        QStringLiteral(
            "Configures an electronic muezzin over its serial line: location, prayer\n"
            "timetables, audio settings, clock and firmware. Serial ports named in\n"
            "MUEZZIN_PORTS (separated by '%1') are searched besides those the system lists;\n"
            "with MUEZZIN_PORTS_ONLY=1, they alone.")
            .arg(PortListSeparator()));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOption(options.Screenshot);
    parser.addOption(options.Folder);
    parser.addOption(options.Verbose);
}

// Whether the command line only asks for the help or the version, which need no display.
bool AsksForTextOnly(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i) {
        for (const char* option : {"-h", "--help", "-?", "--help-all", "-v", "--version"}) {
            if (std::strcmp(argv[i], option) == 0) {
                return true;
            }
        }
    }
    return false;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-config"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    const WindowOptions options;
    if (AsksForTextOnly(argc, argv)) {
        QCoreApplication app(argc, argv);
        QCommandLineParser parser;
        DescribeOptions(parser, options);
        parser.process(app); // prints the text and ends the process
        return 0;
    }

    QElapsedTimer started;
    started.start();
    InstallStopSignals();
    // The two process-wide records; the window and the operations get them handed down.
    CommLink link;
    CalendarClock clock;

    QApplication app(argc, argv);
    const QStringList translationNotes = InstallPersianTranslations(app);
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setFont(WindowFont());
    QApplication::setLayoutDirection(Qt::LeftToRight);

    QCommandLineParser parser;
    DescribeOptions(parser, options);
    parser.process(app);

    const StartFolderChoice start =
        ChooseStartFolder(SystemStartFolderPlaces(parser.value(options.Folder)));
    TForm1 window(link, clock, start.Folder);
    window.ReportStartFolder(start);
    for (const QString& note : translationNotes) {
        window.NoteAtStart(u' ' + note);
    }
    std::optional<FirstPaintWatch> watch;
    if (parser.isSet(options.Verbose)) {
        watch.emplace(&window, started);
    }
    if (parser.isSet(options.Screenshot)) {
        ScheduleScreenshot(window, parser.value(options.Screenshot));
    }
    WatchStopSignals(&window, [&window](int signal) { window.StopBySignal(signal); });
    window.show();
    return QApplication::exec();
}
