#include <gtest/gtest.h>

#include "Caption.h"

namespace {

TEST(Caption, LinesHaveTheirFixedLengths) {
  EXPECT_EQ(CaptionLine(0).size(), 13u);
  EXPECT_EQ(CaptionLine(1).size(), 11u);
  EXPECT_EQ(CaptionLine(2).size(), 22u);
  EXPECT_EQ(CaptionText(), CaptionLine(0) + "\r\n" + CaptionLine(1) + "\r\n" + CaptionLine(2));
}

TEST(Caption, StoredScrambledAndReadable) {
  for (int i = 0; i < CaptionLineCount; ++i) {
    const std::string stored = StoredCaptionLine(i), plain = CaptionLine(i);
    EXPECT_NE(stored, plain);
    EXPECT_EQ(Scramble(plain), stored);
    for (char c : plain) {
      EXPECT_TRUE(c >= ' ' && c <= '~') << "line " << i;
    }
  }
}

TEST(Caption, ScrambleIsItsOwnInverse) {
  const std::string text = "Any text, with \xE9 and \x01 bytes";
  EXPECT_NE(Scramble(text), text);
  EXPECT_EQ(Scramble(Scramble(text)), text);
  EXPECT_EQ(Scramble(""), "");
}

}  // namespace
