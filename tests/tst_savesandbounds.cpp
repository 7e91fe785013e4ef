// The programs as a user runs them against hostile disks and inputs: a save that cannot be
// completed keeps the old file and says so, special files and links are written where they
// point, and no argument or input file makes a program overflow, hang or fill the memory.
#include "comm/CommLink.h"
#include "location/CityImport.h"
#include "tests/DiskConditions.h"
#include "tests/StartFolderFixture.h"
#include "tests/TestSupport.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QCryptographicHash>
#include <QDirIterator>
#include <QFileInfo>
#include <QMap>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <optional>
#include <sys/stat.h>
#include <sys/sysmacros.h>

namespace {

const QString Cli = QStringLiteral(MUEZZIN_CLI);
const QString Timetable = QStringLiteral(MUEZZIN_TIMETABLE);
const QString Sample = QStringLiteral(MUEZZIN_SOURCE_DIR "/sample/");

struct Outcome {
    int Status = -1; // -1: crashed, or still running after the time-out
    QByteArray Out;
    QString Err;
};

Outcome Run(const QString& program, const QStringList& arguments, const QString& folder) {
    QProcess process;
    process.setWorkingDirectory(folder);
    process.start(program, arguments);
    Outcome outcome;
    if (!process.waitForFinished(30000)) {
        process.kill();
        process.waitForFinished();
        return outcome;
    }
    outcome.Status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    outcome.Out = process.readAllStandardOutput();
    outcome.Err = QString::fromUtf8(process.readAllStandardError());
    return outcome;
}

bool Write(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every file under the folder with a digest of its bytes, hidden ones included.
QMap<QString, QByteArray> Snapshot(const QString& folder) {
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info(path);
        files.insert(path, info.isFile()
                               ? QCryptographicHash::hash(ReadFile(path), QCryptographicHash::Sha1)
                               : QByteArray("special"));
    }
    return files;
}

bool IsKind(const QString& path, mode_t kind) {
    struct stat info {};
    return ::lstat(QFile::encodeName(path).constData(), &info) == 0 &&
           (info.st_mode & S_IFMT) == kind;
}

enum class Target { FullDisk, ReadOnlyDisk, SymbolicLink, Fifo, Device, StandardOutput, LongName };

const QByteArray OldBytes = "the old file, which must survive\n";

// Settings for the device to hold: a block of zeros.
bool StoreSettings(const DeviceSimulator& sim) {
    CommLink link;
    if (!OpenPort(link, PathOf(sim))) {
        return false;
    }
    const std::array<std::uint8_t, frame::BlockDataSize> zeros{};
    frame::Compose(link.TxFrame, frame::command::BlockWrite, 0, 0, zeros);
    Exchange(link, frame::BlockFrameSize, frame::BlockFrameSize);
    return link.BytesRead == frame::BlockFrameSize;
}

} // namespace

Q_DECLARE_METATYPE(Target)

