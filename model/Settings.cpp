#include "Settings.h"

#include <vector>

#include "Globales.h"
#include "Module.h"
#include "uChaines.h"

// Settings itself is defined with the model (Units.cpp), so that the model is
// freed before the store at exit.

namespace {

// Names and values are code page 1252 whatever the process's ANSI code page.
std::wstring Widen(const std::string& text) {
  if (text.empty()) return std::wstring();
  int n = MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(n, L'\0');
  MultiByteToWideChar(1252, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
  return result;
}

std::string Narrow(const std::wstring& text) {
  if (text.empty()) return std::string();
  int n = WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(n, '\0');
  WideCharToMultiByte(1252, 0, text.data(), static_cast<int>(text.size()), result.data(), n, nullptr, nullptr);
  return result;
}

// An opened subkey, closed at scope end.
class TKey {
 public:
  TKey() = default;
  ~TKey() {
    if (Handle) RegCloseKey(Handle);
  }
  TKey(const TKey&) = delete;
  TKey& operator=(const TKey&) = delete;
  HKEY Handle = nullptr;
};

// The section's key: the store's own key for an empty section name.
bool OpenSection(HKEY root, const std::string& section, bool create, TKey& key) {
  if (!root) return false;
  std::wstring name = Widen(section);
  LONG rc;
  if (create)
    rc = RegCreateKeyExW(root, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr,
                         &key.Handle, nullptr);
  else
    rc = RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &key.Handle);
  if (rc != ERROR_SUCCESS) key.Handle = nullptr;
  return key.Handle != nullptr;
}

// The value as text; false when it is absent or cannot be read as text.
// Besides string values, a value set by hand or by another program as a
// number (REG_DWORD) reads as its decimal text, and a multi-string as its
// first string: the value is the user's, and reading it as absent would lose
// it at the next save.
bool QueryText(HKEY key, const std::string& ident, std::string& value) {
  std::wstring name = Widen(ident);
  std::vector<BYTE> buffer(128);
  for (int attempt = 0; attempt < 8; ++attempt) {
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(buffer.size());
    LONG rc = RegQueryValueExW(key, name.c_str(), nullptr, &type, buffer.data(), &size);
    if (rc == ERROR_MORE_DATA) {
      buffer.assign(size + sizeof(wchar_t), 0);
      continue;
    }
    if (rc != ERROR_SUCCESS) return false;
    switch (type) {
      case REG_SZ:
      case REG_EXPAND_SZ:
      case REG_MULTI_SZ: {
        // The stored data need not end with a terminator, or may hold several.
        std::wstring text(reinterpret_cast<const wchar_t*>(buffer.data()), size / sizeof(wchar_t));
        size_t end = text.find(L'\0');
        if (end != std::wstring::npos) text.resize(end);
        value = Narrow(text);
        return true;
      }
      case REG_DWORD:
        if (size != sizeof(DWORD)) return false;
        value = std::to_string(*reinterpret_cast<const uint32_t*>(buffer.data()));
        return true;
      default:
        return false;
    }
  }
  return false;
}

}  // namespace

// ---------------------------------------------------------------- colours

COLORREF StrToColour(const std::string& text) {
  std::string rest = text, red, green;
  SplitFirst(rest, ',', red);
  SplitFirst(rest, ',', green);
  auto part = [](const std::string& t) { return static_cast<BYTE>(StrToIntOrZero(t) & 0xFF); };
  return RGB(part(red), part(green), part(rest));
}

std::string ColourToStr(COLORREF colour) {
  return std::to_string(GetRValue(colour)) + "," + std::to_string(GetGValue(colour)) + "," +
         std::to_string(GetBValue(colour));
}

// ---------------------------------------------------------------- TRegIniFile

TRegIniFile::TRegIniFile(const std::string& keyName, HKEY root) {
  std::wstring name = Widen(keyName);
  if (RegCreateKeyExW(root, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_READ | KEY_WRITE, nullptr, &Key,
                      nullptr) != ERROR_SUCCESS) {
    // Read-only access still gives the stored values.
    if (RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &Key) != ERROR_SUCCESS) Key = nullptr;
  }
}

TRegIniFile::~TRegIniFile() {
  if (Key) RegCloseKey(Key);
}

