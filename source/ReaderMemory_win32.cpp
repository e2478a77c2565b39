#include <windows.h>

#include "ReaderMemory.h"

bool AllocateReaderBlock(std::size_t size, TReaderBlock& block) {
  block = {};
  HGLOBAL handle = GlobalAlloc(GMEM_FIXED, size);
  if (!handle) return false;
  void* address = GlobalLock(handle);
  if (!address) {
    GlobalFree(handle);
    return false;
  }
  block.Handle = handle;
  block.Address = static_cast<char*>(address);
  return true;
}

void FreeReaderBlock(TReaderBlock& block) {
  if (block.Handle) {
    GlobalUnlock(static_cast<HGLOBAL>(block.Handle));
    GlobalFree(static_cast<HGLOBAL>(block.Handle));
  }
  block = {};
}
