#include "BufLec.h"
#include "Messages.h"
#include "ModelTestUtil.h"
#include "uChaines.h"

using namespace modeltest;

namespace {

class Resolution : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    SetCurrentDirectoryA(Dir.Path().c_str());
  }
  void TearDown() override {
    ModelTest::TearDown();  // leaves Dir before it is removed
  }
  TTempDir Dir;
};

class Analysis_ : public Resolution {
 protected:
  // A run over the project in Dir, with "." and the given locations.
  void Run(const std::string& root, bool project, const std::vector<std::string>& dirs = {}) {
    UseLocations(dirs);
    FileArray = std::make_unique<TFileArray>(true);
    UBase = std::make_unique<TUBase>();
    FileArray->AddRoot(new TFile(root, "", project));
  }
  static std::string Levels() {
    std::string text;
    for (int i = 0; i < FileArray->Count; ++i)
      text += FileArray->Items[i]->Name + Numbered("=", FileArray->Items[i]->Level) + " ";
    return text;
  }
};

}  // namespace

TEST_F(Resolution, ProjectFileIsSearchedAsDprOnceThenUnitsAsPas) {
  Dir.Write("Demo.dpr", "");
  Dir.Write("Demo.pas", "");
  UseLocations({});
  TFile project("Demo", "", true);
  EXPECT_EQ(project.FileName, "Demo.DPR");
  EXPECT_EQ(project.Location, 0);
  EXPECT_TRUE(project.Found);
  TFile unit("Demo", "");
  EXPECT_EQ(unit.FileName, "Demo.PAS");
  EXPECT_FALSE(unit.Analysed);
  EXPECT_FALSE(unit.Hidden);
  EXPECT_EQ(unit.Editor, nullptr);
  EXPECT_EQ(unit.Level, 0);
  ASSERT_NE(unit.InterfaceUses, nullptr);
  EXPECT_EQ(unit.InterfaceUses->Count, 0);
  // The location's snapshot links the file to the unit record.
  int used = 0;
  for (TFile* o : Locations[0]->Files.Objects) used += o == &unit || o == &project;
  EXPECT_EQ(used, 2);
}

TEST_F(Resolution, LocationsAreSearchedFromTheCurrentDirectoryDownToTheFirst) {
  Dir.Write("first\\Shared.pas", "");
  Dir.Write("second\\Shared.pas", "");
  Dir.Write("first\\Deep.pas", "");
  Dir.Write("Here.pas", "");
  Dir.Write("second\\Here.pas", "");
  UseLocations({Dir / "first", Dir / "second"});
  TFile shared("Shared", "");
  EXPECT_EQ(shared.Location, 1);
  EXPECT_EQ(shared.FileName, Dir / "second\\Shared.PAS");
  TFile deep("deep", "");
  EXPECT_EQ(deep.Location, 0);
  TFile here("Here", "");
  EXPECT_EQ(here.Location, 2);
  EXPECT_EQ(here.FileName, "Here.PAS");
  TFile none("Nowhere", "");
  EXPECT_EQ(none.Location, -1);
  EXPECT_EQ(none.FileName, "");
  EXPECT_FALSE(none.Found);
  // No location at all: nothing to search.
  ClearLocations();
  TFile lost("Here", "");
  EXPECT_EQ(lost.Location, -1);
}

TEST_F(Resolution, BasicUnitsAreConsultedOnlyWhenNoLocationHasTheFile) {
  Dir.Write("SysUtils.pas", "");
  UseLocations({});
  BasicUnits[0] = "Classes";
  BasicUnits[1] = "SYSUTILS";
  BasicUnits[2] = "classes";
  BasicUnitCount = 3;
  TFile sys("SysUtils", "");
  EXPECT_EQ(sys.Location, 0);  // the location search wins
  TFile classes("Classes", "");
  EXPECT_EQ(classes.Location, -2);
  EXPECT_EQ(classes.BasicIndex, 2);  // the last match
  EXPECT_EQ(classes.FileName, "");
  EXPECT_FALSE(classes.Found);
}

