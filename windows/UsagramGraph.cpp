// The main window's commands on the uses graph: the cycles window, the
// graph exports, and the note on cycles after each analysis.
#include <stdexcept>

#include "Analysis.h"
#include "Cycles.h"
#include "Export.h"
#include "FileSystem.h"
#include "Units.h"
#include "ufCycles.h"
#include "ufUsagram.h"
#include "uChaines.h"

namespace {

// The save dialog's filters, in the order of TGraphFormat.
constexpr const char* GraphFilter =
    "*.dot - Graphviz|*.dot|*.graphml - GraphML (yEd, Gephi)|*.graphml|*.json - The whole model (JSON)|*.json|"
    "*.csv - One edge per line (CSV)|*.csv";
constexpr TGraphFormat FilterFormats[] = {TGraphFormat::Dot, TGraphFormat::GraphMl, TGraphFormat::Json,
                                          TGraphFormat::Csv};

// The format the name's extension asks for; the chosen filter otherwise.
TGraphFormat FormatFor(const std::string& fileName, int filterIndex) {
  const std::string extension = UpperCaseAscii(ExtractFileExt(fileName));
  for (TGraphFormat format : FilterFormats) {
    std::string wanted(1, '.');
    wanted += UpperCaseAscii(GraphFormatExtension(format));
    if (extension == wanted) return format;
  }
  const int i = filterIndex >= 1 && filterIndex <= 4 ? filterIndex - 1 : 0;
  return FilterFormats[i];
}

// The project's name with the format's extension.
std::string ProposedGraphName(const std::string& project, TGraphFormat format) {
  const std::string extension = ExtractFileExt(project);
  return project.substr(0, project.size() - extension.size()) + "." + GraphFormatExtension(format);
}

}  // namespace

void TfUsagram::Exportergraphe1Click() {
  if (!FileArray || Analysing || Composing) return;
  SaveGraph.Title = "Export graph";
  SaveGraph.Filter = GraphFilter;
  SaveGraph.Options = ofOverwritePrompt | ofHideReadOnly | ofPathMustExist;
  const TGraphFormat previous = FilterFormats[SaveGraph.FilterIndex >= 1 && SaveGraph.FilterIndex <= 4
                                                  ? SaveGraph.FilterIndex - 1
                                                  : 0];
  SaveGraph.DefaultExt = GraphFormatExtension(previous);
  SaveGraph.FileName = ProposedGraphName(OpenDialog.FileName, previous);
  if (!SaveGraph.Execute(Handle())) return;
  const TGraphFormat format = FormatFor(SaveGraph.FileName, SaveGraph.FilterIndex);
  if (!WriteTextFile(SaveGraph.FileName, ExportGraph(format, *FileArray, SimplificationOptions())))
    throw std::runtime_error("The graph cannot be written to " + SaveGraph.FileName + ".");
}

void TfUsagram::Cycles1Click() {
  if (!FileArray || Analysing || Composing) return;
  CyclesWindow().ShowCycles(FindCycles(*FileArray));
}

// In the unit panel, which the next unit under the mouse takes over: the
// state panel says "Ready" as it always does.
void TfUsagram::ShowCyclesNote() {
  if (!FileArray) return;
  SetStatusPanel(1, CyclesNote(FindCycles(*FileArray)));
}
