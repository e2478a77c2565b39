// The three lines written in silver over the top-left corner of every
// diagram. They are kept scrambled in the program so that they cannot be
// changed by editing the binary's strings.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

inline constexpr int CaptionLineCount = 3;

// Byte i is combined with (0x5A + 13 i) mod 256; applying it twice gives the
// text back.
std::string Scramble(const std::string& text);
// A scrambled text as the program stores it: an array of bytes.
template <size_t N>
std::string StoredText(const unsigned char (&bytes)[N]) {
  return std::string(reinterpret_cast<const char*>(bytes), N);
}
// Line 0, 1 or 2, unscrambled.
std::string CaptionLine(int index);
// The three lines joined by CR LF.
std::string CaptionText();
// The stored (scrambled) form of a line, for checking that it is not plain.
std::string StoredCaptionLine(int index);
