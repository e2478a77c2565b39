#include <type_traits>

#include "ComCtrls.h"

#include "ExtCtrls.h"
#include "FormsTestSupport.h"
#include "ModalAnswer.h"
#include "StdCtrls.h"
#include "Yield.h"

namespace {

// Initialises the application once for the whole program.
class TApplicationEnvironment : public testing::Environment {
 public:
  void SetUp() override { Application.Initialize(); }
};
const testing::Environment* const Env = testing::AddGlobalTestEnvironment(new TApplicationEnvironment);

TFormParams Params(const char* caption, int w = 300, int h = 200, HWND owner = nullptr) {
  TFormParams p;
  p.Caption = caption;
  p.ClientWidth = w;
  p.ClientHeight = h;
  p.Owner = owner;
  return p;
}

BOOL CALLBACK FindTooltip(HWND h, LPARAM lp) {
  auto* s = reinterpret_cast<std::pair<HWND, HWND>*>(lp);
  char cls[64] = {};
  GetClassNameA(h, cls, sizeof cls);
  if (lstrcmpiA(cls, TOOLTIPS_CLASSA) == 0 && GetWindow(h, GW_OWNER) == s->first) s->second = h;
  return TRUE;
}

}  // namespace

TEST(SelectGuard, PutsThePreviousObjectBackAndCannotBeCopied) {
  static_assert(!std::is_copy_constructible_v<TSelectedObject> && !std::is_copy_assignable_v<TSelectedObject>);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ before = GetCurrentObject(dc, OBJ_FONT);
  TOwnedGdiObject font(CreateFontFrom(TFont{"Courier New", 13}));
  {
    TSelectedObject g(dc, font.Get());
    EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), font.Get());
  }
  EXPECT_EQ(GetCurrentObject(dc, OBJ_FONT), before);
  DeleteDC(dc);
}

TEST_F(FormsTest, FormHasTheClientSizeAndIsCentredOnTheScreen) {
  TForm form(Params("Usagram - ", 632, 434));
  EXPECT_EQ(form.ClientWidth(), 632);
  EXPECT_EQ(form.ClientHeight(), 434);
  EXPECT_EQ(form.Caption(), "Usagram - ");
  EXPECT_NEAR(form.Left() + form.Width() / 2, Screen.Width() / 2, 1);
  EXPECT_NEAR(form.Top() + form.Height() / 2, Screen.Height() / 2, 1);
  EXPECT_EQ(TForm::FromWindow(form.Handle()), &form);
}

TEST_F(FormsTest, ShowAndHideFireTheirEventsOnce) {
  TForm form(Params("Events"));
  int shows = 0, hides = 0;
  form.OnShow = [&] { ++shows; };
  form.OnHide = [&] { ++hides; };
  form.Show();
  form.Show();
  EXPECT_TRUE(form.Visible());
  form.Hide();
  EXPECT_FALSE(form.Visible());
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(hides, 1);
}

TEST_F(FormsTest, AlignedChildrenShareTheClientAreaInsideBevels) {
  TForm form(Params("Align", 632, 434));
  TPanel top, rest, inner;
  top.Create(form, {0, 0, 10, 33});
  top.SetAlign(alTop);
  rest.Create(form, {0, 0, 10, 10});
  rest.SetAlign(alClient);
  inner.Create(rest, {0, 0, 10, 10});
  inner.SetAlign(alClient);
  form.FinishCreate();
  EXPECT_EQ(top.BoundsRect().Width, 632);
  EXPECT_EQ(top.Height(), 33);
  EXPECT_EQ(rest.Top(), 33);
  EXPECT_EQ(rest.Height(), 434 - 33);
  // One pixel of raised bevel around the inner panel.
  EXPECT_EQ(inner.Left(), 1);
  EXPECT_EQ(inner.Width(), 632 - 2);
  rest.SetBevelWidth(7);
  EXPECT_EQ(inner.Left(), 7);
  form.SetClientSize(400, 300);
  EXPECT_EQ(rest.Height(), 300 - 33);
  EXPECT_EQ(inner.Width(), 400 - 14);
}

