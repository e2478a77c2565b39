// The mail password as the settings keep it: encrypted for the current
// user by Windows' data-protection API (CryptProtectData), written as hex
// digits. Nobody else, and no other machine, can read it back.
#pragma once

#include <optional>
#include <string>

// Empty when Windows cannot protect it (then nothing is stored).
std::string ProtectPassword(const std::string& password);
// Nothing when the text is not one of ours or cannot be opened here.
std::optional<std::string> UnprotectPassword(const std::string& stored);
