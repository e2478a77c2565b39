#include "CmdOptions.h"

#include <algorithm>

#include "FileSystem.h"
#include "pascal_tokens.h"
#include "uChaines.h"

namespace {

enum class TGroup { Command, Output, Document, Analysis };

struct TOption {
  const char* Name;
  const char* Argument;  // nullptr: the option takes no value
  TGroup Group;
  const char* Help;
  void (*Apply)(TCmdRequest& request, const std::string& value);
};

// Single-valued options refuse a second time: which one would count is not
// for the program to guess.
void Once(std::string& field, const std::string& value, const char* option) {
  if (!field.empty()) throw ECmdUsage(std::string(option) + " given twice");
  field = value;
}

void SetMode(TCmdRequest& request, TCmdMode mode, const char* option) {
  if (request.Mode != TCmdMode::Help) throw ECmdUsage(std::string(option) + ": one command per run");
  request.Mode = mode;
}

void AddLocationOption(TCmdRequest& request, const std::string& directory, bool basic, bool active) {
  request.Analysis.Locations.push_back({ExpandFileName(directory), basic, active, std::string(), 0});
  request.Analysis.ListsGiven = true;
}

void SetDialect(TCmdRequest& request, TWordDialect dialect) {
  if (request.Document.Dialect != TWordDialect::Setting) throw ECmdUsage("--word95 and --word97: one of them at most");
  request.Document.Dialect = dialect;
}

int ParseWidth(const std::string& text) {
  int32_t width = 0;
  if (!TryStrToInt(Trim(text), width) || width < 1 || width > MaxPngWidth)
    throw ECmdUsage("--width needs a number of pixels from 1 to " + std::to_string(MaxPngWidth) + ", not \"" + text +
                    "\"");
  return width;
}

// The options, in the order --help lists them.
const TOption Options[] = {
    {"--tokens", nullptr, TGroup::Command, "the token stream: CODE<TAB>TEXT per token",
     [](TCmdRequest& r, const std::string&) { SetMode(r, TCmdMode::Tokens, "--tokens"); }},
    {"--uses", nullptr, TGroup::Command, "unit/program, then each uses entry with its path",
     [](TCmdRequest& r, const std::string&) { SetMode(r, TCmdMode::Uses, "--uses"); }},
    {"--model", nullptr, TGroup::Command, "the locations and the sorted unit array after the analysis",
     [](TCmdRequest& r, const std::string&) { SetMode(r, TCmdMode::Model, "--model"); }},
    {"--document", "OUT.DOC", TGroup::Command, "the Word document: the diagram, a section per unit, the contents",
     [](TCmdRequest& r, const std::string& v) {
       SetMode(r, TCmdMode::Document, "--document");
       r.Document.File = ExpandFileName(v);
     }},
    {"--layout", nullptr, TGroup::Output, "layout figures, then each label in drawing order, then the box",
     [](TCmdRequest& r, const std::string&) { r.Diagram.Layout = true; }},
    {"--emf", "OUT.emf", TGroup::Output, "the diagram as an enhanced metafile",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.Emf, ExpandFileName(v), "--emf"); }},
    {"--png", "OUT.png", TGroup::Output, "the diagram as PNG, at its own size",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.Png, ExpandFileName(v), "--png"); }},
    {"--width", "N", TGroup::Output, "the PNG N pixels wide (1 to 20000; at most 200 million pixels in all)",
     [](TCmdRequest& r, const std::string& v) {
       if (r.Diagram.Width != 0) throw ECmdUsage("--width given twice");
       r.Diagram.Width = ParseWidth(v);
     }},
    // Cycles, graph exports and the SVG.
    {"--cycles", nullptr, TGroup::Command, "cycles of uses: the compiler's errors (interface only) first, then all",
     [](TCmdRequest& r, const std::string&) { SetMode(r, TCmdMode::Cycles, "--cycles"); }},
    {"--svg", "OUT.svg", TGroup::Output, "the diagram as SVG, translated from the metafile (text stays text)",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.Svg, ExpandFileName(v), "--svg"); }},
    {"--dot", "OUT.dot", TGroup::Output, "the uses graph for Graphviz",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.Dot, ExpandFileName(v), "--dot"); }},
    {"--graphml", "OUT.graphml", TGroup::Output, "the uses graph as GraphML (yEd, Gephi)",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.GraphMl, ExpandFileName(v), "--graphml"); }},
    {"--json", "OUT.json", TGroup::Output, "the whole model and its cycles as JSON (schema in the README)",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.Json, ExpandFileName(v), "--json"); }},
    {"--csv", "OUT.csv", TGroup::Output, "one uses edge per line: from, to, clause",
     [](TCmdRequest& r, const std::string& v) { Once(r.Diagram.Csv, ExpandFileName(v), "--csv"); }},
    {"--hide", "NAME", TGroup::Output, "hides a label as a click does (the box by its title)",
     [](TCmdRequest& r, const std::string& v) { r.Diagram.Hidden.push_back(v); }},
    {"--word95", nullptr, TGroup::Document, "through Word 95's WordBasic (\"Word.Basic\", French commands)",
     [](TCmdRequest& r, const std::string&) { SetDialect(r, TWordDialect::Word95); }},
    {"--word97", nullptr, TGroup::Document, "through Word 97's object model (\"Word.Application\")",
     [](TCmdRequest& r, const std::string&) { SetDialect(r, TWordDialect::Word97); }},
    {"--pictures", "DIR", TGroup::Document, "the units' pictures are DIR\\NAME.BMP",
     [](TCmdRequest& r, const std::string& v) { Once(r.Document.Pictures, ExpandFileName(v), "--pictures"); }},
    {"--location", "DIR", TGroup::Analysis, "a location, searched after those that follow it",
     [](TCmdRequest& r, const std::string& v) { AddLocationOption(r, v, false, true); }},
    {"--basic-location", "DIR", TGroup::Analysis, "a location whose units are basic units",
     [](TCmdRequest& r, const std::string& v) { AddLocationOption(r, v, true, true); }},
    {"--inactive-location", "DIR", TGroup::Analysis, "a location whose units count as not found",
     [](TCmdRequest& r, const std::string& v) { AddLocationOption(r, v, false, false); }},
    {"--options", "FILE", TGroup::Analysis, "a .dproj, .dof, .cfg or .lpi file: its search path and unit scope names",
     [](TCmdRequest& r, const std::string& v) {
       r.Analysis.Locations.push_back({std::string(), false, true, ExpandFileName(v), r.Analysis.ScopeNames.size()});
       r.Analysis.ListsGiven = true;
     }},
    {"--platform", "NAME", TGroup::Analysis, "the platform of a .dproj given by --options, not its default",
     [](TCmdRequest& r, const std::string& v) { Once(r.Analysis.Platform, v, "--platform"); }},
    {"--config", "NAME", TGroup::Analysis, "the configuration of a .dproj given by --options, not its default",
     [](TCmdRequest& r, const std::string& v) { Once(r.Analysis.Config, v, "--config"); }},
    {"--basic", "PATTERN", TGroup::Analysis, "a basic unit: a name, where * stands for any run of characters",
     [](TCmdRequest& r, const std::string& v) {
       r.Analysis.BasicUnits.push_back(v);
       r.Analysis.ListsGiven = true;
     }},
    {"--scope", "NAME", TGroup::Analysis, "a unit scope name: a unit U not found as written is tried as NAME.U",
     [](TCmdRequest& r, const std::string& v) {
       if (!IsDottedName(v)) throw ECmdUsage("--scope needs identifiers separated by dots, not \"" + v + "\"");
       r.Analysis.ScopeNames.push_back(v);
       r.Analysis.ListsGiven = true;
     }},
};

