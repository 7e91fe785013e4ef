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

// How long a line that brought a stale reply must stay without a byte before the probe is sent
// again: longer than a USB adapter holds bytes back (16 ms unless lowered) and than a busy PC
// keeps a sending program waiting, so that the stale reply and the answer to the first probe have
// both come in.
constexpr std::chrono::milliseconds StaleReplySettle{50};

// Probes the open port. The line is let fall quiet first: a device may still be sending the
// reply to a program killed mid-exchange, whose tail would be read as the answer. A reply that
// is not the probe's may still be such a tail that came late: once more, after the line has
// settled.
void Probe(CommLink& link) {
    DiscardUntilQuiet(link);
    LoadFrame(link, frame::ProbeFrame);
    Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
    if (link.BytesRead == 0 || IsProbeReply(link)) {
        return;
    }
    DiscardUntilQuiet(link, StaleReplySettle);
    LoadFrame(link, frame::ProbeFrame);
    Exchange(link, frame::ProbeFrame.size(), frame::ProbeReply.size());
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
        if (StopSignalOf(link) != 0) {
            break; // asked to stop: no further port is probed
        }
        const bool firstFailure = !state.OpenFailuresShown.contains(port);
        if (!OpenForProbe(link, port, firstFailure)) {
            state.OpenFailuresShown.insert(port);
            state.Problems.push_back(DiagnoseOpenFailure(port, link.LastOpenError));
            state.Problems.back().First = firstFailure;
            continue;
        }
        state.OpenFailuresShown.erase(port);
        Probe(link);
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
