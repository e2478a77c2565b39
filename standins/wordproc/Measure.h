// Lengths as the French WordBasic writes and reads them: text with a decimal
// comma (or point) and a unit, numbers in points.
#pragma once

#include <string>

inline constexpr double PointsPerInch = 72.0;
inline constexpr double PointsPerCm = PointsPerInch / 2.54;
inline constexpr double TwipsPerPoint = 20.0;

// "29,7 cm", "0.42cm", "12 pt", "1 po", "1\"", "10 mm", "2 pi", "3 li";
// text without a unit is in centimetres. False when the text is not a length.
bool ParseMeasure(const std::string& text, double& points);
// "13,28 cm": two decimals at most, the comma as decimal separator.
std::string FormatCentimetres(double points);
int ToTwips(double points);
