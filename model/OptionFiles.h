// The search path and unit scope names that a project's own option files
// record: a Delphi project (.dproj, MSBuild), a Delphi 3 to 7 options file
// (.dof), the command-line compiler's options (.cfg) and a Lazarus project
// (.lpi). What comes after the XML parsing is here and portable (no
// windows.h); reading the files is OptionFileReader's.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// What an option file gives: the directories in the order the file lists
// them (the first listed is searched first), each once, full when the file
// names them relative to its own directory; the scope names in order; and
// the problems met, each one line naming the file.
struct TOptionFileSettings {
  std::vector<std::string> Directories;
  std::vector<std::string> ScopeNames;
  std::vector<std::string> Problems;
};

// One element of an XML document: its local name, attributes, text (the
// text and CDATA directly inside it) and child elements.
struct TXmlElement {
  std::string Name;
  std::vector<std::pair<std::string, std::string>> Attributes;
  std::string Text;
  std::vector<TXmlElement> Children;

  // The attribute's value (name compared without regard to case), or nullptr.
  const std::string* Attribute(const std::string& name) const;
};

enum class TOptionFileKind { Unknown, Dproj, Dof, Cfg, Lpi };
// By the extension of the file name, letter case ignored.
TOptionFileKind OptionFileKindOf(const std::string& fileName);
// The kinds in the order a project's own option file is looked for beside
// it: X.dproj, then X.dof, X.cfg, X.lpi.
inline constexpr const char* OptionFileExtensions[] = {".dproj", ".dof", ".cfg", ".lpi"};

// Limits on input from outside.
inline constexpr std::size_t MaxOptionFileSize = 8u << 20;  // bytes
inline constexpr int MaxXmlDepth = 256;                     // nested elements
inline constexpr std::size_t MaxXmlElements = 200000;

// A .dproj as MSBuild evaluates it for the configuration and the platform
// (empty: the file's own defaults): the property groups directly under the
// root Project whose conditions hold, in document order.
TOptionFileSettings DprojSettings(const TXmlElement& root, const std::string& fileName, const std::string& platform,
                                  const std::string& config);
// A .lpi: CompilerOptions/SearchPaths/OtherUnitFiles of the compiler options
// directly under the root (the default build mode).
TOptionFileSettings LpiSettings(const TXmlElement& root, const std::string& fileName);
// A .dof (INI): [Directories] SearchPath=.
TOptionFileSettings DofSettings(const std::string& text, const std::string& fileName);
// A .cfg: the -U"dir;dir" and -NS options.
TOptionFileSettings CfgSettings(const std::string& text, const std::string& fileName);

// "C:\P\X.dproj": what the messages call the file.
std::string OptionFileProblem(const std::string& fileName, const std::string& what);

// The directory the option file names, relative to the option file's own
// directory when it is not absolute, with backslashes and without a
// trailing one (except on a root). The caller expands . and ..
std::string OptionDirectory(const std::string& fileName, const std::string& directory);
