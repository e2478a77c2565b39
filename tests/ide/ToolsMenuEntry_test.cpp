// The Tools-menu entries and the restart record, in the real registry and
// Windows directory of the test prefix; the questions answered by a hook.
#include "ToolsMenuEntry.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "Reg.h"
#include "ModalAnswer.h"
#include "RegKey.h"

namespace {

const std::string Title = "Usagram on current file";
const std::string Params = "$EDNAME $SAVEALL";

std::string ThisProgram() {
  char path[MAX_PATH] = {};
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  return path;
}

std::string DelphiIniPath() {
  char dir[MAX_PATH] = {};
  GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\" + Reg::DelphiIni;
}

std::string VersionKey(const char* version) { return Reg::DelphiKey + std::string(version); }

std::string IniValue(const std::string& key) {
  char value[MAX_PATH] = {};
  GetPrivateProfileStringA(Reg::Transfer, key.c_str(), "#", value, sizeof value, Reg::DelphiIni);
  return value;
}

// A value of a version's Transfer key: its text, "<missing>", or
// "<type N>" when it is not a plain string value.
std::string TransferValue(const char* version, const std::string& name) {
  HKEY key = nullptr;
  const std::string path = VersionKey(version) + "\\" + Reg::Transfer;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return "<no key>";
  char data[MAX_PATH] = {};
  DWORD type = 0, size = sizeof data - 1;
  LONG rc = RegQueryValueExA(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
  RegCloseKey(key);
  if (rc != ERROR_SUCCESS) return "<missing>";
  if (type != REG_SZ) return "<type " + std::to_string(type) + ">";
  return data;
}

bool KeyExists(const std::string& path) {
  TRegKey key;
  return key.Open(HKEY_CURRENT_USER, path);
}

// Each Delphi the test installs, removed before and after every test.
class ToolsMenuEntry : public testing::Test {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }

  static void Clean() {
    for (const char* version : {Reg::Delphi2, Reg::Delphi3})
      RegDeleteTreeA(HKEY_CURRENT_USER, VersionKey(version).c_str());
    WritePrivateProfileStringA(nullptr, nullptr, nullptr, Reg::DelphiIni);  // flush the profile cache
    DeleteFileA(DelphiIniPath().c_str());
  }

  static void InstallDelphi(const char* version) {
    TRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, VersionKey(version)));
  }
  static void SetTransferCount(const char* version, const std::string& count) {
    TRegKey key;
    ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, VersionKey(version) + "\\" + Reg::Transfer));
    ASSERT_EQ(key.SetString(Reg::TransferCount, count), ERROR_SUCCESS);
  }
  static void SetIniCount(const std::string& count) {
    ASSERT_TRUE(WritePrivateProfileStringA(Reg::Transfer, Reg::TransferCount, count.c_str(), Reg::DelphiIni));
  }

  // Runs the command; every question is recorded and answered No when it
  // names a refused version, Yes otherwise.
  void Install(const std::vector<std::string>& refused = {}) {
    TModalAnswer answer(
        [this, refused](HWND box) {
          char text[256] = {}, caption[64] = {};
          GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
          GetWindowTextA(box, caption, sizeof caption);
          Questions.push_back(text);
          Captions.push_back(caption);
          bool no = false;
          for (const std::string& version : refused) no = no || Questions.back().find(version) != std::string::npos;
          TModalAnswer::PostButton(box, no ? IDNO : IDYES);
        },
        "#32770");
    ASSERT_TRUE(answer.Installed());
    InstallAsDelphiTool();
  }

  // The entry at index in a version's key: the four values, and the count.
  void ExpectRegistryEntry(const char* version, int index, const std::string& count) {
    SCOPED_TRACE(std::string("Delphi ") + version + ", entry " + std::to_string(index));
    const std::string n = std::to_string(index);
    EXPECT_EQ(TransferValue(version, "Title" + n), Title);
    EXPECT_EQ(TransferValue(version, "Path" + n), ThisProgram());
    EXPECT_EQ(TransferValue(version, "WorkingDir" + n), "");
    EXPECT_EQ(TransferValue(version, "Params" + n), Params);
    EXPECT_EQ(TransferValue(version, "Count"), count);
  }
  void ExpectIniEntry(int index, const std::string& count) {
    SCOPED_TRACE("Delphi.INI, entry " + std::to_string(index));
    const std::string n = std::to_string(index);
    EXPECT_EQ(IniValue("Title" + n), Title);
    EXPECT_EQ(IniValue("Path" + n), ThisProgram());
    EXPECT_EQ(IniValue("WorkingDir" + n), "");  // present and empty, not the default "#"
    EXPECT_EQ(IniValue("Params" + n), Params);
    EXPECT_EQ(IniValue("Count"), count);
  }

  std::vector<std::string> Questions, Captions;
};

