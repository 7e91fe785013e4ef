// The table of problem kinds as scripts and operators meet it: each kind made once by a real
// cause through the programs, its JSON shape, its words in English and in Persian; and the
// Persian spelling of every text this project added.
#include "app/AppTexts.h"
#include "comm/CommLink.h"
#include "comm/PortProblems.h"
#include "common/Problem.h"
#include "common/ShownText.h"
#include "common/TextFiles.h"
#include "common/Translation.h"
#include "common/UserError.h"
#include "device/DeviceTexts.h"
#include "device/SettingsBlock.h"
#include "device/Upgrade.h"
#include "device/UpgradeTexts.h"
#include "location/CityImport.h"
#include "tests/ProcessRun.h"
#include "tests/StartFolderFixture.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSet>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const QString Cli = QStringLiteral(MUEZZIN_CLI);
const QString SourceDir = QStringLiteral(MUEZZIN_SOURCE_DIR "/");
constexpr int ThrowawayId = 54322; // a user and group of no one

// Where one cause runs: its folder (the working directory), a device when it needs one, the
// arguments, the user and the environment, and what must outlive the run.
struct Bench {
    QTemporaryDir Dir;
    std::unique_ptr<DeviceSimulator> Sim;
    QStringList Arguments;
    QStringList Wrapper; // a program that runs the command (timeout), before it
    int User = -1;       // -1: as the test runs
    QProcessEnvironment Env;
    std::vector<std::unique_ptr<QProcess>> Holders;
    QStringList Removed; // files to remove afterwards (lock files)

    QString Path(const QString& name) const { return Dir.filePath(name); }
    bool Write(const QString& name, const QByteArray& bytes) const {
        QFile file(Path(name));
        return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
    }
    bool StartDevice(const SimulatorOptions& options = {}) {
        Sim = std::make_unique<DeviceSimulator>(options);
        return Sim->Start();
    }
    QString Port() const { return PathOf(*Sim); }
    ~Bench() {
        for (const auto& holder : Holders) {
            holder->kill();
            holder->waitForFinished();
        }
        for (const QString& file : Removed) {
            QFile::remove(file);
        }
    }
};

// A kind and the real cause that makes it: the values it must carry, and how the bench is set.
struct Cause {
    const char* Name;
    const char* Kind;
    QStringList Values;
    std::function<bool(Bench&)> Prepare;
    bool AsAnotherUser = false; // needs root, to run the program as another user
};

QStringList Words(std::initializer_list<const char*> words) {
    QStringList list;
    for (const char* word : words) {
        list.append(QString::fromUtf8(word));
    }
    return list;
}

bool SampleFolder(Bench& bench) {
    return MakeSampleStartFolder(bench.Dir.path(), 0);
}

// The doctor on the start folder of the working directory, with the udev rules of a folder of the
// bench (none unless written there) and no port to check.
bool Doctor(Bench& bench) {
    bench.Arguments = Words({"doctor"});
    bench.Env.insert(QStringLiteral("MUEZZIN_UDEV_RULES_DIRS"), bench.Path("rules"));
    return QDir(bench.Dir.path()).mkpath(QStringLiteral("rules"));
}

bool Profile(Bench& bench, const QByteArray& text) {
    bench.Arguments = {QStringLiteral("apply"), QStringLiteral("--profile"),
                       QStringLiteral("p.ini"), QStringLiteral("--port"),
                       bench.Path(QStringLiteral("ttyNone"))};
    return SampleFolder(bench) && bench.Write(QStringLiteral("p.ini"), text);
}

// A lock file of the device's port, as a program with that number left it; named for another
// machine, so that the serial port itself would wait before it takes it for stale.
bool LockPort(Bench& bench, qint64 pid) {
    const QString lock = PortLockFile(bench.Port());
    bench.Removed.append(lock);
    QFile file(lock);
    return file.open(QIODevice::WriteOnly) &&
           file.write(QByteArray::number(pid) + "\nmuezzin-cli\nelsewhere\n") > 0;
}

