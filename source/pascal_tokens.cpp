#include "pascal_tokens.h"

namespace {

constexpr unsigned char CR = 13, LF = 10, TAB = 9;

// Bytes 131, 138, 140, 154, 156, 159, 192..245 and 248..255 are the letters
// of code page 1252 that survive the upper-case fold; 246 and 247 are not.
constexpr bool IdentifierStart(unsigned c) {
  return (c >= 'A' && c <= 'Z') || c == '_' || c == 131 || c == 138 || c == 140 || c == 154 || c == 156 ||
         c == 159 || (c >= 192 && c <= 245) || c >= 248;
}

// Working states of the token automaton.
enum : uint16_t { sStart, sCR, sDot, sSlash, sColon, sLess, sGreater, sIdentifier, WorkingStates };

TPackedAutomaton BuildTokenAutomaton() {
  std::vector<TStateMoves> states(WorkingStates);
  auto& start = states[sStart].Moves;
  start = {{CR, sCR}, {'.', sDot}, {'/', sSlash}, {':', sColon}, {'<', sLess}, {'>', sGreater}};
  // Single characters and the rule starters, with their accept numbers.
  const std::pair<unsigned char, unsigned> singles[] = {
      {'@', 1},  {'^', 2},  {'=', 7},  {'+', 9},  {'-', 10}, {'(', 12}, {'*', 13}, {')', 14},
      {'[', 15}, {']', 16}, {',', 18}, {';', 19}, {'{', 21}, {' ', 23}, {TAB, 24}, {'\'', 25}};
  for (const auto& [c, k] : singles) start.push_back({c, AcceptState(k)});
  for (unsigned c = 0; c < 256; ++c)
    if (IdentifierStart(c)) start.push_back({static_cast<unsigned char>(c), sIdentifier});
  states[sStart].Default = NoTokenState;

  states[sCR] = {{{LF, AcceptState(26)}}, NoTokenState};  // a lone CR is no token
  states[sDot] = {{{'.', AcceptState(17)}}, AcceptState(20)};
  states[sSlash] = {{{'/', AcceptState(22)}}, AcceptState(11)};
  states[sColon] = {{{'=', AcceptState(8)}}, AcceptState(0)};
  states[sLess] = {{{'=', AcceptState(5)}}, AcceptState(3)};
  states[sGreater] = {{{'=', AcceptState(6)}}, AcceptState(4)};
  for (unsigned c = 0; c < 256; ++c)
    if (IdentifierStart(c) || (c >= '0' && c <= '9'))
      states[sIdentifier].Moves.push_back({static_cast<unsigned char>(c), sIdentifier});
  states[sIdentifier].Default = AcceptState(27);
  return PackAutomaton(states);
}

}  // namespace

const uint8_t TokenOfAccept[28] = {
    tkColon,     tkAt,           tkCaret,         tkLess,     tkGreater,  tkLessEqual, tkGreaterEqual,
    tkEqual,     tkAssign,       tkPlus,          tkMinus,    tkSlash,    RuleToken,   tkStar,
    tkRightParen, tkLeftBracket, tkRightBracket,  tkDotDot,   tkComma,    tkSemicolon, tkDot,
    RuleToken,   RuleToken,      RuleToken,       RuleToken,  RuleToken,  tkEndOfLine, tkIdentifier};

const TPackedAutomaton& TokenAutomaton() {
  static const TPackedAutomaton table = BuildTokenAutomaton();
  return table;
}

bool IsIdentifierStart(unsigned char c) { return IdentifierStart(c); }
bool IsIdentifierChar(unsigned char c) { return IdentifierStart(c) || (c >= '0' && c <= '9'); }

TAnalyseur_T::TAnalyseur_T(const std::string& FileName, std::size_t halfSize)
    : Reader(std::make_unique<TFileBufLec>(FileName, halfSize)) {}

