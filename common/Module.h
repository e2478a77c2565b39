// The module that holds this code: the expert library inside the IDE, or the
// program itself. Windows, resources and the icon are this module's, not the
// IDE's.
#pragma once

#include <windows.h>

inline HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}
