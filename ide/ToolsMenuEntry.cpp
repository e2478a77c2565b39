#include "ToolsMenuEntry.h"

#include <windows.h>

#include <cstdint>
#include <stdexcept>
#include <utility>
#include <vector>

#include "Reg.h"
#include "Dialogs.h"
#include "Format.h"
#include "Messages.h"
#include "Module.h"
#include "RegKey.h"
#include "Settings.h"
#include "uChaines.h"

namespace {

constexpr const char* AskDelphi1 = "Install in Borland Delphi(tm) 1.0 ?";
constexpr const char* AskDelphiVersion = "Install in Borland Delphi(tm)%s ?";

bool Ask(const std::string& question) {
  return ShowMessageBox(question, Msg::AppCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

// The index of the new entry: the stored count; a text that is not a
// number, or a negative count, is an empty list.
int32_t NewEntryIndex(const std::string& count) {
  const int32_t n = StrToIntOrZero(count);
  return n < 0 ? 0 : n;
}

std::string CountAfter(int32_t index) { return std::to_string(static_cast<int64_t>(index) + 1); }

// The entry's four values, in the order they are written.
std::vector<std::pair<std::string, std::string>> EntryValues(int32_t index) {
  const std::string n = std::to_string(index);
  return {{Reg::TransferTitle + n, Reg::ToolTitle},
          {Reg::TransferPath + n, ModuleFileName()},
          {Reg::TransferWorkingDir + n, std::string()},
          {Reg::TransferParams + n, Reg::ToolParams}};
}

std::string ReadDelphiIni(const char* section, const std::string& key, const char* def) {
  std::string buffer(256, '\0');
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section, key.c_str(), def, buffer.data(),
                                             static_cast<DWORD>(buffer.size()), Reg::DelphiIni);
    if (n + 2 < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.assign(buffer.size() * 2, '\0');
  }
}

void WriteDelphiIni(const char* section, const std::string& key, const std::string& value) {
  if (!WritePrivateProfileStringA(section, key.c_str(), value.c_str(), Reg::DelphiIni))
    throw std::runtime_error("Failed to write '" + key + "' in " + Reg::DelphiIni);
}

void OfferDelphi1() {
  const std::string count = ReadDelphiIni(Reg::Transfer, Reg::TransferCount, Reg::NotSet);
  if (count == Reg::NotSet || !Ask(AskDelphi1)) return;
  const int32_t index = NewEntryIndex(count);
  for (const auto& [name, value] : EntryValues(index)) WriteDelphiIni(Reg::Transfer, name, value);
  WriteDelphiIni(Reg::Transfer, Reg::TransferCount, CountAfter(index));
}

void OfferDelphi(const char* version) {
  TRegKey delphi;
  if (!delphi.Open(HKEY_CURRENT_USER, Reg::DelphiKey + std::string(version), KEY_READ | KEY_CREATE_SUB_KEY)) return;
  if (!Ask(Format(AskDelphiVersion, version))) return;
  TRegKey transfer;
  if (!transfer.Create(delphi, Reg::Transfer))
    throw ERegistryError("Failed to create key " + std::string(Reg::Transfer) + " of Delphi " + version);
  std::string count;
  transfer.QueryString(Reg::TransferCount, count);  // a missing count is an empty list
  const int32_t index = NewEntryIndex(count);
  for (const auto& [name, value] : EntryValues(index)) transfer.WriteString(name, value);
  transfer.WriteString(Reg::TransferCount, CountAfter(index));
}

// Quoted when it holds a space, as a command line needs it.
std::string CommandPart(const std::string& text) {
  return text.find(' ') == std::string::npos ? text : '"' + text + '"';
}

}  // namespace

void InstallAsDelphiTool() {
  OfferDelphi1();
  for (const char* version : {Reg::Delphi2, Reg::Delphi3}) OfferDelphi(version);
}

bool RememberForRestart(const std::string& project) {
  TRegKey run;
  if (!run.Open(HKEY_LOCAL_MACHINE, Reg::RunKey, KEY_SET_VALUE)) return false;
  return run.SetString(Reg::RunValue, CommandPart(ModuleFileName()) + ' ' + CommandPart(project)) == ERROR_SUCCESS;
}

void ForgetRestart() {
  TRegKey run;
  if (run.Open(HKEY_LOCAL_MACHINE, Reg::RunKey, KEY_SET_VALUE)) run.DeleteValue(Reg::RunValue);
}
