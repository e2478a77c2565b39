// The clean-up at the end of a scope: once, also when the scope throws, and
// never after Dismiss.
#include <gtest/gtest.h>

#include <stdexcept>
#include <type_traits>

#include "ScopeExit.h"

namespace {

auto Counter(int& count) { return [&count] { ++count; }; }
static_assert(!std::is_copy_constructible_v<TScopeExit<decltype(Counter(std::declval<int&>()))>>);

TEST(TScopeExit, RunsOnceHoweverTheScopeEnds) {
  int runs = 0;
  { const TScopeExit end(Counter(runs)); }
  EXPECT_EQ(runs, 1);
  try {
    const TScopeExit end(Counter(runs));
    throw std::runtime_error("stop");
  } catch (const std::runtime_error&) {
  }
  EXPECT_EQ(runs, 2);
  {
    TScopeExit end(Counter(runs));
    end.Dismiss();
  }
  EXPECT_EQ(runs, 2);
}

}  // namespace
