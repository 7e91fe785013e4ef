// Times `muezzin-cli apply` for a complete configuration (ten years of timetables: 316 blocks)
// against muezzin-sim --paced, and sets the time against the wire time of the same bytes at
// 115200 baud, 8N1, measured in the same run.
//
// The tool's standard error is a pseudo-terminal, so that it draws its progress bar after every
// block; the moments at which positions 1 and 316 appear bound the upload of blocks 2 to 316,
// free of the wait for the clock's next second, the database and the search that come before.
// The whole command is timed as well.
//
// With --noise the simulator flips each bit on the line with that chance, a different seed in
// every run; blocks whose echo comes back garbled are sent again, and the ratio is still taken
// against the clean wire time.
//
// Usage: bench_apply [RUNS] [--noise RATE]   (default 3 runs, 5 with noise)
#include "calendar/CalendarClock.h"
#include "device/DeviceTexts.h"
#include "tests/StartFolderFixture.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <mutex>
#include <optional>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr double BitsPerByte = 10.0; // start bit, 8 data bits, stop bit
constexpr double BaudRate = 115200.0;
constexpr int Blocks = 316;
constexpr int BlockWireBytes = 134 + 134;       // the block frame and its read-back
constexpr int SearchWireBytes = 7 + 7 + 7 + 18; // probe and version query with their replies

double WireSeconds(double bytes) {
    return bytes * BitsPerByte / BaudRate;
}

double Seconds(Clock::duration d) {
    return std::chrono::duration<double>(d).count();
}

// Reads what the tool draws on its terminal and notes when each progress position first shows.
// A draw is "\r[###...] N/316 status\x1b[K".
class ProgressWatch {
public:
    ~ProgressWatch() { Stop(); }

    bool Open() {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
            return false;
        }
        const char* name = ptsname(master_);
        slave_ = name ? ::open(name, O_RDWR | O_NOCTTY) : -1;
        if (slave_ < 0) {
            return false;
        }
        seen_.assign(Blocks + 1, std::nullopt);
        reader_ = std::thread([this] { Run(); });
        return true;
    }

    int Slave() const { return slave_; }

    void Stop() {
        stopping_ = true;
        if (reader_.joinable()) {
            reader_.join();
        }
        for (int* fd : {&slave_, &master_}) {
            if (*fd >= 0) {
                ::close(*fd);
                *fd = -1;
            }
        }
    }

    std::optional<Clock::time_point> Seen(int position) const {
        std::lock_guard lock(mutex_);
        return seen_.at(static_cast<std::size_t>(position));
    }

private:
    void Run() {
        std::string pending;
        char chunk[4096];
        while (!stopping_) {
            pollfd fd{master_, POLLIN, 0};
            if (::poll(&fd, 1, 20) <= 0) {
                continue;
            }
            const ssize_t n = ::read(master_, chunk, sizeof chunk);
            const auto at = Clock::now();
            if (n <= 0) {
                break;
            }
            pending.append(chunk, static_cast<std::size_t>(n));
            TakeDraws(pending, at);
        }
    }

    void TakeDraws(std::string& pending, Clock::time_point at) {
        static const std::string end = "\x1b[K";
        std::size_t done = 0;
        for (std::size_t stop; (stop = pending.find(end, done)) != std::string::npos;) {
            const std::string draw = pending.substr(done, stop - done);
            done = stop + end.size();
            const auto bracket = draw.find("] ");
            if (bracket == std::string::npos) {
                continue; // the bar being erased
            }
            const int position = std::atoi(draw.c_str() + bracket + 2);
            if (position >= 0 && position <= Blocks) {
                std::lock_guard lock(mutex_);
                auto& slot = seen_[static_cast<std::size_t>(position)];
                if (!slot) {
                    slot = at;
                }
            }
        }
        pending.erase(0, done);
    }

    int master_ = -1;
    int slave_ = -1;
    std::thread reader_;
    std::atomic<bool> stopping_{false};
    mutable std::mutex mutex_;
    std::vector<std::optional<Clock::time_point>> seen_;
};

struct Measurement {
    double Upload = 0;  // from the draw of position 1 to that of 316
    double Command = 0; // the whole command
    double BeforeFirst = 0;
    int Resends = 0;
};

struct Noise {
    QString Rate; // empty: a clean line
    int Seed = 0;
};

