#include "files/WindowsSystem.h"

#include <algorithm>
#include <chrono>
#include <limits>
#include <thread>

namespace files::windows {

namespace {

// The time a file held open by another program is waited for. Scanners and indexers let go
// within a fraction of it; an editor that keeps the file open does not, and the save is refused.
constexpr std::chrono::milliseconds HeldWait{1000};

std::string Utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

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

} // namespace

void Handle::Close(const std::filesystem::path& shown) {
    const HANDLE handle = handle_;
    handle_ = INVALID_HANDLE_VALUE;
    if (!CloseHandle(handle)) {
        Fail(FileError::Kind::Failed, shown, GetLastError());
    }
}

std::wstring SystemPath(const std::filesystem::path& path) {
    constexpr std::size_t LongFrom = MAX_PATH - 12;
    const std::wstring& given = path.native();
    const bool shortEnough = given.size() < LongFrom && path.is_absolute();
    if (shortEnough || given.starts_with(LR"(\\?\)") || given.starts_with(LR"(\\.\)")) {
        return given;
    }
    // The system's own reading of the path: shares, drives, "..", either slash.
    std::wstring full(GetFullPathNameW(given.c_str(), 0, nullptr, nullptr), L'\0');
    const DWORD length =
        GetFullPathNameW(given.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
    if (length == 0 || length >= full.size()) {
        return given;
    }
    full.resize(length);
    if (full.size() < LongFrom) {
        return given;
    }
    if (full.starts_with(LR"(\\)")) {
        return LR"(\\?\UNC\)" + full.substr(2); // \\server\share\...
    }
    return LR"(\\?\)" + full;
}

std::string Reason(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text = length > 0 ? Utf8(buffer, static_cast<int>(length))
                                  : "system error " + std::to_string(error);
    LocalFree(buffer);
    // The system ends its messages with a full stop and a line break; the callers add their own.
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ' ||
                             text.back() == '.')) {
        text.pop_back();
    }
    return text;
}

void Fail(FileError::Kind kind, const std::filesystem::path& shown, DWORD error) {
    throw FileError(kind, shown, Reason(error));
}

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

void RetryWhileHeld(const std::filesystem::path& shown, const std::function<DWORD()>& attempt) {
    const auto deadline = std::chrono::steady_clock::now() + HeldWait;
    std::chrono::milliseconds pause{10};
    for (;;) {
        const DWORD error = attempt();
        if (error == ERROR_SUCCESS) {
            return;
        }
        if (!IsHeld(error)) {
            Fail(FileError::Kind::Failed, shown, error);
        }
        if (std::chrono::steady_clock::now() + pause > deadline) {
            if (error == ERROR_ACCESS_DENIED) {
                Fail(FileError::Kind::Failed, shown, error);
            }
            throw FileError(FileError::Kind::Failed, shown,
                            "held open by another program; close it there and try again");
        }
        std::this_thread::sleep_for(pause);
        pause = std::min(pause * 2, std::chrono::milliseconds(200));
    }
}

void WriteAll(HANDLE handle, std::string_view bytes, const std::filesystem::path& shown) {
    while (!bytes.empty()) {
        const DWORD step = static_cast<DWORD>(
            std::min<std::size_t>(bytes.size(), std::numeric_limits<DWORD>::max()));
        DWORD written = 0;
        if (!WriteFile(handle, bytes.data(), step, &written, nullptr)) {
            Fail(FileError::Kind::Failed, shown, GetLastError());
        }
        if (written == 0) {
            Fail(FileError::Kind::Failed, shown, ERROR_WRITE_FAULT);
        }
        bytes.remove_prefix(written);
    }
}

} // namespace files::windows
