#include "comm/PortInfo.h"

#include <QFile>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <cerrno>
#include <cstring>

#ifndef _WIN32
#include <fcntl.h>
#include <grp.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace {

QString Field(QString text) {
    text.replace(u'\t', u' ').replace(u'\r', u' ').replace(u'\n', u' ');
    return text.trimmed();
}

QString Hex4(std::optional<quint16> value) {
    return value ? QStringLiteral("%1").arg(*value, 4, 16, QChar(u'0')) : QString();
}

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

#ifndef _WIN32
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
#endif

} // namespace

std::vector<PortDetails> DetailsOfPorts(const QStringList& paths) {
    const QList<QSerialPortInfo> known = QSerialPortInfo::availablePorts();
    std::vector<PortDetails> ports;
    for (const QString& path : paths) {
        PortDetails details;
        details.Path = path;
        const QString target = QFileInfo(path).canonicalFilePath();
        for (const QSerialPortInfo& info : known) {
            const QString location = info.systemLocation();
            const bool same = location == path || info.portName() == path ||
                              (!target.isEmpty() && location == target);
            if (!same) {
                continue;
            }
            details.Description = info.description();
            details.Manufacturer = info.manufacturer();
            if (info.hasVendorIdentifier()) {
                details.VendorId = info.vendorIdentifier();
            }
            if (info.hasProductIdentifier()) {
                details.ProductId = info.productIdentifier();
            }
            details.SerialNumber = info.serialNumber();
            break;
        }
        ports.push_back(std::move(details));
    }
    return ports;
}

QString PortDetailsLine(const PortDetails& port) {
    const QString usb = port.VendorId || port.ProductId
                            ? Hex4(port.VendorId) + u':' + Hex4(port.ProductId)
                            : QString();
    return QStringList{Field(port.Path), Field(port.Description), Field(port.Manufacturer), usb,
                       Field(port.SerialNumber)}
        .join(u'\t');
}

QString PortProblem::Describe() const {
    const QString head = Location.isEmpty()
                             ? QStringLiteral("cannot open %1: ").arg(Port)
                             : QStringLiteral("cannot open %1 (%2): ").arg(Port, Location);
    switch (Error) {
    case EACCES:
    case EPERM:
        if (RootOnly) {
            const QString group =
                Group.isEmpty() ? QStringLiteral("a group") : u'\'' + Group + u'\'';
            return head + QStringLiteral("permission denied, and only root may open it; give it "
                                         "to %1 with a udev rule (GROUP, MODE=\"0660\") and add "
                                         "your user to that group")
                              .arg(group);
        }
        if (!Group.isEmpty()) {
            return head + QStringLiteral("permission denied; add your user to the group '%1' and "
                                         "log in again")
                              .arg(Group);
        }
        return head + SystemText(Error);
    case EBUSY:
        return head + QStringLiteral("the port is in use by another program (another "
                                     "muezzin-cli, or the window); close it and try again");
    case ENOTTY:
    case EISDIR:
        return head + QStringLiteral("it is %1not a serial port")
                          .arg(What.isEmpty() ? QString() : What + QStringLiteral(", "));
    default:
        if (InWorkingFolder) {
            return head + SystemText(Error) +
                   QStringLiteral("; the one in the working folder is ./%1").arg(Port);
        }
        return head + SystemText(Error);
    }
}

bool HeldExclusively(const QString& port) {
#if defined(_WIN32) || !defined(TIOCGEXCL)
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
#ifdef _WIN32
    Q_UNUSED(port);
    Q_UNUSED(kind);
    return fallback;
#else
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
#endif
}

PortProblem DiagnoseOpenFailure(const QString& port, int error) {
    PortProblem problem{port, error, {}, false, {}, {}, false};
#ifndef _WIN32
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
#endif
    return problem;
}
