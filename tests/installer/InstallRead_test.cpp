// The reading pass: which boxes are shown and checked for each state of the
// registry, "Delphi.INI" and the install directory; and that reading never
// installs or removes anything.
#include "InstallTestSupport.h"

namespace installtest {
namespace {

using ReadingPass = InstallerTest;

struct TSeen {
  bool shown, checked;
  bool operator==(const TSeen&) const = default;
};
TSeen Seen(const TCheckBox& b) { return {b.Visible(), b.Checked()}; }
void PrintTo(const TSeen& s, std::ostream* os) {
  *os << (s.shown ? "shown" : "hidden") << (s.checked ? "+checked" : "");
}

const TSeen Hidden{false, false}, Unchecked{true, false}, Checked{true, true};

TEST_F(ReadingPass, ShowsAndChecksWhatEachDelphiHolds) {
  // No Delphi at all: only the program group and the Start-menu box.
  Open();
  EXPECT_TRUE(KeyExists(std::string(Reg::ProductKey) + "\\" + Reg::Disk));  // made at start
  EXPECT_FALSE(Form->Experts.Visible());
  EXPECT_EQ(Seen(Form->D2), Hidden);
  EXPECT_EQ(Seen(Form->D3), Hidden);
  EXPECT_TRUE(Form->Programme.Visible());
  EXPECT_EQ(Seen(Form->OD1), Hidden);
  EXPECT_EQ(Seen(Form->OD2), Hidden);
  EXPECT_EQ(Seen(Form->OD3), Hidden);
  EXPECT_EQ(Seen(Form->cbGroupe), Unchecked);
  EXPECT_FALSE(Form->Groupe.Visible());

  // Delphi 1 only, another program's entry in its list. A section without
  // "Count" would not count.
  SetIni({{"Title0", "Other"}, {"Path0", "C:\\Other\\other.exe"}});
  Form->ReadState();
  EXPECT_EQ(Seen(Form->OD1), Hidden);
  SetIni({{"Count", "1"}});
  Form->ReadState();
  EXPECT_EQ(Seen(Form->OD1), Unchecked);
  EXPECT_EQ(Seen(Form->OD2), Hidden);
  EXPECT_FALSE(Form->Experts.Visible());

  // Delphi 2 and 3 with the system's entries: the Delphi 3 expert names a
  // library elsewhere that exists, a tool path differs in letter case only.
  const std::string elsewhere = FreshDir("usagram-elsewhere");
  ASSERT_TRUE(Exists(elsewhere));
  TouchFile(elsewhere + "\\Usagram_Expert.DLL");
  SetValues(DelphiKey("3.0", "Experts"), {{"Other", "C:\\x.dll"}, {"Usagram_Expert", elsewhere + "\\Usagram_Expert.DLL"}});
  SetValues(DelphiKey("2.0", "Experts"), {{"Usagram_Expert2", Dir + "\\Usagram_Expert2.DLL"}});
  std::string upper = ExePath();
  for (char& c : upper) c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
  SetValues(DelphiKey("3.0", "Transfer"),
            {{"Count", "2"}, {"Title0", "Other"}, {"Path0", "C:\\o.exe"}, {"Title1", "U"}, {"Path1", upper}});
  SetValues(DelphiKey("2.0", "Transfer"), {{"Count", "1"}, {"Path0", ExePath()}});
  SetIni({{"Count", "2"}, {"Path1", ExePath()}});
  const auto registryBefore = Snapshot("Software");
  Form->ReadState();
  EXPECT_TRUE(Form->Experts.Visible());
  EXPECT_EQ(Seen(Form->D2), Checked);
  EXPECT_EQ(Seen(Form->D3), Checked);
  EXPECT_EQ(Seen(Form->OD1), Checked);
  EXPECT_EQ(Seen(Form->OD2), Checked);
  EXPECT_EQ(Seen(Form->OD3), Checked);
  // Checking the boxes from the pass installed nothing.
  EXPECT_EQ(Snapshot("Software"), registryBefore);

  // The same keys without the system's entries: an expert library that is
  // gone, tool entries beyond Count, a Count that is not a number, a path
  // that is not a string.
  DeleteFileA((elsewhere + "\\Usagram_Expert.DLL").c_str());
  RemoveTree(elsewhere);
  SetValues(DelphiKey("2.0", "Experts"), {{"Usagram_Expert2", "<missing>"}});
  SetValues(DelphiKey("3.0", "Transfer"), {{"Count", "1"}});
  {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, DelphiKey("2.0", "Transfer"), KEY_WRITE));
    const std::string path = ExePath();
    RegSetValueExA(key, "Path0", 0, REG_BINARY, reinterpret_cast<const BYTE*>(path.c_str()),
                   static_cast<DWORD>(path.size() + 1));
  }
  SetIni({{"Count", "one"}, {"Path0", ExePath()}});
  Form->ReadState();
  EXPECT_EQ(Seen(Form->D2), Unchecked);
  EXPECT_EQ(Seen(Form->D3), Unchecked);
  EXPECT_EQ(Seen(Form->OD1), Unchecked);
  EXPECT_EQ(Seen(Form->OD2), Unchecked);
  EXPECT_EQ(Seen(Form->OD3), Unchecked);
  EXPECT_EQ(Value(DelphiKey("3.0", "Transfer"), "Path1"), upper);  // still there, beyond Count

