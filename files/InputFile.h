#pragma once

#include "files/FileError.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace files {

// An input file open for reading. Only a regular file is opened: a FIFO, a terminal or a device
// such as /dev/zero could block the program or never end. Opening never waits for a writer. On
// Windows the file stays open to other programs' reads and writes, as a log being written is.
class InputFile {
public:
    // Throws FileError: CannotOpen (a folder among them), NotRegular.
    explicit InputFile(const std::filesystem::path& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // Reads up to size bytes; fewer only at the end of the file. Throws FileError (Failed).
    std::size_t Read(char* data, std::size_t size);

    const std::filesystem::path& Path() const { return path_; }

private:
    std::filesystem::path path_;
    std::intptr_t handle_ = -1; // the descriptor; on Windows the HANDLE
};

// What to do with a file longer than its kind may be.
enum class Overlong {
    Refuse, // FileError TooLarge
    Ignore, // only the first bytes count, the rest is never read
};

// The whole file, at most limit bytes. Throws FileError.
std::string ReadFileBounded(const std::filesystem::path& path, std::size_t limit,
                            Overlong overlong);

} // namespace files
