// Owners for the resources of COM and automation: an interface reference, a
// BSTR, a VARIANT and a thread's apartment. TComPtr also holds the
// reference-counted interfaces of the Delphi IDE, which count the same way. Code that talks to automation
// objects never calls Release, SysFreeString, VariantClear or CoUninitialize
// itself.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <utility>

// One counted reference to a COM interface.
template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference that the caller owned (as the call that gave the
  // object returned it).
  explicit TComPtr(T* p) : P(p) {}
  // Takes a new reference of its own on the interface.
  static TComPtr Share(T* p) {
    TComPtr result;
    if (p) p->AddRef();
    result.P = p;
    return result;
  }
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr& other) : P(other.P) {
    if (P) P->AddRef();
  }
  TComPtr(TComPtr&& other) noexcept : P(other.Detach()) {}
  TComPtr& operator=(TComPtr other) noexcept {
    std::swap(P, other.P);
    return *this;
  }

  // Takes over a reference that the caller owned.
  void Attach(T* p) {
    Reset();
    P = p;
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(P, nullptr); }
  void Reset() {
    if (T* p = std::exchange(P, nullptr)) p->Release();
  }
  // For out parameters: releases what is held and receives a new reference.
  T** Put() {
    Reset();
    return &P;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  T* Get() const { return P; }
  T* operator->() const { return P; }
  explicit operator bool() const { return P != nullptr; }

  template <class U>
  HRESULT QueryInterface(REFIID iid, TComPtr<U>& out) const {
    if (!P) return E_POINTER;
    return P->QueryInterface(iid, out.PutVoid());
  }

 private:
  T* P = nullptr;
};

// A BSTR.
class TBStr {
 public:
  TBStr() = default;
  explicit TBStr(const std::wstring& text) : S(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~TBStr() { SysFreeString(S); }
  TBStr(const TBStr&) = delete;
  TBStr& operator=(const TBStr&) = delete;
  TBStr(TBStr&& other) noexcept : S(other.Detach()) {}
  TBStr& operator=(TBStr&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  void Attach(BSTR s) {
    SysFreeString(S);
    S = s;
  }
  BSTR Detach() { return std::exchange(S, nullptr); }
  BSTR* Put() {
    Attach(nullptr);
    return &S;
  }
  BSTR Get() const { return S; }
  // For a by-reference argument: the callee may replace the string; the
  // owner frees whatever is there in the end.
  BSTR* Address() { return &S; }
  std::wstring Text() const { return S ? std::wstring(S, SysStringLen(S)) : std::wstring(); }

 private:
  BSTR S = nullptr;
};

// A VARIANT, cleared when the owner ends.
class TVariant {
 public:
  TVariant() { VariantInit(&V); }
  ~TVariant() { VariantClear(&V); }
  // The copy functions of the headers take their source as non-const.
  TVariant(const TVariant& other) {
    VariantInit(&V);
    VariantCopy(&V, const_cast<VARIANT*>(&other.V));
  }
  TVariant& operator=(const TVariant& other) {
    if (this != &other) VariantCopy(&V, const_cast<VARIANT*>(&other.V));
    return *this;
  }

  // Takes over the contents of a VARIANT, which is left empty.
  void Attach(VARIANT& source) {
    VariantClear(&V);
    V = source;
    VariantInit(&source);
  }
  // Moves the contents out to a VARIANT the caller owns.
  void Detach(VARIANT& target) {
    target = V;
    VariantInit(&V);
  }
  // For out parameters: cleared, to be filled by the callee.
  VARIANT* Put() {
    VariantClear(&V);
    return &V;
  }
  VARIANT* Get() { return &V; }
  const VARIANT* Get() const { return &V; }
  const VARIANT& operator*() const { return V; }
  const VARIANT* operator->() const { return &V; }
  VARTYPE Type() const { return V.vt; }

  // Values of the kinds that automation passes.
  static TVariant OfLong(long value) {
    TVariant v;
    v.V.vt = VT_I4;
    v.V.lVal = value;
    return v;
  }
  static TVariant OfFloat(float value) {
    TVariant v;
    v.V.vt = VT_R4;
    v.V.fltVal = value;
    return v;
  }
  static TVariant OfDouble(double value) {
    TVariant v;
    v.V.vt = VT_R8;
    v.V.dblVal = value;
    return v;
  }
  static TVariant OfBool(bool value) {
    TVariant v;
    v.V.vt = VT_BOOL;
    v.V.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
  }
  static TVariant OfText(const std::wstring& text) {
    TVariant v;
    v.V.vt = VT_BSTR;
    v.V.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
  }

 private:
  VARIANT V;
};

// The single-threaded apartment of the calling thread, entered for the
// owner's life.
class TComApartment {
 public:
  TComApartment() : Result(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComApartment() {
    if (SUCCEEDED(Result)) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
  HRESULT Status() const { return Result; }
  bool Entered() const { return SUCCEEDED(Result); }

 private:
  HRESULT Result;
};
