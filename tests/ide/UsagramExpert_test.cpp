// Usagram_Expert.dll in the IDE's stand-in, as a user meets it: listed in
// the prefix's Experts key, loaded by ExpertHost, its item clicked, its
// windows looked at and driven from outside the host's process, the host
// closed as a user closes it. The settings are the prefix's real registry.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "ExpertHostRun.h"
#include "HostPath.h"
#include "RemoveTree.h"
#include "ToolInHost.h"

namespace {

using namespace hostrun;

const std::string Host = HostPath(EXPERT_HOST);
const std::string Library = HostPath(USAGRAM_EXPERT);
const char* const DelphiKey = "Software\\Borland\\Delphi\\3.0";
const char* const VendorKey = "Software\\Vantrelle";
const std::string ProductKey = "Software\\Vantrelle\\Usagram";

// A value of the product key's section, or "<absent>".
std::string Setting(const std::string& section, const std::string& name) {
  char data[1024] = {};
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_CURRENT_USER, (ProductKey + "\\" + section).c_str(), name.c_str(), RRF_RT_REG_SZ, nullptr,
                   data, &size) != ERROR_SUCCESS)
    return "<absent>";
  return data;
}

void SetSetting(const std::string& section, const std::string& name, const std::string& value) {
  ASSERT_EQ(RegSetKeyValueA(HKEY_CURRENT_USER, (ProductKey + "\\" + section).c_str(), name.c_str(), REG_SZ,
                            value.c_str(), static_cast<DWORD>(value.size() + 1)),
            ERROR_SUCCESS);
}

// Finds the unit's label with the mouse (the status bar names the unit
// under it), right-clicks it and answers the popup menu's window, or
// nullptr.
HWND RightClickLabel(const PROCESS_INFORMATION& pi, HWND main, const std::string& unit) {
  RECT client{};
  GetClientRect(main, &client);
  HWND image = DeepestChildAt(main, {client.right / 2, client.bottom / 2});
  HWND bar = FindWindowExA(main, nullptr, STATUSCLASSNAMEA, nullptr);
  if (!bar) return nullptr;
  TRemoteBuffer buffer(pi.hProcess);
  RECT area{};
  GetClientRect(image, &area);
  LPARAM at = 0;
  bool found = false;
  for (int y = 2; y < area.bottom && !found; y += 4)
    for (int x = 2; x < area.right && !found; x += 6) {
      at = MAKELPARAM(x, y);
      SendMessageTimeoutA(image, WM_MOUSEMOVE, 0, at, SMTO_ABORTIFHUNG, 5000, nullptr);
      found = buffer.StatusText(bar, 1) == unit;
    }
  if (!found) {
    ADD_FAILURE() << "no label of " << unit << " under the mouse";
    return nullptr;
  }
  PostMessageA(image, WM_RBUTTONDOWN, MK_RBUTTON, at);
  HWND popup = nullptr;
  WaitUntil(pi.hProcess, [&] {
    for (HWND menu : WindowsOf(pi.dwProcessId, "#32768"))
      if (IsWindowVisible(menu)) popup = menu;
    return popup != nullptr;
  });
  EXPECT_NE(popup, nullptr) << "no popup menu";
  return popup;
}

class UsagramExpertTest : public testing::Test {
 protected:
  void SetUp() override {
    Dir = FreshDir("usagram-expert-test");
    LogFile = Dir + "\\host.log";
    Project = Dir + "\\Demo.dpr";
    Unit = Dir + "\\Inventaire.pas";
    std::ofstream(Project, std::ios::binary) << "program Demo;\r\n\r\nuses\r\n  Inventaire;\r\n\r\nbegin\r\nend.\r\n";
    std::ofstream(Unit, std::ios::binary) << UnitText;
    CleanRegistry();
  }
  void TearDown() override {
    CleanRegistry();
    for (const std::string& file : {LogFile, Project, Unit}) DeleteFileA(file.c_str());
    RemoveDirectoryA(Dir.c_str());
  }
  static void CleanRegistry() {
    RegDeleteTreeA(HKEY_CURRENT_USER, DelphiKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, VendorKey);
  }

