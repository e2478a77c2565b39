#include "pascal_tokens.h"

#include <cstring>

namespace {

constexpr unsigned char CR = 13, LF = 10, TAB = 9;

// Identifier bytes beyond ASCII, as the program has always had them: 131,
// 138, 140, 154, 156, 159, 192..245 and 248..255 (so 246 ends a word, while
// 215 does not).
constexpr bool IdentifierStart(unsigned c) {
  return (c >= 'A' && c <= 'Z') || c == '_' || c == 131 || c == 138 || c == 140 || c == 154 || c == 156 ||
         c == 159 || (c >= 192 && c <= 245) || c >= 248;
}

// Working states of the token automaton.
enum : uint16_t { sStart, sCR, sDot, sSlash, sColon, sLess, sGreater, sIdentifier, WorkingStates };

TPackedAutomaton BuildTokenAutomaton() {
  std::vector<TStateMoves> states(WorkingStates);
  auto& start = states[sStart].Moves;
  start = {{CR, sCR},    {LF, AcceptState(acLoneLf)}, {'.', sDot},     {'/', sSlash},
           {':', sColon}, {'<', sLess},               {'>', sGreater}};
  // Single characters and the rule starters.
  const std::pair<unsigned char, TTokenAccept> singles[] = {
      {'@', acAt},         {'^', acCaret},        {'=', acEqual},        {'+', acPlus},
      {'-', acMinus},      {'(', acLeftParen},    {'*', acStar},         {')', acRightParen},
      {'[', acLeftBracket}, {']', acRightBracket}, {',', acComma},        {';', acSemicolon},
      {'{', acBraceComment}, {' ', acSpace},       {TAB, acTab},          {'\'', acString}};
  for (const auto& [c, k] : singles) start.push_back({c, AcceptState(k)});
  for (unsigned c = 0; c < 256; ++c)
    if (IdentifierStart(c)) start.push_back({static_cast<unsigned char>(c), sIdentifier});
  states[sStart].Default = NoTokenState;

  // CR LF is one line end; a CR without its LF is one too, on its own.
  states[sCR] = {{{LF, AcceptState(acCrLf)}}, AcceptState(acLoneCr)};
  states[sDot] = {{{'.', AcceptState(acDotDot)}}, AcceptState(acDot)};
  states[sSlash] = {{{'/', AcceptState(acLineComment)}}, AcceptState(acSlash)};
  states[sColon] = {{{'=', AcceptState(acAssign)}}, AcceptState(acColon)};
  states[sLess] = {{{'=', AcceptState(acLessEqual)}}, AcceptState(acLess)};
  states[sGreater] = {{{'=', AcceptState(acGreaterEqual)}}, AcceptState(acGreater)};
  for (unsigned c = 0; c < 256; ++c)
    if (IdentifierStart(c) || (c >= '0' && c <= '9'))
      states[sIdentifier].Moves.push_back({static_cast<unsigned char>(c), sIdentifier});
  states[sIdentifier].Default = AcceptState(acIdentifier);
  return PackAutomaton(states);
}

}  // namespace

const TPackedAutomaton& TokenAutomaton() {
  static const TPackedAutomaton table = BuildTokenAutomaton();
  return table;
}

bool IsIdentifierStart(unsigned char c) { return IdentifierStart(c); }
bool IsIdentifierChar(unsigned char c) { return IdentifierStart(c) || (c >= '0' && c <= '9'); }

bool IsDottedName(const std::string& text) {
  bool partStart = true;
  for (const char ch : text) {
    const unsigned char c = ReaderUpCase[static_cast<unsigned char>(ch)];
    if (c == '.') {
      if (partStart) return false;
      partStart = true;
    } else if (partStart ? IsIdentifierStart(c) : IsIdentifierChar(c)) {
      partStart = false;
    } else {
      return false;
    }
  }
  return !partStart;
}

TAnalyseur_T::TAnalyseur_T(const std::string& FileName, std::size_t halfSize)
    : Reader(std::make_unique<TFileBufLec>(FileName, halfSize)), Fast(&TokenFastPath()) {}

TAnalyseur_T::TAnalyseur_T(std::unique_ptr<TBufLec> reader) : Reader(std::move(reader)), Fast(&TokenFastPath()) {}

