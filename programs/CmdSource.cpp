#include "CmdSource.h"

#include <vector>

#include "CmdOutput.h"
#include "PASCAL.h"

TExitCode RunTokens(const std::string& file) {
  TAnalyseur analyser(file);
  for (;;) {
    const uint8_t code = analyser.NextToken();
    WriteLine({std::to_string(code), EscapeField(analyser.Text)});
    if (code == tkEnd) return ExitDone;
  }
}

TExitCode RunUses(const std::string& file) {
  struct TEntry {
    TUsesClause Clause;
    std::string Name, Path;
  };
  // IsUnit is known only once the scan is over.
  std::vector<TEntry> entries;
  const bool isUnit = ScanUses(file, [&](TUsesClause c, const std::string& n, const std::string& p) {
    entries.push_back({c, n, p});
  });
  WriteLine(isUnit ? "unit" : "program");
  for (const TEntry& e : entries)
    WriteLine({e.Clause == TUsesClause::Interface ? "interface" : "implementation", EscapeField(e.Name),
               EscapeField(e.Path)});
  return ExitDone;
}
