#include <gtest/gtest.h>

#include "DiagramTestUtil.h"

namespace diagtest {
namespace {

class LayoutTest : public DiagramTest {
 protected:
  // Ten found units with names of 8 characters and 10 slots each (8 uses:
  // 3 interface, 5 implementation, all towards basic units).
  void WorkedExample() {
    // The used unit stays out of the array: only the ten found units count.
    Extra = std::make_unique<TFile>("SysUtils", "");
    Extra->Location = -2;
    TFile* basic = Extra.get();
    for (int i = 0; i < 10; ++i) {
      TFile* u = Add(NameOfLength(i, 8), 0);
      Uses(u, {basic, basic, basic}, {basic, basic, basic, basic, basic});
    }
  }
  std::unique_ptr<TFile> Extra;
};

TEST_F(LayoutTest, WorkedExampleFigures) {
  WorkedExample();
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(FileArray->LabelWidth, 528);
  EXPECT_EQ(FileArray->LinkPitch, 21);
  EXPECT_EQ(FileArray->RowHeight, 201);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
  EXPECT_EQ(r.right, 2628);
  EXPECT_EQ(r.bottom, 2211);
  EXPECT_EQ(FileArray->RowCount, 10);
  EXPECT_EQ(FileArray->FirstFoundIndex, 0);
  EXPECT_EQ(FileArray->NotFoundCount, 0);
  EXPECT_EQ(FileArray->BasicCount, 0);
  EXPECT_EQ(DotRadius, 10);
}

TEST_F(LayoutTest, CountsOfBasicAndNotFoundUnits) {
  Add("Windows", -2);
  Add("Classes", -2);
  Add("Missing", -1);
  TFile* a = Add("Alpha", 0);
  TFile* p = Add("Project", 0);
  Uses(p, {a}, {});
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(FileArray->BasicCount, 2);
  EXPECT_EQ(FileArray->NotFoundCount, 1);
  EXPECT_EQ(FileArray->FirstFoundIndex, 3);
  EXPECT_EQ(FileArray->RowCount, 3);
  EXPECT_EQ(FileArray->RowHeight, 2000 / 3 + 1);
  // C = 12, F = 2, S = 2 + 3: 2 x 6 x 225 would take all 2700 pixels and
  // leave link columns of one pixel; two thirds of the width leave a third
  // for the links.
  EXPECT_EQ(2 * (12 / 2) * (2700 / 12), 2700);
  EXPECT_EQ(FileArray->LabelWidth, 1800);
  EXPECT_EQ(FileArray->LinkPitch, (2700 - 1800) / 5);
  EXPECT_EQ(r.right, 2700);
  EXPECT_EQ(r.bottom, 4 * FileArray->RowHeight);
  EXPECT_EQ(DotRadius, 90);
  // The links of the project can be seen: a column of 180 pixels each.
  TMetafile m = Compose();
  EXPECT_EQ(p->LabelRect.right - p->LabelRect.left, 1800);
  EXPECT_EQ(p->LabelRect.right, 2700);
  EXPECT_EQ(a->LabelRect.left, 2 * 180);
}

TEST_F(LayoutTest, SingleFoundUnitIsTwoRowsHighAndKeepsItsLabelOnTheDiagram) {
  Add("Project1", 0);
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(FileArray->RowHeight, 2001);
  EXPECT_EQ(r.bottom, 2 * 2001);
  // 2 x 8 x (2700 div 8) = 2696 would leave the two slots a pixel each:
  // the label keeps two thirds of the width, the slots share the rest.
  EXPECT_EQ(FileArray->LabelWidth, 1800);
  EXPECT_EQ(FileArray->LinkPitch, 450);
  EXPECT_EQ(r.right, 2700);
  EXPECT_EQ(DotRadius, 225);
  TMetafile m = Compose();
  EXPECT_EQ(FileArray->Items[0]->LabelRect.left, 900);
  EXPECT_EQ(FileArray->Items[0]->LabelRect.right, r.right);
}

TEST_F(LayoutTest, EmptyArrayChangesNothing) {
  FileArray->LinkPitch = 7;
  FileArray->LabelWidth = 8;
  FileArray->RowHeight = 9;
  FileArray->RowCount = 10;
  DotRadius = 42;
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(FileArray->LinkPitch, 7);
  EXPECT_EQ(FileArray->LabelWidth, 8);
  EXPECT_EQ(FileArray->RowHeight, 9);
  EXPECT_EQ(FileArray->RowCount, 10);
  EXPECT_EQ(DotRadius, 42);
  EXPECT_TRUE(EqualRect(&r, &LayoutSpace));
  POINT p{10, 10};
  EXPECT_EQ(UnitAt(*FileArray, p), nullptr);
}

TEST_F(LayoutTest, NoFoundUnitKeepsTheSpace) {
  Add("Ghost", -1);
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(FileArray->LabelWidth, 2700);
  EXPECT_EQ(FileArray->LinkPitch, 0);
  EXPECT_EQ(FileArray->RowHeight, 2001);
  EXPECT_TRUE(EqualRect(&r, &LayoutSpace));
}

TEST_F(LayoutTest, OnlyBasicUnitsGiveOneBoxOverTheWholeSpace) {
  Add("System", -2);
  Add("SysUtils", -2);
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);  // no division by zero
  EXPECT_EQ(FileArray->RowCount, 0);
  EXPECT_EQ(FileArray->RowHeight, 2001);
  EXPECT_TRUE(EqualRect(&r, &LayoutSpace));
  TMetafile m = Compose();
  const RECT box = UBase->LabelRect;
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.bottom, 2000);
  EXPECT_EQ(box.right, 2700);
  EXPECT_EQ(UnitAt(*FileArray, POINT{100, 100}), UBase.get());
}

