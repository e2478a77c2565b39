#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>

#include "DiagramTestUtil.h"
#include "GdiGuard.h"
#include "Metafile.h"
#include "TextFit.h"

namespace diagtest {
namespace {

static_assert(!std::is_copy_constructible_v<TMetafile> && !std::is_copy_assignable_v<TMetafile>);

// A metafile being recorded against the screen, as the composition does.
class TextFitTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Picture.Width = 2700;
    Picture.Height = 2000;
    Recorder = std::make_unique<TMetafileRecorder>(Picture, Screen);
    ASSERT_TRUE(Recorder->Recording());
  }
  HENHMETAFILE Finish() {
    Recorder->Close();
    return Picture.Handle();
  }
  // The extent of the text in the label font of that cell, on the screen.
  SIZE ExtentAt(const std::string& text, TFontCell cell) {
    TCreatedDC dc(CreateCompatibleDC(Screen));
    TSelectedObject font(dc, CreateLabelFont(cell.Width, cell.Height));
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    return size;
  }
  TWindowDC Screen;
  TMetafile Picture;
  std::unique_ptr<TMetafileRecorder> Recorder;
};

TEST(LabelFont, TemplateFields) {
  const LOGFONTA lf = LabelFontTemplate();
  EXPECT_EQ(lf.lfHeight, 52);
  EXPECT_EQ(lf.lfWidth, 20);
  EXPECT_EQ(lf.lfEscapement, 0);
  EXPECT_EQ(lf.lfWeight, 400);
  EXPECT_EQ(lf.lfItalic, 0);
  EXPECT_EQ(lf.lfCharSet, ANSI_CHARSET);
  EXPECT_EQ(lf.lfQuality, PROOF_QUALITY);
  EXPECT_EQ(lf.lfPitchAndFamily, VARIABLE_PITCH | FF_ROMAN);
  EXPECT_STREQ(lf.lfFaceName, "Times New Roman");
}

TEST(LabelFont, FaceIsTimesNewRoman) {
  TWindowDC screen;
  TCreatedDC dc(CreateCompatibleDC(screen));
  TSelectedObject font(dc, CreateLabelFont(10, 24));
  char face[LF_FACESIZE] = {};
  GetTextFaceA(dc, LF_FACESIZE, face);
  EXPECT_STREQ(face, "Times New Roman");
}

TEST(TextFitRules, RoomIsSixtyPercentInSixteenBits) {
  EXPECT_EQ(FitRoom(100, TextFitRatio), 60);
  EXPECT_EQ(FitRoom(99, TextFitRatio), 59);  // 59.4
  EXPECT_EQ(FitRoom(100, 1.0), 100);
  EXPECT_EQ(FitRoom(0, TextFitRatio), 0);
  // A rectangle turned inside out by the shrinking has no room.
  EXPECT_EQ(FitRoom(-5, TextFitRatio), 0);
  EXPECT_EQ(FitRoom(-5000, TextFitRatio), 0);
  EXPECT_EQ(FitRoom(1000000, 1.0), 65535);
}

TEST(TextFitRules, StartingCellIsAtMostTwiceAsHighAsWide) {
  EXPECT_EQ(StartCell("ABCD", 100, 60), (TFontCell{25, 50}));
  EXPECT_EQ(StartCell("ABCD", 100, 30), (TFontCell{15, 30}));
  EXPECT_EQ(StartCell("ABCD", 100, 50), (TFontCell{25, 50}));
  EXPECT_EQ(StartCell("", 40, 100), (TFontCell{40, 80}));
  EXPECT_EQ(StartCell("LONGNAME", 5, 100), (TFontCell{0, 0}));
}

// The fast search must end on the very cell of the plain loop.
TEST_F(TextFitTest, FastSearchEndsOnTheSameCellAsThePlainLoop) {
  const char* names[] = {"SysUtils", "Windows", "W", "iiiiiiii", "WWWWWWWW", "Forms", "uMSWord",
                         "pascal_keywords", "ufUsagram", "A_Very_Long_Unit_Name_Indeed", "MmMmMmMm",
                         "\xC9t\xE9", "x", "Graphics", "Controls", "Dialogs", ""};
  const int widths[] = {8, 30, 61, 100, 199, 260, 528, 1000};
  const int heights[] = {5, 12, 40, 66, 201, 667};
  TTextMeasure measure(Screen);
  int compared = 0, shrunk = 0;
  for (const char* name : names) {
    for (int w : widths) {
      for (int h : heights) {
        const uint16_t rw = FitRoom(w, TextFitRatio), rh = FitRoom(h, TextFitRatio);
        TSelectedObject font(Recorder->Dc(), nullptr);
        const TFontCell plain = FitCellOnContext(Recorder->Dc(), name, rw, rh, font);
        const TFontCell fast = measure.Fit(name, rw, rh);
        EXPECT_EQ(fast, plain) << name << " " << w << "x" << h;
        ++compared;
        if (!(plain == StartCell(name, rw, rh))) ++shrunk;
      }
    }
  }
  EXPECT_EQ(compared, 17 * 8 * 6);
  EXPECT_GT(shrunk, 20);  // the loop did have to step in many cases
}

TEST_F(TextFitTest, FittedTextTakesAtMostSixtyPercent) {
  const char* names[] = {"SysUtils", "WWWWWWWWWWWW", "Project1", "A_Very_Long_Unit_Name_Indeed"};
  const RECT rects[] = {{0, 0, 528, 201}, {0, 0, 260, 40}, {10, 10, 150, 300}};
  for (const char* name : names) {
    for (const RECT& r : rects) {
      const TFontCell cell = DrawTextInRect(Recorder->Dc(), r, name, TextCentred);
      ASSERT_GT(cell.Height, 0);
      const SIZE extent = ExtentAt(name, cell);
      const int innerW = r.right - r.left - 4, innerH = r.bottom - r.top - 4;
      if (cell.Width > 0) {
        EXPECT_LE(extent.cx, static_cast<int>(0.6 * innerW)) << name;
      }
      EXPECT_LE(extent.cy, static_cast<int>(0.6 * innerH)) << name;
    }
  }
}

