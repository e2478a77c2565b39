#include <algorithm>

#include "Messages.h"
#include "ModelTestUtil.h"
#include "uChaines.h"

using namespace modeltest;

namespace {

class Locations_ : public ModelTest {};
class BasicUnits_ : public ModelTest {};
class FileHelpers : public ModelTest {};

std::vector<std::string> Sorted(std::vector<std::string> v) {
  std::sort(v.begin(), v.end());
  return v;
}

std::string Without(const std::string& full, const std::string& dir) { return full.substr(dir.size() + 1); }

}  // namespace

TEST_F(Locations_, ScanTakesPasThenDprThenIncWithEveryKindOfEntry) {
  TTempDir dir;
  dir.Write("b.pas", "");
  dir.Write("A.PAS", "");
  dir.Write("Proj.dpr", "");
  dir.Write("defs.inc", "");
  dir.Write("notes.txt", "");
  dir.Write("form.dfm", "");
  dir.MakeDir("Folder.pas");
  std::string hidden = dir.Write("secret.pas", "");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);

  TLocation l(dir.Path());
  EXPECT_EQ(l.Path, dir.Path());
  EXPECT_EQ(l.UpperPath, UpperCaseAscii(dir.Path()));
  ASSERT_EQ(l.Files.Count(), 6);
  ASSERT_EQ(l.UpperFiles.size(), 6u);
  std::vector<std::string> pas;
  for (int i = 0; i < 4; ++i) pas.push_back(Without(l.Files.Strings[i], dir.Path()));
  EXPECT_EQ(Sorted(pas), (std::vector<std::string>{"A.PAS", "Folder.pas", "b.pas", "secret.pas"}));
  EXPECT_EQ(l.Files.Strings[4], dir / "Proj.dpr");
  EXPECT_EQ(l.Files.Strings[5], dir / "defs.inc");
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(l.UpperFiles[i], UpperCaseAscii(l.Files.Strings[i]));
    EXPECT_EQ(l.Files.Objects[i], nullptr);
  }
  EXPECT_FALSE(l.Unused);
  EXPECT_FALSE(l.Explicit);
}

// During an analysis a location is made from the directory's one listing:
// the same entries in the same order as the searches by extension give; a
// file is marked used by its name in any case, once.
TEST_F(Locations_, TheAnalysisListingGivesTheSnapshotOfTheSearches) {
  TTempDir dir;
  for (int i = 0; i < 60; ++i) dir.Write("Unit" + std::to_string(i) + (i % 3 ? ".pas" : ".PAS"), "");
  for (const char* name : {"Proj.dpr", "Pack.dpk", "Free.lpr", "defs.inc", "x.pascal", "notes.txt", "Same.pas"})
    dir.Write(name, "");
  dir.MakeDir("Folder.pas");
  TLocation searched(dir.Path());
  TSearchScope scope;
  TLocation listed(dir.Path());
  EXPECT_EQ(listed.Files.Strings, searched.Files.Strings);
  EXPECT_EQ(listed.UpperFiles, searched.UpperFiles);
  EXPECT_EQ(listed.Files.Count(), 60 + 4 + 2);

  Locations[0] = std::make_unique<TLocation>(dir.Path());
  LocationCount = 1;
  const TLocation& l = *Locations[0];
  auto* first = reinterpret_cast<TFile*>(0x10);
  auto* second = reinterpret_cast<TFile*>(0x20);
  MarkFileUsed(0, dir / "same.PAS", first);
  MarkFileUsed(0, dir / "Same.pas", second);
  MarkFileUsed(0, dir / "Unit7.pas", first);
  MarkFileUsed(0, dir / "Missing.pas", second);
  std::vector<TFile*> marked;
  for (int i = 0; i < l.Files.Count(); ++i)
    if (l.Files.Objects[i]) marked.push_back(l.Files.Objects[i]);
  EXPECT_EQ(marked, (std::vector<TFile*>{first, first}));
}

