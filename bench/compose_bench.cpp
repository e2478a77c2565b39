// Composition speed: lays out and records the diagram of generated projects
// (analysed from disk) and of synthetic unit arrays, with the font search
// on a memory context (as the program composes) and, for comparison, with
// the plain loop that creates every font on the metafile itself.
// Usage: compose_bench [WORKDIR] [--runs N]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <filesystem>
#include <string>
#include <vector>

#include "Analysis.h"
#include "Compose.h"
#include "Draw.h"
#include "Globales.h"
#include "Layout.h"
#include "ProjectGenerator.h"
#include "TextFit.h"
#include "Units.h"

namespace {

TSimplification Options;
TSimplification CurrentOptions() { return Options; }

void HideAll(bool hidden) {
  if (!FileArray) return;
  for (int i = 0; i < FileArray->Count; ++i)
    if (FileArray->Items[i]) FileArray->Items[i]->Hidden = hidden;
}

// The composition without its window and without the fast font search.
void ComposePlain(TMetafile& metafile) {
  RECT r = LayoutSpace;
  if (FileArray) ComputeLayout(*FileArray, r);
  metafile.Width = r.right;
  metafile.Height = r.bottom;
  TWindowDC screen;
  TMetafileRecorder recorder(metafile, screen);
  TCanvas canvas(recorder.Dc());
  DrawDiagram(FileArray.get(), canvas, r);
}

struct TFigures {
  double Best = 0, Median = 0;
  UINT Records = 0, Bytes = 0;
  int Width = 0, Height = 0;
};

template <typename F>
TFigures Time(int runs, F compose) {
  std::vector<double> times;
  TMetafile metafile;
  for (int i = 0; i < runs; ++i) {
    const double start = Seconds();
    compose(metafile);
    times.push_back(Seconds() - start);
  }
  std::sort(times.begin(), times.end());
  TFigures f;
  f.Best = times.front();
  f.Median = times[times.size() / 2];
  ENHMETAHEADER header{};
  GetEnhMetaFileHeader(metafile.Handle(), sizeof header, &header);
  f.Records = header.nRecords;
  f.Bytes = header.nBytes;
  f.Width = metafile.Width;
  f.Height = metafile.Height;
  return f;
}

void Report(const char* label, int units, const TFigures& fast, const TFigures& plain) {
  std::printf("%-30s units %5d  diagram %4dx%-5d rows %3d px  fast: best %7.3f s median %7.3f s  %7u records %8u bytes"
              "  | plain loop: best %7.3f s  %7u records\n",
              label, units, fast.Width, fast.Height, FileArray ? FileArray->RowHeight : 0, fast.Best, fast.Median,
              fast.Records, fast.Bytes, plain.Best, plain.Records);
  std::fflush(stdout);
}

void Measure(const char* label, int runs) {
  TNoDiagramHost host;
  const TFigures fast = Time(runs, [&](TMetafile& m) { ComposeDiagram(host, m); });
  const TFigures plain = Time(runs, ComposePlain);
  Report(label, FileArray ? FileArray->Count : 0, fast, plain);
  // Where the time goes: every unit hidden, losing either its links or its label.
  HideAll(true);
  Options = TSimplification{true, true, false, false};
  const TFigures labels = Time(runs, [&](TMetafile& m) { ComposeDiagram(host, m); });
  Options = TSimplification{false, false, true, false};
  const TFigures links = Time(runs, [&](TMetafile& m) { ComposeDiagram(host, m); });
  Options = TSimplification{true, true, true, false};
  const TFigures neither = Time(runs, [&](TMetafile& m) { ComposeDiagram(host, m); });
  Options = TSimplification{};
  HideAll(false);
  std::printf("%-30s   labels only %7.3f s   links only %7.3f s   neither (layout, box, caption) %7.3f s\n", "",
              labels.Best, links.Best, neither.Best);
  std::fflush(stdout);
}

// A synthetic array: found units with names of the given length, each
// using a few units below it, some not found and some basic units.
void Synthetic(int found, int nameLength, int uses) {
  ReleaseModel();
  FileArray = std::make_unique<TFileArray>(true);
  UBase = std::make_unique<TUBase>();
  auto add = [](const std::string& name, int location) {
    auto* unit = new TFile(name, "");
    unit->Location = location;
    unit->Found = location >= 0;
    FileArray->Items[FileArray->Count++] = unit;
    return unit;
  };
  for (int i = 0; i < 5; ++i) add("Basic" + std::to_string(i), -2);
  for (int i = 0; i < 5; ++i) add("Missing" + std::to_string(i), -1);
  const int first = FileArray->Count;
  for (int i = 0; i < found; ++i) {
    std::string name = "Unit" + std::to_string(i);
    while (static_cast<int>(name.size()) < nameLength) name += (i % 2 ? 'W' : 'i');
    TFile* unit = add(name, 0);
    for (int k = 0; k < uses && first + i - k - 1 >= 0; ++k) {
      TFile* used = FileArray->Items[std::max(0, first + i - 1 - k * 7)];
      TFileArray* list = (k % 2 ? unit->ImplementationUses : unit->InterfaceUses).get();
      list->Items[list->Count++] = used;
    }
  }
}

}  // namespace

int main(int argc, char** argv) {
  const TBenchArgs args = ParseBenchArgs(argc, argv, 5, "usagram-compose-bench");
  const std::string& workDir = args.WorkDir;
  const int runs = args.Runs;
  SetSimplificationSource(CurrentOptions);
  try {
      std::filesystem::create_directories(workDir);
    auto wide = [](int units, int uses, uint32_t seed) {
      TProjectShape shape;
      shape.Units = units;
      shape.BytesPerUnit = 500;
      shape.UsesPerClause = uses;
      shape.Seed = seed;
      return shape;
    };
    const TProjectShape shapes[] = {wide(999, 4, 1), wide(300, 4, 2), wide(100, 3, 3)};
    const char* labels[] = {"generated wide 999+1", "generated wide 300+1", "generated wide 100+1"};
    for (int s = 0; s < 3; ++s) {
      const std::string dir = workDir + "\\p" + std::to_string(s);
      std::error_code ignored;
      std::filesystem::remove_all(dir, ignored);
      TGeneratedProject project = GenerateProject(dir, shapes[s]);
      ReleaseModel();
      ClearLocations();
      LocationsLoaded = false;
      AnalyseProjectFile(project.ProjectFile);
      Measure(labels[s], runs);
      ReleaseModel();
      SetCurrentDirectoryA(workDir.c_str());
      std::filesystem::remove_all(dir, ignored);
    }
    Synthetic(990, 12, 5);
    Measure("synthetic 1000, names of 12", runs);
    Synthetic(60, 30, 3);
    Measure("synthetic 70, names of 30", runs);
    Synthetic(20, 40, 2);
    Measure("synthetic 30, names of 40", runs);
    ReleaseModel();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "compose_bench: %s\n", e.what());
    return 1;
  }
  return 0;
}
