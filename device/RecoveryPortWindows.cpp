#include "device/Upgrade.h"

// A device left in its upgrade stage waits on the port its installers wire it to.
QString RecoveryPortName(const CommLink& link, const QStringList& candidates,
                         const QString& overridePort) {
    Q_UNUSED(link);
    Q_UNUSED(candidates);
    return overridePort.isEmpty() ? QStringLiteral("COM2") : overridePort;
}
