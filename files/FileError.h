#pragma once

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace files {

// A file that could not be read or written. what() is "<path>: <reason>"; callers that word
// their own message take Path() and Reason(). Both texts are UTF-8 on every system, so that a
// Persian path or a Windows message in the user's language comes through whole.
class FileError : public std::runtime_error {
public:
    enum class Kind {
        CannotOpen, // missing, a folder, no permission
        NotRegular, // a device, a FIFO or a socket, which may block or never end
        TooLarge,   // larger than the kind of file can be
        Failed,     // reading or writing failed once open
    };

    FileError(Kind kind, std::filesystem::path path, std::string reason);

    Kind What() const { return kind_; }
    const std::filesystem::path& Path() const { return path_; }
    const std::string& Reason() const { return reason_; }

private:
    Kind kind_;
    std::filesystem::path path_;
    std::string reason_;
};

// The system's text for an error number.
std::string SystemReason(int error);

// The path as UTF-8 text, for messages; never through the system's narrow code page.
std::string PathText(const std::filesystem::path& path);

} // namespace files
