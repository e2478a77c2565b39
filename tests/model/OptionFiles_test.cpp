// The option files' evaluation without the file system: MSBuild conditions
// and properties, a .dproj's configurations, .lpi, .dof and .cfg texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "MSBuild.h"
#include "OptionFiles.h"

namespace {

using TStrings = std::vector<std::string>;

bool Holds(const std::string& condition, const TMSBuildProperties& properties = {}) {
  bool result = false;
  std::string error;
  EXPECT_TRUE(EvaluateCondition(condition, properties, result, error)) << condition << ": " << error;
  return result;
}

std::string Refusal(const std::string& condition) {
  bool result = true;
  std::string error;
  EXPECT_FALSE(EvaluateCondition(condition, {}, result, error)) << condition;
  EXPECT_FALSE(result);
  return error;
}

TEST(MSBuildCondition, ComparesAndCombinesAsMSBuild) {
  TMSBuildProperties p;
  p.Set("Config", "Debug");
  p.Set("Base", "true");
  EXPECT_TRUE(Holds("'$(Config)'=='Debug'", p));
  EXPECT_TRUE(Holds("'$(CONFIG)' == 'debug'", p));  // names and values without case
  EXPECT_FALSE(Holds("'$(Config)'!='Debug'", p));
  EXPECT_TRUE(Holds("'$(Platform)'==''", p));  // unset is empty
  EXPECT_TRUE(Holds("'$(Config)'=='Release' or '$(Base)'!=''", p));
  EXPECT_FALSE(Holds("'$(Config)'=='Release' or '$(Cfg_2)'!=''", p));
  // and binds tighter than or; parentheses regroup.
  EXPECT_TRUE(Holds("'a'=='a' or 'a'=='b' and 'a'=='b'", p));
  EXPECT_FALSE(Holds("('a'=='a' or 'a'=='b') and 'a'=='b'", p));
  EXPECT_TRUE(Holds("('$(Platform)'=='' and '$(Base)'=='true') or '$(Base_Win32)'!=''", p));
  EXPECT_TRUE(Holds("$(Config)==Debug", p));  // bare operands
  EXPECT_TRUE(Holds("$(Base)", p));
  EXPECT_TRUE(Holds("!('$(Config)'=='Release')", p));
  EXPECT_TRUE(Holds("", p));
}

TEST(MSBuildCondition, RefusesWhatItDoesNotEvaluate) {
  EXPECT_NE(Refusal("Exists('$(BDS)\\bin')").find("Exists"), std::string::npos);
  EXPECT_NE(Refusal("'1' < '2'").find("ordering"), std::string::npos);
  EXPECT_NE(Refusal("'a'=='a").find("quote"), std::string::npos);
  EXPECT_NE(Refusal("('a'=='a'").find("parenthesis"), std::string::npos);
  EXPECT_NE(Refusal("'a'==").find("missing"), std::string::npos);
  EXPECT_NE(Refusal("'maybe'").find("Boolean"), std::string::npos);
  EXPECT_NE(Refusal("'a'=='a' 'b'").find("unexpected"), std::string::npos);
  EXPECT_NE(Refusal(std::string(200, '(') + "true" + std::string(200, ')')).find("nested"), std::string::npos);
  EXPECT_NE(Refusal(std::string(500, '!') + "true").find("nested"), std::string::npos);
}

TEST(MSBuildProperties, ExpandKnownKeepOrDropUnknown) {
  TMSBuildProperties p;
  p.Set("Platform", "Win64");
  std::string out;
  ASSERT_TRUE(ExpandProperties("lib\\$(Platform)\\$(BDS);$(", p, true, out));
  EXPECT_EQ(out, "lib\\Win64\\$(BDS);$(");
  ASSERT_TRUE(ExpandProperties("lib\\$(platform)\\$(BDS)", p, false, out));
  EXPECT_EQ(out, "lib\\Win64\\");
  ASSERT_TRUE(ExpandProperties("$([System.IO.Path]::GetFullPath('x'))", p, true, out));
  EXPECT_EQ(out, "$([System.IO.Path]::GetFullPath('x'))");
  EXPECT_EQ(FirstPropertyReference("a;$([MSBuild]::X($(Y)))\\b"), "$([MSBuild]::X($(Y)))");
  p.Set("Big", std::string(MaxPropertyLength / 2 + 1, 'x'));
  EXPECT_FALSE(ExpandProperties("$(Big)$(Big)", p, true, out));
}

// A .dproj as the IDE writes it: Base and Cfg_n chains, two configurations,
// two platforms, an inherited search path, a directory under $(BDS).
TXmlElement Property(const std::string& name, const std::string& value, const std::string& condition = "") {
  TXmlElement e{name, {}, value, {}};
  if (!condition.empty()) e.Attributes.emplace_back("Condition", condition);
  return e;
}

TXmlElement Group(const std::string& condition, std::vector<TXmlElement> properties) {
  TXmlElement g{"PropertyGroup", {}, "", std::move(properties)};
  if (!condition.empty()) g.Attributes.emplace_back("Condition", condition);
  return g;
}

TXmlElement ShopProject() {
  TXmlElement project{"Project", {{"xmlns", "http://schemas.microsoft.com/developer/msbuild/2003"}}, "", {}};
  auto& c = project.Children;
  c.push_back(Group("", {Property("Base", "True"), Property("Config", "Debug", "'$(Config)'==''"),
                         Property("Platform", "Win32", "'$(Platform)'==''")}));
  c.push_back(Group("'$(Config)'=='Base' or '$(Base)'!=''", {Property("Base", "true")}));
  c.push_back(Group("('$(Platform)'=='Win32' and '$(Base)'=='true') or '$(Base_Win32)'!=''",
                    {Property("Base_Win32", "true"), Property("CfgParent", "Base")}));
  c.push_back(Group("('$(Platform)'=='Win64' and '$(Base)'=='true') or '$(Base_Win64)'!=''",
                    {Property("Base_Win64", "true")}));
  c.push_back(Group("'$(Config)'=='Debug' or '$(Cfg_1)'!=''", {Property("Cfg_1", "true")}));
  c.push_back(Group("'$(Config)'=='Release' or '$(Cfg_2)'!=''", {Property("Cfg_2", "true")}));
  c.push_back(Group("'$(Base)'!=''",
                    {Property("DCC_UnitSearchPath", "..\\common;$(BDS)\\source\\vcl;$(DCC_UnitSearchPath)"),
                     Property("DCC_Namespace", "System;Xml;Data;$(DCC_Namespace)")}));
  c.push_back(Group("'$(Base_Win32)'!=''", {Property("DCC_Namespace", "Winapi;System.Win;$(DCC_Namespace)")}));
  c.push_back(Group("'$(Base_Win64)'!=''", {Property("DCC_UnitSearchPath", "lib\\$(Platform);$(DCC_UnitSearchPath)")}));
  c.push_back(Group("'$(Cfg_1)'!=''", {Property("DCC_UnitSearchPath", "debug\\$(Config);$(DCC_UnitSearchPath)")}));
  c.push_back(Group("'$(Cfg_2)'!=''", {Property("DCC_UnitSearchPath", "$(DCC_UnitSearchPath);release")}));
  c.push_back(TXmlElement{"ItemGroup", {}, "", {Group("", {Property("DCC_UnitSearchPath", "itemgroup")})}});
  return project;
}

const std::string Shop = "C:\\P\\Shop.dproj";

TEST(DprojSettings, DefaultsOfTheFile) {
  const TOptionFileSettings s = DprojSettings(ShopProject(), Shop, "", "");
  EXPECT_EQ(s.Directories, (TStrings{"C:\\P\\debug\\Debug", "C:\\P\\..\\common"}));
  EXPECT_EQ(s.ScopeNames, (TStrings{"Winapi", "System.Win", "System", "Xml", "Data"}));
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_EQ(s.Problems[0], "Option file \"C:\\P\\Shop.dproj\": the directory \"$(BDS)\\source\\vcl\" holds $(BDS), "
                           "which is not known here; it is skipped.");
}

TEST(DprojSettings, EachConfigurationAndPlatform) {
  const TOptionFileSettings release64 = DprojSettings(ShopProject(), Shop, "Win64", "Release");
  EXPECT_EQ(release64.Directories, (TStrings{"C:\\P\\lib\\Win64", "C:\\P\\..\\common", "C:\\P\\release"}));
  EXPECT_EQ(release64.ScopeNames, (TStrings{"System", "Xml", "Data"}));
  const TOptionFileSettings debug64 = DprojSettings(ShopProject(), Shop, "win64", "");
  EXPECT_EQ(debug64.Directories, (TStrings{"C:\\P\\debug\\Debug", "C:\\P\\lib\\win64", "C:\\P\\..\\common"}));
  const TOptionFileSettings release32 = DprojSettings(ShopProject(), Shop, "", "Release");
  EXPECT_EQ(release32.Directories, (TStrings{"C:\\P\\..\\common", "C:\\P\\release"}));
  EXPECT_EQ(release32.ScopeNames.front(), "Winapi");
}

TEST(DprojSettings, ConditionsOnPropertiesTheLastListingAndLimits) {
  TXmlElement project{"Project", {}, "", {}};
  project.Children.push_back(Group("", {Property("DCC_UnitSearchPath", "a;b;a;;  \"c d\" ;x/y/", "'$(Config)'==''"),
                                        Property("DCC_UnitSearchPath", "never", "'$(Config)'=='Debug'"),
                                        Property("Dummy", "", "Exists('x')")}));
  TOptionFileSettings s = DprojSettings(project, "P.dproj", "", "");
  EXPECT_EQ(s.Directories, (TStrings{"b", "a", "c d", "x\\y"}));
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_NE(s.Problems[0].find("the function Exists is not evaluated"), std::string::npos);

  // A property that doubles at each step: one message, nothing used.
  TXmlElement doubling{"Project", {}, "", {}};
  std::vector<TXmlElement> steps{Property("DCC_UnitSearchPath", "dir")};
  for (int i = 0; i < 40; ++i) steps.push_back(Property("DCC_UnitSearchPath", "$(DCC_UnitSearchPath);$(DCC_UnitSearchPath)"));
  doubling.Children.push_back(Group("", steps));
  s = DprojSettings(doubling, "P.dproj", "", "");
  EXPECT_TRUE(s.Directories.empty());
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_NE(s.Problems[0].find("grows beyond"), std::string::npos);

  s = DprojSettings(TXmlElement{"CONFIG", {}, "", {}}, "P.dproj", "", "");
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_NE(s.Problems[0].find("not an MSBuild project: its root element is <CONFIG>"), std::string::npos);
}

TEST(LpiSettings, TheDefaultBuildModeOnly) {
  TXmlElement other{"OtherUnitFiles", {{"Value", "../src;$(LazarusDir)/lcl;lib/$(TargetCPU)-$(TargetOS);C:\\abs\\"}}, "", {}};
  TXmlElement paths{"SearchPaths", {}, "", {other}};
  TXmlElement options{"CompilerOptions", {}, "", {paths}};
  TXmlElement modeOther{"OtherUnitFiles", {{"Value", "releaseonly"}}, "", {}};
  TXmlElement buildModes{"BuildModes", {}, "", {TXmlElement{"Item", {}, "", {TXmlElement{"CompilerOptions", {}, "", {TXmlElement{"SearchPaths", {}, "", {modeOther}}}}}}}};
  TXmlElement root{"CONFIG", {}, "", {TXmlElement{"ProjectOptions", {}, "", {buildModes}}, options}};
  const TOptionFileSettings s = LpiSettings(root, "/home/p/app.lpi");
  EXPECT_EQ(s.Directories, (TStrings{"\\home\\p\\..\\src", "C:\\abs"}));
  EXPECT_TRUE(s.ScopeNames.empty());
  ASSERT_EQ(s.Problems.size(), 2u);
  EXPECT_NE(s.Problems[0].find("\"$(LazarusDir)/lcl\" holds $(LazarusDir)"), std::string::npos);
  EXPECT_NE(s.Problems[1].find("holds $(TargetCPU)"), std::string::npos);

  EXPECT_TRUE(LpiSettings(TXmlElement{"CONFIG", {}, "", {}}, "a.lpi").Problems.empty());
  EXPECT_EQ(LpiSettings(TXmlElement{"Project", {}, "", {}}, "a.lpi").Problems.size(), 1u);
}

TEST(DofSettings, SearchPathOfTheDirectoriesSection) {
  const std::string text =
      "[FileVersion]\r\nVersion=7.0\r\n[Directories]\r\nOutputDir=bin\r\n"
      "searchpath=$(DELPHI)\\Lib;..\\units;D:\\shared\\\r\nSearchPath=second\r\n"
      "this line is odd\n[Other]\nSearchPath=elsewhere\rnor is this\r\n; a comment\r\n";
  const TOptionFileSettings s = DofSettings(text, "C:\\Old\\Proj.dof");
  EXPECT_EQ(s.Directories, (TStrings{"C:\\Old\\..\\units", "D:\\shared"}));
  ASSERT_EQ(s.Problems.size(), 2u);
  EXPECT_NE(s.Problems[0].find("\"$(DELPHI)\\Lib\" holds $(DELPHI)"), std::string::npos);
  EXPECT_EQ(s.Problems[1], "Option file \"C:\\Old\\Proj.dof\": line 7 (\"this line is odd\") is not a [section] or "
                           "a name=value line, nor are 1 more lines; passed over.");
  EXPECT_EQ(DofSettings(std::string("[Directories]\0SearchPath=x", 26), "b.dof").Problems.size(), 1u);
  EXPECT_TRUE(DofSettings("[Directories]\r\nSearchPath=x", "b.dof").Directories.size() == 1);
}

TEST(CfgSettings, UnitDirectoriesAndScopeNames) {
  const std::string text =
      "-$A8\r\n-E\"..\\bin\"\r\n-U\"C:\\Program Files\\Lib;..\\src\"\r\n-u../more -NSSystem;Vcl\r\n"
      "-N\"..\\dcu\"\r\n-NS\"Winapi;System\"\r\nstray words\r\n";
  const TOptionFileSettings s = CfgSettings(text, "C:\\W\\App.cfg");
  EXPECT_EQ(s.Directories, (TStrings{"C:\\Program Files\\Lib", "C:\\W\\..\\src", "C:\\W\\..\\more"}));
  EXPECT_EQ(s.ScopeNames, (TStrings{"System", "Vcl", "Winapi"}));
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_NE(s.Problems[0].find("line 7 (\"stray words\") is not a line of compiler options"), std::string::npos);
}

TEST(OptionDirectory, RelativeToTheFileAbsoluteKept) {
  EXPECT_EQ(OptionDirectory("C:\\P\\x.dproj", "lib"), "C:\\P\\lib");
  EXPECT_EQ(OptionDirectory("C:\\P\\x.dproj", "D:\\lib\\"), "D:\\lib");
  EXPECT_EQ(OptionDirectory("C:\\P\\x.dproj", "D:\\"), "D:\\");
  EXPECT_EQ(OptionDirectory("C:\\P\\x.dproj", "\\\\server\\share\\"), "\\\\server\\share");
  EXPECT_EQ(OptionDirectory("C:\\P\\x.dproj", "."), "C:\\P\\.");
  EXPECT_EQ(OptionDirectory("x.dproj", "lib/sub"), "lib\\sub");
  EXPECT_EQ(OptionFileKindOf("C:\\a.b\\Shop.DPROJ"), TOptionFileKind::Dproj);
  EXPECT_EQ(OptionFileKindOf("C:\\a.lpi\\Shop"), TOptionFileKind::Unknown);
  EXPECT_EQ(OptionFileKindOf("x.Lpi"), TOptionFileKind::Lpi);
}

}  // namespace
