#include "comm/Discovery.h"

#include "comm/PortInfo.h"

#include <QSerialPortInfo>
#include <QtGlobal>
#include <algorithm>
#include <cerrno>

namespace {

template <std::size_t N> void LoadFrame(CommLink& link, const std::array<frame::Byte, N>& bytes) {
    std::copy(bytes.begin(), bytes.end(), link.TxFrame.begin());
}

// Opens the port for a probe, unless another program holds it: root passes the exclusive mode
// of a port opened under another name (a link to it), and would talk into that program's
// transfer.
bool OpenForProbe(CommLink& link, const QString& port, bool showError) {
    if (HeldExclusively(port)) {
        link.LastOpenError = EBUSY;
        if (showError && link.Notify) {
            link.Notify(linktext::OpenFailed, QString::number(EBUSY));
        }
        return false;
    }
    return OpenPort(link, port, DeviceBaudRate, showError);
}

} // namespace

PortSources SystemPortSources() {
    return {[] {
                QStringList ports;
                // Set where the system's ports hold other equipment (a console, a modem) that
                // must not be written to: then only the named ports are searched.
                if (qEnvironmentVariable("MUEZZIN_PORTS_ONLY") == QStringLiteral("1")) {
                    return ports;
                }
                for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
                    ports.append(info.systemLocation());
                }
                return ports;
            },
            [] { return qEnvironmentVariable("MUEZZIN_PORTS"); }};
}

QStringList CandidatePorts(const PortSources& sources) {
    QStringList ports = sources.Platform ? sources.Platform() : QStringList();
    if (ports.size() > MaxListedPorts) {
        ports.erase(ports.begin() + MaxListedPorts, ports.end());
    }
    const QStringList extra = sources.Extra ? SplitPortList(sources.Extra()) : QStringList();
    for (const QString& port : extra) {
        if (!ports.contains(port)) {
            ports.append(port);
        }
    }
    return ports;
}

void ListPorts(CommLink& link, const PortSources& sources) {
    link.PortNames = CandidatePorts(sources);
}

bool FindDevice(CommLink& link, DiscoveryState& state) {
    // A connection whose version query failed still holds its port: give it up first.
    ClosePort(link);
    state.Problems.clear();
    for (const QString& port : std::as_const(link.PortNames)) {
        const bool firstFailure = !state.OpenFailuresShown.contains(port);
        if (!OpenForProbe(link, port, firstFailure)) {
            state.OpenFailuresShown.insert(port);
            state.Problems.push_back(DiagnoseOpenFailure(port, link.LastOpenError));
            state.Problems.back().First = firstFailure;
            continue;
        }
        state.OpenFailuresShown.erase(port);
        LoadFrame(link, frame::ProbeFrame);
        Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
        if (IsProbeReply(link)) {
            link.Connected = true;
            link.LastAnsweredPort = port;
            return QueryVersion(link);
        }
        ClosePort(link);
    }
    return false;
}

bool IsProbeReply(const CommLink& link) {
    return std::equal(frame::ProbeReply.begin(), frame::ProbeReply.end(), link.RxBuffer.begin());
}

bool IsVersionReply(const CommLink& link) {
    return std::equal(frame::VersionReplyHeader.begin(), frame::VersionReplyHeader.end(),
                      link.RxBuffer.begin());
}

std::string VersionTextOf(const std::array<frame::Byte, frame::BufferSize>& reply) {
    const std::array<int, 14> order = {8, 9, -1, 10, 11, -1, 6, 7, -1, 12, 13, 14, 15, 16};
    std::string text;
    for (const int at : order) {
        const char c = at < 0 ? '.' : static_cast<char>(reply[static_cast<std::size_t>(at)]);
        if (c == '\0') {
            break; // the text ends at its first zero, as the device's string does
        }
        text.push_back(c);
    }
    return text;
}

bool QueryVersion(CommLink& link) {
    LoadFrame(link, frame::VersionQueryFrame);
    Exchange(link, frame::VersionQueryFrame.size(), frame::VersionReplySize);
    link.Connected = IsVersionReply(link);
    if (link.Connected) {
        link.VersionText = VersionTextOf(link.RxBuffer);
    }
    return link.Connected;
}
