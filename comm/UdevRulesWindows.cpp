#include "comm/UdevRules.h"

std::vector<UsbId> PluggedUsbDevices() {
    return {}; // Windows has no udev whose rules could claim one
}
