#pragma once

// What the Windows branches of the file layer share: paths of any length and the system's words
// for its errors.
#include "files/FileError.h"

#include <filesystem>
#include <string>
#include <windows.h>

namespace files::windows {

// The path as the system's calls take it. One that is long in full (from MAX_PATH less the room
// a folder needs for its files' names, a relative one in a deep working folder too) is made
// absolute and normal and gets the \\?\ prefix, which lifts the limit; others stand as given.
std::wstring SystemPath(const std::filesystem::path& path);

// The system's message for an error code, in UTF-8 as every FileError is.
std::string Reason(DWORD error);

// What an error code says of a file.
FileError::Cause CauseOf(DWORD error);

[[noreturn]] void Fail(FileError::Kind kind, const std::filesystem::path& shown, DWORD error);

// True for a folder, which CreateFileW refuses as "access denied".
bool IsFolder(const std::filesystem::path& path);

} // namespace files::windows
