#pragma once

#include "calendar/CalendarClock.h"
#include "comm/CommLink.h"
#include "common/ExitCodes.h"
#include "tools/cli/CliHost.h"
#include "tools/cli/Console.h"

#include <QByteArray>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// How one device's part of a command ended.
struct DeviceOutcome {
    int Status = exitcode::InputError;
    QString Result{}; // its cell of the closing table
    // What a device served alone prints in place of the table: the bytes as they stand on
    // standard output (a firmware version as the device sent it), or, when AloneIsError, the
    // tool's message on standard error; nothing when empty.
    QByteArray Alone{};
    bool AloneIsError = false;
    // What the device holds, printed once it is done: bare for a device served alone; among
    // several under a "[port]" line and followed by an empty one, so that its lines stay together.
    QString Report{};
    // What a script reads of it beyond the result (counts, addresses, settings), for
    // --format json.
    QJsonObject Facts{};
    int StopSignal = 0; // the signal that asked the program to stop while the device was served
};

// The usual outcome: a device served alone prints its result, or says it as the tool's message
// when it tells what went wrong.
DeviceOutcome ResultOutcome(int status, const QString& result, bool isError = false);

// How one device's part of a command ended, for a report a script reads.
struct DeviceSummary {
    QString Port;    // where the device answered, else as named (empty: the search found none)
    QString Version; // the firmware version it reported; empty when none answered
    DeviceOutcome Outcome;
    double Seconds = 0.0;
};

// One device as its job meets it: its own link (connected unless no device answered and the
// job runs all the same), clock (sampled once the device answered) and host.
struct DeviceContext {
    CommLink& Link;
    CalendarClock& Clock;
    CliHost& Host;
    // Where the device answered; without an answer, where a device waiting in its upgrade stage
    // is greeted.
    QString Port;
};

// One device's part of a command, run on its own thread. It must leave the link to the caller.
using DeviceJob = std::function<DeviceOutcome(DeviceContext& device)>;

struct DeviceRunOptions {
    // One device: the port named or, when that is empty, the first candidate port where a device
    // answers the search. It has no table: its result stands in its place, its lines carry no
    // port, and why the search found nothing is said in words. Otherwise each port named is a
    // device of its own, in a row of the closing table.
    bool Alone = false;
    // Only ports where a device answers take part; the others are left out without a word.
    bool OnlyAnswering = false;
    // The job also runs where no device answered (the upgrade greets a device waiting in its
    // upgrade stage); otherwise such a port ends as "no device answered".
    bool RunWithoutDevice = false;
    bool CountFromZero = false; // the progress of the upgrade's pages
    // Reports go to standard error: standard output carries something else (a profile).
    bool ReportToError = false;
    // Every frame written and read is shown on standard error, with the seconds since the run
    // began.
    bool Verbose = false;
    // Filled with how each device's part ended, in the order of the ports, when given.
    std::vector<DeviceSummary>* Summaries = nullptr;
};

// The ports a command works on: each named (trimmed; an empty name names none) as it stands,
// not split as MUEZZIN_PORTS is, since a by-path name holds ':'; when none is named, every
// candidate port, as a search probes them.
QStringList NamedPorts(const QStringList& named);

// Runs the job on every device at once, each with its own serial port created, used and closed
// on its thread; one device's failure neither stops nor slows the others. A stop signal ends
// each device's part as its link sends nothing more; a device not yet served is left as it was.
// Once its port is released, each device's log gets the line of the stop. Prints the closing
// table (port, firmware version, result, time), or a device's own lines when it is served alone,
// and returns the worst exit status. A job's UserError is the row's result; a device served alone
// throws it again here, as the command's own.
int RunOnDevices(const QStringList& ports, Console& console, const DeviceRunOptions& options,
                 const DeviceJob& job);
