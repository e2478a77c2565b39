// The Delphi 3 IDE's side of the Open Tools interface: the tool services
// handed to an expert, and the IDE's main menu and menu items. The IDE
// implements these classes; an expert only calls them.
//
// The slots are those of the declarations in Delphi's ToolIntf unit, in
// their order, after the three of TInterface (VirtIntf): slot n sits at
// offset 4 * n of the 32-bit table. The numbers written beside the
// declarations are counted from that unit; OpenToolsLayout.cpp pins the
// slots our experts call to them, and the build fails when one moves.
// Later Delphis only append after GetBaseRegistryKey (slot 41), which is
// where Delphi 3's table ends.
//
// Every interface object an operation returns is a new reference that the
// caller releases (TComPtr). The IDE cannot change its own menu items. An
// item an expert inserted is the expert's to destroy (DestroyMenuItem)
// before it releases the reference: released alone, the item stays in the
// IDE's menu with a click handler in the expert's library.
#pragma once

#include <windows.h>

#include <cstdint>

#include "VirtIntf.h"

class TIMenuItemIntf;

// ---- Menus -------------------------------------------------------------------

// Set of TIMenuFlag, one bit per member.
enum TIMenuFlag : uint8_t { mfInvalid, mfEnabled, mfVisible, mfChecked, mfBreak, mfBarBreak, mfRadioItem };
using TIMenuFlags = uint8_t;
constexpr TIMenuFlags MenuFlags(TIMenuFlag flag) { return static_cast<TIMenuFlags>(1u << flag); }
template <class... More>
constexpr TIMenuFlags MenuFlags(TIMenuFlag flag, More... more) {
  return static_cast<TIMenuFlags>(MenuFlags(flag) | MenuFlags(more...));
}

// "procedure (Sender: TIMenuItemIntf) of object": Delphi's method pointer,
// the code and the object it is called on (register convention: the object
// in EAX, the sender in EDX). Passed by value as the two pointers, code at
// the lower address.
using TIMenuClickCode = void(DELPHI_REGISTER*)(void* self, TIMenuItemIntf* sender);
struct TIMenuClickEvent {
  TIMenuClickCode Code = nullptr;
  void* Data = nullptr;
};

// Slots 3 to 23 of ToolIntf's TIMenuItemIntf.
class TIMenuItemIntf : public TInterface {
 public:
  // Removes an item an expert inserted; false for the IDE's own items.
  // Slot 3 (offset 0x0C).
  virtual bool __stdcall DestroyMenuItem() = 0;
  // Position among the parent's items; -1 for the menu bar itself. Slot 4.
  virtual int32_t __stdcall GetIndex() = 0;
  virtual int32_t __stdcall GetItemCount() = 0;
  virtual TIMenuItemIntf* __stdcall GetItem(int32_t index) = 0;
  virtual void __stdcall GetName(TDelphiStr* result) = 0;  // slot 7
  virtual TIMenuItemIntf* __stdcall GetParent() = 0;     // slot 8
  virtual void __stdcall GetCaption(TDelphiStr* result) = 0;
  virtual bool __stdcall SetCaption(TDelphiStr caption) = 0;
  virtual int32_t __stdcall GetShortCut() = 0;
  virtual bool __stdcall SetShortCut(int32_t shortCut) = 0;
  virtual TIMenuFlags __stdcall GetFlags() = 0;
  virtual bool __stdcall SetFlags(TIMenuFlags mask, TIMenuFlags flags) = 0;
  virtual int32_t __stdcall GetGroupIndex() = 0;
  virtual bool __stdcall SetGroupIndex(int32_t groupIndex) = 0;
  virtual void __stdcall GetHint(TDelphiStr* result) = 0;
  virtual bool __stdcall SetHint(TDelphiStr hint) = 0;
  virtual int32_t __stdcall GetContext() = 0;
  virtual bool __stdcall SetContext(int32_t context) = 0;
  virtual void __stdcall GetOnClick(TIMenuClickEvent* result) = 0;
  virtual bool __stdcall SetOnClick(TIMenuClickEvent click) = 0;
  // A new child item at index (0 = first; an index past the end appends).
  // Slot 23 (offset 0x5C).
  virtual TIMenuItemIntf* __stdcall InsertItem(int32_t index, TDelphiStr caption, TDelphiStr name, TDelphiStr hint,
                                               int32_t shortCut, int32_t context, int32_t groupIndex, TIMenuFlags flags,
                                               TIMenuClickEvent eventHandler) = 0;

 protected:
  ~TIMenuItemIntf() = default;
};

// Slots 3 and 4 of ToolIntf's TIMainMenuIntf.
class TIMainMenuIntf : public TInterface {
 public:
  // The menu bar as an item: its children are the top-level menus.
  virtual TIMenuItemIntf* __stdcall GetMenuItems() = 0;
  // The item of that name anywhere in the menu (names as the IDE's forms
  // have them: "ViewPrjMgrItem"), or nullptr.
  virtual TIMenuItemIntf* __stdcall FindMenuItem(TDelphiStr name) = 0;

 protected:
  ~TIMainMenuIntf() = default;
};

// ---- Tool services -----------------------------------------------------------

// Objects of the IDE that no expert of ours uses; only their addresses pass.
class TIStream;
class TIModuleInterface;
class TIAddInNotifier;
class TIVirtualFileSystem;  // FileIntf

// Set of (cmAddToProject, cmShowSource, cmShowForm, cmUnNamed, cmNewUnit,
// cmNewForm, cmMainForm, cmMarkModified, cmNewFile, cmExisting).
using TCreateModuleFlags = uint16_t;

