// Pictures as the document holds them: enhanced metafiles, device-
// independent bitmaps and PNG files, with their natural size.
#pragma once

#include <string>

#include "Document.h"
#include "Measure.h"

// Word's largest picture side: a larger picture comes in scaled down to it,
// keeping its proportions.
inline constexpr double MaxPictureSide = WordLimit::MaxLength;

// The bytes of a file; throws TAutoError with a message when it cannot be read.
std::string ReadWholeFile(const std::string& fileName, const char* what);
// A picture from the bytes of an .EMF, .BMP or .PNG file (recognised by
// their signatures, whatever the name), at its natural size or within
// MaxPictureSide; throws TAutoError otherwise.
TPicture PictureFromBytes(const std::string& bytes, const std::string& source);
TPicture LoadPictureFile(const std::string& fileName);
// What the clipboard offers for pasting: an enhanced metafile (true, the
// picture) or else text (false, the text). Throws when it holds neither.
bool ReadClipboard(TPicture& picture, std::string& text);
