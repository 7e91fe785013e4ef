#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The calls into the system that a save is made of. SafeSave.cpp runs the save's steps once for
// every system; SafeSavePosix.cpp and SafeSaveWindows.cpp make these calls there. A call that
// answers false (or NoFile) leaves its reason in LastError(); one with words of its own (a FIFO
// that no program reads, a file held open by another program) throws FileError.
namespace files::detail {

// errno on POSIX, GetLastError() on Windows.
using SystemError = std::uint32_t;
SystemError LastError();
// The system's words for an error, in UTF-8.
std::string ErrorText(SystemError error);
[[noreturn]] void Fail(const std::filesystem::path& shown, SystemError error);

// A descriptor on POSIX, a HANDLE on Windows.
using NativeFile = std::intptr_t;
inline constexpr NativeFile NoFile = -1;
bool CloseFile(NativeFile file);

// Closes on every way out unless closed before. One of the program's own streams is written where
// it stands and never closed.
class File {
public:
    explicit File(NativeFile native, bool owned = true) : native_(native), owned_(owned) {}
    File(File&& other) noexcept;
    ~File();
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    File& operator=(File&&) = delete;
    NativeFile Get() const { return native_; }
    // A close can report a write error that the writes did not.
    void Close(const std::filesystem::path& shown);

private:
    NativeFile native_;
    bool owned_;
};

// Where a save really goes.
struct Target {
    enum class Kind { Missing, Regular, Folder, Special };
    std::filesystem::path Path; // the file itself, on POSIX with every symbolic link followed
    Kind Is = Kind::Missing;
    // The old file's rights, for the new one: on POSIX its mode, owner and group; on Windows its
    // attributes (ReplaceFileW carries the rest over itself).
    std::uint32_t Mode = 0;
    std::uint32_t Owner = 0;
    std::uint32_t Group = 0;
};

// A new file beside its target, written whole and closed, not yet in its place.
struct NewFile {
    Target Where;
    std::filesystem::path Shown; // the path as the caller gave it, for messages
    std::filesystem::path Temporary;
};

// --- Made once for every system, in SafeSave.cpp.

// A name for a new file beside the target, so that moving it into place stays within one file
// system. A different name at every call: the random part keeps programs apart, the counter the
// threads of one program.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target);
// Refuses a folder, and a file the rename could replace although it may not be written.
void CheckWritable(const Target& target, const std::filesystem::path& shown);
// Brings a closed file to the disk.
void SyncClosed(const std::filesystem::path& path, const std::filesystem::path& shown);

// --- Made for each system.

// The longest name a file in the folder may have, in the system's units (bytes on POSIX, UTF-16
// units on Windows).
std::size_t NameLimit(const std::filesystem::path& folder);

// Where a save of the path goes: on POSIX every symbolic link followed and the program's own
// descriptors (/dev/fd/N) found; on Windows the devices and the standard streams known by name.
Target Resolve(const std::filesystem::path& given);
bool MayWrite(const Target& target);
// Opens a target that is not a regular file, to be written as it stands.
File OpenDirect(const Target& target, const std::filesystem::path& shown);

// Creates a file that must not exist yet, for writing.
NativeFile CreateNew(const std::filesystem::path& path);
bool IsNameTaken(SystemError error);
SystemError NameTaken(); // reported when no free name was found

// Writes every byte at the file's position (at its end when it is open for appending).
bool WriteAll(NativeFile file, std::string_view bytes);
// A disk file must reach the disk; a terminal, a console or a pipe need not, and cannot.
bool FlushToDisk(NativeFile file);
NativeFile OpenToSync(const std::filesystem::path& path);
// A new file reaches the disk either here, still open and written whole (Windows), or in
// SyncWritten once all of a save's new files are closed (POSIX, where one call of the file
// system syncs many files at once).
bool FlushWritten(NativeFile file);
void SyncWritten(std::span<const NewFile> files);

// Moves the new file over its target in one step; the new file keeps the old one's rights. On
// Windows a target another program holds open is tried again for a second before the refusal.
void Replace(const NewFile& file);
// Makes the renames in a folder last (POSIX; Windows' moves write through themselves). Its
// failure is no failure of the save, which has happened by then.
void SyncFolder(const std::filesystem::path& folder);
void RemoveFile(const std::filesystem::path& path);

// Opens the file at its end, made when missing; length is where a failure cuts it back to, none
// for what is not a regular file.
File OpenToAppend(const std::filesystem::path& path, std::optional<std::uint64_t>& length);
void CutBack(NativeFile file, const std::filesystem::path& path, std::uint64_t length);

} // namespace files::detail
