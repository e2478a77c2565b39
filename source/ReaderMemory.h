// The memory block behind a file reader's buffer. On Windows it is a fixed
// global memory block (allocated, then locked for its address); elsewhere it
// is ordinary heap memory. One allocation routine, so the reader itself stays
// free of platform calls.
#pragma once

#include <cstddef>

struct TReaderBlock {
  void* Handle = nullptr;   // the platform's handle of the block
  char* Address = nullptr;  // where the bytes are
};

// False when the block cannot be allocated or its address obtained; the
// block is then left empty.
bool AllocateReaderBlock(std::size_t size, TReaderBlock& block);
// Releases the block (an empty block is ignored) and empties it.
void FreeReaderBlock(TReaderBlock& block);
