#include "Clipbrd.h"

#include <windows.h>

bool ClipboardHasText() {
  // Asking needs no opening of the clipboard, so no other program is kept
  // waiting.
  return IsClipboardFormatAvailable(CF_TEXT) || IsClipboardFormatAvailable(CF_UNICODETEXT) ||
         IsClipboardFormatAvailable(CF_OEMTEXT);
}
