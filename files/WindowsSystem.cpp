#include "files/WindowsSystem.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace files::windows {

namespace {

std::string Utf8(const wchar_t* text, int length) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(std::max(size, 0)), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    return out;
}

// Device names are ASCII, and compared without case.
std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) {
        if (c >= L'a' && c <= L'z') {
            c = static_cast<wchar_t>(c - L'a' + L'A');
        }
    }
    return text;
}

// The name's part that the system reads as a device's name: up to the first dot or colon, without
// the blanks before it.
std::wstring DeviceNamePart(const std::wstring& name) {
    std::wstring part = name.substr(0, name.find_first_of(L".:"));
    while (!part.empty() && part.back() == L' ') {
        part.pop_back();
    }
    return Upper(part);
}

bool IsPortDigit(wchar_t c) {
    return (c >= L'0' && c <= L'9') || c == L'\u00B9' || c == L'\u00B2' || c == L'\u00B3';
}

} // namespace

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

bool IsDevice(const std::filesystem::path& path) {
    if (path.native().starts_with(LR"(\\.\)")) {
        return true;
    }
    const std::wstring name = path.filename().native();
    const std::wstring upper = Upper(name);
    if (upper == L"CONIN$" || upper == L"CONOUT$") {
        return true;
    }
    const std::wstring part = DeviceNamePart(name);
    constexpr std::array<std::wstring_view, 4> Names = {L"CON", L"PRN", L"AUX", L"NUL"};
    if (std::find(Names.begin(), Names.end(), part) != Names.end()) {
        return true;
    }
    return part.size() == 4 && (part.starts_with(L"COM") || part.starts_with(L"LPT")) &&
           IsPortDigit(part[3]);
}

bool IsFolder(const std::filesystem::path& path) {
    const DWORD attributes = GetFileAttributesW(SystemPath(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

} // namespace files::windows
