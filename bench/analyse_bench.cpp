// Analysis speed on generated projects: units per second and megabytes of
// source per second for a whole run (analysis, restart when IN paths add
// locations, branch sorting), and the deepest stack the depth-first walk
// used, the I/O floor (every file read with no analysis) and the analysis
// as a ratio to it, and the process's peak working set so far (the first
// case is the 1000-unit, 30 MB project).
// Usage: analyse_bench [WORKDIR] [--runs N] [--case LABEL-PREFIX]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <memory>
#include <string>
#include <vector>

#include "Analysis.h"
#include "BufLec.h"
#include "ReaderMemory.h"
#include "Globales.h"
#include "Messages.h"
#include "PASCAL.h"
#include "ProjectGenerator.h"
#include "Units.h"
#include "Yield.h"

namespace {

uintptr_t StackTop = 0;
uintptr_t StackLowest = 0;

void NoteStack(const std::string&) {
  volatile char here = 0;
  uintptr_t address = reinterpret_cast<uintptr_t>(&here);
  if (address < StackLowest) StackLowest = address;
}

double SortStart = 0;

void NotePhase(const std::string& text) {
  if (text == Msg::StatusSorting) SortStart = Seconds();
}

struct TCase {
  const char* Label;
  TProjectShape Shape;
};

// The sub-directories of a project without IN paths as locations, then ".".
void UseSubDirectoriesAsLocations(const std::string& dir, const TProjectShape& shape) {
  ClearLocations();
  int i = 0;
  for (; i < shape.SubDirectories; ++i) {
    Locations[i] = std::make_unique<TLocation>(dir + "\\part" + std::to_string(i));
    Locations[i]->Active = true;
  }
  SetCurrentDirectoryA(dir.c_str());
  Locations[i] = std::make_unique<TLocation>(".");
  LocationCount = static_cast<uint16_t>(i + 1);
  LocationsLoaded = true;
}

// The I/O floor: every file of the project opened and read as the file
// reader does (the C runtime's unbuffered stream, blocks of its half size
// into a block of its own size), with no analysis. The analysis can cost no
// less than this.
double ReadAllFilesOnce(const std::vector<std::string>& files) {
  const double start = Seconds();
  TReaderBlock block;
  for (const std::string& name : files) {
    if (!AllocateReaderBlock(2 * TFileBufLec::DefaultHalfSize + 2, block)) throw std::runtime_error("no memory");
    if (std::FILE* f = std::fopen(name.c_str(), "rb")) {
      std::setvbuf(f, nullptr, _IONBF, 0);
      while (std::fread(block.Address, 1, TFileBufLec::DefaultHalfSize, f) == TFileBufLec::DefaultHalfSize) {
      }
      std::fclose(f);
    }
    FreeReaderBlock(block);
  }
  return Seconds() - start;
}

// Reading and scanning alone: every file's header scan, entries ignored.
double ScanAllFilesOnce(const std::vector<std::string>& files) {
  const double start = Seconds();
  for (const std::string& name : files) ScanUses(name, [](TUsesClause, const std::string&, const std::string&) {});
  return Seconds() - start;
}

double PeakWorkingSetMegabytes() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return 0;
  return static_cast<double>(counters.PeakWorkingSetSize) / (1024.0 * 1024.0);
}

std::vector<std::string> ProjectFiles(const std::string& dir) {
  std::vector<std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(dir))
    if (entry.is_regular_file()) files.push_back(entry.path().string());
  return files;
}

void RunCase(const std::string& workDir, const TCase& c, int runs) {
  std::string dir = workDir + "\\" + c.Label;
  std::error_code ignored;
  std::filesystem::remove_all(dir, ignored);
  TGeneratedProject project = GenerateProject(dir, c.Shape);
  const std::vector<std::string> files = ProjectFiles(dir);
  std::vector<double> times, sortTimes, floors, scans;
  size_t units = 0;
  uint16_t level = 0;
  size_t stack = 0;
  for (int r = 0; r < runs; ++r) {
    // Each run starts from a fresh location list, as a first analysis does.
    ReleaseModel();
    ClearLocations();
    LocationsLoaded = false;
    if (c.Shape.SubDirectories > 0 && !c.Shape.InPaths) UseSubDirectoriesAsLocations(dir, c.Shape);
    char here = 0;
    StackTop = reinterpret_cast<uintptr_t>(&here);
    StackLowest = StackTop;
    floors.push_back(ReadAllFilesOnce(files));
    scans.push_back(ScanAllFilesOnce(files));
    double start = Seconds();
    AnalyseProjectFile(project.ProjectFile);
    double end = Seconds();
    times.push_back(end - start);
    sortTimes.push_back(end - SortStart);
    units = FileArray->Count;
    level = FileArray->Root ? FileArray->Root->Level : 0;
    stack = StackTop - StackLowest;
  }
  std::sort(times.begin(), times.end());
  std::sort(sortTimes.begin(), sortTimes.end());
  std::sort(floors.begin(), floors.end());
  std::sort(scans.begin(), scans.end());
  std::printf("  scan alone %7.3f s\n", scans.front());
  double best = times.front(), median = times[times.size() / 2];
  double megabytes = static_cast<double>(project.Bytes) / (1024.0 * 1024.0);
  std::printf("%-28s units %5zu  files %6.1f MB  level %4u  best %7.3f s  median %7.3f s  (sorting %6.3f s)  %8.0f units/s  %7.1f MB/s  stack %6.1f KB  floor %7.3f s  ratio %5.2f  peak WS %6.1f MB\n",
              c.Label, units, megabytes, level, best, median, sortTimes.front(), static_cast<double>(units) / best, megabytes / best,
              static_cast<double>(stack) / 1024.0, floors.front(), best / floors.front(), PeakWorkingSetMegabytes());
  std::fflush(stdout);
  ReleaseModel();
  ClearLocations();
  LocationsLoaded = false;
  SetCurrentDirectoryA(workDir.c_str());
  std::filesystem::remove_all(dir, ignored);
}

}  // namespace

int main(int argc, char** argv) {
  const TBenchArgs args = ParseBenchArgs(argc, argv, 3, "usagram-bench");
  const std::string& workDir = args.WorkDir;
  const int runs = args.Runs;
  std::filesystem::create_directories(workDir);
  SetStatusHooks(NotePhase, NoteStack);

  TCase cases[] = {
      {"wide-999+1x30KB", {999, false, 30000, 0, true, 4, 1}},
      {"deep-chain-999x30KB", {999, true, 30000, 0, true, 4, 2}},
      {"wide-300x10KB-5-in-dirs", {300, false, 10000, 5, true, 4, 3}},
      {"wide-999+1x10KB-8-locations", {999, false, 10000, 8, false, 4, 5}},
      {"wide-999+1x2KB-8-uses", {999, false, 2000, 0, true, 8, 4}},
  };
  try {
    for (const TCase& c : cases)
      if (std::strncmp(c.Label, args.Case.c_str(), args.Case.size()) == 0) RunCase(workDir, c, runs);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "analyse_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
