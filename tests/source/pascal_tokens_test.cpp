#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "TempFiles.h"
#include "pascal_tokens.h"

namespace {

using TTokens = std::vector<std::pair<int, std::string>>;

// Every token of the scanner, tkEnd included. A character that the scanner
// leaves (tkError, empty text) is taken here, as the analyser does.
TTokens Scan(const std::string& text) {
  TTempDir dir;
  TAnalyseur_T scanner(dir.Write("t.pas", text));
  TTokens tokens;
  for (;;) {
    const int code = scanner.NextToken();
    if (code == tkError && scanner.Text.empty()) scanner.Reader->TakeToken(1, scanner.Text);
    tokens.push_back({code, scanner.Text});
    if (code == tkEnd) return tokens;
    if (tokens.size() > text.size() + 10) {  // the scanner must move on
      ADD_FAILURE() << "no progress";
      return tokens;
    }
  }
}

// The first token only.
std::pair<int, std::string> First(const std::string& text) {
  TTempDir dir;
  TAnalyseur_T scanner(dir.Write("f.pas", text));
  const int code = scanner.NextToken();
  return {code, scanner.Text};
}

// The transitions of the token automaton as plain rules: what each state
// does with each byte (target state, or accept number + 10000; consumed).
std::pair<int, bool> Expected(int state, int c) {
  const bool idStart = (c >= 'A' && c <= 'Z') || c == '_' || c == 131 || c == 138 || c == 140 || c == 154 ||
                       c == 156 || c == 159 || (c >= 192 && c <= 245) || c >= 248;
  switch (state) {
    case 0: {
      const std::string singles = "@^=+-(*)[],;{ \t'";
      const int accepts[] = {1, 2, 7, 9, 10, 12, 13, 14, 15, 16, 18, 19, 21, 23, 24, 25};
      if (c == 13) return {1, true};
      if (c == 10) return {10029, true};
      if (c == '.') return {2, true};
      if (c == '/') return {3, true};
      if (c == ':') return {4, true};
      if (c == '<') return {5, true};
      if (c == '>') return {6, true};
      if (idStart) return {7, true};
      const auto at = c == 0 ? std::string::npos : singles.find(static_cast<char>(c));
      if (at != std::string::npos) return {10000 + accepts[at], true};
      return {65535, false};
    }
    case 1: return c == 10 ? std::pair{10026, true} : std::pair{10028, false};
    case 2: return c == '.' ? std::pair{10017, true} : std::pair{10020, false};
    case 3: return c == '/' ? std::pair{10022, true} : std::pair{10011, false};
    case 4: return c == '=' ? std::pair{10008, true} : std::pair{10000, false};
    case 5: return c == '=' ? std::pair{10005, true} : std::pair{10003, false};
    case 6: return c == '=' ? std::pair{10006, true} : std::pair{10004, false};
    case 7: return idStart || (c >= '0' && c <= '9') ? std::pair{7, true} : std::pair{10027, false};
  }
  return {-1, false};
}

}  // namespace

TEST(TokenAutomaton, EveryTransitionIsAsWritten) {
  const TPackedAutomaton& table = TokenAutomaton();
  ASSERT_EQ(table.Base.size(), 8u);
  ASSERT_EQ(table.Next.size(), table.Check.size());
  for (int state = 0; state < 8; ++state) {
    EXPECT_GE(table.Default[state], 10000) << "state " << state;
    for (int c = 0; c < 256; ++c) {
      bool consumed;
      const int to = table.Step(static_cast<uint16_t>(state), static_cast<unsigned char>(c), consumed);
      EXPECT_EQ(std::pair(to, consumed), Expected(state, c)) << "state " << state << " byte " << c;
    }
  }
}

TEST(TokenAutomaton, AcceptNumbersGiveTheirTokenCodes) {
  // 28 and 29: a lone CR and a lone LF are line ends too.
  const int expected[] = {12, 27, 28, 23, 24, 25, 26, 22, 2, 3, 4, 5, -1, 6, 8,
                          9,  10, 11, 13, 14, 15, -1, -1, -1, -1, -1, 21, 20, 21, 21};
  ASSERT_EQ(std::size(expected), std::size(TokenOfAccept));
  for (size_t k = 0; k < std::size(expected); ++k) {
    const int code = expected[k] >= 0 ? expected[k] : RuleToken;
    EXPECT_EQ(TokenOfAccept[k], code) << "accept " << k;
  }
}

TEST(TokenScanner, UsesClauseLine) {
  EXPECT_EQ(Scan("uses Forms, SysUtils;\r\n"),
            (TTokens{{tkIdentifier, "uses"}, {tkBlank, " "}, {tkIdentifier, "Forms"}, {tkComma, ","},
                     {tkBlank, " "}, {tkIdentifier, "SysUtils"}, {tkSemicolon, ";"}, {tkEndOfLine, "\r\n"},
                     {tkEnd, ""}}));
}

