// HTML Help: the viewer of Windows' .chm files, reached through hhctrl.ocx.
// The control is loaded the first time help is asked for, never at start
// (the expert library imports only Windows' own libraries), and its windows
// are closed before the code that asked for them goes away (CloseHelp).
#pragma once

#include <windows.h>

#include <string>

namespace HtmlHelp {

// What was asked of the viewer last: the command and the target
// ("C:\...\Usagram.chm::/main-window.htm"); tests read it.
struct TRequest {
  UINT Command = 0;
  std::string Target;
};
const TRequest& LastRequest();

// The viewer on a help file's page (an empty page: the file's own first
// page), or on its table of contents. A missing file or a viewer that
// cannot be loaded is told to the user in one box that names the file;
// the result says whether the viewer took the request.
bool ShowPage(HWND caller, const std::string& file, const std::string& page = {});
bool ShowContents(HWND caller, const std::string& file);

// Closes every viewer window that this module opened (HH_CLOSE_ALL) and
// lets the control go. Nothing to do, and nothing loaded, when help was
// never asked for.
void CloseHelp();

// Whether hhctrl.ocx is loaded (only after a first request).
bool IsLoaded();

}  // namespace HtmlHelp
