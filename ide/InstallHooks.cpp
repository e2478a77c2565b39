#include "InstallHooks.h"

#include "BugReportTexts.h"
#include "ToolsMenuEntry.h"
#include "WindowHooks.h"
#include "ufBugReport.h"

void InstallWindowHooks() {
  WindowHooks.CreateBugReportWindow = &CreateBugReportWindow;
  WindowHooks.ShowBugReport = &ShowBugReport;
  WindowHooks.SupportAddress = Msg::SupportAddress;
  WindowHooks.InstallAsDelphiTool = &InstallAsDelphiTool;
  WindowHooks.RememberForRestart = &RememberForRestart;
  WindowHooks.ForgetRestart = &ForgetRestart;
}
