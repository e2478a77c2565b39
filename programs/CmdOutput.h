// Output of the console program: one line per item, fields separated by
// TAB, lines ending with LF. Text fields are escaped so that a line always
// stays one line and plain ASCII.
#pragma once

#include <initializer_list>
#include <string>

// Backslash -> \\, CR -> \r, LF -> \n, TAB -> \t, any other byte below 32 or
// above 126 -> \xHH (two lower-case hex digits).
std::string EscapeField(const std::string& text);

// Standard output in binary mode: LF stays LF on Windows.
void SetupStdout();
// Writes what WriteLine has gathered; before the program ends, and before
// anything else is written to standard output.
void FlushOutput();

// Gathers the fields joined by TAB, then LF, for standard output. The caller
// escapes text fields.
void WriteLine(std::initializer_list<std::string> fields);
void WriteLine(const std::string& line);
