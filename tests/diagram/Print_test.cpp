#include <windows.h>
#include <winspool.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <vector>

#include "DiagramTestUtil.h"
#include "Output.h"
#include "Settings.h"

namespace diagtest {
namespace {

constexpr const char* PrinterName = "Usagram Test PostScript";
constexpr const char* DriverName = "Usagram Test PostScript Driver";

// A PostScript printer on "FILE:" (Wine's own driver and PPD), added to the
// prefix once. False where that cannot be done (then the tests skip).
bool InstallTestPrinter() {
  HANDLE existing = nullptr;
  if (OpenPrinterA(const_cast<char*>(PrinterName), &existing, nullptr)) {
    ClosePrinter(existing);
    return true;
  }
  HMODULE spool = LoadLibraryExA("winspool.drv", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!spool) return false;
  HRSRC found = FindResourceA(spool, MAKEINTRESOURCEA(1), "PPDFILE");
  HGLOBAL loaded = found ? LoadResource(spool, found) : nullptr;
  const void* ppd = loaded ? LockResource(loaded) : nullptr;
  const DWORD size = found ? SizeofResource(spool, found) : 0;
  char directory[MAX_PATH] = {};
  DWORD needed = 0;
  bool ok = ppd && size &&
            GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(directory), sizeof directory, &needed);
  if (ok) {
    std::ofstream out(std::string(directory) + "\\generic.ppd", std::ios::binary);
    out.write(static_cast<const char*>(ppd), size);
    ok = out.good();
  }
  FreeLibrary(spool);
  if (!ok) return false;

  DRIVER_INFO_3A driver{};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>(DriverName);
  driver.pDriverPath = const_cast<char*>("wineps.drv");
  driver.pDataFile = const_cast<char*>("generic.ppd");
  driver.pConfigFile = const_cast<char*>("wineps.drv");
  if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) return false;

  PRINTER_INFO_2A printer{};
  printer.pPrinterName = const_cast<char*>(PrinterName);
  printer.pPortName = const_cast<char*>("FILE:");
  printer.pDriverName = const_cast<char*>(DriverName);
  printer.pPrintProcessor = const_cast<char*>("WinPrint");
  printer.pDatatype = const_cast<char*>("RAW");
  HANDLE added = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&printer));
  if (!added) return false;
  ClosePrinter(added);
  return true;
}

// Takes the printer away again, so that no other test sees it.
void RemoveTestPrinter() {
  PRINTER_DEFAULTSA access{nullptr, nullptr, PRINTER_ALL_ACCESS};
  HANDLE printer = nullptr;
  if (OpenPrinterA(const_cast<char*>(PrinterName), &printer, &access)) {
    DeletePrinter(printer);
    ClosePrinter(printer);
  }
  DeletePrinterDriverA(nullptr, nullptr, const_cast<char*>(DriverName));
}

// The printer's default settings, as the print dialog would hand them over.
std::vector<char> DefaultDevMode() {
  HANDLE printer = nullptr;
  std::vector<char> mode;
  if (!OpenPrinterA(const_cast<char*>(PrinterName), &printer, nullptr)) return mode;
  const LONG size = DocumentPropertiesA(nullptr, printer, const_cast<char*>(PrinterName), nullptr, nullptr, 0);
  if (size > 0) {
    mode.resize(size);
    if (DocumentPropertiesA(nullptr, printer, const_cast<char*>(PrinterName), reinterpret_cast<DEVMODEA*>(mode.data()),
                            nullptr, DM_OUT_BUFFER) != IDOK)
      mode.clear();
  }
  ClosePrinter(printer);
  return mode;
}

