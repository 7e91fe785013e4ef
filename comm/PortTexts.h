#pragma once

#include "comm/PortProblems.h"

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
inline const QString UnlessBraille = QStringLiteral("unless a braille display is used");

// The doctor's finding of brltty's rules; %1 is what each rule claims.
inline QString BrlttyClaimsTemplate() {
    return QStringLiteral("%1: such an adapter is taken for a braille display and gets no serial "
                          "port; remove brltty (") +
           RemoveBrltty() + QStringLiteral(") ") + UnlessBraille +
           QStringLiteral(", and plug the adapter in again");
}

// The doctor's finding of ModemManager running with adapters not kept from it; %1 is its PID,
// %2 the adapters' families, %3 the tool's udev rule.
inline QString ModemManagerProbesTemplate() {
    return QStringLiteral("running (PID %1) and not kept off %2 adapters: it probes them for a "
                          "modem when they are plugged in, and the device's first replies are "
                          "lost; install the udev rule %3, or stop it (") +
           CommandAsRoot(QStringLiteral("systemctl disable --now ModemManager"),
                         ThisUsersRootAccess()) +
           u')';
}

} // namespace porttext
