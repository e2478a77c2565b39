// The directory search: every entry once, in one search at a time, closed
// with its owner.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

#include "FindFile.h"
#include "RemoveTree.h"

namespace {

static_assert(!std::is_copy_constructible_v<TFindFile> && !std::is_copy_assignable_v<TFindFile>);

class FindFile : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* name : {"A.PAS", "B.PAS", "C.DPR"}) std::ofstream(Dir + "\\" + name) << "unit";
  }
  void TearDown() override { RemoveTree(Dir); }
  std::string Dir = FreshDir("usagram-findfile");
};

TEST_F(FindFile, VisitsEveryMatchingEntryOnce) {
  std::vector<std::string> names;
  ForEachFile(Dir + "\\*.PAS", [&](const WIN32_FIND_DATAA& data) { names.emplace_back(data.cFileName); });
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"A.PAS", "B.PAS"}));
}

TEST_F(FindFile, NoMatchAndNoDirectoryFindNothing) {
  TFindFile search;
  WIN32_FIND_DATAA data;
  EXPECT_FALSE(search.FindFirst(Dir + "\\*.INC", data));
  EXPECT_FALSE(search.FindNext(data));
  EXPECT_FALSE(search.FindFirst(Dir + "\\Missing\\*.*", data));
}

TEST_F(FindFile, ANewSearchEndsThePreviousOne) {
  TFindFile search;
  WIN32_FIND_DATAA data;
  ASSERT_TRUE(search.FindFirst(Dir + "\\*.DPR", data));
  EXPECT_EQ(std::string(data.cFileName), "C.DPR");
  ASSERT_TRUE(search.FindFirst(Dir + "\\*.PAS", data));
  int more = 0;
  while (search.FindNext(data)) ++more;
  EXPECT_EQ(more, 1);  // the second search goes on from its own first entry
  search.Close();
  EXPECT_FALSE(search.FindNext(data));
}

}  // namespace
