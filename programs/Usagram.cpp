// Usagram.exe: the stand-alone program. The same windows as the IDE add-in,
// without the IDE; the first command-line parameter is the project to open.
#include <windows.h>

#include "Analysis.h"
#include "ComOwners.h"
#include "FileSystem.h"
#include "Forms.h"
#include "HtmlHelp.h"
#include "InstallHooks.h"
#include "ToolWindows.h"
#include "WordWindowHost.h"
#include "ufBugReport.h"
#include "ufUsagram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Word is driven by automation from this thread.
  TComApartment com;
  Application.Initialize();
  Application.HelpFile = HelpFileBesideProgram();
  UsagramInitialise();
  try {
    TWordWindowHost wordHost;
    TMSWordInstallation word(wordHost);
    InstallWindowHooks();
    CreateToolWindows();
    Application.MainForm = fUsagram;
    fUsagram->Show();
    Application.Run();
  } catch (...) {
    Application.HandleException();
  }
  // The mail client's thread ends, and the windows write their values,
  // before the settings are written.
  FreeBugReportWindow();
  FreeToolWindows();
  HtmlHelp::CloseHelp();
  UsagramFinalise();
  return 0;
}
