#include "RegIniFile.h"

#include <vector>

#include "Reg.h"
#include "WideText.h"
#include "uChaines.h"

namespace {

// Names and values are code page 1252 whatever the process's ANSI code page,
// so the W functions are used with the program's own conversion.

// The section's key: the store's own key for an empty section name.
bool OpenSection(HKEY root, const std::string& section, bool create, TRegKey& key) {
  if (!root) return false;
  const std::wstring name = WidenText(section);
  HKEY handle = nullptr;
  const LONG rc = create ? RegCreateKeyExW(root, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                           KEY_READ | KEY_WRITE, nullptr, &handle, nullptr)
                         : RegOpenKeyExW(root, name.c_str(), 0, KEY_READ, &handle);
  key.Attach(rc == ERROR_SUCCESS ? handle : nullptr);
  return key.IsOpen();
}

// The value as text; false when it is absent or cannot be read as text.
// Besides string values, a value set by hand or by another program as a
// number (REG_DWORD) reads as its decimal text, and a multi-string as its
// first string: the value is the user's, and reading it as absent would lose
// it at the next save.
bool QueryText(HKEY key, const std::string& ident, std::string& value) {
  std::wstring name = WidenText(ident);
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
        value = NarrowText(text);
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
  // Read-only access still gives the stored values.
  if (!OpenSection(root, keyName, true, Key)) OpenSection(root, keyName, false, Key);
}

TRegIniFile::~TRegIniFile() = default;

bool TRegIniFile::ReadText(const std::string& section, const std::string& ident, std::string& value) const {
  TRegKey key;
  return OpenSection(Key.Get(), section, false, key) && QueryText(key.Get(), ident, value);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident,
                                    const std::string& def) const {
  std::string value;
  return ReadText(section, ident, value) ? value : def;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
  TRegKey key;
  if (!OpenSection(Key.Get(), section, true, key)) return;
  std::wstring name = WidenText(ident), data = WidenText(value);
  RegSetValueExW(key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
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
  TRegKey key;
  if (!OpenSection(Key.Get(), section, false, key)) return false;
  std::wstring name = WidenText(ident);
  return RegQueryValueExW(key.Get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

void TRegIniFile::DeleteValue(const std::string& section, const std::string& ident) {
  if (!Key.IsOpen()) return;
  const std::wstring sectionName = WidenText(section), name = WidenText(ident);
  HKEY handle = nullptr;
  if (RegOpenKeyExW(Key, sectionName.c_str(), 0, KEY_SET_VALUE, &handle) != ERROR_SUCCESS) return;
  const TRegKey key(handle);
  RegDeleteValueW(key, name.c_str());
}

bool DeleteProductKey() {
  std::wstring name = WidenText(Reg::ProductKey);
  LONG rc = RegDeleteTreeW(HKEY_CURRENT_USER, name.c_str());
  if (rc != ERROR_SUCCESS && rc != ERROR_FILE_NOT_FOUND) return false;
  rc = RegDeleteKeyW(HKEY_CURRENT_USER, name.c_str());
  return rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND;
}

