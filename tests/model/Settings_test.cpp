#include <cwchar>
#include <functional>

#include "ModelTestUtil.h"

using namespace modeltest;

namespace {

// Each test starts from a product key that does not exist.
class Store : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    ClearRegistry();
  }
  void TearDown() override {
    ClearRegistry();
    ModelTest::TearDown();
  }
  static std::string TempPath() {
    char buffer[MAX_PATH + 1];
    DWORD n = GetTempPathA(MAX_PATH, buffer);
    return std::string(buffer, n);
  }
  // Reads a value straight from the registry by its UTF-16 names.
  static bool RawString(const wchar_t* section, const wchar_t* ident, std::wstring& value) {
    std::wstring path = std::wstring(L"Software\\Vantrelle\\Usagram\\") + section;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    wchar_t buffer[512];
    DWORD size = sizeof buffer, type = 0;
    LONG rc = RegQueryValueExW(key, ident, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (rc != ERROR_SUCCESS || type != REG_SZ) return false;
    value.assign(buffer, wcsnlen(buffer, size / sizeof(wchar_t)));
    return true;
  }
  // A value of any type, as another program or a person with regedit may
  // have left it.
  static void RawValue(const wchar_t* section, const wchar_t* ident, DWORD type, const void* data, DWORD size) {
    std::wstring path = std::wstring(L"Software\\Vantrelle\\Usagram\\") + section;
    HKEY key;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    RegSetValueExW(key, ident, 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(key);
  }
  static void RawDword(const wchar_t* section, const wchar_t* ident, DWORD value) {
    RawValue(section, ident, REG_DWORD, &value, sizeof value);
  }
};

}  // namespace

TEST_F(Store, ColourTextsParseByComponentKeepingTheLowBits) {
  EXPECT_EQ(StrToColour("255,128,0"), RGB(255, 128, 0));
  EXPECT_EQ(StrToColour("255"), RGB(255, 0, 0));
  EXPECT_EQ(StrToColour("0,128,300"), RGB(0, 128, 44));
  EXPECT_EQ(StrToColour("#"), RGB(0, 0, 0));
  EXPECT_EQ(StrToColour(""), RGB(0, 0, 0));
  EXPECT_EQ(StrToColour("x,7,y"), RGB(0, 7, 0));
  EXPECT_EQ(StrToColour("1,2,3,4"), RGB(1, 2, 0));  // "3,4" is not a number
  EXPECT_EQ(StrToColour("-1,,256"), RGB(255, 0, 0));
  EXPECT_EQ(ColourToStr(RGB(255, 128, 0)), "255,128,0");
  EXPECT_EQ(StrToColour(ColourToStr(RGB(9, 99, 199))), RGB(9, 99, 199));
}

TEST_F(Store, AccentedNamesLandAsTheSameCharactersInTheRegistry) {
  TRegIniFile store(Reg::ProductKey);
  ASSERT_TRUE(store.IsOpen());
  store.WriteString(Reg::BasicUnits, Reg::Title, "Unités élémentaires");
  store.WriteString(Reg::Disk, Reg::ImagesDirectory, "C:\\Données\\Images\\");
  store.WriteColour(Reg::Locations, Reg::NotFoundColour, RGB(1, 2, 3));
  std::wstring value;
  ASSERT_TRUE(RawString(L"Unit\u00e9s de base", L"Titre", value));
  EXPECT_EQ(value, L"Unit\u00e9s \u00e9l\u00e9mentaires");
  ASSERT_TRUE(RawString(L"Disque", L"R\u00e9pertoireImages", value));
  EXPECT_EQ(value, L"C:\\Donn\u00e9es\\Images\\");
  ASSERT_TRUE(RawString(L"Localisations", L"Couleur pour fichier non trouv\u00e9", value));
  EXPECT_EQ(value, L"1,2,3");
  // And back through a second object on the same key.
  TRegIniFile second(Reg::ProductKey);
  EXPECT_EQ(second.ReadString(Reg::BasicUnits, Reg::Title, "?"), "Unités élémentaires");
  EXPECT_EQ(second.ReadString(Reg::Disk, Reg::ImagesDirectory, "?"), "C:\\Données\\Images\\");
  EXPECT_EQ(second.ReadColour(Reg::Locations, Reg::NotFoundColour), RGB(1, 2, 3));
}

