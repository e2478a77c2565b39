#include "Messages.h"
#include "ModelTestUtil.h"
#include "uChaines.h"

using namespace modeltest;

namespace {

std::vector<std::string>* StatusSink = nullptr;

// Runs without a store: the locations are "." plus what a test adds.
class Run_ : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    StatusSink = &Statuses;
    SetStatusHooks([](const std::string& t) { StatusSink->push_back(t); }, nullptr);
  }
  std::vector<std::string> Statuses;
  TTempDir Dir;
};

}  // namespace

TEST_F(Run_, AProjectInOneDirectoryIsSortedByLevelWithTheProjectLast) {
  Dir.Write("App\\App.dpr", ProgramText("App", {"Forms", "Main in 'Main.pas' {fMain}", "Tools"}));
  Dir.Write("App\\Main.pas", UnitText("Main", {"Tools"}, {"Data"}));
  Dir.Write("App\\Tools.pas", UnitText("Tools", {}));
  Dir.Write("App\\Data.pas", UnitText("Data", {"Tools"}));
  AnalyseProjectFile(Dir / "App\\App.dpr");
  EXPECT_EQ(Statuses, (std::vector<std::string>{Msg::StatusInitializing, Msg::StatusSorting}));
  char cwd[MAX_PATH];
  GetCurrentDirectoryA(MAX_PATH, cwd);
  EXPECT_EQ(std::string(cwd), Dir / "App");
  ASSERT_EQ(LocationCount, 1);
  EXPECT_EQ(Locations[0]->Path, Dir / "App");
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"Forms", "Tools", "Data", "Main", "App"}));
  EXPECT_TRUE(FileArray->Sorted);
  EXPECT_EQ(Names(*FileArray->Root->ImplementationUses), (std::vector<std::string>{"Forms", "Tools", "Main"}));
  EXPECT_EQ(CountUnusedFiles(), 0);
  ASSERT_NE(UBase, nullptr);
  EXPECT_EQ(UBase->Name, "Basic units");
  EXPECT_FALSE(ImplicitLocationsFound);
}

TEST_F(Run_, AnInPathIntoANewDirectoryRestartsOnceAndRanksWithTheProject) {
  Dir.Write("P\\Demo.DPR", ProgramText("Demo", {"Early", "Shared in 'lib\\Shared.pas'"}));
  Dir.Write("P\\lib\\Shared.pas", UnitText("Shared", {}));
  // Early names Helper before Shared's IN path made lib a location: only the
  // second pass finds it there.
  Dir.Write("P\\Early.pas", UnitText("Early", {"Helper"}));
  Dir.Write("P\\lib\\Helper.pas", UnitText("Helper", {}));
  AnalyseProjectFile(Dir / "P\\Demo.DPR");
  EXPECT_EQ(Statuses, (std::vector<std::string>{Msg::StatusInitializing, Msg::StatusRestarting, Msg::StatusSorting}));
  EXPECT_FALSE(ImplicitLocationsFound);
  ASSERT_EQ(LocationCount, 2);
  EXPECT_EQ(Locations[0]->Path, Dir / "P\\lib");
  EXPECT_TRUE(Locations[0]->Explicit);
  EXPECT_EQ(Unit("Helper")->Location, 0);
  EXPECT_EQ(Unit("Shared")->Location, 0);
  EXPECT_EQ(Unit("Early")->Location, 1);
  // lib ranks with "." so its units sort among the project's by level; ties
  // in reverse order of entry (Helper came in after Shared).
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"Helper", "Shared", "Early", "Demo"}));
  EXPECT_EQ(FileArray->Root->FileName, "Demo.DPR");

  // The next run finds lib already a location: no restart.
  Statuses.clear();
  AnalyseProjectFile(Dir / "P\\Demo.DPR");
  EXPECT_EQ(Statuses, (std::vector<std::string>{Msg::StatusInitializing, Msg::StatusSorting}));
  EXPECT_TRUE(Locations[0]->Explicit);  // set again by the IN path
}

