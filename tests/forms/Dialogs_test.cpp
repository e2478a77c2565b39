#include "Dialogs.h"
#include "FormsTestSupport.h"
#include "ModalAnswer.h"

namespace {

// Types into the input box's edit and presses a button of it.
std::function<void(HWND)> TypeAndPress(const std::string& text, int button) {
  return [text, button](HWND form) {
    HWND edit = FindWindowExA(form, nullptr, "Edit", nullptr);
    if (edit && button == IDOK) SetWindowTextA(edit, text.c_str());
    PostMessageA(form, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
  };
}

}  // namespace

TEST(FilterToWin32, PairsOfDescriptionAndPatternEndedByNuls) {
  using namespace std::string_literals;
  EXPECT_EQ(FilterToWin32("a|b|c|d"), "a\0b\0c\0d\0\0"s);
  EXPECT_EQ(FilterToWin32("*.DPR - Borland Delphi(tm) projects|*.dpr|*.* All files|*.*"),
            "*.DPR - Borland Delphi(tm) projects\0*.dpr\0*.* All files\0*.*\0\0"s);
  // A description without a pattern is dropped; nothing gives no filter.
  EXPECT_EQ(FilterToWin32("a|b|c"), "a\0b\0\0"s);
  EXPECT_EQ(FilterToWin32("only"), "");
  EXPECT_EQ(FilterToWin32(""), "");
  EXPECT_EQ(FilterToWin32("Text||All|*.*"), "Text\0\0All\0*.*\0\0"s);
}

TEST_F(FormsTest, MessageDlgReturnsTheButtonTheHookPressed) {
  TModalAnswer answer(IDNO);
  ASSERT_TRUE(answer.Installed());
  EXPECT_EQ(MessageDlg("Save modifications in UNIT1.PAS?", mtConfirmation, mbYesNoCancel), mrNo);
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Caption(), "Confirm");
  EXPECT_EQ(answer.Text(), "Save modifications in UNIT1.PAS?");
  EXPECT_EQ(MessageDlg("x", mtCustom, mbYesNo), mrNo);
  EXPECT_EQ(answer.Caption(), Application.Title);
  EXPECT_THROW(MessageDlg("x", mtWarning, mbYes | mbOK), EInvalidOperation);
}

TEST_F(FormsTest, BoxPresenterShowsTheRidararBoxes) {
  TBoxPresenter presenter;
  {
    TModalAnswer answer(IDOK);
    presenter.ShowWarning("Maximal number of basic units is reached !");
    EXPECT_EQ(answer.Caption(), "Usagram");
    EXPECT_EQ(answer.Text(), "Maximal number of basic units is reached !");
    EXPECT_TRUE(presenter.ShowWarnOrStop("Insufficient room in units array"));
    EXPECT_EQ(answer.Caption(), RidararCaption);
    presenter.ShowFatalError("Insufficient memory");
    EXPECT_EQ(answer.Text(), "Fatal error: Insufficient memory");
    EXPECT_EQ(answer.Count(), 3);
  }
  TModalAnswer cancel(IDCANCEL);
  EXPECT_FALSE(presenter.ShowWarnOrStop("Insufficient room in units array"));
}

TEST_F(FormsTest, InputQueryReturnsTheTypedText) {
  TModalAnswer answer(TypeAndPress("SysUtils", IDOK), "UsagramForm");
  std::string value;
  EXPECT_TRUE(InputQuery("Usagram", "What is the name of the new basic unit ?", value));
  EXPECT_EQ(value, "SysUtils");
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Caption(), "Usagram");
  // An empty answer is an answer too.
  TModalAnswer empty(TypeAndPress("", IDOK), "UsagramForm");
  EXPECT_TRUE(InputQuery("Usagram", "Name ?", value));
  EXPECT_EQ(value, "");
}

TEST_F(FormsTest, InputQueryCancelLeavesTheValue) {
  TModalAnswer answer(TypeAndPress("ignored", IDCANCEL), "UsagramForm");
  std::string value = "Classes";
  EXPECT_FALSE(InputQuery("Usagram", "Name ?", value));
  EXPECT_EQ(value, "Classes");
  EXPECT_EQ(InputBox("Usagram", "Name ?", "Forms"), "Forms");
  EXPECT_EQ(answer.Count(), 2);
}

TEST_F(FormsTest, OpenDialogCancelledKeepsItsFileName) {
  TModalAnswer answer(IDCANCEL);
  TOpenDialog dlg;
  dlg.Filter = "*.DPR - Borland Delphi(tm) projects|*.dpr|*.PAS - Pascal files |*.pas";
  dlg.FilterIndex = 2;
  dlg.FileName = "PROJECT1.DPR";
  dlg.Title = "Open a project";
  EXPECT_FALSE(dlg.Execute());
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Caption(), "Open a project");
  EXPECT_EQ(dlg.FileName, "PROJECT1.DPR");
  EXPECT_EQ(dlg.FilterIndex, 2);
}