TEST_F(Resolution, BasicAndInactiveLocationsOverrideTheSearch) {
  Dir.Write("rtl\\Windows.pas", "");
  Dir.Write("off\\Old.pas", "");
  Dir.Write("early\\Old.pas", "");
  UseLocations({Dir / "early", Dir / "rtl", Dir / "off"});
  Locations[1]->Basic = true;
  Locations[2]->Active = false;
  BasicUnits[0] = "Old";
  BasicUnitCount = 1;
  TFile windows("Windows", "");
  EXPECT_EQ(windows.Location, -2);
  EXPECT_EQ(windows.BasicIndex, 0);
  EXPECT_EQ(windows.FileName, "");
  // Found in an inactive location: not found, no later location, no basic list.
  TFile old("Old", "");
  EXPECT_EQ(old.Location, -1);
  EXPECT_EQ(old.FileName, "");
  EXPECT_EQ(std::count(Locations[1]->Files.Objects.begin(), Locations[1]->Files.Objects.end(), &windows), 0);
}

TEST_F(Resolution, InPathIntoANewDirectoryAddsAnExplicitLocation) {
  std::string b = Dir.Write("lib\\b.pas", "");
  UseLocations({Dir / "other"});
  Locations[1]->Colour = RGB(3, 3, 3);
  TFile unit("B", "lib\\b.pas");
  EXPECT_TRUE(ImplicitLocationsFound);
  ASSERT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[1]->Path, Dir / "lib");
  EXPECT_TRUE(Locations[1]->Explicit);
  EXPECT_EQ(Locations[2]->Path, Dir.Path());
  EXPECT_EQ(unit.Location, 1);
  EXPECT_EQ(unit.FileName, b);
  EXPECT_EQ(Locations[1]->Files.Objects[0], &unit);

  // Already a location: only its Explicit flag is set.
  ImplicitLocationsFound = false;
  Locations[1]->Explicit = false;
  TFile again("B2", "LIB\\B.PAS");
  EXPECT_FALSE(ImplicitLocationsFound);
  EXPECT_EQ(LocationCount, 3);
  EXPECT_EQ(again.Location, 1);
  EXPECT_TRUE(Locations[1]->Explicit);
}

TEST_F(Resolution, InPathWithoutDirectoryOrToAMissingFileFallsBackToTheSearch) {
  Dir.Write("Actual.pas", "");
  Dir.Write("lib\\Real.pas", "");
  UseLocations({Dir / "lib"});
  TFile plain("Alias", "Actual.pas");
  EXPECT_EQ(plain.Location, 1);
  EXPECT_EQ(plain.FileName, "Actual.pas");
  TFile moved("Real", "gone\\Real.pas");
  EXPECT_FALSE(ImplicitLocationsFound);
  EXPECT_EQ(moved.Location, 0);
  EXPECT_EQ(moved.FileName, Dir / "lib\\Real.pas");
  TFile lost("Lost", "gone\\Lost.pas");
  EXPECT_EQ(lost.Location, -1);
  EXPECT_EQ(lost.FileName, "");
  EXPECT_EQ(LocationCount, 2);
}

TEST_F(Resolution, FindOrAddMatchesNamesWithoutCaseAndKeepsTheFirstForm) {
  UseLocations({});
  FileArray = std::make_unique<TFileArray>(true);
  TFile* first = FileArray->FindOrAdd("SysUtils", "");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(FileArray->FindOrAdd("SYSUTILS", "x\\y.pas"), first);
  EXPECT_EQ(FileArray->Count, 1);
  EXPECT_EQ(first->Name, "SysUtils");
  EXPECT_TRUE(first->Analysed);  // not deferring: analysed at once
  EXPECT_EQ(first->Level, 1);
  EXPECT_EQ(FileArray->IndexOf(first), 0);
  EXPECT_EQ(FileArray->IndexOf(nullptr), TFileArray::NotFound);
  EXPECT_FALSE(FileArray->Sorted);
}

