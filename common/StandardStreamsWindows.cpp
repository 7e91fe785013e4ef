#include "common/StandardStreams.h"

#include <cstdio>
#include <initializer_list>
#include <io.h>
#include <windows.h>

void HoldClosedStandardStreams() {
    // A stream without a handle has no descriptor (-2). Opened read-only on NUL, writing to it
    // fails as it would without the handle, and no file the program opens takes its place.
    if (_fileno(stdin) < 0) {
        [[maybe_unused]] std::FILE* in = std::freopen("NUL", "r", stdin);
    }
    for (std::FILE* stream : {stdout, stderr}) {
        if (_fileno(stream) < 0) {
            [[maybe_unused]] std::FILE* held = std::freopen("NUL", "r", stream);
        }
    }
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

bool StandardErrorPresent() {
    const HANDLE stream = GetStdHandle(STD_ERROR_HANDLE);
    return stream != nullptr && stream != INVALID_HANDLE_VALUE;
}

int StandardOutputWriteError() {
    return 0; // writing nothing tells nothing here
}
