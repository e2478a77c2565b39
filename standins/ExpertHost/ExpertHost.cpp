// ExpertHost's windows and command line (see ExpertHost.h).
#include "ExpertHost.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

constexpr const char* MainClass = "ExpertHostMain";
constexpr const char* EditorClass = "ExpertHostEditor";
constexpr const char* ProgramName = "ExpertHost";
constexpr const char* ProjectManagerItem = "ViewPrjMgrItem";
constexpr const char* ViewMenu = "ViewMenu";
constexpr const char* Usage =
    "ExpertHost.exe [--click ITEMNAME]... [--no-project-manager] [--log FILE] [PROJECT]\r\n\r\n"
    "Plays the Delphi 3 IDE: loads the experts listed in "
    "HKEY_CURRENT_USER\\Software\\Borland\\Delphi\\3.0\\Experts.\r\n"
    "--click ITEMNAME   chooses that menu item once the experts are loaded; again, once\r\n"
    "    all that the previous click started is done\r\n"
    "--no-project-manager   leaves the View menu without ViewPrjMgrItem\r\n"
    "--log FILE   records every event in FILE, one per line\r\n"
    "PROJECT   the project the IDE has open";
enum : int { ExitOk = 0, ExitUsage = 2, ExitNoWindow = 3 };

struct TOptions {
  std::string LogFile, Project, Error;
  std::vector<std::string> Clicks;
  bool ProjectManager = true;
};

TOptions ParseCommandLine(int argc, char** argv) {
  TOptions options;
  for (int i = 1; i < argc && options.Error.empty(); ++i) {
    const std::string arg = argv[i];
    auto value = [&](std::string& into) {
      if (i + 1 < argc)
        into = argv[++i];
      else
        options.Error = arg + " needs a value.";
    };
    if (arg == "--click")
      value(options.Clicks.emplace_back());
    else if (arg == "--log")
      value(options.LogFile);
    else if (arg == "--no-project-manager")
      options.ProjectManager = false;
    else if (arg.rfind("--", 0) == 0)
      options.Error = "Unknown option " + arg + ".";
    else if (!options.Project.empty())
      options.Error = "Only one project can be open.";
    else
      options.Project = arg;
  }
  return options;
}

std::string FullPath(const std::string& path) {
  if (path.empty()) return path;
  char full[MAX_PATH] = {};
  const DWORD n = GetFullPathNameA(path.c_str(), MAX_PATH, full, nullptr);
  return (n > 0 && n < MAX_PATH) ? std::string(full, n) : path;
}

// An edit control shows CR LF line ends only.
std::string WithCrLf(const std::string& text) {
  std::string out;
  out.reserve(text.size() + text.size() / 16);
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return out;
}

// Stores the object at WM_NCCREATE and forgets it at WM_NCDESTROY; no
// exception leaves a window procedure.
template <class T>
LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == WM_NCCREATE) {
    auto* self = static_cast<T*>(reinterpret_cast<CREATESTRUCTA*>(lp)->lpCreateParams);
    self->Window = window;
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<T*>(GetWindowLongPtrA(window, GWLP_USERDATA));
  if (msg == WM_NCDESTROY && self) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    self->Window = nullptr;
    self = nullptr;
  }
  if (!self) return DefWindowProcA(window, msg, wp, lp);
  return Safely<LRESULT>(0, [&] { return self->Handle(msg, wp, lp); });
}

// ---- Editor ------------------------------------------------------------------

// A plain editor window, the IDE's editor for OpenFile.
class THostEditor {
 public:
  // The editors open beside the main window, each a little lower than the last.
  THostEditor(HWND owner, int number, const std::string& path, const std::string& text) : Path(path) {
    RECT main{};
    GetWindowRect(owner, &main);
    const int step = 24 * (number % 8), width = 520, height = 480;
    const int left = std::max(0, std::min(static_cast<int>(main.right) + 8, GetSystemMetrics(SM_CXSCREEN) - width));
    CreateWindowExA(0, EditorClass, path.c_str(), WS_OVERLAPPEDWINDOW, left + step, main.top + step, width, height,
                    owner, nullptr, GetModuleHandleA(nullptr), this);
    if (!Window) return;
    Edit = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                           WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | ES_MULTILINE | ES_AUTOVSCROLL |
                               ES_AUTOHSCROLL | ES_WANTRETURN | ES_NOHIDESEL,
                           0, 0, 0, 0, Window, nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(Edit, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), FALSE);
    SendMessageA(Edit, EM_LIMITTEXT, 0, 0);
    SetWindowTextA(Edit, WithCrLf(text).c_str());
    Layout();
    ShowWindow(Window, SW_SHOW);
  }
  ~THostEditor() {
    if (Window) DestroyWindow(Window);
  }
  THostEditor(const THostEditor&) = delete;
  THostEditor& operator=(const THostEditor&) = delete;

  bool Open() const { return Window != nullptr; }
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_SIZE) Layout();
    if (msg == WM_SETFOCUS && Edit) SetFocus(Edit);
    return DefWindowProcA(Window, msg, wp, lp);
  }

  HWND Window = nullptr;
  HWND Edit = nullptr;
  std::string Path;

 private:
  void Layout() {
    RECT r{};
    GetClientRect(Window, &r);
    if (Edit) MoveWindow(Edit, 0, 0, r.right, r.bottom, TRUE);
  }
};

