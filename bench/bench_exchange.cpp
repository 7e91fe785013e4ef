// 316 block exchanges (a whole configuration upload) against the simulator pacing every byte at
// 115200 baud; prints the time taken against the wire time of the same bytes (8N1). Then the
// search of the same device (open, probe, version query), timed the same way.
#include "bench/PacedDevice.h"
#include "comm/CommLink.h"
#include "comm/Discovery.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    constexpr int Blocks = 316;
    constexpr double BitsPerByte = 10.0; // start, 8 data, stop
    constexpr double Baud = 115200.0;

    DeviceSimulator sim(PacedOptions());
    CommLink link;
    if (!OpenPacedDevice(sim, link)) {
        return 1;
    }

    std::vector<std::uint8_t> block(frame::BlockDataSize);
    std::size_t bytesOnWire = 0;
    int confirmed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (int b = 0; b < Blocks; ++b) {
        const int address = b * 128;
        for (std::size_t i = 0; i < block.size(); ++i) {
            block[i] = static_cast<std::uint8_t>(b * 31 + i);
        }
        frame::Compose(link.TxFrame, frame::command::BlockWrite,
                       static_cast<std::uint8_t>(address >> 8), static_cast<std::uint8_t>(address),
                       block);
        link.WriteCount = frame::BlockFrameSize;
        link.ReadCount = frame::BlockFrameSize;
        const Transfer sent = SendFrame(link);
        const Transfer reply = ReceiveReply(link);
        bytesOnWire += sent.Bytes + reply.Bytes;
        if (reply.Bytes == frame::BlockFrameSize &&
            std::equal(block.begin(), block.end(), link.RxBuffer.begin() + frame::DataAt)) {
            ++confirmed;
        }
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const double wire = static_cast<double>(bytesOnWire) * BitsPerByte / Baud;

    std::printf("blocks confirmed : %d of %d\n", confirmed, Blocks);
    std::printf("bytes on the wire: %zu\n", bytesOnWire);
    std::printf("wire time        : %.3f s\n", wire);
    std::printf("measured         : %.3f s\n", seconds);
    std::printf("ratio            : %.4f (target <= 1.05)\n", seconds / wire);

    // A search opens the port anew each time; its median, over many, against the wire time of
    // the probe, the version query and their replies.
    constexpr int Searches = 200;
    constexpr std::size_t SearchBytes = 7 + 7 + 7 + 18;
    link.PortNames = {QString::fromStdString(sim.PortPath())};
    DiscoveryState state;
    std::vector<double> searches;
    for (int s = 0; s < Searches; ++s) {
        const auto begun = std::chrono::steady_clock::now();
        const bool found = FindDevice(link, state);
        searches.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count());
        if (!found) {
            std::printf("search %d found no device\n", s + 1);
            return 1;
        }
    }
    std::sort(searches.begin(), searches.end());
    const double searchWire = static_cast<double>(SearchBytes) * BitsPerByte / Baud;
    const double byteTime = BitsPerByte / Baud;
    const double median = searches[searches.size() / 2];
    std::printf("search, median of %d: %.3f ms (wire %.3f ms; %.1f byte times above it)\n",
                Searches, median * 1e3, searchWire * 1e3, (median - searchWire) / byteTime);

    // What a search spends on each probed port letting its line fall quiet first, on a quiet line.
    std::vector<double> waits;
    for (int s = 0; s < Searches; ++s) {
        const auto begun = std::chrono::steady_clock::now();
        DiscardUntilQuiet(link);
        waits.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - begun).count());
    }
    std::sort(waits.begin(), waits.end());
    const double wait = waits[waits.size() / 2];
    std::printf("quiet-line wait before a probe, median of %d: %.3f ms (%.1f byte times)\n",
                Searches, wait * 1e3, wait / byteTime);
    return confirmed == Blocks ? 0 : 1;
}
