#pragma once

#include <ctime>

// The calendar time t in the PC's local time, safe to call from several threads at once; one
// file per platform, whose C libraries spell it differently.
std::tm LocalTime(std::time_t t);
