#include "OptionFiles.h"

#include <algorithm>

#include "MSBuild.h"
#include "uChaines.h"

const std::string* TXmlElement::Attribute(const std::string& name) const {
  for (const auto& [key, value] : Attributes)
    if (SameTextAscii(key, name)) return &value;
  return nullptr;
}

TOptionFileKind OptionFileKindOf(const std::string& fileName) {
  const std::size_t dot = fileName.find_last_of(".\\/");
  if (dot == std::string::npos || fileName[dot] != '.') return TOptionFileKind::Unknown;
  const std::string extension = UpperCaseAscii(fileName.substr(dot));
  if (extension == ".DPROJ") return TOptionFileKind::Dproj;
  if (extension == ".DOF") return TOptionFileKind::Dof;
  if (extension == ".CFG") return TOptionFileKind::Cfg;
  if (extension == ".LPI") return TOptionFileKind::Lpi;
  return TOptionFileKind::Unknown;
}

std::string OptionFileProblem(const std::string& fileName, const std::string& what) {
  return "Option file \"" + fileName + "\": " + what + ".";
}

namespace {

bool IsAbsolute(const std::string& directory) {
  if (!directory.empty() && directory[0] == '\\') return true;
  return directory.size() >= 2 && directory[1] == ':' &&
         ((directory[0] >= 'A' && directory[0] <= 'Z') || (directory[0] >= 'a' && directory[0] <= 'z'));
}

bool IsRoot(const std::string& directory) {
  return directory == "\\" || (directory.size() == 3 && directory[1] == ':' && directory[2] == '\\');
}

}  // namespace

std::string OptionDirectory(const std::string& fileName, const std::string& directory) {
  std::string result = directory;
  std::replace(result.begin(), result.end(), '/', '\\');
  if (!IsAbsolute(result)) {
    std::string base = fileName;
    std::replace(base.begin(), base.end(), '/', '\\');
    const std::size_t slash = base.find_last_of('\\');
    base = slash == std::string::npos ? std::string() : base.substr(0, slash + 1);
    const std::string relative = result.empty() && !base.empty() ? std::string(".") : result;
    result = base + relative;
  }
  while (result.size() > 1 && result.back() == '\\' && !IsRoot(result)) result.pop_back();
  return result;
}

namespace {

// Collects one file's settings; each distinct problem once.
class TCollector {
 public:
  explicit TCollector(const std::string& fileName) : _fileName(fileName) {}

  void Problem(const std::string& what) {
    const std::string text = OptionFileProblem(_fileName, what);
    if (std::find(_result.Problems.begin(), _result.Problems.end(), text) == _result.Problems.end())
      _result.Problems.push_back(text);
  }

  // A ";"-separated list of directories. macro names what makes a directory
  // unusable here (empty: nothing).
  template <class TMacro>
  void Directories(const std::string& list, TMacro macro) {
    std::string rest = list, item;
    while (!rest.empty()) {
      SplitFirst(rest, ';', item);
      item = Unquoted(Trim(item));
      if (item.empty()) continue;
      if (const std::string unknown = macro(item); !unknown.empty()) {
        Problem("the directory \"" + item + "\" holds " + unknown + ", which is not known here; it is skipped");
        continue;
      }
      const std::string directory = OptionDirectory(_fileName, item);
      // Listed twice, a directory keeps the place of its last listing.
      auto& list = _result.Directories;
      list.erase(std::remove_if(list.begin(), list.end(),
                                [&](const std::string& d) { return SameTextAscii(d, directory); }),
                 list.end());
      list.push_back(directory);
    }
  }

  void ScopeNames(const std::string& list) {
    std::string rest = list, item;
    while (!rest.empty()) {
      SplitFirst(rest, ';', item);
      item = Unquoted(Trim(item));
      auto& names = _result.ScopeNames;
      if (item.empty() || std::any_of(names.begin(), names.end(), [&](const std::string& n) { return SameTextAscii(n, item); }))
        continue;
      names.push_back(item);
    }
  }

  TOptionFileSettings& Result() { return _result; }

 private:
  static std::string Unquoted(const std::string& text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') return Trim(text.substr(1, text.size() - 2));
    return text;
  }

