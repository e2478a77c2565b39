// The directory selection window driven inside its own modal loop: the test's
// action runs once the window is up (a CBT hook sees it activated), works its
// controls through real messages, then answers with OK or Cancel.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "ModalAnswer.h"
#include "ufRepertoire.h"
#include "RemoveTree.h"

namespace {

void Key(HWND target, WORD key) {
  SendMessageA(target, WM_KEYDOWN, key, 1);
  SendMessageA(target, WM_KEYUP, key, 0xC0000001);
}

class DirectoryWindow : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Application.Initialize();
    Window = std::make_unique<TfRepertoire>();
  }
  static void TearDownTestSuite() { Window.reset(); }

  void SetUp() override {
    Application.OnException = [this](const std::string& m) { Errors.push_back(m); };
    Root = TempPath("usagram-rep");
    RemoveTree(Root);
    ASSERT_TRUE(CreateDirectoryA(Root.c_str(), nullptr));
    for (const char* sub : {"alpha", "beta", "gamma"}) CreateDirectoryA((Root + "\\" + sub).c_str(), nullptr);
  }

  void TearDown() override {
    Application.OnException = nullptr;
    RemoveTree(Root);
    EXPECT_TRUE(Errors.empty()) << Errors.front();
  }

  // Execute, with inside run in the window's modal loop; inside answers.
  bool Run(const std::string& title, std::string& path, std::function<void(TfRepertoire&)> inside) {
    int shown = 0;
    TModalAnswer answer(
        [&](HWND form) {
          if (form != Window->Handle()) return;
          ++shown;
          inside(*Window);
        },
        "UsagramForm");
    const bool result = Window->Execute(title, path);
    EXPECT_EQ(shown, 1) << "the window was not shown once";
    return result;
  }

  static void Ok(TfRepertoire& w) { TModalAnswer::PostButton(w.Handle(), IDOK); }
  static void Cancel(TfRepertoire& w) { w.BitBtn2.Click(); }

  static inline std::unique_ptr<TfRepertoire> Window;
  std::string Root;
  std::vector<std::string> Errors;
};

TEST_F(DirectoryWindow, OkGivesTheHighlightedLineAndCancelKeepsThePath) {
  EXPECT_EQ(fRepertoire, Window.get());
  const HWND handle = Window->Handle();

  // Highlighting with the arrow keys does not open the line; OK gives it.
  std::string path = Root;
  std::string label, caption;
  bool focused = false;
  EXPECT_TRUE(Run("Pick one", path, [&](TfRepertoire& w) {
    focused = GetFocus() == w.Rep.Handle();
    caption = w.Caption();
    Key(w.Rep.Handle(), VK_DOWN);
    label = w.Repert.Text();
    Ok(w);
  }));
  EXPECT_TRUE(focused);
  EXPECT_EQ(caption, "Pick one");
  EXPECT_EQ(path, Root + "\\alpha");
  EXPECT_EQ(label, Root + "\\alpha");
  EXPECT_EQ(Window->Rep.Directory(), Root);
  EXPECT_FALSE(Window->Visible());

  // Cancel, and closing the window, leave the path as it came.
  path = Root + "\\beta";
  EXPECT_FALSE(Run("Pick", path, [](TfRepertoire& w) {
    Key(w.Rep.Handle(), VK_UP);
    Cancel(w);
  }));
  EXPECT_EQ(path, Root + "\\beta");
  path = Root + "\\gamma";
  EXPECT_FALSE(Run("Pick", path, [](TfRepertoire& w) { PostMessageA(w.Handle(), WM_CLOSE, 0, 0); }));
  EXPECT_EQ(path, Root + "\\gamma");

  // The same window each time; an empty path leaves the list where it was.
  EXPECT_EQ(Window->Handle(), handle);
  path.clear();
  std::string opened;
  EXPECT_TRUE(Run("Pick", path, [&](TfRepertoire& w) {
    opened = w.Rep.Directory();
    Ok(w);
  }));
  EXPECT_EQ(opened, Root + "\\gamma");
  EXPECT_EQ(path, Root + "\\gamma");

  // A drive root comes back with its backslash.
  path = Root;
  EXPECT_TRUE(Run("Pick", path, [](TfRepertoire& w) {
    Key(w.Rep.Handle(), VK_HOME);
    Ok(w);
  }));
  EXPECT_EQ(path, Root.substr(0, 3));
  EXPECT_EQ(path.back(), '\\');
}

