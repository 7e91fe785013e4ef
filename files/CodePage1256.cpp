#include "files/CodePage1256.h"

namespace files {

ConverterMissing::ConverterMissing()
    : std::runtime_error("the system has no Windows-1256 converter") {}

Unmappable::Unmappable(std::size_t position, char32_t codePoint)
    : std::runtime_error("a character that Windows-1256 cannot hold"), position_(position),
      codePoint_(codePoint) {}

char32_t CodePointAt(std::u16string_view text, std::size_t position) {
    const char16_t first = text.at(position);
    if (first >= 0xD800 && first <= 0xDBFF && position + 1 < text.size()) {
        const char16_t second = text[position + 1];
        if (second >= 0xDC00 && second <= 0xDFFF) {
            return 0x10000 + ((char32_t{first} - 0xD800) << 10) + (char32_t{second} - 0xDC00);
        }
    }
    return first;
}

} // namespace files
