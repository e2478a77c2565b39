// Common dialogs, the printer, message boxes, the one-line input box, and
// the message-box presenter of the Ridarar routines.
#pragma once

#include "Forms.h"

#include <cderr.h>
#include <commdlg.h>

#include <memory>
#include <string>

#include "GdiGuard.h"
#include "GlobalMemory.h"
#include "PrintJob.h"

#include "Ridarar.h"

// ---- File dialogs ------------------------------------------------------------

// Options are the OFN_ flags; Delphi's names for the ones the program uses.
using TOpenOptions = DWORD;
inline constexpr TOpenOptions ofReadOnly = OFN_READONLY, ofOverwritePrompt = OFN_OVERWRITEPROMPT,
                              ofHideReadOnly = OFN_HIDEREADONLY, ofNoChangeDir = OFN_NOCHANGEDIR,
                              ofPathMustExist = OFN_PATHMUSTEXIST, ofFileMustExist = OFN_FILEMUSTEXIST,
                              ofCreatePrompt = OFN_CREATEPROMPT, ofNoReadOnlyReturn = OFN_NOREADONLYRETURN;

// "Text files|*.txt|All|*.*" becomes the pairs of strings of Win32, each
// ended by a NUL, with a final NUL. A description without its pattern at
// the end is dropped.
std::string FilterToWin32(const std::string& filter);

class TOpenDialog {
 public:
  virtual ~TOpenDialog() = default;
  std::string Filter;
  int FilterIndex = 1;  // 1-based, as the user left it after Execute
  std::string FileName;
  std::string Title;
  std::string DefaultExt;  // without the dot
  std::string InitialDir;
  TOpenOptions Options = ofHideReadOnly;
  // Shows the dialog; true when the user chose a file (FileName then holds
  // it). Owner nullptr: the active window.
  bool Execute(HWND owner = nullptr);

 protected:
  virtual BOOL Run(OPENFILENAMEA& ofn) { return GetOpenFileNameA(&ofn); }
};

class TSaveDialog : public TOpenDialog {
 public:
  TSaveDialog() { Options = ofHideReadOnly | ofOverwritePrompt; }

 protected:
  BOOL Run(OPENFILENAMEA& ofn) override { return GetSaveFileNameA(&ofn); }
};

// ---- Printer -----------------------------------------------------------------

class EPrinter : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum TPrinterOrientation { poPortrait, poLandscape };

// The current printer and its settings, shared by the print dialogs and the
// printing code. The default printer is taken when first needed.
class TPrinter {
 public:
  TPrinter() = default;
  ~TPrinter();
  TPrinter(const TPrinter&) = delete;
  TPrinter& operator=(const TPrinter&) = delete;

  // False when the system has no printer.
  bool HasPrinter();
  std::string PrinterName();
  TPrinterOrientation Orientation();
  void SetOrientation(TPrinterOrientation o);
  // Page size in device pixels.
  int PageWidth();
  int PageHeight();

  // One print job; Handle() is its DC until EndDoc or Abort.
  void BeginDoc(const std::string& title);
  void NewPage();
  void EndDoc();
  void Abort();
  bool Printing() const { return job_ != nullptr; }
  HDC Handle() const { return jobDC_.Get(); }
  // A DC on the printer with the current settings, not in a job.
  TCreatedDC CreatePrinterDC();

  // The settings blocks that PrintDlg reads and replaces.
  TGlobalMemory& DevMode() { return devMode_; }
  TGlobalMemory& DevNames() { return devNames_; }

 private:
  void EnsureDefault();
  TGlobalMemory devMode_, devNames_;
  TCreatedDC jobDC_;                // outlives the job, which needs it to end
  std::unique_ptr<TPrintJob> job_;
};
TPrinter& Printer();

class TPrintDialog {
 public:
  bool Execute(HWND owner = nullptr);
};

class TPrinterSetupDialog {
 public:
  bool Execute(HWND owner = nullptr);
};

class TColorDialog {
 public:
  TColor Color = clBlack;
  COLORREF CustomColors[16] = {};
  bool Execute(HWND owner = nullptr);
};

// ---- Message boxes -----------------------------------------------------------

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
using TMsgDlgButtons = unsigned;
inline constexpr TMsgDlgButtons mbYes = 1, mbNo = 2, mbOK = 4, mbCancel = 8, mbAbort = 16, mbRetry = 32,
                                mbIgnore = 64;
inline constexpr TMsgDlgButtons mbYesNoCancel = mbYes | mbNo | mbCancel, mbOKCancel = mbOK | mbCancel,
                                mbYesNo = mbYes | mbNo, mbAbortRetryIgnore = mbAbort | mbRetry | mbIgnore;

// A message box with the icon of the type and the buttons (one of the sets
// that Windows offers); returns the button as mrOk, mrYes... The caption
// defaults to the type's name ("Warning", "Error", "Information",
// "Confirm") or, for mtCustom, to Application.Title.
int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, const std::string& caption = {});
// MessageBoxA owned by the active window; returns IDOK...
int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags);
// The text with OK, captioned with Application.Title.
void ShowMessage(const std::string& text);

// ---- Input box ---------------------------------------------------------------

// A small modal form with the prompt, one line of text (starting with
// value) and OK and Cancel. OK stores the text in value and returns true;
// Cancel or closing leaves value as it was and returns false.
bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value);
// The text, or defaultValue on Cancel.
std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue);

// ---- Ridarar presenter -------------------------------------------------------

// Message boxes for Warning, WarnOrStop and FatalError.
class TBoxPresenter : public TMessagePresenter {
 public:
  void ShowWarning(const std::string& text) override;
  bool ShowWarnOrStop(const std::string& text) override;
  void ShowFatalError(const std::string& text) override;
};
