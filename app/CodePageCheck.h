#pragma once

#include <QFont>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

// The text-setting check at the end of FormCreate: the program reads and writes Windows-1256
// itself and draws Persian with its own font, so it makes sure it can do both. The system's code
// pages (Windows' ANSI and OEM) are only read: this program does not need them, so the check
// never changes them (a machine-wide setting that every other program shares), runs nothing and
// asks nothing. Where they are not the Arabic ones it says so once in the log, for the sake of the
// older programs that may need them.

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
    virtual bool Windows1256ConverterAvailable() = 0;
    virtual bool FontCoversPersian() = 0;
    // A problem with the text setting, for the status bar and the log.
    virtual void ReportProblem(const QString& text) = 0;
    // A line for the log alone.
    virtual void Note(const QString& text) = 0;
};

void RunCodePageCheck(CodePagePlatform& platform);

// How the check reaches the window. An empty function does nothing.
struct CodePageCallbacks {
    std::function<void(const QString& text)> ShowStatus;
    std::function<void(const QString& text)> AppendLog;
    // The font the window draws with; left as is, the application's font.
    QFont WindowFont;
};

// What the check reads from the system, each replaceable for the tests; an empty function reads
// the real one.
struct TextSupportProbes {
    std::function<std::optional<CodePages>()> Pages;
    std::function<bool()> Converter;
    std::function<bool()> PersianFont;
};

std::unique_ptr<CodePagePlatform> MakeCodePagePlatform(CodePageCallbacks callbacks,
                                                       TextSupportProbes probes);
// The same with every probe the real one.
std::unique_ptr<CodePagePlatform> MakeSystemCodePagePlatform(CodePageCallbacks callbacks);

// The system's ANSI and OEM code pages; empty where it has none (CodePagePlatformPosix.cpp,
// CodePagePlatformWindows.cpp).
std::optional<CodePages> ReadSystemCodePages();