TEST_F(ToolsMenuEntry, NoDelphiInstalledAsksNothingAndWritesNothing) {
  Install();
  EXPECT_TRUE(Questions.empty());
  EXPECT_EQ(GetFileAttributesA(DelphiIniPath().c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_FALSE(KeyExists(VersionKey(Reg::Delphi2)));
  EXPECT_FALSE(KeyExists(VersionKey(Reg::Delphi3)));
}

TEST_F(ToolsMenuEntry, DelphiIniWithThreeEntriesGetsTheFourthAtIndexThree) {
  SetIniCount("3");
  ASSERT_TRUE(WritePrivateProfileStringA(Reg::Transfer, "Title0", "Other tool", Reg::DelphiIni));
  Install();
  ASSERT_EQ(Questions, std::vector<std::string>{"Install in Borland Delphi(tm) 1.0 ?"});
  EXPECT_EQ(Captions.front(), "Usagram");
  ExpectIniEntry(3, "4");
  EXPECT_EQ(IniValue("Title0"), "Other tool");
  EXPECT_EQ(IniValue("Title4"), "#");
}

TEST_F(ToolsMenuEntry, NoForOneVersionStillOffersTheNext) {
  SetIniCount("0");
  InstallDelphi(Reg::Delphi2);
  InstallDelphi(Reg::Delphi3);
  Install({"2.0"});
  EXPECT_EQ(Questions,
            (std::vector<std::string>{"Install in Borland Delphi(tm) 1.0 ?", "Install in Borland Delphi(tm)2.0 ?",
                                      "Install in Borland Delphi(tm)3.0 ?"}));
  EXPECT_EQ(Captions, std::vector<std::string>(3, "Usagram"));
  ExpectIniEntry(0, "1");
  EXPECT_FALSE(KeyExists(VersionKey(Reg::Delphi2) + "\\" + Reg::Transfer));
  ExpectRegistryEntry(Reg::Delphi3, 0, "1");

  // Accepting again adds a second entry after the first.
  Questions.clear();
  Install({"1.0", "2.0"});
  EXPECT_EQ(Questions.size(), 3u);
  ExpectRegistryEntry(Reg::Delphi3, 1, "2");
  EXPECT_EQ(IniValue("Count"), "1");
}

TEST_F(ToolsMenuEntry, ACountThatIsNoNumberOfEntriesWritesIndexZero) {
  // The registry's count as text (or absent), and the index then written.
  struct TCase {
    const char* Count;
    int Index;
  };
  for (const TCase& c : {TCase{"2", 2}, TCase{"abc", 0}, TCase{"", 0}, TCase{"-2", 0}, TCase{nullptr, 0}}) {
    SCOPED_TRACE(c.Count ? std::string("count \"") + c.Count + "\"" : "no count");
    Clean();
    InstallDelphi(Reg::Delphi3);
    if (c.Count) SetTransferCount(Reg::Delphi3, c.Count);
    Install();
    ExpectRegistryEntry(Reg::Delphi3, c.Index, std::to_string(c.Index + 1));
  }
  for (const char* count : {"x", "-1"}) {
    SCOPED_TRACE(std::string("Delphi.INI count \"") + count + "\"");
    Clean();
    SetIniCount(count);
    Install();
    ExpectIniEntry(0, "1");
  }
}

// The Run record of the machine, removed before and after.
class RestartRecord : public testing::Test {
 protected:
  void SetUp() override { ForgetRestart(); }
  void TearDown() override { ForgetRestart(); }
  static std::string Record() {
    TRegKey run;
    std::string value = "<missing>";
    if (run.Open(HKEY_LOCAL_MACHINE, Reg::RunKey)) run.QueryString(Reg::RunValue, value);
    return value;
  }
};

TEST_F(RestartRecord, HoldsTheProgramAndTheProjectUntilForgotten) {
  std::string program = ThisProgram();
  if (program.find(' ') != std::string::npos) program = '"' + program + '"';

  ASSERT_TRUE(RememberForRestart("C:\\Projets\\Demo.dpr"));
  EXPECT_EQ(Record(), program + " C:\\Projets\\Demo.dpr");
  // Without a project: the program and one space.
  ASSERT_TRUE(RememberForRestart(""));
  EXPECT_EQ(Record(), program + " ");
  // A project with a space stays one parameter.
  ASSERT_TRUE(RememberForRestart("C:\\Mes projets\\Démo.dpr"));
  EXPECT_EQ(Record(), program + " \"C:\\Mes projets\\Démo.dpr\"");

  ForgetRestart();
  EXPECT_EQ(Record(), "<missing>");
  ForgetRestart();  // nothing to remove: no harm
  EXPECT_EQ(Record(), "<missing>");
}

}  // namespace
