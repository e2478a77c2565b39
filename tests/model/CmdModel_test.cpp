// UsagramCmd --model on the samples: the exact report of each run.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "HostPath.h"
#include "ModelTestUtil.h"

using namespace modeltest;

namespace {

const std::string Samples = HostPath(USAGRAM_SAMPLES_DIR);
const std::string Program = HostPath(USAGRAM_CMD);

// The report's escaping of a path: each backslash doubled.
std::string Esc(const std::string& text) {
  std::string out;
  for (char c : text) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

struct TResult {
  DWORD Code = 0;
  std::string Out, Err;
  std::vector<std::string> Lines() const {
    std::vector<std::string> lines;
    std::istringstream in(Out);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
  }
};

std::string ReadAll(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs UsagramCmd --model with the arguments in the directory.
TResult RunModel(const std::string& directory, const std::string& arguments) {
  TTempDir capture;
  std::string outName = capture / "out.txt", errName = capture / "err.txt";
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(outName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  HANDLE err = CreateFileA(errName.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit, CREATE_ALWAYS, 0, nullptr);
  STARTUPINFOA si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = out;
  si.hStdError = err;
  std::string commandLine = "\"" + Program + "\" --model " + arguments;
  PROCESS_INFORMATION pi{};
  TResult result;
  BOOL started = CreateProcessA(Program.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                directory.c_str(), &si, &pi);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) {
    ADD_FAILURE() << "cannot start " << Program;
    return result;
  }
  WaitForSingleObject(pi.hProcess, INFINITE);
  GetExitCodeProcess(pi.hProcess, &result.Code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  result.Out = ReadAll(outName);
  // Standard error is a text stream: CR LF on Windows.
  for (char c : ReadAll(errName))
    if (c != '\r') result.Err += c;
  return result;
}

const std::string Ok = "status: Initializing diagram ...\nstatus: Sorting diagram's branches ...\n";

class CmdModel_ : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    ClearRegistry();
  }
  void TearDown() override {
    ClearRegistry();
    ModelTest::TearDown();
  }
};

}  // namespace

TEST_F(CmdModel_, PlainProjectWithARelativeLocation) {
  TResult r = RunModel(Samples, "--location Basics\\rtl Plain\\Plain.dpr");
  const std::string rtl = Esc(Samples + "\\Basics\\rtl"), plain = Esc(Samples + "\\Plain");
  EXPECT_EQ(r.Code, 0u);
  EXPECT_EQ(r.Err, Ok);
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + rtl + "\t0\t1\t0",
                           "location\t1\t" + plain + "\t0\t1\t0",
                           "unit\t0\tExtCtrls\t-1\t0\t1\t0\t\t\t",
                           "unit\t1\tButtons\t-1\t0\t1\t0\t\t\t",
                           "unit\t2\tMenus\t-1\t0\t1\t0\t\t\t",
                           "unit\t3\tStdCtrls\t-1\t0\t1\t0\t\t\t",
                           "unit\t4\tDialogs\t-1\t0\t1\t0\t\t\t",
                           "unit\t5\tControls\t-1\t0\t1\t0\t\t\t",
                           "unit\t6\tGraphics\t-1\t0\t1\t0\t\t\t",
                           "unit\t7\tClasses\t-1\t0\t1\t0\t\t\t",
                           "unit\t8\tMessages\t-1\t0\t1\t0\t\t\t",
                           "unit\t9\tForms\t-1\t0\t1\t0\t\t\t",
                           "unit\t10\tWindows\t0\t0\t1\t1\t" + rtl + "\\\\Windows.PAS\t\t",
                           "unit\t11\tSysUtils\t0\t0\t2\t1\t" + rtl + "\\\\SysUtils.PAS\tWindows\t",
                           "unit\t12\tUtils\t1\t0\t3\t1\tUtils.PAS\t\tSysUtils",
                           "unit\t13\tAbout\t1\t0\t4\t1\tAbout.pas\tExtCtrls,Buttons,StdCtrls,Controls,Graphics,Classes,"
                           "Forms,Windows,SysUtils\tUtils",
                           "unit\t14\tMain\t1\t0\t5\t1\tMain.pas\tMenus,StdCtrls,Dialogs,Controls,Graphics,Classes,"
                           "Messages,Forms,Windows,SysUtils\tUtils,About",
                           "unit\t15\tPlain\t1\t0\t6\t0\tPlain.DPR\t\tForms,About,Main",
                       }));
}

