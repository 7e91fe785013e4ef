#pragma once

#include "comm/PortProblems.h"

#include <QJsonArray>
#include <QString>

// What the doctor's findings tell an operator to do about brltty and ModemManager, which get
// between the tool and a USB serial adapter. The port problems say the same in their sentences
// (common/ProblemKinds.cpp). The commands are those this user runs as root: through sudo, as
// root, or through su where sudo is not installed.

namespace porttext {

// What removes brltty, and when not to.
inline QString RemoveBrltty() {
    return CommandAsRoot(QStringLiteral("apt remove brltty"), ThisUsersRootAccess());
}
// The doctor's finding of brltty's rules (brltty-claims): claims holds each rule with the
// adapters it claims, [{"rule", "adapters"}].
inline Problem BrlttyClaims(const QJsonArray& claims) {
    return Problem(QStringLiteral("brltty-claims"))
        .Set(QStringLiteral("claims"), claims)
        .Set(QStringLiteral("command"), RemoveBrltty());
}

// The doctor's finding of ModemManager running with adapters not kept from it
// (modemmanager-probes): its PID, the adapters' families, the tool's udev rule.
inline Problem ModemManagerProbes(qint64 pid, const QString& families, const QString& rule) {
    return Problem(QStringLiteral("modemmanager-probes"))
        .Set(QStringLiteral("pid"), pid)
        .Set(QStringLiteral("families"), families)
        .Set(QStringLiteral("rule"), rule)
        .Set(QStringLiteral("command"),
             CommandAsRoot(QStringLiteral("systemctl disable --now ModemManager"),
                           ThisUsersRootAccess()));
}

} // namespace porttext
