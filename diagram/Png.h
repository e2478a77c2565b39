// A metafile played onto a white 32-bit bitmap and written as PNG.
#pragma once

#include <windows.h>

#include <string>

// width x height pixels; false with a reason when it could not be written.
bool SaveMetafileAsPng(HENHMETAFILE metafile, int width, int height, const std::string& fileName,
                       std::string& error);
