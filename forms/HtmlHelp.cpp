#include "HtmlHelp.h"

#include "Dialogs.h"
#include "Format.h"
#include "Library.h"
#include "Messages.h"

namespace HtmlHelp {

namespace {

// The commands of htmlhelp.h that we send.
constexpr UINT HH_DISPLAY_TOPIC = 0x0000;
constexpr UINT HH_DISPLAY_TOC = 0x0001;
constexpr UINT HH_CLOSE_ALL = 0x0012;

using THtmlHelpA = HWND(WINAPI*)(HWND caller, LPCSTR file, UINT command, DWORD_PTR data);

TLibrary Control;
THtmlHelpA Entry = nullptr;
TRequest Last;

bool FileExists(const std::string& file) {
  const DWORD a = GetFileAttributesA(file.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Load() {
  if (Entry) return true;
  if (!Control.Load("hhctrl.ocx")) return false;
  // Through void(*)(): a FARPROC is cast to its real type without a warning.
  Entry = reinterpret_cast<THtmlHelpA>(reinterpret_cast<void (*)()>(Control.Procedure("HtmlHelpA")));
  if (!Entry) Control.Free();
  return Entry != nullptr;
}

bool Warn(const char* text, const std::string& file) {
  ShowMessageBox(Format(text, file.c_str()), Msg::AppCaption, MB_OK | MB_ICONWARNING);
  return false;
}

bool Ask(HWND caller, const std::string& file, const std::string& target, UINT command) {
  Last = TRequest{command, target};
  if (!FileExists(file)) return Warn(Msg::HelpFileMissing, file);
  if (!Load()) return Warn(Msg::HelpViewerMissing, file);
  if (!Entry(caller, target.c_str(), command, 0)) return Warn(Msg::HelpNotShown, target);
  return true;
}

}  // namespace

const TRequest& LastRequest() { return Last; }

bool ShowPage(HWND caller, const std::string& file, const std::string& page) {
  return Ask(caller, file, page.empty() ? file : file + "::/" + page, HH_DISPLAY_TOPIC);
}

bool ShowContents(HWND caller, const std::string& file) { return Ask(caller, file, file, HH_DISPLAY_TOC); }

void CloseHelp() {
  if (!Entry) return;
  Entry(nullptr, nullptr, HH_CLOSE_ALL, 0);
  Entry = nullptr;
  Control.Free();
}

bool IsLoaded() { return Entry != nullptr; }

}  // namespace HtmlHelp
