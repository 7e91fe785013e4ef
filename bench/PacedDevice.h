#pragma once

#include "comm/CommLink.h"
#include "tools/devicesim/DeviceSimulator.h"

#include <cstdio>

// Starts the simulator with every byte taking its wire time at 115200 baud and opens the link
// to it; says why on standard error when it cannot.
inline bool OpenPacedDevice(DeviceSimulator& sim, CommLink& link) {
    std::string error;
    if (!sim.Start(&error)) {
        std::fprintf(stderr, "bench: %s\n", error.c_str());
        return false;
    }
    link.Notify = [](const QString& text, const QString& caption) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(caption), qPrintable(text));
    };
    return OpenPort(link, QString::fromStdString(sim.PortPath()));
}

inline SimulatorOptions PacedOptions() {
    SimulatorOptions options;
    options.Paced = true;
    return options;
}
