// Synthetic Delphi projects for the benchmarks: hundreds to thousands of
// units, shaped wide (a project naming every unit, each using a few lower
// ones) or deep (one long chain), of a chosen size per unit.
#pragma once

#include <cstdint>
#include <string>

struct TProjectShape {
  int Units = 1000;
  bool Deep = false;          // a chain U0 -> U1 -> ... instead of a wide graph
  int BytesPerUnit = 30000;   // approximate size of each unit file
  int SubDirectories = 0;     // units spread over that many sub-directories "part0", "part1", ...
  bool InPaths = true;        // the project names them by IN paths (else they must be locations)
  int UsesPerClause = 4;      // wide shape: names per interface and implementation clause
  uint32_t Seed = 1;
};

struct TGeneratedProject {
  std::string ProjectFile;  // full name of the .DPR
  int Units = 0;            // unit files written (the project not counted)
  uint64_t Bytes = 0;       // bytes of every file written, the project included
};

// Writes the project into the directory (created if needed). Files use
// CR LF line ends. Throws std::runtime_error when a file cannot be written.
TGeneratedProject GenerateProject(const std::string& directory, const TProjectShape& shape);

// Name of unit i of a generated project.
std::string GeneratedUnitName(int i);

// The command line shared by the benchmarks: [--runs N] [WORKDIR]. Without
// a directory they work in the temporary directory's defaultName.
struct TBenchArgs {
  int Runs;
  std::string WorkDir;  // absolute
  std::string Case;     // --case LABEL: only the benchmark cases whose label starts so
};
TBenchArgs ParseBenchArgs(int argc, char** argv, int defaultRuns, const std::string& defaultName);

// A steady clock in seconds, for timing runs.
double Seconds();