const TOption* Find(const std::string& name) {
  for (const TOption& option : Options)
    if (name == option.Name) return &option;
  return nullptr;
}

void CheckCombination(const TCmdRequest& r) {
  const bool outputOptions = r.Diagram.AnyOutput() || r.Diagram.Width != 0 || !r.Diagram.Hidden.empty();
  switch (r.Mode) {
    case TCmdMode::Tokens:
    case TCmdMode::Uses:
      if (outputOptions || r.Analysis.ListsGiven)
        throw ECmdUsage(std::string(r.Mode == TCmdMode::Tokens ? "--tokens" : "--uses") + " takes FILE alone");
      break;
    case TCmdMode::Model:
      if (outputOptions) throw ECmdUsage("--model does not combine with the diagram outputs");
      break;
    case TCmdMode::Cycles:
      if (outputOptions) throw ECmdUsage("--cycles does not combine with the diagram outputs");
      break;
    case TCmdMode::Document:
      if (outputOptions) throw ECmdUsage("--document does not combine with the diagram outputs");
      break;
    case TCmdMode::Diagram:
    case TCmdMode::Help:
      break;
  }
  if (r.Diagram.Width != 0 && r.Diagram.Png.empty()) throw ECmdUsage("--width goes with --png");
  const bool documentOptions = r.Document.Dialect != TWordDialect::Setting || !r.Document.Pictures.empty();
  if (documentOptions && r.Mode != TCmdMode::Document) throw ECmdUsage("--word95, --word97 and --pictures go with --document");
  const bool optionFiles = std::any_of(r.Analysis.Locations.begin(), r.Analysis.Locations.end(),
                                       [](const TAnalysisRequest::TLocationOption& l) { return !l.OptionsFile.empty(); });
  if ((!r.Analysis.Platform.empty() || !r.Analysis.Config.empty()) && !optionFiles)
    throw ECmdUsage("--platform and --config go with --options");
}

}  // namespace