TEST_F(Locations_, MoveToTakesAFreshSnapshotAndKeepsWhatTheUserSet) {
  TTempDir dir;
  dir.Write("a\\Old.pas", "");
  dir.Write("b\\New.pas", "");
  dir.Write("b\\New.inc", "");
  TLocation l(dir / "a");
  l.Colour = RGB(1, 2, 3);
  l.Basic = true;
  l.Active = false;
  l.Explicit = true;
  l.Unused = true;
  l.Files.Objects[0] = reinterpret_cast<TFile*>(&l);  // a mark of the old directory's use
  l.MoveTo(dir / "b");
  EXPECT_EQ(l.Path, dir / "b");
  EXPECT_EQ(l.UpperPath, UpperCaseAscii(dir / "b"));
  EXPECT_EQ(l.Files.Strings, (std::vector<std::string>{dir / "b\\New.pas", dir / "b\\New.inc"}));
  EXPECT_EQ(l.Files.Objects, (std::vector<TFile*>{nullptr, nullptr}));
  EXPECT_EQ(l.UpperFiles,
            (std::vector<std::string>{UpperCaseAscii(dir / "b\\New.pas"), UpperCaseAscii(dir / "b\\New.inc")}));
  EXPECT_FALSE(l.Unused);
  EXPECT_EQ(l.Colour, RGB(1, 2, 3));
  EXPECT_TRUE(l.Basic);
  EXPECT_FALSE(l.Active);
  EXPECT_TRUE(l.Explicit);
}

TEST_F(Locations_, PathIsExpandedAndMissingDirectoryGivesEmptyLists) {
  TTempDir dir;
  dir.Write("sub\\u.pas", "");
  SetCurrentDirectoryA(dir.Path().c_str());
  TLocation relative("sub");
  EXPECT_EQ(relative.Path, dir / "sub");
  EXPECT_EQ(relative.Files.Count(), 1);

  TLocation trailing(dir.Path() + "\\sub\\");
  EXPECT_EQ(trailing.Path, dir.Path() + "\\sub\\");  // the backslash stays in Path
  ASSERT_EQ(trailing.Files.Count(), 1);
  EXPECT_EQ(trailing.Files.Strings[0], dir / "sub\\u.pas");  // but not in the scanned names

  TLocation missing(dir / "nothing\\here");
  EXPECT_EQ(missing.Path, dir / "nothing\\here");
  EXPECT_EQ(missing.Files.Count(), 0);
  EXPECT_TRUE(missing.UpperFiles.empty());
  TLocation current(".");
  EXPECT_EQ(current.Path, dir.Path());
}

TEST_F(Locations_, AddLocationInsertsBeforeCurrentAndCopiesANeighboursColour) {
  TTempDir dir;
  UseLocations({});
  Locations[0]->Colour = RGB(1, 2, 3);
  // Only "." present: the new one is black.
  EXPECT_EQ(AddLocation(-1, dir / "a", false), 0);
  EXPECT_EQ(LocationCount, 2);
  EXPECT_EQ(Locations[0]->Colour, RGB(0, 0, 0));
  EXPECT_TRUE(Locations[0]->Active);
  EXPECT_FALSE(Locations[0]->Basic);
  EXPECT_EQ(Locations[1]->Path, StartDir);

  Locations[0]->Colour = RGB(10, 20, 30);
  // An index that is not a movable one goes just before ".".
  EXPECT_EQ(AddLocation(1, dir / "b", true), 1);
  EXPECT_EQ(Locations[1]->Colour, RGB(10, 20, 30));  // from the entry before
  EXPECT_TRUE(Locations[1]->Explicit);
  EXPECT_EQ(AddLocation(57, dir / "c", false), 2);
  Locations[2]->Colour = RGB(7, 7, 7);
  // At index 0 of a longer list: from the entry that follows.
  EXPECT_EQ(AddLocation(0, dir / "d", false), 0);
  EXPECT_EQ(Locations[0]->Colour, RGB(10, 20, 30));
  std::vector<std::string> paths;
  for (int i = 0; i < LocationCount; ++i) paths.push_back(Locations[i]->Path);
  EXPECT_EQ(paths, (std::vector<std::string>{dir / "d", dir / "a", dir / "b", dir / "c", StartDir}));
  EXPECT_EQ(Locations[LocationCount], nullptr);
}

TEST_F(Locations_, AddingAKnownDirectoryOnlyOverwritesItsExplicitFlag) {
  TTempDir dir;
  UseLocations({dir / "a", dir / "b"});
  Locations[1]->Explicit = true;
  EXPECT_EQ(AddLocation(0, UpperCaseAscii(dir / "b"), false), 1);
  EXPECT_FALSE(Locations[1]->Explicit);
  EXPECT_EQ(AddLocation(0, dir / "b", true), 1);
  EXPECT_TRUE(Locations[1]->Explicit);
  EXPECT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[0]->Path, dir / "a");
  EXPECT_EQ(FindLocation(dir / "B"), 1);
  EXPECT_EQ(FindLocation(dir / "b\\"), -1);  // callers pass no trailing backslash
  EXPECT_EQ(FindLocation(dir / "z"), -1);
}

