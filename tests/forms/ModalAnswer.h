// Answers the modal boxes that a test's own code opens, without sleeping: a
// WH_CBT hook on the test thread sees each box of the given window class
// activated (HCBT_ACTIVATE); a thread-less timer then runs inside the box's
// own modal loop, reads the box and posts the answer. Self-contained:
// windows.h and the standard library only.
//
//   TModalAnswer answer(IDNO);                 // every "#32770" box gets "No"
//   int r = MessageBoxA(..., MB_YESNO);
//   EXPECT_EQ(answer.Text(), "Save modifications in x?");
//
//   TModalAnswer fill([](HWND form) { ... }, "UsagramForm");  // any action
#pragma once

#include <windows.h>

#include <functional>
#include <set>
#include <string>
#include <vector>

class TModalAnswer {
 public:
  // Answers each box of that class with the button (IDOK, IDYES...).
  explicit TModalAnswer(int button, const char* className = "#32770")
      : TModalAnswer([button](HWND box) { PostButton(box, button); }, className) {}

  // Runs action once for each window of that class that is activated;
  // nullptr: of any class (the action tells them apart).
  TModalAnswer(std::function<void(HWND)> action, const char* className)
      : action_(std::move(action)), anyClass_(className == nullptr), className_(className ? className : ""),
        previous_(Current()) {
    Current() = this;
    hook_ = SetWindowsHookExA(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
  }

  ~TModalAnswer() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (timer_) KillTimer(nullptr, timer_);
    Current() = previous_;
  }

  TModalAnswer(const TModalAnswer&) = delete;
  TModalAnswer& operator=(const TModalAnswer&) = delete;

  bool Installed() const { return hook_ != nullptr; }
  // How many boxes were answered.
  int Count() const { return count_; }
  // The message text (static control 0xFFFF of a message box) and the
  // caption of the last box answered.
  const std::string& Text() const { return text_; }
  const std::string& Caption() const { return caption_; }

  // Clicks a button of a dialog, as its own WM_COMMAND.
  static void PostButton(HWND box, int id) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(box, id)));
  }

 private:
  static TModalAnswer*& Current() {
    static thread_local TModalAnswer* current = nullptr;
    return current;
  }

  static LRESULT CALLBACK Hook(int code, WPARAM wp, LPARAM lp) {
    TModalAnswer* self = Current();
    HWND box = reinterpret_cast<HWND>(wp);
    if (self && code == HCBT_ACTIVATE) {
      char cls[64] = {};
      GetClassNameA(box, cls, sizeof cls);
      // A box may be activated again before our answer reaches it.
      if ((self->anyClass_ || self->className_ == cls) && self->answered_.insert(box).second) {
        // Acted on from a thread-less timer, inside the box's own modal
        // loop: by then the box has its texts and controls.
        self->pending_.push_back(box);
        if (!self->timer_) self->timer_ = SetTimer(nullptr, 0, 1, &TimerProc);
      }
    } else if (self && code == HCBT_DESTROYWND) {
      self->answered_.erase(box);
    }
    return CallNextHookEx(nullptr, code, wp, lp);
  }

  static void CALLBACK TimerProc(HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    TModalAnswer* self = Current();
    if (!self) return;
    self->timer_ = 0;
    std::vector<HWND> boxes;
    boxes.swap(self->pending_);
    for (HWND box : boxes) {
      if (!IsWindow(box)) continue;
      char buf[4096] = {};
      GetDlgItemTextA(box, 0xFFFF, buf, sizeof buf);
      self->text_ = buf;
      buf[0] = '\0';
      GetWindowTextA(box, buf, sizeof buf);
      self->caption_ = buf;
      ++self->count_;
      self->action_(box);
    }
  }

  std::function<void(HWND)> action_;
  bool anyClass_;
  std::string className_;
  TModalAnswer* previous_;
  HHOOK hook_ = nullptr;
  int count_ = 0;
  std::string text_, caption_;
  std::set<HWND> answered_;
  std::vector<HWND> pending_;
  UINT_PTR timer_ = 0;
};
