// The locations and basic units editors, opened from the Options menu,
// worked inside their modal loops; closing them with their Close button
// analyses the project again, and the changes reach the registry when the
// program ends.
#include "LaterWindows.h"
#include "WindowsTestSupport.h"
#include "ufLocalisations.h"
#include "ufRepertoire.h"
#include "ufUnitsdebase.h"

namespace {

// A project whose unit Lib lives in a stored location "lib"; the locations
// "a" and "b" are stored before it.
class LocationsEditor : public ToolWindowsTest {
 protected:
  void SetUp() override {
    ToolWindowsTest::SetUp();
    Project.Write("Proj.dpr", {"program Proj;", "uses Lib;", "begin", "end."});
    A = Project.Make("a");
    B = Project.Make("b");
    LibDir = Project.Make("lib");
    Project.Write("lib\\Lib.pas", {"unit Lib;", "interface", "implementation", "end."});
    Fresh = Project.Make("fresh");
    Project.Write("fresh\\Fresh.pas", {"unit Fresh;", "interface", "implementation", "end."});
    const std::string stored[] = {A, B, LibDir};
    Settings->WriteInteger(Reg::Locations, Reg::Count, 3);
    for (int i = 0; i < 3; ++i) {
      Settings->WriteString(Reg::Locations, std::string(Reg::Location) + std::to_string(i), stored[i]);
      Settings->WriteBool(Reg::Locations, std::string(Reg::LocationActive) + std::to_string(i), true);
    }
    fUsagram->Afficherlalistedesfichiers1Click();  // no files list in the way
    Open(Project / "Proj.dpr");
    ASSERT_EQ(LocationCount, 4);
  }

  static std::vector<std::string> Paths() {
    std::vector<std::string> paths;
    for (int i = 0; i < LocationCount; ++i) paths.push_back(Locations[i]->Path);
    return paths;
  }

