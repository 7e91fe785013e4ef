#include "comm/PortIdentity.h"

QString PortIdentity(const QString& port) {
    // COM names are the same in any case, with or without the device namespace before them.
    QString name = port.trimmed();
    if (name.startsWith(QStringLiteral("\\\\.\\"))) {
        name.remove(0, 4);
    }
    return name.toUpper();
}
