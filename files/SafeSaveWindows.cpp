#include "files/SafeSave.h"
#include "files/SaveParts.h"
#include "files/WindowsSystem.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cwctype>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace files {

namespace {

namespace fs = std::filesystem;
using windows::Handle;
using windows::SystemPath;

[[noreturn]] void Fail(const fs::path& shown, DWORD error) {
    windows::Fail(FileError::Kind::Failed, shown, error);
}

// "/dev/stdout": the program's own output, which the command line names so on every system.
std::optional<DWORD> StandardStream(const fs::path& path) {
    const std::wstring name = path.generic_wstring();
    if (name == L"/dev/stdout" || name == L"/dev/fd/1") {
        return STD_OUTPUT_HANDLE;
    }
    if (name == L"/dev/stderr" || name == L"/dev/fd/2") {
        return STD_ERROR_HANDLE;
    }
    return std::nullopt;
}

// A device that the system knows in every folder (NUL, CON, COM3) or in its own namespace
// (\\.\COM12): it can be written, never replaced.
bool IsDevice(const fs::path& path) {
    if (path.native().starts_with(LR"(\\.\)")) {
        return true;
    }
    std::wstring name = path.filename().native();
    for (wchar_t& c : name) {
        c = static_cast<wchar_t>(std::towupper(c));
    }
    constexpr std::array<std::wstring_view, 6> Names = {L"CON", L"PRN",    L"AUX",
                                                        L"NUL", L"CONIN$", L"CONOUT$"};
    if (std::find(Names.begin(), Names.end(), name) != Names.end()) {
        return true;
    }
    return name.size() == 4 && (name.starts_with(L"COM") || name.starts_with(L"LPT")) &&
           name[3] >= L'1' && name[3] <= L'9';
}

bool IsSpecial(const fs::path& path) {
    return StandardStream(path) || IsDevice(path);
}

// A console or a pipe has nothing to flush; a disk file must reach the disk.
void Flush(HANDLE handle, const fs::path& shown) {
    if (!FlushFileBuffers(handle) && GetFileType(handle) == FILE_TYPE_DISK) {
        Fail(shown, GetLastError());
    }
}

void WriteDirectly(const fs::path& path, std::string_view bytes) {
    if (const std::optional<DWORD> stream = StandardStream(path)) {
        const HANDLE handle = GetStdHandle(*stream);
        if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
            Fail(path, ERROR_INVALID_HANDLE);
        }
        windows::WriteAll(handle, bytes, path);
        Flush(handle, path);
        return;
    }
    Handle device(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!device.IsOpen()) {
        Fail(path, GetLastError());
    }
    windows::WriteAll(device.Get(), bytes, path);
    Flush(device.Get(), path);
    device.Close(path);
}

// Refuses a folder, and a file marked read-only, which is what Windows users mark a file with
// that must not change.
void CheckWritable(const fs::path& path) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        return; // none yet
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
        throw FileError(FileError::Kind::Failed, path, SystemReason(EISDIR));
    }
    if ((attributes & FILE_ATTRIBUTE_READONLY) != 0) {
        Fail(path, ERROR_ACCESS_DENIED);
    }
}

// A new file beside the target, written whole and flushed, not yet in its place.
struct Pending {
    fs::path Target;
    fs::path Temporary;
};

std::pair<fs::path, HANDLE> CreateTemporary(const fs::path& target) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path temporary = detail::TemporaryBeside(target);
        const HANDLE handle = CreateFileW(SystemPath(temporary).c_str(), GENERIC_WRITE, 0, nullptr,
                                          CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            return {std::move(temporary), handle};
        }
        const DWORD error = GetLastError();
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) {
            Fail(target, error);
        }
    }
    Fail(target, ERROR_FILE_EXISTS);
}

void RemoveAll(const std::vector<Pending>& pending, std::size_t from = 0) {
    for (std::size_t i = from; i < pending.size(); ++i) {
        DeleteFileW(SystemPath(pending[i].Temporary).c_str());
    }
}

