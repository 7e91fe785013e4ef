#include "comm/PortIdentity.h"

#include <QDir>
#include <QFileInfo>

QString PortIdentity(const QString& port) {
    // Where the serial port looks for the name: a path as it stands, anything else under /dev.
    const bool path = port.startsWith(u'/') || port.startsWith(QStringLiteral("./")) ||
                      port.startsWith(QStringLiteral("../"));
    const QString location = path ? port : QStringLiteral("/dev/") + port;
    const QString target = QFileInfo(location).canonicalFilePath();
    return target.isEmpty() ? QDir::cleanPath(QDir::current().absoluteFilePath(location)) : target;
}
