#include "device/Priority.h"
#include "device/Upgrade.h"
#include "device/UpgradeTexts.h"
#include "tests/RecordingHost.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <utility>
#include <vector>

#ifndef _WIN32
#include <sys/resource.h>
#endif

Q_DECLARE_METATYPE(SimulatorOptions)
Q_DECLARE_METATYPE(UpgradeStep)
Q_DECLARE_METATYPE(FirmwareFileStatus)

namespace {

using Bytes = std::vector<std::uint8_t>;
using PageFrame = std::pair<int, int>; // page, retry count as carried in the frame
using namespace std::chrono_literals;

constexpr qsizetype FileArea = 69632;
constexpr qsizetype Image = 65536;

const Bytes EnterUpgradeFrame = {0x55, 0xAA, 0x77, 0x5A, 0xA5, 0x05, 0x00};
const Bytes HelloFrame = {0x55, 0xAA, 0x01, 0xC3, 0x3C, 0x05, 0x00};
const Bytes EraseFrame = {0x55, 0xAA, 0x50, 0xC3, 0x3C, 0x05, 0x00};
const Bytes EndUpgradeFrame = {0x55, 0xAA, 0x80, 0x5A, 0xA5, 0x06, 0x01, 0xF1};

int CurrentNice() {
#ifdef _WIN32
    return 0;
#else
    return getpriority(PRIO_PROCESS, 0);
#endif
}

// An upgrade file: random image and pad, or a pad of zeros; size bytes in all.
QByteArray FirmwareFile(quint32 seed, bool zeroPad, qsizetype size = FileArea) {
    QRandomGenerator random(seed);
    QByteArray bytes(size, '\0');
    for (qsizetype i = 0; i < size; ++i) {
        const bool inPad = i >= Image && i < FileArea;
        bytes[i] = zeroPad && inPad ? '\0' : static_cast<char>(random.bounded(256));
    }
    return bytes;
}

// What the device's flash must hold: page p, byte i is image byte p*256+i XOR pad byte
// (p mod 16)*256+i.
Bytes ExpectedFlash(const QByteArray& file) {
    Bytes flash(static_cast<std::size_t>(Image));
    for (int p = 0; p < 256; ++p) {
        for (int i = 0; i < 256; ++i) {
            const auto image = static_cast<std::uint8_t>(file[p * 256 + i]);
            const auto pad = static_cast<std::uint8_t>(file[Image + (p % 16) * 256 + i]);
            flash[static_cast<std::size_t>(p * 256 + i)] = image ^ pad;
        }
    }
    return flash;
}

Bytes PageOf(const Bytes& flash, int page) {
    const auto from = flash.begin() + page * 256;
    return Bytes(from, from + 256);
}

std::vector<Bytes> FramesIn(const DeviceSimulator& sim) {
    std::vector<Bytes> frames;
    for (const TraceEntry& entry : sim.Trace()) {
        if (entry.Way == TraceEntry::Direction::In) {
            frames.push_back(entry.Bytes);
        }
    }
    return frames;
}

Bytes CommandsIn(const DeviceSimulator& sim) {
    Bytes commands;
    for (const Bytes& f : FramesIn(sim)) {
        commands.push_back(f[2]);
    }
    return commands;
}

// The hex dump box of a reply that starts with these bytes, the rest of its 20 bytes zero.
QString Dump(const char* head) {
    return QString::fromLatin1(head).leftJustified(40, u'0');
}

std::vector<PageFrame> PageFramesIn(const DeviceSimulator& sim) {
    std::vector<PageFrame> pages;
    for (const Bytes& f : FramesIn(sim)) {
        if (f.size() == 262 && f[2] == 0x60) {
            pages.emplace_back(f[3], f[4]);
        }
    }
    return pages;
}

QString StatusLine(int page, int retries) {
    return PageStatusText + QString::number(page) + RetryStatusText + QString::number(retries);
}

QString NotConfirmedLine(int page, int bytesRead) {
    return PageNotConfirmedText + QString::number(page) + PageResentText +
           QString::number(bytesRead);
}

struct Bench {
    DeviceSimulator sim;
    CommLink link;
    RecordingHost host;
    std::vector<Notice> notices;
    QTemporaryDir folder;

