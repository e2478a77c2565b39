// Names the installer reads and writes outside its own window: registry keys
// and values, the Delphi 1 profile file, the system's files beside the
// installer and the shortcut files of the Start-menu group.
#pragma once

#include <string>

// Registry and profile names. The product key and its "Disque" section are
// the settings store's own (ProductKey, Reg::Disk).
namespace InstallReg {
inline constexpr const char* ShellFoldersKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
inline constexpr const char* ProgramsFolder = "Programs";
inline constexpr const char* ShortcutDir = "Repertoire_Raccourcis";
inline constexpr const char* InstallDir = "Repertoire_Usagram";

// "Software\Borland\Delphi\" + version + "\" + "Experts" or "Transfer".
inline constexpr const char* DelphiKey = "Software\\Borland\\Delphi\\";
inline constexpr const char* Delphi1 = "1.0";
inline constexpr const char* Delphi2 = "2.0";
inline constexpr const char* Delphi3 = "3.0";
inline constexpr const char* Experts = "Experts";
inline constexpr const char* Expert2 = "Usagram_Expert2";
inline constexpr const char* Expert3 = "Usagram_Expert";

// A Tools list: "Count" and four values per entry, the index appended to
// the name ("Title0", "Path0"...). The registry key and the section of
// "Delphi.INI" share the name "Transfer".
inline constexpr const char* Transfer = "Transfer";
inline constexpr const char* Count = "Count";
inline constexpr const char* Title = "Title";
inline constexpr const char* Path = "Path";
inline constexpr const char* WorkingDir = "WorkingDir";
inline constexpr const char* Params = "Params";
inline constexpr const char* DelphiIni = "Delphi.INI";

inline std::string DelphiKeyOf(const std::string& version, const char* subKey) {
  return DelphiKey + version + "\\" + subKey;
}
}  // namespace InstallReg

// The system's files in the installer's directory, and the group's links.
namespace InstallFiles {
inline constexpr const char* Exe = "Usagram.EXE";
inline constexpr const char* Expert = "Usagram_Expert.DLL";
inline constexpr const char* Expert2 = "Usagram_Expert2.DLL";
inline constexpr const char* Help = "Usagram.HLP";
inline constexpr const char* QuorvelHelp = "Quorvel.HLP";

inline constexpr const char* Group = "Usagram";
inline constexpr const char* LinkExe = "Usagram.LNK";
inline constexpr const char* LinkHelp = "Help on Usagram.LNK";
inline constexpr const char* LinkQuorvelHelp = "Help on Quorvel.LNK";
inline constexpr const char* LinkInstaller = "Installer-Uninstaller.LNK";
inline constexpr const char* LinkDescription = "truc";
}  // namespace InstallFiles
