// ExpertHost run as a script runs it: started with a log, looked at while
// it runs, closed with WM_CLOSE as a user closes it. The host's log tells
// what the IDE's side saw. Windows of the host's process are reached from
// outside, by their handles and messages.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace hostrun {

using TFields = std::vector<std::string>;

inline std::vector<std::string> ReadLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path, std::ios::binary);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

// The fields of a line, an empty last one included.
inline TFields Split(const std::string& line) {
  TFields fields(1);
  for (char c : line)
    if (c == '\t')
      fields.emplace_back();
    else
      fields.back() += c;
  return fields;
}

inline std::vector<TFields> ReadLog(const std::string& path) {
  std::vector<TFields> log;
  for (const std::string& line : ReadLines(path)) log.push_back(Split(line));
  return log;
}

struct THostRun {
  DWORD ExitCode = STILL_ACTIVE;
  std::vector<TFields> Log;

  // The events of that name, in order.
  std::vector<TFields> Events(const std::string& name) const {
    std::vector<TFields> found;
    for (const TFields& f : Log)
      if (!f.empty() && f[0] == name) found.push_back(f);
    return found;
  }
  bool Has(const TFields& event) const { return std::find(Log.begin(), Log.end(), event) != Log.end(); }
  // Position of the event in the log, or -1.
  int At(const TFields& event) const {
    auto it = std::find(Log.begin(), Log.end(), event);
    return it == Log.end() ? -1 : static_cast<int>(it - Log.begin());
  }
};

inline constexpr const char* ExpertsKey = "Software\\Borland\\Delphi\\3.0\\Experts";

// Delphi 3's Experts key of the current user, with these values (name, path).
inline void ListExperts(const std::vector<std::pair<std::string, std::string>>& experts) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, ExpertsKey, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  for (const auto& [name, path] : experts)
    RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
  RegCloseKey(key);
}

// What every run should end with: nothing left of the experts.
inline void ExpectCleanEnd(const THostRun& run) {
  EXPECT_EQ(run.ExitCode, 0u);
  EXPECT_TRUE(run.Has({"strings", "0"})) << "strings an expert kept";
  EXPECT_TRUE(run.Has({"interfaces", "0"})) << "interfaces an expert kept";
  EXPECT_TRUE(run.Events("badstring").empty());
  EXPECT_TRUE(run.Events("error").empty());
}

// The top-level windows of a process, of a class, in z-order.
inline std::vector<HWND> WindowsOf(DWORD process, const char* windowClass) {
  struct TFind {
    DWORD Process;
    const char* Class;
    std::vector<HWND> Found;
  } find{process, windowClass, {}};
  EnumWindows(
      [](HWND window, LPARAM lp) -> BOOL {
        auto* f = reinterpret_cast<TFind*>(lp);
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        char cls[64] = {};
        GetClassNameA(window, cls, sizeof cls);
        if (pid == f->Process && lstrcmpiA(cls, f->Class) == 0) f->Found.push_back(window);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&find));
  return find.Found;
}

inline HWND WindowOf(DWORD process, const char* windowClass) {
  const std::vector<HWND> found = WindowsOf(process, windowClass);
  return found.empty() ? nullptr : found.front();
}

// A window's text, asked for by message (it may be another process's).
inline std::string TextOf(HWND window) {
  char text[4096] = {};
  DWORD_PTR length = 0;
  SendMessageTimeoutA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 5000, &length);
  return text;
}

// Waits up to a minute, while the process runs, for done() to hold.
inline bool WaitUntil(HANDLE process, const std::function<bool()>& done) {
  for (int i = 0; i < 600; ++i) {
    if (done()) return true;
    if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) break;
  }
  return done();
}

// The number of events of that name the log holds.
inline int CountLogged(const std::string& logFile, const std::string& name) {
  int n = 0;
  for (const TFields& f : ReadLog(logFile))
    if (f.front() == name) ++n;
  return n;
}

// Starts the host with --log, waits for the event untilEvent (its count-th
// occurrence), runs whileRunning on the host's process and main window,
// closes the host and collects its log.
inline THostRun RunExpertHost(const std::string& host, const std::string& logFile, const std::string& arguments,
                              const std::string& untilEvent = "ready", int count = 1,
                              const std::function<void(const PROCESS_INFORMATION& pi, HWND main)>& whileRunning = {}) {
  THostRun run;
  DeleteFileA(logFile.c_str());
  std::string commandLine = "\"" + host + "\" --log \"" + logFile + "\" " + arguments;
  STARTUPINFOA si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessA(host.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) {
    ADD_FAILURE() << "cannot start " << host;
    return run;
  }
  EXPECT_TRUE(WaitUntil(pi.hProcess, [&] { return CountLogged(logFile, untilEvent) >= count; }))
      << "the host never logged " << untilEvent << " " << count << " time(s)";
  HWND main = WindowOf(pi.dwProcessId, "ExpertHostMain");
  EXPECT_NE(main, nullptr) << "no main window";
  if (main && whileRunning) whileRunning(pi, main);
  if (main) PostMessageA(main, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    ADD_FAILURE() << "the host did not end";
    TerminateProcess(pi.hProcess, 99);
    WaitForSingleObject(pi.hProcess, 5000);
  }
  GetExitCodeProcess(pi.hProcess, &run.ExitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  run.Log = ReadLog(logFile);
  return run;
}

}  // namespace hostrun