TEST_F(CmdModel_, InPathsAddALocationAndRestartTheRun) {
  TResult r = RunModel(Samples + "\\InPaths", "--basic Forms InPaths.dpr");
  const std::string lib = Esc(Samples + "\\InPaths\\lib");
  EXPECT_EQ(r.Code, 0u);
  EXPECT_EQ(r.Err,
            "status: Initializing diagram ...\nstatus: Implicit locations found, restarting...\n"
            "status: Sorting diagram's branches ...\n");
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + lib + "\t0\t1\t1",
                           "location\t1\t" + Esc(Samples + "\\InPaths") + "\t0\t1\t0",
                           "unit\t0\tForms\t-2\t0\t1\t0\t\t\t",
                           "unit\t1\tStdCtrls\t-1\t0\t1\t0\t\t\t",
                           "unit\t2\tControls\t-1\t0\t1\t0\t\t\t",
                           "unit\t3\tClasses\t-1\t0\t1\t0\t\t\t",
                           "unit\t4\tSysUtils\t-1\t0\t1\t0\t\t\t",
                           "unit\t5\tWindows\t-1\t0\t1\t0\t\t\t",
                           "unit\t6\tHelpers\t0\t0\t2\t1\t" + lib + "\\\\Helpers.PAS\t\tSysUtils",
                           "unit\t7\tLexer\t0\t0\t2\t1\t" + lib + "\\\\Lexer.pas\tClasses\t",
                           "unit\t8\tParser\t0\t0\t3\t1\t" + lib + "\\\\Parser.pas\t\tHelpers,Lexer",
                           "unit\t9\tMain\t1\t0\t4\t1\tMain.pas\tForms,StdCtrls,Controls,Classes,SysUtils,Windows,Helpers\t"
                           "Parser",
                           "unit\t10\tInPaths\t1\t0\t5\t0\tInPaths.DPR\t\tForms,Lexer,Parser,Main",
                       }));
}

TEST_F(CmdModel_, MissingUnitsStayInTheModelAsNotFound) {
  TResult r = RunModel(Samples, "--basic Forms Missing\\Missing.dpr");
  EXPECT_EQ(r.Code, 0u);
  EXPECT_EQ(r.Err, Ok);  // the IN path names a directory that does not exist: no restart
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + Esc(Samples + "\\Missing") + "\t0\t1\t0",
                           "unit\t0\tForms\t-2\t0\t1\t0\t\t\t",
                           "unit\t1\tControls\t-1\t0\t1\t0\t\t\t",
                           "unit\t2\tClasses\t-1\t0\t1\t0\t\t\t",
                           "unit\t3\tWindows\t-1\t0\t1\t0\t\t\t",
                           "unit\t4\tCharts\t-1\t0\t1\t0\t\t\t",
                           "unit\t5\tReports\t-1\t0\t1\t0\t\t\t",
                           "unit\t6\tMain\t0\t0\t2\t1\tMain.pas\tForms,Controls,Classes,Windows,Reports\tCharts",
                           "unit\t7\tMissing\t0\t0\t3\t0\tMissing.DPR\t\tForms,Charts,Reports,Main",
                       }));
}

