#include "location/GlyphEncoding.h"

#include <algorithm>

namespace {

struct LetterGlyphs {
    char16_t Code;
    std::uint8_t AtFirst;
    std::uint8_t BeforeLetter;
    std::uint8_t AtWordEnd;
};

// Sorted by code for the binary search.
constexpr std::array<LetterGlyphs, 38> LetterTable = {{
    {0x0622, 0x00, 0x00, 0x00}, // alef with madda above
    {0x0623, 0x01, 0x01, 0x01}, // alef with hamza above
    {0x0625, 0x01, 0x01, 0x01}, // alef with hamza below
    {0x0627, 0x01, 0x01, 0x01}, // alef
    {0x0628, 0x02, 0x03, 0x04}, // beh
    {0x0629, 0x2E, 0x2E, 0x2E}, // teh marbuta
    {0x062A, 0x08, 0x09, 0x0A}, // teh
    {0x062B, 0x0B, 0x0C, 0x0D}, // theh
    {0x062C, 0x0E, 0x0E, 0x0F}, // jeem
    {0x062D, 0x12, 0x12, 0x13}, // hah
    {0x062E, 0x14, 0x14, 0x15}, // khah
    {0x062F, 0x17, 0x16, 0x17}, // dal
    {0x0630, 0x19, 0x18, 0x19}, // thal
    {0x0631, 0x1B, 0x1A, 0x1B}, // reh
    {0x0632, 0x1D, 0x1C, 0x1D}, // zain
    {0x0633, 0x20, 0x20, 0x21}, // seen
    {0x0634, 0x22, 0x22, 0x23}, // sheen
    {0x0635, 0x24, 0x24, 0x25}, // sad
    {0x0636, 0x26, 0x26, 0x27}, // dad
    {0x0637, 0x28, 0x28, 0x28}, // tah
    {0x0638, 0x29, 0x29, 0x29}, // zah
    {0x0639, 0x2B, 0x2A, 0x2C}, // ain
    {0x063A, 0x2E, 0x2D, 0x2F}, // ghain
    {0x0640, 0xFF, 0xFF, 0xFF}, // tatweel
    {0x0641, 0x30, 0x30, 0x31}, // feh
    {0x0642, 0x32, 0x32, 0x33}, // qaf
    {0x0643, 0x34, 0x34, 0x35}, // kaf
    {0x0644, 0x38, 0x38, 0x39}, // lam
    {0x0645, 0x3A, 0x3A, 0x3B}, // meem
    {0x0646, 0x3C, 0x3C, 0x3D}, // noon
    {0x0647, 0x41, 0x40, 0x42}, // heh
    {0x0648, 0x3F, 0x3E, 0x3F}, // waw
    {0x0649, 0x43, 0x44, 0x45}, // alef maksura
    {0x064A, 0x43, 0x44, 0x45}, // yeh
    {0x067E, 0x06, 0x06, 0x07}, // peh
    {0x0686, 0x10, 0x10, 0x11}, // tcheh
    {0x0698, 0x1F, 0x1E, 0x1F}, // jeh
    {0x06AF, 0x36, 0x36, 0x37}, // gaf
}};

static_assert(std::is_sorted(LetterTable.begin(), LetterTable.end(),
                             [](const LetterGlyphs& a, const LetterGlyphs& b) {
                                 return a.Code < b.Code;
                             }));

// Characters below this never get a glyph: blanks, digits, Latin.
constexpr char16_t FirstLetterCode = 0x0100;
// A next character from this code on joins the character before it.
constexpr char16_t FirstJoiningCode = 0x00FF;

// The database holds Persian spelling; the device font has only the Arabic forms.
char16_t FontLetter(char16_t code) {
    switch (code) {
    case 0x06CC: // Farsi yeh
        return 0x064A;
    case 0x06A9: // keheh
        return 0x0643;
    default:
        return code;
    }
}

int PositionAt(std::u16string_view name, std::size_t i) {
    if (i == 0) {
        return joining::First;
    }
    if (i + 1 < name.size() && name[i + 1] >= FirstJoiningCode) {
        return joining::BeforeLetter;
    }
    return joining::WordEnd;
}

} // namespace

std::uint8_t LetterToGlyph(char16_t code, int position) {
    const auto* entry =
        std::lower_bound(LetterTable.begin(), LetterTable.end(), code,
                         [](const LetterGlyphs& letter, char16_t c) { return letter.Code < c; });
    if (entry == LetterTable.end() || entry->Code != code) {
        return NoGlyph;
    }
    switch (position) {
    case joining::First:
        return entry->AtFirst;
    case joining::BeforeLetter:
        return entry->BeforeLetter;
    case joining::WordEnd:
        return entry->AtWordEnd;
    default:
        return 0x00;
    }
}

GlyphCodeArray EncodeCountyName(std::u16string_view name) {
    GlyphCodeArray codes;
    codes.fill(NoGlyph);
    const std::size_t count = std::min(name.size(), GlyphCodeCount);
    for (std::size_t i = 0; i < count; ++i) {
        if (name[i] < FirstLetterCode) {
            continue;
        }
        codes[i] = LetterToGlyph(FontLetter(name[i]), PositionAt(name, i));
    }
    return codes;
}

GlyphCodeArray EncodeCountyName(const QString& name) {
    return EncodeCountyName(std::u16string_view(name.toStdU16String()));
}
