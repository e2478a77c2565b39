// Output of the console program: one line per item, fields separated by
// TAB, lines ending with LF. Text fields are escaped so that a line always
// stays one line and plain ASCII.
#pragma once

#include <initializer_list>
#include <stdexcept>
#include <string>

// Backslash -> \\, CR -> \r, LF -> \n, TAB -> \t, any other byte below 32 or
// above 126 -> \xHH (two lower-case hex digits).
std::string EscapeField(const std::string& text);

// Standard output in binary mode: LF stays LF on Windows.
void SetupStdout();

// Writes the fields joined by TAB, then LF. The caller escapes text fields.
void WriteLine(std::initializer_list<std::string> fields);
void WriteLine(const std::string& line);

// A command-line mistake or an input that cannot be read: the message goes
// to standard error and the program ends with exit code 2.
class ECmdUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
