#include "Menus.h"

#include <map>

namespace {

UINT NextCommand = 0x100;  // above IDOK, IDCANCEL... of the dialog keys
unsigned Generation = 1;
std::map<UINT, TMenuItem*>& Commands() {
  static std::map<UINT, TMenuItem*> m;
  return m;
}
std::map<HMENU, TMenuItem*>& Submenus() {
  static std::map<HMENU, TMenuItem*> m;
  return m;
}

}  // namespace

unsigned MenuGeneration() { return Generation; }

TShortCut ShortCut(WORD key, TShiftState shift) {
  TShortCut sc = key & 0xFF;
  if (shift & ssShift) sc |= scShift;
  if (shift & ssCtrl) sc |= scCtrl;
  if (shift & ssAlt) sc |= scAlt;
  return sc;
}

std::string ShortCutToText(TShortCut sc) {
  const unsigned key = sc & 0xFF;
  std::string name;
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    name = std::string(1, static_cast<char>(key));
  } else if (key >= VK_F1 && key <= VK_F24) {
    name = std::to_string(key - VK_F1 + 1);
    name.insert(name.begin(), 'F');
  } else {
    static const std::map<unsigned, const char*> names = {
        {VK_BACK, "BkSp"}, {VK_TAB, "Tab"},    {VK_RETURN, "Enter"}, {VK_ESCAPE, "Esc"},   {VK_SPACE, "Space"},
        {VK_PRIOR, "PgUp"}, {VK_NEXT, "PgDn"}, {VK_END, "End"},      {VK_HOME, "Home"},    {VK_LEFT, "Left"},
        {VK_UP, "Up"},      {VK_RIGHT, "Right"}, {VK_DOWN, "Down"},  {VK_INSERT, "Ins"},   {VK_DELETE, "Del"}};
    auto it = names.find(key);
    if (it == names.end()) return {};
    name = it->second;
  }
  std::string text;
  if (sc & scShift) text += "Shift+";
  if (sc & scCtrl) text += "Ctrl+";
  if (sc & scAlt) text += "Alt+";
  return text + name;
}

// ---- TMenuItem ---------------------------------------------------------------

TMenuItem::TMenuItem(const std::string& caption, const std::string& name, TShortCut shortCut,
                     std::function<void()> onClick)
    : OnClick(std::move(onClick)), caption_(caption), name_(name), shortCut_(shortCut), command_(NextCommand++) {
  Commands()[command_] = this;
}

TMenuItem::~TMenuItem() {
  items_.clear();  // children leave our submenu first
  RemoveNative();
  if (submenu_) {
    Submenus().erase(submenu_.Get());
    submenu_.Reset();
  }
  Commands().erase(command_);
  ++Generation;
}

TMenuItem* TMenuItem::FromCommand(UINT command) {
  auto it = Commands().find(command);
  return it == Commands().end() ? nullptr : it->second;
}

TMenuItem* TMenuItem::FromSubmenu(HMENU submenu) {
  auto it = Submenus().find(submenu);
  return it == Submenus().end() ? nullptr : it->second;
}

TMenu* TMenuItem::RootMenu() const {
  const TMenuItem* i = this;
  while (i->parent_) i = i->parent_;
  return i->menu_;
}

void TMenuItem::EnsureSubmenu() {
  if (submenu_) return;
  submenu_.Attach(CreatePopupMenu());
  Submenus()[submenu_.Get()] = this;
  if (inserted_) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_SUBMENU;
    mi.hSubMenu = submenu_.Get();
    SetMenuItemInfoA(parent_->submenu_.Get(), static_cast<UINT>(NativePosition()), TRUE, &mi);
  }
}

TMenuItem* TMenuItem::Add(const std::string& caption, const std::string& name, TShortCut shortCut,
                          std::function<void()> onClick) {
  EnsureSubmenu();
  items_.push_back(std::make_unique<TMenuItem>(caption, name, shortCut, std::move(onClick)));
  TMenuItem* item = items_.back().get();
  item->parent_ = this;
  item->InsertNative();
  item->Changed(true);
  return item;
}

TMenuItem* TMenuItem::Find(const std::string& name) {
  if (!name.empty() && name_ == name) return this;
  for (auto& i : items_)
    if (TMenuItem* found = i->Find(name)) return found;
  return nullptr;
}

std::string TMenuItem::NativeText() const {
  std::string text = caption_;
  if (shortCut_) {
    text += '\t';
    text += ShortCutToText(shortCut_);
  }
  return text;
}

void TMenuItem::FillItemInfo(MENUITEMINFOA& mi, std::string& text) const {
  mi = MENUITEMINFOA{};
  mi.cbSize = sizeof mi;
  mi.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU;
  mi.wID = command_;
  mi.hSubMenu = submenu_.Get();
  mi.fState = (checked_ ? MFS_CHECKED : MFS_UNCHECKED) | (enabled_ ? MFS_ENABLED : MFS_GRAYED);
  if (IsSeparator()) {
    mi.fType = MFT_SEPARATOR;
  } else {
    mi.fType = MFT_STRING;
    mi.fMask |= MIIM_STRING;
    text = NativeText();
    mi.dwTypeData = text.data();
    mi.cch = static_cast<UINT>(text.size());
  }
}