class PrintTest : public DiagramTest {
 protected:
  static void TearDownTestSuite() { RemoveTestPrinter(); }
  void SetUp() override {
    DiagramTest::SetUp();
    if (!InstallTestPrinter()) GTEST_SKIP() << "no printer can be added here";
    DeleteProductKey();
    Settings = std::make_unique<TRegIniFile>(Reg::ProductKey);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    Output = std::string(temp) + "usagram_print_test.ps";
    DeleteFileA(Output.c_str());
  }
  void TearDown() override {
    Settings.reset();
    DeleteProductKey();
    DeleteFileA(Output.c_str());
    DiagramTest::TearDown();
  }
  // A context of the printer that writes its job to Output.
  HDC PrinterDC(DEVMODEA* mode) { return CreateDCA(nullptr, PrinterName, nullptr, mode); }
  std::string Printed() {
    std::ifstream in(Output, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }
  std::string Output;
};

TEST_F(PrintTest, WideDiagramTurnsAPortraitPage) {
  TFile* a = Add("Alpha", 0);
  TFile* p = Add("Project", 0);
  Uses(p, {a});
  TMetafile m = Compose();
  m.Width = 2700;
  m.Height = 1000;  // wider than high
  std::vector<char> buffer = DefaultDevMode();
  ASSERT_FALSE(buffer.empty());
  auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
  mode->dmOrientation = DMORIENT_PORTRAIT;
  mode->dmFields |= DM_ORIENTATION;
  HDC dc = PrinterDC(mode);
  ASSERT_NE(dc, nullptr);
  ASSERT_GT(GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, HORZRES));  // a tall page
  bool automatic = false;
  int asked = 0;
  ASSERT_TRUE(PrintDiagram(dc, mode, m, "Usagram", [&] { return ++asked == 1; }, automatic, Output));
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(automatic);
  EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
  EXPECT_GT(GetDeviceCaps(dc, HORZRES), GetDeviceCaps(dc, VERTRES));  // the context follows
  DeleteDC(dc);
  const std::string ps = Printed();
  EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
  EXPECT_NE(ps.find("Landscape"), std::string::npos);
}

TEST_F(PrintTest, TallDiagramTurnsALandscapePageBackAndFillsIt) {
  Add("Project", 0);
  TMetafile m = Compose();
  m.Width = 500;
  m.Height = 2000;  // taller than wide
  Reg::WriteAutoOrientation(*Settings, true);
  std::vector<char> buffer = DefaultDevMode();
  ASSERT_FALSE(buffer.empty());
  auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
  mode->dmOrientation = DMORIENT_LANDSCAPE;
  mode->dmFields |= DM_ORIENTATION;
  HDC dc = PrinterDC(mode);
  ASSERT_NE(dc, nullptr);
  int asked = 0;
  bool automatic = true;  // the menu item, checked
  ASSERT_TRUE(PrintDiagram(dc, mode, m, "Usagram", [&] { return ++asked > 0; }, automatic, Output));
  EXPECT_EQ(asked, 0);  // answered before
  EXPECT_EQ(mode->dmOrientation, DMORIENT_PORTRAIT);
  EXPECT_GT(GetDeviceCaps(dc, VERTRES), GetDeviceCaps(dc, HORZRES));
  DeleteDC(dc);
  const std::string ps = Printed();
  EXPECT_EQ(ps.rfind("%!PS", 0), 0u);
  EXPECT_NE(ps.find("Portrait"), std::string::npos);
  // The picture was played onto the page: outlines and text.
  EXPECT_NE(ps.find("stroke"), std::string::npos);
  EXPECT_NE(ps.find("show"), std::string::npos);
}

TEST_F(PrintTest, OrientationStaysWhenTheSettingIsOff) {
  Add("Project", 0);
  TMetafile m = Compose();
  m.Width = 2700;
  m.Height = 1000;
  Reg::WriteAutoOrientation(*Settings, false);
  std::vector<char> buffer = DefaultDevMode();
  ASSERT_FALSE(buffer.empty());
  auto* mode = reinterpret_cast<DEVMODEA*>(buffer.data());
  mode->dmOrientation = DMORIENT_PORTRAIT;
  mode->dmFields |= DM_ORIENTATION;
  HDC dc = PrinterDC(mode);
  ASSERT_NE(dc, nullptr);
  bool automatic = false;  // the menu item, unchecked
  ASSERT_TRUE(PrintDiagram(dc, mode, m, "Usagram", nullptr, automatic, Output));
  EXPECT_FALSE(automatic);
  EXPECT_EQ(mode->dmOrientation, DMORIENT_PORTRAIT);
  DeleteDC(dc);
  EXPECT_FALSE(PrintMetafile(nullptr, m.Handle(), "x"));
}

}  // namespace
}  // namespace diagtest
