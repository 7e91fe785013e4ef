#pragma once

#include "comm/CommLink.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <fcntl.h>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

// Pieces several suites share.

using Notice = std::pair<QString, QString>; // a message box's text and caption

// A link whose messages are recorded instead of shown.
struct RecordingLink {
    CommLink link;
    std::vector<Notice> notices;
    RecordingLink() {
        link.Notify = [this](const QString& text, const QString& caption) {
            notices.emplace_back(text, caption);
        };
    }
};

// The port name of the simulator's pseudo-terminal.
inline QString PathOf(const DeviceSimulator& sim) {
    return QString::fromStdString(sim.PortPath());
}

// From now on the open port refuses every write, as a line that takes nothing more would, while
// what arrives can still be read: its descriptor becomes a read-only one on the same terminal.
inline bool RefuseWrites(CommLink& link, const std::string& path) {
    const int readOnly = ::open(path.c_str(), O_RDONLY | O_NOCTTY | O_NONBLOCK);
    const bool swapped =
        readOnly >= 0 && ::dup2(readOnly, static_cast<int>(link.PortHandle->handle())) >= 0;
    ::close(readOnly);
    return swapped;
}