TEST_F(TextFitTest, LongNameGetsANarrowerCellThanItsStart) {
  const std::string name = "WWWWWWWW";
  const RECT r{0, 0, 204, 104};  // room 120 x 60: start cell 15 x 30
  const TFontCell start = StartCell(name, 120, 60);
  const TFontCell cell = DrawTextInRect(Recorder->Dc(), r, name, TextCentred);
  EXPECT_LT(cell.Width, start.Width);
  EXPECT_EQ(cell.Height, start.Height);
  EXPECT_LE(ExtentAt(name, cell).cx, 120);
  EXPECT_GT(ExtentAt(name, TFontCell{static_cast<uint16_t>(cell.Width + 1), cell.Height}).cx, 120);
}

TEST_F(TextFitTest, PlacementFollowsTheFlags) {
  const RECT r{100, 50, 300, 150};  // inner (102, 52, 298, 148)
  const TFontCell centred = DrawTextInRect(Recorder->Dc(), r, "Centre", TextCentred);
  DrawTextInRect(Recorder->Dc(), r, "Left", TextLeft | TextTop);
  DrawTextInRect(Recorder->Dc(), r, "Right", TextRight | TextBottom);
  DrawTextInRect(Recorder->Dc(), r, "Other", 0x08 | 0x800);
  const std::vector<TRecord> records = ReadRecords(Finish());
  std::vector<POINT> points;
  std::vector<DWORD> aligns;
  for (const TRecord& rec : records) {
    if (rec.Type == EMR_SETTEXTALIGN) aligns.push_back(rec.Params[0]);
    if (rec.Type == EMR_EXTTEXTOUTW) {
      // dParm: rclBounds(4), iGraphicsMode, exScale, eyScale, then EMRTEXT.
      points.push_back(POINT{static_cast<LONG>(rec.Params[7]), static_cast<LONG>(rec.Params[8])});
    }
  }
  ASSERT_EQ(points.size(), 4u);
  ASSERT_EQ(aligns.size(), 4u);
  EXPECT_EQ(points[0].x, 200);
  EXPECT_EQ(points[0].y, (52 + 148 - centred.Height) / 2);
  EXPECT_EQ(aligns[0], static_cast<DWORD>(TA_CENTER | TA_TOP));
  EXPECT_EQ(points[1].x, 102);
  EXPECT_EQ(points[1].y, 52);
  EXPECT_EQ(aligns[1], static_cast<DWORD>(TA_LEFT | TA_TOP));
  EXPECT_EQ(points[2].x, 298);
  EXPECT_EQ(points[2].y, 148);
  EXPECT_EQ(aligns[2], static_cast<DWORD>(TA_RIGHT | TA_BOTTOM));
  EXPECT_EQ(points[3].x, 0);
  EXPECT_EQ(points[3].y, 0);
}

TEST_F(TextFitTest, NoRoomNoText) {
  HDC dc = Recorder->Dc();
  HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);
  const TFontCell cell = DrawTextInRect(dc, RECT{0, 0, 40, 3}, "Tiny", TextCentred);
  EXPECT_EQ(cell.Height, 0);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
  EXPECT_TRUE(TextsDrawn(Finish()).empty());
}

TEST_F(TextFitTest, BoxedTextDrawsTheRectangleThenTheText) {
  HDC dc = Recorder->Dc();
  HGDIOBJ fontBefore = GetCurrentObject(dc, OBJ_FONT);
  DrawBoxedText(dc, RECT{0, 0, 400, 100}, "Boxed", TextCentred);
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), fontBefore);
  const std::vector<TRecord> records = ReadRecords(Finish());
  int rectangle = -1, text = -1;
  for (size_t i = 0; i < records.size(); ++i) {
    if (records[i].Type == EMR_RECTANGLE && rectangle < 0) rectangle = static_cast<int>(i);
    if (records[i].Type == EMR_EXTTEXTOUTW && text < 0) text = static_cast<int>(i);
  }
  ASSERT_GE(rectangle, 0);
  ASSERT_GT(text, rectangle);
  // Recorded inclusive-inclusive (Wine) or as given.
  EXPECT_EQ(records[rectangle].Params[0], 0u);
  EXPECT_TRUE(records[rectangle].Params[2] == 399u || records[rectangle].Params[2] == 400u);
  EXPECT_TRUE(records[rectangle].Params[3] == 99u || records[rectangle].Params[3] == 100u);
  // The text is centred in the box shrunk twice by 2.
  EXPECT_EQ(records[text].Params[7], 200u);
}

TEST_F(TextFitTest, WordWrapUsesTheWholeRectangle) {
  const std::string text = "several words that wrap";
  const TFontCell cell = DrawTextInRect(Recorder->Dc(), RECT{0, 0, 200, 200}, text, TextWordWrap);
  // The room is the full inner size: start cell 196 / 23 = 8 wide.
  EXPECT_LE(cell.Width, 8);
  EXPECT_GT(cell.Height, 0);
  std::string drawn;
  for (const std::string& t : TextsDrawn(Finish())) drawn += t;
  EXPECT_NE(drawn.find("words"), std::string::npos);
}

}  // namespace
}  // namespace diagtest
