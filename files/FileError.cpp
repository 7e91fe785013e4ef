#include "files/FileError.h"

#include <cstring>

namespace files {

FileError::FileError(Kind kind, std::filesystem::path path, std::string reason)
    : std::runtime_error(path.string() + ": " + reason), kind_(kind), path_(std::move(path)),
      reason_(std::move(reason)) {}

std::string SystemReason(int error) {
    return std::strerror(error);
}

} // namespace files
