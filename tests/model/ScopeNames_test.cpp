// The unit scope names: the list's rules and its place in the settings store.
#include "ModelTestUtil.h"
#include "Messages.h"

using namespace modeltest;

namespace {

class ScopeNames_ : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    ClearRegistry();
  }
  void TearDown() override {
    ClearRegistry();
    ModelTest::TearDown();
  }
  static std::vector<std::string> List() { return {ScopeNames, ScopeNames + ScopeNameCount}; }
};

}  // namespace

TEST_F(ScopeNames_, AddKeepsTheOrderAndRefusesDuplicatesInAnyCaseAndThe50th) {
  EXPECT_TRUE(AddScopeName("Vcl"));
  EXPECT_TRUE(AddScopeName("System.Win"));
  EXPECT_TRUE(AddScopeName("System"));
  EXPECT_FALSE(AddScopeName("SYSTEM"));  // would find the same units as "System"
  EXPECT_EQ(List(), (std::vector<std::string>{"Vcl", "System.Win", "System"}));
  ASSERT_EQ(Recorder.Warnings, std::vector<std::string>{Msg::ScopeNameDuplicate});
  while (ScopeNameCount < 49) ASSERT_TRUE(AddScopeName(Numbered("S", ScopeNameCount)));
  EXPECT_FALSE(AddScopeName("Fiftieth"));
  EXPECT_EQ(Recorder.Warnings.back(), Msg::ScopeNamesLimit);
  EXPECT_EQ(ScopeNameCount, 49);
  EXPECT_EQ(ScopeNames[49], "");
}

TEST_F(ScopeNames_, AddRefusesWhatIsNotIdentifiersJoinedByDots) {
  for (const std::string bad : {"", " Vcl", "Vcl ", "System..Win", ".Vcl", "Vcl.", "Data;Vcl", "9Lives", "$(Scope)"}) {
    Recorder.Warnings.clear();
    EXPECT_FALSE(AddScopeName(bad)) << bad;
    std::string expected = "\"";
    expected += bad;
    expected += "\"";
    expected += Msg::ScopeNameInvalid;
    ASSERT_EQ(Recorder.Warnings, std::vector<std::string>{expected}) << bad;
  }
  EXPECT_EQ(ScopeNameCount, 0);
  // Letters of the Western code page and digits after the first are fine.
  EXPECT_TRUE(AddScopeName("Soci\xE9t\xE9.V2"));
  EXPECT_TRUE(AddScopeName("_Private"));
}

TEST_F(ScopeNames_, RemoveTakesTheExactNameOrNamesTheMissingOne) {
  AddScopeName("Vcl");
  AddScopeName("System");
  AddScopeName("Winapi");
  RemoveScopeName("system");
  EXPECT_EQ(Recorder.Warnings, std::vector<std::string>{std::string("system") + Msg::BasicUnitMissing});
  RemoveScopeName("System");
  EXPECT_EQ(List(), (std::vector<std::string>{"Vcl", "Winapi"}));
  EXPECT_EQ(ScopeNames[2], "");
}

TEST_F(ScopeNames_, SurviveASaveAndALoadInTheirOwnSection) {
  LoadGlobalSettings();
  EXPECT_EQ(ScopeNameCount, 0);
  SaveGlobalSettings();
  {
    // Nobody listed one: no section is made for them.
    TRegIniFile raw(Reg::ProductKey);
    EXPECT_FALSE(raw.ValueExists(Reg::ScopeNames, Reg::Count));
  }
  LoadGlobalSettings();
  AddScopeName("Vcl");
  AddScopeName("System");
  SaveGlobalSettings();
  EXPECT_EQ(ScopeNameCount, 0);
  {
    TRegIniFile raw(Reg::ProductKey);
    EXPECT_EQ(raw.ReadString("Unit scope names", "Nombre", "?"), "2");
    EXPECT_EQ(raw.ReadString("Unit scope names", "Scope 0", "?"), "Vcl");
    EXPECT_EQ(raw.ReadString("Unit scope names", "Scope 1", "?"), "System");
  }
  LoadGlobalSettings();
  EXPECT_EQ(List(), (std::vector<std::string>{"Vcl", "System"}));
  // Emptied by the user: the count says so, the old names stay unused.
  RemoveScopeName("Vcl");
  RemoveScopeName("System");
  SaveGlobalSettings();
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString("Unit scope names", "Nombre", "?"), "0");
  LoadGlobalSettings();
  EXPECT_EQ(ScopeNameCount, 0);
}

TEST_F(ScopeNames_, LoadClampsTheCountAndSkipsMissingNames) {
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::ScopeNames, Reg::Count, 60);
    for (int i = 0; i < 60; ++i) raw.WriteString(Reg::ScopeNames, Numbered("Scope ", i), Numbered("S", i));
  }
  LoadGlobalSettings();
  EXPECT_EQ(ScopeNameCount, 50);
  EXPECT_EQ(ScopeNames[49], "S49");
  Settings.reset();
  TRegIniFile raw(Reg::ProductKey);
  raw.WriteInteger(Reg::ScopeNames, Reg::Count, 3);
  raw.DeleteValue(Reg::ScopeNames, "Scope 1");
  LoadGlobalSettings();
  EXPECT_EQ(List(), (std::vector<std::string>{"S0", "S2"}));
  Settings.reset();
  // A count that is no count: the names up to the first gap.
  raw.WriteString(Reg::ScopeNames, Reg::Count, "many");
  LoadGlobalSettings();
  EXPECT_EQ(List(), std::vector<std::string>{"S0"});
}
