#include "device/Upgrade.h"

QString RecoveryPortName(const CommLink& link, const QStringList& candidates,
                         const QString& overridePort) {
    if (!overridePort.isEmpty()) {
        return overridePort;
    }
    if (!link.LastAnsweredPort.isEmpty()) {
        return link.LastAnsweredPort;
    }
    return candidates.value(0);
}
