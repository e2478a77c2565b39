// The Start-menu group: choosing its folder through the directory window
// (answered inside the window's modal loop), the four shell links read back
// through IShellLinkA, removing the group; and what closing the window writes
// or offers to delete.
#include <shlobj.h>

#include <functional>

#include "HostPath.h"
#include "InstallTestSupport.h"

#include <shellapi.h>
#include "uChaines.h"

namespace installtest {
namespace {

using StartMenuGroup = InstallerTest;
using Closing = InstallerTest;

struct TLink {
  std::string target, description;
};

// A link file as the shell reads it.
TLink ReadLink(const std::string& file) {
  TComPtr<IShellLinkA> link;
  TComPtr<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, link.PutVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, persist.PutVoid())))
    return {"<no shell link object>", ""};
  std::wstring wide(file.begin(), file.end());
  if (FAILED(persist->Load(wide.c_str(), STGM_READ))) return {"<unreadable>", ""};
  char target[MAX_PATH] = {}, description[INFOTIPSIZE] = {};
  link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
  link->GetDescription(description, INFOTIPSIZE);
  return {target, description};
}

// Answers the directory window: inside runs in its modal loop and answers.
class TFolderAnswer {
 public:
  explicit TFolderAnswer(std::function<void(TfRepertoire&)> inside)
      : answer_(
            [this, inside](HWND form) {
              if (!fRepertoire || form != fRepertoire->Handle()) return;
              ++Shown;
              Caption = fRepertoire->Caption();
              Opened = fRepertoire->Rep.Directory();
              inside(*fRepertoire);
            },
            "UsagramForm") {}
  int Shown = 0;
  std::string Caption, Opened;

 private:
  TModalAnswer answer_;
};

void Choose(TfRepertoire& w, const std::string& dir) {
  w.Rep.SetDirectory(dir);
  TModalAnswer::PostButton(w.Handle(), IDOK);
}

TEST_F(StartMenuGroup, ChosenFolderGetsTheGroupAndItsFourLinks) {
  const std::string parent = FreshDir("usagram-startmenu");
  ASSERT_TRUE(Exists(parent));
  Open();
  const std::string programs = Form->ProgramsDir;
  ASSERT_FALSE(programs.empty());  // the prefix's Start menu

  TFolderAnswer folder([&](TfRepertoire& w) { Choose(w, parent); });
  Click(Form->cbGroupe);
  EXPECT_EQ(folder.Shown, 1);
  EXPECT_EQ(folder.Caption, "Where putting Usagram group ?");
  EXPECT_TRUE(SameTextAscii(folder.Opened, programs)) << folder.Opened;
  const std::string group = parent + "\\Usagram";
  EXPECT_EQ(Form->ShortcutDir, group);
  EXPECT_TRUE(Exists(group));
  EXPECT_TRUE(Form->cbGroupe.Checked());
  EXPECT_TRUE(Form->Groupe.Visible());
  EXPECT_FALSE(Form->Reading);

  struct TRow {
    TCheckBox& box;
    const char* file;
    std::string target;
  };
  const TRow rows[] = {{Form->cbUsagram, "Usagram.LNK", ExePath()},
                       {Form->cbAide, "Help on Usagram.LNK", Dir + "\\Usagram.chm"},
                       {Form->cbQuorvel, "Help on Quorvel.LNK", Dir + "\\Quorvel.chm"},
                       {Form->cbInstall, "Installer-Uninstaller.LNK", Form->InstallerPath}};
  for (const TRow& row : rows) {
    ASSERT_TRUE(row.box.Visible()) << row.file;
    Click(row.box);
    EXPECT_TRUE(row.box.Checked()) << row.file;  // the pass after it found the link
    const TLink link = ReadLink(group + "\\" + row.file);
    EXPECT_TRUE(SameTextAscii(link.target, row.target)) << row.file << ": " << link.target;
    EXPECT_EQ(link.description, "truc") << row.file;
  }

  // One link taken away; then the group, with a file of the user's in it.
  Click(Form->cbAide);
  EXPECT_FALSE(Exists(group + "\\Help on Usagram.LNK"));
  EXPECT_TRUE(Exists(group + "\\Usagram.LNK"));
  TouchFile(group + "\\notes.txt");
  Click(Form->cbGroupe);
  for (const TRow& row : rows) EXPECT_FALSE(Exists(group + "\\" + row.file)) << row.file;
  EXPECT_TRUE(Exists(group + "\\notes.txt"));
  EXPECT_TRUE(Form->ShortcutDir.empty());
  EXPECT_FALSE(Form->cbGroupe.Checked());
  EXPECT_FALSE(Form->Groupe.Visible());

  // Again, on the emptied folder: this time it goes with the links.
  DeleteFileA((group + "\\notes.txt").c_str());
  TFolderAnswer again([&](TfRepertoire& w) { Choose(w, parent); });
  Click(Form->cbGroupe);
  Click(Form->cbUsagram);
  ASSERT_TRUE(Exists(group + "\\Usagram.LNK"));
  Click(Form->cbGroupe);
  EXPECT_FALSE(Exists(group));
  RemoveTree(parent);
  EXPECT_TRUE(Errors.empty());
}

