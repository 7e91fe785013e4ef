#include "device/Priority.h"

#include <cerrno>
#include <sys/resource.h>

namespace {
// Comparable to the high priority class: well above normal work, short of real time.
constexpr int HighNice = -10;
} // namespace

RaisedPriority::RaisedPriority() {
    errno = 0;
    const int found = getpriority(PRIO_PROCESS, 0);
    if (found == -1 && errno != 0) {
        return;
    }
    previous_ = found;
    if (found <= HighNice) {
        return; // already at least as high: leave it
    }
    raised_ = setpriority(PRIO_PROCESS, 0, HighNice) == 0;
}

RaisedPriority::~RaisedPriority() {
    if (raised_) {
        setpriority(PRIO_PROCESS, 0, static_cast<int>(previous_));
    }
}
