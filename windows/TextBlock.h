// The five centred lines that the welcome and about windows show: the
// program's name in bold, three of the banner's texts, and a line in small
// bold "Courier New".
#pragma once

#include <string>

#include "ComCtrls.h"

inline constexpr int TextBlockLines = 5;
// Line 0..4, unscrambled.
std::string TextBlockLine(int index);
// Replaces the control's text by the block, formatted; the selection is
// left empty at the start.
void FillTextBlock(TRichEdit& edit);
