#include "common/ConsoleOutput.h"

#include <array>
#include <atomic>
#include <cstdlib>
#include <windows.h>

namespace {

// What was changed, for the restore; a handle left empty was not changed.
UINT codePageBefore = 0;
struct ChangedMode {
    HANDLE Console = nullptr;
    DWORD Mode = 0;
};
std::array<ChangedMode, 2> modesBefore;
std::atomic<bool> prepared{false};

} // namespace

void PrepareConsoleOutput() {
    // Without a console (output to a file or a pipe) both calls fail, and nothing changes.
    const UINT codePage = GetConsoleOutputCP();
    if (codePage != 0 && codePage != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
        codePageBefore = codePage;
    }
    const std::array<DWORD, 2> streams = {STD_OUTPUT_HANDLE, STD_ERROR_HANDLE};
    for (std::size_t i = 0; i < streams.size(); ++i) {
        const HANDLE console = GetStdHandle(streams[i]);
        DWORD mode = 0;
        // Standard output and error are mostly one console: the second finds it set.
        if (console != nullptr && console != INVALID_HANDLE_VALUE &&
            GetConsoleMode(console, &mode) && (mode & ENABLE_VIRTUAL_TERMINAL_PROCESSING) == 0 &&
            SetConsoleMode(console, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING)) {
            modesBefore[i] = {console, mode};
        }
    }
    prepared = true;
    std::atexit(RestoreConsoleOutput);
}

void RestoreConsoleOutput() {
    if (!prepared.exchange(false)) {
        return;
    }
    for (const ChangedMode& changed : modesBefore) {
        if (changed.Console != nullptr) {
            SetConsoleMode(changed.Console, changed.Mode);
        }
    }
    if (codePageBefore != 0) {
        SetConsoleOutputCP(codePageBefore);
    }
}
