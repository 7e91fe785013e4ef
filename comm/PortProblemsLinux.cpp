// Port problems as Linux shows them: device nodes with an owner group, other processes' open
// descriptors under /proc, lock files under /var/lock, adapters under /sys.
#include "comm/LinuxSystem.h"
#include "comm/PortLocks.h"
#include "comm/PortProblems.h"
#include "comm/UdevRules.h"

#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <termios.h>
#include <unistd.h>

namespace {

QByteArray NativePath(const QString& port) {
    return QFile::encodeName(PortSystemLocation(port));
}

QString GroupName(gid_t id) {
    const group* entry = ::getgrgid(id);
    return entry ? QString::fromLocal8Bit(entry->gr_name) : QString();
}

QString UserName(uid_t id) {
    const passwd* entry = ::getpwuid(id);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
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
        return QStringLiteral("folder");
    }
    if (S_ISFIFO(mode)) {
        return QStringLiteral("fifo");
    }
    if (S_ISREG(mode)) {
        return QStringLiteral("file");
    }
    if (S_ISSOCK(mode)) {
        return QStringLiteral("socket");
    }
    return {}; // a device of another kind
}

// The groups this process runs with: what the login session was given when it began.
bool SessionHasGroup(gid_t id) {
    if (::getegid() == id) {
        return true;
    }
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    const int count = ::getgroups(static_cast<int>(groups.size()), groups.data());
    groups.resize(static_cast<std::size_t>(std::max(count, 0)));
    return std::find(groups.begin(), groups.end(), id) != groups.end();
}

// The groups the group database gives the user now, which a new login would get.
bool DatabaseHasUserInGroup(uid_t user, gid_t id) {
    const passwd* account = ::getpwuid(user);
    if (!account) {
        return false;
    }
    if (account->pw_gid == id) {
        return true;
    }
    const QByteArray name(account->pw_name);
    const group* entry = ::getgrgid(id);
    for (char** member = entry ? entry->gr_mem : nullptr; member && *member; ++member) {
        if (name == *member) {
            return true;
        }
    }
    return false;
}

void DiagnosePermission(PortProblem& problem, const struct stat& info) {
    constexpr mode_t GroupReadWrite = S_IRGRP | S_IWGRP;
    constexpr mode_t OthersReadWrite = S_IROTH | S_IWOTH;
    problem.User = UserName(::geteuid());
    // Joining the group helps only when the group may read and write; joining root's is no advice.
    if ((info.st_mode & GroupReadWrite) == GroupReadWrite && info.st_gid != 0) {
        problem.Group = GroupName(info.st_gid);
        problem.LoginPredatesGroup =
            !SessionHasGroup(info.st_gid) && DatabaseHasUserInGroup(::geteuid(), info.st_gid);
        return;
    }
    if ((info.st_mode & OthersReadWrite) != OthersReadWrite) {
        problem.RootOnly = true;
        problem.Group = SerialGroup();
    }
}

qint64 LockOwnerPid(const QString& path) {
    const QByteArray text = ReadSmallFile(path);
    return LockOwnerInText(
        std::string_view(text.constData(), static_cast<std::size_t>(text.size())));
}

// Whether this user may delete the file: its folder writable, and, when the folder is sticky
// (as /run/lock is), the file or the folder the user's.
bool MayRemove(const QString& path) {
    const QByteArray file = QFile::encodeName(path);
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    struct stat fileInfo {};
    struct stat folderInfo {};
    if (::stat(file.constData(), &fileInfo) != 0 || ::stat(folder.constData(), &folderInfo) != 0 ||
        ::access(folder.constData(), W_OK | X_OK) != 0) {
        return false;
    }
    const uid_t user = ::geteuid();
    return (folderInfo.st_mode & S_ISVTX) == 0 || user == 0 || fileInfo.st_uid == user ||
           folderInfo.st_uid == user;
}

// The index of a pseudo-terminal under /dev/pts, or -1 for any other device.
int PtyIndex(dev_t device) {
    constexpr unsigned FirstPtyMajor = 136; // Unix98 pseudo-terminal slaves use 136 to 143
    constexpr unsigned PtyMajors = 8;
    const unsigned majorNumber = major(device);
    if (majorNumber < FirstPtyMajor || majorNumber >= FirstPtyMajor + PtyMajors) {
        return -1;
    }
    return static_cast<int>((majorNumber - FirstPtyMajor) * 256 + minor(device));
}

// Whether an open descriptor is the master of the pseudo-terminal with that index.
bool IsPtyMaster(const QString& fdInfo, int ptyIndex) {
    const QByteArray info = ReadSmallFile(fdInfo);
    const int at = info.indexOf("tty-index:");
    return at >= 0 &&
           info.mid(at + 10, info.indexOf('\n', at) - at - 10).trimmed().toInt() == ptyIndex;
}

