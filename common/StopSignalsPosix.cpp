// The handler only records the signal and writes a byte into a pipe, which is all a handler may
// safely do; the event loop of whoever watches reads the pipe and winds the program down.
#include "common/StopSignals.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <ctime>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<int> received{0};
std::atomic<long long> receivedAtMs{0}; // CLOCK_MONOTONIC of the first; 0 until it is noted
int wakePipe[2] = {-1, -1};
// A stop said again within this is the same stop: timeout(1) signals the program and then its
// whole process group, a shell's "kill 0" reaches it as one of the group. Only a later one is
// somebody asking again.
constexpr long long SameStopMs = 1000;
static_assert(SIGHUP == HangUpSignal, "the hang-up is named by its number");
constexpr int StopSignals[] = {SIGTERM, SIGINT, SIGHUP};

long long MonotonicMs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now); // async-signal-safe
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

extern "C" void OnStopSignal(int signal) {
    const int saved = errno;
    const long long now = MonotonicMs();
    int none = 0;
    if (!received.compare_exchange_strong(none, signal)) {
        const long long first = receivedAtMs.load();
        if (first == 0 || now - first < SameStopMs) {
            errno = saved;
            return;
        }
        // Asked again: end as the signal ends a program that does not handle it.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    receivedAtMs.store(now > 0 ? now : 1);
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void InstallStopSignals() {
    static_assert(std::atomic<int>::is_always_lock_free &&
                      std::atomic<long long>::is_always_lock_free,
                  "the handler needs lock-free flags");
    if (wakePipe[0] < 0 && ::pipe2(wakePipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        wakePipe[0] = wakePipe[1] = -1; // the flag still works; a watch then never fires
    }
    struct sigaction action {};
    action.sa_handler = OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : StopSignals) {
        // One ignored from the start (nohup, a background job of a shell) stays ignored, as
        // whoever started the program meant.
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN) {
            continue;
        }
        ::sigaction(signal, &action, nullptr);
    }
}

int StopSignal() {
    return received.load();
}

void WatchStopSignals(QObject* context, std::function<void(int signal)> onStop) {
    if (wakePipe[0] < 0) {
        return;
    }
    auto* notifier = new QSocketNotifier(wakePipe[0], QSocketNotifier::Read, context);
    QObject::connect(notifier, &QSocketNotifier::activated, context,
                     [notifier, onStop = std::move(onStop)] {
                         char bytes[16];
                         while (::read(wakePipe[0], bytes, sizeof bytes) > 0) {
                         }
                         notifier->setEnabled(false); // the first signal is the one that counts
                         onStop(received.load());
                     });
}
