// libFuzzer target: arbitrary bytes as a source file, read through the
// analyser with buffers of a few bytes and with the normal buffer.
// Invariants: the token texts put together give the file back; only the
// last token is tkEnd and only it is empty; both buffer sizes give the same
// tokens and the same uses entries; a skip to reserved words lands on the
// token, and leaves the tokens after it, that reading token by token gives.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "PASCAL.h"

namespace {

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

const std::string& FileName() {
  static const std::string name = "/tmp/usagram-fuzz-" + std::to_string(getpid()) + ".pas";
  return name;
}

using TTokens = std::vector<std::pair<uint8_t, std::string>>;

TTokens Tokens(std::size_t half, std::size_t size) {
  TAnalyseur a(FileName(), half);
  TTokens tokens;
  for (;;) {
    const uint8_t code = a.NextToken();
    tokens.push_back({code, a.Text});
    if (code == tkEnd) break;
    Check(!a.Text.empty(), "empty token before the end");
    Check(code != 19 && code <= LastKeywordCode, "token code out of range");
    Check(tokens.size() <= size, "more tokens than characters");
  }
  Check(a.Text.empty(), "tkEnd with text");
  Check(a.NextToken() == tkEnd, "tkEnd not repeated");
  return tokens;
}

std::vector<std::string> Entries(std::size_t half, bool& isUnit) {
  TAnalyseur a(FileName(), half);
  std::vector<std::string> entries;
  isUnit = ScanUses(a, [&](TUsesClause c, const std::string& name, const std::string& path) {
    Check(!name.empty(), "entry without a name");
    // A name ends with an identifier (a dotted one with its last part), and a
    // byte-order mark never sticks to it.
    Check(name.back() != '.', "entry name ending with a dot");
    Check(name.find("\xEF\xBB\xBF") == std::string::npos, "byte-order mark inside a name");
    entries.push_back((c == TUsesClause::Interface ? "I" : "M") + name + '\0' + path);
  });
  return entries;
}

// From token `start`, a skip to the words of `targets` against the token loop.
void CheckSkip(std::size_t half, const TTokens& reference, std::size_t start, const TKeywordSet& targets) {
  TAnalyseur a(FileName(), half);
  for (std::size_t i = 0; i < start; ++i) a.NextToken();
  std::string_view text;
  TTokens rest{{a.SkipToKeyword(targets, text), std::string(text)}};
  while (rest.back().first != tkEnd) {
    const uint8_t code = a.NextToken();
    rest.push_back({code, a.Text});
  }
  std::size_t hit = start;
  while (reference[hit].first != tkEnd && !targets.Has(reference[hit].first)) ++hit;
  Check(rest == TTokens(reference.begin() + static_cast<std::ptrdiff_t>(hit), reference.end()),
        "the skip to a reserved word lands elsewhere than the token loop");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  // The first byte picks the small half size (1..16).
  const std::size_t half = 1 + data[0] % 16;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::FILE* f = std::fopen(FileName().c_str(), "wb");
  if (!f) return 0;
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);

  const TTokens small = Tokens(half, text.size());
  std::string all;
  for (const auto& token : small) all += token.second;
  Check(all == text, "token texts do not give the file back");
  Check(Tokens(TFileBufLec::DefaultHalfSize, text.size()) == small, "buffer size changes the tokens");
  for (const TKeywordSet& targets : {TKeywordSet{kwUses}, TKeywordSet{kwImplementation, kwUses}, TKeywordSet{kwInterface}})
    for (const std::size_t start : {std::size_t{0}, small.size() / 3})
      for (const std::size_t h : {half, TFileBufLec::DefaultHalfSize}) CheckSkip(h, small, start, targets);

  bool smallIsUnit = false, bigIsUnit = false;
  const auto smallEntries = Entries(half, smallIsUnit);
  const auto bigEntries = Entries(TFileBufLec::DefaultHalfSize, bigIsUnit);
  Check(smallEntries == bigEntries && smallIsUnit == bigIsUnit, "buffer size changes the uses entries");
  std::remove(FileName().c_str());
  return 0;
}
