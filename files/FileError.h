#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace files {

// A file that could not be read or written. what() is "<path>: <reason>"; callers that word
// their own message take Path(), Reason() and Why(). Both texts are UTF-8 on every system, so
// that a Persian path or a Windows message in the user's language comes through whole.
class FileError : public std::runtime_error {
public:
    enum class Kind {
        CannotOpen, // missing, a folder, no permission
        NotRegular, // a device, a FIFO or a socket, which may block or never end
        TooLarge,   // larger than the kind of file can be
        Failed,     // reading or writing failed once open
    };
    // What the system's error says, so that a message can word it in the user's language; Other
    // leaves it to the system's words in Reason().
    enum class Cause {
        Other,
        NotFound,   // the file, or a folder on its way, is missing
        Permission, // this user may not read or write it
        Folder,     // a folder stands where a file is meant
        DiskFull,   // no room left on the disk, or in the user's quota
        HeldOpen,   // another program holds it open (Windows)
        NoReader,   // a FIFO that no program reads
    };

    FileError(Kind kind, std::filesystem::path path, std::string reason,
              Cause cause = Cause::Other);

    Kind What() const { return kind_; }
    Cause Why() const { return cause_; }
    const std::filesystem::path& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    Kind kind_;
    Cause cause_;
    std::filesystem::path path_;
    std::string reason_;
};

// The system's text for an error number.
std::string SystemReason(int error);

// What an error number (errno) says of a file.
FileError::Cause CauseOfError(int error);

// A FileError of the error number, with its system text and its cause.
[[noreturn]] void ThrowSystemError(FileError::Kind kind, const std::filesystem::path& path,
                                   int error);

// The path as UTF-8 text, for messages; never through the system's narrow code page.
std::string PathText(const std::filesystem::path& path);

} // namespace files
