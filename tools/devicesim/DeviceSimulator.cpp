#include "tools/devicesim/DeviceSimulator.h"

#include "comm/PortLocks.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <limits>
#include <linux/kcmp.h>
#include <poll.h>
#include <sys/inotify.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <termios.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// A partial frame older than this is taken as line noise and dropped.
constexpr auto FrameGap = 200ms;

bool Matches(const std::vector<std::uint8_t>& frame, std::uint8_t command,
             const std::array<std::uint8_t, 2>& params) {
    return frame[frame::CommandAt] == command && frame[frame::ParamHighAt] == params[0] &&
           frame[frame::ParamLowAt] == params[1];
}

std::vector<std::uint8_t> Reply(std::uint8_t command, std::uint8_t high, std::uint8_t low,
                                const std::vector<std::uint8_t>& data) {
    std::vector<std::uint8_t> out(frame::FrameSize(data.size()));
    frame::Compose(out, command, high, low, data);
    return out;
}

// A 64-bit draw below this flips a bit with the given chance.
std::uint64_t NoiseThreshold(double rate) {
    if (!(rate > 0)) {
        return 0;
    }
    if (rate >= 1) {
        return std::numeric_limits<std::uint64_t>::max();
    }
    return static_cast<std::uint64_t>(std::ldexp(rate, 64));
}

// Whether a running program's serial port lock file names the line. A stale one, of a program
// gone, is taken over by the next open.
bool LockedByARunningProgram(const std::string& line) {
    const std::string name = PortLockName(line);
    const auto lockedIn = [&](const std::string& folder) {
        std::ifstream lock(folder + '/' + name);
        std::string first;
        return !folder.empty() && std::getline(lock, first) && ProcessRuns(LockOwnerInText(first));
    };
    const char* temporary = std::getenv("TMPDIR");
    return std::any_of(PortLockFolders.begin(), PortLockFolders.end(), lockedIn) ||
           lockedIn(temporary ? temporary : "");
}

} // namespace

