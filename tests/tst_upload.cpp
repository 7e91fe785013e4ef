#include "calendar/CalendarClock.h"
#include "common/UserError.h"
#include "device/DeviceTexts.h"
#include "device/Upload.h"
#include "tests/RecordingHost.h"
#include "tests/TestSupport.h"
#include "tests/TimetableFixture.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QFileInfo>
#include <QPointF>
#include <QTemporaryDir>
#include <QTest>
#include <map>
#include <optional>
#include <string>
#include <vector>

Q_DECLARE_METATYPE(SimulatorOptions)

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

constexpr int FirstYear = 1392;
constexpr int CountyIndex = 300;
constexpr int ProvinceIndex = 24;
constexpr std::size_t BlockSize = 128;

using Kind = RecordingHost::Kind;

// The log line after a year that cannot be had, as the upload says what makes it
// (timetable-year); %path stands for the year's file.
QString GapLine(const char* form, int year, const char* reason = nullptr) {
    Problem problem(QStringLiteral("timetable-year"), QLatin1String(form));
    problem.Set(QStringLiteral("year"), year)
        .Set(QStringLiteral("county"), CountyIndex)
        .Set(QStringLiteral("path"), QStringLiteral("%path"));
    if (reason) {
        problem.Set(QStringLiteral("reason"), QLatin1String(reason));
    }
    return u' ' + ProblemText(problem, Wording::PersianText);
}

// One block as the run must send it.
struct Block {
    int Address;
    Bytes Data;
};

Bytes YearImage(int year) {
    Bytes image(std::tuple_size_v<YearBlock>, 0);
    const std::string header = std::to_string(year) + ' ' + std::string(YearSignature);
    std::copy(header.begin(), header.end(), image.begin()); // the zero byte after it is there
    std::size_t at = YearHeaderSize;
    for (int month = 1; month <= 12; ++month) {
        for (int day = 1; day <= (month <= 6 ? 31 : 30); ++day) {
            for (int time = 1; time <= 5; ++time) {
                image[at++] = static_cast<std::uint8_t>(FixtureHour(year, month, day, time));
                image[at++] = static_cast<std::uint8_t>(FixtureMinute(year, month, day, time));
            }
        }
    }
    return image;
}

std::uint8_t KeyByte(int slot, int index) {
    return static_cast<std::uint8_t>((slot * 37 + index * 11 + 5) % 256);
}

// 200 keys of 32 digits, every other one in lower case, with CR LF line ends.
QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray KeyFileText() {
    QByteArray text;
    for (int slot = 0; slot < KeySlotCount; ++slot) {
        QByteArray line;
        for (int i = 0; i < static_cast<int>(KeySlotSize); ++i) {
            line.append(static_cast<char>(KeyByte(slot, i)));
        }
        line = line.toHex();
        text += (slot % 2 == 0 ? line.toUpper() : line) + "\r\n";
    }
    return text;
}

// Everything a complete run sends, in order: the settings, the years, the key table.
std::vector<Block> BlockPlan(const SettingsBlock& settings, int years) {
    std::vector<Block> plan;
    plan.push_back({0, Bytes(settings.begin(), settings.end())});
    for (int j = 0; j < years; ++j) {
        const Bytes image = YearImage(FirstYear + j);
        for (std::size_t b = 0; b < image.size() / BlockSize; ++b) {
            plan.push_back(
                {static_cast<int>(128 + 3712 * j + BlockSize * b),
                 Bytes(image.begin() + b * BlockSize, image.begin() + (b + 1) * BlockSize)});
        }
    }
    for (int i = 0; i < 25; ++i) {
        Bytes data(BlockSize);
        for (std::size_t k = 0; k < BlockSize; ++k) {
            const int slot = i * 8 + static_cast<int>(k / KeySlotSize);
            data[k] = KeyByte(slot, static_cast<int>(k % KeySlotSize));
        }
        plan.push_back({37248 + 128 * i, data});
    }
    return plan;
}

