// Winsock's start-up (the socket owner keeps the promises of every owner:
// OwnerContract_test.cpp).
#include "Socket.h"  // Winsock's header before anything that may bring in windows.h

#include <gtest/gtest.h>

#include <type_traits>
#include <utility>

namespace {

static_assert(!std::is_copy_constructible_v<TSocket> && !std::is_copy_assignable_v<TSocket>);
static_assert(!std::is_copy_constructible_v<TWinsock>);
static_assert(std::is_nothrow_move_constructible_v<TSocket>);

bool IsSocket(SOCKET s) {
  int type = 0, size = sizeof type;
  return getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size) == 0;
}

TEST(TWinsock, StartsAndNestsAsTheSystemCounts) {
  TWinsock outer;
  ASSERT_TRUE(outer.Started());
  { TWinsock inner; EXPECT_TRUE(inner.Started()); }
  // The outer start still holds: sockets can still be made.
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  EXPECT_TRUE(IsSocket(s));
  closesocket(s);
}

}  // namespace
