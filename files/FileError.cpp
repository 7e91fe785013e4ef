#include "files/FileError.h"

#include <cstring>

namespace files {

FileError::FileError(Kind kind, std::filesystem::path path, std::string reason)
    : std::runtime_error(PathText(path) + ": " + reason), kind_(kind), path_(std::move(path)),
      reason_(std::move(reason)) {}

std::string SystemReason(int error) {
    return std::strerror(error);
}

std::string PathText(const std::filesystem::path& path) {
    const std::u8string text = path.u8string();
    return std::string(text.begin(), text.end());
}

} // namespace files