TEST_F(Locations_, AdditionsStopAt99EntriesWithTheLimitMessage) {
  TTempDir dir;
  UseLocations({});
  for (int i = 0; LocationCount < 99; ++i) ASSERT_GE(AddLocation(-1, dir / (Numbered("d", i)), false), 0);
  EXPECT_TRUE(Recorder.Warnings.empty());
  EXPECT_EQ(AddLocation(-1, dir / "one-more", false), -1);
  EXPECT_EQ(LocationCount, 99);
  ASSERT_EQ(Recorder.Warnings.size(), 1u);
  EXPECT_EQ(Recorder.Warnings[0], Msg::LocationsLimit);
  EXPECT_EQ(Locations[98]->Path, StartDir);
  // Even a directory already present is refused once the list is full.
  EXPECT_EQ(AddLocation(-1, dir / "d0", true), -1);
  EXPECT_FALSE(Locations[0]->Explicit);
}

TEST_F(Locations_, AddingToAnEmptyListStartsIt) {
  TTempDir dir;
  EXPECT_EQ(AddLocation(-1, dir.Path(), true), 0);
  EXPECT_EQ(LocationCount, 1);
  EXPECT_EQ(Locations[0]->Path, dir.Path());
}

TEST_F(Locations_, CurrentDirectoryEntryCannotBeDeletedOrSwapped) {
  TTempDir dir;
  UseLocations({dir / "a", dir / "b", dir / "c"});
  DeleteLocation(3);
  DeleteLocation(-1);
  DeleteLocation(4);
  SwapLocations(0, 3);
  SwapLocations(3, 1);
  SwapLocations(-1, 0);
  EXPECT_EQ(LocationCount, 4);
  EXPECT_EQ(Locations[3]->Path, StartDir);
  SwapLocations(0, 2);
  EXPECT_EQ(Locations[0]->Path, dir / "c");
  EXPECT_EQ(Locations[2]->Path, dir / "a");
  DeleteLocation(1);
  EXPECT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[1]->Path, dir / "a");
  EXPECT_EQ(Locations[2]->Path, StartDir);
  EXPECT_EQ(Locations[3], nullptr);
  EXPECT_TRUE(IsMovableLocation(1));
  EXPECT_FALSE(IsMovableLocation(2));
  EXPECT_TRUE(IsLocationIndex(2));
  EXPECT_FALSE(IsLocationIndex(3));
}

TEST_F(Locations_, ColoursFollowTheIndex) {
  TTempDir dir;
  UseLocations({dir / "a"});
  Locations[0]->Colour = RGB(200, 100, 50);
  Locations[1]->Colour = RGB(1, 1, 1);
  BasicUnitsColour = RGB(0, 0, 255);
  NotFoundColour = RGB(255, 0, 0);
  EXPECT_EQ(LocationColour(-2), RGB(0, 0, 255));
  EXPECT_EQ(LocationColour(-1), RGB(255, 0, 0));
  EXPECT_EQ(LocationColour(0), RGB(200, 100, 50));
  EXPECT_EQ(LocationColour(1), RGB(1, 1, 1));
  EXPECT_EQ(LocationColour(2), RGB(0, 0, 0));
  EXPECT_EQ(LocationColour(100), RGB(0, 0, 0));
  EXPECT_EQ(LocationColour(-3), RGB(0, 0, 0));
}

TEST_F(Locations_, ExplicitLocationsRankAsTheCurrentDirectory) {
  TTempDir dir;
  UseLocations({dir / "a", dir / "b"});
  Locations[0]->Explicit = true;
  EXPECT_EQ(EffectiveLocation(0), 2);
  EXPECT_EQ(EffectiveLocation(1), 1);
  EXPECT_EQ(EffectiveLocation(2), 2);
  EXPECT_EQ(EffectiveLocation(-1), -1);
  EXPECT_EQ(EffectiveLocation(-2), -2);
  EXPECT_EQ(EffectiveLocation(7), 7);
}

