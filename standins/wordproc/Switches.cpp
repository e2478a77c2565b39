#include "Switches.h"

#include <windows.h>

#include <fstream>

#include "RegKey.h"
#include "uChaines.h"

namespace {

std::string ReadText(HKEY key, const char* name) {
  DWORD type = 0, size = 0;
  if (RegQueryValueExA(key, name, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || type != REG_SZ) return {};
  std::string value(size, '\0');
  if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()), &size) != ERROR_SUCCESS)
    return {};
  value.resize(std::min<size_t>(size, value.size()));
  while (!value.empty() && value.back() == '\0') value.pop_back();
  return value;
}

std::string Trimmed(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

TSwitches ReadSwitches() {
  TSwitches switches;
  TRegKey key;
  if (!key.Open(HKEY_CURRENT_USER, StandinKey)) return switches;
  switches.CallLog = ReadText(key.Get(), Reg::CallLog);
  std::string rest = ReadText(key.Get(), Reg::FailOn), name;
  while (!rest.empty()) {
    SplitFirst(rest, ';', name);
    name = Trimmed(name);
    if (!name.empty()) switches.FailOn.push_back(name);
  }
  return switches;
}

bool FailureRequested(const TSwitches& switches, const std::string& member) {
  for (const std::string& name : switches.FailOn)
    if (CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, name.c_str(), -1, member.c_str(), -1) == CSTR_EQUAL)
      return true;
  return false;
}

void AppendToCallLog(const TSwitches& switches, const std::string& line) {
  if (switches.CallLog.empty()) return;
  // Opened for each line, so that a test can read the log between calls.
  std::ofstream log(switches.CallLog, std::ios::binary | std::ios::app);
  log << line << '\n';
}
