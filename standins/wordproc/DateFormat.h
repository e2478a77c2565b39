// Date and time pictures of the French Word: jjjj the day's name, jjj its
// abbreviation, jj and j the day; MMMM the month's name, MMM its
// abbreviation, MM and M its number; aaaa and aa the year; HH and H the hour
// (0-23), hh and h the hour (1-12); mm and m the minutes; ss and s the
// seconds. The English letters d and y are read as j and a. A letter on its
// own that is no code (the "a" of "at"), any other character, and text in
// quotes are written as they stand. Names are French, in lower case.
#pragma once

#include <windows.h>

#include <string>

std::string FormatDateTime(const std::string& picture, const SYSTEMTIME& time);
