// What the installer's boxes do when clicked: Delphi tool entries, experts,
// the Start-menu group and its shortcuts; and what closing the window does.
#include <shlobj.h>

#include <stdexcept>

#include "Dialogs.h"
#include "InstallNames.h"
#include "SystemText.h"
#include "InstallTexts.h"
#include "Reg.h"
#include "TransferList.h"
#include "ufInstall.h"
#include "ufRepertoire.h"

namespace {

// A shell link file name holds at most this many characters, terminator
// included.
constexpr int LinkNameCapacity = MAX_PATH;

std::string SystemErrorOrNumber(HRESULT hr) {
  const std::string text = SystemErrorText(static_cast<DWORD>(hr));
  return text.empty() ? "System error " + std::to_string(static_cast<long>(hr)) : text;
}

// The link file's name in UTF-16, as long as the shell takes one.
HRESULT WideLinkName(const std::string& name, std::wstring& wide) {
  const int n = MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, nullptr, 0);
  if (n <= 0) return HRESULT_FROM_WIN32(GetLastError());
  if (n > LinkNameCapacity) return HRESULT_FROM_WIN32(ERROR_FILENAME_EXCED_RANGE);
  wide.assign(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(CP_ACP, 0, name.c_str(), -1, wide.data(), n);
  return S_OK;
}

// The parent key's path and the last name of a registry path.
std::pair<std::string, std::string> SplitKeyPath(const std::string& path) {
  const size_t cut = path.rfind('\\');
  if (cut == std::string::npos) return {std::string(), path};
  return {path.substr(0, cut), path.substr(cut + 1)};
}

// Adds or removes the system's entry as the box now says. The index removed,
// for the renumbering, or -1.
int ChangeTool(const TCheckBox& box, TTransferList& list, const std::string& exePath) {
  int removed = -1;
  const TToolChange change =
      box.Checked() ? AddTransferEntry(list, exePath) : RemoveTransferEntry(list, exePath, removed);
  if (change == TToolChange::NotInstalled) ShowMessage(Msg::DelphiNotInstalled(list.Version()));
  return removed;
}

}  // namespace

// ---- Delphi tool entries ---------------------------------------------------------
// These hold no guard and start no reading pass: the next tick shows the result.

void TfInstall::OD1Click() {
  TIniTransferList list(Ini);
  ToggleTool(OD1, list);
}

void TfInstall::OD2Click() {
  TRegistryTransferList list(Reg::Delphi2);
  ToggleTool(OD2, list);
}

void TfInstall::OD3Click() {
  TRegistryTransferList list(Reg::Delphi3);
  ToggleTool(OD3, list);
}

// The renumbering opens the list again and reads the count that the removal wrote.
void TfInstall::ToggleTool(TCheckBox& box, TTransferList& list) {
  if (Reading) return;
  const int removed = ChangeTool(box, list, ExePath);
  if (removed >= 0) CompactTransferList(list, removed);
}

// ---- Experts -----------------------------------------------------------------------

void TfInstall::ToggleExpert(TCheckBox& box, const std::string& version, const char* value,
                             const std::string& library) {
  if (!Reg.OpenKey(Reg::DelphiVersionKey(version, Reg::Experts), false)) {
    ShowMessage(Msg::DelphiNotInstalled(version));
    return;
  }
  if (box.Checked())
    Reg.WriteString(value, library);
  else
    Reg.DeleteValue(value);
  Reg.CloseKey();
}

void TfInstall::D2Click() {
  if (Reading) return;
  TReadingHold hold(Reading);
  ToggleExpert(D2, Reg::Delphi2, Reg::Expert2Value, Expert2Path);
}

void TfInstall::D3Click() {
  if (Reading) return;
  ToggleExpert(D3, Reg::Delphi3, Reg::Expert3Value, ExpertPath);
}

// ---- The Start-menu group ----------------------------------------------------------

void TfInstall::cbGroupeClick() {
  if (Reading) return;
  {
    TReadingHold hold(Reading);
    if (cbGroupe.Checked()) {
      // The directory window opens on the Start menu's programs folder.
      ShortcutDir = ProgramsDir;
      if (fRepertoire && fRepertoire->Execute(Msg::GroupQuestion, ShortcutDir)) {
        if (ShortcutDir.empty() || ShortcutDir.back() != '\\') ShortcutDir += '\\';
        ShortcutDir += InstallFiles::Group;
        CreateDirectoryA(ShortcutDir.c_str(), nullptr);  // it may exist already; the next pass shows the truth
        BuildLinkPaths();
      } else {
        ShortcutDir.clear();
        cbGroupe.SetChecked(false);
      }
    } else {
      RemoveShortcut(cbUsagram, LinkExe);
      RemoveShortcut(cbAide, LinkHelp);
      RemoveShortcut(cbQuorvel, LinkQuorvelHelp);
      RemoveShortcut(cbInstall, LinkInstaller);
      RemoveDirectoryA(ShortcutDir.c_str());  // only when empty: other files stay, and so does the folder
      ShortcutDir.clear();
    }
  }
  ReadState();
}

