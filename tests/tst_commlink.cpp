#include "comm/CommLink.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QElapsedTimer>
#include <QTest>
#include <fcntl.h>
#include <termios.h>
#include <thread>
#include <unistd.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

template <std::size_t N> void Load(CommLink& link, const std::array<std::uint8_t, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), link.TxFrame.begin());
}

void LoadBlock(CommLink& link, std::uint16_t address, std::uint8_t fill) {
    const Bytes data(frame::BlockDataSize, fill);
    frame::Compose(link.TxFrame, frame::command::BlockWrite,
                   static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                   data);
}

// Sends the probe; true when its whole reply came back.
bool ProbeAnswered(CommLink& link) {
    Load(link, frame::ProbeFrame);
    Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
    return link.BytesRead == frame::ProbeReply.size();
}

Bytes Received(const CommLink& link) {
    return Bytes(link.RxBuffer.begin(), link.RxBuffer.begin() + link.BytesRead);
}

bool RestIsZero(const CommLink& link) {
    return std::all_of(link.RxBuffer.begin() + link.BytesRead, link.RxBuffer.end(),
                       [](std::uint8_t b) { return b == 0; });
}

termios LineSettings(const std::string& path) {
    termios settings{};
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    tcgetattr(fd, &settings);
    ::close(fd);
    return settings;
}

void SetLineSpeed(const std::string& path, speed_t speed) {
    const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    termios settings{};
    tcgetattr(fd, &settings);
    cfsetspeed(&settings, speed);
    settings.c_cflag |= CRTSCTS;
    tcsetattr(fd, TCSANOW, &settings);
    ::close(fd);
}

} // namespace