TEST_F(Store, ReadersGiveTheirDefaultForMissingOrMalformedValues) {
  TRegIniFile store(Reg::ProductKey);
  EXPECT_EQ(store.ReadString("Nowhere", "x", "#"), "#");
  EXPECT_EQ(store.ReadInteger("Nowhere", "x", -1), -1);
  EXPECT_TRUE(store.ReadBool("Nowhere", "x", true));
  EXPECT_EQ(store.ReadColour("Nowhere", "x"), RGB(0, 0, 0));
  EXPECT_FALSE(store.ValueExists("Nowhere", "x"));

  store.WriteInteger(Reg::Locations, Reg::Count, -7);
  EXPECT_EQ(store.ReadInteger(Reg::Locations, Reg::Count, 3), -7);
  for (const char* bad : {"", "12a", "5 5", "five", "99999999999"}) {
    store.WriteString("S", "n", bad);
    EXPECT_EQ(store.ReadInteger("S", "n", 42), 42) << bad;
  }
  store.WriteString("S", "n", " 5\t");  // typed by hand: the blanks do not matter
  EXPECT_EQ(store.ReadInteger("S", "n", 42), 5);
  store.WriteBool("S", "b", false);
  EXPECT_EQ(store.ReadString("S", "b", "?"), "0");
  EXPECT_FALSE(store.ReadBool("S", "b", true));
  store.WriteBool("S", "b", true);
  EXPECT_EQ(store.ReadString("S", "b", "?"), "1");
  EXPECT_TRUE(store.ReadBool("S", "b", false));
  // Any number but 0 is true, as it was meant; text that is no number reads
  // as the default.
  for (const char* yes : {"2", "-1", " 1 "}) {
    store.WriteString("S", "b", yes);
    EXPECT_TRUE(store.ReadBool("S", "b", false)) << yes;
  }
  store.WriteString("S", "b", " 0");
  EXPECT_FALSE(store.ReadBool("S", "b", true));
  for (const char* bad : {"true", "", "1x"}) {
    store.WriteString("S", "b", bad);
    EXPECT_TRUE(store.ReadBool("S", "b", true)) << bad;
    EXPECT_FALSE(store.ReadBool("S", "b", false)) << bad;
  }
  // A number stored as such (REG_DWORD) reads as its decimal text.
  RawDword(L"S", L"d", 1);
  EXPECT_EQ(store.ReadString("S", "d", "def"), "1");
  EXPECT_EQ(store.ReadInteger("S", "d", 5), 1);
  EXPECT_TRUE(store.ReadBool("S", "d", false));
  EXPECT_TRUE(store.ValueExists("S", "d"));
  store.DeleteValue("S", "d");
  EXPECT_FALSE(store.ValueExists("S", "d"));
}

