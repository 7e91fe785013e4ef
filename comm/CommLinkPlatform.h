#pragma once

#include "comm/CommLink.h"

#include <optional>

// The link's calls into the system, one file per platform.

// The error number (errno's numbering) of the system call that failed last; 0 where the platform
// keeps none that fits, and then the port's error kind decides.
int LastSystemError();

// What is left of the system's output queue, or nothing where the platform cannot say.
std::optional<int> QueuedOutput(SerialHandle handle);

// What the system holds of received bytes not yet read, or nothing where it cannot say.
std::optional<int> QueuedInput(SerialHandle handle);

// Blocks until the system has put every written byte on the line.
void WaitUntilSent(SerialHandle handle);
