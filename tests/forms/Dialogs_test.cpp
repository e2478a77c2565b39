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

TEST_F(FormsTest, SaveDialogAsksBeforeReplacingAFile) {
  char tmp[MAX_PATH];
  GetTempPathA(MAX_PATH, tmp);
  char dir[MAX_PATH];
  GetFullPathNameA(tmp, MAX_PATH, dir, nullptr);
  std::string folder = dir;
  if (folder.back() == '\\') folder.pop_back();
  const std::string existing = folder + "\\forms_save_test.emf";
  HANDLE f = CreateFileA(existing.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  CloseHandle(f);
  std::vector<std::string> texts;
  // OK in the dialog, then Yes in the question that it asks.
  TModalAnswer answer(
      [&](HWND box) {
        char text[512] = {};
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        texts.push_back(text);
        TModalAnswer::PostButton(box, texts.size() == 1 ? IDOK : IDYES);
      },
      "#32770");
  TSaveDialog dlg;
  dlg.Filter = "Enhanced metafiles (*.EMF)|*.emf|All files|*.*";
  dlg.DefaultExt = "emf";
  dlg.InitialDir = folder;
  dlg.FileName = "forms_save_test.emf";
  EXPECT_TRUE(dlg.Execute());
  ASSERT_EQ(texts.size(), 2u);
  EXPECT_NE(texts[1].find("replace"), std::string::npos) << texts[1];  // the overwrite question
  EXPECT_EQ(lstrcmpiA(dlg.FileName.c_str(), existing.c_str()), 0);
  EXPECT_EQ(dlg.FilterIndex, 1);
  DeleteFileA(existing.c_str());
}

TEST_F(FormsTest, ColorDialogReturnsTheChosenColour) {
  TColorDialog dlg;
  dlg.Color = clRed;
  {
    TModalAnswer cancel(IDCANCEL);
    dlg.Color = clBlue;
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.Color, clBlue);
  }
  TModalAnswer ok(IDOK);
  dlg.Color = clSystemFlag | COLOR_WINDOW;  // a system colour goes in as its RGB value
  EXPECT_TRUE(dlg.Execute());
  EXPECT_EQ(dlg.Color, GetSysColor(COLOR_WINDOW));
  EXPECT_EQ(ok.Count(), 1);
}

TEST_F(FormsTest, PrinterWithoutAPrinterSaysSo) {
  TPrinter printer;
  if (!printer.HasPrinter()) {
    try {
      printer.BeginDoc("Usagram");
      ADD_FAILURE() << "printing needs a printer";
    } catch (const EPrinter& e) {
      EXPECT_STREQ(e.what(), "There is no default printer currently selected");
    }
    EXPECT_FALSE(printer.Printing());
    EXPECT_THROW(printer.SetOrientation(poLandscape), EPrinter);
  } else {
    printer.SetOrientation(poLandscape);
    EXPECT_EQ(printer.Orientation(), poLandscape);
    const int w = printer.PageWidth(), h = printer.PageHeight();
    printer.SetOrientation(poPortrait);
    EXPECT_EQ(printer.Orientation(), poPortrait);
    EXPECT_EQ(printer.PageWidth(), h);
    EXPECT_EQ(printer.PageHeight(), w);
  }
}
