#include "app/CodePageCheck.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"
#include "common/UserError.h"
#ifndef _WIN32
#include "app/CodePagePlatformPosix.h"
#endif

#include <QTest>

namespace {

// The restart question exactly as the operators know it.
const QString QuestionCaption = QStringLiteral("پيغام سيستم");
const QString QuestionText = QStringLiteral("لطفاً ويندوز را ريبوت نمائيد و مجددا اجرا کنيد.");

// Keeps every call in order; answers the question and refuses one registry value as told.
class RecordingPlatform final : public CodePagePlatform {
public:
    std::optional<CodePages> Pages;
    QString RefusedValue;
    bool AnswerYes = false;
    bool ConverterPresent = true;
    bool FontPresent = true;
    QStringList Calls;

    std::optional<CodePages> SystemCodePages() override { return Pages; }
    void WriteCodePageValue(const QString& name, const QString& value) override {
        if (name == RefusedValue) {
            throw UserError(QStringLiteral("refused ") + name);
        }
        Calls.append(QStringLiteral("write %1=%2").arg(name, value));
    }
    void RunSilently(const QString& commandLine) override {
        Calls.append(QStringLiteral("run ") + commandLine);
    }
    bool AskYesNo(const QString& caption, const QString& text) override {
        Calls.append(QStringLiteral("ask"));
        if (caption != QuestionCaption || text != QuestionText) {
            Calls.append(QStringLiteral("wrong question: ") + caption + u'|' + text);
        }
        return AnswerYes;
    }
    void Beep() override { Calls.append(QStringLiteral("beep")); }
    void RequestRestart() override { Calls.append(QStringLiteral("restart")); }
    void ShowError(const QString& text) override { Calls.append(QStringLiteral("error ") + text); }
    bool Windows1256ConverterAvailable() override { return ConverterPresent; }
    bool FontCoversPersian() override { return FontPresent; }
    void ReportProblem(const QString& text) override {
        Calls.append(QStringLiteral("report ") + text);
    }
};

const QStringList Writes = {QStringLiteral("write ACP=1256"), QStringLiteral("write OEMCP=720")};
const QStringList Registrations = {QStringLiteral("run regsvr32 /s borlndmm.dll"),
                                   QStringLiteral("run regsvr32 /s cc3260mt.dll")};
const QStringList Restart = {QStringLiteral("beep"), QStringLiteral("restart")};

// What the window was told through the system layer's callbacks.
struct WindowRecord {
    QStringList Status;
    QStringList Log;
    QStringList Errors;
    int Questions = 0;

    CodePageCallbacks Callbacks() {
        return {[this](const QString& text) { Status.append(text); },
                [this](const QString& text) { Log.append(text); },
                [this](const QString& text) { Errors.append(text); },
                [this](const QString&, const QString&) {
                    ++Questions;
                    return false; // never a real restart, whatever layer asks
                },
                QFont()};
    }
};

} // namespace

class CodePageCheckTest : public QObject {
    Q_OBJECT

private slots:
    void codePages_data() {
        QTest::addColumn<unsigned>("ansi");
        QTest::addColumn<unsigned>("oem");
        QTest::addColumn<QString>("refused");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<QStringList>("calls");
        const QStringList asked = Writes + Registrations + QStringList{QStringLiteral("ask")};

        QTest::newRow("already right") << 1256u << 720u << QString() << true << QStringList();
        QTest::newRow("ANSI wrong, No") << 1252u << 720u << QString() << false << asked;
        QTest::newRow("OEM wrong, No") << 1256u << 437u << QString() << false << asked;
        QTest::newRow("both wrong, No") << 1252u << 437u << QString() << false << asked;
        QTest::newRow("ANSI wrong, Yes") << 1252u << 720u << QString() << true << asked + Restart;
        QTest::newRow("OEM wrong, Yes") << 1256u << 437u << QString() << true << asked + Restart;
        QTest::newRow("swapped, Yes") << 720u << 1256u << QString() << true << asked + Restart;
        QTest::newRow("OEM one off") << 1256u << 721u << QString() << false << asked;
        QTest::newRow("ACP refused") << 1252u << 437u << QStringLiteral("ACP") << true
                                     << QStringList{QStringLiteral("error refused ACP")};
        QTest::newRow("OEMCP refused")
            << 1256u << 437u << QStringLiteral("OEMCP") << true
            << QStringList{Writes[0], QStringLiteral("error refused OEMCP")};
        QTest::newRow("right, write would be refused")
            << 1256u << 720u << QStringLiteral("ACP") << true << QStringList();
    }

