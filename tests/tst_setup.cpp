// The obstacles of a new set-up as a technician meets them: a port this user may not open, a
// port another program holds, a lock left by a killed program, the doctor's verdict, and a run
// ended by a signal. The programs run as processes against the simulator; what they say and
// what they leave behind are read after they have exited.
#include "comm/CommLink.h"
#include "comm/PortProblems.h"
#include "common/StopSignals.h"
#include "common/TextFiles.h"
#include "device/DeviceTexts.h"
#include "location/CityImport.h"
#include "tests/PortableCases.h"
#include "tests/ProcessRun.h"
#include "tests/StartFolderFixture.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Cli = QStringLiteral(MUEZZIN_CLI);
const QString ToolRule =
    QStringLiteral(MUEZZIN_SOURCE_DIR "/packaging/60-muezzin-serial-adapters.rules");

// A user of no account and no group, as a new login without privileges.
constexpr int ThrowawayId = 54321;

// Standard output and error, line by line.
QStringList Lines(const Outcome& run) {
    return (run.Out + run.Err).split(u'\n', Qt::SkipEmptyParts);
}

QProcessEnvironment Environment() {
    static const QTemporaryDir home;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.remove(QStringLiteral("MUEZZIN_PORTS"));
    // The machine's own serial ports are never written to, nor raced for with other tests: a
    // window whose search met one held by another test would wait on its error box.
    env.insert(QStringLiteral("MUEZZIN_PORTS_ONLY"), QStringLiteral("1"));
    env.remove(QStringLiteral("MUEZZIN_UDEV_RULES_DIRS"));
    return env;
}

// The command line, run as the user (and, with a group, without its other groups) when given.
QStringList AsUser(int user, int group, const QStringList& command) {
    if (user < 0) {
        return command;
    }
    return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(user),
                       QStringLiteral("--regid=%1").arg(group), QStringLiteral("--clear-groups"),
                       QStringLiteral("--")} +
           command;
}

void Start(QProcess& process, const QStringList& command, const QString& folder,
           const QProcessEnvironment& env) {
    StartProgram(process, command.first(), command.mid(1), folder, env);
}

Outcome Run(const QStringList& command, const QString& folder,
            const QProcessEnvironment& env = Environment()) {
    return RunProgram(command.first(), command.mid(1), folder, env);
}

bool WaitFor(const std::function<bool()>& condition) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() > 30000) {
            return false;
        }
        QTest::qWait(20);
    }
    return true;
}

// The number of a process that has ended.
qint64 DeadPid() {
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999;
}

bool SetOwner(const QString& path, int user, const QString& group, int mode) {
    const struct group* entry = getgrnam(group.toLatin1().constData());
    const QByteArray native = QFile::encodeName(path);
    return entry && chown(native.constData(), static_cast<uid_t>(user), entry->gr_gid) == 0 &&
           chmod(native.constData(), static_cast<mode_t>(mode)) == 0;
}

bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString Filled(QString text, const QMap<QString, QString>& values) {
    for (auto value = values.begin(); value != values.end(); ++value) {
        text.replace(value.key(), value.value());
    }
    return text;
}

// Free: no lock file of the serial port stays, and the port opens again.
bool PortIsFree(const QString& port) {
    const QString lock = PortLockFile(port);
    if (!lock.isEmpty() && QFile::exists(lock)) {
        return false;
    }
    CommLink link;
    const bool opened = OpenPort(link, port, DeviceBaudRate, false);
    ClosePort(link);
    return opened;
}

} // namespace

class SetupTest : public QObject {
    Q_OBJECT

private slots:
    // The programs start as from a terminal, whatever started the tests: a background job of a
    // shell would hand them SIGINT ignored, and they keep what they are handed.
    void initTestCase() {
        std::signal(SIGINT, SIG_DFL);
        std::signal(SIGHUP, SIG_DFL);
    }