TEST_F(Store, HandEditedValuesKeepEveryStoredNameAndLocation) {
  const wchar_t* basics = L"Unit\u00e9s de base";
  // How the count of four stored basic units may have been left.
  const std::function<void(TRegIniFile&)> counts[] = {
      [](TRegIniFile& raw) { raw.WriteString(Reg::BasicUnits, Reg::Count, " 4"); },
      [](TRegIniFile& raw) { raw.WriteString(Reg::BasicUnits, Reg::Count, "4abc"); },
      [basics](TRegIniFile&) { RawDword(basics, L"Nombre", 4); },
      [](TRegIniFile& raw) { raw.WriteString(Reg::BasicUnits, Reg::Count, "65537"); },
  };
  for (size_t c = 0; c < std::size(counts); ++c) {
    SCOPED_TRACE("count case " + std::to_string(c));
    ResetModelState();
    ClearRegistry();
    TTempDir dir;
    {
      TRegIniFile raw(Reg::ProductKey);
      counts[c](raw);
      raw.WriteString(Reg::BasicUnits, "Base 0", "Forms");
      raw.WriteString(Reg::BasicUnits, "Base 1", "SysUtils");
      const wchar_t multi[] = L"Classes\0Other\0";  // the first string is the name
      RawValue(basics, L"Base 2", REG_MULTI_SZ, multi, sizeof multi);
      const wchar_t expand[] = L"Windows";
      RawValue(basics, L"Base 3", REG_EXPAND_SZ, expand, sizeof expand);
      // Fifty locations announced, one stored, its flags as numbers and padded text.
      raw.WriteString(Reg::Locations, Reg::Count, "50");
      raw.WriteString(Reg::Locations, "Localisation 0", dir / "lib");
      RawDword(L"Localisations", L"ActiveLocalisation 0", 1);
      raw.WriteString(Reg::Locations, "BaseLocalisation 0", " 1 ");
    }
    LoadGlobalSettings();
    SetCurrentDirectoryA(dir.Path().c_str());
    LoadLocations();
    ASSERT_EQ(BasicUnitCount, 4);
    EXPECT_EQ((std::vector<std::string>(BasicUnits, BasicUnits + 4)),
              (std::vector<std::string>{"Forms", "SysUtils", "Classes", "Windows"}));
    ASSERT_EQ(LocationCount, 2);
    EXPECT_EQ(Locations[0]->Path, dir / "lib");
    EXPECT_TRUE(Locations[0]->Active);
    EXPECT_TRUE(Locations[0]->Basic);
    SaveGlobalSettings();
    // Written back saying as much as was stored, readable as before.
    TRegIniFile raw(Reg::ProductKey);
    EXPECT_EQ(raw.ReadString(Reg::BasicUnits, Reg::Count, "?"), "4");
    const char* names[] = {"Forms", "SysUtils", "Classes", "Windows"};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(raw.ReadString(Reg::BasicUnits, Numbered("Base ", i), "?"), names[i]);
    EXPECT_EQ(raw.ReadString(Reg::Locations, Reg::Count, "?"), "1");
    EXPECT_EQ(raw.ReadString(Reg::Locations, "Localisation 0", "?"), dir / "lib");
    EXPECT_EQ(raw.ReadString(Reg::Locations, "ActiveLocalisation 0", "?"), "1");
    EXPECT_EQ(raw.ReadString(Reg::Locations, "BaseLocalisation 0", "?"), "1");
  }
}

TEST_F(Store, AFreshKeyLoadsTheDefaults) {
  BasicUnitsColour = RGB(1, 1, 1);
  MSWord95 = false;
  LoadGlobalSettings();
  ASSERT_NE(Settings, nullptr);
  EXPECT_EQ(BasicUnitCount, 0);
  EXPECT_EQ(BasicUnitsColour, RGB(0, 0, 0));
  EXPECT_EQ(NotFoundColour, RGB(0, 0, 0));
  EXPECT_EQ(ImagesDirectory, TempPath());
  EXPECT_EQ(ImagesDirectory.back(), '\\');
  EXPECT_TRUE(MSWord95);
  TTempDir dir;
  SetCurrentDirectoryA(dir.Path().c_str());
  LoadLocations();
  ASSERT_EQ(LocationCount, 1);
  EXPECT_EQ(Locations[0]->Path, dir.Path());
  EXPECT_EQ(Locations[0]->Colour, RGB(0, 0, 0));
  EXPECT_TRUE(Locations[0]->Active);
  EXPECT_FALSE(Locations[0]->Basic);
  EXPECT_TRUE(LocationsLoaded);
}

