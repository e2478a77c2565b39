#include "Export.h"

#include <cstdio>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "Cycles.h"
#include "FileSystem.h"
#include "Globales.h"
#include "Units.h"
#include "WideText.h"

namespace {

// What the diagram would show of a unit and of a link, read the way the
// drawing reads the hidden marks and the simplification options.
class TVisibility {
 public:
  explicit TVisibility(const TSimplification& options) : Options(options) {}
  bool BoxHidden() const { return UBase && UBase->Hidden; }
  bool Hidden(const TFile& u) const { return u.Location == LocationBasic ? BoxHidden() : u.Hidden; }
  bool Shown(const TFile& u) const { return !(Hidden(u) && Options.Vignette); }
  bool LinkShown(const TFile& from, const TFile& to) const {
    if (!Shown(from) || !Shown(to)) return false;
    if (from.Hidden && Options.Aval) return false;
    return !(Hidden(to) && Options.Amont);
  }

 private:
  TSimplification Options;
};

const char* Kind(const TFile& u) {
  if (u.Location == LocationBasic) return "basic";
  if (u.Location == LocationNotFound) return "not found";
  return "found";
}

std::string FileNameUtf8(const std::string& name) { return WideToUtf8(WidenFileName(name)); }

std::string FullFileName(const TFile& u) { return u.FileName.empty() ? std::string() : ExpandFileName(u.FileName); }

template <typename F>
void ForEachUse(const TFile& u, F&& f) {
  if (u.InterfaceUses)
    for (int k = 0; k < u.InterfaceUses->Count; ++k)
      if (u.InterfaceUses->Items[k]) f(*u.InterfaceUses->Items[k], TClause::Interface);
  if (u.ImplementationUses)
    for (int k = 0; k < u.ImplementationUses->Count; ++k)
      if (u.ImplementationUses->Items[k]) f(*u.ImplementationUses->Items[k], TClause::Implementation);
}

std::string Quoted(const std::string& utf8, const char* specials) {
  std::string out = "\"";
  for (char c : utf8) {
    if (std::strchr(specials, c)) out += '\\';
    out += c;
  }
  return out + '"';
}

std::string DotId(const std::string& name) { return Quoted(Utf8(name), "\"\\"); }

std::string Json(const std::string& utf8) {
  std::string out = "\"";
  for (char c : utf8) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 32) {
          char code[8];
          std::snprintf(code, sizeof code, "\\u%04x", c);
          out += code;
        } else {
          out += c;
        }
    }
  }
  return out + '"';
}

std::string Csv(const std::string& utf8) {
  if (utf8.find_first_of(",\"\r\n") == std::string::npos) return utf8;
  std::string out = "\"";
  for (char c : utf8) {
    if (c == '"') out += '"';
    out += c;
  }
  return out + '"';
}

const char* Bool(bool b) { return b ? "true" : "false"; }

// Each unit's index, name in UTF-8 and colour, worked out once per export
// rather than once per edge.
class TNodes {
 public:
  explicit TNodes(const TFileArray& units) : Names(units.Count), Colours(units.Count) {
    Index.reserve(units.Count * 2u);
    for (int i = 0; i < units.Count; ++i) {
      const TFile* u = units.Items[i];
      if (!u) continue;
      Index.emplace(u, i);
      Names[i] = Utf8(u->Name);
      Colours[i] = HexColour(LocationColour(u->Location));
    }
  }
  int IndexOf(const TFile& u) const {
    auto found = Index.find(&u);
    return found == Index.end() ? -1 : found->second;
  }

  std::unordered_map<const TFile*, int> Index;
  std::vector<std::string> Names;
  std::vector<std::string> Colours;
};

std::string BoxTitle() { return UBase ? UBase->Name : std::string("Basic units"); }

}  // namespace

std::string WideToUtf8(const std::wstring& wide) {
  std::string out(wide.size() * 3 + 1, '\0');
  const int n = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), static_cast<int>(wide.size()), out.data(),
                                    static_cast<int>(out.size()), nullptr, nullptr);
  out.resize(n > 0 ? n : 0);
  return out;
}

std::string Utf8(const std::string& text) { return WideToUtf8(WidenText(text)); }

std::string XmlText(const std::string& utf8) {
  std::string out;
  for (char c : utf8) {
    switch (c) {
      case '&': out += "&amp;"; break;
      case '<': out += "&lt;"; break;
      case '>': out += "&gt;"; break;
      case '"': out += "&quot;"; break;
      default:
        if (static_cast<unsigned char>(c) < 32 && c != '\t' && c != '\n' && c != '\r') out += "&#xFFFD;";
        else out += c;
    }
  }
  return out;
}

