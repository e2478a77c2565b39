// The files the installer looks for beside itself, and the shortcut files of
// the Start-menu group.
#pragma once

#include <string>

#include "HelpTopics.h"

// The registry and profile names are in Reg.h.

// The system's files in the installer's directory, and the group's links.
namespace InstallFiles {
inline constexpr const char* Exe = "Usagram.EXE";
inline constexpr const char* Expert = "Usagram_Expert.DLL";
inline constexpr const char* Expert2 = "Usagram_Expert2.DLL";
// The help is HTML Help: a WinHelp file would open nothing on a current Windows.
inline constexpr const char* Help = HelpFiles::Usagram;
inline constexpr const char* QuorvelHelp = HelpFiles::Quorvel;

inline constexpr const char* Group = "Usagram";
inline constexpr const char* LinkExe = "Usagram.LNK";
inline constexpr const char* LinkHelp = "Help on Usagram.LNK";
inline constexpr const char* LinkQuorvelHelp = "Help on Quorvel.LNK";
inline constexpr const char* LinkInstaller = "Installer-Uninstaller.LNK";
inline constexpr const char* LinkDescription = "truc";
}  // namespace InstallFiles
