// What an expert library of ours needs around the Open Tools interface: the
// IDE's tool services, strings the IDE returns, failures handed to the IDE,
// click events, and its menu item put after one of the IDE's.
//
// The entry point of a library reads, with these:
//
//   extern "C" bool __stdcall INITEXPERT0017(TIToolServices* toolServices, TExpertRegisterProc registerProc,
//                                            TExpertTerminateProc* terminate) {
//     if (terminate) *terminate = nullptr;
//     if (!RunGuarded([&] {
//           ToolServices = toolServices;
//           registerProc(new TMyExpert);
//         }))
//       toolServices->RaiseException(KeptFailure());
//     return true;
//   }
//
// No C++ exception may leave the library: the IDE is not C++, and a
// library's runtime is its own.
#pragma once

#include <cstddef>
#include <exception>
#include <string>

#include "ExptIntf.h"
#include "ComOwners.h"

// The IDE's tool services, valid from the entry point until the library is
// unloaded (one per library).
inline TIToolServices* ToolServices = nullptr;

// A string result of the IDE, owned until it is handed back through
// FreePascalString: pass Receive() as the hidden result argument.
//   TIdeString project(ToolServices);
//   ToolServices->GetProjectName(project.Receive());
class TIdeString {
 public:
  explicit TIdeString(TIToolServices* services) : Services(services) {}
  ~TIdeString() { Reset(); }
  TIdeString(const TIdeString&) = delete;
  TIdeString& operator=(const TIdeString&) = delete;

  // The variable the IDE stores its string in, cleared first.
  TDelphiStr* Receive() {
    Reset();
    return &Chars;
  }
  std::string Text() const { return DelphiStrText(Chars); }
  void Reset() {
    if (Chars && Services) Services->FreePascalString(&Chars);
    Chars = nullptr;
  }

 private:
  TIToolServices* Services;
  TDelphiStr Chars = nullptr;
};

// Answers a string operation of an expert: what the caller's variable held
// is released through the IDE's string routines (or the IDE's string
// leaks), then the variable holds text, one of our constants.
//   void __stdcall GetName(TDelphiStr* result) override { ReturnString(result, Name); }
template <std::size_t N>
void ReturnString(TDelphiStr* result, const TDelphiLiteral<N>& text) {
  if (!result) return;
  if (*result && ToolServices) ToolServices->FreePascalString(result);
  *result = text.Str();
}

// The menu item an expert inserted into the IDE's menu. Its end destroys the
// item (DestroyMenuItem), then releases the reference: released alone, the
// item would stay in the IDE's menu, its click handler in a library that is
// about to go.
class TExpertMenuItem {
 public:
  TExpertMenuItem() = default;
  // Takes over the reference InsertItem returned (nullptr: no item).
  explicit TExpertMenuItem(TIMenuItemIntf* inserted) : Item(inserted) {}
  ~TExpertMenuItem() { Reset(); }
  TExpertMenuItem(const TExpertMenuItem&) = delete;
  TExpertMenuItem& operator=(const TExpertMenuItem&) = delete;

  void Reset() {
    if (Item) Item->DestroyMenuItem();
    Item.Reset();
  }
  TIMenuItemIntf* Get() const { return Item.Get(); }
  explicit operator bool() const { return static_cast<bool>(Item); }

 private:
  TComPtr<TIMenuItemIntf> Item;
};

// The message of the exception being handled (call it in a catch block).
inline std::string ReleaseException() {
  try {
    throw;
  } catch (const std::exception& e) {
    return e.what();
  } catch (...) {
    return "Unknown exception";
  }
}

namespace expertdetail {
// Static storage: it survives the IDE's exception unwinding the caller.
inline TDelphiTempStr Failure{std::string()};
inline constexpr TDelphiLiteral NoMemory("Out of memory");
inline bool FailureIsNoMemory = false;
}  // namespace expertdetail

// Runs work; an exception becomes the kept failure and the answer is false.
template <class F>
bool RunGuarded(F&& work) noexcept {
  try {
    work();
    return true;
  } catch (...) {
    try {
      expertdetail::Failure.Assign(ReleaseException());
      expertdetail::FailureIsNoMemory = false;
    } catch (...) {
      expertdetail::FailureIsNoMemory = true;
    }
    return false;
  }
}

// The last failure RunGuarded kept, for the IDE's RaiseException.
inline TDelphiStr KeptFailure() {
  return expertdetail::FailureIsNoMemory ? expertdetail::NoMemory.Str() : expertdetail::Failure.Str();
}

// The click event that calls object->*Method(sender). A failure in the
// handler goes to the IDE's RaiseException, as the IDE's own menu commands
// report theirs.
template <class T, void (T::*Method)(TIMenuItemIntf*)>
TIMenuClickEvent MakeClickEvent(T* object) {
  struct TThunk {
    static void DELPHI_REGISTER Call(void* self, TIMenuItemIntf* sender) {
      if (!RunGuarded([&] { (static_cast<T*>(self)->*Method)(sender); }) && ToolServices)
        ToolServices->RaiseException(KeptFailure());
    }
  };
  return TIMenuClickEvent{&TThunk::Call, object};
}

// Inserts an item into the menu that holds the IDE's item anchorName, right
// after it: caption, name, no hint, shortcut or help context, group 0,
// enabled and visible. The answer is the new item's reference (the caller
// keeps it in a TExpertMenuItem, which destroys the item), or nullptr when
// the IDE has no main menu or no such item. Every other interface obtained
// is released.
inline TIMenuItemIntf* InsertMenuItemAfter(TIToolServices* services, TDelphiStr anchorName, TDelphiStr caption,
                                           TDelphiStr name, TIMenuClickEvent onClick) {
  if (!services) return nullptr;
  TComPtr<TIMainMenuIntf> mainMenu(services->GetMainMenu());
  if (!mainMenu) return nullptr;
  TComPtr<TIMenuItemIntf> items(mainMenu->GetMenuItems());
  if (!items) return nullptr;
  TComPtr<TIMenuItemIntf> anchor(mainMenu->FindMenuItem(anchorName));
  if (!anchor) return nullptr;
  TComPtr<TIMenuItemIntf> parent(anchor->GetParent());
  if (!parent) return nullptr;
  return parent->InsertItem(anchor->GetIndex() + 1, caption, name, nullptr, 0, 0, 0, MenuFlags(mfEnabled, mfVisible),
                            onClick);
}
