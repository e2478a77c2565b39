#include "FormsTestSupport.h"
#include "Menus.h"
#include "StdCtrls.h"

namespace {

TFormParams Params() {
  TFormParams p;
  p.Caption = "Menus";
  p.ClientWidth = 632;
  p.ClientHeight = 434;
  return p;
}

std::vector<std::string> NativeItems(HMENU menu) {
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(menu); ++i) {
    char buf[256] = {};
    GetMenuStringA(menu, static_cast<UINT>(i), buf, sizeof buf, MF_BYPOSITION);
    items.push_back(buf);
  }
  return items;
}

// Holds Ctrl down for the accelerator translation, as a user would.
class TCtrlDown {
 public:
  TCtrlDown() {
    GetKeyboardState(saved_);
    BYTE state[256];
    std::copy(std::begin(saved_), std::end(saved_), state);
    state[VK_CONTROL] = state[VK_LCONTROL] = 0x80;
    SetKeyboardState(state);
  }
  ~TCtrlDown() { SetKeyboardState(saved_); }

 private:
  BYTE saved_[256];
};

void PressKey(HWND target, WORD key) {
  PostMessageA(target, WM_KEYDOWN, key, 1);
  Application.ProcessMessages();
}

}  // namespace

TEST(ShortCuts, TextsAsTheMenusShowThem) {
  EXPECT_EQ(ShortCutToText(ShortCut('O', ssCtrl)), "Ctrl+O");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_F5, ssShift | ssCtrl)), "Shift+Ctrl+F5");
  EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, 0)), "Del");
  EXPECT_EQ(ShortCutToText(ShortCut('2', ssAlt)), "Alt+2");
  EXPECT_EQ(ShortCutToText(0), "");
}

TEST_F(FormsTest, HiddenMenuItemsComeBackInTheirPlace) {
  TForm form(Params());
  TMainMenu menu;
  TMenuItem* file = menu.Add("&File");
  file->Add("&Open", "Ouvrir1", ShortCut('O', ssCtrl));
  TMenuItem* save = file->Add("&Save", "Sauver1", ShortCut('S', ssCtrl));
  TMenuItem* printer = file->Add("P&rinter", "Imprimante1");
  file->AddSeparator();
  file->Add("&Quit", "Quitter1", ShortCut('Q', ssCtrl));
  form.SetMenu(&menu);
  EXPECT_EQ(form.ClientHeight(), 434);  // the menu bar does not eat the client
  EXPECT_EQ(NativeItems(file->Handle()),
            (std::vector<std::string>{"&Open\tCtrl+O", "&Save\tCtrl+S", "P&rinter", "", "&Quit\tCtrl+Q"}));
  save->SetVisible(false);
  printer->SetVisible(false);
  EXPECT_EQ(NativeItems(file->Handle()), (std::vector<std::string>{"&Open\tCtrl+O", "", "&Quit\tCtrl+Q"}));
  printer->SetVisible(true);
  EXPECT_EQ(NativeItems(file->Handle()),
            (std::vector<std::string>{"&Open\tCtrl+O", "P&rinter", "", "&Quit\tCtrl+Q"}));
  save->SetVisible(true);
  EXPECT_EQ(NativeItems(file->Handle()),
            (std::vector<std::string>{"&Open\tCtrl+O", "&Save\tCtrl+S", "P&rinter", "", "&Quit\tCtrl+Q"}));
  // The item keeps its states while hidden.
  save->SetChecked(true);
  save->SetEnabled(false);
  save->SetVisible(false);
  save->SetVisible(true);
  UINT state = GetMenuState(file->Handle(), 1, MF_BYPOSITION);
  EXPECT_TRUE(state & MF_CHECKED);
  EXPECT_TRUE(state & MF_GRAYED);
  EXPECT_EQ(menu.Find("Imprimante1"), printer);
  EXPECT_EQ(menu.Find("Nothing"), nullptr);
}

