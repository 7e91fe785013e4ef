// muezzin-cli: the device operations from a terminal. The command line is read, then the
// command it names is run.
#include "common/ConsoleOutput.h"
#include "common/StandardStreams.h"
#include "common/StopSignals.h"
#include "common/UserError.h"
#include "tools/cli/ParsedCommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <memory>
#include <optional>

namespace {

void PrintToOutput(const QString& text) {
    std::fputs(text.toUtf8().constData(), stdout);
}

// Prints the JSON document, when one was asked for, once the command has ended.
int PrintJsonReport(const std::optional<JsonReport>& report, int status) {
    if (report) {
        PrintToOutput(QString::fromUtf8(report->Document(status)));
    }
    return status;
}

int RunCommand(const ParsedCommandLine& commandLine) {
    const Command& command = *commandLine.Chosen;
    GlobalOptions global = commandLine.Global;
    std::optional<JsonReport> report;
    if (commandLine.Json) {
        report.emplace(commandLine.Name);
        global.Json = &*report;
    }
    StartFolderChoice start;
    if (command.UsesStartFolder) {
        start = ChooseStartFolderAndWarn(global.Folder);
        global.Folder = start.Folder;
    }
    try {
        int status = command.Run(*commandLine.Parser, global);
        if (const int signal = StopSignal()) {
            PrintError(QStringLiteral("stopped by %1").arg(StopSignalName(signal)));
            status = StopExitStatus(signal);
        }
        return PrintJsonReport(report, status);
    } catch (const UserError& error) {
        PrintError(error.Text());
        // A file of the start folder is missing: maybe the folder is not the one meant.
        if (command.UsesStartFolder && start.Problem.isEmpty() &&
            error.Text().contains(QDir::toNativeSeparators(start.Folder))) {
            PrintError(StartFolderHint(start));
        }
        if (report) {
            report->SetError(error.Text());
        }
        return PrintJsonReport(report, exitcode::InputError);
    }
}

// The doctor checks fonts, which need a QGuiApplication; it needs no display.
std::unique_ptr<QCoreApplication> MakeApplication(int& argc, char* argv[], bool drawsText) {
    if (drawsText) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return std::make_unique<QGuiApplication>(argc, argv);
    }
    return std::make_unique<QCoreApplication>(argc, argv);
}

// Whether the command line names a command that draws text, read silently from the arguments
// as they come, before the application object exists: enough for the command's name, which is
// ASCII in any code page.
bool CommandDrawsText(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments.append(QString::fromLocal8Bit(argv[i]));
    }
    const ParsedCommandLine commandLine = ParseCommandLine(arguments);
    return !commandLine.Exit && commandLine.Chosen->DrawsText;
}

} // namespace

int main(int argc, char* argv[]) {
    HoldClosedStandardStreams();
    PrepareConsoleOutput();
    InstallStopSignals();
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-cli"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    const std::unique_ptr<QCoreApplication> app =
        MakeApplication(argc, argv, CommandDrawsText(argc, argv));
    // Read as the application object hands them over: on Windows from the wide command line, so
    // that a Persian name or path is not lost to the ANSI code page.
    const ParsedCommandLine commandLine = ParseCommandLine(QCoreApplication::arguments());
    PrintToOutput(commandLine.Text);
    for (const QString& error : commandLine.Errors) {
        PrintError(error);
    }
    return FlushedOutputStatus(commandLine.Exit ? *commandLine.Exit : RunCommand(commandLine),
                               "muezzin-cli");
}