// Position among the siblings that are in the native menu.
int TMenuItem::NativePosition() const {
  int pos = 0;
  for (auto& s : parent_->items_) {
    if (s.get() == this) break;
    if (s->inserted_) ++pos;
  }
  return pos;
}

void TMenuItem::InsertNative() {
  if (inserted_ || !visible_ || !parent_ || !parent_->submenu_) return;
  MENUITEMINFOA mi;
  std::string text;
  FillItemInfo(mi, text);
  if (InsertMenuItemA(parent_->submenu_.Get(), static_cast<UINT>(NativePosition()), TRUE, &mi)) inserted_ = true;
}

void TMenuItem::RemoveNative() {
  if (!inserted_ || !parent_ || !parent_->submenu_) return;
  RemoveMenu(parent_->submenu_.Get(), static_cast<UINT>(NativePosition()), MF_BYPOSITION);  // keeps our submenu
  inserted_ = false;
}

void TMenuItem::Changed(bool shortcutsToo) {
  if (inserted_) {
    MENUITEMINFOA mi;
    std::string text;
    FillItemInfo(mi, text);
    SetMenuItemInfoA(parent_->submenu_.Get(), static_cast<UINT>(NativePosition()), TRUE, &mi);
  }
  if (shortcutsToo) ++Generation;
  if (parent_ && !parent_->parent_)
    if (TMenu* m = RootMenu()) m->Changed();
}

void TMenuItem::SetCaption(const std::string& c) {
  caption_ = c;
  Changed(false);
}

void TMenuItem::SetShortCut(TShortCut sc) {
  shortCut_ = sc;
  Changed(true);
}

void TMenuItem::SetChecked(bool c) {
  checked_ = c;
  Changed(false);
}

void TMenuItem::SetEnabled(bool e) {
  enabled_ = e;
  Changed(false);
}

void TMenuItem::SetVisible(bool v) {
  if (visible_ == v) return;
  visible_ = v;
  if (v)
    InsertNative();
  else
    RemoveNative();
  Changed(true);
}

bool TMenuItem::CanClick() const {
  for (const TMenuItem* i = this; i && i->parent_; i = i->parent_)
    if (!i->enabled_ || !i->visible_) return false;
  return true;
}

void TMenuItem::Click() {
  if (CanClick() && OnClick) OnClick();
}

// ---- Menus -------------------------------------------------------------------

TMenu::TMenu(bool popup) {
  root_.submenu_.Attach(popup ? CreatePopupMenu() : CreateMenu());
  root_.menu_ = this;
  Submenus()[root_.submenu_.Get()] = &root_;
}

TMenu::~TMenu() = default;

TMainMenu::~TMainMenu() {
  if (form_) {
    if (form_->Handle()) ::SetMenu(form_->Handle(), nullptr);
    form_->menu_ = nullptr;
  }
}

void TMainMenu::Changed() {
  if (form_ && form_->Handle()) DrawMenuBar(form_->Handle());
}

TPopupMenu::~TPopupMenu() {
  if (form_) {
    auto& v = form_->popups_;
    v.erase(std::remove(v.begin(), v.end(), this), v.end());
  }
}

void TPopupMenu::Popup(TForm& owner, int x, int y) {
  if (!form_) owner.AddPopupMenu(this);
  // The documented way for the menu to close when the user clicks elsewhere.
  SetForegroundWindow(owner.Handle());
  TrackPopupMenu(Handle(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON, x, y, 0, owner.Handle(), nullptr);
  PostMessageA(owner.Handle(), WM_NULL, 0, 0);
}

namespace {
void CollectAccels(TMenuItem& item, std::vector<ACCEL>& out) {
  for (int i = 0; i < item.Count(); ++i) {
    TMenuItem* c = item.Items(i);
    if (!c->Visible()) continue;
    if (c->ShortCut() && !ShortCutToText(c->ShortCut()).empty()) {
      ACCEL a{};
      a.fVirt = FVIRTKEY;
      if (c->ShortCut() & scShift) a.fVirt |= FSHIFT;
      if (c->ShortCut() & scCtrl) a.fVirt |= FCONTROL;
      if (c->ShortCut() & scAlt) a.fVirt |= FALT;
      a.key = static_cast<WORD>(c->ShortCut() & 0xFF);
      a.cmd = static_cast<WORD>(c->Command());
      out.push_back(a);
    }
    CollectAccels(*c, out);
  }
}
}  // namespace

HACCEL BuildAcceleratorTable(TMenu* mainMenu, const std::vector<TPopupMenu*>& popups) {
  std::vector<ACCEL> accels;
  if (mainMenu) CollectAccels(mainMenu->Items(), accels);
  for (TPopupMenu* p : popups) CollectAccels(p->Items(), accels);
  if (accels.empty()) return nullptr;
  return CreateAcceleratorTableA(accels.data(), static_cast<int>(accels.size()));
}
