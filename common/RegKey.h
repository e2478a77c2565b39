// The owner of an open registry key.
#pragma once

#include <windows.h>

#include <string>
#include <utility>

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

  // Opens an existing key; false (and nothing held) when it cannot be opened.
  bool Open(HKEY parent, const std::string& name, REGSAM access = KEY_READ) {
    HKEY key = nullptr;
    const bool opened = RegOpenKeyExA(parent, name.c_str(), 0, access, &key) == ERROR_SUCCESS;
    Attach(opened ? key : nullptr);
    return opened;
  }
  // Opens the key, creating it and its missing parents; the system's error code.
  LONG Create(HKEY parent, const std::string& name, REGSAM access = KEY_READ | KEY_WRITE) {
    HKEY key = nullptr;
    const LONG rc =
        RegCreateKeyExA(parent, name.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &key, nullptr);
    Attach(rc == ERROR_SUCCESS ? key : nullptr);
    return rc;
  }

  void Attach(HKEY key) {
    Close();
    Key = key;
  }
  HKEY Detach() { return std::exchange(Key, nullptr); }
  void Close() {
    if (HKEY key = std::exchange(Key, nullptr)) RegCloseKey(key);
  }
  HKEY Get() const { return Key; }
  explicit operator bool() const { return Key != nullptr; }

 private:
  HKEY Key = nullptr;
};
