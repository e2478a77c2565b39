// Tokens across the refills of the file reader: long tokens, tokens over the
// half boundaries and over the wrap back to the start of the buffer, files
// whose size is a whole number of halves, and random text read through
// halves of a few bytes.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "PASCAL.h"
#include "TempFiles.h"

namespace {

using TTokens = std::vector<std::pair<int, std::string>>;

TTokens Tokens(const std::string& fileName, std::size_t halfSize = TFileBufLec::DefaultHalfSize) {
  TAnalyseur a(fileName, halfSize);
  TTokens tokens;
  for (;;) {
    const int code = a.NextToken();
    tokens.push_back({code, a.Text});
    if (code == tkEnd) return tokens;
  }
}

std::string Concatenated(const TTokens& tokens) {
  std::string all;
  for (const auto& t : tokens) all += t.second;
  return all;
}

// Text made of known tokens, each followed by one blank, so the expected
// stream is known as the text is built.
struct TBuilder {
  std::string Text;
  TTokens Expected;
  void Add(int code, const std::string& token) {
    Text += token;
    Expected.push_back({code, token});
    Text += ' ';
    Expected.push_back({tkBlank, " "});
  }
  // Fills with short identifiers up to `offset` (the last blank may come a
  // little before).
  void FillTo(std::size_t offset) {
    while (Text.size() + 6 <= offset) Add(tkIdentifier, "abcd");
    while (Text.size() + 2 <= offset) Add(tkIdentifier, "e");
  }
  TTokens Done() {
    TTokens all = Expected;
    all.push_back({tkEnd, ""});
    return all;
  }
};

constexpr std::size_t Half = TFileBufLec::DefaultHalfSize;

}  // namespace

TEST(Boundaries, CommentOf200KilobytesIsOneToken) {
  std::string comment = "{";
  for (int i = 0; comment.size() < 200 * 1024; ++i) comment += (i % 61 == 60) ? "\r\n" : "x";
  comment += "}";
  TTempDir dir;
  const TTokens tokens = Tokens(dir.Write("c.pas", "a " + comment + "b"));
  ASSERT_EQ(tokens.size(), 5u);
  EXPECT_EQ(tokens[2].first, tkComment);
  EXPECT_TRUE(tokens[2].second == comment);  // no 200 KB dump on failure
  EXPECT_EQ(tokens[3], (std::pair<int, std::string>{tkIdentifier, "b"}));
}

TEST(Boundaries, TokensStraddlingEachHalfBoundaryAndTheWrap) {
  // Each kind of token across the boundary of the first half, across the
  // wrap back to index 0 (even multiples) and across the second half.
  TBuilder b;
  const std::pair<int, std::string> pieces[] = {{tkIdentifier, "straddling_identifier"},
                                                {tkString, "'a string'"},
                                                {tkComment, "{a comment}"},
                                                {tkComment, "(* another *)"},
                                                {tkComment, "// a line\r\n"},
                                                {tkEndOfLine, "\r\n"}};
  std::size_t boundary = Half;
  for (int round = 0; round < 2; ++round)
    for (const auto& [code, text] : pieces) {
      b.FillTo(boundary - text.size() / 2);
      b.Add(code, text);
      boundary += Half;
    }
  b.Add(tkIdentifier, "tail");
  TTempDir dir;
  EXPECT_TRUE(Tokens(dir.Write("s.pas", b.Text)) == b.Done());
}

TEST(Boundaries, FilesOfWholeHalvesWithATokenToTheEnd) {
  for (const std::size_t size : {Half, 2 * Half}) {
    // A comment opened before the first boundary and still open at the end,
    // then an identifier that ends exactly at the end of the file.
    std::string open = "x {" + std::string(size - 3, 'c');
    std::string ident = "x " + std::string(size - 2, 'i');
    TTempDir dir;
    ASSERT_EQ(open.size(), size);
    EXPECT_TRUE(Tokens(dir.Write("o.pas", open)) ==
                (TTokens{{tkIdentifier, "x"}, {tkBlank, " "}, {tkComment, open.substr(2)}, {tkEnd, ""}}));
    EXPECT_TRUE(Tokens(dir.Write("i.pas", ident)) ==
                (TTokens{{tkIdentifier, "x"}, {tkBlank, " "}, {tkIdentifier, ident.substr(2)}, {tkEnd, ""}}));
    // A short identifier straddling the same offset in a longer file.
    TBuilder b;
    b.FillTo(size - 3);
    b.Add(tkIdentifier, "across");
    TTempDir dir2;
    EXPECT_TRUE(Tokens(dir2.Write("a.pas", b.Text)) == b.Done());
  }
}

TEST(Boundaries, LoneCrAndOpenStringAtAHalfBoundary) {
  TTempDir dir;
  // CR as the last byte of the first half, LF as the first of the second.
  std::string text = std::string(Half - 1, ' ') + "\r\n'open";
  EXPECT_TRUE(Tokens(dir.Write("crlf.pas", text)) ==
              (TTokens{{tkBlank, std::string(Half - 1, ' ')}, {tkEndOfLine, "\r\n"}, {tkString, "'open"}, {tkEnd, ""}}));
  text = std::string(Half - 1, ' ') + "\r";
  EXPECT_TRUE(Tokens(dir.Write("cr.pas", text)) ==
              (TTokens{{tkBlank, std::string(Half - 1, ' ')}, {tkEndOfLine, "\r"}, {tkEnd, ""}}));
}

