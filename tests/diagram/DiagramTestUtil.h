// Shared fixtures of the diagram tests: a hand-built model, the options the
// drawing reads, and the records of a metafile.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Compose.h"
#include "Draw.h"
#include "Globales.h"
#include "Layout.h"
#include "Metafile.h"
#include "Units.h"

namespace diagtest {

// The records of an enhanced metafile, copied out.
struct TRecord {
  DWORD Type = 0;
  std::vector<DWORD> Params;
};
std::vector<TRecord> ReadRecords(HENHMETAFILE metafile);
int CountRecords(const std::vector<TRecord>& records, DWORD type);
// The strings of the text records (EMR_EXTTEXTOUTW), in order, as code page 1252.
std::vector<std::string> TextsDrawn(HENHMETAFILE metafile);

// Options returned by the source that the tests install.
extern TSimplification TestOptions;

// Records the host calls in order.
struct TRecordingHost : TDiagramHost {
  std::vector<std::string> Calls;
  int Shown = 0;
  void EnableMenus(bool enabled) override { Calls.push_back(enabled ? "menus on" : "menus off"); }
  void SetHourglass(bool busy) override { Calls.push_back(busy ? "hourglass" : "arrow"); }
  void StopTimer() override { Calls.push_back("stop timer"); }
  void StartTimer() override { Calls.push_back("start timer"); }
  void ShowMetafile(const TMetafile& metafile) override {
    Calls.push_back("show");
    if (!metafile.Empty()) ++Shown;
  }
  void Invalidate() override { Calls.push_back("invalidate"); }
};

// Every test starts with an empty FileArray, a fresh UBase, no locations,
// no settings store, the test options (all four set) and no status hooks.
class DiagramTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Appends a unit with that location (-2 basic, -1 not found, >= 0 found).
  TFile* Add(const std::string& name, int location);
  static void Uses(TFile* unit, const std::vector<TFile*>& interfaceUses,
                   const std::vector<TFile*>& implementationUses = {});
  // Locations 0..count-2 plus ".", with the given colours.
  static void MakeLocations(const std::vector<COLORREF>& colours);
  // Lays out and records FileArray into a metafile.
  TMetafile Compose();

  TSimplificationSource PreviousSource = nullptr;
};

// n units named Name0.. with the given name length (padded with 'x').
std::string NameOfLength(int index, int length);

}  // namespace diagtest
