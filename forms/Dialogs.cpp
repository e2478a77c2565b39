#include "Dialogs.h"

#include <algorithm>
#include <vector>

#include "ExtCtrls.h"
#include "StdCtrls.h"

namespace {

const char* const NoPrinter = "There is no default printer currently selected";

HWND OwnerOr(HWND owner) { return owner ? owner : GetActiveWindow(); }

}  // namespace

// ---- File dialogs ------------------------------------------------------------

std::string FilterToWin32(const std::string& filter) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (!filter.empty()) {
    size_t bar = filter.find('|', start);
    parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
    if (bar == std::string::npos) break;
    start = bar + 1;
  }
  if (parts.size() % 2) parts.pop_back();
  if (parts.empty()) return {};
  std::string out;
  for (const std::string& p : parts) {
    out += p;
    out += '\0';
  }
  out += '\0';
  return out;
}

bool TOpenDialog::Execute(HWND owner) {
  const std::string filter = FilterToWin32(Filter);
  std::vector<char> file(std::max<size_t>(FileName.size() + 1, 32768), '\0');
  std::copy(FileName.begin(), FileName.end(), file.begin());
  OPENFILENAMEA ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = OwnerOr(owner);
  ofn.lpstrFilter = filter.empty() ? nullptr : filter.c_str();
  ofn.nFilterIndex = static_cast<DWORD>(std::max(FilterIndex, 0));
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = static_cast<DWORD>(file.size());
  ofn.lpstrInitialDir = InitialDir.empty() ? nullptr : InitialDir.c_str();
  ofn.lpstrTitle = Title.empty() ? nullptr : Title.c_str();
  ofn.lpstrDefExt = DefaultExt.empty() ? nullptr : DefaultExt.c_str();
  ofn.Flags = Options | OFN_EXPLORER | OFN_ENABLESIZING;
  BOOL ok = Run(ofn);
  if (!ok && CommDlgExtendedError() == FNERR_INVALIDFILENAME) {
    // A proposed name that Windows refuses would keep the dialog from
    // showing at all: offer it without one.
    std::fill(file.begin(), file.end(), '\0');
    ok = Run(ofn);
  }
  if (!ok) return false;
  FileName = file.data();
  FilterIndex = static_cast<int>(ofn.nFilterIndex);
  return true;
}

// ---- Printer -----------------------------------------------------------------

TPrinter& Printer() {
  static TPrinter printer;
  return printer;
}

TPrinter::~TPrinter() = default;

void TPrinter::EnsureDefault() {
  if (devNames_) return;
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.Flags = PD_RETURNDEFAULT;
  if (PrintDlgA(&pd)) {
    devMode_.Attach(pd.hDevMode);
    devNames_.Attach(pd.hDevNames);
  }
}

bool TPrinter::HasPrinter() {
  EnsureDefault();
  return static_cast<bool>(devNames_);
}

std::string TPrinter::PrinterName() {
  EnsureDefault();
  TGlobalLock<DEVNAMES> dn(devNames_.Get());
  if (!dn.Get()) return {};
  return reinterpret_cast<const char*>(dn.Get()) + dn->wDeviceOffset;
}

