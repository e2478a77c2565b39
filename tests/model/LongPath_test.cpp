// Paths longer than the file functions take: reported as such, never taken
// for missing files, never stored relative.
#include "Messages.h"
#include "ModelTestUtil.h"
#include "WideText.h"

using namespace modeltest;

namespace {

std::wstring Extended(const std::string& path) { return L"\\\\?\\" + WidenFileName(path); }

// Directories under base, one level at a time, to a path of exactly
// `length` characters (the wide functions with "\\?\" go that deep).
std::string MakeDeepDirectory(const std::string& base, size_t length) {
  std::string path = base;
  CreateDirectoryW(Extended(path).c_str(), nullptr);
  for (char level = 'a'; path.size() < length; ++level) {
    const size_t remaining = length - path.size();
    path += '\\';
    path.append(remaining > 31 ? 28 : remaining - 1, level);
    CreateDirectoryW(Extended(path).c_str(), nullptr);
  }
  return path;
}

void WriteDeep(const std::string& path, const std::string& text) {
  HANDLE h = CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  DWORD written = 0;
  WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(h);
}

void RemoveDeep(const std::wstring& dir) {
  WIN32_FIND_DATAW data;
  HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &data);
  if (h != INVALID_HANDLE_VALUE) {
    do {
      const std::wstring name = data.cFileName;
      if (name == L"." || name == L"..") continue;
      if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
        RemoveDeep(dir + L"\\" + name);
      else
        DeleteFileW((dir + L"\\" + name).c_str());
    } while (FindNextFileW(h, &data));
    FindClose(h);
  }
  RemoveDirectoryW(dir.c_str());
}

class LongPaths : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    ClearRegistry();
  }
  void TearDown() override {
    SetCurrentDirectoryA(StartDir.c_str());
    RemoveDeep(Extended(Dir.Path() + "\\deep"));
    ClearRegistry();
    ModelTest::TearDown();
  }
  TTempDir Dir;
};

}  // namespace

TEST_F(LongPaths, AProjectBeyondTheLimitIsSaidToBeSoNotMissing) {
  // 266 characters (its directory can still be entered) and 320.
  for (const size_t length : {size_t(266), size_t(320)}) {
    Recorder.Warnings.clear();
    const std::string dir = MakeDeepDirectory(Dir.Path() + "\\deep", length - 9);
    const std::string project = dir + "\\Shop.dpr";
    ASSERT_EQ(project.size(), length);
    WriteDeep(project, ProgramText("Shop", {"Lib"}));
    EXPECT_EQ(AnalyseProjectFile(project), TProjectOutcome::PathTooLong);
    EXPECT_EQ(Recorder.Warnings, std::vector<std::string>{PathTooLongText(project)});
    EXPECT_NE(PathTooLongText(project).find(project + "\" is longer than the 259 characters"), std::string::npos);
    EXPECT_EQ(ProjectProblemText(TProjectOutcome::PathTooLong, project), PathTooLongText(project));
    ASSERT_NE(FileArray, nullptr);
    ASSERT_EQ(FileArray->Count, 1);
    EXPECT_EQ(FileArray->Root->Name, "Shop");
    EXPECT_EQ(FileArray->Root->Location, -1);
  }
}

TEST_F(LongPaths, AnInPathTooDeepIsReportedAndNothingRelativeIsStored) {
  LoadGlobalSettings();
  const std::string deep = MakeDeepDirectory(Dir.Path() + "\\deep", 280);
  WriteDeep(deep + "\\Far.pas", UnitText("Far", {}));
  const std::string relative = deep.substr(Dir.Path().size() + 1) + "\\Far.pas";
  Dir.Write("P.dpr", ProgramText("P", {"Near", "Far in '" + relative + "'"}));
  Dir.Write("Near.pas", UnitText("Near", {}));
  EXPECT_EQ(AnalyseProjectFile(Dir / "P.dpr"), TProjectOutcome::Analysed);
  // Expanded in full, however long: the warning names the whole path.
  EXPECT_EQ(ExpandFileName(relative), deep + "\\Far.pas");
  EXPECT_EQ(Recorder.Warnings, std::vector<std::string>{PathTooLongText(deep + "\\Far.pas")});
  EXPECT_EQ(Unit("Far")->Location, -1);
  EXPECT_EQ(Unit("Near")->Location, 0);
  EXPECT_EQ(LocationCount, 1);
  SaveGlobalSettings();
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString(Reg::Locations, Reg::Count, "?"), "0");
  EXPECT_FALSE(raw.ValueExists(Reg::Locations, "Localisation 0"));
}

TEST_F(LongPaths, LocationsBeyondTheLimitAreRefusedWhenAddedAndKeptWhenStored) {
  const std::string deep = MakeDeepDirectory(Dir.Path() + "\\deep", 270);
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::Locations, Reg::Count, 1);
    raw.WriteString(Reg::Locations, "Localisation 0", deep);
    raw.WriteBool(Reg::Locations, "ActiveLocalisation 0", true);
  }
  LoadGlobalSettings();
  SetCurrentDirectoryA(Dir.Path().c_str());
  LoadLocations();
  // The user's location stays, full, and the user learns why it finds nothing.
  ASSERT_EQ(LocationCount, 2);
  EXPECT_EQ(Locations[0]->Path, deep);
  EXPECT_EQ(Recorder.Warnings, std::vector<std::string>{PathTooLongText(deep + "\\")});
  // A new one is refused with the same message (once per directory and run).
  ResetPathWarnings();
  Recorder.Warnings.clear();
  const std::string deeper = deep + "\\more";
  EXPECT_EQ(AddLocation(-1, deeper, false), -1);
  EXPECT_EQ(AddLocation(-1, deeper, false), -1);
  EXPECT_EQ(Recorder.Warnings, std::vector<std::string>{PathTooLongText(deeper + "\\")});
  EXPECT_EQ(LocationCount, 2);
  SaveGlobalSettings();
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Localisation 0", "?"), deep);
}
