#pragma once

#include <QString>
#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// The county name on the device's display: one glyph code per letter of its own font, in the
// form the letter takes at its place in the word.

constexpr std::size_t GlyphCodeCount = 30;
using GlyphCodeArray = std::array<std::uint8_t, GlyphCodeCount>;

constexpr std::uint8_t NoGlyph = 0xFF;

// Joining positions. Only the next character decides, so the first letter of a second word is
// no different from any other later letter.
namespace joining {
constexpr int First = 0;        // index 0 of the name
constexpr int BeforeLetter = 2; // the next character has a code of 255 or more
constexpr int WordEnd = 4;      // the next character is below 255, or there is none
} // namespace joining

// The glyph of a letter at a joining position. NoGlyph for a code the device font lacks; 0x00
// for a known code with a position other than the three above.
std::uint8_t LetterToGlyph(char16_t code, int position);

// The first GlyphCodeCount characters of the name as glyph codes, NoGlyph where a character
// has none or the name has ended. Farsi yeh and keheh are drawn as their Arabic look-alikes,
// which the font has.
GlyphCodeArray EncodeCountyName(std::u16string_view name);
GlyphCodeArray EncodeCountyName(const QString& name);