TAnalyseur_T::~TAnalyseur_T() = default;

namespace {

// The token automaton's transitions unpacked into a full table indexed by
// the byte as written (the fold is applied here): bits 0..15 the new state,
// bit 16 set when the byte is consumed. Derived from the packed tables, so
// it makes the same moves, with one lookup per character.
struct TDenseTokenTable {
  uint32_t Step[WorkingStates][256];
  TTokenFastPath Fast;
};

const TDenseTokenTable& DenseTokenTable() {
  static const TDenseTokenTable dense = [] {
    TDenseTokenTable d{};
    const TPackedAutomaton& packed = TokenAutomaton();
    for (uint16_t s = 0; s < WorkingStates; ++s)
      for (unsigned c = 0; c < 256; ++c) {
        bool consumed;
        const uint16_t to = packed.Step(s, ReaderUpCase[c], consumed);
        d.Step[s][c] = to | (consumed ? 0x10000u : 0u);
      }
    for (unsigned c = 0; c < 256; ++c)
      d.Fast.StaysInIdentifier[c] = d.Step[sIdentifier][c] == (sIdentifier | 0x10000u);
    for (unsigned c = 0; c < 256; ++c) {
      const uint32_t move = d.Step[sStart][c];
      const uint16_t to = move & 0xFFFF;
      const bool consumed = (move & 0x10000u) != 0;
      uint8_t kind = fkOther;
      if (to >= FirstNoTokenState && !consumed) {
        kind = fkNoToken;
      } else if (to == sIdentifier && consumed) {
        kind = fkIdentifier;
      } else if (to == sCR && consumed) {
        kind = fkCarriageReturn;
      } else if (to < FirstAcceptState && consumed) {
        // A state of two-character symbols: one byte makes the pair, any
        // other ends the symbol of one without taking that byte.
        const uint32_t otherwise = d.Step[to][0];
        int seconds = 0;
        for (unsigned c2 = 0; c2 < 256; ++c2)
          if (d.Step[to][c2] != otherwise) {
            ++seconds;
            d.Fast.PairSecond[c] = static_cast<uint8_t>(c2);
          }
        const uint32_t pair = d.Step[to][d.Fast.PairSecond[c]];
        const bool simple = seconds == 1 && !(otherwise & 0x10000u) && (pair & 0x10000u) &&
                            (otherwise & 0xFFFF) >= FirstAcceptState && (otherwise & 0xFFFF) < FirstNoTokenState &&
                            (pair & 0xFFFF) >= FirstAcceptState && (pair & 0xFFFF) < FirstNoTokenState;
        if (simple) {
          const uint8_t single = TokenOfAccept[(otherwise & 0xFFFF) - FirstAcceptState];
          const uint8_t two = TokenOfAccept[(pair & 0xFFFF) - FirstAcceptState];
          if (single != RuleToken) {
            kind = fkPair;
            d.Fast.SymbolToken[c] = single;
            d.Fast.PairToken[c] = two == RuleToken ? tkError : two;
          }
        }
      } else if (consumed && to == FirstAcceptState + acLeftParen) {
        kind = fkParen;
      } else if (consumed && to >= FirstAcceptState && to < FirstNoTokenState) {
        const unsigned accepted = to - FirstAcceptState;
        if (accepted == acSpace || accepted == acTab) {
          kind = fkBlank;
        } else if (accepted == acLoneLf) {
          kind = fkLineFeed;
        } else if (TokenOfAccept[accepted] != RuleToken) {
          kind = fkSymbol;
          d.Fast.SymbolToken[c] = TokenOfAccept[accepted];
        }
      }
      d.Fast.FirstKind[c] = kind;
    }
    return d;
  }();
  return dense;
}

}  // namespace

const TTokenFastPath& TokenFastPath() { return DenseTokenTable().Fast; }

uint8_t TAnalyseur_T::NextToken() { return NextTokenInto(Text); }

uint8_t TAnalyseur_T::NextTokenInto(std::string& text) {
  std::string_view view;
  const uint8_t code = NextTokenView(view);
  text.assign(view.data(), view.size());
  return code;
}

