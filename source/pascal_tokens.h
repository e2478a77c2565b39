// The token scanner: cuts Pascal source into symbols, identifiers, strings,
// comments, runs of blanks and line ends. It knows nothing of numbers,
// character constants or directives: "{$I x}" is a comment like any other.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

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
inline constexpr uint8_t tkComment = 17;  // { }, (* *), or // through the line end
inline constexpr uint8_t tkBlank = 18;    // a run of spaces and tabs
// 19 is never produced.
inline constexpr uint8_t tkIdentifier = 20;
inline constexpr uint8_t tkEndOfLine = 21;  // CR LF, or a lone LF or CR
inline constexpr uint8_t tkEqual = 22;
inline constexpr uint8_t tkLess = 23;
inline constexpr uint8_t tkGreater = 24;
inline constexpr uint8_t tkLessEqual = 25;
inline constexpr uint8_t tkGreaterEqual = 26;
inline constexpr uint8_t tkAt = 27;
inline constexpr uint8_t tkCaret = 28;

// The token automaton's packed tables (built once).
const TPackedAutomaton& TokenAutomaton();

// Accept numbers of the token automaton. TokenOfAccept is indexed by them, so
// the transitions, the table and the scanner's rules all use these names.
// Order matters: the numbers 0..27 are the automaton's historic ones.
enum TTokenAccept : uint8_t {
  acColon, acAt, acCaret, acLess, acGreater, acLessEqual, acGreaterEqual, acEqual, acAssign, acPlus, acMinus,
  acSlash,
  acLeftParen,  // rule: "(" or a comment through "*)"
  acStar, acRightParen, acLeftBracket, acRightBracket, acDotDot, acComma, acSemicolon, acDot,
  acBraceComment,  // rule: through the first "}"
  acLineComment,   // rule: "//" through the first line end
  acSpace, acTab,  // rule: one run of spaces and tabs
  acString,        // rule: through the closing quote
  acCrLf, acIdentifier,
  acLoneCr, acLoneLf,  // line ends of files written elsewhere (old Macintosh, Unix)
  AcceptCount
};

// Token code of each accept number; RuleToken marks the accepts whose token a
// rule finishes (parenthesis, comments, blanks, strings).
inline constexpr uint8_t RuleToken = 0xFF;
inline constexpr std::array<uint8_t, AcceptCount> TokenOfAccept = [] {
  std::array<uint8_t, AcceptCount> t{};
  t[acColon] = tkColon, t[acAt] = tkAt, t[acCaret] = tkCaret, t[acLess] = tkLess, t[acGreater] = tkGreater;
  t[acLessEqual] = tkLessEqual, t[acGreaterEqual] = tkGreaterEqual, t[acEqual] = tkEqual, t[acAssign] = tkAssign;
  t[acPlus] = tkPlus, t[acMinus] = tkMinus, t[acSlash] = tkSlash, t[acStar] = tkStar;
  t[acRightParen] = tkRightParen, t[acLeftBracket] = tkLeftBracket, t[acRightBracket] = tkRightBracket;
  t[acDotDot] = tkDotDot, t[acComma] = tkComma, t[acSemicolon] = tkSemicolon, t[acDot] = tkDot;
  t[acLeftParen] = t[acBraceComment] = t[acLineComment] = t[acSpace] = t[acTab] = t[acString] = RuleToken;
  t[acCrLf] = t[acLoneCr] = t[acLoneLf] = tkEndOfLine;
  t[acIdentifier] = tkIdentifier;
  return t;
}();

// Whether a byte (after folding) starts or continues an identifier.
bool IsIdentifierStart(unsigned char c);
bool IsIdentifierChar(unsigned char c);
// Whether the text, as written, is identifiers joined by single dots, as a
// dotted unit name is ("System.Win"): what the scanner would read as one.
bool IsDottedName(const std::string& text);

// Reads a reader's characters for the automata and rules: straight from
// the buffer while it can, through NextChar otherwise. Bytes from the buffer
// come unfolded; the callers fold where letters matter.
class TScanCursor {
 public:
  explicit TScanCursor(TBufLec& reader) : Reader(reader) { Load(); }
  unsigned char Next() {
    if (Pos < Lim) return Buf[Pos++];
    return Slow();
  }
  // The NUL that Next just returned is the end of the text.
  bool End(unsigned char c) const { return c == 0 && AtEnd; }
  // Takes the characters through the first `stop` (length counts them);
  // false when the text ends first. Inlined, so that the cursor and the
  // length stay in registers in the scanner's loops.
  [[gnu::always_inline]] bool TakeThrough(unsigned char stop, std::size_t& length);
  // The same through the first of two characters; `found` tells which.
  bool TakeThroughEither(unsigned char a, unsigned char b, std::size_t& length, unsigned char& found);
  // Hands the position back to the reader.
  void Store() { Reader.Position = Pos; }

 private:
  TBufLec& Reader;
  const unsigned char* Buf = nullptr;
  std::size_t Pos = 0;
  std::size_t Lim = 0;
  bool AtEnd = false;

  void Load() {
    Buf = reinterpret_cast<const unsigned char*>(Reader.Buffer);
    Pos = Reader.Position;
    Lim = Reader.FastLimit();
  }
  unsigned char Slow() {
    Store();
    const unsigned char c = static_cast<unsigned char>(Reader.NextChar());
    AtEnd = c == 0 && Reader.EndReached();
    Load();
    return c;
  }
};