TPrinterOrientation TPrinter::Orientation() {
  EnsureDefault();
  TGlobalLock<DEVMODEA> dm(devMode_.Get());
  return dm.Get() && (dm->dmFields & DM_ORIENTATION) && dm->dmOrientation == DMORIENT_LANDSCAPE ? poLandscape
                                                                                                : poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation o) {
  EnsureDefault();
  TGlobalLock<DEVMODEA> dm(devMode_.Get());
  if (!dm.Get()) throw EPrinter(NoPrinter);
  dm->dmFields |= DM_ORIENTATION;
  dm->dmOrientation = o == poLandscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

TCreatedDC TPrinter::CreatePrinterDC() {
  EnsureDefault();
  TGlobalLock<DEVNAMES> dn(devNames_.Get());
  if (!dn.Get()) throw EPrinter(NoPrinter);
  TGlobalLock<DEVMODEA> dm(devMode_.Get());
  const char* base = reinterpret_cast<const char*>(dn.Get());
  TCreatedDC dc(CreateDCA(base + dn->wDriverOffset, base + dn->wDeviceOffset, nullptr, dm.Get()));
  if (!dc) throw EPrinter("Printer selected is not valid");
  return dc;
}

int TPrinter::PageWidth() {
  if (job_) return GetDeviceCaps(jobDC_, HORZRES);
  return GetDeviceCaps(CreatePrinterDC(), HORZRES);
}

int TPrinter::PageHeight() {
  if (job_) return GetDeviceCaps(jobDC_, VERTRES);
  return GetDeviceCaps(CreatePrinterDC(), VERTRES);
}

void TPrinter::BeginDoc(const std::string& title) {
  if (job_) throw EPrinter("Printing in progress");
  TCreatedDC dc = CreatePrinterDC();
  auto job = std::make_unique<TPrintJob>(dc, title);
  if (!job->Started()) throw EPrinter("Printing of \"" + title + "\" failed");
  job->StartPage();
  jobDC_ = std::move(dc);
  job_ = std::move(job);
}

void TPrinter::NewPage() {
  if (!job_) throw EPrinter("Printer is not currently printing");
  job_->EndPage();
  job_->StartPage();
}

void TPrinter::EndDoc() {
  if (!job_) throw EPrinter("Printer is not currently printing");
  job_->EndPage();
  job_->End();
  job_.reset();
  jobDC_.Reset();
}

void TPrinter::Abort() {
  job_.reset();  // an unfinished job aborts as it goes
  jobDC_.Reset();
}

namespace {
bool RunPrintDlg(HWND owner, DWORD flags) {
  TPrinter& p = Printer();
  PRINTDLGA pd{};
  pd.lStructSize = sizeof pd;
  pd.hwndOwner = OwnerOr(owner);
  // The dialog may free the blocks it is given and hand back new ones.
  pd.hDevMode = p.DevMode().Detach();
  pd.hDevNames = p.DevNames().Detach();
  pd.Flags = flags;
  pd.nCopies = 1;
  BOOL ok = PrintDlgA(&pd);
  p.DevMode().Attach(pd.hDevMode);
  p.DevNames().Attach(pd.hDevNames);
  if (!ok && CommDlgExtendedError() == PDERR_NODEFAULTPRN) throw EPrinter(NoPrinter);
  return ok != FALSE;
}
}  // namespace

bool TPrintDialog::Execute(HWND owner) {
  return RunPrintDlg(owner, PD_NOPAGENUMS | PD_NOSELECTION | PD_USEDEVMODECOPIESANDCOLLATE);
}

bool TPrinterSetupDialog::Execute(HWND owner) { return RunPrintDlg(owner, PD_PRINTSETUP); }

bool TColorDialog::Execute(HWND owner) {
  CHOOSECOLORA cc{};
  cc.lStructSize = sizeof cc;
  cc.hwndOwner = OwnerOr(owner);
  cc.rgbResult = ColorToRGB(Color);
  cc.lpCustColors = CustomColors;
  cc.Flags = CC_RGBINIT;
  if (!ChooseColorA(&cc)) return false;
  Color = cc.rgbResult;
  return true;
}

// ---- Message boxes -----------------------------------------------------------

int ShowMessageBox(const std::string& text, const std::string& caption, UINT flags) {
  int r = MessageBoxA(GetActiveWindow(), text.c_str(), caption.c_str(), flags);
  return r == 0 ? mrCancel : r;  // a box that could not be shown answers nothing
}

void ShowMessage(const std::string& text) { ShowMessageBox(text, Application.Title, MB_OK); }

int MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons, const std::string& caption) {
  UINT flags = 0;
  switch (buttons) {
    case mbOK:
      flags = MB_OK;
      break;
    case mbOKCancel:
      flags = MB_OKCANCEL;
      break;
    case mbYesNo:
      flags = MB_YESNO;
      break;
    case mbYesNoCancel:
      flags = MB_YESNOCANCEL;
      break;
    case mbRetry | mbCancel:
      flags = MB_RETRYCANCEL;
      break;
    case mbAbortRetryIgnore:
      flags = MB_ABORTRETRYIGNORE;
      break;
    default:
      throw EInvalidOperation("No message box offers these buttons");
  }
  static const char* const names[] = {"Warning", "Error", "Information", "Confirm"};
  static const UINT icons[] = {MB_ICONWARNING, MB_ICONERROR, MB_ICONINFORMATION, MB_ICONQUESTION};
  std::string title = caption;
  if (type != mtCustom) {
    flags |= icons[type];
    if (title.empty()) title = names[type];
  } else if (title.empty()) {
    title = Application.Title;
  }
  return ShowMessageBox(text, title, flags);
}

// ---- Input box ---------------------------------------------------------------

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  const int width = std::max(240, std::min(static_cast<int>(TextExtent(TFont{}, prompt).cx) + 16, Screen.Width() - 40));
  TForm form({.Caption = caption,
              .ClientWidth = width,
              .ClientHeight = 92,
              .BorderStyle = bsDialog,
              .Owner = GetActiveWindow()});
  TLabel label;
  label.Create(form, 8, 8, prompt);
  TEdit edit;
  edit.Create(form, {8, 26, width - 16, 21}, value);
  edit.SelectAll();
  TButton ok, cancel;
  ok.Default = true;
  ok.ModalResult = mrOk;
  ok.Create(form, {width / 2 - 79, 58, 75, 25}, "OK");
  cancel.Cancel = true;
  cancel.ModalResult = mrCancel;
  cancel.Create(form, {width / 2 + 4, 58, 75, 25}, "Cancel");
  form.FinishCreate();
  if (form.ShowModal() != mrOk) return false;
  value = edit.Text();
  return true;
}

std::string InputBox(const std::string& caption, const std::string& prompt, const std::string& defaultValue) {
  std::string value = defaultValue;
  return InputQuery(caption, prompt, value) ? value : defaultValue;
}

// ---- Ridarar presenter -------------------------------------------------------

void TBoxPresenter::ShowWarning(const std::string& text) {
  MessageBeep(0);
  MessageBoxA(GetFocus(), text.c_str(), "Usagram", MB_ICONWARNING | MB_OK);
}

bool TBoxPresenter::ShowWarnOrStop(const std::string& text) {
  // A box that cannot be shown is no Cancel: the work goes on.
  return MessageBoxA(nullptr, text.c_str(), RidararCaption, MB_TASKMODAL | MB_OKCANCEL) != IDCANCEL;
}

void TBoxPresenter::ShowFatalError(const std::string& text) {
  MessageBeep(0);
  MessageBoxA(nullptr, ("Fatal error: " + text).c_str(), RidararCaption, MB_TASKMODAL | MB_OK);
}
