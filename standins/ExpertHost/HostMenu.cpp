// The IDE's main menu: a tree of items over the main window's native menu
// bar, and the menu interfaces lent to experts.
#include <algorithm>

#include "ExpertHost.h"

int LiveInterfaces = 0;

namespace {

bool SameName(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) == 0; }

HMODULE ModuleOf(TIMenuClickCode code) {
  HMODULE module = nullptr;
  if (code)
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(code), &module);
  return module;
}

void ClearNative(HMENU menu) {
  while (GetMenuItemCount(menu) > 0) RemoveMenu(menu, 0, MF_BYPOSITION);  // submenus stay their items'
}

}  // namespace

// ---- Items -------------------------------------------------------------------

THostMenuItem::THostMenuItem(THostMenu& menu, THostMenuItem* parent, std::string caption, std::string name)
    : Menu(menu), Parent(parent), Caption(std::move(caption)), Name(std::move(name)), Command(menu.NextCommand++) {
  Menu.Commands[Command] = this;
}

// ---- Interfaces --------------------------------------------------------------

class THostMenuItemIntf final : public TInterfaceImpl<TIMenuItemIntf, THostMenuItemIntf> {
 public:
  explicit THostMenuItemIntf(THostMenuItem* item) : Item(item) {
    ++LiveInterfaces;
    if (Item) Item->Interfaces.push_back(this);
  }
  // As in the IDE, an item stays when its references go: only
  // DestroyMenuItem removes it.
  ~THostMenuItemIntf() {
    --LiveInterfaces;
    Forget();
  }
  // The item is gone: every operation now answers as for nothing.
  void Forget() {
    if (!Item) return;
    auto& list = Item->Interfaces;
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    Item = nullptr;
  }

  bool __stdcall DestroyMenuItem() override {
    if (!Editable()) return false;
    Item->Menu.Remove(*Item);  // forgets us on the way
    return true;
  }
  int32_t __stdcall GetIndex() override { return Item ? Item->Index() : -1; }
  int32_t __stdcall GetItemCount() override { return Item ? static_cast<int32_t>(Item->Items.size()) : 0; }
  TIMenuItemIntf* __stdcall GetItem(int32_t index) override {
    if (!Item || index < 0 || index >= GetItemCount()) return nullptr;
    return Safely<TIMenuItemIntf*>(nullptr, [&] { return NewMenuItemIntf(Item->Items[index].get()); });
  }
  void __stdcall GetName(TDelphiStr* result) override { ReturnText(result, &THostMenuItem::Name); }
  TIMenuItemIntf* __stdcall GetParent() override {
    if (!Item || !Item->Parent) return nullptr;
    return Safely<TIMenuItemIntf*>(nullptr, [&] { return NewMenuItemIntf(Item->Parent); });
  }
  void __stdcall GetCaption(TDelphiStr* result) override { ReturnText(result, &THostMenuItem::Caption); }
  bool __stdcall SetCaption(TDelphiStr caption) override {
    return Change([&] { Item->Caption = DelphiStrText(caption); });
  }
  int32_t __stdcall GetShortCut() override { return Item ? Item->ShortCut : 0; }
  bool __stdcall SetShortCut(int32_t shortCut) override {
    return Change([&] { Item->ShortCut = shortCut; });
  }
  TIMenuFlags __stdcall GetFlags() override { return Item ? Item->Flags : 0; }
  bool __stdcall SetFlags(TIMenuFlags mask, TIMenuFlags flags) override {
    return Change([&] { Item->Flags = static_cast<TIMenuFlags>((Item->Flags & ~mask) | (flags & mask)); });
  }
  int32_t __stdcall GetGroupIndex() override { return Item ? Item->GroupIndex : 0; }
  bool __stdcall SetGroupIndex(int32_t groupIndex) override {
    return Change([&] { Item->GroupIndex = groupIndex; });
  }
  void __stdcall GetHint(TDelphiStr* result) override { ReturnText(result, &THostMenuItem::Hint); }
  bool __stdcall SetHint(TDelphiStr hint) override {
    return Change([&] { Item->Hint = DelphiStrText(hint); });
  }
  int32_t __stdcall GetContext() override { return Item ? Item->Context : 0; }
  bool __stdcall SetContext(int32_t context) override {
    return Change([&] { Item->Context = context; });
  }
  void __stdcall GetOnClick(TIMenuClickEvent* result) override {
    if (result) *result = Item ? Item->OnClick : TIMenuClickEvent{};
  }
  bool __stdcall SetOnClick(TIMenuClickEvent click) override {
    return Change([&] {
      Item->OnClick = click;
      Item->HandlerModule = ModuleOf(click.Code);
    });
  }

