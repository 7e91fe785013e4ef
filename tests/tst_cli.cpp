#include "calendar/CalendarClock.h"
#include "comm/CommLink.h"
#include "device/DeviceTexts.h"
#include "tests/TimetableFixture.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QProcess>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>
#include <ctime>
#include <optional>

Q_DECLARE_METATYPE(SimulatorOptions)

namespace {

const QString Cli = QStringLiteral(MUEZZIN_CLI);
const QString Sim = QStringLiteral(MUEZZIN_SIM);
const QString Sample = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/");

// County 41 lies in province 24 and city 34 at 51.73, 35.31: three different indexes, so that a
// mix-up shows in the file names and in the settings block.
constexpr int County = 41;
const QString CountyFolder = QStringLiteral("/data/24/34/41/");

struct Outcome {
    int Status = -1; // -1: crashed or did not end
    QString Out;
    QString Err;
};

// The user's data folder lies in a home of the tests' own.
QString DataHome() {
    static const QTemporaryDir home;
    return home.path();
}

QProcessEnvironment Environment(const QString& extraPorts = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), DataHome());
    env.remove(QStringLiteral("MUEZZIN_PORTS"));
    if (!extraPorts.isEmpty()) {
        env.insert(QStringLiteral("MUEZZIN_PORTS"), extraPorts);
    }
    return env;
}

