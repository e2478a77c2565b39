// The application (message loop, exceptions, help), the timers and the
// screen.
#include "Forms.h"

#include <commctrl.h>

#include "Dialogs.h"
#include "HelpTopics.h"
#include "HtmlHelp.h"
#include "Yield.h"

TApplication Application;
TScreen Screen;

// ---- TTimer ------------------------------------------------------------------

namespace {
UINT_PTR NextTimerId = 1;
}

TTimer::TTimer(TForm& owner, unsigned interval, bool enabled)
    : owner_(&owner), id_(NextTimerId++), interval_(interval), enabled_(enabled) {
  owner_->AddTimer(this);
  Update();
}

TTimer::~TTimer() {
  if (!owner_) return;
  if (running_ && owner_->Handle()) KillTimer(owner_->Handle(), id_);
  owner_->RemoveTimer(this);
}

void TTimer::Update() {
  HWND h = owner_ ? owner_->Handle() : nullptr;
  if (running_ && h) KillTimer(h, id_);
  running_ = false;
  if (enabled_ && interval_ > 0 && h) running_ = SetTimer(h, id_, interval_, nullptr) != 0;
}

void TTimer::SetEnabled(bool e) {
  if (e == enabled_) return;
  enabled_ = e;
  Update();
}

void TTimer::SetInterval(unsigned ms) {
  if (ms == interval_) return;
  interval_ = ms;
  Update();
}

void TTimer::Fire() {
  if (enabled_ && OnTimer) OnTimer();
}

// ---- TApplication ------------------------------------------------------------

namespace {
TBoxPresenter BoxPresenter;
void PumpHook() { Application.ProcessMessages(); }
}  // namespace

void TApplication::Initialize() {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  LoadLibraryA("riched20.dll");
  SetProcessMessagesHook(&PumpHook);
  SetMessagePresenter(&BoxPresenter);
}

void TApplication::Run() {
  if (MainForm && !MainForm->Visible()) MainForm->Show();
  while (!Terminated) HandleMessage();
}

void TApplication::Terminate() {
  if (!Terminated) PostQuitMessage(0);
  Terminated = true;
}

void TApplication::TranslateAndDispatch(MSG& msg) {
  if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd) {
    HWND root = GetAncestor(msg.hwnd, GA_ROOT);
    if (TForm* f = TForm::FromWindow(root)) {
      HACCEL a = f->AcceleratorTable();
      if (a && TranslateAcceleratorA(root, a, &msg)) return;
      if (IsDialogMessageA(root, &msg)) return;
    }
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Kept for the loop that owns it (ours, or the host's).
      Terminated = true;
      PostQuitMessage(static_cast<int>(msg.wParam));
      break;
    }
    TranslateAndDispatch(msg);
  }
}

void TApplication::HandleMessage() {
  MSG msg;
  BOOL r = GetMessageA(&msg, nullptr, 0, 0);
  if (r == 0) {
    Terminated = true;
    PostQuitMessage(static_cast<int>(msg.wParam));
    return;
  }
  if (r == -1) return;
  TranslateAndDispatch(msg);
}

void TApplication::HandleException() {
  std::string message;
  try {
    throw;
  } catch (const std::exception& e) {
    message = e.what();
  } catch (...) {
    message = "Unknown exception";
  }
  try {
    ShowException(message);
  } catch (...) {
    // The report itself failed; nothing more can be said.
  }
}

void TApplication::ShowException(const std::string& message) {
  if (OnException) {
    OnException(message);
    return;
  }
  std::string text = message;
  if (!text.empty() && text.back() != '.') text += '.';
  MessageBoxA(GetActiveWindow(), text.c_str(), Title.c_str(), MB_OK | MB_ICONSTOP);
}

HWND TApplication::HelpCaller() const {
  HWND caller = GetActiveWindow();
  if (!caller && MainForm) caller = MainForm->Handle();
  return caller ? caller : Handle;
}

bool TApplication::HelpContext(int context) {
  const std::string_view page = HelpTopicPage(context);
  if (page.empty()) return HelpContents();
  return HtmlHelp::ShowPage(HelpCaller(), HelpFile, std::string(page));
}

bool TApplication::HelpContents() { return HtmlHelp::ShowContents(HelpCaller(), HelpFile); }

// ---- TScreen -----------------------------------------------------------------

void TScreen::SetCursor(HCURSOR c) {
  cursor_ = c;
  ::SetCursor(c ? c : LoadCursor(nullptr, IDC_ARROW));
}

int ScrollTrackPosition(HWND window, int bar) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_TRACKPOS;
  GetScrollInfo(window, bar, &si);
  return si.nTrackPos;
}