inline bool TScanCursor::TakeThrough(unsigned char stop, std::size_t& length) {
  for (;;) {
    if (Pos < Lim) {
      const void* hit = std::memchr(Buf + Pos, stop, Lim - Pos);
      if (hit) {
        const std::size_t n = static_cast<std::size_t>(static_cast<const unsigned char*>(hit) - (Buf + Pos)) + 1;
        length += n;
        Pos += n;
        return true;
      }
      length += Lim - Pos;
      Pos = Lim;
    }
    const unsigned char c = Slow();
    if (End(c)) return false;
    ++length;
    if (c == stop) return true;
  }
}

inline bool TScanCursor::TakeThroughEither(unsigned char a, unsigned char b, std::size_t& length,
                                           unsigned char& found) {
  for (;;) {
    const std::size_t start = Pos;
    while (Pos < Lim && Buf[Pos] != a && Buf[Pos] != b) ++Pos;
    length += Pos - start;
    if (Pos < Lim) {
      found = Buf[Pos++];
      ++length;
      return true;
    }
    const unsigned char c = Slow();
    if (End(c)) return false;
    ++length;
    if (c == a || c == b) {
      found = c;
      return true;
    }
  }
}

// What the first byte of a token tells the scanner's fast path (below).
// Kinds that the fast path finishes itself: identifiers, blanks, line ends,
// symbols of one character or two, "(" without its star, and characters
// that start no token; comments and strings go through the automaton.
enum : uint8_t {
  fkOther,
  fkIdentifier,
  fkBlank,
  fkSymbol,  // one character
  fkPair,    // a symbol, or a longer token when the next byte is PairSecond
  fkLineFeed,
  fkCarriageReturn,
  fkParen,    // "(", or a comment when a star follows
  fkNoToken,  // a character that starts no token (left for the caller)
};

// Tables of the fast path, read off the token automaton's moves.
struct TTokenFastPath {
  uint8_t FirstKind[256];
  // The bytes on which the identifier state stays where it is, consuming them.
  bool StaysInIdentifier[256];
  // The token of a symbol of one character (fkSymbol, and fkPair without
  // its second byte).
  uint8_t SymbolToken[256];
  // fkPair: the second byte, and the token of the two (tkError when the
  // pair opens a comment: the automaton takes it).
  uint8_t PairSecond[256];
  uint8_t PairToken[256];
};
const TTokenFastPath& TokenFastPath();

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
  // No token taken yet: a UTF-8 byte-order mark may open the text.
  bool AtTextStart = true;

  // The next token's code; sets Text. tkEnd on every call at the end. A
  // UTF-8 byte-order mark (EF BB BF) that opens the text is a tkBlank of its
  // own, so that it never sticks to the name that follows it.
  uint8_t NextToken();
  // The same, with the token's text delivered into `text` instead of Text
  // (the analyser takes it straight into its own Text).
  uint8_t NextTokenInto(std::string& text);
  // The same again, with the text as a view into the reader's buffer, valid
  // until the scanner is next used: no copy of any token.
  uint8_t NextTokenView(std::string_view& text);

 private:
  const TTokenFastPath* Fast;
  uint8_t NextTokenViewSlow(std::string_view& text);
};

// Most tokens (identifiers, blanks, line ends, symbols of one character) lie
// wholly in the buffer with the character that ends them; they are cut here
// with a few table lookups. A token that reaches the end of the valid
// characters, and every other kind, goes through the automaton from its
// first character, as if this had not been tried.
inline uint8_t TAnalyseur_T::NextTokenView(std::string_view& text) {
  TBufLec& reader = *Reader;
  const std::size_t start = reader.Position, limit = reader.FastLimit();
  if (start < limit && start == reader.TokenStart && !AtTextStart) [[likely]] {
    const auto* b = reinterpret_cast<const unsigned char*>(reader.Buffer);
    std::size_t end = start + 1;
    uint8_t code = tkError;
    switch (Fast->FirstKind[b[start]]) {
      case fkIdentifier:
        while (end < limit && Fast->StaysInIdentifier[b[end]]) ++end;
        if (end < limit) code = tkIdentifier;
        break;
      case fkBlank:
        while (end < limit && (b[end] == ' ' || b[end] == '\t')) ++end;
        if (end < limit) code = tkBlank;
        break;
      case fkSymbol:
        code = Fast->SymbolToken[b[start]];
        break;
      case fkPair:
        if (end < limit) {
          if (b[end] != Fast->PairSecond[b[start]]) {
            code = Fast->SymbolToken[b[start]];
          } else {
            code = Fast->PairToken[b[start]];
            ++end;
          }
        }
        break;
      case fkParen:
        if (end < limit && b[end] != '*') code = tkLeftParen;
        break;
      case fkNoToken:
        Length = 0;
        reader.TakeTokenView(0, text);
        return tkError;
      case fkLineFeed:
        code = tkEndOfLine;
        break;
      case fkCarriageReturn:
        if (end < limit) {
          if (b[end] == '\n') ++end;
          code = tkEndOfLine;
        }
        break;
      default:
        break;
    }
    if (code != tkError) {
      // What TakeTokenView does when the carry is empty and the reader is
      // at the token's start, as it is here.
      Length = end - start;
      text = std::string_view(reader.Buffer + start, Length);
      reader.TokenStart = reader.Position = end;
      return code;
    }
  }
  return NextTokenViewSlow(text);
}