class CommLinkTest : public QObject {
    Q_OBJECT

private slots:
    void openConfiguresTheLine() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim), 115200));
        QVERIFY(r.notices.empty()); // refused modem lines on a pseudo-terminal are no error
        QVERIFY(IsPortOpen(r.link));
        QCOMPARE(r.link.PortSettings.BaudRate, 115200);
        const termios line = LineSettings(sim.PortPath());
        QCOMPARE(cfgetospeed(&line), speed_t{B115200});
        QCOMPARE(line.c_cflag & CSIZE, tcflag_t{CS8});
        QCOMPARE(line.c_cflag & (PARENB | CSTOPB | CRTSCTS), tcflag_t{0});
        QCOMPARE(line.c_iflag & (IXON | IXOFF), tcflag_t{0});
    }

    void closeRestoresEarlierSettings() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        SetLineSpeed(sim.PortPath(), B9600);
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QCOMPARE(cfgetospeed(&static_cast<const termios&>(LineSettings(sim.PortPath()))),
                 speed_t{B115200});
        QVERIFY(ClosePort(r.link));
        const termios after = LineSettings(sim.PortPath());
        QCOMPARE(cfgetospeed(&after), speed_t{B9600});
        QCOMPARE(after.c_cflag & CRTSCTS, tcflag_t{CRTSCTS});
    }

    void fullReply_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<std::size_t>("writeCount");
        QTest::addColumn<std::size_t>("readCount");
        QTest::addColumn<Bytes>("head");
        QTest::newRow("probe") << 0 << frame::ProbeFrame.size() << frame::ProbeReply.size()
                               << Bytes{0x55, 0xAA, 0x01, 0x03, 0x11, 0x05, 0xE6};
        QTest::newRow("version") << 1 << frame::VersionQueryFrame.size() << frame::VersionReplySize
                                 << Bytes{0x55, 0xAA, 0x02, 0x03, 0x03, 0x10};
        QTest::newRow("block") << 2 << frame::BlockFrameSize << frame::BlockFrameSize
                               << Bytes{0x55, 0xAA, 0x03, 0x0F, 0x0E};
        QTest::newRow("settings") << 3 << frame::ReadSettingsFrame.size() << frame::BlockFrameSize
                                  << Bytes{0x55, 0xAA, 0x04, 0x0F, 0x0E};
    }

    void fullReply() {
        QFETCH(int, kind);
        QFETCH(std::size_t, writeCount);
        QFETCH(std::size_t, readCount);
        QFETCH(Bytes, head);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        switch (kind) {
        case 0:
            Load(r.link, frame::ProbeFrame);
            break;
        case 1:
            Load(r.link, frame::VersionQueryFrame);
            break;
        case 2:
            LoadBlock(r.link, 0x9180, 0x3C);
            break;
        default:
            Load(r.link, frame::ReadSettingsFrame);
        }
        const Transfer reply = Exchange(r.link, static_cast<std::uint32_t>(writeCount),
                                        static_cast<std::uint32_t>(readCount));
        QCOMPARE(reply.Bytes, static_cast<std::uint32_t>(readCount));
        QCOMPARE(reply.Status, 0u); // the write and the read both ended on their own
        QCOMPARE(r.link.WriteCount, static_cast<std::uint32_t>(writeCount));
        QCOMPARE(r.link.BytesWritten, static_cast<std::uint32_t>(writeCount));
        QCOMPARE(r.link.BytesRead, static_cast<std::uint32_t>(readCount));
        QCOMPARE(r.link.IoStatus, 0u);
        QVERIFY(std::equal(head.begin(), head.end(), r.link.RxBuffer.begin()));
        QVERIFY(RestIsZero(r.link));
        if (kind == 2) {
            QVERIFY(std::equal(r.link.TxFrame.begin() + frame::DataAt,
                               r.link.TxFrame.begin() + frame::BlockFrameSize,
                               r.link.RxBuffer.begin() + frame::DataAt));
        }
        QVERIFY(r.notices.empty());
    }

    // A fast device answers before the reader starts: the reply must still be read whole.
    void replyBeforeReceiveIsKept() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        Load(r.link, frame::ProbeFrame);
        r.link.WriteCount = frame::ProbeFrame.size();
        r.link.ReadCount = frame::ProbeReply.size();
        SendFrame(r.link);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        ReceiveReply(r.link);
        QCOMPARE(Received(r.link), Bytes(frame::ProbeReply.begin(), frame::ProbeReply.end()));
    }

    // Input that was waiting before the frame went out is not part of the reply.
    void staleBytesDiscarded() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        sim.SendRaw({0x55, 0xAA, 0x01, 0x03, 0x11, 0x05, 0xE7, 0x13, 0x37});
        QVERIFY(r.link.PortHandle->waitForReadyRead(2000)); // the stale bytes are here now
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        Load(r.link, frame::ProbeFrame);
        r.link.WriteCount = frame::ProbeFrame.size();
        r.link.ReadCount = frame::ProbeReply.size();
        SendFrame(r.link); // no AbortPort: the send itself must discard them
        ReceiveReply(r.link);
        QCOMPARE(Received(r.link), Bytes(frame::ProbeReply.begin(), frame::ProbeReply.end()));
    }

    // The reply stops early: the 500 ms gap ends the read with the shorter count.
    void shortReplyEndsAfterGap() {
        SimulatorOptions options;
        options.ShortReplyBytes = 10;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        LoadBlock(r.link, 0, 0x11);
        QElapsedTimer timer;
        timer.start();
        Exchange(r.link, frame::BlockFrameSize, frame::BlockFrameSize);
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(r.link.BytesRead, 10u);
        QCOMPARE(r.link.IoStatus, 0u);
        QVERIFY(RestIsZero(r.link));
        QVERIFY2(elapsed >= 480 && elapsed < 2000, qPrintable(QString::number(elapsed)));
    }

    // Silence costs the line's total time-out (500 + 50 per byte) or, beyond 50 bytes, the
    // 3000 ms wait, after which the transfer counts as pending.
    void noReplyIsBounded_data() {
        QTest::addColumn<int>("readCount");
        QTest::addColumn<int>("bound");
        QTest::addColumn<uint>("status");
        QTest::newRow("7 bytes") << 7 << 850 << 0u;
        QTest::newRow("18 bytes") << 18 << 1400 << 0u;
        QTest::newRow("50 bytes") << 50 << 3000 << 0u;
        QTest::newRow("134 bytes") << 134 << 3000 << uint{iostatus::Pending};
    }

    void noReplyIsBounded() {
        QFETCH(int, readCount);
        QFETCH(int, bound);
        QFETCH(uint, status);
        SimulatorOptions options;
        options.StopAfterFrames = 1;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(ProbeAnswered(r.link));

        Load(r.link, frame::ProbeFrame);
        QElapsedTimer timer;
        timer.start();
        Exchange(r.link, frame::ProbeFrame.size(), static_cast<std::uint32_t>(readCount));
        const qint64 elapsed = timer.elapsed();
        QCOMPARE(r.link.BytesRead, 0u); // not the count of the reply before
        QCOMPARE(r.link.IoStatus, status);
        QVERIFY(RestIsZero(r.link));
        QVERIFY2(elapsed >= bound - 20 && elapsed < bound + 1500,
                 qPrintable(QString::number(elapsed)));
        QVERIFY(r.notices.empty());
    }

    void delayedReplyArrives() {
        SimulatorOptions options;
        options.ReplyDelay = std::chrono::milliseconds(300);
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        Load(r.link, frame::VersionQueryFrame);
        Exchange(r.link, frame::VersionQueryFrame.size(), frame::VersionReplySize);
        QCOMPARE(r.link.BytesRead, frame::VersionReplySize);
    }

    // The device vanishing mid-reply or between frames ends the exchange at once.
    void lostLineEndsAtOnce_data() {
        QTest::addColumn<bool>("midReply");
        QTest::newRow("hang-up mid-reply") << true;
        QTest::newRow("gone before the frame") << false;
    }

    void lostLineEndsAtOnce() {
        QFETCH(bool, midReply);
        SimulatorOptions options;
        options.HangUpAtFrame = 1;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        if (!midReply) {
            sim.Stop();
        }
        LoadBlock(r.link, 128, 0x42);
        QElapsedTimer timer;
        timer.start();
        const Transfer reply = Exchange(r.link, frame::BlockFrameSize, frame::BlockFrameSize);
        const qint64 elapsed = timer.elapsed();
        QVERIFY(reply.LinkLost());
        QVERIFY(r.link.BytesRead < frame::BlockFrameSize);
        QCOMPARE(r.link.IoStatus, iostatus::Failed);
        QVERIFY2(elapsed < 400, qPrintable(QString::number(elapsed)));
        // The link stays usable for the caller's decision: closing works, nothing hangs.
        QVERIFY(ClosePort(r.link));
    }

    // A write that loses the line is not hidden by the read after it, which finds nothing and
    // starts the record's status afresh.
    void lostWriteIsReturned() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(RefuseWrites(r.link, sim.PortPath()));
        Load(r.link, frame::ProbeFrame);
        r.link.WriteCount = frame::ProbeFrame.size();
        QCOMPARE(SendFrame(r.link).Status, iostatus::Failed);
        r.link.BytesRead = frame::ProbeReply.size(); // what an earlier exchange left
        QElapsedTimer timer;
        timer.start();
        const Transfer reply = Exchange(r.link, frame::ProbeFrame.size(), frame::ProbeReply.size());
        // Not the read's 500 ms and more: the exchange ends with the write.
        QVERIFY2(timer.elapsed() < 400, qPrintable(QString::number(timer.elapsed())));
        QVERIFY(reply.LinkLost());
        QCOMPARE(reply.Bytes, 0u);
        QCOMPARE(r.link.BytesRead, 0u);
        QCOMPARE(r.link.IoStatus, iostatus::Failed);
        QCOMPARE(sim.FramesReceived(), 0);
    }

    // A write that cannot finish (output stopped) before a read that ends quietly: the exchange
    // and the record both say it is pending.
    void stalledWriteIsRecorded() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        r.link.Timeouts = {.ReadTotalConstant = std::chrono::milliseconds(50),
                           .ReadTotalPerByte = std::chrono::milliseconds(0),
                           .TransferWait = std::chrono::milliseconds(300)};
        QCOMPARE(tcflow(static_cast<int>(r.link.PortHandle->handle()), TCOOFF), 0);
        Load(r.link, frame::ProbeFrame);
        const Transfer reply = Exchange(r.link, frame::ProbeFrame.size(), frame::ProbeReply.size());
        tcflow(static_cast<int>(r.link.PortHandle->handle()), TCOON);
        QCOMPARE(reply.Bytes, 0u);
        QCOMPARE(reply.Status, iostatus::Pending);
        QCOMPARE(r.link.IoStatus, iostatus::Pending);
    }

    void wrongHeaderIsReceivedAsIs() {
        SimulatorOptions options;
        options.WrongHeader = true;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        Load(r.link, frame::VersionQueryFrame);
        Exchange(r.link, frame::VersionQueryFrame.size(), frame::VersionReplySize);
        QCOMPARE(r.link.BytesRead, frame::VersionReplySize);
        QVERIFY(!ReplyMatches(r.link, frame::command::Version));
    }

    void closeTwiceAndUseAfterClose() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(ProbeAnswered(r.link));
        QVERIFY(ClosePort(r.link));
        QVERIFY(!ClosePort(r.link));
        QVERIFY(!AbortPort(r.link));

        const int framesBefore = sim.FramesReceived();
        r.link.BytesWritten = 99;
        const Transfer sent = SendFrame(r.link);
        QCOMPARE(sent.Bytes, 0u);  // nothing written, whatever the record still says
        QCOMPARE(sent.Status, 0u); // ended at once, neither pending nor a lost line
        QCOMPARE(r.link.BytesWritten, 99u);
        QVERIFY(r.notices.empty());
        const Transfer reply = ReceiveReply(r.link);
        QCOMPARE(r.notices, (std::vector<Notice>{{"Invalid Handle", "Error"}}));
        QCOMPARE(reply.Bytes, 0u);
        QCOMPARE(reply.Status, 0u);
        QCOMPARE(r.link.BytesRead, 0u);
        QCOMPARE(r.link.IoStatus, 0u);
        QVERIFY(RestIsZero(r.link));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        QCOMPARE(sim.FramesReceived(), framesBefore);
    }

    void noPortAtAll() {
        RecordingLink r;
        QVERIFY(!AbortPort(r.link));
        QVERIFY(!ClosePort(r.link));
        Load(r.link, frame::ProbeFrame);
        Exchange(r.link, frame::ProbeFrame.size(), frame::ProbeReply.size());
        QCOMPARE(r.notices, (std::vector<Notice>{{"Invalid Handle", "Error"}}));
        QCOMPARE(r.link.BytesRead, 0u);
    }

    void openMissingPort() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(!OpenPort(r.link, QStringLiteral("/dev/muezzin-no-such-port")));
        QCOMPARE(r.notices.size(), std::size_t{1});
        QCOMPARE(r.notices[0].first, QStringLiteral("Error occured while opening the port"));
        QCOMPARE(r.notices[0].second, QString::number(ENOENT));
        QCOMPARE(r.link.LastOpenError, ENOENT);
        QVERIFY(!IsPortOpen(r.link)); // the earlier port is not left held either
    }

    void openSamePortAgainReplacesTheHeldOne() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(ProbeAnswered(r.link));
    }

    void lowLatency_data() {
        QTest::addColumn<int>("driver"); // -1 says nothing, 0 off, 1 already on
        QTest::addColumn<bool>("acceptsWrite");
        QTest::addColumn<QStringList>("requests");
        QTest::newRow("switched on, given back") << 0 << true << QStringList{"on", "off"};
        QTest::newRow("already on: left alone") << 1 << true << QStringList{};
        QTest::newRow("driver does not say") << -1 << true << QStringList{};
        QTest::newRow("write refused: nothing to give back") << 0 << false << QStringList{"on"};
    }

    // The driver is asked for low latency at open and given its flag back at close; a driver
    // that refuses leaves the port open and working.
    void lowLatency() {
        QFETCH(int, driver);
        QFETCH(bool, acceptsWrite);
        QFETCH(QStringList, requests);
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QStringList made;
        r.link.Latency.Read = [&](qintptr) -> std::optional<bool> {
            return driver < 0 ? std::nullopt : std::optional<bool>(driver == 1);
        };
        r.link.Latency.Write = [&](qintptr handle, bool on) {
            made.append(handle >= 0 && on ? QStringLiteral("on") : QStringLiteral("off"));
            return acceptsWrite;
        };
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(ProbeAnswered(r.link));
        QVERIFY(ClosePort(r.link));
        QCOMPARE(made, requests);
        QVERIFY(r.notices.empty());
    }

    // A pseudo-terminal's driver refuses the real request; nothing else changes.
    void lowLatencyRefusedBySystem() {
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        RecordingLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(!r.link.LowLatencyRequested);
        QVERIFY(ProbeAnswered(r.link));
    }

    void replyMatches_data() {
        QTest::addColumn<Bytes>("reply");
        QTest::addColumn<int>("command");
        QTest::addColumn<bool>("matches");
        QTest::newRow("55 AA 02 for 02") << Bytes{0x55, 0xAA, 0x02, 0x99} << 2 << true;
        QTest::newRow("55 AA 01 for 02") << Bytes{0x55, 0xAA, 0x01, 0x03} << 2 << false;
        QTest::newRow("first sync wrong") << Bytes{0x54, 0xAA, 0x02} << 2 << false;
        QTest::newRow("second sync wrong") << Bytes{0x55, 0xAB, 0x02} << 2 << false;
        QTest::newRow("nothing received") << Bytes{} << 0 << false;
        QTest::newRow("upgrade 50") << Bytes{0x55, 0xAA, 0x50, 0xB3} << 0x50 << true;
    }

    void replyMatches() {
        QFETCH(Bytes, reply);
        QFETCH(int, command);
        QFETCH(bool, matches);
        CommLink link;
        std::copy(reply.begin(), reply.end(), link.RxBuffer.begin());
        QCOMPARE(ReplyMatches(link, static_cast<std::uint8_t>(command)), matches);
    }
};

QTEST_GUILESS_MAIN(CommLinkTest)
#include "tst_commlink.moc"
