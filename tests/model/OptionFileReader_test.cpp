// Option files read from the disk: the XML ones through Windows' own
// XmlLite, with the malformed files a user may have.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModelTestUtil.h"
#include "OptionFileReader.h"

using namespace modeltest;

namespace {

using TStrings = std::vector<std::string>;

// The start of a project file as Delphi 12 writes it (UTF-8 with its BOM).
const std::string Dproj =
    "\xEF\xBB\xBF<Project xmlns=\"http://schemas.microsoft.com/developer/msbuild/2003\">\r\n"
    "    <PropertyGroup>\r\n"
    "        <ProjectGuid>{5B2C0D1E-7A41-4C44-9E0A-3D6B1F8C2A10}</ProjectGuid>\r\n"
    "        <ProjectVersion>20.1</ProjectVersion>\r\n"
    "        <FrameworkType>VCL</FrameworkType>\r\n"
    "        <MainSource>Shop.dpr</MainSource>\r\n"
    "        <Base>True</Base>\r\n"
    "        <Config Condition=\"'$(Config)'==''\">Debug</Config>\r\n"
    "        <Platform Condition=\"'$(Platform)'==''\">Win32</Platform>\r\n"
    "        <TargetedPlatforms>3</TargetedPlatforms>\r\n"
    "        <AppType>Application</AppType>\r\n"
    "    </PropertyGroup>\r\n"
    "    <PropertyGroup Condition=\"'$(Config)'=='Base' or '$(Base)'!=''\">\r\n"
    "        <Base>true</Base>\r\n"
    "    </PropertyGroup>\r\n"
    "    <PropertyGroup Condition=\"('$(Platform)'=='Win32' and '$(Base)'=='true') or '$(Base_Win32)'!=''\">\r\n"
    "        <Base_Win32>true</Base_Win32>\r\n"
    "        <CfgParent>Base</CfgParent>\r\n"
    "        <Base>true</Base>\r\n"
    "    </PropertyGroup>\r\n"
    "    <PropertyGroup Condition=\"'$(Config)'=='Release' or '$(Cfg_1)'!=''\">\r\n"
    "        <Cfg_1>true</Cfg_1>\r\n"
    "    </PropertyGroup>\r\n"
    "    <PropertyGroup Condition=\"'$(Base)'!=''\">\r\n"
    "        <DCC_Namespace>System;Xml;Data;$(DCC_Namespace)</DCC_Namespace>\r\n"
    "        <DCC_UnitSearchPath>Lib\\Caf\xC3\xA9;$(BDS)\\source;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>\r\n"
    "        <SanitizedProjectName>Shop</SanitizedProjectName>\r\n"
    "    </PropertyGroup>\r\n"
    "    <PropertyGroup Condition=\"'$(Base_Win32)'!=''\">\r\n"
    "        <DCC_Namespace>Winapi;System.Win;$(DCC_Namespace)</DCC_Namespace>\r\n"
    "    </PropertyGroup>\r\n"
    "    <PropertyGroup Condition=\"'$(Cfg_1)'!=''\">\r\n"
    "        <DCC_UnitSearchPath>..\\release&amp;more;$(DCC_UnitSearchPath)</DCC_UnitSearchPath>\r\n"
    "    </PropertyGroup>\r\n"
    "    <ItemGroup>\r\n"
    "        <DelphiCompile Include=\"$(MainSource)\"><MainSource>MainSource</MainSource></DelphiCompile>\r\n"
    "    </ItemGroup>\r\n"
    "    <Import Project=\"$(BDS)\\Bin\\CodeGear.Delphi.Targets\" Condition=\"Exists('$(BDS)\\Bin\\CodeGear.Delphi.Targets')\"/>\r\n"
    "</Project>\r\n";

const std::string Lpi =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<CONFIG>\n  <ProjectOptions>\n    <Version Value=\"12\"/>\n    <BuildModes>\n"
    "      <Item Name=\"Release\"><CompilerOptions><SearchPaths><OtherUnitFiles Value=\"nope\"/></SearchPaths>"
    "</CompilerOptions></Item>\n    </BuildModes>\n  </ProjectOptions>\n"
    "  <CompilerOptions>\n    <Version Value=\"11\"/>\n    <SearchPaths>\n"
    "      <IncludeFiles Value=\"$(ProjOutDir)\"/>\n"
    "      <OtherUnitFiles Value=\"src;../shared;lib/$(TargetCPU)-$(TargetOS)\"/>\n"
    "      <UnitOutputDirectory Value=\"lib/$(TargetCPU)-$(TargetOS)\"/>\n"
    "    </SearchPaths>\n  </CompilerOptions>\n</CONFIG>\n";

class OptionFileReader : public ::testing::Test {
 protected:
  // The one problem of reading the file, which must give nothing else.
  std::string OnlyProblem(const std::string& name, const std::string& text) {
    const TOptionFileSettings s = ReadOptionFile(Dir.Write(name, text));
    EXPECT_TRUE(s.Directories.empty());
    EXPECT_TRUE(s.ScopeNames.empty());
    EXPECT_EQ(s.Problems.size(), 1u);
    if (s.Problems.empty()) return std::string();
    EXPECT_EQ(s.Problems[0].rfind("Option file \"" + (Dir / name) + "\": ", 0), 0u) << s.Problems[0];
    return s.Problems[0];
  }

  std::string Parent() const { return Dir.Path().substr(0, Dir.Path().find_last_of('\\')); }

