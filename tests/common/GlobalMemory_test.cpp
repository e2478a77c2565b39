// Global memory: the block's owner frees it (unlocking it first when it was
// handed over locked), and the lock holds the address for its own life.
#include <gtest/gtest.h>

#include <cstring>
#include <type_traits>
#include <utility>

#include "GlobalMemory.h"

namespace {

static_assert(!std::is_copy_constructible_v<TGlobalMemory> && !std::is_copy_assignable_v<TGlobalMemory>);
static_assert(!std::is_copy_constructible_v<TGlobalLock<char>> && !std::is_copy_assignable_v<TGlobalLock<char>>);

bool Freed(HGLOBAL block) { return GlobalFlags(block) == GMEM_INVALID_HANDLE; }
UINT LockCount(HGLOBAL block) { return GlobalFlags(block) & GMEM_LOCKCOUNT; }
HGLOBAL NewBlock() { return GlobalAlloc(GMEM_MOVEABLE, 16); }

TEST(TGlobalMemory, DetachHandsTheBlockOverAsItIs) {
  HGLOBAL block = NewBlock();
  ASSERT_NE(GlobalLock(block), nullptr);
  TGlobalMemory first(block, true);
  TGlobalMemory second(std::move(first));
  EXPECT_FALSE(first);
  EXPECT_EQ(second.Detach(), block);
  EXPECT_FALSE(Freed(block));
  EXPECT_EQ(LockCount(block), 1u);  // still locked, as it was given
  GlobalUnlock(block);
  GlobalFree(block);
}

TEST(TGlobalMemory, ALockedBlockIsUnlockedAndFreed) {
  HGLOBAL block = NewBlock();
  {
    TGlobalMemory owner(block);
    void* address = owner.Lock();
    ASSERT_NE(address, nullptr);
    std::memcpy(address, "text", 5);
    EXPECT_EQ(LockCount(block), 1u);
  }
  EXPECT_TRUE(Freed(block));
  TGlobalMemory none;
  EXPECT_EQ(none.Lock(), nullptr);
}

TEST(TGlobalLock, HoldsTheAddressForItsLife) {
  TGlobalMemory owner(NewBlock());
  {
    TGlobalLock<char> lock(owner.Get());
    ASSERT_NE(lock.Get(), nullptr);
    EXPECT_GE(lock.Size(), 16u);
    EXPECT_EQ(LockCount(owner.Get()), 1u);
  }
  EXPECT_EQ(LockCount(owner.Get()), 0u);
  TGlobalLock<char> none(nullptr);
  EXPECT_EQ(none.Get(), nullptr);
  EXPECT_EQ(none.Size(), 0u);
}

}  // namespace
