// The stand-in's switches for tests, read from the registry of the current
// user at every call: a server started by COM does not inherit its client's
// environment, but it does share its registry.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* StandinKey = "Software\\Usagram Stand-ins\\wordproc";

// Registry names of the switches and of the server's registration.
namespace Reg {
// Under StandinKey.
inline constexpr const char* CallLog = "CallLog";  // file that receives one line per call
inline constexpr const char* FailOn = "FailOn";    // member names that fail, separated by ';'
// Under the classes root.
inline constexpr const char* Classes = "Software\\Classes";
inline constexpr const char* Clsid = "CLSID";
inline constexpr const char* LocalServer32 = "LocalServer32";
inline constexpr const char* ProgId = "ProgID";
}  // namespace Reg

struct TSwitches {
  std::string CallLog;
  std::vector<std::string> FailOn;
};

TSwitches ReadSwitches();
// Whether a member of this name is asked to fail (letter case ignored).
bool FailureRequested(const TSwitches& switches, const std::string& member);
// Appends one line (a line end is added) to the call log when there is one.
void AppendToCallLog(const TSwitches& switches, const std::string& line);
