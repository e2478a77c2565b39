// The unit scope names editor, opened from the Options menu and worked inside
// its modal loop: names added, refused, moved and deleted; closing it
// analyses the project again with the new list, which reaches the registry
// when the program ends.
#include "LaterWindows.h"
#include "Messages.h"
#include "WindowsTestSupport.h"
#include "ufScopes.h"

namespace {

class ScopesEditor : public ToolWindowsTest {
 protected:
  void SetUp() override {
    ToolWindowsTest::SetUp();
    CreateScopeNamesEditor();
  }
  static std::string Add(const std::string& text) { return ClickAndAnswer(fScopes->bAjouter, text); }
  static std::vector<std::string> Listed() {
    std::vector<std::string> items;
    for (int i = 0; i < fScopes->ListBox.Count(); ++i) items.push_back(fScopes->ListBox.Items(i));
    return items;
  }
  // Adds through the input box a name that is refused: the warning's text,
  // its box answered with OK.
  static std::string AddRefused(const std::string& text) {
    std::string warning;
    TModalAnswer boxes(
        [&](HWND window) {
          char name[32] = {};
          GetClassNameA(window, name, sizeof name);
          if (std::string(name) == "#32770") {
            char buf[512] = {};
            GetDlgItemTextA(window, 0xFFFF, buf, sizeof buf);
            warning = buf;
            TModalAnswer::PostButton(window, IDOK);
          } else if (HWND edit = FindWindowExA(window, nullptr, "Edit", nullptr)) {
            SetWindowTextA(edit, text.c_str());
            PostMessageA(window, WM_KEYDOWN, VK_RETURN, 0);
          }
        },
        nullptr);
    fScopes->bAjouter.Click();
    return warning;
  }

  TTempDirectory Project{"scopes"};
};

}  // namespace

TEST_F(ScopesEditor, NamesAreAddedInOrderMovedDeletedAndTheRunFollows) {
  Project.Write("Shop.dpr", {"program Shop;", "uses SysUtils, Forms;", "begin", "end."});
  const std::string rtl = Project.Make("rtl");
  Project.Write("rtl\\System.SysUtils.pas", {"unit System.SysUtils;", "interface", "implementation", "end."});
  Project.Write("rtl\\Vcl.Forms.pas", {"unit Vcl.Forms;", "interface", "implementation", "end."});
  AddLocation(-1, rtl, false);
  fUsagram->Afficherlalistedesfichiers1Click();
  Open(Project / "Shop.dpr");
  ASSERT_NE(UnitNamed("SysUtils"), nullptr);
  std::string caption;
  std::vector<std::string> refused;
  auto work = [&] {
    EXPECT_TRUE(Listed().empty());
    caption = Add("Winapi");
    Add("System");
    Add("Vcl");
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Winapi", "System", "Vcl"}));
    EXPECT_EQ(fScopes->ListBox.ItemIndex(), 2);  // the name just added
    refused = {AddRefused("vcl"), AddRefused("Vcl Forms")};
    EXPECT_EQ(Listed().size(), 3u);
    // Up and down move the selected name, and it stays selected; at either
    // end nothing moves.
    fScopes->bMonter.Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Winapi", "Vcl", "System"}));
    EXPECT_EQ(fScopes->ListBox.ItemIndex(), 1);
    fScopes->bMonter.Click();
    fScopes->bMonter.Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Vcl", "Winapi", "System"}));
    EXPECT_EQ(fScopes->ListBox.ItemIndex(), 0);
    fScopes->ListBox.SetItemIndex(2);
    fScopes->bDescendre.Click();
    EXPECT_EQ(fScopes->ListBox.ItemIndex(), 2);
    // Delete takes the selected line; without one, nothing.
    fScopes->ListBox.SetItemIndex(1);
    fScopes->bSupprimer.Click();
    EXPECT_EQ(Listed(), (std::vector<std::string>{"Vcl", "System"}));
    fScopes->ListBox.SetItemIndex(-1);
    fScopes->bSupprimer.Click();
    EXPECT_EQ(Listed().size(), 2u);
    fScopes->Fermer.Click();
  };
  EXPECT_EQ(Modal(*fScopes, [] { fUsagram->Unitscopenames1Click(); }, work), 1);
  EXPECT_EQ(caption, "Usagram");
  EXPECT_EQ(refused, (std::vector<std::string>{Msg::ScopeNameDuplicate,
                                               std::string("\"Vcl Forms\"") + Msg::ScopeNameInvalid}));
  // Analysed again: both units under their whole names, found in rtl.
  EXPECT_EQ(UnitNamed("SysUtils"), nullptr);
  ASSERT_NE(UnitNamed("System.SysUtils"), nullptr);
  EXPECT_TRUE(UnitNamed("System.SysUtils")->Found);
  ASSERT_NE(UnitNamed("Vcl.Forms"), nullptr);

  FreeToolWindows();
  UsagramFinalise();
  TRegIniFile stored(Reg::ProductKey);
  EXPECT_EQ(stored.ReadString(Reg::ScopeNames, Reg::Count, "#"), "2");
  EXPECT_EQ(stored.ReadString(Reg::ScopeNames, std::string(Reg::ScopeName) + "0", "#"), "Vcl");
  EXPECT_EQ(stored.ReadString(Reg::ScopeNames, std::string(Reg::ScopeName) + "1", "#"), "System");
}

TEST_F(ScopesEditor, TheStoredNamesAreShownAndTheMenuItemIsTheOptionsLast) {
  AddScopeName("System");
  AddScopeName("Data");
  std::vector<std::string> shown;
  int selected = -2;
  auto work = [&] {
    shown = Listed();
    selected = fScopes->ListBox.ItemIndex();
    SendMessageA(fScopes->Handle(), WM_CLOSE, 0, 0);
  };
  // Closed by its frame: not OK, no new analysis.
  EXPECT_EQ(Modal(*fScopes, [] { EXPECT_FALSE(ExecuteScopeNamesEditor()); }, work), 1);
  EXPECT_EQ(shown, (std::vector<std::string>{"System", "Data"}));
  EXPECT_EQ(selected, 0);
  HMENU options = GetSubMenu(GetMenu(fUsagram->Handle()), 5);
  char text[64] = {};
  GetMenuStringA(options, GetMenuItemCount(options) - 1, text, sizeof text, MF_BYPOSITION);
  EXPECT_STREQ(text, "Unit &scope names");
}