Bytes MemoryAfter(const std::vector<Block>& plan, std::size_t blocks) {
    Bytes memory(DeviceSimulator::MemorySize, 0xFF);
    for (std::size_t i = 0; i < blocks && i < plan.size(); ++i) {
        std::copy(plan[i].Data.begin(), plan[i].Data.end(), memory.begin() + plan[i].Address);
    }
    return memory;
}

// The first address at which the memory differs from the expected, or -1.
int FirstDifference(const Bytes& memory, const Bytes& expected) {
    const auto [a, b] = std::mismatch(memory.begin(), memory.end(), expected.begin());
    return a == memory.end() ? -1 : static_cast<int>(a - memory.begin());
}

std::vector<int> AddressesOf(const std::vector<Block>& plan, std::size_t blocks) {
    std::vector<int> addresses;
    for (std::size_t i = 0; i < blocks && i < plan.size(); ++i) {
        addresses.push_back(plan[i].Address);
    }
    return addresses;
}

// Addresses of the block writes the device took, in order; -1 for a frame that is not one.
std::vector<int> WrittenAddresses(const DeviceSimulator& sim) {
    std::vector<int> addresses;
    for (const TraceEntry& entry : sim.Trace()) {
        if (entry.Way == TraceEntry::Direction::Out) {
            continue;
        }
        const Bytes& f = entry.Bytes;
        const bool blockWrite = entry.Way == TraceEntry::Direction::In &&
                                f.size() == frame::BlockFrameSize && f[0] == 0x55 && f[1] == 0xAA &&
                                f[2] == 0x03 && f[5] == 0x84;
        addresses.push_back(blockWrite ? f[3] << 8 | f[4] : -1);
    }
    return addresses;
}

// What the run must log against a device with these faults: one model of the device's replies
// and of the checks made on them. Lines up to the closing one, and the blocks sent and confirmed.
struct Expected {
    QStringList Lines;
    int Sent = 0;
    int Confirmed = 0;
};

Expected Model(const SimulatorOptions& o, const std::vector<Block>& plan) {
    Expected e;
    int silentInARow = 0;
    for (const Block& block : plan) {
        const int n = ++e.Sent;
        const bool quiet = o.Silent || (o.StopAfterFrames >= 0 && n > o.StopAfterFrames);
        int got = static_cast<int>(frame::BlockFrameSize);
        if (o.ShortReplyBytes >= 0) {
            got = std::min(got, o.ShortReplyBytes);
        }
        got = quiet ? 0 : got;
        const bool flipped = o.FlipEveryBlocks > 0 && n % o.FlipEveryBlocks == 0;
        const bool whole = got == static_cast<int>(frame::BlockFrameSize);
        if (!whole) {
            e.Lines << ReceiveErrorText;
        }
        if (got >= 5 && !o.WrongHeader) {
            int differing = 0;
            for (int k = 0; k < static_cast<int>(BlockSize); ++k) {
                const std::uint8_t sent = block.Data[k];
                const bool arrived = 6 + k < got;
                const std::uint8_t echoed = arrived ? (flipped && k == 0 ? sent ^ 0xFF : sent) : 0;
                differing += echoed != sent ? 1 : 0;
            }
            if (differing != 0) {
                e.Lines << NotChangedCountText + QString::number(differing);
            }
            e.Confirmed += whole && differing == 0 ? 1 : 0;
        }
        silentInARow = got == 0 ? silentInARow + 1 : 0;
        if (silentInARow == 3) {
            e.Lines << DeviceSilentText;
            break;
        }
    }
    e.Lines << (e.Confirmed == UploadBlockCount
                    ? AppliedText
                    : NotFullyAppliedText + QString::number(UploadBlockCount - e.Confirmed));
    return e;
}

// A device on a pseudo-terminal, the link to it, and an upload input whose county has
// timetable files and a key file in a folder of its own.
struct Rig {
    explicit Rig(SimulatorOptions options = {}) : sim(options) {
        host.MonitorNote = [this] { return sim.FramesReceived(); };
    }

