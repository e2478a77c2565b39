// What the windows reach in the rooms above them: the bug report
// (bugreport/) and the entries outside the product's key (ide/: the
// Tools-menu entry, the restart after logoff). A program that holds those
// rooms installs them here before it creates the windows, so the windows
// link nothing above themselves. A hook that is not installed does nothing,
// and the main window hides its items.
#pragma once

#include <string>

struct TWindowHooks {
  // True when the bug report window exists (made now if need be).
  bool (*CreateBugReportWindow)() = nullptr;
  void (*ShowBugReport)() = nullptr;
  // The address the bug report mails to, which the About window shows.
  const char* SupportAddress = "";
  void (*InstallAsDelphiTool)() = nullptr;
  bool (*RememberForRestart)(const std::string& project) = nullptr;
  void (*ForgetRestart)() = nullptr;
};

// What the program installed; empty until then.
extern TWindowHooks WindowHooks;
