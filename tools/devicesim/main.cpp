// muezzin-sim: a muezzin device on a pseudo-terminal, for demonstrations and tests.
#include "common/CommandLine.h"
#include "common/ExitCodes.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <iostream>
#include <optional>
#include <vector>

namespace {

struct Options {
    SimulatorOptions Device;
    std::optional<QString> Link;  // a symbolic link to make to the port
    std::optional<QString> Trace; // where the trace goes on exit
    std::optional<QString> Dump;  // the folder of the memory dump on exit
};

QCommandLineOption Option(const char* name, const char* description, const char* value = "") {
    return {QString::fromLatin1(name), QString::fromLatin1(description),
            QString::fromLatin1(value)};
}

// An option that takes a whole number of 0 or more.
TableOption CountOption(const QCommandLineOption& option, std::function<void(int)> set) {
    return {option, [name = option.names().first(), set = std::move(set)](const QString& text) {
                bool ok = false;
                const int value = text.toInt(&ok);
                if (!ok || value < 0) {
                    return QStringLiteral("--%1 needs a whole number of 0 or more").arg(name);
                }
                set(value);
                return QString();
            }};
}

TableOption CountOption(const QCommandLineOption& option, int& target) {
    return CountOption(option, [&target](int value) { target = value; });
}

// The options besides the counts, in the order of the help, each taking its value into parsed.
std::vector<TableOption> OptionTable(Options& parsed) {
    SimulatorOptions& device = parsed.Device;
    return {
        TextOption(Option("link", "Make a symbolic link PATH to the port.", "PATH"), parsed.Link),
        TextOption(Option("trace",
                          "Write every frame in and out to FILE, one hex line each ('>' in, '<' "
                          "out, '#' dropped).",
                          "FILE"),
                   parsed.Trace),
        TextOption(Option("dump", "On exit write memory.bin and flash.bin to DIR.", "DIR"),
                   parsed.Dump),
        {Option("firmware-version", "The 12 data bytes of the version reply (default 032601SIM01).",
                "TEXT"),
         [&device](const QString& text) {
             const QByteArray bytes = text.toLatin1();
             if (bytes.size() > 12) {
                 return QStringLiteral("--firmware-version takes at most 12 characters");
             }
             device.VersionData.fill(0);
             std::copy(bytes.begin(), bytes.end(), device.VersionData.begin());
             return QString();
         }},
        SwitchOption(Option("silent", "Never answer."), device.Silent),
        SwitchOption(Option("wrong-header", "Corrupt the command byte of replies."),
                     device.WrongHeader),
        SwitchOption(Option("paced", "Give every byte its wire time at 115200 baud."),
                     device.Paced),
        SwitchOption(
            Option("upgrade-stage", "Start in the upgrade stage, as after an interrupted upgrade."),
            device.StartInUpgradeStage),
        SwitchOption(
            Option("refuse-erase", "Answer the erase of the upgrade stage without erasing."),
            device.RefuseErase),
        SwitchOption(Option("late-echo",
                            "Before the first reply, send a block's echo, as the late tail of a "
                            "reply to a program killed mid-exchange."),
                     device.LateEchoFirst),
        {Option("noise",
                "Flip each bit on the line, both ways, with probability RATE (0 to 1). A request "
                "whose header arrives garbled is ignored.",
                "RATE"),
         [&device](const QString& text) {
             bool ok = false;
             device.NoiseRate = text.toDouble(&ok);
             if (!ok || !(device.NoiseRate >= 0 && device.NoiseRate <= 1)) {
                 return QStringLiteral("--noise needs a probability from 0 to 1");
             }
             return QString();
         }},
        {Option("seed", "Seed of the noise: the same seed flips the same bits (default 1).", "N"),
         [&device](const QString& text) {
             bool ok = false;
             device.NoiseSeed = text.toULongLong(&ok);
             return ok ? QString() : QStringLiteral("--seed needs a whole number of 0 or more");
         }},
    };
}

// The faults that count, after the other options in the help.
std::vector<TableOption> CountTable(SimulatorOptions& device) {
    return {
        CountOption(Option("stop-after", "Answer only the first N frames.", "N"),
                    device.StopAfterFrames),
        CountOption(Option("short", "Cut every reply to N bytes.", "N"), device.ShortReplyBytes),
        CountOption(
            Option("flip-every", "Flip one echoed byte in every N-th block or page echo.", "N"),
            device.FlipEveryBlocks),
        CountOption(Option("delay", "Answer only after MS milliseconds.", "MS"),
                    [&device](int value) { device.ReplyDelay = std::chrono::milliseconds(value); }),
        CountOption(Option("hang-up-at", "At frame N send half the reply and close the line.", "N"),
                    device.HangUpAtFrame),
        CountOption(
            Option("never-confirm-page", "Flip one byte in every echo of upgrade page N.", "N"),
            device.NeverConfirmPage),
    };
}

// The options, checked; nothing when one is refused, which has been said.
std::optional<Options> ParseOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulates a muezzin device on a pseudo-terminal and prints the port path it\n"
        "serves. Runs until interrupted (Ctrl+C or SIGTERM)."));
    parser.addHelpOption();
    parser.addVersionOption();
    Options parsed;
    const std::vector<TableOption> options = OptionTable(parsed);
    const std::vector<TableOption> counts = CountTable(parsed.Device);
    AddOptions(parser, options);
    AddOptions(parser, counts);
    parser.process(arguments); // the help, the version and an unknown option end the program
    // Of several refused values the first count is said, else the first of the others.
    for (const std::vector<TableOption>* table : {&counts, &options}) {
        if (const QStringList refused = TakeOptions(parser, *table); !refused.isEmpty()) {
            std::cerr << "muezzin-sim: " << refused.first().toStdString() << '\n';
            return std::nullopt;
        }
    }
    return parsed;
}

