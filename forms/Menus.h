// Main and popup menus built in code. An item has a caption (with its '&'
// mnemonic; "-" is a separator), a name to find it by, a shortcut shown at
// the right of the item and put in its form's accelerator table, a check
// mark, an enabled and a visible state, and OnClick. A hidden item leaves
// the native menu and comes back at its place when shown again. Opening a
// submenu fires its parent item's OnClick, so a handler can set the items'
// states just in time.
#pragma once

#include "Forms.h"

#include <memory>
#include <span>
#include <stdexcept>
#include <string>
#include <vector>

// A shortcut: virtual key in the low byte, modifiers as Delphi has them.
using TShortCut = unsigned;
inline constexpr TShortCut scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000;
TShortCut ShortCut(WORD key, TShiftState shift);
constexpr TShortCut Ctrl(char key) { return static_cast<unsigned char>(key) | scCtrl; }
// "Ctrl+O", "Shift+Ctrl+F5", "Del"; empty for no shortcut.
std::string ShortCutToText(TShortCut sc);

class TMenu;

class TMenuItem {
 public:
  explicit TMenuItem(const std::string& caption = {}, const std::string& name = {}, TShortCut shortCut = 0,
                     std::function<void()> onClick = {});
  ~TMenuItem();
  TMenuItem(const TMenuItem&) = delete;
  TMenuItem& operator=(const TMenuItem&) = delete;

  // Appends a child item (owned by this one) and returns it.
  TMenuItem* Add(const std::string& caption, const std::string& name = {}, TShortCut shortCut = 0,
                 std::function<void()> onClick = {});
  TMenuItem* AddSeparator() { return Add("-"); }

  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& c);
  const std::string& Name() const { return name_; }
  TShortCut ShortCut() const { return shortCut_; }
  void SetShortCut(TShortCut sc);
  bool Checked() const { return checked_; }
  void SetChecked(bool c);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool e);
  bool Visible() const { return visible_; }
  void SetVisible(bool v);
  bool IsSeparator() const { return caption_ == "-"; }

  int Count() const { return static_cast<int>(items_.size()); }
  TMenuItem* Items(int i) const { return items_.at(static_cast<size_t>(i)).get(); }
  TMenuItem* Parent() const { return parent_; }
  // This item or the first one below it with that name.
  TMenuItem* Find(const std::string& name);
  UINT Command() const { return command_; }
  // The submenu, when the item has children.
  HMENU Handle() const { return submenu_; }

  std::function<void()> OnClick;
  // The item and every parent are enabled and visible.
  bool CanClick() const;
  // Fires OnClick when CanClick.
  void Click();

  static TMenuItem* FromCommand(UINT command);
  static TMenuItem* FromSubmenu(HMENU submenu);

 private:
  friend class TMenu;
  void EnsureSubmenu();
  void InsertNative();
  void RemoveNative();
  int NativePosition() const;
  void Changed(bool shortcutsToo);
  std::string NativeText() const;
  void FillItemInfo(MENUITEMINFOA& mi, std::string& text) const;
  TMenu* RootMenu() const;

  std::string caption_, name_;
  TShortCut shortCut_ = 0;
  bool checked_ = false, enabled_ = true, visible_ = true;
  bool inserted_ = false;
  UINT command_;
  HMENU submenu_ = nullptr;
  TMenuItem* parent_ = nullptr;
  TMenu* menu_ = nullptr;  // set on the root item only
  std::vector<std::unique_ptr<TMenuItem>> items_;
};

class TMenu {
 public:
  virtual ~TMenu();
  TMenu(const TMenu&) = delete;
  TMenu& operator=(const TMenu&) = delete;

  TMenuItem& Items() { return root_; }
  TMenuItem* Add(const std::string& caption, const std::string& name = {}, TShortCut shortCut = 0,
                 std::function<void()> onClick = {}) {
    return root_.Add(caption, name, shortCut, std::move(onClick));
  }
  // The item of that name anywhere in the menu, or nullptr.
  TMenuItem* Find(const std::string& name) { return root_.Find(name); }
  HMENU Handle() const { return root_.submenu_; }
  // Redraws the menu bar after a change of a top-level item.
  virtual void Changed() {}

 protected:
  explicit TMenu(bool popup);
  TMenuItem root_;
};

class TMainMenu : public TMenu {
 public:
  TMainMenu() : TMenu(false) {}
  ~TMainMenu() override;
  void Changed() override;

 private:
  friend class TForm;
  TForm* form_ = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  TPopupMenu() : TMenu(true) {}
  ~TPopupMenu() override;
  // Shows the menu at a screen point; the chosen item's OnClick runs when
  // its WM_COMMAND reaches the owner form.
  void Popup(TForm& owner, int x, int y);

 private:
  friend class TForm;
  TForm* form_ = nullptr;
};

// Increases with every change that affects a form's accelerator table.
unsigned MenuGeneration();
// The shortcuts of the visible items of these menus; nullptr when none.
HACCEL BuildAcceleratorTable(TMenu* mainMenu, const std::vector<TPopupMenu*>& popups);

// A menu written as a table, one row per item in the menu's order: the
// system's name beside the caption, the shortcut, the form's handler and the
// form's member that points at the item (either may be null). A row of level
// mlSub goes into the submenu of the last mlTop row above it; a caption of
// "-" is a separator.
enum TMenuLevel { mlTop, mlSub };

template <class Form>
struct TMenuDef {
  TMenuLevel Level;
  const char* Name;
  const char* Caption;
  TShortCut ShortCut;
  void (Form::*OnClick)();
  TMenuItem* Form::*Item;
};

// Appends the rows of the table to the menu, with the handlers bound to the
// form, and points the form's members at their items.
template <class Form>
void BuildMenu(TMenu& menu, Form& form, std::span<const TMenuDef<Form>> table) {
  TMenuItem* top = nullptr;
  for (const TMenuDef<Form>& row : table) {
    std::function<void()> onClick;
    if (row.OnClick) onClick = [&form, handler = row.OnClick] { (form.*handler)(); };
    if (row.Level == mlSub && !top) throw std::logic_error(std::string("Menu item ") + row.Name + " has no parent.");
    TMenuItem* item = row.Level == mlTop ? menu.Add(row.Caption, row.Name, row.ShortCut, std::move(onClick))
                                         : top->Add(row.Caption, row.Name, row.ShortCut, std::move(onClick));
    if (row.Level == mlTop) top = item;
    if (row.Item) form.*row.Item = item;
  }
}
