// Windows has no ModemManager, brltty or udev; an adapter's latency timer is a setting of its
// driver in the Device Manager.
#include "comm/SerialSetup.h"

std::vector<SetupFinding> CheckSystemSerialSetup(const QString&) {
    return {};
}

QString InstalledUdevRule(const QString&, const QString&) {
    return {};
}
