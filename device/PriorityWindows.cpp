#include "device/Priority.h"

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
