// The obstacles of a new set-up as a technician meets them: a port this user may not open, a
// port another program holds, a lock left by a killed program, the doctor's verdict, and a run
// ended by a signal. The programs run as processes against the simulator; what they say and
// what they leave behind are read after they have exited.
#include "comm/CommLink.h"
#include "comm/PortProblems.h"
#include "comm/PortTexts.h"
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
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(SimulatorOptions)

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

// Every name under the folder, hidden ones too, with each file's size and time of change.
QStringList Listing(const QString& folder) {
    QStringList entries;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QFileInfo info(it.next());
        entries.append(info.isDir() ? info.filePath()
                                    : QStringLiteral("%1 %2 %3")
                                          .arg(info.filePath())
                                          .arg(info.size())
                                          .arg(info.lastModified().toMSecsSinceEpoch()));
    }
    entries.sort();
    return entries;
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
        // A lock file of root's left by a process that has died: its text, %pid (%10pid padded to
        // ten places) standing for the process; none when empty.
        QTest::addColumn<QString>("lock");
        QTest::addColumn<int>("status");   // of find
        QTest::addColumn<QString>("said"); // by find; %port, %lock and %pid stand for their values
        QTest::addColumn<QString>("listed"); // the last column of ports
        const QString rootOnly = QStringLiteral(
            "cannot open %port: permission denied, and only root may open it; give it to "
            "'dialout' with a udev rule (GROUP, MODE=\"0660\") and add your user to that group");
        QTest::newRow("only root may open it")
            << ThrowawayId << ThrowawayId << "root" << 0600 << "" << 2 << rootOnly << rootOnly;
        const QString join = QStringLiteral(
            "cannot open %port: permission denied; add your user to the group 'dialout' and log "
            "in again");
        QTest::newRow("its group may, the user is not in it")
            << ThrowawayId << ThrowawayId << "dialout" << 0660 << "" << 2 << join << join;
        // nobody's own group is nogroup, which this session was started without.
        const QString again = QStringLiteral(
            "cannot open %port: permission denied: 'nobody' was added to the group 'nogroup' "
            "after this login session began; log out and in again");
        QTest::newRow("in the group since this login")
            << 65534 << ThrowawayId << "nogroup" << 0660 << "" << 2 << again << again;
        const QString stale = QStringLiteral(
            "cannot open %port: its lock file %lock was left by process %pid, which no longer "
            "runs, and belongs to root, so it cannot be taken over; remove it (%remove)");
        // Named for another machine, so that the serial port itself would wait 30 s.
        const QString qtLock = QStringLiteral("%pid\nmuezzin-cli\nelsewhere\n");
        QTest::newRow("a lock another user left")
            << ThrowawayId << ThrowawayId << "root" << 0666 << qtLock << 2 << stale << stale;
        const QString takenOver = QStringLiteral(
            "%port: took over the lock file %lock, left by process %pid, which no longer runs");
        QTest::newRow("a lock of a killed program, taken over")
            << -1 << -1 << "root" << 0600 << qtLock << 0 << takenOver << "";
        QTest::newRow("a lock of a killed program, its number padded, taken over")
            << -1 << -1 << "root" << 0600 << "%10pid\n"
            << 0 << takenOver << "";
    }

    void portAccess() {
        QFETCH(int, user);
        QFETCH(int, group);
        QFETCH(QString, portGroup);
        QFETCH(int, mode);
        QFETCH(QString, lock);
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
        if (!lock.isEmpty()) {
            lock.replace(QStringLiteral("%10pid"), QStringLiteral("%1").arg(pid, 10))
                .replace(QStringLiteral("%pid"), QString::number(pid));
            QVERIFY(WriteFile(lockFile, lock.toUtf8()));
            QVERIFY(SetOwner(lockFile, 0, QStringLiteral("root"), 0644));
        }
        // The remedy as that user runs it: through sudo where it is installed, else through su.
        const RootAccess access = user < 0 ? ThisUsersRootAccess()
                                  : QStandardPaths::findExecutable(QStringLiteral("sudo")).isEmpty()
                                      ? RootAccess::Su
                                      : RootAccess::Sudo;
        const QMap<QString, QString> values = {
            {QStringLiteral("%port"), port},
            {QStringLiteral("%lock"), lockFile},
            {QStringLiteral("%pid"), QString::number(pid)},
            {QStringLiteral("%remove"), CommandAsRoot(QStringLiteral("rm ") + lockFile, access)}};
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
        // The port's lock file, put there once the holder runs: its text, %dead standing for a
        // killed program (a lock this user may remove), %10holder for the holder padded to ten
        // places, as UUCP programs write it; none when empty.
        QTest::addColumn<QString>("lock");
        QTest::addColumn<QStringList>("lines"); // %port and %pid (the holder's) stand for them
        const QStringList inUse = {"muezzin-cli: cannot open %port: the port is in use by "
                                   "muezzin-cli (PID %pid); close it and try again"};
        QTest::newRow("another muezzin-cli applying") << "muezzin-cli"
                                                      << "find" << 2 << "" << inUse;
        QTest::newRow("another muezzin-cli applying, a stale lock beside it")
            << "muezzin-cli"
            << "find" << 2 << "%dead\n"
            << inUse;
        QTest::newRow("a program holding the port's lock, its number padded")
            << "sleep"
            << "find" << 2 << "%10holder\n"
            << QStringList{"muezzin-cli: cannot open %port: the port is in use by sleep (PID "
                           "%pid); close it and try again"};
        QTest::newRow("a program reading along, the device silent to the tool")
            << "sleep"
            << "find" << 2 << ""
            << QStringList{"muezzin-cli: no device answered on 1 port(s)",
                           "muezzin-cli: %port is open in sleep (PID %pid) too, which may have "
                           "taken the reply; close it and try again"};
        QTest::newRow("the doctor")
            << "sleep"
            << "doctor" << 1 << ""
            << QStringList{"[FAIL] port %port: also open in sleep (PID %pid), which would take the "
                           "device's replies; close it before a run"};
    }

    void heldPort() {
        QFETCH(QString, holder);
        QFETCH(QString, command);
        QFETCH(int, status);
        QFETCH(QString, lock);
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
        } else {
            holding.setStandardInputFile(port);
            Start(holding, {QStringLiteral("sleep"), QStringLiteral("60")}, dir.path(),
                  Environment());
            QVERIFY(holding.waitForStarted());
        }
        if (!lock.isEmpty()) { // in place of the holder's own lock, if it kept one
            lock.replace(QStringLiteral("%dead"), QString::number(DeadPid()))
                .replace(QStringLiteral("%10holder"),
                         QStringLiteral("%1").arg(holding.processId(), 10));
            QVERIFY(WriteFile(PortLockFile(port), lock.toUtf8()));
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
        QTest::addColumn<QStringList>("files"); // name=random, empty, folder or lines, put there
        QTest::addColumn<QStringList>("rules"); // udev's rule files: the tool's, brltty's, old
        QTest::addColumn<bool>("fonts");        // the system's fonts, else none at all
        QTest::addColumn<QString>("zone");      // TZ; empty: Iran Standard Time
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines"); // %port, %folder and %rules stand for them
        QTest::newRow("healthy") << -1 << true << QStringList{"log.txt=lines"}
                                 << QStringList{"tool"} << true << "" << 0
                                 << QStringList{"port %port: ok",
                                                "udev rule: ok (installed: "
                                                "%rules/60-muezzin-serial-adapters.rules)",
                                                "brltty: ok (no udev rule of brltty claims USB "
                                                "serial adapters)",
                                                "ostan.txt: ok",
                                                "city.db: ok (53 counties, 0 of them with "
                                                "approximate coordinates)",
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
            << -1 << true << QStringList{} << QStringList{"old", "brltty"} << true << "UTC" << 1
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
                           "no serial port; remove brltty (%brltty) unless a "
                           "braille display is used, and plug the adapter in again"};
        QTest::newRow("a new user on a bare system, with zone data older than 2022")
            << ThrowawayId << false << QStringList{} << QStringList{} << false << cases::OldIranRule
            << 1
            << QStringList{"time zone: the PC's time-zone data still keeps Iran's daylight "
                           "saving, which ended in 2022 (it does in 2023): while it does, the "
                           "device gets the PC's clock an hour back, an hour wrong if the clock "
                           "was set back by hand to match; update the time-zone data (Debian's "
                           "tzdata; on Windows the system's updates)",
                           "port %port: cannot open %port: permission denied, and only root may "
                           "open it; give it to 'dialout' with a udev rule (GROUP, "
                           "MODE=\"0660\") and add your user to that group",
                           "udev rule: 60-muezzin-serial-adapters.rules is not installed: it "
                           "keeps ModemManager off the adapters and lowers the FTDI latency "
                           "timer; install the tool's package, or copy "
                           "packaging/60-muezzin-serial-adapters.rules to /etc/udev/rules.d",
                           "ostan.txt: missing from %folder/: the province list; copy it "
                           "there, or name the folder that holds it with --folder DIR",
                           "data: ok (not made yet: the first apply makes it and computes "
                           "there the timetables it sends)",
                           "Persian font: no font has the Persian letters, and the window would "
                           "show empty boxes; install fonts-noto-ui-core"};
        QTest::newRow("random bytes as city.db, a folder as log.txt")
            << -1 << true << QStringList{"city.db=random", "log.txt=folder"} << QStringList{"tool"}
            << true << "" << 1
            << QStringList{"city.db: The city database %folder/city.db cannot be used: it is not "
                           "a readable SQLite database (file is not a database Unable to execute "
                           "statement); build it again with muezzin-cli import-cities",
                           "log.txt: %folder/log.txt cannot be added to (Is a directory): the "
                           "event log would be lost; make it a file this user may write"};
        QTest::newRow("a file where data/ goes")
            << -1 << false << QStringList{"data=empty"} << QStringList{"tool"} << true << "" << 1
            << QStringList{"data: %folder/data is not a folder: the timetable files "
                           "(data/<province>/<city>/<county>/<year>.PTL) go there; move it out "
                           "of the way"};
        QTest::newRow("an empty city.db")
            << -1 << true << QStringList{"city.db=empty"} << QStringList{"tool"} << true << "" << 1
            << QStringList{"city.db: The city database %folder/city.db cannot be used: it has no "
                           "table city; build it again with muezzin-cli import-cities"};
    }

    void doctor() {
        QFETCH(int, user);
        QFETCH(bool, sample);
        QFETCH(QStringList, files);
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
        for (const QString& file : files) {
            const QString path = folder.filePath(file.section(u'=', 0, 0));
            const QString kind = file.section(u'=', 1);
            QFile::remove(path);
            if (kind == QStringLiteral("folder")) {
                QVERIFY(QDir().mkdir(path));
            } else {
                QVERIFY(WriteFile(path, kind == QStringLiteral("random") ? QByteArray(4096, '\x9c')
                                        : kind == QStringLiteral("lines")
                                            ? QByteArray("14050101 a line of the log\r\n")
                                            : QByteArray()));
            }
        }
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

        const QStringList before = Listing(folder.path());

        const Outcome run = Run(AsUser(user, user,
                                       {Cli, QStringLiteral("doctor"), QStringLiteral("--port"),
                                        port, QStringLiteral("--folder"), folder.path()}),
                                folder.path(), env);

        QCOMPARE(run.Status, status);
        QCOMPARE(Listing(folder.path()), before); // looked at, nothing changed or left behind
        const QMap<QString, QString> values = {
            {QStringLiteral("%port"), port},
            {QStringLiteral("%folder"), folder.path()},
            {QStringLiteral("%rules"), ruleFolder.path()},
            {QStringLiteral("%brltty"), porttext::RemoveBrltty()}};
        // Each check's line marked by its verdict, then a line that counts them.
        QStringList said = run.Out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!said.isEmpty());
        const QString summary = said.takeLast();
        int failed = 0;
        for (QString& line : said) {
            const bool ok = line.startsWith(QStringLiteral("[ ok ] "));
            QVERIFY2(ok || line.startsWith(QStringLiteral("[FAIL] ")), qPrintable(line));
            line.remove(0, 7);
            QVERIFY2(ok == line.contains(QStringLiteral(": ok")), qPrintable(line));
            failed += ok ? 0 : 1;
        }
        QCOMPARE(summary, QStringLiteral("%1 checks: %2 passed, %3 failed")
                              .arg(said.size())
                              .arg(said.size() - failed)
                              .arg(failed));
        QCOMPARE(failed > 0, status != 0);
        for (const QString& line : lines) {
            QVERIFY2(said.contains(Filled(line, values)), qPrintable(run.Out));
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
                                 << "[ ok ] timetables of county 41: ok (%0-%9 present)";
        QTest::newRow("three, the rest computed, the county by its name")
            << 3 << true << -1 << "پیشوا"
            << "[ ok ] timetables of county 41: ok (%0-%2 present; %3-%9 will be computed from its "
               "coordinates (35.31, 51.73) by the next apply)";
        QTest::newRow("none and no coordinates")
            << 0 << false << -1 << "41"
            << "[FAIL] timetables of county 41: %0-%9 missing, and the county has no coordinates "
               "in "
               "the city database to compute them from: import them with 'muezzin-cli "
               "import-cities FILE.csv', or put the files in %folder/data/24/34/41/";
        QTest::newRow("a short file among them")
            << 10 << true << 1 << "۴۱"
            << "[FAIL] timetables of county 41: %0, %2-%9 present; %1 in %folder/data/24/34/41/ "
               "cannot be read or are short, and are never replaced: remove them, or write them "
               "anew with 'muezzin-timetable --county 41 --from YEAR --years 1'";
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
    // line that says why it ends there, and the signal's exit status. After the signal no frame
    // reaches the device but the one of the exchange under way (a paced one may still be on the
    // line): no resend, no next block, no end of the upgrade stage. The result says what the
    // device holds, with the confirmed blocks or pages counted from the device's own echoes
    // (%n). Under nohup the hang-up is ignored, and the run goes on to its end. The signal sent
    // again within a second is the same stop; later, it ends the program at once.
    void stopSignals_data() {
        QTest::addColumn<QString>("program");
        QTest::addColumn<int>("signal");
        QTest::addColumn<QStringList>("command"); // of muezzin-cli, before --port
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<int>("framesBeforeSignal");
        QTest::addColumn<QString>("result");   // the last line, or the JSON's; "": not compared
        QTest::addColumn<QString>("logged");   // the log's line before the signal's
        QTest::addColumn<int>("againAfterMs"); // the signal sent once more so long after; -1: once
        const QStringList apply = {"apply", "--county", QString::number(SampleCounty)};
        SimulatorOptions paced;
        paced.Paced = true; // an apply lasts seconds
        QTest::newRow("apply, SIGTERM") << "muezzin-cli" << SIGTERM << apply << paced << 20 << ""
                                        << "" << -1;
        QTest::newRow("apply, Ctrl+C") << "muezzin-cli" << SIGINT << apply << paced << 20 << ""
                                       << "" << -1;
        QTest::newRow("apply, terminal closed")
            << "muezzin-cli" << SIGHUP << apply << paced << 20 << ""
            << "" << -1;
        QTest::newRow("apply under nohup, terminal closed")
            << "nohup" << SIGHUP << apply << paced << 20 << ""
            << "" << -1;
        SimulatorOptions silent;
        silent.StopAfterFrames = 2 + 2; // the search, two blocks; the third waits for its reply
        const QString incomplete =
            "%n of 316 blocks confirmed; the configuration is incomplete: run apply again";
        QTest::newRow("apply, SIGTERM while a block waits for its reply: not sent again")
            << "muezzin-cli" << SIGTERM << apply << silent << 5
            << incomplete + "; not confirmed: 0x0100 no reply, 0x0180-0x9D80 not sent" << incomplete
            << -1;
        QTest::newRow("apply --format json, Ctrl+C: the blocks the device holds")
            << "muezzin-cli" << SIGINT << apply + QStringList{"--format", "json"} << paced << 20
            << incomplete + "; not confirmed: " << incomplete << -1;
        QTest::newRow("apply under timeout: SIGTERM, and again to its group, is one stop")
            << "muezzin-cli" << SIGTERM << apply << silent << 5
            << incomplete + "; not confirmed: 0x0100 no reply, 0x0180-0x9D80 not sent" << incomplete
            << 50;
        QTest::newRow("apply, SIGTERM asked again a while later: ended at once")
            << "muezzin-cli" << SIGTERM << apply << silent << 5 << ""
            << "" << 1200;
        const QString stage =
            "the device is left in its upgrade stage: run upgrade again, which greets it there";
        QTest::newRow("upgrade, SIGTERM among the pages: left in the upgrade stage")
            << "muezzin-cli" << SIGTERM << QStringList{"upgrade", "new.fmw"} << paced << 4 + 10
            << "%n of 256 pages confirmed, Failed; " + stage
            << "%n of 256 pages confirmed; " + stage << -1;
        SimulatorOptions slow;
        slow.ReplyDelay = std::chrono::milliseconds(600); // the signal comes during the search
        QTest::newRow("set-clock, SIGTERM before its frame: none sent")
            << "muezzin-cli" << SIGTERM << QStringList{"set-clock"} << slow << 2 << ""
            << "" << -1;
#ifdef MUEZZIN_CONFIG
        QTest::newRow("window connected, logged out")
            << "muezzin-config" << SIGTERM << QStringList{} << paced << 2 << ""
            << "" << -1;
#endif
    }

    void stopSignals() {
        QFETCH(QString, program);
        QFETCH(int, signal);
        QFETCH(QStringList, command);
        QFETCH(SimulatorOptions, options);
        QFETCH(int, framesBeforeSignal);
        QFETCH(QString, result);
        QFETCH(QString, logged);
        QFETCH(int, againAfterMs);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        QFile firmware(dir.filePath(QStringLiteral("new.fmw")));
        QVERIFY(firmware.open(QIODevice::WriteOnly));
        firmware.write(QByteArray(69632, '\x5A'));
        firmware.close();
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        const QString port = PathOf(sim);
        QProcessEnvironment env = Environment();
        QProcess process;
        const bool stops = program != QStringLiteral("nohup");
        if (program != QStringLiteral("muezzin-config")) {
            const QStringList cli = QStringList{Cli} + command + QStringList{"--port", port};
            Start(process, stops ? cli : QStringList{program} + cli, dir.path(), env);
        } else {
#ifdef MUEZZIN_CONFIG
            env.insert(QStringLiteral("MUEZZIN_PORTS"), port);
            env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
            Start(process, {QStringLiteral(MUEZZIN_CONFIG), QStringLiteral("--folder"), dir.path()},
                  dir.path(), env);
#endif
        }
        QVERIFY(WaitFor([&] { return sim.FramesReceived() >= framesBeforeSignal; }));
        ::kill(static_cast<pid_t>(process.processId()), signal);
        const int framesAtSignal = sim.FramesReceived();
        if (againAfterMs >= 0) {
            QTest::qWait(againAfterMs);
            ::kill(static_cast<pid_t>(process.processId()), signal);
        }
        const Outcome run = Finish(process);
        if (againAfterMs >= 1000) {
            QCOMPARE(run.Status, -1); // the signal's own end, not the program's
            return;
        }

        QCOMPARE(run.Status, stops ? StopExitStatus(signal) : 0);
        QVERIFY(PortIsFree(port));
        sim.Stop();
        if (stops) {
            QVERIFY2(sim.FramesReceived() <= framesAtSignal + (options.Paced ? 1 : 0),
                     qPrintable(QStringLiteral("%1 frames, %2 at the signal")
                                    .arg(sim.FramesReceived())
                                    .arg(framesAtSignal)));
        }
        const QString logPath = dir.filePath(QStringLiteral("log.txt"));
        // set-clock keeps no log.txt: its log lines are those on standard output.
        const QStringList log = QFile::exists(logPath) ? ReadLines1256(logPath)
                                                       : run.Out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(!log.isEmpty());
        // log.txt holds the line in the code page's letters.
        const QString last = stops ? StoppedLogTemplate.arg(StopSignalName(signal)) : AppliedText;
        QVERIFY2(log.last().endsWith(QFile::exists(logPath) ? ToWindows1256Repertoire(last) : last),
                 qPrintable(log.last()));
        QVERIFY(!QFile::exists(logPath) || ReadAll(logPath).endsWith("\r\n"));
        if (program == QStringLiteral("muezzin-cli")) {
            QVERIFY(sim.FramesReceived() < 316); // it did stop in the middle
            QVERIFY2(run.Err.split(u'\n').contains(QStringLiteral("muezzin-cli: stopped by ") +
                                                   StopSignalName(signal)),
                     qPrintable(run.Err));
        }
        if (command.contains(QStringLiteral("set-clock"))) {
            for (const TraceEntry& entry : sim.Trace()) {
                QVERIFY(entry.Way != TraceEntry::Direction::In ||
                        entry.Bytes[frame::CommandAt] != frame::command::Clock);
            }
        }
        if (result.isEmpty()) {
            return;
        }
        // What the device confirmed, by its echoes: every echo came back whole on a clean line.
        const bool pages = command.first() == QStringLiteral("upgrade");
        int echoes = 0;
        for (const TraceEntry& entry : sim.Trace()) {
            echoes += entry.Way == TraceEntry::Direction::Out &&
                      entry.Bytes[frame::CommandAt] ==
                          (pages ? frame::command::WritePage : frame::command::BlockWrite);
        }
        result.replace(QStringLiteral("%n"), QString::number(echoes));
        logged.replace(QStringLiteral("%n"), QString::number(echoes));
        const QJsonObject json = QJsonDocument::fromJson(run.Out.toUtf8()).object();
        const QJsonObject device = json.value(QStringLiteral("devices"))[0].toObject();
        const QString said = command.contains(QStringLiteral("json"))
                                 ? device.value(QStringLiteral("result")).toString()
                                 : run.Out.section(u'\n', -2, -2);
        QVERIFY2(said.startsWith(result), qPrintable(said));
        if (!json.isEmpty()) {
            QCOMPARE(device.value(QStringLiteral("blocks"))[QStringLiteral("confirmed")].toInt(),
                     echoes);
            QCOMPARE(device.value(QStringLiteral("stopped")).toString(), StopSignalName(signal));
        }
        // The log says the same before its last line.
        QVERIFY2(log.at(log.size() - 2).endsWith(logged), qPrintable(log.at(log.size() - 2)));
        QCOMPARE(sim.InUpgradeStage(), pages);
    }

private:
    static QByteArray ReadAll(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
};

QTEST_GUILESS_MAIN(SetupTest)
#include "tst_setup.moc"