  TIMenuItemIntf* __stdcall InsertItem(int32_t index, TDelphiStr caption, TDelphiStr name, TDelphiStr hint,
                                       int32_t shortCut, int32_t context, int32_t groupIndex, TIMenuFlags flags,
                                       TIMenuClickEvent eventHandler) override {
    if (!Item) return nullptr;
    return Safely<TIMenuItemIntf*>(nullptr, [&]() -> TIMenuItemIntf* {
      const std::string itemName = DelphiStrText(name);
      THostMenuItem* item = Item->Menu.Insert(*Item, index, DelphiStrText(caption), itemName);
      if (!item) {
        Log.Event({"error", "InsertItem: a menu item named " + itemName + " already exists"});
        return nullptr;
      }
      item->Hint = DelphiStrText(hint);
      item->ShortCut = shortCut;
      item->Context = context;
      item->GroupIndex = groupIndex;
      item->Flags = flags;
      item->OnClick = eventHandler;
      item->HandlerModule = ModuleOf(eventHandler.Code);
      Item->Menu.Sync(*Item);
      Log.Event({"insert", itemName, Item->Name, std::to_string(item->Index())});
      return NewMenuItemIntf(item);
    });
  }

 private:
  // The IDE's own items cannot be changed; an expert's can.
  bool Editable() const { return Item && Item->InsertedByExpert; }

  template <class F>
  bool Change(F&& change) {
    if (!Editable()) return false;
    return Safely(false, [&] {
      change();
      Item->Menu.Sync(*Item->Parent);
      return true;
    });
  }

  void ReturnText(TDelphiStr* result, std::string THostMenuItem::*field) {
    Safely(false, [&] {
      Strings.Return(result, Item ? Item->*field : std::string());
      return true;
    });
  }

  THostMenuItem* Item;
};

class THostMainMenuIntf final : public TInterfaceImpl<TIMainMenuIntf, THostMainMenuIntf> {
 public:
  explicit THostMainMenuIntf(THostMenu& menu) : Menu(menu) { ++LiveInterfaces; }
  ~THostMainMenuIntf() { --LiveInterfaces; }

  TIMenuItemIntf* __stdcall GetMenuItems() override {
    return Safely<TIMenuItemIntf*>(nullptr, [&] { return NewMenuItemIntf(&Menu.Root()); });
  }
  TIMenuItemIntf* __stdcall FindMenuItem(TDelphiStr name) override {
    return Safely<TIMenuItemIntf*>(nullptr, [&]() -> TIMenuItemIntf* {
      THostMenuItem* item = Menu.Find(DelphiStrText(name));
      return item ? NewMenuItemIntf(item) : nullptr;
    });
  }

 private:
  THostMenu& Menu;
};

TIMainMenuIntf* NewMainMenuIntf(THostMenu& menu) { return new THostMainMenuIntf(menu); }

TIMenuItemIntf* NewMenuItemIntf(THostMenuItem* item) { return new THostMenuItemIntf(item); }

THostMenuItem::~THostMenuItem() {
  while (!Interfaces.empty()) Interfaces.back()->Forget();
  if (Submenu) ClearNative(Submenu);
  Items.clear();
  if (Submenu) DestroyMenu(Submenu);
  Menu.Commands.erase(Command);
  Menu.IdeClicks.erase(this);
}

int THostMenuItem::Index() const {
  if (!Parent) return -1;
  const auto& siblings = Parent->Items;
  for (size_t i = 0; i < siblings.size(); ++i)
    if (siblings[i].get() == this) return static_cast<int>(i);
  return -1;
}

// ---- The menu ----------------------------------------------------------------

THostMenu::THostMenu() : RootItem(std::make_unique<THostMenuItem>(*this, nullptr, "", "")) {
  RootItem->Submenu = CreateMenu();
}

THostMenu::~THostMenu() { RootItem.reset(); }

THostMenuItem* THostMenu::AddIdeItem(THostMenuItem& parent, const std::string& caption, const std::string& name,
                                     std::function<void()> click) {
  parent.Items.push_back(std::make_unique<THostMenuItem>(*this, &parent, caption, name));
  THostMenuItem* item = parent.Items.back().get();
  if (click) IdeClicks[item] = std::move(click);
  Sync(parent);
  return item;
}

THostMenuItem* THostMenu::Insert(THostMenuItem& parent, int32_t index, const std::string& caption,
                                 const std::string& name) {
  if (!name.empty() && Find(name)) return nullptr;  // component names are unique
  const int32_t count = static_cast<int32_t>(parent.Items.size());
  index = std::clamp(index, 0, count);
  auto item = std::make_unique<THostMenuItem>(*this, &parent, caption, name);
  item->InsertedByExpert = true;
  THostMenuItem* inserted = item.get();
  parent.Items.insert(parent.Items.begin() + index, std::move(item));
  Sync(parent);
  return inserted;
}

void THostMenu::Remove(THostMenuItem& item) {
  THostMenuItem* parent = item.Parent;
  if (!parent) return;  // the bar stays
  auto& siblings = parent->Items;
  auto at = std::find_if(siblings.begin(), siblings.end(), [&](const auto& p) { return p.get() == &item; });
  if (at == siblings.end()) return;
  Log.Event({"remove", item.Name});
  std::unique_ptr<THostMenuItem> gone = std::move(*at);
  siblings.erase(at);
  Sync(*parent);  // out of the native menu before its submenu is destroyed
}

