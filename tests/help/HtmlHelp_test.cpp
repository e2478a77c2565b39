// The HTML Help layer against Wine's own viewer (hhctrl.ocx): loaded only
// when help is asked for, the page or the contents of a real .chm shown in
// its window, every window closed by CloseHelp, and a missing file told in
// one box that names it.
#include <gtest/gtest.h>

#include "Forms.h"
#include "HelpTopics.h"
#include "HelpViewer.h"
#include "HtmlHelp.h"
#include "ModalAnswer.h"

namespace {

class HtmlHelpViewer : public testing::Test {
 protected:
  static void SetUpTestSuite() { Application.Initialize(); }
  void SetUp() override { CoInitialize(nullptr); }
  void TearDown() override {
    HtmlHelp::CloseHelp();
    CoUninitialize();
  }
  const std::string Chm = HostPath(USAGRAM_HELP_USAGRAM);
  const std::string QuorvelChm = HostPath(USAGRAM_HELP_QUORVEL);
};

TEST_F(HtmlHelpViewer, TheControlIsLoadedOnlyWhenHelpIsFirstAskedFor) {
  EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
  EXPECT_FALSE(HtmlHelp::IsLoaded());
  HtmlHelp::CloseHelp();  // nothing to close: still nothing loaded
  EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);

  ASSERT_TRUE(HtmlHelp::ShowPage(nullptr, Chm, "main-window.htm"));
  EXPECT_TRUE(HtmlHelp::IsLoaded());
  EXPECT_NE(GetModuleHandleA("hhctrl.ocx"), nullptr);
}

TEST_F(HtmlHelpViewer, APageAndTheContentsOpenTheViewerAndCloseHelpClosesIt) {
  ASSERT_TRUE(HtmlHelp::ShowPage(nullptr, Chm, "locations-window.htm"));
  EXPECT_EQ(HtmlHelp::LastRequest().Target, Chm + "::/locations-window.htm");
  PumpFor(300);
  HWND viewer = FindViewer("Usagram Help");
  ASSERT_NE(viewer, nullptr);

  ASSERT_TRUE(HtmlHelp::ShowContents(nullptr, Chm));
  EXPECT_EQ(HtmlHelp::LastRequest().Target, Chm);
  EXPECT_EQ(HtmlHelp::LastRequest().Command, 1u);  // HH_DISPLAY_TOC
  PumpFor(300);
  EXPECT_NE(FindViewer("Usagram Help"), nullptr);

  ASSERT_TRUE(HtmlHelp::ShowPage(nullptr, QuorvelChm));
  PumpFor(300);
  HWND quorvel = FindViewer("Quorvel");
  ASSERT_NE(quorvel, nullptr);

  HtmlHelp::CloseHelp();
  PumpFor(100);
  EXPECT_FALSE(IsWindow(viewer));
  EXPECT_FALSE(IsWindow(quorvel));
  EXPECT_FALSE(HtmlHelp::IsLoaded());
  EXPECT_EQ(GetModuleHandleA("hhctrl.ocx"), nullptr);
}

TEST_F(HtmlHelpViewer, AMissingHelpFileIsToldOnceByNameAndNoViewerIsLoaded) {
  const std::string missing = "Z:\\nowhere\\Usagram.chm";
  TModalAnswer answer(IDOK);
  EXPECT_FALSE(HtmlHelp::ShowPage(nullptr, missing, "main-window.htm"));
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Caption(), "Usagram");
  EXPECT_NE(answer.Text().find("Cannot find the help file Z:\\nowhere\\Usagram.chm."), std::string::npos)
      << answer.Text();
  EXPECT_FALSE(HtmlHelp::ShowContents(nullptr, missing));
  EXPECT_EQ(answer.Count(), 2);
  EXPECT_FALSE(HtmlHelp::IsLoaded());
}

TEST_F(HtmlHelpViewer, TheApplicationOpensAContextsPageAndAnUnknownContextOpensTheContents) {
  Application.HelpFile = Chm;
  ASSERT_TRUE(Application.HelpContext(7));
  EXPECT_EQ(HtmlHelp::LastRequest().Target, Chm + "::/simplification-window.htm");
  ASSERT_TRUE(Application.HelpContext(42));
  EXPECT_EQ(HtmlHelp::LastRequest().Target, Chm);
  EXPECT_EQ(HtmlHelp::LastRequest().Command, 1u);
  ASSERT_TRUE(Application.HelpContents());
  EXPECT_EQ(HtmlHelp::LastRequest().Command, 1u);
  Application.HelpFile.clear();
}

TEST_F(HtmlHelpViewer, TheCompiledFileHoldsEveryPageOfTheContextsWithItsTitle) {
  for (const THelpTopic& t : HelpTopics) {
    const std::string page = ReadCompiledPage(Chm, std::string(t.Page));
    ASSERT_FALSE(page.empty()) << t.Page << " is not in " << Chm;
    EXPECT_EQ(TitleOf(page), TitleOf(ReadText(HostPath(USAGRAM_HELP_SOURCES) + "\\usagram\\" + std::string(t.Page))));
  }
  EXPECT_TRUE(ReadCompiledPage(Chm, "no-such-page.htm").empty());
  EXPECT_EQ(TitleOf(ReadCompiledPage(QuorvelChm, "licence.htm")), "Usagram's licence");
}

}  // namespace