std::string HexColour(COLORREF colour) {
  char text[8];
  std::snprintf(text, sizeof text, "#%02x%02x%02x", GetRValue(colour), GetGValue(colour), GetBValue(colour));
  return text;
}

const char* GraphFormatExtension(TGraphFormat format) {
  switch (format) {
    case TGraphFormat::Dot: return "dot";
    case TGraphFormat::GraphMl: return "graphml";
    case TGraphFormat::Json: return "json";
    case TGraphFormat::Csv: return "csv";
  }
  return "";
}

std::string GraphAsDot(const TFileArray& units, const TSimplification& options) {
  const TVisibility view(options);
  std::string out = "digraph " + DotId(units.Root ? units.Root->Name : std::string("Usagram")) + " {\n";
  out += "  node [shape=box, style=filled, fillcolor=\"#ffffff\", fontname=\"Times New Roman\"];\n";
  // Basic units stand together, in one box titled as the diagram's.
  bool anyBasic = false;
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u || u->Location != LocationBasic || !view.Shown(*u)) continue;
    if (!anyBasic) {
      out += "  subgraph cluster_basic {\n    label=" + DotId(BoxTitle()) + "; color=\"" +
             HexColour(BasicUnitsColour) + "\";\n";
      anyBasic = true;
    }
    out += "    " + DotId(u->Name) + " [color=\"" + HexColour(LocationColour(u->Location)) + "\", tooltip=\"basic\"];\n";
  }
  if (anyBasic) out += "  }\n";
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u || u->Location == LocationBasic || !view.Shown(*u)) continue;
    out += "  " + DotId(u->Name) + " [color=\"" + HexColour(LocationColour(u->Location)) + "\"";
    if (u->Location == LocationNotFound) out += ", style=\"filled,dashed\", tooltip=\"not found\"";
    out += "];\n";
  }
  const TNodes nodes(units);
  std::vector<std::string> ids(units.Count);
  for (int i = 0; i < units.Count; ++i) ids[i] = Quoted(nodes.Names[i], "\"\\");
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u) continue;
    ForEachUse(*u, [&](const TFile& v, TClause clause) {
      const int j = nodes.IndexOf(v);
      if (j < 0 || !view.LinkShown(*u, v)) return;
      out += "  ";
      out += ids[i];
      out += " -> ";
      out += ids[j];
      out += " [color=\"";
      out += nodes.Colours[i];
      out += clause == TClause::Implementation ? "\", style=dashed];\n" : "\"];\n";
    });
  }
  return out + "}\n";
}

