// A document as LibreOffice renders it, read from what the conversion
// scripts leave in a directory: pdfinfo.txt, pdffonts.txt, pdfimages.txt,
// layout.txt (pdftotext -layout), bbox.html (pdftotext -bbox) and
// LibreOffice's own text export NAME.txt. Texts are turned from UTF-8 into
// code page 1252, the program's own.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace rendered {

// A4 in points, and the landscape page's text area as the driver sets it up.
inline constexpr double A4Long = 841.89, A4Short = 595.28;
inline constexpr double PointsPerCm = 72 / 2.54;
inline constexpr double LeftMargin = 1.5 * PointsPerCm, ColumnWidth = (27.8 - 1.25) / 2 * PointsPerCm,
                        ColumnSpacing = 1.25 * PointsPerCm;
// pdftotext's word boxes are 1.3 times the font's size high.
inline constexpr double BoxPerPoint = 1.3;

struct TWord {
  double XMin, YMin, XMax, YMax;
  std::string Text;
  double Height() const { return YMax - YMin; }
  double Centre() const { return (XMin + XMax) / 2; }
};
using TPage = std::vector<TWord>;

std::string FromUtf8(const std::string& text);
std::vector<std::string> Split(const std::string& text, char separator);
// Lines without their CR.
std::vector<std::string> Lines(const std::string& text);
// Without blanks, tabs and form feeds at both ends.
std::string Trimmed(const std::string& text);
// The words of each page, from pdftotext -bbox.
std::vector<TPage> WordsByPage(const std::string& html);
// The French date that Word writes for "jjjj MMMM j aaaa", some days ago.
std::string FrenchDate(int daysAgo);

struct TRenderedDocument {
  std::string Info, Fonts;
  std::vector<std::string> Images, Layout, Text;  // Layout: one entry per page
  std::vector<TPage> Words;
  int PageCount = 0;

  // Reads the files of directory; textName names LibreOffice's text export.
  // False, with a failure added, when they do not describe one document.
  bool Load(const std::string& directory, const std::string& textName);
  // The page (from 1) and box of a unit's heading: its name, in the large
  // font of the headings, after page 1.
  std::pair<int, TWord> Heading(const std::string& name) const;

  // What every document of the driver shows, whoever wrote it; each check
  // adds failures of its own.
  void ExpectLandscapeA4() const;
  // Each unit's heading centred in its column, in the headings' font.
  void ExpectHeadingsCentred(const std::vector<std::string>& units) const;
  // The sources at 7 points in Courier New's stand-in, filling both
  // columns: words are the source's words to look for.
  void ExpectSourcesInTwoColumns(const std::vector<std::string>& words, int atLeast, int atLeastPerColumn) const;
  // One picture of width x height pixels, on unit's page.
  void ExpectOnePictureOn(const std::string& unit, int width, int height) const;
  // The table of contents: units in this order, each with its heading's page.
  void ExpectContents(const std::vector<std::string>& units) const;
  // Every page's footer: the date (today or yesterday), the time, the page
  // count, and the page number on the right (not on page 1 unless asked).
  void ExpectFooters(bool numberOnFirstPage) const;
};

}  // namespace rendered