// Called for each unit of the project; false stops the enumeration.
using TProjectEnumProc = bool(__stdcall*)(void* param, TDelphiStr fileName, TDelphiStr unitName, TDelphiStr formName);

class TIToolServices : public TInterface {
 public:
  // Actions: slots 3 to 13.
  virtual bool __stdcall CloseProject() = 0;
  virtual bool __stdcall OpenProject(TDelphiStr projName) = 0;
  virtual bool __stdcall OpenProjectInfo(TDelphiStr projName) = 0;
  virtual bool __stdcall SaveProject() = 0;
  virtual bool __stdcall CloseFile(TDelphiStr fileName) = 0;
  virtual bool __stdcall SaveFile(TDelphiStr fileName) = 0;
  // Opens the file in the IDE's editor; false when it cannot. Slot 9
  // (offset 0x24).
  virtual bool __stdcall OpenFile(TDelphiStr fileName) = 0;
  virtual bool __stdcall ReloadFile(TDelphiStr fileName) = 0;
  virtual int32_t __stdcall ModalDialogBox(HINSTANCE instance, const char* templateName, HWND wndParent,
                                           FARPROC dialogFunc, int32_t initParam) = 0;
  virtual bool __stdcall CreateModule(TDelphiStr moduleName, TIStream* source, TIStream* form,
                                      TCreateModuleFlags createFlags) = 0;
  virtual TIModuleInterface* __stdcall CreateModuleEx(TDelphiStr moduleName, TDelphiStr formName,
                                                      TDelphiStr ancestorClass, TDelphiStr fileSystem, TIStream* source,
                                                      TIStream* form, TCreateModuleFlags createFlags) = 0;

  // Project and user interface: slots 14 to 23.
  // The IDE's main window: the owner of an expert's windows. Slot 14 (0x38).
  virtual HWND __stdcall GetParentHandle() = 0;
  // The full name of the current project's file; empty when none is open.
  // Slot 15 (0x3C).
  virtual void __stdcall GetProjectName(TDelphiStr* result) = 0;
  virtual int32_t __stdcall GetUnitCount() = 0;
  virtual void __stdcall GetUnitName(int32_t index, TDelphiStr* result) = 0;
  virtual bool __stdcall EnumProjectUnits(TProjectEnumProc enumProc, void* param) = 0;
  virtual int32_t __stdcall GetFormCount() = 0;
  virtual void __stdcall GetFormName(int32_t index, TDelphiStr* result) = 0;
  virtual void __stdcall GetCurrentFile(TDelphiStr* result) = 0;
  virtual bool __stdcall IsFileOpen(TDelphiStr fileName) = 0;
  virtual bool __stdcall GetNewModuleName(TDelphiStr* unitIdent, TDelphiStr* fileName) = 0;

  // Component library: slots 24 to 27.
  virtual int32_t __stdcall GetModuleCount() = 0;
  virtual void __stdcall GetModuleName(int32_t index, TDelphiStr* result) = 0;
  virtual int32_t __stdcall GetComponentCount(int32_t modIndex) = 0;
  virtual void __stdcall GetComponentName(int32_t modIndex, int32_t compIndex, TDelphiStr* result) = 0;

  // Virtual file systems: slots 28 to 30. As old as the interface (Delphi
  // 3's IDE implements them); no expert of ours calls them, but without
  // them every later slot would be three too low.
  virtual bool __stdcall RegisterFileSystem(TIVirtualFileSystem* virtualFileSystem) = 0;
  virtual bool __stdcall UnRegisterFileSystem(TDelphiStr ident) = 0;
  virtual TIVirtualFileSystem* __stdcall GetFileSystem(TDelphiStr ident) = 0;

  // Modules: slots 31 and 32.
  virtual TIModuleInterface* __stdcall GetModuleInterface(TDelphiStr fileName) = 0;
  virtual TIModuleInterface* __stdcall GetFormModuleInterface(TDelphiStr formName) = 0;

  // Menus: slot 33 (0x84).
  virtual TIMainMenuIntf* __stdcall GetMainMenu() = 0;

  // Notifications: slots 34 and 35.
  virtual bool __stdcall AddNotifier(TIAddInNotifier* addInNotifier) = 0;
  virtual bool __stdcall RemoveNotifier(TIAddInNotifier* addInNotifier) = 0;

  // Strings of the IDE's memory manager, slots 36 to 39: a new string with
  // a count of 1, and the release (slot 37, 0x94), reference and assignment
  // of such strings. The string variables are passed by address.
  virtual TDelphiStr __stdcall NewPascalString(const char* str) = 0;
  virtual void __stdcall FreePascalString(TDelphiStr* str) = 0;
  virtual void __stdcall ReferencePascalString(TDelphiStr* str) = 0;
  virtual void __stdcall AssignPascalString(TDelphiStr* dest, TDelphiStr* src) = 0;

  // Errors. The IDE raises its own exception here, which unwinds through
  // the caller without running C++ destructors: call it outside any catch
  // block with nothing left to destroy (ExpertSupport.h does). Slot 40
  // (0xA0).
  virtual void __stdcall RaiseException(TDelphiStr message) = 0;

  // Configuration: the IDE's key under HKEY_CURRENT_USER. Slot 41 (0xA4),
  // the last of Delphi 3's table.
  virtual void __stdcall GetBaseRegistryKey(TDelphiStr* result) = 0;

 protected:
  ~TIToolServices() = default;
};
