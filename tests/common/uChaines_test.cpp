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
