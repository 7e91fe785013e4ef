#include "comm/PortInfo.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

namespace {
// Where QSerialPort looks for a port name: a path as it stands, a bare name under /dev.
QString SystemLocation(const QString& port) {
    const bool path = port.startsWith(u'/') || port.startsWith(QStringLiteral("./")) ||
                      port.startsWith(QStringLiteral("../"));
    return path ? port : QStringLiteral("/dev/") + port;
}

QString GroupName(gid_t id) {
    const group* entry = ::getgrgid(id);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

// The group a distribution gives its serial ports to.
QString SerialGroup() {
    for (const char* name : {"dialout", "uucp", "serial"}) {
        if (::getgrnam(name)) {
            return QString::fromLatin1(name);
        }
    }
    return {};
}

QString KindOf(mode_t mode) {
    if (S_ISDIR(mode)) {
        return QStringLiteral("a folder");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("a FIFO");
    }
    if (S_ISREG(mode)) {
        return QStringLiteral("a regular file");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("a socket");
    }
    return {}; // a device of another kind
}

void DiagnosePermission(PortProblem& problem, const struct stat& info) {
    constexpr mode_t GroupReadWrite = S_IRGRP | S_IWGRP;
    constexpr mode_t OthersReadWrite = S_IROTH | S_IWOTH;
    // Joining the group helps only when the group may read and write; joining root's is no advice.
    if ((info.st_mode & GroupReadWrite) == GroupReadWrite && info.st_gid != 0) {
        problem.Group = GroupName(info.st_gid);
        return;
    }
    if ((info.st_mode & OthersReadWrite) != OthersReadWrite) {
        problem.RootOnly = true;
        problem.Group = SerialGroup();
    }
}

} // namespace

bool HeldExclusively(const QString& port) {
#ifndef TIOCGEXCL
    Q_UNUSED(port);
    return false;
#else
    const QByteArray path = QFile::encodeName(SystemLocation(port));
    struct stat info {};
    if (::stat(path.constData(), &info) != 0 || !S_ISCHR(info.st_mode)) {
        return false;
    }
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno == EBUSY;
    }
    termios settings{};
    int exclusive = 0;
    const bool held = ::tcgetattr(fd, &settings) == 0 && ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 &&
                      exclusive != 0;
    ::close(fd);
    return held;
#endif
}

int OpenFailureError(const QString& port, QSerialPort::SerialPortError kind, int fallback) {
    const QByteArray path = QFile::encodeName(SystemLocation(port));
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        return errno;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (!S_ISCHR(info.st_mode)) {
        return ENOTTY;
    }
    // Non-blocking, so that a modem line cannot hold the look; the settings are not touched.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return errno; // EBUSY when another program holds it exclusively
    }
    termios settings{};
    const bool terminal = ::tcgetattr(fd, &settings) == 0;
    int exclusive = 0;
#ifdef TIOCGEXCL
    if (terminal && ::ioctl(fd, TIOCGEXCL, &exclusive) != 0) {
        exclusive = 0;
    }
#endif
    ::close(fd);
    if (!terminal) {
        return ENOTTY;
    }
    // Held exclusively, or the device opens for us but Qt's lock on it is taken: either way
    // another program has it (root passes the exclusive mode, but not the lock).
    return exclusive != 0 || kind == QSerialPort::PermissionError ? EBUSY : fallback;
}

PortProblem DiagnoseOpenFailure(const QString& port, int error) {
    PortProblem problem{port, error, {}, false, {}, {}, false};
    const QString location = SystemLocation(port);
    if (location != port) {
        problem.Location = location;
        problem.InWorkingFolder = error == ENOENT && QFileInfo::exists(port);
    }
    struct stat info {};
    if (::stat(QFile::encodeName(location).constData(), &info) != 0) {
        return problem;
    }
    if (error == EACCES || error == EPERM) {
        DiagnosePermission(problem, info);
    } else if (error == ENOTTY || error == EISDIR) {
        problem.What = KindOf(info.st_mode);
    }
    return problem;
}

QChar PortListSeparator() {
    return u':';
}
