#include <gtest/gtest.h>

#include <type_traits>

#include "GdiGuard.h"
#include "Metafile.h"

namespace {

static_assert(!std::is_copy_constructible_v<TSelectedObject> && !std::is_copy_assignable_v<TSelectedObject>);
static_assert(!std::is_copy_constructible_v<TOwnedGdiObject>);
static_assert(!std::is_copy_constructible_v<TMetafile>);

class GdiGuardTest : public ::testing::Test {
 protected:
  TWindowDC Screen;
  TCreatedDC DC{CreateCompatibleDC(Screen)};
};

TEST_F(GdiGuardTest, RestoresThePreviousObjectAndDeletesItsOwn) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_PEN);
  HPEN red = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
  {
    TSelectedObject guard(DC, red);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), red);
    EXPECT_EQ(guard.Dc(), DC.Get());
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), before);
  EXPECT_EQ(GetObjectType(red), 0u);  // deleted
}

TEST_F(GdiGuardTest, ReplaceDeletesTheReplacedObjectAtOnce) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_BRUSH);
  HBRUSH first = CreateSolidBrush(RGB(1, 2, 3));
  HBRUSH second = CreateSolidBrush(RGB(4, 5, 6));
  {
    TSelectedObject guard(DC, first);
    guard.Replace(second);
    EXPECT_EQ(GetObjectType(first), 0u);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), second);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), before);
  EXPECT_EQ(GetObjectType(second), 0u);
}

TEST_F(GdiGuardTest, BorrowedObjectsAreOnlyDeselected) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_BRUSH);
  HBRUSH mine = CreateSolidBrush(RGB(9, 9, 9));
  {
    TSelectedObject guard(DC, mine, false);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), before);
  EXPECT_EQ(GetObjectType(mine), static_cast<DWORD>(OBJ_BRUSH));
  DeleteObject(mine);
}

TEST_F(GdiGuardTest, AnEmptyGuardRemembersTheFirstSelection) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_FONT);
  HFONT font = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
  {
    TSelectedObject guard(DC, nullptr);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), before);
    guard.Replace(font);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), font);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), before);
  EXPECT_EQ(GetObjectType(font), 0u);
}

TEST_F(GdiGuardTest, BackgroundModeComesBack) {
  SetBkMode(DC, OPAQUE);
  {
    TBkModeGuard guard(DC, TRANSPARENT);
    EXPECT_EQ(GetBkMode(DC), TRANSPARENT);
  }
  EXPECT_EQ(GetBkMode(DC), OPAQUE);
}

}  // namespace
