#pragma once

#include "files/FileError.h"

#include <filesystem>
#include <functional>
#include <span>
#include <string_view>

namespace files {

// Every file the tools save goes through here, so that a full disk, a folder that may not be
// written or a special file never costs the user the old file.
//
// A regular file (or a path where none is yet) is replaced in one step: the bytes go to a new
// file beside it, which must be written whole, flushed and synced before it is renamed over the
// old one; the new file keeps the old one's permissions and owner (on Windows its attributes and
// security, through ReplaceFileW). Anything short of that
// removes the new file and leaves the old one as it was. A symbolic link is followed and its
// target replaced, so the link stays a link. An existing file that may not be written is
// refused, although the folder would allow the rename.
//
// A path that is not a regular file (a terminal, a FIFO, a device, /dev/stdout or another of
// the program's own descriptors) cannot be replaced and is written directly instead; a FIFO
// that no program reads is refused rather than waited for.
//
// On Windows a file that another program holds open (an editor, or a virus scanner that has a
// fresh file open for a moment) cannot be replaced: the save tries again for a second, then
// refuses in words, keeping the old file. Symbolic links are not followed there. Windows'
// devices (NUL, CON, COM3, \\.\...) and /dev/stdout and /dev/stderr are written directly.
//
// Each throws FileError (Failed, or CannotOpen for the path itself).
void SaveFile(const std::filesystem::path& path, std::string_view bytes);

// Several files saved as SaveFile saves one, all synced at once, which is many times faster for
// a program that writes many files. A failure before the renames replaces none of them; one
// during the renames keeps those already in place.
struct FileBytes {
    std::filesystem::path Path;
    std::string_view Bytes;
};
void SaveFiles(std::span<const FileBytes> files);

// The same replacement for a file that another library writes by name, such as a database:
// build fills the new, empty file at the path it is given; a throw from it removes the file and
// passes on. Only a regular file, or none, can be replaced this way. (Not ReplaceFile: that is a
// macro of <windows.h>.)
void SaveBuiltFile(const std::filesystem::path& path,
                   const std::function<void(const std::filesystem::path& temporary)>& build);

// Adds the bytes to the end of the file, creating it when missing, and syncs it. A failure cuts
// the file back to its old length, so that it holds no part of the bytes.
void AppendToFile(const std::filesystem::path& path, std::string_view bytes);

// Whether AppendToFile could add to the file, found without changing it: an existing file is
// opened for appending and closed unwritten; for a missing one, CheckCanCreateIn its folder.
// Throws FileError as AppendToFile would.
void CheckCanAppend(const std::filesystem::path& path);

// Whether a save could make a new file in the folder, found by making one there and removing it
// again. Throws FileError naming the folder.
void CheckCanCreateIn(const std::filesystem::path& folder);

} // namespace files