DeviceSimulator::DeviceSimulator(SimulatorOptions options)
    : options_(options),
      byteTime_(std::chrono::nanoseconds(10'000'000'000LL / std::max(options.BaudRate, 1))),
      noise_(options.NoiseSeed), noiseThreshold_(NoiseThreshold(options.NoiseRate)),
      memory_(MemorySize, 0xFF), flash_(MemorySize, 0xFF),
      upgradeStage_(options.StartInUpgradeStage) {}

DeviceSimulator::~DeviceSimulator() {
    Stop();
}

bool DeviceSimulator::Start(std::string* error) {
    auto fail = [&](const char* what) {
        if (error) {
            *error = std::string(what) + ": " + std::strerror(errno);
        }
        CloseLine();
        return false;
    };
    // A pseudo-terminal's number is free again as soon as its last user closes it, but that
    // user's serial port removes its lock file only after the close: a line taken in between
    // would be refused as in use. Such numbers are held aside until another one comes.
    std::vector<int> heldAside;
    const auto release = [&] {
        for (const int fd : heldAside) {
            ::close(fd);
        }
    };
    std::array<char, 128> name{};
    for (;;) {
        // Not inherited: a program the tests start must not hold the line, nor the port.
        master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (master_ < 0) {
            release();
            return fail("posix_openpt");
        }
        if (ptsname_r(master_, name.data(), name.size()) != 0) {
            release();
            return fail("ptsname");
        }
        if (heldAside.size() >= 8 || !LockedByARunningProgram(name.data())) {
            break;
        }
        heldAside.push_back(master_.exchange(-1));
    }
    release();
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
        return fail("grantpt/unlockpt");
    }
    portPath_ = name.data();
    termios raw{};
    if (tcgetattr(master_, &raw) == 0) {
        cfmakeraw(&raw);
        cfsetspeed(&raw, B115200);
        tcsetattr(master_, TCSANOW, &raw);
    }
    slaveKeeper_ = ::open(portPath_.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (slaveKeeper_ < 0) {
        return fail("open slave");
    }
    if (pipe2(wake_.data(), O_CLOEXEC) != 0) {
        return fail("pipe");
    }
    stopping_ = false;
    running_ = true;
    thread_ = std::thread([this] { Run(); });
    if (OpenCloseWatch()) {
        closeThread_ = std::thread([this] { WatchCloses(); });
    }
    return true;
}

void DeviceSimulator::Stop() {
    stopping_ = true;
    Wake();
    if (thread_.joinable()) {
        thread_.join();
    }
    CloseLine();
    for (int& fd : wake_) {
        if (fd >= 0) {
            ::close(fd);
            fd = -1;
        }
    }
}

void DeviceSimulator::CloseLine() {
    EndCloseWatch(); // it uses the keeper
    if (const int fd = master_.exchange(-1); fd >= 0) {
        ::close(fd);
    }
    if (slaveKeeper_ >= 0) {
        ::close(slaveKeeper_);
        slaveKeeper_ = -1;
    }
    if (closeWatch_ >= 0) {
        ::close(closeWatch_);
        closeWatch_ = -1;
    }
    running_ = false;
}

// A real port forgets its exclusive mode at its last close; this one never has a last close, as
// the keeper holds it open. A host killed while it held the port (kill -9, a crash) would leave
// the port locked for every later run, so each close of the port is looked at as it happens, on
// a thread of its own: the device's thread may be busy pacing a reply nobody reads.
bool DeviceSimulator::OpenCloseWatch() {
    closeWatch_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    if (closeWatch_ >= 0 && ::inotify_add_watch(closeWatch_, portPath_.c_str(),
                                                IN_CLOSE_WRITE | IN_CLOSE_NOWRITE) < 0) {
        ::close(closeWatch_);
        closeWatch_ = -1; // the port then stays locked after a killed host, as before
    }
    return closeWatch_ >= 0;
}

void DeviceSimulator::WatchCloses() {
    for (;;) {
        std::array<pollfd, 2> fds = {pollfd{closeWatch_, POLLIN, 0}, pollfd{wake_[0], POLLIN, 0}};
        if ((::poll(fds.data(), fds.size(), -1) < 0 && errno != EINTR) || fds[1].revents != 0) {
            return;
        }
        if (fds[0].revents & POLLIN) {
            TakeCloses();
        }
    }
}

// The wake byte stays in its pipe, so that every thread that polls it sees it.
void DeviceSimulator::Wake() {
    if (wake_[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] auto n = ::write(wake_[1], &byte, 1);
    }
}

void DeviceSimulator::EndCloseWatch() {
    if (closeThread_.joinable()) {
        Wake();
        closeThread_.join();
    }
}

bool DeviceSimulator::PortLocked() const {
    int exclusive = 0;
    return slaveKeeper_ >= 0 && ::ioctl(slaveKeeper_, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}

// A port still exclusive once no host holds it was left so by one that is gone: the mode is
// cleared, as the last close of a real port clears it.
void DeviceSimulator::TakeCloses() {
    std::array<char, 4096> events{};
    while (::read(closeWatch_, events.data(), events.size()) > 0) {
    }
    if (PortLocked() && !HeldByAnother()) {
        ::ioctl(slaveKeeper_, TIOCNXCL);
    }
}

// Whether the port is open anywhere but through the keeper, in any process (this one too: a
// test may hold the port itself). A copy of the keeper in a process just forked, before its exec
// drops it, is the keeper.
bool DeviceSimulator::HeldByAnother() const {
    namespace fs = std::filesystem;
    const fs::path port = portPath_;
    const pid_t self = ::getpid();
    // Stepped with an error code: a process that ends mid-scan takes its entries with it, and
    // the throwing increment would end the close-watch thread and the simulator with it.
    std::error_code ec;
    for (fs::directory_iterator process("/proc", ec), end; !ec && process != end;
         process.increment(ec)) {
        const std::string name = process->path().filename().string();
        if (name.empty() || name.find_first_not_of("0123456789") != std::string::npos) {
            continue;
        }
        std::error_code unreadable; // another user's process, or one that has just ended
        for (fs::directory_iterator fd(process->path() / "fd", unreadable);
             !unreadable && fd != end; fd.increment(unreadable)) {
            std::error_code gone;
            if (fs::read_symlink(fd->path(), gone) != port) {
                continue;
            }
            const long number = std::stol(fd->path().filename().string());
            if (::syscall(SYS_kcmp, self, std::stol(name), KCMP_FILE, slaveKeeper_, number) != 0) {
                return true;
            }
        }
    }
    return false;
}

void DeviceSimulator::Run() {
    prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL); // pacing wants microsecond wake-ups
    std::array<std::uint8_t, 1024> chunk{};
    while (!stopping_ && master_ >= 0) {
        std::array<pollfd, 2> fds = {pollfd{master_, POLLIN, 0}, pollfd{wake_[0], POLLIN, 0}};
        const int ready = ::poll(fds.data(), fds.size(), 100);
        if (ready < 0 && errno != EINTR) {
            break;
        }
        if (fds[1].revents != 0) {
            break;
        }
        if (!(fds[0].revents & POLLIN)) {
            if (!pending_.empty() && Clock::now() - lastByteAt_ > FrameGap) {
                std::lock_guard lock(mutex_);
                Record(TraceEntry::Direction::Dropped, std::move(pending_));
                pending_.clear();
            }
            continue;
        }
        const ssize_t n = ::read(master_, chunk.data(), chunk.size());
        if (n > 0) {
            Feed(chunk.data(), static_cast<std::size_t>(n), Clock::now());
        }
    }
}

void DeviceSimulator::Feed(const std::uint8_t* data, std::size_t count, TimePoint arrivedAt) {
    if (!pending_.empty() && arrivedAt - lastByteAt_ > FrameGap) {
        std::lock_guard lock(mutex_);
        Record(TraceEntry::Direction::Dropped, std::move(pending_));
        pending_.clear();
    }
    lastByteAt_ = arrivedAt;
    if (options_.Paced) {
        // The bytes were handed over at once; on a real line each takes its wire time.
        inLineFreeAt_ =
            std::max(inLineFreeAt_, arrivedAt) + byteTime_ * static_cast<std::int64_t>(count);
    }
    pending_.insert(pending_.end(), data, data + count);
    TakeFrames();
}

void DeviceSimulator::TakeFrames() {
    for (;;) {
        std::size_t drop = 0;
        while (drop < pending_.size() &&
               !(pending_[drop] == frame::SyncFirst &&
                 (drop + 1 >= pending_.size() || pending_[drop + 1] == frame::SyncSecond))) {
            ++drop;
        }
        if (drop > 0) {
            std::lock_guard lock(mutex_);
            Record(TraceEntry::Direction::Dropped,
                   Bytes(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(drop)));
            pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(drop));
        }
        if (pending_.size() < frame::HeaderSize) {
            return;
        }
        const auto dataCount = frame::DataCountFor(pending_[frame::LengthAt]);
        if (!dataCount) {
            std::lock_guard lock(mutex_);
            Record(TraceEntry::Direction::Dropped, Bytes(pending_.begin(), pending_.begin() + 1));
            pending_.erase(pending_.begin());
            continue;
        }
        const std::size_t size = frame::FrameSize(*dataCount);
        if (pending_.size() < size) {
            return;
        }
        Bytes whole(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(size));
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(size));
        Handle(whole);
        if (master_ < 0) {
            return;
        }
    }
}

