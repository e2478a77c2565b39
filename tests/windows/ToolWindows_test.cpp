// The viewer and option windows that the main window opens, worked through
// real messages.
#include <algorithm>

#include "TextBlock.h"
#include "WindowsTestSupport.h"
#include "ufAProposDe.h"
#include "ufAccueil.h"

namespace {

class ViewerWindows : public ToolWindowsTest {};

// The paragraphs of a rich edit, without their breaks.
std::vector<std::string> Paragraphs(const TRichEdit& edit) {
  std::string text = edit.Text();
  text.erase(std::remove(text.begin(), text.end(), '\n'), text.end());
  std::vector<std::string> lines;
  size_t start = 0;
  for (size_t end; (end = text.find('\r', start)) != std::string::npos; start = end + 1)
    lines.push_back(text.substr(start, end - start));
  lines.push_back(text.substr(start));
  return lines;
}

void ExpectTextBlock(TRichEdit& edit) {
  std::vector<std::string> expected;
  for (int i = 0; i < TextBlockLines; ++i) expected.push_back(TextBlockLine(i));
  EXPECT_EQ(Paragraphs(edit), expected);
  EXPECT_EQ(expected[0], "Usagram");
  EXPECT_EQ(expected[4].size(), 34u);
  EXPECT_EQ(edit.SelLength(), 0);
  int start = 0;
  for (int i = 0; i < TextBlockLines; ++i) {
    edit.SetSel(start + 1, 0);
    const TRichEdit::TSelAttributes a = edit.SelAttributes();
    EXPECT_EQ(edit.ParagraphAlignment(), taCenter) << i;
    EXPECT_EQ(a.Bold, i == 0 || i == 4) << i;
    EXPECT_EQ(a.Name, i == 4 ? "Courier New" : "Arial") << i;
    if (i == 4) {
      EXPECT_EQ(a.PointSize, 7);
    }
    start += static_cast<int>(expected[static_cast<size_t>(i)].size()) + 1;
  }
}

TEST_F(ViewerWindows, WelcomeStaysItsFiveSecondsThenEndsTheProgramAfterTheFirstClose) {
  TfAccueil& w = *fAccueil;
  // Shown with the main window.
  ASSERT_TRUE(w.Visible());
  EXPECT_TRUE(w.Timer.Enabled());
  EXPECT_EQ(w.Timer.Interval(), 5000u);
  EXPECT_EQ(w.ClientWidth(), 373);
  EXPECT_EQ(w.ClientHeight(), 229);
  EXPECT_TRUE(GetWindowLongA(w.Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ExpectTextBlock(w.RichEdit);
  auto tick = [&] { SendMessageA(w.Handle(), WM_TIMER, w.Timer.Id(), 0); };

  SendMessageA(w.Handle(), WM_CLOSE, 0, 0);  // not during its five seconds
  EXPECT_TRUE(w.Visible());
  tick();
  EXPECT_FALSE(w.Visible());
  EXPECT_TRUE(fUsagram->Visible());  // only the start: nothing closes

  // Inside the IDE the first close hides the main window once the time is up.
  ExpertMode = true;
  SendMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(ClosingShown);
  EXPECT_TRUE(fUsagram->Visible());
  EXPECT_TRUE(w.Visible());
  EXPECT_TRUE(w.Timer.Enabled());
  SendMessageA(w.Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.Visible());
  tick();
  EXPECT_FALSE(w.Visible());
  EXPECT_FALSE(fUsagram->Visible());
  EXPECT_FALSE(Application.Terminated);

  // Outside the IDE it ends the program.
  ExpertMode = false;
  ClosingShown = false;
  fUsagram->Show();
  SendMessageA(fUsagram->Handle(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(w.Visible());
  EXPECT_FALSE(Application.Terminated);
  tick();
  EXPECT_TRUE(Application.Terminated);
  ExpectTextBlock(w.RichEdit);  // filled once, at the first showing
}

TEST_F(ViewerWindows, AboutShowsTheTextBlockAfreshEachTime) {
  for (int time = 0; time < 2; ++time) {
    bool checked = false;
    EXPECT_EQ(Modal(*fAProposDe, [] { fUsagram->Aproposde1Click(); },
                    [&] {
                      ExpectTextBlock(fAProposDe->RichEdit);
                      checked = true;
                      fAProposDe->BitBtn1.Click();
                    }),
              1);
    EXPECT_TRUE(checked);
  }
  EXPECT_EQ(fAProposDe->Caption(), "About Usagram ...");
  EXPECT_EQ(fAProposDe->Width(), 452);
  EXPECT_EQ(fAProposDe->Height(), 291);
  EXPECT_NE(fAProposDe->Label2.Text().find("support@usagram.example"), std::string::npos);
}

}  // namespace