TEST(Boundaries, RandomTextIsSeenOnceInOrderWhateverTheHalfSize) {
  // An alphabet heavy in the characters the rules look for.
  const std::string alphabet = std::string("{}()*/'\r\n \t:=<>.,;@^abcXYZ_09#$\xE9\xF6\x80\xFF") + std::string(1, '\0');
  std::mt19937 random(1234);
  TTempDir dir;
  for (int round = 0; round < 40; ++round) {
    std::string text(static_cast<std::size_t>(random() % 3000), ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    std::string file = std::to_string(round);
    file += ".pas";
    const std::string name = dir.Write(file, text);
    const TTokens reference = Tokens(name);
    ASSERT_TRUE(Concatenated(reference) == text) << "round " << round;
    for (const std::size_t half : {1u, 2u, 3u, 5u, 8u, 13u, 64u, 1000u}) {
      ASSERT_TRUE(Tokens(name, half) == reference) << "round " << round << " half " << half;
    }
  }
}

TEST(Boundaries, UsesClauseReadThroughTinyHalves) {
  TTempDir dir;
  const std::string name = dir.Write(
      "u.pas", "unit Unite;\r\ninterface\r\nuses {c} Forms, B in 'sub\\b.pas';\r\nimplementation\r\nuses Z;\r\nend.");
  std::vector<std::string> reference;
  for (const std::size_t half : {TFileBufLec::DefaultHalfSize, std::size_t{1}, std::size_t{2}, std::size_t{7}}) {
    TAnalyseur a(name, half);
    std::vector<std::string> seen;
    const bool isUnit = ScanUses(a, [&](TUsesClause c, const std::string& n, const std::string& p) {
      seen.push_back((c == TUsesClause::Interface ? "I:" : "M:") + n + ":" + p);
    });
    EXPECT_TRUE(isUnit);
    if (reference.empty()) reference = seen;
    EXPECT_EQ(seen, reference) << "half " << half;
  }
  EXPECT_EQ(reference, (std::vector<std::string>{"I:Forms:", "I:B:sub\\b.pas", "M:Z:"}));
}

// The skip to a reserved word lands where reading token by token would, with
// the same token and the same tokens after it, from every starting token,
// whatever the half size: words inside comments, strings and longer
// identifiers, digits before a word, and tokens cut by the refills.
TEST(Boundaries, SkipToKeywordLandsWhereTheTokenLoopDoes) {
  static const char markAndNul[] = "\xEF\xBB\xBFuses x\0uses /uses (uses <uses :=uses //uses";
  std::vector<std::string> texts = {
      "uses{uses}(*uses*)//uses\r\n'uses''uses'uses (*)uses*) (**)uses x",
      "Xuses 1uses x1uses _uses USES2 a.uses 12Uses\xC0uses \xF6uses",
      "'open uses\r\nuses 'a''b' IMPLEMENTATION\ruses\nInterface",
      std::string(markAndNul, sizeof markAndNul - 1),
      "unit U; interface uses A; implementation uses B; end.",
  };
  std::mt19937 random(7);
  const std::string alphabet = "uUsSeEiI{}()*/' \r\n1.x";
  for (int round = 0; round < 12; ++round) {
    std::string text;
    for (int i = 0; i < 160; ++i) text += alphabet[random() % alphabet.size()];
    texts.push_back(text);
  }
  const std::vector<TKeywordSet> sets = {{kwUses}, {kwInterface}, {kwImplementation, kwUses}, {kwUnit, kwUses}};
  const std::vector<std::vector<int>> setCodes = {{kwUses}, {kwInterface}, {kwImplementation, kwUses}, {kwUnit, kwUses}};
  TTempDir dir;
  for (std::size_t t = 0; t < texts.size(); ++t) {
    const std::string name = dir.Write("k.pas", texts[t]);
    const TTokens reference = Tokens(name);
    for (std::size_t s = 0; s < sets.size(); ++s) {
      for (std::size_t start = 0; start < reference.size(); ++start) {
        // The reference: the first target token from `start` on, or the end.
        std::size_t hit = start;
        while (reference[hit].first != tkEnd &&
               std::find(setCodes[s].begin(), setCodes[s].end(), reference[hit].first) == setCodes[s].end())
          ++hit;
        for (const std::size_t half : {TFileBufLec::DefaultHalfSize, std::size_t{1}, std::size_t{3}, std::size_t{8}}) {
          TAnalyseur a(name, half);
          for (std::size_t i = 0; i < start; ++i) a.NextToken();
          std::string_view text;
          const int code = a.SkipToKeyword(sets[s], text);
          TTokens rest{{code, std::string(text)}};
          while (rest.back().first != tkEnd) {
            const int next = a.NextToken();
            rest.push_back({next, a.Text});
          }
          const TTokens expected(reference.begin() + static_cast<std::ptrdiff_t>(hit), reference.end());
          ASSERT_EQ(rest, expected) << "text " << t << " set " << s << " from token " << start << " half " << half;
        }
      }
    }
  }
}
