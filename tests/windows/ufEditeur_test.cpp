// The source editor opened from the main window's popup menu, on a project
// of our own in a temporary directory (the samples are never written).
#include "WindowsTestSupport.h"
#include "uChaines.h"
#include "SourceText.h"
#include "ufEditeur.h"

namespace {

const std::vector<std::string> MainSource = {"unit Main;", "", "interface", "", "uses Helper;", "",
                                             "implementation", "", "end."};

class Editor : public ToolWindowsTest {
 protected:
  void SetUp() override {
    ToolWindowsTest::SetUp();
    Project.Write("Proj.dpr", {"program Proj;", "uses Main;", "begin", "end."});
    MainFile = Project.Write("Main.pas", MainSource);
    Project.Write("Helper.pas", {"unit Helper;", "interface", "implementation", "end."});
    fUsagram->Afficherlalistedesfichiers1Click();  // no files list in the way
    Open(Project / "Proj.dpr");
    Main = UnitNamed("Main");
    ASSERT_NE(Main, nullptr);
  }

  void TearDown() override {
    OpenFileInIde = nullptr;
    ExpertMode = false;
    ToolWindowsTest::TearDown();
  }

  // The popup menu's "Edit" on a unit.
  static void Edit(TFile* unit) {
    fUsagram->Selected = unit;
    fUsagram->Editer1Click();
    Application.ProcessMessages();
  }

  // Types at the caret, as the keyboard would.
  static void Type(TfEditeur& editor, const std::string& text) {
    for (char c : text) SendMessageA(editor.Source.Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
  }

  // Enter as the keyboard gives it: the key, then its character.
  static void PressEnter(TfEditeur& editor) {
    SendMessageA(editor.Source.Handle(), WM_KEYDOWN, VK_RETURN, 1);
    SendMessageA(editor.Source.Handle(), WM_CHAR, '\r', 1);
    SendMessageA(editor.Source.Handle(), WM_KEYUP, VK_RETURN, 0xC0000001);
  }

  static void CloseWith(TfEditeur& editor, int answer, std::string* question = nullptr) {
    TModalAnswer box(answer);
    SendMessageA(editor.Handle(), WM_CLOSE, 0, 0);
    Application.ProcessMessages();
    if (question) *question = box.Text();
  }

  TTempDirectory Project{"editor"};
  std::string MainFile;
  TFile* Main = nullptr;
};

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

TEST_F(Editor, EditTwiceShowsTheSameEditorAndSaveAsLeavesTheUnitForANewOne) {
  Edit(Main);
  ASSERT_EQ(EditorCount(), 1u);
  TfEditeur* first = Main->Editor;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Unit, Main);
  EXPECT_TRUE(first->Visible());
  // The full name, even when the search found it relative to the project.
  EXPECT_EQ(first->Caption(), ExpandFileName(Main->FileName));
  EXPECT_EQ(first->FileName, first->Caption());
  EXPECT_TRUE(SameTextAscii(first->FileName, MainFile)) << first->FileName;
  EXPECT_EQ(first->Source.Text().substr(0, 10), "unit Main;");
  EXPECT_FALSE(first->Source.Modified());
  EXPECT_EQ(first->Source.SelStart(), 0);
  EXPECT_EQ(first->Width(), 696);
  EXPECT_EQ(first->Height(), 480);

  Edit(Main);
  EXPECT_EQ(EditorCount(), 1u);
  EXPECT_EQ(Main->Editor, first);

  // Save as: the dialog proposes the file; another name is typed.
  const std::string copy = Project / "Copy.pas";
  std::string proposed;
  TModalAnswer saveAs(
      [&](HWND dialog) {
        HWND edit = GetDlgItem(dialog, 0x47C);  // cmb13
        if (!edit) edit = GetDlgItem(dialog, 0x480);  // edt1
        char buf[MAX_PATH] = {};
        GetWindowTextA(edit, buf, sizeof buf);
        proposed = buf;
        SetWindowTextA(edit, copy.c_str());
        TModalAnswer::PostButton(dialog, IDOK);
      },
      "#32770");
  first->Enregistrersous1Click();
  EXPECT_EQ(saveAs.Count(), 1);
  EXPECT_NE(proposed.find("Main"), std::string::npos);
  EXPECT_EQ(first->FileName, copy);
  EXPECT_EQ(first->Caption(), "Copy.pas");
  EXPECT_EQ(first->Unit, nullptr);
  EXPECT_EQ(Main->Editor, nullptr);
  EXPECT_EQ(TTempDirectory::Read(copy), Joined(MainSource));