    explicit Bench(SimulatorOptions options = {}) : sim(options) {
        host.RepaintNote = CurrentNice;
        link.Notify = [this](const QString& text, const QString& caption) {
            notices.emplace_back(text, caption);
        };
        // A silent device must not make the suite sit through the real waits.
        link.Timeouts.ReadInterval = 50ms;
        link.Timeouts.ReadTotalConstant = 100ms;
        link.Timeouts.ReadTotalPerByte = 1ms;
        link.Timeouts.TransferWait = 300ms;
    }
    QString Port() const { return PathOf(sim); }
    bool Connect() {
        if (!sim.Start() || !OpenPort(link, Port())) {
            return false;
        }
        link.Connected = true;
        return true;
    }
    QString Write(const QByteArray& bytes) const {
        const QString path = folder.filePath(QStringLiteral("new.fmw"));
        QFile file(path);
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return path;
    }
};

} // namespace

class UpgradeTest : public QObject {
    Q_OBJECT

private slots:
    void completeRun_data() {
        QTest::addColumn<bool>("connected");
        QTest::addColumn<bool>("zeroPad");
        QTest::addColumn<int>("fileSize");
        QTest::addColumn<bool>("otherPortHeld");
        QTest::newRow("connected start") << true << false << int{FileArea} << false;
        QTest::newRow("zero pad: the image goes unchanged")
            << true << true << int{FileArea} << false;
        QTest::newRow("longer file: the rest is ignored") << true << false << 75000 << false;
        QTest::newRow("recovery start") << false << false << int{FileArea} << false;
        QTest::newRow("recovery start, another port held")
            << false << false << int{FileArea} << true;
    }

    void completeRun() {
        QFETCH(bool, connected);
        QFETCH(bool, zeroPad);
        QFETCH(int, fileSize);
        QFETCH(bool, otherPortHeld);
        SimulatorOptions options;
        options.StartInUpgradeStage = !connected; // as after an interrupted upgrade
        Bench b(options);
        DeviceSimulator other;
        if (connected) {
            QVERIFY(b.Connect());
        } else {
            QVERIFY(b.sim.Start());
            if (otherPortHeld) {
                QVERIFY(other.Start());
                QVERIFY(OpenPort(b.link, PathOf(other)));
            }
        }
        const QByteArray file = FirmwareFile(7, zeroPad, fileSize);
        b.host.AppendLogLine(QStringLiteral("earlier line"));
        const int niceBefore = CurrentNice();

        const UpgradeResult result = RunUpgrade(b.link, b.host, b.Write(file), b.Port());

        QVERIFY(result.Completed);
        QCOMPARE(result.RefusedStep, UpgradeStep::None);
        QCOMPARE(result.PagesConfirmed, 256);
        QCOMPARE(result.Retries, 0);
        const Bytes expected = zeroPad ? Bytes(file.begin(), file.begin() + Image)
                                       : ExpectedFlash(file.first(FileArea));
        QCOMPARE(b.sim.Flash(), expected);
        QCOMPARE(b.host.Log(),
                 (QStringList{connected ? EnteredUpgradeText : ConnectionEstablishedText,
                              MemoryResetText}));
        const QStringList statuses = b.host.Texts(RecordingHost::Kind::Status);
        QCOMPARE(statuses.size(), 257);
        QCOMPARE(statuses.at(255), StatusLine(255, 0));
        QCOMPARE(statuses.back(), FinishedStatusText);
        QCOMPARE(b.host.Values(RecordingHost::Kind::Range), std::vector<int>{255});
        std::vector<int> positions{0};
        for (int p = 0; p < 256; ++p) {
            positions.push_back(p);
        }
        QCOMPARE(b.host.Values(RecordingHost::Kind::Position), positions);
        QCOMPARE(b.host.Count(RecordingHost::Kind::Repaint), 256);
        QVERIFY(b.host.Texts(RecordingHost::Kind::Message).isEmpty());
        QVERIFY(b.host.MonitorRunsAtEnd());
        QVERIFY(b.host.ProgressHiddenAtEnd());
        QVERIFY(!b.link.Connected);
        QVERIFY(!IsPortOpen(b.link));
        QVERIFY(b.notices.empty());

        // The frames, byte for byte, and nothing to the port that was held before.
        QTRY_COMPARE(FramesIn(b.sim).size(), std::size_t{259});
        const std::vector<Bytes> frames = FramesIn(b.sim);
        QCOMPARE(frames.front(), connected ? EnterUpgradeFrame : HelloFrame);
        QCOMPARE(frames.at(1), EraseFrame);
        for (int p = 0; p < 256; ++p) {
            const Bytes& sent = frames.at(static_cast<std::size_t>(p) + 2);
            QCOMPARE(Bytes(sent.begin(), sent.begin() + 6),
                     (Bytes{0x55, 0xAA, 0x60, static_cast<std::uint8_t>(p), 0x00, 0xFF}));
            QCOMPARE(Bytes(sent.begin() + 6, sent.end()), PageOf(expected, p));
        }
        QCOMPARE(frames.back(), EndUpgradeFrame);
        QTRY_VERIFY(!b.sim.InUpgradeStage());
        if (otherPortHeld) {
            QCOMPARE(other.FramesReceived(), 0);
        }

        // Raised for the transfer where the system allows it, and given back afterwards.
        QCOMPARE(CurrentNice(), niceBefore);
        const bool mayRaise = RaisedPriority().Raised();
        for (const int nice : b.host.repaintNotes) {
            QCOMPARE(nice < niceBefore, mayRaise);
        }
    }

