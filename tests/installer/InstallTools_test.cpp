// Checking and unchecking the Delphi tool boxes and the expert boxes: what
// each writes and deletes, and that other programs' entries keep their
// order, names, values and types.
#include <map>

#include "InstallTestSupport.h"
#include "TransferList.h"

namespace installtest {
namespace {

class ToolEntries : public InstallerTest {
 protected:
  // Sets a box as a reading pass does: its handler does nothing.
  void Quietly(TCheckBox& box, bool checked) {
    TReadingHold hold(Form->Reading);
    box.SetChecked(checked);
  }
};
using ExpertEntries = InstallerTest;

const std::string Transfer3 = DelphiKey("3.0", "Transfer");

TValues OurEntry(int i, const std::string& exe) {
  const std::string n = std::to_string(i);
  return {{"Title" + n, "Usagram on current file"},
          {"Path" + n, exe},
          {"WorkingDir" + n, ""},
          {"Params" + n, "$EDNAME $SAVEALL"}};
}

TValues OtherEntry(int i, const std::string& what) {
  const std::string n = std::to_string(i);
  return {{"Title" + n, what}, {"Path" + n, "C:\\Tools\\" + what + ".exe"}, {"Params" + n, "-" + what}};
}

// The key's values as name=value, for comparing whole lists.
std::map<std::string, std::string> Values(const std::string& key) {
  std::map<std::string, std::string> out;
  for (const std::string& line : Snapshot(key)) {
    const size_t eq = line.find('='), colon = line.find(':', eq);
    out[line.substr(0, eq)] = line.substr(colon + 1);
  }
  return out;
}

std::map<std::string, std::string> Map(const TValues& values) { return {values.begin(), values.end()}; }

TValues operator+(TValues a, const TValues& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

TEST_F(ToolEntries, CheckingAppendsTheEntryOrRewritesItInPlace) {
  // An empty list gets Count 1 and the four values of entry 0.
  SetValues(Transfer3, {{"Count", "0"}});
  Open();
  ASSERT_TRUE(Form->OD3.Visible());
  Click(Form->OD3);
  EXPECT_EQ(Values(Transfer3), Map(TValues{{"Count", "1"}} + OurEntry(0, ExePath())));

  // Already there at index 2 of 4 (an older title): rewritten in place,
  // Count stays.
  DeleteTree("Software\\Borland\\Delphi\\3.0", "Transfer");
  TValues four = TValues{{"Count", "4"}} + OtherEntry(0, "a") + OtherEntry(1, "b") + OtherEntry(3, "d");
  SetValues(Transfer3, four + TValues{{"Title2", "Usagram (old)"}, {"Path2", ExePath()}, {"Params2", "x"}});
  Quietly(Form->OD3, false);  // as the user found it: no pass since the list changed
  Click(Form->OD3);
  EXPECT_EQ(Values(Transfer3), Map(four + OurEntry(2, ExePath())));

  // A negative Count, or none at all (Delphi made the key empty), is an
  // empty list.
  for (const TValues& start : {TValues{{"Count", "-3"}}, TValues{}}) {
    DeleteTree("Software\\Borland\\Delphi\\3.0", "Transfer");
    SetValues(Transfer3, start);
    Quietly(Form->OD3, false);
    Click(Form->OD3);
    EXPECT_EQ(Values(Transfer3), Map(TValues{{"Count", "1"}} + OurEntry(0, ExePath())));
  }
  EXPECT_TRUE(Errors.empty());
}

TEST_F(ToolEntries, UncheckingRemovesTheEntryAndRenumbersTheOthers) {
  // The last entry: its values go and Count drops; nothing is renamed.
  const TValues before = OtherEntry(0, "a") + OtherEntry(1, "b");
  SetValues(Transfer3, TValues{{"Count", "3"}} + before + OurEntry(2, ExePath()));
  Open();
  ASSERT_TRUE(Form->OD3.Checked());
  Click(Form->OD3);
  EXPECT_EQ(Values(Transfer3), Map(TValues{{"Count", "2"}} + before));

  // The first entry of three in the registry: the others move down with
  // their data and type (an expandable working directory stays one).
  DeleteTree("Software\\Borland\\Delphi\\3.0", "Transfer");
  SetValues(Transfer3, TValues{{"Count", "3"}} + OurEntry(0, ExePath()) + OtherEntry(1, "b") + OtherEntry(2, "c"));
  {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Transfer3, KEY_WRITE));
    const char dir[] = "%TEMP%\\c";
    RegSetValueExA(key, "WorkingDir2", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(dir), sizeof dir);
  }
  Form->ReadState();
  ASSERT_TRUE(Form->OD3.Checked());
  Click(Form->OD3);
  EXPECT_EQ(Values(Transfer3),
            Map(TValues{{"Count", "2"}} + OtherEntry(0, "b") + OtherEntry(1, "c") + TValues{{"WorkingDir1", "%TEMP%\\c"}}));
  const auto snapshot = Snapshot(Transfer3);
  EXPECT_NE(std::find(snapshot.begin(), snapshot.end(), "WorkingDir1=" + std::to_string(REG_EXPAND_SZ) + ":%TEMP%\\c"),
            snapshot.end());

