#pragma once

#include <QString>

// What the port's problems and the doctor's findings tell an operator to do about brltty and
// ModemManager, which get between the tool and a USB serial adapter. The window, the command
// line and the doctor say them alike; keep them character for character.

namespace porttext {

// What removes brltty, and when not to.
inline const QString RemoveBrltty = QStringLiteral("sudo apt remove brltty");
inline const QString UnlessBraille = QStringLiteral("unless a braille display is used");

// brltty has the port open; follows "the port is in use by brltty (PID n)".
inline const QString BrlttyHoldsPort =
    QStringLiteral(", which takes the adapter for a braille display; remove it (") + RemoveBrltty +
    QStringLiteral(") ") + UnlessBraille;

// The port is gone and brltty's rule took its adapter; follows the system's reason. %1 is the
// rule file, %2 the adapter ("1a86:7523").
inline const QString BrlttyClaimedAdapterTemplate =
    QStringLiteral("; brltty's udev rule %1 takes the USB serial adapter %2 for a braille "
                   "display, so it gets no port: remove brltty (") +
    RemoveBrltty + QStringLiteral(") and plug the adapter in again");

// The doctor's finding of brltty's rules; %1 is what each rule claims.
inline const QString BrlttyClaimsTemplate =
    QStringLiteral("%1: such an adapter is taken for a braille display and gets no serial port; "
                   "remove brltty (") +
    RemoveBrltty + QStringLiteral(") ") + UnlessBraille +
    QStringLiteral(", and plug the adapter in again");

// ModemManager has the port open; follows "the port is in use by ModemManager (PID n)".
inline const QString ModemManagerHoldsPort =
    QStringLiteral(", which probes new adapters for a modem; wait until it lets go, and install "
                   "the udev rule that keeps it off them (see 'muezzin-cli doctor')");

// The doctor's finding of ModemManager running with adapters not kept from it; %1 is its PID,
// %2 the adapters' families, %3 the tool's udev rule.
inline const QString ModemManagerProbesTemplate =
    QStringLiteral("running (PID %1) and not kept off %2 adapters: it probes them for a modem "
                   "when they are plugged in, and the device's first replies are lost; install "
                   "the udev rule %3, or stop it (sudo systemctl disable --now ModemManager)");

} // namespace porttext
