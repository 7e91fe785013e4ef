// The console's control events stand for the signals: Ctrl+C for SIGINT, Ctrl+Break for
// SIGTERM, and the console closing (or the session ending) for SIGHUP. Windows calls the handler
// on a thread of its own, from which the watch is reached through its event loop.
#include "common/ConsoleOutput.h"
#include "common/StopSignals.h"

#include <QMetaObject>
#include <QPointer>
#include <atomic>
#include <csignal>
#include <mutex>
#include <windows.h>

namespace {

std::atomic<int> received{0};
std::mutex watchLock;
QPointer<QObject> watchContext;
std::function<void(int)> watchAction;

// How long the handler of a hang-up keeps the process alive for the wind-down: below the 5 s
// the system gives it.
constexpr DWORD HangUpGraceMilliseconds = 4500;

int SignalOf(DWORD event) {
    switch (event) {
    case CTRL_C_EVENT:
        return SIGINT;
    case CTRL_BREAK_EVENT:
        return SIGTERM;
    default:
        return HangUpSignal;
    }
}

void Report(int signal) {
    const std::lock_guard lock(watchLock);
    if (watchContext && watchAction) {
        QMetaObject::invokeMethod(
            watchContext.data(), [action = watchAction, signal] { action(signal); },
            Qt::QueuedConnection);
    }
}

BOOL WINAPI OnConsoleEvent(DWORD event) {
    const int signal = SignalOf(event);
    int none = 0;
    if (!received.compare_exchange_strong(none, signal)) {
        // Asked again: the system's own handling ends the process, without the exit's restore.
        RestoreConsoleOutput();
        return FALSE;
    }
    Report(signal);
    if (signal == HangUpSignal) {
        // The console closing or the session ending: the system ends the process as soon as
        // this returns, and at the latest some 5 s after the event. Held here, the program winds
        // down meanwhile (port released, log written), and its own end ends this thread too.
        Sleep(HangUpGraceMilliseconds);
    }
    return TRUE;
}

} // namespace

void InstallStopSignals() {
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int StopSignal() {
    return received.load();
}

void WatchStopSignals(QObject* context, std::function<void(int signal)> onStop) {
    {
        const std::lock_guard lock(watchLock);
        watchContext = context;
        watchAction = std::move(onStop);
    }
    if (const int signal = received.load()) {
        Report(signal);
    }
}
