// Usagram_Expert.dll: the whole tool as an add-in expert of the Delphi 3
// IDE. Its one export, INITEXPERT0017, registers a TUsagramExpert, whose
// item "&Usagram" in the View menu opens the main window on the IDE's
// current project.
#pragma once

#include <windows.h>

#include "ComOwners.h"
#include "ExpertSupport.h"
#include "WordWindowHost.h"

// What the library holds while it is loaded: the settings, read when it
// starts and written once when it ends, the Word driver, and the IDE as the
// owner of our windows and the editor of our units. It starts in the entry
// point and ends with the expert's release, never in DllMain: ending frees
// windows, ends the mail client's thread and lets go of Word, none of which
// may run under the loader lock.
class TLibrarySession {
 public:
  explicit TLibrarySession(HWND ideWindow);
  ~TLibrarySession();
  TLibrarySession(const TLibrarySession&) = delete;
  TLibrarySession& operator=(const TLibrarySession&) = delete;

 private:
  // The settings for the life of the session (their end follows the
  // windows', whose own values go through them).
  struct TSettingsLife {
    TSettingsLife();
    ~TSettingsLife();
  };

  TComApartment Com;  // Word is driven from the IDE's thread
  TSettingsLife SettingsLife;
  TWordWindowHost WordHost;
  TMSWordInstallation Word{WordHost};
};

class TUsagramExpert final : public TInterfaceImpl<TIExpert, TUsagramExpert> {
 public:
  // Starts the library and puts the item after the IDE's Project Manager,
  // when the IDE has one.
  TUsagramExpert();
  // The item goes first, destroyed in the IDE's menu, then the library
  // ends: its windows are freed and the settings written.
  ~TUsagramExpert();

  void __stdcall GetName(TDelphiStr* result) override;
  void __stdcall GetAuthor(TDelphiStr* result) override;
  void __stdcall GetComment(TDelphiStr* result) override;
  void __stdcall GetPage(TDelphiStr* result) override;
  HICON __stdcall GetGlyph() override;
  TExpertStyle __stdcall GetStyle() override;
  TExpertState __stdcall GetState() override;
  void __stdcall GetIDString(TDelphiStr* result) override;
  void __stdcall GetMenuText(TDelphiStr* result) override;
  void __stdcall Execute() override;

  // The one expert of the library while it is registered.
  static inline TUsagramExpert* Instance = nullptr;

 private:
  // "&Usagram": the tool's windows on first use, the IDE's project handed to
  // the main window, the main window shown.
  void Click(TIMenuItemIntf* sender);

  TLibrarySession Session;
  TExpertMenuItem MenuItem;  // empty when the IDE had no place for it
};
