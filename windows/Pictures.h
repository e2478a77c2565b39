// The pictures of the windows: bitmap resources built from windows/pictures
// (draw.sh draws them). Included by Pictures.rc as well, hence the macros.
#pragma once

#define IDB_TREE_IMAGES 101  // the files list's images, 16 x 16 each: used file, unused file, location
#define IDB_WELCOME 102      // the welcome window's picture, 140 x 140
#define IDB_QUORVEL 103      // the maker's mark; its bottom-left pixel is the transparent colour
#define IDB_ARROW_UP 104     // the glyphs of the locations editor's up and down buttons
#define IDB_ARROW_DOWN 105

#ifndef RC_INVOKED
#include <windows.h>

// The bitmap of this module (the program or the library), or nullptr. The
// caller owns it. buttonFace: light grey becomes the button face colour.
HBITMAP LoadPicture(int id, bool buttonFace = false);
// The module's "MAINICON", which the IDE shows beside the expert. Loaded
// once; an icon from the resources is shared and never destroyed.
HICON MainIcon();
#endif