  THostRun Run(const std::string& arguments, const std::string& untilEvent = "ready", int count = 1,
               const std::function<void(const PROCESS_INFORMATION& pi, HWND main)>& whileRunning = {}) {
    return RunExpertHost(Host, LogFile, arguments, untilEvent, count, whileRunning);
  }

  static constexpr const char* UnitText = "unit Inventaire;\r\n\r\ninterface\r\n\r\nimplementation\r\n\r\nend.\r\n";
  std::string Dir, LogFile, Project, Unit;
};

TEST_F(UsagramExpertTest, RegistersItsItemAfterTheProjectManagerReadsTheSettingsAtLoadAndWritesThemAtUnload) {
  ListExperts({{"Usagram_Expert", Library}});
  // The user's settings: read when the library starts, written back as they
  // are when it ends.
  SetSetting("Options", "MSWord95", "0");
  SetSetting("Unités de base", "Nombre", "2");
  SetSetting("Unités de base", "Base 0", "SysUtils");
  SetSetting("Unités de base", "Base 1", "Windows");
  std::string imagesWhileLoaded;
  std::vector<std::string> windowsWhileLoaded;
  const THostRun run = Run("", "ready", 1, [&](const PROCESS_INFORMATION& pi, HWND) {
    imagesWhileLoaded = Setting("Disque", "RépertoireImages");
    windowsWhileLoaded = OurWindows(pi.dwProcessId);
  });

  EXPECT_TRUE(run.Has({"load", Library}));
  EXPECT_TRUE(run.Has({"register", "Vantrelle.Usagram", "Usagram_Expert", "3"}));  // esAddIn
  EXPECT_TRUE(run.Has({"init", Library, "true"}));
  EXPECT_TRUE(run.Has({"insert", "ViewUsagramItem", "ViewMenu", "1"}));
  const auto menus = run.Events("menu");
  ASSERT_EQ(menus.size(), 2u);
  const auto manager = std::find(menus[0].begin(), menus[0].end(), "ViewPrjMgrItem");
  ASSERT_NE(manager, menus[0].end());
  ASSERT_NE(manager + 1, menus[0].end());
  EXPECT_EQ(manager[1], "ViewUsagramItem");
  EXPECT_EQ(std::count(menus[1].begin(), menus[1].end(), "ViewUsagramItem"), 0);
  // No window before the first click.
  EXPECT_TRUE(windowsWhileLoaded.empty());

  // The end: the expert released, which destroys its item, then the
  // library; no terminate procedure.
  const int release = run.At({"release", "Vantrelle.Usagram"});
  EXPECT_GE(release, 0);
  EXPECT_GT(run.At({"remove", "ViewUsagramItem"}), release);
  EXPECT_TRUE(run.Events("leftover").empty());
  EXPECT_GT(run.At({"unload", Library}), release);
  EXPECT_TRUE(run.Events("terminate").empty());
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);

  // Nothing written while loaded; everything at the end, as it was read.
  EXPECT_EQ(imagesWhileLoaded, "<absent>");
  EXPECT_NE(Setting("Disque", "RépertoireImages"), "<absent>");
  EXPECT_EQ(Setting("Options", "MSWord95"), "0");
  EXPECT_EQ(Setting("Unités de base", "Nombre"), "2");
  EXPECT_EQ(Setting("Unités de base", "Base 0"), "SysUtils");
  EXPECT_EQ(Setting("Unités de base", "Base 1"), "Windows");
  // No analysis ran: the locations were neither loaded nor written.
  EXPECT_EQ(Setting("Localisations", "Nombre"), "<absent>");
}

