// ExpertHost: a small program that plays the Delphi 3 IDE for our expert
// libraries, for people and tests. It is not part of the product.
//
//   ExpertHost.exe [--click ITEMNAME]... [--no-project-manager] [--log FILE] [PROJECT]
//
// It shows a main window with the IDE's menu bar, loads every library named
// in HKEY_CURRENT_USER\Software\Borland\Delphi\3.0\Experts (each string
// value is a path), calls its INITEXPERT0017 with its own tool services, and
// frees the experts when it closes. It asks an expert for its texts as the
// IDE does, into a variable that still holds the previous answer, and an
// item an expert inserted goes only when the expert destroys it. Each
// --click chooses its item once the thread is idle after the previous one
// (a second click of the same item comes when all that the first one
// started is done). Everything that
// happens is listed in the window and, with --log, written to FILE, one
// event per line, fields separated by tabs:
//
//   load PATH | load PATH failed ERROR | init PATH true|false | noentry PATH
//   register IDSTRING NAME STYLE
//   insert ITEMNAME PARENTNAME INDEX | remove ITEMNAME (DestroyMenuItem)
//   leftover ITEMNAME               (a library unloaded without destroying
//                                    its item: the item stays in the menu,
//                                    as in the IDE, but its click is dead)
//   menu PARENTNAME ITEMNAME...     (the native menu, in order)
//   ready                           (experts loaded, --click requested)
//   click ITEMNAME
//   project NAME                    (GetProjectName answered)
//   openfile PATH ok|failed
//   raise MESSAGE
//   release IDSTRING | terminate PATH | unload PATH
//   strings N | interfaces N        (not given back at the end: kept by an
//                                    expert, or a string of ours an expert
//                                    wrote a result over without releasing)
//   error TEXT | unsupported OPERATION | badstring OPERATION
#pragma once

#include <windows.h>

#include <cstddef>
#include <exception>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ExptIntf.h"
#include "Library.h"
#include "ComOwners.h"

// ---- Log ---------------------------------------------------------------------

// One line per event to the log file (when there is one) and to the window.
class THostLog {
 public:
  bool Open(const std::string& path);
  void Event(const std::vector<std::string>& fields);
  std::function<void(const std::string& line)> OnLine;

 private:
  std::ofstream File;
};
extern THostLog Log;

// Runs work for an expert's call. No C++ exception goes back to the caller,
// which is not C++ of ours: it is logged and failed is the answer.
template <class R, class F>
R Safely(R failed, F&& work) noexcept {
  try {
    return work();
  } catch (const std::exception& e) {
    try {
      Log.Event({"error", e.what()});
    } catch (...) {
    }
  } catch (...) {
  }
  return failed;
}

// ---- Strings -----------------------------------------------------------------

// The host's own long strings (count 1 when made), counted so that the end
// can tell how many an expert kept.
class THostStrings {
 public:
  ~THostStrings();
  // Stores a new string in *result; what *result held is released first.
  void Return(TDelphiStr* result, const std::string& text);
  TDelphiStr New(const std::string& text);
  void Free(TDelphiStr* str);
  void Reference(TDelphiStr* str);
  bool Owns(TDelphiStr str) const { return Live.count(str) != 0; }
  std::size_t Outstanding() const { return Live.size(); }
  // The text of a string an expert returned through operation; one that is
  // neither ours nor a constant was allocated where we cannot free it.
  std::string TakeFromExpert(TDelphiStr* str, const char* operation);
  // The same, then *str holds a string of ours with that text: the IDE's
  // copy of an answer it keeps.
  std::string KeepFromExpert(TDelphiStr* str, const char* operation);

 private:
  std::set<TDelphiStr> Live;
};
extern THostStrings Strings;

// ---- Menus -------------------------------------------------------------------

class THostMenu;
class THostMenuItemIntf;

// One item of the menu bar tree. The root is the bar itself. An item with
// children has a submenu of its own, which it destroys.
struct THostMenuItem {
  THostMenuItem(THostMenu& menu, THostMenuItem* parent, std::string caption, std::string name);
  ~THostMenuItem();
  THostMenuItem(const THostMenuItem&) = delete;
  THostMenuItem& operator=(const THostMenuItem&) = delete;

  int Index() const;
  bool Visible() const { return (Flags & MenuFlags(mfVisible)) != 0; }