// Settings the device holds, for a read-back to find.
bool StoreSettings(const DeviceSimulator& sim) {
    CommLink link;
    if (!OpenPort(link, PathOf(sim))) {
        return false;
    }
    const SettingsBlock block = BuildSettingsBlock(SettingsFields{}, SampleCounty, 24, {}, 1405);
    frame::Compose(link.TxFrame, frame::command::BlockWrite, 0, 0, block);
    Exchange(link, frame::BlockFrameSize, frame::BlockFrameSize);
    return link.BytesRead == frame::BlockFrameSize;
}

qint64 DeadPid() {
    QProcess process;
    process.start(QStringLiteral("true"), {});
    process.waitForFinished();
    return process.processId() > 0 ? process.processId() : 999999;
}

const std::vector<Cause>& Causes() {
    static const std::vector<Cause> causes = {
        {"a command that is none",
         "usage",
         {"command"},
         [](Bench& b) {
             b.Arguments = Words({"frob"});
             return true;
         }},
        {"apply without a county",
         "no-county",
         {},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("apply"), QStringLiteral("--port"), b.Path("ttyNone")};
             return SampleFolder(b);
         }},
        {"a county index the database lacks",
         "no-such-county",
         {"county", "database"},
         [](Bench& b) {
             b.Arguments = Words({"apply", "--county", "9999", "--port", "ttyNone"});
             return SampleFolder(b);
         }},
        {"a name of two counties",
         "ambiguous-county",
         {"name", "count", "candidates"},
         [](Bench& b) {
             b.Arguments = Words({"apply", "--county", "حسن\u200cآباد", "--port", "ttyNone"});
             return SampleFolder(b);
         }},
        {"a province list shorter than the database",
         "county-inconsistent",
         {"county", "province", "lines"},
         [](Bench& b) {
             b.Arguments = Words({"apply", "--county", "41", "--port", "ttyNone"});
             return SampleFolder(b) && b.Write("ostan.txt", "A\r\n");
         }},
        {"a county that is no number",
         "field-not-a-number",
         {"value", "file", "line"},
         [](Bench& b) { return Profile(b, "[location]\ncounty = forty\n"); }},
        {"a call number above a byte",
         "field-out-of-range",
         {"value", "low", "high", "key"},
         [](Bench& b) { return Profile(b, "[location]\ncounty = 41\n[dawn]\ncall = 300\n"); }},
        {"three digits after the point",
         "coordinate-invalid",
         {"value", "key"},
         [](Bench& b) { return Profile(b, "[location]\ncounty = 41\nlongitude = 51.425\n"); }},
        {"an unknown section",
         "profile-invalid",
         {"file", "line", "section"},
         [](Bench& b) { return Profile(b, "[evening]\ncall = 1\n"); }},
        {"a short upgrade file",
         "firmware-short",
         {"path", "size", "needed"},
         [](Bench& b) {
             b.Arguments = Words({"upgrade", "short.fmw", "--port", "ttyNone"});
             return SampleFolder(b) && b.Write("short.fmw", QByteArray(10, 'x'));
         }},
        {"an empty CSV",
         "import-refused",
         {"path"},
         [](Bench& b) {
             b.Arguments = Words({"import-cities", "empty.csv", "new.db"});
             return b.Write("ostan.txt", "A\r\n") && b.Write("empty.csv", {});
         }},
        {"a missing upgrade file",
         "file-not-found",
         {"path", "reason"},
         [](Bench& b) {
             b.Arguments = Words({"upgrade", "missing.fmw", "--port", "ttyNone"});
             return SampleFolder(b);
         }},
        {"a CSV another user may not read",
         "file-permission",
         {"path", "reason"},
         [](Bench& b) {
             b.Arguments = Words({"import-cities", "secret.csv", "/tmp/never-written.db"});
             b.User = ThrowawayId;
             return b.Write("ostan.txt", "A\r\n") && b.Write("secret.csv", "x\n") &&
                    ::chmod(QFile::encodeName(b.Path("secret.csv")).constData(), 0600) == 0 &&
                    ::chmod(QFile::encodeName(b.Dir.path()).constData(), 0755) == 0;
         },
         true},
        {"a folder for a CSV",
         "not-a-file",
         {"path"},
         [](Bench& b) {
             b.Arguments = Words({"import-cities", "folder", "new.db"});
             return b.Write("ostan.txt", "A\r\n") &&
                    QDir(b.Dir.path()).mkdir(QStringLiteral("folder"));
         }},
        {"a profile larger than a profile can be",
         "file-too-large",
         {"path", "limit"},
         [](Bench& b) { return Profile(b, QByteArray(600 * 1024, '#')); }},
        {"a profile written to a full disk",
         "disk-full",
         {"path"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("read-settings"), QStringLiteral("--profile-out"),
                            QStringLiteral("/dev/full"), QStringLiteral("--port"), b.Port()};
             return true;
         }},
        {"a CSV that is a loop of links",
         "file-failed",
         {"path", "reason"},
         [](Bench& b) {
             b.Arguments = Words({"import-cities", "loop.csv", "new.db"});
             return b.Write("ostan.txt", "A\r\n") &&
                    QFile::link(b.Path("loop.csv"), b.Path("loop.csv"));
         }},
        {"a city database that is text",
         "database-unusable",
         {"path", "detail"},
         [](Bench& b) {
             b.Arguments = Words({"counties"});
             return SampleFolder(b) && QFile::remove(b.Path("city.db")) &&
                    b.Write("city.db", QByteArray(4096, 'x'));
         }},
        {"a data folder below a file",
         "start-folder",
         {"folder"},
         [](Bench& b) {
             b.Arguments = Words({"counties"});
             b.Env.insert(QStringLiteral("XDG_DATA_HOME"), b.Path("blocker/share"));
             return b.Write("blocker", "a file");
         }},
        {"a port only root may open",
         "port-permission",
         {"port", "group"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Port()};
             b.User = ThrowawayId;
             const QByteArray port = QFile::encodeName(b.Port());
             return ::chown(port.constData(), 0, 0) == 0 && ::chmod(port.constData(), 0600) == 0;
         },
         true},
        {"a port another program locked",
         "port-in-use",
         {"port", "holders"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Port()};
             return LockPort(b, QCoreApplication::applicationPid());
         }},
        {"a lock another user left",
         "port-locked",
         {"port", "lock", "pid", "owner", "command"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Port()};
             b.User = ThrowawayId;
             return LockPort(b, DeadPid()) &&
                    ::chmod(QFile::encodeName(b.Port()).constData(), 0666) == 0;
         },
         true},
        {"a folder for a port",
         "not-a-serial-port",
         {"port", "what"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Dir.path()};
             return true;
         }},
        {"a port that is not there",
         "port-gone",
         {"port", "reason"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Path("ttyNone")};
             return true;
         }},
        {"a port name too long for the system",
         "port-failed",
         {"port", "reason"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"),
                            QStringLiteral("/") + QString(5000, u'a')};
             return true;
         }},
        {"no port to search",
         "no-device",
         {"ports"},
         [](Bench& b) {
             b.Arguments = Words({"find"});
             return true;
         }},
        {"a lock of a killed program, taken over",
         "lock-taken-over",
         {"port", "lock", "pid"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Port()};
             return LockPort(b, DeadPid());
         }},
        {"a program reading along",
         "port-shared",
         {"port", "holders"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Port()};
             auto holder = std::make_unique<QProcess>();
             holder->setStandardInputFile(b.Port());
             holder->start(QStringLiteral("sleep"), {QStringLiteral("60")});
             const bool started = holder->waitForStarted();
             b.Holders.push_back(std::move(holder));
             return started;
         }},
        {"one device under two names",
         "same-device",
         {"port", "other"},
         [](Bench& b) {
             b.Arguments = {QStringLiteral("find"), QStringLiteral("--port"), b.Port(),
                            QStringLiteral("--port"), b.Path("link")};
             return QFile::link(b.Port(), b.Path("link"));
         }},
        {"a start folder without its key file",
         "start-folder-hint",
         {"folder"},
         [](Bench& b) {
             b.Arguments = Words({"apply", "--county", "41", "--port", "ttyNone"});
             return SampleFolder(b) && QFile::remove(b.Path("encryp.key"));
         }},
        {"a county at the centre of its area",
         "approximate-coordinates",
         {"county"},
         [](Bench& b) {
             b.Arguments = Words({"apply", "--county", "900", "--port", "ttyNone"});
             return SampleFolder(b) &&
                    b.Write("c.csv", "Parts1_index,Parts2_index,Parts3_index,CountryParts2,"
                                     "CountryParts3,Longitude,Latitude,Approximate\n"
                                     "1,900,900,X,X,51.4,35.7,1\n") &&
                    QFile::remove(b.Path("city.db")) &&
                    ImportCitiesCsv(b.Path("c.csv"), b.Path("city.db")) == 1;
         }},
        {"an apply whose line is lost",
         "apply-incomplete",
         {"confirmed", "total"},
         [](Bench& b) {
             SimulatorOptions options;
             options.HangUpAtFrame = 10;
             b.Arguments =
                 Words({"apply", "--county", "41", "--port"}) + QStringList{b.Path("tty")};
             return SampleFolder(b) && b.StartDevice(options) &&
                    QFile::link(b.Port(), b.Path("tty"));
         }},
        {"an upgrade whose line is lost",
         "upgrade-stage-left",
         {"confirmed", "total"},
         [](Bench& b) {
             SimulatorOptions options;
             options.HangUpAtFrame = 10;
             b.Arguments = Words({"upgrade", "new.fmw", "--port"}) + QStringList{b.Path("tty")};
             return SampleFolder(b) &&
                    b.Write("new.fmw",
                            QByteArray(static_cast<qsizetype>(FirmwareFileAreaSize), '\x5A')) &&
                    b.StartDevice(options) && QFile::link(b.Port(), b.Path("tty"));
         }},
        {"an apply stopped by SIGTERM",
         "stopped",
         {"signal", "signal_number"},
         [](Bench& b) {
             SimulatorOptions options;
             options.Paced = true;
             b.Arguments =
                 Words({"apply", "--county", "41", "--port"}) + QStringList{b.Path("tty")};
             // Its ten years there, the run would take some ten seconds.
             b.Wrapper = Words({"timeout", "-s", "TERM", "1.5"});
             return MakeSampleStartFolder(b.Dir.path()) && b.StartDevice(options) &&
                    QFile::link(b.Port(), b.Path("tty"));
         }},
        {"the doctor without a port",
         "no-port",
         {},
         [](Bench& b) { return SampleFolder(b) && Doctor(b); }},
        {"the doctor without the tool's udev rule",
         "udev-rule",
         {"rule"},
         [](Bench& b) { return SampleFolder(b) && Doctor(b); }},
        {"the doctor with brltty's rule",
         "brltty-claims",
         {"claims", "command"},
         [](Bench& b) {
             return SampleFolder(b) && Doctor(b) &&
                    b.Write("rules/85-brltty.rules", "ENV{PRODUCT}==\"1a86/7523/*\", "
                                                     "GOTO=\"brltty_usb_run\"\n");
         }},
        {"the doctor with ModemManager running",
         "modemmanager-probes",
         {"pid", "families", "rule", "command"},
         [](Bench& b) {
             const QString program = b.Path("ModemManager");
             if (!SampleFolder(b) || !Doctor(b) ||
                 !QFile::copy(QStandardPaths::findExecutable(QStringLiteral("sleep")), program)) {
                 return false;
             }
             auto holder = std::make_unique<QProcess>();
             holder->start(program, {QStringLiteral("60")});
             const bool started = holder->waitForStarted();
             b.Holders.push_back(std::move(holder));
             return started;
         }},
        {"the doctor in an empty folder",
         "start-file-missing",
         {"folder", "file"},
         [](Bench& b) {
             return Doctor(b) && (b.Arguments += {QStringLiteral("--folder"), b.Dir.path()}, true);
         }},
        {"the doctor on an empty province list",
         "province-list-empty",
         {"path"},
         [](Bench& b) { return SampleFolder(b) && Doctor(b) && b.Write("ostan.txt", {}); }},
        {"the doctor on a city database that is text",
         "city-database-broken",
         {"path", "cause"},
         [](Bench& b) {
             return SampleFolder(b) && Doctor(b) && QFile::remove(b.Path("city.db")) &&
                    b.Write("city.db", QByteArray(4096, 'x'));
         }},
        {"the doctor on a folder named log.txt",
         "log-unwritable",
         {"path", "reason"},
         [](Bench& b) {
             return SampleFolder(b) && Doctor(b) && QDir(b.Dir.path()).mkdir("log.txt");
         }},
        {"the doctor on a timetable folder another user may not write",
         "timetable-folder",
         {"path", "reason"},
         [](Bench& b) {
             b.User = ThrowawayId;
             return SampleFolder(b) && Doctor(b) && QDir(b.Dir.path()).mkpath("data") &&
                    ::chmod(QFile::encodeName(b.Path("data")).constData(), 0555) == 0 &&
                    ::chmod(QFile::encodeName(b.Dir.path()).constData(), 0755) == 0;
         },
         true},
        {"the PC's clock in UTC",
         "time-zone",
         {"offset"},
         [](Bench& b) {
             b.Arguments = Words({"clock"});
             b.Env.insert(QStringLiteral("TZ"), QStringLiteral("UTC0"));
             return true;
         }},
        {"a county without coordinates",
         "timetable-year",
         {"year", "county", "path"},
         [](Bench& b) {
             b.Arguments = Words({"timetable", "--county", "900"});
             return SampleFolder(b) &&
                    b.Write("c.csv", "Parts1_index,Parts2_index,Parts3_index,CountryParts2,"
                                     "CountryParts3,Longitude,Latitude\n"
                                     "1,900,900,X,X,0,0\n") &&
                    QFile::remove(b.Path("city.db")) &&
                    ImportCitiesCsv(b.Path("c.csv"), b.Path("city.db")) == 1;
         }},
        {"the doctor without fonts",
         "no-persian-font",
         {},
         [](Bench& b) {
             b.Env.insert(QStringLiteral("FONTCONFIG_FILE"), b.Path("fonts.conf"));
             return SampleFolder(b) && Doctor(b) &&
                    b.Write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
         }},
    };
    return causes;
}

