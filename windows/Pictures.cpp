#include "Pictures.h"

namespace {
// The module that holds this code, so that the library finds its own
// resources rather than the host program's.
HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}
}  // namespace

HBITMAP LoadPicture(int id, bool buttonFace) {
  const UINT flags = LR_CREATEDIBSECTION | (buttonFace ? LR_LOADMAP3DCOLORS : 0);
  return static_cast<HBITMAP>(LoadImageA(ThisModule(), MAKEINTRESOURCEA(id), IMAGE_BITMAP, 0, 0, flags));
}