    // find and ports as an ordinary user: the same reason and remedy, in words.
    void portAccess_data() {
        QTest::addColumn<int>("user"); // -1: as the test runs
        QTest::addColumn<int>("group");
        QTest::addColumn<QString>("portGroup");
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("staleLock"); // root's, left by a process that has died
        QTest::addColumn<int>("status");     // of find
        QTest::addColumn<QString>("said"); // by find; %port, %lock and %pid stand for their values
        QTest::addColumn<QString>("listed"); // the last column of ports
        const QString rootOnly = QStringLiteral(
            "cannot open %port: permission denied, and only root may open it; give it to "
            "'dialout' with a udev rule (GROUP, MODE=\"0660\") and add your user to that group");
        QTest::newRow("only root may open it")
            << ThrowawayId << ThrowawayId << "root" << 0600 << false << 2 << rootOnly << rootOnly;
        const QString join = QStringLiteral(
            "cannot open %port: permission denied; add your user to the group 'dialout' and log "
            "in again");
        QTest::newRow("its group may, the user is not in it")
            << ThrowawayId << ThrowawayId << "dialout" << 0660 << false << 2 << join << join;
        // nobody's own group is nogroup, which this session was started without.
        const QString again = QStringLiteral(
            "cannot open %port: permission denied: 'nobody' was added to the group 'nogroup' "
            "after this login session began; log out and in again");
        QTest::newRow("in the group since this login")
            << 65534 << ThrowawayId << "nogroup" << 0660 << false << 2 << again << again;
        const QString stale = QStringLiteral(
            "cannot open %port: its lock file %lock was left by process %pid, which no longer "
            "runs, and belongs to root, so it cannot be taken over; remove it (sudo rm %lock)");
        QTest::newRow("a lock another user left")
            << ThrowawayId << ThrowawayId << "root" << 0666 << true << 2 << stale << stale;
        QTest::newRow("a lock of a killed program, taken over")
            << -1 << -1 << "root" << 0600 << true << 0
            << "%port: took over the lock file %lock, left by process %pid, which no longer runs"
            << "";
    }