TEST_F(Run_, InPathsIntoTheProjectDirectoryDoNotRestart) {
  Dir.Write("Q\\Q.dpr", ProgramText("Q", {"U in 'U.pas'", "V in '.\\V.pas'"}));
  Dir.Write("Q\\U.pas", UnitText("U", {}));
  Dir.Write("Q\\V.pas", UnitText("V", {}));
  AnalyseProjectFile(Dir / "Q\\Q.dpr");
  EXPECT_EQ(Statuses, (std::vector<std::string>{Msg::StatusInitializing, Msg::StatusSorting}));
  EXPECT_EQ(LocationCount, 1);
  EXPECT_TRUE(Locations[0]->Explicit);
}

TEST_F(Run_, AMissingProjectGivesTheUnresolvedRootAlone) {
  Dir.MakeDir("Empty");
  AnalyseProjectFile(Dir / "Empty\\Gone.dpr");
  ASSERT_EQ(FileArray->Count, 1);
  EXPECT_EQ(FileArray->Root->Name, "Gone");
  EXPECT_EQ(FileArray->Root->Location, -1);
  EXPECT_EQ(FileArray->Root->Level, 1);
}

TEST_F(Run_, AVanishedProjectDirectoryDoesNotPickUpAFileOfTheSameName) {
  Dir.Write("Old\\Twin.dpr", ProgramText("Twin", {"X"}));
  AnalyseProjectFile(Dir / "Old\\Twin.dpr");
  ASSERT_EQ(FileArray->Count, 2);
  AnalyseProjectFile(Dir / "Vanished\\Twin.dpr");
  ASSERT_EQ(FileArray->Count, 1);
  EXPECT_EQ(FileArray->Root->Location, -1);
  EXPECT_EQ(FileArray->Root->FileName, "");
  EXPECT_EQ(Statuses.back(), Msg::StatusSorting);
}

TEST_F(Run_, TheCurrentDirectoryLocationFollowsEachProjectsDirectory) {
  Dir.Write("One\\A.dpr", ProgramText("A", {"Common"}));
  Dir.Write("One\\Common.pas", UnitText("Common", {}));
  Dir.Write("Two\\B.dpr", ProgramText("B", {"Common"}));
  Dir.Write("Two\\Stale.pas", UnitText("Stale", {}));
  AnalyseProjectFile(Dir / "One\\A.dpr");
  ASSERT_EQ(LocationCount, 1);
  EXPECT_EQ(Locations[0]->Path, Dir / "One");
  Locations[0]->Colour = RGB(1, 2, 3);
  Locations[0]->Active = false;
  AnalyseProjectFile(Dir / "Two\\B.dpr");
  ASSERT_EQ(LocationCount, 1);
  const TLocation& current = *Locations[0];
  EXPECT_EQ(current.Path, Dir / "Two");
  EXPECT_EQ(current.UpperPath, UpperCaseAscii(Dir / "Two"));
  ASSERT_EQ(current.Files.Count(), 2);
  EXPECT_EQ(current.Files.Strings[0], Dir / "Two\\Stale.pas");
  EXPECT_EQ(current.Files.Strings[1], Dir / "Two\\B.dpr");
  // The user's settings of the entry stay.
  EXPECT_EQ(current.Colour, RGB(1, 2, 3));
  EXPECT_FALSE(current.Active);
  Locations[0]->Active = true;
  AnalyseProjectFile(Dir / "Two\\B.dpr");
  // Common is not taken from One, and Stale is offered as unused.
  EXPECT_EQ(Unit("Common")->Location, -1);
  EXPECT_EQ(Unit("B")->Location, 0);
  EXPECT_EQ(CountUnusedFiles(), 1);
  EXPECT_EQ(Locations[0]->Files.Objects[0], nullptr);
  EXPECT_EQ(Locations[0]->Files.Objects[1], Unit("B"));
}

