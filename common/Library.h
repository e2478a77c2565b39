// The owner of a loaded library (a DLL), freed when the owner ends.
#pragma once

#include <windows.h>

#include <string>

class TLibrary {
 public:
  TLibrary() = default;
  ~TLibrary() { Free(); }
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;
  TLibrary(TLibrary&& other) noexcept : Module(other.Detach()) {}
  TLibrary& operator=(TLibrary&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  // Loads the library (the previous one is freed first); false, with the
  // system's error in GetLastError, when it cannot be loaded.
  bool Load(const std::string& path) {
    Free();
    Module = LoadLibraryA(path.c_str());
    return Module != nullptr;
  }

  void Free() {
    if (Module) FreeLibrary(Module);
    Module = nullptr;
  }

  void Attach(HMODULE module) {
    Free();
    Module = module;
  }
  HMODULE Detach() {
    HMODULE module = Module;
    Module = nullptr;
    return module;
  }

  bool IsLoaded() const { return Module != nullptr; }
  HMODULE Get() const { return Module; }
  operator HMODULE() const { return Module; }

  // An exported function, or nullptr.
  FARPROC Procedure(const char* name) const { return Module ? GetProcAddress(Module, name) : nullptr; }

 private:
  HMODULE Module = nullptr;
};
