#include "DocumentCase.h"

#include <cstdlib>

#include "HostPath.h"

namespace {

std::vector<std::string> UnitSource(const std::string& name, const std::string& uses, int routines) {
  std::vector<std::string> lines = {"unit " + name + ";", "", "{ " + name + " : routines de test }", "", "interface", "",
                                    "uses " + uses + ";", ""};
  for (int i = 1; i <= routines; ++i)
    lines.push_back("function Calcul" + std::to_string(i) + "(Valeur: Integer): Integer;");
  lines.insert(lines.end(), {"", "implementation", ""});
  for (int i = 1; i <= routines; ++i) {
    lines.push_back("function Calcul" + std::to_string(i) + "(Valeur: Integer): Integer;");
    lines.push_back("begin");
    lines.push_back("  Result := Valeur * " + std::to_string(i) + ";");
    lines.push_back("end;");
  }
  lines.insert(lines.end(), {"", "end."});
  return lines;
}

}  // namespace

const std::vector<TUnitCase>& Units() {
  static const std::vector<TUnitCase> units = {
      {"Outils", true, UnitSource("Outils", "SysUtils", 5)},
      {"Unité", false, UnitSource("Unité", "SysUtils, Outils", 30)},
      {"Projet", false,
       {"program Projet;", "", "uses", "  Outils in 'Outils.pas',", "  Unité in 'Unité.pas';", "", "begin",
        "  WriteLn(Calcul1(2));", "end."}},
  };
  return units;
}

std::string SourceText(const TUnitCase& unit) {
  std::string text;
  for (const std::string& line : unit.Source) text += line + "\r\n";
  return text;
}

std::string SharedWorkDir() {
  const char* dir = std::getenv("WORDPROC_WORK");
  return dir && *dir ? HostPath(dir) : std::string();
}

std::string DocumentFile(const std::string& dir, const std::string& dialect) { return dir + "\\" + dialect + ".doc"; }
