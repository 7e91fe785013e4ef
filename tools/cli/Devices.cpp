#include "tools/cli/Devices.h"

#include "comm/Discovery.h"
#include "common/StopSignals.h"
#include "common/UserError.h"
#include "device/Upgrade.h"
#include "tools/cli/Results.h"

#include <QThread>
#include <algorithm>
#include <exception>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct DeviceRow {
    QString Port; // as named
    // Where the job ran: where the device answered, or where it was greeted in its upgrade stage.
    QString Served{};
    int Row = 0;
    bool Answered = false;
    std::string Version{};
    DeviceOutcome Outcome{};
    std::exception_ptr Error{}; // the job's UserError
    Clock::duration Took{};
};

QString NoAnswerText(qsizetype ports) {
    return QStringLiteral("no device answered on %1 port(s)").arg(ports);
}

// Link messages name their device's port, unless it is served alone; then a port that does not
// open is said in words, with its reason, once the search is over.
LinkNotifier Notifier(Console& console, const QString& port, bool alone) {
    return [&console, port, alone](const QString& text, const QString& caption) {
        if (!alone) {
            console.Error(ToolMessage(QStringLiteral("%1: %2 (%3)").arg(port, text, caption)));
        } else if (text != linktext::OpenFailed) {
            console.Error(ToolMessage(QStringLiteral("%1 (%2)").arg(text, caption)));
        }
    };
}

// Lists the device's candidate ports and probes them in order; true when a device answered.
bool SearchForDevice(CommLink& link, DiscoveryState& state, const QString& port,
                     const DeviceRunOptions& options) {
    // A device served alone without a port is searched for as the window searches.
    link.PortNames =
        NamedPorts(options.Alone && port.isEmpty() ? QStringList() : QStringList{port});
    if (options.OnlyAnswering) {
        state.OpenFailuresShown.insert(port); // no open-error message for a port left out
    }
    return FindDevice(link, state);
}

// Why the search for a device served alone found nothing. Ports that did not open say why;
// "no answer" is only true of those probed. A probed port that another program has open too may
// have lost the reply to it.
void SayNoAnswer(Console& console, const CommLink& link, const DiscoveryState& state) {
    QStringList failed;
    for (const PortProblem& problem : state.Problems) {
        console.Error(ToolMessage(problem.Describe()));
        failed.append(problem.Port);
    }
    const auto probed = link.PortNames.size() - static_cast<qsizetype>(state.Problems.size());
    if (probed > 0 || link.PortNames.isEmpty()) {
        console.Error(ToolMessage(NoAnswerText(probed)));
    }
    for (const QString& port : link.PortNames) {
        const std::vector<PortHolder> holders =
            failed.contains(port) ? std::vector<PortHolder>() : PortHolders(port);
        if (!holders.empty()) {
            console.Error(
                ToolMessage(QStringLiteral("%1 is open in %2 too, which may have taken the "
                                           "reply; close it and try again")
                                .arg(port, HoldersText(holders))));
        }
    }
}

// Where a device waiting in its upgrade stage may be greeted: a port that opened but did not
// answer the probe. A port that cannot be opened has no device to greet; it has been said why.
QString RecoveryPort(const CommLink& link, const DiscoveryState& state, const QString& named) {
    QStringList opened = link.PortNames;
    for (const PortProblem& problem : state.Problems) {
        opened.removeAll(problem.Port);
    }
    if (!named.isEmpty() && !opened.contains(named.trimmed())) {
        return {};
    }
    return RecoveryPortName(link, opened, named.trimmed());
}

// "0.012 > 55 AA 01 ...": the seconds since the run began, then the bytes in hexadecimal as the
// simulator's trace has them, '>' written to the device and '<' read from it.
FrameWatcher FrameTrace(Console& console, int row, Clock::time_point begun) {
    return [&console, row, begun](bool written, const frame::Byte* bytes, std::size_t count) {
        const double seconds = std::chrono::duration<double>(Clock::now() - begun).count();
        const QString line =
            QStringLiteral("%1 %2").arg(seconds, 0, 'f', 3).arg(QChar(written ? u'>' : u'<'));
        console.Error(row, line + QString::fromStdString(frame::HexText({bytes, count})));
    };
}

void ReleaseDevice(CommLink& link) {
    AbortPort(link);
    ClosePort(link);
}