TEST_F(Resolution, AFullArrayRefusesThe1001stUnitWithAWarning) {
  UseLocations({});
  FileArray = std::make_unique<TFileArray>(true);
  for (int i = 0; i < 1000; ++i) ASSERT_NE(FileArray->FindOrAdd(Numbered("U", i), ""), nullptr);
  EXPECT_TRUE(Recorder.Stops.empty());
  EXPECT_EQ(FileArray->FindOrAdd("OneTooMany", ""), nullptr);
  EXPECT_EQ(FileArray->Count, 1000);
  EXPECT_EQ(Recorder.Stops, std::vector<std::string>{Msg::UnitsArrayFull});
  EXPECT_NE(FileArray->FindOrAdd("u999", ""), nullptr);  // known names are still found
  EXPECT_EQ(FileArray->GetCount(), 1000);
}

TEST_F(Resolution, PerUnitListsAreBoundedAndIgnoreNil) {
  UseLocations({});
  TFile unit("Some", "");
  unit.Analysed = true;
  TFileArray list;
  EXPECT_EQ(list.Add(nullptr), nullptr);
  EXPECT_EQ(list.Count, 0);
  EXPECT_TRUE(list.Sorted);
  for (int i = 0; i < 1200; ++i) EXPECT_EQ(list.Add(&unit), &unit);
  EXPECT_EQ(list.Count, TFileArray::Slots);
  EXPECT_EQ(list.Items[1000], &unit);
  EXPECT_EQ(list.MaxLevel(), 0);
}

TEST_F(Analysis_, RootIsAnalysedFirstThenItsUnitsDepthFirst) {
  Dir.Write("P.dpr", ProgramText("P", {"A", "B in 'B.pas'", "Missing"}));
  Dir.Write("A.pas", UnitText("A", {"C"}, {"D"}));
  Dir.Write("B.pas", UnitText("B", {}, {"A"}));
  Dir.Write("C.pas", UnitText("C", {}));
  Dir.Write("D.pas", UnitText("D", {"C"}));
  std::vector<std::string> shown;
  static std::vector<std::string>* sink;
  sink = &shown;
  SetStatusHooks(nullptr, [](const std::string& t) { sink->push_back(t); });
  Run("P", true);
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"P", "A", "B", "Missing", "C", "D"}));
  EXPECT_EQ(shown, (std::vector<std::string>{"P", "A", "C", "D", "B"}));
  EXPECT_EQ(Levels(), "P=5 A=3 B=4 Missing=1 C=1 D=2 ");
  TFile* p = Unit("P");
  EXPECT_FALSE(p->IsUnit);
  EXPECT_TRUE(Unit("A")->IsUnit);
  EXPECT_EQ(p->InterfaceUses->Count, 0);
  EXPECT_EQ(Names(*p->ImplementationUses), (std::vector<std::string>{"A", "B", "Missing"}));
  EXPECT_EQ(Names(*Unit("A")->InterfaceUses), std::vector<std::string>{"C"});
  EXPECT_EQ(Names(*Unit("A")->ImplementationUses), std::vector<std::string>{"D"});
  EXPECT_EQ(FileArray->Root, p);
  EXPECT_FALSE(Deferring);
  EXPECT_EQ(Unit("Missing")->Location, -1);
  EXPECT_EQ(FileArray->MaxLevel(), 5);
}

TEST_F(Analysis_, CyclesAndSelfUseEndWithTheLevelsOfTheMomentTheyCloseAt) {
  Dir.Write("P.dpr", ProgramText("P", {"A"}));
  Dir.Write("A.pas", UnitText("A", {"B"}));
  Dir.Write("B.pas", UnitText("B", {}, {"A", "B"}));
  Run("P", true);
  EXPECT_EQ(Levels(), "P=3 A=2 B=1 ");
  EXPECT_EQ(Names(*Unit("B")->ImplementationUses), (std::vector<std::string>{"A", "B"}));
}

