// The installer's two stores: keys of the current user opened by their full
// path (the last one opened is the current key), and a profile (INI) file,
// "Delphi.INI" taken from the Windows directory by the profile functions.
// Reads never fail (absent gives the default); a failed write raises.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "RegKey.h"

class TRegistry {
 public:
  // Opens the key (creating it when asked); false when it does not open.
  bool OpenKey(const std::string& path, bool canCreate);
  bool OpenKeyReadOnly(const std::string& path);
  void CloseKey() { Current.Close(); }
  TRegKey& CurrentKey() { return Current; }

  // "" when absent or not a string.
  std::string ReadString(const std::string& name) const;
  bool ValueExists(const std::string& name) const { return Current.ValueExists(name); }
  void WriteString(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name) { return Current.DeleteValue(name) == ERROR_SUCCESS; }

 private:
  TRegKey Current;
};

class TIniFile {
 public:
  explicit TIniFile(std::string fileName) : FileName(std::move(fileName)) {}
  const std::string& Name() const { return FileName; }
  std::string ReadString(const std::string& section, const std::string& key, const std::string& def) const;
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void DeleteKey(const std::string& section, const std::string& key);
  // The section's keys, in file order.
  std::vector<std::string> ReadKeys(const std::string& section) const;

 private:
  std::string FileName;
};
