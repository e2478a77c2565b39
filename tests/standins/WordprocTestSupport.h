// Shared pieces of the word processor's tests: the COM apartment, the
// server's switches in the registry, and the files a test writes (unit
// sources, pictures).
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AutoClient.h"
#include "ComOwners.h"
#include "ExpertHostRun.h"
#include "WideText.h"

// UTF-16 from code page 1252 and back, for names with accented letters.
inline std::wstring W(const std::string& text) { return WidenText(text); }
inline std::string A(const std::wstring& text) { return NarrowText(text); }

// Sets or removes a switch of the server (a value under StandinKey).
void SetSwitch(const char* name, const std::string& value);
void ClearSwitches();

// A directory of the test's own, removed at the end.
class TWorkDir {
 public:
  // Under the temporary directory.
  TWorkDir();
  ~TWorkDir();
  TWorkDir(const TWorkDir&) = delete;
  TWorkDir& operator=(const TWorkDir&) = delete;
  const std::string& Path() const { return Dir; }
  std::string File(const std::string& name) const { return Dir + "\\" + name; }
  std::string Write(const std::string& name, const std::string& bytes) const;

 private:
  std::string Dir;
};

std::string ReadFileBytes(const std::string& path);
using hostrun::ReadLines;  // without the CR of each line
// A 24-bit bitmap of that size: red with a blue square.
std::string BmpBytes(int width, int height);
// An enhanced metafile with a frame of width x height hundredths of a
// millimetre, a rectangle and the text given.
std::string EmfBytes(int width, int height, const std::string& text);
// Puts the metafile of those bytes on the clipboard.
bool PutMetafileOnClipboard(const std::string& bytes);

// Every test of the server enters a COM apartment and starts with no switch set.
class TWordprocTest : public ::testing::Test {
 protected:
  void SetUp() override { ClearSwitches(); }
  void TearDown() override { ClearSwitches(); }
  TComApartment Com;
};

// Runs a program and returns its exit code (-1 when it cannot start).
int RunProgram(const std::string& commandLine);
