#include "comm/LinuxSystem.h"
#include "comm/PortIdentity.h"

#include <QDir>
#include <QFileInfo>

QString PortIdentity(const QString& port) {
    const QString location = PortSystemLocation(port);
    const QString target = QFileInfo(location).canonicalFilePath();
    return target.isEmpty() ? QDir::cleanPath(QDir::current().absoluteFilePath(location)) : target;
}
