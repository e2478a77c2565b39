// The recorded diagram as SVG: every record of the metafile is read back and
// translated, so the SVG shows exactly what the metafile holds. Text stays
// text, in the font the drawing asked for.
#pragma once

#include <windows.h>

#include <string>

// width x height: the picture's size in pixels (the PNG of the same size is
// the same picture). The text is UTF-8. Records the translation does not
// know are named in a comment, never dropped silently.
std::string MetafileAsSvg(HENHMETAFILE metafile, int width, int height);
