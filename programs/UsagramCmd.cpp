// UsagramCmd: the console program for batch use. Options in any order, the
// file last; output on standard output, one line per item. The options and
// the exit codes are in CmdOptions.h, and --help prints them.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "BufLec.h"
#include "CmdCycles.h"
#include "CmdDiagram.h"
#include "CmdDocument.h"
#include "CmdModel.h"
#include "CmdOptions.h"
#include "CmdOutput.h"
#include "CmdSource.h"

namespace {

TExitCode Run(const std::vector<std::string>& args) {
  const TCmdRequest request = ParseCommandLine(args);
  switch (request.Mode) {
    case TCmdMode::Help:
      PrintUsage(stdout);
      return ExitDone;
    case TCmdMode::Tokens:
      return RunTokens(request.File);
    case TCmdMode::Uses:
      return RunUses(request.File);
    case TCmdMode::Model:
      return RunModel(request);
    case TCmdMode::Cycles:
      return RunCycles(request);
    case TCmdMode::Diagram:
      return RunDiagram(request);
    case TCmdMode::Document:
      return RunDocument(request);
  }
  return ExitDone;
}

void Report(const char* what, const char* hint = "") { std::fprintf(stderr, "UsagramCmd: %s%s\n", what, hint); }

}  // namespace

int main(int argc, char** argv) {
  SetupStdout();
  int code;
  try {
    code = Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const ECmdUsage& e) {
    Report(e.what(), " (UsagramCmd --help lists the options)");
    code = ExitBadInput;
  } catch (const ECmdWordProcessor& e) {
    Report(e.what());
    code = ExitWordProcessor;
  } catch (const ECmdFailure& e) {
    Report(e.what());
    code = ExitBadInput;
  } catch (const EInOutError& e) {
    Report(e.what());
    code = ExitBadInput;
  } catch (const std::bad_alloc&) {
    Report("out of memory");
    code = ExitFatal;
  } catch (const std::exception& e) {
    Report(e.what());
    code = ExitFatal;
  }
  FlushOutput();
  return code;
}
