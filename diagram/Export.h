// The uses graph in the formats other tools read: Graphviz DOT, GraphML
// (yEd, Gephi), JSON (the whole model with its cycles) and CSV (one edge per
// line). Node colours are the diagram's; a hidden label is left out as the
// simplification options leave it out of the diagram.
#pragma once

#include <string>

#include "Draw.h"

class TFileArray;
struct TCycleReport;

enum class TGraphFormat { Dot, GraphMl, Json, Csv };

// The extension without its dot ("dot", "graphml", "json", "csv").
const char* GraphFormatExtension(TGraphFormat format);

// Texts in UTF-8. The array is the analysed one (FileArray, sorted); the
// basic-units box is UBase.
std::string GraphAsDot(const TFileArray& units, const TSimplification& options);
std::string GraphAsGraphMl(const TFileArray& units, const TSimplification& options);
std::string GraphAsCsv(const TFileArray& units, const TSimplification& options);
// Everything, hidden units included (each with its mark), and the cycles.
std::string GraphAsJson(const TFileArray& units, const TCycleReport& cycles);
std::string ExportGraph(TGraphFormat format, const TFileArray& units, const TSimplification& options);

// Writes the text as it stands (binary); false when the file cannot be written.
bool WriteTextFile(const std::string& fileName, const std::string& text);

// "#rrggbb" for a COLORREF.
std::string HexColour(COLORREF colour);
// Code page 1252 text as UTF-8, and UTF-16 as UTF-8.
std::string Utf8(const std::string& text);
std::string WideToUtf8(const std::wstring& text);
// UTF-8 text for XML: the five specials as entities, control characters
// other than TAB, CR and LF as U+FFFD (XML has no place for them).
std::string XmlText(const std::string& utf8);
