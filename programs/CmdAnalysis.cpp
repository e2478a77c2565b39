#include "CmdAnalysis.h"

#include <cstdio>
#include <memory>

#include "Analysis.h"
#include "BufLec.h"
#include "CmdOutput.h"
#include "Globales.h"
#include "Units.h"
#include "Yield.h"

namespace {
void PrintStatus(const std::string& text) { std::fprintf(stderr, "status: %s\n", text.c_str()); }
}  // namespace

TAnalysisRequest ParseAnalysisOptions(const std::vector<std::string>& args) {
  TAnalysisRequest request;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::string {
      if (i + 1 >= args.size()) throw ECmdUsage(a + " needs a value");
      return args[++i];
    };
    if (a == "--location" || a == "--basic-location" || a == "--inactive-location") {
      request.Locations.push_back({ExpandFileName(value()), a == "--basic-location", a != "--inactive-location"});
      request.ListsGiven = true;
    } else if (a == "--basic") {
      request.BasicUnits.push_back(value());
      request.ListsGiven = true;
    } else if (a.size() > 1 && a[0] == '-' && a[1] == '-') {
      throw ECmdUsage("unknown option \"" + a + "\"");
    } else if (request.File.empty()) {
      request.File = a;
    } else {
      throw ECmdUsage("more than one FILE: \"" + request.File + "\" and \"" + a + "\"");
    }
  }
  if (request.File.empty()) throw ECmdUsage("no FILE given");
  // "." is one of the 99 entries.
  if (request.Locations.size() >= static_cast<size_t>(MaxAddedLocations))
    throw ECmdUsage("too many locations (at most " + std::to_string(MaxAddedLocations - 1) + ")");
  if (request.BasicUnits.size() > static_cast<size_t>(MaxLoadedBasicUnits))
    throw ECmdUsage("too many basic units (at most " + std::to_string(MaxLoadedBasicUnits) + ")");
  request.File = ExpandFileName(request.File);
  return request;
}

TAnalysisSession::TAnalysisSession(const TAnalysisRequest& request)
    : Request(request), UsesSettings(!request.ListsGiven) {
  SetStatusHooks(PrintStatus, nullptr);
  if (UsesSettings) UsagramInitialise();
}

TAnalysisSession::~TAnalysisSession() {
  if (UsesSettings) UsagramFinalise();
  SetStatusHooks(nullptr, nullptr);
}

int TAnalysisSession::Run() {
  if (Request.ListsGiven) {
    ClearLocations();
    ClearBasicUnits();
    int i = 0;
    for (const TAnalysisRequest::TLocationOption& option : Request.Locations) {
      auto location = std::make_unique<TLocation>(option.Directory);
      location->Basic = option.Basic;
      location->Active = option.Active;
      Locations[i++] = std::move(location);
    }
    // The current-directory entry is the project's directory.
    SetCurrentDirectoryA(ExtractFilePath(Request.File).c_str());
    Locations[i++] = std::make_unique<TLocation>(".");
    LocationCount = static_cast<uint16_t>(i);
    LocationsLoaded = true;
    for (const std::string& name : Request.BasicUnits) BasicUnits[BasicUnitCount++] = name;
  }
  int code = 0;
  Analysing = true;
  try {
    AnalyseProjectFile(Request.File);
  } catch (const EInOutError& e) {
    // The model is what the run had reached.
    std::fprintf(stderr, "UsagramCmd: %s\n", e.what());
    code = 2;
  }
  Analysing = false;
  if (code == 0 && !FileExists(Request.File)) {
    // The run's model is then the unresolved root alone.
    std::fprintf(stderr, "UsagramCmd: cannot find \"%s\"\n", Request.File.c_str());
    code = 3;
  }
  return code;
}