TEST_F(FormsTest, ShowModalDisablesTheOwnerAndReturnsModalResult) {
  TForm owner(Params("Owner"));
  owner.Show();
  TForm dialog(Params("Dialog", 200, 100, owner.Handle()));
  TButton yes;
  yes.ModalResult = mrYes;
  yes.Create(dialog, {10, 10, 75, 25}, "&Yes");
  TTimer timer(dialog, 1, false);
  bool ownerEnabledInside = true, modalInside = false;
  timer.OnTimer = [&] {
    timer.SetEnabled(false);
    ownerEnabledInside = IsWindowEnabled(owner.Handle());
    modalInside = dialog.Modal();
    SendMessageA(yes.Handle(), BM_CLICK, 0, 0);
  };
  dialog.OnShow = [&] { timer.SetEnabled(true); };
  // Another window of ours, and one that is already disabled.
  TForm other(Params("Editor"));
  other.Show();
  TForm off(Params("Off"));
  off.Show();
  off.SetEnabled(false);
  bool otherEnabledInside = true;
  dialog.OnActivate = [&] { otherEnabledInside = IsWindowEnabled(other.Handle()); };
  EXPECT_EQ(dialog.ShowModal(), mrYes);
  EXPECT_FALSE(ownerEnabledInside);
  EXPECT_FALSE(otherEnabledInside);
  EXPECT_TRUE(IsWindowEnabled(other.Handle()));
  EXPECT_FALSE(IsWindowEnabled(off.Handle()));  // left as it was
  EXPECT_TRUE(modalInside);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Modal());
  // A visible form cannot be made modal; the owner stays usable.
  owner.Show();
  EXPECT_THROW(owner.ShowModal(), EInvalidOperation);
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
}

TEST_F(FormsTest, InsideAHostFormsBelongToItsWindowAndAModalFormGivesTheFocusBackToOurs) {
  // The IDE's main window, which the library's forms belong to.
  HWND ide = CreateWindowExA(0, "STATIC", "IDE", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100, nullptr, nullptr,
                             GetModuleHandleA(nullptr), nullptr);
  ASSERT_NE(ide, nullptr);
  Application.Handle = ide;
  {
    TForm main(Params("Usagram - "));
    TForm dialog(Params("About"));
    TForm owned(Params("Editor", 300, 200, main.Handle()));
    EXPECT_EQ(GetWindow(main.Handle(), GW_OWNER), ide);
    EXPECT_EQ(GetWindow(dialog.Handle(), GW_OWNER), ide);
    EXPECT_EQ(GetWindow(owned.Handle(), GW_OWNER), main.Handle());  // an owner given stays
    main.Show();
    SetActiveWindow(main.Handle());
    ASSERT_EQ(GetActiveWindow(), main.Handle());
    TTimer timer(dialog, 1, false);
    bool ideEnabledInside = true;
    timer.OnTimer = [&] {
      timer.SetEnabled(false);
      ideEnabledInside = IsWindowEnabled(ide);
      dialog.ModalResult = mrOk;
    };
    dialog.OnShow = [&] { timer.SetEnabled(true); };
    EXPECT_EQ(dialog.ShowModal(), mrOk);
    EXPECT_FALSE(ideEnabledInside);
    EXPECT_TRUE(IsWindowEnabled(ide));
    // Back to the window the user was in, not to the IDE.
    EXPECT_EQ(GetActiveWindow(), main.Handle());
  }
  Application.Handle = nullptr;
  DestroyWindow(ide);
}

TEST_F(FormsTest, ModalCloseQueryRefusalKeepsTheLoopRunning) {
  TForm dialog(Params("Dialog"));
  int queries = 0;
  dialog.OnCloseQuery = [&](bool& canClose) { canClose = ++queries >= 2; };
  TTimer timer(dialog, 1, true);
  timer.OnTimer = [&] {
    if (dialog.ModalResult == mrNone) PostMessageA(dialog.Handle(), WM_CLOSE, 0, 0);
  };
  EXPECT_EQ(dialog.ShowModal(), mrCancel);  // closing through the frame cancels
  EXPECT_EQ(queries, 2);
}