    bool Start() {
        if (!dir.isValid() || !sim.Start() || !OpenPort(link, PathOf(sim))) {
            return false;
        }
        link.Connected = true;
        clock.SolarYear = FirstYear;
        input.Fields.Longitude = QStringLiteral("51.73");
        input.Fields.Latitude = QStringLiteral("35.31");
        input.CountyIndex = CountyIndex;
        input.ProvinceIndex = ProvinceIndex;
        input.GlyphCodes.fill(0xFF);
        input.GlyphCodes[0] = 0x41;
        input.GlyphCodes[1] = 0x07;
        input.TimetableFolder = dir.path() + QStringLiteral("/data/24/34/300/");
        input.KeyFilePath = dir.filePath(QStringLiteral("encryp.key"));
        QFile key(input.KeyFilePath);
        return key.open(QIODevice::WriteOnly) && key.write(KeyFileText()) > 0;
    }

    bool WriteYears(int count) {
        for (int j = 0; j < count; ++j) {
            if (!WriteTimetableFile(input.TimetableFolder, FirstYear + j,
                                    TimetableFileBytes(FirstYear + j))) {
                return false;
            }
        }
        return true;
    }

    // One upload, prepared as the window and the command line prepare it.
    UploadResult Run() { return RunUpload(link, host, PrepareUpload(input, clock.SolarYear)); }

    SettingsBlock Settings() const {
        return BuildSettingsBlock(input.Fields, input.CountyIndex, input.ProvinceIndex,
                                  input.GlyphCodes, clock.SolarYear);
    }

    // Whether anything reached the device before a probe sent now: the device takes bytes in
    // the order they were written, so whatever a run sent shows up ahead of it.
    int EntriesBeforeProbe() {
        std::copy(frame::ProbeFrame.begin(), frame::ProbeFrame.end(), link.TxFrame.begin());
        Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
        const auto trace = sim.Trace();
        return static_cast<int>(trace.size()) - 2;
    }

    // Short line time-outs, so that runs against a mute device do not sit through 3 s a block.
    void ShortTimeouts() {
        link.Timeouts.ReadInterval = 15ms;
        link.Timeouts.ReadTotalConstant = 300ms;
        link.Timeouts.ReadTotalPerByte = 0ms;
    }

    QTemporaryDir dir;
    DeviceSimulator sim;
    RecordingHost host;
    CommLink link;
    CalendarClock clock;
    UploadInput input;
};

// What every run that got going leaves behind with the host: the progress bar counted up to
// the blocks sent, a repaint for each, the monitor off for every frame and on again, the bar
// hidden at the end.
void CheckRunFrame(const RecordingHost& host, int blocks) {
    std::vector<int> positions = {0};
    for (int i = 1; i <= blocks; ++i) {
        positions.push_back(i);
    }
    QCOMPARE(host.Values(Kind::Position), positions);
    QCOMPARE(host.Values(Kind::Range), std::vector<int>{UploadBlockCount});
    QCOMPARE(static_cast<int>(host.Values(Kind::Repaint).size()), blocks);
    QCOMPARE(host.Values(Kind::Pause), std::vector<int>{0});
    QCOMPARE(host.Values(Kind::Resume), std::vector<int>{blocks});
    QVERIFY(!host.calls.empty());
    QCOMPARE(host.ValueBefore(Kind::Visible, host.calls.size()), std::optional<int>(0));
    QVERIFY(host.Texts(Kind::Message).isEmpty());
}

void SetField(SettingsFields& fields, const QString& name, const QString& value) {
    static const std::map<QString, QString SettingsFields::*> texts = {
        {QStringLiteral("DawnCall"), &SettingsFields::DawnCall},
        {QStringLiteral("NoonCall"), &SettingsFields::NoonCall},
        {QStringLiteral("SunsetSupplication"), &SettingsFields::SunsetSupplication},
        {QStringLiteral("QuranFileCount"), &SettingsFields::QuranFileCount},
        {QStringLiteral("Latitude"), &SettingsFields::Latitude},
    };
    if (name == QStringLiteral("Option2Level")) {
        fields.Option2Level = value.toInt();
    } else if (const auto found = texts.find(name); found != texts.end()) {
        fields.*found->second = value;
    }
}

} // namespace