  TTempDir Dir;
};

TEST_F(OptionFileReader, Delphi12ProjectThroughXmlLite) {
  const std::string file = Dir.Write("Shop.dproj", Dproj);
  TOptionFileSettings s = ReadOptionFile(file);
  EXPECT_EQ(s.Directories, (TStrings{Dir / "Lib\\Caf\xE9"}));
  EXPECT_EQ(s.ScopeNames, (TStrings{"Winapi", "System.Win", "System", "Xml", "Data"}));
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_NE(s.Problems[0].find("\"$(BDS)\\source\" holds $(BDS)"), std::string::npos);

  s = ReadOptionFile(file, "Win64", "Release");
  EXPECT_EQ(s.Directories, (TStrings{Parent() + "\\release&more", Dir / "Lib\\Caf\xE9"}));
  EXPECT_EQ(s.ScopeNames, (TStrings{"System", "Xml", "Data"}));
}

TEST_F(OptionFileReader, LazarusProjectOwnCompilerOptions) {
  const TOptionFileSettings s = ReadOptionFile(Dir.Write("app.lpi", Lpi));
  EXPECT_EQ(s.Directories, (TStrings{Dir / "src", Parent() + "\\shared"}));
  ASSERT_EQ(s.Problems.size(), 1u);
  EXPECT_NE(s.Problems[0].find("\"lib/$(TargetCPU)-$(TargetOS)\" holds $(TargetCPU)"), std::string::npos);
}

TEST_F(OptionFileReader, TextFilesAsTheyAre) {
  TOptionFileSettings s = ReadOptionFile(Dir.Write("Old.dof", "[Directories]\r\nSearchPath=units;C:\\x;.\\units\\;.\r\n"));
  EXPECT_EQ(s.Directories, (TStrings{"C:\\x", Dir / "units", Dir.Path()}));
  s = ReadOptionFile(Dir.Write("Old.cfg", "-U\"a;b\"\r\n-NSVcl\r\n"));
  EXPECT_EQ(s.Directories, (TStrings{Dir / "a", Dir / "b"}));
  EXPECT_EQ(s.ScopeNames, (TStrings{"Vcl"}));
}

TEST_F(OptionFileReader, MalformedFilesGiveOneMessage) {
  EXPECT_NE(OnlyProblem("bad.dproj", "<Project><PropertyGroup></Project>").find("not well-formed XML"),
            std::string::npos);
  EXPECT_NE(OnlyProblem("cut.dproj", Dproj.substr(0, Dproj.size() / 2)).find("XML"), std::string::npos);
  EXPECT_NE(OnlyProblem("open.lpi", "<CONFIG><CompilerOptions>\r\n").find("ends inside the element <CompilerOptions>"),
            std::string::npos);
  std::string binary;
  for (int i = 0; i < 4096; ++i) binary += static_cast<char>((i * 7919) % 256);
  EXPECT_NE(OnlyProblem("bin.dproj", binary).find("XML"), std::string::npos);
  EXPECT_NE(OnlyProblem("bin.dof", binary).find("not a text file"), std::string::npos);
  EXPECT_NE(OnlyProblem("empty.lpi", "").find("XML"), std::string::npos);
  std::string deep;
  for (int i = 0; i < 300; ++i) deep += "<a>";
  for (int i = 0; i < 300; ++i) deep += "</a>";
  EXPECT_NE(OnlyProblem("deep.lpi", "<CONFIG>" + deep + "</CONFIG>").find("nested more than 256"),
            std::string::npos);
  // Entities that expand a billion times: the DTD is not processed at all.
  const std::string laughs =
      "<?xml version=\"1.0\"?><!DOCTYPE CONFIG [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">"
      "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;\">]><CONFIG>&c;</CONFIG>";
  EXPECT_NE(OnlyProblem("laughs.lpi", laughs).find("XML"), std::string::npos);
  EXPECT_NE(OnlyProblem("huge.dproj", "<Project>" + std::string(MaxOptionFileSize, ' ') + "</Project>")
                .find("larger than 8 MB"),
            std::string::npos);
  std::string many = "<CONFIG>";
  for (std::size_t i = 0; i <= MaxXmlElements; ++i) many += "<a/>";
  EXPECT_NE(OnlyProblem("many.lpi", many + "</CONFIG>").find("more than 200000 elements"), std::string::npos);
  EXPECT_NE(OnlyProblem("wrong.lpi", Dproj).find("not a Lazarus project"), std::string::npos);
  EXPECT_NE(OnlyProblem("x.txt", "").find("none of the option files"), std::string::npos);
  const TOptionFileSettings missing = ReadOptionFile(Dir / "missing.dproj");
  ASSERT_EQ(missing.Problems.size(), 1u);
  EXPECT_NE(missing.Problems[0].find("does not exist"), std::string::npos);
}

TEST_F(OptionFileReader, TheProjectsOwnOptionFileBesideIt) {
  const std::string project = Dir.Write("Shop.dpr", "program Shop; begin end.");
  EXPECT_EQ(ProjectOptionFile(project), "");
  Dir.Write("Shop.lpi", Lpi);
  EXPECT_EQ(ProjectOptionFile(project), Dir / "Shop.lpi");
  Dir.Write("Shop.cfg", "");
  EXPECT_EQ(ProjectOptionFile(project), Dir / "Shop.cfg");
  Dir.Write("Shop.dof", "");
  EXPECT_EQ(ProjectOptionFile(project), Dir / "Shop.dof");
  Dir.Write("Shop.dproj", Dproj);
  EXPECT_EQ(ProjectOptionFile(project), Dir / "Shop.dproj");
  Dir.MakeDir("Other.dproj");  // a directory is no option file
  EXPECT_EQ(ProjectOptionFile(Dir / "Other.dpr"), "");
  EXPECT_EQ(ProjectOptionFile(""), "");
}

}  // namespace