    void codePages() {
        QFETCH(unsigned, ansi);
        QFETCH(unsigned, oem);
        QFETCH(QString, refused);
        QFETCH(bool, yes);
        QFETCH(QStringList, calls);
        RecordingPlatform platform;
        platform.Pages = CodePages{ansi, oem};
        platform.RefusedValue = refused;
        platform.AnswerYes = yes;
        // A text problem must not be reported where the code pages are what counts.
        platform.ConverterPresent = false;
        platform.FontPresent = false;
        RunCodePageCheck(platform);
        QCOMPARE(platform.Calls, calls);
    }

    // Without system code pages nothing is written, run or asked, whatever is missing.
    void noCodePages_data() {
        QTest::addColumn<bool>("converter");
        QTest::addColumn<bool>("font");
        QTest::addColumn<int>("reports");
        QTest::newRow("both fine") << true << true << 0;
        QTest::newRow("no converter") << false << true << 1;
        QTest::newRow("no font") << true << false << 1;
        QTest::newRow("neither") << false << false << 1;
    }

    void noCodePages() {
        QFETCH(bool, converter);
        QFETCH(bool, font);
        QFETCH(int, reports);
        RecordingPlatform platform;
        platform.ConverterPresent = converter;
        platform.FontPresent = font;
        RunCodePageCheck(platform);
        QCOMPARE(platform.Calls.size(), reports);
        for (const QString& call : platform.Calls) {
            QVERIFY2(call.startsWith(QStringLiteral("report ")), qPrintable(call));
        }
    }

#ifndef _WIN32
    // The layer without code pages: one message, in the status bar and the log, that names
    // the package for what is missing and nothing else.
    void textSupport_data() {
        QTest::addColumn<bool>("converter");
        QTest::addColumn<bool>("font");
        QTest::addColumn<QStringList>("named");
        QTest::addColumn<QStringList>("notNamed");
        const QStringList converterPackages = {QStringLiteral("libqt6core6"),
                                               QStringLiteral("libicu72")};
        const QStringList fontPackages = {QStringLiteral("fonts-noto-ui-core")};
        QTest::newRow("both fine")
            << true << true << QStringList() << converterPackages + fontPackages;
        QTest::newRow("no converter") << false << true << converterPackages << fontPackages;
        QTest::newRow("no font") << true << false << fontPackages << converterPackages;
        QTest::newRow("neither") << false << false << converterPackages + fontPackages
                                 << QStringList();
    }

    void textSupport() {
        QFETCH(bool, converter);
        QFETCH(bool, font);
        QFETCH(QStringList, named);
        QFETCH(QStringList, notNamed);
        WindowRecord window;
        auto platform = MakeTextSupportPlatform(
            window.Callbacks(), {[converter] { return converter; }, [font] { return font; }});
        RunCodePageCheck(*platform);
        QCOMPARE(window.Questions, 0);
        QVERIFY(window.Errors.isEmpty());
        QCOMPARE(window.Log, window.Status);
        QCOMPARE(window.Status.size(), named.isEmpty() ? 0 : 1);
        for (const QString& package : named) {
            QVERIFY2(window.Status.value(0).contains(package), qPrintable(package));
        }
        for (const QString& package : notNamed) {
            QVERIFY2(!window.Status.value(0).contains(package), qPrintable(package));
        }
    }
#endif

    // The machine that runs the suite is set up like a user's (./test installs the font and
    // Qt's ICU build), so the real probes must find both.
    void systemProbes() {
        QVERIFY(Windows1256ConverterWorks());
        QVERIFY(FontCoversPersian(QFont(QStringLiteral("Noto Sans Arabic UI"))));
#ifndef _WIN32
        WindowRecord window;
        RunCodePageCheck(*MakeSystemCodePagePlatform(window.Callbacks()));
        QVERIFY2(window.Status.isEmpty(), qPrintable(window.Status.join(u'\n')));
        QCOMPARE(window.Questions, 0);
#endif
    }
};

QTEST_MAIN(CodePageCheckTest)
#include "tst_codepagecheck.moc"
