#include "app/CodePageCheck.h"

#include "app/AppTexts.h"
#include "common/UserError.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QStringConverter>
#include <QStringList>
#include <array>

namespace {

constexpr unsigned ArabicAnsiCodePage = 1256;
constexpr unsigned ArabicOemCodePage = 720;

// The tool's two runtime libraries; a failed registration changes nothing for the user.
const std::array<QString, 2> RuntimeRegistrations = {QStringLiteral("regsvr32 /s borlndmm.dll"),
                                                     QStringLiteral("regsvr32 /s cc3260mt.dll")};

// Common letters and the four that only Persian has (peh, tcheh, jeh, gaf), with keheh and
// Farsi yeh.
constexpr std::array<char32_t, 8> PersianLetters = {0x0627, 0x0628, 0x067E, 0x0686,
                                                    0x0698, 0x06A9, 0x06AF, 0x06CC};

void SetArabicCodePages(CodePagePlatform& platform) {
    // Both values are written even when one is right: the pair is what the system reads.
    try {
        platform.WriteCodePageValue(QStringLiteral("ACP"), QString::number(ArabicAnsiCodePage));
        platform.WriteCodePageValue(QStringLiteral("OEMCP"), QString::number(ArabicOemCodePage));
    } catch (const UserError& error) {
        platform.ShowError(error.Text());
        return;
    }
    for (const QString& command : RuntimeRegistrations) {
        platform.RunSilently(command);
    }
    // The new code pages apply only after a restart; until then every start asks again.
    if (platform.AskYesNo(RestartQuestionCaption, RestartQuestionText)) {
        platform.Beep();
        platform.RequestRestart();
    }
}

void CheckTextSupport(CodePagePlatform& platform) {
    QStringList missing;
    if (!platform.Windows1256ConverterAvailable()) {
        missing.append(NoConverterText());
    }
    if (!platform.FontCoversPersian()) {
        missing.append(NoPersianFontText());
    }
    if (!missing.isEmpty()) {
        platform.ReportProblem(PersianTextProblemText() + missing.join(QStringLiteral("; ")));
    }
}

} // namespace

void RunCodePageCheck(CodePagePlatform& platform) {
    if (const std::optional<CodePages> pages = platform.SystemCodePages()) {
        if (pages->Ansi != ArabicAnsiCodePage || pages->Oem != ArabicOemCodePage) {
            SetArabicCodePages(platform);
        }
        return;
    }
    CheckTextSupport(platform);
}

void ReportThroughCallbacks(const CodePageCallbacks& callbacks, const QString& text) {
    if (callbacks.ShowStatus) {
        callbacks.ShowStatus(text);
    }
    if (callbacks.AppendLog) {
        callbacks.AppendLog(text);
    }
}

bool Windows1256ConverterWorks() {
    return QStringDecoder("windows-1256").isValid() && QStringEncoder("windows-1256").isValid();
}

bool FontCoversPersian(const QFont& font) {
    const QFontMetrics metrics(font);
    for (const char32_t letter : PersianLetters) {
        if (!metrics.inFontUcs4(letter)) {
            return false;
        }
    }
    return true;
}