// Kinds no cause here makes, and why: their words are still checked with the table's.
const QMap<QString, QString>& WithoutCause() {
    static const QMap<QString, QString> kinds = {
        {QStringLiteral("file-held"), QStringLiteral("Windows alone holds files open")},
        {QStringLiteral("no-converter"),
         QStringLiteral("a system without its Windows-1256 converter (gconv modules)")},
        {QStringLiteral("unmappable-character"),
         QStringLiteral("no program writes text that refuses a character: log.txt keeps one the "
                        "code page lacks as its escape (tst_textfiles)")},
        {QStringLiteral("latency-timer"), QStringLiteral("an FTDI adapter plugged in")},
        {QStringLiteral("no-sqlite-driver"), QStringLiteral("a Qt without its SQLite driver")},
        {QStringLiteral("picture-format"), QStringLiteral("the window's --screenshot, below")},
        {QStringLiteral("other"), QStringLiteral("a message not yet given a kind")},
    };
    return kinds;
}

QStringList AsUser(int user, const QStringList& command) {
    if (user < 0) {
        return command;
    }
    return QStringList{QStringLiteral("setpriv"), QStringLiteral("--reuid=%1").arg(user),
                       QStringLiteral("--regid=%1").arg(user), QStringLiteral("--clear-groups"),
                       QStringLiteral("--")} +
           command;
}

