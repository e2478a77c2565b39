#include "CmdModel.h"

#include <windows.h>

#include <cstdio>
#include <memory>

#include "Analysis.h"
#include "BufLec.h"
#include "CmdOutput.h"
#include "Globales.h"
#include "Units.h"
#include "Yield.h"

namespace {

struct TModelOptions {
  struct TLocationOption {
    std::string Directory;  // full path
    bool Basic = false;
    bool Active = true;
  };
  std::vector<TLocationOption> Locations;
  std::vector<std::string> BasicUnits;
  bool ListsGiven = false;  // any list option: the registry is left alone
  std::string File;         // full path
};

TModelOptions ParseModelOptions(const std::vector<std::string>& args) {
  TModelOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw ECmdUsage(a + " needs a value");
      return args[++i];
    };
    if (a == "--location" || a == "--basic-location" || a == "--inactive-location") {
      // Relative to the directory the program starts in, before the run
      // makes the project's directory current.
      options.Locations.push_back({ExpandFileName(value()), a == "--basic-location", a != "--inactive-location"});
      options.ListsGiven = true;
    } else if (a == "--basic") {
      options.BasicUnits.push_back(value());
      options.ListsGiven = true;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      throw ECmdUsage("unknown option \"" + a + "\"");
    } else if (options.File.empty()) {
      options.File = a;
    } else {
      throw ECmdUsage("more than one FILE: \"" + options.File + "\" and \"" + a + "\"");
    }
  }
  if (options.File.empty()) throw ECmdUsage("--model needs a FILE");
  // The same limits as the lists themselves: "." is one of the 99 entries.
  if (options.Locations.size() >= static_cast<size_t>(MaxAddedLocations))
    throw ECmdUsage("too many locations (at most " + std::to_string(MaxAddedLocations - 1) + ")");
  if (options.BasicUnits.size() > static_cast<size_t>(MaxLoadedBasicUnits))
    throw ECmdUsage("too many basic units (at most " + std::to_string(MaxLoadedBasicUnits) + ")");
  options.File = ExpandFileName(options.File);
  return options;
}

// The given lists, as if loaded: the locations in order, then "." for the
// project's directory.
void UseGivenLists(const TModelOptions& options) {
  ClearLocations();
  ClearBasicUnits();
  int i = 0;
  for (const TModelOptions::TLocationOption& option : options.Locations) {
    auto location = std::make_unique<TLocation>(option.Directory);
    location->Basic = option.Basic;
    location->Active = option.Active;
    Locations[i++] = std::move(location);
  }
  SetCurrentDirectoryA(ExtractFilePath(options.File).c_str());
  Locations[i++] = std::make_unique<TLocation>(".");
  LocationCount = static_cast<uint16_t>(i);
  LocationsLoaded = true;
  for (const std::string& name : options.BasicUnits) BasicUnits[BasicUnitCount++] = name;
}

// The library's start and end around the run when the settings store is used.
class TSettingsSession {
 public:
  explicit TSettingsSession(bool active) : Active(active) {
    if (Active) UsagramInitialise();
  }
  ~TSettingsSession() {
    if (Active) UsagramFinalise();
  }
  TSettingsSession(const TSettingsSession&) = delete;
  TSettingsSession& operator=(const TSettingsSession&) = delete;

 private:
  bool Active;
};

void PrintStatus(const std::string& text) { std::fprintf(stderr, "status: %s\n", text.c_str()); }

std::string Flag(bool b) { return b ? "1" : "0"; }

std::string JoinedNames(const TFileArray* list) {
  std::string text;
  if (!list) return text;
  for (int i = 0; i < list->Count; ++i) {
    if (!list->Items[i]) continue;
    if (!text.empty()) text += ',';
    text += list->Items[i]->Name;
  }
  return text;
}

void PrintModel() {
  for (int i = 0; i < LocationCount; ++i) {
    const TLocation* l = Locations[i].get();
    if (!l) continue;
    WriteLine({"location", std::to_string(i), EscapeField(l->Path), Flag(l->Basic), Flag(l->Active), Flag(l->Explicit)});
  }
  if (!FileArray) return;
  for (int i = 0; i < FileArray->Count; ++i) {
    const TFile* u = FileArray->Items[i];
    if (!u) continue;
    WriteLine({"unit", std::to_string(i), EscapeField(u->Name), std::to_string(u->Location), std::to_string(u->BasicIndex),
               std::to_string(u->Level), Flag(u->IsUnit), EscapeField(u->FileName),
               EscapeField(JoinedNames(u->InterfaceUses.get())), EscapeField(JoinedNames(u->ImplementationUses.get()))});
  }
}

}  // namespace

int CmdModel(const std::vector<std::string>& args) {
  const TModelOptions options = ParseModelOptions(args);
  SetStatusHooks(PrintStatus, nullptr);
  TSettingsSession session(!options.ListsGiven);
  if (options.ListsGiven) UseGivenLists(options);

  int code = 0;
  Analysing = true;
  try {
    AnalyseProjectFile(options.File);
  } catch (const EInOutError& e) {
    // The partial model is what the run had reached.
    std::fprintf(stderr, "UsagramCmd: %s\n", e.what());
    code = 2;
  }
  Analysing = false;
  PrintModel();
  if (code == 0 && !FileExists(options.File)) {
    std::fprintf(stderr, "UsagramCmd: cannot find \"%s\"\n", options.File.c_str());
    code = 3;
  }
  std::fflush(stdout);
  return code;
}
