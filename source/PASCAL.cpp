#include "PASCAL.h"

#include <array>
#include <cstring>
#include <new>

#include "Messages.h"
#include "Ridarar.h"
#include "Yield.h"
#include "uChaines.h"

TAnalyseur::TAnalyseur(const std::string& FileName, std::size_t halfSize)
    : Scanner(std::make_unique<TAnalyseur_T>(FileName, halfSize)), Keywords(std::make_unique<TAnalyseur_K>("")) {}

TAnalyseur::~TAnalyseur() = default;

uint8_t TAnalyseur::NextToken() {
  std::string_view view;
  const uint8_t code = NextTokenView(view);
  Text.assign(view.data(), view.size());
  return code;
}

namespace {

// What the skip scan looks at: the openers of comments and strings, and
// the first letters of the words it looks for.
enum : uint8_t { skNothing, skLetter, skBrace, skParen, skSlash, skQuote };

// How often the skip scan gives the message loop its turn: once per so
// many bytes, where the token loop does once per token.
constexpr std::size_t SkipYieldBytes = 4096;

}  // namespace

uint8_t TAnalyseur::SkipToKeyword(const TKeywordSet& targets, std::string_view& text) {
  std::array<uint8_t, 256> look{};
  look['{'] = skBrace, look['('] = skParen, look['/'] = skSlash, look['\''] = skQuote;
  for (unsigned k = 0; k < KeywordCount; ++k)
    if (targets.Has(KeywordCodeOfAccept(k))) {
      const auto first = static_cast<unsigned char>(KeywordsByAccept[k][0]);
      look[first] = look[first | 0x20u] = skLetter;
    }
  // Bytes of an identifier after its first, as the scanner's fast path has them.
  const bool* inIdentifier = TokenFastPath().StaysInIdentifier;
  TBufLec& reader = *Scanner->Reader;

  for (;;) {
    YieldWhileWorking();
    // Only whole blocks of the buffer are skipped, from a token's start with
    // nothing in the carry; anything else is one token the ordinary way.
    std::size_t p = reader.Position;
    const std::size_t limit = reader.FastLimit();
    if (Scanner->AtTextStart || p >= limit || p != reader.TokenStart) {
      const uint8_t code = NextTokenView(text);
      if (code == tkEnd || targets.Has(code)) return code;
      continue;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(reader.Buffer);
    const std::size_t from = p;
    std::size_t yieldAt = p + SkipYieldBytes;
    // p is always the start of a token; `stop` is where the ordinary scanner
    // takes over: the end of the block, or a token that may go beyond it.
    std::size_t stop = limit;
    while (p < limit) {
      while (p < limit && !look[b[p]]) ++p;
      if (p == limit) {
        // An identifier at the end of the block may go on in the next one:
        // it is read from its start.
        while (stop > from && inIdentifier[b[stop - 1]]) --stop;
        break;
      }
      if (p >= yieldAt) {
        YieldWhileWorking();
        yieldAt = p + SkipYieldBytes;
      }
      const std::size_t at = p;
      switch (look[b[p]]) {
        case skLetter: {
          // It starts an identifier unless a letter of the same run comes
          // before it (digits before it are tokens of their own). The run
          // starts a token, like anything after a character outside it.
          std::size_t run = p;
          while (run > from && inIdentifier[b[run - 1]]) --run;
          bool starts = true;
          for (std::size_t q = run; q < p && starts; ++q) starts = b[q] >= '0' && b[q] <= '9';
          std::size_t end = p + 1;
          while (end < limit && inIdentifier[b[end]]) ++end;
          if (end == limit) {
            stop = run;
          } else if (starts && targets.Has(Keywords->WholeWordCode(reinterpret_cast<const char*>(b + p), end - p))) {
            stop = at;
          } else {
            p = end;  // the rest of the run is inside this identifier or the one before
            continue;
          }
          break;
        }
        case skBrace: {  // through the first "}"
          const void* close = std::memchr(b + p + 1, '}', limit - p - 1);
          if (!close) {
            stop = at;
            break;
          }
          p = static_cast<std::size_t>(static_cast<const unsigned char*>(close) - b) + 1;
          continue;
        }
        case skParen: {  // "(" alone, or a comment through "*)" (not the opening star)
          if (p + 1 == limit) {
            stop = at;
            break;
          }
          if (b[p + 1] != '*') {
            ++p;
            continue;
          }
          std::size_t q = p + 2;
          bool closed = false;
          while (const void* star = q < limit ? std::memchr(b + q, '*', limit - q) : nullptr) {
            q = static_cast<std::size_t>(static_cast<const unsigned char*>(star) - b) + 1;
            while (q < limit && b[q] == '*') ++q;
            if (q < limit && b[q] == ')') {
              closed = true;
              break;
            }
          }
          if (!closed) {
            stop = at;
            break;
          }
          p = q + 1;
          continue;
        }
        case skSlash: {  // "/" alone, or a comment through the line end
          if (p + 1 == limit) {
            stop = at;
            break;
          }
          if (b[p + 1] != '/') {
            ++p;
            continue;
          }
          std::size_t q = p + 2;
          while (q < limit && b[q] != '\r' && b[q] != '\n') ++q;
          if (q == limit) {
            stop = at;
            break;
          }
          p = q + 1;  // an LF after the CR is a token start as good as any
          continue;
        }
        default: {  // a string, through its closing quote or its line end; a
                    // doubled quote closes one string and opens the next
          std::size_t q = p + 1;
          while (q < limit && b[q] != '\'' && b[q] != '\r' && b[q] != '\n') ++q;
          if (q == limit) {
            stop = at;
            break;
          }
          p = q + 1;
          continue;
        }
      }
      break;
    }
    // The tokens before `stop` are taken; the ordinary scanner goes on there.
    reader.TokenStart = reader.Position = stop;
    const uint8_t code = NextTokenView(text);
    if (code == tkEnd || targets.Has(code)) return code;
  }
}

namespace {

// The header scan's state: the analyser and its last token.
class THeaderScan {
 public:
  THeaderScan(TAnalyseur& analyser, const TUsesHandler& onEntry) : A(analyser), OnEntry(onEntry) {}

  bool Run() {
    do Next(); while (Tok == tkBlank || Tok == tkComment || Tok == tkEndOfLine);
    // A package is read as a program whose one clause is its CONTAINS
    // (REQUIRES lists packages, not units). Neither word is reserved.
    if (Tok == tkIdentifier && IsWord("package")) {
      do Next(); while (Tok != tkEnd && !(Tok == tkIdentifier && IsWord("contains")));
      if (Tok != tkEnd) ReadUses(TUsesClause::Implementation);
      return false;
    }
    // Whatever comes first (comments, PROGRAM, LIBRARY, the program's
    // name) is skipped up to UNIT or USES.
    if (Tok != tkEnd && Tok != kwUnit && Tok != kwUses) SkipTo({kwUnit, kwUses});
    if (Tok == tkEnd) return false;
    if (Tok == kwUses) {
      // A program or library: its one clause.
      ReadUses(TUsesClause::Implementation);
      return false;
    }
    SkipTo({kwInterface});
    SkipTo({kwImplementation, kwUses});
    if (Tok == kwUses) {
      ReadUses(TUsesClause::Interface);
      SkipTo({kwImplementation});
    }
    // The first USES after that is the implementation clause, wherever it stands.
    SkipTo({kwUses});
    if (Tok == kwUses) ReadUses(TUsesClause::Implementation);
    return true;
  }

 private:
  TAnalyseur& A;
  const TUsesHandler& OnEntry;
  uint8_t Tok = tkEnd;
  std::string_view Text;  // Tok's text

  // Every token of the scan gives the message loop its turn first.
  void Next() {
    YieldWhileWorking();
    Take();
  }
  void Take() { Tok = A.NextTokenView(Text); }
  // Up to the next of the given reserved words (at least one token on).
  void SkipTo(const TKeywordSet& words) { Tok = A.SkipToKeyword(words, Text); }
  bool IsWord(const char* word) const { return SameTextAscii(std::string(Text), word); }

  static bool IsSeparator(uint8_t code) {
    return code == tkComma || code == tkComment || code == tkBlank || code == tkEndOfLine;
  }

  // One clause, after its USES (or CONTAINS): an entry per name, with the
  // path of its IN 'path' if any. A name is an identifier, or identifiers
  // joined by dots with nothing between them ("System.SysUtils"). Tokens
  // that are not separators just before a name (a stray dot, a digit)
  // become a prefix of that name.
  void ReadUses(TUsesClause clause) {
    uint8_t prev = kwUses;
    std::string acc;
    do {
      Next();
      if (Tok == tkIdentifier) {
        std::string name = IsSeparator(prev) ? std::string(Text) : acc.append(Text);
        acc.clear();
        Take();
        while (Tok == tkDot) {
          Take();
          if (Tok != tkIdentifier) break;
          name += '.';
          name += Text;
          Take();
        }
        for (; Tok != tkEnd && Tok != tkComma && Tok != tkSemicolon; Take()) {
          if (Tok == tkString)
            acc += Text;
          else if (Tok == kwIn)
            acc.clear();
        }
        // Without its quotes.
        const std::string path = acc.size() >= 2 ? acc.substr(1, acc.size() - 2) : std::string();
        OnEntry(clause, name, path);
        acc.clear();
      } else if (IsSeparator(Tok) || Tok == tkString || Tok == kwIn) {
        acc.clear();
      } else {
        acc += Text;
      }
      prev = Tok;
    } while (Tok != tkEnd && Tok != tkSemicolon);
  }
};

}  // namespace

bool ScanUses(TAnalyseur& analyser, const TUsesHandler& onEntry) { return THeaderScan(analyser, onEntry).Run(); }

bool ScanUses(const std::string& fileName, const TUsesHandler& onEntry) {
  std::unique_ptr<TAnalyseur> analyser;
  try {
    analyser = std::make_unique<TAnalyseur>(fileName);
  } catch (const std::bad_alloc&) {
    // Answered with OK: the file ends its analysis with no entries.
    WarnOrStop(Msg::NoAnalyserMemory);
    return false;
  }
  return ScanUses(*analyser, onEntry);
}