TEST_F(Store, GlobalSettingsSurviveASaveAndALoad) {
  LoadGlobalSettings();
  TTempDir dir;
  SetCurrentDirectoryA(dir.Path().c_str());
  LoadLocations();
  ASSERT_EQ(AddLocation(-1, dir / "lib", false), 0);
  Locations[0]->Colour = RGB(0, 128, 255);
  Locations[0]->Basic = true;
  Locations[1]->Colour = RGB(5, 6, 7);
  ASSERT_EQ(AddLocation(-1, dir / "off", false), 1);
  Locations[1]->Active = false;
  AddBasicUnit("SysUtils");
  AddBasicUnit("Windows");
  BasicUnitsColour = RGB(10, 0, 0);
  NotFoundColour = RGB(0, 0, 20);
  ImagesDirectory = "C:\\Images\\";
  MSWord95 = false;
  SaveGlobalSettings();
  EXPECT_EQ(Settings, nullptr);
  EXPECT_EQ(LocationCount, 0);
  EXPECT_EQ(Locations[0], nullptr);
  EXPECT_EQ(BasicUnitCount, 0);
  EXPECT_FALSE(LocationsLoaded);

  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Nombre", "?"), "2");
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Localisation 0", "?"), dir / "lib");
  EXPECT_EQ(raw.ReadString(Reg::Locations, "BaseLocalisation 0", "?"), "1");
  EXPECT_EQ(raw.ReadString(Reg::Locations, "ActiveLocalisation 1", "?"), "0");
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Couleur 0", "?"), "0,128,255");
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Couleur pour répertoire courant", "?"), "5,6,7");
  EXPECT_FALSE(raw.ValueExists(Reg::Locations, "Localisation 2"));  // "." has only its colour
  EXPECT_EQ(raw.ReadString(Reg::BasicUnits, "Base 1", "?"), "Windows");
  EXPECT_EQ(raw.ReadString(Reg::Options, "MSWord95", "?"), "0");

  LoadGlobalSettings();
  LoadLocations();
  EXPECT_EQ(BasicUnitCount, 2);
  EXPECT_EQ(BasicUnits[0], "SysUtils");
  EXPECT_EQ(BasicUnitsColour, RGB(10, 0, 0));
  EXPECT_EQ(NotFoundColour, RGB(0, 0, 20));
  EXPECT_EQ(ImagesDirectory, "C:\\Images\\");
  EXPECT_FALSE(MSWord95);
  ASSERT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[0]->Path, dir / "lib");
  EXPECT_TRUE(Locations[0]->Basic);
  EXPECT_TRUE(Locations[0]->Active);
  EXPECT_FALSE(Locations[1]->Active);
  EXPECT_EQ(Locations[0]->Colour, RGB(0, 128, 255));
  EXPECT_EQ(Locations[2]->Colour, RGB(5, 6, 7));
}

TEST_F(Store, BasicUnitCountIsClampedAndNamesBeyondItStayUnused) {
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::BasicUnits, Reg::Count, 60);
    for (int i = 0; i < 60; ++i) raw.WriteString(Reg::BasicUnits, Numbered("Base ", i), Numbered("N", i));
  }
  LoadGlobalSettings();
  EXPECT_EQ(BasicUnitCount, 50);
  EXPECT_EQ(BasicUnits[49], "N49");
  EXPECT_EQ(BasicUnits[50], "");
  SaveGlobalSettings();
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadInteger(Reg::BasicUnits, Reg::Count, 0), 50);
  EXPECT_EQ(raw.ReadString(Reg::BasicUnits, "Base 59", "?"), "N59");

  // A missing name is skipped, not made up.
  raw.WriteInteger(Reg::BasicUnits, Reg::Count, 3);
  raw.DeleteValue(Reg::BasicUnits, "Base 1");
  LoadGlobalSettings();
  EXPECT_EQ(BasicUnitCount, 2);
  EXPECT_EQ(BasicUnits[1], "N2");
  Settings.reset();
  // A count that cannot be read counts the names up to the first gap; a
  // negative one must not wrap round in the 16-bit counter.
  for (const char* count : {"-5", "lots"}) {
    raw.WriteString(Reg::BasicUnits, Reg::Count, count);
    LoadGlobalSettings();
    EXPECT_EQ(BasicUnitCount, 1) << count;
    Settings.reset();
  }
}

