// The four texts that scroll across the top of the main window. They are
// kept scrambled, like the diagram's caption, and unscrambled when shown.
#pragma once

#include <string>

inline constexpr int BannerCount = 4;
// Text 0..3, unscrambled.
std::string BannerText(int index);
