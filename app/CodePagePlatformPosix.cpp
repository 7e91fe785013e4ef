// The text-setting check where the system has no code pages: nothing to set and nothing to
// restart, only what the program itself needs to handle Persian text.
#include "app/CodePagePlatformPosix.h"

#include "common/TextDisplay.h"
#include "common/TextFiles.h"

namespace {

class TextSupportPlatform final : public CodePagePlatform {
public:
    TextSupportPlatform(CodePageCallbacks callbacks, TextSupportProbes probes)
        : callbacks_(std::move(callbacks)), probes_(std::move(probes)) {}

    std::optional<CodePages> SystemCodePages() override { return std::nullopt; }
    // Without code pages the check never gets this far; these stay harmless if it did.
    void WriteCodePageValue(const QString&, const QString&) override {}
    void RunSilently(const QString&) override {}
    bool AskYesNo(const QString&, const QString&) override { return false; }
    void Beep() override {}
    void RequestRestart() override {}

    void ShowError(const QString& text) override {
        if (callbacks_.ShowError) {
            callbacks_.ShowError(text);
        }
    }
    bool Windows1256ConverterAvailable() override {
        return probes_.Converter ? probes_.Converter() : Windows1256ConverterWorks();
    }
    bool FontCoversPersian() override {
        return probes_.PersianFont ? probes_.PersianFont()
                                   : ::FontCoversPersian(callbacks_.WindowFont);
    }
    void ReportProblem(const QString& text) override { ReportThroughCallbacks(callbacks_, text); }

private:
    CodePageCallbacks callbacks_;
    TextSupportProbes probes_;
};

} // namespace

std::unique_ptr<CodePagePlatform> MakeTextSupportPlatform(CodePageCallbacks callbacks,
                                                          TextSupportProbes probes) {
    return std::make_unique<TextSupportPlatform>(std::move(callbacks), std::move(probes));
}

std::unique_ptr<CodePagePlatform> MakeSystemCodePagePlatform(CodePageCallbacks callbacks) {
    return MakeTextSupportPlatform(std::move(callbacks), {});
}