TEST_F(FormsTest, CloseQueryRefusalKeepsAModelessWindow) {
  TForm form(Params("Modeless"));
  bool allow = false;
  int closes = 0;
  form.OnCloseQuery = [&](bool& canClose) { canClose = allow; };
  form.OnClose = [&](TCloseAction&) { ++closes; };
  form.Show();
  SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(form.Visible());
  EXPECT_EQ(closes, 0);
  allow = true;
  SendMessageA(form.Handle(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(form.Visible());
  EXPECT_TRUE(form.HandleAllocated());  // hidden, not destroyed
  EXPECT_EQ(closes, 1);
}

TEST_F(FormsTest, CloseWithFreeDestroysTheWindowAfterTheMessage) {
  TForm form(Params("Editor"));
  int released = 0, destroyed = 0;
  form.OnClose = [](TCloseAction& a) { a = caFree; };
  form.OnDestroy = [&] { ++destroyed; };
  form.OnRelease = [&] { ++released; };
  form.Show();
  form.Close();
  EXPECT_TRUE(form.HandleAllocated());  // still inside the caller's handler
  EXPECT_TRUE(PumpUntil([&] { return released > 0; }));
  EXPECT_FALSE(form.HandleAllocated());
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(released, 1);
}

TEST_F(FormsTest, ClosingTheMainFormEndsTheApplication) {
  TForm form(Params("Main"));
  Application.MainForm = &form;
  form.Show();
  PostMessageA(form.Handle(), WM_CLOSE, 0, 0);
  Application.Run();  // returns once the close has terminated it
  EXPECT_TRUE(Application.Terminated);
  EXPECT_FALSE(form.Visible());
  Application.MainForm = nullptr;
  // Take the quit message out of the queue for the next tests.
  MSG msg;
  while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

TEST_F(FormsTest, AnExceptionInAHandlerIsReportedOnceAndStaysInside) {
  TForm form(Params("Errors"));
  TButton b;
  b.Create(form, {10, 10, 75, 25}, "Go");
  b.OnClick = [] { throw std::runtime_error("Cannot open file \"X.PAS\""); };
  SendMessageA(b.Handle(), BM_CLICK, 0, 0);  // returns: nothing crossed the window procedure
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Cannot open file \"X.PAS\"");
  // Through the message loop too, and for exceptions of any type.
  form.OnResize = [] { throw 42; };
  PostMessageA(form.Handle(), WM_SIZE, 0, 0);
  Application.ProcessMessages();
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_EQ(errors[1], "Unknown exception");
}

TEST_F(FormsTest, TheDefaultErrorReportIsABoxCaptionedWithTheTitle) {
  Application.OnException = nullptr;
  TModalAnswer answer(IDOK);
  ASSERT_TRUE(answer.Installed());
  Application.ShowException("List index out of bounds (3)");
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Caption(), "Usagram");
  EXPECT_EQ(answer.Text(), "List index out of bounds (3).");
}

TEST_F(FormsTest, ProcessMessagesIsTheHookOfYield) {
  TForm form(Params("Yield"));
  int sized = 0;
  form.OnResize = [&] { ++sized; };
  PostMessageA(form.Handle(), WM_SIZE, 0, 0);
  ::ProcessMessages();  // the common routine, wired by Application.Initialize
  EXPECT_EQ(sized, 1);
}

TEST_F(FormsTest, TimerFiresWhileEnabledAndStopsWhenDisabled) {
  TForm form(Params("Timer"));
  TTimer timer(form, 1, false);
  int ticks = 0;
  timer.OnTimer = [&] {
    if (++ticks == 3) timer.SetEnabled(false);
  };
  EXPECT_FALSE(timer.Enabled());
  timer.SetEnabled(true);
  EXPECT_TRUE(PumpUntil([&] { return ticks >= 3; }));
  EXPECT_FALSE(timer.Enabled());
  // A stopped timer's pending tick does nothing.
  PostMessageA(form.Handle(), WM_TIMER, timer.Id(), 0);
  Application.ProcessMessages();
  EXPECT_EQ(ticks, 3);
}

TEST_F(FormsTest, EnterAndEscapeClickTheDefaultAndCancelButtons) {
  TForm form(Params("Keys"));
  TPanel panel;
  panel.Create(form, {0, 0, 300, 200});
  TButton ok, cancel;
  ok.Default = true;
  ok.Create(panel, {10, 10, 75, 25}, "OK");
  cancel.Cancel = true;
  cancel.Create(panel, {100, 10, 75, 25}, "Cancel");
  int oks = 0, cancels = 0;
  ok.OnClick = [&] { ++oks; };
  cancel.OnClick = [&] { ++cancels; };
  SendMessageA(form.Handle(), WM_COMMAND, IDOK, 0);
  SendMessageA(form.Handle(), WM_COMMAND, IDCANCEL, 0);
  EXPECT_EQ(oks, 1);
  EXPECT_EQ(cancels, 1);
  EXPECT_EQ(LOWORD(SendMessageA(form.Handle(), DM_GETDEFID, 0, 0)), GetDlgCtrlID(ok.Handle()));
}

TEST_F(FormsTest, WaitCursorRestoresThePreviousCursor) {
  EXPECT_EQ(Screen.Cursor(), nullptr);
  {
    TWaitCursor wait;
    EXPECT_EQ(Screen.Cursor(), LoadCursor(nullptr, IDC_WAIT));
    {
      TWaitCursor nested;
      EXPECT_EQ(Screen.Cursor(), LoadCursor(nullptr, IDC_WAIT));
    }
    EXPECT_EQ(Screen.Cursor(), LoadCursor(nullptr, IDC_WAIT));
  }
  EXPECT_EQ(Screen.Cursor(), nullptr);
}

TEST_F(FormsTest, FocusComesBackToTheControlThatHadIt) {
  TForm form(Params("Focus"));
  TEdit first, second;
  first.Create(form, {10, 10, 100, 21});
  second.Create(form, {10, 40, 100, 21});
  form.FinishCreate();
  form.Show();
  SetActiveWindow(form.Handle());
  EXPECT_TRUE(first.Focused());  // the first control in tab order
  second.SetFocus();
  TForm other(Params("Other"));
  other.Show();
  SetActiveWindow(other.Handle());
  EXPECT_FALSE(second.Focused());
  SetActiveWindow(form.Handle());
  EXPECT_TRUE(second.Focused());
}

TEST_F(FormsTest, HintsBecomeToolsOfTheFormsTooltip) {
  TForm form(Params("Hints"));
  form.ShowHint = true;
  TButton b;
  b.Create(form, {10, 10, 75, 25}, "Go");
  b.SetHint("Open a project");
  form.FinishCreate();
  std::pair<HWND, HWND> search{form.Handle(), nullptr};  // owner, tooltip found
  EnumThreadWindows(GetCurrentThreadId(), &FindTooltip, reinterpret_cast<LPARAM>(&search));
  ASSERT_NE(search.second, nullptr);
  EXPECT_EQ(SendMessageA(search.second, TTM_GETTOOLCOUNT, 0, 0), 1);
  b.SetHint("Open a project or a unit");  // replaced, not added
  EXPECT_EQ(SendMessageA(search.second, TTM_GETTOOLCOUNT, 0, 0), 1);
  b.SetHint("");
  EXPECT_EQ(SendMessageA(search.second, TTM_GETTOOLCOUNT, 0, 0), 0);
}

TEST_F(FormsTest, AnExceptionLeavingShowModalRestoresTheOwner) {
  TForm owner(Params("Owner"));
  owner.Show();
  TForm dialog(Params("Dialog", 200, 100, owner.Handle()));
  dialog.OnCloseQuery = [](bool&) { throw std::runtime_error("Printer selected is not valid"); };
  TTimer timer(dialog, 1, true);
  timer.OnTimer = [&] { dialog.ModalResult = mrOk; };
  TButton open;
  open.Create(owner, {10, 10, 75, 25}, "Open");
  open.OnClick = [&] { dialog.ShowModal(); };
  SendMessageA(open.Handle(), BM_CLICK, 0, 0);
  EXPECT_EQ(errors, std::vector<std::string>{"Printer selected is not valid"});
  EXPECT_TRUE(IsWindowEnabled(owner.Handle()));
  EXPECT_FALSE(dialog.Visible());
  EXPECT_FALSE(dialog.Modal());
}
