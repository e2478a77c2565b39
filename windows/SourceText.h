// A source file as the editor reads and writes it: the bytes unchanged but
// for the line ends, which keep the file's own style. Delphi writes CR LF;
// files from elsewhere may use LF or CR alone, and a save that changes
// nothing must leave them as they were.
#pragma once

#include <string>
#include <string_view>

enum class TLineEnd { CrLf, Lf, Cr };

// The style most of the text's line ends use; CR LF on a tie and for a
// text of one line.
TLineEnd DetectLineEnd(std::string_view text);
// The text with every line end (CR LF, LF or CR alone) written in the style.
std::string WithLineEnds(std::string_view text, TLineEnd style);

// The whole file. Raise an exception naming the file when it cannot be read
// or written.
std::string ReadSourceFile(const std::string& path);
void WriteSourceFile(const std::string& path, const std::string& text);