  // Delphi 3's experts key removed while the window is open: the box hides
  // and keeps its state.
  SetValues(DelphiKey("3.0", "Experts"), {{"Usagram_Expert", Dir + "\\Usagram_Expert.DLL"}});
  Form->ReadState();
  EXPECT_EQ(Seen(Form->D3), Checked);
  DeleteTree("Software\\Borland\\Delphi\\3.0", "Experts");
  Form->ReadState();
  EXPECT_EQ(Seen(Form->D3), (TSeen{false, true}));
  EXPECT_TRUE(Errors.empty());
}

TEST_F(ReadingPass, MissingFilesHideTheBoxesThatWouldInstallThem) {
  SetValues(DelphiKey("3.0", "Experts"), {{"Usagram_Expert", Dir + "\\Usagram_Expert.DLL"}});
  SetValues(DelphiKey("3.0", "Transfer"), {{"Count", "1"}, {"Path0", ExePath()}});
  for (const char* f : {InstallFiles::Exe, InstallFiles::Expert, InstallFiles::Help})
    DeleteFileA((Dir + "\\" + f).c_str());
  const std::string group = FreshDir("usagram-group");
  ASSERT_TRUE(Exists(group));
  SetValues(std::string(Reg::ProductKey) + "\\" + Reg::Disk, {{"Repertoire_Raccourcis", group}});
  TouchFile(group + "\\Usagram.LNK");
  TouchFile(group + "\\Help on Quorvel.LNK");
  Open();
  EXPECT_FALSE(Form->Experts.Visible());
  EXPECT_EQ(Seen(Form->D3), Hidden);
  EXPECT_FALSE(Form->Programme.Visible());
  EXPECT_FALSE(Form->OD3.Checked());  // never read
  // The group read back from the last run: its folder exists.
  EXPECT_EQ(Form->ShortcutDir, group);
  EXPECT_EQ(Seen(Form->cbGroupe), Checked);
  EXPECT_TRUE(Form->Groupe.Visible());
  EXPECT_EQ(Seen(Form->cbUsagram), Hidden);
  EXPECT_EQ(Seen(Form->cbAide), Hidden);
  EXPECT_EQ(Seen(Form->cbQuorvel), Checked);
  EXPECT_EQ(Seen(Form->cbInstall), Unchecked);

  // The folder deleted from outside: the group box unchecks and hides.
  RemoveTree(group);
  Form->ReadState();
  EXPECT_EQ(Seen(Form->cbGroupe), Unchecked);
  EXPECT_FALSE(Form->Groupe.Visible());
}

TEST_F(ReadingPass, TheTimerReadsAndTheIndicatorBlinks) {
  Open();
  // The first pass turns the white circle off; then red and off in turn.
  EXPECT_EQ(Form->LED.BrushColor(), clBtnFace);
  Form->ReadState();
  EXPECT_EQ(Form->LED.BrushColor(), clRed);
  Form->ReadState();
  EXPECT_EQ(Form->LED.BrushColor(), clBtnFace);
  // A pass while the guard is held does nothing at all.
  Form->Reading = true;
  SetValues(DelphiKey("3.0", "Transfer"), {{"Count", "0"}});
  Form->ReadState();
  EXPECT_EQ(Form->LED.BrushColor(), clBtnFace);
  EXPECT_FALSE(Form->OD3.Visible());
  Form->Reading = false;

  // The timer's own pass, within about a second.
  EXPECT_TRUE(Form->TimerExpert.Enabled());
  EXPECT_EQ(Form->TimerExpert.Interval(), 1000u);
  const DWORD start = GetTickCount();
  while (!Form->OD3.Visible() && GetTickCount() - start < 3000) {
    Application.ProcessMessages();
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
  }
  EXPECT_TRUE(Form->OD3.Visible());
}

}  // namespace
}  // namespace installtest
