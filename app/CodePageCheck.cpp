#include "app/CodePageCheck.h"

#include "app/AppTexts.h"
#include "common/TextDisplay.h"
#include "common/TextFiles.h"

#include <QStringList>

namespace {

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
    QStringList missing;
    if (!platform.Windows1256ConverterAvailable()) {
        missing.append(NoConverterText().arg(Windows1256RemedyText()));
    }
    if (!platform.FontCoversPersian()) {
        missing.append(NoPersianFontText());
    }
    if (!missing.isEmpty()) {
        platform.ReportProblem(PersianTextProblemText() + missing.join(QStringLiteral("; ")));
    }
    const std::optional<CodePages> pages = platform.SystemCodePages();
    if (pages && (pages->Ansi != ArabicAnsiCodePage || pages->Oem != ArabicOemCodePage)) {
        platform.Note(OtherCodePagesText().arg(pages->Ansi).arg(pages->Oem));
    }
}

std::unique_ptr<CodePagePlatform> MakeCodePagePlatform(CodePageCallbacks callbacks,
                                                       TextSupportProbes probes) {
    return std::make_unique<SystemPlatform>(std::move(callbacks), std::move(probes));
}

std::unique_ptr<CodePagePlatform> MakeSystemCodePagePlatform(CodePageCallbacks callbacks) {
    return MakeCodePagePlatform(std::move(callbacks), {});
}
