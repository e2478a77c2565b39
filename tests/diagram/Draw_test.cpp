#include <gtest/gtest.h>

#include <map>

#include "DiagramTestUtil.h"
#include "Caption.h"
#include "Draw.h"
#include "Globales.h"

namespace diagtest {
namespace {

constexpr COLORREF Red = RGB(200, 0, 0), Blue = RGB(0, 0, 200), Green = RGB(0, 150, 0), Orange = RGB(250, 120, 0);

// What the drawing did, replayed from the records: the pen and brush colour
// in use at each rectangle and ellipse, and the lines.
struct TReplay {
  struct TShape {
    RECT Box;
    COLORREF Pen;
    COLORREF Brush;
  };
  std::vector<TShape> Rectangles, Ellipses;
  std::vector<POINT> LineEnds;
  int Texts = 0;
};

TReplay Replay(HENHMETAFILE metafile) {
  TReplay replay;
  // Handle-table slots are reused once deleted: each one holds its latest object.
  std::map<DWORD, std::pair<bool, COLORREF>> objects;  // slot -> (is a pen, colour)
  COLORREF pen = 0, brush = 0;
  for (const TRecord& r : ReadRecords(metafile)) {
    switch (r.Type) {
      case EMR_CREATEPEN: objects[r.Params[0]] = {true, r.Params[4]}; break;  // ihPen, style, width(x,y), colour
      case EMR_CREATEBRUSHINDIRECT: objects[r.Params[0]] = {false, r.Params[2]}; break;  // ihBrush, style, colour
      case EMR_SELECTOBJECT: {
        const DWORD ih = r.Params[0];
        if (ih == (0x80000000u | WHITE_BRUSH)) brush = RGB(255, 255, 255);
        else if (ih & 0x80000000u) {
        } else if (objects.count(ih)) {
          (objects[ih].first ? pen : brush) = objects[ih].second;
        }
        break;
      }
      case EMR_RECTANGLE:
      case EMR_ELLIPSE: {
        const RECT box{static_cast<LONG>(r.Params[0]), static_cast<LONG>(r.Params[1]), static_cast<LONG>(r.Params[2]),
                       static_cast<LONG>(r.Params[3])};
        (r.Type == EMR_RECTANGLE ? replay.Rectangles : replay.Ellipses).push_back({box, pen, brush});
        break;
      }
      case EMR_LINETO: replay.LineEnds.push_back(POINT{static_cast<LONG>(r.Params[0]), static_cast<LONG>(r.Params[1])}); break;
      case EMR_EXTTEXTOUTW: ++replay.Texts; break;
      default: break;
    }
  }
  return replay;
}

// Windows (basic), Ghost (not found), A, B, P found:
// A uses Windows; B uses A | Ghost; P uses A, B | Windows.
class DrawTest : public DiagramTest {
 protected:
  void SetUp() override {
    DiagramTest::SetUp();
    MakeLocations({Red, Blue});
    NotFoundColour = Green;
    BasicUnitsColour = Orange;
    Windows = Add("Windows", -2);
    Ghost = Add("Ghost", -1);
    A = Add("Alpha", 0);
    B = Add("Beta", 1);
    P = Add("Project", 1);
    Uses(A, {Windows});
    Uses(B, {A}, {Ghost});
    Uses(P, {A, B}, {Windows});
  }
  TFile *Windows, *Ghost, *A, *B, *P;
};

// The pen and the brush of a location are in its colour, the pen a hairline.
TEST(LocationTools, PenAndBrushAreInTheLocationsColour) {
  const COLORREF basic = BasicUnitsColour, notFound = NotFoundColour;
  BasicUnitsColour = RGB(200, 100, 50);
  NotFoundColour = RGB(255, 0, 0);
  const TOwnedGdiObject pen = LocationPen(LocationBasic);
  const TOwnedGdiObject brush = LocationBrush(LocationNotFound);
  BasicUnitsColour = basic;
  NotFoundColour = notFound;
  ASSERT_NE(pen.Get(), nullptr);
  LOGPEN lp{};
  ASSERT_EQ(GetObjectA(pen.Get(), sizeof lp, &lp), static_cast<int>(sizeof lp));
  EXPECT_EQ(lp.lopnStyle, static_cast<UINT>(PS_SOLID));
  EXPECT_EQ(lp.lopnWidth.x, 0);
  EXPECT_EQ(lp.lopnColor, RGB(200, 100, 50));
  ASSERT_NE(brush.Get(), nullptr);
  LOGBRUSH lb{};
  ASSERT_EQ(GetObjectA(brush.Get(), sizeof lb, &lb), static_cast<int>(sizeof lb));
  EXPECT_EQ(lb.lbStyle, static_cast<UINT>(BS_SOLID));
  EXPECT_EQ(lb.lbColor, RGB(255, 0, 0));
}

TEST_F(DrawTest, EverythingVisible) {
  TMetafile m = Compose();
  const TReplay r = Replay(m.Handle());
  // Box, four labels, three interface bars.
  EXPECT_EQ(r.Rectangles.size(), 8u);
  // One dot per link to a label: B-A, B-Ghost, P-A, P-B.
  EXPECT_EQ(r.Ellipses.size(), 4u);
  // Links to labels take two lines, links to the box one, baselines one.
  EXPECT_EQ(r.LineEnds.size(), 13u);
}

TEST_F(DrawTest, HiddenUnitWithAllOptionsLeavesAGap) {
  B->Hidden = true;
  TMetafile m = Compose();
  const TReplay r = Replay(m.Handle());
  EXPECT_EQ(r.Rectangles.size(), 6u);  // no label, no bar
  EXPECT_EQ(r.Ellipses.size(), 1u);    // only P-A
  EXPECT_EQ(r.LineEnds.size(), 13u - 5u - 2u);
  for (const std::string& t : TextsDrawn(m.Handle())) EXPECT_NE(t, "Beta");
}

TEST_F(DrawTest, HiddenUnitWithOnlyVignetteKeepsItsLinks) {
  TestOptions = TSimplification{false, false, true, false};
  B->Hidden = true;
  TMetafile m = Compose();
  const TReplay r = Replay(m.Handle());
  EXPECT_EQ(r.Rectangles.size(), 7u);
  EXPECT_EQ(r.Ellipses.size(), 4u);
  EXPECT_EQ(r.LineEnds.size(), 13u);
  // The link towards B still ends where B's label would be.
  EXPECT_EQ(r.LineEnds.back().x, P->LabelRect.right - FileArray->LinkPitch);
  bool reachesB = false;
  for (const POINT& e : r.LineEnds) reachesB |= e.x == B->Anchor.x && e.y == B->Anchor.y;
  EXPECT_TRUE(reachesB);
}

TEST_F(DrawTest, OnlyAvalDropsTheUnitsOwnLinks) {
  TestOptions = TSimplification{false, true, false, false};
  B->Hidden = true;
  const TReplay r = Replay(Compose().Handle());
  EXPECT_EQ(r.Rectangles.size(), 7u);  // label kept, bar gone
  EXPECT_EQ(r.Ellipses.size(), 2u);
}

TEST_F(DrawTest, OnlyAmontDropsTheLinksTowardsTheUnit) {
  TestOptions = TSimplification{true, false, false, false};
  B->Hidden = true;
  const TReplay r = Replay(Compose().Handle());
  EXPECT_EQ(r.Rectangles.size(), 8u);
  EXPECT_EQ(r.Ellipses.size(), 3u);
}

TEST_F(DrawTest, LinksToBasicUnitsEndAtTheBoxTop) {
  TMetafile m = Compose();
  const int top = UBase->LabelRect.top;
  ASSERT_GT(top, 0);
  int atBox = 0;
  for (const POINT& e : Replay(m.Handle()).LineEnds) atBox += e.y == top;
  EXPECT_EQ(atBox, 2);  // A-Windows and P-Windows

  // Hidden box with cbAmont: the links go, the box stays.
  UBase->Hidden = true;
  TestOptions = TSimplification{true, false, false, false};
  const TReplay amont = Replay(Compose().Handle());
  EXPECT_EQ(amont.LineEnds.size(), 11u);
  EXPECT_EQ(amont.Rectangles.size(), 8u);
  // With cbVignette alone the box goes and the links stay.
  TestOptions = TSimplification{false, false, true, false};
  const TReplay vignette = Replay(Compose().Handle());
  EXPECT_EQ(vignette.LineEnds.size(), 13u);
  EXPECT_EQ(vignette.Rectangles.size(), 7u);
}

TEST_F(DrawTest, ColoursComeFromTheLocations) {
  const TReplay r = Replay(Compose().Handle());
  ASSERT_EQ(r.Rectangles.size(), 8u);
  // Box: black canvas pen, white brush.
  EXPECT_EQ(r.Rectangles[0].Pen, RGB(0, 0, 0));
  EXPECT_EQ(r.Rectangles[0].Brush, RGB(255, 255, 255));
  // Labels A, B, P then Ghost: white inside, outline in the location's colour.
  const COLORREF outlines[] = {Red, Blue, Blue, Green};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.Rectangles[1 + i].Pen, outlines[i]) << i;
    EXPECT_EQ(r.Rectangles[1 + i].Brush, RGB(255, 255, 255)) << i;
  }
  // Bars of A, B, P filled in their own colour.
  EXPECT_EQ(r.Rectangles[5].Brush, Red);
  EXPECT_EQ(r.Rectangles[6].Brush, Blue);
  EXPECT_EQ(r.Rectangles[7].Pen, Blue);
  // Dots take the used unit's colour: B-A, B-Ghost, P-A, P-B.
  const COLORREF dots[] = {Red, Green, Red, Blue};
  ASSERT_EQ(r.Ellipses.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(r.Ellipses[i].Pen, dots[i]) << i;
    EXPECT_EQ(r.Ellipses[i].Brush, dots[i]) << i;
  }
}

