// What every owner of common/ promises, checked once for each: no copies,
// the handle freed when the owner ends, Attach freeing the one held (but
// not when handed the same one again), Detach handing it over untouched.
#include "Socket.h"  // Winsock's header before anything that may bring in windows.h

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "EnhMetafile.h"
#include "GdiGuard.h"
#include "GlobalMemory.h"
#include "Handle.h"
#include "Library.h"
#include "OwnedHandle.h"
#include "RegKey.h"
#include "WindowOwner.h"

namespace {

// One kind of owner: how to make a handle, whether it still lives, and how
// to free one that a test took back.
struct THandleKind {
  using Owner = THandle;
  static constexpr const char* Name = "THandle";
  static HANDLE New() { return CreateEventA(nullptr, TRUE, FALSE, nullptr); }
  static bool Alive(HANDLE h) {
    DWORD flags = 0;
    return GetHandleInformation(h, &flags) != FALSE;
  }
  static void Free(HANDLE h) { CloseHandle(h); }
};

struct TGdiObjectKind {
  using Owner = TOwnedGdiObject;
  static constexpr const char* Name = "TOwnedGdiObject";
  static HGDIOBJ New() { return CreateSolidBrush(RGB(1, 2, 3)); }
  static bool Alive(HGDIOBJ h) { return GetObjectType(h) != 0; }
  static void Free(HGDIOBJ h) { DeleteObject(h); }
};

struct TCreatedDCKind {
  using Owner = TCreatedDC;
  static constexpr const char* Name = "TCreatedDC";
  static HDC New() { return CreateCompatibleDC(nullptr); }
  static bool Alive(HDC h) { return GetObjectType(h) == OBJ_MEMDC; }
  static void Free(HDC h) { DeleteDC(h); }
};

struct TEnhMetafileKind {
  using Owner = TEnhMetafile;
  static constexpr const char* Name = "TEnhMetafile";
  static HENHMETAFILE New() {
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    Rectangle(dc, 0, 0, 10, 10);
    return CloseEnhMetaFile(dc);
  }
  static bool Alive(HENHMETAFILE h) { return GetEnhMetaFileBits(h, 0, nullptr) > 0; }
  static void Free(HENHMETAFILE h) { DeleteEnhMetaFile(h); }
};

struct TGlobalMemoryKind {
  using Owner = TGlobalMemory;
  static constexpr const char* Name = "TGlobalMemory";
  static HGLOBAL New() { return GlobalAlloc(GMEM_MOVEABLE, 16); }
  static bool Alive(HGLOBAL h) { return GlobalFlags(h) != GMEM_INVALID_HANDLE; }
  static void Free(HGLOBAL h) { GlobalFree(h); }
};

struct TMenuKind {
  using Owner = TOwnedMenu;
  static constexpr const char* Name = "TOwnedMenu";
  static HMENU New() { return CreatePopupMenu(); }
  static bool Alive(HMENU h) { return IsMenu(h) != FALSE; }
  static void Free(HMENU h) { DestroyMenu(h); }
};

struct TAcceleratorTableKind {
  using Owner = TOwnedAcceleratorTable;
  static constexpr const char* Name = "TOwnedAcceleratorTable";
  static HACCEL New() {
    ACCEL accel{FVIRTKEY | FCONTROL, 'O', 0x100};
    return CreateAcceleratorTableA(&accel, 1);
  }
  static bool Alive(HACCEL h) { return CopyAcceleratorTableA(h, nullptr, 0) > 0; }
  static void Free(HACCEL h) { DestroyAcceleratorTable(h); }
};

struct TWindowKind {
  using Owner = TOwnedWindow;
  static constexpr const char* Name = "TOwnedWindow";
  static HWND New() { return CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr); }
  static bool Alive(HWND h) { return IsWindow(h) != FALSE; }
  static void Free(HWND h) { DestroyWindow(h); }
};

// A key of its own under HKCU, opened anew for each handle.
struct TRegKeyKind {
  using Owner = TRegKey;
  static constexpr const char* Name = "TRegKey";
  static HKEY New() {
    HKEY key = nullptr;
    RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\UsagramTests\\Owner", 0, nullptr, 0, KEY_READ, nullptr, &key,
                    nullptr);
    return key;
  }
  static bool Alive(HKEY h) {
    return RegQueryInfoKeyA(h, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                            nullptr, nullptr) == ERROR_SUCCESS;
  }
  static void Free(HKEY h) { RegCloseKey(h); }
};