void THostMenu::Sync(THostMenuItem& parent) {
  bool newSubmenu = false;
  if (!parent.Submenu) {
    parent.Submenu = CreatePopupMenu();
    newSubmenu = true;
  }
  ClearNative(parent.Submenu);
  for (const auto& item : parent.Items) {
    if (!item->Visible()) continue;
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_DATA;
    if (item->Caption == "-") {
      mi.fType = MFT_SEPARATOR;
    } else {
      mi.fMask |= MIIM_STRING;
      mi.fType = MFT_STRING;
      if (item->Flags & MenuFlags(mfBreak)) mi.fType |= MFT_MENUBREAK;
      if (item->Flags & MenuFlags(mfBarBreak)) mi.fType |= MFT_MENUBARBREAK;
      if (item->Flags & MenuFlags(mfRadioItem)) mi.fType |= MFT_RADIOCHECK;
      mi.dwTypeData = const_cast<char*>(item->Caption.c_str());
    }
    mi.fState = (item->Flags & MenuFlags(mfEnabled)) ? MFS_ENABLED : MFS_GRAYED;
    if (item->Flags & MenuFlags(mfChecked)) mi.fState |= MFS_CHECKED;
    mi.wID = item->Command;
    mi.dwItemData = reinterpret_cast<ULONG_PTR>(item.get());
    if (item->Submenu) {
      mi.fMask |= MIIM_SUBMENU;
      mi.hSubMenu = item->Submenu;
    }
    InsertMenuItemA(parent.Submenu, static_cast<UINT>(GetMenuItemCount(parent.Submenu)), TRUE, &mi);
  }
  if (newSubmenu && parent.Parent) Sync(*parent.Parent);  // the item now opens a submenu
  if (Window && (&parent == RootItem.get() || parent.Parent == RootItem.get())) DrawMenuBar(Window);
}

THostMenuItem* THostMenu::Find(const std::string& name) {
  std::vector<THostMenuItem*> pending{RootItem.get()};
  while (!pending.empty()) {
    THostMenuItem* item = pending.back();
    pending.pop_back();
    if (item != RootItem.get() && !item->Name.empty() && SameName(item->Name, name)) return item;
    for (auto it = item->Items.rbegin(); it != item->Items.rend(); ++it) pending.push_back(it->get());
  }
  return nullptr;
}

THostMenuItem* THostMenu::FromCommand(UINT command) {
  auto it = Commands.find(command);
  return it == Commands.end() ? nullptr : it->second;
}

void THostMenu::Clicked(UINT command) {
  THostMenuItem* item = FromCommand(command);
  if (!item || !(item->Flags & MenuFlags(mfEnabled)) || !item->Items.empty()) return;
  Log.Event({"click", item->Name});
  auto ide = IdeClicks.find(item);
  if (ide != IdeClicks.end()) {
    auto click = ide->second;  // the handler may change the menu
    click();
    return;
  }
  if (item->Leftover) {
    Log.Event({"error", item->Name + " was left by a library that is gone: its click handler went with it"});
    return;
  }
  if (!item->OnClick.Code) {
    Log.Event({"error", item->Name + " is not part of ExpertHost"});
    return;
  }
  // The item may be gone once the handler returns: nothing of it is used after.
  const TIMenuClickEvent click = item->OnClick;
  TComPtr<TIMenuItemIntf> sender(NewMenuItemIntf(item));
  click.Code(click.Data, sender.Get());
}

std::vector<std::string> THostMenu::NativeNames(const THostMenuItem& parent) const {
  std::vector<std::string> names;
  if (!parent.Submenu) return names;
  const int count = GetMenuItemCount(parent.Submenu);
  for (int i = 0; i < count; ++i) {
    MENUITEMINFOA mi{};
    mi.cbSize = sizeof mi;
    mi.fMask = MIIM_DATA;
    if (!GetMenuItemInfoA(parent.Submenu, static_cast<UINT>(i), TRUE, &mi)) continue;
    const auto* item = reinterpret_cast<const THostMenuItem*>(mi.dwItemData);
    names.push_back(item ? item->Name : std::string("?"));
  }
  return names;
}

void THostMenu::DisarmHandlersOf(HMODULE module) {
  if (!module) return;
  std::vector<THostMenuItem*> pending{RootItem.get()};
  while (!pending.empty()) {
    THostMenuItem* item = pending.back();
    pending.pop_back();
    if (item->HandlerModule == module) {
      Log.Event({"leftover", item->Name});
      item->OnClick = {};
      item->HandlerModule = nullptr;
      item->Leftover = true;
    }
    for (const auto& child : item->Items) pending.push_back(child.get());
  }
}
