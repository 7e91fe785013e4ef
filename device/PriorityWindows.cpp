#include "device/Priority.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

RaisedPriority::RaisedPriority() {
    const DWORD found = GetPriorityClass(GetCurrentProcess());
    previous_ = found != 0 ? found : NORMAL_PRIORITY_CLASS;
    raised_ = SetPriorityClass(GetCurrentProcess(), HIGH_PRIORITY_CLASS) != 0;
}

RaisedPriority::~RaisedPriority() {
    if (raised_) {
        SetPriorityClass(GetCurrentProcess(), static_cast<DWORD>(previous_));
    }
}
