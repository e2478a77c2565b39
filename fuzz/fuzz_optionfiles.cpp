// libFuzzer target: arbitrary bytes as the inside of an option file. The
// first byte chooses what they are: a .dof, a .cfg, an MSBuild condition,
// the property groups of a .dproj (one line per element, below), or the
// search path of a .lpi.
// Invariants: nothing crashes or runs away; every problem names the file;
// directories and scope names are non-empty, listed once, and directories
// keep no trailing backslash except on a root.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "MSBuild.h"
#include "OptionFiles.h"
#include "uChaines.h"

namespace {

const std::string File = "C:\\Fuzz\\Project.opt";

void Check(bool condition, const char* what) {
  if (!condition) {
    std::fprintf(stderr, "invariant broken: %s\n", what);
    std::abort();
  }
}

void CheckSettings(const TOptionFileSettings& s) {
  const std::string prefix = "Option file \"" + File + "\": ";
  for (const std::string& p : s.Problems) Check(p.rfind(prefix, 0) == 0, "a problem that does not name the file");
  for (std::size_t i = 0; i < s.Directories.size(); ++i) {
    const std::string& d = s.Directories[i];
    Check(!d.empty(), "an empty directory");
    Check(d.back() != '\\' || d.size() <= 3, "a trailing backslash");
    for (std::size_t j = 0; j < i; ++j) Check(!SameTextAscii(d, s.Directories[j]), "a directory listed twice");
  }
  for (std::size_t i = 0; i < s.ScopeNames.size(); ++i) {
    Check(!s.ScopeNames[i].empty(), "an empty scope name");
    for (std::size_t j = 0; j < i; ++j) Check(!SameTextAscii(s.ScopeNames[i], s.ScopeNames[j]), "a name twice");
  }
}

// "[CONDITION" opens a property group; "NAME=VALUE" or "NAME?CONDITION=VALUE"
// adds a property to it; "<NAME" adds an element that is no property group.
TXmlElement Project(const std::string& text) {
  TXmlElement project{"Project", {}, "", {}};
  std::string rest = text, line;
  while (!rest.empty()) {
    SplitFirst(rest, '\n', line);
    if (!line.empty() && line[0] == '[') {
      project.Children.push_back(TXmlElement{"PropertyGroup", {{"Condition", line.substr(1)}}, "", {}});
    } else if (!line.empty() && line[0] == '<') {
      project.Children.push_back(TXmlElement{line.substr(1), {}, "", {}});
    } else if (const std::size_t equals = line.find('='); equals != std::string::npos) {
      if (project.Children.empty()) project.Children.push_back(TXmlElement{"PropertyGroup", {}, "", {}});
      std::string name = line.substr(0, equals), condition;
      if (const std::size_t question = name.find('?'); question != std::string::npos) {
        condition = name.substr(question + 1);
        name.resize(question);
      }
      TXmlElement property{name, {}, line.substr(equals + 1), {}};
      if (!condition.empty()) property.Attributes.emplace_back("Condition", condition);
      project.Children.back().Children.push_back(property);
    }
  }
  return project;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
  switch (data[0] % 5) {
    case 0:
      CheckSettings(DofSettings(text, File));
      break;
    case 1:
      CheckSettings(CfgSettings(text, File));
      break;
    case 2: {
      TMSBuildProperties properties;
      properties.Set("Config", "Debug");
      properties.Set("Base", "true");
      bool result = false;
      std::string error;
      const bool evaluated = EvaluateCondition(text, properties, result, error);
      Check(evaluated || (!result && !error.empty()), "a refusal without its reason");
      break;
    }
    case 3: {
      const TXmlElement project = Project(text);
      CheckSettings(DprojSettings(project, File, "", ""));
      CheckSettings(DprojSettings(project, File, "Win64", "Release"));
      break;
    }
    case 4: {
      TXmlElement other{"OtherUnitFiles", {{"Value", text}}, "", {}};
      TXmlElement root{"CONFIG", {}, "", {TXmlElement{"CompilerOptions", {}, "", {TXmlElement{"SearchPaths", {}, "", {other}}}}}};
      CheckSettings(LpiSettings(root, File));
      break;
    }
  }
  return 0;
}