TEST_F(Store, InvalidLocationCountFallsBackToCounting) {
  TTempDir dir;
  for (const char* count : std::initializer_list<const char*>{"101", nullptr, "-1", "abc"}) {
    ResetModelState();
    ClearRegistry();
    {
      TRegIniFile raw(Reg::ProductKey);
      if (count) raw.WriteString(Reg::Locations, Reg::Count, count);
      for (int i = 0; i < 5; ++i) raw.WriteString(Reg::Locations, Numbered("Localisation ", i), dir / std::to_string(i));
      raw.WriteString(Reg::Locations, "Localisation 6", dir / "after-gap");
      raw.WriteBool(Reg::Locations, "ActiveLocalisation 2", true);
      raw.WriteBool(Reg::Locations, "BaseLocalisation 3", true);
    }
    LoadGlobalSettings();
    SetCurrentDirectoryA(dir.Path().c_str());
    LoadLocations();
    SCOPED_TRACE(count ? count : "absent");
    ASSERT_EQ(LocationCount, 6);
    EXPECT_EQ(Locations[4]->Path, dir / "4");
    EXPECT_EQ(Locations[5]->Path, dir.Path());
    // Missing flags load inactive and not basic.
    EXPECT_FALSE(Locations[0]->Active);
    EXPECT_FALSE(Locations[0]->Basic);
    EXPECT_TRUE(Locations[2]->Active);
    EXPECT_TRUE(Locations[3]->Basic);
  }
}

TEST_F(Store, LocationCountBeyondTheStoredDirectoriesSkipsTheMissingOnes) {
  TTempDir dir;
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::Locations, Reg::Count, 4);
    raw.WriteString(Reg::Locations, "Localisation 0", dir / "a");
    raw.WriteBool(Reg::Locations, "ActiveLocalisation 0", true);
    raw.WriteColour(Reg::Locations, "Couleur 0", RGB(1, 2, 3));
    raw.WriteString(Reg::Locations, "Localisation 2", dir / "c");
    raw.WriteColour(Reg::Locations, "Couleur 2", RGB(4, 5, 6));
  }
  LoadGlobalSettings();
  SetCurrentDirectoryA(dir.Path().c_str());
  LoadLocations();
  ASSERT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[0]->Colour, RGB(1, 2, 3));
  EXPECT_TRUE(Locations[0]->Active);
  EXPECT_EQ(Locations[1]->Path, dir / "c");
  EXPECT_EQ(Locations[1]->Colour, RGB(4, 5, 6));
  EXPECT_FALSE(Locations[1]->Active);
  EXPECT_EQ(Locations[2]->Path, dir.Path());
  // Loading acts once only.
  ASSERT_EQ(AddLocation(-1, dir / "new", false), 2);
  LoadLocations();
  EXPECT_EQ(LocationCount, 4);
}

TEST_F(Store, AHundredStoredLocationsLoadNinetyNine) {
  TTempDir dir;
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::Locations, Reg::Count, 100);
    for (int i = 0; i < 100; ++i) raw.WriteString(Reg::Locations, Numbered("Localisation ", i), dir / std::to_string(i));
  }
  LoadGlobalSettings();
  LoadLocations();
  ASSERT_EQ(LocationCount, 100);
  EXPECT_EQ(Locations[98]->Path, dir / "98");
  EXPECT_EQ(Locations[99]->Path, StartDir);
  EXPECT_EQ(Locations[100], nullptr);
}

TEST_F(Store, SavingWithoutAnAnalysisKeepsTheStoredLocationCount) {
  TTempDir dir;
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::Locations, Reg::Count, 1);
    raw.WriteString(Reg::Locations, "Localisation 0", dir / "kept");
    // Left over from a longer list the user shortened.
    raw.WriteString(Reg::Locations, "Localisation 1", dir / "deleted");
  }
  LoadGlobalSettings();
  SaveGlobalSettings();
  LoadGlobalSettings();
  LoadLocations();
  ASSERT_EQ(LocationCount, 2);
  EXPECT_EQ(Locations[0]->Path, dir / "kept");
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadInteger(Reg::Locations, Reg::Count, -9), 1);
}

TEST_F(Store, BasicUnitsBoxKeepsItsTitleAndHiddenMark) {
  {
    TUBase box;  // no store open: defaults, nothing written
    EXPECT_EQ(box.Name, "Basic units");
    EXPECT_FALSE(box.Hidden);
    EXPECT_EQ(box.Location, -2);
    EXPECT_TRUE(box.Analysed);
    EXPECT_FALSE(box.Found);
    EXPECT_EQ(box.InterfaceUses, nullptr);
    EXPECT_EQ(box.ImplementationUses, nullptr);
    box.Name = "lost";
  }
  LoadGlobalSettings();
  {
    TUBase box;
    EXPECT_EQ(box.Name, "Basic units");
    box.Name = "Unités système";
    box.Hidden = true;
  }
  TUBase again;
  EXPECT_EQ(again.Name, "Unités système");
  EXPECT_TRUE(again.Hidden);
  EXPECT_EQ(Settings->ReadString(Reg::BasicUnits, Reg::Hide, "?"), "1");
}