// The top-level window of the HTML Help viewer (of any process) with that
// caption, waited for up to a few seconds.
HWND WaitForViewer(const std::string& caption) {
  struct TSearch {
    std::string Caption;
    HWND Found = nullptr;
  } search{caption};
  for (int i = 0; i < 100 && !search.Found; ++i) {
    EnumWindows(
        [](HWND w, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<TSearch*>(p);
          char cls[64] = {}, text[256] = {};
          GetClassNameA(w, cls, sizeof cls);
          GetWindowTextA(w, text, sizeof text);
          if (std::string(cls) == "HH Parent" && text == s->Caption && IsWindowVisible(w)) s->Found = w;
          return s->Found == nullptr;
        },
        reinterpret_cast<LPARAM>(&search));
    if (!search.Found) Sleep(100);
  }
  return search.Found;
}

TEST_F(StartMenuGroup, TheHelpShortcutsOpenTheirHelpFileInTheViewer) {
  // The help files as they ship, in place of the empty ones.
  ASSERT_TRUE(CopyFileA(HostPath(USAGRAM_HELP_USAGRAM).c_str(), (Dir + "\\Usagram.chm").c_str(), FALSE));
  ASSERT_TRUE(CopyFileA(HostPath(USAGRAM_HELP_QUORVEL).c_str(), (Dir + "\\Quorvel.chm").c_str(), FALSE));
  const std::string parent = FreshDir("usagram-startmenu-help");
  Open();
  TFolderAnswer folder([&](TfRepertoire& w) { Choose(w, parent); });
  Click(Form->cbGroupe);
  Click(Form->cbAide);
  Click(Form->cbQuorvel);
  const std::string group = parent + "\\Usagram";
  for (auto [file, caption] : {std::pair<const char*, const char*>{"Help on Usagram.LNK", "Usagram Help"},
                               {"Help on Quorvel.LNK", "Quorvel"}}) {
    const std::string link = group + "\\" + file;
    ASSERT_TRUE(Exists(link)) << link;
    // Opened as the Start menu opens it: the shell follows the link to the
    // .chm, which Windows gives to its HTML Help viewer (hh.exe).
    SHELLEXECUTEINFOA run{};
    run.cbSize = sizeof run;
    run.fMask = SEE_MASK_NOCLOSEPROCESS;
    run.lpFile = link.c_str();
    run.nShow = SW_SHOWNORMAL;
    ASSERT_TRUE(ShellExecuteExA(&run)) << file << ": " << GetLastError();
    HWND viewer = WaitForViewer(caption);
    EXPECT_NE(viewer, nullptr) << file << ": no viewer titled " << caption;
    if (viewer) PostMessageA(viewer, WM_CLOSE, 0, 0);
    if (run.hProcess) {
      if (WaitForSingleObject(run.hProcess, 5000) != WAIT_OBJECT_0) TerminateProcess(run.hProcess, 0);
      CloseHandle(run.hProcess);
    }
  }
  Click(Form->cbGroupe);
  RemoveTree(parent);
  EXPECT_TRUE(Errors.empty());
}