TEST_F(CmdModel_, BasicUnitsByNameAndByLocation) {
  TResult r = RunModel(Samples + "\\Basics", "--basic-location rtl --basic Forms --basic Classes Basics.dpr");
  EXPECT_EQ(r.Code, 0u);
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + Esc(Samples + "\\Basics\\rtl") + "\t1\t1\t0",
                           "location\t1\t" + Esc(Samples + "\\Basics") + "\t0\t1\t0",
                           "unit\t0\tForms\t-2\t0\t1\t0\t\t\t",
                           "unit\t1\tSysUtils\t-2\t0\t1\t0\t\t\t",
                           "unit\t2\tWindows\t-2\t0\t1\t0\t\t\t",
                           "unit\t3\tClasses\t-2\t1\t1\t0\t\t\t",
                           "unit\t4\tControls\t-1\t0\t1\t0\t\t\t",
                           "unit\t5\tMessages\t-1\t0\t1\t0\t\t\t",
                           "unit\t6\tLogger\t1\t0\t2\t1\tLogger.pas\tSysUtils,Classes\tWindows,Controls",
                           "unit\t7\tBasics\t1\t0\t3\t0\tBasics.DPR\t\tForms,SysUtils,Windows,Classes,Messages,Logger",
                       }));
  // An inactive location hides what it holds: not found, not basic.
  TResult off = RunModel(Samples + "\\Basics", "--inactive-location rtl Basics.dpr");
  std::vector<std::string> lines = off.Lines();
  ASSERT_GE(lines.size(), 1u);
  EXPECT_EQ(lines[0], "location\t0\t" + Esc(Samples + "\\Basics\\rtl") + "\t0\t0\t0");
  EXPECT_NE(off.Out.find("\tWindows\t-1\t0\t1\t0\t\t\t\n"), std::string::npos);
}

TEST_F(CmdModel_, ACycleEndsAtTheUnitsAlreadyMet) {
  TResult r = RunModel(Samples + "\\Cycle", "--basic None Cycle.dpr");
  EXPECT_EQ(r.Code, 0u);
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + Esc(Samples + "\\Cycle") + "\t0\t1\t0",
                           "unit\t0\tGamma\t0\t0\t1\t1\tGamma.PAS\t\tGamma,Alpha",
                           "unit\t1\tBeta\t0\t0\t2\t1\tBeta.PAS\t\tGamma,Alpha",
                           "unit\t2\tAlpha\t0\t0\t3\t1\tAlpha.pas\tBeta\t",
                           "unit\t3\tCycle\t0\t0\t4\t0\tCycle.DPR\t\tAlpha",
                       }));
  // A unit opened instead of the project is the root, searched as .PAS.
  TResult unit = RunModel(Samples, "--basic None Cycle\\beta.PAS");
  EXPECT_EQ(unit.Code, 0u);
  EXPECT_EQ(unit.Lines(), (std::vector<std::string>{
                              "location\t0\t" + Esc(Samples + "\\Cycle") + "\t0\t1\t0",
                              "unit\t0\tAlpha\t0\t0\t2\t1\tAlpha.PAS\tbeta\t",
                              "unit\t1\tGamma\t0\t0\t3\t1\tGamma.PAS\t\tAlpha,Gamma",
                              "unit\t2\tbeta\t0\t0\t4\t1\tbeta.PAS\t\tAlpha,Gamma",
                          }));
}

TEST_F(CmdModel_, AMissingFileGivesTheUnresolvedRootAndExitCode3) {
  TResult r = RunModel(Samples, "--basic None Cycle\\Nothing.dpr");
  EXPECT_EQ(r.Code, 3u);
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + Esc(Samples + "\\Cycle") + "\t0\t1\t0",
                           "unit\t0\tNothing\t-1\t0\t1\t0\t\t\t",
                       }));
  EXPECT_NE(r.Err.find("Nothing.dpr"), std::string::npos);
  TResult gone = RunModel(Samples, "--basic None NoSuchDir\\Cycle.dpr");
  EXPECT_EQ(gone.Code, 3u);
  EXPECT_NE(gone.Out.find("unit\t0\tCycle\t-1\t0\t1\t0\t\t\t\n"), std::string::npos);
}