QProcessEnvironment Environment() {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    static const QTemporaryDir home;
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.path());
    env.remove(QStringLiteral("MUEZZIN_PORTS"));
    env.insert(QStringLiteral("MUEZZIN_PORTS_ONLY"), QStringLiteral("1"));
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES", "LANG"}) {
        env.remove(QLatin1String(name));
    }
    return env;
}

// The problem of that kind in the document: what ended the command, a warning, or a device's.
QJsonObject FindProblem(const QJsonObject& report, const QString& kind) {
    QJsonArray candidates = report.value(QStringLiteral("warnings")).toArray();
    candidates.prepend(report.value(QStringLiteral("problem")));
    for (const char* entries : {"devices", "checks"}) {
        for (const QJsonValue& entry : report.value(QLatin1String(entries)).toArray()) {
            candidates.append(entry.toObject().value(QStringLiteral("problem")));
        }
    }
    for (const QJsonValue& candidate : candidates) {
        if (candidate.toObject().value(QStringLiteral("kind")).toString() == kind) {
            return candidate.toObject();
        }
    }
    return {};
}

bool HasControlCharacter(const QString& text) {
    return std::any_of(text.begin(), text.end(),
                       [](QChar c) { return EscapedKindOf(c.unicode()) != EscapedKind::None; });
}

