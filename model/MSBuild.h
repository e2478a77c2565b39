// The part of MSBuild that a Delphi project file (.dproj) needs to give its
// search path: properties, their $(Name) references and the conditions on
// property groups. Portable: no windows.h.
#pragma once

#include <cstddef>
#include <map>
#include <string>

// Properties by name; MSBuild compares property names without regard to case.
class TMSBuildProperties {
 public:
  // The value, or nullptr when the property was never set.
  const std::string* Find(const std::string& name) const;
  void Set(const std::string& name, const std::string& value);
  bool Has(const std::string& name) const { return Find(name) != nullptr; }

 private:
  std::map<std::string, std::string> _values;  // keyed by the upper-case name
};

// The text with each $(Name) replaced by the property's value. A reference
// to a property that was never set stays as written when keepUnknown is set
// (so that a directory under $(BDS) can be recognised and passed over), and
// becomes empty otherwise, as in MSBuild. Whatever is not a plain reference
// ($([System.IO.Path]::...), %(...), @(...)) is kept as it is. False when the
// result would be longer than MaxPropertyLength: a file that doubles a
// property at each line must not take the memory.
inline constexpr std::size_t MaxPropertyLength = 65536;
bool ExpandProperties(const std::string& text, const TMSBuildProperties& properties, bool keepUnknown,
                      std::string& result);

// A condition as MSBuild writes it: quoted or bare operands, == and != (case
// ignored, as MSBuild compares), and, or, !, parentheses. True or false in
// result; false as the answer, with the reason in error, when the condition
// is something this evaluator does not know (a function such as Exists, an
// ordering comparison, a syntax error).
bool EvaluateCondition(const std::string& condition, const TMSBuildProperties& properties, bool& result,
                       std::string& error);

// The first $(...) left in a text, or empty.
std::string FirstPropertyReference(const std::string& text);
