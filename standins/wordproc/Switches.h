// The stand-in's switches for tests, read from the registry of the current
// user at every call: a server started by COM does not inherit its client's
// environment, but it does share its registry.
#pragma once

#include <string>
#include <vector>

inline constexpr const char* StandinKey = "Software\\Usagram Stand-ins\\wordproc";

// Registry names of the switches and of the server's registration.
namespace WordprocReg {
// Under StandinKey.
inline constexpr const char* CallLog = "CallLog";  // file that receives one line per call
inline constexpr const char* FailOn = "FailOn";    // calls that fail, separated by ';' (below)
// Under the classes root.
inline constexpr const char* Classes = "Software\\Classes";
inline constexpr const char* Clsid = "CLSID";
inline constexpr const char* LocalServer32 = "LocalServer32";
inline constexpr const char* ProgId = "ProgID";
}  // namespace WordprocReg

struct TSwitches {
  std::string CallLog;
  std::vector<std::string> FailOn;
};

TSwitches ReadSwitches();
// Whether this call is asked to fail. An entry of FailOn names a member
// ("FormatImage": every call of it, on any object), or an object and a
// member ("Shapes.AddPicture": the end of the object's path and the
// member), and may add "#N": only the Nth such call since the server
// started. Letter case is ignored.
bool FailureRequested(const TSwitches& switches, const std::string& path, const std::string& member);
// Appends one line (a line end is added) to the call log when there is one.
void AppendToCallLog(const TSwitches& switches, const std::string& line);