const QRegularExpression& PersianLetters() {
    static const QRegularExpression letters(QStringLiteral("[\\x{0600}-\\x{06FF}]"));
    return letters;
}

bool ArabicYehOrKaf(const QString& text) {
    return text.contains(QChar(0x064A)) || text.contains(QChar(0x0643));
}

// The texts of the system's own that the code holds, which keep their spelling: the device
// operations' lines and boxes the operators know, and the window's captions.
QSet<QString> SystemTexts() {
    QSet<QString> texts;
    for (const QString& text :
         {ReceiveErrorText, NotChangedCountText, AppliedText, YearFileNotFoundText,
          ConnectDeviceText, FirmwareFileNotOpenedText, EnteredUpgradeText, NotEnteredUpgradeText,
          ConnectionEstablishedText, NoConnectionText, MemoryResetText, MemoryNotResetText,
          PageNotConfirmedText, PageResentText, FlashFaultText, TimetableHeads[0],
          TimetableHeads[2], TimetableHeads[4]}) {
        texts.insert(text.trimmed());
    }
    QFile form(SourceDir + QStringLiteral("app/TForm1.ui"));
    if (form.open(QIODevice::ReadOnly)) {
        const QString ui = QString::fromUtf8(form.readAll());
        const QRegularExpression caption(QStringLiteral("<string>([^<]*)</string>"));
        for (auto it = caption.globalMatch(ui); it.hasNext();) {
            texts.insert(it.next().captured(1).trimmed());
        }
    }
    return texts;
}