// ReplaceFileW gives the new file the old one's attributes, security and creation time. The old
// file takes a backup name on the way, so that it survives every way the replacement can fail;
// the backup is removed once the new file is in place.
DWORD Replace(const Pending& file) {
    const std::wstring target = SystemPath(file.Target);
    const std::wstring backup = SystemPath(detail::TemporaryBeside(file.Target));
    if (ReplaceFileW(target.c_str(), SystemPath(file.Temporary).c_str(), backup.c_str(),
                     REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                     nullptr)) {
        DeleteFileW(backup.c_str());
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (error == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        // The old file had gone to the backup name and the new one could not follow.
        MoveFileExW(backup.c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH);
    }
    return error;
}

DWORD Move(const Pending& file) {
    return MoveFileExW(SystemPath(file.Temporary).c_str(), SystemPath(file.Target).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

// Moves each new file into its place. A failure removes the new files not yet moved.
void Complete(const std::vector<Pending>& pending) {
    for (std::size_t i = 0; i < pending.size(); ++i) {
        const Pending& file = pending[i];
        try {
            windows::RetryWhileHeld(file.Target, [&file] {
                const bool exists =
                    GetFileAttributesW(SystemPath(file.Target).c_str()) != INVALID_FILE_ATTRIBUTES;
                return exists ? Replace(file) : Move(file);
            });
        } catch (...) {
            RemoveAll(pending, i);
            throw;
        }
    }
}

} // namespace

void SaveFiles(std::span<const FileBytes> files) {
    std::vector<Pending> pending;
    pending.reserve(files.size());
    try {
        for (const FileBytes& file : files) {
            if (IsSpecial(file.Path)) {
                WriteDirectly(file.Path, file.Bytes);
                continue;
            }
            CheckWritable(file.Path);
            auto [temporary, handle] = CreateTemporary(file.Path);
            Handle written(handle);
            pending.push_back({file.Path, std::move(temporary)});
            windows::WriteAll(written.Get(), file.Bytes, file.Path);
            Flush(written.Get(), file.Path);
            written.Close(file.Path);
        }
    } catch (...) {
        RemoveAll(pending);
        throw;
    }
    Complete(pending);
}

void SaveBuiltFile(const fs::path& path, const std::function<void(const fs::path&)>& build) {
    if (IsSpecial(path)) {
        detail::RefuseSpecial(path);
    }
    CheckWritable(path);
    auto [temporary, handle] = CreateTemporary(path);
    const std::vector<Pending> pending{{path, temporary}};
    try {
        Handle(handle).Close(path);
        build(temporary);
        // What the builder wrote reaches the disk before the file takes the old one's place.
        Handle built(CreateFileW(SystemPath(temporary).c_str(), GENERIC_WRITE, FILE_SHARE_READ,
                                 nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!built.IsOpen()) {
            Fail(path, GetLastError());
        }
        Flush(built.Get(), path);
        built.Close(path);
    } catch (...) {
        RemoveAll(pending);
        throw;
    }
    Complete(pending);
}

void AppendToFile(const fs::path& path, std::string_view bytes) {
    if (IsSpecial(path)) {
        WriteDirectly(path, bytes);
        return;
    }
    CheckWritable(path);
    const std::wstring name = SystemPath(path);
    // Shared for writing too, so that a failure can cut the file back through a second handle.
    HANDLE opened = INVALID_HANDLE_VALUE;
    windows::RetryWhileHeld(path, [&] {
        opened = CreateFileW(name.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        return opened == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    });
    Handle file(opened);
    LARGE_INTEGER length{};
    if (!GetFileSizeEx(file.Get(), &length)) {
        Fail(path, GetLastError());
    }
    try {
        windows::WriteAll(file.Get(), bytes, path);
        Flush(file.Get(), path);
    } catch (const FileError&) {
        Handle cut(CreateFileW(name.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (cut.IsOpen() && SetFilePointerEx(cut.Get(), length, nullptr, FILE_BEGIN)) {
            SetEndOfFile(cut.Get());
        }
        throw;
    }
    file.Close(path);
}

} // namespace files