TEST_F(DrawTest, DotIsCentredOnTheTurn) {
  TMetafile m = Compose();
  const TReplay r = Replay(m.Handle());
  const TReplay::TShape& dot = r.Ellipses[0];  // B's link to A, B's first column
  const TLinkColumns columns = LinkColumns(*B);
  const int radius = DotRadius;
  EXPECT_EQ(dot.Box.left, columns.InterfaceColumn(0) - radius);
  EXPECT_EQ(dot.Box.top, A->Anchor.y - radius);
}

TEST_F(DrawTest, TextsInDrawingOrder) {
  TMetafile m = Compose();
  const std::vector<std::string> texts = TextsDrawn(m.Handle());
  ASSERT_GE(texts.size(), 5u);
  EXPECT_EQ(texts[0], "Basic units");
  EXPECT_EQ(texts[1], "Alpha");
  EXPECT_EQ(texts[2], "Beta");
  EXPECT_EQ(texts[3], "Project");
  EXPECT_EQ(texts[4], "Ghost");
}

TEST_F(DrawTest, BarOfImplementationOnlyUnitIsHalfAPitchWide) {
  TMetafile m = Compose();
  // B has one interface entry; compare with a unit that has none.
  TFile* c = Add("Gamma", 0);
  Uses(c, {}, {A, Ghost});
  TMetafile again = Compose();
  const TReplay r = Replay(again.Handle());
  const TLinkColumns columns = LinkColumns(*c);
  const RECT bar = columns.InterfaceBar();
  EXPECT_EQ(bar.right - bar.left, FileArray->LinkPitch / 2);
  bool found = false;
  for (const TReplay::TShape& s : r.Rectangles) found |= s.Box.left == bar.left && s.Box.top == bar.top;
  EXPECT_TRUE(found);
}

