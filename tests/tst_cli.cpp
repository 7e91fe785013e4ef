#include "calendar/CalendarClock.h"
#include "comm/CommLink.h"
#include "common/TextFiles.h"
#include "device/DeviceTexts.h"
#include "device/SettingsBlock.h"
#include "device/Upgrade.h"
#include "device/UpgradeTexts.h"
#include "device/Upload.h"
#include "location/CityImport.h"
#include "tests/PortableCases.h"
#include "tests/ProcessRun.h"
#include "tests/StartFolderFixture.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <ctime>
#include <memory>
#include <optional>
#include <sys/inotify.h>
#include <sys/stat.h>

Q_DECLARE_METATYPE(SimulatorOptions)

namespace {

const QString Cli = QStringLiteral(MUEZZIN_CLI);
const QString Sim = QStringLiteral(MUEZZIN_SIM);
const QString Sample = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/");

constexpr int County = SampleCounty;
const QString CountyFolder = SampleCountyFolder;

// The user's data folder lies in a home of the tests' own.
QString DataHome() {
    static const QTemporaryDir home;
    return home.path();
}

QProcessEnvironment Environment(const QString& extraPorts = {}) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("XDG_DATA_HOME"), DataHome());
    env.remove(QStringLiteral("MUEZZIN_PORTS"));
    // The machine's own serial ports are never written to, nor raced for with other tests.
    env.insert(QStringLiteral("MUEZZIN_PORTS_ONLY"), QStringLiteral("1"));
    if (!extraPorts.isEmpty()) {
        env.insert(QStringLiteral("MUEZZIN_PORTS"), extraPorts);
    }
    return env;
}

// Where the tool's standard output goes: read back, a full disk, or nowhere (closed).
enum class Output { Pipe, Full, Closed };

Outcome RunCli(const QStringList& arguments, const QString& folder,
               const QProcessEnvironment& env = Environment(), Output output = Output::Pipe) {
    QProcess process;
    if (output == Output::Closed) {
        StartProgram(
            process, QStringLiteral("/bin/sh"),
            QStringList{QStringLiteral("-c"), QStringLiteral("exec \"$0\" \"$@\" >&-"), Cli} +
                arguments,
            folder, env);
        return Finish(process);
    }
    if (output == Output::Full) {
        process.setStandardOutputFile(QStringLiteral("/dev/full"));
    }
    StartProgram(process, Cli, arguments, folder, env);
    return Finish(process);
}

// How many trace entries the device had before a probe sent now: a frame the tool wrote is
// taken before the probe, however late the device read it.
int EntriesBeforeProbe(const DeviceSimulator& sim) {
    CommLink link;
    if (!OpenPort(link, PathOf(sim))) {
        return -1;
    }
    std::copy(frame::ProbeFrame.begin(), frame::ProbeFrame.end(), link.TxFrame.begin());
    Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
    ClosePort(link);
    return static_cast<int>(sim.Trace().size()) - 2;
}

// The log line after a year that cannot be had, with what makes it (timetable-year), as the
// command line says it; the year and the path as the rows give them.
QString YearGapLine(const char* form, const QString& year, const QString& path) {
    return u' ' + ProblemText(Problem(QStringLiteral("timetable-year"), QLatin1String(form))
                                  .Set(QStringLiteral("year"), year)
                                  .Set(QStringLiteral("county"), County)
                                  .Set(QStringLiteral("path"), path),
                              Wording::English);
}

// The output without its last line, the command's result; the result line alone.
QString LogPart(const QString& out) {
    return out.left(out.lastIndexOf(u'\n', -2) + 1);
}
QString ResultLine(const QString& out) {
    return out.section(u'\n', -2, -2);
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

// The county indexes that begin the lines of a county listing.
QList<int> CountiesOf(const QString& listing) {
    QList<int> counties;
    for (const QString& line : listing.split(u'\n', Qt::SkipEmptyParts)) {
        counties.append(line.section(u'\t', 0, 0).toInt());
    }
    return counties;
}

// A start folder as the package installs it: the sample's files and the database the build made,
// which holds every county, and no timetables.
bool MakeBuiltStartFolder(const QString& folder) {
    const QString built = QStringLiteral(MUEZZIN_BUILT_SAMPLE "/");
    return QFile::copy(Sample + "ostan.txt", folder + "/ostan.txt") &&
           QFile::copy(Sample + "encryp.key", folder + "/encryp.key") &&
           QFile::copy(built + "city.db", folder + "/city.db");
}

QList<int> Range(int first, int last) {
    QList<int> values;
    for (int k = first; k <= last; ++k) {
        values.append(k);
    }
    return values;
}

// A settings block written into the simulator, as an earlier apply would leave it.
bool StoreSettings(const DeviceSimulator& sim, int county) {
    CommLink link;
    if (!OpenPort(link, PathOf(sim))) {
        return false;
    }
    const SettingsBlock block = BuildSettingsBlock(SettingsFields{}, county, 24, {}, 1405);
    frame::Compose(link.TxFrame, frame::command::BlockWrite, 0, 0, block);
    Exchange(link, frame::BlockFrameSize, frame::BlockFrameSize);
    return link.BytesRead == frame::BlockFrameSize;
}

// As log.txt holds a text: in the device world's code page, the Persian letters it lacks as
// their look-alikes.
QByteArray Encode1256(const QString& text) {
    return ToWindows1256(text);
}

// An upgrade file of size bytes, its image and pad all 0x5A.
bool WriteFirmware(const QString& path, qsizetype size = FirmwareFileAreaSize) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(QByteArray(size, '\x5A')) == size;
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Standard output as the one JSON document --format json promises; an empty object otherwise.
QJsonObject JsonOf(const Outcome& run) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(run.Out.toUtf8(), &error);
    return error.error == QJsonParseError::NoError ? document.object() : QJsonObject();
}

// The value at a path of keys and array indexes separated by '/'.
QJsonValue ValueAt(const QJsonObject& object, const QString& path) {
    QJsonValue value = object;
    for (const QString& step : path.split(u'/')) {
        bool isIndex = false;
        const int index = step.toInt(&isIndex);
        value = isIndex ? value.toArray().at(index) : value.toObject().value(step);
    }
    return value;
}

// A simulator for each of the options, each named with --port after the arguments.
bool StartDevices(const QList<SimulatorOptions>& devices,
                  std::vector<std::unique_ptr<DeviceSimulator>>& sims, QStringList& arguments) {
    for (const SimulatorOptions& options : devices) {
        sims.push_back(std::make_unique<DeviceSimulator>(options));
        if (!sims.back()->Start()) {
            return false;
        }
        arguments << QStringLiteral("--port") << PathOf(*sims.back());
    }
    return true;
}

std::vector<std::uint8_t> BlockAt(const std::vector<std::uint8_t>& memory, int address) {
    return {memory.begin() + address, memory.begin() + address + 128};
}

// The text with its Latin digits written in Persian ones.
QString PersianDigits(const QString& text) {
    QString out = text;
    for (QChar& c : out) {
        if (c.isDigit()) {
            c = QChar(0x06F0 + c.digitValue());
        }
    }
    return out;
}

// Runs the command line under faketime, the PC's clock at that date and time from the start
// (and going on from there) in that zone, as a PC set so would run it. Empty without faketime.
std::optional<Outcome> RunCliAt(const QString& zone, const QString& date,
                                const QStringList& arguments, const QString& folder) {
    const QString faketime = QStandardPaths::findExecutable(QStringLiteral("faketime"));
    if (faketime.isEmpty()) {
        return std::nullopt;
    }
    QProcessEnvironment env = Environment();
    env.insert(QStringLiteral("TZ"), zone);
    // faketime's library comes before the sanitizers' runtime, which then would refuse to start.
    const QString sanitizer = env.value(QStringLiteral("ASAN_OPTIONS"));
    env.insert(QStringLiteral("ASAN_OPTIONS"),
               (sanitizer.isEmpty() ? QString() : sanitizer + u':') +
                   QStringLiteral("verify_asan_link_order=0"));
    return RunProgram(faketime, QStringList{date, Cli} + arguments, folder, env);
}

// The five times of each day of a timetable file, "05:12", as the device decodes them from its
// codes: the file read on its own, apart from the tool's decoding.
std::vector<QStringList> FileTimes(const QByteArray& file) {
    std::vector<QStringList> days;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= (month <= 6 ? 31 : 30); ++day) {
            QStringList times;
            for (int time = 0; time < 5; ++time) {
                const qsizetype at = (month - 1) * 512 + 25 + (day - 1) * 15 + time * 3;
                const int hour = (static_cast<std::uint8_t>(file[at]) - 10) / 7;
                const int minute = (static_cast<std::uint8_t>(file[at + 1]) - 8) / 3;
                times.append(QStringLiteral("%1:%2")
                                 .arg(hour, 2, 10, QChar(u'0'))
                                 .arg(minute, 2, 10, QChar(u'0')));
            }
            days.push_back(times);
        }
    }
    return days;
}

// The last clock frame the device took: seconds, minutes, hours, day, month, year - 2000.
std::vector<int> ClockSet(const DeviceSimulator& sim) {
    std::vector<int> clock;
    for (const TraceEntry& entry : sim.Trace()) {
        if (entry.Way == TraceEntry::Direction::In && entry.Bytes.size() == 12 &&
            entry.Bytes[2] == frame::command::Clock) {
            clock.assign(entry.Bytes.begin() + 6, entry.Bytes.end());
        }
    }
    return clock;
}

} // namespace

Q_DECLARE_METATYPE(Output)

