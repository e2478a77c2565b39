// Cycles, the graph exports and the SVG on the 1000-unit projects: what
// each costs beyond the analysis and the composition.
// Usage: graph_bench [WORKDIR] [--runs N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "Analysis.h"
#include "Compose.h"
#include "Cycles.h"
#include "Draw.h"
#include "Export.h"
#include "Globales.h"
#include "ProjectGenerator.h"
#include "Svg.h"
#include "Units.h"

namespace {

template <typename F>
double Best(int runs, F work) {
  double best = 1e9;
  for (int i = 0; i < runs; ++i) {
    const double start = Seconds();
    work();
    best = std::min(best, Seconds() - start);
  }
  return best;
}

void Measure(const char* label, int runs) {
  size_t bytes = 0;
  TCycleReport report;
  const double cycles = Best(runs, [&] { report = FindCycles(*FileArray); });
  std::printf("%-34s units %4d  in cycles %4d  components %3zu  errors %3zu\n", label, FileArray->Count,
              report.UnitsInCycles(), report.Components.size(), report.Errors.size());
  std::printf("  %-12s %8.4f s\n", "cycles", cycles);
  const TSimplification options;
  for (TGraphFormat format : {TGraphFormat::Dot, TGraphFormat::GraphMl, TGraphFormat::Json, TGraphFormat::Csv}) {
    const double t = Best(runs, [&] { bytes = ExportGraph(format, *FileArray, options).size(); });
    std::printf("  %-12s %8.4f s  %8zu bytes\n", GraphFormatExtension(format), t, bytes);
  }
  TNoDiagramHost host;
  TMetafile metafile;
  const double compose = Best(1, [&] { ComposeDiagram(host, metafile); });
  const double svg = Best(runs, [&] { bytes = MetafileAsSvg(metafile.Handle(), metafile.Width, metafile.Height).size(); });
  std::printf("  %-12s %8.4f s  %8zu bytes  (the composition itself: %.4f s)\n", "svg", svg, bytes, compose);
  std::fflush(stdout);
}

// Every unit's lowest use turned round: the whole project becomes one
// component, the worst case for the shortest cycles.
void CloseTheCircle() {
  TFile* root = FileArray->Root;
  for (int i = 0; i < FileArray->Count; ++i) {
    TFile* u = FileArray->Items[i];
    if (u && u != root && u->Found) u->ImplementationUses->Add(root);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const TBenchArgs args = ParseBenchArgs(argc, argv, 5, "usagram-graph-bench");
  try {
    std::filesystem::create_directories(args.WorkDir);
    TProjectShape wide;
    wide.Units = 999;
    wide.BytesPerUnit = 500;
    wide.UsesPerClause = 4;
    TProjectShape deep = wide;
    deep.Deep = true;
    const struct {
      const char* Label;
      TProjectShape Shape;
      bool Circle;
    } cases[] = {{"generated wide 999+1", wide, false},
                 {"generated wide 999+1, one circle", wide, true},
                 {"generated deep 999+1, one circle", deep, true}};
    for (const auto& c : cases) {
      const std::string dir = args.WorkDir + "\\p";
      std::error_code ignored;
      std::filesystem::remove_all(dir, ignored);
      const TGeneratedProject project = GenerateProject(dir, c.Shape);
      ReleaseModel();
      ClearLocations();
      LocationsLoaded = false;
      const double start = Seconds();
      AnalyseProjectFile(project.ProjectFile);
      std::printf("%-34s analysis %.3f s\n", c.Label, Seconds() - start);
      if (c.Circle) CloseTheCircle();
      Measure(c.Label, args.Runs);
      ReleaseModel();
      SetCurrentDirectoryA(args.WorkDir.c_str());
      std::filesystem::remove_all(dir, ignored);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "graph_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
