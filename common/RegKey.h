// The owner of an open registry key, and the error a refused registry write
// raises. Names and string values are code page 1252 text through the A
// functions. Link advapi32.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A registry write that the system refused; the message names the value.
class ERegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One open key, closed when the owner ends. Open never creates a key;
// Create does. Attach and Detach move ownership in and out. Calls that
// change the registry return the system's code, so the caller decides which
// failures matter (WriteString raises instead).
class TRegKey {
 public:
  TRegKey() = default;
  explicit TRegKey(HKEY key) : key_(key) {}
  ~TRegKey() { Close(); }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  TRegKey(TRegKey&& other) noexcept : key_(other.Detach()) {}
  TRegKey& operator=(TRegKey&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  // An existing key; false, with nothing open, when it is missing or the
  // access is refused.
  bool Open(HKEY parent, const std::string& name, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    lastResult_ = RegOpenKeyExA(parent, name.c_str(), 0, access, &key);
    Attach(lastResult_ == ERROR_SUCCESS ? key : nullptr);
    return IsOpen();
  }
  // The key, made first (with its missing parents) when it is missing.
  bool Create(HKEY parent, const std::string& name, REGSAM access = KEY_READ | KEY_WRITE) {
    HKEY key = nullptr;
    lastResult_ =
        RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    Attach(lastResult_ == ERROR_SUCCESS ? key : nullptr);
    return IsOpen();
  }
  // The system's code of the last Open or Create, for a message that says why.
  LONG Result() const { return lastResult_; }
  void Close() {
    if (key_) RegCloseKey(key_);
    key_ = nullptr;
  }
  // Takes over a key opened elsewhere (closing the one held, unless it is
  // the same).
  void Attach(HKEY key) {
    if (key == key_) return;
    Close();
    key_ = key;
  }
  // Gives the key up without closing it.
  HKEY Detach() {
    HKEY key = key_;
    key_ = nullptr;
    return key;
  }

  bool IsOpen() const { return key_ != nullptr; }
  HKEY Get() const { return key_; }
  operator HKEY() const { return key_; }

  bool ValueExists(const std::string& name) const {
    return key_ && RegQueryValueExA(key_, name.c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

  // A string value; false when it is absent or not a string.
  bool QueryString(const std::string& name, std::string& value) const {
    DWORD type = 0;
    std::vector<BYTE> data;
    if (QueryRaw(name, type, data) != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    // The stored data need not end with its terminator, or may hold several.
    std::string text(data.begin(), data.end());
    const size_t end = text.find('\0');
    if (end != std::string::npos) text.resize(end);
    value = std::move(text);
    return true;
  }

  // A string value (REG_SZ); the system's code.
  LONG SetString(const std::string& name, const std::string& value) {
    if (!key_) return ERROR_INVALID_HANDLE;
    return RegSetValueExA(key_, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  }
  // The same, where a refusal must not pass unnoticed: ERegistryError.
  void WriteString(const std::string& name, const std::string& value) {
    if (SetString(name, value) != ERROR_SUCCESS) throw ERegistryError("Failed to set data for '" + name + "'");
  }

  LONG DeleteValue(const std::string& name) {
    if (!key_) return ERROR_INVALID_HANDLE;
    return RegDeleteValueA(key_, name.c_str());
  }

  // The value takes another name with its data and type.
  LONG RenameValue(const std::string& from, const std::string& to) {
    DWORD type = 0;
    std::vector<BYTE> data;
    LONG rc = QueryRaw(from, type, data);
    if (rc != ERROR_SUCCESS) return rc;
    rc = RegSetValueExA(key_, to.c_str(), 0, type, data.data(), static_cast<DWORD>(data.size()));
    return rc == ERROR_SUCCESS ? RegDeleteValueA(key_, from.c_str()) : rc;
  }

  // The names of the key's values, in the registry's order.
  std::vector<std::string> ValueNames() const {
    std::vector<std::string> names;
    char name[16384];  // the longest value name the registry allows
    for (DWORD i = 0; key_; ++i) {
      DWORD size = sizeof name;
      if (RegEnumValueA(key_, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      names.emplace_back(name, size);
    }
    return names;
  }

  bool HasSubKeys() const { return Counts().first > 0; }
  bool HasValues() const { return Counts().second > 0; }

  LONG DeleteSubKeyTree(const std::string& name) { return RegDeleteTreeA(key_, name.c_str()); }
  // An empty subkey (a key with subkeys of its own is refused).
  LONG DeleteSubKey(const std::string& name) { return RegDeleteKeyA(key_, name.c_str()); }

 private:
  // The value's type and data as stored, however long.
  LONG QueryRaw(const std::string& name, DWORD& type, std::vector<BYTE>& data) const {
    if (!key_) return ERROR_INVALID_HANDLE;
    for (;;) {
      DWORD size = 0;
      LONG rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, nullptr, &size);
      if (rc != ERROR_SUCCESS) return rc;
      data.assign(size, 0);
      rc = RegQueryValueExA(key_, name.c_str(), nullptr, &type, data.empty() ? nullptr : data.data(), &size);
      if (rc == ERROR_MORE_DATA) continue;  // it grew in between
      if (rc == ERROR_SUCCESS) data.resize(size);
      return rc;
    }
  }

  // Numbers of subkeys and of values; none for a key that is not open.
  std::pair<DWORD, DWORD> Counts() const {
    DWORD subKeys = 0, values = 0;
    if (!key_ || RegQueryInfoKeyA(key_, nullptr, nullptr, nullptr, &subKeys, nullptr, nullptr, &values, nullptr,
                                 nullptr, nullptr, nullptr) != ERROR_SUCCESS)
      return {0, 0};
    return {subKeys, values};
  }

  HKEY key_ = nullptr;
  LONG lastResult_ = ERROR_SUCCESS;
};