// ---- Main window -------------------------------------------------------------

class THostWindow {
 public:
  explicit THostWindow(const TOptions& options) : Options(options) {
    Context.Project = FullPath(options.Project);
    Context.Menu = &Menu;
    Context.OpenFile = [this](const std::string& path) { return OpenFile(path); };
    Context.CurrentFile = [this] { return CurrentFile; };
    Experts.Menu = &Menu;
    const std::string caption =
        Context.Project.empty() ? std::string(ProgramName) : std::string(ProgramName) + " - " + Context.Project;
    CreateWindowExA(0, MainClass, caption.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 40, 40, 720, 360, nullptr,
                    nullptr, GetModuleHandleA(nullptr), this);
  }
  ~THostWindow() {
    if (!Window) return;
    Shutdown();
    DestroyWindow(Window);
  }
  THostWindow(const THostWindow&) = delete;
  THostWindow& operator=(const THostWindow&) = delete;

  bool Created() const { return Window != nullptr; }

  // Shows the window, loads the experts and lines up the clicks of --click.
  void Start() {
    ShowWindow(Window, SW_SHOW);
    UpdateWindow(Window);
    Context.MainWindow = Window;
    Services.Attach(NewToolServices(Context));
    Experts.LoadAll(Services.Get());
    LogViewMenu();
    for (const std::string& name : Options.Clicks) {
      if (THostMenuItem* item = Menu.Find(name))
        PendingClicks.push_back(item->Command);
      else
        Log.Event({"error", "no menu item is named " + name});
    }
    Log.Event({"ready"});
  }

