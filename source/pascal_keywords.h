// The keyword recogniser: decides whether an identifier is one of the 67
// reserved words, by a packed automaton over upper-case letters.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <memory>
#include <string>

#include "BufLec.h"
#include "PackedAutomaton.h"
#include "pascal_tokens.h"

// Keyword codes, 29..95.
inline constexpr uint8_t kwAnd = 29, kwExports = 30, kwMod = 31, kwShr = 32, kwArray = 33, kwFile = 34,
                         kwNil = 35, kwString = 36, kwAs = 37, kwFinalization = 38, kwNot = 39,
                         kwStringResource = 40, kwAsm = 41, kwFinally = 42, kwObject = 43, kwThen = 44,
                         kwBegin = 45, kwFor = 46, kwOf = 47, kwThreadVar = 48, kwCase = 49, kwFunction = 50,
                         kwOr = 51, kwTo = 52, kwClass = 53, kwGoto = 54, kwOut = 55, kwTry = 56, kwConst = 57,
                         kwIf = 58, kwPacked = 59, kwType = 60, kwConstructor = 61, kwImplementation = 62,
                         kwProcedure = 63, kwUnit = 64, kwDestructor = 65, kwIn = 66, kwProgram = 67,
                         kwUntil = 68, kwDispInterface = 69, kwInherited = 70, kwProperty = 71, kwUses = 72,
                         kwDiv = 73, kwInitialization = 74, kwRaise = 75, kwVar = 76, kwDo = 77, kwInline = 78,
                         kwRecord = 79, kwWhile = 80, kwDownTo = 81, kwInterface = 82, kwRepeat = 83,
                         kwWith = 84, kwElse = 85, kwIs = 86, kwResourceString = 87, kwXor = 88, kwEnd = 89,
                         kwLabel = 90, kwSet = 91, kwExcept = 92, kwLibrary = 93, kwShl = 94, kwOn = 95;
inline constexpr uint8_t FirstKeywordCode = kwAnd;
inline constexpr uint8_t LastKeywordCode = kwOn;

inline constexpr std::size_t KeywordCount = 67;
// Lengths of the shortest and the longest reserved word.
inline constexpr std::size_t ShortestKeyword = 2;
inline constexpr std::size_t LongestKeyword = 14;

// The reserved words in the order of the automaton's accept numbers: the
// word at index k is accept number k. The codes follow that order except
// ON, which came last and took code 95: see KeywordCodeOfAccept.
extern const std::array<const char*, KeywordCount> KeywordsByAccept;

// Accept number k gives code 29 + k for k = 0..37, ON (95) for k = 38 and
// 28 + k for k = 39..66.
constexpr uint8_t KeywordCodeOfAccept(unsigned k) {
  return static_cast<uint8_t>(k <= 37 ? 29 + k : k == 38 ? kwOn : 28 + k);
}

// A set of keyword codes.
class TKeywordSet {
 public:
  constexpr TKeywordSet(std::initializer_list<uint8_t> codes) {
    for (const uint8_t code : codes) Bits[code >> 6] |= uint64_t{1} << (code & 63);
  }
  constexpr bool Has(uint8_t code) const {
    return code >= FirstKeywordCode && code <= LastKeywordCode && (Bits[code >> 6] >> (code & 63)) & 1;
  }

 private:
  uint64_t Bits[2] = {0, 0};
};

// The keyword automaton's packed tables (built once).
const TPackedAutomaton& KeywordAutomaton();

// Exact-match table of the reserved words, for TAnalyseur_K::WholeWordCode.
// A word is compared in two chunks of 2, 4 or 8 bytes (by its length) that
// may overlap: its first and its last bytes, never a byte outside it. The
// chunks are stored in lower case: a byte b of the word matches the stored
// letter l exactly when (b | 0x20) == l, that is when b is l in either case.
struct TKeywordSlot {
  uint64_t Head = 0;
  uint64_t Tail = 0;
  uint8_t Length = 0;  // 0: a free slot
  uint8_t Code = 0;
};

constexpr std::size_t KeywordChunkWidth(std::size_t length) { return length >= 8 ? 8 : length >= 4 ? 4 : 2; }

// Collision-free over the 67 words (the table's build checks it); letters
// hash alike in either case.
constexpr unsigned KeywordHash(unsigned char first, unsigned char second, unsigned char last, std::size_t length) {
  return ((first | 0x20u) * 43 + (second | 0x20u) * 9 + (last | 0x20u) + 2 * static_cast<unsigned>(length)) & 255;
}

extern const std::array<TKeywordSlot, 256> KeywordSlots;

// The chunk of `width` bytes at p, as the table stores it before lower-casing.
inline uint64_t LoadKeywordChunk(const char* p, std::size_t width) {
  if (width == 8) {
    uint64_t v;
    std::memcpy(&v, p, 8);
    return v;
  }
  if (width == 4) {
    uint32_t v;
    std::memcpy(&v, p, 4);
    return v;
  }
  uint16_t v;
  std::memcpy(&v, p, 2);
  return v;
}

class TAnalyseur_K {
 public:
  // Text: NUL-terminated, owned by the caller, alive while it is read.
  explicit TAnalyseur_K(const char* Text);
  ~TAnalyseur_K();

  std::string Text;                // text of the recognised word
  std::unique_ptr<TBufLec> Reader;  // a TMemoryBufLec
  std::size_t Length = 0;          // characters the automaton took

  // Points the recogniser at another text.
  void SetText(const char* Text);
  void SetText(const std::string& Text);
  // A keyword code, tkEnd or tkError; sets Text.
  uint8_t NextToken();
  // The keyword code when the whole word is a reserved word (letters in any
  // case), tkError otherwise: what NextToken says over that word when it
  // accepts all of it, from one probe of the exact table instead of a run of
  // the automaton. Text and Length stay as they are.
  uint8_t WholeWordCode(const char* word, std::size_t length) const;

 private:
  TMemoryBufLec* Memory = nullptr;  // Reader, when it is a memory reader
};

inline uint8_t TAnalyseur_K::WholeWordCode(const char* word, std::size_t length) const {
  if (length < ShortestKeyword || length > LongestKeyword) return tkError;
  const auto* bytes = reinterpret_cast<const unsigned char*>(word);
  const TKeywordSlot& slot = KeywordSlots[KeywordHash(bytes[0], bytes[1], bytes[length - 1], length)];
  if (slot.Length != length) return tkError;
  const std::size_t width = KeywordChunkWidth(length);
  const uint64_t lower = 0x2020202020202020u >> (64 - 8 * width);
  const bool same = (LoadKeywordChunk(word, width) | lower) == slot.Head &&
                    (LoadKeywordChunk(word + length - width, width) | lower) == slot.Tail;
  return same ? slot.Code : tkError;
}
