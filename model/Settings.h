// The settings store: the one INI view of the product key through which the
// program reads and writes what the user sets, and the loading and saving of
// the global settings and the locations.
#pragma once

#include <memory>

#include "Reg.h"
#include "RegIniFile.h"

// The shared store, open between LoadGlobalSettings and SaveGlobalSettings.
// At the end of a process that ends without SaveGlobalSettings, the model is
// freed first (the basic-units box writes its title through the store), then
// the store.
extern std::unique_ptr<TRegIniFile> Settings;

// Runs f on the store: the shared one while the library has it open,
// otherwise one opened for the call (a window's own values, written when
// the library is already finalising or not yet started).
template <class F>
void WithSettings(F f) {
  if (Settings) {
    f(*Settings);
  } else {
    TRegIniFile own(Reg::ProductKey);
    f(own);
  }
}

void LoadGlobalSettings();
// Reads the locations on the first call only; later calls do nothing.
void LoadLocations();
void SaveGlobalSettings();
// Writes every location and frees it (only when they were loaded).
void SaveLocations();