  THostMenu& Menu;
  THostMenuItem* Parent;
  std::string Caption, Name, Hint;
  int32_t ShortCut = 0, Context = 0, GroupIndex = 0;
  TIMenuFlags Flags = MenuFlags(mfEnabled, mfVisible);
  TIMenuClickEvent OnClick;
  HMODULE HandlerModule = nullptr;  // the library whose code OnClick calls
  bool InsertedByExpert = false;
  bool Leftover = false;  // its library went without destroying it
  UINT Command = 0;
  HMENU Submenu = nullptr;
  std::vector<std::unique_ptr<THostMenuItem>> Items;
  std::vector<THostMenuItemIntf*> Interfaces;  // references lent out, told when the item goes
};

// The main window's menu bar as the IDE's main menu.
class THostMenu {
 public:
  THostMenu();
  ~THostMenu();
  THostMenu(const THostMenu&) = delete;
  THostMenu& operator=(const THostMenu&) = delete;

  THostMenuItem& Root() { return *RootItem; }
  HMENU Bar() const { return RootItem->Submenu; }
  // An item of the host, appended to parent; click runs when it is chosen.
  THostMenuItem* AddIdeItem(THostMenuItem& parent, const std::string& caption, const std::string& name,
                            std::function<void()> click = {});
  // An expert's item at index (clamped) in parent; nullptr when the name is
  // taken.
  THostMenuItem* Insert(THostMenuItem& parent, int32_t index, const std::string& caption, const std::string& name);
  // Takes the item and everything below it out of the menu.
  void Remove(THostMenuItem& item);
  // Brings the native menu of parent in line with its items.
  void Sync(THostMenuItem& parent);
  // Case-insensitive, as component names are.
  THostMenuItem* Find(const std::string& name);
  THostMenuItem* FromCommand(UINT command);
  void Clicked(UINT command);
  // The names of the items of parent's native menu, in order.
  std::vector<std::string> NativeNames(const THostMenuItem& parent) const;
  // The items whose click handler lies in module, which is about to go,
  // stay in the menu as they do in the IDE; their clicks call nothing.
  void DisarmHandlersOf(HMODULE module);

  HWND Window = nullptr;  // redrawn when the bar changes

 private:
  friend struct THostMenuItem;
  // Before the items, which register in them.
  std::map<UINT, THostMenuItem*> Commands;
  std::map<THostMenuItem*, std::function<void()>> IdeClicks;
  UINT NextCommand = 100;
  std::unique_ptr<THostMenuItem> RootItem;
};

// Interface objects lent to experts that are still alive.
extern int LiveInterfaces;

TIMainMenuIntf* NewMainMenuIntf(THostMenu& menu);
// A reference to item. Releasing it leaves the item where it is, also the
// one InsertItem returned: an expert destroys its items (DestroyMenuItem).
TIMenuItemIntf* NewMenuItemIntf(THostMenuItem* item);

// ---- Tool services -----------------------------------------------------------

struct THostContext {
  std::string Project;  // full path, or empty
  HWND MainWindow = nullptr;
  THostMenu* Menu = nullptr;
  // Opens a file in an editor window; false when it cannot be read.
  std::function<bool(const std::string& path)> OpenFile;
  std::function<std::string()> CurrentFile;
};

TIToolServices* NewToolServices(THostContext& context);

// ---- Experts -----------------------------------------------------------------

struct TExpertLibrary {
  std::string Path;
  TLibrary Module;
  TExpertTerminateProc Terminate = nullptr;
  std::vector<TComPtr<TIExpert>> Experts;
  std::vector<std::string> ExpertIds;
};

class THostExperts {
 public:
  THostExperts() = default;
  ~THostExperts() { UnloadAll(); }
  THostExperts(const THostExperts&) = delete;
  THostExperts& operator=(const THostExperts&) = delete;

  // Loads every library of the Experts key, in the key's order.
  void LoadAll(TIToolServices* services);
  void Load(const std::string& path, TIToolServices* services);
  // Releases the experts, calls the terminate procedures and frees the
  // libraries, last loaded first.
  void UnloadAll();

  // Items a library left in it are disarmed before the library is freed.
  THostMenu* Menu = nullptr;

 private:
  void Unload(TExpertLibrary& library);
  std::vector<std::unique_ptr<TExpertLibrary>> Libraries;
};