TEST_F(DirectoryWindow, TheDriveBoxOpensARootOrRestoresTheDirectory) {
  std::string path = Root + "\\alpha";
  std::string shown, afterUnknown, dirAfterUnknown, afterEmpty, dirAfterEmpty, afterZ, dirAfterZ;
  int selectedAfterZ = 0;
  EXPECT_FALSE(Run("Drive", path, [&](TfRepertoire& w) {
    shown = w.Drive.Text();
    w.Drive.SetText("Q");  // no such drive in the prefix
    afterUnknown = w.Drive.Text();
    dirAfterUnknown = w.Rep.Directory();
    w.Drive.SetText("");
    afterEmpty = w.Drive.Text();
    dirAfterEmpty = w.Rep.Directory();
    w.Drive.SetText("z");  // Wine's drive of the Unix root
    afterZ = w.Drive.Text();
    dirAfterZ = w.Rep.Directory();
    selectedAfterZ = w.Drive.SelLength();
    Cancel(w);
  }));
  const std::string letter = Root.substr(0, 1);
  EXPECT_EQ(shown, letter);
  EXPECT_EQ(afterUnknown, letter);
  EXPECT_EQ(dirAfterUnknown, Root + "\\alpha");
  EXPECT_EQ(afterEmpty, letter);
  EXPECT_EQ(dirAfterEmpty, Root + "\\alpha");
  EXPECT_EQ(afterZ, "Z");
  EXPECT_EQ(dirAfterZ, "Z:\\");
  EXPECT_EQ(selectedAfterZ, 1);
  EXPECT_EQ(path, Root + "\\alpha");
}

TEST_F(DirectoryWindow, TheSpaceBarOpensTheHighlightedLine) {
  std::string path = Root;
  std::string opened;
  EXPECT_TRUE(Run("Space", path, [&](TfRepertoire& w) {
    Key(w.Rep.Handle(), VK_DOWN);
    Key(w.Rep.Handle(), VK_DOWN);  // beta
    Key(w.Rep.Handle(), VK_SPACE);
    opened = w.Rep.Directory();
    Ok(w);
  }));
  EXPECT_EQ(opened, Root + "\\beta");
  EXPECT_EQ(path, Root + "\\beta");
}

TEST_F(DirectoryWindow, AnUnreachablePathOpensOnTheLastDirectory) {
  std::string path = Root + "\\alpha";
  EXPECT_FALSE(Run("First", path, Cancel));
  path = Root + "\\gone\\away";
  bool visible = false;
  std::string opened;
  EXPECT_FALSE(Run("Gone", path, [&](TfRepertoire& w) {
    visible = w.Visible();
    opened = w.Rep.Directory();
    Cancel(w);
  }));
  EXPECT_TRUE(visible);
  EXPECT_EQ(opened, Root + "\\alpha");
  EXPECT_EQ(path, Root + "\\gone\\away");
}

TEST_F(DirectoryWindow, TheLabelCutsALongPathFromTheLeft) {
  std::string deep = Root;
  for (int i = 0; i < 6; ++i) {
    deep += "\\level" + std::to_string(i) + "_of_a_rather_deep_tree";
    ASSERT_TRUE(CreateDirectoryA(deep.c_str(), nullptr));
  }
  TfRepertoire& w = *Window;
  w.Rep.SetDirectory(deep);
  const int height = w.ClientHeight();
  const int right = w.Panel1.Width();
  const int border = w.Panel2.ClientWidth() - w.Panel3.Width();  // Panel3 within Panel2's bevel

  // Wide enough: the whole path.
  w.SetClientSize(4000, height);
  ASSERT_EQ(w.Repert.Text(), deep);
  const int full = TextExtent(w.Repert.Font(), deep).cx;

  // One pixel too narrow for Panel3, not for Panel2: two characters after
  // the root and the dots go.
  w.SetClientSize(right + border + full - 1, height);
  ASSERT_EQ(w.Panel3.ClientWidth(), full - 1);
  EXPECT_EQ(w.Repert.Text(), deep.substr(0, 3) + "..." + deep.substr(5));

  // Much too narrow: the root, the dots and the end of the path, fitting.
  w.SetClientSize(300, height);
  const std::string cut = w.Repert.Text();
  ASSERT_GT(cut.size(), 6u);
  EXPECT_EQ(cut.substr(0, 6), deep.substr(0, 3) + "...");
  EXPECT_TRUE(deep.ends_with(cut.substr(6))) << cut;
  EXPECT_LE(TextExtent(w.Repert.Font(), cut).cx, w.Panel2.ClientWidth());
  EXPECT_EQ(w.Repert.Width(), w.Panel3.ClientWidth() - 2);  // aligned to the top again

  // Narrower than the root and the dots: they stay, nothing after them.
  w.SetClientSize(right + 10, height);
  EXPECT_EQ(w.Repert.Text(), deep.substr(0, 3) + "...");

  w.SetClientSize(317, height);
  w.Rep.SetDirectory(Root);
}

}  // namespace
