// The analysis behind --model and the diagram outputs: the lists of the
// command line or the user's settings, then the run over FILE.
#pragma once

#include "Analysis.h"
#include "CmdOptions.h"

#include <string>
#include <vector>

// While it lasts, the lists of the request are in place (or the settings
// are loaded, and written back when it ends).
class TAnalysisSession {
 public:
  explicit TAnalysisSession(const TAnalysisRequest& request);
  ~TAnalysisSession();
  TAnalysisSession(const TAnalysisSession&) = delete;
  TAnalysisSession& operator=(const TAnalysisSession&) = delete;

  // Makes the file's directory current, analyses (with the restart for IN
  // paths) and sorts. ExitDone; ExitBadInput when a unit could not be read
  // or FILE's path is too long; ExitNotFound when FILE does not exist (the
  // model is then its unresolved root). Messages go to standard error.
  TExitCode Run();
  TProjectOutcome Outcome() const { return Outcome_; }

 private:
  // Adds the file's directories; its scope names are the caller's to place.
  std::vector<std::string> AddOptionFile(const std::string& fileName);

  TProjectOutcome Outcome_ = TProjectOutcome::Analysed;
  const TAnalysisRequest& Request;
  bool UsesSettings;
};
