#pragma once

// One fuzz target: the function libFuzzer calls with every input, and the plain driver too
// where libFuzzer is missing. A fault is a crash, a sanitizer report, a leak, a hang or a broken
// property, which Require turns into an abort.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

// Stops the run when a property of the code under test does not hold.
inline void Require(bool holds, const char* what) {
    if (!holds) {
        std::fprintf(stderr, "property broken: %s\n", what);
        std::abort();
    }
}
