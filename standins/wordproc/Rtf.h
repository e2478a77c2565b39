// The document as Rich Text Format, code page 1252, as Word reads it under
// any file name. Floating shapes are written as pictures at the start of
// their anchor paragraph; fields carry results (page numbers estimated), so
// a reader shows them without updating fields.
#pragma once

#include <string>

#include "Document.h"

std::string WriteRtf(const TDocument& document);