namespace {

// Takes a UTF-8 byte-order mark at the reader's position, if there is one.
bool TakeByteOrderMark(TBufLec& reader, std::string_view& text) {
  static constexpr unsigned char Mark[] = {0xEF, 0xBB, 0xBF};
  for (const unsigned char m : Mark) {
    if (static_cast<unsigned char>(reader.NextChar()) != m) {
      reader.Rewind();
      return false;
    }
  }
  reader.TakeTokenView(sizeof Mark, text);
  return true;
}

}  // namespace

uint8_t TAnalyseur_T::NextTokenViewSlow(std::string_view& text) {
  TBufLec& reader = *Reader;
  if (AtTextStart) [[unlikely]] {
    AtTextStart = false;
    if (TakeByteOrderMark(reader, text)) {
      Length = text.size();
      return tkBlank;
    }
    // The fast path may now take the first token.
    if (reader.Position < reader.FastLimit()) return NextTokenView(text);
  }
  static const TDenseTokenTable& dense = DenseTokenTable();

  TScanCursor cursor(reader);

  std::size_t length = 0;
  uint32_t state = sStart;
  unsigned char c;
  do {
    c = cursor.Next();
    const uint32_t move = dense.Step[state][c];
    state = move & 0xFFFF;
    length += move >> 16;
    if (state == sIdentifier) {
      // Most of the text: stay in the identifier state without the lookups.
      do {
        c = cursor.Next();
        ++length;
      } while (dense.Fast.StaysInIdentifier[c]);
      --length;
      state = dense.Step[sIdentifier][c] & 0xFFFF;
    }
  } while (state < FirstAcceptState);
  const bool atEnd = cursor.End(c);
  // No rewind here: TakeToken below puts the reader right after the token,
  // and every token that a rule finishes was accepted on a character the
  // automaton consumed, so the rule goes on from where the automaton stopped.

  uint8_t code;
  if (state >= FirstNoTokenState || length == 0) {
    // Nothing at all before the end: the end of the text. Otherwise a
    // character that starts no token, left for the caller.
    code = atEnd && length == 0 ? tkEnd : tkError;
  } else {
    const unsigned accepted = state - FirstAcceptState;
    code = TokenOfAccept[accepted];
    if (code == RuleToken) {
      // A comment or string still open at the end of the text ends there.
      switch (accepted) {
        case acLeftParen: {  // a parenthesis, or a comment through "*)"
          if (cursor.Next() != '*') {
            code = tkLeftParen;
            length = 1;
            break;
          }
          code = tkComment;
          length = 2;
          // The closing "*" cannot be the opening one: «(*)» is not closed.
          while (cursor.TakeThrough('*', length)) {
            unsigned char b;
            do {
              b = cursor.Next();
              if (cursor.End(b)) goto done;
              ++length;
            } while (b == '*');
            if (b == ')') break;
          }
          break;
        }
        case acBraceComment:  // through the first "}", braces do not nest
          code = tkComment;
          length = 1;
          cursor.TakeThrough('}', length);
          break;
        case acLineComment: {  // through the first line end, of whichever kind
          code = tkComment;
          length = 2;
          unsigned char found;
          if (cursor.TakeThroughEither(CR, LF, length, found) && found == CR) {
            const unsigned char b = cursor.Next();
            if (b == LF && !cursor.End(b)) ++length;
          }
          break;
        }
        case acSpace:
        case acTab: {  // one run of spaces and tabs
          code = tkBlank;
          length = 1;
          for (;;) {
            const unsigned char b = cursor.Next();
            if (b != ' ' && b != TAB) break;
            ++length;
          }
          break;
        }
        case acString: {  // through its closing quote; a doubled quote stays
                          // inside; an unclosed one ends with the line end
          code = tkString;
          length = 1;
          for (;;) {
            const unsigned char b = cursor.Next();
            if (cursor.End(b)) break;
            ++length;
            if (b == LF || b == CR) break;
            if (b == '\'') {
              if (cursor.Next() != '\'') break;
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
done:
  cursor.Store();
  Length = length;
  reader.TakeTokenView(code == tkEnd ? 0 : Length, text);
  return code;
}