void TfInstall::RemoveShortcut(TCheckBox& box, const std::string& linkFile) {
  if (!box.Checked()) return;
  DeleteFileA(linkFile.c_str());
  box.SetChecked(false);
}

void TfInstall::cbUsagramClick() { ToggleShortcut(cbUsagram, LinkExe, ExePath); }
void TfInstall::cbAideClick() { ToggleShortcut(cbAide, LinkHelp, HelpPath); }
void TfInstall::cbQuorvelClick() { ToggleShortcut(cbQuorvel, LinkQuorvelHelp, QuorvelHelpPath); }
void TfInstall::cbInstallClick() { ToggleShortcut(cbInstall, LinkInstaller, InstallerPath); }

void TfInstall::ToggleShortcut(TCheckBox& box, const std::string& linkFile, const std::string& target) {
  if (Reading) return;
  {
    TReadingHold hold(Reading);
    if (box.Checked())
      CreateShortcut(target, linkFile, InstallFiles::LinkDescription);  // a failure shows in the next pass
    else
      DeleteFileA(linkFile.c_str());
  }
  ReadState();
}

HRESULT TfInstall::CreateShortcut(const std::string& target, const std::string& linkFile,
                                  const std::string& description) {
  TComPtr<IShellLinkA> link;
  HRESULT hr = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid());
  if (FAILED(hr)) throw std::runtime_error(SystemErrorOrNumber(hr));
  TComPtr<IPersistFile> file;
  hr = link->QueryInterface(IID_IPersistFile, file.PutVoid());
  if (SUCCEEDED(hr)) hr = link->SetPath(target.c_str());
  if (SUCCEEDED(hr)) hr = link->SetDescription(description.c_str());
  std::wstring wide;
  if (SUCCEEDED(hr)) hr = WideLinkName(linkFile, wide);
  if (SUCCEEDED(hr)) hr = file->Save(wide.c_str(), TRUE);
  return hr;
}

// ---- Closing -----------------------------------------------------------------------

bool TfInstall::AnythingChecked() const {
  for (const TCheckBox* box : {&D2, &D3, &OD1, &OD2, &OD3, &cbGroupe, &cbUsagram, &cbAide, &cbQuorvel, &cbInstall})
    if (box->Checked()) return true;  // a hidden box counts with its last state
  return false;
}

void TfInstall::FormDestroy() {
  TimerExpert.SetEnabled(false);  // no reading pass while closing asks its question
  const auto [vendor, product] = SplitKeyPath(Reg::ProductKey);
  if (!AnythingChecked()) {
    TRegKey vendorKey, productKey;
    if (vendorKey.Open(HKEY_CURRENT_USER, vendor, KEY_READ | KEY_WRITE) &&
        productKey.Open(vendorKey, product)) {
      productKey.Close();
      if (MessageBoxA(nullptr, Msg::DeleteParameters, Msg::UninstallerCaption, MB_YESNO) == IDYES) {
        vendorKey.DeleteSubKeyTree(product);
        // The vendor's key goes only when nothing of anyone is left in it.
        if (!vendorKey.HasSubKeys() && !vendorKey.HasValues()) {
          vendorKey.Close();
          const auto [parent, name] = SplitKeyPath(vendor);
          TRegKey parentKey;
          if (parentKey.Open(HKEY_CURRENT_USER, parent, KEY_READ | KEY_WRITE))
            parentKey.DeleteSubKey(name);
        }
      }
    }
  } else {
    if (!Reg.OpenKey(std::string(Reg::ProductKey) + "\\" + Reg::Disk, true))
      throw std::runtime_error(Msg::CannotWrite(Reg::InstallDirectory));
    Reg.WriteString(Reg::InstallDirectory, InstallDir);
    if (cbGroupe.Checked()) Reg.WriteString(Reg::ShortcutDirectory, ShortcutDir);
  }
  Reg.CloseKey();
}
