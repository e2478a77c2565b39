#include <cstdlib>

#include "ReaderMemory.h"

bool AllocateReaderBlock(std::size_t size, TReaderBlock& block) {
  block = {};
  void* address = std::malloc(size);
  if (!address) return false;
  block.Handle = address;
  block.Address = static_cast<char*>(address);
  return true;
}

void FreeReaderBlock(TReaderBlock& block) {
  std::free(block.Handle);
  block = {};
}
