// The registry key owner, on a key of its own under HKCU that the tests
// make and remove (never the product's settings).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <type_traits>
#include <utility>
#include <vector>

#include "RegKey.h"

namespace {

static_assert(!std::is_copy_constructible_v<TRegKey> && !std::is_copy_assignable_v<TRegKey>);
static_assert(std::is_nothrow_move_constructible_v<TRegKey>);

constexpr const char* TestKey = "Software\\UsagramTests\\RegKey";

class RegKey : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeA(HKEY_CURRENT_USER, TestKey); }
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\UsagramTests"); }
};

TEST_F(RegKey, OpenNeverCreatesAndSaysWhy) {
  TRegKey key;
  EXPECT_FALSE(key.Open(HKEY_CURRENT_USER, TestKey));
  EXPECT_EQ(key.Result(), ERROR_FILE_NOT_FOUND);
  EXPECT_FALSE(key.IsOpen());
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, TestKey));
  EXPECT_EQ(key.Result(), ERROR_SUCCESS);
  TRegKey again;
  EXPECT_TRUE(again.Open(HKEY_CURRENT_USER, TestKey));
}

TEST_F(RegKey, ValuesAreWrittenReadRenamedAndListed) {
  TRegKey key;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, TestKey));
  EXPECT_EQ(key.SetString("One", "Unités"), ERROR_SUCCESS);
  key.WriteString("Two", "");
  std::string value = "unchanged";
  EXPECT_FALSE(key.QueryString("Three", value));
  EXPECT_EQ(value, "unchanged");
  ASSERT_TRUE(key.QueryString("One", value));
  EXPECT_EQ(value, "Unités");
  EXPECT_EQ(key.RenameValue("One", "Three"), ERROR_SUCCESS);
  EXPECT_FALSE(key.ValueExists("One"));
  ASSERT_TRUE(key.QueryString("Three", value));
  EXPECT_EQ(value, "Unités");
  std::vector<std::string> names = key.ValueNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Three", "Two"}));
  EXPECT_TRUE(key.HasValues());
  EXPECT_FALSE(key.HasSubKeys());
}

TEST_F(RegKey, ARefusedWriteRaisesWithTheValuesName) {
  TRegKey writable;
  ASSERT_TRUE(writable.Create(HKEY_CURRENT_USER, TestKey));
  TRegKey readOnly;
  ASSERT_TRUE(readOnly.Open(HKEY_CURRENT_USER, TestKey, KEY_READ));
  EXPECT_NE(readOnly.SetString("One", "1"), ERROR_SUCCESS);
  try {
    readOnly.WriteString("One", "1");
    ADD_FAILURE() << "no error raised";
  } catch (const ERegistryError& e) {
    EXPECT_EQ(std::string(e.what()), "Failed to set data for 'One'");
  }
  TRegKey closed;
  EXPECT_EQ(closed.SetString("One", "1"), ERROR_INVALID_HANDLE);
}

TEST_F(RegKey, SubKeysAreDeletedOneOrAllAtOnce) {
  TRegKey key, child;
  ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, TestKey));
  ASSERT_TRUE(child.Create(key, "A\\B"));
  child.Close();
  EXPECT_TRUE(key.HasSubKeys());
  EXPECT_NE(key.DeleteSubKey("A"), ERROR_SUCCESS);  // it has a subkey of its own
  EXPECT_EQ(key.DeleteSubKeyTree("A"), ERROR_SUCCESS);
  EXPECT_FALSE(key.HasSubKeys());
}

}  // namespace
