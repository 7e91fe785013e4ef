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

[[noreturn]] void Fail(FileError::Kind kind, const std::filesystem::path& shown, DWORD error);

// True for a folder, which CreateFileW refuses as "access denied".
bool IsFolder(const std::filesystem::path& path);

// A device rather than a file: a path in the system's device namespace (\\.\COM12), or a name
// the system takes for a device in every folder (CON, PRN, AUX, NUL, COM0-COM9, LPT0-LPT9, with
// the superscript digits too), whatever extension and blanks follow it (nul.txt, "con .log"),
// and CONIN$ and CONOUT$. A save writes one as it stands; a read refuses it unopened.
bool IsDevice(const std::filesystem::path& path);

// ReplaceFileW's signature, so that the test program can make a replacement fail half way.
using ReplaceFileFunction = BOOL(WINAPI*)(LPCWSTR replaced, LPCWSTR replacement, LPCWSTR backup,
                                          DWORD flags, LPVOID exclude, LPVOID reserved);

// A save's last step (SafeSaveWindows.cpp): the new file takes the target's place, the old one
// passing through the backup name so that it survives every way the replacement can fail, and the
// backup is removed once the new file is in place. Returns ERROR_SUCCESS or the error, to be
// tried again or reported. When the old file had gone to the backup name and the new one could
// not follow, the old one is put back under its name first; where even that fails, throws
// FileError naming both, the old file kept under the backup name.
DWORD ReplaceThroughBackup(const std::filesystem::path& target,
                           const std::filesystem::path& replacement,
                           const std::filesystem::path& backup, const std::filesystem::path& shown,
                           ReplaceFileFunction replace = &ReplaceFileW);

} // namespace files::windows
