#include "comm/Discovery.h"
#include "comm/UdevRules.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>
#include <grp.h>
#include <sys/stat.h>
#include <unistd.h>

Q_DECLARE_METATYPE(PortDetails)
Q_DECLARE_METATYPE(PortProblem)
Q_DECLARE_METATYPE(std::vector<UsbId>)

namespace {

// A silent port costs the line's time-out; keep the searches in these tests short.
struct SearchLink : RecordingLink {
    SearchLink() {
        link.Timeouts.ReadTotalConstant = std::chrono::milliseconds(150);
        link.Timeouts.ReadTotalPerByte = std::chrono::milliseconds(5);
    }
};

PortSources Only(const QStringList& ports) {
    return {[ports] { return ports; }, {}};
}

SimulatorOptions Version(const std::string& text) {
    SimulatorOptions options;
    options.VersionData.fill(0);
    std::copy(text.begin(), text.end(), options.VersionData.begin());
    return options;
}

int FramesIn(const DeviceSimulator& sim) {
    int count = 0;
    for (const auto& entry : sim.Trace()) {
        count += entry.Way == TraceEntry::Direction::In ? 1 : 0;
    }
    return count;
}

} // namespace

class DiscoveryTest : public QObject {
    Q_OBJECT

private slots:
    void candidatePorts_data() {
        QTest::addColumn<int>("platformCount");
        QTest::addColumn<QString>("extra");
        QTest::addColumn<int>("expected");
        QTest::addColumn<QString>("last");
        QTest::newRow("none") << 0 << QString() << 0 << QString();
        QTest::newRow("platform only") << 3 << QString() << 3 << "/dev/ttyS2";
        QTest::newRow("extra appended") << 2 << "/tmp/a:/tmp/b" << 4 << "/tmp/b";
        QTest::newRow("empty parts skipped") << 0 << "::/tmp/a: :" << 1 << "/tmp/a";
        QTest::newRow("a by-path name, its colons escaped")
            << 0 << "/tmp/a:/dev/serial/by-path/pci-0000\\:00\\:14.0-usb-0\\:1\\:1.0-port0" << 2
            << "/dev/serial/by-path/pci-0000:00:14.0-usb-0:1:1.0-port0";
        QTest::newRow("duplicate not listed twice") << 2 << "/dev/ttyS1:/tmp/a" << 3 << "/tmp/a";
        QTest::newRow("platform capped at 99") << 120 << QString() << 99 << "/dev/ttyS98";
        QTest::newRow("cap, then extras") << 120 << "/tmp/sim" << 100 << "/tmp/sim";
    }

    void candidatePorts() {
        QFETCH(int, platformCount);
        QFETCH(QString, extra);
        QFETCH(int, expected);
        QFETCH(QString, last);
        QStringList platform;
        for (int i = 0; i < platformCount; ++i) {
            platform.append(QStringLiteral("/dev/ttyS%1").arg(i));
        }
        const QStringList ports =
            CandidatePorts({[platform] { return platform; }, [extra] { return extra; }});
        QCOMPARE(ports.size(), expected);
        if (expected > 0) {
            QCOMPARE(ports.last(), last);
            QCOMPARE(ports.first(),
                     platformCount > 0 ? QStringLiteral("/dev/ttyS0") : ports.first());
        }
    }

