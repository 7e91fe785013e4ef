#include "comm/PortProblems.h"

#include "comm/PortTexts.h"

#include <QStringList>
#include <cerrno>
#include <cstring>

namespace {

QString SystemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool HeldBy(const std::vector<PortHolder>& holders, const QString& name) {
    for (const PortHolder& holder : holders) {
        if (holder.Name.compare(name, Qt::CaseInsensitive) == 0) {
            return true;
        }
    }
    return false;
}

QString PermissionText(const PortProblem& problem) {
    const QString user =
        problem.User.isEmpty() ? QStringLiteral("your user") : u'\'' + problem.User + u'\'';
    if (problem.LoginPredatesGroup) {
        return QStringLiteral("permission denied: %1 was added to the group '%2' after this login "
                              "session began; log out and in again")
            .arg(user, problem.Group);
    }
    if (problem.RootOnly) {
        const QString group =
            problem.Group.isEmpty() ? QStringLiteral("a group") : u'\'' + problem.Group + u'\'';
        return QStringLiteral("permission denied, and only root may open it; give it to %1 with a "
                              "udev rule (GROUP, MODE=\"0660\") and add your user to that group")
            .arg(group);
    }
    if (problem.Group.isEmpty()) {
        return SystemText(problem.Error);
    }
    const QString command =
        problem.User.isEmpty()
            ? QString()
            : QStringLiteral(" (sudo usermod -aG %1 %2)").arg(problem.Group, problem.User);
    return QStringLiteral("permission denied; add your user to the group '%1'%2 and log in again")
        .arg(problem.Group, command);
}

QString InUseText(const PortProblem& problem) {
    if (!problem.StaleLock.isEmpty()) {
        return QStringLiteral("its lock file %1 was left by process %2, which no longer runs, and "
                              "belongs to %3, so it cannot be taken over; remove it (sudo rm %1)")
            .arg(problem.StaleLock)
            .arg(problem.StaleLockPid)
            .arg(problem.StaleLockOwner);
    }
    if (problem.Holders.empty()) {
        return QStringLiteral("the port is in use by another program (another muezzin-cli, or the "
                              "window); close it and try again");
    }
    const QString text =
        QStringLiteral("the port is in use by %1").arg(HoldersText(problem.Holders));
    if (HeldBy(problem.Holders, QStringLiteral("ModemManager"))) {
        return text + porttext::ModemManagerHoldsPort;
    }
    if (HeldBy(problem.Holders, QStringLiteral("brltty"))) {
        return text + porttext::BrlttyHoldsPort;
    }
    return text + QStringLiteral("; close it and try again");
}

} // namespace

QString HoldersText(const std::vector<PortHolder>& holders) {
    QStringList names;
    for (const PortHolder& holder : holders) {
        names.append(QStringLiteral("%1 (PID %2)").arg(holder.Name).arg(holder.Pid));
    }
    return names.join(QStringLiteral(", "));
}

QString AlsoOpenText(const std::vector<PortHolder>& holders) {
    return QStringLiteral("also open in %1, which would take the device's replies; close it before "
                          "a run")
        .arg(HoldersText(holders));
}

QString PortProblem::Describe() const {
    const QString head = Location.isEmpty()
                             ? QStringLiteral("cannot open %1: ").arg(Port)
                             : QStringLiteral("cannot open %1 (%2): ").arg(Port, Location);
    switch (Error) {
    case EACCES:
    case EPERM:
        return head + PermissionText(*this);
    case EBUSY:
        return head + InUseText(*this);
    case ENOTTY:
    case EISDIR:
        return head + QStringLiteral("it is %1not a serial port")
                          .arg(What.isEmpty() ? QString() : What + QStringLiteral(", "));
    default:
        if (!ClaimedAdapter.isEmpty()) {
            return head + SystemText(Error) +
                   porttext::BrlttyClaimedAdapterTemplate.arg(ClaimingRule, ClaimedAdapter);
        }
        if (InWorkingFolder) {
            return head + SystemText(Error) +
                   QStringLiteral("; the one in the working folder is ./%1").arg(Port);
        }
        return head + SystemText(Error);
    }
}
