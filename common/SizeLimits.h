#pragma once

#include <cstddef>

// How large an input file of each kind may be: more is refused, not read.
constexpr std::size_t TextFileSizeLimit = std::size_t{1} << 20;       // ostan.txt and the like
constexpr std::size_t LogSizeLimit = std::size_t{16} << 20;           // log.txt
constexpr std::size_t SettingsFileSizeLimit = std::size_t{512} << 10; // a profile, a key file
