#pragma once

#include "comm/CommLink.h"
#include "tools/devicesim/DeviceSimulator.h"

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
