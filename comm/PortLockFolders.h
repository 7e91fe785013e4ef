#pragma once

#include <array>

// The folders where serial-port lock files ("LCK..ttyUSB0") are looked for, in the order the
// serial port library tries them; the user's temporary folder comes after these.
inline constexpr std::array<const char*, 8> PortLockFolders = {
    "/var/lock", "/etc/locks", "/var/spool/locks",  "/var/spool/uucp",
    "/tmp",      "/var/tmp",   "/var/lock/lockdev", "/run/lock"};
