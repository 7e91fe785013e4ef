#include "files/InputFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    const int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor < 0) {
        ThrowSystemError(FileError::Kind::CannotOpen, path, errno);
    }
    struct stat info {};
    if (::fstat(descriptor, &info) != 0) {
        const int error = errno;
        ::close(descriptor);
        ThrowSystemError(FileError::Kind::CannotOpen, path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(descriptor);
        if (S_ISDIR(info.st_mode)) {
            ThrowSystemError(FileError::Kind::CannotOpen, path, EISDIR);
        }
        throw FileError(FileError::Kind::NotRegular, path,
                        "not a regular file (a device, a FIFO or a socket)");
    }
    ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
    handle_ = descriptor;
}

InputFile::~InputFile() {
    ::close(static_cast<int>(handle_));
}

std::size_t InputFile::Read(char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(static_cast<int>(handle_), data + got, size - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowSystemError(FileError::Kind::Failed, path_, errno);
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

} // namespace files