TCmdRequest ParseCommandLine(const std::vector<std::string>& args) {
  TCmdRequest request;
  for (const std::string& a : args)
    if (a == "--help" || a == "-h" || a == "/?") return request;
  if (args.empty()) throw ECmdUsage("no command given");
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    if (!request.File.empty()) throw ECmdUsage("FILE comes last, but \"" + a + "\" follows \"" + request.File + "\"");
    if (a.size() < 2 || a[0] != '-' || a[1] != '-') {
      request.File = a;
      continue;
    }
    const TOption* option = Find(a);
    if (!option) throw ECmdUsage("unknown option \"" + a + "\"");
    std::string value;
    if (option->Argument) {
      // An option in its place means the value was forgotten.
      if (i + 1 >= args.size() || args[i + 1].rfind("--", 0) == 0) throw ECmdUsage(a + " needs " + option->Argument);
      value = args[++i];
    }
    option->Apply(request, value);
  }
  if (request.Mode == TCmdMode::Help) {
    if (!request.Diagram.AnyOutput()) throw ECmdUsage("no command given (--tokens, --uses, --model, --cycles, --document, or a diagram output)");
    request.Mode = TCmdMode::Diagram;
  }
  CheckCombination(request);
  if (request.File.empty()) throw ECmdUsage("no FILE given");
  request.Analysis.File = ExpandFileName(request.File);
  return request;
}

void PrintUsage(std::FILE* out) {
  auto group = [out](TGroup which, const char* title) {
    std::fprintf(out, "%s\n", title);
    for (const TOption& o : Options) {
      if (o.Group != which) continue;
      const std::string call = std::string(o.Name) + (o.Argument ? std::string(" ") + o.Argument : "");
      std::fprintf(out, "  %-24s %s\n", call.c_str(), o.Help);
    }
  };
  std::fprintf(out, "Usage: UsagramCmd OPTION... FILE   (options in any order, FILE last)\n"
                    "       UsagramCmd --help\n");
  group(TGroup::Command, "Commands (one per run; the diagram outputs need none):");
  group(TGroup::Output, "Diagram outputs (any of them together, from one analysis):");
  group(TGroup::Document,
        "Document (with --document; Word must be installed; the WordBasic path uses the clipboard;\n"
        "without these options the user's settings choose, or Word 95 and no pictures when the\n"
        "lists of the analysis are given):");
  group(TGroup::Analysis,
        "Analysis (with --model, --cycles, --document or the diagram outputs; with any of them the\n"
        "run uses exactly these lists and leaves the registry alone, otherwise it reads and writes\n"
        "the settings):");
  std::fprintf(out,
               "Output: one line per item, fields separated by TAB, lines ending with LF; in text fields\n"
               "a backslash is written \\\\, CR \\r, LF \\n, TAB \\t, other bytes below 32 or above 126 \\xHH.\n"
               "Exit codes: 0 done, 1 the analysis stopped, 2 a command-line mistake or a file that cannot\n"
               "be read or written, 3 FILE not found, 4 no word processor could be started or it failed\n"
               "to write the document.\n");
}
