#include "comm/PortIdentity.h"

#include <QHash>
#include <QSet>

QStringList DistinctPorts(const QStringList& ports, const QStringList& given) {
    QHash<QString, QString> named; // identity -> the first name the user gave it
    for (const QString& port : given) {
        const QString identity = PortIdentity(port);
        if (!named.contains(identity)) {
            named.insert(identity, port);
        }
    }
    QStringList distinct;
    QSet<QString> served;
    for (const QString& port : ports) {
        const QString identity = PortIdentity(port);
        if (!served.contains(identity)) {
            served.insert(identity);
            distinct.append(named.value(identity, port));
        }
    }
    return distinct;
}
