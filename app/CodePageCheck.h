#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The text-setting check at the end of FormCreate. On Windows the Persian texts show right
// only when the system's ANSI code page is 1256 and its OEM code page 720; the check sets them
// and offers a restart. Elsewhere there are no system code pages: the program converts
// Windows-1256 itself, so the check makes sure it can, and that the window can draw Persian.

struct CodePages {
    unsigned Ansi = 0;
    unsigned Oem = 0;
};

// What the check needs from the system; the tests put a recorder in its place.
class CodePagePlatform {
public:
    virtual ~CodePagePlatform() = default;

    // Empty where the system has no code pages.
    virtual std::optional<CodePages> SystemCodePages() = 0;
    // Opens the code-page key (creating it when missing), writes the string value and closes
    // the key. Throws UserError, with the text to show, when the value cannot be written.
    virtual void WriteCodePageValue(const QString& name, const QString& value) = 0;
    // Runs a command line through the command interpreter without a window and waits for it.
    virtual void RunSilently(const QString& commandLine) = 0;
    // A modal warning box owned by the window, with Yes and No; true for Yes.
    virtual bool AskYesNo(const QString& caption, const QString& text) = 0;
    virtual void Beep() = 0;
    // Asks for a restart in which applications close normally and may save their work.
    virtual void RequestRestart() = 0;
    // The window's error box.
    virtual void ShowError(const QString& text) = 0;

    virtual bool Windows1256ConverterAvailable() = 0;
    virtual bool FontCoversPersian() = 0;
    // A problem with the text setting, for the status bar and the log.
    virtual void ReportProblem(const QString& text) = 0;
};

// Runs the check. A value that cannot be written is shown as an error and ends the check;
// nothing is thrown.
void RunCodePageCheck(CodePagePlatform& platform);

// How the system layer reaches the window. An empty function does nothing (an empty question
// answers No).
struct CodePageCallbacks {
    std::function<void(const QString& text)> ShowStatus;
    std::function<void(const QString& text)> AppendLog;
    std::function<void(const QString& text)> ShowError;
    std::function<bool(const QString& caption, const QString& text)> AskYesNo;
    // The font the window draws with; left as is, the application's font.
    QFont WindowFont;
};

// A text-setting problem said through the callbacks: in the status bar and in the log.
void ReportThroughCallbacks(const CodePageCallbacks& callbacks, const QString& text);

// The layer of the system the program was built for.
std::unique_ptr<CodePagePlatform> MakeSystemCodePagePlatform(CodePageCallbacks callbacks);