TEST_F(LayoutTest, EmptyNamesDoNotDivideByZero) {
  Add("", 0);
  Add("", 0);
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  EXPECT_EQ(FileArray->LabelWidth, 0);
  EXPECT_EQ(FileArray->LinkPitch, 2700 / 4);
  EXPECT_EQ(r.right, 4 * (2700 / 4));
}

TEST_F(LayoutTest, BoxWithoutRoomBelowTheRowsIsEmptyAndNeverHit) {
  // No found unit: the rows already pass the unchanged height of 2000.
  Add("Windows", -2);
  Add("Ghost", -1);
  Add("Other", -1);
  TMetafile m = Compose();
  EXPECT_TRUE(IsRectEmpty(&UBase->LabelRect));
  EXPECT_EQ(UBase->LabelRect.top, 2 * FileArray->RowHeight);
  EXPECT_EQ(UnitAt(*FileArray, POINT{10, 1999}), FileArray->Items[1]);  // the lower not-found label
  EXPECT_EQ(UnitAt(*FileArray, POINT{10, 2 * FileArray->RowHeight + 1}), nullptr);
  // Only the two labels are drawn, no box.
  EXPECT_EQ(CountRecords(ReadRecords(m.Handle()), EMR_RECTANGLE), 2);
}

TEST_F(LayoutTest, WideningOnlyMovesTheLeftEdge) {
  RECT narrow{100, 0, 130, 10};
  RECT widened = WidenLabel(narrow, 5, 10);  // 130 - 50 < 100
  EXPECT_EQ(widened.left, 130 - 70);
  EXPECT_EQ(widened.right, 130);
  RECT atEdge = WidenLabel(RECT{20, 0, 60, 10}, 5, 10);
  EXPECT_EQ(atEdge.left, 0);
  RECT wide = WidenLabel(RECT{0, 0, 500, 10}, 5, 10);
  EXPECT_EQ(wide.left, 0);
  RECT enough = WidenLabel(RECT{100, 0, 150, 10}, 5, 10);  // 150 - 50 = 100, not less
  EXPECT_EQ(enough.left, 100);
}

