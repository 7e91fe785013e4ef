#include "app/CodePageCheck.h"

#include "app/AppTexts.h"
#include "common/DirectionMarks.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"

#include <QStringList>

namespace {

using namespace direction;

constexpr unsigned ArabicAnsiCodePage = 1256;
constexpr unsigned ArabicOemCodePage = 720;

class SystemPlatform final : public CodePagePlatform {
public:
    SystemPlatform(CodePageCallbacks callbacks, TextSupportProbes probes)
        : callbacks_(std::move(callbacks)), probes_(std::move(probes)) {}

    std::optional<CodePages> SystemCodePages() override {
        return probes_.Pages ? probes_.Pages() : ReadSystemCodePages();
    }
    bool Windows1256ConverterAvailable() override {
        return probes_.Converter ? probes_.Converter() : Windows1256ConverterWorks();
    }
    bool FontCoversPersian() override {
        return probes_.PersianFont ? probes_.PersianFont()
                                   : ::FontCoversPersian(callbacks_.WindowFont);
    }
    void ReportProblem(const QString& text) override {
        if (callbacks_.ShowStatus) {
            callbacks_.ShowStatus(text);
        }
        Note(text);
    }
    void Note(const QString& text) override {
        if (callbacks_.AppendLog) {
            callbacks_.AppendLog(text);
        }
    }

private:
    CodePageCallbacks callbacks_;
    TextSupportProbes probes_;
};

} // namespace

void RunCodePageCheck(CodePagePlatform& platform) {
    // Each part is worded, and isolated, on its own; the line is one right-to-left run of them.
    QStringList missing;
    if (!platform.Windows1256ConverterAvailable()) {
        missing.append(WindowWords(ConverterMissingProblem()));
    }
    if (!platform.FontCoversPersian()) {
        missing.append(IsolateLatinRuns(NoPersianFontText(), Wording::PersianWindow));
    }
    if (!missing.isEmpty()) {
        platform.ReportProblem(QChar(RightToLeftIsolate) +
                               IsolateLatinRuns(PersianTextProblemText(), Wording::PersianWindow) +
                               missing.join(QStringLiteral("\u061B ")) +
                               QChar(PopDirectionalIsolate));
    }
    const std::optional<CodePages> pages = platform.SystemCodePages();
    if (pages && (pages->Ansi != ArabicAnsiCodePage || pages->Oem != ArabicOemCodePage)) {
        platform.Note(OtherCodePagesText(pages->Ansi, pages->Oem));
    }
}

std::unique_ptr<CodePagePlatform> MakeCodePagePlatform(CodePageCallbacks callbacks,
                                                       TextSupportProbes probes) {
    return std::make_unique<SystemPlatform>(std::move(callbacks), std::move(probes));
}

std::unique_ptr<CodePagePlatform> MakeSystemCodePagePlatform(CodePageCallbacks callbacks) {
    return MakeCodePagePlatform(std::move(callbacks), {});
}
