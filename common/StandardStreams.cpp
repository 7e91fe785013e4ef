#include "common/StandardStreams.h"

#include "common/ExitCodes.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>

int FlushedOutputStatus(int status, const char* program) {
    errno = 0;
    const bool flushed = std::fflush(stdout) == 0;
    if (flushed && std::ferror(stdout) == 0) {
        return status;
    }
    // A write that failed earlier has set the error flag; its number may be gone by now.
    const int error = errno != 0 ? errno : StandardOutputWriteError();
    std::fprintf(stderr, "%s: cannot write standard output: %s\n", program,
                 error != 0 ? std::strerror(error) : "an earlier write failed");
    return std::max(status, exitcode::Failed);
}
