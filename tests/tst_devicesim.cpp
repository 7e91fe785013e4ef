// The simulator is the other end of every device test: its answers must be the device's.
#include "comm/CommLink.h"
#include "comm/PortProblems.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <fstream>
#include <iterator>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

struct Session {
    DeviceSimulator sim;
    CommLink link;
    explicit Session(SimulatorOptions options = {}) : sim(options) {}
    bool Open() { return sim.Start() && OpenPort(link, PathOf(sim)); }
    Bytes Ask(const Bytes& frame, std::uint32_t readCount) {
        std::copy(frame.begin(), frame.end(), link.TxFrame.begin());
        Exchange(link, static_cast<std::uint32_t>(frame.size()), readCount);
        return Bytes(link.RxBuffer.begin(), link.RxBuffer.begin() + link.BytesRead);
    }
    Bytes Compose(std::uint8_t command, std::uint8_t high, std::uint8_t low, const Bytes& data) {
        Bytes out(frame::FrameSize(data.size()));
        frame::Compose(out, command, high, low, data);
        return out;
    }
};

Bytes Of(auto const& array) {
    return Bytes(array.begin(), array.end());
}

Bytes Pattern(std::size_t size, std::uint8_t seed) {
    Bytes data(size);
    for (std::size_t i = 0; i < size; ++i) {
        data[i] = static_cast<std::uint8_t>(seed + i * 7);
    }
    return data;
}

} // namespace

Q_DECLARE_METATYPE(SimulatorOptions)

class DeviceSimulatorTest : public QObject {
    Q_OBJECT

private slots:
    void probeAndVersion() {
        SimulatorOptions options;
        const std::string version = "ABCDEFGHIJKL";
        std::copy(version.begin(), version.end(), options.VersionData.begin());
        Session s(options);
        QVERIFY(s.Open());
        QCOMPARE(s.Ask(Of(frame::ProbeFrame), frame::ProbeReply.size()), Of(frame::ProbeReply));
        const Bytes reply = s.Ask(Of(frame::VersionQueryFrame), frame::VersionReplySize);
        QCOMPARE(reply.size(), frame::VersionReplySize);
        QCOMPARE(Bytes(reply.begin(), reply.begin() + frame::DataAt),
                 Of(frame::VersionReplyHeader));
        QCOMPARE(std::string(reply.begin() + frame::DataAt, reply.end()), version);
    }

    // A line just closed by another program may still carry that program's lock file for a
    // moment: the simulator passes it over rather than offer a port that is refused as in use.
    void lineStillLockedIsPassedOver() {
        QString freed;
        QFile lock;
        {
            DeviceSimulator sim;
            QVERIFY(sim.Start());
            freed = PathOf(sim);
            // Written while the line is still this test's: no other program's lock is replaced.
            lock.setFileName(PortLockFile(freed));
            QVERIFY(lock.open(QIODevice::WriteOnly)); // any lock there now is stale
            lock.write(QByteArray::number(getppid()).rightJustified(10) + '\n'); // a program alive
            lock.close();
        }
        Session s;
        const bool opened = s.Open();
        lock.remove();
        QVERIFY(PathOf(s.sim) != freed);
        QVERIFY(opened);
    }

    // A probe differing in its check byte is not the probe: no answer.
    void wrongProbeIsIgnored() {
        Session s;
        QVERIFY(s.Open());
        s.link.Timeouts.ReadTotalConstant = std::chrono::milliseconds(100);
        s.link.Timeouts.ReadTotalPerByte = std::chrono::milliseconds(1);
        QVERIFY(
            s.Ask({0x55, 0xAA, 0x01, 0x00, 0x00, 0x05, 0xFB}, frame::ProbeReply.size()).empty());
    }

