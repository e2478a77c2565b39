// The console program's command line: one table of options that both parses
// the arguments and prints --help, so the two cannot say different things.
#pragma once

#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "Ridarar.h"

// Exit codes of UsagramCmd.
enum TExitCode : int {
  ExitDone = 0,
  ExitFatal = StopExitCode,  // the analysis stopped the program (memory, a refused warning)
  ExitBadInput = 2,  // a command-line mistake, or a file that cannot be read or written
  ExitNotFound = 3,  // FILE does not exist (the model is its unresolved root)
  ExitWordProcessor = 4,  // --document: no word processor could be started, or it failed
};

// A mistake on the command line: one line on standard error, exit code 2.
class ECmdUsage : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --document: the word processor could not be started or did not write the
// document. One line on standard error, exit code 4.
class ECmdWordProcessor : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An input or output that cannot be read or written: one line on standard
// error, exit code 2.
class ECmdFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The PNG: at most this wide, and this many pixels in all (a 32-bit bitmap
// of 200 million pixels takes 800 MB).
inline constexpr int MaxPngWidth = 20000;
inline constexpr long long MaxPngPixels = 200'000'000;

enum class TCmdMode { Help, Tokens, Uses, Model, Cycles, Diagram, Document };

// What to analyse: the lists given on the command line (then the registry
// is left alone) or, without them, the user's settings.
struct TAnalysisRequest {
  struct TLocationOption {
    std::string Directory;  // full path, taken from where the program starts
    bool Basic = false;
    bool Active = true;
    // --options: a project's option file (full path) whose search path
    // stands here, as one --location per directory; Directory is empty. Its
    // scope names follow the first ScopeNamesBefore of --scope.
    std::string OptionsFile;
    std::size_t ScopeNamesBefore = 0;
  };
  std::vector<TLocationOption> Locations;  // in list order; "." follows them
  std::vector<std::string> BasicUnits;
  std::vector<std::string> ScopeNames;  // in the order they are tried
  std::string Platform, Config;  // a .dproj's configuration; empty: the file's default
  bool ListsGiven = false;
  std::string File;  // full path
};

struct TDiagramRequest {
  bool Layout = false;
  std::string Emf, Png;             // full paths, or empty
  int Width = 0;                    // 0: the picture's own size
  std::vector<std::string> Hidden;  // names whose labels are hidden, as a click would
  // The graph in other tools' formats, and the diagram as SVG.
  std::string Dot, GraphMl, Json, Csv, Svg;  // full paths, or empty

  bool AnyGraphExport() const { return !Dot.empty() || !GraphMl.empty() || !Json.empty() || !Csv.empty(); }
  bool AnyOutput() const { return Layout || !Emf.empty() || !Png.empty() || !Svg.empty() || AnyGraphExport(); }
};

// Which automation dialect drives the word processor.
enum class TWordDialect { Setting, Word95, Word97 };

struct TDocumentRequest {
  std::string File;      // full path of the document
  TWordDialect Dialect = TWordDialect::Setting;
  std::string Pictures;  // full path, or empty: the user's setting
};

struct TCmdRequest {
  TCmdMode Mode = TCmdMode::Help;
  std::string File;  // as given
  TAnalysisRequest Analysis;
  TDiagramRequest Diagram;
  TDocumentRequest Document;
};

// The options in any order, FILE last. Throws ECmdUsage.
TCmdRequest ParseCommandLine(const std::vector<std::string>& args);
void PrintUsage(std::FILE* out);
