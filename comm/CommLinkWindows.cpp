#include "comm/CommLink.h"
#include "comm/CommLinkPlatform.h"

#include <windows.h>

// Windows numbers its errors otherwise, and Qt has made further calls since the port refused.
int LastSystemError() {
    return 0;
}

std::optional<int> QueuedOutput(SerialHandle) {
    return std::nullopt;
}

std::optional<int> QueuedInput(SerialHandle handle) {
    DWORD errors = 0;
    COMSTAT status{};
    if (ClearCommError(handle, &errors, &status)) {
        return static_cast<int>(status.cbInQue);
    }
    return std::nullopt;
}

void WaitUntilSent(SerialHandle handle) {
    FlushFileBuffers(handle);
}

// The latency timer of a USB adapter is a setting of its driver (for FTDI adapters: Device
// Manager, the port's Port Settings, Advanced, Latency Timer), not something a program asks for.
LatencyControl SystemLatencyControl() {
    return {};
}
