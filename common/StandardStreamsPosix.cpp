#include "common/StandardStreams.h"

#include <cerrno>
#include <fcntl.h>
#include <initializer_list>
#include <unistd.h>

void HoldClosedStandardStreams() {
    for (const int stream : {STDIN_FILENO, STDOUT_FILENO, STDERR_FILENO}) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // Read-only: a write to it fails with EBADF, as on the closed stream. The lowest free
        // number is the stream's own unless a lower one is closed too, which comes first.
        const int held = ::open("/dev/null", O_RDONLY);
        if (held > stream) {
            ::dup2(held, stream);
            ::close(held);
        }
    }
}

bool StandardErrorIsTerminal() {
    return ::isatty(STDERR_FILENO) == 1;
}

bool StandardErrorPresent() {
    return true; // a closed one is written to in vain, as a terminal that went away is
}

int StandardOutputWriteError() {
    // Writing nothing still meets a full device or a stream that may not be written.
    return ::write(STDOUT_FILENO, "", 0) < 0 ? errno : 0;
}
