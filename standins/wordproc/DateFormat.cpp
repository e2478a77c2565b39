#include "DateFormat.h"

#include <cstdio>

namespace {

// Indexed by SYSTEMTIME's wDayOfWeek (0 = Sunday) and wMonth - 1.
const char* const DayNames[] = {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"};
const char* const DayAbbreviations[] = {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."};
const char* const MonthNames[] = {"janvier", "février", "mars",      "avril",   "mai",      "juin",
                                  "juillet", "août",    "septembre", "octobre", "novembre", "décembre"};
const char* const MonthAbbreviations[] = {"janv.", "févr.", "mars", "avr.", "mai",  "juin",
                                          "juil.", "août",  "sept.", "oct.", "nov.", "déc."};

std::string Number(int value, int digits) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%0*d", digits, value);
  return buffer;
}

}  // namespace

std::string FormatDateTime(const std::string& picture, const SYSTEMTIME& t) {
  const int dayOfWeek = t.wDayOfWeek % 7;
  const int month = (t.wMonth >= 1 && t.wMonth <= 12) ? t.wMonth - 1 : 0;
  std::string out;
  for (size_t i = 0; i < picture.size();) {
    char c = picture[i];
    if (c == '\'' || c == '"') {
      const size_t close = picture.find(c, i + 1);
      out += picture.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
      i = close == std::string::npos ? picture.size() : close + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c) ++run;
    const char code = c == 'd' ? 'j' : c == 'y' ? 'a' : c;
    const int n = static_cast<int>(run);
    switch (code) {
      case 'j':
        out += n >= 4 ? DayNames[dayOfWeek] : n == 3 ? DayAbbreviations[dayOfWeek] : Number(t.wDay, n);
        break;
      case 'M':
        out += n >= 4 ? MonthNames[month] : n == 3 ? MonthAbbreviations[month] : Number(month + 1, n);
        break;
      case 'a':
        if (n == 1)
          out += c;  // not a code on its own
        else
          out += n >= 4 ? Number(t.wYear, 4) : Number(t.wYear % 100, 2);
        break;
      case 'H': out += Number(t.wHour, n >= 2 ? 2 : 1); break;
      case 'h': out += Number(t.wHour % 12 == 0 ? 12 : t.wHour % 12, n >= 2 ? 2 : 1); break;
      case 'm': out += Number(t.wMinute, n >= 2 ? 2 : 1); break;
      case 's': out += Number(t.wSecond, n >= 2 ? 2 : 1); break;
      default: out.append(run, c);
    }
    i += run;
  }
  return out;
}
