#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>

// Windows-1256, the code page of the device world's text files, converted by the system's own
// converter: glibc's iconv on Unix, the code page tables of Windows there. Every one of its 256
// bytes stands for a character, so a decode never fails where the converter is present; an
// encode fails at the first character the code page cannot hold, which the caller reports or
// writes in a form of its own (never a silent '?').
namespace files {

// The system has no Windows-1256 converter (glibc's gconv modules missing, or the code page not
// installed on Windows).
class ConverterMissing : public std::runtime_error {
public:
    ConverterMissing();
};

// A character the code page cannot hold, at Position (UTF-16 units from the start of the text);
// CodePoint is the whole character, beyond the first plane too.
class Unmappable : public std::runtime_error {
public:
    Unmappable(std::size_t position, char32_t codePoint);

    std::size_t Position() const { return position_; }
    char32_t CodePoint() const { return codePoint_; }

private:
    std::size_t position_;
    char32_t codePoint_;
};

// Whether the system can convert Windows-1256 both ways here.
bool Windows1256Available();

// What makes the converter available on this system, for a message that reports it missing.
std::string Windows1256Remedy();

// Throws ConverterMissing.
std::u16string DecodeWindows1256(std::string_view bytes);

// Throws ConverterMissing, or Unmappable for the first character the code page lacks.
std::string EncodeWindows1256(std::u16string_view text);

// The character that starts at position (a surrogate pair whole); for the platform files.
char32_t CodePointAt(std::u16string_view text, std::size_t position);

} // namespace files