TEST_F(Run_, ReleasingTheModelFreesBothParts) {
  Dir.Write("R.pas", UnitText("R", {}));
  AnalyseProjectFile(Dir / "R.pas");
  EXPECT_TRUE(FileArray->Root->IsUnit);
  ReleaseModel();
  EXPECT_EQ(FileArray, nullptr);
  EXPECT_EQ(UBase, nullptr);
  SortBranches();  // no model: nothing to do
}

TEST_F(Run_, ReleasingTheModelLeavesNoMarkOnTheLocations) {
  Dir.Write("M\\M.dpr", ProgramText("M", {"A"}));
  Dir.Write("M\\A.pas", UnitText("A", {}));
  AnalyseProjectFile(Dir / "M\\M.dpr");
  EXPECT_EQ(CountUnusedFiles(), 0);
  EXPECT_FALSE(Locations[0]->Unused);
  ReleaseModel();
  for (TFile* o : Locations[0]->Files.Objects) EXPECT_EQ(o, nullptr);
}

namespace {
std::vector<TFile*> Released;
}

TEST_F(Run_, AUnitFreedWithAnEditorIsReported) {
  Dir.Write("E\\E.dpr", ProgramText("E", {"A", "B"}));
  AnalyseProjectFile(Dir / "E\\E.dpr");
  TFile* a = Unit("A");
  a->Editor = reinterpret_cast<TfEditeur*>(&Dir);  // only compared
  Released.clear();
  OnUnitRelease = [](TFile* unit) { Released.push_back(unit); };
  ReleaseModel();
  OnUnitRelease = nullptr;
  EXPECT_EQ(Released, std::vector<TFile*>{a});
}

TEST_F(Run_, ALocationWhoseDirectoryVanishedFindsNothing) {
  Dir.Write("V\\V.dpr", ProgramText("V", {"Lib1"}));
  std::string lib = Dir.Write("lib\\Lib1.pas", UnitText("Lib1", {}));
  UseLocations({Dir / "lib"});
  ASSERT_EQ(Locations[0]->Files.Count(), 1);
  DeleteFileA(lib.c_str());
  RemoveDirectoryA((Dir / "lib").c_str());
  AnalyseProjectFile(Dir / "V\\V.dpr");
  EXPECT_EQ(Unit("Lib1")->Location, -1);
  EXPECT_EQ(CountUnusedFiles(), 0);  // the stale snapshot counts as an unused location
  EXPECT_TRUE(Locations[0]->Unused);
}

TEST_F(Run_, ASecondPassThatAddsALocationIsFollowedByAnother) {
  // C is found only once a\ is a location (second pass); its IN path then
  // adds d\ before ".", which moves "." up by one.
  Dir.Write("S\\S.dpr", ProgramText("S", {"Here", "C", "A in 'a\\A.pas'"}));
  Dir.Write("S\\Here.pas", UnitText("Here", {}));
  Dir.Write("S\\a\\A.pas", UnitText("A", {}));
  Dir.Write("S\\a\\C.pas", UnitText("C", {"D in 'd\\D.pas'"}));
  Dir.Write("S\\d\\D.pas", UnitText("D", {}));
  AnalyseProjectFile(Dir / "S\\S.dpr");
  EXPECT_EQ(Statuses, (std::vector<std::string>{Msg::StatusInitializing, Msg::StatusRestarting, Msg::StatusRestarting,
                                                Msg::StatusSorting}));
  EXPECT_FALSE(ImplicitLocationsFound);
  ASSERT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[0]->Path, Dir / "S\\a");
  EXPECT_EQ(Locations[1]->Path, Dir / "S\\d");
  EXPECT_EQ(Unit("Here")->Location, 2);
  EXPECT_EQ(Unit("S")->Location, 2);
  EXPECT_EQ(Unit("C")->Location, 0);
  EXPECT_EQ(Unit("D")->Location, 1);
}

