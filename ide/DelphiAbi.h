// How the Delphi 3 IDE and an expert library call each other: calling
// conventions and long strings. The 32-bit build keeps the IDE's own
// binary layout; the 64-bit build, which runs our tests, uses the same
// declarations with the platform's one convention.
//
// Calling conventions
//   - Interface operations are Delphi "stdcall" methods: the object is the
//     first argument, the others follow on the stack, the callee pops them.
//     Declared __stdcall, that is exactly what GCC makes of a virtual member.
//   - The register procedure, the terminate procedure and menu click events
//     use Delphi's default "register" convention: the first three arguments
//     in EAX, EDX and ECX. GCC's regparm(3) does the same for up to three
//     arguments, which is all these ever have.
//   - Boolean is one byte (returned in AL), sets of up to eight members and
//     enumerations one byte, Integer 32 bits.
//
// Strings
//   A Delphi long string is a pointer to its first character, nullptr for the
//   empty string. The characters end with a NUL; in front of them sit a
//   reference count (at -8) and the length (at -4), two 32-bit integers. A
//   count of -1 marks a constant: Delphi neither counts nor frees it, and
//   copies it when it keeps it beyond the call. A string on the heap is one
//   block of Delphi's memory manager starting at the count, and that manager
//   keeps the block's size (with its flag bits) in front of it, at -12: a
//   string only the IDE's memory manager made can be freed by it, which is
//   why ours always carry the count -1.
//   - A string argument is the pointer; the callee only reads the characters
//     during the call (up to the NUL). We pass constants and strings made for
//     one call (TDelphiTempStr) with the count -1, so the IDE never tries to
//     count or free memory it did not allocate.
//   - A string result goes through a hidden last argument: the address of the
//     caller's string variable. That variable may still hold a string (Delphi
//     passes the variable the result is assigned to), so the callee releases
//     it first, through the tool services' FreePascalString, then stores its
//     string there (ReturnString in ExpertSupport.h). Our results are
//     constants (count -1) that stay valid while the library is loaded.
//   - A string the IDE returns belongs to the IDE's memory manager. We copy
//     its characters at once and hand it back with the tool services'
//     FreePascalString (TIdeString does both); we never free it ourselves.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>

#if defined(__i386__)
#define DELPHI_REGISTER __attribute__((regparm(3)))
#else
#define DELPHI_REGISTER
#endif

// A Delphi long string as it crosses the boundary.
using TDelphiStr = const char*;

// The header in front of a long string's characters.
struct TDelphiStrRec {
  int32_t RefCount;
  int32_t Length;
};
inline constexpr int32_t ConstantRefCount = -1;

// The characters of a string argument or result.
inline std::string DelphiStrText(TDelphiStr s) { return s ? std::string(s, std::strlen(s)) : std::string(); }

// A constant string laid out as Delphi lays out a literal:
//   inline constexpr TDelphiLiteral Caption("&Usagram");
template <std::size_t N>
struct TDelphiLiteral {
  TDelphiStrRec Rec;
  char Chars[N];

  constexpr TDelphiLiteral(const char (&text)[N]) : Rec{ConstantRefCount, static_cast<int32_t>(N - 1)}, Chars{} {
    for (std::size_t i = 0; i < N; ++i) Chars[i] = text[i];
  }
  // Delphi's empty string is nil.
  TDelphiStr Str() const { return N > 1 ? Chars : nullptr; }
  std::string Text() const { return std::string(Chars, N - 1); }
};

// A string made at run time, passed to the other side for the time of calls
// made while it exists. Its count is -1, as a constant's.
class TDelphiTempStr {
 public:
  explicit TDelphiTempStr(const std::string& text) { Assign(text); }
  void Assign(const std::string& text) {
    const std::size_t words = (sizeof(TDelphiStrRec) + text.size() + 1 + 3) / 4;
    Buffer = std::make_unique<int32_t[]>(words);
    Buffer[0] = ConstantRefCount;
    Buffer[1] = static_cast<int32_t>(text.size());
    char* chars = reinterpret_cast<char*>(Buffer.get() + 2);
    std::memcpy(chars, text.data(), text.size());
    chars[text.size()] = '\0';
    Empty = text.empty();
  }
  TDelphiStr Str() const { return Empty ? nullptr : reinterpret_cast<const char*>(Buffer.get() + 2); }

 private:
  std::unique_ptr<int32_t[]> Buffer;
  bool Empty = true;
};
