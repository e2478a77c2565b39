// Usagram.exe: the stand-alone program. The same main window as the IDE
// add-in, without the IDE; the first command-line parameter is the project
// to open.
#include <windows.h>

#include "Analysis.h"
#include "ComOwners.h"
#include "Forms.h"
#include "WordWindowHost.h"
#include "ufBugReport.h"
#include "ufUsagram.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  // Word is driven by automation from this thread.
  TComApartment com;
  Application.Initialize();
  UsagramInitialise();
  try {
    TWordWindowHost wordHost;
    TMSWordInstallation word(wordHost);
    TfUsagram mainForm;
    Application.MainForm = &mainForm;
    mainForm.Show();
    Application.Run();
  } catch (...) {
    Application.HandleException();
  }
  // The mail client's thread ends before the settings are written.
  FreeBugReportWindow();
  UsagramFinalise();
  return 0;
}
