// Where Delphi 1, 2 and 3 keep the configuration we read and write, and the
// key Windows starts programs from at the next logon.
#pragma once

namespace Reg {
// Delphi 2 and 3: one key per version under HKEY_CURRENT_USER,
// DelphiKey + Delphi2 or Delphi3.
inline constexpr const char* DelphiKey = "Software\\Borland\\Delphi\\";
inline constexpr const char* Delphi2 = "2.0";
inline constexpr const char* Delphi3 = "3.0";
// The subkey whose string values name the expert libraries the IDE loads.
inline constexpr const char* Experts = "Experts";
// Tools-menu entries: a subkey (Delphi 2, 3) or a section of DelphiIni
// (Delphi 1). Each entry is four values named by a prefix and the entry's
// index in decimal ("Title0"), counted by TransferCount.
inline constexpr const char* Transfer = "Transfer";
inline constexpr const char* TransferCount = "Count";
inline constexpr const char* TransferTitle = "Title";
inline constexpr const char* TransferPath = "Path";
inline constexpr const char* TransferWorkingDir = "WorkingDir";
inline constexpr const char* TransferParams = "Params";
// Delphi 1: a profile file in the Windows directory.
inline constexpr const char* DelphiIni = "Delphi.INI";
// Programs Windows starts at the next logon (HKEY_LOCAL_MACHINE), and our
// value there.
inline constexpr const char* RunKey = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr const char* RunValue = "Usagram";
}  // namespace Reg