TEST_F(FormsTest, ShortcutsFireTheirItemThroughTheAcceleratorTable) {
  TForm form(Params());
  TMainMenu menu;
  TPopupMenu popup;
  int opens = 0, quits = 0, zooms = 0;
  TMenuItem* file = menu.Add("&File");
  TMenuItem* open = file->Add("&Open", "Ouvrir1", ShortCut('O', ssCtrl), [&] { ++opens; });
  TMenuItem* quit = file->Add("&Quit", "Quitter1", ShortCut('Q', ssCtrl), [&] { ++quits; });
  popup.Add("Zoom x2", "Zoomx21", ShortCut('I', ssCtrl), [&] { ++zooms; });
  form.SetMenu(&menu);
  form.AddPopupMenu(&popup);
  form.Show();
  {
    TCtrlDown ctrl;
    PressKey(form.Handle(), 'O');
    EXPECT_EQ(opens, 1);
    PressKey(form.Handle(), 'I');
    EXPECT_EQ(zooms, 1);
    // A disabled item, or one whose menu is disabled, does nothing.
    open->SetEnabled(false);
    PressKey(form.Handle(), 'O');
    EXPECT_EQ(opens, 1);
    open->SetEnabled(true);
    file->SetEnabled(false);
    PressKey(form.Handle(), 'O');
    EXPECT_EQ(opens, 1);
    file->SetEnabled(true);
    // A hidden item leaves the table; a changed shortcut takes effect.
    quit->SetVisible(false);
    PressKey(form.Handle(), 'Q');
    EXPECT_EQ(quits, 0);
    quit->SetVisible(true);
    quit->SetShortCut(ShortCut('X', ssCtrl));
    PressKey(form.Handle(), 'Q');
    PressKey(form.Handle(), 'X');
    EXPECT_EQ(quits, 1);
  }
  // Without Ctrl the key is an ordinary key.
  PressKey(form.Handle(), 'O');
  EXPECT_EQ(opens, 1);
}

TEST_F(FormsTest, MenuCommandsAndSubmenuOpeningReachTheHandlers) {
  TForm form(Params());
  TMainMenu menu;
  int reloads = 0, editOpened = 0;
  TMenuItem* reload = menu.Add("&Reload !", "Recharge1", 0, [&] { ++reloads; });
  TMenuItem* edit = menu.Add("&Edit", "Edit1", 0, [&] { ++editOpened; });
  edit->Add("&Copy", "Copier1");
  form.SetMenu(&menu);
  SendMessageA(form.Handle(), WM_COMMAND, MAKEWPARAM(reload->Command(), 0), 0);
  EXPECT_EQ(reloads, 1);
  SendMessageA(form.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit->Handle()), 1);
  EXPECT_EQ(editOpened, 1);
  // Captions change in place (the Word item does so).
  edit->Items(0)->SetCaption("C&opy");
  EXPECT_EQ(NativeItems(edit->Handle()), std::vector<std::string>{"C&opy"});
  EXPECT_EQ(NativeItems(menu.Handle()), (std::vector<std::string>{"&Reload !", "&Edit"}));
}

TEST_F(FormsTest, AnItemAddedUnderALeafBecomesASubmenu) {
  TPopupMenu popup;
  TMenuItem* more = popup.Add("More");
  EXPECT_EQ(more->Handle(), nullptr);
  more->Add("Inner");
  ASSERT_NE(more->Handle(), nullptr);
  EXPECT_EQ(GetSubMenu(popup.Handle(), 0), more->Handle());
  EXPECT_EQ(NativeItems(more->Handle()), std::vector<std::string>{"Inner"});
}

TEST_F(FormsTest, ShortcutsWorkUnderAMessageLoopThatIsNotOurs) {
  TForm form(Params());
  TMainMenu menu;
  int copies = 0;
  menu.Add("&Edit")->Add("&Copy", "Copier1", ShortCut('C', ssCtrl), [&] { ++copies; });
  form.SetMenu(&menu);
  TEdit edit;
  edit.Create(form, {10, 10, 100, 21});
  // The host's loop dispatches the key straight to the focused control.
  TCtrlDown ctrl;
  SendMessageA(edit.Handle(), WM_KEYDOWN, 'C', 1);
  EXPECT_EQ(copies, 1);
  int editKeys = 0;
  edit.OnKeyDown = [&](WORD&, TShiftState) { ++editKeys; };
  SendMessageA(edit.Handle(), WM_KEYDOWN, 'V', 1);  // no such shortcut: the edit has it
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(editKeys, 1);
  menu.Find("Copier1")->SetEnabled(false);  // a disabled command leaves the key too
  SendMessageA(edit.Handle(), WM_KEYDOWN, 'C', 1);
  EXPECT_EQ(copies, 1);
  EXPECT_EQ(editKeys, 2);
}

