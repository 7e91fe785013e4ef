#include "tools/cli/CommandSupport.h"

#include "comm/Discovery.h"
#include "comm/PortIdentity.h"
#include "comm/PortInfo.h"
#include "common/StandardStreams.h"
#include "common/UserError.h"

#include <QDir>
#include <vector>

namespace {

// The ports of the command's devices: the one given with --port (none: a search), each port
// given, or every candidate port.
QStringList DevicePorts(const GlobalOptions& global) {
    if (!global.ManyDevices()) {
        return {global.Port};
    }
    if (!global.AllPorts) {
        return global.Ports;
    }
    QStringList ports = CandidatePorts();
    for (const QString& port : global.Ports) {
        if (!ports.contains(port)) {
            ports.append(port);
        }
    }
    // A device listed by the platform and named in MUEZZIN_PORTS is one device.
    const QStringList given = global.Ports + SplitPortList(SystemPortSources().Extra());
    return DistinctPorts(ports, given);
}

} // namespace

int RefuseCommand(const GlobalOptions& global, const Problem& problem) {
    PrintProblem(problem);
    if (global.Json) {
        global.Json->SetProblem(problem);
    }
    return ProblemExitStatus(problem);
}

Console CommandConsole(const GlobalOptions& global, const QString& logPath) {
    return Console(logPath, StandardErrorIsTerminal(),
                   {.Quiet = global.Quiet, .Report = global.Json});
}

int ServeDevices(const GlobalOptions& global, Console& console, const DeviceJob& job,
                 DeviceRunOptions options) {
    options.Alone = !global.ManyDevices();
    options.OnlyAnswering = global.AllPorts;
    options.Verbose = global.Verbose;
    std::vector<DeviceSummary> summaries;
    if (global.Json) {
        options.Summaries = &summaries;
    }
    const auto keep = [&] {
        if (global.Json) {
            global.Json->Set(QStringLiteral("devices"), DevicesJson(summaries));
        }
    };
    try {
        const int status = RunOnDevices(DevicePorts(global), console, options, job);
        keep();
        return status;
    } catch (const UserError&) {
        keep(); // a device served alone: its error is the command's, its entry stays
        throw;
    }
}

QString StartFolderPath(const GlobalOptions& global) {
    QString folder = QDir(global.Folder).absolutePath();
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

StartFolderChoice ChooseStartFolderAndWarn(const QString& flag) {
    const StartFolderChoice choice = ChooseStartFolder(SystemStartFolderPlaces(flag));
    if (!choice.SetUpProblem.IsEmpty()) {
        PrintProblem(choice.SetUpProblem);
    }
    return choice;
}

Problem StartFolderHint(const StartFolderChoice& choice) {
    const QString form = choice.Source == StartFolderSource::Flag ? QStringLiteral("flag")
                         : choice.Source == StartFolderSource::WorkingDirectory
                             ? QStringLiteral("working-directory")
                             : QStringLiteral("data-folder");
    return Problem(QStringLiteral("start-folder-hint"), form)
        .Set(QStringLiteral("folder"), QDir::toNativeSeparators(choice.Folder));
}