class CaptionDrawTest : public DiagramTest {};

TEST_F(CaptionDrawTest, SilverCaptionAlsoOnAnEmptyDiagram) {
  for (int pass = 0; pass < 2; ++pass) {
    if (pass == 1) FileArray.reset();  // before any analysis
    TMetafile m = Compose();
    const std::vector<std::string> texts = TextsDrawn(m.Handle());
    ASSERT_EQ(texts.size(), 3u);
    for (int i = 0; i < 3; ++i) EXPECT_EQ(texts[i], CaptionLine(i));
    bool silver = false;
    for (const TRecord& r : ReadRecords(m.Handle()))
      silver |= r.Type == EMR_SETTEXTCOLOR && r.Params[0] == RGB(192, 192, 192);
    EXPECT_TRUE(silver);
    EXPECT_EQ(m.Width, 2700);
    EXPECT_EQ(m.Height, 2000);
  }
}

// The units handed to the document while the diagram is drawn.
struct TRecordingGenerator : TDocumentGenerator {
  std::vector<std::string> Calls;
  std::vector<std::string> Pictures, Sources;
  bool ThrowOnAdd = false;
  bool Start() override {
    Calls.push_back("Start");
    return true;
  }
  void NewDocument() override { Calls.push_back("NewDocument"); }
  void AddUnit(const std::string& name, const std::string& picture, const std::string& source) override {
    if (ThrowOnAdd) throw std::runtime_error("Word went away");
    Calls.push_back(name);
    Pictures.push_back(picture);
    Sources.push_back(source);
  }
  void Finish() override { Calls.push_back("Finish"); }
};

TEST_F(DrawTest, DocumentReceivesFoundUnitsBottomRowUpwards) {
  TRecordingGenerator generator;
  DocumentGenerator = &generator;
  ImagesDirectory = "C:\\pictures\\";
  A->FileName = "C:\\src\\Alpha.pas";
  B->Hidden = true;
  GeneratingDocument = true;
  TMetafile m = Compose();
  GeneratingDocument = false;
  EXPECT_EQ(generator.Calls, (std::vector<std::string>{"Alpha", "Project", "Finish"}));
  EXPECT_EQ(generator.Pictures[0], "C:\\pictures\\Alpha.BMP");
  EXPECT_EQ(generator.Sources[0], "C:\\src\\Alpha.pas");
  // The diagram went to the clipboard before Finish.
  ASSERT_TRUE(OpenClipboard(nullptr));
  EXPECT_NE(GetClipboardData(CF_ENHMETAFILE), nullptr);
  CloseClipboard();

  // Without "Do not include in document" the hidden unit has its section.
  TestOptions.Doc = false;
  generator.Calls.clear();
  GeneratingDocument = true;
  m = Compose();
  GeneratingDocument = false;
  EXPECT_EQ(generator.Calls, (std::vector<std::string>{"Alpha", "Beta", "Project", "Finish"}));

  // Not generating: nothing is handed over.
  generator.Calls.clear();
  m = Compose();
  EXPECT_TRUE(generator.Calls.empty());
}

}  // namespace
}  // namespace diagtest
