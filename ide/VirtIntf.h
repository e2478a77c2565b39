// The base of every object that crosses between the Delphi 3 IDE and an
// expert: an object whose first field points to a table of stdcall
// functions, in the order declared (base class first). No virtual
// destructor, no other virtual function: each would add a slot the IDE does
// not have. Objects are counted: created with a count of 1, freed when
// Release brings it to 0; "Free" in Delphi is Release on a non-nil object.
#pragma once

#include <cstdint>

#include "DelphiAbi.h"

// The interface version both sides speak.
inline constexpr int32_t InterfaceVersion = 3;

class TInterface {
 public:
  // Slots 0 to 2.
  virtual int32_t __stdcall AddRef() = 0;
  virtual int32_t __stdcall Release() = 0;
  virtual int32_t __stdcall GetVersion() = 0;

 protected:
  ~TInterface() = default;
};

// The counting of an implementation. Derived is the final class:
//   class TMyExpert final : public TInterfaceImpl<TIExpert, TMyExpert> { ... };
template <class Intf, class Derived>
class TInterfaceImpl : public Intf {
 public:
  int32_t __stdcall AddRef() override { return ++RefCount; }
  int32_t __stdcall Release() override {
    const int32_t count = --RefCount;
    if (count == 0) delete static_cast<Derived*>(this);
    return count;
  }
  int32_t __stdcall GetVersion() override { return InterfaceVersion; }

 protected:
  TInterfaceImpl() = default;
  ~TInterfaceImpl() = default;
  TInterfaceImpl(const TInterfaceImpl&) = delete;
  TInterfaceImpl& operator=(const TInterfaceImpl&) = delete;

 private:
  int32_t RefCount = 1;
};
