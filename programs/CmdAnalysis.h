// The options that say what to analyse, for the commands that draw the
// analysed project: the locations and basic units given on the command line
// (then the registry is left alone), or else the user's settings from the
// registry, as the library itself would read and write them; then the
// project or unit file.
#pragma once

#include <string>
#include <vector>

struct TAnalysisRequest {
  struct TLocationOption {
    std::string Directory;  // full path
    bool Basic = false;
    bool Active = true;
  };
  std::vector<TLocationOption> Locations;  // in list order; "." follows them
  std::vector<std::string> BasicUnits;
  bool ListsGiven = false;
  std::string File;  // full path
};

// Options: --location DIR, --basic-location DIR, --inactive-location DIR,
// --basic NAME, and exactly one FILE. Relative names are taken from the
// directory the program starts in. Throws ECmdUsage for anything else.
TAnalysisRequest ParseAnalysisOptions(const std::vector<std::string>& args);

// While it lasts, the lists of the request are in place (or the settings
// are loaded, and written back when it ends).
class TAnalysisSession {
 public:
  explicit TAnalysisSession(const TAnalysisRequest& request);
  ~TAnalysisSession();
  TAnalysisSession(const TAnalysisSession&) = delete;
  TAnalysisSession& operator=(const TAnalysisSession&) = delete;

  // Makes the file's directory current, analyses (with the restart for IN
  // paths) and sorts. Returns 0; 2 when a unit could not be read (the model
  // is what the run reached); 3 when FILE does not exist (the model is its
  // unresolved root). Messages go to standard error.
  int Run();

 private:
  const TAnalysisRequest& Request;
  bool UsesSettings;
};
