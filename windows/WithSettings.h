// The settings store for a window's own values: the shared one while the
// library has it open, otherwise one opened for the call.
#pragma once

#include "Settings.h"

template <class F>
void WithSettings(F f) {
  if (Settings) {
    f(*Settings);
  } else {
    TRegIniFile own(ProductKey);
    f(own);
  }
}