  Edit(Main);
  EXPECT_EQ(EditorCount(), 2u);
  ASSERT_NE(Main->Editor, nullptr);
  EXPECT_NE(Main->Editor, first);
  EXPECT_EQ(Main->Editor->FileName, ExpandFileName(Main->FileName));
  EXPECT_TRUE(Errors.empty());
}

TEST_F(Editor, ClosingAModifiedEditorAsksAndCancelKeepsItsText) {
  Edit(Main);
  TfEditeur* editor = Main->Editor;
  ASSERT_NE(editor, nullptr);
  Type(*editor, "{ changed }");
  ASSERT_TRUE(editor->Source.Modified());

  std::string question;
  CloseWith(*editor, IDCANCEL, &question);
  EXPECT_EQ(question, "Save modifications in " + editor->FileName + "?");
  ASSERT_EQ(EditorCount(), 1u);
  EXPECT_TRUE(editor->Visible());
  EXPECT_EQ(editor->Source.Text().substr(0, 11), "{ changed }");

  CloseWith(*editor, IDNO);  // closed without saving
  EXPECT_EQ(EditorCount(), 0u);
  EXPECT_EQ(Main->Editor, nullptr);
  EXPECT_EQ(TTempDirectory::Read(MainFile), Joined(MainSource));

  Edit(Main);
  editor = Main->Editor;
  ASSERT_NE(editor, nullptr);
  EXPECT_EQ(editor->Source.Text().substr(0, 10), "unit Main;");
  Type(*editor, "{ kept }");
  CloseWith(*editor, IDYES);  // saved, then closed
  EXPECT_EQ(EditorCount(), 0u);
  EXPECT_EQ(TTempDirectory::Read(MainFile), "{ kept }" + Joined(MainSource));
  // An unmodified editor closes without a question.
  Edit(Main);
  TModalAnswer none(IDCANCEL);
  SendMessageA(Main->Editor->Handle(), WM_CLOSE, 0, 0);
  Application.ProcessMessages();
  EXPECT_EQ(none.Count(), 0);
  EXPECT_EQ(EditorCount(), 0u);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(Editor, EndingTheProgramAsksEveryModifiedEditorFirst) {
  Edit(Main);
  TfEditeur* editor = Main->Editor;
  ASSERT_NE(editor, nullptr);
  Type(*editor, "{ unsaved }");
  {
    TModalAnswer cancel(IDCANCEL);
    SendMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(cancel.Count(), 1);
  }
  EXPECT_EQ(EditorCount(), 1u);  // the program goes on, and the text with it
  EXPECT_FALSE(ClosingShown);
  EXPECT_TRUE(fUsagram->Visible());
  {
    TModalAnswer no(IDNO);
    SendMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(no.Count(), 1);
  }
  EXPECT_EQ(EditorCount(), 0u);
  EXPECT_EQ(Main->Editor, nullptr);
  EXPECT_TRUE(ClosingShown);  // the close goes on to the welcome window
  EXPECT_EQ(TTempDirectory::Read(MainFile), Joined(MainSource));
}

TEST_F(Editor, TheEditMenuFollowsTheSelectionAndTheClipboard) {
  Edit(Main);
  TfEditeur& editor = *Main->Editor;
  auto clipboard = [&](const char* text) {
    ASSERT_TRUE(OpenClipboard(editor.Handle()));
    EmptyClipboard();
    if (text) {
      HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, strlen(text) + 1);
      strcpy(static_cast<char*>(GlobalLock(block)), text);
      GlobalUnlock(block);
      SetClipboardData(CF_TEXT, block);
    }
    CloseClipboard();
  };
  auto openMenu = [&] {
    SendMessageA(editor.Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(editor.Edition1->Handle()), 1);
    return std::vector<bool>{editor.Couper1->Enabled(), editor.Copier1->Enabled(), editor.Coller1->Enabled(),
                             editor.Supprimer1->Enabled()};
  };
  editor.Source.SetSel(0, 0);
  clipboard("uses");
  EXPECT_EQ(openMenu(), (std::vector<bool>{false, false, true, false}));
  editor.Source.SetSel(0, 4);
  clipboard(nullptr);
  EXPECT_EQ(openMenu(), (std::vector<bool>{true, true, false, true}));

  // The commands act on the text.
  editor.Copier1->Click();
  EXPECT_TRUE(openMenu()[2]);
  editor.Supprimer1->Click();
  EXPECT_EQ(editor.Source.Text().substr(0, 6), " Main;");
  editor.Coller1->Click();
  EXPECT_EQ(editor.Source.Text().substr(0, 10), "unit Main;");
  editor.Toutselectionner1->Click();
  EXPECT_GE(editor.Source.SelLength(), editor.Source.TextLength());
  editor.Couper1->Click();
  EXPECT_EQ(editor.Source.TextLength(), 0);
  editor.Source.SetModified(false);
  clipboard(nullptr);
}

TEST_F(Editor, AFileThatCannotBeReadLeavesNoEditorAndAFreedUnitNoDanglingLink) {
  // The file went away after the analysis: the error names it, no empty
  // window stays that could be saved over it.
  const std::string moved = Project / "Main.bak";
  ASSERT_TRUE(MoveFileA(MainFile.c_str(), moved.c_str()));
  try {
    Edit(Main);
    ADD_FAILURE() << "the missing file must be reported";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(UpperCaseAscii(e.what()).find(UpperCaseAscii(MainFile)), std::string::npos) << e.what();
  }
  EXPECT_EQ(EditorCount(), 0u);
  EXPECT_EQ(Main->Editor, nullptr);
  EXPECT_EQ(FindWindowA("UsagramForm", MainFile.c_str()), nullptr);
  ASSERT_TRUE(MoveFileA(moved.c_str(), MainFile.c_str()));

  // A new analysis frees the unit records: the editor stays, on its file,
  // without a unit, and the new record gets an editor of its own.
  Edit(Main);
  TfEditeur* editor = Main->Editor;
  ASSERT_NE(editor, nullptr);
  fUsagram->Recharge1Click();
  Application.ProcessMessages();
  EXPECT_EQ(editor->Unit, nullptr);
  TFile* again = UnitNamed("Main");
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(again->Editor, nullptr);
  Edit(again);
  EXPECT_EQ(EditorCount(), 2u);
  EXPECT_NE(again->Editor, editor);
  // A unit that was not found has no source to edit.
  std::unique_ptr<TFile> missing(TFile::Unresolved("Nowhere"));
  Edit(missing.get());
  EXPECT_EQ(EditorCount(), 2u);
}

// The IDE's stand-in answer, and the names it was asked for.
std::vector<std::string> AskedOfIde;
bool IdeOpens = true;
bool FakeIde(const std::string& fileName) {
  AskedOfIde.push_back(fileName);
  return IdeOpens;
}

TEST_F(Editor, InsideTheIdeTheIdesOwnEditorComesFirst) {
  ExpertMode = true;
  OpenFileInIde = &FakeIde;
  AskedOfIde.clear();
  IdeOpens = true;
  Edit(Main);
  EXPECT_EQ(AskedOfIde, std::vector<std::string>{ExpandFileName(Main->FileName)});
  EXPECT_EQ(EditorCount(), 0u);
  EXPECT_EQ(Main->Editor, nullptr);
  IdeOpens = false;  // the IDE could not: our own editor opens
  Edit(Main);
  EXPECT_EQ(AskedOfIde.size(), 2u);
  EXPECT_EQ(EditorCount(), 1u);
  EXPECT_NE(Main->Editor, nullptr);
  // Outside the IDE nobody asks it.
  ExpertMode = false;
  Edit(Main);
  EXPECT_EQ(AskedOfIde.size(), 2u);
}

TEST(SourceText, TheStyleIsTheOneMostLineEndsUse) {
  EXPECT_EQ(DetectLineEnd("a\r\nb\r\n"), TLineEnd::CrLf);
  EXPECT_EQ(DetectLineEnd("a\nb\n"), TLineEnd::Lf);
  EXPECT_EQ(DetectLineEnd("a\rb\r"), TLineEnd::Cr);
  EXPECT_EQ(DetectLineEnd("a\nb\nc\r\n"), TLineEnd::Lf);
  EXPECT_EQ(DetectLineEnd("a\r\nb\n"), TLineEnd::CrLf);  // a tie
  EXPECT_EQ(DetectLineEnd("one line"), TLineEnd::CrLf);
  // CR LF is one line end, not a CR and an LF.
  EXPECT_EQ(WithLineEnds("a\r\nb\nc\rd", TLineEnd::Lf), "a\nb\nc\nd");
  EXPECT_EQ(WithLineEnds("a\r\n\r\nb\n", TLineEnd::Cr), "a\r\rb\r");
  EXPECT_EQ(WithLineEnds("a\nb\r", TLineEnd::CrLf), "a\r\nb\r\n");
  EXPECT_EQ(WithLineEnds("", TLineEnd::Lf), "");
}

TEST_F(Editor, ASaveKeepsTheFilesLineEndsAndTypedLinesTakeThem) {
  for (const std::string end : {"\n", "\r", "\r\n"}) {
    for (const bool lastLineEnded : {true, false}) {
      std::string original;
      for (const std::string& line : MainSource) original += line + end;
      if (!lastLineEnded) original.resize(original.size() - end.size());
      const std::string label = "line end " + std::to_string(end.size()) + (end[0] == '\n' ? " LF" : " CR") +
                                (lastLineEnded ? ", last line ended" : ", last line open");
      {
        std::ofstream f(MainFile, std::ios::binary | std::ios::trunc);
        f << original;
      }
      Edit(Main);
      TfEditeur* editor = Main->Editor;
      ASSERT_NE(editor, nullptr) << label;
      EXPECT_EQ(editor->Source.Text().substr(0, 10), "unit Main;") << label;
      // A save that changes nothing writes the same bytes.
      editor->Enregistrer1Click();
      EXPECT_EQ(TTempDirectory::Read(MainFile), original) << label;
      // A line the user types ends like the others.
      Type(*editor, "{ new }");
      PressEnter(*editor);
      editor->Enregistrer1Click();
      EXPECT_EQ(TTempDirectory::Read(MainFile), "{ new }" + end + original) << label;
      SendMessageA(editor->Handle(), WM_CLOSE, 0, 0);
      Application.ProcessMessages();
      ASSERT_EQ(EditorCount(), 0u) << label;
    }
  }
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
