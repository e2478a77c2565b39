// The settings store: an INI-style view of the registry key of the product,
// sections being subkeys and every value a string (REG_SZ).
#pragma once

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

inline constexpr const char* ProductKey = "Software\\Vantrelle\\Usagram";

// Section and value names.
namespace Reg {
inline constexpr const char* Locations = "Localisations";
inline constexpr const char* Count = "Nombre";
inline constexpr const char* Location = "Localisation ";
inline constexpr const char* LocationBasic = "BaseLocalisation ";
inline constexpr const char* LocationActive = "ActiveLocalisation ";
inline constexpr const char* LocationColour = "Couleur ";
inline constexpr const char* CurrentDirColour = "Couleur pour répertoire courant";
inline constexpr const char* BasicUnitsColour = "Couleur pour unités de base";
inline constexpr const char* NotFoundColour = "Couleur pour fichier non trouvé";
inline constexpr const char* BasicUnits = "Unités de base";
inline constexpr const char* BasicUnit = "Base ";
inline constexpr const char* Title = "Titre";
inline constexpr const char* Hide = "Cacher";
inline constexpr const char* Disk = "Disque";
inline constexpr const char* ImagesDirectory = "RépertoireImages";
inline constexpr const char* Options = "Options";
inline constexpr const char* MSWord95 = "MSWord95";
inline constexpr const char* NotSet = "#";
// The diagram simplification options.
inline constexpr const char* Aeration = "Aeration";
inline constexpr const char* Amont = "Amont";
inline constexpr const char* Aval = "Aval";
inline constexpr const char* Vignette = "Vignette";
inline constexpr const char* Doc = "Doc";
}  // namespace Reg

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

  bool IsOpen() const { return Key != nullptr; }

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
  HKEY Key = nullptr;
};

// The shared store, open between LoadGlobalSettings and SaveGlobalSettings.
extern std::unique_ptr<TRegIniFile> Settings;

void LoadGlobalSettings();
// Reads the locations on the first call only; later calls do nothing.
void LoadLocations();
void SaveGlobalSettings();
// Writes every location and frees it (only when they were loaded).
void SaveLocations();

// Removes the whole product key (tests and uninstallation).
bool DeleteProductKey();
