// The diagram leaving the program: printer, file, clipboard, and the names
// of the document and picture files that a generated document proposes.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "Compose.h"
#include "Metafile.h"

// --- Save ---------------------------------------------------------------
// The name proposed for saving: the given file name with extension ".EMF".
std::string ProposedEmfName(const std::string& fileName);

// --- Print --------------------------------------------------------------
// A tall diagram on a wide page, or a wide diagram on a tall page: turn the
// page. Square pages and square diagrams never turn.
bool OrientationShouldSwitch(int pageWidth, int pageHeight, int diagramWidth, int diagramHeight);
short SwitchedOrientation(short orientation);

// The orientation for one print. checked is the menu item's check mark at
// the moment of printing: it decides, unless the question was never asked,
// in which case it is asked now (ask: true for Yes), the answer is stored and
// becomes the check mark. Turns the printer's orientation in devMode when the
// setting is on and the shapes call for it. Returns the check mark to show.
// Page size: device pixels of the printer as it is now set.
bool DecidePrintOrientation(DEVMODEA* devMode, int pageWidth, int pageHeight, int diagramWidth, int diagramHeight,
                            bool checked, const std::function<bool()>& ask);

// One print job on the printer's context: the metafile stretched over the
// whole page. False when the job could not be run. outputFile: print to
// that file instead of the printer's port.
bool PrintMetafile(HDC printer, HENHMETAFILE metafile, const std::string& title,
                   const std::string& outputFile = std::string());

// The Print command after the print dialog: decides the orientation (the
// context is reset with the turned devMode), then prints. automatic: the
// menu item's check mark, in and out (see DecidePrintOrientation). ask: the
// orientation question. Returns false when printing failed.
bool PrintDiagram(HDC printer, DEVMODEA* devMode, const TMetafile& metafile, const std::string& title,
                  const std::function<bool()>& ask, bool& automatic, const std::string& outputFile = std::string());

// --- Copy ---------------------------------------------------------------
inline constexpr const char* WidthPrompt = "Graph width in cm";
inline constexpr const char* HeightPrompt = "Graph height in cm";
inline constexpr const char* DefaultCentimetres = "10";
// A decimal number with a point (no comma); anything else, and sizes that are
// not positive or too large for a metafile, count as 10.
double CentimetresOrTen(const std::string& answer);
// The picture again, recorded with a frame of width x height cm.
TMetafile MetafileAtSize(const TMetafile& source, double widthCm, double heightCm);
// ask(prompt, answer in/out) shows an input box; false when cancelled.
using TInputBox = std::function<bool(const std::string& prompt, std::string& answer)>;
// Asks both sizes and puts the sized picture on the clipboard; the sized
// picture is also handed back in 'sized' for the window's image. False when
// cancelled or the clipboard refused.
bool CopyDiagram(HWND owner, const TMetafile& metafile, const TInputBox& ask, TMetafile* sized = nullptr);

// --- Document -----------------------------------------------------------
// saveDialog(name in/out): the save dialog with the name filled in; false
// when the user cancels.
using TAskFileName = std::function<bool(std::string& fileName)>;
// Where the top unit of FileArray was found, its name and the extension,
// as a full path. A top unit found in no location gets the current
// directory: the analysed project's own. Empty when there is no model.
std::string ProposedFileName(const std::string& extension);
std::string DocumentFileName(const TAskFileName& saveDoc);
std::string DiagramFileName(const TAskFileName& saveEmf);

// Starts the generator, composes the diagram while it takes the units, and
// lets it finish. Does nothing while an analysis or a composition runs or
// when no generator is installed (false).
bool GenerateDocument(TDiagramHost& host, TMetafile& metafile);