    void versionText_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("text");
        QTest::newRow("A to L") << QByteArray("ABCDEFGHIJKL") << "CD.EF.AB.GHIJK";
        QTest::newRow("digits") << QByteArray("032601SIM01\0", 12) << "26.01.03.SIM01";
        QTest::newRow("ends at a zero") << QByteArray("0326\0\0SIM01\0", 12) << "26.";
    }

    void versionText() {
        QFETCH(QByteArray, data);
        QFETCH(QString, text);
        std::array<frame::Byte, frame::BufferSize> reply{};
        std::copy(data.begin(), data.end(), reply.begin() + frame::DataAt);
        QCOMPARE(QString::fromStdString(VersionTextOf(reply)), text);
    }

    void noPortAtAll() {
        SearchLink r;
        ListPorts(r.link, Only({}));
        DiscoveryState state;
        QVERIFY(!FindDevice(r.link, state));
        QVERIFY(!r.link.Connected);
        QVERIFY(!IsPortOpen(r.link));
        QVERIFY(r.notices.empty());
    }

    // The first port is opened, probed and closed; the device on the second stays open.
    void deviceOnSecondPort() {
        SimulatorOptions silent;
        silent.Silent = true;
        DeviceSimulator first(silent);
        DeviceSimulator second(Version("ABCDEFGHIJKL"));
        QVERIFY(first.Start() && second.Start());
        SearchLink r;
        ListPorts(r.link, Only({PathOf(first), PathOf(second)}));
        DiscoveryState state;
        QVERIFY(FindDevice(r.link, state));
        QVERIFY(r.link.Connected);
        QCOMPARE(r.link.PortName, PathOf(second));
        QCOMPARE(r.link.LastAnsweredPort, PathOf(second));
        QCOMPARE(r.link.VersionText, std::string("CD.EF.AB.GHIJK"));
        QCOMPARE(FramesIn(first), 1);  // the probe only
        QCOMPARE(FramesIn(second), 2); // probe and version query
        QVERIFY(r.notices.empty());
    }

    void wrongProbeAnswerIsNoDevice() {
        SimulatorOptions wrong;
        wrong.WrongHeader = true;
        DeviceSimulator sim(wrong);
        QVERIFY(sim.Start());
        SearchLink r;
        ListPorts(r.link, Only({PathOf(sim)}));
        DiscoveryState state;
        QVERIFY(!FindDevice(r.link, state));
        QVERIFY(!r.link.Connected);
        QVERIFY(!IsPortOpen(r.link));
    }

    // Probe answered, version not: not connected, the port still held, and the next search
    // gives it up before it opens ports again.
    void failedVersionQuery() {
        SimulatorOptions options;
        options.StopAfterFrames = 1;
        DeviceSimulator sim(options);
        QVERIFY(sim.Start());
        SearchLink r;
        r.link.VersionText = "earlier";
        ListPorts(r.link, Only({PathOf(sim)}));
        DiscoveryState state;
        QVERIFY(!FindDevice(r.link, state)); // answered the probe only
        QVERIFY(!r.link.Connected);
        QVERIFY(IsPortOpen(r.link));
        QCOMPARE(r.link.VersionText, std::string("earlier"));
        FindDevice(r.link, state);
        QVERIFY(!IsPortOpen(r.link));
        QCOMPARE(FramesIn(sim), 3);
    }

    void versionPollOnOpenPort() {
        DeviceSimulator sim(Version("ABCDEFGHIJKL"));
        QVERIFY(sim.Start());
        SearchLink r;
        QVERIFY(OpenPort(r.link, PathOf(sim)));
        QVERIFY(QueryVersion(r.link));
        QCOMPARE(r.link.VersionText, std::string("CD.EF.AB.GHIJK"));
        sim.Stop();
        QVERIFY(!QueryVersion(r.link));
        QVERIFY(!r.link.Connected);
        QCOMPARE(r.link.VersionText, std::string("CD.EF.AB.GHIJK"));
    }

    // A port that cannot be opened shows its box once, until it has opened again.
    void openFailureShownOnce() {
        QTemporaryDir dir;
        const QString link = dir.filePath(QStringLiteral("muezzin0"));
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        SearchLink r;
        ListPorts(r.link, Only({link}));
        DiscoveryState state;
        for (int i = 0; i < 3; ++i) {
            FindDevice(r.link, state);
            QCOMPARE(state.Problems.size(), std::size_t{1});
            QCOMPARE(state.Problems[0].Error, ENOENT);
        }
        QCOMPARE(r.notices.size(), std::size_t{1});
        QCOMPARE(r.notices[0], Notice("Error occured while opening the port", "2"));

        std::filesystem::create_symlink(sim.PortPath(), link.toStdString());
        FindDevice(r.link, state);
        QVERIFY(r.link.Connected);
        QVERIFY(state.Problems.empty());
        ClosePort(r.link);
        r.link.Connected = false;

        std::filesystem::remove(link.toStdString());
        FindDevice(r.link, state);
        QCOMPARE(r.notices.size(), std::size_t{2}); // shown again after a success
    }

    void problemTexts_data() {
        QTest::addColumn<PortProblem>("problem");
        QTest::addColumn<QString>("text"); // after "cannot open /dev/ttyUSB0: "
        const auto make = [](int error, auto&&... fields) {
            PortProblem problem;
            problem.Port = QStringLiteral("/dev/ttyUSB0");
            problem.Error = error;
            (fields(problem), ...);
            return problem;
        };
        const auto group = [](const char* name) {
            return [name](PortProblem& p) { p.Group = QLatin1String(name); };
        };
        const auto user = [](PortProblem& p) { p.User = QStringLiteral("ali"); };
        const auto rootOnly = [](PortProblem& p) { p.RootOnly = true; };
        QTest::newRow("permission, its group may")
            << make(EACCES, group("uucp"))
            << "permission denied; add your user to the group 'uucp' and log in again";
        QTest::newRow("permission, its group may, the user known")
            << make(EACCES, group("dialout"), user)
            << "permission denied; add your user to the group 'dialout' (sudo usermod -aG "
               "dialout ali) and log in again";
        QTest::newRow("permission, in the group since this login")
            << make(EACCES, group("dialout"), user,
                    [](PortProblem& p) { p.LoginPredatesGroup = true; })
            << "permission denied: 'ali' was added to the group 'dialout' after this login "
               "session began; log out and in again";
        QTest::newRow("permission, only root may")
            << make(EACCES, group("dialout"), rootOnly)
            << "permission denied, and only root may open it; give it to 'dialout' with a udev "
               "rule (GROUP, MODE=\"0660\") and add your user to that group";
        QTest::newRow("permission, only root, no serial group")
            << make(EPERM, rootOnly)
            << "permission denied, and only root may open it; give it to a group with "
               "a udev rule (GROUP, MODE=\"0660\") and add your user to that group";
        QTest::newRow("permission, no advice") << make(EACCES) << "Permission denied";
        QTest::newRow("in use, holder unknown")
            << make(EBUSY)
            << "the port is in use by another program (another muezzin-cli, or the window); "
               "close it and try again";
        QTest::newRow("in use by two programs") << make(EBUSY, [](PortProblem& p) {
            p.Holders = {{QStringLiteral("minicom"), 4410}, {QStringLiteral("cat"), 77}};
        }) << "the port is in use by minicom (PID 4410), cat (PID 77); close it and try again";
        QTest::newRow("in use by ModemManager")
            << make(EBUSY,
                    [](PortProblem& p) {
                        p.Holders = {{QStringLiteral("ModemManager"), 812}};
                    })
            << "the port is in use by ModemManager (PID 812), which probes new adapters for a "
               "modem; wait until it lets go, and install the udev rule that keeps it off them "
               "(see 'muezzin-cli doctor')";
        QTest::newRow("in use by brltty")
            << make(EBUSY,
                    [](PortProblem& p) {
                        p.Holders = {{QStringLiteral("brltty"), 9}};
                    })
            << "the port is in use by brltty (PID 9), which takes the adapter for a braille "
               "display; remove it (sudo apt remove brltty) unless a braille display is used";
        QTest::newRow("a stale lock of another user")
            << make(EBUSY,
                    [](PortProblem& p) {
                        p.StaleLock = QStringLiteral("/var/lock/LCK..ttyUSB0");
                        p.StaleLockPid = 4321;
                        p.StaleLockOwner = QStringLiteral("root");
                    })
            << "its lock file /var/lock/LCK..ttyUSB0 was left by process 4321, which no longer "
               "runs, and belongs to root, so it cannot be taken over; remove it (sudo rm "
               "/var/lock/LCK..ttyUSB0)";
        QTest::newRow("a folder") << make(EISDIR, [](PortProblem& p) {
            p.What = QStringLiteral("a folder");
        }) << "it is a folder, not a serial port";
        QTest::newRow("another device") << make(ENOTTY) << "it is not a serial port";
        QTest::newRow("missing") << make(ENOENT) << "No such file or directory";
        QTest::newRow("missing, the adapter claimed by brltty")
            << make(ENOENT,
                    [](PortProblem& p) {
                        p.ClaimedAdapter = QStringLiteral("1a86:7523");
                        p.ClaimingRule = QStringLiteral("/usr/lib/udev/rules.d/85-brltty.rules");
                    })
            << "No such file or directory; brltty's udev rule "
               "/usr/lib/udev/rules.d/85-brltty.rules takes the USB serial adapter 1a86:7523 for "
               "a braille display, so it gets no port: remove brltty (sudo apt remove brltty) and "
               "plug the adapter in again";
    }

    void problemTexts() {
        QFETCH(PortProblem, problem);
        QFETCH(QString, text);
        QCOMPARE(problem.Describe(), QStringLiteral("cannot open /dev/ttyUSB0: ") + text);
    }

    // A group is named only when it owns the device and may read and write it.
    void permissionAdvice_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("group");
        QTest::addColumn<QString>("advised"); // the group in the problem
        QTest::addColumn<bool>("rootOnly");
        QTest::newRow("group may read and write") << 0660 << "dialout"
                                                  << "dialout" << false;
        QTest::newRow("group may only read") << 0640 << "dialout"
                                             << "dialout" << true;
        QTest::newRow("owned by root's group") << 0660 << "root"
                                               << "dialout" << true;
        QTest::newRow("everyone may: no advice") << 0666 << "root"
                                                 << "" << false;
    }

    void permissionAdvice() {
        QFETCH(int, mode);
        QFETCH(QString, group);
        QFETCH(QString, advised);
        QFETCH(bool, rootOnly);
        if (!getgrnam("dialout")) {
            QSKIP("the system has no group dialout");
        }
        const struct group* owner = getgrnam(group.toLatin1().constData());
        QVERIFY(owner);
        QTemporaryDir dir;
        const QString device = dir.filePath(QStringLiteral("ttyUSB0"));
        QFile file(device);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
        const QByteArray path = QFile::encodeName(device);
        if (chown(path.constData(), getuid(), owner->gr_gid) != 0) {
            QSKIP("cannot give the file to the group");
        }
        QCOMPARE(chmod(path.constData(), static_cast<mode_t>(mode)), 0);
        const PortProblem problem = DiagnoseOpenFailure(device, EACCES);
        QCOMPARE(problem.Group, advised);
        QCOMPARE(problem.RootOnly, rootOnly);
    }

    // The ids a rule names, as ModemManager's and brltty's rules write them.
    void udevRuleIds_data() {
        QTest::addColumn<QString>("rules");
        QTest::addColumn<QString>("setting"); // only lines that hold it
        QTest::addColumn<std::vector<UsbId>>("ids");
        QTest::newRow("one adapter")
            << R"(ATTRS{idVendor}=="05c6", ATTRS{idProduct}=="9211", ENV{ID_MM_DEVICE_IGNORE}="1")"
            << "" << std::vector<UsbId>{{0x05c6, 0x9211}};
        QTest::newRow("alternatives, capitals")
            << R"(ATTRS{idVendor}=="10C4", ATTRS{idProduct}=="ea60|EA70", ENV{X}="1")"
            << "" << std::vector<UsbId>{{0x10c4, 0xea60}, {0x10c4, 0xea70}};
        QTest::newRow("product variable, without leading zeros")
            << "# Device: 0403:6001\nENV{PRODUCT}==\"403/6001/*\", GOTO=\"brltty_usb_run\""
            << "" << std::vector<UsbId>{{0x0403, 0x6001}};
        QTest::newRow("other settings left out")
            << "ATTRS{idVendor}==\"1a86\", ATTRS{idProduct}==\"7523\", MODE=\"0660\"\n"
               "ATTRS{idVendor}==\"067b\", ATTRS{idProduct}==\"2303\", "
               "ENV{ID_MM_DEVICE_IGNORE}=\"1\""
            << "ID_MM_DEVICE_IGNORE" << std::vector<UsbId>{{0x067b, 0x2303}};
        QTest::newRow("vendor without product, not hex")
            << "ATTRS{idVendor}==\"1a86\", ENV{A}=\"1\"\n"
               "ATTRS{idVendor}==\"zz\", ATTRS{idProduct}==\"7523\""
            << "" << std::vector<UsbId>{};
    }

    void udevRuleIds() {
        QFETCH(QString, rules);
        QFETCH(QString, setting);
        QFETCH(std::vector<UsbId>, ids);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("77-test.rules")));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(rules.toUtf8());
        file.close();
        QVERIFY(UsbIdsInRules(file.fileName(), setting) == ids);
    }

    void portLines_data() {
        QTest::addColumn<PortDetails>("port");
        QTest::addColumn<QString>("line");
        PortDetails usb{QStringLiteral("/dev/ttyUSB0"),
                        QStringLiteral("FT232R USB UART"),
                        QStringLiteral("FTDI"),
                        0x0403,
                        0x6001,
                        QStringLiteral("A50285BI"),
                        {}};
        QTest::newRow("USB adapter")
            << usb << "/dev/ttyUSB0\tFT232R USB UART\tFTDI\t0403:6001\tA50285BI\t";
        QTest::newRow("pseudo-terminal: nothing known")
            << PortDetails{QStringLiteral("/tmp/muezzin0"), {}, {}, {}, {}, {}, {}}
            << "/tmp/muezzin0\t\t\t\t\t";
        usb.Problem = QStringLiteral("cannot open /dev/ttyUSB0: it is\tin use");
        QTest::newRow("a problem, last")
            << usb
            << "/dev/ttyUSB0\tFT232R USB UART\tFTDI\t0403:6001\tA50285BI\tcannot open "
               "/dev/ttyUSB0: it is in use";
        usb.Problem.clear();
        usb.ProductId.reset();
        usb.Description = QStringLiteral("two\tcolumns\nand a line ");
        QTest::newRow("vendor alone, tab and line break inside")
            << usb << "/dev/ttyUSB0\ttwo columns and a line\tFTDI\t0403:\tA50285BI\t";
    }

    void portLines() {
        QFETCH(PortDetails, port);
        QFETCH(QString, line);
        QCOMPARE(PortDetailsLine(port), line);
    }
};

QTEST_GUILESS_MAIN(DiscoveryTest)
#include "tst_discovery.moc"
