#include "common/StopSignals.h"

#include <csignal>

QString StopSignalName(int signal) {
    switch (signal) {
    case HangUpSignal:
        return QStringLiteral("SIGHUP");
    case SIGINT:
        return QStringLiteral("SIGINT");
    case SIGTERM:
        return QStringLiteral("SIGTERM");
    default:
        return QStringLiteral("signal %1").arg(signal);
    }
}

int StopExitStatus(int signal) {
    return 128 + signal;
}
