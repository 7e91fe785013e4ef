// muezzin-sim: a muezzin device on a pseudo-terminal, for demonstrations and tests.
#include "common/ExitCodes.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <optional>

namespace {

struct IntOption {
    QCommandLineOption option;
    int* target;
};

bool ParseVersion(const QString& text, SimulatorOptions& options) {
    const QByteArray bytes = text.toLatin1();
    if (bytes.size() > 12) {
        return false;
    }
    options.VersionData.fill(0);
    std::copy(bytes.begin(), bytes.end(), options.VersionData.begin());
    return true;
}

struct Options {
    SimulatorOptions Device;
    std::optional<QString> Link;  // a symbolic link to make to the port
    std::optional<QString> Trace; // where the trace goes on exit
    std::optional<QString> Dump;  // the folder of the memory dump on exit
};

// The options, checked; nothing when one is refused, which has been said.
std::optional<Options> ParseOptions(const QStringList& arguments) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Simulates a muezzin device on a pseudo-terminal and prints the port path it\n"
        "serves. Runs until interrupted (Ctrl+C or SIGTERM)."));
    parser.addHelpOption();
    parser.addVersionOption();

    const QCommandLineOption link(QStringLiteral("link"),
                                  QStringLiteral("Make a symbolic link PATH to the port."),
                                  QStringLiteral("PATH"));
    const QCommandLineOption trace(QStringLiteral("trace"),
                                   QStringLiteral("Write every frame in and out to FILE, one hex "
                                                  "line each ('>' in, '<' out, '#' dropped)."),
                                   QStringLiteral("FILE"));
    const QCommandLineOption dump(QStringLiteral("dump"),
                                  QStringLiteral("On exit write memory.bin and flash.bin to DIR."),
                                  QStringLiteral("DIR"));
    const QCommandLineOption version(
        QStringLiteral("firmware-version"),
        QStringLiteral("The 12 data bytes of the version reply (default 0326"
                       "01SIM01)."),
        QStringLiteral("TEXT"));
    const QCommandLineOption silent(QStringLiteral("silent"), QStringLiteral("Never answer."));
    const QCommandLineOption wrongHeader(QStringLiteral("wrong-header"),
                                         QStringLiteral("Corrupt the command byte of replies."));
    const QCommandLineOption paced(QStringLiteral("paced"),
                                   QStringLiteral("Give every byte its wire time at 115200 baud."));
    const QCommandLineOption refuseErase(
        QStringLiteral("refuse-erase"),
        QStringLiteral("Answer the erase of the upgrade stage without erasing."));
    const QCommandLineOption upgradeStage(
        QStringLiteral("upgrade-stage"),
        QStringLiteral("Start in the upgrade stage, as after an interrupted upgrade."));

    const QCommandLineOption noise(
        QStringLiteral("noise"),
        QStringLiteral("Flip each bit on the line, both ways, with probability RATE (0 to 1). A "
                       "request whose header arrives garbled is ignored."),
        QStringLiteral("RATE"));
    const QCommandLineOption seed(QStringLiteral("seed"),
                                  QStringLiteral("Seed of the noise: the same seed flips the same "
                                                 "bits (default 1)."),
                                  QStringLiteral("N"));

    Options parsed;
    SimulatorOptions& options = parsed.Device;
    int delayMs = 0;
    std::vector<IntOption> counts = {
        {{QStringLiteral("stop-after"), QStringLiteral("Answer only the first N frames."),
          QStringLiteral("N")},
         &options.StopAfterFrames},
        {{QStringLiteral("short"), QStringLiteral("Cut every reply to N bytes."),
          QStringLiteral("N")},
         &options.ShortReplyBytes},
        {{QStringLiteral("flip-every"),
          QStringLiteral("Flip one echoed byte in every N-th block or page echo."),
          QStringLiteral("N")},
         &options.FlipEveryBlocks},
        {{QStringLiteral("delay"), QStringLiteral("Answer only after MS milliseconds."),
          QStringLiteral("MS")},
         &delayMs},
        {{QStringLiteral("hang-up-at"),
          QStringLiteral("At frame N send half the reply and close the line."),
          QStringLiteral("N")},
         &options.HangUpAtFrame},
        {{QStringLiteral("never-confirm-page"),
          QStringLiteral("Flip one byte in every echo of upgrade page N."), QStringLiteral("N")},
         &options.NeverConfirmPage},
    };
    parser.addOptions({link, trace, dump, version, silent, wrongHeader, paced, upgradeStage,
                       refuseErase, noise, seed});
    for (const auto& count : counts) {
        parser.addOption(count.option);
    }
    parser.process(arguments);

    for (const auto& count : counts) {
        if (!parser.isSet(count.option)) {
            continue;
        }
        bool ok = false;
        const int value = parser.value(count.option).toInt(&ok);
        if (!ok || value < 0) {
            std::cerr << "muezzin-sim: --" << count.option.names().first().toStdString()
                      << " needs a whole number of 0 or more\n";
            return std::nullopt;
        }
        *count.target = value;
    }
    if (parser.isSet(version) && !ParseVersion(parser.value(version), options)) {
        std::cerr << "muezzin-sim: --firmware-version takes at most 12 characters\n";
        return std::nullopt;
    }
    if (parser.isSet(noise)) {
        bool ok = false;
        options.NoiseRate = parser.value(noise).toDouble(&ok);
        if (!ok || !(options.NoiseRate >= 0 && options.NoiseRate <= 1)) {
            std::cerr << "muezzin-sim: --noise needs a probability from 0 to 1\n";
            return std::nullopt;
        }
    }
    if (parser.isSet(seed)) {
        bool ok = false;
        options.NoiseSeed = parser.value(seed).toULongLong(&ok);
        if (!ok) {
            std::cerr << "muezzin-sim: --seed needs a whole number of 0 or more\n";
            return std::nullopt;
        }
    }
    options.ReplyDelay = std::chrono::milliseconds(delayMs);
    options.Silent = parser.isSet(silent);
    options.WrongHeader = parser.isSet(wrongHeader);
    options.Paced = parser.isSet(paced);
    options.StartInUpgradeStage = parser.isSet(upgradeStage);
    options.RefuseErase = parser.isSet(refuseErase);
    const auto valueOf = [&](const QCommandLineOption& option) -> std::optional<QString> {
        return parser.isSet(option) ? std::optional(parser.value(option)) : std::nullopt;
    };
    parsed.Link = valueOf(link);
    parsed.Trace = valueOf(trace);
    parsed.Dump = valueOf(dump);
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
