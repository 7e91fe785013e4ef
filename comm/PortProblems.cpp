#include "comm/PortProblems.h"

#include <QJsonObject>
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

// One word for the shell, whatever it holds.
QString ShellQuoted(const QString& text) {
    QString quoted = text;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    return u'\'' + quoted + u'\'';
}

Problem PermissionProblem(const PortProblem& problem, Problem head) {
    if (problem.LoginPredatesGroup) {
        head.Form =
            problem.User.isEmpty() ? QStringLiteral("relogin-unnamed") : QStringLiteral("relogin");
        return head.Set(QStringLiteral("user"), TextOrNull(problem.User))
            .Set(QStringLiteral("group"), problem.Group);
    }
    if (problem.RootOnly) {
        head.Form = problem.Group.isEmpty() ? QStringLiteral("root-only-no-group")
                                            : QStringLiteral("root-only");
        return head.Set(QStringLiteral("group"), TextOrNull(problem.Group));
    }
    if (problem.Group.isEmpty()) {
        head.Form = QStringLiteral("denied");
        return head.Set(QStringLiteral("reason"), SystemText(problem.Error));
    }
    head.Form = QStringLiteral("join");
    head.Set(QStringLiteral("group"), problem.Group)
        .Set(QStringLiteral("user"), TextOrNull(problem.User));
    if (!problem.User.isEmpty()) {
        head.Set(QStringLiteral("command"),
                 CommandAsRoot(QStringLiteral("usermod -aG %1 %2").arg(problem.Group, problem.User),
                               problem.Access));
    }
    return head;
}

Problem InUseProblem(const PortProblem& problem, Problem head) {
    if (!problem.StaleLock.isEmpty()) {
        head.Kind = QStringLiteral("port-locked");
        return head.Set(QStringLiteral("lock"), problem.StaleLock)
            .Set(QStringLiteral("pid"), problem.StaleLockPid)
            .Set(QStringLiteral("owner"), TextOrNull(problem.StaleLockOwner))
            .Set(QStringLiteral("command"),
                 CommandAsRoot(QStringLiteral("rm ") + problem.StaleLock, problem.Access));
    }
    if (problem.Holders.empty()) {
        head.Form = QStringLiteral("unknown");
        return head;
    }
    head.Set(QStringLiteral("holders"), HoldersJson(problem.Holders));
    if (HeldBy(problem.Holders, QStringLiteral("ModemManager"))) {
        head.Form = QStringLiteral("modemmanager");
    } else if (HeldBy(problem.Holders, QStringLiteral("brltty"))) {
        head.Form = QStringLiteral("brltty");
        head.Set(QStringLiteral("command"),
                 CommandAsRoot(QStringLiteral("apt remove brltty"), problem.Access));
    } else {
        head.Form = QStringLiteral("holders");
    }
    return head;
}

Problem GoneProblem(const PortProblem& problem, Problem head) {
    head.Set(QStringLiteral("reason"), SystemText(problem.Error));
    if (!problem.ClaimedAdapter.isEmpty()) {
        head.Form = QStringLiteral("adapter-claimed");
        return head.Set(QStringLiteral("adapter"), problem.ClaimedAdapter)
            .Set(QStringLiteral("rule"), problem.ClaimingRule)
            .Set(QStringLiteral("command"),
                 CommandAsRoot(QStringLiteral("apt remove brltty"), problem.Access));
    }
    if (problem.InWorkingFolder) {
        head.Form = QStringLiteral("in-working-folder");
        return head.Set(QStringLiteral("here"), QStringLiteral("./") + problem.Port);
    }
    return head;
}

} // namespace

QString CommandAsRoot(const QString& command, RootAccess access) {
    switch (access) {
    case RootAccess::Sudo:
        return QStringLiteral("sudo ") + command;
    case RootAccess::Root:
        return command;
    case RootAccess::Su:
        break;
    }
    return QStringLiteral("su -c ") + ShellQuoted(command);
}

QString HoldersText(const std::vector<PortHolder>& holders) {
    QStringList names;
    for (const PortHolder& holder : holders) {
        names.append(QStringLiteral("%1 (PID %2)").arg(holder.Name).arg(holder.Pid));
    }
    return names.join(QStringLiteral(", "));
}

QJsonArray HoldersJson(const std::vector<PortHolder>& holders) {
    QJsonArray array;
    for (const PortHolder& holder : holders) {
        array.append(QJsonObject{{QStringLiteral("name"), holder.Name},
                                 {QStringLiteral("pid"), holder.Pid}});
    }
    return array;
}

Problem PortProblem::AsProblem() const {
    Problem head;
    head.Set(QStringLiteral("port"), Port).Set(QStringLiteral("device"), TextOrNull(Location));
    switch (Error) {
    case EACCES:
    case EPERM:
        head.Kind = QStringLiteral("port-permission");
        return PermissionProblem(*this, head);
    case EBUSY:
        head.Kind = QStringLiteral("port-in-use");
        return InUseProblem(*this, head);
    case ENOTTY:
    case EISDIR:
        head.Kind = QStringLiteral("not-a-serial-port");
        head.Form = What.isEmpty() ? QStringLiteral("device") : What;
        return head.Set(QStringLiteral("what"), What.isEmpty() ? QJsonValue() : QJsonValue(What));
    case ENOENT:
    case ENODEV:
    case ENXIO:
        head.Kind = QStringLiteral("port-gone");
        return GoneProblem(*this, head);
    default:
        head.Kind = QStringLiteral("port-failed");
        return head.Set(QStringLiteral("reason"), SystemText(Error));
    }
}

Problem AlsoOpen(const QString& port, const std::vector<PortHolder>& holders) {
    return Problem(QStringLiteral("port-shared"), QStringLiteral("also-open"))
        .Set(QStringLiteral("port"), port)
        .Set(QStringLiteral("holders"), HoldersJson(holders));
}

QString PortProblem::Describe() const {
    return ProblemText(AsProblem(), Wording::English);
}
