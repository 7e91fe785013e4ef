#pragma once

// What the Windows branches of the file layer share: handles that close themselves, paths of any
// length, the system's words for its errors, and patience with files other programs hold open.
#include "files/FileError.h"

#include <filesystem>
#include <functional>
#include <string>
#include <windows.h>

namespace files::windows {

// Closes on every way out unless closed before.
class Handle {
public:
    explicit Handle(HANDLE handle) : handle_(handle) {}
    ~Handle() {
        if (IsOpen()) {
            CloseHandle(handle_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    bool IsOpen() const { return handle_ != INVALID_HANDLE_VALUE && handle_ != nullptr; }
    // A close can report a write error that the writes did not.
    void Close(const std::filesystem::path& shown);

private:
    HANDLE handle_;
};

// The path as the system's calls take it. One that is long in full (from MAX_PATH less the room
// a folder needs for its files' names, a relative one in a deep working folder too) is made
// absolute and normal and gets the \\?\ prefix, which lifts the limit; others stand as given.
std::wstring SystemPath(const std::filesystem::path& path);

// The system's message for an error code, in UTF-8 as every FileError is.
std::string Reason(DWORD error);

[[noreturn]] void Fail(FileError::Kind kind, const std::filesystem::path& shown, DWORD error);

// True for a folder, which CreateFileW refuses as "access denied".
bool IsFolder(const std::filesystem::path& path);

// Runs attempt, which returns the system's error code or 0, until it succeeds or fails for
// another reason than a file held open by another program: an editor, a virus scanner or an
// indexer that has a fresh file open for a moment. After a short bounded time a file still held
// is refused in words. Other failures throw FileError (Failed) at once.
void RetryWhileHeld(const std::filesystem::path& shown, const std::function<DWORD()>& attempt);

// Writes every byte at the handle's position (or at the end of a file open for appending).
void WriteAll(HANDLE handle, std::string_view bytes, const std::filesystem::path& shown);

} // namespace files::windows
