// Every registry name of the program, once: the product key's sections and
// values, each value with one read and one write routine, and the keys of
// other programs that it reads or writes (Delphi, Windows, a mail program).
// The installer and the stand-ins include this header for the names alone.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

class TRegIniFile;

namespace Reg {

// ---- The product key (HKEY_CURRENT_USER), seen as an INI file ----

inline constexpr const char* ProductKey = "Software\\Vantrelle\\Usagram";
// The readers' default that means "not set".
inline constexpr const char* NotSet = "#";
// A stored count that cannot be read: the caller counts the stored entries.
inline constexpr int32_t UnreadableCount = -1;

// "Localisations": the locations (index i from 0) and the special colours.
inline constexpr const char* Locations = "Localisations";
inline constexpr const char* Count = "Nombre";  // also in "Unités de base", "Unit scope names"
inline constexpr const char* Location = "Localisation ";
inline constexpr const char* LocationBasic = "BaseLocalisation ";
inline constexpr const char* LocationActive = "ActiveLocalisation ";
inline constexpr const char* LocationColour = "Couleur ";
inline constexpr const char* CurrentDirColour = "Couleur pour répertoire courant";
inline constexpr const char* BasicUnitsColour = "Couleur pour unités de base";
inline constexpr const char* NotFoundColour = "Couleur pour fichier non trouvé";
// "Unités de base": the names (index i from 0), the box's title and mark.
inline constexpr const char* BasicUnits = "Unités de base";
inline constexpr const char* BasicUnit = "Base ";
inline constexpr const char* Title = "Titre";
inline constexpr const char* Hide = "Cacher";
// "Unit scope names": the names tried before a unit's name (index i from 0),
// counted by Count.
inline constexpr const char* ScopeNames = "Unit scope names";
inline constexpr const char* ScopeName = "Scope ";
// "Disque": the pictures of the document, and the installer's directories.
inline constexpr const char* Disk = "Disque";
inline constexpr const char* ImagesDirectory = "RépertoireImages";
inline constexpr const char* ShortcutDirectory = "Repertoire_Raccourcis";
inline constexpr const char* InstallDirectory = "Repertoire_Usagram";
// "Options" of the main window.
inline constexpr const char* Options = "Options";
inline constexpr const char* MSWord95 = "MSWord95";
inline constexpr const char* AutoOrientation = "Portrait_Paysage_Automatique";
inline constexpr const char* FilesList = "AfficherListeDeFichiers";
// "Aeration": what a hidden label loses.
inline constexpr const char* Simplification = "Aeration";
inline constexpr const char* Amont = "Amont";        // the links of the units that use it
inline constexpr const char* Aval = "Aval";          // its links to the units it uses
inline constexpr const char* Vignette = "Vignette";  // its label
inline constexpr const char* Doc = "Doc";            // its section of the document
// "Internet": the bug report's mail settings.
inline constexpr const char* Internet = "Internet";
inline constexpr const char* SmtpServer = "ServeurSMTP";
inline constexpr const char* EmailAddress = "Adresse";

// ---- Other programs' keys ----

// Delphi 2 and 3: one key per version under HKEY_CURRENT_USER, DelphiKey +
// the version; Delphi 1 keeps its settings in DelphiIni, in the Windows
// directory.
inline constexpr const char* DelphiKey = "Software\\Borland\\Delphi\\";
inline constexpr const char* Delphi1 = "1.0";
inline constexpr const char* Delphi2 = "2.0";
inline constexpr const char* Delphi3 = "3.0";
inline constexpr const char* DelphiIni = "Delphi.INI";
// DelphiKey + version + "\" + subKey.
inline std::string DelphiVersionKey(const std::string& version, const char* subKey) {
  return DelphiKey + version + "\\" + subKey;
}
// The subkey whose string values name the expert libraries the IDE loads,
// and our values there.
inline constexpr const char* Experts = "Experts";
inline constexpr const char* Expert2Value = "Usagram_Expert2";
inline constexpr const char* Expert3Value = "Usagram_Expert";
// Tools-menu entries: a subkey (Delphi 2, 3) or a section of DelphiIni
// (Delphi 1). Each entry is four values named by a prefix and the entry's
// index in decimal ("Title0"), counted by TransferCount.
inline constexpr const char* Transfer = "Transfer";
inline constexpr const char* TransferCount = "Count";
inline constexpr const char* TransferTitle = "Title";
inline constexpr const char* TransferPath = "Path";
inline constexpr const char* TransferWorkingDir = "WorkingDir";
inline constexpr const char* TransferParams = "Params";
// Our entry's title and parameters: the file in Delphi's active editor, all
// files saved before the start.
inline constexpr const char* ToolTitle = "Usagram on current file";
inline constexpr const char* ToolParams = "$EDNAME $SAVEALL";

// Programs Windows starts at the next logon (HKEY_LOCAL_MACHINE), and ours.
inline constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RunValue = "Usagram";

// Where the Start menu's programs are (HKEY_CURRENT_USER).
inline constexpr const char* ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* ProgramsFolder = "Programs";

// A mail program's settings that suggest a server and an address: Netscape
// Conference (current user) and Netscape Navigator (machine).
inline constexpr const char* NetscapeConferenceKey = "\\Software\\Netscape\\Conference\\CurrentVersion\\User user";
inline constexpr const char* NetscapeConferenceEmail = "Email";
inline constexpr const char* NetscapeNavigatorKey = "\\SOFTWARE\\Netscape\\Netscape Navigator\\Users";
inline constexpr const char* NetscapeNavigatorUser = "CurrentUser";

// ---- One read and one write per value of the product key ----

// "Localisations"
int32_t ReadLocationCount(const TRegIniFile& store);  // UnreadableCount when absent or not a number
void WriteLocationCount(TRegIniFile& store, int32_t count);
// False when the directory is missing (or "#", not set).
bool ReadLocationPath(const TRegIniFile& store, int i, std::string& path);
void WriteLocationPath(TRegIniFile& store, int i, const std::string& path);
bool ReadLocationBasic(const TRegIniFile& store, int i);  // false when absent
void WriteLocationBasic(TRegIniFile& store, int i, bool basic);
bool ReadLocationActive(const TRegIniFile& store, int i);  // false when absent
void WriteLocationActive(TRegIniFile& store, int i, bool active);
COLORREF ReadLocationColour(const TRegIniFile& store, int i);  // black when absent
void WriteLocationColour(TRegIniFile& store, int i, COLORREF colour);
COLORREF ReadCurrentDirColour(const TRegIniFile& store);
void WriteCurrentDirColour(TRegIniFile& store, COLORREF colour);
COLORREF ReadBasicUnitsColour(const TRegIniFile& store);
void WriteBasicUnitsColour(TRegIniFile& store, COLORREF colour);
COLORREF ReadNotFoundColour(const TRegIniFile& store);
void WriteNotFoundColour(TRegIniFile& store, COLORREF colour);

// "Unités de base"
// 0 when absent; UnreadableCount when it is not a count (text that is no
// number, a negative number).
int32_t ReadBasicUnitCount(const TRegIniFile& store);
void WriteBasicUnitCount(TRegIniFile& store, int32_t count);
// False when the name is missing (or "#").
bool ReadBasicUnit(const TRegIniFile& store, int i, std::string& name);
void WriteBasicUnit(TRegIniFile& store, int i, const std::string& name);
std::string ReadBasicUnitsTitle(const TRegIniFile& store);  // "Basic units" when absent
void WriteBasicUnitsTitle(TRegIniFile& store, const std::string& title);
bool ReadBasicUnitsHidden(const TRegIniFile& store);  // false when absent
void WriteBasicUnitsHidden(TRegIniFile& store, bool hidden);

// "Unit scope names", read and written as the basic units are.
int32_t ReadScopeNameCount(const TRegIniFile& store);
void WriteScopeNameCount(TRegIniFile& store, int32_t count);
bool ReadScopeName(const TRegIniFile& store, int i, std::string& name);
void WriteScopeName(TRegIniFile& store, int i, const std::string& name);

// "Disque"
std::string ReadImagesDirectory(const TRegIniFile& store, const std::string& def);
void WriteImagesDirectory(TRegIniFile& store, const std::string& directory);

// "Options"
bool ReadMSWord95(const TRegIniFile& store);  // true when absent
void WriteMSWord95(TRegIniFile& store, bool word95);
// Never answered (absent: read as text, "#"), off, on.
enum class TAutoOrientation { NotSet, Off, On };
TAutoOrientation ReadAutoOrientation(const TRegIniFile& store);
void WriteAutoOrientation(TRegIniFile& store, bool automatic);
bool ReadFilesList(const TRegIniFile& store);  // true when absent
void WriteFilesList(TRegIniFile& store, bool show);

// "Aeration": each true when absent.
bool ReadAmont(const TRegIniFile& store);
void WriteAmont(TRegIniFile& store, bool on);
bool ReadAval(const TRegIniFile& store);
void WriteAval(TRegIniFile& store, bool on);
bool ReadVignette(const TRegIniFile& store);
void WriteVignette(TRegIniFile& store, bool on);
bool ReadDoc(const TRegIniFile& store);
void WriteDoc(TRegIniFile& store, bool on);

// "Internet": "#" when absent.
std::string ReadSmtpServer(const TRegIniFile& store);
void WriteSmtpServer(TRegIniFile& store, const std::string& server);
std::string ReadEmailAddress(const TRegIniFile& store);
void WriteEmailAddress(TRegIniFile& store, const std::string& address);

}  // namespace Reg
