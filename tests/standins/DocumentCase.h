// The project whose document the two dialects produce: three units, one
// with a picture, one with an accented name and a source long enough to
// run over columns and pages, and the diagram.
#pragma once

#include <string>
#include <vector>

struct TUnitCase {
  std::string Name;          // code page 1252
  bool Picture;              // a .BMP beside it
  std::vector<std::string> Source;  // lines
};

// In drawing order, as the diagram hands them to the driver.
const std::vector<TUnitCase>& Units();
std::string SourceText(const TUnitCase& unit);
// The bracket line's three texts (13, 11 and 22 characters).
inline constexpr const char* BracketLine = "[Documentation automatique produite par Usagram 1]";
// The text drawn in the diagram metafile, and its frame: the text area of
// the landscape page (27.8 x 19.58 cm), in hundredths of a millimetre.
inline constexpr const char* DiagramText = "DIAGRAMME DU PROJET";
inline constexpr int DiagramWidth = 2780, DiagramHeight = 1958;
inline constexpr int PictureWidth = 48, PictureHeight = 32;

// The directory shared with the script that renders the documents (from
// WORDPROC_WORK), as the Windows programs see it; empty without one.
std::string SharedWorkDir();
// The name of a dialect's document in that directory.
std::string DocumentFile(const std::string& dir, const std::string& dialect);
