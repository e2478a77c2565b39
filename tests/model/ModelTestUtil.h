// Shared fixtures of the model tests: temporary directories with source
// files, a recording message presenter, and a clean process-wide state.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Analysis.h"
#include "Globales.h"
#include "Ridarar.h"
#include "Settings.h"
#include "Units.h"
#include "Yield.h"

namespace modeltest {

// A fresh directory under the system's temporary directory, removed with
// everything in it at the end.
class TTempDir {
 public:
  TTempDir();
  ~TTempDir();
  TTempDir(const TTempDir&) = delete;
  TTempDir& operator=(const TTempDir&) = delete;
  const std::string& Path() const { return Dir; }
  // Full name of a file or directory inside (relative with backslashes).
  std::string operator/(const std::string& relative) const { return Dir + "\\" + relative; }
  // Writes a file (creating its directories), lines joined by CR LF.
  std::string Write(const std::string& relative, const std::string& text) const;
  std::string MakeDir(const std::string& relative) const;

 private:
  std::string Dir;
};

// Pascal text of a unit using the given interface and implementation names.
std::string UnitText(const std::string& name, const std::vector<std::string>& interfaceUses,
                     const std::vector<std::string>& implementationUses = {});
// prefix followed by the decimal number.
std::string Numbered(const std::string& prefix, int number);
std::string ProgramText(const std::string& name, const std::vector<std::string>& uses);

struct TRecorder : TMessagePresenter {
  std::vector<std::string> Warnings;
  std::vector<std::string> Stops;
  bool Answer = true;
  void ShowWarning(const std::string& t) override { Warnings.push_back(t); }
  bool ShowWarnOrStop(const std::string& t) override {
    Stops.push_back(t);
    return Answer;
  }
  void ShowFatalError(const std::string& t) override { Stops.push_back("Fatal error: " + t); }
};

// Every test starts and ends with no model, no lists, no store, the
// recorder installed and the starting directory current.
class ModelTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Locations from the directories (active, not basic), then ".", as if loaded.
  static void UseLocations(const std::vector<std::string>& dirs);
  static std::vector<std::string> Names(const TFileArray& array);
  static TFile* Unit(const std::string& name);  // from FileArray, or nullptr

  TRecorder Recorder;
  TMessagePresenter* PreviousPresenter = nullptr;
  std::string StartDir;
};

void ResetModelState();
// Removes the product key and leaves no store open.
void ClearRegistry();

}  // namespace modeltest
