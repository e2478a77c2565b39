// The uses-clause analyser: one token stream in which reserved words carry
// their keyword codes, and the header scan that reads a file's uses clauses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "BufLec.h"
#include "pascal_keywords.h"
#include "pascal_tokens.h"

class TAnalyseur {
 public:
  // Over FileName. halfSize other than the default only serves tests.
  explicit TAnalyseur(const std::string& FileName, std::size_t halfSize = TFileBufLec::DefaultHalfSize);
  ~TAnalyseur();

  std::string Text;  // the last token as written in the source
  // Delivers its token texts into Text above (its own Text stays unused).
  std::unique_ptr<TAnalyseur_T> Scanner;
  std::unique_ptr<TAnalyseur_K> Keywords;

  // The next token: the scanner's code, a keyword code for a reserved word,
  // and tkError with one character for a character that starts no token.
  uint8_t NextToken();
  // The same with the token's text as a view, valid until the analyser is
  // next used; Text stays as it is.
  uint8_t NextTokenView(std::string_view& text);
  // Reads on to the first token that is one of the reserved words of
  // `targets` and returns its code, or tkEnd: what calling NextToken until
  // then would give, at the cost of finding the comments and strings in
  // between rather than of cutting every token. `text` is that last token.
  uint8_t SkipToKeyword(const TKeywordSet& targets, std::string_view& text);
};

inline uint8_t TAnalyseur::NextTokenView(std::string_view& text) {
  const uint8_t code = Scanner->NextTokenView(text);
  if (code == tkIdentifier) {
    // Only the whole identifier counts ("Strings" holds STRING but is not
    // it): the recogniser answers that from its exact table.
    const uint8_t k = Keywords->WholeWordCode(text.data(), text.size());
    return k == tkError ? tkIdentifier : k;
  }
  // The scanner took nothing: take the character here, so the stream moves on.
  if (code == tkError && text.empty()) [[unlikely]]
    Scanner->Reader->TakeTokenView(1, text);
  return code;
}

enum class TUsesClause { Interface, Implementation };
using TUsesHandler = std::function<void(TUsesClause clause, const std::string& name, const std::string& path)>;

// The header scan of one file: reads its clauses, calls onEntry once per entry in source order,
// returns the IsUnit flag. Throws EInOutError when the file cannot be opened or read.
bool ScanUses(const std::string& fileName, const TUsesHandler& onEntry);

// The same scan over an analyser the caller made (tests use small buffers).
bool ScanUses(TAnalyseur& analyser, const TUsesHandler& onEntry);
