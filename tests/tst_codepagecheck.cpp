#include "app/CodePageCheck.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"

#include <QTest>

namespace {

// What the window was told: the status bar's lines and the log's.
struct WindowRecord {
    QStringList Status;
    QStringList Log;

    CodePageCallbacks Callbacks() {
        return {[this](const QString& text) { Status.append(text); },
                [this](const QString& text) { Log.append(text); }, QFont()};
    }
};

} // namespace

class CodePageCheckTest : public QObject {
    Q_OBJECT

private slots:
    // Through the seam, with the system's code pages as a registry would give them. The check has
    // no way to write them, run a command or ask: whatever it finds, it only speaks.
    void check_data() {
        QTest::addColumn<bool>("hasPages");
        QTest::addColumn<unsigned>("ansi");
        QTest::addColumn<unsigned>("oem");
        QTest::addColumn<bool>("converter");
        QTest::addColumn<bool>("font");
        QTest::addColumn<QStringList>("problemNames"); // in the one status line, empty: none
        QTest::addColumn<bool>("pagesNoted");          // the log's line about the code pages

        const QStringList converter = {Windows1256RemedyText()};
        const QStringList font = {QStringLiteral("fonts-noto-ui-core")};
        QTest::newRow("no code pages, all there")
            << false << 0u << 0u << true << true << QStringList() << false;
        QTest::newRow("no code pages, no converter")
            << false << 0u << 0u << false << true << converter << false;
        QTest::newRow("no code pages, no font")
            << false << 0u << 0u << true << false << font << false;
        QTest::newRow("no code pages, neither")
            << false << 0u << 0u << false << false << converter + font << false;
        QTest::newRow("Arabic code pages")
            << true << 1256u << 720u << true << true << QStringList() << false;
        QTest::newRow("ANSI other")
            << true << 1252u << 720u << true << true << QStringList() << true;
        QTest::newRow("OEM other")
            << true << 1256u << 437u << true << true << QStringList() << true;
        QTest::newRow("OEM one off")
            << true << 1256u << 721u << true << true << QStringList() << true;
        QTest::newRow("swapped") << true << 720u << 1256u << true << true << QStringList() << true;
        QTest::newRow("UTF-8 as ANSI")
            << true << 65001u << 437u << true << true << QStringList() << true;
        QTest::newRow("other code pages, no converter")
            << true << 1252u << 437u << false << true << converter << true;
        QTest::newRow("Arabic code pages, no font")
            << true << 1256u << 720u << true << false << font << false;
    }

    void check() {
        QFETCH(bool, hasPages);
        QFETCH(unsigned, ansi);
        QFETCH(unsigned, oem);
        QFETCH(bool, converter);
        QFETCH(bool, font);
        QFETCH(QStringList, problemNames);
        QFETCH(bool, pagesNoted);
        WindowRecord window;
        int reads = 0;
        TextSupportProbes probes;
        probes.Pages = [&]() -> std::optional<CodePages> {
            ++reads;
            return hasPages ? std::optional(CodePages{ansi, oem}) : std::nullopt;
        };
        probes.Converter = [converter] { return converter; };
        probes.PersianFont = [font] { return font; };
        RunCodePageCheck(*MakeCodePagePlatform(window.Callbacks(), probes));

        QCOMPARE(reads, 1);
        QCOMPARE(window.Status.size(), problemNames.isEmpty() ? 0 : 1);
        for (const QString& name : problemNames) {
            QVERIFY2(window.Status.value(0).contains(name), qPrintable(name));
        }
        // Nothing named that is not missing.
        if (converter) {
            QVERIFY(!window.Status.value(0).contains(Windows1256RemedyText()));
        }
        if (font) {
            QVERIFY(!window.Status.value(0).contains(QStringLiteral("fonts-noto-ui-core")));
        }
        // The problem goes to the log as well, then the code pages' note, each once.
        QStringList expectedLog = window.Status;
        if (pagesNoted) {
            QCOMPARE(window.Log.size(), expectedLog.size() + 1);
            const QString note = window.Log.last();
            QVERIFY2(note.contains(QStringLiteral("%1 (ANSI)").arg(ansi)), qPrintable(note));
            QVERIFY2(note.contains(QStringLiteral("%1 (OEM)").arg(oem)), qPrintable(note));
            QVERIFY(note.contains(QStringLiteral("does not need them")));
            expectedLog.append(note);
        }
        QCOMPARE(window.Log, expectedLog);
    }

    // The machine that runs the suite is set up like a user's (./test installs the font; the
    // converter comes with the C library), so the real probes must find both.
    void systemProbes() {
        QVERIFY(Windows1256ConverterWorks());
        QVERIFY(FontCoversPersian(QFont(QStringLiteral("Noto Sans Arabic UI"))));
        WindowRecord window;
        RunCodePageCheck(*MakeSystemCodePagePlatform(window.Callbacks()));
        QVERIFY2(window.Status.isEmpty(), qPrintable(window.Status.join(u'\n')));
        QVERIFY2(window.Log.isEmpty(), qPrintable(window.Log.join(u'\n')));
    }
};

QTEST_MAIN(CodePageCheckTest)
#include "tst_codepagecheck.moc"
