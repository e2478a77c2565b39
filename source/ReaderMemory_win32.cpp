#include <windows.h>

#include "GlobalMemory.h"
#include "ReaderMemory.h"

bool AllocateReaderBlock(std::size_t size, TReaderBlock& block) {
  block = {};
  TGlobalMemory memory(GlobalAlloc(GMEM_FIXED, size));
  void* address = memory.Lock();
  if (!address) return false;  // the block is freed with its owner
  block.Handle = memory.Detach();
  block.Address = static_cast<char*>(address);
  return true;
}

void FreeReaderBlock(TReaderBlock& block) {
  // Locked since its allocation: unlocked, then freed.
  TGlobalMemory(static_cast<HGLOBAL>(block.Handle), true);
  block = {};
}
