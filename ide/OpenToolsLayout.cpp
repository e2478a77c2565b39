// The IDE calls through its tables and we call through ours, and a slot out
// of place calls the wrong operation: nothing on this machine would notice,
// since the stand-in host is compiled from the same headers. So every slot
// an expert of ours calls, and every slot the IDE calls in our objects, is
// pinned here to its offset in the IDE's 32-bit table, counted from the
// declarations of Delphi's VirtIntf, ExptIntf and ToolIntf units. A slot
// that moves fails the build, 32-bit and 64-bit alike.
//
// How: GCC (the Itanium C++ ABI) represents a pointer to a virtual member
// function as 1 + the slot's byte offset in the table, with an adjustment of
// 0. The optimiser folds that constant, so a mismatch leaves a call to
// SlotMoved, which the compiler refuses by its error attribute. This file is
// always compiled with optimisation (CMakeLists.txt), and nothing calls it.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "ExptIntf.h"

// Never defined: a call that survives the optimiser is a slot out of place.
void SlotMoved() __attribute__((error("a slot of the Open Tools interface is not where the IDE has it")));

namespace {

// member must sit at offset32 in the 32-bit table: slot offset32 / 4.
template <class T, class M>
inline void Pin(M T::*member, std::size_t offset32) {
  struct {
    std::uintptr_t Ptr;
    std::ptrdiff_t Adjust;
  } rep;
  static_assert(sizeof rep == sizeof member, "a pointer to a member function of the Itanium C++ ABI");
  std::memcpy(&rep, &member, sizeof rep);
  if (offset32 % 4 != 0 || rep.Ptr != 1 + offset32 / 4 * sizeof(void*) || rep.Adjust != 0) SlotMoved();
}

}  // namespace

void CheckOpenToolsLayout() {
  // VirtIntf: TInterface.
  Pin(&TInterface::AddRef, 0x00);
  Pin(&TInterface::Release, 0x04);
  Pin(&TInterface::GetVersion, 0x08);

  // ExptIntf: TIExpert, every slot (the IDE calls them in our experts).
  Pin(&TIExpert::GetName, 0x0C);
  Pin(&TIExpert::GetAuthor, 0x10);
  Pin(&TIExpert::GetComment, 0x14);
  Pin(&TIExpert::GetPage, 0x18);
  Pin(&TIExpert::GetGlyph, 0x1C);
  Pin(&TIExpert::GetStyle, 0x20);
  Pin(&TIExpert::GetState, 0x24);
  Pin(&TIExpert::GetIDString, 0x28);
  Pin(&TIExpert::GetMenuText, 0x2C);
  Pin(&TIExpert::Execute, 0x30);

  // ToolIntf: TIToolServices, the slots our experts call, and the last of
  // Delphi 3's table.
  Pin(&TIToolServices::OpenFile, 0x24);
  Pin(&TIToolServices::GetParentHandle, 0x38);
  Pin(&TIToolServices::GetProjectName, 0x3C);
  Pin(&TIToolServices::GetMainMenu, 0x84);
  Pin(&TIToolServices::FreePascalString, 0x94);
  Pin(&TIToolServices::RaiseException, 0xA0);
  Pin(&TIToolServices::GetBaseRegistryKey, 0xA4);

  // ToolIntf: TIMainMenuIntf and TIMenuItemIntf.
  Pin(&TIMainMenuIntf::GetMenuItems, 0x0C);
  Pin(&TIMainMenuIntf::FindMenuItem, 0x10);
  Pin(&TIMenuItemIntf::DestroyMenuItem, 0x0C);
  Pin(&TIMenuItemIntf::GetIndex, 0x10);
  Pin(&TIMenuItemIntf::GetName, 0x1C);
  Pin(&TIMenuItemIntf::GetParent, 0x20);
  Pin(&TIMenuItemIntf::InsertItem, 0x5C);
}