TEST_F(CmdModel_, AnUnreadableUnitIsReportedWithThePartialModel) {
  TTempDir dir;
  dir.Write("P.dpr", ProgramText("P", {"First", "Locked", "Last"}));
  dir.Write("First.pas", UnitText("First", {}));
  std::string locked = dir.Write("Locked.pas", UnitText("Locked", {"Deeper"}));
  dir.Write("Last.pas", UnitText("Last", {}));
  HANDLE h = CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  TResult r = RunModel(dir.Path(), "--basic None P.dpr");
  CloseHandle(h);
  EXPECT_EQ(r.Code, 2u);
  EXPECT_NE(r.Err.find("Locked"), std::string::npos) << r.Err;
  EXPECT_EQ(r.Err.find("Sorting"), std::string::npos);
  std::vector<std::string> lines = r.Lines();
  ASSERT_EQ(lines.size(), 5u);  // the location, then the four units in order of entry
  EXPECT_EQ(lines[1], "unit\t0\tP\t0\t0\t1\t0\tP.DPR\t\tFirst,Locked,Last");
  EXPECT_EQ(lines[3].substr(0, 15), "unit\t2\tLocked\t0");
}

TEST_F(CmdModel_, CommandLineMistakesEndWithCode2) {
  EXPECT_EQ(RunModel(Samples, "").Code, 2u);
  EXPECT_EQ(RunModel(Samples, "--location").Code, 2u);
  EXPECT_EQ(RunModel(Samples, "--frobnicate Plain\\Plain.dpr").Code, 2u);
  TResult two = RunModel(Samples, "--basic X Plain\\Plain.dpr Cycle\\Cycle.dpr");
  EXPECT_EQ(two.Code, 2u);
  EXPECT_EQ(two.Out, "");
}

TEST_F(CmdModel_, WithoutListsTheSettingsStoreIsReadAndWritten) {
  {
    TRegIniFile store(Reg::ProductKey);
    store.WriteInteger(Reg::Locations, Reg::Count, 1);
    store.WriteString(Reg::Locations, "Localisation 0", Samples + "\\Basics\\rtl");
    store.WriteBool(Reg::Locations, "ActiveLocalisation 0", true);
    store.WriteInteger(Reg::BasicUnits, Reg::Count, 1);
    store.WriteString(Reg::BasicUnits, "Base 0", "Forms");
  }
  TResult r = RunModel(Samples + "\\Plain", "Plain.dpr");
  EXPECT_EQ(r.Code, 0u);
  std::vector<std::string> lines = r.Lines();
  ASSERT_GE(lines.size(), 3u);
  EXPECT_EQ(lines[0], "location\t0\t" + Esc(Samples + "\\Basics\\rtl") + "\t0\t1\t0");
  EXPECT_EQ(lines[2], "unit\t0\tForms\t-2\t0\t1\t0\t\t\t");
  TRegIniFile store(Reg::ProductKey);
  EXPECT_EQ(store.ReadString(Reg::Locations, "Localisation 0", "?"), Samples + "\\Basics\\rtl");
  EXPECT_EQ(store.ReadString(Reg::BasicUnits, Reg::Title, "?"), "Basic units");  // written at the end
  EXPECT_EQ(store.ReadString(Reg::Options, Reg::MSWord95, "?"), "1");

  // With any list option the store is neither read nor written.
  store.WriteString(Reg::BasicUnits, Reg::Title, "Untouched");
  store.WriteString(Reg::BasicUnits, "Base 0", "Classes");
  TResult given = RunModel(Samples + "\\Plain", "--location . Plain.dpr");
  EXPECT_EQ(given.Out.find("\tClasses\t-2"), std::string::npos);
  EXPECT_NE(given.Out.find("\tForms\t-1"), std::string::npos);
  EXPECT_EQ(store.ReadString(Reg::BasicUnits, Reg::Title, "?"), "Untouched");
  EXPECT_EQ(store.ReadString(Reg::BasicUnits, "Base 0", "?"), "Classes");
}

namespace {

// Copies the samples with every CR LF turned into `lineEnd`.
void CopySamples(const std::string& from, const TTempDir& to, const std::string& relative, const std::string& lineEnd) {
  WIN32_FIND_DATAA data;
  HANDLE h = FindFirstFileA((from + "\\*").c_str(), &data);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << from;
  do {
    const std::string name = data.cFileName;
    if (name == "." || name == "..") continue;
    const std::string child = relative.empty() ? name : relative + "\\" + name;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CopySamples(from + "\\" + name, to, child, lineEnd);
      continue;
    }
    std::string text = ReadAll(from + "\\" + name), converted;
    for (size_t i = 0; i < text.size(); ++i) {
      if (text.compare(i, 2, "\r\n") == 0) {
        converted += lineEnd;
        ++i;
      } else {
        converted += text[i];
      }
    }
    to.Write(child, converted);
  } while (FindNextFileA(h, &data));
  FindClose(h);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

}  // namespace