  // The next click of --click, once the thread has nothing left to do (no
  // message, paint or timer due): what the previous click started is done.
  bool ClickPending() const { return NextClick < PendingClicks.size(); }
  void ClickNext() {
    // Through the queue, handled as the user's choice.
    if (Window) PostMessageA(Window, WM_COMMAND, MAKEWPARAM(PendingClicks[NextClick], 0), 0);
    ++NextClick;
  }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_CREATE:
        CreateContents();
        return 0;
      case WM_SIZE:
        if (Events) MoveWindow(Events, 0, 0, LOWORD(lp), HIWORD(lp), TRUE);
        return 0;
      case WM_COMMAND:
        if (lp == 0) Menu.Clicked(LOWORD(wp));  // a menu item (or its accelerator)
        return 0;
      case WM_CLOSE:
        // As the IDE ends: its message loop first, then the experts, from
        // the top of the program. An expert's code may be running below
        // this message (a loop of its own that dispatched it); freeing its
        // library here would return into code that is gone.
        PostQuitMessage(ExitOk);
        return 0;
      case WM_DESTROY:
        Log.OnLine = nullptr;
        SetMenu(Window, nullptr);
        Menu.Window = nullptr;
        PostQuitMessage(ExitOk);
        return 0;
    }
    return DefWindowProcA(Window, msg, wp, lp);
  }

  HWND Window = nullptr;

 private:
  void CreateContents() {
    Events = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", "",
                             WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT | LBS_NOSEL, 0, 0, 0, 0, Window,
                             nullptr, GetModuleHandleA(nullptr), nullptr);
    SendMessageA(Events, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), FALSE);
    Log.OnLine = [this](const std::string& line) {
      std::string shown = line;
      for (char& c : shown)
        if (c == '\t') c = ' ';
      const LRESULT at = SendMessageA(Events, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(shown.c_str()));
      if (at >= 0) SendMessageA(Events, LB_SETTOPINDEX, static_cast<WPARAM>(at), 0);
    };
    BuildMenu();
    Menu.Window = Window;
    SetMenu(Window, Menu.Bar());
  }

  // The IDE's menu bar, with a few of each menu's items. Only File/Exit does
  // something; the View menu is where experts put their items.
  void BuildMenu() {
    THostMenuItem& bar = Menu.Root();
    auto menu = [&](const char* caption, const char* name, std::initializer_list<const char*> items) {
      THostMenuItem* parent = Menu.AddIdeItem(bar, caption, name);
      for (auto it = items.begin(); it != items.end(); it += 2) Menu.AddIdeItem(*parent, it[0], it[1]);
      return parent;
    };
    THostMenuItem* file =
        menu("&File", "FileMenu",
             {"&New...", "FileNewItem", "&Open...", "FileOpenItem", "&Save", "FileSaveItem", "-", "FileSep1Item"});
    Menu.AddIdeItem(*file, "E&xit", "FileExitItem", [this] { PostMessageA(Window, WM_CLOSE, 0, 0); });
    menu("&Edit", "EditMenu",
         {"&Undo", "EditUndoItem", "Cu&t", "EditCutItem", "&Copy", "EditCopyItem", "&Paste", "EditPasteItem"});
    menu("&Search", "SearchMenu", {"&Find...", "SearchFindItem", "R&eplace...", "SearchReplaceItem"});
    THostMenuItem* view = menu("&View", ViewMenu, {});
    if (Options.ProjectManager) Menu.AddIdeItem(*view, "Project Manager", ProjectManagerItem);
    static const char* const viewItems[][2] = {{"Project &Source", "ViewPrjSourceItem"},
                                               {"&Object Inspector", "ViewObjInspItem"},
                                               {"&Alignment Palette", "ViewAlignItem"},
                                               {"&Browser", "ViewBrowserItem"},
                                               {"-", "ViewSep1Item"},
                                               {"&Units...", "ViewUnitsItem"},
                                               {"&Forms...", "ViewFormsItem"}};
    for (const auto& item : viewItems) Menu.AddIdeItem(*view, item[0], item[1]);
    menu("&Project", "ProjectMenu", {"&Add to Project...", "ProjectAddItem", "&Compile", "ProjectCompileItem"});
    menu("&Run", "RunMenu", {"&Run", "RunRunItem", "&Parameters...", "RunParametersItem"});
    menu("&Component", "ComponentMenu", {"&Install...", "ComponentInstallItem"});
    menu("&Database", "DatabaseMenu", {"&Explore", "DatabaseExploreItem"});
    menu("&Tools", "ToolsMenu",
         {"&Environment Options...", "ToolsOptionsItem", "&Configure Tools...", "ToolsConfigureItem"});
    menu("&Help", "HelpMenu", {"&Contents", "HelpContentsItem", "&About...", "HelpAboutItem"});
  }

  void LogViewMenu() {
    std::vector<std::string> fields{"menu", ViewMenu};
    if (THostMenuItem* view = Menu.Find(ViewMenu))
      for (const std::string& name : Menu.NativeNames(*view)) fields.push_back(name);
    Log.Event(fields);
  }

  // Frees the experts as the IDE does when it closes, and tells what they
  // still held.
  void Shutdown() {
    Experts.UnloadAll();
    LogViewMenu();
    Services.Reset();
    Log.Event({"strings", std::to_string(Strings.Outstanding())});
    Log.Event({"interfaces", std::to_string(LiveInterfaces)});
  }

  bool OpenFile(const std::string& path) {
    for (auto& editor : Editors)
      if (editor->Open() && lstrcmpiA(editor->Path.c_str(), path.c_str()) == 0) {
        ShowWindow(editor->Window, SW_SHOW);
        SetForegroundWindow(editor->Window);
        CurrentFile = editor->Path;
        return true;
      }
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) return false;
    auto editor = std::make_unique<THostEditor>(Window, static_cast<int>(Editors.size()), path, text);
    if (!editor->Open()) return false;
    Editors.push_back(std::move(editor));
    CurrentFile = path;
    return true;
  }

  TOptions Options;
  THostContext Context;
  THostMenu Menu;
  THostExperts Experts;
  TComPtr<TIToolServices> Services;
  std::vector<std::unique_ptr<THostEditor>> Editors;
  std::string CurrentFile;
  std::vector<UINT> PendingClicks;
  size_t NextClick = 0;
  HWND Events = nullptr;
};

bool RegisterClasses(HINSTANCE instance) {
  WNDCLASSA main{};
  main.lpfnWndProc = &WindowProc<THostWindow>;
  main.hInstance = instance;
  main.hCursor = LoadCursor(nullptr, IDC_ARROW);
  main.hIcon = LoadIcon(nullptr, IDI_APPLICATION);
  main.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  main.lpszClassName = MainClass;
  WNDCLASSA editor = main;
  editor.lpfnWndProc = &WindowProc<THostEditor>;
  editor.lpszClassName = EditorClass;
  return RegisterClassA(&main) && RegisterClassA(&editor);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  const TOptions options = ParseCommandLine(__argc, __argv);
  if (!options.LogFile.empty() && !Log.Open(options.LogFile)) {
    MessageBoxA(nullptr, ("The log file " + options.LogFile + " cannot be written.").c_str(), ProgramName,
                MB_OK | MB_ICONERROR);
    return ExitUsage;
  }
  if (!options.Error.empty()) {
    Log.Event({"error", options.Error});
    MessageBoxA(nullptr, (options.Error + "\r\n\r\n" + Usage).c_str(), ProgramName, MB_OK | MB_ICONERROR);
    return ExitUsage;
  }
  if (!RegisterClasses(instance)) return ExitNoWindow;
  THostWindow window(options);
  if (!window.Created()) {
    Log.Event({"error", "the main window cannot be created"});
    return ExitNoWindow;
  }
  window.Start();
  MSG msg;
  for (;;) {
    if (window.ClickPending() && !PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
      window.ClickNext();
      continue;
    }
    if (GetMessageA(&msg, nullptr, 0, 0) <= 0) break;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
  return ExitOk;
}
