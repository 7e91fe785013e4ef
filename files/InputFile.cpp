#include "files/InputFile.h"

#include <algorithm>

namespace files {

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