Outcome RunCli(const QStringList& arguments, const QString& folder,
               const QProcessEnvironment& env = Environment()) {
    QProcess process;
    process.setProgram(Cli);
    process.setArguments(arguments);
    process.setWorkingDirectory(folder);
    process.setProcessEnvironment(env);
    process.start();
    Outcome outcome;
    if (!process.waitForFinished(120000)) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    outcome.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.Out = QString::fromUtf8(process.readAllStandardOutput());
    outcome.Err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

// The solar year the tool takes for the current one, found the way it finds it.
int CurrentSolarYear() {
    CalendarClock clock;
    SampleClock(clock, std::time(nullptr));
    ToSolarDate(clock);
    return clock.SolarYear;
}

// A start folder as shipped: the sample's province list and key file, the city database
// imported from the sample's CSV, and the county's timetable files from the current year on.
bool MakeStartFolder(const QTemporaryDir& dir, int years = 10) {
    const QString folder = dir.path() + u'/';
    for (const char* name : {"ostan.txt", "encryp.key"}) {
        if (!QFile::copy(Sample + QLatin1String(name), folder + QLatin1String(name))) {
            return false;
        }
    }
    if (RunCli({QStringLiteral("import-cities"), Sample + QStringLiteral("city.csv")}, dir.path())
            .Status != 0) {
        return false;
    }
    const int first = CurrentSolarYear();
    for (int j = 0; j < years; ++j) {
        if (!WriteTimetableFile(dir.path() + CountyFolder, first + j,
                                TimetableFileBytes(first + j))) {
            return false;
        }
    }
    return true;
}

QString PortOf(const DeviceSimulator& sim) {
    return QString::fromStdString(sim.PortPath());
}

// How many trace entries the device had before a probe sent now: a frame the tool wrote is
// taken before the probe, however late the device read it.
int EntriesBeforeProbe(const DeviceSimulator& sim) {
    CommLink link;
    if (!OpenPort(link, PortOf(sim))) {
        return -1;
    }
    std::copy(frame::ProbeFrame.begin(), frame::ProbeFrame.end(), link.TxFrame.begin());
    Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
    ClosePort(link);
    return static_cast<int>(sim.Trace().size()) - 2;
}

// The output lines without the date text, which must be the same on every line; nothing when a
// line does not start with a date text.
std::optional<QStringList> Messages(const QString& out) {
    static const QRegularExpression date(
        QStringLiteral(R"(^[A-Z][a-z]+ , [A-Z][a-z]+\(\d\d\) , \d{4} , \d\d:\d\d:\d\d [AP]M)"));
    QStringList lines = out.split(u'\n');
    if (lines.isEmpty() || !lines.takeLast().isEmpty()) {
        return std::nullopt;
    }
    QStringList messages;
    QString firstDate;
    for (const QString& line : lines) {
        const auto match = date.match(line);
        if (!match.hasMatch() || (!firstDate.isEmpty() && match.captured() != firstDate)) {
            return std::nullopt;
        }
        firstDate = match.captured();
        messages.append(line.mid(match.capturedLength()));
    }
    return messages;
}

QByteArray Encode1256(const QString& text) {
    QStringEncoder encoder("windows-1256");
    return encoder.encode(text);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class CliTest : public QObject {
    Q_OBJECT

private slots:
    // A whole run: one date-stamped line, the log file appended in the device world's code page,
    // the county's settings, timetables and keys in the device.
    void applyComplete() {
        QTemporaryDir dir;
        QVERIFY(MakeStartFolder(dir));
        const QString earlier = QStringLiteral("قبلي\r\n");
        const QString logPath = dir.filePath(QStringLiteral("log.txt"));
        {
            QFile log(logPath);
            QVERIFY(log.open(QIODevice::WriteOnly));
            log.write(Encode1256(earlier));
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const Outcome run = RunCli({QStringLiteral("apply"), QStringLiteral("--county"),
                                    QString::number(County), QStringLiteral("--port"), PortOf(sim)},
                                   dir.path());

        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Err, QString());
        const auto messages = Messages(run.Out);
        QVERIFY2(messages, qPrintable(run.Out));
        QCOMPARE(*messages, QStringList{AppliedText});
        QString added = run.Out;
        added.replace(u'\n', QStringLiteral("\r\n"));
        QCOMPARE(ReadAll(logPath), Encode1256(earlier + added));

        int blockWrites = 0;
        for (const TraceEntry& entry : sim.Trace()) {
            blockWrites += entry.Way == TraceEntry::Direction::In && entry.Bytes[2] == 0x03;
        }
        QCOMPARE(blockWrites, 316);
        const std::vector<std::uint8_t> memory = sim.Memory();
        QCOMPARE(std::vector<std::uint8_t>(memory.begin(), memory.begin() + 7),
                 (std::vector<std::uint8_t>{0, County, 24, 51, 73, 35, 31}));
        const QByteArray header = QByteArray::number(CurrentSolarYear()) + ' ';
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(memory.data()) + 128, 5), header);
        const QByteArray firstKey = QByteArray::fromHex(ReadAll(Sample + "encryp.key").left(32));
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(memory.data()) + 37248, 16), firstKey);
    }

    // The profile's fields reach the device; what it leaves out keeps the window's start value
    // or the database's coordinate. The start folder is given, not the working directory.
    void profileAndFolder() {
        QTemporaryDir dir;
        QTemporaryDir elsewhere;
        QVERIFY(MakeStartFolder(dir));
        const QString profile = dir.filePath(QStringLiteral("mine.ini"));
        {
            QFile file(profile);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(
                "# as a user writes it\n[location]\ncounty = 41\n"
                "longitude = 51,5\n\n[dawn]\ncall = 7\nrandom = TRUE\n[option2]\nlevel = 32\n");
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const Outcome run =
            RunCli({QStringLiteral("--folder"), dir.path(), QStringLiteral("apply"),
                    QStringLiteral("--profile"), profile, QStringLiteral("--port"), PortOf(sim)},
                   elsewhere.path());

        QCOMPARE(run.Status, 0);
        const std::vector<std::uint8_t> memory = sim.Memory();
        QCOMPARE(std::vector<std::uint8_t>(memory.begin(), memory.begin() + 7),
                 (std::vector<std::uint8_t>{0, County, 24, 51, 50, 35, 31}));
        QCOMPARE(memory[61], std::uint8_t{0x07}); // dawn random added to noon and sunset
        QCOMPARE(memory[73], std::uint8_t{7});
        QCOMPARE(memory[78], std::uint8_t{1}); // noon call as the window starts
        QCOMPARE(memory[95], std::uint8_t{32});
        QVERIFY(QFile::exists(dir.filePath(QStringLiteral("log.txt"))));
        QVERIFY(!QFile::exists(elsewhere.filePath(QStringLiteral("log.txt"))));
    }

    void applyOutcomes_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<int>("missingYear");      // counted from the current year; -1 for none
        QTest::addColumn<QStringList>("messages"); // %missing stands for the missing year
        SimulatorOptions o;
        QTest::newRow("third year missing")
            << o << 2
            << QStringList{YearFileNotFoundText + "%missing", NotFullyAppliedText + "232"};
        o.FlipEveryBlocks = 100;
        QTest::newRow("three echoes corrupted")
            << o << -1
            << QStringList{NotChangedCountText + "1", NotChangedCountText + "1",
                           NotChangedCountText + "1", NotFullyAppliedText + "3"};
        o = {};
        o.StopAfterFrames = 2 + 10; // the search's two frames, then ten blocks
        QTest::newRow("device stops answering")
            << o << -1
            << QStringList{ReceiveErrorText, ReceiveErrorText, ReceiveErrorText, DeviceSilentText,
                           NotFullyAppliedText + "306"};
    }

    // Anything short of a complete, confirmed upload ends with status 1 and says so.
    void applyOutcomes() {
        QFETCH(SimulatorOptions, options);
        QFETCH(int, missingYear);
        QFETCH(QStringList, messages);
        QTemporaryDir dir;
        QVERIFY(MakeStartFolder(dir));
        const int year = CurrentSolarYear();
        if (missingYear >= 0) {
            QVERIFY(QFile::remove(dir.path() + CountyFolder + QString::number(year + missingYear) +
                                  ".PTL"));
        }
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());

        const Outcome run = RunCli({QStringLiteral("apply"), QStringLiteral("--county"),
                                    QString::number(County), QStringLiteral("--port"), PortOf(sim)},
                                   dir.path());

        QCOMPARE(run.Status, 1);
        const auto got = Messages(run.Out);
        QVERIFY2(got, qPrintable(run.Out));
        for (QString& message : messages) {
            message.replace(QStringLiteral("%missing"), QString::number(year + missingYear));
        }
        QCOMPARE(*got, messages);
        QString expectedLog = run.Out;
        expectedLog.replace(u'\n', QStringLiteral("\r\n"));
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("log.txt"))), Encode1256(expectedLog));
    }

    void inputErrors_data() {
        QTest::addColumn<QStringList>("arguments"); // the device's port is added
        QTest::addColumn<QString>("profile");       // written to profile.ini when not empty
        QTest::addColumn<QString>("removed");       // a file taken out of the start folder
        QTest::addColumn<QString>("error");
        const QStringList county = {QStringLiteral("--county"), QString::number(County)};
        const QStringList apply = QStringList{QStringLiteral("apply")} + county;
        const QStringList withProfile = {QStringLiteral("apply"), QStringLiteral("--profile"),
                                         QStringLiteral("profile.ini")};
        const QString located = QStringLiteral("[location]\ncounty = 41\n");

        QTest::newRow("no county") << QStringList{"apply"} << ""
                                   << ""
                                   << "no county given: use --county N, or county in the "
                                      "[location] section of the profile";
        QTest::newRow("county not a number") << QStringList{"apply", "--county", "x4"} << ""
                                             << ""
                                             << "'x4' is not a county index";
        QTest::newRow("unknown county") << QStringList{"apply", "--county", "9999"} << ""
                                        << ""
                                        << "There is no county with index 9999 in ";
        QTest::newRow("unknown section") << withProfile << located + "\n[evening]\ncall = 1\n"
                                         << ""
                                         << "profile.ini, line 4: unknown section [evening]";
        QTest::newRow("unknown key")
            << withProfile << located + "[dawn]\nvolume = 3\n"
            << ""
            << "profile.ini, line 4: unknown key 'volume' in section [dawn]";
        QTest::newRow("level not a number")
            << withProfile << located + "[noon]\ncall_level = loud\n"
            << ""
            << "profile.ini, line 4: 'loud' is not a valid integer value";
        QTest::newRow("county in the profile not a number")
            << withProfile << "[location]\ncounty = forty\n"
            << ""
            << "profile.ini, line 2: 'forty' is not a valid integer value";
        QTest::newRow("flag neither true nor false")
            << withProfile << located + "[sunset]\nrandom = yes\n"
            << ""
            << "profile.ini, line 4: 'yes' is neither true nor false";
        QTest::newRow("line without =") << withProfile << located + "[dawn]\ncall 3\n"
                                        << ""
                                        << "profile.ini, line 4: 'call 3' is not a line of the "
                                           "form key = value";
        QTest::newRow("call number above a byte")
            << withProfile << located + "[dawn]\ncall = 300\n"
            << ""
            << "'300' is not a value from 0 to 255 (dawn.call)";
        QTest::newRow("negative supplication")
            << withProfile << located + "[noon]\nsupplication = -5\n"
            << ""
            << "'-5' is not a value from 0 to 255 (noon.supplication)";
        QTest::newRow("level above 32") << withProfile << located + "[option1]\nlevel = 33\n"
                                        << ""
                                        << "'33' is not a value from 0 to 32 (option1.level)";
        QTest::newRow("empty file count") << withProfile << located + "[files]\ncall_count =\n"
                                          << ""
                                          << "'' is not a valid integer value";
        QTest::newRow("three digits after the point")
            << withProfile << located + "[location]\nlongitude = 51.425\n"
            << ""
            << "'51.425' has more than two digits after the point";
        QTest::newRow("profile missing") << QStringList{"apply", "--profile", "nowhere.ini"} << ""
                                         << ""
                                         << "Cannot open file nowhere.ini";
        QTest::newRow("key file missing") << apply << ""
                                          << "encryp.key"
                                          << "Cannot open file %1/encryp.key";
        QTest::newRow("city database missing") << apply << ""
                                               << "city.db"
                                               << "The city database %1/city.db cannot be used";
    }

    // Bad input ends with status 2 and a message before the port is touched: nothing is sent,
    // nothing logged.
    void inputErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, profile);
        QFETCH(QString, removed);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(MakeStartFolder(dir));
        if (!profile.isEmpty()) {
            QFile file(dir.filePath(QStringLiteral("profile.ini")));
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.write(profile.toUtf8());
        }
        if (!removed.isEmpty()) {
            QVERIFY(QFile::remove(dir.filePath(removed)));
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const Outcome run =
            RunCli(arguments + QStringList{QStringLiteral("--port"), PortOf(sim)}, dir.path());

        QCOMPARE(run.Status, 2);
        QVERIFY2(run.Err.contains(error.replace(QStringLiteral("%1"), dir.path())),
                 qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        QCOMPARE(EntriesBeforeProbe(sim), 0);
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("log.txt"))));
    }

    void startFolderErrors_data() {
        QTest::addColumn<QString>("prepared"); // "start folder", "empty"
        QTest::addColumn<QString>("removed");
        QTest::addColumn<bool>("folderFlag"); // --folder names the working directory
        QTest::addColumn<QString>("named");   // %1: the working directory, %2: the data home
        QTest::newRow("working directory without its key file")
            << "start folder"
            << "encryp.key" << false << "looked for in %1/ (the working directory)";
        QTest::newRow("--folder without the province list") << "empty"
                                                            << "" << true << "%1/ostan.txt";
        QTest::newRow("no files anywhere, no installed sample")
            << "empty"
            << "" << false << "The data folder %2/muezzin-config cannot be set up";
    }

    // A missing file of the start folder names the folder that was taken and --folder; nothing
    // is sent and nothing written.
    void startFolderErrors() {
        QFETCH(QString, prepared);
        QFETCH(QString, removed);
        QFETCH(bool, folderFlag);
        QFETCH(QString, named);
        QTemporaryDir dir;
        if (prepared == QStringLiteral("start folder")) {
            QVERIFY(MakeStartFolder(dir, 1));
        }
        if (!removed.isEmpty()) {
            QVERIFY(QFile::remove(dir.filePath(removed)));
        }
        const QStringList before =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        QStringList arguments = {QStringLiteral("apply"), QStringLiteral("--county"),
                                 QString::number(County), QStringLiteral("--port"), PortOf(sim)};
        if (folderFlag) {
            arguments += {QStringLiteral("--folder"), dir.path()};
        }

        const Outcome run = RunCli(arguments, dir.path());

        QCOMPARE(run.Status, 2);
        named.replace(QStringLiteral("%1"), dir.path()).replace(QStringLiteral("%2"), DataHome());
        QVERIFY2(run.Err.contains(named), qPrintable(run.Err));
        QVERIFY2(run.Err.contains(QStringLiteral("--folder DIR")), qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        QCOMPARE(EntriesBeforeProbe(sim), 0);
        QCOMPARE(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), before);
        QVERIFY(!QFileInfo::exists(DataHome() + QStringLiteral("/muezzin-config")));
    }

    void noDevice_data() {
        QTest::addColumn<bool>("onSimulator"); // else a port that does not exist
        QTest::addColumn<SimulatorOptions>("options");
        SimulatorOptions o;
        QTest::newRow("no such port") << false << o;
        o.Silent = true;
        QTest::newRow("silent device") << true << o;
        o = {};
        o.WrongHeader = true;
        QTest::newRow("wrong probe answer") << true << o;
    }

    // No block is written when no device answers the search.
    void noDevice() {
        QFETCH(bool, onSimulator);
        QFETCH(SimulatorOptions, options);
        QTemporaryDir dir;
        QVERIFY(MakeStartFolder(dir));
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        const QString port = onSimulator ? PortOf(sim) : dir.filePath(QStringLiteral("ttyNone"));

        const Outcome run = RunCli({QStringLiteral("apply"), QStringLiteral("--county"),
                                    QString::number(County), QStringLiteral("--port"), port},
                                   dir.path());

        QCOMPARE(run.Status, 2);
        QVERIFY2(run.Err.contains(QStringLiteral("no device answered on 1 port(s)")),
                 qPrintable(run.Err));
        QCOMPARE(run.Out, QString());
        for (const TraceEntry& entry : sim.Trace()) {
            QVERIFY(entry.Way != TraceEntry::Direction::In || entry.Bytes[2] != 0x03);
        }
        QVERIFY(!QFile::exists(dir.filePath(QStringLiteral("log.txt"))));
    }

    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out"); // the first line of standard output
        QTest::addColumn<QStringList>("mentions");
        QTest::newRow("tool help")
            << QStringList{"--help"} << 0 << "Usage: muezzin-cli [options] COMMAND [options]"
            << QStringList{"apply", "find", "ports", "import-cities", "--port", "--folder"};
        QTest::newRow("apply help")
            << QStringList{"apply", "--help"} << 0 << "Usage: muezzin-cli apply [options]"
            << QStringList{"--profile", "--county", "--port"};
        QTest::newRow("find help") << QStringList{"find", "--help"} << 0
                                   << "Usage: muezzin-cli find [options]" << QStringList{"--port"};
        QTest::newRow("unknown command")
            << QStringList{"frob"} << 2 << "" << QStringList{"unknown command 'frob'"};
        QTest::newRow("no command") << QStringList{} << 2 << "" << QStringList{"no command given"};
        QTest::newRow("unknown option") << QStringList{"apply", "--colour"} << 2 << ""
                                        << QStringList{"Unknown option 'colour'"};
        QTest::newRow("stray argument") << QStringList{"find", "extra"} << 2 << ""
                                        << QStringList{"unexpected argument 'extra'"};
    }

    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QStringList, mentions);
        QTemporaryDir dir;
        const Outcome run = RunCli(arguments, dir.path());
        QCOMPARE(run.Status, status);
        QCOMPARE(run.Out.section(u'\n', 0, 0), out);
        const QString said = status == 0 ? run.Out : run.Err;
        for (const QString& mention : mentions) {
            QVERIFY2(said.contains(mention), qPrintable(mention));
        }
    }

    void findAndPorts_data() {
        QTest::addColumn<QStringList>("arguments"); // %link stands for the simulator's link
        QTest::addColumn<bool>("viaEnvironment");   // the link named in MUEZZIN_PORTS
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("lastLine");
        QTest::newRow("ports, one given")
            << QStringList{"ports", "--port", "%link"} << false << 0 << "%link";
        QTest::newRow("ports, from the environment")
            << QStringList{"ports"} << true << 0 << "%link";
        QTest::newRow("find, port given")
            << QStringList{"--port", "%link", "find"} << false << 0 << "%link 26.01.03.SIM01";
        QTest::newRow("find, searching")
            << QStringList{"find"} << true << 0 << "%link 26.01.03.SIM01";
        QTest::newRow("find, no such port")
            << QStringList{"find", "--port", "%link-gone"} << false << 2 << "";
    }

    // The simulator program, reached through the link it makes, as a user would set it up.
    void findAndPorts() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, viaEnvironment);
        QFETCH(int, status);
        QFETCH(QString, lastLine);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("muezzin0"));
        QProcess sim;
        sim.start(Sim, {QStringLiteral("--link"), link});
        QVERIFY(sim.waitForReadyRead(10000)); // the port path is printed once the link is made
        arguments.replaceInStrings(QStringLiteral("%link"), link);
        lastLine.replace(QStringLiteral("%link"), link);

        const Outcome run = RunCli(arguments, dir.path(), Environment(viaEnvironment ? link : ""));

        sim.terminate();
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(run.Status, status);
        QStringList lines = run.Out.split(u'\n');
        QCOMPARE(lines.takeLast(), QString()); // every line ends
        QCOMPARE(lines.isEmpty() ? QString() : lines.last(), lastLine);
    }

    // The upgrade as a user runs it: log lines on standard output, the status lines on
    // standard error (not a terminal here), the exit status by how it ended.
    void upgrade_data() {
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<int>("neverConfirmed");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("lastStatus");
        QTest::newRow("complete") << 69632 << -1 << 0 << "Finished";
        QTest::newRow("a page that never confirms") << 69632 << 7 << 1 << "Failed";
        QTest::newRow("short file: nothing sent") << 69631 << -1 << 2 << "";
    }

    void upgrade() {
        QFETCH(int, fileSize);
        QFETCH(int, neverConfirmed);
        QFETCH(int, status);
        QFETCH(QString, lastStatus);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("new.fmw")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QByteArray(fileSize, '\x5A'));
        file.close();
        SimulatorOptions options;
        options.NeverConfirmPage = neverConfirmed;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());

        const Outcome run = RunCli(
            {QStringLiteral("upgrade"), file.fileName(), QStringLiteral("--port"), PortOf(sim)},
            dir.path());

        QCOMPARE(run.Status, status);
        if (lastStatus.isEmpty()) {
            QCOMPARE(sim.FramesReceived(), 0);
            return;
        }
        const QStringList errLines = run.Err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(errLines.last(), lastStatus);
        QVERIFY(errLines.contains(QStringLiteral("Page number: 0 ; Retry : 0")));
        QVERIFY(run.Out.split(u'\n', Qt::SkipEmptyParts).size() >= 2);
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
