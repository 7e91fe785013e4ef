#pragma once

#include "comm/Frame.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <mutex>
#include <random>
#include <string>
#include <thread>
#include <vector>

// What the simulated device does, faults included. A negative count switches a fault off.
struct SimulatorOptions {
    // Data bytes 0..11 of the version reply; the host shows them as "26.01.03.SIM01".
    std::array<std::uint8_t, 12> VersionData = {'0', '3', '2', '6', '0', '1',
                                                'S', 'I', 'M', '0', '1', 0};
    bool Silent = false;                     // never answer
    int StopAfterFrames = -1;                // answer the first N frames only
    int ShortReplyBytes = -1;                // cut every reply to N bytes
    bool WrongHeader = false;                // corrupt the command byte of every reply
    int WrongHeaderAfterFrames = 0;          // ... except those of the first N frames
    int FlipEveryBlocks = 0;                 // every N-th block or page echo has one byte flipped
    std::chrono::milliseconds ReplyDelay{0}; // wait this long before answering
    bool Paced = false;                      // every byte takes its wire time
    int BaudRate = 115200;
    int HangUpAtFrame = -1;           // at frame N, send half the reply and vanish
    bool StartInUpgradeStage = false; // as a device whose program was interrupted
    int NeverConfirmPage = -1;        // every echo of this page has its last byte flipped
    bool RefuseErase = false;         // answer the erase without erasing and without B3
    // Before the reply to the first frame, the echo of a block write: the tail of a reply given
    // to a program killed mid-exchange, as the next program meets it.
    bool LateEchoFirst = false;
    double NoiseRate = 0;        // chance of each bit flipping on the line, both ways
    std::uint64_t NoiseSeed = 1; // the same seed flips the same bits of the same traffic
};

struct TraceEntry {
    enum class Direction { In, Out, Dropped };
    Direction Way = Direction::In;
    std::vector<std::uint8_t> Bytes;
};

struct DeviceClock {
    std::uint8_t Second = 0, Minute = 0, Hour = 0, Day = 0, Month = 0, Year = 0;
    bool Set = false;
};

// A muezzin device behind a pseudo-terminal: the host opens PortPath() like any serial port.
class DeviceSimulator {
public:
    static constexpr std::size_t MemorySize = 65536;

    explicit DeviceSimulator(SimulatorOptions options = {});
    ~DeviceSimulator();
    DeviceSimulator(const DeviceSimulator&) = delete;
    DeviceSimulator& operator=(const DeviceSimulator&) = delete;

    // Creates the pseudo-terminal and starts answering on a thread of its own.
    bool Start(std::string* error = nullptr);
    // Stops answering and closes the line: an open host port sees the device vanish.
    void Stop();
    bool Running() const { return running_; }
    const std::string& PortPath() const { return portPath_; }

    // Puts bytes on the line at once, outside any reply (stale or stray input for the host).
    void SendRaw(const std::vector<std::uint8_t>& bytes);

    std::vector<TraceEntry> Trace() const;
    int FramesReceived() const;
    std::vector<std::uint8_t> Memory() const;
    std::vector<std::uint8_t> Flash() const;
    DeviceClock Clock() const;
    bool InUpgradeStage() const;
    int PagesWritten() const;
    // The port is in exclusive mode: a host holds it so, or one that is gone left it so and the
    // simulator has not cleared it yet.
    bool PortLocked() const;

    static std::string TraceLine(const TraceEntry& entry);
    bool WriteTrace(const std::string& path) const;
    bool DumpTo(const std::string& folder) const;

private:
    using Bytes = std::vector<std::uint8_t>;
    using TimePoint = std::chrono::steady_clock::time_point;

    void Run();
    void Feed(const std::uint8_t* data, std::size_t count, TimePoint arrivedAt);
    void TakeFrames();
    void Handle(const Bytes& frame);
    Bytes Answer(const Bytes& frame); // under mutex_
    void Send(Bytes reply);
    void WriteAll(const std::uint8_t* data, std::size_t count);
    void CloseLine();
    void Record(TraceEntry::Direction way, Bytes bytes); // under mutex_
    bool AddNoise(Bytes& bytes);                         // true when a bit was flipped
    void Wake();
    bool OpenCloseWatch();
    void WatchCloses(); // on closeThread_
    void TakeCloses();
    bool HeldByAnother() const;
    void EndCloseWatch();

    SimulatorOptions options_;
    std::chrono::nanoseconds byteTime_;
    std::atomic<int> master_{-1};
    int slaveKeeper_ = -1; // keeps the line up while no host has the port open
    int closeWatch_ = -1;  // reports each close of the port by a host
    std::array<int, 2> wake_ = {-1, -1};
    std::string portPath_;
    std::thread thread_;
    std::thread closeThread_;
    std::atomic<bool> running_{false};
    std::atomic<bool> stopping_{false};

    std::mt19937_64 noise_;
    std::uint64_t noiseThreshold_ = 0; // a draw below it flips the bit

    Bytes pending_;
    TimePoint lastByteAt_{};
    TimePoint inLineFreeAt_{};
    TimePoint outLineFreeAt_{};

    mutable std::mutex mutex_;
    std::vector<TraceEntry> trace_;
    Bytes memory_;
    Bytes flash_;
    DeviceClock clock_;
    int frames_ = 0;
    int echoes_ = 0;
    int pagesWritten_ = 0;
    bool upgradeStage_ = false;
};
