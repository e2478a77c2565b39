// The kernel handle owner treats both "no handle" values of the API as
// empty (what it promises as an owner: OwnerContract_test.cpp).
#include <gtest/gtest.h>

#include <type_traits>

#include "Handle.h"

namespace {

static_assert(!std::is_copy_constructible_v<THandle> && !std::is_copy_assignable_v<THandle>);
static_assert(std::is_nothrow_move_constructible_v<THandle> && std::is_nothrow_move_assignable_v<THandle>);

TEST(THandle, BothNoHandleValuesAreEmpty) {
  THandle none;
  EXPECT_FALSE(none);
  THandle invalid(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(invalid.Valid());
  invalid.Close();  // nothing to close: the current process stays
  EXPECT_EQ(invalid.Get(), nullptr);
}

}  // namespace
