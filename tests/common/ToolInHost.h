// Our tool inside ExpertHost, seen from outside the host's process: our
// windows by their class, the main window's status bar read through memory
// lent in the host, the window under a point.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <string>
#include <vector>

#include "ExpertHostRun.h"

namespace hostrun {

inline constexpr const char* FormClass = "UsagramForm";
inline const std::string TitlePrefix = "Usagram - ";

// Memory lent in another process, for messages that write into the
// caller's buffer (the status bar's SB_GETTEXT).
class TRemoteBuffer {
 public:
  explicit TRemoteBuffer(HANDLE process)
      : Process(process), Address(VirtualAllocEx(process, nullptr, Size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE)) {}
  ~TRemoteBuffer() {
    if (Address) VirtualFreeEx(Process, Address, 0, MEM_RELEASE);
  }
  TRemoteBuffer(const TRemoteBuffer&) = delete;
  TRemoteBuffer& operator=(const TRemoteBuffer&) = delete;

  // The text of a status bar's part, without the tabs that place it.
  std::string StatusText(HWND bar, int part) {
    char text[Size] = {};
    DWORD_PTR result = 0;
    if (!Address ||
        !SendMessageTimeoutA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(Address),
                             SMTO_ABORTIFHUNG, 5000, &result) ||
        !ReadProcessMemory(Process, Address, text, Size - 1, nullptr))
      return "<unreadable>";
    std::string shown = text;
    shown.erase(std::remove(shown.begin(), shown.end(), '\t'), shown.end());
    return shown;
  }

 private:
  static constexpr SIZE_T Size = 1024;
  HANDLE Process;
  void* Address;
};

// Our main window in the host's process, once shown.
inline HWND MainWindowOf(DWORD process) {
  for (HWND window : WindowsOf(process, FormClass))
    if (IsWindowVisible(window) && TextOf(window).rfind(TitlePrefix, 0) == 0) return window;
  return nullptr;
}

// The captions of our top-level windows in the host's process, sorted.
inline std::vector<std::string> OurWindows(DWORD process) {
  std::vector<std::string> captions;
  for (HWND window : WindowsOf(process, FormClass)) captions.push_back(TextOf(window));
  std::sort(captions.begin(), captions.end());
  return captions;
}

// The deepest visible window under a point of the window's client area.
inline HWND DeepestChildAt(HWND window, POINT client) {
  for (;;) {
    HWND child = ChildWindowFromPointEx(window, client, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
    if (!child || child == window) return window;
    MapWindowPoints(window, child, &client, 1);
    window = child;
  }
}

// Waits for our main window and its analysis ("Ready" in the status bar).
inline HWND WaitForDiagram(const PROCESS_INFORMATION& pi) {
  TRemoteBuffer buffer(pi.hProcess);
  HWND main = nullptr;
  EXPECT_TRUE(WaitUntil(pi.hProcess, [&] {
    main = MainWindowOf(pi.dwProcessId);
    HWND bar = main ? FindWindowExA(main, nullptr, STATUSCLASSNAMEA, nullptr) : nullptr;
    return bar && buffer.StatusText(bar, 0) == "Ready";
  })) << "no diagram";
  return main;
}

}  // namespace hostrun