TEST_F(UsagramExpertTest, WithoutTheProjectManagerNothingIsInsertedAndTheExpertStillRegisters) {
  ListExperts({{"Usagram_Expert", Library}});
  const THostRun run = Run("--no-project-manager");

  EXPECT_TRUE(run.Has({"register", "Vantrelle.Usagram", "Usagram_Expert", "3"}));
  EXPECT_TRUE(run.Events("insert").empty());
  const auto menus = run.Events("menu");
  ASSERT_FALSE(menus.empty());
  EXPECT_EQ(std::count(menus[0].begin(), menus[0].end(), "ViewUsagramItem"), 0);
  EXPECT_TRUE(run.Has({"release", "Vantrelle.Usagram"}));
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);  // the menus it looked at were released all the same
}

TEST_F(UsagramExpertTest, AClickOpensTheToolOnTheHostsProjectAndASecondClickCreatesNothingNew) {
  ListExperts({{"Usagram_Expert", Library}});
  std::vector<std::string> windows;
  std::string caption;
  const std::string clicks = "--click ViewUsagramItem --click ViewUsagramItem ";
  const THostRun run = Run(clicks + "\"" + Project + "\"", "project", 2, [&](const PROCESS_INFORMATION& pi, HWND) {
    HWND main = WaitForDiagram(pi);
    if (main) caption = TextOf(main);
    windows = OurWindows(pi.dwProcessId);
  });

  EXPECT_EQ(run.Events("click").size(), 2u);
  EXPECT_EQ(run.Events("project"), (std::vector<TFields>(2, {"project", Project})));
  EXPECT_EQ(caption, TitlePrefix + Project);
  // Every window of the tool, once: the main window, the editors of the
  // options, the viewers, the directory window and the bug report.
  std::vector<std::string> expected{TitlePrefix + Project,
                                    "Basic units",
                                    "Locations",
                                    "About Usagram ...",
                                    "Unit",
                                    "Diagram's simplification options",
                                    "Welcome",
                                    "Files list",
                                    "Directory selection",
                                    "Buf report"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(windows, expected);
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);
  // The analysis loaded the locations (written at the end); the main
  // window wrote its own values as it went.
  EXPECT_EQ(Setting("Localisations", "Nombre"), "0");
  EXPECT_EQ(Setting("Options", "AfficherListeDeFichiers"), "1");
}

TEST_F(UsagramExpertTest, WithoutAProjectTheMainWindowOpensWithItsCaptionAsItWas) {
  ListExperts({{"Usagram_Expert", Library}});
  std::string caption;
  const THostRun run = Run("--click ViewUsagramItem", "project", 1, [&](const PROCESS_INFORMATION& pi, HWND) {
    HWND main = nullptr;
    EXPECT_TRUE(WaitUntil(pi.hProcess, [&] { return (main = MainWindowOf(pi.dwProcessId)) != nullptr; }));
    if (main) caption = TextOf(main);
  });

  EXPECT_TRUE(run.Has({"project", ""}));
  EXPECT_EQ(caption, TitlePrefix + std::string(255 - TitlePrefix.size(), '#'));
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);
  EXPECT_EQ(Setting("Localisations", "Nombre"), "<absent>");  // nothing was analysed
}

