#include "comm/CommLink.h"
#include "comm/CommLinkPlatform.h"

#include <cerrno>
#include <sys/ioctl.h>
#include <termios.h>
#ifdef __linux__
#include <linux/serial.h>
#endif

int LastSystemError() {
    return errno;
}

std::optional<int> QueuedOutput(SerialHandle handle) {
#if defined(TIOCOUTQ)
    int queued = 0;
    if (::ioctl(handle, TIOCOUTQ, &queued) == 0) {
        return queued;
    }
#else
    Q_UNUSED(handle);
#endif
    return std::nullopt;
}

std::optional<int> QueuedInput(SerialHandle handle) {
    int queued = 0;
    if (::ioctl(handle, FIONREAD, &queued) == 0) {
        return queued;
    }
    return std::nullopt;
}

void WaitUntilSent(SerialHandle handle) {
    ::tcdrain(handle);
}

LatencyControl SystemLatencyControl() {
#ifdef __linux__
    return {[](SerialHandle handle) -> std::optional<bool> {
                serial_struct info{};
                if (::ioctl(handle, TIOCGSERIAL, &info) != 0) {
                    return std::nullopt;
                }
                return (info.flags & ASYNC_LOW_LATENCY) != 0;
            },
            [](SerialHandle handle, bool lowLatency) {
                serial_struct info{};
                if (::ioctl(handle, TIOCGSERIAL, &info) != 0) {
                    return false;
                }
                info.flags = lowLatency ? (info.flags | ASYNC_LOW_LATENCY)
                                        : (info.flags & ~ASYNC_LOW_LATENCY);
                return ::ioctl(handle, TIOCSSERIAL, &info) == 0;
            }};
#else
    return {};
#endif
}
