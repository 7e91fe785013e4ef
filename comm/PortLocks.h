#pragma once

#include <algorithm>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <sys/types.h>

// The folders where serial-port lock files ("LCK..ttyUSB0") are looked for, in the order the
// serial port library tries them; the user's temporary folder comes after these.
inline constexpr std::array<const char*, 8> PortLockFolders = {
    "/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
    "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};

// The lock file's name for a port at its place under /dev: "/dev/pts/3" is "LCK..pts_3".
inline std::string PortLockName(std::string_view port) {
    if (port.substr(0, 5) == "/dev/") {
        port.remove_prefix(5);
    }
    std::string name = "LCK.." + std::string(port);
    std::replace(name.begin(), name.end(), '/', '_');
    return name;
}

// Whether a process of this number runs, this user's or another's.
inline bool ProcessRuns(std::int64_t pid) {
    return pid > 0 && pid <= std::numeric_limits<pid_t>::max() &&
           (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

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
