#include "files/FileError.h"

#include <cerrno>
#include <cstring>

namespace files {

FileError::FileError(Kind kind, std::filesystem::path path, std::string reason, Cause cause)
    : std::runtime_error(PathText(path) + ": " + reason), kind_(kind), cause_(cause),
      path_(std::move(path)), reason_(std::move(reason)) {}

std::string SystemReason(int error) {
    return std::strerror(error);
}

FileError::Cause CauseOfError(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FileError::Cause::NotFound;
    case EACCES:
    case EPERM:
        return FileError::Cause::Permission;
    case EISDIR:
        return FileError::Cause::Folder;
    case ENOSPC:
#ifdef EDQUOT
    case EDQUOT:
#endif
        return FileError::Cause::DiskFull;
    default:
        return FileError::Cause::Other;
    }
}

void ThrowSystemError(FileError::Kind kind, const std::filesystem::path& path, int error) {
    throw FileError(kind, path, SystemReason(error), CauseOfError(error));
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace files
