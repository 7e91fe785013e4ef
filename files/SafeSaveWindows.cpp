#include "files/FileError.h"
#include "files/SaveSystem.h"
#include "files/WindowsSystem.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <functional>
#include <limits>
#include <thread>

namespace files::detail {

namespace {

namespace fs = std::filesystem;
using windows::SystemPath;

HANDLE HandleOf(NativeFile file) {
    return reinterpret_cast<HANDLE>(file);
}

NativeFile FileOf(HANDLE handle) {
    return reinterpret_cast<NativeFile>(handle);
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

// The time a file held open by another program is waited for. Scanners and indexers let go
// within a fraction of it; an editor that keeps the file open does not, and the save is refused.
constexpr std::chrono::milliseconds HeldWait{1000};

bool IsHeld(DWORD error) {
    switch (error) {
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_ACCESS_DENIED: // also what a file being deleted by another program answers
    case ERROR_UNABLE_TO_REMOVE_REPLACED:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT:
    case ERROR_UNABLE_TO_MOVE_REPLACEMENT_2:
        return true;
    default:
        return false;
    }
}

// Runs attempt, which returns the system's error code or 0, until it succeeds or fails for
// another reason than a file held open by another program: an editor, a virus scanner or an
// indexer that has a fresh file open for a moment. After a short bounded time a file still held
// is refused in words. Other failures throw FileError (Failed) at once.
void RetryWhileHeld(const fs::path& shown, const std::function<DWORD()>& attempt) {
    const auto deadline = std::chrono::steady_clock::now() + HeldWait;
    std::chrono::milliseconds pause{10};
    for (;;) {
        const DWORD error = attempt();
        if (error == ERROR_SUCCESS) {
            return;
        }
        if (!IsHeld(error)) {
            Fail(shown, error);
        }
        if (std::chrono::steady_clock::now() + pause > deadline) {
            if (error == ERROR_ACCESS_DENIED) {
                Fail(shown, error);
            }
            throw FileError(FileError::Kind::Failed, shown,
                            "held open by another program; close it there and try again");
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(200));
    }
}

// ReplaceFileW gives the new file the old one's attributes, security and creation time.
DWORD ReplaceExisting(const NewFile& file) {
    return windows::ReplaceThroughBackup(file.Where.Path, file.Temporary,
                                         TemporaryBeside(file.Where.Path), file.Shown);
}

DWORD Move(const NewFile& file) {
    return MoveFileExW(SystemPath(file.Temporary).c_str(), SystemPath(file.Where.Path).c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)
               ? ERROR_SUCCESS
               : GetLastError();
}

} // namespace

SystemError LastError() {
    return GetLastError();
}

std::string ErrorText(SystemError error) {
    return windows::Reason(error);
}

bool CloseFile(NativeFile file) {
    return CloseHandle(HandleOf(file));
}

// Symbolic links are not followed here: the path is the target.
Target Resolve(const fs::path& given) {
    Target target;
    target.Path = given;
    if (StandardStream(given) || windows::IsDevice(given)) {
        target.Is = Target::Kind::Special;
        return target;
    }
    const DWORD attributes = GetFileAttributesW(SystemPath(given).c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) {
        target.Is = (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0 ? Target::Kind::Folder
                                                                 : Target::Kind::Regular;
        target.Mode = attributes;
    }
    return target;
}

// NTFS, exFAT and FAT's long names all stop at 255 UTF-16 units.
std::size_t NameLimit(const fs::path&) {
    return 255;
}

// A file marked read-only is what Windows users mark a file with that must not change.
bool MayWrite(const Target& target) {
    if (target.Is == Target::Kind::Regular && (target.Mode & FILE_ATTRIBUTE_READONLY) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    return true;
}

File OpenDirect(const Target& target, const fs::path& shown) {
    if (const std::optional<DWORD> stream = StandardStream(target.Path)) {
        const HANDLE handle = GetStdHandle(*stream);
        if (handle == INVALID_HANDLE_VALUE || handle == nullptr) {
            Fail(shown, ERROR_INVALID_HANDLE);
        }
        return File(FileOf(handle), false);
    }
    File device(
        FileOf(CreateFileW(target.Path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)));
    if (device.Get() == NoFile) {
        Fail(shown, GetLastError());
    }
    return device;
}

NativeFile CreateNew(const fs::path& path) {
    return FileOf(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool IsNameTaken(SystemError error) {
    return error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS;
}

SystemError NameTaken() {
    return ERROR_FILE_EXISTS;
}

bool WriteAll(NativeFile file, std::string_view bytes) {
    while (!bytes.empty()) {
        const DWORD step = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(HandleOf(file), bytes.data(), step, &written, nullptr)) {
            return false;
        }
        if (written == 0) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

// A console or a pipe has nothing to flush. The flush's error is the one reported, whatever the
// question of the file's type leaves behind.
bool FlushToDisk(NativeFile file) {
    if (FlushFileBuffers(HandleOf(file))) {
        return true;
    }
    const DWORD error = GetLastError();
    if (GetFileType(HandleOf(file)) != FILE_TYPE_DISK) {
        return true;
    }
    SetLastError(error);
    return false;
}

// FlushFileBuffers needs a handle that may write.
NativeFile OpenToSync(const fs::path& path) {
    return FileOf(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool FlushWritten(NativeFile file) {
    return FlushToDisk(file);
}

void SyncWritten(std::span<const NewFile>) {}

void Replace(const NewFile& file) {
    RetryWhileHeld(file.Shown, [&file] {
        const bool exists =
            GetFileAttributesW(SystemPath(file.Where.Path).c_str()) != INVALID_FILE_ATTRIBUTES;
        return exists ? ReplaceExisting(file) : Move(file);
    });
}

void SyncFolder(const fs::path&) {}

void RemoveFile(const fs::path& path) {
    DeleteFileW(SystemPath(path).c_str());
}

File OpenToAppend(const fs::path& path, std::optional<std::uint64_t>& length) {
    const Target target = Resolve(path);
    if (target.Is == Target::Kind::Special) {
        return OpenDirect(target, path);
    }
    CheckWritable(target, path);
    const std::wstring name = SystemPath(path);
    // Shared for writing too, so that a failure can cut the file back through a second handle.
    HANDLE opened = INVALID_HANDLE_VALUE;
    RetryWhileHeld(path, [&] {
        opened = CreateFileW(name.c_str(), FILE_APPEND_DATA | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                             FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
        return opened == INVALID_HANDLE_VALUE ? GetLastError() : ERROR_SUCCESS;
    });
    File file(FileOf(opened));
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(opened, &size)) {
        Fail(path, GetLastError());
    }
    length = static_cast<std::uint64_t>(size.QuadPart);
    return file;
}

void CutBack(NativeFile, const fs::path& path, std::uint64_t length) {
    File cut(FileOf(CreateFileW(SystemPath(path).c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr)));
    LARGE_INTEGER where{};
    where.QuadPart = static_cast<LONGLONG>(length);
    if (cut.Get() != NoFile && SetFilePointerEx(HandleOf(cut.Get()), where, nullptr, FILE_BEGIN)) {
        SetEndOfFile(HandleOf(cut.Get()));
    }
}

} // namespace files::detail

namespace files::windows {

DWORD ReplaceThroughBackup(const std::filesystem::path& target,
                           const std::filesystem::path& replacement,
                           const std::filesystem::path& backup, const std::filesystem::path& shown,
                           ReplaceFileFunction replace) {
    const std::wstring backupName = SystemPath(backup);
    if (replace(SystemPath(target).c_str(), SystemPath(replacement).c_str(), backupName.c_str(),
                REPLACEFILE_IGNORE_MERGE_ERRORS | REPLACEFILE_IGNORE_ACL_ERRORS, nullptr,
                nullptr)) {
        DeleteFileW(backupName.c_str());
        return ERROR_SUCCESS;
    }
    const DWORD error = GetLastError();
    if (error != ERROR_UNABLE_TO_MOVE_REPLACEMENT_2) {
        return error;
    }
    // The old file went to the backup name and the new one could not follow. The old one goes
    // back first, never over a file that took its name meanwhile, so that a retry replaces it
    // again and a refusal leaves it where it was.
    const std::wstring targetName = SystemPath(target);
    try {
        detail::RetryWhileHeld(shown, [&] {
            return MoveFileExW(backupName.c_str(), targetName.c_str(), MOVEFILE_WRITE_THROUGH)
                       ? ERROR_SUCCESS
                       : GetLastError();
        });
    } catch (const FileError& failure) {
        throw FileError(FileError::Kind::Failed, shown,
                        "not replaced, and the old file could not take its name back (" +
                            failure.Reason() + "): it is kept as " + PathText(backup));
    }
    return error;
}

} // namespace files::windows