  const std::string& _fileName;
  TOptionFileSettings _result;
};

bool IsIdentifierChar(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

// Lazarus macros: $(Name) and the functions $Name(...).
std::string LazarusMacro(const std::string& directory) {
  for (std::size_t at = directory.find('$'); at != std::string::npos; at = directory.find('$', at + 1)) {
    std::size_t end = at + 1;
    while (end < directory.size() && IsIdentifierChar(directory[end])) ++end;
    if (end < directory.size() && directory[end] == '(') {
      const std::size_t close = directory.find(')', end);
      return directory.substr(at, close == std::string::npos ? std::string::npos : close + 1 - at);
    }
  }
  return std::string();
}

// An evaluation of the property groups, in document order.
class TDprojEvaluation {
 public:
  TDprojEvaluation(TCollector& out, const std::string& platform, const std::string& config) : _out(out) {
    // Given ones are global properties: the file cannot change them. Unset
    // ones are empty, as in MSBuild.
    _properties.Set("Platform", platform);
    _properties.Set("Config", config);
    _globalPlatform = !platform.empty();
    _globalConfig = !config.empty();
  }

  // False when a property grew beyond its limit: the file is not used.
  bool Run(const TXmlElement& project) {
    for (const TXmlElement& group : project.Children) {
      if (!SameTextAscii(group.Name, "PropertyGroup") || !Holds(group)) continue;
      for (const TXmlElement& property : group.Children) {
        if (!Holds(property) || IsGlobal(property.Name)) continue;
        // "$(DCC_UnitSearchPath)" in its own value is the value so far,
        // empty before the first.
        if (!_properties.Has(property.Name)) _properties.Set(property.Name, std::string());
        std::string value;
        if (!ExpandProperties(Trim(property.Text), _properties, true, value)) {
          _out.Problem("the property " + property.Name + " grows beyond " + std::to_string(MaxPropertyLength) +
                       " characters; the file is not used");
          return false;
        }
        _properties.Set(property.Name, value);
      }
    }
    return true;
  }

  const std::string* Value(const char* name) const { return _properties.Find(name); }

 private:
  bool IsGlobal(const std::string& name) const {
    return (_globalPlatform && SameTextAscii(name, "Platform")) || (_globalConfig && SameTextAscii(name, "Config"));
  }

  bool Holds(const TXmlElement& element) {
    const std::string* condition = element.Attribute("Condition");
    if (!condition) return true;
    bool result = false;
    std::string error;
    if (!EvaluateCondition(*condition, _properties, result, error))
      _out.Problem("the condition \"" + *condition + "\" is not evaluated (" + error + "); what it guards is left out");
    return result;
  }

  TCollector& _out;
  TMSBuildProperties _properties;
  bool _globalPlatform = false, _globalConfig = false;
};

}  // namespace

TOptionFileSettings DprojSettings(const TXmlElement& root, const std::string& fileName, const std::string& platform,
                                  const std::string& config) {
  TCollector out(fileName);
  if (!SameTextAscii(root.Name, "Project")) {
    out.Problem("it is not an MSBuild project: its root element is <" + root.Name + ">");
    return out.Result();
  }
  TDprojEvaluation evaluation(out, platform, config);
  if (!evaluation.Run(root)) return out.Result();
  if (const std::string* path = evaluation.Value("DCC_UnitSearchPath"))
    out.Directories(*path, [](const std::string& d) { return FirstPropertyReference(d); });
  if (const std::string* names = evaluation.Value("DCC_Namespace")) out.ScopeNames(*names);
  return out.Result();
}

namespace {
const TXmlElement* Child(const TXmlElement& parent, const char* name) {
  for (const TXmlElement& child : parent.Children)
    if (SameTextAscii(child.Name, name)) return &child;
  return nullptr;
}
}  // namespace

TOptionFileSettings LpiSettings(const TXmlElement& root, const std::string& fileName) {
  TCollector out(fileName);
  if (!SameTextAscii(root.Name, "CONFIG")) {
    out.Problem("it is not a Lazarus project: its root element is <" + root.Name + ">");
    return out.Result();
  }
  const TXmlElement* options = Child(root, "CompilerOptions");
  const TXmlElement* paths = options ? Child(*options, "SearchPaths") : nullptr;
  const TXmlElement* units = paths ? Child(*paths, "OtherUnitFiles") : nullptr;
  const std::string* value = units ? units->Attribute("Value") : nullptr;
  if (value) out.Directories(*value, LazarusMacro);
  return out.Result();
}

namespace {

// The lines of a text (CR LF, LF or CR), each with its number.
template <class TLine>
void ForEachLine(const std::string& text, TLine line) {
  int number = 0;
  for (std::size_t at = 0; at < text.size();) {
    std::size_t end = text.find_first_of("\r\n", at);
    if (end == std::string::npos) end = text.size();
    line(++number, text.substr(at, end - at));
    at = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
}

// Odd lines are passed over with one message: the first, and how many more.
class TOddLines {
 public:
  void Add(int number, const std::string& line) {
    if (_count++ == 0) {
      _first = number;
      _text = line.size() > 60 ? line.substr(0, 60) + "..." : line;
    }
  }
  void Report(TCollector& out, const char* expected) const {
    if (_count == 0) return;
    std::string what = "line " + std::to_string(_first) + " (\"" + _text + "\") is not " + expected;
    if (_count > 1) what += ", nor are " + std::to_string(_count - 1) + " more lines";
    out.Problem(what + "; passed over");
  }

 private:
  int _count = 0, _first = 0;
  std::string _text;
};

bool HoldsNul(const std::string& text) { return text.find('\0') != std::string::npos; }

}  // namespace

TOptionFileSettings DofSettings(const std::string& text, const std::string& fileName) {
  TCollector out(fileName);
  if (HoldsNul(text)) {
    out.Problem("it is not a text file");
    return out.Result();
  }
  bool inDirectories = false, found = false;
  TOddLines odd;
  ForEachLine(text, [&](int number, const std::string& raw) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') return;
    if (line[0] == '[') {
      if (line.back() != ']') return odd.Add(number, raw);
      inDirectories = SameTextAscii(Trim(line.substr(1, line.size() - 2)), "Directories");
      return;
    }
    const std::size_t equals = line.find('=');
    if (equals == std::string::npos) return odd.Add(number, raw);
    // As the profile functions read it: the first SearchPath of the section.
    if (inDirectories && !found && SameTextAscii(Trim(line.substr(0, equals)), "SearchPath")) {
      found = true;
      out.Directories(line.substr(equals + 1), LazarusMacro);
    }
  });
  odd.Report(out, "a [section] or a name=value line");
  return out.Result();
}

namespace {

// A .cfg line split into its options: blanks separate them, except inside
// double quotes.
std::vector<std::string> CfgOptions(const std::string& line) {
  std::vector<std::string> options;
  std::string current;
  bool quoted = false;
  for (char c : line) {
    if (c == '"') quoted = !quoted;
    if (!quoted && static_cast<unsigned char>(c) <= ' ') {
      if (!current.empty()) options.push_back(current);
      current.clear();
    } else {
      current += c;
    }
  }
  if (!current.empty()) options.push_back(current);
  return options;
}

// -U"a;b" or -Ua;"b c": the quotes go, the list stays.
std::string WithoutQuotes(const std::string& text) {
  std::string result;
  for (char c : text)
    if (c != '"') result += c;
  return result;
}

}  // namespace

TOptionFileSettings CfgSettings(const std::string& text, const std::string& fileName) {
  TCollector out(fileName);
  if (HoldsNul(text)) {
    out.Problem("it is not a text file");
    return out.Result();
  }
  TOddLines odd;
  ForEachLine(text, [&](int number, const std::string& line) {
    for (const std::string& option : CfgOptions(line)) {
      if (option[0] != '-' && option[0] != '/') {
        odd.Add(number, line);
        return;
      }
      const std::string name = UpperCaseAscii(option.substr(1, 2));
      if (name.size() == 2 && name == "NS")
        out.ScopeNames(WithoutQuotes(option.substr(3)));
      else if (!name.empty() && name[0] == 'U')
        out.Directories(WithoutQuotes(option.substr(2)), LazarusMacro);
    }
  });
  odd.Report(out, "a line of compiler options");
  return out.Result();
}
