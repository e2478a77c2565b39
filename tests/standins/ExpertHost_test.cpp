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

#include "HostPath.h"

namespace {

const std::string Host = HostPath(EXPERT_HOST);
const std::string TestExpert = HostPath(TEST_EXPERT);
const std::string FailingExpert = HostPath(TEST_EXPERT_FAILING);
const char* const ExpertsKey = "Software\\Borland\\Delphi\\3.0\\Experts";
const char* const DelphiKey = "Software\\Borland\\Delphi\\3.0";

using TFields = std::vector<std::string>;

std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The fields of a line, an empty last one included.
TFields Split(const std::string& line) {
  TFields fields(1);
  for (char c : line)
    if (c == '\t')
      fields.emplace_back();
    else
      fields.back() += c;
  return fields;
}

struct THostRun {
  DWORD ExitCode = STILL_ACTIVE;
  std::vector<TFields> Log;
  std::vector<std::string> Trace;

  // The events of that name, in order.
  std::vector<TFields> Events(const std::string& name) const {
    std::vector<TFields> found;
    for (const TFields& f : Log)
      if (!f.empty() && f[0] == name) found.push_back(f);
    return found;
  }
  bool Has(const TFields& event) const { return std::find(Log.begin(), Log.end(), event) != Log.end(); }
  // Position of the event in the log, or -1.
  int At(const TFields& event) const {
    auto it = std::find(Log.begin(), Log.end(), event);
    return it == Log.end() ? -1 : static_cast<int>(it - Log.begin());
  }
};

struct TFindWindow {
  DWORD Process;
  const char* Class;
  HWND Found = nullptr;
};

HWND WindowOf(DWORD process, const char* windowClass) {
  TFindWindow find{process, windowClass};
  EnumWindows(
      [](HWND window, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<TFindWindow*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid != f->Process || lstrcmpA(cls, f->Class) != 0) return TRUE;
        f->Found = window;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

// A window's text, asked for by message (it may be another process's).
std::string TextOf(HWND window) {
  char text[4096] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
  return text;
}

class ExpertHostTest : public testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    Dir = std::string(temp) + "experthost-test-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(Dir.c_str(), nullptr);
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

  static void ListExperts(const std::vector<std::pair<std::string, std::string>>& experts) {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ExpertsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    for (const auto& [name, path] : experts)
      RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                     static_cast<DWORD>(path.size() + 1));
    RegCloseKey(key);
  }

  std::string WriteProject(const std::string& text) {
    Project = Dir + "\\Demo.dpr";
    std::ofstream(Project, std::ios::binary) << text;
    return Project;
  }

  // Starts the host, waits for the event untilEvent in its log, runs
  // whileRunning on its main window, closes it and collects what it wrote.
  THostRun Run(const std::string& arguments, const std::string& untilEvent = "ready",
               const std::function<void(DWORD process, HWND main)>& whileRunning = {}) {
    THostRun run;
    std::string commandLine = "\"" + Host + "\" --log \"" + LogFile + "\" " + arguments;
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessA(Host.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
      ADD_FAILURE() << "cannot start " << Host;
      return run;
    }
    auto logged = [&] {
      for (const std::string& line : ReadLines(LogFile))
        if (Split(line).front() == untilEvent) return true;
      return false;
    };
    bool seen = false;
    for (int i = 0; i < 600 && !seen; ++i) {
      seen = logged();
      if (!seen && WaitForSingleObject(pi.hProcess, 100) == WAIT_OBJECT_0) break;
    }
    EXPECT_TRUE(seen || logged()) << "the host never logged " << untilEvent;
    HWND main = WindowOf(pi.dwProcessId, "ExpertHostMain");
    EXPECT_NE(main, nullptr) << "no main window";
    if (main && whileRunning) whileRunning(pi.dwProcessId, main);
    if (main) PostMessageA(main, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
      ADD_FAILURE() << "the host did not end";
      TerminateProcess(pi.hProcess, 99);
      WaitForSingleObject(pi.hProcess, 5000);
    }
    GetExitCodeProcess(pi.hProcess, &run.ExitCode);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    for (const std::string& line : ReadLines(LogFile)) run.Log.push_back(Split(line));
    run.Trace = ReadLines(TraceFile);
    return run;
  }

  // What every run must end with: nothing left of the experts.
  static void ExpectCleanEnd(const THostRun& run) {
    EXPECT_EQ(run.ExitCode, 0u);
    EXPECT_TRUE(run.Has({"strings", "0"})) << "strings an expert kept";
    EXPECT_TRUE(run.Has({"interfaces", "0"})) << "interfaces an expert kept";
    EXPECT_TRUE(run.Events("badstring").empty());
    EXPECT_TRUE(run.Events("error").empty());
  }

  std::string Dir, LogFile, TraceFile, Project;
};

TEST_F(ExpertHostTest, TheExpertRegistersWithItsItemRightAfterTheProjectManagerAndIsFreedAtTheEnd) {
  ListExperts({{"TestExpert", TestExpert}});
  const THostRun run = Run("");

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

  // The end: the expert released (its item goes with it), then the
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

TEST_F(ExpertHostTest, WithoutTheProjectManagerNothingIsInsertedAndTheExpertStillRegisters) {
  ListExperts({{"TestExpert", TestExpert}});
  const THostRun run = Run("--no-project-manager");

  EXPECT_TRUE(run.Has({"register", "Usagram.TestExpert", "Test expert", "3"}));
  EXPECT_TRUE(run.Events("insert").empty());
  const auto menus = run.Events("menu");
  ASSERT_FALSE(menus.empty());
  EXPECT_EQ(std::count(menus[0].begin(), menus[0].end(), "ViewPrjMgrItem"), 0);
  EXPECT_EQ(std::count(menus[0].begin(), menus[0].end(), "ViewTestExpertItem"), 0);
  EXPECT_EQ(run.Trace, (std::vector<std::string>{"init", "construct without item", "destroy", "terminate"}));
  ExpectCleanEnd(run);  // the menus it looked at were released all the same
}

TEST_F(ExpertHostTest, AClickOpensTheProjectOfTheCommandLineInTheHostsEditor) {
  ListExperts({{"TestExpert", TestExpert}});
  const std::string project = WriteProject("program Demo;\nbegin\nend.\n");
  std::string editorCaption, editorText;
  const THostRun run = Run("--click ViewTestExpertItem \"" + project + "\"", "openfile", [&](DWORD process, HWND) {
    HWND editor = WindowOf(process, "ExpertHostEditor");
    ASSERT_NE(editor, nullptr);
    editorCaption = TextOf(editor);
    editorText = TextOf(FindWindowExA(editor, nullptr, "Edit", nullptr));
  });

  EXPECT_TRUE(run.Has({"click", "ViewTestExpertItem"}));
  EXPECT_TRUE(run.Has({"project", project}));
  EXPECT_TRUE(run.Has({"openfile", project, "ok"}));
  EXPECT_EQ(editorCaption, project);
  EXPECT_EQ(editorText, "program Demo;\r\nbegin\r\nend.\r\n");
  // The expert got the item's name and the project through the IDE's
  // strings, and gave them back.
  EXPECT_EQ(run.Trace, (std::vector<std::string>{"init", "construct with item", "click ViewTestExpertItem",
                                                 "open " + project + " ok", "destroy", "terminate"}));
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);
}

TEST_F(ExpertHostTest, AFailureInTheClickHandlerReachesRaiseException) {
  ListExperts({{"TestExpert", TestExpert}});
  const THostRun run = Run("--click ViewTestExpertItem", "raise");

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
  const THostRun run = Run("");

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
