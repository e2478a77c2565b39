// Resolution of modern projects: unit scope names, basic-unit patterns,
// dotted names, packages and Free Pascal programs as project files.
#include "ModelTestUtil.h"

using namespace modeltest;

namespace {

class Modern : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    SetCurrentDirectoryA(Dir.Path().c_str());
  }
  // The runtime library's sources stand in "rtl", a basic location.
  void UseRuntimeAsBasicLocation(const std::vector<std::string>& runtimeUnits) {
    for (const std::string& name : runtimeUnits) Dir.Write("rtl\\" + name + ".pas", UnitText(name, {}));
    UseLocations({Dir / "rtl"});
    Locations[0]->Basic = true;
  }
  static void Scopes(const std::vector<std::string>& names) {
    for (const std::string& name : names) ASSERT_TRUE(AddScopeName(name)) << name;
  }
  // The run without the branch sorting, so that the model keeps the order
  // in which the units were met.
  static void Run(const std::string& projectFile) {
    const std::string extension = ExtractFileExt(projectFile);
    AnalyseProject(projectFile.substr(0, projectFile.size() - extension.size()), extension);
  }
  // "Name=location" for every unit of the model, in its order.
  static std::string Model() {
    std::string text;
    for (int i = 0; i < FileArray->Count; ++i)
      text += FileArray->Items[i]->Name + "=" + std::to_string(FileArray->Items[i]->Location) + " ";
    return text;
  }
  static std::vector<std::string> Uses(const std::string& unit) {
    TFile* u = Unit(unit);
    return u ? Names(*u->ImplementationUses) : std::vector<std::string>{"<no unit " + unit + ">"};
  }
  TTempDir Dir;
};

}  // namespace

TEST_F(Modern, ScopesFindTheRuntimesDottedUnitsOnceWhicheverWayTheyAreWritten) {
  UseRuntimeAsBasicLocation({"System.SysUtils", "System.Classes", "System.Win.Registry", "Winapi.Windows"});
  Scopes({"Vcl", "System", "Winapi"});
  Dir.Write("Shop.dpr", ProgramText("Shop", {"SysUtils", "System.SysUtils", "Windows", "Win.Registry", "Main"}));
  Dir.Write("Main.pas", UnitText("Main", {"Classes", "system.sysutils"}, {"Forms"}));
  Run("Shop.dpr");
  EXPECT_EQ(Uses("Shop"), (std::vector<std::string>{"System.SysUtils", "System.SysUtils", "Winapi.Windows",
                                                    "System.Win.Registry", "Main"}));
  EXPECT_EQ(Names(*Unit("Main")->InterfaceUses), (std::vector<std::string>{"System.Classes", "System.SysUtils"}));
  // Each unit once; what no scope finds keeps its own name, not found.
  EXPECT_EQ(FileArray->Count, 7);
  EXPECT_EQ(Unit("System.SysUtils")->Location, LocationBasic);
  EXPECT_EQ(Unit("Forms")->Location, LocationNotFound);
  EXPECT_EQ(Unit("Vcl.Forms"), nullptr);
  EXPECT_TRUE(Recorder.Warnings.empty());
}

TEST_F(Modern, TheNameAsWrittenComesFirstThenTheScopesInTheirOrder) {
  Dir.Write("Utils.pas", UnitText("Utils", {}));            // the project's own
  Dir.Write("lib\\A.Utils.pas", UnitText("A.Utils", {}));  // never reached: Utils.PAS exists
  Dir.Write("lib\\A.Grid.pas", UnitText("A.Grid", {}));
  Dir.Write("lib\\B.Grid.pas", UnitText("B.Grid", {}));
  Dir.Write("lib\\B.Chart.pas", UnitText("B.Chart", {}));
  UseLocations({Dir / "lib"});
  Scopes({"A", "B"});
  Dir.Write("P.dpr", ProgramText("P", {"Utils", "Grid", "Chart", "B.Grid"}));
  Run("P.dpr");
  EXPECT_EQ(Uses("P"), (std::vector<std::string>{"Utils", "A.Grid", "B.Chart", "B.Grid"}));
  EXPECT_EQ(Unit("Utils")->FileName, "Utils.PAS");
  EXPECT_EQ(Unit("A.Grid")->Location, 0);
}

TEST_F(Modern, AUnitAlreadyMetUnderAScopedNameIsThatUnitEvenWithoutItsFile) {
  // "Old.Thing" is named first, not found; later "Thing" with the scope "Old"
  // is that entry, though no file exists for either.
  Scopes({"Old"});
  Dir.Write("P.dpr", ProgramText("P", {"Old.Thing", "Thing"}));
  Run("P.dpr");
  EXPECT_EQ(Uses("P"), (std::vector<std::string>{"Old.Thing", "Old.Thing"}));
  EXPECT_EQ(FileArray->Count, 2);
}