TEST(TokenScanner, SymbolsAndTheirPairs) {
  EXPECT_EQ(Scan(":=:..<=>=<>@^=+-/*)[],;."),
            (TTokens{{tkAssign, ":="}, {tkColon, ":"}, {tkDotDot, ".."}, {tkLessEqual, "<="},
                     {tkGreaterEqual, ">="}, {tkLess, "<"}, {tkGreater, ">"}, {tkAt, "@"}, {tkCaret, "^"},
                     {tkEqual, "="}, {tkPlus, "+"}, {tkMinus, "-"}, {tkSlash, "/"}, {tkStar, "*"},
                     {tkRightParen, ")"}, {tkLeftBracket, "["}, {tkRightBracket, "]"}, {tkComma, ","},
                     {tkSemicolon, ";"}, {tkDot, "."}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("a..b"), (TTokens{{tkIdentifier, "a"}, {tkDotDot, ".."}, {tkIdentifier, "b"}, {tkEnd, ""}}));
}

TEST(TokenScanner, UnclassifiedCharactersAreLeftToTheCaller) {
  // The digit is not consumed: tkError with empty text, again and again.
  TTempDir dir;
  TAnalyseur_T scanner(dir.Write("x.pas", "x:=1"));
  EXPECT_EQ(scanner.NextToken(), tkIdentifier);
  EXPECT_EQ(scanner.NextToken(), tkAssign);
  EXPECT_EQ(scanner.NextToken(), tkError);
  EXPECT_EQ(scanner.Text, "");
  EXPECT_EQ(scanner.NextToken(), tkError);
  EXPECT_EQ(scanner.Reader->TokenStart, 3u);
}

TEST(TokenScanner, CommentsOfThreeKinds) {
  EXPECT_EQ(Scan("{$I inc.pas}"), (TTokens{{tkComment, "{$I inc.pas}"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("{a{b}c}"), (TTokens{{tkComment, "{a{b}"}, {tkIdentifier, "c"}, {tkError, "}"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("// note\r\nx"), (TTokens{{tkComment, "// note\r\n"}, {tkIdentifier, "x"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("//\r\n"), (TTokens{{tkComment, "//\r\n"}, {tkEnd, ""}}));
  // A line comment ends with the first line end of any kind.
  EXPECT_EQ(Scan("// a\rb\nc\r\nd"), (TTokens{{tkComment, "// a\r"}, {tkIdentifier, "b"}, {tkEndOfLine, "\n"},
                                              {tkIdentifier, "c"}, {tkEndOfLine, "\r\n"}, {tkIdentifier, "d"},
                                              {tkEnd, ""}}));
  EXPECT_EQ(Scan("// a\nuses"), (TTokens{{tkComment, "// a\n"}, {tkIdentifier, "uses"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("//\r\r\n"), (TTokens{{tkComment, "//\r"}, {tkEndOfLine, "\r\n"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("(*a*)b"), (TTokens{{tkComment, "(*a*)"}, {tkIdentifier, "b"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("(**)x"), (TTokens{{tkComment, "(**)"}, {tkIdentifier, "x"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("(*)x*)y"), (TTokens{{tkComment, "(*)x*)"}, {tkIdentifier, "y"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("(a)"), (TTokens{{tkLeftParen, "("}, {tkIdentifier, "a"}, {tkRightParen, ")"}, {tkEnd, ""}}));
}

TEST(TokenScanner, StringsWithDoubledQuotesAndOpenEnds) {
  EXPECT_EQ(Scan("'it''s'"), (TTokens{{tkString, "'it''s'"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("'''' ''x"), (TTokens{{tkString, "''''"}, {tkBlank, " "}, {tkString, "''"}, {tkIdentifier, "x"}, {tkEnd, ""}}));
  // An unclosed string ends with, and includes, the first CR or LF.
  EXPECT_EQ(First("'ab\r\nc"), (std::pair<int, std::string>{tkString, "'ab\r"}));
  EXPECT_EQ(First("'ab\nc"), (std::pair<int, std::string>{tkString, "'ab\n"}));
}

TEST(TokenScanner, BlanksLineEndsAndLoneLineCharacters) {
  EXPECT_EQ(Scan(" \t \tx"), (TTokens{{tkBlank, " \t \t"}, {tkIdentifier, "x"}, {tkEnd, ""}}));
  // Files written on other systems: a lone LF and a lone CR are line ends,
  // also as the last byte; CR LF stays one.
  EXPECT_EQ(Scan("a\rb\r"), (TTokens{{tkIdentifier, "a"}, {tkEndOfLine, "\r"}, {tkIdentifier, "b"},
                                    {tkEndOfLine, "\r"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("a\nb\n\n\r\r\n"), (TTokens{{tkIdentifier, "a"}, {tkEndOfLine, "\n"}, {tkIdentifier, "b"},
                                              {tkEndOfLine, "\n"}, {tkEndOfLine, "\n"}, {tkEndOfLine, "\r"},
                                              {tkEndOfLine, "\r\n"}, {tkEnd, ""}}));
}

TEST(TokenScanner, IdentifiersOfCodePage1252) {
  EXPECT_EQ(Scan("Unit\xE9 _a1"), (TTokens{{tkIdentifier, "Unit\xE9"}, {tkBlank, " "}, {tkIdentifier, "_a1"}, {tkEnd, ""}}));
  const TTokens koeln = Scan("K\xF6ln");
  ASSERT_EQ(koeln.size(), 4u);
  EXPECT_EQ(koeln[0], (std::pair<int, std::string>{tkIdentifier, "K"}));
  EXPECT_EQ(koeln[1], (std::pair<int, std::string>{tkError, "\xF6"}));  // 246 is no letter
  EXPECT_EQ(koeln[2], (std::pair<int, std::string>{tkIdentifier, "ln"}));
  for (int c = 128; c < 256; ++c) {
    const bool letter = c == 131 || c == 138 || c == 140 || c == 154 || c == 156 || c == 159 ||
                        (c >= 192 && c <= 245) || c >= 248;
    const std::string text{'x', static_cast<char>(c)};
    EXPECT_EQ(First(text).second, letter ? text : "x") << "byte " << c;
    EXPECT_EQ(IsIdentifierStart(static_cast<unsigned char>(c)), letter) << "byte " << c;
  }
  EXPECT_FALSE(IsIdentifierStart('5'));
  EXPECT_TRUE(IsIdentifierChar('5'));
}

TEST(TokenScanner, OpenCommentOrStringEndsAtTheEndOfTheText) {
  for (const std::string text : {"x {open", "x (*open*", "x (*", "x //open\r", "x 'open", "x 'a''"}) {
    TTempDir dir;
    TAnalyseur_T scanner(dir.Write("o.pas", text));
    EXPECT_EQ(scanner.NextToken(), tkIdentifier);
    EXPECT_EQ(scanner.NextToken(), tkBlank);
    const int code = scanner.NextToken();
    EXPECT_TRUE(code == tkComment || code == tkString) << text;
    EXPECT_EQ(scanner.Text, text.substr(2));
    EXPECT_EQ(scanner.NextToken(), tkEnd) << text;
    EXPECT_EQ(scanner.Text, "");
    EXPECT_EQ(scanner.NextToken(), tkEnd) << text;
  }
}

TEST(TokenScanner, NulByteInsideTheFileIsNotTheEnd) {
  TTempDir dir;
  TAnalyseur_T scanner(dir.Write("n.pas", std::string("a\0{\0}'\0'", 8)));
  EXPECT_EQ(scanner.NextToken(), tkIdentifier);
  EXPECT_EQ(scanner.NextToken(), tkError);  // not tkEnd: the file goes on
  EXPECT_EQ(scanner.Text, "");
  std::string nul;
  scanner.Reader->TakeToken(1, nul);
  EXPECT_EQ(nul, std::string(1, '\0'));
  EXPECT_EQ(scanner.NextToken(), tkComment);
  EXPECT_EQ(scanner.Text, std::string("{\0}", 3));
  EXPECT_EQ(scanner.NextToken(), tkString);
  EXPECT_EQ(scanner.Text, std::string("'\0'", 3));
  EXPECT_EQ(scanner.NextToken(), tkEnd);
}

TEST(TokenScanner, EmptyFileAndMissingFile) {
  EXPECT_EQ(Scan(""), (TTokens{{tkEnd, ""}}));
  TTempDir dir;
  EXPECT_THROW(TAnalyseur_T(dir.Missing("none.pas")), EInOutError);
}

TEST(TokenScanner, AByteOrderMarkOpeningTheTextIsABlankOfItsOwn) {
  const std::string bom = "\xEF\xBB\xBF";
  EXPECT_EQ(Scan(bom + "unit U;"), (TTokens{{tkBlank, bom}, {tkIdentifier, "unit"}, {tkBlank, " "},
                                            {tkIdentifier, "U"}, {tkSemicolon, ";"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan(bom), (TTokens{{tkBlank, bom}, {tkEnd, ""}}));
  // Anywhere else, or cut short, the bytes are what they always were: 239 is
  // a letter, 187 and 191 start no token.
  EXPECT_EQ(Scan("a" + bom), (TTokens{{tkIdentifier, "a\xEF"}, {tkError, "\xBB"}, {tkError, "\xBF"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("\xEF\xBBx"), (TTokens{{tkIdentifier, "\xEF"}, {tkError, "\xBB"}, {tkIdentifier, "x"}, {tkEnd, ""}}));
  EXPECT_EQ(Scan("\xEFx"), (TTokens{{tkIdentifier, "\xEFx"}, {tkEnd, ""}}));
}

TEST(TokenScanner, DottedNamesAreIdentifiersAndDotsAsEver) {
  EXPECT_EQ(Scan("System.Win.Registry"), (TTokens{{tkIdentifier, "System"}, {tkDot, "."}, {tkIdentifier, "Win"},
                                                  {tkDot, "."}, {tkIdentifier, "Registry"}, {tkEnd, ""}}));
  EXPECT_TRUE(IsDottedName("System.Win.Registry"));
  EXPECT_TRUE(IsDottedName("mormot.core.base"));
  EXPECT_TRUE(IsDottedName("Unit\xE9s2"));
  for (const char* bad : {"", ".", "A.", ".A", "A..B", "A B", "A.1B", "K\xF6ln", "A;B", "A*"})
    EXPECT_FALSE(IsDottedName(bad)) << bad;
}