  // Entry 0 of three in Delphi.INI: the others move down, an absent key
  // becomes an empty one, and no key of index 2 is left.
  SetIni(TValues{{"Count", "3"}} + OurEntry(0, ExePath()) + OtherEntry(1, "b") + OtherEntry(2, "c"));
  Form->ReadState();
  ASSERT_TRUE(Form->OD1.Checked());
  Click(Form->OD1);
  EXPECT_EQ(IniValue("Count"), "2");
  for (int i = 0; i < 2; ++i) {
    const std::string what = i == 0 ? "b" : "c";
    const std::string n = std::to_string(i);
    EXPECT_EQ(IniValue("Title" + n), what);
    EXPECT_EQ(IniValue("Path" + n), "C:\\Tools\\" + what + ".exe");
    EXPECT_EQ(IniValue("WorkingDir" + n), "");
    EXPECT_EQ(IniValue("Params" + n), "-" + what);
  }
  for (const std::string& key : IniKeys()) EXPECT_EQ(key.find('2'), std::string::npos) << key;
  EXPECT_TRUE(Errors.empty());
}

TEST_F(ToolEntries, OtherProgramsListsAreNeverDamaged) {
  // The entry vanished from the list since the last pass (another program
  // took it out): unchecking changes nothing.
  SetValues(Transfer3, TValues{{"Count", "2"}} + OurEntry(0, ExePath()) + OtherEntry(1, "b"));
  SetIni(TValues{{"Count", "2"}} + OurEntry(1, ExePath()) + OtherEntry(0, "a"));
  Open();
  ASSERT_TRUE(Form->OD3.Checked());
  ASSERT_TRUE(Form->OD1.Checked());
  DeleteTree("Software\\Borland\\Delphi\\3.0", "Transfer");
  const TValues others = TValues{{"Count", "2"}} + OtherEntry(0, "a") + OtherEntry(1, "b");
  SetValues(Transfer3, others);
  SetIni({{"Path1", "C:\\Tools\\b.exe"}});
  const auto iniBefore = IniKeys();
  Click(Form->OD3);
  Click(Form->OD1);
  EXPECT_EQ(Values(Transfer3), Map(others));
  EXPECT_EQ(IniKeys(), iniBefore);
  EXPECT_EQ(IniValue("Count"), "2");

  // A Count that is not a number: reported, nothing written.
  SetValues(Transfer3, {{"Count", "two"}});
  const auto beforeBad = Snapshot("Software");
  Quietly(Form->OD3, false);
  Click(Form->OD3);
  ASSERT_EQ(Errors.size(), 1u);
  EXPECT_NE(Errors[0].find("Delphi 3.0"), std::string::npos) << Errors[0];
  EXPECT_NE(Errors[0].find("two"), std::string::npos) << Errors[0];
  EXPECT_EQ(Snapshot("Software"), beforeBad);
  Errors.clear();
  // Nor when it is there but not text: entry 0 of another program is not
  // written over.
  DeleteTree("Software\\Borland\\Delphi\\3.0", "Transfer");
  SetValues(Transfer3, OtherEntry(0, "a"));
  {
    TRegKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, Transfer3, KEY_WRITE));
    const DWORD one = 1;
    RegSetValueExA(key, "Count", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof one);
  }
  const auto beforeDword = Snapshot("Software");
  Quietly(Form->OD3, false);
  Click(Form->OD3);
  EXPECT_EQ(Errors.size(), 1u);
  EXPECT_EQ(Snapshot("Software"), beforeDword);
  Errors.clear();

  // A Count far beyond the entries there: read and renumbered at once.
  DeleteTree("Software\\Borland\\Delphi\\3.0", "Transfer");
  SetValues(Transfer3, TValues{{"Count", "2000000000"}} + OurEntry(0, ExePath()) + OtherEntry(1, "b"));
  Form->ReadState();
  ASSERT_TRUE(Form->OD3.Checked());
  Click(Form->OD3);
  EXPECT_EQ(Values(Transfer3), Map(TValues{{"Count", "1999999999"}} + OtherEntry(0, "b")));

  // Delphi not installed: the message, and nothing written.
  RemoveIni();
  DeleteTree("Software", "Borland");
  for (auto [box, text] : {std::pair{&Form->OD3, "Delphi 3.0 doesn't seem to be installed."},
                           std::pair{&Form->OD2, "Delphi 2.0 doesn't seem to be installed."},
                           std::pair{&Form->OD1, "Delphi 1.0 doesn't seem to be installed."}}) {
    TModalAnswer answer(IDOK);
    Quietly(*box, false);
    Click(*box);
    EXPECT_EQ(answer.Count(), 1);
    EXPECT_EQ(answer.Text(), text);
    EXPECT_EQ(answer.Caption(), Application.Title);
  }
  EXPECT_FALSE(KeyExists("Software\\Borland"));
  EXPECT_EQ(IniValue("Count"), "<absent>");

  // While the guard is held (a reading pass), a click does nothing.
  SetValues(Transfer3, {{"Count", "0"}});
  Quietly(Form->OD3, false);
  Form->Reading = true;
  Click(Form->OD3);
  Form->Reading = false;
  EXPECT_EQ(Values(Transfer3), Map({{"Count", "0"}}));
  EXPECT_TRUE(Errors.empty());
}

