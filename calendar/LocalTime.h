#pragma once

#include <ctime>

// The calendar time t in the PC's local time by the system's own zone rules, with tm_isdst 1
// while those rules keep daylight saving at t and 0 otherwise; safe to call from several
// threads at once. One file per platform: on Windows the zone is the system's, never the C
// runtime's reading of TZ, which takes an IANA name such as Asia/Tehran for UTC.
std::tm LocalTime(std::time_t t);
