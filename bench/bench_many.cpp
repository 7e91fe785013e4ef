// muezzin-cli apply and upgrade on one paced simulator and on four at once, in one run: four
// devices must take hardly longer than one, as each has its own line and thread.
//
// Usage: bench_many [DEVICES]   (default 4)
#include "tests/StartFolderFixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

// Paced simulators on links in the folder; stopped when this goes.
class Devices {
public:
    ~Devices() {
        for (const auto& sim : sims_) {
            sim->terminate();
            sim->waitForFinished(5000);
        }
    }

    bool Start(const QTemporaryDir& dir, int count) {
        for (int i = 0; i < count; ++i) {
            const QString link = dir.filePath(QStringLiteral("muezzin%1").arg(i));
            sims_.push_back(std::make_unique<QProcess>());
            sims_.back()->start(QStringLiteral(MUEZZIN_SIM),
                                {QStringLiteral("--paced"), QStringLiteral("--link"), link});
            if (!sims_.back()->waitForReadyRead(10000)) {
                return false;
            }
            ports_ << QStringLiteral("--port") << link;
        }
        return true;
    }

    const QStringList& PortArguments() const { return ports_; }

private:
    std::vector<std::unique_ptr<QProcess>> sims_;
    QStringList ports_;
};

// The command's seconds on that many devices; nothing when it failed anywhere.
std::optional<double> TimeCommand(const QTemporaryDir& dir, const QStringList& command, int count) {
    Devices devices;
    if (!devices.Start(dir, count)) {
        std::fprintf(stderr, "bench_many: the simulators did not start\n");
        return std::nullopt;
    }
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    const auto started = Clock::now();
    cli.start(QStringLiteral(MUEZZIN_CLI), command + devices.PortArguments());
    const bool finished = cli.waitForFinished(300000);
    const double seconds = std::chrono::duration<double>(Clock::now() - started).count();
    if (!finished || cli.exitStatus() != QProcess::NormalExit || cli.exitCode() != 0) {
        std::fprintf(stderr, "bench_many: %s on %d device(s) failed:\n%s\n",
                     qPrintable(command.first()), count,
                     cli.readAllStandardOutput().right(2000).constData());
        return std::nullopt;
    }
    return seconds;
}

bool WriteFirmware(const QString& path) {
    QFile file(path);
    QByteArray bytes(69632, '\0');
    QRandomGenerator random(1);
    for (char& byte : bytes) {
        byte = static_cast<char>(random.bounded(256));
    }
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const int many = argc > 1 ? std::max(2, std::atoi(argv[1])) : 4;
    QTemporaryDir dir;
    const QString firmware = dir.filePath(QStringLiteral("bench.fmw"));
    if (!dir.isValid() || !MakeSampleStartFolder(dir.path()) || !WriteFirmware(firmware)) {
        std::fprintf(stderr, "bench_many: cannot set up the start folder\n");
        return 1;
    }
    const std::vector<std::pair<const char*, QStringList>> commands = {
        {"apply",
         {QStringLiteral("apply"), QStringLiteral("--county"), QString::number(SampleCounty)}},
        {"upgrade", {QStringLiteral("upgrade"), firmware}},
    };
    bool met = true;
    for (const auto& [name, command] : commands) {
        const auto one = TimeCommand(dir, command, 1);
        const auto all = one ? TimeCommand(dir, command, many) : std::nullopt;
        if (!one || !all) {
            return 1;
        }
        const double ratio = *all / *one;
        met = met && ratio <= 1.10;
        std::printf("%-8s 1 device %.3f s, %d devices %.3f s, ratio %.4f (target <= 1.10)\n", name,
                    *one, many, *all, ratio);
    }
    return met ? 0 : 1;
}