TEST_F(ExpertEntries, EachBoxWritesAndDeletesItsOwnValue) {
  const std::string experts3 = DelphiKey("3.0", "Experts"), experts2 = DelphiKey("2.0", "Experts");
  SetValues(experts3, {{"Other", "C:\\other.dll"}});
  SetValues(experts2, {{"Other2", "C:\\other2.dll"}});
  Open();
  ASSERT_TRUE(Form->D3.Visible());
  ASSERT_TRUE(Form->D2.Visible());
  Click(Form->D3);
  Click(Form->D2);
  EXPECT_EQ(Values(experts3), Map({{"Other", "C:\\other.dll"}, {"Usagram_Expert", Dir + "\\Usagram_Expert.DLL"}}));
  EXPECT_EQ(Values(experts2), Map({{"Other2", "C:\\other2.dll"}, {"Usagram_Expert2", Dir + "\\Usagram_Expert2.DLL"}}));
  Form->ReadState();
  EXPECT_TRUE(Form->D3.Checked());
  EXPECT_TRUE(Form->D2.Checked());
  EXPECT_FALSE(Form->Reading);

  Click(Form->D3);
  Click(Form->D2);
  EXPECT_EQ(Values(experts3), Map({{"Other", "C:\\other.dll"}}));
  EXPECT_EQ(Values(experts2), Map({{"Other2", "C:\\other2.dll"}}));

  // Delphi 3 gone meanwhile: the message, no key made.
  DeleteTree("Software\\Borland\\Delphi", "3.0");
  TModalAnswer answer(IDOK);
  Click(Form->D3);
  EXPECT_EQ(answer.Count(), 1);
  EXPECT_EQ(answer.Text(), "Delphi 3.0 doesn't seem to be installed.");
  EXPECT_FALSE(KeyExists(experts3));
  EXPECT_TRUE(Errors.empty());
}

// The entry rules on their own, on both stores: an entry beyond Count is
// never the system's, whatever its path.
TEST_F(ToolEntries, FindingLooksOnlyBelowCount) {
  // "Path01" is no name of entry 1; "path2" is entry 2's, whatever the case.
  const TValues list = OtherEntry(0, "a") + OurEntry(1, ExePath()) + TValues{{"Path01", ExePath()}, {"path2", ExePath()}};
  SetValues(Transfer3, TValues{{"Count", "1"}} + list);
  SetIni(TValues{{"Count", "1"}} + list);
  TRegistryTransferList registry("3.0");
  TIniFile ini(Reg::DelphiIni);
  TIniTransferList profile(ini);
  for (TTransferList* list : {static_cast<TTransferList*>(&registry), static_cast<TTransferList*>(&profile)}) {
    ASSERT_TRUE(list->Open());
    EXPECT_EQ(FindTransferEntry(*list, 1, ExePath()), -1);
    EXPECT_EQ(FindTransferEntry(*list, 2, ExePath()), 1);
    list->Delete("Path1");
    EXPECT_EQ(FindTransferEntry(*list, 2, ExePath()), -1);
    EXPECT_EQ(FindTransferEntry(*list, 3, ExePath()), 2);
    int removed = 0;
    EXPECT_EQ(RemoveTransferEntry(*list, ExePath(), removed), TToolChange::NotFound);
    EXPECT_EQ(removed, -1);
  }
  EXPECT_EQ(Value(Transfer3, "Path2"), ExePath());
  EXPECT_EQ(IniValue("Path2"), ExePath());
}

}  // namespace
}  // namespace installtest