TAnalyseur_T::TAnalyseur_T(std::unique_ptr<TBufLec> reader) : Reader(std::move(reader)) {}

TAnalyseur_T::~TAnalyseur_T() = default;

uint8_t TAnalyseur_T::NextToken() {
  TBufLec& reader = *Reader;
  const TPackedAutomaton& table = TokenAutomaton();
  const int32_t* base = table.Base.data();
  const uint16_t* deflt = table.Default.data();
  const uint16_t* next = table.Next.data();
  const uint16_t* check = table.Check.data();
  const int64_t size = static_cast<int64_t>(table.Next.size());

  std::size_t length = 0;
  uint16_t state = sStart;
  unsigned char c;
  do {
    c = reader.ReadChar();
    const int64_t i = static_cast<int64_t>(base[state]) + c;
    if (i >= 0 && i < size && check[i] == state) {
      state = next[i];
      ++length;
    } else {
      state = deflt[state];
    }
  } while (state < FirstAcceptState);
  const bool atEnd = c == 0 && reader.EndReached();
  reader.Rewind();

  // True when the character just read is the end of the text (a NUL byte
  // of the file is an ordinary character).
  auto end = [&reader](unsigned char ch) { return ch == 0 && reader.EndReached(); };

  uint8_t code;
  if (state >= FirstNoTokenState || length == 0) {
    // Nothing at all before the end: the end of the text. Otherwise a
    // character that starts no token (a lone CR is consumed, other
    // characters are left for the caller).
    code = atEnd && length == 0 ? tkEnd : tkError;
  } else {
    const unsigned accepted = state - FirstAcceptState;
    code = TokenOfAccept[accepted];
    if (code == RuleToken) {
      // The rules re-read the token from its start; a comment or string
      // still open at the end of the text ends there.
      reader.ReadChar();  // the character that started the token
      switch (accepted) {
        case 12: {  // "(": a parenthesis, or a comment through "*)"
          if (reader.ReadChar() != '*') {
            code = tkLeftParen;
            length = 1;
            break;
          }
          code = tkComment;
          length = 2;
          // The closing "*" cannot be the opening one: «(*)» is not closed.
          unsigned char a = reader.ReadChar();
          if (end(a)) break;
          length = 3;
          for (;;) {
            const unsigned char b = reader.ReadChar();
            if (end(b)) break;
            ++length;
            if (a == '*' && b == ')') break;
            a = b;
          }
          break;
        }
        case 21: {  // "{": through the first "}", braces do not nest
          code = tkComment;
          length = 1;
          for (;;) {
            const unsigned char b = reader.ReadChar();
            if (end(b)) break;
            ++length;
            if (b == '}') break;
          }
          break;
        }
        case 22: {  // "//": through the CR LF that ends the line
          code = tkComment;
          reader.ReadChar();
          length = 2;
          unsigned char a = 0;
          for (;;) {
            const unsigned char b = reader.ReadChar();
            if (end(b)) break;
            ++length;
            if (a == CR && b == LF) break;
            a = b;
          }
          break;
        }
        case 23:
        case 24: {  // one run of spaces and tabs
          code = tkBlank;
          length = 1;
          for (;;) {
            const unsigned char b = reader.ReadChar();
            if (b != ' ' && b != TAB) break;
            ++length;
          }
          break;
        }
        case 25: {  // a string through its closing quote; a doubled quote
                    // stays inside; an unclosed one ends with the line end
          code = tkString;
          length = 1;
          for (;;) {
            const unsigned char b = reader.ReadChar();
            if (end(b)) break;
            ++length;
            if (b == LF || b == CR) break;
            if (b == '\'') {
              if (reader.ReadChar() != '\'') break;
              ++length;
            }
          }
          break;
        }
        default:
          code = tkError;  // cannot happen: every rule accept is above
          break;
      }
    }
  }
  Length = length;
  reader.TakeToken(code == tkEnd ? 0 : Length, Text);
  return code;
}
