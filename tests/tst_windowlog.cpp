// The event log's file across the window's start and close, whatever the disk: a close never
// costs the saved history, and a close that cannot keep this run's lines is refused.
#include "app/AppTexts.h"
#include "app/TForm1.h"
#include "common/TextFiles.h"
#include "tests/DiskConditions.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <optional>

namespace {

// Every byte but the line ends, a no-break space (0xA0) among them, on lines of their own.
QByteArray EveryByte() {
    QByteArray bytes;
    for (int b = 0; b < 256; ++b) {
        if (b != '\r' && b != '\n') {
            bytes += static_cast<char>(b);
        }
        if (b % 32 == 31) {
            bytes += "\r\n";
        }
    }
    return bytes;
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

class WindowLogTest : public QObject {
    Q_OBJECT

private slots:
    void closeKeepsTheHistory_data() {
        QTest::addColumn<QByteArray>("saved");
        QTest::addColumn<bool>("fullDisk");
        QTest::addColumn<bool>("unreadable"); // mode 0200: may be written, not read
        QTest::addColumn<bool>("ticked");     // the first tick loaded the saved log
        QTest::addColumn<bool>("closes");
        QTest::addColumn<bool>("appended"); // else replaced by the pane's lines
        const QByteArray page(SmallFilesystem::PageSize - 2, 'x');
        const QByteArray onePage = page + "\r\n"; // no room left in its page either
        QTest::newRow("loaded and saved unchanged: every byte survives")
            << EveryByte() << false << false << true << true << false;
        QTest::newRow("unreadable: this run's lines appended")
            << onePage << false << true << true << true << true;
        QTest::newRow("closed before the first tick: appended")
            << onePage << false << false << false << true << true;
        QTest::newRow("full disk: close refused")
            << onePage << true << false << true << false << false;
        QTest::newRow("unreadable on a full disk: close refused")
            << onePage << true << true << true << false << true;
    }

    void closeKeepsTheHistory() {
        QFETCH(QByteArray, saved);
        QFETCH(bool, fullDisk);
        QFETCH(bool, unreadable);
        QFETCH(bool, ticked);
        QFETCH(bool, closes);
        QFETCH(bool, appended);
        QTemporaryDir plain;
        std::optional<SmallFilesystem> small;
        if (fullDisk) {
            small.emplace();
            if (!small->Problem().isEmpty()) {
                QSKIP(qPrintable(small->Problem()));
            }
        }
        const QString folder = small ? small->Path() : plain.path();
        const QString logPath = folder + QStringLiteral("/log.txt");
        {
            QFile log(logPath);
            QVERIFY(log.open(QIODevice::WriteOnly));
            QCOMPARE(log.write(saved), saved.size());
        }
        if (unreadable) {
            QVERIFY(QFile::setPermissions(logPath, QFileDevice::WriteOwner));
            QVERIFY(OrdinaryUser::Hand(folder) && OrdinaryUser::Hand(logPath));
        }
        if (small) {
            QVERIFY(small->Fill());
        }
        OrdinaryUser user(unreadable);
        CommLink link;
        CalendarClock clock;
        WindowTiming timing;
        timing.StartTimers = false;
        TForm1 window(link, clock, folder + u'/', timing);
        std::vector<QString> boxes;
        window.SetMessageBox([&](const QString&, const QString& text) { boxes.push_back(text); });
        if (ticked) {
            window.Timer1Timer();
        }
        QCOMPARE(window.LogLines().isEmpty(), unreadable || !ticked);
        window.AppendLogLine(QStringLiteral(" \u06CC this run"));
        const QByteArray pane =
            ToWindows1256(window.LogLines().join(QStringLiteral("\r\n"))) + QByteArray("\r\n");

        QCOMPARE(window.FormCloseQuery(), closes);

        user.Leave();
        if (!closes) {
            QCOMPARE(ReadFile(logPath), saved);
            QVERIFY(!boxes.empty());
            QCOMPARE(boxes.back(),
                     WindowWords(Problem(QStringLiteral("disk-full"), QStringLiteral("write"))
                                     .Set(QStringLiteral("path"), logPath)));
        } else if (appended) {
            QCOMPARE(ReadFile(logPath), saved + pane);
        } else {
            QCOMPARE(ReadFile(logPath), saved + ToWindows1256(window.LogLines().last()) + "\r\n");
        }
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).filter(u"log.txt").size(),
                 1); // no temporary file left beside it
    }

    // A close refused because the log cannot be written leaves a window that still works: the
    // clock and the connection monitor run again, and a later close offers to go without the
    // log, which is then left as it was.
    void refusedCloseKeepsTheWindowAlive() {
        SmallFilesystem disk;
        if (!disk.Problem().isEmpty()) {
            QSKIP(qPrintable(disk.Problem() + QStringLiteral(": a read-only start folder is a "
                                                             "read-only mount, even for root")));
        }
        const QString logPath = disk.Path() + QStringLiteral("/log.txt");
        const QByteArray saved = "saved\r\n";
        for (const auto& [path, bytes] :
             {std::pair{logPath, saved},
              std::pair{disk.Path() + QStringLiteral("/ostan.txt"), QByteArray("A\r\n")}}) {
            QFile file(path);
            QVERIFY(file.open(QIODevice::WriteOnly));
            QCOMPARE(file.write(bytes), bytes.size());
        }
        QVERIFY(disk.MakeReadOnly());
        CommLink link;
        CalendarClock clock;
        TForm1 window(link, clock, disk.Path() + u'/');
        window.SetPortSources({[] { return QStringList(); }, {}}); // the machine's ports left alone
        std::vector<QString> boxes;
        std::vector<QString> questions;
        bool answer = false;
        window.SetMessageBox([&](const QString&, const QString& text) { boxes.push_back(text); });
        window.SetQuestionBox([&](const QString&, const QString& text) {
            questions.push_back(text);
            return answer;
        });
        window.Timer1Timer(); // loads the saved log
        window.AppendLogLine(QStringLiteral(" this run"));
        window.show();
        const auto running = [&] {
            return window.ClockTimer()->isActive() && window.MonitorTimer()->isActive();
        };
        QVERIFY(running());

        QVERIFY(!window.close());
        QVERIFY(window.isVisible());
        QVERIFY(running());
        QCOMPARE(boxes.size(), std::size_t{1});
        const QString error = WindowWords(
            Problem(QStringLiteral("file-failed"), QStringLiteral("write"))
                .Set(QStringLiteral("path"), logPath)
                .Set(QStringLiteral("reason"), QString::fromLocal8Bit(std::strerror(EROFS))));
        QCOMPARE(boxes.back(), error);
        QVERIFY(questions.empty());

        QVERIFY(!window.close()); // the operator keeps the window
        QVERIFY(running());
        QCOMPARE(boxes.size(), std::size_t{1});
        QCOMPARE(questions.size(), std::size_t{1});
        QCOMPARE(questions.back(), error + QStringLiteral("\n\n") + CloseWithoutLogQuestion());

        answer = true;
        QVERIFY(window.close());
        QVERIFY(!window.isVisible());
        QCOMPARE(questions.size(), std::size_t{2});
        QCOMPARE(ReadFile(logPath), saved);
    }
};

QTEST_MAIN(WindowLogTest)
#include "tst_windowlog.moc"
