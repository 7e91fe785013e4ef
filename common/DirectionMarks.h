#pragma once

// The Unicode characters that set the direction of a run of text: isolates for what is shown
// (the window, the terminal), marks for what is stored in Windows-1256, which holds only those.
namespace direction {
inline constexpr char16_t LeftToRightMark = 0x200E;
inline constexpr char16_t RightToLeftMark = 0x200F;
inline constexpr char16_t LeftToRightIsolate = 0x2066;
inline constexpr char16_t RightToLeftIsolate = 0x2067;
inline constexpr char16_t FirstStrongIsolate = 0x2068;
inline constexpr char16_t PopDirectionalIsolate = 0x2069;
} // namespace direction
