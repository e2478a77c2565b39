// The word processor's window: while it is visible, the active document's
// text, one line per paragraph, with its breaks, pictures and fields shown
// as markers, and the footer below.
#include <windows.h>

#include <algorithm>

#include "App.h"
#include "GdiGuard.h"
#include "WindowOwner.h"

namespace {

constexpr const char* WindowClass = "wordprocDocumentWindow";
constexpr UINT_PTR RefreshTimer = 1;
constexpr UINT RefreshIntervalMs = 250;
constexpr int EditId = 100;

struct TWindowState {
  TOwnedGdiObject Font;  // outlives the window that uses it
  TOwnedWindow Frame;
  HWND Edit = nullptr;  // a child: destroyed with its frame
  const TDocument* Shown = nullptr;
  unsigned long Revision = 0;
};

TWindowState& State() {
  static TWindowState state;
  return state;
}

// Each paragraph after its style's name, as in Word's style area.
std::string Markers(const TDocument& doc, const TStory& story) {
  constexpr size_t StyleArea = 14;
  std::string text;
  size_t section = 0;
  for (size_t i = 0; i < story.Chars.size(); ++i) {
    const TChar& c = story.Chars[i];
    if (i == 0 || TDocument::IsMark(story.Chars[i - 1])) {
      std::string style = doc.ParagraphStyle(story, static_cast<int>(i)).LocalName.substr(0, StyleArea - 1);
      text += style + std::string(StyleArea - style.size(), ' ') + "| ";
    }
    switch (c.Kind) {
      case TElement::Text: text += c.Ch; break;
      case TElement::ParagraphEnd: text += "\r\n"; break;
      case TElement::SectionBreak:
        text += "\r\n==== section break: next section in " +
                std::to_string(doc.Sections[std::min(++section, doc.Sections.size() - 1)].Columns) +
                " column(s) ====\r\n";
        break;
      case TElement::PageBreak: text += "---- page break ----"; break;
      case TElement::ColumnBreak: text += "---- column break ----"; break;
      case TElement::LineBreak: text += "\r\n"; break;
      case TElement::Picture: {
        const TPicture& p = doc.Pictures[static_cast<size_t>(c.Ref)];
        text += "[picture " + std::to_string(static_cast<int>(p.Width)) + " x " +
                std::to_string(static_cast<int>(p.Height)) + " pt]";
        break;
      }
      case TElement::Field: {
        const TFieldType type = doc.Fields[static_cast<size_t>(c.Ref)].Type;
        text += type == TFieldType::Toc ? "[table of contents]" : type == TFieldType::Page ? "[page]" : "[pages]";
        break;
      }
    }
  }
  return text;
}

void Refresh(bool force) {
  TWindowState& s = State();
  if (!s.Frame) return;
  TWordApp& app = TWordApp::Instance();
  const TDocument* doc = app.Documents().empty() ? nullptr : &app.Active();
  if (!force && doc == s.Shown && (!doc || doc->Revision == s.Revision)) return;
  s.Shown = doc;
  s.Revision = doc ? doc->Revision : 0;
  const std::string caption = std::string("wordproc") + (doc ? " - " + doc->Name : "");
  SetWindowTextA(s.Frame.Get(), caption.c_str());
  std::string text = doc ? Markers(*doc, doc->Main) + "\r\n==== footer ====\r\n" + Markers(*doc, doc->Footer) : "";
  SetWindowTextA(s.Edit, text.c_str());
}

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  // Exceptions never cross the window procedure.
  try {
    switch (message) {
      case WM_SIZE:
        if (State().Edit) MoveWindow(State().Edit, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
        return 0;
      case WM_TIMER:
        if (wParam == RefreshTimer) Refresh(false);
        return 0;
      case WM_CLOSE:
        // Closing the window hides the word processor; clients keep their documents.
        TWordApp::Instance().SetVisible(false);
        return 0;
      default: break;
    }
  } catch (...) {
    return 0;
  }
  return DefWindowProcA(window, message, wParam, lParam);
}

bool Create() {
  TWindowState& s = State();
  HINSTANCE instance = GetModuleHandleA(nullptr);
  WNDCLASSA wc{};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = WindowClass;
  RegisterClassA(&wc);  // fails harmlessly when already registered
  s.Frame.Attach(CreateWindowExA(0, WindowClass, "wordproc", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT, 720, 540,
                                 nullptr, nullptr, instance, nullptr));
  if (!s.Frame) return false;  // no display: the word processor works unseen
  RECT client;
  GetClientRect(s.Frame.Get(), &client);
  s.Edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL |
                               ES_AUTOHSCROLL,
                           0, 0, client.right, client.bottom, s.Frame.Get(), reinterpret_cast<HMENU>(EditId), instance,
                           nullptr);
  s.Font = TOwnedGdiObject(CreateFontA(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                                       CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FIXED_PITCH | FF_MODERN, "Courier New"));
  SendMessageA(s.Edit, WM_SETFONT, reinterpret_cast<WPARAM>(s.Font.Get()), TRUE);
  SetTimer(s.Frame.Get(), RefreshTimer, RefreshIntervalMs, nullptr);
  return true;
}

}  // namespace

void ShowDocumentWindow(bool visible) {
  TWindowState& s = State();
  if (visible && !s.Frame && !Create()) return;
  if (!s.Frame) return;
  ShowWindow(s.Frame.Get(), visible ? SW_SHOWNORMAL : SW_HIDE);
  if (visible) Refresh(true);
}

void RefreshDocumentWindow() { Refresh(false); }
