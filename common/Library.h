// The owner of a loaded library (a DLL), freed when the owner ends.
#pragma once

#include <windows.h>

#include <string>

class TLibrary {
 public:
  TLibrary() = default;
  // Takes over a library loaded elsewhere.
  explicit TLibrary(HMODULE module) : module_(module) {}
  ~TLibrary() { Free(); }
  TLibrary(const TLibrary&) = delete;
  TLibrary& operator=(const TLibrary&) = delete;
  TLibrary(TLibrary&& other) noexcept : module_(other.Detach()) {}
  TLibrary& operator=(TLibrary&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  // Loads the library (the previous one is freed first); false, with the
  // system's error in GetLastError, when it cannot be loaded.
  bool Load(const std::string& path) {
    Free();
    module_ = LoadLibraryA(path.c_str());
    return module_ != nullptr;
  }

  void Free() {
    if (module_) FreeLibrary(module_);
    module_ = nullptr;
  }

  void Attach(HMODULE module) {
    if (module == module_) return;
    Free();
    module_ = module;
  }
  HMODULE Detach() {
    HMODULE module = module_;
    module_ = nullptr;
    return module;
  }

  bool IsLoaded() const { return module_ != nullptr; }
  HMODULE Get() const { return module_; }
  operator HMODULE() const { return module_; }

  // An exported function, or nullptr.
  FARPROC Procedure(const char* name) const { return module_ ? GetProcAddress(module_, name) : nullptr; }

 private:
  HMODULE module_ = nullptr;
};