TEST_F(Modern, BasicNamesAndPatternsApplyOnlyOnceNoScopeFoundAFile) {
  // Without the runtime's sources the scopes find nothing: SysUtils and
  // System.SysUtils stay two units, each basic by its own entry.
  Scopes({"System"});
  AddBasicUnit("System.*");
  AddBasicUnit("SysUtils");
  AddBasicUnit("Id*");
  Dir.Write("P.dpr", ProgramText("P", {"SysUtils", "System.SysUtils", "System.Classes", "IdHTTP", "Vcl.Forms",
                                       "Systematic", "Mine"}));
  Dir.Write("Mine.pas", UnitText("Mine", {}));
  Dir.Write("System.Mine.pas", UnitText("System.Mine", {}));
  Run("P.dpr");
  EXPECT_EQ(Model(), "P=0 SysUtils=-2 System.SysUtils=-2 System.Classes=-2 IdHTTP=-2 Vcl.Forms=-1 Systematic=-1 "
                     "Mine=0 ");
  EXPECT_EQ(Unit("SysUtils")->BasicIndex, 1);
  EXPECT_EQ(Unit("System.Classes")->BasicIndex, 0);
  EXPECT_EQ(Unit("IdHTTP")->BasicIndex, 2);
  // The location search wins over a pattern, as it does over a name.
  EXPECT_EQ(Unit("Mine")->FileName, "Mine.PAS");
}

TEST_F(Modern, AScopedFileInAnInactiveLocationIsThatUnitNotFound) {
  Dir.Write("off\\Vcl.Forms.pas", UnitText("Vcl.Forms", {}));
  UseLocations({Dir / "off"});
  Locations[0]->Active = false;
  Scopes({"Vcl"});
  AddBasicUnit("Forms");  // not consulted: the scope found a file
  Dir.Write("P.dpr", ProgramText("P", {"Forms"}));
  Run("P.dpr");
  EXPECT_EQ(Model(), "P=1 Vcl.Forms=-1 ");
}

TEST_F(Modern, InPathsAreNotScoped) {
  Dir.Write("src\\Reports.Sales.pas", UnitText("Reports.Sales", {"Helpers"}));
  Dir.Write("Rpt.Helpers.pas", UnitText("Rpt.Helpers", {}));
  Scopes({"Rpt"});
  Dir.Write("P.dpr", ProgramText("P", {"Reports.Sales in 'src\\Reports.Sales.pas'", "Sales in 'Sales.pas'"}));
  Run("P.dpr");
  EXPECT_EQ(Unit("Reports.Sales")->FileName, Dir / "src\\Reports.Sales.pas");
  EXPECT_EQ(Unit("Sales")->Location, LocationNotFound);
  EXPECT_EQ(Unit("Rpt.Helpers")->Location, 1);  // used without a path: scoped
}

TEST_F(Modern, AFullArrayStillAnswersWithAScopedUnitItHolds) {
  Scopes({"S"});
  UseLocations({});
  FileArray = std::make_unique<TFileArray>(true);
  UBase = std::make_unique<TUBase>();
  FileArray->Add(new TFile("S.Known", ""));
  while (FileArray->Count < TFileArray::MaxUnits) FileArray->Add(new TFile(Numbered("U", FileArray->Count), ""));
  EXPECT_EQ(FileArray->FindOrAdd("Known", ""), FileArray->Items[0]);
  EXPECT_TRUE(Recorder.Stops.empty());
  EXPECT_EQ(FileArray->FindOrAdd("Unknown", ""), nullptr);
  EXPECT_EQ(Recorder.Stops.size(), 1u);
}

TEST_F(Modern, PackagesAndFreePascalProgramsAreProjectsUnderTheirOwnExtension) {
  Dir.Write("Shop.Runtime.dpk",
            "package Shop.Runtime;\r\nrequires rtl, vcl;\r\ncontains Shop.Core in 'Shop.Core.pas', Shop.Views;\r\nend.\r\n");
  Dir.Write("Shop.Runtime.dpr", ProgramText("Shop.Runtime", {"Other"}));  // not the one opened
  Dir.Write("Shop.Core.pas", UnitText("Shop.Core", {}));
  Dir.Write("Shop.Views.pas", UnitText("Shop.Views", {"shop.core"}));
  Run("Shop.Runtime.dpk");
  EXPECT_EQ(FileArray->Root->FileName, "Shop.Runtime.DPK");
  EXPECT_FALSE(FileArray->Root->IsUnit);
  EXPECT_EQ(Uses("Shop.Runtime"), (std::vector<std::string>{"Shop.Core", "Shop.Views"}));
  EXPECT_EQ(Unit("rtl"), nullptr);  // requires lists packages

  Dir.Write("tool.lpr", "\xEF\xBB\xBFprogram tool;\r\n{$mode objfpc}\r\nuses classes, mormot.core.base;\r\nbegin\r\nend.\r\n");
  Dir.Write("mormot.core.base.pas", UnitText("mormot.core.base", {}));
  Run("tool.lpr");
  EXPECT_EQ(FileArray->Root->FileName, "tool.LPR");
  EXPECT_EQ(Uses("tool"), (std::vector<std::string>{"classes", "mormot.core.base"}));
  EXPECT_TRUE(Unit("mormot.core.base")->Found);
  EXPECT_TRUE(IsProjectExtension(".Dpk"));
  EXPECT_FALSE(IsProjectExtension(".pas"));
  EXPECT_FALSE(IsProjectExtension(".dproj"));
}