bool DeviceSimulator::AddNoise(Bytes& bytes) {
    if (noiseThreshold_ == 0) {
        return false;
    }
    bool flipped = false;
    for (std::uint8_t& byte : bytes) {
        for (int bit = 0; bit < 8; ++bit) {
            if (noise_() < noiseThreshold_) {
                byte ^= static_cast<std::uint8_t>(1U << bit);
                flipped = true;
            }
        }
    }
    return flipped;
}

void DeviceSimulator::Handle(const Bytes& sent) {
    if (options_.Paced) {
        // The device acts only once the frame's last byte has crossed the line.
        std::this_thread::sleep_until(inLineFreeAt_);
    }
    Bytes frame = sent;
    if (AddNoise(frame) &&
        !std::equal(frame.begin(), frame.begin() + frame::HeaderSize, sent.begin())) {
        // A request whose header arrived garbled is not one the device can act on.
        std::lock_guard lock(mutex_);
        Record(TraceEntry::Direction::Dropped, std::move(frame));
        return;
    }
    Bytes reply;
    Bytes lateEcho;
    int number = 0;
    {
        std::lock_guard lock(mutex_);
        Record(TraceEntry::Direction::In, frame);
        number = ++frames_;
        reply = Answer(frame);
        if (options_.LateEchoFirst && number == 1) {
            lateEcho = Reply(frame::command::BlockWrite, frame::SettingsParams[0],
                             frame::SettingsParams[1],
                             Bytes(memory_.begin(), memory_.begin() + frame::BlockDataSize));
        }
    }
    if (!lateEcho.empty()) {
        Send(std::move(lateEcho));
    }
    const bool quiet =
        options_.Silent || (options_.StopAfterFrames >= 0 && number > options_.StopAfterFrames);
    if (reply.empty() || quiet) {
        return;
    }
    if (options_.WrongHeader && number > options_.WrongHeaderAfterFrames) {
        reply[frame::CommandAt] ^= 0xFF;
    }
    if (options_.ShortReplyBytes >= 0) {
        reply.resize(std::min(reply.size(), static_cast<std::size_t>(options_.ShortReplyBytes)));
    }
    if (options_.ReplyDelay.count() > 0) {
        std::this_thread::sleep_for(options_.ReplyDelay);
    }
    if (number == options_.HangUpAtFrame) {
        reply.resize(reply.size() / 2);
        Send(std::move(reply));
        CloseLine();
        return;
    }
    Send(std::move(reply));
}

