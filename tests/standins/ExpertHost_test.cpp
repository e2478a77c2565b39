// ExpertHost run as a script runs it: the test experts listed in the
// prefix's Experts key, the host started with a log, then closed with
// WM_CLOSE as a user closes it. The host's log tells what the IDE side saw;
// the test expert's trace tells what the expert saw.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "ExpertHostRun.h"
#include "HostPath.h"
#include "RemoveTree.h"

namespace {

const std::string Host = HostPath(EXPERT_HOST);
const std::string TestExpert = HostPath(TEST_EXPERT);
const std::string FailingExpert = HostPath(TEST_EXPERT_FAILING);
const std::string CarelessExpert = HostPath(TEST_EXPERT_CARELESS);
const char* const DelphiKey = "Software\\Borland\\Delphi\\3.0";

using namespace hostrun;

// A run of the host, and the trace of the test expert.
struct TExpertRun : THostRun {
  std::vector<std::string> Trace;
};

class ExpertHostTest : public testing::Test {
 protected:
  void SetUp() override {
    Dir = FreshDir("experthost-test");
    LogFile = Dir + "\\host.log";
    TraceFile = Dir + "\\expert.trace";
    DeleteFileA(LogFile.c_str());
    DeleteFileA(TraceFile.c_str());
    SetEnvironmentVariableA("USAGRAM_TEST_EXPERT_TRACE", TraceFile.c_str());
    RegDeleteTreeA(HKEY_CURRENT_USER, DelphiKey);
  }
  void TearDown() override {
    RegDeleteTreeA(HKEY_CURRENT_USER, DelphiKey);
    SetEnvironmentVariableA("USAGRAM_TEST_EXPERT_TRACE", nullptr);
    for (const std::string& file : {LogFile, TraceFile, Project}) DeleteFileA(file.c_str());
    RemoveDirectoryA(Dir.c_str());
  }

  std::string WriteProject(const std::string& text) {
    Project = Dir + "\\Demo.dpr";
    std::ofstream(Project, std::ios::binary) << text;
    return Project;
  }

  // Starts the host, waits for the event untilEvent (count times) in its log, runs
  // whileRunning on its main window, closes it and collects what it wrote.
  TExpertRun Run(const std::string& arguments, const std::string& untilEvent = "ready", int count = 1,
                 const std::function<void(const PROCESS_INFORMATION& pi, HWND main)>& whileRunning = {}) {
    TExpertRun run;
    static_cast<THostRun&>(run) = RunExpertHost(Host, LogFile, arguments, untilEvent, count, whileRunning);
    run.Trace = ReadLines(TraceFile);
    return run;
  }