// Whether the character device is a terminal, by the kernel's list of terminal drivers with
// their device numbers. A device the list does not name is none; one that cannot be told
// (no /proc) is taken for one.
bool IsTerminalDevice(dev_t device) {
    constexpr qint64 DriverListLimit = 64 * 1024;
    const QByteArray drivers = ReadSmallFile(QStringLiteral("/proc/tty/drivers"), DriverListLimit);
    if (drivers.isEmpty()) {
        return true;
    }
    // "usbserial  /dev/ttyUSB  188 0-511 serial": name, node, major, minors (one, or a range).
    for (const QByteArray& line : drivers.split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() < 4 || fields.at(2).toUInt() != major(device)) {
            continue;
        }
        const QList<QByteArray> minors = fields.at(3).split('-');
        bool ok = false;
        const unsigned first = minors.first().toUInt(&ok);
        const unsigned last = minors.size() > 1 ? minors.at(1).toUInt() : first;
        if (ok && minor(device) >= first && minor(device) <= last) {
            return true;
        }
    }
    return false;
}

// What the system says of the port's node, without opening it: gone, no terminal, or not for
// this user to read and write. Opening a serial port would move its modem lines, which resets
// some devices.
int NodeProblem(const QString& port) {
    const QByteArray path = NativePath(port);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        return errno;
    }
    if (S_ISDIR(info.st_mode)) {
        return EISDIR;
    }
    if (!S_ISCHR(info.st_mode) || !IsTerminalDevice(info.st_rdev)) {
        return ENOTTY;
    }
    return ::faccessat(AT_FDCWD, path.constData(), R_OK | W_OK, AT_EACCESS) == 0 ? 0 : errno;
}

// What opening the port's device node meets: the error (0 when it is a terminal that opens),
// and whether another program holds it in exclusive mode, which root passes.
struct NodeLook {
    int Error = 0;
    bool Exclusive = false;
};

NodeLook LookAtNode(const QString& port) {
    const QByteArray path = NativePath(port);
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        return {errno};
    }
    if (S_ISDIR(info.st_mode)) {
        return {EISDIR};
    }
    if (!S_ISCHR(info.st_mode)) {
        return {ENOTTY};
    }
    // Non-blocking, so that a modem line cannot hold the look; the settings are not touched.
    const int fd = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        return {errno}; // EBUSY when another program holds it exclusively
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
    return terminal ? NodeLook{0, exclusive != 0} : NodeLook{ENOTTY};
}

} // namespace

bool HeldExclusively(const QString& port) {
    const NodeLook look = LookAtNode(port);
    return look.Error == EBUSY || look.Exclusive;
}

int OpenFailureError(const QString& port, QSerialPort::SerialPortError kind, int fallback) {
    const NodeLook look = LookAtNode(port);
    if (look.Error != 0) {
        return look.Error;
    }
    // Held exclusively, or the device opens for us but Qt's lock on it is taken: either way
    // another program has it (root passes the exclusive mode, but not the lock).
    return look.Exclusive || kind == QSerialPort::PermissionError ? EBUSY : fallback;
}

std::vector<PortHolder> PortHolders(const QString& port) {
    struct stat target {};
    if (::stat(NativePath(port).constData(), &target) != 0 || !S_ISCHR(target.st_mode)) {
        return {};
    }
    const int ptyIndex = PtyIndex(target.st_rdev);
    const dev_t ptyMaster = makedev(5, 2);
    std::vector<PortHolder> holders;
    for (const qint64 pid : RunningProcesses()) {
        if (pid == ::getpid()) {
            continue;
        }
        const QString fdFolder = QStringLiteral("/proc/%1/fd").arg(pid);
        const QByteArray folder = QFile::encodeName(fdFolder);
        DIR* fds = ::opendir(folder.constData()); // another user's: not to be looked into
        if (!fds) {
            continue;
        }
        int held = 0; // descriptors of the port
        bool master = false;
        while (const dirent* fd = ::readdir(fds)) {
            if (fd->d_name[0] == '.') {
                continue;
            }
            struct stat opened {};
            const QByteArray link = folder + '/' + fd->d_name;
            if (::stat(link.constData(), &opened) != 0 || !S_ISCHR(opened.st_mode)) {
                continue;
            }
            held += opened.st_rdev == target.st_rdev ? 1 : 0;
            if (ptyIndex >= 0 && opened.st_rdev == ptyMaster) {
                master = master || IsPtyMaster(QStringLiteral("/proc/%1/fdinfo/%2")
                                                   .arg(pid)
                                                   .arg(QString::fromLatin1(fd->d_name)),
                                               ptyIndex);
            }
        }
        ::closedir(fds);
        // The other side of a pseudo-terminal keeps one descriptor of it, so that it lives; any
        // more are a program using it.
        if (held > (master ? 1 : 0)) {
            holders.push_back({ProcessName(pid), pid});
        }
    }
    return holders;
}

