// The owner of an open registry key, and the error a failed registry write
// raises. Names and texts are code page 1252 (the A functions). Link
// advapi32.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>
#include <vector>

// A registry write that the system refused; the message names the value.
class ERegistryError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One open key, closed when the owner ends. Open never creates a key;
// Create does. Attach and Detach move ownership in and out.
class TRegKey {
 public:
  TRegKey() = default;
  ~TRegKey() { Close(); }
  TRegKey(const TRegKey&) = delete;
  TRegKey& operator=(const TRegKey&) = delete;
  TRegKey(TRegKey&& other) noexcept : Key(other.Detach()) {}
  TRegKey& operator=(TRegKey&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  // An existing key; false, with nothing open, when it is missing or the
  // access is refused.
  bool Open(HKEY parent, const std::string& name, REGSAM access = KEY_READ) {
    Close();
    HKEY key = nullptr;
    if (RegOpenKeyExA(parent, name.c_str(), 0, access, &key) != ERROR_SUCCESS) return false;
    Key = key;
    return true;
  }

  // The key, made first when it is missing.
  bool Create(HKEY parent, const std::string& name, REGSAM access = KEY_READ | KEY_WRITE) {
    Close();
    HKEY key = nullptr;
    if (RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
      return false;
    Key = key;
    return true;
  }

  void Close() {
    if (Key) RegCloseKey(Key);
    Key = nullptr;
  }

  // Takes ownership of a key opened elsewhere (the previous one is closed).
  void Attach(HKEY key) {
    Close();
    Key = key;
  }
  // Gives the key up without closing it.
  HKEY Detach() {
    HKEY key = Key;
    Key = nullptr;
    return key;
  }

  bool IsOpen() const { return Key != nullptr; }
  HKEY Get() const { return Key; }
  operator HKEY() const { return Key; }

  // The value as text; false when it is missing or not a string value.
  bool QueryString(const std::string& name, std::string& value) const {
    if (!Key) return false;
    std::vector<char> buffer(128);
    for (int attempt = 0; attempt < 8; ++attempt) {
      DWORD type = 0;
      DWORD size = static_cast<DWORD>(buffer.size());
      LONG rc = RegQueryValueExA(Key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
      if (rc == ERROR_MORE_DATA) {
        buffer.assign(size + 2, '\0');
        continue;
      }
      if (rc != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
      // The stored data need not end with a terminator.
      std::string text(buffer.data(), size);
      const auto end = text.find('\0');
      if (end != std::string::npos) text.resize(end);
      value = std::move(text);
      return true;
    }
    return false;
  }

  // A string value (REG_SZ); the system's error code.
  LONG SetString(const std::string& name, const std::string& value) {
    if (!Key) return ERROR_INVALID_HANDLE;
    return RegSetValueExA(Key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>(value.size() + 1));
  }

  // Like SetString, but a refusal raises ERegistryError naming the value.
  void WriteString(const std::string& name, const std::string& value) {
    if (SetString(name, value) != ERROR_SUCCESS) throw ERegistryError("Failed to set data for '" + name + "'");
  }

  LONG DeleteValue(const std::string& name) {
    if (!Key) return ERROR_INVALID_HANDLE;
    return RegDeleteValueA(Key, name.c_str());
  }

  // The names of the key's values, in the registry's order.
  std::vector<std::string> ValueNames() const {
    std::vector<std::string> names;
    if (!Key) return names;
    DWORD count = 0, longest = 0;
    if (RegQueryInfoKeyA(Key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest, nullptr, nullptr,
                         nullptr) != ERROR_SUCCESS)
      return names;
    std::vector<char> name(longest + 2);
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = static_cast<DWORD>(name.size());
      if (RegEnumValueA(Key, i, name.data(), &length, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
        names.emplace_back(name.data(), length);
    }
    return names;
  }

 private:
  HKEY Key = nullptr;
};