TEST_F(UsagramExpertTest, EditOnAUnitOpensItInTheHostsEditorAndNoEditorWindowOfOurs) {
  ListExperts({{"Usagram_Expert", Library}});
  std::vector<std::string> before, after;
  std::string hostEditorCaption, hostEditorText;
  const THostRun run = Run("--click ViewUsagramItem \"" + Project + "\"", "project", 1,
                           [&](const PROCESS_INFORMATION& pi, HWND) {
    HWND main = WaitForDiagram(pi);
    ASSERT_NE(main, nullptr);
    before = OurWindows(pi.dwProcessId);
    // A right click on the unit's label, then Edit, the fifth item of the
    // popup menu.
    HWND popup = RightClickLabel(pi, main, "Inventaire");
    ASSERT_NE(popup, nullptr);
    for (int i = 0; i < 5; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    ASSERT_TRUE(WaitUntil(pi.hProcess, [&] { return CountLogged(LogFile, "openfile") > 0; }));
    ASSERT_TRUE(WaitUntil(pi.hProcess, [&] { return WindowOf(pi.dwProcessId, "ExpertHostEditor") != nullptr; }));
    HWND editor = WindowOf(pi.dwProcessId, "ExpertHostEditor");
    hostEditorCaption = TextOf(editor);
    hostEditorText = TextOf(FindWindowExA(editor, nullptr, "Edit", nullptr));
    after = OurWindows(pi.dwProcessId);
  });

  const auto opened = run.Events("openfile");
  ASSERT_EQ(opened.size(), 1u);
  ASSERT_EQ(opened[0].size(), 3u);
  EXPECT_EQ(lstrcmpiA(opened[0][1].c_str(), Unit.c_str()), 0) << opened[0][1];
  EXPECT_EQ(opened[0][2], "ok");
  EXPECT_EQ(hostEditorCaption, opened[0][1]);
  EXPECT_EQ(hostEditorText, UnitText);
  // No editor of ours: the same windows as before.
  EXPECT_FALSE(before.empty());
  EXPECT_EQ(after, before);
  EXPECT_TRUE(run.Events("raise").empty());
  ExpectCleanEnd(run);
}

TEST_F(UsagramExpertTest, TheHostClosedWhileAModalWindowOfOursIsOpenEndsCleanly) {
  // The close request reaches the host inside the inspection window's own
  // loop; the library goes only once that loop is over and its code has
  // returned.
  ListExperts({{"Usagram_Expert", Library}});
  bool inspecting = false;
  const THostRun run = Run("--click ViewUsagramItem \"" + Project + "\"", "project", 1,
                           [&](const PROCESS_INFORMATION& pi, HWND) {
    HWND main = WaitForDiagram(pi);
    ASSERT_NE(main, nullptr);
    HWND popup = RightClickLabel(pi, main, "Inventaire");
    ASSERT_NE(popup, nullptr);
    for (int i = 0; i < 4; ++i) PostMessageA(popup, WM_KEYDOWN, VK_DOWN, 0);  // Inspect
    PostMessageA(popup, WM_KEYDOWN, VK_RETURN, 0);
    inspecting = WaitUntil(pi.hProcess, [&] {
      for (HWND window : WindowsOf(pi.dwProcessId, FormClass))
        if (IsWindowVisible(window) && TextOf(window) == "Inspect - Inventaire") return true;
      return false;
    });
  });

  EXPECT_TRUE(inspecting);
  EXPECT_TRUE(run.Has({"release", "Vantrelle.Usagram"}));
  EXPECT_TRUE(run.Has({"unload", Library}));
  ExpectCleanEnd(run);
  EXPECT_EQ(Setting("Localisations", "Nombre"), "0");  // the settings were written
}

TEST_F(UsagramExpertTest, TheLibraryListedTwiceStartsOnceAndTellsTheIdeThroughRaiseException) {
  // Two names, one file: the IDE loads it once and calls its entry point twice.
  ListExperts({{"Usagram_Expert", Library}, {"Usagram_Expert_again", Library}});
  SetSetting("Unités de base", "Nombre", "1");
  SetSetting("Unités de base", "Base 0", "Forms");
  const THostRun run = Run("");

  EXPECT_EQ(run.Events("init"), (std::vector<TFields>(2, {"init", Library, "true"})));
  EXPECT_EQ(run.Events("register").size(), 1u);
  EXPECT_EQ(run.Events("insert").size(), 1u);
  EXPECT_EQ(run.Events("raise"),
            (std::vector<TFields>{{"raise", "Usagram_Expert is already loaded: it is listed twice among the experts"}}));
  EXPECT_EQ(run.Events("release").size(), 1u);
  ExpectCleanEnd(run);
  EXPECT_EQ(Setting("Unités de base", "Nombre"), "1");
  EXPECT_EQ(Setting("Unités de base", "Base 0"), "Forms");
}

}  // namespace