// Two libraries nothing else in the test program loads, taken in turn.
struct TLibraryKind {
  using Owner = TLibrary;
  static constexpr const char* Name = "TLibrary";
  static HMODULE New() {
    static int next = 0;
    return LoadLibraryA(next++ % 2 ? "msimg32.dll" : "hid.dll");
  }
  static bool Alive(HMODULE h) {
    char name[MAX_PATH];
    return GetModuleFileNameA(h, name, MAX_PATH) > 0;
  }
  static void Free(HMODULE h) { FreeLibrary(h); }
};

struct TSocketKind {
  using Owner = TSocket;
  static constexpr const char* Name = "TSocket";
  static SOCKET New() {
    static TWinsock winsock;
    return socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  }
  static bool Alive(SOCKET s) {
    int type = 0, size = sizeof type;
    return getsockopt(s, SOL_SOCKET, SO_TYPE, reinterpret_cast<char*>(&type), &size) == 0;
  }
  static void Free(SOCKET s) { closesocket(s); }
};

template <class TKind>
class OwnerContract : public ::testing::Test {
 protected:
  void TearDown() override { RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\UsagramTests"); }
};

using TKinds = ::testing::Types<THandleKind, TGdiObjectKind, TCreatedDCKind, TEnhMetafileKind, TGlobalMemoryKind,
                                TMenuKind, TAcceleratorTableKind, TWindowKind, TRegKeyKind, TLibraryKind,
                                TSocketKind>;
struct TKindNames {
  template <class TKind>
  static std::string GetName(int) {
    return TKind::Name;
  }
};
TYPED_TEST_SUITE(OwnerContract, TKinds, TKindNames);

TYPED_TEST(OwnerContract, RefusesCopies) {
  using Owner = typename TypeParam::Owner;
  static_assert(!std::is_copy_constructible_v<Owner> && !std::is_copy_assignable_v<Owner>);
}

TYPED_TEST(OwnerContract, FreesWhatItHoldsWhenItEnds) {
  const auto handle = TypeParam::New();
  ASSERT_TRUE(TypeParam::Alive(handle));
  { typename TypeParam::Owner owner(handle); }
  EXPECT_FALSE(TypeParam::Alive(handle));
}

TYPED_TEST(OwnerContract, AttachFreesTheOneHeldButKeepsTheSameOne) {
  const auto first = TypeParam::New(), second = TypeParam::New();
  typename TypeParam::Owner owner(first);
  owner.Attach(first);
  EXPECT_TRUE(TypeParam::Alive(first));
  EXPECT_EQ(owner.Get(), first);
  owner.Attach(second);
  EXPECT_FALSE(TypeParam::Alive(first));
  EXPECT_TRUE(TypeParam::Alive(second));
  EXPECT_EQ(owner.Get(), second);
}

TYPED_TEST(OwnerContract, DetachHandsTheHandleOverUntouched) {
  const auto handle = TypeParam::New();
  {
    typename TypeParam::Owner owner(handle);
    EXPECT_EQ(owner.Detach(), handle);
    EXPECT_NE(owner.Get(), handle);
  }
  EXPECT_TRUE(TypeParam::Alive(handle));
  TypeParam::Free(handle);
}

TYPED_TEST(OwnerContract, MovesLeaveNothingBehind) {
  using Owner = typename TypeParam::Owner;
  if constexpr (std::is_move_constructible_v<Owner>) {
    static_assert(std::is_nothrow_move_constructible_v<Owner> && std::is_nothrow_move_assignable_v<Owner>);
    const auto first = TypeParam::New(), second = TypeParam::New();
    Owner a(first), b(second);
    b = std::move(a);  // the one b held goes
    EXPECT_FALSE(TypeParam::Alive(second));
    EXPECT_EQ(b.Get(), first);
    EXPECT_NE(a.Get(), first);
    Owner c(std::move(b));
    EXPECT_EQ(c.Get(), first);
    EXPECT_NE(b.Get(), first);
    EXPECT_TRUE(TypeParam::Alive(first));
  }
}

}  // namespace
