#include "Switches.h"

#include <windows.h>

#include <fstream>
#include <map>

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
  switches.CallLog = ReadText(key.Get(), WordprocReg::CallLog);
  std::string rest = ReadText(key.Get(), WordprocReg::FailOn), name;
  while (!rest.empty()) {
    SplitFirst(rest, ';', name);
    name = Trimmed(name);
    if (!name.empty()) switches.FailOn.push_back(name);
  }
  return switches;
}

namespace {
bool SameName(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}
}  // namespace

bool FailureRequested(const TSwitches& switches, const std::string& path, const std::string& member) {
  // Calls counted per entry, for "#N", over the server's life.
  static std::map<std::string, int> counts;
  const std::string call = path + "." + member;
  bool fail = false;
  for (const std::string& entry : switches.FailOn) {
    std::string name = entry;
    int32_t nth = 0;
    const size_t hash = entry.find('#');
    if (hash != std::string::npos) {
      name = Trimmed(entry.substr(0, hash));
      if (!TryStrToInt(Trimmed(entry.substr(hash + 1)), nth) || nth < 1) continue;
    }
    const bool qualified = name.find('.') != std::string::npos;
    const bool matches = qualified ? call.size() >= name.size() &&
                                         SameName(call.substr(call.size() - name.size()), name) &&
                                         (call.size() == name.size() || call[call.size() - name.size() - 1] == '.')
                                   : SameName(member, name);
    if (!matches) continue;
    const int count = ++counts[UpperCaseAscii(entry)];
    if (nth == 0 || count == nth) fail = true;
  }
  return fail;
}

void AppendToCallLog(const TSwitches& switches, const std::string& line) {
  if (switches.CallLog.empty()) return;
  // Opened for each line, so that a test can read the log between calls.
  std::ofstream log(switches.CallLog, std::ios::binary | std::ios::app);
  log << line << '\n';
}
