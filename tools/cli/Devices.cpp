#include "tools/cli/Devices.h"

#include "comm/Discovery.h"

#include <QThread>
#include <algorithm>
#include <ctime>
#include <memory>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

struct DeviceRow {
    QString Port;
    int Row = 0;
    bool Answered = false;
    std::string Version;
    DeviceOutcome Outcome;
    Clock::duration Took{};
};

// Searches the one port as the search does; says why when nothing answered.
QString Connect(CommLink& link, const QString& port, bool quiet) {
    ListPorts(link, {{}, [&] { return port; }});
    DiscoveryState state;
    if (quiet) {
        state.OpenFailuresShown.insert(port); // no open-error message for a port left out
    }
    if (FindDevice(link, state)) {
        return {};
    }
    return state.Problems.empty() ? QStringLiteral("no device answered")
                                  : state.Problems.front().Describe();
}

void RunOne(DeviceRow& device, Console& console, const DeviceRunOptions& options,
            const DeviceJob& job) {
    const auto started = Clock::now();
    CommLink link;
    link.Notify = [&](const QString& text, const QString& caption) {
        console.Error(QStringLiteral("muezzin-cli: %1: %2 (%3)").arg(device.Port, text, caption));
    };
    const QString problem = Connect(link, device.Port, options.OnlyAnswering);
    device.Answered = link.Connected;
    device.Version = link.VersionText;
    if (device.Answered || options.RunWithoutDevice) {
        CalendarClock clock;
        SampleClock(clock, std::time(nullptr));
        ToSolarDate(clock);
        CliHost host(clock, console, device.Row);
        host.CountFromZero(options.CountFromZero);
        device.Outcome = job(link, clock, host);
    } else {
        device.Outcome = {2, problem};
    }
    AbortPort(link);
    ClosePort(link);
    device.Took = Clock::now() - started;
}

QString TableLine(const QStringList& cells, const std::vector<qsizetype>& widths) {
    QString line;
    for (std::size_t i = 0; i < widths.size(); ++i) {
        const QString& cell = cells[static_cast<qsizetype>(i)];
        line += i + 1 < widths.size() ? cell.leftJustified(widths[i] + 2) : cell;
    }
    return line;
}

} // namespace

int RunOnDevices(const QStringList& ports, Console& console, const DeviceRunOptions& options,
                 const DeviceJob& job) {
    std::vector<DeviceRow> devices;
    for (const QString& port : ports) {
        devices.push_back({port, console.AddRow(port), false, {}, {}, {}});
    }
    std::vector<std::unique_ptr<QThread>> threads;
    for (DeviceRow& device : devices) {
        threads.emplace_back(QThread::create([&] { RunOne(device, console, options, job); }));
        threads.back()->start();
    }
    for (const auto& thread : threads) {
        thread->wait();
    }

    std::vector<QStringList> table = {{QStringLiteral("port"), QStringLiteral("firmware"),
                                       QStringLiteral("result"), QStringLiteral("time")}};
    int worst = 0;
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
        console.Error(
            QStringLiteral("muezzin-cli: no device answered on %1 port(s)").arg(ports.size()));
        return 2;
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