TEST_F(Store, StartAndEndRunOnceAndWriteBack) {
  UsagramInitialise();
  ASSERT_NE(Settings, nullptr);
  TRegIniFile* first = Settings.get();
  UsagramInitialise();
  EXPECT_EQ(Settings.get(), first);
  BasicUnitsColour = RGB(0, 99, 0);
  TTempDir dir;
  dir.Write("Solo.pas", UnitText("Solo", {}));
  AnalyseProjectFile(dir / "Solo.pas");
  ASSERT_NE(UBase, nullptr);
  UBase->Name = "Runtime";
  UsagramFinalise();
  EXPECT_EQ(Settings, nullptr);
  EXPECT_EQ(FileArray, nullptr);
  EXPECT_EQ(UBase, nullptr);
  UsagramFinalise();  // a second end does nothing
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Couleur pour unités de base", "?"), "0,99,0");
  EXPECT_EQ(raw.ReadString(Reg::BasicUnits, "Titre", "?"), "Runtime");
  EXPECT_EQ(raw.ReadInteger(Reg::Locations, Reg::Count, -9), 0);
}

TEST_F(Store, EndingTheProcessMidRunStillFreesTheModelBeforeTheStore) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        LoadGlobalSettings();
        UBase = std::make_unique<TUBase>();
        UBase->Name = "Written at exit";
        FileArray = std::make_unique<TFileArray>(true);
        FatalError("stop here");
      },
      testing::ExitedWithCode(1), "");
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString(Reg::BasicUnits, Reg::Title, "?"), "Written at exit");
}

TEST_F(Store, CancellingTheRoomWarningSavesTheSettingsBeforeTheProgramEnds) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  TTempDir dir;
  std::vector<std::string> names;
  for (int i = 0; i < 1001; ++i) names.push_back(Numbered("N", i));
  dir.Write("Big.dpr", ProgramText("Big", names));
  EXPECT_EXIT(
      {
        UsagramInitialise();
        AddBasicUnit("Forms");
        BasicUnitsColour = RGB(1, 2, 3);
        Recorder.Answer = false;  // Cancel
        AnalyseProjectFile(dir / "Big.dpr");
      },
      testing::ExitedWithCode(StopExitCode), "");
  TRegIniFile raw(Reg::ProductKey);
  EXPECT_EQ(raw.ReadString(Reg::BasicUnits, "Base 0", "?"), "Forms");
  EXPECT_EQ(raw.ReadString(Reg::Locations, "Couleur pour unités de base", "?"), "1,2,3");
  EXPECT_EQ(raw.ReadString(Reg::Locations, Reg::Count, "?"), "0");
}

TEST_F(Store, LocationsAddedBeforeTheFirstLoadAreKept) {
  TTempDir dir;
  {
    TRegIniFile raw(Reg::ProductKey);
    raw.WriteInteger(Reg::Locations, Reg::Count, 1);
    raw.WriteString(Reg::Locations, "Localisation 0", dir / "stored");
  }
  LoadGlobalSettings();
  ASSERT_EQ(AddLocation(-1, dir / "early", false), 0);
  ASSERT_EQ(AddLocation(-1, dir / "stored", false), 1);  // also stored: loaded once only
  Locations[0]->Colour = RGB(4, 5, 6);
  SetCurrentDirectoryA(dir.Path().c_str());
  LoadLocations();
  ASSERT_EQ(LocationCount, 3);
  EXPECT_EQ(Locations[0]->Path, dir / "stored");
  EXPECT_EQ(Locations[1]->Path, dir / "early");
  EXPECT_EQ(Locations[1]->Colour, RGB(4, 5, 6));
  EXPECT_TRUE(Locations[1]->Active);
  EXPECT_EQ(Locations[2]->Path, dir.Path());
}
