#include "files/InputFile.h"
#include "files/WindowsSystem.h"

#include <algorithm>
#include <cerrno>
#include <limits>

namespace files {

namespace {

const char* const NotRegularReason = "not a regular file (a device, a pipe or a console)";

HANDLE HandleOf(std::intptr_t handle) {
    return reinterpret_cast<HANDLE>(handle);
}

} // namespace

InputFile::InputFile(const std::filesystem::path& path) : path_(path) {
    // Refused by its name, unopened: opening a port or a console may change it or wait.
    if (windows::IsDevice(path)) {
        throw FileError(FileError::Kind::NotRegular, path, NotRegularReason);
    }
    // Other programs may go on reading and writing it, as they may with a log being written,
    // and replace it by renaming a new file over it, as a save does.
    const HANDLE handle =
        CreateFileW(windows::SystemPath(path).c_str(), GENERIC_READ,
                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD error = GetLastError();
        if (error == ERROR_ACCESS_DENIED && windows::IsFolder(path)) {
            throw FileError(FileError::Kind::CannotOpen, path, SystemReason(EISDIR));
        }
        windows::Fail(FileError::Kind::CannotOpen, path, error);
    }
    // A console, a pipe or a port could block the program or never end.
    if (GetFileType(handle) != FILE_TYPE_DISK) {
        CloseHandle(handle);
        throw FileError(FileError::Kind::NotRegular, path, NotRegularReason);
    }
    handle_ = reinterpret_cast<std::intptr_t>(handle);
}

InputFile::~InputFile() {
    CloseHandle(HandleOf(handle_));
}

std::size_t InputFile::Read(char* data, std::size_t size) {
    std::size_t got = 0;
    while (got < size) {
        const DWORD step = static_cast<DWORD>(
            std::min<std::size_t>(size - got, std::numeric_limits<DWORD>::max()));
        DWORD n = 0;
        if (!ReadFile(HandleOf(handle_), data + got, step, &n, nullptr)) {
            windows::Fail(FileError::Kind::Failed, path_, GetLastError());
        }
        if (n == 0) {
            break;
        }
        got += n;
    }
    return got;
}

} // namespace files