class SavesAndBoundsTest : public QObject {
    Q_OBJECT

private slots:
    // %target stands for the file saved, %port for the device's port.
    void saveFailures_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<Target>("target");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        const QStringList profileOut = {"read-settings", "--port", "%port", "--profile-out",
                                        "%target"};
        const QStringList import = {"import-cities", Sample + "city.csv", "%target"};
        const QStringList timetable = {"--county", "41", "--from", "1404", "--years", "1"};
        QTest::newRow("profile, full disk")
            << profileOut << Target::FullDisk << 2 << "%target: No space left on device";
        QTest::newRow("profile, read-only disk")
            << profileOut << Target::ReadOnlyDisk << 2 << "%target: Read-only file system";
        QTest::newRow("city database, full disk")
            << import << Target::FullDisk << 2 << "Cannot write %target";
        QTest::newRow("timetable file, full disk")
            << timetable << Target::FullDisk << 1 << "1404.PTL: No space left on device";
        QTest::newRow("profile through a symbolic link")
            << profileOut << Target::SymbolicLink << 0 << "";
        QTest::newRow("city database through a symbolic link")
            << import << Target::SymbolicLink << 0 << "";
        QTest::newRow("profile into a FIFO") << profileOut << Target::Fifo << 0 << "";
        QTest::newRow("profile into a device") << profileOut << Target::Device << 0 << "";
        QTest::newRow("profile to standard output")
            << profileOut << Target::StandardOutput << 0 << "";
        QTest::newRow("profile over one with a 246-character name")
            << profileOut << Target::LongName << 0 << "";
    }

    void saveFailures() {
        QFETCH(QStringList, arguments);
        QFETCH(Target, target);
        QFETCH(int, status);
        QFETCH(QString, says);
        const bool onSmallDisk = target == Target::FullDisk || target == Target::ReadOnlyDisk;
        std::optional<SmallFilesystem> small;
        QTemporaryDir plain;
        if (onSmallDisk) {
            small.emplace();
            if (!small->Problem().isEmpty()) {
                QSKIP(qPrintable(small->Problem()));
            }
        }
        if (target == Target::Device && ::geteuid() != 0) {
            QSKIP("making a device node needs root");
        }
        const QString folder = small ? small->Path() : plain.path();
        const bool timetable = !arguments.contains(QStringLiteral("--port")) &&
                               !arguments.contains(QStringLiteral("import-cities"));
        QVERIFY(MakeSampleStartFolder(folder, 0));
        const QString name =
            arguments.contains(QStringLiteral("import-cities")) ? QStringLiteral("city.db")
            : timetable                  ? QStringLiteral("data/24/34/41/1404.PTL")
            : target == Target::LongName ? QString(242, u'a') + QStringLiteral(".ini")
                                         : QStringLiteral("mine.ini");
        QString path = folder + u'/' + name;
        QVERIFY(QDir(folder).mkpath(QFileInfo(path).path()));
        QVERIFY(QFile::remove(path) || !QFile::exists(path));
        int reader = -1; // the FIFO's reading end, open before the program looks for one
        switch (target) {
        case Target::FullDisk:
        case Target::ReadOnlyDisk:
            QVERIFY(Write(path, OldBytes));
            QVERIFY(target == Target::FullDisk ? small->Fill() : small->MakeReadOnly());
            break;
        case Target::SymbolicLink:
            QVERIFY(Write(path + QStringLiteral(".real"), OldBytes));
            QVERIFY(QFile::link(QFileInfo(path).fileName() + QStringLiteral(".real"), path));
            break;
        case Target::Fifo:
            QCOMPARE(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
            reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
            QVERIFY(reader >= 0);
            break;
        case Target::Device: // the null device, in a folder of the test's own
            QCOMPARE(::mknod(QFile::encodeName(path).constData(), S_IFCHR | 0600, makedev(1, 3)),
                     0);
            break;
        case Target::StandardOutput:
            path = QStringLiteral("-");
            break;
        case Target::LongName:
            QVERIFY(Write(path, OldBytes));
            break;
        }
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        QVERIFY(StoreSettings(sim)); // an erased device gives no profile to write
        arguments.replaceInStrings(QStringLiteral("%target"), path);
        arguments.replaceInStrings(QStringLiteral("%port"), PathOf(sim));
        const auto before = Snapshot(folder);

        const Outcome run = timetable ? Run(Timetable, arguments << "--folder" << folder, folder)
                                      : Run(Cli, arguments, folder);

        QByteArray reached; // what the FIFO's reader got: all of it fits the pipe's buffer
        if (reader >= 0) {
            ::fcntl(reader, F_SETFL, 0);
            char buffer[4096];
            for (ssize_t n; (n = ::read(reader, buffer, sizeof buffer)) > 0;) {
                reached.append(buffer, n);
            }
            ::close(reader);
        }
        QCOMPARE(run.Status, status);
        QVERIFY2(run.Err.contains(says.replace(QStringLiteral("%target"), path)),
                 qPrintable(run.Err));
        switch (target) {
        case Target::FullDisk:
        case Target::ReadOnlyDisk:
            QCOMPARE(ReadFile(path), OldBytes);
            QCOMPARE(Snapshot(folder), before); // not a byte changed, nothing left behind
            break;
        case Target::SymbolicLink:
            QVERIFY(QFileInfo(path).isSymLink());
            QVERIFY(ReadFile(path + QStringLiteral(".real"))
                        .startsWith(name == QStringLiteral("city.db") ? "SQLite format 3"
                                                                      : "[location]"));
            break;
        case Target::Fifo:
            QVERIFY(IsKind(path, S_IFIFO));
            QVERIFY(reached.startsWith("[location]\ncounty = "));
            break;
        case Target::Device:
            QVERIFY(IsKind(path, S_IFCHR));
            break;
        case Target::StandardOutput: // the profile alone, the settings beside it
            QVERIFY(run.Out.startsWith("[location]\ncounty = "));
            QVERIFY(!run.Out.contains("province: "));
            QVERIFY(run.Err.startsWith("province: "));
            break;
        case Target::LongName: // replaced, no new file left beside it
            QVERIFY(ReadFile(path).startsWith("[location]\ncounty = "));
            QCOMPARE(Snapshot(folder).keys(), before.keys());
            break;
        }
    }

    // Refused inputs end with status 2 and a message, at once, before any frame and without a
    // file written; %folder stands for the start folder.
    void inputBounds_data() {
        QTest::addColumn<QStringList>("arguments"); // a timetable run when --from or --years
        QTest::addColumn<QString>("file");          // made before the run: name=content
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("says");
        QTest::addColumn<int>("filesMade");
        const QStringList apply = {"apply", "--county", "41", "--profile", "p.ini"};
        QTest::newRow("years beyond the int range") << QStringList{"--all", "--years", "2147483647"}
                                                    << "" << 2 << "--years takes 1 to 100" << 0;
        QTest::newRow("101 years")
            << QStringList{"--all", "--years", "101"} << "" << 2 << "--years takes 1 to 100" << 0;
        QTest::newRow("first year at the int's end")
            << QStringList{"--county", "41", "--from", "2147483647"} << "" << 2
            << "2147483647 to 2147483656 are not all within 1300..1555" << 0;
        QTest::newRow("last year one past the device's")
            << QStringList{"--county", "41", "--from", "1555", "--years", "2"} << "" << 2
            << "1300..1555" << 0;
        QTest::newRow("last year the device's last")
            << QStringList{"--county", "41", "--from", "1555", "--years", "1"} << "" << 0 << ""
            << 1;
        QTest::newRow("profile value with a NUL")
            << apply << QStringLiteral("p.ini=[location]\ncounty = 4\0001\n") << 2
            << "p.ini, line 2: a control character (U+0000)" << 0;
        QTest::newRow("profile key twice")
            << apply << "p.ini=[dawn]\ncall = 1\n[noon]\ncall = 2\n[dawn]\ncall = 3\n"
            << 2 << "p.ini, line 6: key 'call' in section [dawn] is given twice (first on line 2)"
            << 0;
        QTest::newRow("profile a FIFO")
            << apply << "p.ini=fifo" << 2 << "Cannot open file p.ini: not a regular file" << 0;
        QTest::newRow("profile without end")
            << QStringList{"apply", "--profile", "/dev/zero"} << "" << 2
            << "Cannot open file /dev/zero: not a regular file" << 0;
        QTest::newRow("profile too large") << apply << "p.ini=" + QString(600 * 1024, u'#') << 2
                                           << "Cannot read file p.ini: larger than 512 KiB" << 0;
        QTest::newRow("key file a FIFO")
            << QStringList{"apply", "--county", "41"} << "encryp.key=fifo" << 2
            << "encryp.key: not a regular file" << 0;
        // The log gets the window's line for a file that cannot be used.
        QTest::newRow("upgrade file a FIFO") << QStringList{"upgrade", "new.fmw"} << "new.fmw=fifo"
                                             << 2 << "new.fmw: not a regular file" << 1;
        QTest::newRow("cities without end")
            << QStringList{"import-cities", "/dev/zero"} << "" << 2
            << "Cannot open file /dev/zero: not a regular file" << 0;
        QTest::newRow("cities header only")
            << QStringList{"import-cities", "c.csv"}
            << "c.csv=Parts1_index,Parts2_index,Parts3_index,CountryParts2,CountryParts3,"
               "Longitude,Latitude\r\n"
            << 2 << "no county below its header line" << 0;
        QTest::newRow("cities line without end")
            << QStringList{"import-cities", "c.csv"} << "c.csv=" + QString(70000, u'1') << 2
            << "line 1: a line longer than 65536 bytes" << 0;
        QTest::newRow("cities into their own file")
            << QStringList{"import-cities", "c.csv", "%folder/c.csv"}
            << "c.csv=" + QString::fromUtf8(ReadFile(Sample + "city.csv")) << 2
            << "is the database file" << 0;
    }

    void inputBounds() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(int, status);
        QFETCH(QString, says);
        QFETCH(int, filesMade);
        QTemporaryDir dir;
        QVERIFY(MakeSampleStartFolder(dir.path(), 0));
        if (!file.isEmpty()) {
            const QString name = file.section(u'=', 0, 0);
            const QString content = file.mid(file.indexOf(u'=') + 1);
            QVERIFY(QFile::remove(dir.filePath(name)) || !QFile::exists(dir.filePath(name)));
            QVERIFY(content == QStringLiteral("fifo")
                        ? ::mkfifo(QFile::encodeName(dir.filePath(name)).constData(), 0600) == 0
                        : Write(dir.filePath(name), content.toUtf8()));
        }
        const auto before = Snapshot(dir.path());
        DeviceSimulator sim;
        QVERIFY(sim.Start());
        const bool timetable = arguments.contains(QStringLiteral("--years")) ||
                               arguments.contains(QStringLiteral("--from"));
        arguments.replaceInStrings(QStringLiteral("%folder"), dir.path());

        const Outcome run = timetable ? Run(Timetable, arguments, dir.path())
                                      : Run(Cli, arguments << "--port" << PathOf(sim), dir.path());

        QCOMPARE(run.Status, status);
        QVERIFY2(run.Err.contains(says), qPrintable(run.Err));
        QCOMPARE(sim.FramesReceived(), 0);
        const auto after = Snapshot(dir.path());
        for (auto it = before.begin(); it != before.end(); ++it) {
            QCOMPARE(after.value(it.key()), it.value()); // nothing changed
        }
        QCOMPARE(after.size() - before.size(), filesMade);
    }
};

QTEST_GUILESS_MAIN(SavesAndBoundsTest)
#include "tst_savesandbounds.moc"