class UploadTest : public QObject {
    Q_OBJECT

private slots:
    // Size of each year's file, from the first year on: -1 missing, -2 a folder in its place.
    void timetableFiles_data() {
        QTest::addColumn<QList<int>>("sizes");
        QTest::addColumn<int>("years");
        QTest::addColumn<QStringList>("lines");
        const int whole = static_cast<int>(TimetableFileSize);
        const QList<int> all(10, whole);
        auto with = [&](int j, int size) {
            QList<int> sizes = all;
            sizes[j] = size;
            return sizes;
        };
        // The county has no coordinates here, so a missing year stays missing.
        QTest::newRow("all ten years") << all << 10 << QStringList{AppliedText};
        QTest::newRow("files longer than a year")
            << QList<int>(10, whole + 2000) << 10 << QStringList{AppliedText};
        QTest::newRow("third year missing")
            << with(2, -1) << 2
            << QStringList{YearFileNotFoundText + "1394", GapLine("no-coordinates", 1394),
                           NotFullyAppliedText + "232"};
        QTest::newRow("third year one byte short")
            << with(2, whole - 1) << 2
            << QStringList{YearFileShortTemplate.arg(1394), GapLine("short", 1394),
                           NotFullyAppliedText + "232"};
        QTest::newRow("first year empty")
            << with(0, 0) << 0
            << QStringList{YearFileShortTemplate.arg(1392), GapLine("short", 1392),
                           NotFullyAppliedText + "290"};
        QTest::newRow("fifth year is a folder")
            << with(4, -2) << 4
            << QStringList{YearFileNotFoundText + "1396", GapLine("unreadable", 1396),
                           NotFullyAppliedText + "174"};
        QTest::newRow("tenth year missing")
            << with(9, -1) << 9
            << QStringList{YearFileNotFoundText + "1401", GapLine("no-coordinates", 1401),
                           NotFullyAppliedText + "29"};
    }

    void timetableFiles() {
        QFETCH(QList<int>, sizes);
        QFETCH(int, years);
        QFETCH(QStringList, lines);
        Rig rig;
        QVERIFY(rig.Start());
        for (int j = 0; j < sizes.size(); ++j) {
            const int year = FirstYear + j;
            const int size = sizes[j];
            if (size == -2) {
                QVERIFY(QDir().mkpath(rig.input.TimetableFolder + QString::number(year) + ".PTL"));
            } else if (size >= 0) {
                // Bytes beyond a year are noise that must not be read.
                QByteArray bytes = TimetableFileBytes(year).leftJustified(size, '\x5A', true);
                QVERIFY(WriteTimetableFile(rig.input.TimetableFolder, year, bytes));
            }
        }

        const UploadResult result = rig.Run();

        const auto plan = BlockPlan(rig.Settings(), years);
        const int blocks = static_cast<int>(plan.size());
        QCOMPARE(WrittenAddresses(rig.sim), AddressesOf(plan, plan.size()));
        QCOMPARE(FirstDifference(rig.sim.Memory(), MemoryAfter(plan, plan.size())), -1);
        if (years < 10) {
            const QString path = QDir::toNativeSeparators(
                YearFilePath(rig.input.TimetableFolder, FirstYear + years));
            lines.replaceInStrings(QStringLiteral("%path"), path);
        }
        QCOMPARE(rig.host.Texts(Kind::Log), lines);
        CheckRunFrame(rig.host, blocks);
        if (QTest::currentTestFailed()) {
            return;
        }
        QVERIFY(result.Started);
        QCOMPARE(result.BlocksSent, blocks);
        QCOMPARE(result.BlocksConfirmed, blocks);
        QCOMPARE(result.YearsWritten, years);
        QCOMPARE(result.Complete(), years == 10);
        QVERIFY(!result.DeviceSilent);
    }