namespace {
HWND PopupOwner = nullptr;
// Runs inside the menu's own loop: the keyboard picks the second item.
void CALLBACK ChooseSecondItem(HWND, UINT, UINT_PTR id, DWORD) {
  KillTimer(nullptr, id);
  for (WORD key : {VK_DOWN, VK_DOWN, VK_RETURN}) PostMessageA(PopupOwner, WM_KEYDOWN, key, 0);
}
}  // namespace

TEST_F(FormsTest, PopupMenuChoiceReachesItsItem) {
  TForm form(Params());
  form.Show();
  TPopupMenu popup;
  int zoomIn = 0, zoomOut = 0;
  popup.Add("Zoom x2", "Zoomx21", 0, [&] { ++zoomIn; });
  TMenuItem* inspect = popup.Add("Inspect", "Inspecter1");
  popup.Add("Zoom /2", "Zoom21", 0, [&] { ++zoomOut; });
  inspect->SetVisible(false);  // the second item shown is "Zoom /2"
  PopupOwner = form.Handle();
  SetTimer(nullptr, 0, 10, &ChooseSecondItem);
  popup.Popup(form, form.Left() + 50, form.Top() + 50);
  EXPECT_TRUE(PumpUntil([&] { return zoomIn + zoomOut > 0; }));
  EXPECT_EQ(zoomIn, 0);
  EXPECT_EQ(zoomOut, 1);
}

namespace {
// A form's side of a menu table: two handlers and the members they reach.
struct TTableForm {
  int Opens = 0, Zooms = 0;
  TMenuItem *File = nullptr, *Open = nullptr, *Zoom = nullptr;
  void OpenClick() { ++Opens; }
  void ZoomClick() { ++Zooms; }
};
constexpr TMenuDef<TTableForm> TableMenu[] = {
    {mlTop, "Fichier1", "&File", 0, nullptr, &TTableForm::File},
    {mlSub, "Ouvrir1", "&Open", Ctrl('O'), &TTableForm::OpenClick, &TTableForm::Open},
    {mlSub, "", "-", 0, nullptr, nullptr},
    {mlSub, "Quitter1", "&Quit", Ctrl('Q'), nullptr, nullptr},
    {mlTop, "x21", "Zoom &x 2", 0, &TTableForm::ZoomClick, &TTableForm::Zoom},
};
}  // namespace

TEST_F(FormsTest, MenuTablesBuildTheirItemsInOrderAndBindTheForm) {
  static_assert(Ctrl('O') == (static_cast<TShortCut>('O') | scCtrl));
  EXPECT_EQ(Ctrl('O'), ShortCut('O', ssCtrl));
  TTableForm form;
  TMainMenu menu;
  BuildMenu<TTableForm>(menu, form, TableMenu);
  ASSERT_NE(form.File, nullptr);
  EXPECT_EQ(NativeItems(menu.Handle()), (std::vector<std::string>{"&File", "Zoom &x 2"}));
  EXPECT_EQ(NativeItems(form.File->Handle()), (std::vector<std::string>{"&Open\tCtrl+O", "", "&Quit\tCtrl+Q"}));
  EXPECT_EQ(form.Open, menu.Find("Ouvrir1"));
  EXPECT_EQ(form.Open->Parent(), form.File);
  EXPECT_EQ(form.Zoom, menu.Find("x21"));
  EXPECT_TRUE(form.File->Items(1)->IsSeparator());
  form.Open->Click();
  form.Zoom->Click();
  form.Zoom->Click();
  EXPECT_EQ(form.Opens, 1);
  EXPECT_EQ(form.Zooms, 2);
  menu.Find("Quitter1")->Click();  // no handler: nothing happens
}

TEST_F(FormsTest, AMenuTableRefusesASubItemWithoutParent) {
  constexpr TMenuDef<TTableForm> orphan[] = {{mlSub, "Ouvrir1", "&Open", 0, &TTableForm::OpenClick, nullptr}};
  TTableForm form;
  TPopupMenu menu;
  EXPECT_THROW(BuildMenu<TTableForm>(menu, form, orphan), std::logic_error);
  EXPECT_EQ(menu.Items().Count(), 0);
}
