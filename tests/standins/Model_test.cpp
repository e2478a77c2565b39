// The document model, in process: how positions, paragraphs and sections
// follow edits, how the selection moves, the page estimate, lengths and
// dates, and what the RTF writer makes of breaks and text.
#include <gtest/gtest.h>

#include "DateFormat.h"
#include "Document.h"
#include "Measure.h"
#include "Navigation.h"
#include "Rtf.h"

namespace {

std::string Kinds(const TStory& story) {
  std::string kinds;
  for (const TChar& c : story.Chars) kinds += "TPSpclFf"[static_cast<int>(c.Kind)];
  return kinds;
}

TEST(DocumentModel, RangesParagraphsAndSectionsFollowTheEdits) {
  TDocument doc("Test");
  TTracked at(doc.Main, 0, 0);
  doc.InsertText(at, "abc\rdef");
  EXPECT_EQ(doc.Text(doc.Main, 0, doc.Main.End()), "abc\rdef\r");
  // A range before the edit stays, one after it moves, one around it grows;
  // one that ends where the text goes does not take it in.
  TTracked before(doc.Main, 0, 2), after(doc.Main, 5, 6), around(doc.Main, 1, 6), ending(doc.Main, 0, 4);
  TTracked insert(doc.Main, 4, 4);
  doc.InsertText(insert, "XY");
  EXPECT_EQ(doc.Text(doc.Main, 0, doc.Main.End()), "abc\rXYdef\r");
  EXPECT_EQ(std::pair(before.Start(), before.End()), std::pair(0, 2));
  EXPECT_EQ(std::pair(after.Start(), after.End()), std::pair(7, 8));
  EXPECT_EQ(std::pair(around.Start(), around.End()), std::pair(1, 8));
  EXPECT_EQ(std::pair(ending.Start(), ending.End()), std::pair(0, 4));
  EXPECT_EQ(std::pair(insert.Start(), insert.End()), std::pair(4, 6));

  // A new mark splits the paragraph: both halves keep its format.
  doc.ApplyAlignment(doc.Main, 5, 5, Align::Center);
  TTracked split(doc.Main, 6, 6);
  doc.InsertText(split, "\r");
  EXPECT_EQ(doc.ParagraphFormat(doc.Main, 4).Alignment, Align::Center);
  EXPECT_EQ(doc.ParagraphFormat(doc.Main, 7).Alignment, Align::Center);
  EXPECT_EQ(doc.ParagraphFormat(doc.Main, 0).Alignment, Align::FromStyle);
  // A paragraph style replaces the paragraph's own alignment.
  doc.ApplyParagraphStyle(doc.Main, 7, 8, doc.StyleById(StyleId::Heading1));
  EXPECT_EQ(doc.ParagraphFormat(doc.Main, 7).Alignment, Align::FromStyle);
  EXPECT_EQ(doc.ParagraphStyle(doc.Main, 7).RtfName, "heading 1");

  // Sections: a part made whole sections gets breaks at both ends; the
  // setup of each part stays with the text before its break.
  const auto [first, last] = doc.IsolateSections(4, 7, TSectionStart::Continuous);
  EXPECT_EQ(Kinds(doc.Main), "TTTPSTTPSTTTP");
  EXPECT_EQ(std::pair(first, last), std::pair(1, 1));
  ASSERT_EQ(doc.Sections.size(), 3u);
  doc.Sections[1].Columns = 2;
  doc.Sections[2].Columns = 3;
  EXPECT_EQ(doc.SectionAt(5), 1);
  EXPECT_EQ(doc.SectionStart(2), 9);
  // Removing the second break joins its text to the last section.
  doc.Delete(doc.Main, 7, 9);
  EXPECT_EQ(Kinds(doc.Main), "TTTPSTTTTTP");
  ASSERT_EQ(doc.Sections.size(), 2u);
  EXPECT_EQ(doc.Sections[1].Columns, 3);
  // The final paragraph mark is never deleted.
  doc.Delete(doc.Main, 0, 100);
  EXPECT_EQ(Kinds(doc.Main), "P");
  EXPECT_EQ(doc.Sections.size(), 1u);
  EXPECT_EQ(std::pair(around.Start(), around.End()), std::pair(0, 0));
}

TEST(DocumentModel, WordsAndLinesAsTheSelectionMovesOverThem) {
  TDocument doc("Test");
  TTracked at(doc.Main, 0, 0);
  doc.InsertText(at, "Unité  x;\r");
  at.Set(at.End(), at.End());
  doc.InsertElement(at, TElement::Picture, 0);  // at 10
  at.Set(at.End(), at.End());
  doc.InsertText(at, "ab\x0E" "cd\r");  // a column break inside the paragraph
  const TStory& s = doc.Main;
  // Words: letters (accented ones too), punctuation, a mark, a picture.
  EXPECT_EQ(WordLeft(s, 8), 7);  // "x"
  EXPECT_EQ(WordLeft(s, 7), 0);  // over the spaces to "Unité"
  EXPECT_EQ(WordLeft(s, 10), 9);  // the paragraph mark
  EXPECT_EQ(WordLeft(s, 11), 10);  // the picture
  EXPECT_EQ(WordRight(s, 0), 7);  // the word with its spaces
  EXPECT_EQ(CurrentWord(s, 9), std::pair(8, 9));  // just after ";"
  EXPECT_EQ(CurrentWord(s, 10), std::pair(10, 11));
  EXPECT_EQ(CurrentWord(s, 3), std::pair(0, 5));
  EXPECT_EQ(WordWithSpaces(s, 6), std::pair(0, 7));
  // Lines end at marks and breaks: "cd" is a line of its own.
  EXPECT_EQ(LineStart(s, 15), 14);
  EXPECT_EQ(LineEnd(s, 11), 13);
  EXPECT_EQ(LineMove(s, 2, 1), 12);   // same offset on the picture's line
  EXPECT_EQ(LineMove(s, 15, -1), 11);  // up from "c|d" to "a|b" (offset 1)
  EXPECT_EQ(LineMove(s, 15, -2), 1);
  EXPECT_EQ(LineMove(s, 0, -1), 0);
  EXPECT_EQ(LineMove(s, s.End() - 1, 5), s.End() - 1);
  EXPECT_EQ(TextStart(s, 13), 14);
}

TEST(DocumentModel, PagesComeFromBreaksColumnsAndFilledColumns) {
  TDocument doc("Test");
  TTracked at(doc.Main, 0, 0);
  doc.InsertText(at, "title\r\f");
  doc.InsertSectionBreak(at.End(), TSectionStart::Continuous);  // after the page break
  TSection& body = doc.Sections[1];
  body.Columns = 2;
  // 10 pt Normal lines of 11.5 pt: 60 fill a column of 24.7 cm, 100 need two.
  std::string lines;
  for (int i = 0; i < 100; ++i) lines += "line\r";
  TTracked end(doc.Main, doc.Main.End() - 1, doc.Main.End() - 1);
  doc.InsertText(end, lines + "\x0E" "next\r");
  const TPageMap pages(doc);
  // Page 1: the title. The page break before the section break starts
  // page 2; 100 lines fill its first column and part of the second; the
  // column break moves "next" to page 3.
  ASSERT_EQ(pages.Count(), 3);
  EXPECT_EQ(pages.StartOf(2), 8);
  EXPECT_EQ(pages.PageOf(doc.Main.End() - 3), 3);
  EXPECT_EQ(pages.PageOf(8 + 5 * 99), 2);  // the last line
}

TEST(Lengths, FrenchTextInAndOut) {
  double points = 0;
  EXPECT_TRUE(ParseMeasure("29,7 cm", points));
  EXPECT_NEAR(points, 841.89, 0.01);
  EXPECT_TRUE(ParseMeasure(" 0.42cm", points));
  EXPECT_NEAR(points, 11.91, 0.01);
  EXPECT_TRUE(ParseMeasure("12 pt", points));
  EXPECT_EQ(points, 12);
  EXPECT_TRUE(ParseMeasure("1 po", points));
  EXPECT_EQ(points, 72);
  EXPECT_TRUE(ParseMeasure("10 MM", points));
  EXPECT_NEAR(points, 28.35, 0.01);
  EXPECT_TRUE(ParseMeasure("2,5", points));  // centimetres without a unit
  EXPECT_NEAR(points, 70.87, 0.01);
  EXPECT_FALSE(ParseMeasure("cm", points));
  EXPECT_FALSE(ParseMeasure("3 furlongs", points));
  EXPECT_FALSE(ParseMeasure("1,2,3 cm", points));
  EXPECT_EQ(FormatCentimetres(13.275 * 72 / 2.54), "13,28 cm");  // a half rounds up
  EXPECT_EQ(FormatCentimetres(27.8 * 72 / 2.54), "27,8 cm");
  EXPECT_EQ(FormatCentimetres(21 * 72 / 2.54), "21 cm");
  EXPECT_EQ(FormatCentimetres(-0.05 * 72 / 2.54), "-0,05 cm");
}

TEST(Dates, FrenchPicturesAsWord95WritesThem) {
  SYSTEMTIME t{};
  t.wYear = 1998;
  t.wMonth = 2;
  t.wDayOfWeek = 1;
  t.wDay = 9;
  t.wHour = 7;
  t.wMinute = 5;
  t.wSecond = 3;
  EXPECT_EQ(FormatDateTime("jjjj MMMM j aaaa at HH:mm", t), "lundi février 9 1998 at 07:05");
  EXPECT_EQ(FormatDateTime("jj/MM/aa H:m:ss", t), "09/02/98 7:5:03");
  EXPECT_EQ(FormatDateTime("jjj j MMM yyyy dddd", t), "lun. 9 févr. 1998 lundi");
  EXPECT_EQ(FormatDateTime("'le' j \"à\" h", t), "le 9 à 7");
  t.wHour = 0;
  EXPECT_EQ(FormatDateTime("hh", t), "12");
}

TEST(RtfWriter, TextBreaksAndTheSectionAfterAPageBreak) {
  TDocument doc("Test");
  TTracked at(doc.Main, 0, 0);
  doc.InsertText(at, "a{b}\\c\xE9\td\r\f");
  doc.InsertSectionBreak(at.End(), TSectionStart::Continuous);
  TTracked end(doc.Main, doc.Main.End() - 1, doc.Main.End() - 1);
  doc.InsertText(end, "x\x0By\x0Ez");
  const std::string rtf = WriteRtf(doc);
  EXPECT_EQ(rtf.rfind("{\\rtf1\\ansi\\ansicpg1252", 0), 0u);
  EXPECT_NE(rtf.find("a\\{b\\}\\\\c\\'e9\\tab d"), std::string::npos);
  // The page break and its paragraph go: the first paragraph ends the
  // section, and the next starts on a new page.
  EXPECT_EQ(rtf.find("\\page"), std::string::npos);
  const size_t sect = rtf.find("\\sect\n");
  ASSERT_NE(sect, std::string::npos);
  EXPECT_LT(rtf.find("\\tab d"), sect);
  EXPECT_NE(rtf.find("\\sectd\\sbkpage", sect), std::string::npos);
  EXPECT_NE(rtf.find("x}\\line {"), std::string::npos);
  EXPECT_NE(rtf.find("y}\\column {"), std::string::npos);
  // Braces balance.
  int depth = 0;
  for (size_t i = 0; i < rtf.size(); ++i) {
    if (rtf[i] == '\\') {
      ++i;
      continue;
    }
    depth += rtf[i] == '{' ? 1 : rtf[i] == '}' ? -1 : 0;
    ASSERT_GE(depth, 0);
  }
  EXPECT_EQ(depth, 0);
}

}  // namespace
