// The installer's message texts and captions, each written once.
#pragma once

#include <string>

namespace Msg {
inline constexpr const char* InstallerCaption = "Usagram's Installer/Uninstaller";
inline constexpr const char* GroupQuestion = "Where putting Usagram group ?";
inline constexpr const char* UninstallerCaption = "Uninstaller";
inline constexpr const char* DeleteParameters = "Do you want to delete your Usagram's parameters inthe registry ?";

// "Delphi 2.0 doesn't seem to be installed."
inline std::string DelphiNotInstalled(const std::string& version) {
  return "Delphi " + version + " doesn't seem to be installed.";
}

// A Tools list whose "Count" is not a number is left alone.
inline std::string BadToolsCount(const std::string& version, const std::string& count) {
  return "The Tools menu list of Delphi " + version + " has a \"Count\" that is not a number" +
         (count.empty() ? std::string() : " (\"" + count + "\")") + "; nothing was changed";
}

inline std::string CannotWrite(const std::string& name) { return "Failed to set data for '" + name + "'"; }
}  // namespace Msg