bool TRegIniFile::ReadText(const std::string& section, const std::string& ident, std::string& value) const {
  TKey key;
  return OpenSection(Key, section, false, key) && QueryText(key.Handle, ident, value);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& def) const {
  std::string value;
  return ReadText(section, ident, value) ? value : def;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  TKey key;
  if (!OpenSection(Key, section, true, key)) return;
  std::wstring name = Widen(ident), data = Widen(value);
  RegSetValueExW(key.Handle, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                 static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

bool TRegIniFile::TryReadInteger(const std::string& section, const std::string& ident, int32_t& value) const {
  std::string text;
  return ReadText(section, ident, text) && TryStrToInt(Trim(text), value);
}

int32_t TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int32_t def) const {
  int32_t value;
  return TryReadInteger(section, ident, value) ? value : def;
}

void TRegIniFile::WriteInteger(const std::string& section, const std::string& ident, int32_t value) {
  WriteString(section, ident, std::to_string(value));
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) const {
  int32_t value;
  return TryReadInteger(section, ident, value) ? value != 0 : def;
}

void TRegIniFile::WriteBool(const std::string& section, const std::string& ident, bool value) {
  WriteString(section, ident, value ? "1" : "0");
}

COLORREF TRegIniFile::ReadColour(const std::string& section, const std::string& ident) const {
  return StrToColour(ReadString(section, ident, Reg::NotSet));
}

void TRegIniFile::WriteColour(const std::string& section, const std::string& ident, COLORREF value) {
  WriteString(section, ident, ColourToStr(value));
}

bool TRegIniFile::ValueExists(const std::string& section, const std::string& ident) const {
  TKey key;
  if (!OpenSection(Key, section, false, key)) return false;
  std::wstring name = Widen(ident);
  return RegQueryValueExW(key.Handle, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void TRegIniFile::DeleteValue(const std::string& section, const std::string& ident) {
  if (!Key) return;
  TKey key;
  std::wstring sectionName = Widen(section), name = Widen(ident);
  if (RegOpenKeyExW(Key, sectionName.c_str(), 0, KEY_SET_VALUE, &key.Handle) != ERROR_SUCCESS) {
    key.Handle = nullptr;
    return;
  }
  RegDeleteValueW(key.Handle, name.c_str());
}

bool DeleteProductKey() {
  std::wstring name = Widen(ProductKey);
  LONG rc = RegDeleteTreeW(HKEY_CURRENT_USER, name.c_str());
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return false;
  rc = RegDeleteKeyW(HKEY_CURRENT_USER, name.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

// ---------------------------------------------------------------- global settings

namespace {

std::string TempDirectory() {
  std::string buffer(MAX_PATH + 1, '\0');
  for (;;) {
    DWORD n = GetTempPathA(static_cast<DWORD>(buffer.size()), buffer.data());
    if (n == 0) return std::string();
    if (n < buffer.size()) {
      buffer.resize(n);
      return buffer;
    }
    buffer.assign(n + 1, '\0');
  }
}

std::string Indexed(const char* prefix, int i) { return prefix + std::to_string(i); }

// The number of stored entries "prefix 0", "prefix 1", ... before the first
// missing one, at most limit.
int CountStored(const char* section, const char* prefix, int limit) {
  int n = 0;
  std::string text;
  while (n < limit && Settings->ReadText(section, Indexed(prefix, n), text) && text != Reg::NotSet) ++n;
  return n;
}

}  // namespace

void LoadGlobalSettings() {
  Settings = std::make_unique<TRegIniFile>(ProductKey);
  ImagesDirectory = Settings->ReadString(Reg::Disk, Reg::ImagesDirectory, TempDirectory());
  ClearBasicUnits();
  // A count that cannot be read (written by hand as "4abc", negative) counts
  // the stored names instead, as the locations do: they are the user's.
  int32_t count = 0;
  if (Settings->ValueExists(Reg::BasicUnits, Reg::Count) &&
      (!Settings->TryReadInteger(Reg::BasicUnits, Reg::Count, count) || count < 0))
    count = CountStored(Reg::BasicUnits, Reg::BasicUnit, MaxLoadedBasicUnits);
  if (count > MaxLoadedBasicUnits) count = MaxLoadedBasicUnits;
  // A name that is missing is skipped: a made-up "#" would replace the
  // user's list at the next save.
  std::string name;
  for (int i = 0; i < count; ++i)
    if (Settings->ReadText(Reg::BasicUnits, Indexed(Reg::BasicUnit, i), name) && name != Reg::NotSet)
      BasicUnits[BasicUnitCount++] = name;
  BasicUnitsColour = Settings->ReadColour(Reg::Locations, Reg::BasicUnitsColour);
  NotFoundColour = Settings->ReadColour(Reg::Locations, Reg::NotFoundColour);
  MSWord95 = Settings->ReadBool(Reg::Options, Reg::MSWord95, true);
  MainIcon = LoadIconA(ThisModule(), "MAINICON");
}

void LoadLocations() {
  if (LocationsLoaded) return;
  // Without a store (a run that was given its lists) only "." is created.
  TRegIniFile* store = Settings.get();
  int32_t n = store ? store->ReadInteger(Reg::Locations, Reg::Count, -1) : 0;
  if (n < 0 || n > MaxLoadedLocations) n = store ? CountStored(Reg::Locations, Reg::Location, MaxLoadedLocations) : 0;
  // Entries added before the first load (the locations editor opened before
  // any analysis) are kept, after the stored ones.
  std::vector<std::unique_ptr<TLocation>> earlier;
  for (int i = 0; i < LocationCount; ++i)
    if (Locations[i]) earlier.push_back(std::move(Locations[i]));
  ClearLocations();
  // With 100 stored locations the last one is not loaded: "." takes its slot.
  const int stored = std::min<int>(n, MaxLoadedLocations - 1);
  int count = 0;
  std::string path;
  for (int i = 0; i < stored; ++i) {
    // A location whose directory is missing (or "#", not set) is skipped
    // rather than made up.
    if (!store->ReadText(Reg::Locations, Indexed(Reg::Location, i), path) || path == Reg::NotSet) continue;
    auto location = std::make_unique<TLocation>(path);
    // Kept, so that it is saved as it was, but the user learns why it finds nothing.
    if (IsPathTooLong(location->Path)) WarnPathTooLong(location->Path + "\\");
    location->Basic = store->ReadBool(Reg::Locations, Indexed(Reg::LocationBasic, i), false);
    location->Active = store->ReadBool(Reg::Locations, Indexed(Reg::LocationActive, i), false);
    location->Colour = store->ReadColour(Reg::Locations, Indexed(Reg::LocationColour, i));
    Locations[count++] = std::move(location);
  }
  auto current = std::make_unique<TLocation>(".");
  current->Basic = false;
  current->Active = true;
  current->Colour = store ? store->ReadColour(Reg::Locations, Reg::CurrentDirColour) : 0;
  Locations[count++] = std::move(current);
  LocationCount = static_cast<uint16_t>(count);
  for (auto& location : earlier) {
    if (LocationCount >= MaxAddedLocations || FindLocation(location->Path) >= 0) continue;
    Locations[LocationCount] = std::move(Locations[LocationCount - 1]);
    Locations[LocationCount - 1] = std::move(location);
    ++LocationCount;
  }
  LocationsLoaded = true;
}

void SaveLocations() {
  if (!LocationsLoaded) return;
  for (int i = 0; i < LocationCount; ++i) {
    if (!Locations[i]) continue;
    if (Settings) {
      const TLocation& l = *Locations[i];
      if (i + 1 < LocationCount) {
        Settings->WriteString(Reg::Locations, Indexed(Reg::Location, i), l.Path);
        Settings->WriteBool(Reg::Locations, Indexed(Reg::LocationBasic, i), l.Basic);
        Settings->WriteBool(Reg::Locations, Indexed(Reg::LocationActive, i), l.Active);
        Settings->WriteColour(Reg::Locations, Indexed(Reg::LocationColour, i), l.Colour);
      } else {
        Settings->WriteColour(Reg::Locations, Reg::CurrentDirColour, l.Colour);
      }
    }
    Locations[i].reset();
  }
  LocationCount = 0;
  LocationsLoaded = false;
}

void SaveGlobalSettings() {
  if (Settings) {
    Settings->WriteString(Reg::Disk, Reg::ImagesDirectory, ImagesDirectory);
    Settings->WriteInteger(Reg::BasicUnits, Reg::Count, BasicUnitCount);
    for (int i = 0; i < BasicUnitCount; ++i)
      Settings->WriteString(Reg::BasicUnits, Indexed(Reg::BasicUnit, i), BasicUnits[i]);
    Settings->WriteColour(Reg::Locations, Reg::BasicUnitsColour, BasicUnitsColour);
    Settings->WriteColour(Reg::Locations, Reg::NotFoundColour, NotFoundColour);
    // The stored count is only rewritten with a list that was loaded: writing
    // -1 would make the next start count the directories, and so bring back
    // locations that the user had deleted (their values stay in the key).
    if (LocationsLoaded) Settings->WriteInteger(Reg::Locations, Reg::Count, LocationCount - 1);
  }
  SaveLocations();
  if (Settings) Settings->WriteBool(Reg::Options, Reg::MSWord95, MSWord95);
  Settings.reset();
  ClearLocations();
  ClearBasicUnits();
  ImagesDirectory.clear();
  MainIcon = nullptr;
}
