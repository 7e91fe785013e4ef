#pragma once

#include <filesystem>

// What the save's two platform branches share.
namespace files::detail {

// The folder a path lies in; "." for a bare name.
std::filesystem::path FolderOf(const std::filesystem::path& path);

// A name for a new file beside the target, so that moving it into place stays within one file
// system. A different name at every call: the random part keeps programs apart, the counter the
// threads of one program.
std::filesystem::path TemporaryBeside(const std::filesystem::path& target);

// A file that another library writes by name must be a regular file, or none yet.
[[noreturn]] void RefuseSpecial(const std::filesystem::path& path);

} // namespace files::detail
