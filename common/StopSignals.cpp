#include "common/StopSignals.h"

namespace {

// Their numbers where they exist (Windows lacks the hang-up).
constexpr int HangUp = 1;
constexpr int Interrupt = 2;
constexpr int Terminate = 15;

} // namespace

QString StopSignalName(int signal) {
    switch (signal) {
    case HangUp:
        return QStringLiteral("SIGHUP");
    case Interrupt:
        return QStringLiteral("SIGINT");
    case Terminate:
        return QStringLiteral("SIGTERM");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

int StopExitStatus(int signal) {
    return 128 + signal;
}