  static TDrawGrid& Grid() { return fLocalisations->DrawGrid; }
  static void Select(int col, int row) { Grid().SetCell(col, row); }
  static void Key(WORD key) {
    SendMessageA(Grid().Handle(), WM_KEYDOWN, key, 1);
    SendMessageA(Grid().Handle(), WM_KEYUP, key, 0xC0000001);
  }
  static POINT CellCentre(int col, int row) {
    const RECT r = Grid().CellRect(col, row);
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  static void DoubleClick(int col, int row) {
    const POINT p = CellCentre(col, row);
    const LPARAM at = MAKELPARAM(p.x, p.y);
    SendMessageA(Grid().Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(Grid().Handle(), WM_LBUTTONUP, 0, at);
    SendMessageA(Grid().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(Grid().Handle(), WM_LBUTTONUP, 0, at);
  }

  // Runs command, which opens the directory window; there the line of
  // directory is highlighted and OK chosen. A message box that follows is
  // answered with OK and its text kept in box. The window's caption.
  static std::string ChooseDirectory(const std::function<void()>& command, const std::string& directory,
                                     std::string* box = nullptr) {
    std::string caption;
    TModalAnswer choose(
        [&](HWND h) {
          char cls[64] = {};
          GetClassNameA(h, cls, sizeof cls);
          if (std::string(cls) == "#32770") {
            char text[512] = {};
            GetDlgItemTextA(h, 0xFFFF, text, sizeof text);
            if (box) *box = text;
            TModalAnswer::PostButton(h, IDOK);
            return;
          }
          if (h != fRepertoire->Handle()) return;
          caption = fRepertoire->Caption();
          TDirectoryListBox& list = fRepertoire->Rep;
          list.SetDirectory(ExtractFileDir(directory));
          for (int i = 0; i < list.Count(); ++i)
            if (list.GetItemPath(i) == directory) list.SetItemIndex(i);
          fRepertoire->BitBtn1.Click();
        },
        nullptr);
    command();
    return caption;
  }

  TTempDirectory Project{"locations"};
  std::string A, B, LibDir, Fresh;
};

TEST_F(LocationsEditor, GridMovesDeletesAndFlagsWithinItsBoundaries) {
  const std::string current = Project.Path;
  EXPECT_EQ(Paths(), (std::vector<std::string>{A, B, LibDir, current}));
  bool inside = false;
  auto work = [&] {
    inside = true;
    TDrawGrid& grid = Grid();
    EXPECT_EQ(grid.RowCount(), 5);
    EXPECT_EQ(grid.ColWidths(lcBasic), grid.ColWidths(lcActive));
    EXPECT_EQ(grid.ColWidths(lcPath), grid.ClientWidth() - grid.ColWidths(lcColour) - 2 * grid.ColWidths(lcActive) -
                                          5 * grid.GridLineWidth());

    // Up on the first row, down on the last real row and on ".": nothing.
    Select(0, 1);
    fLocalisations->Haut.Click();
    Select(0, 3);
    fLocalisations->Bas.Click();
    Select(0, 4);
    fLocalisations->Bas.Click();
    fLocalisations->bSupprimer.Click();  // "." cannot go
    EXPECT_EQ(Paths(), (std::vector<std::string>{A, B, LibDir, current}));
    EXPECT_EQ(grid.RowCount(), 5);
    // Down on the first row; the selection stays on its row.
    Select(0, 1);
    fLocalisations->Bas.Click();
    EXPECT_EQ(Paths(), (std::vector<std::string>{B, A, LibDir, current}));
    EXPECT_EQ(grid.Row(), 1);
    Select(0, 2);
    fLocalisations->Haut.Click();
    EXPECT_EQ(Paths(), (std::vector<std::string>{A, B, LibDir, current}));

    // Enter edits as a double click does; a double click on the header edits nothing.
    Select(lcActive, 3);
    Key(VK_RETURN);
    EXPECT_FALSE(Locations[2]->Active);
    DoubleClick(lcBasic, 1);
    EXPECT_TRUE(Locations[0]->Basic);
    EXPECT_EQ(grid.Row(), 1);
    DoubleClick(lcBasic, 0);
    EXPECT_TRUE(Locations[0]->Basic);
    DoubleClick(lcActive, 3);
    EXPECT_TRUE(Locations[2]->Active);

    // The Delete key acts as the button.
    Select(0, 2);
    Key(VK_DELETE);
    EXPECT_EQ(Paths(), (std::vector<std::string>{A, LibDir, current}));
    EXPECT_EQ(grid.RowCount(), 4);
    fLocalisations->Button1.Click();
  };
  EXPECT_EQ(Modal(*fLocalisations, [] { fUsagram->Localisations1Click(); }, work), 1);
  EXPECT_TRUE(inside);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LocationsEditor, InsertGoesAboveTheCurrentDirectoryAndNeverTwice) {
  std::string caption;
  auto work = [&] {
    // The Insert key, with the current directory's row selected.
    Select(0, 4);
    caption = ChooseDirectory([] { Key(VK_INSERT); }, Fresh);
    EXPECT_EQ(Paths(), (std::vector<std::string>{A, B, LibDir, Fresh, Project.Path}));
    EXPECT_EQ(Grid().RowCount(), 6);
    EXPECT_EQ(Locations[3]->Colour, Locations[2]->Colour);
    // The same directory again adds no row.
    Select(0, 1);
    ChooseDirectory([] { fLocalisations->bInserer.Click(); }, Fresh);
    EXPECT_EQ(LocationCount, 5);
    EXPECT_EQ(Grid().RowCount(), 6);
    // Closed through the frame: no new analysis.
    SendMessageA(fLocalisations->Handle(), WM_CLOSE, 0, 0);
  };
  TFile* root = FileArray->Root;
  EXPECT_EQ(Modal(*fLocalisations, [] { fUsagram->Localisations1Click(); }, work), 1);
  EXPECT_EQ(caption, "New Location");
  EXPECT_EQ(FileArray->Root, root);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(LocationsEditor, APathEditedListsItsNewFilesAndRefusesADuplicate) {
  std::string caption, duplicateWarning;
  auto work = [&] {
    Select(lcPath, 2);
    caption = ChooseDirectory([] { fLocalisations->bEditer.Click(); }, Fresh);
    Select(lcPath, 1);
    ChooseDirectory([] { Key(VK_RETURN); }, Fresh, &duplicateWarning);
    fLocalisations->Button1.Click();
  };
  EXPECT_EQ(Modal(*fLocalisations, [] { fUsagram->Localisations1Click(); }, work), 1);
  EXPECT_EQ(caption, "Location n° 1");
  EXPECT_EQ(duplicateWarning, "This location is already in the list !");
  EXPECT_EQ(Paths(), (std::vector<std::string>{A, Fresh, LibDir, Project.Path}));
  // Found in it by the next lookup, and listed.
  EXPECT_EQ(FindLocation(Fresh), 1);
  ASSERT_EQ(Locations[1]->Files.Count(), 1);
  EXPECT_EQ(Locations[1]->Files.Strings[0], Fresh + "\\Fresh.pas");
}

TEST_F(LocationsEditor, CloseAnalysesAgainAndTheRegistryKeepsTheChanges) {
  ASSERT_TRUE(UnitNamed("Lib") && UnitNamed("Lib")->Found);
  COLORREF chosen = 0;
  auto work = [&] {
    // Lib's location made inactive: Lib is not found any more.
    Select(lcActive, 3);
    Key(VK_RETURN);
    // A colour typed into the colour dialog.
    TModalAnswer colour(
        [](HWND box) {
          SetDlgItemInt(box, 706, 10, FALSE);  // red, green and blue boxes
          SetDlgItemInt(box, 707, 120, FALSE);
          SetDlgItemInt(box, 708, 230, FALSE);
          TModalAnswer::PostButton(box, IDOK);
        },
        "#32770");
    Select(lcColour, 1);
    fLocalisations->bEditer.Click();
    chosen = Locations[0]->Colour;
    fLocalisations->Button1.Click();
  };
  EXPECT_EQ(Modal(*fLocalisations, [] { fUsagram->Localisations1Click(); }, work), 1);
  EXPECT_EQ(chosen, RGB(10, 120, 230));
  ASSERT_NE(UnitNamed("Lib"), nullptr);
  EXPECT_FALSE(UnitNamed("Lib")->Found);
  EXPECT_EQ(fUsagram->StatusBar.PanelText(0), "Ready");

  // The program ends: the settings are written.
  FreeToolWindows();
  UsagramFinalise();
  TRegIniFile stored(Reg::ProductKey);
  EXPECT_EQ(stored.ReadString(Reg::Locations, std::string(Reg::Location) + "2", "#"), LibDir);
  EXPECT_EQ(stored.ReadString(Reg::Locations, std::string(Reg::LocationActive) + "2", "#"), "0");
  EXPECT_EQ(stored.ReadString(Reg::Locations, std::string(Reg::LocationColour) + "0", "#"), "10,120,230");
}

// Import... offers the project's own option file and takes its search path
// as ordinary locations, each once, and its scope names.
TEST_F(LocationsEditor, ImportTakesTheProjectsOwnSearchPathOnce) {
  const std::string extra = Project.Make("extra");
  Project.Write("Proj.dproj",
                {"<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">",
                 "  <PropertyGroup><Config Condition=\"'$(Config)'==''\">Debug</Config></PropertyGroup>",
                 "  <PropertyGroup Condition=\"'$(Config)'=='Debug'\">",
                 "    <DCC_UnitSearchPath>fresh;lib;extra;$(BDS)\\source;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>",
                 "    <DCC_Namespace>Vcl;System;$(DCC_Namespace)</DCC_Namespace>",
                 "  </PropertyGroup>", "</Project>"});
  Project.Write("Bad.lpi", {"<CONFIG><CompilerOptions>"});
  const int scopeNames = ScopeNameCount;
  std::string offered, dialogFile, first, again, bad;
  auto work = [&] {
    offered = fLocalisations->lOptionFile.Text();
    // The open dialog comes with the offered file: OK. Then the box.
    TModalAnswer answer(
        [&](HWND box) {
          if (GetDlgItem(box, 0x47C) || GetDlgItem(box, 0x480)) {
            dialogFile = fLocalisations->ImportDialog.FileName;
            TModalAnswer::PostButton(box, IDOK);
            return;
          }
          char text[1024] = {};
          GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
          (first.empty() ? first : again.empty() ? again : bad) = text;
          TModalAnswer::PostButton(box, IDOK);
        },
        "#32770");
    fLocalisations->bImporter.Click();
    Application.ProcessMessages();
    EXPECT_EQ(Grid().RowCount(), 7);
    fLocalisations->ImportOptionFile(Project / "Proj.dproj");  // nothing twice
    fLocalisations->ImportOptionFile(Project / "Bad.lpi");
    fLocalisations->Button1.Click();
  };
  EXPECT_EQ(Modal(*fLocalisations, [] { fUsagram->Localisations1Click(); }, work), 1);
  EXPECT_EQ(offered, "Proj.dproj");
  EXPECT_EQ(dialogFile, Project / "Proj.dproj");
  // fresh is searched first, then extra; lib was there already.
  EXPECT_EQ(Paths(), (std::vector<std::string>{A, B, LibDir, extra, Fresh, Project.Path}));
  ASSERT_EQ(ScopeNameCount, scopeNames + 2);
  EXPECT_EQ(ScopeNames[scopeNames], "Vcl");
  EXPECT_EQ(ScopeNames[scopeNames + 1], "System");
  EXPECT_EQ(first, "Option file \"" + Project / "Proj.dproj" +
                       "\": the directory \"$(BDS)\\source\" holds $(BDS), which is not known here; it is skipped.");
  EXPECT_EQ(again, first);
  EXPECT_NE(bad.find("Bad.lpi\": it"), std::string::npos) << bad;
  EXPECT_TRUE(Errors.empty());
}

class BasicUnitsEditor : public ToolWindowsTest {
 protected:
  // Adds through the input box, answered with text.
  static std::string Add(const std::string& text) { return ClickAndAnswer(fUnitsdebase->bAjouter, text); }
  static std::vector<std::string> Listed() {
    std::vector<std::string> items;
    for (int i = 0; i < fUnitsdebase->ListBox.Count(); ++i) items.push_back(fUnitsdebase->ListBox.Items(i));
    return items;
  }
  static void Type(TEdit& edit, char c) { SendMessageA(edit.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1); }

  TTempDirectory Project{"basics"};
};

TEST_F(BasicUnitsEditor, AddsExactNamesRenamesTheBoxAndTheRunAndRegistryFollow) {
  Project.Write("Proj.dpr", {"program Proj;", "uses Forms, Windows;", "begin", "end."});
  fUsagram->Afficherlalistedesfichiers1Click();
  Open(Project / "Proj.dpr");
  ASSERT_NE(UnitNamed("Forms"), nullptr);
  EXPECT_EQ(UnitNamed("Forms")->Location, -1);
  std::string caption;
  std::vector<std::string> titles;
  auto work = [&] {
    EXPECT_TRUE(Listed().empty());
    caption = Add("");  // an empty name is taken as typed
    Add("Forms");
    Add("forms");  // another case is another name
    EXPECT_EQ(Listed(), (std::vector<std::string>{"", "Forms", "forms"}));
    EXPECT_EQ(fUnitsdebase->ListBox.ItemIndex(), 0);
    // Delete without a selection does nothing; with one, removes it.
    fUnitsdebase->ListBox.SetItemIndex(-1);
    fUnitsdebase->bSupprimer.Click();
    EXPECT_EQ(Listed().size(), 3u);
    fUnitsdebase->ListBox.SetItemIndex(2);
    fUnitsdebase->bSupprimer.Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"", "Forms"}));
    // The box's title follows each keystroke.
    TEdit& title = fUnitsdebase->Titre;
    EXPECT_EQ(title.Text(), "Basic units");
    title.SetSel(0, -1);
    for (char c : std::string("RTL")) {
      Type(title, c);
      titles.push_back(UBase->Name);
    }
    SendMessageA(fUnitsdebase->Cacher.Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(UBase->Hidden);
    fUnitsdebase->Fermer.Click();
  };
  EXPECT_EQ(Modal(*fUnitsdebase, [] { fUsagram->Unitsdebase1Click(); }, work), 1);
  EXPECT_EQ(caption, "Usagram");
  EXPECT_EQ(titles, (std::vector<std::string>{"R", "RT", "RTL"}));
  // Closed with Close: analysed again with the new list and the new box.
  EXPECT_EQ(UnitNamed("Forms")->Location, -2);
  EXPECT_EQ(UnitNamed("Windows")->Location, -1);
  EXPECT_EQ(UBase->Name, "RTL");
  EXPECT_TRUE(UBase->Hidden);

  FreeToolWindows();
  UsagramFinalise();
  TRegIniFile stored(Reg::ProductKey);
  EXPECT_EQ(stored.ReadString(Reg::BasicUnits, Reg::Count, "#"), "2");
  EXPECT_EQ(stored.ReadString(Reg::BasicUnits, std::string(Reg::BasicUnit) + "0", "#"), "");
  EXPECT_EQ(stored.ReadString(Reg::BasicUnits, std::string(Reg::BasicUnit) + "1", "#"), "Forms");
  EXPECT_EQ(stored.ReadString(Reg::BasicUnits, Reg::Title, "#"), "RTL");
  EXPECT_EQ(stored.ReadString(Reg::BasicUnits, Reg::Hide, "#"), "1");
}

TEST_F(BasicUnitsEditor, BeforeAnyAnalysisTheStoredBoxIsEdited) {
  Settings->WriteString(Reg::BasicUnits, Reg::Title, "Runtime");
  std::string shown;
  auto work = [&] {
    shown = fUnitsdebase->Titre.Text();
    fUnitsdebase->Titre.SetSel(static_cast<int>(shown.size()), 0);
    Type(fUnitsdebase->Titre, '!');
    SendMessageA(fUnitsdebase->Cacher.Handle(), BM_CLICK, 0, 0);
    SendMessageA(fUnitsdebase->Handle(), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(Modal(*fUnitsdebase, [] { ExecuteBasicUnitsEditor(); }, work), 1);
  EXPECT_EQ(shown, "Runtime");
  EXPECT_EQ(Settings->ReadString(Reg::BasicUnits, Reg::Title, "#"), "Runtime!");
  EXPECT_TRUE(Settings->ReadBool(Reg::BasicUnits, Reg::Hide, false));
  Project.Write("Proj.dpr", {"program Proj;", "begin", "end."});
  Open(Project / "Proj.dpr");
  ASSERT_TRUE(UBase);
  EXPECT_EQ(UBase->Name, "Runtime!");
  EXPECT_TRUE(UBase->Hidden);
}

}  // namespace
