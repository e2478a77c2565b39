// UsagramCmd: the console program for batch use. One command per run,
// chosen by its option; output on standard output, one line per item.
// Exit codes: 0 done, 1 fatal error of the analysis, 2 bad command line or
// unreadable input.
#include <cstdio>
#include <exception>
#include <new>
#include <string>
#include <vector>

#include "BufLec.h"
#include "CmdDiagram.h"
#include "CmdModel.h"
#include "CmdOutput.h"
#include "CmdSource.h"

namespace {

struct TCommand {
  const char* Option;
  const char* Arguments;
  const char* Help;
  int (*Run)(const std::vector<std::string>& args);
};

// The commands. Each runner gets the arguments that follow its option and
// throws ECmdUsage for a mistake in them.
const TCommand Commands[] = {
    {"--tokens", "FILE", "the token stream: CODE<TAB>TEXT per token", CmdTokens},
    {"--uses", "FILE", "unit/program, then each uses entry with its path", CmdUses},
    {"--model", "[--location DIR]... [--basic-location DIR]... [--inactive-location DIR]... [--basic NAME]... FILE",
     "analyse: each location, then each unit of the sorted model", CmdModel},
    // The diagram outputs combine in one run: --layout --emf A.emf --png B.png ...
    {"--layout", "[ANALYSIS] FILE", "layout figures, then each label in drawing order, then the box", CmdLayout},
    {"--emf", "OUT.emf [ANALYSIS] FILE", "the diagram as an enhanced metafile", CmdEmf},
    {"--png", "OUT.png [--width N] [ANALYSIS] FILE",
     "the diagram as PNG (own size, or N pixels wide); ANALYSIS: --location DIR, --basic-location DIR, "
     "--inactive-location DIR, --basic NAME; --layout, --emf and --png combine; --hide NAME hides a label",
     CmdPng},
    // Further commands (--model, --layout, --emf, --png, with their own
    // options such as --location DIR) are added here, each in its own file.
};

void PrintUsage(std::FILE* out) {
  std::fprintf(out, "Usage:\n");
  for (const TCommand& c : Commands) {
    const std::string call = std::string(c.Option) + " " + c.Arguments;
    std::fprintf(out, "  UsagramCmd %-24s %s\n", call.c_str(), c.Help);
  }
  std::fprintf(out, "  UsagramCmd %-24s %s\n", "--help", "this text");
  std::fprintf(out,
               "Output: one line per item, fields separated by TAB, lines ending with LF; in text fields\n"
               "a backslash is written \\\\, CR \\r, LF \\n, TAB \\t, other bytes below 32 or above 126 \\xHH.\n");
}

int Run(const std::vector<std::string>& args) {
  if (args.empty()) throw ECmdUsage("no command given");
  if (args[0] == "--help" || args[0] == "-h" || args[0] == "/?") {
    PrintUsage(stdout);
    return 0;
  }
  for (const TCommand& c : Commands)
    if (args[0] == c.Option) return c.Run(std::vector<std::string>(args.begin() + 1, args.end()));
  throw ECmdUsage("unknown option \"" + args[0] + "\"");
}

}  // namespace

int main(int argc, char** argv) {
  SetupStdout();
  int code;
  try {
    code = Run(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const ECmdUsage& e) {
    std::fprintf(stderr, "UsagramCmd: %s\n", e.what());
    PrintUsage(stderr);
    code = 2;
  } catch (const EInOutError& e) {
    std::fprintf(stderr, "UsagramCmd: %s\n", e.what());
    code = 2;
  } catch (const std::bad_alloc&) {
    std::fprintf(stderr, "UsagramCmd: out of memory\n");
    code = 1;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "UsagramCmd: %s\n", e.what());
    code = 1;
  }
  std::fflush(stdout);
  return code;
}
