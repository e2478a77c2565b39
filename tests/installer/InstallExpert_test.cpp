// From the installer to the IDE: an install directory laid out as it ships
// (scripts/install-layout.sh, with the real Usagram_Expert.dll), "for
// Delphi 3" checked in the installer's window, then the IDE's stand-in
// loading the library from Delphi 3's Experts key and opening the tool on a
// project; unchecked, and the stand-in loads nothing of ours.
#include "ExpertHostRun.h"
#include "HostPath.h"
#include "InstallTestSupport.h"
#include "ToolInHost.h"

namespace installtest {
namespace {

const std::string LayoutDir = HostPath(INSTALL_LAYOUT_DIR);
const std::string Host = HostPath(EXPERT_HOST);
const std::string Project = HostPath(USAGRAM_SAMPLES) + "\\Plain\\Plain.dpr";
const std::string Experts3 = DelphiKey("3.0", "Experts");

class InstallThenLoad : public InstallWindowTest {
 protected:
  void SetUp() override {
    InstallWindowTest::SetUp();
    LogFile = TempPath("usagram-install-host") + ".log";
    // Delphi 3 is installed: its key with an empty list of experts.
    SetValues(Experts3, {});
  }
  void TearDown() override {
    InstallWindowTest::TearDown();
    DeleteFileA(LogFile.c_str());
  }

  // The installer's window on the laid-out directory, the box clicked as a
  // user clicks it, the window closed (a question about the settings is
  // answered No); how many boxes were answered.
  int ClickInInstaller(TCheckBox TfInstall::*box, bool& checkedBefore) {
    auto form = std::make_unique<TfInstall>(LayoutDir);
    form->Show();
    Application.ProcessMessages();
    EXPECT_TRUE((form.get()->*box).Visible());
    checkedBefore = (form.get()->*box).Checked();
    Click(form.get()->*box);
    Application.ProcessMessages();
    TModalAnswer answer(IDNO);
    form.reset();
    return answer.Count();
  }

  // The host on the project with a click on our item; the main window's
  // caption once its analysis is done (empty when it never showed).
  hostrun::THostRun RunHost(std::string& caption) {
    return hostrun::RunExpertHost(Host, LogFile, "--click ViewUsagramItem \"" + Project + "\"", "project", 1,
                                  [&](const PROCESS_INFORMATION& pi, HWND) {
                                    if (HWND main = hostrun::WaitForDiagram(pi)) caption = hostrun::TextOf(main);
                                  });
  }

  std::string LogFile;
};

TEST_F(InstallThenLoad, CheckedForDelphi3TheIdeLoadsTheLibraryAndOpensTheToolUncheckedNothingOfOurs) {
  const std::string library = LayoutDir + "\\" + InstallFiles::Expert;
  ASSERT_TRUE(Exists(library)) << "lay out " << LayoutDir << " first";

  bool wasChecked = true;
  EXPECT_EQ(ClickInInstaller(&TfInstall::D3, wasChecked), 0);  // something stays installed: no question
  EXPECT_FALSE(wasChecked);
  EXPECT_EQ(Value(Experts3, Reg::Expert3Value), library);

  std::string caption;
  const hostrun::THostRun loaded = RunHost(caption);
  EXPECT_TRUE(loaded.Has({"load", library}));
  EXPECT_TRUE(loaded.Has({"register", "Vantrelle.Usagram", "Usagram_Expert", "3"}));
  EXPECT_TRUE(loaded.Has({"click", "ViewUsagramItem"}));
  EXPECT_EQ(caption, "Usagram - " + Project);
  EXPECT_TRUE(loaded.Events("raise").empty());
  hostrun::ExpectCleanEnd(loaded);

  EXPECT_EQ(ClickInInstaller(&TfInstall::D3, wasChecked), 1);  // nothing installed: keep the settings? No
  EXPECT_TRUE(wasChecked);
  EXPECT_EQ(Value(Experts3, Reg::Expert3Value), "<absent>");

  const hostrun::THostRun unloaded = hostrun::RunExpertHost(Host, LogFile, "\"" + Project + "\"");
  EXPECT_TRUE(unloaded.Events("load").empty());
  EXPECT_TRUE(unloaded.Events("register").empty());
  EXPECT_TRUE(unloaded.Events("insert").empty());
  hostrun::ExpectCleanEnd(unloaded);
  EXPECT_TRUE(Errors.empty());
}

}  // namespace
}  // namespace installtest