std::optional<Measurement> MeasureOnce(const QTemporaryDir& dir, const Noise& noise) {
    const QString link = dir.filePath(QStringLiteral("muezzin0"));
    QProcess sim;
    QStringList simArguments = {QStringLiteral("--paced"), QStringLiteral("--link"), link};
    if (!noise.Rate.isEmpty()) {
        simArguments << QStringLiteral("--noise") << noise.Rate << QStringLiteral("--seed")
                     << QString::number(noise.Seed);
    }
    sim.start(QStringLiteral(MUEZZIN_SIM), simArguments);
    if (!sim.waitForReadyRead(10000)) {
        std::fprintf(stderr, "bench_apply: the simulator did not start\n");
        return std::nullopt;
    }

    ProgressWatch watch;
    if (!watch.Open()) {
        std::fprintf(stderr, "bench_apply: no pseudo-terminal for the progress bar\n");
        return std::nullopt;
    }
    QProcess cli;
    cli.setWorkingDirectory(dir.path());
    const int terminal = watch.Slave();
    cli.setChildProcessModifier([terminal] { ::dup2(terminal, STDERR_FILENO); });
    const auto started = Clock::now();
    cli.start(QStringLiteral(MUEZZIN_CLI),
              {QStringLiteral("apply"), QStringLiteral("--county"), QString::number(SampleCounty),
               QStringLiteral("--port"), link});
    const bool finished = cli.waitForFinished(120000);
    const auto ended = Clock::now();
    const QString out = QString::fromUtf8(cli.readAllStandardOutput());
    std::this_thread::sleep_for(std::chrono::milliseconds(50)); // let the last draw be read
    watch.Stop();
    sim.terminate();
    sim.waitForFinished(5000);

    if (!finished || cli.exitCode() != 0 || !out.contains(AppliedText)) {
        std::fprintf(stderr, "bench_apply: the apply did not complete (status %d):\n%s\n",
                     cli.exitCode(), qPrintable(out));
        return std::nullopt;
    }
    const auto first = watch.Seen(1);
    const auto last = watch.Seen(Blocks);
    if (!first || !last) {
        std::fprintf(stderr, "bench_apply: the progress bar was not seen\n");
        return std::nullopt;
    }
    return Measurement{Seconds(*last - *first), Seconds(ended - started), Seconds(*first - started),
                       static_cast<int>(out.count(BlockNotConfirmedText))};
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    Noise noise;
    if (const qsizetype at = arguments.indexOf(QStringLiteral("--noise")); at >= 0) {
        noise.Rate = arguments.value(at + 1);
        arguments.remove(at, std::min<qsizetype>(2, arguments.size() - at));
        if (noise.Rate.toDouble() <= 0) {
            std::fprintf(stderr, "bench_apply: --noise needs a rate above 0\n");
            return 2;
        }
    }
    const int runs = arguments.isEmpty() ? (noise.Rate.isEmpty() ? 3 : 5)
                                         : std::max(1, arguments.first().toInt());
    QTemporaryDir dir;
    if (!dir.isValid() || !MakeSampleStartFolder(dir.path())) {
        std::fprintf(stderr, "bench_apply: cannot set up the start folder\n");
        return 1;
    }

    const double uploadWire = WireSeconds((Blocks - 1) * BlockWireBytes);
    const double commandWire = WireSeconds(Blocks * BlockWireBytes + SearchWireBytes);
    std::printf("wire time at 115200 baud 8N1: blocks 2..316 %.3f s; all 316 blocks plus probe "
                "and version exchange (%d bytes) %.3f s\n",
                uploadWire, Blocks * BlockWireBytes + SearchWireBytes, commandWire);
    if (!noise.Rate.isEmpty()) {
        std::printf("noise: each bit flipped with probability %s, seeds 1..%d\n",
                    qPrintable(noise.Rate), runs);
    }
    std::vector<double> uploadRatios;
    std::vector<double> commandRatios;
    std::vector<int> resends;
    for (int i = 1; i <= runs; ++i) {
        noise.Seed = i;
        const auto m = MeasureOnce(dir, noise);
        if (!m) {
            return 1; // every block must be confirmed in every run
        }
        uploadRatios.push_back(m->Upload / uploadWire);
        commandRatios.push_back(m->Command / commandWire);
        resends.push_back(m->Resends);
        std::printf("run %d: upload %.3f s, ratio %.4f | whole command %.3f s, ratio %.4f "
                    "(%.3f s before the first block was confirmed: start, search) | %d resends\n",
                    i, m->Upload, uploadRatios.back(), m->Command, commandRatios.back(),
                    m->BeforeFirst, m->Resends);
    }
    std::sort(uploadRatios.begin(), uploadRatios.end());
    std::sort(commandRatios.begin(), commandRatios.end());
    std::sort(resends.begin(), resends.end());
    const std::size_t mid = uploadRatios.size() / 2;
    std::printf("every block confirmed in all %d runs\n", runs);
    std::printf("median ratio: upload %.4f (target <= %s), whole command %.4f; median resends "
                "%d\n",
                uploadRatios[mid], noise.Rate.isEmpty() ? "1.05" : "1.10", commandRatios[mid],
                resends[mid]);
    return 0;
}
