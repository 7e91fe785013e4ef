#include "comm/LinuxSystem.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString PortSystemLocation(const QString& port) {
    const bool path = port.startsWith(u'/') || port.startsWith(QStringLiteral("./")) ||
                      port.startsWith(QStringLiteral("../"));
    return path ? port : QStringLiteral("/dev/") + port;
}

QByteArray ReadSmallFile(const QString& path, qint64 limit) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(limit) : QByteArray();
}

QList<qint64> RunningProcesses() {
    QList<qint64> pids;
    for (const QString& entry : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs)) {
        bool number = false;
        const qint64 pid = entry.toLongLong(&number);
        if (number) {
            pids.append(pid);
        }
    }
    return pids;
}

QString ProcessName(qint64 pid) {
    return QString::fromLocal8Bit(ReadSmallFile(QStringLiteral("/proc/%1/comm").arg(pid)))
        .trimmed();
}

qint64 RunningProgram(const QString& name) {
    for (const qint64 pid : RunningProcesses()) {
        if (ProcessName(pid) == name) {
            return pid;
        }
    }
    return 0;
}

bool IsBrlttyRule(const QString& file) {
    return QFileInfo(file).fileName().contains(QStringLiteral("brltty"));
}
