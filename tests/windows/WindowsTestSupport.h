// Shared set-up of the window tests: every window of the tool created as
// Usagram.exe creates it, the test prefix's registry emptied around each
// test, projects written into a temporary directory, and the modal windows
// worked from inside their own loops.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "Analysis.h"
#include "Globales.h"
#include "ModalAnswer.h"
#include "Settings.h"
#include "ToolWindows.h"
#include "Units.h"
#include "ufBugReport.h"
#include "ufUsagram.h"
#include "RemoveTree.h"

// A directory of its own under the temporary directory, removed with
// everything in it.
class TTempDirectory {
 public:
  explicit TTempDirectory(const std::string& name) {
    Path = FreshDir("usagram-" + name);
  }
  ~TTempDirectory() {
    // The analysis made a directory of ours current: leave it first.
    char buf[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, buf);
    SetCurrentDirectoryA(buf);
    RemoveTree(Path);
  }
  TTempDirectory(const TTempDirectory&) = delete;
  TTempDirectory& operator=(const TTempDirectory&) = delete;

  std::string operator/(const std::string& relative) const { return Path + "\\" + relative; }
  std::string Make(const std::string& relative) const {
    CreateDirectoryA((*this / relative).c_str(), nullptr);
    return *this / relative;
  }
  // Lines joined by CR LF, as Delphi writes them.
  std::string Write(const std::string& relative, const std::vector<std::string>& lines) const {
    std::ofstream f(*this / relative, std::ios::binary);
    for (const std::string& line : lines) f << line << "\r\n";
    return *this / relative;
  }
  static std::string Read(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  }

  std::string Path;
};

class ToolWindowsTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }

  void SetUp() override {
    CommandLineParameters.clear();  // the test runner's arguments are no project
    ExpertMode = false;
    ClosingShown = false;
    DeleteProductKey();
    UsagramInitialise();
    Application.OnException = [this](const std::string& m) { Errors.push_back(m); };
    CreateToolWindows();
    fUsagram->Show();
    Application.ProcessMessages();
  }

  void TearDown() override {
    FreeBugReportWindow();
    FreeToolWindows();
    UsagramFinalise();
    Application.OnException = nullptr;
    DeleteProductKey();
  }

  void Open(const std::string& path) {
    fUsagram->OpenDialog.FileName = path;
    fUsagram->LoadProject();
    Application.ProcessMessages();
  }

  // start shows form modally; inside runs once the form is up, in its own
  // loop, and must end it. The number of times the form came up.
  static int Modal(TForm& form, const std::function<void()>& start, const std::function<void()>& inside) {
    int shown = 0;
    TModalAnswer answer(
        [&](HWND h) {
          if (h != form.Handle()) return;
          ++shown;
          inside();
        },
        "UsagramForm");
    start();
    return shown;
  }

  // Clicks the button whose handler asks for a text in the input box, and
  // answers the box with text; the box's caption.
  static std::string ClickAndAnswer(TButton& button, const std::string& text) {
    std::string caption;
    TModalAnswer input(
        [&](HWND form) {
          HWND edit = FindWindowExA(form, nullptr, "Edit", nullptr);
          if (!edit) return;
          char buf[256] = {};
          GetWindowTextA(form, buf, sizeof buf);
          caption = buf;
          SetWindowTextA(edit, text.c_str());
          PostMessageA(form, WM_KEYDOWN, VK_RETURN, 0);
        },
        "UsagramForm");
    button.Click();
    return caption;
  }

  static TFile* UnitNamed(const std::string& name) {
    for (int i = 0; FileArray && i < FileArray->Count; ++i)
      if (FileArray->Items[i]->Name == name) return FileArray->Items[i];
    return nullptr;
  }

  std::vector<std::string> Errors;
};