    // The years the county's folder lacks, computed from its coordinates as muezzin-timetable
    // computes them and saved before the first block; a file that is there is never replaced,
    // and a year that cannot be made keeps the not-found line, followed by what would make it.
    void missingYearsComputed_data() {
        QTest::addColumn<int>("present");       // the first years whose files are there
        QTest::addColumn<QPointF>("place");     // latitude, longitude
        QTest::addColumn<bool>("folderIsFile"); // the county's folder cannot be made
        QTest::addColumn<int>("years");         // years the device gets
        QTest::addColumn<QStringList>("lines"); // %computed: ComputedYearsTemplate's line
        const QPointF place(35.31, 51.73);
        QTest::newRow("a new solar year: its tenth year computed")
            << 9 << place << false << 10 << QStringList{"%computed", AppliedText};
        QTest::newRow("an empty folder: every year computed")
            << 0 << place << false << 10 << QStringList{"%computed", AppliedText};
        QTest::newRow("both coordinates zero: nothing computed")
            << 9 << QPointF(0, 0) << false << 9
            << QStringList{YearFileNotFoundText + "1401", GapLine("no-coordinates", 1401),
                           NotFullyAppliedText + "29"};
        QTest::newRow("too far north for dawn: nothing computed")
            << 9 << QPointF(60, 25) << false << 9
            << QStringList{YearFileNotFoundText + "1401", GapLine("no-coordinates", 1401),
                           NotFullyAppliedText + "29"};
        QTest::newRow("a folder that cannot be made: saved nowhere")
            << 0 << place << true << 0
            << QStringList{YearFileNotFoundText + "1392", GapLine("not-saved", 1392, "%any"),
                           NotFullyAppliedText + "290"};
    }

    void missingYearsComputed() {
        QFETCH(int, present);
        QFETCH(QPointF, place);
        QFETCH(bool, folderIsFile);
        QFETCH(int, years);
        QFETCH(QStringList, lines);
        Rig rig;
        QVERIFY(rig.Start());
        rig.input.Place = CountyPlace{place.x(), place.y()};
        QVERIFY(rig.WriteYears(present));
        if (folderIsFile) {
            QVERIFY(QDir().mkpath(rig.dir.filePath(QStringLiteral("data/24/34"))));
            QFile file(rig.dir.filePath(QStringLiteral("data/24/34/300")));
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write("not a folder") > 0);
        }
        const QByteArray kept = ReadAll(YearFilePath(rig.input.TimetableFolder, FirstYear));

        const UploadResult result = rig.Run();

