#include <gtest/gtest.h>

#include "uChaines.h"

TEST(uChaines, IntegerTextIsStrictDecimal) {
  EXPECT_EQ(StrToIntOrZero("42"), 42);
  EXPECT_EQ(StrToIntOrZero("-7"), -7);
  EXPECT_EQ(StrToIntOrZero("+7"), 7);
  EXPECT_EQ(StrToIntOrZero("2147483647"), 2147483647);
  for (const char* bad : {"", "#", "12a", " 1", "1 ", "+-1", "-", "+", "2147483648", "0x10"})
    EXPECT_EQ(StrToIntOrZero(bad), 0) << bad;
  EXPECT_EQ(WordToStr(65535), "65535");
  EXPECT_EQ(ByteToStr(255), "255");
}

TEST(uChaines, SplitFirstTakesTheHeadAndTheSeparator) {
  std::string source = "255,128,0", head;
  SplitFirst(source, ',', head);
  EXPECT_EQ(head, "255");
  EXPECT_EQ(source, "128,0");
  SplitFirst(source, ',', head);
  SplitFirst(source, ',', head);
  EXPECT_EQ(head, "0");
  EXPECT_EQ(source, "");
  source = ",x";
  SplitFirst(source, ',', head);
  EXPECT_EQ(head, "");
  EXPECT_EQ(source, "x");
}

TEST(uChaines, UpperCaseFoldsOnlyAsciiLetters) {
  EXPECT_EQ(UpperCaseAscii("Unit\xE9 z_9"), "UNIT\xE9 Z_9");
  EXPECT_TRUE(SameTextAscii("SysUtils", "SYSUTILS"));
  EXPECT_FALSE(SameTextAscii("Unit\xE9", "UNIT\xC9"));
  EXPECT_FALSE(SameTextAscii("Forms", "Form"));
}

TEST(uChaines, PaddingIsBoundedTo255) {
  const std::string title = PadRight("Usagram - ", 255, '#');
  ASSERT_EQ(title.size(), 255u);
  EXPECT_EQ(title.substr(0, 11), "Usagram - #");
  EXPECT_EQ(title.back(), '#');
  EXPECT_EQ(PadRight("abc", 2, '#'), "abc");
  EXPECT_EQ(PadRight("abc", 1000, ' ').size(), 255u);
  EXPECT_EQ(StringOfChar(300, 'x').size(), 255u);
  EXPECT_EQ(StringOfChar(-1, 'x'), "");
}

TEST(uChaines, PatternsMatchAnyRunAtEachStarInAnyAsciiCase) {
  struct TCase {
    const char* Text;
    const char* Pattern;
    bool Matches;
  };
  const TCase cases[] = {
      {"System.SysUtils", "System.*", true},  {"system.classes", "SYSTEM.*", true},
      {"System", "System.*", false},          {"System.", "System.*", true},  // the run may be empty
      {"SystemX.Y", "System.*", false},       {"IdHTTP", "Id*", true},
      {"Ida", "Id*", true},                   {"XId", "Id*", false},
      {"Vcl.Forms", "*.Forms", true},         {"Vcl.Forms.Extra", "*.Forms", false},
      {"Winapi.Windows", "W*i*s", true},      {"abab", "*ab", true},
      {"aab", "a*b*b", false},                {"", "*", true},
      {"", "", true},                         {"Forms", "", false},
      {"Forms", "FORMS", true},               {"Unit\xE9", "UNIT\xC9", false},  // as SameTextAscii
      {"Forms", "Forms*", true},              {"Form", "Forms*", false},
      {"a*b", "a*b", true},                   {"System.SysUtils", "**Sys**", true},
  };
  for (const TCase& c : cases) EXPECT_EQ(MatchesPatternAscii(c.Text, c.Pattern), c.Matches) << c.Text << " ~ " << c.Pattern;
  // A long text against a pattern of many stars stays quick (no exponential backtracking).
  EXPECT_FALSE(MatchesPatternAscii(std::string(5000, 'a'), std::string(50, '*') + "b"));
}
