#include "ProjectGenerator.h"

#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

std::string GeneratedUnitName(int i) {
  char name[16];
  std::snprintf(name, sizeof name, "Gen%04d", i);
  return name;
}

namespace {

std::string SubDirOf(int i, const TProjectShape& shape) {
  return shape.SubDirectories > 0 ? "part" + std::to_string(i % shape.SubDirectories) : std::string();
}

// Routine bodies in the style of the period, to fill a unit to its size.
void AppendRoutine(std::string& text, const std::string& unit, int n, std::mt19937& random) {
  const std::string name = unit + "_Routine" + std::to_string(n);
  text += "{ " + name + " walks the list and collects the items whose key\r\n"
          "  matches; it keeps the order in which they were found. }\r\n";
  text += "function " + name + "(List: TList; const Key: string; Limit: Integer): string;\r\n";
  text += "var\r\n  I, Count: Integer;\r\n  Item: PItemRecord;\r\nbegin\r\n  Result := '';\r\n  Count := 0;\r\n";
  text += "  for I := 0 to List.Count - 1 do\r\n  begin\r\n    Item := PItemRecord(List[I]);\r\n";
  text += "    if (Item^.Key = Key) and (Count < Limit) then\r\n    begin\r\n";
  text += "      Result := Result + Format('%s=%d;', [Item^.Name, Item^.Value" + std::to_string(random() % 97) + "]);\r\n";
  text += "      Inc(Count); // (* not a comment opener inside a line comment *)\r\n    end;\r\n  end;\r\n";
  text += "  if Count = 0 then\r\n    Result := 'No item for ''' + Key + ''' in " + unit + "';\r\nend;\r\n\r\n";
}

void AppendDeclarations(std::string& text, const std::string& unit, int count) {
  text += "type\r\n  PItemRecord = ^TItemRecord;\r\n  TItemRecord = record\r\n    Key, Name: string[63];\r\n";
  text += "    Value: Integer;\r\n  end;\r\n\r\n";
  text += "  T" + unit + "Holder = class(TObject)\r\n  private\r\n    FItems: TList;\r\n    FName: string;\r\n";
  text += "  public\r\n    constructor Create(const AName: string);\r\n    destructor Destroy; override;\r\n";
  text += "    property Name: string read FName write FName;\r\n  end;\r\n\r\n";
  for (int n = 0; n < count; ++n)
    text += "function " + unit + "_Routine" + std::to_string(n) + "(List: TList; const Key: string; Limit: Integer): string;\r\n";
  text += "\r\n";
}

std::string UsesClause(const std::vector<int>& used) {
  if (used.empty()) return std::string();
  std::string text = "uses\r\n  ";
  for (size_t i = 0; i < used.size(); ++i) text += (i ? ", " : "") + GeneratedUnitName(used[i]);
  return text + ";\r\n\r\n";
}

void WriteFile(const fs::path& path, const std::string& text) {
  fs::create_directories(path.parent_path());
  std::ofstream out(path, std::ios::binary);
  out.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

TGeneratedProject GenerateProject(const std::string& directory, const TProjectShape& shape) {
  TGeneratedProject result;
  std::mt19937 random(shape.Seed);
  const fs::path root(directory);
  fs::create_directories(root);

  for (int i = 0; i < shape.Units; ++i) {
    const std::string unit = GeneratedUnitName(i);
    std::vector<int> interfaceUses, implementationUses;
    if (shape.Deep) {
      if (i + 1 < shape.Units) interfaceUses.push_back(i + 1);
    } else if (i > 0) {
      for (int k = 0; k < shape.UsesPerClause; ++k) {
        interfaceUses.push_back(static_cast<int>(random() % i));
        implementationUses.push_back(static_cast<int>(random() % i));
      }
    }
    // About a third of the size before the implementation's clause, the
    // rest (routine bodies) after it.
    const int routines = std::max(1, shape.BytesPerUnit / 720);
    std::string text = "unit " + unit + ";\r\n\r\n{ Generated unit " + std::to_string(i) + " of " +
                       std::to_string(shape.Units) + ". }\r\n\r\ninterface\r\n\r\n";
    text += UsesClause(interfaceUses);
    AppendDeclarations(text, unit, routines / 2);
    text += "implementation\r\n\r\n";
    text += UsesClause(implementationUses);
    for (int n = 0; text.size() < static_cast<size_t>(shape.BytesPerUnit); ++n) AppendRoutine(text, unit, n, random);
    text += "end.\r\n";
    std::string sub = SubDirOf(i, shape);
    WriteFile(sub.empty() ? root / (unit + ".pas") : root / sub / (unit + ".pas"), text);
    result.Bytes += text.size();
    ++result.Units;
  }

  // The project names every unit (wide) or the head of the chain (deep);
  // units in sub-directories by their IN path, as Delphi writes them.
  std::string project = "program Generated;\r\n\r\n";
  const int named = shape.Deep ? std::min(1, shape.Units) : shape.Units;
  for (int i = 0; i < named; ++i) {
    std::string sub = SubDirOf(i, shape);
    std::string unit = GeneratedUnitName(i);
    project += (i ? ",\r\n  " : "uses\r\n  ") + unit;
    if (!sub.empty() && shape.InPaths) project += " in '" + sub + "\\" + unit + ".pas'";
  }
  if (named > 0) project += ";\r\n\r\n";
  project += "{$R *.RES}\r\n\r\nbegin\r\nend.\r\n";
  fs::path projectFile = root / "Generated.dpr";
  WriteFile(projectFile, project);
  result.Bytes += project.size();
  result.ProjectFile = fs::absolute(projectFile).string();
  return result;
}

TBenchArgs ParseBenchArgs(int argc, char** argv, int defaultRuns, const std::string& defaultName) {
  TBenchArgs args{defaultRuns, {}, {}};
  for (int i = 1; i < argc; ++i) {
    if (!std::strcmp(argv[i], "--runs") && i + 1 < argc)
      args.Runs = std::max(1, std::atoi(argv[++i]));
    else if (!std::strcmp(argv[i], "--case") && i + 1 < argc)
      args.Case = argv[++i];
    else
      args.WorkDir = argv[i];
  }
  if (args.WorkDir.empty()) {
    char temp[MAX_PATH + 1];
    GetTempPathA(MAX_PATH, temp);
    args.WorkDir = std::string(temp) + defaultName;
  }
  args.WorkDir = std::filesystem::absolute(args.WorkDir).string();
  return args;
}

double Seconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}
