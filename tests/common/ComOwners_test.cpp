// The COM owners: one counted reference each, a BSTR and a VARIANT freed
// with their owner, the apartment entered for the owner's life.
#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <utility>

#include "ComOwners.h"

namespace {

static_assert(!std::is_copy_constructible_v<TBStr> && !std::is_copy_assignable_v<TBStr>);
static_assert(!std::is_copy_constructible_v<TComApartment> && !std::is_copy_assignable_v<TComApartment>);

// An interface that counts its references and never frees itself.
class TCounted : public IUnknown {
 public:
  HRESULT __stdcall QueryInterface(REFIID iid, void** out) override {
    if (iid != IID_IUnknown) {
      *out = nullptr;
      return E_NOINTERFACE;
    }
    *out = this;
    AddRef();
    return S_OK;
  }
  ULONG __stdcall AddRef() override { return ++References; }
  ULONG __stdcall Release() override { return --References; }
  ULONG References = 1;  // the one its creator hands over
};

TEST(TComPtr, HoldsOneReferenceAndGivesItBack) {
  TCounted object;
  {
    TComPtr<IUnknown> owner(&object);  // takes the creator's reference over
    EXPECT_EQ(object.References, 1u);
    {
      TComPtr<IUnknown> copy = owner;
      TComPtr<IUnknown> shared = TComPtr<IUnknown>::Share(&object);
      EXPECT_EQ(object.References, 3u);
    }
    EXPECT_EQ(object.References, 1u);
    TComPtr<IUnknown> moved(std::move(owner));
    EXPECT_FALSE(owner);
    EXPECT_EQ(object.References, 1u);
    TComPtr<IUnknown> asked;
    EXPECT_EQ(moved.QueryInterface(IID_IUnknown, asked), S_OK);
    EXPECT_EQ(object.References, 2u);
  }
  EXPECT_EQ(object.References, 0u);
}

TEST(TComPtr, AttachReleasesTheOneHeldAndDetachHandsItOver) {
  TCounted first, second;
  TComPtr<IUnknown> owner(&first);
  owner.Attach(&second);
  EXPECT_EQ(first.References, 0u);
  EXPECT_EQ(owner.Detach(), &second);
  EXPECT_EQ(second.References, 1u);  // now the caller's
  *TComPtr<IUnknown>::Share(&second).Put() = nullptr;  // Put releases what it held
  EXPECT_EQ(second.References, 1u);
  TComPtr<IUnknown> none;
  TComPtr<IUnknown> out;
  EXPECT_EQ(none.QueryInterface(IID_IUnknown, out), E_POINTER);
}

TEST(TBStr, KeepsItsTextUntilItTakesAnother) {
  TBStr text(L"Unit");
  EXPECT_EQ(SysStringLen(text.Get()), 4u);
  EXPECT_EQ(text.Text(), L"Unit");
  text.Attach(text.Get());  // the string held, again: kept
  EXPECT_EQ(text.Text(), L"Unit");
  text.Attach(SysAllocString(L"Other"));
  EXPECT_EQ(text.Text(), L"Other");
  BSTR taken = text.Detach();
  EXPECT_EQ(text.Get(), nullptr);
  EXPECT_EQ(text.Text(), L"");
  EXPECT_EQ(std::wstring(taken), L"Other");
  SysFreeString(taken);
  TBStr moved(TBStr(L"x"));
  EXPECT_EQ(moved.Text(), L"x");
}

TEST(TVariant, CopiesMovesInAndOut) {
  TVariant text = TVariant::OfText(L"Main");
  TVariant copy = text;
  EXPECT_EQ(copy.Type(), VT_BSTR);
  EXPECT_NE(copy->bstrVal, text->bstrVal);  // a copy of the string, not the same one
  EXPECT_EQ(std::wstring(copy->bstrVal), L"Main");
  VARIANT raw;
  copy.Detach(raw);
  EXPECT_EQ(copy.Type(), VT_EMPTY);
  TVariant back;
  back.Attach(raw);
  EXPECT_EQ(raw.vt, VT_EMPTY);
  EXPECT_EQ(std::wstring(back->bstrVal), L"Main");
  EXPECT_EQ(TVariant::OfLong(7)->lVal, 7);
  EXPECT_EQ(TVariant::OfBool(true)->boolVal, VARIANT_TRUE);
}

TEST(TComApartment, IsEnteredForTheOwnersLifeAndNests) {
  TComApartment outer;
  ASSERT_TRUE(outer.Entered());
  {
    TComApartment inner;
    EXPECT_EQ(inner.Status(), S_FALSE);  // already entered on this thread
    EXPECT_TRUE(inner.Entered());
  }
  // The outer one still holds the apartment: entering again only counts.
  EXPECT_EQ(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED), S_FALSE);
  CoUninitialize();
}

}  // namespace
