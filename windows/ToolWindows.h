// The windows of the tool, created once in the order the IDE expert creates
// them and freed together when the program or the library ends.
#pragma once

#include <memory>
#include <new>

// Creates each window that does not exist yet, in this order: the main
// window, the basic units and locations editors, the about, unit,
// simplification, welcome and files-list windows, the directory selection
// window. A window's global reference is set before its constructor runs
// and cleared if the constructor fails (the failure passes on).
void CreateToolWindows();
// Frees the editors, then every window that CreateToolWindows made, the
// main window last.
void FreeToolWindows();
// The unit scope names editor, which the IDE's list does not hold: made on
// its first use (or here), freed with the others.
void CreateScopeNamesEditor();

// Creates one window unless its reference is already set. The reference is
// valid from the start, because handlers that run during construction
// (OnCreate) may go through it; a constructor that fails leaves it clear
// and the half-built window freed.
template <class T>
void CreateForm(T*& reference, std::unique_ptr<T>& owner) {
  if (reference) return;
  void* memory = ::operator new(sizeof(T));
  reference = static_cast<T*>(memory);
  try {
    owner.reset(new (memory) T());
  } catch (...) {
    reference = nullptr;
    ::operator delete(memory);
    throw;
  }
}
