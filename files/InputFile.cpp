#include "files/InputFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace files {

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    // Without O_NONBLOCK, opening a FIFO would wait for a writer that may never come.
    descriptor_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (descriptor_ < 0) {
        throw FileError(FileError::Kind::CannotOpen, path, SystemReason(errno));
    }
    struct stat info {};
    if (::fstat(descriptor_, &info) != 0) {
        const int error = errno;
        ::close(descriptor_);
        throw FileError(FileError::Kind::CannotOpen, path, SystemReason(error));
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(descriptor_);
        if (S_ISDIR(info.st_mode)) {
            throw FileError(FileError::Kind::CannotOpen, path, SystemReason(EISDIR));
        }
        throw FileError(FileError::Kind::NotRegular, path,
                        "not a regular file (a device, a FIFO or a socket)");
    }
    ::fcntl(descriptor_, F_SETFL, ::fcntl(descriptor_, F_GETFL) & ~O_NONBLOCK);
}

InputFile::~InputFile() {
    ::close(descriptor_);
}

std::size_t InputFile::Read(char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const ssize_t n = ::read(descriptor_, data + got, size - got);
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            throw FileError(FileError::Kind::Failed, path_, SystemReason(errno));
        }
        if (n == 0) {
            break;
        }
        got += static_cast<std::size_t>(n);
    }
    return got;
}

std::string ReadFileBounded(const std::filesystem::path& path, std::size_t limit,
                            Overlong overlong) {
    InputFile file(path);
    // One byte beyond the limit tells a file that is too long from one that just fits.
    const std::size_t wanted = overlong == Overlong::Refuse ? limit + 1 : limit;
    std::string bytes;
    constexpr std::size_t Chunk = 64 * 1024;
    while (bytes.size() < wanted) {
        const std::size_t at = bytes.size();
        const std::size_t step = std::min(Chunk, wanted - at);
        bytes.resize(at + step);
        const std::size_t got = file.Read(bytes.data() + at, step);
        bytes.resize(at + got);
        if (got < step) {
            break;
        }
    }
    if (bytes.size() > limit) {
        throw FileError(FileError::Kind::TooLarge, path,
                        "larger than " + std::to_string(limit) + " bytes");
    }
    return bytes;
}

} // namespace files
