// The handler only records the signal and writes a byte into a pipe, which is all a handler may
// safely do; the event loop of whoever watches reads the pipe and winds the program down.
#include "common/StopSignals.h"

#include <QSocketNotifier>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

std::atomic<int> received{0};
int wakePipe[2] = {-1, -1};
static_assert(SIGHUP == HangUpSignal, "the hang-up is named by its number");
constexpr int StopSignals[] = {SIGTERM, SIGINT, SIGHUP};

extern "C" void OnStopSignal(int signal) {
    int none = 0;
    if (!received.compare_exchange_strong(none, signal)) {
        // Asked again: end as the signal ends a program that does not handle it.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const int saved = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
    errno = saved;
}

} // namespace

void InstallStopSignals() {
    static_assert(std::atomic<int>::is_always_lock_free, "the handler needs a lock-free flag");
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
