#include "Profile.h"

#include <stdexcept>
#include <vector>

#include "InstallTexts.h"

bool TRegistry::OpenKey(const std::string& path, bool canCreate) {
  return canCreate ? Current.Create(HKEY_CURRENT_USER, path) : Current.Open(HKEY_CURRENT_USER, path, KEY_READ | KEY_WRITE);
}

bool TRegistry::OpenKeyReadOnly(const std::string& path) {
  return Current.Open(HKEY_CURRENT_USER, path, KEY_READ);
}

std::string TRegistry::ReadString(const std::string& name) const {
  std::string value;
  return Current.QueryString(name, value) ? value : std::string();
}

void TRegistry::WriteString(const std::string& name, const std::string& value) {
  Current.WriteString(name, value);
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& def) const {
  // The profile functions cut a value that does not fit: grow until it does.
  std::vector<char> buffer(256);
  for (;;) {
    const DWORD n = GetPrivateProfileStringA(section.c_str(), key.c_str(), def.c_str(), buffer.data(),
                                             static_cast<DWORD>(buffer.size()), FileName.c_str());
    if (n + 1 < buffer.size()) return std::string(buffer.data(), n);
    buffer.resize(buffer.size() * 2);
  }
}

void TIniFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(), FileName.c_str()))
    throw std::runtime_error(Msg::CannotWrite(key));
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key) {
  WritePrivateProfileStringA(section.c_str(), key.c_str(), nullptr, FileName.c_str());
}

std::vector<std::string> TIniFile::ReadKeys(const std::string& section) const {
  // The names come back NUL-separated, the list ended by two NULs; a list
  // cut short ends two bytes before the buffer's end.
  std::vector<char> buffer(1024);
  DWORD n = 0;
  for (;;) {
    n = GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer.data(), static_cast<DWORD>(buffer.size()),
                                 FileName.c_str());
    if (n + 2 < buffer.size()) break;
    buffer.resize(buffer.size() * 2);
  }
  std::vector<std::string> keys;
  for (size_t i = 0; i < n;) {
    keys.emplace_back(&buffer[i]);
    i += keys.back().size() + 1;
  }
  return keys;
}