TEST_F(Locations_, UsageMarksAndUnusedCounts) {
  TTempDir dir;
  dir.Write("used\\a.pas", "");
  dir.Write("used\\b.pas", "");
  dir.Write("used\\c.inc", "");
  dir.Write("idle\\x.pas", "");
  dir.MakeDir("empty");
  UseLocations({dir / "used", dir / "idle", dir / "empty"});
  TFile* marker = reinterpret_cast<TFile*>(&dir);  // only compared, never used
  TFile* other = reinterpret_cast<TFile*>(&Recorder);

  // Relative names are expanded first; case does not matter.
  SetCurrentDirectoryA((dir / "used").c_str());
  MarkFileUsed(0, "A.PAS", marker);
  MarkFileUsed(0, dir / "nothing.pas", other);
  MarkFileUsed(7, "a.pas", other);  // not a location: ignored
  int a = -1;
  for (int i = 0; i < Locations[0]->Files.Count(); ++i)
    if (Locations[0]->UpperFiles[i] == UpperCaseAscii(dir / "used\\a.pas")) a = i;
  ASSERT_GE(a, 0);
  EXPECT_EQ(Locations[0]->Files.Objects[a], marker);
  // An entry already used is skipped: a second unit for the same file marks nothing.
  MarkFileUsed(0, dir / "used\\a.pas", other);
  EXPECT_EQ(std::count(Locations[0]->Files.Objects.begin(), Locations[0]->Files.Objects.end(), other), 0);

  Locations[1]->Explicit = true;
  EXPECT_EQ(CountUnusedFiles(), 2);  // b.pas and c.inc; idle and empty count nothing
  EXPECT_FALSE(Locations[0]->Unused);
  EXPECT_TRUE(Locations[1]->Unused);
  EXPECT_TRUE(Locations[2]->Unused);
  EXPECT_TRUE(Locations[3]->Unused);  // "." holds no source here

  ResetLocationMarks();
  EXPECT_EQ(Locations[0]->Files.Objects[a], nullptr);
  EXPECT_FALSE(Locations[1]->Explicit);
  EXPECT_FALSE(Locations[1]->Unused);
  EXPECT_EQ(CountUnusedFiles(), 0);
  EXPECT_TRUE(Locations[0]->Unused);
}

TEST_F(BasicUnits_, AddRefusesDuplicatesExactlyAndStopsAt49) {
  EXPECT_TRUE(AddBasicUnit("SysUtils"));
  EXPECT_TRUE(AddBasicUnit("SYSUTILS"));  // case differs: another name
  EXPECT_FALSE(AddBasicUnit("SysUtils"));
  ASSERT_EQ(Recorder.Warnings, std::vector<std::string>{Msg::BasicUnitDuplicate});
  EXPECT_EQ(BasicUnitCount, 2);
  while (BasicUnitCount < 49) ASSERT_TRUE(AddBasicUnit(Numbered("U", BasicUnitCount)));
  EXPECT_FALSE(AddBasicUnit("Fiftieth"));
  EXPECT_EQ(Recorder.Warnings.back(), Msg::BasicUnitsLimit);
  EXPECT_EQ(BasicUnitCount, 49);
  // A loaded list may hold 50; adding is still refused.
  BasicUnits[49] = "Loaded";
  BasicUnitCount = 50;
  EXPECT_FALSE(AddBasicUnit("Another"));
  EXPECT_EQ(BasicUnitCount, 50);
  EXPECT_EQ(BasicUnits[50], "");
}

TEST_F(BasicUnits_, RemoveTakesTheLastExactMatchOrNamesTheMissingOne) {
  RemoveBasicUnit("Forms");
  ASSERT_EQ(Recorder.Warnings, std::vector<std::string>{"Forms cannot be found in the list."});
  BasicUnits[0] = "A";
  BasicUnits[1] = "B";
  BasicUnits[2] = "A";
  BasicUnits[3] = "C";
  BasicUnitCount = 4;
  RemoveBasicUnit("a");
  EXPECT_EQ(Recorder.Warnings.back(), std::string("a") + Msg::BasicUnitMissing);
  EXPECT_EQ(BasicUnitCount, 4);
  RemoveBasicUnit("A");
  EXPECT_EQ(BasicUnitCount, 3);
  EXPECT_EQ((std::vector<std::string>{BasicUnits[0], BasicUnits[1], BasicUnits[2], BasicUnits[3]}),
            (std::vector<std::string>{"A", "B", "C", ""}));
  EXPECT_EQ(Recorder.Warnings.size(), 2u);
}

TEST_F(FileHelpers, SearchTriesTheBareNameThenEachDirectoryOfTheList) {
  TTempDir dir;
  dir.Write("one\\u.pas", "");
  dir.Write("two\\u.pas", "");
  dir.Write("two\\v.pas", "");
  dir.MakeDir("three\\w.pas");  // a directory is not a file
  dir.Write("here\\u.pas", "");
  SetCurrentDirectoryA((dir / "here").c_str());
  EXPECT_EQ(FileSearch("u.pas", dir / "one"), "u.pas");
  EXPECT_EQ(FileSearch("v.pas", dir / "one;" + dir / "two"), dir / "two\\v.pas");
  EXPECT_EQ(FileSearch("V.PAS", ";" + dir / "one;;" + dir / "two\\"), dir / "two\\V.PAS");
  EXPECT_EQ(FileSearch("w.pas", dir / "three"), "");
  EXPECT_EQ(FileSearch("x.pas", dir / "one;" + dir / "two"), "");
  EXPECT_EQ(FileSearch("", dir / "one"), "");
  EXPECT_EQ(FileSearch("x.pas", ""), "");
}