    void portAccess() {
        QFETCH(int, user);
        QFETCH(int, group);
        QFETCH(QString, portGroup);
        QFETCH(int, mode);
        QFETCH(bool, staleLock);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(QString, listed);
        if (geteuid() != 0) {
            QSKIP("the ports are given to other users and groups as root only");
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        const QString port = PathOf(sim);
        if (!SetOwner(port, 0, portGroup, mode)) {
            QSKIP("the system lacks the group");
        }
        const QString lockFile = PortLockFile(port);
        const qint64 pid = DeadPid();
        if (staleLock) {
            // Named for another machine, so that the serial port itself would wait 30 s.
            QVERIFY(WriteFile(lockFile, QByteArray::number(pid) + "\nmuezzin-cli\nelsewhere\n"));
            QVERIFY(SetOwner(lockFile, 0, QStringLiteral("root"), 0644));
        }
        const QMap<QString, QString> values = {{QStringLiteral("%port"), port},
                                               {QStringLiteral("%lock"), lockFile},
                                               {QStringLiteral("%pid"), QString::number(pid)}};
        QTemporaryDir dir;
        QVERIFY(SetOwner(dir.path(), 0, QStringLiteral("root"), 0755));

        const Outcome found =
            Run(AsUser(user, group, {Cli, QStringLiteral("find"), QStringLiteral("--port"), port}),
                dir.path());
        const Outcome ports =
            Run(AsUser(user, group, {Cli, QStringLiteral("ports"), QStringLiteral("--port"), port}),
                dir.path());
        QFile::remove(lockFile);

        QCOMPARE(found.Status, status);
        QVERIFY2(
            found.Err.split(u'\n').contains(QStringLiteral("muezzin-cli: ") + Filled(said, values)),
            qPrintable(found.Err));
        QCOMPARE(found.Out.isEmpty(), status != 0);
        QCOMPARE(ports.Status, 0);
        QCOMPARE(ports.Out.trimmed().section(u'\t', 5), Filled(listed, values));
        QCOMPARE(sim.FramesReceived() > 0, status == 0);
    }

    // Another program with the port open: named, whether it holds the port for itself or only
    // reads along and takes the replies.
    void heldPort_data() {
        QTest::addColumn<QString>("holder"); // "muezzin-cli" applying, or "sleep" reading
        QTest::addColumn<QString>("command");
        QTest::addColumn<int>("status");
        // Beside the holder, a lock file a killed program left, which this user may remove.
        QTest::addColumn<bool>("staleLock");
        QTest::addColumn<QStringList>("lines"); // %port and %pid (the holder's) stand for them
        const QStringList inUse = {"muezzin-cli: cannot open %port: the port is in use by "
                                   "muezzin-cli (PID %pid); close it and try again"};
        QTest::newRow("another muezzin-cli applying") << "muezzin-cli"
                                                      << "find" << 2 << false << inUse;
        QTest::newRow("another muezzin-cli applying, a stale lock beside it")
            << "muezzin-cli"
            << "find" << 2 << true << inUse;
        QTest::newRow("a program reading along, the device silent to the tool")
            << "sleep"
            << "find" << 2 << false
            << QStringList{"muezzin-cli: no device answered on 1 port(s)",
                           "muezzin-cli: %port is open in sleep (PID %pid) too, which may have "
                           "taken the reply; close it and try again"};
        QTest::newRow("the doctor")
            << "sleep"
            << "doctor" << 1 << false
            << QStringList{"port %port: also open in sleep (PID %pid), which would take the "
                           "device's replies; close it before a run"};
    }

    void heldPort() {
        QFETCH(QString, holder);
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(bool, staleLock);
        QFETCH(QStringList, lines);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        SimulatorOptions options;
        options.Paced = holder == QStringLiteral("muezzin-cli"); // a run that lasts
        // Silent beside a reader: the tool gets no answer whichever of the two would win a reply.
        options.Silent = holder == QStringLiteral("sleep");
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        const QString port = PathOf(sim);
        QProcess holding;
        if (options.Paced) {
            Start(holding,
                  {Cli, QStringLiteral("apply"), QStringLiteral("--county"),
                   QString::number(SampleCounty), QStringLiteral("--port"), port},
                  dir.path(), Environment());
            QVERIFY(WaitFor([&] { return sim.FramesReceived() >= 3; }));
            if (staleLock) { // the holder's own lock, as if the holder kept none
                QVERIFY(WriteFile(PortLockFile(port), QByteArray::number(DeadPid()) + "\n"));
            }
        } else {
            holding.setStandardInputFile(port);
            Start(holding, {QStringLiteral("sleep"), QStringLiteral("60")}, dir.path(),
                  Environment());
            QVERIFY(holding.waitForStarted());
        }

        const Outcome run = Run({Cli, command, QStringLiteral("--port"), port}, dir.path());

        const qint64 holderPid = holding.processId();
        ::kill(static_cast<pid_t>(holderPid), SIGTERM);
        QVERIFY(holding.waitForFinished(30000));
        QFile::remove(PortLockFile(port));
        QCOMPARE(run.Status, status);
        const QMap<QString, QString> values = {
            {QStringLiteral("%port"), port}, {QStringLiteral("%pid"), QString::number(holderPid)}};
        for (const QString& line : lines) {
            QVERIFY2(Lines(run).contains(Filled(line, values)), qPrintable(run.Out + run.Err));
        }
    }

    // The doctor: exit 0 only when every check holds; each problem with its remedy.
    void doctor_data() {
        QTest::addColumn<int>("user");          // -1: as the test runs
        QTest::addColumn<bool>("sample");       // the start folder holds the sample, else nothing
        QTest::addColumn<QStringList>("rules"); // udev's rule files: the tool's, brltty's, old
        QTest::addColumn<bool>("fonts");        // the system's fonts, else none at all
        QTest::addColumn<QString>("zone");      // TZ; empty: Iran Standard Time
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines"); // %port, %folder and %rules stand for them
        QTest::newRow("healthy") << -1 << true << QStringList{"tool"} << true << "" << 0
                                 << QStringList{"port %port: ok",
                                                "udev rule: ok (installed: "
                                                "%rules/60-muezzin-serial-adapters.rules)",
                                                "brltty: ok (no udev rule of brltty claims USB "
                                                "serial adapters)",
                                                "ostan.txt: ok",
                                                "city.db: ok",
                                                "encryp.key: ok",
                                                "data: ok",
                                                "log.txt: ok",
                                                "Windows-1256 converter: ok",
                                                "coordinates: ok (53 of 53 counties have them; "
                                                "the timetable years an apply lacks are "
                                                "computed from them)",
                                                "time zone: ok (UTC+03:30, Iran Standard Time, "
                                                "without daylight saving)"};
        QTest::newRow("rule of an older tool, brltty claiming adapters, a PC in UTC")
            << -1 << true << QStringList{"old", "brltty"} << true << "UTC" << 1
            << QStringList{"time zone: the PC's time zone is UTC+00:00, not Iran Standard Time "
                           "(UTC+03:30), which the device keeps and its timetables are written "
                           "in: the device gets the PC's clock as it reads; set the time zone to "
                           "Asia/Tehran ('timedatectl set-timezone Asia/Tehran'; on Windows "
                           "\"(UTC+03:30) Tehran\")",
                           "udev rule: %rules/60-muezzin-serial-adapters.rules does not keep "
                           "ModemManager off CP210x, PL2303 adapters: it is older than this "
                           "tool; install this tool's rule in its place",
                           "brltty: %rules/85-brltty.rules claims CH340 (1a86:7523), CP210x "
                           "(10c4:ea60): such an adapter is taken for a braille display and gets "
                           "no serial port; remove brltty (sudo apt remove brltty) unless a "
                           "braille display is used, and plug the adapter in again"};
        QTest::newRow("a new user on a bare system, with zone data older than 2022")
            << ThrowawayId << false << QStringList{} << false << cases::OldIranRule << 1
            << QStringList{"time zone: the PC's time-zone data still keeps Iran's daylight "
                           "saving, which ended in 2022 (it does in 2023): while it does, the "
                           "device gets the PC's clock an hour back, an hour wrong if the clock "
                           "was set back by hand to match; update the time-zone data (Debian's "
                           "tzdata; on Windows the system's updates)",
                           "coordinates: The city database %folder/city.db cannot be used: the "
                           "file does not exist",
                           "port %port: cannot open %port: permission denied, and only root may "
                           "open it; give it to 'dialout' with a udev rule (GROUP, "
                           "MODE=\"0660\") and add your user to that group",
                           "udev rule: 60-muezzin-serial-adapters.rules is not installed: it "
                           "keeps ModemManager off the adapters and lowers the FTDI latency "
                           "timer; install the tool's package, or copy "
                           "packaging/60-muezzin-serial-adapters.rules to /etc/udev/rules.d",
                           "ostan.txt: missing from %folder/: the province list; copy it "
                           "there, or name the folder that holds it with --folder DIR",
                           "data: missing from %folder/: the timetable files "
                           "(data/<province>/<city>/<county>/<year>.PTL); make them with "
                           "muezzin-timetable",
                           "Persian font: no font has the Persian letters, and the window would "
                           "show empty boxes; install fonts-noto-ui-core"};
    }

    void doctor() {
        QFETCH(int, user);
        QFETCH(bool, sample);
        QFETCH(QStringList, rules);
        QFETCH(bool, fonts);
        QFETCH(QString, zone);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        if (user >= 0 && geteuid() != 0) {
            QSKIP("another user only as root");
        }
        QTemporaryDir folder;
        QTemporaryDir ruleFolder;
        QVERIFY(!sample || MakeSampleStartFolder(folder.path()));
        for (const QString& rule : rules) {
            const QString tool =
                ruleFolder.filePath(QStringLiteral("60-muezzin-serial-adapters.rules"));
            if (rule == QStringLiteral("tool")) {
                QVERIFY(QFile::copy(ToolRule, tool));
            } else if (rule == QStringLiteral("old")) {
                QVERIFY(WriteFile(tool, "ATTRS{idVendor}==\"0403\", ATTRS{idProduct}==\"6001|6010|"
                                        "6011|6014|6015\", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"
                                        "ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523|5523\""
                                        ", ENV{ID_MM_DEVICE_IGNORE}=\"1\"\n"));
            } else {
                QVERIFY(WriteFile(ruleFolder.filePath(QStringLiteral("85-brltty.rules")),
                                  "# Device: 1A86:7523\nENV{PRODUCT}==\"1a86/7523/*\", "
                                  "ENV{BRLTTY_BRAILLE_DRIVER}=\"bm\", GOTO=\"brltty_usb_run\"\n"
                                  "ENV{PRODUCT}==\"10c4/ea60/*\", GOTO=\"brltty_usb_run\"\n"));
            }
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        const QString port = PathOf(sim);
        if (user >= 0) {
            QVERIFY(SetOwner(port, 0, QStringLiteral("root"), 0600));
            QVERIFY(SetOwner(folder.path(), user, QStringLiteral("root"), 0755));
        }
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("MUEZZIN_UDEV_RULES_DIRS"), ruleFolder.path());
        if (!zone.isEmpty()) {
            env.insert(QStringLiteral("TZ"), zone);
        }
        if (!fonts) {
            const QString config = ruleFolder.filePath(QStringLiteral("fonts.conf"));
            QVERIFY(WriteFile(config, "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n"));
            QVERIFY(SetOwner(ruleFolder.path(), 0, QStringLiteral("root"), 0755) || user < 0);
            env.insert(QStringLiteral("FONTCONFIG_FILE"), config);
        }

        const Outcome run = Run(AsUser(user, user,
                                       {Cli, QStringLiteral("doctor"), QStringLiteral("--port"),
                                        port, QStringLiteral("--folder"), folder.path()}),
                                folder.path(), env);

        QCOMPARE(run.Status, status);
        const QMap<QString, QString> values = {{QStringLiteral("%port"), port},
                                               {QStringLiteral("%folder"), folder.path()},
                                               {QStringLiteral("%rules"), ruleFolder.path()}};
        const QStringList said = run.Out.split(u'\n', Qt::SkipEmptyParts);
        for (const QString& line : lines) {
            QVERIFY2(said.contains(Filled(line, values)), qPrintable(run.Out));
        }
        for (const QString& line : said) {
            QVERIFY2(status != 0 || line.contains(QStringLiteral(": ok")), qPrintable(line));
        }
    }

    // With --county, which of the ten years an apply sends the data folder holds, which the
    // apply will compute and which it can neither read nor compute.
    void doctorCountyYears_data() {
        QTest::addColumn<int>("years");        // files from the current year on
        QTest::addColumn<bool>("coordinates"); // of the county, in the city database
        QTest::addColumn<int>("shortYear");    // counted from the current year; -1: none
        QTest::addColumn<QString>("county");   // as given
        QTest::addColumn<QString>("line");     // %0..%9: the years from the current one
        QTest::newRow("all ten") << 10 << true << -1 << "41"
                                 << "timetables of county 41: ok (%0-%9 present)";
        QTest::newRow("three, the rest computed, the county by its name")
            << 3 << true << -1 << "پیشوا"
            << "timetables of county 41: ok (%0-%2 present; %3-%9 will be computed from its "
               "coordinates (35.31, 51.73) by the next apply)";
        QTest::newRow("none and no coordinates")
            << 0 << false << -1 << "41"
            << "timetables of county 41: %0-%9 missing, and the county has no coordinates in "
               "the city database to compute them from: import them with 'muezzin-cli "
               "import-cities FILE.csv', or put the files in %folder/data/24/34/41/";
        QTest::newRow("a short file among them")
            << 10 << true << 1 << "۴۱"
            << "timetables of county 41: %0, %2-%9 present; %1 in %folder/data/24/34/41/ cannot "
               "be read or are short, and are never replaced: remove them, or write them anew "
               "with 'muezzin-timetable --county 41 --from YEAR --years 1'";
    }

    void doctorCountyYears() {
        QFETCH(int, years);
        QFETCH(bool, coordinates);
        QFETCH(int, shortYear);
        QFETCH(QString, county);
        QFETCH(QString, line);
        QTemporaryDir folder;
        QVERIFY(MakeSampleStartFolder(folder.path(), years));
        const int first = CurrentSolarYear();
        if (!coordinates) {
            QFile csv(QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/city.csv"));
            QVERIFY(csv.open(QIODevice::ReadOnly));
            const QByteArray zeroed = csv.readAll().replace(",51.73,35.31", ",0,0");
            QVERIFY(WriteFile(folder.filePath(QStringLiteral("zeroed.csv")), zeroed));
            ImportCitiesCsv(folder.filePath(QStringLiteral("zeroed.csv")),
                            folder.filePath(QStringLiteral("city.db")));
        }
        if (shortYear >= 0) {
            QVERIFY(WriteFile(folder.path() + SampleCountyFolder +
                                  QString::number(first + shortYear) + ".PTL",
                              "short"));
        }

        const Outcome run = Run({Cli, QStringLiteral("doctor"), QStringLiteral("--port"),
                                 QStringLiteral("/dev/null"), QStringLiteral("--county"), county,
                                 QStringLiteral("--folder"), folder.path()},
                                folder.path());

        for (int j = 9; j >= 0; --j) {
            line.replace(QStringLiteral("%%1").arg(j), QString::number(first + j));
        }
        line.replace(QStringLiteral("%folder"), folder.path());
        QVERIFY2(Lines(run).contains(line), qPrintable(run.Out));
    }

    // A signal in the middle of a run: the port released and free, the log whole with a last
    // line that says why it ends there, and the signal's exit status. Under nohup the hang-up is
    // ignored, and the run goes on to its end.
    void stopSignals_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("signal");
        QTest::newRow("apply, SIGTERM") << "muezzin-cli" << SIGTERM;
        QTest::newRow("apply, Ctrl+C") << "muezzin-cli" << SIGINT;
        QTest::newRow("apply, terminal closed") << "muezzin-cli" << SIGHUP;
        QTest::newRow("apply under nohup, terminal closed") << "nohup" << SIGHUP;
#ifdef MUEZZIN_CONFIG
        QTest::newRow("window connected, logged out") << "muezzin-config" << SIGTERM;
#endif
    }

    void stopSignals() {
        QFETCH(QString, program);
        QFETCH(int, signal);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        SimulatorOptions options;
        options.Paced = true; // an apply lasts seconds
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        const QString port = PathOf(sim);
        QProcessEnvironment env = Environment();
        QProcess process;
        int framesBeforeSignal = 0;
        const bool stops = program != QStringLiteral("nohup");
        if (program != QStringLiteral("muezzin-config")) {
            const QStringList apply = {Cli,
                                       QStringLiteral("apply"),
                                       QStringLiteral("--county"),
                                       QString::number(SampleCounty),
                                       QStringLiteral("--port"),
                                       port};
            Start(process, stops ? apply : QStringList{program} + apply, dir.path(), env);
            framesBeforeSignal = 20;
        } else {
#ifdef MUEZZIN_CONFIG
            env.insert(QStringLiteral("MUEZZIN_PORTS"), port);
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            Start(process, {QStringLiteral(MUEZZIN_CONFIG), QStringLiteral("--folder"), dir.path()},
                  dir.path(), env);
            framesBeforeSignal = 2; // probe and version: connected
#endif
        }
        QVERIFY(WaitFor([&] { return sim.FramesReceived() >= framesBeforeSignal; }));
        ::kill(static_cast<pid_t>(process.processId()), signal);
        const Outcome run = Finish(process);

        QCOMPARE(run.Status, stops ? StopExitStatus(signal) : 0);
        QVERIFY(PortIsFree(port));
        const QStringList log = ReadLines1256(dir.filePath(QStringLiteral("log.txt")));
        QVERIFY(!log.isEmpty());
        QVERIFY2(log.last().endsWith(stops ? StoppedLogTemplate.arg(StopSignalName(signal))
                                           : AppliedText),
                 qPrintable(log.last()));
        QVERIFY(ReadAll(dir.filePath(QStringLiteral("log.txt"))).endsWith("\r\n"));
        if (program == QStringLiteral("muezzin-cli")) {
            QVERIFY(sim.FramesReceived() < 316); // it did stop in the middle
            QVERIFY2(run.Err.split(u'\n').contains(QStringLiteral("muezzin-cli: stopped by ") +
                                                   StopSignalName(signal)),
                     qPrintable(run.Err));
        }
    }

private:
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_GUILESS_MAIN(SetupTest)
#include "tst_setup.moc"