std::string GraphAsGraphMl(const TFileArray& units, const TSimplification& options) {
  const TVisibility view(options);
  std::string out =
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      "<graphml xmlns=\"http://graphml.graphdrawing.org/xmlns\"\n"
      "         xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"\n"
      "         xmlns:y=\"http://www.yworks.com/xml/graphml\"\n"
      "         xsi:schemaLocation=\"http://graphml.graphdrawing.org/xmlns "
      "http://www.yworks.com/xml/schema/graphml/1.1/ygraphml.xsd\">\n"
      "  <key id=\"label\" for=\"node\" attr.name=\"label\" attr.type=\"string\"/>\n"
      "  <key id=\"kind\" for=\"node\" attr.name=\"kind\" attr.type=\"string\"/>\n"
      "  <key id=\"location\" for=\"node\" attr.name=\"location\" attr.type=\"int\"/>\n"
      "  <key id=\"level\" for=\"node\" attr.name=\"level\" attr.type=\"int\"/>\n"
      "  <key id=\"file\" for=\"node\" attr.name=\"file\" attr.type=\"string\"/>\n"
      "  <key id=\"colour\" for=\"node\" attr.name=\"colour\" attr.type=\"string\"/>\n"
      "  <key id=\"r\" for=\"node\" attr.name=\"r\" attr.type=\"int\"/>\n"
      "  <key id=\"g\" for=\"node\" attr.name=\"g\" attr.type=\"int\"/>\n"
      "  <key id=\"b\" for=\"node\" attr.name=\"b\" attr.type=\"int\"/>\n"
      "  <key id=\"shape\" for=\"node\" yfiles.type=\"nodegraphics\"/>\n"
      "  <key id=\"clause\" for=\"edge\" attr.name=\"clause\" attr.type=\"string\"/>\n"
      "  <key id=\"line\" for=\"edge\" yfiles.type=\"edgegraphics\"/>\n"
      "  <graph id=\"" + XmlText(Utf8(units.Root ? units.Root->Name : std::string("Usagram"))) +
      "\" edgedefault=\"directed\">\n";
  std::vector<int> shown;
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u || !view.Shown(*u)) continue;
    const COLORREF c = LocationColour(u->Location);
    const std::string name = XmlText(Utf8(u->Name)), colour = HexColour(c);
    out += "    <node id=\"n" + std::to_string(i) + "\">\n";
    out += "      <data key=\"label\">" + name + "</data>\n";
    out += "      <data key=\"kind\">" + std::string(Kind(*u)) + "</data>\n";
    out += "      <data key=\"location\">" + std::to_string(u->Location) + "</data>\n";
    out += "      <data key=\"level\">" + std::to_string(u->Level) + "</data>\n";
    if (!u->FileName.empty()) out += "      <data key=\"file\">" + XmlText(FileNameUtf8(FullFileName(*u))) + "</data>\n";
    out += "      <data key=\"colour\">" + colour + "</data>\n";
    out += "      <data key=\"r\">" + std::to_string(GetRValue(c)) + "</data><data key=\"g\">" +
           std::to_string(GetGValue(c)) + "</data><data key=\"b\">" + std::to_string(GetBValue(c)) + "</data>\n";
    out += "      <data key=\"shape\"><y:ShapeNode><y:Fill color=\"#FFFFFF\" transparent=\"false\"/>"
           "<y:BorderStyle color=\"" + colour + "\" type=\"" +
           (u->Location == LocationNotFound ? "dashed" : "line") + "\" width=\"1.0\"/><y:NodeLabel>" + name +
           "</y:NodeLabel><y:Shape type=\"rectangle\"/></y:ShapeNode></data>\n";
    out += "    </node>\n";
  }
  const TNodes nodes(units);
  int edge = 0;
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u) continue;
    const std::string source = "\" source=\"n" + std::to_string(i) + "\" target=\"n";
    ForEachUse(*u, [&](const TFile& v, TClause clause) {
      const int j = nodes.IndexOf(v);
      if (j < 0 || !view.LinkShown(*u, v)) return;
      out += "    <edge id=\"e";
      out += std::to_string(edge++);
      out += source;
      out += std::to_string(j);
      out += "\">\n      <data key=\"clause\">";
      out += ClauseName(clause);
      out += "</data>\n      <data key=\"line\"><y:PolyLineEdge><y:LineStyle color=\"";
      out += nodes.Colours[i];
      out += clause == TClause::Implementation ? "\" type=\"dashed" : "\" type=\"line";
      out += "\" width=\"1.0\"/><y:Arrows source=\"none\" target=\"standard\"/></y:PolyLineEdge></data>\n"
             "    </edge>\n";
    });
  }
  return out + "  </graph>\n</graphml>\n";
}

std::string GraphAsCsv(const TFileArray& units, const TSimplification& options) {
  const TVisibility view(options);
  std::string out = "from,to,clause\r\n";
  const TNodes nodes(units);
  std::vector<std::string> fields(units.Count);
  for (int i = 0; i < units.Count; ++i) fields[i] = Csv(nodes.Names[i]);
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u) continue;
    ForEachUse(*u, [&](const TFile& v, TClause clause) {
      const int j = nodes.IndexOf(v);
      if (j < 0 || !view.LinkShown(*u, v)) return;
      out += fields[i];
      out += ',';
      out += fields[j];
      out += ',';
      out += ClauseName(clause);
      out += "\r\n";
    });
  }
  return out;
}

namespace {

// Every unit's name as a JSON string, once.
class TJsonNames {
 public:
  explicit TJsonNames(const TFileArray& units) : Nodes(units), Quoted(units.Count) {
    for (int i = 0; i < units.Count; ++i) Quoted[i] = Json(Nodes.Names[i]);
  }
  std::string operator()(const TFile* u) const {
    const int i = Nodes.IndexOf(*u);
    return i >= 0 ? Quoted[i] : Json(Utf8(u->Name));
  }
  const TNodes Nodes;