TEST_F(CmdModel_, EverySampleGivesTheSameModelWithUnixOrMacintoshLineEnds) {
  // The samples, and a project whose names start their lines and whose
  // clauses follow line comments, where a line end that is not seen as one
  // would glue itself to a name or hide the clause.
  TTempDir original;
  CopySamples(Samples, original, "", "\r\n");
  original.Write("Compact\\Compact.dpr",
                 "// the project\r\nprogram Compact;\r\nuses\r\nFirst,\r\nSecond // last\r\n;\r\nbegin end.\r\n");
  original.Write("Compact\\First.pas", "unit First;//\r\ninterface\r\nuses\r\nSecond;\r\nimplementation\r\nend.");
  original.Write("Compact\\Second.pas", "unit Second;\r\ninterface\r\nimplementation\r\n// uses\r\nuses\r\nThird;\r\nend.");
  const std::pair<const char*, const char*> runs[] = {
      {"", "--location Basics\\rtl Plain\\Plain.dpr"}, {"\\InPaths", "--basic Forms InPaths.dpr"},
      {"", "--basic Forms Missing\\Missing.dpr"},     {"\\Basics", "--basic-location rtl --basic Forms Basics.dpr"},
      {"\\Cycle", "--basic None Cycle.dpr"},          {"\\Compact", "--basic None Compact.dpr"}};
  const TResult compact = RunModel(original.Path() + "\\Compact", "--basic None Compact.dpr");
  EXPECT_NE(compact.Out.find("\tCompact.DPR\t\tSecond,First\n"), std::string::npos) << compact.Out;
  EXPECT_NE(compact.Out.find("\tSecond.PAS\t\tThird\n"), std::string::npos) << compact.Out;
  for (const std::string lineEnd : {"\n", "\r"}) {
    TTempDir copy;
    CopySamples(original.Path(), copy, "", lineEnd);
    for (const auto& [directory, arguments] : runs) {
      const TResult before = RunModel(original.Path() + directory, arguments);
      const TResult after = RunModel(copy.Path() + directory, arguments);
      ASSERT_EQ(before.Code, 0u) << arguments;
      EXPECT_EQ(after.Code, 0u) << arguments;
      EXPECT_EQ(Replaced(after.Out, Esc(copy.Path()), Esc(original.Path())), before.Out)
          << arguments << (lineEnd == "\n" ? " with LF" : " with CR");
      EXPECT_EQ(after.Err, before.Err);
    }
  }
}