QString PortLockFile(const QString& port) {
    // The folders and the name QSerialPort uses, in its order: the first readable folder that
    // holds the file or may take it.
    const QString name =
        u'/' + QString::fromStdString(PortLockName(PortSystemLocation(port).toStdString()));
    QStringList folders;
    for (const char* folder : PortLockFolders) {
        folders.push_back(QString::fromLatin1(folder));
    }
    folders.push_back(QStandardPaths::writableLocation(QStandardPaths::TempLocation));
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        if (info.isReadable() && (QFile::exists(folder + name) || info.isWritable())) {
            return folder + name;
        }
    }
    return {};
}

RootAccess ThisUsersRootAccess() {
    if (::geteuid() == 0) {
        return RootAccess::Root;
    }
    return QStandardPaths::findExecutable(QStringLiteral("sudo")).isEmpty() ? RootAccess::Su
                                                                            : RootAccess::Sudo;
}

Problem TakeOverStaleLock(const QString& port) {
    const QString lock = PortLockFile(port);
    if (lock.isEmpty() || !QFile::exists(lock)) {
        return {};
    }
    const qint64 pid = LockOwnerPid(lock);
    if (pid == 0 || ProcessRuns(pid) || ::unlink(QFile::encodeName(lock).constData()) != 0) {
        return {};
    }
    return Problem(QStringLiteral("lock-taken-over"))
        .Set(QStringLiteral("port"), port)
        .Set(QStringLiteral("lock"), lock)
        .Set(QStringLiteral("pid"), pid);
}

PortProblem DiagnoseOpenFailure(const QString& port, int error) {
    PortProblem problem;
    problem.Port = port;
    problem.Error = error;
    problem.Access = ThisUsersRootAccess();
    const QString location = PortSystemLocation(port);
    if (location != port) {
        problem.Location = location;
        problem.InWorkingFolder = error == ENOENT && QFileInfo::exists(port);
    }
    struct stat info {};
    if (::stat(QFile::encodeName(location).constData(), &info) != 0) {
        if (error == ENOENT) {
            // An adapter that brltty takes for a braille display gets no port at all.
            const std::vector<UsbId> plugged = PluggedUsbDevices();
            for (const QString& rule : UdevRuleFiles(UdevRuleFolders())) {
                if (!IsBrlttyRule(rule)) {
                    continue;
                }
                for (const UsbId id : UsbIdsInRules(rule)) {
                    if (std::find(plugged.begin(), plugged.end(), id) != plugged.end()) {
                        problem.ClaimedAdapter = UsbIdText(id);
                        problem.ClaimingRule = rule;
                        return problem;
                    }
                }
            }
        }
        return problem;
    }
    if (error == EACCES || error == EPERM) {
        DiagnosePermission(problem, info);
    } else if (error == ENOTTY || error == EISDIR) {
        problem.What = KindOf(info.st_mode);
    } else if (error == EBUSY) {
        const QString lock = PortLockFile(port);
        struct stat lockInfo {};
        const qint64 pid = LockOwnerPid(lock);
        if (pid != 0 && !ProcessRuns(pid)) {
            // One this user may remove is taken over at the next open: not what keeps the port.
            if (!MayRemove(lock)) {
                problem.StaleLock = lock;
                problem.StaleLockPid = pid;
                if (::stat(QFile::encodeName(lock).constData(), &lockInfo) == 0) {
                    problem.StaleLockOwner = UserName(lockInfo.st_uid);
                }
            }
        } else if (pid != 0 && pid != ::getpid()) {
            problem.Holders.push_back({ProcessName(pid), pid});
        }
        for (const PortHolder& holder : PortHolders(port)) {
            const bool known =
                std::any_of(problem.Holders.begin(), problem.Holders.end(),
                            [&](const PortHolder& h) { return h.Pid == holder.Pid; });
            if (!known) {
                problem.Holders.push_back(holder);
            }
        }
    }
    return problem;
}

qint64 LockingProcess(const QString& port) {
    const qint64 pid = LockOwnerPid(PortLockFile(port));
    return pid != 0 && pid != ::getpid() && ProcessRuns(pid) ? pid : 0;
}

PortProblem CheckPort(const QString& port) {
    int error = NodeProblem(port);
    if (error == 0) {
        // A lock whose program runs keeps the serial port from opening; a stale one is taken
        // over by the next open, when this user may remove it.
        const QString lock = PortLockFile(port);
        const qint64 pid = LockOwnerPid(lock);
        if (pid != 0 && pid != ::getpid() && (ProcessRuns(pid) || !MayRemove(lock))) {
            error = EBUSY;
        }
    }
    if (error == 0) {
        PortProblem none;
        none.Port = port;
        return none;
    }
    return DiagnoseOpenFailure(port, error);
}