// The string literals of a source file, adjacent ones joined as the compiler joins them.
QStringList Literals(const QString& source) {
    static const QRegularExpression literal(
        QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\"((?:\\s*\"(?:[^\"\\\\\\n]|\\\\.)*\")*)"));
    static const QRegularExpression piece(QStringLiteral("\"((?:[^\"\\\\\\n]|\\\\.)*)\""));
    QStringList literals;
    for (auto it = literal.globalMatch(source); it.hasNext();) {
        QString joined;
        for (auto p = piece.globalMatch(it.next().captured(0)); p.hasNext();) {
            joined += p.next().captured(1);
        }
        literals.append(joined);
    }
    return literals;
}

// Runs of Arabic-script words (with the blanks and joiners between them) of a text file.
QStringList PersianRuns(const QString& text) {
    static const QRegularExpression run(
        QStringLiteral("[\\x{0600}-\\x{06FF}\\x{200C}](?:[\\x{0600}-\\x{06FF}\\x{200C} ]*"
                       "[\\x{0600}-\\x{06FF}\\x{200C}])?"));
    QStringList runs;
    for (auto it = run.globalMatch(text); it.hasNext();) {
        runs.append(it.next().captured(0));
    }
    return runs;
}

QString ReadText(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

class ProblemsTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { QVERIFY(InstallPersianTranslation(*QCoreApplication::instance())); }

    void kindsMadeByCauses_data() {
        QTest::addColumn<int>("cause");
        for (std::size_t i = 0; i < Causes().size(); ++i) {
            QTest::newRow(Causes()[i].Name) << static_cast<int>(i);
        }
    }

    // Each kind, made by its cause through the command line with --format json, in English and
    // in Persian: the document names it with its values, and its message is words, not
    // control characters.
    void kindsMadeByCauses() {
        QFETCH(int, cause);
        const Cause& row = Causes()[static_cast<std::size_t>(cause)];
        if (row.AsAnotherUser && ::geteuid() != 0) {
            QSKIP("another user's run needs root");
        }
        for (const QString& language : {QStringLiteral("C"), QStringLiteral("fa_IR.UTF-8")}) {
            Bench bench;
            bench.Env = Environment();
            bench.Env.insert(QStringLiteral("LANG"), language);
            SimulatorOptions options;
            options.Silent = row.Kind == QLatin1String("port-shared");
            QVERIFY(bench.StartDevice(options));
            if (row.Kind == QLatin1String("disk-full")) {
                QVERIFY(StoreSettings(*bench.Sim));
            }
            QVERIFY(row.Prepare(bench));
            const QStringList command =
                bench.Wrapper + AsUser(bench.User, QStringList{Cli} + bench.Arguments +
                                                       QStringList{QStringLiteral("--format"),
                                                                   QStringLiteral("json")});

            const Outcome run =
                RunProgram(command.first(), command.mid(1), bench.Dir.path(), bench.Env);

            QJsonParseError error{};
            const QJsonDocument document = QJsonDocument::fromJson(run.Out.toUtf8(), &error);
            QVERIFY2(error.error == QJsonParseError::NoError, qPrintable(run.Out + run.Err));
            const QJsonObject problem = FindProblem(document.object(), QLatin1String(row.Kind));
            QVERIFY2(!problem.isEmpty(), qPrintable(run.Out));
            const QString message = problem.value(QStringLiteral("message")).toString();
            QVERIFY(!message.isEmpty());
            QVERIFY2(!HasControlCharacter(message), qPrintable(message));
            QVERIFY2(run.Err.contains(message), qPrintable(run.Err)); // said as the document says
            for (const QString& name : row.Values) {
                QVERIFY2(problem.contains(name), qPrintable(name));
            }
            for (auto value = problem.begin(); value != problem.end(); ++value) {
                // An object only as the problem that caused this one, itself a problem.
                QVERIFY2(!value->isUndefined() &&
                             (!value->isObject() ||
                              (value.key() == QStringLiteral("cause") &&
                               value->toObject().contains(QStringLiteral("kind")))),
                         qPrintable(value.key()));
            }
            const bool persian = language != QStringLiteral("C");
            const QString kind = QLatin1String(row.Kind);
            const bool ownWords = kind == QStringLiteral("field-not-a-number");
            QCOMPARE(message.contains(PersianLetters()),
                     (persian && !ownWords) || kind == QStringLiteral("ambiguous-county"));
            QVERIFY2(!persian || !ArabicYehOrKaf(message), qPrintable(message));
            if (ProblemExitStatus(Problem(kind)) == 0) { // a warning: the run went on
                QVERIFY(document.object()
                            .value(QStringLiteral("warnings"))
                            .toArray()
                            .contains(QJsonValue(problem)));
            }
        }
    }

    // The window's picture in a format no writer has: the window says it on standard error.
    void windowPictureFormat() {
#ifdef MUEZZIN_CONFIG
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path(), 0));
        QProcessEnvironment env = Environment();
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
        const QString picture = dir.filePath(QStringLiteral("window.zzz"));
        const Outcome run = RunProgram(QStringLiteral(MUEZZIN_CONFIG),
                                       {QStringLiteral("--screenshot"), picture}, dir.path(), env);
        QCOMPARE(run.Status, 0);
        const Problem expected =
            Problem(QStringLiteral("picture-format")).Set(QStringLiteral("path"), picture);
        QVERIFY2(run.Err.contains(ProblemText(expected, Wording::English)), qPrintable(run.Err));
