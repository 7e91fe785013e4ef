#include "app/CodePageCheck.h"

#include "app/AppTexts.h"
#include "common/UserError.h"

#include <QCoreApplication>
#include <QStringList>
#include <array>

namespace {

constexpr unsigned ArabicAnsiCodePage = 1256;
constexpr unsigned ArabicOemCodePage = 720;

// The tool's two runtime libraries; a failed registration changes nothing for the user.
const std::array<QString, 2> RuntimeRegistrations = {QStringLiteral("regsvr32 /s borlndmm.dll"),
                                                     QStringLiteral("regsvr32 /s cc3260mt.dll")};

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
        platform.ReportProblem(
            IsolateLatinRuns(PersianTextProblemText() + missing.join(QStringLiteral("\u061B ")),
                             Wording::PersianWindow));
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