class CliTest : public QObject {
    Q_OBJECT

private slots:
    // A whole run: one date-stamped line, the log file appended in the device world's code page,
    // the county's settings, timetables and keys in the device.
    void applyComplete() {
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
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
                                    QString::number(County), QStringLiteral("--port"), PathOf(sim)},
                                   dir.path());

        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Err, QString());
        QCOMPARE(ResultLine(run.Out), QStringLiteral("316 of 316 blocks confirmed"));
        const auto messages = Messages(LogPart(run.Out));
        QVERIFY2(messages, qPrintable(run.Out));
        QCOMPARE(*messages, QStringList{AppliedText});
        QString added = LogPart(run.Out);
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
        QVERIFY(MakeSampleStartFolder(dir.path()));
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
                    QStringLiteral("--profile"), profile, QStringLiteral("--port"), PathOf(sim)},
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
        QTest::addColumn<QStringList>("extra"); // further arguments of apply
        // Counted from the current year, the year whose file is a folder; -1 for none.
        QTest::addColumn<int>("missingYear");
        // %missing: that year, %path its file; none: not compared.
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QString>("result"); // the last line
        const auto resent = [](const QString& address) {
            return BlockNotConfirmedText + address + PageResentText;
        };
        const QString differs = NotChangedCountText + "1";
        QStringList thrice;
        for (const QString address : {"0x0000", "0x0080", "0x0100"}) {
            thrice << differs << resent(address) << differs << resent(address) << differs;
        }
        thrice << DeviceSilentText << NotFullyAppliedText + "316";
        // Timetables from 0x0080 to 0x9100, the key table from 0x9180 to 0x9D80.
        SimulatorOptions o;
        QTest::newRow("third year unreadable")
            << o << QStringList{} << 2
            << QStringList{YearFileNotFoundText + "%missing",
                           YearGapLine("unreadable", "%missing", "%path"),
                           NotFullyAppliedText + "232"}
            << "84 of 316 blocks confirmed; not confirmed: 0x1D80-0x9100 not sent";
        o.FlipEveryBlocks = 100; // blocks 100 and 200, and the ninth block of the key table
        QTest::newRow("three echoes corrupted, written once")
            << o << QStringList{"--no-resend"} << -1
            << QStringList{differs, differs, differs, NotFullyAppliedText + "3"}
            << "313 of 316 blocks confirmed; not confirmed: 0x3180 echo differs, 0x6380 echo "
               "differs, 0x9580 echo differs";
        // Three attempts a block, then three blocks given up in a row stop the run.
        o.FlipEveryBlocks = 1;
        QTest::newRow("no block ever confirmed")
            << o << QStringList{} << -1 << thrice
            << "0 of 316 blocks confirmed; not confirmed: 0x0000-0x0100 echo differs, "
               "0x0180-0x9D80 not sent";
        o = {};
        o.ShortReplyBytes = 133;
        QTest::newRow("replies a byte short")
            << o << QStringList{} << -1 << QStringList{}
            << "0 of 316 blocks confirmed; not confirmed: 0x0000-0x0100 short reply, "
               "0x0180-0x9D80 not sent";
        o = {};
        o.WrongHeader = true;
        o.WrongHeaderAfterFrames = 2; // the search is answered rightly, the blocks wrongly
        QTest::newRow("wrong reply header")
            << o << QStringList{} << -1 << QStringList{}
            << "0 of 316 blocks confirmed; not confirmed: 0x0000-0x0100 wrong header, "
               "0x0180-0x9D80 not sent";
        o = {};
        o.StopAfterFrames = 2 + 10; // the search's two frames, then ten blocks
        QTest::newRow("device stops answering")
            << o << QStringList{} << -1
            << QStringList{ReceiveErrorText,
                           resent("0x0500"),
                           ReceiveErrorText,
                           resent("0x0500"),
                           ReceiveErrorText,
                           DeviceSilentText,
                           NotFullyAppliedText + "306",
                           " 10 of 316 blocks confirmed; the configuration is incomplete: run "
                           "apply again"}
            << "10 of 316 blocks confirmed; the configuration is incomplete: run apply again; not "
               "confirmed: 0x0500 no reply, 0x0580-0x9D80 not sent";
    }

    // Anything short of a complete, confirmed upload ends with status 1 and says so, the last
    // line naming each block not confirmed and why.
    void applyOutcomes() {
        QFETCH(SimulatorOptions, options);
        QFETCH(QStringList, extra);
        QFETCH(int, missingYear);
        QFETCH(QStringList, messages);
        QFETCH(QString, result);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        const int year = CurrentSolarYear();
        const QString missingPath =
            dir.path() + CountyFolder + QString::number(year + missingYear) + ".PTL";
        if (missingYear >= 0) {
            QVERIFY(QFile::remove(missingPath));
            QVERIFY(QDir().mkdir(missingPath)); // never replaced, so never computed
        }
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());

        const Outcome run =
            RunCli(QStringList{QStringLiteral("apply"), QStringLiteral("--county"),
                               QString::number(County), QStringLiteral("--port"), PathOf(sim)} +
                       extra,
                   dir.path());

        QCOMPARE(run.Status, 1);
        QCOMPARE(ResultLine(run.Out), result);
        const auto got = Messages(LogPart(run.Out));
        QVERIFY2(got, qPrintable(run.Out));
        for (QString& message : messages) {
            message.replace(QStringLiteral("%missing"), QString::number(year + missingYear));
            message.replace(QStringLiteral("%path"), missingPath);
        }
        if (!messages.isEmpty()) {
            QCOMPARE(*got, messages);
        }
        QVERIFY(got->contains(NotFullyAppliedText +
                              QString::number(316 - result.section(u' ', 0, 0).toInt())));
        QString expectedLog = LogPart(run.Out);
        expectedLog.replace(u'\n', QStringLiteral("\r\n"));
        QCOMPARE(ReadAll(dir.filePath(QStringLiteral("log.txt"))), Encode1256(expectedLog));
    }

    void noisyLine_data() {
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("status");
        QTest::newRow("resent until confirmed") << QStringList{} << 0;
        QTest::newRow("written once") << QStringList{"--no-resend"} << 1;
        QTest::newRow("written once, by the profile") << QStringList{"--profile", "once.ini"} << 1;
    }

    // A line that garbles a few replies: resent blocks leave the device as a clean line does;
    // written once, the same noise leaves blocks unconfirmed.
    void noisyLine() {
        QFETCH(QStringList, extra);
        QFETCH(int, status);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        QFile once(dir.filePath(QStringLiteral("once.ini")));
        QVERIFY(once.open(QIODevice::WriteOnly));
        once.write("[upload]\nresend = FALSE\n");
        once.close();
        const QStringList apply = {QStringLiteral("apply"), QStringLiteral("--county"),
                                   QString::number(County), QStringLiteral("--port")};
        DeviceSimulator clean;
        QVERIFY(clean.Start());
        QCOMPARE(RunCli(apply + QStringList{PathOf(clean)}, dir.path()).Status, 0);
        SimulatorOptions options;
        options.NoiseRate = 3e-5; // about one exchange in thirty garbled
        options.NoiseSeed = 1;
        DeviceSimulator noisy(options);
        QVERIFY(noisy.Start());

        const Outcome run = RunCli(apply + QStringList{PathOf(noisy)} + extra, dir.path());

        QCOMPARE(run.Status, status);
        int blockWrites = 0;
        for (const TraceEntry& entry : noisy.Trace()) {
            blockWrites += entry.Way == TraceEntry::Direction::In && entry.Bytes[2] == 0x03;
        }
        if (status == 0) {
            QVERIFY2(blockWrites > 316 + 3, qPrintable(QString::number(blockWrites)));
            QCOMPARE(noisy.Memory(), clean.Memory());
        } else {
            QCOMPARE(blockWrites, 316);
            QVERIFY2(run.Out.contains(NotFullyAppliedText), qPrintable(run.Out));
        }
    }

    void manyDevices_data() {
        QTest::addColumn<QList<SimulatorOptions>>("devices");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("results"); // a device's row of the closing table
        SimulatorOptions good;
        SimulatorOptions silent;
        silent.Silent = true;
        SimulatorOptions flipping;
        flipping.FlipEveryBlocks = 1;
        const QString confirmed = QStringLiteral("316 of 316 blocks confirmed");
        QTest::newRow("three devices") << QList<SimulatorOptions>{good, good, good} << 0
                                       << QStringList{confirmed, confirmed, confirmed};
        QTest::newRow("one silent, one never confirming")
            << QList<SimulatorOptions>{silent, good, flipping} << 2
            << QStringList{"no device answered", confirmed,
                           "0 of 316 blocks confirmed; not confirmed: 0x0000-0x0100 echo "
                           "differs, 0x0180-0x9D80 not sent"};
    }

    // Several devices configured at once: each ends as it would alone, the table says how, the
    // exit status is the worst, and log.txt holds every line whole with its port.
    void manyDevices() {
        QFETCH(QList<SimulatorOptions>, devices);
        QFETCH(int, status);
        QFETCH(QStringList, results);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        DeviceSimulator reference;
        QVERIFY(reference.Start());
        const QStringList apply = {QStringLiteral("apply"), QStringLiteral("--county"),
                                   QString::number(County)};
        QCOMPARE(
            RunCli(apply + QStringList{QStringLiteral("--port"), PathOf(reference)}, dir.path())
                .Status,
            0);
        QVERIFY(QFile::remove(dir.filePath(QStringLiteral("log.txt"))));
        std::vector<std::unique_ptr<DeviceSimulator>> sims;
        QStringList arguments = apply;
        QVERIFY(StartDevices(devices, sims, arguments));

        const Outcome run = RunCli(arguments, dir.path());

        QCOMPARE(run.Status, status);
        const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > static_cast<int>(sims.size()));
        QVERIFY2(lines[lines.size() - static_cast<int>(sims.size()) - 1].startsWith(
                     QStringLiteral("port ")),
                 qPrintable(run.Out));
        for (std::size_t i = 0; i < sims.size(); ++i) {
            const QString row = lines[lines.size() - static_cast<int>(sims.size() - i)];
            const QString port = PathOf(*sims[i]);
            QVERIFY2(row.startsWith(port + u' ') && row.contains(results[static_cast<int>(i)]),
                     qPrintable(row));
            if (results[static_cast<int>(i)] == QStringLiteral("316 of 316 blocks confirmed")) {
                QCOMPARE(sims[i]->Memory(), reference.Memory());
            }
        }
        // Every logged line whole: its date text, its port, one message.
        QStringDecoder decode("windows-1256");
        const QString log = decode(ReadAll(dir.filePath(QStringLiteral("log.txt"))));
        static const QRegularExpression whole(
            QStringLiteral(R"(^[A-Z][a-z]+ , [A-Z][a-z]+\(\d\d\) , \d{4} , \d\d:\d\d:\d\d [AP]M )"
                           R"((/\S+): [^\r\n]*$)"));
        int logged = 0;
        for (const QString& line : log.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts)) {
            const auto match = whole.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            QVERIFY(run.Out.contains(match.captured(1) + QStringLiteral(": ") +
                                     line.left(match.capturedStart(1) - 1)));
            ++logged;
        }
        QCOMPARE(logged, static_cast<int>(run.Out.count(QStringLiteral(" PM")) +
                                          run.Out.count(QStringLiteral(" AM"))));
    }

    // Only the ports where a device answers take part.
    void allPorts() {
        SimulatorOptions silent;
        silent.Silent = true;
        DeviceSimulator first;
        DeviceSimulator quiet(silent);
        DeviceSimulator second;
        QVERIFY(first.Start() && quiet.Start() && second.Start());
        QTemporaryDir dir;
        const QString ports = QStringList{PathOf(first), PathOf(quiet), PathOf(second),
                                          dir.filePath(QStringLiteral("gone"))}
                                  .join(u':');

        const Outcome run = RunCli({QStringLiteral("find"), QStringLiteral("--all-ports")},
                                   dir.path(), Environment(ports));

        QCOMPARE(run.Status, 0);
        QStringList found;
        for (const QString& line : run.Out.split(u'\n', Qt::SkipEmptyParts).mid(1)) {
            found.append(line.section(u' ', 0, 0));
        }
        QCOMPARE(found, (QStringList{PathOf(first), PathOf(second)}));
        QCOMPARE(run.Err, QString());
    }

    // Frames without a reply reach the device before the tool lets the port go: the clock
    // frame at the end of set-clock, and the end of the upgrade after a refused step, which a
    // purge on release used to lose in most runs.
    void framesWithoutReply_data() {
        QTest::addColumn<QStringList>("arguments"); // the port is added
        QTest::addColumn<int>("runs");
        QTest::addColumn<int>("command"); // of the frame that must arrive once a run
        QTest::newRow("set-clock") << QStringList{"set-clock"} << 3 << 0x04;
        QTest::newRow("upgrade, erase refused") << QStringList{"upgrade", "new.fmw"} << 10 << 0x80;
    }

    void framesWithoutReply() {
        QFETCH(QStringList, arguments);
        QFETCH(int, runs);
        QFETCH(int, command);
        QTemporaryDir dir;
        QVERIFY(WriteFirmware(dir.filePath(QStringLiteral("new.fmw"))));
        for (int run = 0; run < runs; ++run) {
            SimulatorOptions options;
            options.RefuseErase = true;
            DeviceSimulator sim(options);
            QVERIFY(sim.Start());
            RunCli(arguments + QStringList{QStringLiteral("--port"), PathOf(sim)}, dir.path());
            QTest::qWait(100); // the device takes what is still on the line
            sim.Stop();
            int arrived = 0;
            for (const TraceEntry& entry : sim.Trace()) {
                const bool whole = entry.Bytes.size() == frame::FrameSize(entry.Bytes[5] - 4);
                arrived +=
                    entry.Way == TraceEntry::Direction::In && entry.Bytes[2] == command && whole;
            }
            QVERIFY2(arrived == 1, qPrintable(QStringLiteral("run %1: %2").arg(run).arg(arrived)));
        }
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
        QTest::newRow("county name that nothing contains")
            << QStringList{"apply", "--county", "x4"} << ""
            << ""
            << "no county, city or province name contains 'x4'";
        QTest::newRow("county name of two counties")
            << QStringList{"apply", "--county", "حسن\u200cآباد"} << ""
            << ""
            << "may mean 2 counties; give one's index with --county:\n45\t";
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
        QTest::newRow("resend neither true nor false")
            << withProfile << located + "[upload]\nresend = twice\n"
            << ""
            << "profile.ini, line 4: 'twice' is neither true nor false";
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
        QTest::newRow("latitude off the earth, though a byte would take it")
            << withProfile << located + "latitude = 90.5\n"
            << ""
            << "profile.ini, line 3: '90.5' is not a latitude from 0 to 90";
        QTest::newRow("profile missing") << QStringList{"apply", "--profile", "nowhere.ini"} << ""
                                         << ""
                                         << "Cannot open file nowhere.ini";
        QTest::newRow("key file missing") << apply << ""
                                          << "encryp.key"
                                          << "Cannot open file %1/encryp.key";
        QTest::newRow("city database missing") << apply << ""
                                               << "city.db"
                                               << "The city database %1/city.db cannot be used";
        QTest::newRow("unknown county, in Persian digits")
            << QStringList{"apply", "--county", "۹۹۹۹"} << ""
            << ""
            << "There is no county with index 9999 in ";
        QTest::newRow("timetable without county") << QStringList{"timetable"} << ""
                                                  << ""
                                                  << "no county given: use --county N|NAME";
        QTest::newRow("timetable of a year not a number")
            << QStringList{"timetable", "--county", "41", "--year", "next"} << ""
            << ""
            << "--year takes a solar year from 1300 to 1555, not 'next'";
        QTest::newRow("timetable of a year the device cannot hold")
            << QStringList{"timetable", "--county", "41", "--year", "۱۲۹۹"} << ""
            << ""
            << "--year takes a solar year from 1300 to 1555, not '۱۲۹۹'";
        QTest::newRow("timetable in a format it has not")
            << QStringList{"timetable", "--county", "41", "--format", "xml"} << ""
            << ""
            << "--format takes text, json or csv, not 'xml'";
        QTest::newRow("csv where the command has none")
            << QStringList{"apply", "--county", "41", "--format", "csv"} << ""
            << ""
            << "--format takes text or json, not 'csv'";
    }

    // Bad input ends with status 2 and a message before the port is touched: nothing is sent,
    // nothing logged.
    void inputErrors() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, profile);
        QFETCH(QString, removed);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
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
            RunCli(arguments + QStringList{QStringLiteral("--port"), PathOf(sim)}, dir.path());

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
            QVERIFY(MakeSampleStartFolder(dir.path(), 1));
        }
        if (!removed.isEmpty()) {
            QVERIFY(QFile::remove(dir.filePath(removed)));
        }
        const QStringList before =
            QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        QStringList arguments = {QStringLiteral("apply"), QStringLiteral("--county"),
                                 QString::number(County), QStringLiteral("--port"), PathOf(sim)};
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
        QTest::addColumn<QString>("error"); // %1 stands for the start folder
        const QString silent = QStringLiteral("no device answered on 1 port(s)");
        SimulatorOptions o;
        QTest::newRow("no such port")
            << false << o << "cannot open %1/ttyNone: No such file or directory";
        o.Silent = true;
        QTest::newRow("silent device") << true << o << silent;
        o = {};
        o.WrongHeader = true;
        QTest::newRow("wrong probe answer") << true << o << silent;
    }

    // No block is written when no device answers the search.
    void noDevice() {
        QFETCH(bool, onSimulator);
        QFETCH(SimulatorOptions, options);
        QFETCH(QString, error);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        const QString port = onSimulator ? PathOf(sim) : dir.filePath(QStringLiteral("ttyNone"));

        const Outcome run = RunCli({QStringLiteral("apply"), QStringLiteral("--county"),
                                    QString::number(County), QStringLiteral("--port"), port},
                                   dir.path());

        QCOMPARE(run.Status, 2);
        QCOMPARE(run.Err, QStringLiteral("muezzin-cli: ") +
                              error.replace(QStringLiteral("%1"), dir.path()) + u'\n');
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
        QTest::newRow("upgrade help: its argument, options and examples")
            << QStringList{"upgrade", "--help"} << 0
            << "Usage: muezzin-cli upgrade [options] FILE.fmw"
            << QStringList{"--format", "Examples:\n  muezzin-cli upgrade new.fmw\n"};
        QTest::newRow("help COMMAND as COMMAND --help")
            << QStringList{"help", "apply"} << 0 << "Usage: muezzin-cli apply [options]"
            << QStringList{"--county", "Examples:\n  muezzin-cli apply --county 37\n"};
        QTest::newRow("version") << QStringList{"-V"} << 0 << "muezzin-cli " MUEZZIN_VERSION
                                 << QStringList{};
        QTest::newRow("format neither text nor json")
            << QStringList{"find", "--format", "yaml"} << 2 << ""
            << QStringList{"--format takes text or json, not 'yaml'"};
        QTest::newRow("unknown command")
            << QStringList{"frob"} << 2 << "" << QStringList{"unknown command 'frob'"};
        QTest::newRow("no command") << QStringList{} << 2 << "" << QStringList{"no command given"};
        QTest::newRow("unknown option") << QStringList{"apply", "--colour"} << 2 << ""
                                        << QStringList{"unknown option '--colour'"};
        QTest::newRow("stray argument") << QStringList{"find", "extra"} << 2 << ""
                                        << QStringList{"unexpected argument 'extra'"};
        QTest::newRow("an empty port name") << QStringList{"find", "--port", ""} << 2 << ""
                                            << QStringList{"--port takes a port's name"};
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
        QTest::addColumn<bool>("opened"); // the port: a listing looks without opening
        QTest::newRow("ports, paths alone")
            << QStringList{"ports", "--paths", "--port", "%link"} << false << 0 << "%link" << false;
        QTest::newRow("ports, each port given")
            << QStringList{"ports", "--paths", "--port", "%link-other", "--port", "%link"} << false
            << 0 << "%link" << false;
        QTest::newRow("ports, from the environment: no names known")
            << QStringList{"ports"} << true << 0 << "%link\t\t\t\t\t" << false;
        QTest::newRow("ports, a name with a line break, escaped")
            << QStringList{"ports", "--port", "%link", "--port", "%link\nx"} << false << 0
            << "%link\\nx\t\t\t\t\tcannot open %link\\nx: No such file or directory" << false;
        QTest::newRow("find, port given") << QStringList{"--port", "%link", "find"} << false << 0
                                          << "%link 26.01.03.SIM01" << true;
        QTest::newRow("find, searching")
            << QStringList{"find"} << true << 0 << "%link 26.01.03.SIM01" << true;
        QTest::newRow("find, no such port")
            << QStringList{"find", "--port", "%link-gone"} << false << 2 << "" << false;
    }

    // The simulator program, reached through the link it makes, as a user would set it up.
    void findAndPorts() {
        QFETCH(QStringList, arguments);
        QFETCH(bool, viaEnvironment);
        QFETCH(int, status);
        QFETCH(QString, lastLine);
        QFETCH(bool, opened);
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("muezzin0"));
        QProcess sim;
        sim.start(Sim, {QStringLiteral("--link"), link});
        QVERIFY(sim.waitForReadyRead(10000)); // the port path is printed once the link is made
        arguments.replaceInStrings(QStringLiteral("%link"), link);
        lastLine.replace(QStringLiteral("%link"), link);
        // Every open of the port from now on, by whatever name: opening a serial port moves its
        // modem lines.
        const int opens = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        QVERIFY(opens >= 0);
        QVERIFY(inotify_add_watch(
                    opens, QFile::encodeName(QFileInfo(link).canonicalFilePath()).constData(),
                    IN_OPEN) >= 0);

        const Outcome run = RunCli(arguments, dir.path(), Environment(viaEnvironment ? link : ""));

        char events[1024];
        const bool wasOpened = ::read(opens, events, sizeof events) > 0;
        ::close(opens);
        QCOMPARE(wasOpened, opened);
        sim.terminate();
        QVERIFY(sim.waitForFinished(10000));
        QCOMPARE(run.Status, status);
        QStringList lines = run.Out.split(u'\n');
        QCOMPARE(lines.takeLast(), QString()); // every line ends
        QCOMPARE(lines.isEmpty() ? QString() : lines.last(), lastLine);
        // MUEZZIN_PORTS_ONLY=1: none of the ports the system lists was tried.
        QVERIFY(!viaEnvironment || std::all_of(lines.begin(), lines.end(), [&](const QString& l) {
            return l.startsWith(link);
        }));
    }

    // The upgrade as a user runs it: log lines on standard output, the status lines on
    // standard error (not a terminal here), the exit status by how it ended.
    void upgrade_data() {
        QTest::addColumn<int>("fileSize"); // -1: no file
        QTest::addColumn<int>("neverConfirmed");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("lastStatus");
        QTest::addColumn<QString>("logLine"); // of a file that cannot be used
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("result"); // the last line of standard output
        QTest::newRow("complete") << 69632 << -1 << 0 << "Finished"
                                  << ""
                                  << ""
                                  << "256 of 256 pages confirmed, Finished";
        QTest::newRow("a page that never confirms") << 69632 << 7 << 1 << "Failed"
                                                    << ""
                                                    << ""
                                                    << "7 of 256 pages confirmed, Failed";
        QTest::newRow("short file: nothing sent")
            << 69631 << -1 << 2 << "" << FirmwareFileShortText
            << "holds 69631 bytes: an upgrade file holds at least 69632"
            << "";
        QTest::newRow("missing file: nothing sent")
            << -1 << -1 << 2 << "" << FirmwareFileNotOpenedText << "Cannot open file "
            << "";
    }

    void upgrade() {
        QFETCH(int, fileSize);
        QFETCH(int, neverConfirmed);
        QFETCH(int, status);
        QFETCH(QString, lastStatus);
        QFETCH(QString, logLine);
        QFETCH(QString, error);
        QFETCH(QString, result);
        QTemporaryDir dir;
        const QString firmware = dir.filePath(QStringLiteral("new.fmw"));
        if (fileSize >= 0) {
            QVERIFY(WriteFirmware(firmware, fileSize));
        }
        SimulatorOptions options;
        options.NeverConfirmPage = neverConfirmed;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());

        const Outcome run =
            RunCli({QStringLiteral("--folder"), dir.path(), QStringLiteral("upgrade"), firmware,
                    QStringLiteral("--port"), PathOf(sim)},
                   dir.path());

        QCOMPARE(run.Status, status);
        if (lastStatus.isEmpty()) {
            // The window's log line, in the log as well; then the reason in English.
            QCOMPARE(sim.FramesReceived(), 0);
            QCOMPARE(Messages(run.Out), std::optional<QStringList>(QStringList{logLine}));
            QString logged = run.Out;
            logged.replace(u'\n', QStringLiteral("\r\n"));
            QCOMPARE(ReadAll(dir.filePath(QStringLiteral("log.txt"))), Encode1256(logged));
            QVERIFY2(run.Err.startsWith(QStringLiteral("muezzin-cli: ")) && run.Err.contains(error),
                     qPrintable(run.Err));
            return;
        }
        const QStringList errLines = run.Err.split(u'\n', Qt::SkipEmptyParts);
        QCOMPARE(errLines.last(), lastStatus);
        QCOMPARE(ResultLine(run.Out), result);
        QVERIFY(errLines.contains(QStringLiteral("Page number: 0 ; Retry : 0")));
        QVERIFY(run.Out.split(u'\n', Qt::SkipEmptyParts).size() >= 2);
    }

    void counties_data() {
        QTest::addColumn<QStringList>("words");
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<int>>("counties");
        QTest::addColumn<QString>("line"); // the first line, when given
        QTest::addColumn<bool>(
            "fromHome"); // the files in the user's data folder, not the working one
        QTest::newRow("all") << QStringList{} << 0 << Range(1, 53) << "" << false;
        QTest::newRow("from an empty working directory: the user's data folder")
            << QStringList{"پیشوا"} << 0 << QList<int>{41} << "" << true;
        QTest::newRow("county name, its whole line") << QStringList{"پیشوا"} << 0 << QList<int>{41}
                                                     << "41\tتهران\tورامین\t"
                                                        "پیشوا\t51.73\t35.31"
                                                     << false;
        QTest::newRow("Arabic yeh typed: a county and a city")
            << QStringList{"شيراز"} << 0 << QList<int>{8, 9} << "" << false;
        QTest::newRow("province in two words, Farsi yeh against the list's Arabic yeh")
            << QStringList{"آذربایجان", "شرقی"} << 0 << QList<int>{4} << "" << false;
        QTest::newRow("nothing contains it")
            << QStringList{"xyz"} << 1 << QList<int>{} << "" << false;
        QTest::newRow("nothing contains it, control characters in it")
            << QStringList{"x\x1b[2J\ny"} << 1 << QList<int>{} << "" << false;
    }

    // Six tab-separated columns a line, in database order.
    void counties() {
        QFETCH(QStringList, words);
        QFETCH(int, status);
        QFETCH(QList<int>, counties);
        QFETCH(QString, line);
        QFETCH(bool, fromHome);
        QTemporaryDir dir;
        QTemporaryDir home;
        const QString folder =
            fromHome ? home.filePath(QStringLiteral("muezzin-config")) : dir.path();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(MakeSampleStartFolder(folder, 0));
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());

        const Outcome run =
            RunCli(QStringList{QStringLiteral("counties")} + words, dir.path(), env);

        QCOMPARE(run.Status, status);
        QCOMPARE(CountiesOf(run.Out), counties);
        for (const QString& got : run.Out.split(u'\n', Qt::SkipEmptyParts)) {
            QCOMPARE(got.count(u'\t'), 5);
        }
        if (!line.isEmpty()) {
            QCOMPARE(run.Out.section(u'\n', 0, 0), line);
        }
        QCOMPARE(run.Err.isEmpty(), status == 0);
        // Whatever the words hold, the message is one line that does not drive the terminal.
        QCOMPARE(run.Err.count(u'\n'), status == 0 ? 0 : 1);
        QVERIFY2(!run.Err.contains(u'\x1b'), qPrintable(run.Err));
    }

    void applyByCountyName_data() {
        QTest::addColumn<QString>("county");
        QTest::addColumn<bool>("named"); // a name, which the tool says it took for the county
        QTest::newRow("name with the other yeh") << "پيشوا" << true;
        QTest::newRow("index in Persian digits") << "۴۱" << false;
        QTest::newRow("index in Arabic-Indic digits") << "٤١" << false;
    }

    // A county typed as a person types it chooses its one county, and the device gets it.
    void applyByCountyName() {
        QFETCH(QString, county);
        QFETCH(bool, named);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const Outcome run = RunCli({QStringLiteral("apply"), QStringLiteral("--county"), county,
                                    QStringLiteral("--port"), PathOf(sim)},
                                   dir.path());

        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Err.contains(QStringLiteral("county 41: ")), named);
        const std::vector<std::uint8_t> memory = sim.Memory();
        QCOMPARE(memory[0] * 256 + memory[1], County);
    }

    // A county the earlier sample lacked, found by its name and written whole into the device
    // from a start folder without timetables: its ten years computed and said in the log.
    void applyNewCounty() {
        QTemporaryDir dir;
        QVERIFY(MakeBuiltStartFolder(dir.path()));
        const Outcome listed =
            RunCli({QStringLiteral("counties"), QStringLiteral("چابهار")}, dir.path());
        QCOMPARE(listed.Status, 0);
        const QList<int> found = CountiesOf(listed.Out);
        QCOMPARE(found.size(), 1);
        QVERIFY(found.first() > 53);
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const Outcome run =
            RunCli({QStringLiteral("apply"), QStringLiteral("--county"), QStringLiteral("چابهار"),
                    QStringLiteral("--port"), PathOf(sim)},
                   dir.path());

        QCOMPARE(run.Status, 0);
        QCOMPARE(ResultLine(run.Out), QStringLiteral("316 of 316 blocks confirmed"));
        QStringList years;
        for (int year = CurrentSolarYear(); years.size() < 10; ++year) {
            years.append(QString::number(year));
        }
        QVERIFY2(
            Messages(LogPart(run.Out))
                .value_or(QStringList{})
                .contains(
                    ComputedYearsTemplate.arg(years.join(YearListSeparator)).arg(found.first())),
            qPrintable(run.Out));
        int blockWrites = 0;
        for (const TraceEntry& entry : sim.Trace()) {
            blockWrites += entry.Way == TraceEntry::Direction::In && entry.Bytes[2] == 0x03;
        }
        QCOMPARE(blockWrites, 316);
        const std::vector<std::uint8_t> memory = sim.Memory();
        QCOMPARE(memory[0] * 256 + memory[1], found.first());
    }

    // A county whose point is its centre is marked in the listing and its JSON, and counted by
    // the doctor as the listing counts it.
    void approximateCounty() {
        QTemporaryDir dir;
        QVERIFY(MakeBuiltStartFolder(dir.path()));
        const Outcome all = RunCli({QStringLiteral("counties")}, dir.path());
        QCOMPARE(all.Status, 0);
        const QStringList lines = all.Out.split(u'\n', Qt::SkipEmptyParts);
        const QStringList marked =
            lines.filter(QRegularExpression(QStringLiteral("\tapproximate$")));
        QVERIFY(!marked.isEmpty());
        const QStringList khoy = lines.filter(QStringLiteral("\tخوی\t"));
        QCOMPARE(khoy.size(), 1);
        QCOMPARE(khoy.first().split(u'\t').size(), 7);
        QVERIFY(marked.contains(khoy.first()));

        QSet<int> markedIndexes;
        for (const QString& line : marked) {
            markedIndexes.insert(line.section(u'\t', 0, 0).toInt());
        }
        const Outcome json =
            RunCli({QStringLiteral("counties"), QStringLiteral("--format"), QStringLiteral("json")},
                   dir.path());
        const QJsonArray counties = JsonOf(json).value(QStringLiteral("counties")).toArray();
        QCOMPARE(counties.size(), lines.size());
        for (const QJsonValue& county : counties) {
            QVERIFY(county[QStringLiteral("approximate")].isBool());
            QCOMPARE(county[QStringLiteral("approximate")].toBool(),
                     markedIndexes.contains(county[QStringLiteral("index")].toInt()));
        }

        const Outcome doctor =
            RunCli({QStringLiteral("doctor"), QStringLiteral("--folder"), dir.path()}, dir.path());
        QVERIFY2(doctor.Out.split(u'\n').contains(
                     QStringLiteral("[ ok ] city.db: ok (%1 counties, %2 of them with approximate "
                                    "coordinates)")
                         .arg(lines.size())
                         .arg(marked.size())),
                 qPrintable(doctor.Out));
        // Every county's timetables can be computed: none needs files shipped.
        QVERIFY2(doctor.Out.split(u'\n').contains(
                     QStringLiteral("[ ok ] coordinates: ok (%1 of %1 counties have them; the "
                                    "timetable years an apply lacks are computed from them)")
                         .arg(lines.size())),
                 qPrintable(doctor.Out));
    }

    void readSettings_data() {
        QTest::addColumn<int>("stored"); // the county stored; -1: an erased device
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("said");  // a line of standard output, or of standard error
        QTest::addColumn<bool>("fromHome"); // the start folder is the user's data folder
        QTest::newRow("county in the database") << 41 << 0
                                                << "location.county: 41 (تهران / "
                                                   "ورامین / پیشوا)"
                                                << false;
        QTest::newRow("county named from the user's data folder")
            << 41 << 0 << "location.county: 41 (تهران / ورامین / پیشوا)" << true;
        QTest::newRow("county the database lacks") << 777 << 0 << "location.county: 777" << false;
        QTest::newRow("erased device: no settings, no profile")
            << -1 << 1
            << "muezzin-cli: the device holds no settings: its settings block is erased (all "
               "0xFF), as on a device never configured; write them with 'muezzin-cli apply'"
            << false;
    }

    void readSettings() {
        QFETCH(int, stored);
        QFETCH(int, status);
        QFETCH(QString, said);
        QFETCH(bool, fromHome);
        QTemporaryDir dir;
        QTemporaryDir home;
        const QString folder =
            fromHome ? home.filePath(QStringLiteral("muezzin-config")) : dir.path();
        QVERIFY(QDir().mkpath(folder));
        QVERIFY(MakeSampleStartFolder(folder, 0));
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        if (stored >= 0) {
            QVERIFY(StoreSettings(sim, stored));
        }
        const QString profile = dir.filePath(QStringLiteral("device.ini"));

        const Outcome run = RunCli({QStringLiteral("read-settings"), QStringLiteral("--port"),
                                    PathOf(sim), QStringLiteral("--profile-out"), profile},
                                   dir.path(), env);

        QCOMPARE(run.Status, status);
        const QStringList lines = (status == 0 ? run.Out : run.Err).split(u'\n');
        QVERIFY2(lines.contains(said), qPrintable(run.Out + run.Err));
        QCOMPARE(QFile::exists(profile), status == 0);
        QCOMPARE(run.Out.isEmpty(), status != 0);
    }

    void openErrors_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("message"); // %1 stands for the port
        QTest::newRow("missing") << "missing"
                                 << "cannot open %1: No such file or directory";
        QTest::newRow("a folder") << "folder"
                                  << "cannot open %1: it is a folder, not a serial port";
        QTest::newRow("a FIFO") << "fifo"
                                << "cannot open %1: it is a FIFO, not a serial port";
        QTest::newRow("another device") << "null"
                                        << "cannot open %1: it is not a serial port";
        QTest::newRow("held by another program")
            << "held"
            << "cannot open %1: the port is in use by tst_cli (PID %2); close it and try again";
        QTest::newRow("held by another program under another name")
            << "held-link"
            << "cannot open %1: the port is in use by tst_cli (PID %2); close it and try again";
        QTest::newRow("bare name of a link in the working folder")
            << "bare"
            << "cannot open %1 (/dev/%1): No such file or directory; the one in the working "
               "folder is ./%1";
    }

    // One line that says why in words, no error number, no "no device answered"; nothing sent.
    void openErrors() {
        QFETCH(QString, kind);
        QFETCH(QString, message);
        QTemporaryDir dir;
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        CommLink holder;
        QString port = dir.filePath(kind);
        if (kind == QStringLiteral("folder")) {
            QVERIFY(QDir(dir.path()).mkdir(kind));
        } else if (kind == QStringLiteral("fifo")) {
            QCOMPARE(mkfifo(QFile::encodeName(port).constData(), 0600), 0);
        } else if (kind == QStringLiteral("null")) {
            port = QStringLiteral("/dev/null");
        } else if (kind == QStringLiteral("held")) {
            port = PathOf(sim);
            QVERIFY(OpenPort(holder, port));
        } else if (kind == QStringLiteral("held-link")) {
            QVERIFY(QFile::link(PathOf(sim), port));
            QVERIFY(OpenPort(holder, port));
            port = PathOf(sim);
        } else if (kind == QStringLiteral("bare")) {
            QVERIFY(QFile::link(PathOf(sim), port));
            port = kind;
        }

        const Outcome run =
            RunCli({QStringLiteral("find"), QStringLiteral("--port"), port}, dir.path());

        QCOMPARE(run.Status, 2);
        message.replace(QStringLiteral("%1"), port)
            .replace(QStringLiteral("%2"), QString::number(QCoreApplication::applicationPid()));
        QCOMPARE(run.Err, QStringLiteral("muezzin-cli: ") + message + u'\n');
        QCOMPARE(run.Out, QString());
        QCOMPARE(sim.FramesReceived(), 0);
    }

    // A command killed mid-run leaves the port as a real one is left: free for the next run.
    void killedAndRunAgain() {
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path(), 1));
        SimulatorOptions options;
        options.Paced = true; // a run long enough to be killed in
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        QProcess apply;
        apply.setWorkingDirectory(dir.path());
        apply.setProcessEnvironment(Environment());
        apply.start(Cli, {QStringLiteral("apply"), QStringLiteral("--county"),
                          QString::number(County), QStringLiteral("--port"), PathOf(sim)});
        QTRY_VERIFY_WITH_TIMEOUT(sim.FramesReceived() > 10, 20000); // blocks are being written
        apply.kill();
        QVERIFY(apply.waitForFinished());
        // The port is free again, as a real one is once its last program is gone.
        QTRY_VERIFY_WITH_TIMEOUT(!sim.PortLocked(), 5000);
        // And the device has finished the reply it was giving, as one has by the time a person
        // runs the command again: the tail of a paced reply would otherwise meet the next probe.
        const auto replies = [&] {
            const std::vector<TraceEntry> trace = sim.Trace();
            return std::count_if(trace.begin(), trace.end(), [](const TraceEntry& entry) {
                return entry.Way == TraceEntry::Direction::Out;
            });
        };
        QTRY_COMPARE_WITH_TIMEOUT(replies(), static_cast<std::ptrdiff_t>(sim.FramesReceived()),
                                  5000);
        QTest::qWait(200); // a paced block reply takes 12 ms on the line

        const Outcome again =
            RunCli({QStringLiteral("find"), QStringLiteral("--port"), PathOf(sim)}, dir.path());

        QVERIFY2(again.Status == 0, qPrintable(again.Err));
        QCOMPARE(again.Out, PathOf(sim) + QStringLiteral(" 26.01.03.SIM01\n"));
    }

    void hostileRuns_data() {
        QTest::addColumn<QStringList>("arguments"); // %port: the simulator, %link: a link to it
        QTest::addColumn<QString>("ports");         // MUEZZIN_PORTS, the same stand-ins
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<bool>("stored"); // the device holds settings before the run
        QTest::addColumn<Output>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");    // a line of standard output begins so; "": it is empty
        QTest::addColumn<QString>("absent"); // standard output holds nothing of it
        QTest::addColumn<QString>("err");    // standard error holds it; "": it is empty
        QTest::addColumn<int>("errLines");   // -1: not counted
        QTest::addColumn<int>("probes");     // that reached the device
        QTest::addColumn<int>("writes");     // block and page frames that reached the device
        const SimulatorOptions o;
        const QStringList upgrade = {"upgrade", "new.fmw", "--port"};
        const QString noOutput = QStringLiteral("muezzin-cli: cannot write standard output: ");
        SimulatorOptions stopping;
        stopping.StopAfterFrames = 4 + 96; // the search, the stage, the erase, then 96 pages
        QTest::newRow("upgrade: the device falls silent at a page")
            << upgrade + QStringList{"%port"} << "" << stopping << false << Output::Pipe << 1
            << "96 of 256 pages confirmed, " + LinkLostStatusText << FlashFaultText
            << LinkLostStatusText << -1 << 1 << 96 + FlashFaultRetries;
        SimulatorOptions late;
        late.LateEchoFirst = true; // the tail of a killed run's reply meets the first probe
        QTest::newRow("find after a late echo: probed again")
            << QStringList{"find", "--port", "%port"} << "" << late << false << Output::Pipe << 0
            << "%port 26.01.03.SIM01"
            << ""
            << "" << 0 << 2 << 0;
        QTest::newRow("upgrade: no serial port")
            << upgrade + QStringList{"/dev/null"} << "" << o << false << Output::Pipe << 2 << ""
            << ""
            << "muezzin-cli: cannot open /dev/null: it is not a serial port" << 1 << 0 << 0;
        QTest::newRow("upgrade: no such port")
            << upgrade + QStringList{"%port-gone"} << "" << o << false << Output::Pipe << 2 << ""
            << ""
            << "No such file or directory" << 1 << 0 << 0;
        QTest::newRow("one device as a link and by its own name")
            << QStringList{"find", "--port", "%link", "--port", "%port"} << "" << o << false
            << Output::Pipe << 0 << "%link 26.01.03.SIM01"
            << ""
            << "%link and %port are the same device; it is served once, as %link" << 1 << 1 << 0;
        QTest::newRow("one device twice in MUEZZIN_PORTS")
            << QStringList{"find", "--all-ports"} << "%port:%link" << o << false << Output::Pipe
            << 0 << "%port "
            << "%link"
            << "" << -1 << 1 << 0;
        QTest::newRow("read-settings into a full disk")
            << QStringList{"read-settings", "--port", "%port"} << "" << o << true << Output::Full
            << 1 << ""
            << "" << noOutput + "No space left on device" << 1 << 1 << 0;
        QTest::newRow("find into a full disk")
            << QStringList{"find", "--port", "%port"} << "" << o << false << Output::Full << 1 << ""
            << "" << noOutput + "No space left on device" << 1 << 1 << 0;
        QTest::newRow("counties, standard output closed")
            << QStringList{"counties"} << "" << o << false << Output::Closed << 1 << ""
            << "" << noOutput + "Bad file descriptor" << 1 << 0 << 0;
        QTest::newRow("clock, standard output closed")
            << QStringList{"clock"} << "" << o << false << Output::Closed << 1 << ""
            << "" << noOutput + "Bad file descriptor" << 1 << 0 << 0;
        QTest::newRow("ports into a full disk")
            << QStringList{"ports", "--paths", "--port", "%port"} << "" << o << false
            << Output::Full << 1 << ""
            << "" << noOutput + "No space left on device" << 1 << 0 << 0;
        QTest::newRow("--county twice")
            << QStringList{"apply", "--county", "41", "--county", "42", "--port", "%port"} << ""
            << o << false << Output::Pipe << 2 << ""
            << ""
            << "muezzin-cli: --county is given more than once; it takes one value" << 1 << 0 << 0;
        QTest::newRow("--profile twice")
            << QStringList{"apply", "--profile", "a.ini", "--profile", "b.ini", "--port", "%port"}
            << "" << o << false << Output::Pipe << 2 << ""
            << ""
            << "--profile is given" << 1 << 0 << 0;
        QTest::newRow("--folder before the command and after it")
            << QStringList{"--folder", ".", "apply",  "--county", "41",
                           "--folder", ".", "--port", "%port"}
            << "" << o << false << Output::Pipe << 2 << ""
            << ""
            << "--folder is given" << 1 << 0 << 0;
        QTest::newRow("a county name with an escape sequence, cut")
            << QStringList{"apply", "--county", "\x1b[2J" + QString(70, u'x'), "--port", "%port"}
            << "" << o << false << Output::Pipe << 2 << ""
            << ""
            << "contains '\\e[2J" + QString(55, u'x') + "...'" << 1 << 0 << 0;
    }

    // What a hostile round of command lines found, each run as a user runs it against the
    // simulator: the exit status, what stands on standard output and standard error, and what
    // reached the device, read from its trace once it has stopped.
    void hostileRuns() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, ports);
        QFETCH(SimulatorOptions, options);
        QFETCH(bool, stored);
        QFETCH(Output, output);
        QFETCH(int, status);
        QFETCH(QString, out);
        QFETCH(QString, absent);
        QFETCH(QString, err);
        QFETCH(int, errLines);
        QFETCH(int, probes);
        QFETCH(int, writes);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path(), 0));
        QVERIFY(WriteFirmware(dir.filePath(QStringLiteral("new.fmw"))));
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        if (stored) {
            QVERIFY(StoreSettings(sim, County));
        }
        const auto before = static_cast<std::ptrdiff_t>(sim.Trace().size());
        const QString link = dir.filePath(QStringLiteral("by-id"));
        QVERIFY(QFile::link(PathOf(sim), link));
        for (QString* text : {&ports, &out, &absent, &err}) {
            text->replace(QStringLiteral("%link"), link)
                .replace(QStringLiteral("%port"), PathOf(sim));
        }
        arguments.replaceInStrings(QStringLiteral("%link"), link);
        arguments.replaceInStrings(QStringLiteral("%port"), PathOf(sim));

        const Outcome run = RunCli(arguments, dir.path(), Environment(ports), output);

        sim.Stop();
        QCOMPARE(run.Status, status);
        const QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
        if (out.isEmpty()) {
            QCOMPARE(run.Out, QString());
        } else {
            QVERIFY2(std::any_of(lines.begin(), lines.end(),
                                 [&](const QString& line) { return line.startsWith(out); }),
                     qPrintable(run.Out));
        }
        QVERIFY2(absent.isEmpty() || !run.Out.contains(absent), qPrintable(run.Out));
        QVERIFY2(err.isEmpty() ? run.Err.isEmpty() : run.Err.contains(err), qPrintable(run.Err));
        if (errLines >= 0) {
            QCOMPARE(run.Err.count(u'\n'), errLines);
        }
        int probed = 0;
        int written = 0;
        const std::vector<TraceEntry> trace = sim.Trace();
        for (auto entry = trace.begin() + before; entry != trace.end(); ++entry) {
            if (entry->Way != TraceEntry::Direction::In) {
                continue;
            }
            probed += std::equal(entry->Bytes.begin(), entry->Bytes.end(),
                                 frame::ProbeFrame.begin(), frame::ProbeFrame.end());
            const frame::Byte command = entry->Bytes[frame::CommandAt];
            written +=
                command == frame::command::BlockWrite || command == frame::command::WritePage;
        }
        QCOMPARE(probed, probes);
        QCOMPARE(written, writes);
    }

    void quietOutput_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<QStringList>("extra");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("result");
        QTest::addColumn<QString>("lastLogged");
        SimulatorOptions o;
        QTest::newRow("all confirmed")
            << o << QStringList{} << 0 << "316 of 316 blocks confirmed" << AppliedText;
        o.FlipEveryBlocks = 100;
        QTest::newRow("three blocks not confirmed")
            << o << QStringList{"--no-resend"} << 1
            << "313 of 316 blocks confirmed; not confirmed: 0x3180 echo differs, 0x6380 echo "
               "differs, 0x9580 echo differs"
            << NotFullyAppliedText + "3";
    }

    // -q: the result line alone on standard output and nothing on standard error; log.txt still
    // gets every line.
    void quietOutput() {
        QFETCH(SimulatorOptions, options);
        QFETCH(QStringList, extra);
        QFETCH(int, status);
        QFETCH(QString, result);
        QFETCH(QString, lastLogged);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());

        const Outcome run = RunCli(QStringList{QStringLiteral("-q"), QStringLiteral("apply"),
                                               QStringLiteral("--county"), QString::number(County),
                                               QStringLiteral("--port"), PathOf(sim)} +
                                       extra,
                                   dir.path());

        QCOMPARE(run.Status, status);
        QCOMPARE(run.Out, result + u'\n');
        QCOMPARE(run.Err, QString());
        QStringDecoder decode("windows-1256");
        const QStringList logged = QString(decode(ReadAll(dir.filePath(QStringLiteral("log.txt")))))
                                       .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
        QVERIFY(!logged.isEmpty());
        QVERIFY2(logged.last().endsWith(ToWindows1256Repertoire(lastLogged)),
                 qPrintable(logged.last()));
    }

    // -v: the frames shown on standard error, in their order and with times that never go back,
    // are those the device received and sent.
    void verboseFrames() {
        QTemporaryDir dir;
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const Outcome run = RunCli(
            {QStringLiteral("-v"), QStringLiteral("find"), QStringLiteral("--port"), PathOf(sim)},
            dir.path());
        sim.Stop();

        QCOMPARE(run.Status, 0);
        QCOMPARE(run.Out, PathOf(sim) + QStringLiteral(" 26.01.03.SIM01\n"));
        static const QRegularExpression frameLine(
            QStringLiteral(R"(^(\d+\.\d{3}) ([<>](?: [0-9A-F]{2})*)$)"));
        QStringList frames;
        double before = 0.0;
        for (const QString& line : run.Err.split(u'\n', Qt::SkipEmptyParts)) {
            const auto match = frameLine.match(line);
            QVERIFY2(match.hasMatch(), qPrintable(line));
            QVERIFY(match.captured(1).toDouble() >= before);
            before = match.captured(1).toDouble();
            frames.append(match.captured(2));
        }
        QStringList received;
        for (const TraceEntry& entry : sim.Trace()) {
            received.append(QString::fromStdString(DeviceSimulator::TraceLine(entry)));
        }
        QCOMPARE(frames, received);
    }

    void jsonApply_data() {
        QTest::addColumn<QList<SimulatorOptions>>("devices");
        QTest::addColumn<int>("status");
        QTest::addColumn<QList<int>>("statuses"); // each device's
        SimulatorOptions good;
        SimulatorOptions stopping;
        stopping.StopAfterFrames = 2 + 10; // the search's two frames, then ten blocks
        SimulatorOptions silent;
        silent.Silent = true;
        QTest::newRow("one device, stopped after ten blocks")
            << QList<SimulatorOptions>{stopping} << 1 << QList<int>{1};
        QTest::newRow("three devices: whole, stopped, silent")
            << QList<SimulatorOptions>{good, stopping, silent} << 2 << QList<int>{0, 1, 2};
    }

    // --format json: standard output is one document, and each device's entry says which blocks
    // it holds: the simulator's memory has the confirmed ones as a whole apply leaves them and
    // none of the others.
    void jsonApply() {
        QFETCH(QList<SimulatorOptions>, devices);
        QFETCH(int, status);
        QFETCH(QList<int>, statuses);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        const QStringList apply = {QStringLiteral("apply"), QStringLiteral("--county"),
                                   QString::number(County), QStringLiteral("--format"),
                                   QStringLiteral("json")};
        DeviceSimulator reference;
        QVERIFY(reference.Start());
        QCOMPARE(
            RunCli(apply + QStringList{QStringLiteral("--port"), PathOf(reference)}, dir.path())
                .Status,
            0);
        std::vector<std::unique_ptr<DeviceSimulator>> sims;
        QStringList arguments = apply;
        QVERIFY(StartDevices(devices, sims, arguments));

        const Outcome run = RunCli(arguments, dir.path());

        QCOMPARE(run.Status, status);
        // Standard error carries the tool's problems and warnings alone: no log line, table or
        // progress, which the document and log.txt hold.
        for (const QString& line : run.Err.split(u'\n', Qt::SkipEmptyParts)) {
            QVERIFY2(line.contains(QStringLiteral("muezzin-cli: ")), qPrintable(run.Err));
        }
        const QJsonObject report = JsonOf(run);
        QVERIFY2(!report.isEmpty(), qPrintable(run.Out));
        QCOMPARE(report.value(QStringLiteral("command")).toString(), QStringLiteral("apply"));
        QCOMPARE(report.value(QStringLiteral("status")).toInt(), status);
        const QJsonArray entries = report.value(QStringLiteral("devices")).toArray();
        QCOMPARE(entries.size(), static_cast<qsizetype>(sims.size()));
        for (std::size_t i = 0; i < sims.size(); ++i) {
            const QJsonObject entry = entries[static_cast<qsizetype>(i)].toObject();
            QCOMPARE(entry.value(QStringLiteral("port")).toString(), PathOf(*sims[i]));
            QCOMPARE(entry.value(QStringLiteral("status")).toInt(),
                     statuses[static_cast<qsizetype>(i)]);
            QVERIFY(entry.value(QStringLiteral("seconds")).isDouble());
            const std::vector<std::uint8_t> memory = sims[i]->Memory();
            if (!entry.contains(QStringLiteral("blocks"))) { // no device answered
                QVERIFY(entry.value(QStringLiteral("firmware")).isNull());
                QVERIFY(std::all_of(memory.begin(), memory.end(),
                                    [](std::uint8_t byte) { return byte == 0xFF; }));
                continue;
            }
            QCOMPARE(entry.value(QStringLiteral("firmware")).toString(),
                     QStringLiteral("26.01.03.SIM01"));
            QList<int> unconfirmed;
            QList<int> notSent;
            for (const QJsonValue& block : entry.value(QStringLiteral("unconfirmed")).toArray()) {
                const QString address = block[QStringLiteral("address")].toString();
                bool ok = false;
                unconfirmed.append(address.mid(2).toInt(&ok, 16));
                QVERIFY2(ok && address.startsWith(QStringLiteral("0x")), qPrintable(address));
                if (block[QStringLiteral("reason")].toString() == QStringLiteral("not sent")) {
                    notSent.append(unconfirmed.last());
                }
            }
            QCOMPARE(ValueAt(entry, QStringLiteral("blocks/total")).toInt(), 316);
            QCOMPARE(ValueAt(entry, QStringLiteral("blocks/confirmed")).toInt(),
                     316 - unconfirmed.size());
            // A block without a confirmation may have been written all the same; one not sent
            // was not.
            for (const int address : UploadAddresses()) {
                const std::vector<std::uint8_t> block = BlockAt(memory, address);
                if (!unconfirmed.contains(address)) {
                    QCOMPARE(block, BlockAt(reference.Memory(), address));
                } else if (notSent.contains(address)) {
                    QCOMPARE(block, std::vector<std::uint8_t>(128, 0xFF));
                }
            }
            QCOMPARE(notSent.isEmpty(), statuses[static_cast<qsizetype>(i)] == 0);
        }
    }

    // The device gets the PC's local time, an hour less only while the PC's own zone keeps
    // daylight saving; clock shows what set-clock sends, and both say what is wrong with the
    // zone. The frame is read from the device's trace once the program has ended.
    void clockInTheField_data() {
        QTest::addColumn<QString>("zone");
        QTest::addColumn<QString>("date");
        QTest::addColumn<int>("hour"); // what the device gets
        QTest::addColumn<QString>("said");
        QTest::addColumn<QString>("warned"); // on standard error; empty: nothing
        const QString standard = QStringLiteral("the PC's time (no daylight saving)");
        const QString behind = QStringLiteral("an hour behind the PC for daylight saving");
        QTest::newRow("Tehran, summer 2026") << "Asia/Tehran"
                                             << "2026-06-15 12:00:00" << 12 << standard << "";
        QTest::newRow("Tehran, winter 2026") << "Asia/Tehran"
                                             << "2026-12-15 12:00:00" << 12 << standard << "";
        QTest::newRow("Tehran, summer 2022, when Iran still kept daylight saving")
            << "Asia/Tehran"
            << "2022-06-15 12:00:00" << 11 << behind << "";
        QTest::newRow("zone data older than 2022, summer 2026")
            << cases::OldIranRule << "2026-06-15 12:00:00" << 11 << behind
            << "the PC's time-zone data still keeps Iran's daylight saving, which ended in 2022";
        QTest::newRow("UTC") << "UTC"
                             << "2026-06-15 12:00:00" << 12 << standard
                             << "the PC's time zone is UTC+00:00, not Iran Standard Time";
    }

    void clockInTheField() {
        QFETCH(QString, zone);
        QFETCH(QString, date);
        QFETCH(int, hour);
        QFETCH(QString, said);
        QFETCH(QString, warned);
        QTemporaryDir dir;
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const auto set = RunCliAt(
            zone, date, {QStringLiteral("set-clock"), QStringLiteral("--port"), PathOf(sim)},
            dir.path());
        if (!set) {
            QSKIP("faketime is not installed (Debian: faketime)");
        }
        const auto shown = RunCliAt(zone, date, {QStringLiteral("clock")}, dir.path());

        QCOMPARE(set->Status, 0);
        const std::vector<int> got = ClockSet(sim);
        QCOMPARE(got.size(), std::size_t{6});
        const QDate day = QDate::fromString(date.left(10), Qt::ISODate);
        QCOMPARE((std::vector<int>{got[1], got[2], got[3], got[4], got[5]}),
                 (std::vector<int>{0, hour, day.day(), day.month(), day.year() - 2000}));
        QVERIFY2(got[0] <= 3, "set a few seconds after the start");
        QVERIFY2(set->Out.trimmed().endsWith(said), qPrintable(set->Out));
        QCOMPARE(shown->Status, 0);
        QVERIFY2(shown->Out.startsWith(QStringLiteral(" %1 : 00 : ").arg(hour, 2, 10, QChar(u'0'))),
                 qPrintable(shown->Out));
        for (const Outcome* run : {&*set, &*shown}) {
            QCOMPARE(run->Err.contains(warned), true);
            QCOMPARE(run->Err.isEmpty(), warned.isEmpty());
        }
    }

    // The first days of a new solar year, in a start folder whose timetables end the year
    // before: the year missing is computed as muezzin-timetable computes it and the whole upload
    // confirmed; a county without coordinates keeps the not-found line, with what makes it.
    void applyInANewYear_data() {
        QTest::addColumn<bool>("coordinates");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("messages"); // %path: the missing year's file
        QTest::addColumn<QString>("result");
        QTest::newRow("county with coordinates")
            << true << 0
            << QStringList{ComputedYearsTemplate.arg(QStringLiteral("1415")).arg(County),
                           AppliedText}
            << "316 of 316 blocks confirmed";
        QTest::newRow("county without coordinates")
            << false << 1
            << QStringList{YearFileNotFoundText + "1415",
                           YearGapLine("no-coordinates", "1415", "%path"),
                           NotFullyAppliedText + "29"}
            << "287 of 316 blocks confirmed; not confirmed: 0x8300-0x9100 not sent";
    }

    void applyInANewYear() {
        QFETCH(bool, coordinates);
        QFETCH(int, status);
        QFETCH(QStringList, messages);
        QFETCH(QString, result);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path(), 0));
        if (!coordinates) {
            QByteArray csv = ReadAll(Sample + "city.csv");
            QVERIFY(csv.contains(",51.73,35.31"));
            csv.replace(",51.73,35.31", ",0,0");
            const QString path = dir.filePath(QStringLiteral("city.csv"));
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(csv) == csv.size());
            file.close();
            ImportCitiesCsv(path, dir.filePath(QStringLiteral("city.db")));
        }
        const QString folder = dir.path() + CountyFolder;
        for (int year = 1405; year <= 1414; ++year) {
            QVERIFY(WriteTimetableFile(folder, year, TimetableFileBytes(year)));
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());

        const auto run =
            RunCliAt(QStringLiteral("Asia/Tehran"), QStringLiteral("2027-04-01 10:00:00"),
                     {QStringLiteral("apply"), QStringLiteral("--county"), QString::number(County),
                      QStringLiteral("--port"), PathOf(sim)},
                     dir.path());
        if (!run) {
            QSKIP("faketime is not installed (Debian: faketime)");
        }

        QCOMPARE(run->Status, status);
        QCOMPARE(ResultLine(run->Out), result);
        messages.replaceInStrings(QStringLiteral("%path"), folder + QStringLiteral("1415.PTL"));
        QCOMPARE(Messages(LogPart(run->Out)).value_or(QStringList{run->Out}), messages);
        const std::vector<std::uint8_t> memory = sim.Memory();
        QCOMPARE(QByteArray(reinterpret_cast<const char*>(memory.data()) + 128, 5),
                 QByteArray("1406 "));
        if (!coordinates) {
            QVERIFY(!QFile::exists(folder + QStringLiteral("1415.PTL")));
            return;
        }
        // The file computed is the one muezzin-timetable writes.
        QTemporaryDir reference;
        QVERIFY(MakeSampleStartFolder(reference.path(), 0));
        const Outcome made = RunProgram(QStringLiteral(MUEZZIN_TIMETABLE),
                                        {QStringLiteral("--county"), QString::number(County),
                                         QStringLiteral("--from"), QStringLiteral("1415"),
                                         QStringLiteral("--years"), QStringLiteral("1")},
                                        reference.path(), Environment());
        QCOMPARE(made.Status, 0);
        const QByteArray expected = ReadAll(reference.path() + CountyFolder + "1415.PTL");
        QCOMPARE(expected.size(), qsizetype{6144});
        QCOMPARE(ReadAll(folder + QStringLiteral("1415.PTL")), expected);
        QCOMPARE(ReadAll(folder + QStringLiteral("1406.PTL")), TimetableFileBytes(1406));
    }

    // timetable prints the times of every day as the device gets them from the file, in each
    // format, numbers typed in any digits; a year the folder lacks is computed first.
    void timetableListing_data() {
        QTest::addColumn<QStringList>("arguments"); // %year: the current solar year
        QTest::addColumn<int>("yearsAhead");        // of the year listed
        QTest::addColumn<QString>("format");
        QTest::newRow("json") << QStringList{"--county", "41"} << 0 << "json";
        QTest::newRow("json, Persian digits")
            << QStringList{"--county", "۴۱", "--year", "%persian"} << 0 << "json";
        QTest::newRow("json, Arabic-Indic digits")
            << QStringList{"--county", "٤١", "--year", "%arabic"} << 0 << "json";
        QTest::newRow("csv, a county by its name")
            << QStringList{"--county", "پیشوا", "--year", "%year"} << 0 << "csv";
        QTest::newRow("text, a year computed first")
            << QStringList{"--county", "41", "--year", "%later"} << 12 << "text";
    }

    void timetableListing() {
        QFETCH(QStringList, arguments);
        QFETCH(int, yearsAhead);
        QFETCH(QString, format);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path()));
        const int year = CurrentSolarYear() + yearsAhead;
        QString arabic = QString::number(year);
        for (QChar& c : arabic) {
            c = QChar(0x0660 + c.digitValue());
        }
        arguments.replaceInStrings(QStringLiteral("%persian"),
                                   PersianDigits(QString::number(year)));
        arguments.replaceInStrings(QStringLiteral("%arabic"), arabic);
        arguments.replaceInStrings(QStringLiteral("%year"), QString::number(year));
        arguments.replaceInStrings(QStringLiteral("%later"), QString::number(year));
        const QString file = dir.path() + CountyFolder + QString::number(year) + ".PTL";
        QCOMPARE(QFile::exists(file), yearsAhead < 10);

        const Outcome run =
            RunCli(QStringList{QStringLiteral("timetable"), QStringLiteral("--format"), format} +
                       arguments,
                   dir.path());

        QCOMPARE(run.Status, 0);
        const std::vector<QStringList> expected = FileTimes(ReadAll(file));
        QCOMPARE(expected.size(), std::size_t{366});
        const auto inYear = [year](int index) {
            return index < 365 || (year + 621) % 4 == 0; // the 30th of month 12 of a leap year
        };
        std::vector<QStringList> listed;
        if (format == QStringLiteral("json")) {
            const QJsonObject document = JsonOf(run);
            QCOMPARE(document.value(QStringLiteral("county")).toInt(), County);
            QCOMPARE(document.value(QStringLiteral("year")).toInt(), year);
            QCOMPARE(document.value(QStringLiteral("latitude")).toDouble(), 35.31);
            QCOMPARE(document.value(QStringLiteral("longitude")).toDouble(), 51.73);
            QCOMPARE(document.value(QStringLiteral("time_zone")).toString(),
                     QStringLiteral("+03:30"));
            QCOMPARE(ValueAt(document, QStringLiteral("method/dawn")).toDouble(), 17.7);
            const QJsonArray days = document.value(QStringLiteral("days")).toArray();
            for (qsizetype i = 0; i < days.size(); ++i) {
                const QJsonObject day = days[i].toObject();
                QStringList times;
                for (const char* name : {"dawn", "sunrise", "noon", "sunset", "maghrib"}) {
                    times.append(day.value(QLatin1String(name)).toString());
                }
                listed.push_back(times);
                QCOMPARE(day.value(QStringLiteral("in_year")).toBool(true), inYear(int(i)));
            }
            QCOMPARE(ValueAt(document, QStringLiteral("days/0/date")).toString(),
                     QStringLiteral("%1-01-01").arg(year));
            QCOMPARE(
                ValueAt(document, QStringLiteral("days/0/gregorian")).toString(),
                QStringLiteral("%1-03-%2").arg(year + 621).arg((year + 621) % 4 == 0 ? 20 : 21));
        } else {
            QStringList lines = run.Out.split(u'\n', Qt::SkipEmptyParts);
            const qsizetype head = format == QStringLiteral("csv") ? 1 : 4;
            QVERIFY2(lines.size() == head + 366, qPrintable(run.Out.left(2000)));
            if (format == QStringLiteral("text")) {
                for (const char* part : {"county 41:", "latitude 35.31, longitude 51.73", "17.7°",
                                         "0.833°", "4.5°", "UTC+03:30"}) {
                    QVERIFY2(lines.mid(0, 3).join(u'\n').contains(QString::fromUtf8(part)),
                             qPrintable(lines.mid(0, 3).join(u'\n')));
                }
                QVERIFY2(run.Err.contains(QStringLiteral("computed")), qPrintable(run.Err));
            }
            for (const QString& line : lines.mid(head)) {
                const QStringList cells = format == QStringLiteral("csv")
                                              ? line.split(u',')
                                              : line.simplified().split(u' ');
                listed.push_back(cells.mid(2, 5));
            }
        }
        QCOMPARE(listed, expected);
    }

    void jsonCommands_data() {
        QTest::addColumn<QStringList>("arguments"); // %port: the simulator's, %none: no port
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("path");  // of a value in the document
        QTest::addColumn<QString>("value"); // its text; "null" for null
        QTest::addColumn<int>("type");      // its QJsonValue::Type
        const int text = QJsonValue::String;
        const int number = QJsonValue::Double;
        const int flag = QJsonValue::Bool;
        const int null = QJsonValue::Null;
        // Each command done, with a typed value of its findings.
        QTest::newRow("ports") << QStringList{"ports", "--port", "%port"} << 0 << "ports/0/path"
                               << "%port" << text;
        QTest::newRow("ports: unknown manufacturer")
            << QStringList{"ports", "--port", "%port"} << 0 << "ports/0/manufacturer"
            << "null" << null;
        QTest::newRow("counties") << QStringList{"counties", "پیشوا"} << 0 << "counties/0/index"
                                  << "41" << number;
        QTest::newRow("find") << QStringList{"find", "--port", "%port"} << 0 << "devices/0/firmware"
                              << "26.01.03.SIM01" << text;
        QTest::newRow("clock") << QStringList{"clock"} << 0 << "clock/daylight_saving"
                               << "false" << flag;
        QTest::newRow("set-clock")
            << QStringList{"--format", "json", "set-clock", "--port", "%port"} << 0
            << "devices/0/status"
            << "0" << number;
        QTest::newRow("read-settings: a number") << QStringList{"read-settings", "--port", "%port"}
                                                 << 0 << "devices/0/settings/location.county"
                                                 << "41" << number;
        QTest::newRow("read-settings: a flag") << QStringList{"read-settings", "--port", "%port"}
                                               << 0 << "devices/0/settings/dawn.random"
                                               << "false" << flag;
        // The timetables this start folder lacks computed first.
        QTest::newRow("apply") << QStringList{"apply", "--county", "41", "--port", "%port"} << 0
                               << "devices/0/blocks/total"
                               << "316" << number;
        QTest::newRow("upgrade") << QStringList{"upgrade", "new.fmw", "--port", "%port"} << 0
                                 << "devices/0/pages/confirmed"
                                 << "256" << number;
        QTest::newRow("import-cities")
            << QStringList{"import-cities", Sample + "city.csv", "new.db"} << 0
            << "imported/counties"
            << "" << number;
        QTest::newRow("doctor") << QStringList{"doctor", "--port", "%port"} << 1 << "checks/0/ok"
                                << "true" << flag;
        QTest::newRow("help") << QStringList{"apply", "--help"} << 0 << "help"
                              << "Usage: muezzin-cli apply" << text;
        QTest::newRow("help COMMAND") << QStringList{"help", "apply"} << 0 << "help"
                                      << "Usage: muezzin-cli apply" << text;
        QTest::newRow("export-cities")
            << QStringList{"export-cities", "out.csv"} << 0 << "exported/counties"
            << "" << number;
        QTest::newRow("timetable")
            << QStringList{"timetable", "--county", "41"} << 0 << "days/0/dawn"
            << "0" << text;
        QTest::newRow("version") << QStringList{"-V"} << 0 << "version" << MUEZZIN_VERSION << text;
        // Each refused, with its problem's kind.
        QTest::newRow("no command") << QStringList{} << 2 << "problem/kind"
                                    << "usage" << text;
        QTest::newRow("unknown command: none named") << QStringList{"frob"} << 2 << "command"
                                                     << "null" << null;
        QTest::newRow("ports: a stray argument")
            << QStringList{"ports", "extra"} << 2 << "problem/argument"
            << "extra" << text;
        QTest::newRow("counties: none match")
            << QStringList{"counties", "x4"} << 1 << "problem/kind"
            << "no-such-county" << text;
        QTest::newRow("find: no such port")
            << QStringList{"find", "--port", "%none"} << 2 << "problem/kind"
            << "port-gone" << text;
        QTest::newRow("clock: an unknown option")
            << QStringList{"clock", "--colour"} << 2 << "problem/option"
            << "--colour" << text;
        QTest::newRow("set-clock: the device silent on the port")
            << QStringList{"set-clock", "--port", "%none", "--port", "%port-other"} << 2
            << "devices/0/problem/kind"
            << "port-gone" << text;
        QTest::newRow("read-settings: a profile for two devices")
            << QStringList{"read-settings", "--profile-out", "x.ini", "--port",
                           "%port",         "--port",        "%none"}
            << 2 << "problem/kind"
            << "usage" << text;
        QTest::newRow("apply: a number field")
            << QStringList{"apply", "--county", "41", "--profile", "bad.ini", "--port", "%port"}
            << 2 << "problem/key"
            << "dawn.call" << text;
        QTest::newRow("upgrade: the file missing")
            << QStringList{"upgrade", "missing.fmw", "--port", "%port"} << 2 << "problem/path"
            << "missing.fmw" << text;
        QTest::newRow("import-cities: the file missing")
            << QStringList{"import-cities", "missing.csv", "new.db"} << 2 << "problem/kind"
            << "file-not-found" << text;
        QTest::newRow("doctor: a port that will not open")
            << QStringList{"doctor", "--port", "%none"} << 1 << "checks/0/detail"
            << "cannot open %none" << text;
        QTest::newRow("doctor: a check's kind")
            << QStringList{"doctor", "--port", "%none"} << 1 << "checks/0/problem/kind"
            << "port-gone" << text;
        QTest::newRow("help: a word that is no command")
            << QStringList{"help", "frob"} << 2 << "problem/command"
            << "frob" << text;
        QTest::newRow("export-cities: the CSV and the document on standard output")
            << QStringList{"export-cities", "-"} << 2 << "problem/kind"
            << "usage" << text;
        QTest::newRow("an empty --port") << QStringList{"find", "--port", ""} << 2 << "problem/kind"
                                         << "usage" << text;
        QTest::newRow("import-cities: a province beyond the list")
            << QStringList{"import-cities", "far.csv", "new.db"} << 2 << "problem/lines"
            << "31" << number;
        QTest::newRow("timetable: no county") << QStringList{"timetable"} << 2 << "problem/kind"
                                              << "no-county" << text;
        QTest::newRow("timetable: a year the device cannot hold")
            << QStringList{"timetable", "--county", "41", "--year", "1299"} << 2 << "problem/high"
            << "1555" << number;
        QTest::newRow("--format given twice")
            << QStringList{"--format", "json", "find", "--format", "json"} << 2 << "problem/option"
            << "--format" << text;
    }

    // Every invocation with --format json prints exactly one typed JSON document on standard
    // output, its exit status and its problem (null when done) in it, whether it ran a command,
    // printed its help or was refused.
    void jsonCommands() {
        QFETCH(QStringList, arguments);
        QFETCH(int, status);
        QFETCH(QString, path);
        QFETCH(QString, value);
        QFETCH(int, type);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path(), 0));
        QVERIFY(WriteFirmware(dir.filePath(QStringLiteral("new.fmw"))));
        QFile profile(dir.filePath(QStringLiteral("bad.ini")));
        QVERIFY(profile.open(QIODevice::WriteOnly));
        profile.write("[dawn]\ncall = 300\n");
        profile.close();
        QFile far(dir.filePath(QStringLiteral("far.csv")));
        QVERIFY(far.open(QIODevice::WriteOnly));
        far.write("Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,Longitude,"
                  "Latitude\n99,1,1,X,X,51,35\n");
        far.close();
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        QVERIFY(StoreSettings(sim, SampleCounty));
        const QString none = dir.filePath(QStringLiteral("ttyNone"));
        for (QString* text : {&value}) {
            text->replace(QStringLiteral("%port"), PathOf(sim))
                .replace(QStringLiteral("%none"), none);
        }
        arguments.replaceInStrings(QStringLiteral("%port"), PathOf(sim))
            .replaceInStrings(QStringLiteral("%none"), none);

        // The doctor finds no udev rule of the tool there, whatever the machine has.
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("MUEZZIN_UDEV_RULES_DIRS"), dir.path());
        if (!arguments.contains(QStringLiteral("--format"))) {
            arguments += {QStringLiteral("--format"), QStringLiteral("json")};
        }
        const Outcome run = RunCli(arguments, dir.path(), env);

        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(run.Out.toUtf8(), &error);
        QVERIFY2(error.error == QJsonParseError::NoError && document.isObject(),
                 qPrintable(run.Out + error.errorString()));
        const QJsonObject report = document.object();
        QCOMPARE(run.Status, status);
        QCOMPARE(report.value(QStringLiteral("status")).toInt(-1), run.Status);
        QVERIFY(report.value(QStringLiteral("warnings")).isArray());
        QVERIFY(report.contains(QStringLiteral("problem")));
        QVERIFY(status != 0 || report.value(QStringLiteral("problem")).isNull());
        const QJsonValue found = ValueAt(report, path);
        QCOMPARE(static_cast<int>(found.type()), type);
        if (type != QJsonValue::Null) {
            QVERIFY2(found.toVariant().toString().startsWith(value), qPrintable(run.Out));
        }
    }
};

QTEST_GUILESS_MAIN(CliTest)
#include "tst_cli.moc"
