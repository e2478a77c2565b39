#include "BufLec.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

#include "Messages.h"
#include "Ridarar.h"

// ---- TBufLec ----

TBufLec::TBufLec() = default;
TBufLec::~TBufLec() = default;

char TBufLec::NextChar() {
  EndHit = true;
  return 0;
}

char TBufLec::NextCarryChar() {
  const char c = Carry[CarryPos++];
  if (CarryPos == Carry.size()) FastEnd = Limit;  // on to the buffer, at TokenStart
  return static_cast<char>(ReaderUpCase[static_cast<unsigned char>(c)]);
}

void TBufLec::StepBack() {
  EndHit = false;
  if (CarryPos < Carry.size()) {  // re-reading the carry
    if (CarryPos > 0) --CarryPos;
  } else if (Position > TokenStart) {
    --Position;
  } else if (CarryPos > 0) {  // from the buffer back into the carry
    --CarryPos;
    FastEnd = 0;
  }
}

void TBufLec::Rewind() { RewindToTokenStart(); }

void TBufLec::Reset() {
  EndOfFile = false;
  TokenStart = 0;
  Position = 0;
  Carry.clear();
  RewindToTokenStart();
}

void TBufLec::TakeTokenWithCarry(std::size_t Length, std::string& Text) {
  const std::size_t fromCarry = std::min(Length, Carry.size());
  Text.assign(Carry, 0, fromCarry);
  // Never past the valid characters, whatever Length says.
  const std::size_t fromBuffer = std::min(Length - fromCarry, Limit - TokenStart);
  Text.append(Buffer + TokenStart, fromBuffer);
  Carry.erase(0, fromCarry);
  TokenStart += fromBuffer;
  RewindToTokenStart();
}

// ---- TFileBufLec ----

TFileBufLec::TFileBufLec(const std::string& FileName, std::size_t halfSize)
    : Name(FileName), HalfSize(halfSize == 0 ? 1 : halfSize) {
  // Two halves, each followed by room for its NUL.
  const bool fits = HalfSize <= (SIZE_MAX - 2) / 2;
  if (!fits || !AllocateReaderBlock(2 * HalfSize + 2, Block)) FatalError(Msg::NoBufferMemory + FileName);
  BufferHandle = Block.Handle;
  Writable = Block.Address;
  Buffer = Writable;
  Writable[0] = 0;
  try {
    Open();
    FillFirstHalf();
  } catch (...) {
    Close();
    FreeReaderBlock(Block);
    throw;
  }
}

TFileBufLec::~TFileBufLec() {
  // A destructor cannot report a failed close; a file opened for reading
  // loses nothing by it.
  Close();
  FreeReaderBlock(Block);
}

void TFileBufLec::Open() {
  SourceFile = std::fopen(Name.c_str(), "rb");
  if (!SourceFile) throw EInOutError("Cannot open file \"" + Name + "\"");
  // Whole blocks are read straight into the buffer.
  std::setvbuf(SourceFile, nullptr, _IONBF, 0);
}

void TFileBufLec::Close() noexcept {
  if (SourceFile) std::fclose(SourceFile);
  SourceFile = nullptr;
}

void TFileBufLec::FillHalf(int half) {
  if (EndOfFile) return;
  const std::size_t start = half == 0 ? 0 : HalfSize;
  const std::size_t count = std::fread(Writable + start, 1, HalfSize, SourceFile);
  if (count < HalfSize && std::ferror(SourceFile)) throw EInOutError("Error reading file \"" + Name + "\"");
  EndOfFile = count < HalfSize;
  Writable[start + count] = 0;
  CurrentHalf = half;
  Limit = start + count;
  TokenStart = Position = start;
  FastEnd = Limit;
}

char TFileBufLec::NextChar() {
  if (Position < FastEnd) return static_cast<char>(ReaderUpCase[static_cast<unsigned char>(Buffer[Position++])]);
  return NextCharSlow();
}

char TFileBufLec::NextCharSlow() {
  if (CarryPos < Carry.size()) return NextCarryChar();
  if (Position >= Limit && !EndOfFile) {
    // The refill overwrites the other half: the part of the current token
    // that is in this half goes to the carry first, so that the token can
    // still be re-read and taken whole.
    Carry.append(Buffer + TokenStart, Position - TokenStart);
    CarryPos = Carry.size();
    FillHalf(1 - CurrentHalf);
  }
  if (Position < Limit) return static_cast<char>(ReaderUpCase[static_cast<unsigned char>(Buffer[Position++])]);
  EndHit = true;
  return 0;
}

void TFileBufLec::Reset() {
  Close();
  TBufLec::Reset();
  Limit = 0;
  FastEnd = 0;
  Writable[0] = 0;
  Open();
  FillFirstHalf();
}

// ---- TMemoryBufLec ----

TMemoryBufLec::TMemoryBufLec(const char* Text) { SetText(Text); }

char TMemoryBufLec::NextChar() {
  if (Position < FastEnd) return static_cast<char>(ReaderUpCase[static_cast<unsigned char>(Buffer[Position++])]);
  EndHit = true;
  return 0;
}

void TMemoryBufLec::SetText(const char* Text) { SetText(Text, Text ? std::strlen(Text) : 0); }

void TMemoryBufLec::SetText(const char* Text, std::size_t length) {
  Buffer = Text ? Text : "";
  Limit = length;
  Reset();
}
