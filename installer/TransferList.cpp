#include "TransferList.h"

#include "InstallNames.h"
#include "Reg.h"
#include "InstallTexts.h"
#include "uChaines.h"

namespace {

// The four values of an entry, in the order they are written and moved.
constexpr const char* EntryValues[] = {Reg::TransferTitle, Reg::TransferPath, Reg::TransferWorkingDir,
                                       Reg::TransferParams};

// The profile functions' answer for an absent key.
constexpr const char* IniAbsent = "#";

// The number of entries before a change. An absent "Count" (a Transfer key
// that Delphi made empty) is an empty list; so is a negative one.
int CountForChange(TTransferList& list) {
  std::string text;
  if (!list.Read(Reg::TransferCount, text)) {
    // A Count that is there but not text is no empty list to write over.
    if (list.Exists(Reg::TransferCount)) throw ETransferCount(Msg::BadToolsCount(list.Version(), ""));
    return 0;
  }
  int32_t count = 0;
  if (!TryStrToInt(text, count)) throw ETransferCount(Msg::BadToolsCount(list.Version(), text));
  return count < 0 ? 0 : count;
}

}  // namespace

std::string EntryName(const char* value, int index) { return value + std::to_string(index); }

bool EntryIndex(const std::string& name, const char* value, int& index) {
  const std::string prefix = value;
  if (name.size() <= prefix.size() || !SameTextAscii(name.substr(0, prefix.size()), prefix)) return false;
  const std::string digits = name.substr(prefix.size());
  if (digits.find_first_not_of("0123456789") != std::string::npos || (digits.size() > 1 && digits[0] == '0'))
    return false;
  int32_t parsed = 0;
  if (!TryStrToInt(digits, parsed)) return false;
  index = parsed;
  return true;
}

// ---- Registry ------------------------------------------------------------------

bool TRegistryTransferList::Open() {
  return reg_.OpenKey(Reg::DelphiVersionKey(version_, Reg::Transfer), false);
}

bool TRegistryTransferList::Read(const std::string& name, std::string& value) {
  return reg_.CurrentKey().QueryString(name, value);
}

bool TRegistryTransferList::Exists(const std::string& name) { return reg_.ValueExists(name); }

std::vector<std::string> TRegistryTransferList::Names() { return reg_.CurrentKey().ValueNames(); }

void TRegistryTransferList::Write(const std::string& name, const std::string& value) { reg_.WriteString(name, value); }

void TRegistryTransferList::Delete(const std::string& name) { reg_.DeleteValue(name); }

void TRegistryTransferList::Move(const std::string& from, const std::string& to) {
  TRegKey& key = reg_.CurrentKey();
  if (key.ValueExists(from) && !key.ValueExists(to) && key.RenameValue(from, to) != ERROR_SUCCESS)
    throw std::runtime_error(Msg::CannotWrite(to));
}

// ---- Delphi.INI ----------------------------------------------------------------

bool TIniTransferList::Open() { return ini_.ReadString(Reg::Transfer, Reg::TransferCount, IniAbsent) != IniAbsent; }

std::string TIniTransferList::Version() const { return Reg::Delphi1; }

bool TIniTransferList::Read(const std::string& name, std::string& value) {
  value = ini_.ReadString(Reg::Transfer, name, IniAbsent);
  return value != IniAbsent;
}

bool TIniTransferList::Exists(const std::string& name) {
  std::string value;
  return Read(name, value);
}

std::vector<std::string> TIniTransferList::Names() { return ini_.ReadKeys(Reg::Transfer); }

void TIniTransferList::Write(const std::string& name, const std::string& value) {
  ini_.WriteString(Reg::Transfer, name, value);
}

void TIniTransferList::Delete(const std::string& name) { ini_.DeleteKey(Reg::Transfer, name); }

void TIniTransferList::Move(const std::string& from, const std::string& to) {
  ini_.WriteString(Reg::Transfer, to, ini_.ReadString(Reg::Transfer, from, ""));
}

void TIniTransferList::DropAfterCompaction(int count) {
  for (const char* value : EntryValues) Delete(EntryName(value, count));
}

// ---- The system's entry --------------------------------------------------------

int TransferCountOrZero(const std::string& text) {
  const int32_t count = StrToIntOrZero(text);
  return count < 0 ? 0 : count;
}

int FindTransferEntry(TTransferList& list, int count, const std::string& exePath) {
  int found = -1;
  for (const std::string& name : list.Names()) {
    int index = 0;
    if (!EntryIndex(name, Reg::TransferPath, index) || index >= count || (found >= 0 && index > found)) continue;
    std::string path;
    if (list.Read(name, path) && SameTextAscii(path, exePath)) found = index;
  }
  return found;
}

TToolChange AddTransferEntry(TTransferList& list, const std::string& exePath) {
  if (!list.Open()) return TToolChange::NotInstalled;
  int count = CountForChange(list);
  int index = FindTransferEntry(list, count, exePath);
  if (index < 0) index = count++;
  list.Write(Reg::TransferCount, std::to_string(count));
  list.Write(EntryName(Reg::TransferTitle, index), Reg::ToolTitle);
  list.Write(EntryName(Reg::TransferPath, index), exePath);
  list.Write(EntryName(Reg::TransferWorkingDir, index), "");
  list.Write(EntryName(Reg::TransferParams, index), Reg::ToolParams);
  return TToolChange::Done;
}

TToolChange RemoveTransferEntry(TTransferList& list, const std::string& exePath, int& removed) {
  removed = -1;
  if (!list.Open()) return TToolChange::NotInstalled;
  const int count = CountForChange(list);
  const int index = FindTransferEntry(list, count, exePath);
  if (index < 0) return TToolChange::NotFound;
  for (const char* value : EntryValues) list.Delete(EntryName(value, index));
  list.Write(Reg::TransferCount, std::to_string(count - 1));
  removed = index;
  return TToolChange::Done;
}

void CompactTransferList(TTransferList& list, int index) {
  if (!list.Open()) return;
  std::string text;
  int32_t count = 0;
  if (!list.Read(Reg::TransferCount, text) || !TryStrToInt(text, count)) return;
  // Past the highest index present there is nothing to move.
  int highest = -1;
  for (const std::string& name : list.Names())
    for (const char* value : EntryValues)
      if (int i = 0; EntryIndex(name, value, i) && i > highest) highest = i;
  for (int i = index; i < count && i < highest; ++i)
    for (const char* value : EntryValues) list.Move(EntryName(value, i + 1), EntryName(value, i));
  list.DropAfterCompaction(count);
}
