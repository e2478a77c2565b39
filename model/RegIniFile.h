// One registry key seen as an INI file: sections are subkeys, values are
// strings (integers as decimal text, Booleans "0"/"1", colours "r,g,b").
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

#include "RegKey.h"

// A colour as "red,green,blue" in decimal; parts that are empty or not
// numbers read as 0, only the low 8 bits of each count.
COLORREF StrToColour(const std::string& text);
std::string ColourToStr(COLORREF colour);

// One registry key seen as an INI file. Names and values are code page 1252
// and are stored as the same characters in UTF-16. Failures are silent:
// a read gives its default, a write is lost.
class TRegIniFile {
 public:
  explicit TRegIniFile(const std::string& keyName, HKEY root = HKEY_CURRENT_USER);
  ~TRegIniFile();
  TRegIniFile(const TRegIniFile&) = delete;
  TRegIniFile& operator=(const TRegIniFile&) = delete;

  bool IsOpen() const { return Key.IsOpen(); }

  // The value as text: a string value as it stands, a number (REG_DWORD) as
  // its decimal text, a multi-string as its first string. False when the
  // value is absent or of another type.
  bool ReadText(const std::string& section, const std::string& ident, std::string& value) const;
  std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) const;
  void WriteString(const std::string& section, const std::string& ident, const std::string& value);
  // A decimal integer, blanks around it allowed; false when the value is
  // absent or is not one.
  bool TryReadInteger(const std::string& section, const std::string& ident, int32_t& value) const;
  // Anything TryReadInteger refuses reads as the default.
  int32_t ReadInteger(const std::string& section, const std::string& ident, int32_t def) const;
  void WriteInteger(const std::string& section, const std::string& ident, int32_t value);
  // Written "0" and "1"; any integer reads as true unless it is 0, anything
  // else as the default.
  bool ReadBool(const std::string& section, const std::string& ident, bool def) const;
  void WriteBool(const std::string& section, const std::string& ident, bool value);
  // Default "#", i.e. black.
  COLORREF ReadColour(const std::string& section, const std::string& ident) const;
  void WriteColour(const std::string& section, const std::string& ident, COLORREF value);
  bool ValueExists(const std::string& section, const std::string& ident) const;
  void DeleteValue(const std::string& section, const std::string& ident);

 private:
  TRegKey Key;
};

// Removes the whole product key (tests and uninstallation).
bool DeleteProductKey();