TEST_F(StartMenuGroup, CancellingTheChoiceMakesNothingAndARootTakesOneBackslash) {
  Open();
  const std::string programs = Form->ProgramsDir;
  const std::string expected = programs.substr(0, 3) + "Usagram";
  RemoveTree(expected);  // left by a run that was stopped
  TFolderAnswer cancel([](TfRepertoire& w) { w.BitBtn2.Click(); });
  Click(Form->cbGroupe);
  EXPECT_EQ(cancel.Shown, 1);
  EXPECT_FALSE(Form->cbGroupe.Checked());
  EXPECT_TRUE(Form->ShortcutDir.empty());
  EXPECT_FALSE(Form->Groupe.Visible());
  EXPECT_FALSE(Exists(programs + "\\Usagram"));

  // A drive root, highlighted with the Home key.
  TFolderAnswer root([](TfRepertoire& w) {
    SendMessageA(w.Rep.Handle(), WM_KEYDOWN, VK_HOME, 1);
    TModalAnswer::PostButton(w.Handle(), IDOK);
  });
  Click(Form->cbGroupe);
  EXPECT_EQ(Form->ShortcutDir, expected);
  EXPECT_TRUE(Exists(expected));
  Click(Form->cbGroupe);
  EXPECT_FALSE(Exists(expected));
  EXPECT_TRUE(Errors.empty());
}

TEST_F(Closing, WithSomethingInstalledSavesWhereTheSystemAndItsGroupAre) {
  const std::string disk = std::string(Reg::ProductKey) + "\\" + Reg::Disk;
  const std::string parent = FreshDir("usagram-startmenu");
  ASSERT_TRUE(Exists(parent));
  SetValues(DelphiKey("3.0", "Transfer"), {{"Count", "0"}});
  Open();
  Click(Form->OD3);
  {
    TFolderAnswer folder([&](TfRepertoire& w) { Choose(w, parent); });
    Click(Form->cbGroupe);
  }
  EXPECT_EQ(Close(IDYES), 0);  // nothing asked
  EXPECT_EQ(Value(disk, "Repertoire_Usagram"), Dir + "\\");
  EXPECT_EQ(Value(disk, "Repertoire_Raccourcis"), parent + "\\Usagram");

  // The next start reads the group back.
  Open();
  EXPECT_EQ(Form->ShortcutDir, parent + "\\Usagram");
  EXPECT_TRUE(Form->cbGroupe.Checked());
  Click(Form->cbGroupe);  // removes the group; Tool in Delphi 3 stays
  EXPECT_EQ(Close(IDYES), 0);
  EXPECT_EQ(Value(disk, "Repertoire_Raccourcis"), parent + "\\Usagram");  // left as it was
  RemoveTree(parent);
}

TEST_F(Closing, WithNothingInstalledOffersToDeleteTheSettings) {
  const std::string vendor = "Software\\Vantrelle";
  // No: the registry stays as it was.
  Open();
  const auto before = Snapshot(vendor);
  ASSERT_FALSE(before.empty());
  EXPECT_EQ(Close(IDNO), 1);
  EXPECT_EQ(Asked, "Do you want to delete your Usagram's parameters inthe registry ?");
  EXPECT_EQ(AskedCaption, "Uninstaller");
  EXPECT_EQ(Snapshot(vendor), before);

  // Yes, with another product of the vendor beside: only ours goes.
  SetValues(vendor + "\\Other", {{"x", "1"}});
  Open();
  EXPECT_EQ(Close(IDYES), 1);
  EXPECT_FALSE(KeyExists(Reg::ProductKey));
  EXPECT_TRUE(KeyExists(vendor + "\\Other"));

  // Yes, with a value of someone else's in the vendor's key: it stays.
  DeleteTree(vendor, "Other");
  SetValues(vendor, {{"Licence", "42"}});
  Open();
  EXPECT_EQ(Close(IDYES), 1);
  EXPECT_FALSE(KeyExists(Reg::ProductKey));
  EXPECT_EQ(Value(vendor, "Licence"), "42");

  // Yes, and nothing else there: the vendor's key goes too.
  DeleteTree("Software", "Vantrelle");
  Open();
  EXPECT_EQ(Close(IDYES), 1);
  EXPECT_FALSE(KeyExists(vendor));
}

}  // namespace
}  // namespace installtest
