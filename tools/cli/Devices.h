#pragma once

#include "calendar/CalendarClock.h"
#include "comm/CommLink.h"
#include "tools/cli/CliHost.h"
#include "tools/cli/Console.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <string>

// How one device's part of a command ended: its exit status (0 done, 1 not all confirmed,
// 2 no device or refused) and the result shown in the closing table.
struct DeviceOutcome {
    int Status = 2;
    QString Result;
};

// One device's part of a command, run on its own thread with its own link (connected unless
// no device answered the search there), clock and host. It must leave the link to the caller.
using DeviceJob = std::function<DeviceOutcome(CommLink& link, CalendarClock& clock, CliHost& host)>;

struct DeviceRunOptions {
    // Only ports where a device answers take part; the others are left out without a word.
    bool OnlyAnswering = false;
    // The job also runs where no device answered (the upgrade greets a device waiting in its
    // upgrade stage); otherwise such a port ends as "no device answered".
    bool RunWithoutDevice = false;
    bool CountFromZero = false; // the progress of the upgrade's pages
};

// Runs the job on every port at once, each device with its own serial port created, used and
// closed on its thread; one device's failure neither stops nor slows the others. Prints the
// closing table (port, firmware version, result, time) and returns the worst exit status.
int RunOnDevices(const QStringList& ports, Console& console, const DeviceRunOptions& options,
                 const DeviceJob& job);
