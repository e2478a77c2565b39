// String helpers on 8-bit (code page 1252) strings.
#pragma once

#include <cstdint>
#include <string>

// Decimal text of an unsigned 16-bit value.
std::string WordToStr(uint16_t value);
// Decimal text of a byte.
std::string ByteToStr(uint8_t value);
// The text as a signed 32-bit decimal integer (optional sign, no blanks);
// 0 when the text is not an integer or does not fit.
int32_t StrToIntOrZero(const std::string& text);
// True and the value when the text is a well-formed signed 32-bit decimal integer.
bool TryStrToInt(const std::string& text, int32_t& value);
// head := text before the first separator, removed from source together with
// the separator; without a separator head := source and source := empty.
void SplitFirst(std::string& source, char separator, std::string& head);
// Only 'a'..'z' change.
std::string UpperCaseAscii(std::string text);
char UpCaseAscii(char c);
// count copies of c (count clamped to 0..255).
std::string StringOfChar(int count, char c);
// text padded on the right with c up to width (clamped to 0..255) characters.
std::string PadRight(const std::string& text, int width, char c);
// Without the blanks and control characters (bytes up to 32) at both ends.
std::string Trim(const std::string& text);
// Case-insensitive (ASCII rule) equality, as unit names are compared.
bool SameTextAscii(const std::string& a, const std::string& b);
// Whether the text matches the pattern, in which each '*' stands for any run
// of characters (possibly none), compared as SameTextAscii does. A pattern
// without '*' matches exactly what SameTextAscii accepts.
bool MatchesPatternAscii(const std::string& text, const std::string& pattern);