void ServeOneDevice(DeviceRow& device, Console& console, const DeviceRunOptions& options,
                    const DeviceJob& job, Clock::time_point begun) {
    const auto started = Clock::now();
    CommLink link;
    link.Notify = Notifier(console, device.Port, options.Alone);
    link.Remark = [&console](const QString& text) { console.Error(ToolMessage(text)); };
    link.StopRequested = StopSignal;
    if (options.Verbose) {
        link.Watch = FrameTrace(console, device.Row, begun);
    }
    DiscoveryState state;
    device.Answered = SearchForDevice(link, state, device.Port, options);
    device.Version = link.VersionText;
    // A stop during the search: its end says nothing of the device, and the job is not begun.
    const int stoppedBefore = StopSignal();
    QString port = device.Answered ? link.PortName : QString();
    if (!device.Answered && options.Alone && stoppedBefore == 0) {
        SayNoAnswer(console, link, state);
    }
    if (!device.Answered && options.RunWithoutDevice && stoppedBefore == 0) {
        port = RecoveryPort(link, state, device.Port);
        if (options.Alone && !port.isEmpty()) {
            console.Note(ToolMessage(
                QStringLiteral("greeting a device in its upgrade stage on %1").arg(port)));
        }
    }
    device.Served = port;
    CalendarClock clock = ClockNow();
    if (stoppedBefore != 0) {
        device.Outcome.Result = StoppedBeforeCommandText(stoppedBefore);
    } else if (port.isEmpty()) {
        device.Outcome.Result = state.Problems.empty() ? QStringLiteral("no device answered")
                                                       : state.Problems.front().Describe();
    } else {
        try {
            CliHost host(clock, console, device.Row);
            host.CountFromZero(options.CountFromZero);
            DeviceContext context{link, clock, host, port};
            device.Outcome = job(context);
        } catch (const UserError& error) {
            device.Error = std::current_exception();
            device.Outcome = {.Status = exitcode::InputError, .Result = error.Text()};
        }
    }
    ReleaseDevice(link);
    if (const int signal = StopSignal()) {
        // Said once the port is drained and released, as the last line of the device's log.
        console.LogLine(device.Row, QString::fromLatin1(clock.DateText.data()),
                        StoppedLogTemplate.arg(StopSignalName(signal)));
        device.Outcome.Status = StopExitStatus(signal);
        device.Outcome.StopSignal = signal;
    }
    device.Took = Clock::now() - started;
    const QString& report = device.Outcome.Report;
    if (!report.isEmpty()) {
        const QString text =
            options.Alone ? report : QStringLiteral("[%1]\n%2\n").arg(port, report);
        if (options.ReportToError) {
            console.Error(text);
        } else {
            console.Print(text);
        }
    }
}

int ShowAlone(const DeviceRow& device, Console& console) {
    if (device.Error) {
        std::rethrow_exception(device.Error);
    }
    const DeviceOutcome& outcome = device.Outcome;
    if (outcome.AloneIsError) {
        console.Error(ToolMessage(QString::fromUtf8(outcome.Alone)));
    } else if (!outcome.Alone.isEmpty()) {
        console.Print(outcome.Alone);
    }
    return outcome.Status;
}

QString TableLine(const QStringList& cells, const std::vector<qsizetype>& widths) {
    QString line;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const QString& cell = cells[static_cast<qsizetype>(i)];
        line += i + 1 < widths.size() ? cell.leftJustified(widths[i] + 2) : cell;
    }
    return line;
}

int ShowTable(const std::vector<DeviceRow>& devices, Console& console,
              const DeviceRunOptions& options) {
    std::vector<QStringList> table = {{QStringLiteral("port"), QStringLiteral("firmware"),
                                       QStringLiteral("result"), QStringLiteral("time")}};
    int worst = exitcode::Ok;
    for (const DeviceRow& device : devices) {
        if (options.OnlyAnswering && !device.Answered) {
            continue;
        }
        worst = std::max(worst, device.Outcome.Status);
        const auto seconds = std::chrono::duration<double>(device.Took).count();
        table.push_back(
            {device.Port,
             device.Version.empty() ? QStringLiteral("-") : QString::fromStdString(device.Version),
             device.Outcome.Result, QStringLiteral("%1 s").arg(seconds, 0, 'f', 1)});
    }
    if (table.size() == 1) {
        console.Error(ToolMessage(NoAnswerText(static_cast<qsizetype>(devices.size()))));
        return exitcode::InputError;
    }
    std::vector<qsizetype> widths(table.front().size(), 0);
    for (const QStringList& cells : table) {
        for (std::size_t i = 0; i < widths.size(); ++i) {
            widths[i] = std::max(widths[i], cells[static_cast<qsizetype>(i)].size());
        }
    }
    for (const QStringList& cells : table) {
        console.Print(TableLine(cells, widths));
    }
    return worst;
}

void KeepSummaries(const std::vector<DeviceRow>& devices, const DeviceRunOptions& options) {
    for (const DeviceRow& device : devices) {
        if (options.OnlyAnswering && !device.Answered) {
            continue;
        }
        options.Summaries->push_back(
            {.Port = device.Served.isEmpty() ? device.Port : device.Served,
             .Version = QString::fromStdString(device.Version),
             .Outcome = device.Outcome,
             .Seconds = std::chrono::duration<double>(device.Took).count()});
    }
}

} // namespace

QStringList NamedPorts(const QStringList& named) {
    if (named.isEmpty()) {
        return CandidatePorts();
    }
    QStringList names;
    for (const QString& port : named) {
        if (!port.trimmed().isEmpty()) {
            names.append(port.trimmed());
        }
    }
    return CandidatePorts({[&] { return names; }, {}});
}

DeviceOutcome ResultOutcome(int status, const QString& result, bool isError) {
    return {.Status = status, .Result = result, .Alone = result.toUtf8(), .AloneIsError = isError};
}

int RunOnDevices(const QStringList& ports, Console& console, const DeviceRunOptions& options,
                 const DeviceJob& job) {
    const auto begun = Clock::now();
    std::vector<DeviceRow> devices;
    for (const QString& port : ports) {
        devices.push_back({.Port = port, .Row = console.AddRow(options.Alone ? QString() : port)});
    }
    std::vector<std::unique_ptr<QThread>> threads;
    for (DeviceRow& device : devices) {
        threads.emplace_back(
            QThread::create([&] { ServeOneDevice(device, console, options, job, begun); }));
        threads.back()->start();
    }
    for (const auto& thread : threads) {
        thread->wait();
    }
    if (options.Summaries) {
        KeepSummaries(devices, options);
    }
    return options.Alone ? ShowAlone(devices.front(), console)
                         : ShowTable(devices, console, options);
}
