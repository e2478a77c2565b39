// The loaded library's owner: frees it when it ends or takes another, and
// keeps it when handed the library it holds.
#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

#include "Library.h"

namespace {

static_assert(!std::is_copy_constructible_v<TLibrary> && !std::is_copy_assignable_v<TLibrary>);
static_assert(std::is_nothrow_move_constructible_v<TLibrary>);

// A system library that nothing else in the test program loads.
constexpr const char* Spare = "msimg32.dll";
constexpr const char* SpareProcedure = "AlphaBlend";

TEST(TLibrary, LoadsFindsProceduresAndFrees) {
  ASSERT_EQ(GetModuleHandleA(Spare), nullptr);
  {
    TLibrary library;
    ASSERT_TRUE(library.Load(Spare));
    EXPECT_EQ(GetModuleHandleA(Spare), library.Get());
    EXPECT_NE(library.Procedure(SpareProcedure), nullptr);
    EXPECT_EQ(library.Procedure("NoSuchProcedure"), nullptr);
  }
  EXPECT_EQ(GetModuleHandleA(Spare), nullptr);
  TLibrary missing;
  EXPECT_FALSE(missing.Load("NoSuchLibrary.dll"));
  EXPECT_FALSE(missing.IsLoaded());
  EXPECT_EQ(missing.Procedure(SpareProcedure), nullptr);
}

}  // namespace