 private:
  std::vector<std::string> Quoted;
};

std::string NameList(const std::vector<TFile*>& list, const TJsonNames& names) {
  std::string out = "[";
  for (const TFile* u : list) {
    if (out.size() > 1) out += ", ";
    out += names(u);
  }
  return out + "]";
}

std::string JsonComponents(const std::vector<TCycleComponent>& list, const TJsonNames& names) {
  std::string out = "[";
  for (const TCycleComponent& c : list) {
    out += out.size() > 1 ? ",\n      " : "\n      ";
    out += "{\"units\": " + NameList(c.Units, names) + ", \"cycle\": [";
    for (size_t k = 0; k < c.Cycle.size(); ++k) {
      const TCycleStep& s = c.Cycle[k];
      out += std::string(k ? ", " : "") + "{\"from\": " + names(s.From) + ", \"to\": " + names(s.To) + ", \"clause\": \"" + ClauseName(s.Clause) + "\"}";
    }
    out += "]}";
  }
  return out + (list.empty() ? "]" : "\n    ]");
}

}  // namespace

std::string GraphAsJson(const TFileArray& units, const TCycleReport& cycles) {
  const TJsonNames names(units);
  std::string out = "{\n  \"format\": \"usagram-model\",\n  \"version\": 1,\n";
  out += "  \"project\": " + Json(Utf8(units.Root ? units.Root->Name : std::string())) + ",\n";
  out += "  \"basicBox\": {\"title\": " + Json(Utf8(BoxTitle())) + ", \"hidden\": " + Bool(UBase && UBase->Hidden) +
         ", \"colour\": \"" + HexColour(BasicUnitsColour) + "\"},\n";
  out += "  \"notFoundColour\": \"" + HexColour(NotFoundColour) + "\",\n";
  out += "  \"locations\": [";
  for (int i = 0; i < LocationCount; ++i) {
    const TLocation* l = Locations[i].get();
    if (!l) continue;
    out += std::string(i ? "," : "") + "\n    {\"index\": " + std::to_string(i) + ", \"path\": " +
           Json(FileNameUtf8(l->Path)) + ", \"colour\": \"" + HexColour(l->Colour) + "\", \"basic\": " + Bool(l->Basic) +
           ", \"active\": " + Bool(l->Active) + ", \"explicit\": " + Bool(l->Explicit) + ", \"current\": " +
           Bool(i == LocationCount - 1) + "}";
  }
  out += "\n  ],\n  \"basicUnits\": [";
  for (int i = 0; i < BasicUnitCount; ++i) out += std::string(i ? ", " : "") + Json(Utf8(BasicUnits[i]));
  out += "],\n  \"units\": [";
  for (int i = 0; i < units.Count; ++i) {
    const TFile* u = units.Items[i];
    if (!u) continue;
    auto sourceOrder = [&names](const std::unique_ptr<TFileArray>& list) {
      return list ? NameList(list->InSourceOrder, names) : std::string("[]");
    };
    out += std::string(i ? "," : "") + "\n    {\"index\": " + std::to_string(i) + ", \"name\": " + names(u) +
           ", \"kind\": \"" + Kind(*u) + "\", \"location\": " + std::to_string(u->Location) + ", \"colour\": \"" +
           names.Nodes.Colours[i] + "\", \"level\": " + std::to_string(u->Level) + ", \"isUnit\": " +
           Bool(u->IsUnit) + ", \"hidden\": " + Bool(u->Hidden) + ",\n     \"file\": " +
           (u->FileName.empty() ? std::string("null") : Json(FileNameUtf8(FullFileName(*u)))) +
           ",\n     \"interface\": " + sourceOrder(u->InterfaceUses) + ",\n     \"implementation\": " +
           sourceOrder(u->ImplementationUses) + "}";
  }
  out += "\n  ],\n  \"cycles\": {\n    \"unitsInCycles\": " + std::to_string(cycles.UnitsInCycles()) +
         ",\n    \"errors\": " + JsonComponents(cycles.Errors, names) + ",\n    \"components\": " +
         JsonComponents(cycles.Components, names) + "\n  }\n}\n";
  return out;
}

std::string ExportGraph(TGraphFormat format, const TFileArray& units, const TSimplification& options) {
  switch (format) {
    case TGraphFormat::Dot: return GraphAsDot(units, options);
    case TGraphFormat::GraphMl: return GraphAsGraphMl(units, options);
    case TGraphFormat::Json: return GraphAsJson(units, FindCycles(units));
    case TGraphFormat::Csv: return GraphAsCsv(units, options);
  }
  return std::string();
}

bool WriteTextFile(const std::string& fileName, const std::string& text) {
  std::FILE* f = _wfopen(WidenFileName(fileName).c_str(), L"wb");
  if (!f) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), f) == text.size();
  return std::fclose(f) == 0 && written;
}
