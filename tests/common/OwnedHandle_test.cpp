// The owners of menus, accelerator tables and image lists (menus and tables
// keep the promises of every owner: OwnerContract_test.cpp).
#include <gtest/gtest.h>

#include <type_traits>

#include "OwnedHandle.h"

namespace {

static_assert(!std::is_copy_constructible_v<TOwnedMenu> && !std::is_copy_assignable_v<TOwnedMenu>);
static_assert(!std::is_copy_constructible_v<TOwnedAcceleratorTable>);
static_assert(!std::is_copy_constructible_v<TOwnedImageList>);
static_assert(std::is_nothrow_move_constructible_v<TOwnedMenu> && std::is_nothrow_move_assignable_v<TOwnedMenu>);

TEST(TOwnedHandle, AnImageListIsDestroyedWithItsOwner) {
  HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR24, 1, 1);
  ASSERT_NE(list, nullptr);
  {
    TOwnedImageList owner(list);
    EXPECT_EQ(ImageList_GetImageCount(owner.Get()), 0);
    HIMAGELIST other = ImageList_Create(8, 8, ILC_COLOR24, 1, 1);
    EXPECT_EQ(owner.Detach(), list);
    owner.Attach(other);
  }
  EXPECT_TRUE(ImageList_Destroy(list));  // detached: still the caller's
}

}  // namespace
