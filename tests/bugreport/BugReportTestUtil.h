// Shared by the bug report window tests: the boxes a Send shows, answered
// with OK and remembered, and the registry keys of the mail programs.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "ModalAnswer.h"
#include "SMTP.h"
#include "StdCtrls.h"

using TBox = std::pair<std::string, std::string>;  // caption, text

// Every message box opened while the object lives, answered with OK.
class TBoxRecorder {
 public:
  TBoxRecorder()
      : answer_(
            [this](HWND box) {
              char caption[256] = {}, text[2048] = {};
              GetWindowTextA(box, caption, sizeof caption);
              GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
              Boxes.emplace_back(caption, text);
              TModalAnswer::PostButton(box, IDOK);
            },
            "#32770") {}
  std::vector<TBox> Boxes;

 private:
  TModalAnswer answer_;
};

// Lets a client's events in until it has nothing left to do (false when it
// is still busy after the time given).
inline bool Settle(TSMTP& client, ULONGLONG ms = 30000) {
  const ULONGLONG deadline = GetTickCount64() + ms;
  while (client.Busy() && GetTickCount64() < deadline) {
    Application.ProcessMessages();
    if (client.Busy()) MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  return !client.Busy();
}

// Clicks a button as the mouse does (BM_CLICK), through its window.
inline void ClickButton(TControl& button) { SendMessageA(button.Handle(), BM_CLICK, 0, 0); }

inline std::vector<std::string> ItemsOf(const TComboBox& list) {
  std::vector<std::string> items;
  for (int i = 0; i < list.Count(); ++i) items.push_back(list.Items(i));
  return items;
}

// The mail programs' values that the window reads, written and removed by
// the tests (only these values: nothing else of a real key is touched).
struct TMailProgramKeys {
  static constexpr const char* ConferenceKey = "Software\\Netscape\\Conference\\CurrentVersion\\User user";
  static constexpr const char* NavigatorKey = "SOFTWARE\\Netscape\\Netscape Navigator\\Users";
  static void Set(const std::string& conferenceEmail, const std::string& navigatorUser) {
    if (!conferenceEmail.empty())
      RegSetKeyValueA(HKEY_CURRENT_USER, ConferenceKey, "Email", REG_SZ, conferenceEmail.c_str(),
                      static_cast<DWORD>(conferenceEmail.size() + 1));
    if (!navigatorUser.empty())
      RegSetKeyValueA(HKEY_LOCAL_MACHINE, NavigatorKey, "CurrentUser", REG_SZ, navigatorUser.c_str(),
                      static_cast<DWORD>(navigatorUser.size() + 1));
  }
  static void Remove() {
    RegDeleteKeyValueA(HKEY_CURRENT_USER, ConferenceKey, "Email");
    RegDeleteKeyValueA(HKEY_LOCAL_MACHINE, NavigatorKey, "CurrentUser");
  }
};
