// The module that holds this code: the expert library inside the IDE, or the
// program itself. Windows, resources and the icon are this module's, not the
// IDE's.
#pragma once

#include <windows.h>

#include <string>

inline HMODULE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

// The full name of a module's file, however long; by default the running
// program's (the IDE's, inside the IDE). Empty when Windows cannot say.
inline std::string ModuleFileName(HMODULE module = nullptr) {
  std::string name(MAX_PATH, '\0');
  for (;;) {
    const DWORD n = GetModuleFileNameA(module, name.data(), static_cast<DWORD>(name.size()));
    if (n < name.size()) {
      name.resize(n);
      return name;
    }
    name.resize(name.size() * 2);
  }
}
