#pragma once

#include "comm/CommLink.h"
#include "comm/PortInfo.h"
#include "comm/PortProblems.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <set>
#include <vector>

constexpr int MaxListedPorts = 99;

// Where the candidate ports come from: the platform's list and the MUEZZIN_PORTS variable
// (colon-separated on Linux, semicolon on Windows), which is how a simulator is found. With
// MUEZZIN_PORTS_ONLY=1 the platform's list is left out.
struct PortSources {
    std::function<QStringList()> Platform;
    std::function<QString()> Extra;
};
PortSources SystemPortSources();

// What discovery keeps between searches.
struct DiscoveryState {
    std::vector<PortProblem> Problems;   // ports the last search could not open, and why
    std::set<QString> OpenFailuresShown; // ports whose open error was shown in a box already
};

// The ports a search tries, in order: the platform's (the list is capped at 99), then the
// extra ones not listed already.
QStringList CandidatePorts(const PortSources& sources = SystemPortSources());

// Fills the link's PortNames with the candidate ports, which its searches then probe.
void ListPorts(CommLink& link, const PortSources& sources = SystemPortSources());

// Probes the listed ports in order, each once its line has fallen quiet, and once more when
// what came back was not the probe's reply; on an answer keeps the port open, sets Connected and
// queries the version. Once the program is asked to stop, no further port is tried. A port held
// from an earlier connection is closed first. A port that cannot be opened shows its error box
// once, until it opens again; later failures are only recorded in the state's problems. True when a
// device answered the probe and the version query.
bool FindDevice(CommLink& link, DiscoveryState& state);

// Asks the open port's device for its version; sets or clears Connected.
bool QueryVersion(CommLink& link);

// How the replies in RxBuffer are judged: the device's answer to the probe, and the header of
// a version reply.
bool IsProbeReply(const CommLink& link);
bool IsVersionReply(const CommLink& link);

// The 14-character version text of a version reply, bytes taken as they come.
std::string VersionTextOf(const std::array<frame::Byte, frame::BufferSize>& reply);