#else
        QSKIP("the window is not built");
#endif
    }

    // Every kind has a cause above or a reason not to, and every sentence words in English and
    // in Persian: the translation, in Persian spelling, with the same values.
    void everyKindHasACauseAndWords() {
        QSet<QString> caused;
        for (const Cause& cause : Causes()) {
            caused.insert(QLatin1String(cause.Kind));
        }
        const QRegularExpression value(QStringLiteral("\\{[a-z_]+\\}"));
        for (const ProblemKind& kind : ProblemKinds()) {
            const QString name = QLatin1String(kind.Kind);
            QVERIFY2(caused.contains(name) != WithoutCause().contains(name), qPrintable(name));
            int sentences = 0;
            for (const ProblemSentence& sentence : ProblemSentences()) {
                if (name != QLatin1String(sentence.Kind)) {
                    continue;
                }
                ++sentences;
                const QString english = QString::fromUtf8(sentence.Words.Text);
                const QString persian = QCoreApplication::translate(
                    ProblemContext, sentence.Words.Text, sentence.Words.Disambiguation);
                QVERIFY(!english.trimmed().isEmpty());
                if (!kind.Translated) {
                    continue;
                }
                QVERIFY2(persian.contains(PersianLetters()) ||
                             english == QStringLiteral("{detail}"),
                         qPrintable(english));
                QVERIFY2(!ArabicYehOrKaf(persian), qPrintable(persian));
                // log.txt holds every letter of it, as the code page's own or its look-alike.
                try {
                    ToWindows1256(persian);
                } catch (const UserError& error) {
                    QFAIL(qPrintable(persian + u' ' + error.Text()));
                }
                QStringList englishValues;
                QStringList persianValues;
                for (auto it = value.globalMatch(english); it.hasNext();) {
                    englishValues.append(it.next().captured(0));
                }
                for (auto it = value.globalMatch(persian); it.hasNext();) {
                    persianValues.append(it.next().captured(0));
                }
                // The system's English reason may be left to the Persian's own words.
                if (!persianValues.contains(QStringLiteral("{reason}"))) {
                    englishValues.removeAll(QStringLiteral("{reason}"));
                }
                englishValues.sort();
                englishValues.removeDuplicates();
                persianValues.sort();
                persianValues.removeDuplicates();
                QVERIFY2(persianValues == englishValues, qPrintable(persian));
            }
            QVERIFY2(sentences > 0, qPrintable(name));
        }
        for (const ProblemSentence& sentence : ProblemSentences()) {
            bool known = false;
            for (const ProblemKind& kind : ProblemKinds()) {
                known = known || QLatin1String(kind.Kind) == QLatin1String(sentence.Kind);
            }
            QVERIFY2(known, sentence.Kind);
        }
    }

    void persianSpelling_data() {
        QTest::addColumn<QString>("file");
        QDir root(SourceDir);
        for (const char* folder : {"app", "common", "comm", "device", "location", "tools", "files",
                                   "calendar", "prayer"}) {
            QDirIterator it(SourceDir + QLatin1String(folder),
                            {QStringLiteral("*.cpp"), QStringLiteral("*.h")}, QDir::Files,
                            QDirIterator::Subdirectories);
            while (it.hasNext()) {
                const QString path = root.relativeFilePath(it.next());
                QTest::newRow(qPrintable(path)) << path;
            }
        }
        for (const char* file :
             {"app/translations/muezzin-config_fa.ts", "packaging/muezzin-config.desktop",
              "packaging/muezzin-config.metainfo.xml.in", "README.md"}) {
            QTest::newRow(file) << QString::fromLatin1(file);
        }
    }

    // No text this project added holds the Arabic yeh or kaf; the system's own texts keep
    // theirs. The translation is all added.
    void persianSpelling() {
        QFETCH(QString, file);
        const QString text = ReadText(SourceDir + file);
        QVERIFY(!text.isEmpty());
        QStringList added;
        if (file.endsWith(QStringLiteral(".ts"))) {
            const QRegularExpression translation(
                QStringLiteral("<translation[^>]*>([^<]*)</translation>"));
            for (auto it = translation.globalMatch(text); it.hasNext();) {
                added.append(it.next().captured(1));
            }
        } else {
            static const QSet<QString> system = SystemTexts();
            const bool source =
                file.endsWith(QStringLiteral(".cpp")) || file.endsWith(QStringLiteral(".h"));
            for (const QString& part : source ? Literals(text) : PersianRuns(text)) {
                const bool own = std::any_of(system.begin(), system.end(), [&](const QString& s) {
                    return !part.trimmed().isEmpty() && s.contains(part.trimmed());
                });
                if (!own) {
                    added.append(part);
                }
            }
        }
        for (const QString& part : added) {
            QVERIFY2(!ArabicYehOrKaf(part), qPrintable(file + QStringLiteral(": ") + part));
        }
    }
};

QTEST_MAIN(ProblemsTest)
#include "tst_problems.moc"
