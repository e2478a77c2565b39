// Buffered source readers. A reader hands out the characters of a text one
// at a time, folded to upper case, remembers where the token being scanned
// began, can go back there, and hands over the token's text as written.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

#include "ReaderMemory.h"

// Input/output error of the file layer: a source file that cannot be opened,
// read or closed. The analysis lets it pass; the command that started the
// work reports it.
class EInOutError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Upper-case fold of the readers: only 'a'..'z' change; bytes 128..255 stay.
inline constexpr std::array<unsigned char, 256> ReaderUpCase = [] {
  std::array<unsigned char, 256> map{};
  for (int c = 0; c < 256; ++c) map[c] = static_cast<unsigned char>(c >= 'a' && c <= 'z' ? c - 32 : c);
  return map;
}();

class TBufLec {
 public:
  TBufLec();
  virtual ~TBufLec();
  TBufLec(const TBufLec&) = delete;
  TBufLec& operator=(const TBufLec&) = delete;

  // The text being read. The valid characters of the current block end at
  // Limit, where a NUL follows them; the text itself may hold NUL bytes too.
  const char* Buffer = nullptr;
  // Index in Buffer of the first character of the token being scanned that
  // is still in the buffer (earlier ones, if any, are in the carry).
  std::size_t TokenStart = 0;
  // Index in Buffer of the next character NextChar returns.
  std::size_t Position = 0;
  // The file reader has read the last block of its file.
  bool EndOfFile = false;

  // The next character, folded to upper case; NUL at the end of the text,
  // every time, without moving.
  virtual char NextChar();
  // One character back, never before the token start.
  virtual void StepBack() final;
  // Back to the token start.
  virtual void Rewind() final;
  // Back to the beginning of the text.
  virtual void Reset();
  // Text := the first Length characters of the token, as written; the token
  // start moves past them and reading resumes there. Final, like StepBack
  // and Rewind: every reader shares them, and the scanners' calls compile
  // to direct ones.
  [[gnu::always_inline]] virtual void TakeToken(std::size_t Length, std::string& Text) final {
    if (Carry.empty()) {  // the usual case: the whole token is in the buffer
      std::string_view token;
      TakeTokenView(Length, token);
      const std::size_t count = token.size();
      if (count <= ShortToken) {
        // Most tokens are a few characters: a loop beats the call to memcpy
        // (a costly one under Wine), and within the string's own room resize
        // neither allocates nor checks per character.
        Text.resize(count);
        char* to = Text.data();
        for (std::size_t i = 0; i < count; ++i) to[i] = token[i];
      } else {
        Text.assign(token.data(), count);
      }
    } else {
      TakeTokenWithCarry(Length, Text);
    }
  }

  // The same with the text as a view: into the buffer, or into Joined for a
  // token that a refill split. It stays valid until the reader is next used.
  [[gnu::always_inline]] void TakeTokenView(std::size_t Length, std::string_view& Text) {
    if (Carry.empty()) {
      const std::size_t count = Length < Limit - TokenStart ? Length : Limit - TokenStart;
      Text = std::string_view(Buffer + TokenStart, count);
      TokenStart += count;
      RewindToTokenStart();
    } else {
      TakeTokenWithCarry(Length, Joined);
      Text = Joined;
    }
  }

  // Longest token that TakeToken copies character by character.
  static constexpr std::size_t ShortToken = 16;

  // NextChar without the call while the next character sits in the buffer:
  // the scanners' inner loops read through this.
  unsigned char ReadChar() {
    if (Position < FastEnd) return ReaderUpCase[static_cast<unsigned char>(Buffer[Position++])];
    return static_cast<unsigned char>(NextChar());
  }
  // True when the NUL that the last read returned was the end of the text
  // (and not a NUL byte of the text).
  bool EndReached() const { return EndHit; }
  // While Position < FastLimit(), the next characters are Buffer[Position..]
  // as written (ReadChar's fast path); the scanners read them in bulk.
  std::size_t FastLimit() const { return FastEnd; }

 protected:
  // Buffer[Limit] is one past the last valid character of the current block.
  std::size_t Limit = 0;
  // ReadChar may take Buffer[Position] directly while Position < FastEnd;
  // 0 while the carry is being re-read.
  std::size_t FastEnd = 0;
  // Characters of the current token that a refill has already taken out of
  // the buffer; the token is Carry followed by Buffer[TokenStart..Position).
  std::string Carry;
  // Next character of the carry to re-read; Carry.size() when reading the buffer.
  std::size_t CarryPos = 0;
  bool EndHit = false;
  // The last token that TakeTokenView put together from the carry.
  std::string Joined;

  // The next character of the carry (the caller knows one is left).
  char NextCarryChar();
  void TakeTokenWithCarry(std::size_t Length, std::string& Text);
  void RewindToTokenStart() {
    Position = TokenStart;
    CarryPos = 0;
    FastEnd = Carry.empty() ? Limit : 0;
    EndHit = false;
  }
};

// Reads a source file through a buffer of two halves, refilled in turn.
class TFileBufLec : public TBufLec {
 public:
  static constexpr std::size_t DefaultHalfSize = 32766;

  // Opens FileName read-only and reads its first block. halfSize other than
  // the default only serves tests that need small blocks.
  explicit TFileBufLec(const std::string& FileName, std::size_t halfSize = DefaultHalfSize);
  ~TFileBufLec() override;

  std::FILE* SourceFile = nullptr;
  void* BufferHandle = nullptr;

  char NextChar() override;
  void Reset() override;

  const std::string& FileName() const { return Name; }

 private:
  std::string Name;
  std::size_t HalfSize;
  TReaderBlock Block;
  char* Writable = nullptr;  // Buffer, writable
  int CurrentHalf = 0;

  void Open();
  void Close() noexcept;
  // Reads the next block into the given half (0 or 1); nothing once the end
  // of the file has been read.
  void FillHalf(int half);
  void FillFirstHalf() { FillHalf(0); }
  void FillSecondHalf() { FillHalf(1); }
  char NextCharSlow();
};

// Reads a NUL-terminated text owned by the caller, which must stay alive and
// unchanged while it is read.
class TMemoryBufLec : public TBufLec {
 public:
  explicit TMemoryBufLec(const char* Text);

  char NextChar() override;
  void SetText(const char* Text);
  // The same when the caller knows the text's length (no NUL before it).
  void SetText(const char* Text, std::size_t length);
};
