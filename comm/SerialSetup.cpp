#include "comm/SerialSetup.h"

#include "comm/PortProblems.h"

std::vector<SetupFinding> CheckPorts(const QStringList& ports) {
    if (ports.isEmpty()) {
        return {{QStringLiteral("ports"), false, {}, Problem(QStringLiteral("no-port"))}};
    }
    std::vector<SetupFinding> findings;
    for (const QString& port : ports) {
        const QString subject = QStringLiteral("port ") + port;
        const PortProblem problem = CheckPort(port);
        if (problem.Error != 0) {
            findings.push_back({subject, false, {}, problem.AsProblem()});
            continue;
        }
        const std::vector<PortHolder> holders = PortHolders(port);
        if (!holders.empty()) {
            findings.push_back({subject, false, {}, AlsoOpen(port, holders)});
            continue;
        }
        findings.push_back({subject, true, QStringLiteral("ok")});
    }
    return findings;
}
