// The GDI guards: the selection guard (borrowing by default, owning what it
// is handed as TOwnedGdiObject, and putting back into the very context it
// was given), the background-mode guard and the contexts of the screen and
// of one paint. The two owners, TOwnedGdiObject and TCreatedDC, keep the
// promises of every owner: OwnerContract_test.cpp.
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "GdiGuard.h"
#include "WindowOwner.h"

namespace {

template <class T>
constexpr bool NotCopyable = !std::is_copy_constructible_v<T> && !std::is_copy_assignable_v<T>;
static_assert(NotCopyable<TOwnedGdiObject> && NotCopyable<TSelectedObject> && NotCopyable<TBkModeGuard>);
static_assert(NotCopyable<TWindowDC> && NotCopyable<TPaintDC> && NotCopyable<TCreatedDC>);
static_assert(std::is_nothrow_move_constructible_v<TOwnedGdiObject> && std::is_nothrow_move_constructible_v<TCreatedDC>);
// A plain handle never becomes an owned one by accident.
static_assert(!std::is_convertible_v<HGDIOBJ, TOwnedGdiObject>);

bool Alive(HGDIOBJ object) { return GetObjectType(object) != 0; }
HBRUSH NewBrush(int shade) { return CreateSolidBrush(RGB(shade, shade, shade)); }
HWND NewWindow() { return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, nullptr, nullptr); }

class GdiGuard : public ::testing::Test {
 protected:
  TWindowDC Screen;
  TCreatedDC DC{CreateCompatibleDC(Screen)};
  TCreatedDC Other{CreateCompatibleDC(Screen)};
};

TEST_F(GdiGuard, APlainHandleIsBorrowedAndOnlyDeselected) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_BRUSH);
  HBRUSH mine = NewBrush(9);
  {
    TSelectedObject guard(DC, mine);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), mine);
    guard.Replace(GetStockObject(WHITE_BRUSH));
    EXPECT_TRUE(Alive(mine));  // borrowed: the replacement leaves it alone
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), before);
  EXPECT_TRUE(Alive(mine));
  EXPECT_TRUE(Alive(GetStockObject(WHITE_BRUSH)));
  DeleteObject(mine);
}

TEST_F(GdiGuard, AnObjectHandedOverIsDeletedOnceDeselected) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_PEN);
  HPEN red = CreatePen(PS_SOLID, 0, RGB(255, 0, 0));
  {
    TSelectedObject guard(DC, TOwnedGdiObject(red));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), red);
    EXPECT_EQ(guard.Get(), red);
    EXPECT_EQ(guard.Dc(), DC.Get());
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_PEN), before);
  EXPECT_FALSE(Alive(red));
}

TEST_F(GdiGuard, ReplaceDeletesAnOwnedObjectAtOnceAndKeepsTheFirstPrevious) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_BRUSH);
  HBRUSH first = NewBrush(1), second = NewBrush(2), borrowed = NewBrush(3);
  {
    TSelectedObject guard(DC, TOwnedGdiObject(first));
    guard.Replace(TOwnedGdiObject(second));
    EXPECT_FALSE(Alive(first));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), second);
    guard.Replace(borrowed);
    EXPECT_FALSE(Alive(second));
    guard.Replace(nullptr);  // the context's own brush is back, nothing is held
    EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), before);
    EXPECT_EQ(guard.Get(), nullptr);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), before);
  EXPECT_TRUE(Alive(borrowed));
  DeleteObject(borrowed);
}

TEST_F(GdiGuard, AnEmptyGuardRemembersTheFirstSelection) {
  HGDIOBJ before = GetCurrentObject(DC, OBJ_FONT);
  HFONT font = CreateFontA(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
  {
    TSelectedObject guard(DC, nullptr);
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), before);
    guard.Replace(TOwnedGdiObject(font));
    EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), font);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_FONT), before);
  EXPECT_FALSE(Alive(font));
}

TEST_F(GdiGuard, AGuardRestoresIntoTheContextItWasGiven) {
  HBRUSH mine = NewBrush(5), theirs = NewBrush(6);
  const HGDIOBJ before = GetCurrentObject(DC, OBJ_BRUSH);
  SelectObject(Other, theirs);
  {
    TSelectedObject guard(DC, TOwnedGdiObject(mine));
    EXPECT_EQ(GetCurrentObject(Other, OBJ_BRUSH), theirs);
  }
  EXPECT_EQ(GetCurrentObject(DC, OBJ_BRUSH), before);
  EXPECT_EQ(GetCurrentObject(Other, OBJ_BRUSH), theirs);  // the other context is not touched
  SelectObject(Other, GetStockObject(WHITE_BRUSH));
  DeleteObject(theirs);
}

TEST_F(GdiGuard, WithoutAContextAnOwnedObjectIsStillDeleted) {
  HBRUSH brush = NewBrush(7);
  { TSelectedObject guard(nullptr, TOwnedGdiObject(brush)); }
  EXPECT_FALSE(Alive(brush));
}

TEST_F(GdiGuard, BackgroundModeComesBackInItsOwnContext) {
  SetBkMode(DC, OPAQUE);
  SetBkMode(Other, OPAQUE);
  {
    TBkModeGuard guard(DC, TRANSPARENT);
    EXPECT_EQ(GetBkMode(DC), TRANSPARENT);
    SetBkMode(Other, TRANSPARENT);
  }
  EXPECT_EQ(GetBkMode(DC), OPAQUE);
  EXPECT_EQ(GetBkMode(Other), TRANSPARENT);
}

TEST_F(GdiGuard, TheScreenContextIsARealContext) {
  EXPECT_NE(Screen.Get(), nullptr);
  EXPECT_GT(GetDeviceCaps(Screen, LOGPIXELSX), 0);
}

TEST(TPaintDC, PaintsIntoTheWindowAndEndsThePaint) {
  TOwnedWindow window(NewWindow());
  ShowWindow(window.Get(), SW_SHOWNA);
  InvalidateRect(window.Get(), nullptr, TRUE);
  {
    TPaintDC paint(window.Get());
    EXPECT_NE(paint.Get(), nullptr);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window.Get(), &update, FALSE));  // BeginPaint validated it
  }
  // A paint whose window went away meanwhile ends without it.
  HWND gone = NewWindow();
  {
    TPaintDC paint(gone);
    DestroyWindow(gone);
  }
  EXPECT_FALSE(IsWindow(gone));
}

}  // namespace
