// Shared set-up of the installer tests: an install directory of the test's
// own with the system's files, Delphi's keys and "Delphi.INI" made by the
// tests in the prefix's real registry and Windows directory (and removed
// after), the window driven by real messages, boxes answered by a hook.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "ComOwners.h"
#include "InstallNames.h"
#include "Reg.h"
#include "ModalAnswer.h"
#include "RegKey.h"
#include "Settings.h"
#include "ufInstall.h"
#include "ufRepertoire.h"
#include "RemoveTree.h"

namespace installtest {

using TValues = std::vector<std::pair<std::string, std::string>>;

inline void TouchFile(const std::string& path) {
  HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(h, INVALID_HANDLE_VALUE) << path;
  CloseHandle(h);
}

inline bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// ---- Registry ---------------------------------------------------------------------

inline std::string DelphiKey(const char* version, const char* sub) { return Reg::DelphiVersionKey(version, sub); }

inline void SetValues(const std::string& key, const TValues& values) {
  TRegKey k;
  ASSERT_TRUE(k.Create(HKEY_CURRENT_USER, key)) << key;
  for (const auto& [name, value] : values) ASSERT_EQ(k.SetString(name, value), ERROR_SUCCESS) << name;
}

inline bool KeyExists(const std::string& key) {
  TRegKey k;
  return k.Open(HKEY_CURRENT_USER, key);
}

// Every value under the key and its subkeys, as "sub\name=type:data", sorted:
// two snapshots compare whole trees.
inline void CollectValues(HKEY key, const std::string& prefix, std::vector<std::string>& out) {
  char name[512];
  BYTE data[4096];
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name, dataSize = sizeof data, type = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    std::string text(reinterpret_cast<char*>(data), dataSize);
    if (type == REG_SZ || type == REG_EXPAND_SZ) text = text.c_str();
    out.push_back(prefix + name + "=" + std::to_string(type) + ":" + text);
  }
  for (DWORD i = 0;; ++i) {
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    TRegKey sub;
    if (sub.Open(key, name)) CollectValues(sub, prefix + name + "\\", out);
    out.push_back(prefix + name + "\\");
  }
}

inline std::vector<std::string> Snapshot(const std::string& key) {
  std::vector<std::string> out;
  TRegKey k;
  if (k.Open(HKEY_CURRENT_USER, key)) CollectValues(k, "", out);
  std::sort(out.begin(), out.end());
  return out;
}

// A string value, or "<absent>".
inline std::string Value(const std::string& key, const std::string& name) {
  TRegKey k;
  std::string value;
  if (!k.Open(HKEY_CURRENT_USER, key) || !k.QueryString(name, value)) return "<absent>";
  return value;
}

inline void DeleteTree(const std::string& parent, const std::string& name) {
  TRegKey k;
  if (k.Open(HKEY_CURRENT_USER, parent, KEY_READ | KEY_WRITE)) k.DeleteSubKeyTree(name);
}

// ---- Delphi.INI, through the profile functions only (they cache the file) -----------

inline std::string IniPath() {
  char dir[MAX_PATH] = {};
  GetWindowsDirectoryA(dir, MAX_PATH);
  return std::string(dir) + "\\" + Reg::DelphiIni;
}

inline void SetIni(const TValues& values) {
  for (const auto& [name, value] : values)
    ASSERT_TRUE(WritePrivateProfileStringA(Reg::Transfer, name.c_str(), value.c_str(), IniPath().c_str()));
}

inline std::string IniValue(const std::string& name) {
  char buf[1024] = {};
  GetPrivateProfileStringA(Reg::Transfer, name.c_str(), "<absent>", buf, sizeof buf, IniPath().c_str());
  return buf;
}

// The keys of the section, in file order.
inline std::vector<std::string> IniKeys() {
  std::vector<char> buf(8192);
  const DWORD n = GetPrivateProfileStringA(Reg::Transfer, nullptr, "", buf.data(),
                                           static_cast<DWORD>(buf.size()), IniPath().c_str());
  std::vector<std::string> keys;
  for (size_t i = 0; i < n;) {
    keys.emplace_back(&buf[i]);
    i += keys.back().size() + 1;
  }
  return keys;
}

inline void RemoveIni() {
  WritePrivateProfileStringA(Reg::Transfer, nullptr, nullptr, IniPath().c_str());
  DeleteFileA(IniPath().c_str());
}

// ---- The fixture ----------------------------------------------------------------------

// What every installer test has: the application with the directory window
// that the installer's window opens, nothing of Delphi's or ours in the
// registry or Delphi.INI around each test, and the errors the application
// reported.
class InstallWindowTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    Application.Initialize();
    DirectoryWindow = std::make_unique<TfRepertoire>();
  }
  static void TearDownTestSuite() { DirectoryWindow.reset(); }

  void SetUp() override {
    CleanUp();
    Application.OnException = [this](const std::string& m) { Errors.push_back(m); };
  }
  void TearDown() override {
    Application.OnException = nullptr;
    CleanUp();
  }

  static void CleanUp() {
    DeleteTree("Software", "Borland");
    DeleteTree("Software", "Vantrelle");
    RemoveIni();
  }

  // A click of the user: the box's notification through the window's dispatch.
  static void Click(TCheckBox& box) {
    SendMessageA(GetParent(box.Handle()), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(box.Handle()), BN_CLICKED),
                 reinterpret_cast<LPARAM>(box.Handle()));
  }

  static inline std::unique_ptr<TfRepertoire> DirectoryWindow;
  std::vector<std::string> Errors;
};

class InstallerTest : public InstallWindowTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Com.Entered());
    InstallWindowTest::SetUp();
    Dir = FreshDir("usagram-install");
    ASSERT_TRUE(Exists(Dir));
    for (const char* f : {InstallFiles::Exe, InstallFiles::Expert, InstallFiles::Expert2, InstallFiles::Help,
                          InstallFiles::QuorvelHelp})
      TouchFile(Dir + "\\" + f);
  }

  void TearDown() override {
    Close(IDNO);
    InstallWindowTest::TearDown();
    RemoveTree(Dir);
  }

  // The window on the test's install directory, after its first pass.
  void Open() {
    Form = std::make_unique<TfInstall>(Dir);
    Form->Show();
    Application.ProcessMessages();
  }

  // Closes the window (its closing may ask about the settings: answered
  // with button); how many boxes were answered.
  int Close(int button) {
    TModalAnswer answer(button);
    Form.reset();
    Asked = answer.Text();
    AskedCaption = answer.Caption();
    return answer.Count();
  }

  std::string ExePath() const { return Dir + "\\" + InstallFiles::Exe; }

  TComApartment Com;
  std::unique_ptr<TfInstall> Form;
  std::string Dir;
  std::string Asked, AskedCaption;
};

}  // namespace installtest
