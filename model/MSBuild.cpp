#include "MSBuild.h"

#include <vector>

#include "uChaines.h"

const std::string* TMSBuildProperties::Find(const std::string& name) const {
  const auto at = _values.find(UpperCaseAscii(name));
  return at == _values.end() ? nullptr : &at->second;
}

void TMSBuildProperties::Set(const std::string& name, const std::string& value) { _values[UpperCaseAscii(name)] = value; }

namespace {

bool IsNameStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-'; }

// Length of a plain reference "$(Name)" at text[at], or 0.
std::size_t ReferenceLength(const std::string& text, std::size_t at) {
  if (at + 3 >= text.size() || text[at] != '$' || text[at + 1] != '(' || !IsNameStart(text[at + 2])) return 0;
  std::size_t end = at + 3;
  while (end < text.size() && IsNameChar(text[end])) ++end;
  return end < text.size() && text[end] == ')' ? end + 1 - at : 0;
}

}  // namespace

bool ExpandProperties(const std::string& text, const TMSBuildProperties& properties, bool keepUnknown,
                      std::string& result) {
  result.clear();
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t length = ReferenceLength(text, i);
    if (length == 0) {
      result += text[i++];
    } else {
      const std::string* value = properties.Find(text.substr(i + 2, length - 3));
      if (value)
        result += *value;
      else if (keepUnknown)
        result.append(text, i, length);
      i += length;
    }
    if (result.size() > MaxPropertyLength) return false;
  }
  return true;
}

std::string FirstPropertyReference(const std::string& text) {
  const std::size_t at = text.find("$(");
  if (at == std::string::npos) return std::string();
  // Up to the closing parenthesis that matches, or the end.
  int depth = 0;
  for (std::size_t end = at + 1; end < text.size(); ++end) {
    if (text[end] == '(') ++depth;
    if (text[end] == ')' && --depth == 0) return text.substr(at, end + 1 - at);
  }
  return text.substr(at);
}

namespace {

// A recursive-descent evaluator over the condition's text:
//   or := and {"or" and}     and := unary {"and" unary}
//   unary := "!" unary | "(" or ")" | operand [("==" | "!=") operand]
class TConditionParser {
 public:
  TConditionParser(const std::string& text, const TMSBuildProperties& properties)
      : _text(text), _properties(properties) {}

  bool Parse(bool& result, std::string& error) {
    try {
      result = Or(0);
      Blanks();
      if (_at < _text.size()) Fail("unexpected \"" + _text.substr(_at, 20) + "\"");
      return true;
    } catch (const TFailure& failure) {
      error = failure.Reason;
      return false;
    }
  }

 private:
  static constexpr int MaxDepth = 64;

  struct TFailure {
    std::string Reason;
  };
  [[noreturn]] void Fail(const std::string& reason) { throw TFailure{reason}; }

  void Blanks() {
    while (_at < _text.size() && static_cast<unsigned char>(_text[_at]) <= ' ') ++_at;
  }

  // The keyword (and, or) at the position, as a whole word.
  bool Keyword(const char* word) {
    Blanks();
    std::size_t n = 0;
    while (word[n]) ++n;
    if (_text.size() - _at < n || !SameTextAscii(_text.substr(_at, n), word)) return false;
    if (_at + n < _text.size() && IsNameChar(_text[_at + n])) return false;
    _at += n;
    return true;
  }

  bool Symbol(const char* symbol) {
    Blanks();
    std::size_t n = 0;
    while (symbol[n]) ++n;
    if (_text.compare(_at, n, symbol) != 0) return false;
    _at += n;
    return true;
  }

  void Enter(int depth) {
    if (depth > MaxDepth) Fail("nested more than " + std::to_string(MaxDepth) + " levels deep");
  }

  bool Or(int depth) {
    Enter(depth);
    bool value = And(depth + 1);
    while (Keyword("or")) value = And(depth + 1) || value;
    return value;
  }

  bool And(int depth) {
    bool value = Unary(depth + 1);
    while (Keyword("and")) value = Unary(depth + 1) && value;
    return value;
  }

  bool Unary(int depth) {
    Enter(depth);
    Blanks();
    if (_text.compare(_at, 2, "!=") != 0 && Symbol("!")) return !Unary(depth + 1);
    if (Symbol("(")) {
      const bool value = Or(depth + 1);
      if (!Symbol(")")) Fail("a parenthesis is not closed");
      return value;
    }
    const std::string left = Operand();
    if (Symbol("==")) return SameTextAscii(left, Operand());
    if (Symbol("!=")) return !SameTextAscii(left, Operand());
    Blanks();
    if (_at < _text.size() && (_text[_at] == '<' || _text[_at] == '>'))
      Fail("ordering comparisons are not evaluated");
    return Boolean(left);
  }

  // A quoted string or a bare word, with its properties expanded.
  std::string Operand() {
    Blanks();
    if (_at >= _text.size()) Fail("an operand is missing at the end");
    std::string raw;
    if (_text[_at] == '\'') {
      const std::size_t end = _text.find('\'', _at + 1);
      if (end == std::string::npos) Fail("a quote is not closed");
      raw = _text.substr(_at + 1, end - _at - 1);
      _at = end + 1;
    } else {
      const std::size_t start = _at;
      while (_at < _text.size()) {
        const char c = _text[_at];
        if (const std::size_t length = ReferenceLength(_text, _at)) {
          _at += length;
        } else if (static_cast<unsigned char>(c) <= ' ' || c == '=' || c == '!' || c == '<' || c == '>' ||
                   c == '\'' || c == ')') {
          break;
        } else if (c == '(') {
          Fail("the function " + _text.substr(start, _at - start) + " is not evaluated");
        } else {
          ++_at;
        }
      }
      if (_at == start) Fail("an operand is missing before \"" + _text.substr(_at, 20) + "\"");
      raw = _text.substr(start, _at - start);
    }
    std::string value;
    if (!ExpandProperties(raw, _properties, false, value)) Fail("an operand is too long");
    return value;
  }

  bool Boolean(const std::string& value) {
    for (const char* yes : {"true", "on", "yes"})
      if (SameTextAscii(value, yes)) return true;
    for (const char* no : {"false", "off", "no"})
      if (SameTextAscii(value, no)) return false;
    Fail("\"" + value + "\" is not a Boolean");
  }

  const std::string& _text;
  const TMSBuildProperties& _properties;
  std::size_t _at = 0;
};

}  // namespace

bool EvaluateCondition(const std::string& condition, const TMSBuildProperties& properties, bool& result,
                       std::string& error) {
  result = false;
  error.clear();
  if (Trim(condition).empty()) {
    result = true;  // MSBuild: an empty condition holds
    return true;
  }
  TConditionParser parser(condition, properties);
  bool value = false;
  if (!parser.Parse(value, error)) return false;
  result = value;
  return true;
}