  std::string Dir, LogFile, TraceFile, Project;
};

TEST_F(ExpertHostTest, TheExpertRegistersWithItsItemRightAfterTheProjectManagerAndIsFreedAtTheEnd) {
  ListExperts({{"TestExpert", TestExpert}});
  const TExpertRun run = Run("");

  EXPECT_TRUE(run.Has({"load", TestExpert}));
  EXPECT_TRUE(run.Has({"register", "Usagram.TestExpert", "Test expert", "3"}));  // esAddIn
  EXPECT_TRUE(run.Has({"init", TestExpert, "true"}));
  EXPECT_TRUE(run.Has({"insert", "ViewTestExpertItem", "ViewMenu", "1"}));
  // The native View menu, while loaded and after the end.
  const auto menus = run.Events("menu");
  ASSERT_EQ(menus.size(), 2u);
  const TFields& loaded = menus[0];
  const auto manager = std::find(loaded.begin(), loaded.end(), "ViewPrjMgrItem");
  ASSERT_NE(manager, loaded.end());
  ASSERT_NE(manager + 1, loaded.end());
  EXPECT_EQ(manager[1], "ViewTestExpertItem");
  EXPECT_EQ(std::count(menus[1].begin(), menus[1].end(), "ViewTestExpertItem"), 0);

  // The end: the expert released (it destroys its item), then the
  // terminate procedure, then the library.
  const int release = run.At({"release", "Usagram.TestExpert"});
  const int remove = run.At({"remove", "ViewTestExpertItem"});
  const int terminate = run.At({"terminate", TestExpert});
  const int unload = run.At({"unload", TestExpert});
  EXPECT_GE(release, 0);
  EXPECT_GT(remove, release);
  EXPECT_GT(terminate, remove);
  EXPECT_GT(unload, terminate);
  EXPECT_TRUE(run.Events("leftover").empty());
  EXPECT_EQ(run.Trace, (std::vector<std::string>{"init", "construct with item", "destroy", "terminate"}));
  ExpectCleanEnd(run);
}

TEST_F(ExpertHostTest, AnItemReleasedWithoutBeingDestroyedStaysAndAStringWrittenOverLeaks) {
  // As the IDE: the item stays in the menu when its expert only released
  // it, and the IDE's string in the variable the expert answered through
  // is lost.
  ListExperts({{"Careless", CarelessExpert}});
  const TExpertRun run = Run("");

  EXPECT_TRUE(run.Has({"register", "Usagram.TestExpert", "Test expert", "3"}));
  EXPECT_TRUE(run.Has({"insert", "ViewTestExpertItem", "ViewMenu", "1"}));
  EXPECT_TRUE(run.Events("remove").empty());
  const int release = run.At({"release", "Usagram.TestExpert"});
  const int leftover = run.At({"leftover", "ViewTestExpertItem"});
  EXPECT_GE(release, 0);
  EXPECT_GT(leftover, release);
  EXPECT_GT(run.At({"unload", CarelessExpert}), leftover);
  const auto menus = run.Events("menu");
  ASSERT_EQ(menus.size(), 2u);
  EXPECT_EQ(std::count(menus[1].begin(), menus[1].end(), "ViewTestExpertItem"), 1);
  EXPECT_EQ(run.Trace, (std::vector<std::string>{"init", "construct with item", "destroy", "terminate"}));
  // Our copy of its ID string, which it wrote its name over.
  EXPECT_TRUE(run.Has({"strings", "1"}));
  EXPECT_TRUE(run.Has({"interfaces", "0"}));
  EXPECT_TRUE(run.Events("badstring").empty());
  EXPECT_TRUE(run.Events("error").empty());
}

TEST_F(ExpertHostTest, WithoutTheProjectManagerNothingIsInsertedAndTheExpertStillRegisters) {
  ListExperts({{"TestExpert", TestExpert}});
  const TExpertRun run = Run("--no-project-manager");

  EXPECT_TRUE(run.Has({"register", "Usagram.TestExpert", "Test expert", "3"}));
  EXPECT_TRUE(run.Events("insert").empty());
  const auto menus = run.Events("menu");
  ASSERT_FALSE(menus.empty());
  EXPECT_EQ(std::count(menus[0].begin(), menus[0].end(), "ViewPrjMgrItem"), 0);
  EXPECT_EQ(std::count(menus[0].begin(), menus[0].end(), "ViewTestExpertItem"), 0);
  EXPECT_EQ(run.Trace, (std::vector<std::string>{"init", "construct without item", "destroy", "terminate"}));
  ExpectCleanEnd(run);  // the menus it looked at were released all the same
}

TEST_F(ExpertHostTest, AClickOpensTheProjectOfTheCommandLineInTheHostsEditorAndASecondClickFindsItThere) {
  ListExperts({{"TestExpert", TestExpert}});
  const std::string project = WriteProject("program Demo;\nbegin\nend.\n");
  std::string editorCaption, editorText;
  size_t editors = 0;
  const std::string clicks = "--click ViewTestExpertItem --click ViewTestExpertItem ";
  const TExpertRun run = Run(clicks + "\"" + project + "\"", "openfile", 2, [&](const PROCESS_INFORMATION& pi, HWND) {
    editors = WindowsOf(pi.dwProcessId, "ExpertHostEditor").size();
    HWND editor = WindowOf(pi.dwProcessId, "ExpertHostEditor");
    ASSERT_NE(editor, nullptr);
    editorCaption = TextOf(editor);
    editorText = TextOf(FindWindowExA(editor, nullptr, "Edit", nullptr));
  });

  EXPECT_EQ(run.Events("click").size(), 2u);
  EXPECT_TRUE(run.Has({"project", project}));
  EXPECT_EQ(run.Events("openfile"), (std::vector<TFields>(2, {"openfile", project, "ok"})));
  EXPECT_EQ(editors, 1u);
  EXPECT_EQ(editorCaption, project);
  EXPECT_EQ(editorText, "program Demo;\r\nbegin\r\nend.\r\n");
  // The expert got the item's name and the project through the IDE's
  // strings, and gave them back.
  const std::string click = "click ViewTestExpertItem", opened = "open " + project + " ok";
  EXPECT_EQ(run.Trace, (std::vector<std::string>{"init", "construct with item", click, opened, click, opened, "destroy",
                                                 "terminate"}));
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);
}

TEST_F(ExpertHostTest, AFailureInTheClickHandlerReachesRaiseException) {
  ListExperts({{"TestExpert", TestExpert}});
  const TExpertRun run = Run("--click ViewTestExpertItem", "raise");

  EXPECT_TRUE(run.Has({"project", ""}));
  EXPECT_TRUE(run.Has({"raise", "No project is open in the IDE"}));
  EXPECT_TRUE(run.Events("openfile").empty());
  ExpectCleanEnd(run);
}

TEST_F(ExpertHostTest, AnExceptionInTheEntryPointReachesRaiseExceptionAndTheNextLibraryStillLoads) {
  // Besides: a library that is not there, and one that is no expert.
  char system[MAX_PATH] = {};
  GetSystemDirectoryA(system, MAX_PATH);
  const std::string missing = Dir + "\\Missing.dll", notExpert = std::string(system) + "\\version.dll";
  ListExperts({{"Failing", FailingExpert}, {"Missing", missing}, {"NotExpert", notExpert}, {"TestExpert", TestExpert}});
  const TExpertRun run = Run("");

  const auto loads = run.Events("load");
  EXPECT_EQ(std::count_if(loads.begin(), loads.end(),
                          [&](const TFields& f) { return f.size() == 4 && f[1] == missing && f[2] == "failed"; }),
            1);
  EXPECT_TRUE(run.Has({"noentry", notExpert}));
  EXPECT_TRUE(run.Has({"unload", notExpert}));

  EXPECT_TRUE(run.Has({"raise", "The test expert cannot start"}));
  EXPECT_TRUE(run.Has({"init", FailingExpert, "true"}));  // the entry point still answers true
  EXPECT_TRUE(run.Has({"terminate", FailingExpert}));
  EXPECT_TRUE(run.Has({"unload", FailingExpert}));
  const auto registered = run.Events("register");
  ASSERT_EQ(registered.size(), 1u);
  EXPECT_EQ(registered[0][1], "Usagram.TestExpert");
  EXPECT_TRUE(run.Has({"insert", "ViewTestExpertItem", "ViewMenu", "1"}));
  ExpectCleanEnd(run);
}

}  // namespace
