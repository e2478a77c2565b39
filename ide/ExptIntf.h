// The expert's side of the Delphi 3 Open Tools interface: the expert object
// the IDE calls, and the library's entry point (ExptIntf).
//
// The IDE loads every library named in its "Experts" key and calls the
// exported INITEXPERT0017 (undecorated, stdcall) with its tool services, a
// register procedure and the address of a terminate procedure. The library
// registers its experts with the register procedure, which takes over the
// reference each was created with. When the IDE unloads the library it
// releases every expert, calls the terminate procedure if one was set, and
// frees the library.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ToolIntf.h"

enum TExpertStyle : uint8_t { esStandard, esForm, esProject, esAddIn };

// Set of (esEnabled, esChecked).
using TExpertState = uint8_t;
inline constexpr TExpertState esEnabled = 1u << 0, esChecked = 1u << 1;

class TIExpert : public TInterface {
 public:
  // Slots 3 to 12, after those of TInterface.
  virtual void __stdcall GetName(TDelphiStr* result) = 0;
  virtual void __stdcall GetAuthor(TDelphiStr* result) = 0;
  virtual void __stdcall GetComment(TDelphiStr* result) = 0;
  // The Object Repository page of a form or project expert.
  virtual void __stdcall GetPage(TDelphiStr* result) = 0;
  virtual HICON __stdcall GetGlyph() = 0;
  virtual TExpertStyle __stdcall GetStyle() = 0;
  virtual TExpertState __stdcall GetState() = 0;
  // Unique among the IDE's experts: "Company.Purpose".
  virtual void __stdcall GetIDString(TDelphiStr* result) = 0;
  // The caption of a standard expert's Help menu item.
  virtual void __stdcall GetMenuText(TDelphiStr* result) = 0;
  // Runs a standard expert (its Help menu item was chosen).
  virtual void __stdcall Execute() = 0;

 protected:
  ~TIExpert() = default;
};

// Register convention (the expert in EAX, the answer in AL).
using TExpertRegisterProc = bool(DELPHI_REGISTER*)(TIExpert* expert);
// No arguments: any convention calls it alike.
using TExpertTerminateProc = void (*)();
using TExpertInitProc = bool(__stdcall*)(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                                         TExpertTerminateProc* terminate);

// The name the IDE looks the entry point up by.
inline constexpr const char* ExpertEntryPoint = "INITEXPERT0017";