    void refusedStep_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<QString>("start"); // connected, recovery, missing port, no port
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<QString>("dump");
        QTest::addColumn<UpgradeStep>("step");
        QTest::addColumn<Bytes>("commands");
        QTest::addColumn<bool>("connectedAfter");
        const QString zeros = Dump("");
        SimulatorOptions silent;
        silent.Silent = true;
        SimulatorOptions wrong;
        wrong.WrongHeader = true;
        SimulatorOptions eraseSilent;
        eraseSilent.StopAfterFrames = 1;
        SimulatorOptions eraseRefused;
        eraseRefused.RefuseErase = true;
        SimulatorOptions plain;
        const QString sep = QStringLiteral(" : ");
        QTest::newRow("EnterUpgrade not answered")
            << silent << "connected" << QStringList{NotEnteredUpgradeText + sep + "0"} << zeros
            << UpgradeStep::EnterUpgrade << Bytes{0x77, 0x80} << true;
        QTest::newRow("EnterUpgrade answered wrongly")
            << wrong << "connected" << QStringList{NotEnteredUpgradeText + sep + "10"}
            << Dump("55AAFE031108") << UpgradeStep::EnterUpgrade << Bytes{0x77, 0x80} << true;
        // Nothing answered on the recovery port: the port is given up, so that the monitor,
        // running again, does not show a device that is not there.
        QTest::newRow("hello not answered: device not in its upgrade stage")
            << plain << "recovery" << QStringList{NoConnectionText + sep + "0"} << zeros
            << UpgradeStep::UpgradeHello << Bytes{0x01, 0x80} << false;
        QTest::newRow("recovery port cannot be opened")
            << plain << "missing port" << QStringList{NoConnectionText + sep + "0"} << zeros
            << UpgradeStep::UpgradeHello << Bytes{} << false;
        QTest::newRow("Connected without a port")
            << plain << "no port" << QStringList{NotEnteredUpgradeText + sep + "0"} << zeros
            << UpgradeStep::EnterUpgrade << Bytes{} << false;
        QTest::newRow("erase not answered")
            << eraseSilent << "connected"
            << QStringList{EnteredUpgradeText, MemoryNotResetText + sep + "0"} << zeros
            << UpgradeStep::EraseMemory << Bytes{0x77, 0x50, 0x80} << true;
        QTest::newRow("erase refused")
            << eraseRefused << "connected"
            << QStringList{EnteredUpgradeText, MemoryNotResetText + sep + "10"}
            << Dump("55AA504C0008") << UpgradeStep::EraseMemory << Bytes{0x77, 0x50, 0x80} << true;
    }

    void refusedStep() {
        QFETCH(SimulatorOptions, options);
        QFETCH(QString, start);
        QFETCH(QStringList, lines);
        QFETCH(QString, dump);
        QFETCH(UpgradeStep, step);
        QFETCH(Bytes, commands);
        QFETCH(bool, connectedAfter);
        Bench b(options);
        QString recoveryPort = QStringLiteral("/nonexistent/ttyNONE");
        if (start == "connected") {
            QVERIFY(b.Connect());
        } else {
            QVERIFY(b.sim.Start());
            if (start == "recovery") {
                recoveryPort = b.Port();
            }
            b.link.Connected = start == "no port";
        }

        const UpgradeResult result =
            RunUpgrade(b.link, b.host, b.Write(FirmwareFile(3, false)), recoveryPort);

        QCOMPARE(result.RefusedStep, step);
        QVERIFY(!result.Completed);
        QCOMPARE(result.PagesConfirmed, 0);
        QCOMPARE(b.host.Log(), lines << UpgradeIncompleteText + "256");
        QCOMPARE(b.host.Texts(RecordingHost::Kind::Message), QStringList{dump});
        QCOMPARE(b.host.Texts(RecordingHost::Kind::Status), QStringList{FailedStatusText});
        QVERIFY(b.host.MonitorRunsAtEnd());
        QVERIFY(b.host.ProgressHiddenAtEnd());
        // The port stays as the refusal found it; a flag without a port is not kept.
        QCOMPARE(b.link.Connected, connectedAfter);
        QCOMPARE(IsPortOpen(b.link), connectedAfter);

        // EndUpgrade is the last frame, and nothing is written to the flash.
        QTRY_COMPARE(CommandsIn(b.sim), commands);
        if (!commands.empty()) {
            QCOMPARE(FramesIn(b.sim).back(), EndUpgradeFrame);
        }
        QCOMPARE(b.sim.PagesWritten(), 0);
        if (start == "missing port") {
            QCOMPARE(b.notices.size(), std::size_t{2}); // the open, then the read without a port
            QCOMPARE(b.notices.front().first,
                     QStringLiteral("Error occured while opening the port"));
        }
    }

    // Differing echoes: each page is sent again with the raised count until it matches; the
    // fifth differing echo of the run stops the transfer.
    void differingEchoes_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<std::vector<int>>("differing"); // the page of each differing echo
        QTest::addColumn<int>("confirmed");
        SimulatorOptions one;
        one.FlipEveryBlocks = 200;
        SimulatorOptions two;
        two.FlipEveryBlocks = 100;
        SimulatorOptions four;
        four.FlipEveryBlocks = 53;
        SimulatorOptions five;
        five.FlipEveryBlocks = 52;
        SimulatorOptions stuck;
        stuck.NeverConfirmPage = 37;
        SimulatorOptions all;
        all.FlipEveryBlocks = 1;
        QTest::newRow("one page") << one << std::vector<int>{199} << 256;
        QTest::newRow("two pages") << two << std::vector<int>{99, 198} << 256;
        QTest::newRow("four: the most a run survives")
            << four << std::vector<int>{52, 104, 156, 208} << 256;
        QTest::newRow("the fifth anywhere is a flash fault")
            << five << std::vector<int>{51, 102, 153, 204, 255} << 255;
        QTest::newRow("a page that never confirms")
            << stuck << std::vector<int>{37, 37, 37, 37, 37} << 37;
        QTest::newRow("no echo matches") << all << std::vector<int>{0, 0, 0, 0, 0} << 0;
    }

    void differingEchoes() {
        QFETCH(SimulatorOptions, options);
        QFETCH(std::vector<int>, differing);
        QFETCH(int, confirmed);
        Bench b(options);
        QVERIFY(b.Connect());
        const QByteArray file = FirmwareFile(11, false);
        const Bytes expected = ExpectedFlash(file);
        const bool fault = differing.size() >= 5;

        const UpgradeResult result = RunUpgrade(b.link, b.host, b.Write(file), b.Port());

        // The frames the device must have seen: a differing echo repeats its page with the
        // count raised, and every later page carries the count.
        std::vector<PageFrame> frames;
        QStringList lines{EnteredUpgradeText, MemoryResetText};
        int retries = 0;
        std::size_t next = 0;
        for (int p = 0; p < 256 && retries < 5; ++p) {
            frames.emplace_back(p, retries);
            while (retries < 5 && next < differing.size() && differing[next] == p) {
                ++next;
                ++retries;
                if (retries < 5) {
                    frames.emplace_back(p, retries);
                    lines.append(NotConfirmedLine(p, 262));
                } else {
                    lines.append(FlashFaultText);
                }
            }
        }
        if (fault) {
            lines.append(UpgradeIncompleteText + QString::number(256 - confirmed));
        }
        QTRY_COMPARE(FramesIn(b.sim).size(), frames.size() + 3);
        QCOMPARE(PageFramesIn(b.sim), frames);
        QCOMPARE(FramesIn(b.sim).back(), EndUpgradeFrame);

        QCOMPARE(result.Completed, !fault);
        QCOMPARE(result.RefusedStep, fault ? UpgradeStep::WritePage : UpgradeStep::None);
        QCOMPARE(result.PagesConfirmed, confirmed);
        QCOMPARE(result.Retries, static_cast<int>(differing.size()));
        QCOMPARE(b.host.Log(), lines);
        const QStringList statuses = b.host.Texts(RecordingHost::Kind::Status);
        QCOMPARE(statuses.back(), fault ? FailedStatusText : FinishedStatusText);
        const int lastPage = fault ? differing.back() : 255;
        QCOMPARE(statuses.at(statuses.size() - 2), StatusLine(lastPage, retries));
        QVERIFY(b.host.MonitorRunsAtEnd());
        QVERIFY(b.host.ProgressHiddenAtEnd());
        QVERIFY(!b.link.Connected);
        QVERIFY(!IsPortOpen(b.link));

        // Resent pages end up right; nothing beyond the failing page was written.
        const Bytes flash = b.sim.Flash();
        for (int p = 0; p < 256; ++p) {
            if (p < confirmed) {
                QCOMPARE(PageOf(flash, p), PageOf(expected, p));
            } else if (p > lastPage) {
                QCOMPARE(PageOf(flash, p), Bytes(256, 0xFF));
            }
        }
    }

    // A line lost mid-run (cable pulled, device gone) is no flash fault: the run ends at once
    // with the failure line, says the connection was lost, and gives the dead port up. So does a
    // port that stops taking writes while the device, hearing nothing, stays silent.
    void lostLine_data() {
        QTest::addColumn<int>("hangUpAtFrame");  // frame 1 enters, 2 erases, 3 is page 0; 0: gone
        QTest::addColumn<int>("refuseWritesAt"); // frame 1, or a page's frame; -1: never
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("confirmed");
        QTest::addColumn<int>("framesSeen");
        const QStringList midRun{EnteredUpgradeText, MemoryResetText,
                                 UpgradeIncompleteText + "246"};
        const QStringList atStart{NotEnteredUpgradeText + ReplyCountSeparator + "0",
                                  UpgradeIncompleteText + "256"};
        QTest::newRow("during page 10") << 13 << -1 << midRun << 10 << 13;
        QTest::newRow("gone before the run") << 0 << -1 << atStart << 0 << 0;
        QTest::newRow("writes refused from page 10") << -1 << 13 << midRun << 10 << 12;
        QTest::newRow("writes refused from the start") << -1 << 1 << atStart << 0 << 0;
        // Page 255 is frame 258: every page confirmed, the closing frame not sent.
        QTest::newRow("writes refused at the end")
            << -1 << 259
            << QStringList{EnteredUpgradeText, MemoryResetText, UpgradeIncompleteText + "0"} << 256
            << 258;
    }

    void lostLine() {
        QFETCH(int, hangUpAtFrame);
        QFETCH(int, refuseWritesAt);
        QFETCH(QStringList, lines);
        QFETCH(int, confirmed);
        QFETCH(int, framesSeen);
        SimulatorOptions options;
        options.HangUpAtFrame = hangUpAtFrame;
        Bench b(options);
        QVERIFY(b.Connect());
        if (hangUpAtFrame == 0) {
            b.sim.Stop();
        }
        if (refuseWritesAt == 1) {
            QVERIFY(RefuseWrites(b.link, b.sim.PortPath()));
        }
        int pagesDone = 0; // page p is frame p + 3, and is repainted once its echo is judged
        b.host.RepaintNote = [&] {
            if (++pagesDone == refuseWritesAt - 3) {
                RefuseWrites(b.link, b.sim.PortPath());
            }
            return 0;
        };

        const UpgradeResult result =
            RunUpgrade(b.link, b.host, b.Write(FirmwareFile(5, false)), b.Port());

        QVERIFY(result.LinkLost);
        QVERIFY(!result.Completed);
        QCOMPARE(result.PagesConfirmed, confirmed);
        QCOMPARE(result.Retries, 0);
        QCOMPARE(b.host.Log(), lines);
        QCOMPARE(b.host.Texts(RecordingHost::Kind::Status).back(), LinkLostStatusText);
        QCOMPARE(b.host.Count(RecordingHost::Kind::Message), 0); // no dump of a reply never sent
        QCOMPARE(static_cast<int>(FramesIn(b.sim).size()), framesSeen);
        QVERIFY(!b.link.Connected);
        QVERIFY(!IsPortOpen(b.link));
        QVERIFY(b.host.MonitorRunsAtEnd());
    }

    // An all-zero page must not pass on a missing or cut echo, which leaves the buffer zero. Echoes
    // that come and differ are the flash's fault; a device that never answered the page is gone.
    void missingEchoIsNotConfirmed_data() {
        QTest::addColumn<SimulatorOptions>("options");
        QTest::addColumn<int>("bytesRead");
        QTest::addColumn<bool>("lost"); // the connection, rather than the flash
        SimulatorOptions cut;
        cut.ShortReplyBytes = 10;
        SimulatorOptions none;
        none.StopAfterFrames = 2;
        QTest::newRow("echo cut to 10 bytes") << cut << 10 << false;
        QTest::newRow("no echo") << none << 0 << true;
    }

    void missingEchoIsNotConfirmed() {
        QFETCH(SimulatorOptions, options);
        QFETCH(int, bytesRead);
        QFETCH(bool, lost);
        Bench b(options);
        QVERIFY(b.Connect());
        const QByteArray zeros(FileArea, '\0');

        const UpgradeResult result = RunUpgrade(b.link, b.host, b.Write(zeros), b.Port());

        QCOMPARE(result.PagesConfirmed, 0);
        QCOMPARE(result.RefusedStep, UpgradeStep::WritePage);
        QStringList lines{EnteredUpgradeText, MemoryResetText};
        for (int i = 0; i < 4; ++i) {
            lines.append(NotConfirmedLine(0, bytesRead));
        }
        if (!lost) {
            lines << FlashFaultText;
        }
        lines << UpgradeIncompleteText + "256";
        QCOMPARE(b.host.Log(), lines);
        QCOMPARE(result.LinkLost, lost);
        QCOMPARE(b.host.Texts(RecordingHost::Kind::Status).back(),
                 lost ? LinkLostStatusText : FailedStatusText);
    }

    // A file that cannot be used sends nothing and leaves the log and the link as they were.
    void unusableFile_data() {
        QTest::addColumn<int>("size"); // -1: no file
        QTest::addColumn<QString>("line");
        QTest::addColumn<FirmwareFileStatus>("status");
        QTest::newRow("missing") << -1 << FirmwareFileNotOpenedText
                                 << FirmwareFileStatus::NotOpened;
        QTest::newRow("empty") << 0 << FirmwareFileShortText << FirmwareFileStatus::Short;
        QTest::newRow("image without pad")
            << 65536 << FirmwareFileShortText << FirmwareFileStatus::Short;
        QTest::newRow("one byte short")
            << 69631 << FirmwareFileShortText << FirmwareFileStatus::Short;
    }

    void unusableFile() {
        QFETCH(int, size);
        QFETCH(QString, line);
        QFETCH(FirmwareFileStatus, status);
        Bench b;
        QVERIFY(b.Connect());
        const QString path = size < 0 ? b.folder.filePath(QStringLiteral("gone.fmw"))
                                      : b.Write(FirmwareFile(5, false, size));
        b.host.AppendLogLine(QStringLiteral("earlier line"));

        const UpgradeResult result = RunUpgrade(b.link, b.host, path, b.Port());

        QCOMPARE(result.File, status);
        QVERIFY(result.InputError());
        QVERIFY(!result.Completed);
        QCOMPARE(b.host.Log(), (QStringList{QStringLiteral("earlier line"), line}));
        QVERIFY(b.host.Texts(RecordingHost::Kind::Status).isEmpty());
        QVERIFY(b.host.MonitorRunsAtEnd());
        QVERIFY(b.link.Connected);
        QVERIFY(IsPortOpen(b.link));
        // The next frame the device sees is the first one it sees at all.
        std::copy(frame::ProbeFrame.begin(), frame::ProbeFrame.end(), b.link.TxFrame.begin());
        Exchange(b.link, 7, 7);
        QCOMPARE(b.link.BytesRead, 7u);
        QCOMPARE(b.sim.FramesReceived(), 1);
    }

    void readFirmwareFile_data() {
        QTest::addColumn<int>("size");
        QTest::addColumn<FirmwareFileStatus>("status");
        QTest::newRow("empty") << 0 << FirmwareFileStatus::Short;
        QTest::newRow("one byte short") << 69631 << FirmwareFileStatus::Short;
        QTest::newRow("exact") << 69632 << FirmwareFileStatus::Read;
        QTest::newRow("one byte more") << 69633 << FirmwareFileStatus::Read;
        QTest::newRow("much longer") << 300000 << FirmwareFileStatus::Read;
    }

    void readFirmwareFile() {
        QFETCH(int, size);
        QFETCH(FirmwareFileStatus, status);
        Bench b;
        const QByteArray file = FirmwareFile(9, false, size);
        const FirmwareImage image = ReadFirmwareFile(b.Write(file));
        QCOMPARE(image.Status, status);
        const QByteArray kept = file.first(std::min<qsizetype>(size, FileArea));
        QCOMPARE(image.FileArea, Bytes(kept.begin(), kept.end()));
    }

    void recoveryPortName_data() {
        QTest::addColumn<QString>("overridePort");
        QTest::addColumn<QString>("lastAnswered");
        QTest::addColumn<QStringList>("candidates");
        QTest::addColumn<QString>("expected");
#ifdef _WIN32
        auto platform = [](const QString&) { return QStringLiteral("COM2"); };
#else
        auto platform = [](const QString& name) { return name; };
#endif
        const QStringList ports{"/dev/ttyUSB0", "/dev/ttyUSB1"};
        QTest::newRow("named by the operator") << "/dev/ttyS4"
                                               << "/dev/ttyUSB1" << ports << "/dev/ttyS4";
        QTest::newRow("where a device last answered") << ""
                                                      << "/dev/ttyUSB1" << ports << "/dev/ttyUSB1";
        QTest::newRow("first candidate") << ""
                                         << "" << ports << platform("/dev/ttyUSB0");
        QTest::newRow("nothing known") << ""
                                       << "" << QStringList{} << platform("");
    }

    void recoveryPortName() {
        QFETCH(QString, overridePort);
        QFETCH(QString, lastAnswered);
        QFETCH(QStringList, candidates);
        QFETCH(QString, expected);
        CommLink link;
        link.LastAnsweredPort = lastAnswered;
        QCOMPARE(RecoveryPortName(link, candidates, overridePort), expected);
    }

    void priorityIsGivenBack() {
        const int before = CurrentNice();
        {
            const RaisedPriority raised;
            QCOMPARE(CurrentNice() < before, raised.Raised());
        }
        QCOMPARE(CurrentNice(), before);
    }
};

QTEST_GUILESS_MAIN(UpgradeTest)
#include "tst_upgrade.moc"
