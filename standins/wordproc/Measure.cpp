#include "Measure.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "uChaines.h"

namespace {

struct TUnit {
  const char* Name;
  double Points;
};
// Longest names first where one begins another.
constexpr TUnit Units[] = {
    {"cm", PointsPerCm}, {"mm", PointsPerCm / 10}, {"pt", 1.0}, {"po", PointsPerInch},
    {"in", PointsPerInch}, {"\"", PointsPerInch}, {"pi", 12.0}, {"li", 12.0},
};

}  // namespace

bool ParseMeasure(const std::string& text, double& points) {
  size_t i = 0;
  auto skipBlanks = [&] {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  };
  skipBlanks();
  std::string number;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) number += text[i++];
  bool digits = false, separator = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') {
      number += c;
      digits = true;
    } else if ((c == ',' || c == '.') && !separator) {
      number += '.';
      separator = true;
    } else {
      break;
    }
  }
  if (!digits) return false;
  skipBlanks();
  const std::string unit = UpperCaseAscii(text.substr(i));
  double scale = PointsPerCm;
  if (!unit.empty()) {
    const auto* found = std::find_if(std::begin(Units), std::end(Units),
                                     [&](const TUnit& u) { return UpperCaseAscii(u.Name) == unit; });
    if (found == std::end(Units)) return false;
    scale = found->Points;
  }
  points = std::strtod(number.c_str(), nullptr) * scale;
  return std::isfinite(points);
}

std::string FormatCentimetres(double points) {
  // Halves round up, as Word shows them, whatever the last bit of the double.
  const double scaled = points / PointsPerCm * 100;
  const long hundredths = static_cast<long>(std::floor(std::fabs(scaled) + 0.5 + 1e-7)) * (scaled < 0 ? -1 : 1);
  const long whole = std::labs(hundredths) / 100, part = std::labs(hundredths) % 100;
  std::string text = hundredths < 0 ? "-" : "";
  text += std::to_string(whole);
  if (part) {
    text += ',';
    text += static_cast<char>('0' + part / 10);
    if (part % 10) text += static_cast<char>('0' + part % 10);
  }
  return text + " cm";
}

int ToTwips(double points) { return static_cast<int>(std::lround(points * TwipsPerPoint)); }
