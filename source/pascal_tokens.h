// The token scanner: cuts Pascal source into symbols, identifiers, strings,
// comments, runs of blanks and line ends. It knows nothing of numbers,
// character constants or directives: "{$I x}" is a comment like any other.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "BufLec.h"
#include "PackedAutomaton.h"

// Token codes (one byte). Reserved words (29..95) come from the keyword
// recogniser only.
inline constexpr uint8_t tkError = 0;  // a character that starts no token
inline constexpr uint8_t tkEnd = 1;    // end of the text, empty text
inline constexpr uint8_t tkAssign = 2;
inline constexpr uint8_t tkPlus = 3;
inline constexpr uint8_t tkMinus = 4;
inline constexpr uint8_t tkSlash = 5;
inline constexpr uint8_t tkStar = 6;
inline constexpr uint8_t tkLeftParen = 7;
inline constexpr uint8_t tkRightParen = 8;
inline constexpr uint8_t tkLeftBracket = 9;
inline constexpr uint8_t tkRightBracket = 10;
inline constexpr uint8_t tkDotDot = 11;
inline constexpr uint8_t tkColon = 12;
inline constexpr uint8_t tkComma = 13;
inline constexpr uint8_t tkSemicolon = 14;
inline constexpr uint8_t tkDot = 15;
inline constexpr uint8_t tkString = 16;   // quotes included
inline constexpr uint8_t tkComment = 17;  // { }, (* *), or // through CR LF
inline constexpr uint8_t tkBlank = 18;    // a run of spaces and tabs
// 19 is never produced.
inline constexpr uint8_t tkIdentifier = 20;
inline constexpr uint8_t tkEndOfLine = 21;  // CR LF
inline constexpr uint8_t tkEqual = 22;
inline constexpr uint8_t tkLess = 23;
inline constexpr uint8_t tkGreater = 24;
inline constexpr uint8_t tkLessEqual = 25;
inline constexpr uint8_t tkGreaterEqual = 26;
inline constexpr uint8_t tkAt = 27;
inline constexpr uint8_t tkCaret = 28;

// The token automaton's packed tables (built once).
const TPackedAutomaton& TokenAutomaton();
// Token code of each accept number of the token automaton; RuleToken marks
// the accepts whose token a rule finishes (parenthesis, comments, blanks,
// strings).
inline constexpr uint8_t RuleToken = 0xFF;
extern const uint8_t TokenOfAccept[28];
// Whether a byte (after folding) starts or continues an identifier.
bool IsIdentifierStart(unsigned char c);
bool IsIdentifierChar(unsigned char c);

class TAnalyseur_T {
 public:
  // Scans FileName. halfSize other than the default only serves tests.
  explicit TAnalyseur_T(const std::string& FileName, std::size_t halfSize = TFileBufLec::DefaultHalfSize);
  // Scans the text of a reader of the caller's choice (owned from now on).
  explicit TAnalyseur_T(std::unique_ptr<TBufLec> reader);
  ~TAnalyseur_T();

  std::string Text;                // the last token as written in the source
  std::unique_ptr<TBufLec> Reader;
  std::size_t Length = 0;          // characters of the token being scanned

  // The next token's code; sets Text. tkEnd on every call at the end.
  uint8_t NextToken();
};
