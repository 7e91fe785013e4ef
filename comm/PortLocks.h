#pragma once

#include <array>
#include <cstdint>
#include <string_view>

// The folders where serial-port lock files ("LCK..ttyUSB0") are looked for, in the order the
// serial port library tries them; the user's temporary folder comes after these.
inline constexpr std::array<const char*, 8> PortLockFolders = {
    "/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
    "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

// The process number a lock file's text names first on its first line: Qt's layout (the number
// alone, the program and the host on the lines after it) and the UUCP one (the number padded with
// blanks to ten places, "     4410\n", some programs adding their name after it) alike; 0 when it
// names none.
inline std::int64_t LockOwnerInText(std::string_view text) {
    text = text.substr(0, text.find('\n'));
    const auto blank = [](char c) {
        return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
    };
    std::size_t at = 0;
    while (at < text.size() && blank(text[at])) {
        ++at;
    }
    std::int64_t pid = 0;
    std::size_t digits = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at, ++digits) {
        if (digits == 18) {
            return 0; // no process has such a number
        }
        pid = pid * 10 + (text[at] - '0');
    }
    return digits > 0 && (at == text.size() || blank(text[at])) ? pid : 0;
}