// Labels of found units climb to the right, each shifted by its own slots.
TEST_F(LayoutTest, LabelRectanglesAndAnchors) {
  Add("Windows", -2);
  TFile* ghost = Add("Ghost", -1);
  TFile* a = Add("Alpha", 0);
  TFile* b = Add("Beta", 0);
  TFile* p = Add("Project", 0);
  Uses(a, {FileArray->Items[0]}, {});
  Uses(b, {a}, {ghost});
  Uses(p, {a, b}, {FileArray->Items[0]});
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  TMetafile m = Compose();
  const int P = FileArray->LinkPitch, W = FileArray->LabelWidth, H = FileArray->RowHeight;
  ASSERT_GT(P, 0);
  EXPECT_EQ(a->LabelRect.left, P * 3);
  EXPECT_EQ(b->LabelRect.left, P * (3 + 4));
  EXPECT_EQ(p->LabelRect.left, P * (3 + 4 + 5));
  EXPECT_EQ(p->LabelRect.right, r.right);
  EXPECT_EQ(p->LabelRect.top, 0);
  EXPECT_EQ(b->LabelRect.top, H);
  EXPECT_EQ(a->LabelRect.top, 2 * H);
  EXPECT_EQ(a->LabelRect.bottom, 3 * H);
  EXPECT_EQ(ghost->LabelRect.left, 0);
  EXPECT_EQ(ghost->LabelRect.right, W);
  EXPECT_EQ(ghost->LabelRect.top, 3 * H);
  EXPECT_EQ(UBase->LabelRect.top, 4 * H);
  EXPECT_EQ(UBase->LabelRect.bottom, r.bottom);
  EXPECT_EQ(UBase->LabelRect.right, r.right);
  EXPECT_EQ(b->Anchor.x, b->LabelRect.right);
  EXPECT_EQ(b->Anchor.y, (b->LabelRect.top + b->LabelRect.bottom) / 2);
  EXPECT_EQ(p->LinkPitch, P);
  EXPECT_EQ(p->InterfaceUses->LinkPitch, P);
  EXPECT_EQ(p->ImplementationUses->LinkPitch, P);
}

TEST_F(LayoutTest, NarrowLabelIsWidenedForItsLinkColumns) {
  // Twenty names of 10 characters: W = 2 x 10 x (2700 div 200) = 260; the
  // top unit's 40 uses at P = 2440 div 80 = 30 need far more.
  for (int i = 0; i < 19; ++i) Add(NameOfLength(i, 10), 0);
  TFile* p = Add(NameOfLength(19, 10), 0);
  std::vector<TFile*> many(40, FileArray->Items[0]);
  Uses(p, many, {});
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  ASSERT_EQ(FileArray->LabelWidth, 260);
  ASSERT_EQ(FileArray->LinkPitch, 30);
  TMetafile m = Compose();
  EXPECT_EQ(p->LabelRect.right, r.right);
  EXPECT_EQ(p->LabelRect.right, 2660);
  EXPECT_EQ(p->LabelRect.left, 2660 - 42 * 30);
  // The unit below keeps its common width.
  const TFile* below = FileArray->Items[18];
  EXPECT_EQ(below->LabelRect.right - below->LabelRect.left, 260);
}

TEST_F(LayoutTest, UnitAtSkipsHiddenLabelsAndFindsTheBox) {
  Add("Windows", -2);
  TFile* a = Add("Alpha", 0);
  TFile* b = Add("Beta", 0);
  TFile* g = Add("Gamma", 0);
  TFile* p = Add("Project", 0);
  Uses(p, {a, b, g}, {FileArray->Items[0]});
  TMetafile m = Compose();
  ASSERT_GT(FileArray->LinkPitch, 0);
  const POINT inA{a->LabelRect.left + 1, a->LabelRect.top + 1};
  EXPECT_EQ(UnitAt(*FileArray, inA), a);
  // Edges: left and top inside, right and bottom outside.
  EXPECT_EQ(UnitAt(*FileArray, POINT{a->LabelRect.left, a->LabelRect.top}), a);
  EXPECT_NE(UnitAt(*FileArray, POINT{a->LabelRect.right, a->LabelRect.top}), a);
  EXPECT_NE(UnitAt(*FileArray, POINT{a->LabelRect.left, a->LabelRect.bottom}), a);
  a->Hidden = true;
  EXPECT_EQ(UnitAt(*FileArray, inA), nullptr);
  const POINT inBox{5, UBase->LabelRect.top + 5};
  EXPECT_EQ(UnitAt(*FileArray, inBox), UBase.get());
  UBase->Hidden = true;
  EXPECT_EQ(UnitAt(*FileArray, inBox), UBase.get());
  EXPECT_EQ(UnitAt(*FileArray, POINT{5, 5}), nullptr);
}

