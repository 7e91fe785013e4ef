#pragma once

#include "common/Problem.h"

#include <QString>
#include <QStringList>
#include <vector>

// The serial side of a set-up, checked as a technician would before the first run: whether
// this user may open each candidate port and nobody else has it, and what on the system gets
// between the tool and a USB serial adapter.

// One finding: what was checked, and either that it holds, with what was found, or the problem
// with its remedy.
struct SetupFinding {
    QString Subject; // "port /dev/ttyUSB0", "ModemManager", "udev rule", ...
    bool Ok = true;
    QString Text{};     // when it holds: "ok", or what was found ("running (PID 812); ...")
    Problem Reported{}; // when it fails
};

// The file name of the udev rule installed with the tool.
inline const QString ToolUdevRuleName = QStringLiteral("60-muezzin-serial-adapters.rules");

// Each port: whether it would open for this user now, and which other programs have it open
// (they would take the device's replies). No port at all is a finding too.
std::vector<SetupFinding> CheckPorts(const QStringList& ports);

// What the system puts between the tool and its adapters: ModemManager and whether udev keeps
// it off them, brltty's rules claiming them, each FTDI adapter's latency timer, and the tool's
// own udev rule. installedRule is where the tool's installation put that rule, when it did.
// Nothing where the platform has none of these.
std::vector<SetupFinding> CheckSystemSerialSetup(const QString& installedRule);

// Where this installation put the tool's udev rule: in rulesFolder (relative to the prefix above
// programFolder, the programs' folder, or absolute). Empty when it is not there, or where the
// platform has no udev.
QString InstalledUdevRule(const QString& programFolder, const QString& rulesFolder);