// Serves the device until a stop signal comes, then leaves the trace and the dump.
int Run(const Options& options, const sigset_t& stopSignals) {
    DeviceSimulator simulator(options.Device);
    std::string error;
    if (!simulator.Start(&error)) {
        std::cerr << "muezzin-sim: cannot create a pseudo-terminal: " << error << '\n';
        return exitcode::Failed;
    }

    std::filesystem::path linkPath;
    if (options.Link) {
        linkPath = options.Link->toStdString();
        std::error_code ec;
        std::filesystem::remove(linkPath, ec);
        std::filesystem::create_symlink(simulator.PortPath(), linkPath, ec);
        if (ec) {
            std::cerr << "muezzin-sim: cannot link " << linkPath << ": " << ec.message() << '\n';
            return exitcode::Failed;
        }
    }
    std::cout << simulator.PortPath() << std::endl;

    int signal = 0;
    sigwait(&stopSignals, &signal);
    simulator.Stop();

    int status = exitcode::Ok;
    if (!linkPath.empty()) {
        std::error_code ec;
        std::filesystem::remove(linkPath, ec);
    }
    if (options.Trace && !simulator.WriteTrace(options.Trace->toStdString())) {
        std::cerr << "muezzin-sim: cannot write the trace\n";
        status = exitcode::Failed;
    }
    if (options.Dump) {
        const std::string folder = options.Dump->toStdString();
        std::error_code ec;
        std::filesystem::create_directories(folder, ec);
        if (!simulator.DumpTo(folder)) {
            std::cerr << "muezzin-sim: cannot write the dump to " << folder << '\n';
            status = exitcode::Failed;
        }
    }
    return status;
}

} // namespace

int main(int argc, char* argv[]) {
    // Block the stop signals in every thread; the main thread takes them with sigwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("muezzin-sim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PROJECT_VERSION));
    const std::optional<Options> options = ParseOptions(QCoreApplication::arguments());
    return options ? Run(*options, stopSignals) : exitcode::InputError;
}