DeviceSimulator::Bytes DeviceSimulator::Answer(const Bytes& frame) {
    using namespace frame;
    const std::uint8_t command = frame[CommandAt];
    const std::uint8_t high = frame[ParamHighAt];
    const std::uint8_t low = frame[ParamLowAt];
    const std::span<const std::uint8_t> data(frame.begin() + DataAt, frame.end());
    auto flipEcho = [&](Bytes& reply, std::size_t at) {
        ++echoes_;
        if (options_.FlipEveryBlocks > 0 && echoes_ % options_.FlipEveryBlocks == 0) {
            reply[at] ^= 0xFF;
        }
    };

    if (upgradeStage_) {
        if (command == command::Probe && Matches(frame, command, StageAccessCode)) {
            return Reply(command::Probe, UpgradeStageMark[0], UpgradeStageMark[1], {0, 0, 0, 0});
        }
        if (command == command::EraseMemory && Matches(frame, command, StageAccessCode)) {
            if (options_.RefuseErase) {
                return Reply(command::EraseMemory, static_cast<std::uint8_t>(~EraseDoneMark), 0,
                             {0, 0, 0, 0});
            }
            std::fill(flash_.begin(), flash_.end(), 0xFF);
            pagesWritten_ = 0;
            return Reply(command::EraseMemory, EraseDoneMark, 0, {0, 0, 0, 0});
        }
        if (command == command::WritePage && data.size() == PageDataSize) {
            std::copy(data.begin(), data.end(), flash_.begin() + high * PageDataSize);
            ++pagesWritten_;
            Bytes echo = frame;
            flipEcho(echo, DataAt);
            if (high == options_.NeverConfirmPage) {
                echo.back() ^= 0xFF;
            }
            return echo;
        }
        if (command == command::EndUpgrade && Matches(frame, command, UpgradeAccessCode)) {
            upgradeStage_ = false;
        }
        return {};
    }

    if (std::equal(ProbeFrame.begin(), ProbeFrame.end(), frame.begin(), frame.end())) {
        return Bytes(ProbeReply.begin(), ProbeReply.end());
    }
    if (std::equal(VersionQueryFrame.begin(), VersionQueryFrame.end(), frame.begin(),
                   frame.end())) {
        return Reply(command::Version, VersionReplyHeader[3], VersionReplyHeader[4],
                     Bytes(options_.VersionData.begin(), options_.VersionData.end()));
    }
    if (command == command::BlockWrite && data.size() == BlockDataSize) {
        const std::size_t address = (std::size_t{high} << 8) | low;
        Bytes readBack(BlockDataSize);
        for (std::size_t i = 0; i < BlockDataSize; ++i) {
            const std::size_t at = (address + i) % MemorySize;
            memory_[at] = data[i];
            readBack[i] = memory_[at];
        }
        Bytes reply = Reply(command::BlockWrite, SettingsParams[0], SettingsParams[1], readBack);
        flipEcho(reply, DataAt);
        return reply;
    }
    if (Matches(frame, command::Clock, SettingsParams) && data.size() == ClockDataSize) {
        clock_ = {data[0], data[1], data[2], data[3], data[4], data[5], true};
        return {};
    }
    if (std::equal(ReadSettingsFrame.begin(), ReadSettingsFrame.end(), frame.begin(),
                   frame.end())) {
        return Reply(command::Clock, SettingsParams[0], SettingsParams[1],
                     Bytes(memory_.begin(), memory_.begin() + BlockDataSize));
    }
    if (command == command::EnterUpgrade && Matches(frame, command, UpgradeAccessCode)) {
        upgradeStage_ = true;
        return Reply(command::Probe, UpgradeStageMark[0], UpgradeStageMark[1], {0, 0, 0, 0});
    }
    return {};
}

