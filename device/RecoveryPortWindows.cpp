#include "device/Upgrade.h"

// A device left in its upgrade stage waits on the port it last answered on, when this run has
// seen it; else on the port its installers wire it to.
QString RecoveryPortName(const CommLink& link, const QStringList& candidates,
                         const QString& overridePort) {
    Q_UNUSED(candidates);
    if (!overridePort.isEmpty()) {
        return overridePort;
    }
    if (!link.LastAnsweredPort.isEmpty()) {
        return link.LastAnsweredPort;
    }
    return QStringLiteral("COM2");
}