TEST_F(FileHelpers, PathPartsAndExpansion) {
  EXPECT_EQ(ExtractFilePath("C:\\P\\Demo.dpr"), "C:\\P\\");
  EXPECT_EQ(ExtractFileName("C:\\P\\Demo.dpr"), "Demo.dpr");
  EXPECT_EQ(ExtractFileExt("C:\\P\\Demo.dpr"), ".dpr");
  EXPECT_EQ(ExtractFileExt("C:\\P.d\\Demo"), "");
  EXPECT_EQ(ExtractFileName("lib/b.pas"), "b.pas");
  EXPECT_EQ(ExtractFilePath("b.pas"), "");
  EXPECT_EQ(ExtractFilePath("C:b.pas"), "C:");
  TTempDir dir;
  SetCurrentDirectoryA(dir.Path().c_str());
  EXPECT_EQ(ExpandFileName("lib\\..\\b.pas"), dir / "b.pas");
  EXPECT_EQ(ExpandFileName("C:\\"), "C:\\");
  EXPECT_TRUE(FileExists(dir.Write("f.pas", "x")));
  EXPECT_FALSE(FileExists(dir.Path()));
  EXPECT_FALSE(FileExists(dir / "g.pas"));
}

TEST_F(FileHelpers, ASearchScopeAnswersPlainNamesFromOneListingPerDirectory) {
  TTempDir dir;
  dir.Write("lib\\Unit1.pas", "");
  dir.MakeDir("lib\\Folder.pas");
  std::string hidden = dir.Write("lib\\Hidden.pas", "");
  SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  dir.Write("Here.pas", "");
  SetCurrentDirectoryA(dir.Path().c_str());
  const std::string lib = dir / "lib\\";
  {
    TSearchScope scope;
    EXPECT_TRUE(FileExistsIn(lib, "UNIT1.PAS"));
    EXPECT_TRUE(FileExistsIn(dir / "lib", "unit1.pas"));  // with or without the backslash
    EXPECT_TRUE(FileExistsIn(lib, "Hidden.pas"));
    EXPECT_FALSE(FileExistsIn(lib, "Folder.pas"));
    EXPECT_FALSE(FileExistsIn(lib, "Unit2.pas"));
    EXPECT_FALSE(FileExistsIn(dir / "none\\", "Unit1.pas"));
    EXPECT_TRUE(FileExistsIn("", "here.PAS"));
    EXPECT_EQ(FileSearch("Unit1.pas", dir / "none;" + dir / "lib"), lib + "Unit1.pas");
    // Names the listing cannot answer exactly go to the file system.
    dir.Write("lib\\Unité.pas", "");
    dir.Write("lib\\UNIT~9.PAS", "");
    EXPECT_TRUE(FileExistsIn(lib, "Unité.pas"));
    EXPECT_TRUE(FileExistsIn(lib, "UNIT~9.PAS"));
    EXPECT_TRUE(FileExistsIn("", "lib\\Unit1.pas"));
    {
      TSearchScope nested;  // shares the outer listings
      dir.Write("lib\\Later.pas", "");
      EXPECT_FALSE(FileExistsIn(lib, "Later.pas"));
    }
    EXPECT_FALSE(FileExistsIn(lib, "Later.pas"));
  }
  // Outside a scope every name is asked for.
  EXPECT_TRUE(FileExistsIn(lib, "Later.pas"));
  EXPECT_FALSE(FileExistsIn(lib, "Folder.pas"));
}

TEST_F(Locations_, AnEmptyDirectoryNameListsNothingAndLongerExtensionsAreNotSources) {
  TLocation none("");
  EXPECT_EQ(none.Path, "");
  EXPECT_EQ(none.Files.Count(), 0);
  TTempDir dir;
  dir.Write("real.pas", "");
  dir.Write("backup.pasold", "");
  dir.Write("notes.pas.txt", "");
  TLocation l(dir.Path());
  ASSERT_EQ(l.Files.Count(), 1);
  EXPECT_EQ(l.Files.Strings[0], dir / "real.pas");
}
