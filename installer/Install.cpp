// Install.exe: adds and removes the system's entries in Delphi's configuration
// and its group in the Start menu, for the current user. It lives beside
// Usagram.exe and the expert library and copies nothing.
#include <windows.h>

#include "Forms.h"
#include "ufInstall.h"
#include "ufRepertoire.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  Application.Initialize();
  try {
    TfInstall mainForm;
    TfRepertoire directoryWindow;
    Application.MainForm = &mainForm;
    mainForm.Show();
    Application.Run();
    // The loop ends with the quit message still queued; the question asked
    // while the window closes needs a message loop of its own.
    MSG quit;
    PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
  } catch (...) {
    Application.HandleException();
  }
  return 0;
}