namespace {

// Another program holding a file open with no sharing: opening it fails.
class TExclusiveLock {
 public:
  explicit TExclusiveLock(const std::string& path)
      : handle_(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~TExclusiveLock() {
    if (handle_ != INVALID_HANDLE_VALUE) CloseHandle(handle_);
  }
  TExclusiveLock(const TExclusiveLock&) = delete;
  TExclusiveLock& operator=(const TExclusiveLock&) = delete;
  bool Held() const { return handle_ != INVALID_HANDLE_VALUE; }

 private:
  HANDLE handle_;
};

std::string RunError(const std::string& path) {
  try {
    AnalyseProjectFile(path);
  } catch (const std::exception& e) {
    return e.what();
  }
  return std::string();
}

}  // namespace

TEST_F(Run_, AUnitThatCannotBeOpenedLeavesASortedModelWithTheUnitNotFound) {
  // P names A, then Mid, which names Locked: the walk stops inside Mid.
  Dir.Write("L\\P.dpr", ProgramText("P", {"A", "Mid", "Later"}));
  Dir.Write("L\\A.pas", UnitText("A", {}));
  Dir.Write("L\\Mid.pas", UnitText("Mid", {"A", "Locked"}, {"Later"}));
  const std::string locked = Dir.Write("L\\Locked.pas", UnitText("Locked", {"A"}));
  Dir.Write("L\\Later.pas", UnitText("Later", {}));
  TExclusiveLock lock(locked);
  ASSERT_TRUE(lock.Held());
  const std::string error = RunError(Dir / "L\\P.dpr");
  EXPECT_NE(error.find("Cannot open file"), std::string::npos) << error;
  EXPECT_NE(error.find("Locked"), std::string::npos) << error;
  SalvageInterruptedRun();  // as the window does before it draws

  ASSERT_NE(FileArray, nullptr);
  EXPECT_TRUE(FileArray->Sorted);
  TFile* failed = Unit("Locked");
  ASSERT_NE(failed, nullptr);
  EXPECT_EQ(failed->Location, -1);
  EXPECT_FALSE(failed->Found);
  EXPECT_EQ(failed->FileName, "");
  EXPECT_EQ(failed->InterfaceUses->Count, 0);
  // Not found first, then by level, the project last, as after any run.
  EXPECT_EQ(FileArray->Items[0], failed);
  EXPECT_EQ(FileArray->Items[FileArray->Count - 1], FileArray->Root);
  EXPECT_EQ(FileArray->Root->Name, "P");
  for (int i = 0; i < FileArray->Count; ++i) EXPECT_GE(FileArray->Items[i]->Level, 1) << FileArray->Items[i]->Name;
  // Mid was read up to the unit that failed, and ranks above what it uses.
  EXPECT_GT(Unit("Mid")->Level, Unit("A")->Level);
  EXPECT_GT(FileArray->Root->Level, Unit("Mid")->Level);
  // The files list does not count the failed file as used.
  const TLocation& here = *Locations[LocationCount - 1];
  int lockedEntries = 0;
  for (int i = 0; i < here.Files.Count(); ++i) {
    if (!SameTextAscii(ExtractFileName(here.Files.Strings[i]), "Locked.pas")) continue;
    ++lockedEntries;
    EXPECT_EQ(here.Files.Objects[i], nullptr);
  }
  EXPECT_EQ(lockedEntries, 1);
}

TEST_F(Run_, AProjectFileThatCannotBeOpenedIsItsOwnUnitNotFound) {
  const std::string project = Dir.Write("K\\K.dpr", ProgramText("K", {"A"}));
  Dir.Write("K\\A.pas", UnitText("A", {}));
  TExclusiveLock lock(project);
  ASSERT_TRUE(lock.Held());
  EXPECT_NE(RunError(project).find("Cannot open file"), std::string::npos);
  SalvageInterruptedRun();
  ASSERT_NE(FileArray, nullptr);
  ASSERT_EQ(FileArray->Count, 1);
  EXPECT_EQ(FileArray->Root->Location, -1);
  EXPECT_EQ(FileArray->Root->Level, 1);
  EXPECT_TRUE(FileArray->Sorted);
}