    void blockWritesLandInMemoryAndEcho() {
        Session s;
        QVERIFY(s.Open());
        const Bytes data = Pattern(128, 3);
        const Bytes reply = s.Ask(s.Compose(0x03, 0x9D, 0x80, data), frame::BlockFrameSize);
        QCOMPARE(reply.size(), frame::BlockFrameSize);
        QCOMPARE(Bytes(reply.begin(), reply.begin() + 5), Of(frame::BlockReplyHeader));
        QCOMPARE(Bytes(reply.begin() + frame::DataAt, reply.end()), data);
        const Bytes memory = s.sim.Memory();
        QCOMPARE(Bytes(memory.begin() + 0x9D80, memory.begin() + 0x9D80 + 128), data);

        // The read-back returns the block stored at address 0.
        const Bytes settings = Pattern(128, 40);
        s.Ask(s.Compose(0x03, 0, 0, settings), frame::BlockFrameSize);
        const Bytes readBack = s.Ask(Of(frame::ReadSettingsFrame), frame::BlockFrameSize);
        QCOMPARE(readBack.size(), frame::BlockFrameSize);
        QCOMPARE(Bytes(readBack.begin(), readBack.begin() + 5),
                 (Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E}));
        QCOMPARE(Bytes(readBack.begin() + frame::DataAt, readBack.end()), settings);
    }

    void clockFrameIsStoredWithoutReply() {
        Session s;
        QVERIFY(s.Open());
        const Bytes clock = {0x55, 0xAA, 0x04, 0x0F, 0x0E, 0x0A,
                             0x09, 0x07, 0x0E, 0x05, 0x03, 0x1A};
        std::copy(clock.begin(), clock.end(), s.link.TxFrame.begin());
        s.link.WriteCount = 12;
        SendFrame(s.link);
        QTRY_VERIFY(s.sim.Clock().Set);
        const DeviceClock stored = s.sim.Clock();
        QCOMPARE(int{stored.Second}, 9);
        QCOMPARE(int{stored.Minute}, 7);
        QCOMPARE(int{stored.Hour}, 14);
        QCOMPARE(int{stored.Day}, 5);
        QCOMPARE(int{stored.Month}, 3);
        QCOMPARE(int{stored.Year}, 26);
        QCOMPARE(s.sim.Trace().back().Way, TraceEntry::Direction::In);
    }

    void upgradeStage() {
        Session s;
        QVERIFY(s.Open());
        const auto& up = frame::UpgradeAccessCode;
        const auto& stage = frame::StageAccessCode;
        // Erase is refused outside the upgrade stage.
        s.link.Timeouts.ReadTotalConstant = std::chrono::milliseconds(100);
        QVERIFY(s.Ask(s.Compose(0x50, stage[0], stage[1], {0}), 10).empty());

        Bytes reply = s.Ask(s.Compose(0x77, up[0], up[1], {0}), 10);
        QCOMPARE(reply.size(), std::size_t{10});
        QCOMPARE(Bytes(reply.begin(), reply.begin() + 5), (Bytes{0x55, 0xAA, 0x01, 0x03, 0x11}));
        QVERIFY(s.sim.InUpgradeStage());

        reply = s.Ask(s.Compose(0x50, stage[0], stage[1], {0}), 10);
        QCOMPARE(reply.size(), std::size_t{10});
        QCOMPARE(int{reply[2]}, 0x50);
        QCOMPARE(int{reply[3]}, 0xB3);

        const Bytes page = Pattern(256, 9);
        const Bytes pageFrame = s.Compose(0x60, 5, 2, page);
        QCOMPARE(s.Ask(pageFrame, 262), pageFrame);
        QCOMPARE(s.sim.PagesWritten(), 1);
        const Bytes flash = s.sim.Flash();
        QCOMPARE(Bytes(flash.begin() + 5 * 256, flash.begin() + 6 * 256), page);

        std::copy_n(s.Compose(0x80, up[0], up[1], {0x01, 0xF1}).begin(), 8, s.link.TxFrame.begin());
        s.link.WriteCount = 8;
        SendFrame(s.link);
        QTRY_VERIFY(!s.sim.InUpgradeStage());
    }

    void helloAnsweredOnlyInUpgradeStage_data() {
        QTest::addColumn<bool>("inStage");
        QTest::newRow("running") << false;
        QTest::newRow("waiting in the upgrade stage") << true;
    }

    void helloAnsweredOnlyInUpgradeStage() {
        QFETCH(bool, inStage);
        SimulatorOptions options;
        options.StartInUpgradeStage = inStage;
        Session s(options);
        QVERIFY(s.Open());
        s.link.Timeouts.ReadTotalConstant = std::chrono::milliseconds(100);
        const auto& stage = frame::StageAccessCode;
        const Bytes reply = s.Ask(s.Compose(0x01, stage[0], stage[1], {0}), 10);
        QCOMPARE(reply.size(), inStage ? std::size_t{10} : std::size_t{0});
    }

    void faults_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<Bytes>("replySizes"); // sizes of three block replies
        QTest::addColumn<Bytes>("flipped");    // 1 where the echo differs
        constexpr std::uint8_t whole = frame::BlockFrameSize;
        SimulatorOptions plain;
        QTest::newRow("healthy") << plain << Bytes{whole, whole, whole} << Bytes{0, 0, 0};
        SimulatorOptions stop;
        stop.StopAfterFrames = 2;
        QTest::newRow("stop after 2") << stop << Bytes{whole, whole, 0} << Bytes{0, 0, 0};
        SimulatorOptions cut;
        cut.ShortReplyBytes = 100;
        QTest::newRow("short 100") << cut << Bytes{100, 100, 100} << Bytes{1, 1, 1};
        SimulatorOptions flip;
        flip.FlipEveryBlocks = 2;
        QTest::newRow("flip every 2") << flip << Bytes{whole, whole, whole} << Bytes{0, 1, 0};
        SimulatorOptions silent;
        silent.Silent = true;
        QTest::newRow("silent") << silent << Bytes{0, 0, 0} << Bytes{0, 0, 0};
    }

    void faults() {
        QFETCH(SimulatorOptions, options);
        QFETCH(Bytes, replySizes);
        QFETCH(Bytes, flipped);
        Session s(options);
        QVERIFY(s.Open());
        s.link.Timeouts.TransferWait = std::chrono::milliseconds(300);
        for (std::size_t i = 0; i < 3; ++i) {
            const Bytes data = Pattern(128, static_cast<std::uint8_t>(i + 1));
            const Bytes reply =
                s.Ask(s.Compose(0x03, 0, static_cast<std::uint8_t>(i * 128 & 0x80), data),
                      frame::BlockFrameSize);
            QCOMPARE(reply.size(), std::size_t{replySizes[i]});
            if (reply.size() > frame::HeaderSize) {
                Bytes echoed(reply.begin() + frame::DataAt, reply.end());
                echoed.resize(128, 0);
                QCOMPARE(echoed != data, flipped[i] == 1);
            }
        }
    }

    // Noise and a torn frame before a good one: the device finds the good one.
    void resynchronisesAfterNoise() {
        Session s;
        QVERIFY(s.Open());
        Bytes noisy = {0x00, 0x55, 0x13, 0xAA, 0x55, 0xAA, 0x03};
        const Bytes probe = Of(frame::ProbeFrame);
        noisy.insert(noisy.end(), probe.begin(), probe.end());
        // The torn block header waits for 128 bytes that never come; the gap drops it.
        std::copy(noisy.begin(), noisy.begin() + 7, s.link.TxFrame.begin());
        s.link.WriteCount = 7;
        SendFrame(s.link);
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        QCOMPARE(s.Ask(probe, frame::ProbeReply.size()), Of(frame::ProbeReply));
        bool dropped = false;
        for (const auto& entry : s.sim.Trace()) {
            dropped = dropped || entry.Way == TraceEntry::Direction::Dropped;
        }
        QVERIFY(dropped);
    }

    void traceAndDump() {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        Session s;
        QVERIFY(s.Open());
        s.Ask(Of(frame::ProbeFrame), frame::ProbeReply.size());
        s.Ask(s.Compose(0x03, 0x00, 0x80, Bytes(128, 0xAB)), frame::BlockFrameSize);
        s.sim.Stop();
        const std::string tracePath = dir.filePath(QStringLiteral("trace.txt")).toStdString();
        QVERIFY(s.sim.WriteTrace(tracePath));
        std::ifstream trace(tracePath);
        std::string first;
        std::string second;
        std::getline(trace, first);
        std::getline(trace, second);
        QCOMPARE(first, std::string("> 55 AA 01 00 00 05 FA"));
        QCOMPARE(second, std::string("< 55 AA 01 03 11 05 E6"));

        QVERIFY(s.sim.DumpTo(dir.path().toStdString()));
        std::ifstream memory(dir.filePath(QStringLiteral("memory.bin")).toStdString(),
                             std::ios::binary);
        const Bytes bytes((std::istreambuf_iterator<char>(memory)),
                          std::istreambuf_iterator<char>());
        QCOMPARE(bytes.size(), std::size_t{65536});
        QCOMPARE(int{bytes[0x80]}, 0xAB);
        QCOMPARE(int{bytes[0x100]}, 0xFF);
    }

    // Paced, a block exchange takes at least the wire time of both frames.
    void pacedTakesWireTime() {
        SimulatorOptions options;
        options.Paced = true;
        Session s(options);
        QVERIFY(s.Open());
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < 5; ++i) {
            QCOMPARE(s.Ask(s.Compose(0x03, 0, 0, Bytes(128, 1)), frame::BlockFrameSize).size(),
                     frame::BlockFrameSize);
        }
        const auto elapsed = std::chrono::steady_clock::now() - start;
        const auto wire =
            std::chrono::microseconds(5 * 2 * frame::BlockFrameSize * 10 * 1'000'000LL / 115200);
        QVERIFY(elapsed >= wire);
    }
};

QTEST_GUILESS_MAIN(DeviceSimulatorTest)
#include "tst_devicesim.moc"