TEST_F(CmdModel_, AModernProjectWithScopesHasEveryUnitWholeAndOnce) {
  const std::string dir = Samples + "\\Modern";
  TResult r = RunModel(dir, "--basic-location rtl --scope System --scope Vcl --scope Winapi Shop.dpr");
  EXPECT_EQ(r.Code, 0u);
  const std::string source = Esc(dir + "\\source\\");
  EXPECT_EQ(r.Lines(), (std::vector<std::string>{
                           "location\t0\t" + Esc(dir + "\\rtl") + "\t1\t1\t0",
                           "location\t1\t" + Esc(dir + "\\source") + "\t0\t1\t1",
                           "location\t2\t" + Esc(dir) + "\t0\t1\t0",
                           "unit\t0\tVcl.Controls\t-2\t0\t1\t0\t\t\t",
                           "unit\t1\tWinapi.Windows\t-2\t0\t1\t0\t\t\t",
                           "unit\t2\tSystem.Classes\t-2\t0\t1\t0\t\t\t",
                           "unit\t3\tSystem.Generics.Collections\t-2\t0\t1\t0\t\t\t",
                           "unit\t4\tSystem.SysUtils\t-2\t0\t1\t0\t\t\t",
                           "unit\t5\tVcl.Forms\t-2\t0\t1\t0\t\t\t",
                           "unit\t6\tData.DB\t-1\t0\t1\t0\t\t\t",
                           "unit\t7\tShop.Core\t1\t0\t2\t1\t" + source + "Shop.Core.pas\tSystem.Generics.Collections,System.SysUtils\t",
                           "unit\t8\tShop.Reports.Sales\t1\t0\t3\t1\t" + source + "Shop.Reports.Sales.pas\tSystem.Classes,Shop.Core\tData.DB",
                           "unit\t9\tShop.Reports.Sales.QuarterlySummaryView\t1\t0\t4\t1\t" + source +
                               "Shop.Reports.Sales.QuarterlySummaryView.pas\tVcl.Controls,Winapi.Windows,Vcl.Forms,Shop.Reports.Sales\tSystem.SysUtils",
                           "unit\t10\tShop.Views.Main\t2\t0\t5\t1\tShop.Views.Main.pas\tVcl.Controls,Winapi.Windows,System.Classes,Vcl.Forms,Shop.Core\tSystem.Generics.Collections,Shop.Reports.Sales.QuarterlySummaryView",
                           "unit\t11\tShop\t2\t0\t6\t0\tShop.DPR\t\tSystem.SysUtils,Vcl.Forms,Shop.Core,Shop.Reports.Sales,Shop.Reports.Sales.QuarterlySummaryView,Shop.Views.Main",
                       }));
  // Without the scopes, each way of writing a runtime unit is a unit of its own.
  TResult plain = RunModel(dir, "--basic-location rtl Shop.dpr");
  EXPECT_NE(plain.Out.find("\tSysUtils\t-1\t"), std::string::npos);
  EXPECT_NE(plain.Out.find("\tSystem.SysUtils\t-2\t"), std::string::npos);
}

TEST_F(CmdModel_, TheModernProjectsOwnDprojGivesTheSearchPathAndScopesTypedByHand) {
  const std::string dir = Samples + "\\Modern";
  const TResult byHand = RunModel(dir, "--basic-location rtl --location source --scope System --scope Vcl --scope Winapi Shop.dpr");
  const TResult dproj = RunModel(dir, "--basic-location rtl --options Shop.dproj Shop.dpr");
  EXPECT_EQ(dproj.Code, 0u);
  EXPECT_EQ(dproj.Out, byHand.Out);
  EXPECT_EQ(dproj.Err, Ok);  // nothing to warn about
  EXPECT_EQ(RunModel(dir, "--basic-location rtl --options Shop.dproj --platform Win64 --config Release Shop.dpr").Out,
            byHand.Out);
}

TEST_F(CmdModel_, BasicPatternsTakeWhatTheyMatchAndNothingElse) {
  const std::string dir = Samples + "\\Modern";
  TResult r = RunModel(dir, "--basic System.* --basic vcl.* --basic Win*.Windows Shop.dpr");
  EXPECT_EQ(r.Code, 0u);
  for (const char* basic : {"System.SysUtils", "System.Classes", "System.Generics.Collections", "Vcl.Forms",
                            "Vcl.Controls", "Winapi.Windows"})
    EXPECT_NE(r.Out.find(std::string("\t") + basic + "\t-2\t"), std::string::npos) << basic;
  for (const char* notBasic : {"SysUtils", "Forms", "Windows", "Data.DB", "Generics.Collections"})
    EXPECT_NE(r.Out.find(std::string("\t") + notBasic + "\t-1\t"), std::string::npos) << notBasic;
  EXPECT_NE(r.Out.find("\tShop.Core\t0\t"), std::string::npos);
}

TEST_F(CmdModel_, APackageDrawsItsContainsClause) {
  const std::string dir = Samples + "\\Modern";
  TResult r = RunModel(dir, "--basic-location rtl ShopRuntime.dpk");
  EXPECT_EQ(r.Code, 0u);
  const std::vector<std::string> lines = r.Lines();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back(), "unit\t6\tShopRuntime\t2\t0\t4\t0\tShopRuntime.DPK\t\tShop.Core,Shop.Reports.Sales");
  EXPECT_EQ(r.Out.find("\trtl\t"), std::string::npos);
}