TEST_F(LayoutTest, LinkColumnsFollowTheLabel) {
  TFile u("U", "");
  u.LabelRect = RECT{100, 0, 300, 50};
  u.LinkPitch = 10;
  TFile x("X", "");
  u.InterfaceUses->Items[u.InterfaceUses->Count++] = &x;
  u.InterfaceUses->Items[u.InterfaceUses->Count++] = &x;
  u.ImplementationUses->Items[u.ImplementationUses->Count++] = &x;
  const TLinkColumns c = LinkColumns(u);
  EXPECT_EQ(c.X0, 300 - 30);
  EXPECT_EQ(c.InterfaceColumn(1), 280);
  EXPECT_EQ(c.ImplementationColumn(0), 290);  // the last column is right - P
  const RECT bar = c.InterfaceBar();
  EXPECT_EQ(bar.left, 260);
  EXPECT_EQ(bar.top, 40);
  EXPECT_EQ(bar.right, 270 + 10 + 5);
  EXPECT_EQ(bar.bottom, 50);
  EXPECT_EQ(c.BaselineFrom().x, 270 + 20 - 5);
  EXPECT_EQ(c.BaselineTo().x, 300);
}

}  // namespace
}  // namespace diagtest

namespace diagtest {
namespace {

// Sums of slots and name lengths are kept in 16 bits.
TEST_F(DiagramTest, SlotAndNameSumsWrapAtSixteenBits) {
  std::vector<TFile*> uses(217);
  for (int i = 0; i < 300; ++i) {
    TFile* u = Add(NameOfLength(i, 220), 0);
    std::fill(uses.begin(), uses.end(), u);
    Uses(u, uses);
  }
  RECT r = LayoutSpace;
  ComputeLayout(*FileArray, r);
  // C = 66000 - 65536 = 464, S = 300 x 219 - 65536 = 164.
  EXPECT_EQ(FileArray->LabelWidth, 2 * (464 / 300) * (2700 / 464));
  EXPECT_EQ(FileArray->LinkPitch, (2700 - FileArray->LabelWidth) / 164);
  EXPECT_EQ(r.right, FileArray->LabelWidth + 164 * FileArray->LinkPitch);
}

// A thousand units have more name characters and link slots than the space
// has pixels: each keeps one pixel, so the diagram grows wider instead of
// vanishing.
TEST_F(DiagramTest, FullArrayComposesWithoutRoomForText) {
  for (int i = 0; i < 1000; ++i) {
    TFile* u = Add(NameOfLength(i, 8), 0);
    if (i > 0) Uses(u, {FileArray->Items[i - 1]});
  }
  TMetafile m = Compose();
  EXPECT_EQ(FileArray->RowHeight, 3);
  EXPECT_EQ(FileArray->LabelWidth, 2 * 8 * 1);  // 2700 div 8000 would be 0
  // S = 2 + 999 x 3 slots: 2684 div 2999 would be 0.
  EXPECT_EQ(FileArray->LinkPitch, 1);
  EXPECT_EQ(DotRadius, 1);
  EXPECT_EQ(m.Width, 16 + 2999);
  EXPECT_EQ(m.Height, 1001 * 3);
  ENHMETAHEADER header{};
  ASSERT_NE(GetEnhMetaFileHeader(m.Handle(), sizeof header, &header), 0u);
  EXPECT_GT(header.rclFrame.right, 1000);
  // Rows of 3 pixels hold no text: only the caption's lines are drawn.
  EXPECT_EQ(TextsDrawn(m.Handle()).size(), 3u);
}

}  // namespace
}  // namespace diagtest
