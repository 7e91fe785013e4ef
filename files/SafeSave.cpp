#include "files/SafeSave.h"

#include "files/SaveParts.h"

#include <atomic>
#include <random>
#include <string>

namespace files {

namespace detail {

std::filesystem::path FolderOf(const std::filesystem::path& path) {
    return path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
}

std::filesystem::path TemporaryBeside(const std::filesystem::path& target) {
    static const unsigned long long programTag = std::random_device{}();
    static std::atomic<unsigned long long> counter{0};
    // Joined in the system's own characters: only the digits are narrow text.
    std::filesystem::path name(".");
    name += target.filename();
    for (const std::string& part : {std::string("."), std::to_string(programTag % 1000000),
                                    std::string("-"), std::to_string(counter++)}) {
        name += part;
    }
    return FolderOf(target) / name;
}

void RefuseSpecial(const std::filesystem::path& path) {
    throw FileError(FileError::Kind::NotRegular, path,
                    "not a regular file, which this file must be");
}

} // namespace detail

void SaveFile(const std::filesystem::path& path, std::string_view bytes) {
    const FileBytes file{path, bytes};
    SaveFiles(std::span<const FileBytes>(&file, 1));
}

} // namespace files
