// Windows-1256 through the system's own table of code page 1256.
#include "files/CodePage1256.h"

#include <algorithm>
#include <windows.h>

namespace files {

namespace {

constexpr UINT CodePage = 1256;
// The calls take int lengths; a single-byte code page may be cut anywhere but inside a pair.
constexpr std::size_t Piece = std::size_t{1} << 30;

void RequireCodePage() {
    if (!IsValidCodePage(CodePage)) {
        throw ConverterMissing();
    }
}

// Appends the piece's bytes; false when the code page lacks one of its characters.
bool EncodePiece(std::u16string_view piece, std::string& bytes) {
    const auto* wide = reinterpret_cast<const wchar_t*>(piece.data());
    const int length = static_cast<int>(piece.size());
    const std::size_t at = bytes.size();
    bytes.resize(at + piece.size()); // at most one byte for every UTF-16 unit
    BOOL usedDefault = FALSE;
    // Without WC_NO_BEST_FIT_CHARS the system would write a look-alike for a character the code
    // page lacks; with it, the default character, which usedDefault reports.
    const int written = WideCharToMultiByte(CodePage, WC_NO_BEST_FIT_CHARS, wide, length,
                                            bytes.data() + at, length, nullptr, &usedDefault);
    bytes.resize(at + static_cast<std::size_t>(std::max(written, 0)));
    return (written > 0 || length == 0) && !usedDefault;
}

// The first character of the text that the code page lacks, tried one at a time.
[[noreturn]] void ThrowUnmappable(std::u16string_view text, std::size_t offset) {
    std::string scratch;
    for (std::size_t i = 0; i < text.size();) {
        const char32_t c = CodePointAt(text, i);
        const std::size_t units = c > 0xFFFF ? 2 : 1;
        if (!EncodePiece(text.substr(i, units), scratch)) {
            throw Unmappable(offset + i, c);
        }
        i += units;
    }
    throw ConverterMissing(); // the whole failed where no character did
}

} // namespace

bool Windows1256Available() {
    return IsValidCodePage(CodePage) != FALSE;
}

std::string Windows1256Remedy() {
    return "the code page 1256 is not installed: add Persian to Windows' languages (Settings, "
           "Time & Language)";
}

std::u16string DecodeWindows1256(std::string_view bytes) {
    RequireCodePage();
    std::u16string text(bytes.size(), u'\0'); // one character for every byte
    for (std::size_t at = 0; at < bytes.size(); at += Piece) {
        const int length = static_cast<int>(std::min(Piece, bytes.size() - at));
        const int written =
            MultiByteToWideChar(CodePage, 0, bytes.data() + at, length,
                                reinterpret_cast<wchar_t*>(text.data() + at), length);
        if (written != length) {
            throw ConverterMissing();
        }
    }
    return text;
}

std::string EncodeWindows1256(std::u16string_view text) {
    RequireCodePage();
    std::string bytes;
    bytes.reserve(text.size());
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = std::min(Piece, text.size() - at);
        const char16_t last = text[at + length - 1];
        if (at + length < text.size() && last >= 0xD800 && last <= 0xDBFF) {
            --length; // the pair stays whole in the next piece
        }
        const std::u16string_view piece = text.substr(at, length);
        if (!EncodePiece(piece, bytes)) {
            ThrowUnmappable(piece, at);
        }
        at += length;
    }
    return bytes;
}

} // namespace files