        QStringList computed;
        for (int j = present; j < 10 && years == 10; ++j) {
            computed.append(QString::number(FirstYear + j));
        }
        lines.replaceInStrings(
            QStringLiteral("%computed"),
            ComputedYearsTemplate.arg(computed.join(YearListSeparator)).arg(CountyIndex));
        lines.replaceInStrings(
            QStringLiteral("%path"),
            QDir::toNativeSeparators(YearFilePath(rig.input.TimetableFolder, FirstYear + years)));
        const QStringList logged = rig.host.Texts(Kind::Log);
        QCOMPARE(logged.size(), lines.size());
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QStringList parts = lines[i].split(QStringLiteral("%any"));
            QVERIFY2(logged[i].startsWith(parts.first()) && logged[i].endsWith(parts.last()),
                     qPrintable(logged[i]));
        }
        QCOMPARE(result.YearsWritten, years);
        QCOMPARE(result.Complete(), years == 10);
        // The files there are kept as they were; the computed ones are muezzin-timetable's, and
        // what the device holds.
        if (present > 0) {
            QCOMPARE(ReadAll(YearFilePath(rig.input.TimetableFolder, FirstYear)), kept);
        }
        const Bytes memory = rig.sim.Memory();
        for (int j = present; j < 10; ++j) {
            const QString path = YearFilePath(rig.input.TimetableFolder, FirstYear + j);
            if (years < 10) {
                QVERIFY(!QFileInfo::exists(path));
                continue;
            }
            const prayer::TimetableImage image =
                prayer::TimetableFileImage(FirstYear + j, place.x(), place.y());
            QCOMPARE(ReadAll(path), QByteArray(reinterpret_cast<const char*>(image.data()),
                                               static_cast<qsizetype>(image.size())));
            const YearBlock block = ConvertTimetable(image, FirstYear + j);
            const auto at = memory.begin() + 128 + 3712 * j;
            QVERIFY(std::equal(block.begin(), block.end(), at));
        }
    }

    void deviceFaults_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("confirmed");
        QTest::addColumn<QStringList>("opening"); // the first lines, worked out by hand
        SimulatorOptions o;
        o.ShortReplyBytes = 100;
        // Of the settings block's last 34 bytes four are not 0: 16, 1, 255, 255.
        QTest::newRow("replies of 100 bytes")
            << o << 316 << 0 << QStringList{ReceiveErrorText, NotChangedCountText + "4"};
        o = {};
        o.ShortReplyBytes = 132;
        // The two bytes lost are 0 in the settings block: nothing differs, yet it is no
        // confirmation.
        QTest::newRow("replies of 132 bytes")
            << o << 316 << 0 << QStringList{ReceiveErrorText, ReceiveErrorText};
        o = {};
        o.ShortReplyBytes = 4;
        QTest::newRow("replies of 4 bytes")
            << o << 316 << 0 << QStringList{ReceiveErrorText, ReceiveErrorText};
        o = {};
        o.FlipEveryBlocks = 7;
        QTest::newRow("every 7th echo flipped")
            << o << 316 << 316 - 45 << QStringList{NotChangedCountText + "1"};
        o = {};
        o.WrongHeader = true;
        QTest::newRow("wrong reply header")
            << o << 316 << 0 << QStringList{NotFullyAppliedText + "316"};
        o = {};
        o.Silent = true;
        QTest::newRow("dead device")
            << o << 3 << 0
            << QStringList{ReceiveErrorText, ReceiveErrorText, ReceiveErrorText, DeviceSilentText,
                           NotFullyAppliedText + "316"};
        o = {};
        o.StopAfterFrames = 200;
        QTest::newRow("device dies after 200 blocks")
            << o << 203 << 200 << QStringList{ReceiveErrorText, ReceiveErrorText};
    }

    // Written once each, every block is still sent and stored; what the replies lack is logged
    // and counted.
    void deviceFaults() {
        QFETCH(SimulatorOptions, options);
        QFETCH(int, sent);
        QFETCH(int, confirmed);
        QFETCH(QStringList, opening);
        Rig rig(options);
        QVERIFY(rig.Start());
        rig.ShortTimeouts();
        rig.input.Resend = false;
        QVERIFY(rig.WriteYears(10));

        const UploadResult result = rig.Run();

        const auto plan = BlockPlan(rig.Settings(), 10);
        const Expected expected = Model(options, plan);
        QCOMPARE(expected.Sent, sent);
        QCOMPARE(expected.Confirmed, confirmed);
        const QStringList lines = rig.host.Texts(Kind::Log);
        QCOMPARE(lines.mid(0, opening.size()), opening);
        QCOMPARE(lines, expected.Lines);
        QCOMPARE(result.BlocksSent, sent);
        QCOMPARE(result.BlocksConfirmed, confirmed);
        QCOMPARE(result.DeviceSilent, sent < UploadBlockCount);
        QVERIFY(!result.Complete());

        // No block after the stop is sent; the device keeps every block that reached it.
        QCOMPARE(WrittenAddresses(rig.sim), AddressesOf(plan, static_cast<std::size_t>(sent)));
        QCOMPARE(
            FirstDifference(rig.sim.Memory(), MemoryAfter(plan, static_cast<std::size_t>(sent))),
            -1);
        QCOMPARE(rig.host.Values(Kind::Position).back(), sent);
        QCOMPARE(rig.host.Values(Kind::Pause), std::vector<int>{0});
        QCOMPARE(rig.host.Values(Kind::Resume).size(), std::size_t{1});
        QCOMPARE(rig.host.ValueBefore(Kind::Visible, rig.host.calls.size()), std::optional<int>(0));
    }

    void resends_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<int>("sent");
        QTest::addColumn<int>("resends");
        QTest::addColumn<QList<int>>("unconfirmed"); // addresses given up, then the first unsent
        QTest::addColumn<int>("outcome");            // of the blocks given up
        SimulatorOptions o;
        // Each flip costs one resend, whose echo is never flipped: R = (316 + R) / 7 gives 52.
        o.FlipEveryBlocks = 7;
        QTest::newRow("every 7th echo flipped") << o << 316 << 52 << QList<int>{} << 0;
        o = {};
        o.ShortReplyBytes = 133;
        QTest::newRow("replies a byte short") << o << 3 << 6 << QList<int>{0, 128, 256, 384}
                                              << static_cast<int>(BlockOutcome::ShortReply);
        o = {};
        o.WrongHeader = true;
        QTest::newRow("wrong reply header") << o << 3 << 6 << QList<int>{0, 128, 256, 384}
                                            << static_cast<int>(BlockOutcome::WrongHeader);
        o = {};
        o.Silent = true;
        QTest::newRow("dead device: three silent attempts")
            << o << 1 << 2 << QList<int>{0, 128} << static_cast<int>(BlockOutcome::NoReply);
    }

    // A block not confirmed is sent again, three attempts in all; three blocks given up in a row
    // end the run, and every block after them is counted as not sent.
    void resends() {
        QFETCH(SimulatorOptions, options);
        QFETCH(int, sent);
        QFETCH(int, resends);
        QFETCH(QList<int>, unconfirmed);
        QFETCH(int, outcome);
        Rig rig(options);
        QVERIFY(rig.Start());
        rig.ShortTimeouts();
        QVERIFY(rig.WriteYears(10));

        const UploadResult result = rig.Run();

        QCOMPARE(result.BlocksSent, sent);
        QCOMPARE(result.Resends, resends);
        QCOMPARE(result.DeviceSilent, sent < UploadBlockCount);
        QCOMPARE(result.BlocksConfirmed + static_cast<int>(result.Unconfirmed.size()),
                 UploadBlockCount);
        QList<int> given;
        for (const UnconfirmedBlock& block : result.Unconfirmed) {
            if (given.size() < unconfirmed.size()) {
                given.append(block.Address);
            }
            const bool wasSent = given.size() <= sent;
            QCOMPARE(static_cast<int>(block.Outcome),
                     wasSent ? outcome : static_cast<int>(BlockOutcome::NotSent));
        }
        QCOMPARE(given, unconfirmed);
        const auto plan = BlockPlan(rig.Settings(), 10);
        QCOMPARE(
            FirstDifference(rig.sim.Memory(), MemoryAfter(plan, static_cast<std::size_t>(sent))),
            -1);
    }

    void refused_data() {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("countyChosen");
        QTest::addColumn<QString>("message");
        QTest::newRow("not connected") << false << true << ConnectDeviceText;
        QTest::newRow("no county chosen") << true << false << ChooseCountyText;
        QTest::newRow("neither") << false << false << ConnectDeviceText;
    }

    // The message shows while the bar stands at 0; afterwards the bar is hidden, nothing was
    // sent and the monitor was left alone.
    void refused() {
        QFETCH(bool, connected);
        QFETCH(bool, countyChosen);
        QFETCH(QString, message);
        Rig rig;
        QVERIFY(rig.Start());
        QVERIFY(rig.WriteYears(10));
        rig.link.Connected = connected;
        if (!countyChosen) {
            rig.input.TimetableFolder.clear();
        }

        const UploadResult result = rig.Run();

        QVERIFY(!result.Started);
        QCOMPARE(result.BlocksSent, 0);
        QCOMPARE(rig.host.Texts(Kind::Message), QStringList{message});
        std::size_t at = 0;
        while (rig.host.calls[at].What != Kind::Message) {
            ++at;
        }
        QCOMPARE(rig.host.ValueBefore(Kind::Visible, at), std::optional<int>(1));
        QCOMPARE(rig.host.ValueBefore(Kind::Position, at), std::optional<int>(0));
        QCOMPARE(rig.host.ValueBefore(Kind::Visible, rig.host.calls.size()), std::optional<int>(0));
        QVERIFY(rig.host.Values(Kind::Pause).empty());
        QVERIFY(rig.host.Values(Kind::Resume).empty());
        QVERIFY(rig.host.Texts(Kind::Log).isEmpty());
        QCOMPARE(rig.EntriesBeforeProbe(), 0);
    }

    void inputErrors_data() {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("keyFile"); // "missing", "folder" or empty for a good one
        QTest::addColumn<QString>("text");    // %1 stands for the key file's path
        QTest::addColumn<QString>("control");
        QTest::newRow("number with a letter") << "DawnCall"
                                              << "1x"
                                              << ""
                                              << "'1x' is not a valid integer value"
                                              << "LabeledEdit4";
        QTest::newRow("empty number") << "QuranFileCount"
                                      << ""
                                      << ""
                                      << "'' is not a valid integer value"
                                      << "LabeledEdit5";
        QTest::newRow("number above a byte") << "NoonCall"
                                             << "256"
                                             << ""
                                             << "'256' is not a value from 0 to 255"
                                             << "LabeledEdit11";
        QTest::newRow("negative supplication") << "SunsetSupplication"
                                               << "-1"
                                               << ""
                                               << "'-1' is not a value from 0 to 255"
                                               << "LabeledEdit15";
        QTest::newRow("level above 32") << "Option2Level"
                                        << "33"
                                        << ""
                                        << "'33' is not a value from 0 to 32"
                                        << "TrackBar11";
        QTest::newRow("three digits after the point")
            << "Latitude"
            << "35.314"
            << ""
            << "'35.314' has more than two digits after the point: the device keeps hundredths "
               "of a degree"
            << "LabeledEdit2";
        QTest::newRow("key file missing") << ""
                                          << ""
                                          << "missing"
                                          << "Cannot open file %1"
                                          << "";
        QTest::newRow("key file is a folder") << ""
                                              << ""
                                              << "folder"
                                              << "Cannot open file %1: it is a folder"
                                              << "";
        QTest::newRow("bad field before a missing key file") << "NoonCall"
                                                             << "x"
                                                             << "missing"
                                                             << "'x' is not a valid integer value"
                                                             << "LabeledEdit11";
    }

    // Input is refused before the first frame: nothing reaches the device, the monitor is not
    // left off and the bar is hidden again.
    void inputErrors() {
        QFETCH(QString, field);
        QFETCH(QString, value);
        QFETCH(QString, keyFile);
        QFETCH(QString, text);
        QFETCH(QString, control);
        Rig rig;
        QVERIFY(rig.Start());
        QVERIFY(rig.WriteYears(10));
        SetField(rig.input.Fields, field, value);
        if (!keyFile.isEmpty()) {
            rig.input.KeyFilePath = rig.dir.filePath(QStringLiteral("keys"));
        }
        if (keyFile == QStringLiteral("folder")) {
            QVERIFY(QDir().mkpath(rig.input.KeyFilePath));
        }

        QString caught;
        QString caughtControl;
        try {
            rig.Run();
        } catch (const SettingsError& error) {
            caught = error.Text();
            caughtControl = error.Control();
        } catch (const UserError& error) {
            caught = error.Text();
        }

        QCOMPARE(caught, text.contains(u'%') ? text.arg(rig.input.KeyFilePath) : text);
        QCOMPARE(caughtControl, control);
        QCOMPARE(rig.EntriesBeforeProbe(), 0);
        QCOMPARE(rig.host.Values(Kind::Pause).size(), rig.host.Values(Kind::Resume).size());
        QCOMPARE(rig.host.ValueBefore(Kind::Visible, rig.host.calls.size()), std::optional<int>(0));
        QVERIFY(rig.host.Texts(Kind::Log).isEmpty());
    }
};

QTEST_GUILESS_MAIN(UploadTest)
#include "tst_upload.moc"