void DeviceSimulator::Send(Bytes reply) {
    AddNoise(reply);
    {
        std::lock_guard lock(mutex_);
        Record(TraceEntry::Direction::Out, reply);
    }
    if (!options_.Paced) {
        WriteAll(reply.data(), reply.size());
        return;
    }
    // Each byte reaches the host at the end of its own wire slot.
    const TimePoint start = std::max(Clock::now(), outLineFreeAt_);
    std::size_t sent = 0;
    while (sent < reply.size() && master_ >= 0) {
        const TimePoint now = Clock::now();
        const auto elapsed = std::chrono::duration_cast<std::chrono::nanoseconds>(now - start);
        const auto due =
            std::min<std::size_t>(reply.size(), static_cast<std::size_t>(elapsed / byteTime_));
        if (due > sent) {
            WriteAll(reply.data() + sent, due - sent);
            sent = due;
            continue;
        }
        std::this_thread::sleep_until(start + byteTime_ * static_cast<std::int64_t>(sent + 1));
    }
    outLineFreeAt_ = start + byteTime_ * static_cast<std::int64_t>(reply.size());
}

void DeviceSimulator::WriteAll(const std::uint8_t* data, std::size_t count) {
    while (count > 0 && master_ >= 0 && !stopping_) {
        const ssize_t n = ::write(master_, data, count);
        if (n > 0) {
            data += n;
            count -= static_cast<std::size_t>(n);
            continue;
        }
        if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return;
        }
        pollfd out{master_, POLLOUT, 0};
        if (::poll(&out, 1, 100) == 0) {
            return; // nobody drains the line: the bytes are lost, as on a wire
        }
    }
}

void DeviceSimulator::SendRaw(const std::vector<std::uint8_t>& bytes) {
    {
        std::lock_guard lock(mutex_);
        Record(TraceEntry::Direction::Out, bytes);
    }
    if (master_ >= 0) {
        WriteAll(bytes.data(), bytes.size());
    }
}

void DeviceSimulator::Record(TraceEntry::Direction way, Bytes bytes) {
    trace_.push_back({way, std::move(bytes)});
}

std::vector<TraceEntry> DeviceSimulator::Trace() const {
    std::lock_guard lock(mutex_);
    return trace_;
}

int DeviceSimulator::FramesReceived() const {
    std::lock_guard lock(mutex_);
    return frames_;
}

std::vector<std::uint8_t> DeviceSimulator::Memory() const {
    std::lock_guard lock(mutex_);
    return memory_;
}

std::vector<std::uint8_t> DeviceSimulator::Flash() const {
    std::lock_guard lock(mutex_);
    return flash_;
}

DeviceClock DeviceSimulator::Clock() const {
    std::lock_guard lock(mutex_);
    return clock_;
}

bool DeviceSimulator::InUpgradeStage() const {
    std::lock_guard lock(mutex_);
    return upgradeStage_;
}

int DeviceSimulator::PagesWritten() const {
    std::lock_guard lock(mutex_);
    return pagesWritten_;
}

std::string DeviceSimulator::TraceLine(const TraceEntry& entry) {
    char mark = '#';
    switch (entry.Way) {
    case TraceEntry::Direction::In:
        mark = '>';
        break;
    case TraceEntry::Direction::Out:
        mark = '<';
        break;
    case TraceEntry::Direction::Dropped:
        break;
    }
    return mark + frame::HexText(entry.Bytes);
}

bool DeviceSimulator::WriteTrace(const std::string& path) const {
    std::ofstream out(path, std::ios::trunc);
    for (const auto& entry : Trace()) {
        out << TraceLine(entry) << '\n';
    }
    return static_cast<bool>(out);
}

bool DeviceSimulator::DumpTo(const std::string& folder) const {
    auto write = [&](const std::string& name, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(folder + "/" + name, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return static_cast<bool>(out);
    };
    return write("memory.bin", Memory()) && write("flash.bin", Flash());
}
