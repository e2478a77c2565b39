// The clipboard is open exactly for the owner's life.
#include <gtest/gtest.h>

#include <type_traits>

#include "ClipboardOwner.h"
#include "PrintJob.h"

namespace {

static_assert(!std::is_copy_constructible_v<TOpenClipboard> && !std::is_copy_assignable_v<TOpenClipboard>);
static_assert(!std::is_copy_constructible_v<TPrintJob> && !std::is_copy_assignable_v<TPrintJob>);

TEST(TOpenClipboard, IsOpenForTheOwnersLife) {
  {
    TOpenClipboard clipboard;
    ASSERT_TRUE(clipboard.IsOpen());
    EXPECT_TRUE(EmptyClipboard());  // only while it is open
  }
  EXPECT_FALSE(EmptyClipboard());
}

TEST(TPrintJob, WithoutAPrinterNothingStarts) {
  TPrintJob job(nullptr, "Diagram");
  EXPECT_FALSE(job.Started());
  EXPECT_FALSE(job.StartPage());
  EXPECT_FALSE(job.EndPage());
  EXPECT_FALSE(job.End());
}

}  // namespace
