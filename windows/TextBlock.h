// The five centred lines that the welcome and about windows show: the
// program's name in bold, three of the banner's texts, and a line in small
// bold "Courier New".
#pragma once

#include <string>

#include "ComCtrls.h"

inline constexpr int TextBlockLines = 5;
// Line 0..4, unscrambled.
std::string TextBlockLine(int index);
// The control's look for the block: Arial 13 pixels, on the button face,
// read-only.
void StyleTextBlock(TRichEdit& edit);
// Replaces the control's text by the block, formatted; the selection is
// left empty at the start, the caret hidden.
void FillTextBlock(TRichEdit& edit);
