#include "comm/SerialSetup.h"

#include "comm/PortProblems.h"

std::vector<SetupFinding> CheckPorts(const QStringList& ports) {
    if (ports.isEmpty()) {
        return {{QStringLiteral("ports"), false,
                 QStringLiteral("no serial port found: plug the adapter in (it shows as "
                                "/dev/ttyUSB0 or /dev/ttyACM0, or as COM3 on Windows); name "
                                "others in MUEZZIN_PORTS")}};
    }
    std::vector<SetupFinding> findings;
    for (const QString& port : ports) {
        const QString subject = QStringLiteral("port ") + port;
        const PortProblem problem = CheckPort(port);
        if (problem.Error != 0) {
            findings.push_back({subject, false, problem.Describe()});
            continue;
        }
        const std::vector<PortHolder> holders = PortHolders(port);
        if (!holders.empty()) {
            findings.push_back({subject, false, AlsoOpenText(holders)});
            continue;
        }
        findings.push_back({subject, true, QStringLiteral("ok")});
    }
    return findings;
}
