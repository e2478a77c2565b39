#include "ModelTestUtil.h"
#include "RemoveTree.h"

#include <atomic>
#include <cstring>
#include <fstream>

namespace modeltest {

namespace {

void MakeDirs(const std::string& dir) {
  for (size_t i = 3; i <= dir.size(); ++i)
    if (i == dir.size() || dir[i] == '\\') CreateDirectoryA(dir.substr(0, i).c_str(), nullptr);
}

}  // namespace

TTempDir::TTempDir() {
  static std::atomic<int> serial{0};
  char temp[MAX_PATH + 1];
  GetTempPathA(MAX_PATH, temp);
  std::string base = temp;
  if (!base.empty() && base.back() == '\\') base.pop_back();
  Dir = base + "\\usagram-model-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(serial++) + "-" +
        std::to_string(GetTickCount());
  RemoveTree(Dir);
  MakeDirs(Dir);
}

TTempDir::~TTempDir() {
  // A directory in use as the current one cannot be removed.
  char current[MAX_PATH + 1];
  DWORD n = GetCurrentDirectoryA(MAX_PATH, current);
  std::string cwd(current, n < MAX_PATH ? n : 0);
  if (cwd.size() >= Dir.size() && _strnicmp(cwd.c_str(), Dir.c_str(), Dir.size()) == 0)
    SetCurrentDirectoryA(Dir.substr(0, Dir.find_last_of('\\')).c_str());
  RemoveTree(Dir);
}

std::string TTempDir::Write(const std::string& relative, const std::string& text) const {
  std::string full = *this / relative;
  MakeDirs(full.substr(0, full.find_last_of('\\')));
  std::ofstream out(full, std::ios::binary);
  out << text;
  return full;
}

std::string TTempDir::MakeDir(const std::string& relative) const {
  std::string full = *this / relative;
  MakeDirs(full);
  return full;
}

namespace {
std::string Joined(const std::vector<std::string>& names) {
  std::string text;
  for (size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + names[i];
  return text;
}
}  // namespace

std::string UnitText(const std::string& name, const std::vector<std::string>& interfaceUses,
                     const std::vector<std::string>& implementationUses) {
  std::string text = "unit " + name + ";\r\n\r\ninterface\r\n\r\n";
  if (!interfaceUses.empty()) text += "uses " + Joined(interfaceUses) + ";\r\n\r\n";
  text += "implementation\r\n\r\n";
  if (!implementationUses.empty()) text += "uses " + Joined(implementationUses) + ";\r\n\r\n";
  text += "end.\r\n";
  return text;
}

std::string ProgramText(const std::string& name, const std::vector<std::string>& uses) {
  std::string text = "program " + name + ";\r\n\r\n";
  if (!uses.empty()) text += "uses\r\n  " + Joined(uses) + ";\r\n\r\n";
  text += "{$R *.RES}\r\n\r\nbegin\r\nend.\r\n";
  return text;
}

std::string Numbered(const std::string& prefix, int number) {
  std::string text = prefix;
  text += std::to_string(number);
  return text;
}

void ResetModelState() {
  ReleaseModel();
  Settings.reset();
  ClearLocations();
  ClearBasicUnits();
  ClearScopeNames();
  LocationsLoaded = false;
  Deferring = false;
  ImplicitLocationsFound = false;
  Analysing = false;
  BasicUnitsColour = 0;
  NotFoundColour = 0;
  MSWord95 = true;
  ImagesDirectory.clear();
  SetStatusHooks(nullptr, nullptr);
}

void ClearRegistry() {
  Settings.reset();
  DeleteProductKey();
}

void ModelTest::SetUp() {
  char dir[MAX_PATH + 1];
  GetCurrentDirectoryA(MAX_PATH, dir);
  StartDir = dir;
  ResetModelState();
  PreviousPresenter = SetMessagePresenter(&Recorder);
}

void ModelTest::TearDown() {
  ResetModelState();
  SetMessagePresenter(PreviousPresenter);
  SetCurrentDirectoryA(StartDir.c_str());
}

void ModelTest::UseLocations(const std::vector<std::string>& dirs) {
  ClearLocations();
  int i = 0;
  for (const std::string& dir : dirs) {
    Locations[i] = std::make_unique<TLocation>(dir);
    Locations[i]->Active = true;
    ++i;
  }
  Locations[i] = std::make_unique<TLocation>(".");
  LocationCount = static_cast<uint16_t>(i + 1);
  LocationsLoaded = true;
}

std::vector<std::string> ModelTest::Names(const TFileArray& array) {
  std::vector<std::string> names;
  for (int i = 0; i < array.Count; ++i) names.push_back(array.Items[i] ? array.Items[i]->Name : "<nil>");
  return names;
}

TFile* ModelTest::Unit(const std::string& name) {
  if (!FileArray) return nullptr;
  for (int i = 0; i < FileArray->Count; ++i)
    if (FileArray->Items[i] && FileArray->Items[i]->Name == name) return FileArray->Items[i];
  return nullptr;
}

}  // namespace modeltest