TEST_F(Analysis_, AUnitOpenedInsteadOfAProjectIsTheRoot) {
  Dir.Write("Lonely.pas", UnitText("Lonely", {"Helper"}));
  Dir.Write("Helper.pas", UnitText("Helper", {}));
  Dir.Write("Lonely.dpr", ProgramText("Lonely", {"Other"}));
  Run("Lonely", false);
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"Lonely", "Helper"}));
  EXPECT_TRUE(FileArray->Root->IsUnit);
  EXPECT_EQ(FileArray->Root->FileName, "Lonely.PAS");
}

TEST_F(Analysis_, NamesBeyondTheArraysCapacityAreDroppedFromTheirClause) {
  std::vector<std::string> names;
  for (int i = 0; i < 1005; ++i) names.push_back(Numbered("N", i));
  Dir.Write("Big.dpr", ProgramText("Big", names));
  Run("Big", true);
  EXPECT_EQ(FileArray->Count, 1000);
  EXPECT_EQ(FileArray->Root->ImplementationUses->Count, 999);
  // One question for the run; the other dropped names are counted.
  EXPECT_EQ(Recorder.Stops, std::vector<std::string>{Msg::UnitsArrayFull});
  EXPECT_EQ(FileArray->DroppedEntries, 6u);
  EXPECT_EQ(FileArray->Root->Level, 2);
}

TEST_F(Analysis_, AClauseRepeatingANameKeepsEveryEntryUpToTheListsSlots) {
  std::vector<std::string> names(1100, "Twice");
  Dir.Write("Rep.dpr", ProgramText("Rep", names));
  Run("Rep", true);
  EXPECT_EQ(FileArray->Count, 2);
  EXPECT_EQ(FileArray->Root->ImplementationUses->Count, TFileArray::Slots);
  // The entries beyond are dropped as the array drops units: said once, counted.
  EXPECT_EQ(Recorder.Stops, std::vector<std::string>{Msg::UnitsArrayFull});
  EXPECT_EQ(FileArray->DroppedEntries, 1100u - TFileArray::Slots);
}

TEST_F(Analysis_, AChainAsLongAsTheArrayAllowsDoesNotExhaustTheStack) {
  const int n = 999;
  Dir.Write("Chain.dpr", ProgramText("Chain", {"C0"}));
  for (int i = 0; i < n; ++i) {
    std::vector<std::string> uses;
    if (i + 1 < n) uses.push_back(Numbered("C", i + 1));
    Dir.Write(Numbered("C", i) + ".pas", UnitText(Numbered("C", i), uses));
  }
  Run("Chain", true);
  ASSERT_EQ(FileArray->Count, 1000);
  EXPECT_EQ(FileArray->Root->Level, 1000);
  EXPECT_EQ(Unit("C0")->Level, 999);
  EXPECT_TRUE(Recorder.Stops.empty());
}

TEST_F(Analysis_, AnUnreadableUnitStopsTheRunWithAnInputOutputError) {
  Dir.Write("P.dpr", ProgramText("P", {"Good", "Locked", "Later"}));
  Dir.Write("Good.pas", UnitText("Good", {}));
  std::string locked = Dir.Write("Locked.pas", UnitText("Locked", {}));
  Dir.Write("Later.pas", UnitText("Later", {}));
  HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  EXPECT_THROW(Run("P", true), EInOutError);
  CloseHandle(h);
  // The partial model stays: Locked was resolved, Later not yet analysed.
  ASSERT_NE(FileArray, nullptr);
  EXPECT_EQ(FileArray->Count, 4);
  EXPECT_TRUE(Unit("Good")->Analysed);
  EXPECT_TRUE(Unit("Locked")->Analysed);
  EXPECT_FALSE(Unit("Later")->Analysed);
  EXPECT_FALSE(Deferring);
}

TEST_F(Analysis_, ADirectoryNamedLikeAUnitIsNotFound) {
  Dir.Write("P.dpr", ProgramText("P", {"Folder"}));
  Dir.MakeDir("Folder.pas");
  Run("P", true);
  EXPECT_EQ(Unit("Folder")->Location, -1);
  EXPECT_EQ(Unit("Folder")->Level, 1);
}
