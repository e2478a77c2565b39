#include "CmdSource.h"

#include <vector>

#include "CmdOutput.h"
#include "PASCAL.h"

namespace {

const std::string& OneFile(const std::vector<std::string>& args, const char* option) {
  if (args.size() != 1) throw ECmdUsage(std::string(option) + " needs exactly one FILE");
  return args[0];
}

}  // namespace

int CmdTokens(const std::vector<std::string>& args) {
  TAnalyseur analyser(OneFile(args, "--tokens"));
  for (;;) {
    const uint8_t code = analyser.NextToken();
    WriteLine({std::to_string(code), EscapeField(analyser.Text)});
    if (code == tkEnd) return 0;
  }
}

int CmdUses(const std::vector<std::string>& args) {
  struct TEntry {
    TUsesClause Clause;
    std::string Name, Path;
  };
  // IsUnit is known only once the scan is over.
  std::vector<TEntry> entries;
  const bool isUnit = ScanUses(OneFile(args, "--uses"), [&](TUsesClause c, const std::string& n, const std::string& p) {
    entries.push_back({c, n, p});
  });
  WriteLine(isUnit ? "unit" : "program");
  for (const TEntry& e : entries)
    WriteLine({e.Clause == TUsesClause::Interface ? "interface" : "implementation", EscapeField(e.Name),
               EscapeField(e.Path)});
  return 0;
}
