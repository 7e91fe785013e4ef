// A whole firmware upgrade against the simulator pacing every byte at 115200 baud; prints the
// time the run took against the wire time of the bytes it waited for (8N1: 10 bits a byte).
#include "bench/PacedDevice.h"
#include "device/Upgrade.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>

namespace {

// Counts what a run reports and shows nothing.
class QuietHost : public SilentHost {
public:
    int Lines = 0;
    void AppendLogLine(const QString&) override { ++Lines; }
};

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    constexpr double BitsPerByte = 10.0; // start, 8 data, stop
    constexpr double Baud = 115200.0;

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("bench.fmw"));
    {
        QFile file(path);
        QByteArray bytes(static_cast<qsizetype>(FirmwareFileAreaSize), '\0');
        QRandomGenerator random(1);
        for (char& byte : bytes) {
            byte = static_cast<char>(random.bounded(256));
        }
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
            std::fprintf(stderr, "bench: cannot write %s\n", qPrintable(path));
            return 1;
        }
    }

    DeviceSimulator sim(PacedOptions());
    CommLink link;
    if (!OpenPacedDevice(sim, link)) {
        return 1;
    }
    link.Connected = true;
    QuietHost host;

    const auto start = std::chrono::steady_clock::now();
    const UpgradeResult result = RunUpgrade(link, host, path, {});
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // EndUpgrade is written without a reply: the run does not wait for its wire time.
    std::size_t waitedBytes = 0;
    for (const TraceEntry& entry : sim.Trace()) {
        const bool endUpgrade = entry.Bytes.size() > frame::CommandAt &&
                                entry.Bytes[frame::CommandAt] == frame::command::EndUpgrade;
        if (entry.Way != TraceEntry::Direction::Dropped && !endUpgrade) {
            waitedBytes += entry.Bytes.size();
        }
    }
    const double wire = static_cast<double>(waitedBytes) * BitsPerByte / Baud;

    std::printf("pages confirmed  : %d of %d (retries %d)\n", result.PagesConfirmed,
                FirmwarePageCount, result.Retries);
    std::printf("bytes on the wire: %zu\n", waitedBytes);
    std::printf("wire time        : %.3f s\n", wire);
    std::printf("measured         : %.3f s\n", seconds);
    std::printf("ratio            : %.4f (target <= 1.05)\n", seconds / wire);
    return result.Completed ? 0 : 1;
}
