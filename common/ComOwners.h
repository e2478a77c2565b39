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
  explicit TComPtr(T* p) : p_(p) {}
  // Takes a new reference of its own on the interface.
  static TComPtr Share(T* p) {
    TComPtr result;
    if (p) p->AddRef();
    result.p_ = p;
    return result;
  }
  ~TComPtr() { Reset(); }
  TComPtr(const TComPtr& other) : p_(other.p_) {
    if (p_) p_->AddRef();
  }
  TComPtr(TComPtr&& other) noexcept : p_(other.Detach()) {}
  TComPtr& operator=(TComPtr other) noexcept {
    std::swap(p_, other.p_);
    return *this;
  }

  // Takes over a reference that the caller owned.
  void Attach(T* p) {
    Reset();
    p_ = p;
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // For out parameters: releases what is held and receives a new reference.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  template <class U>
  HRESULT QueryInterface(REFIID iid, TComPtr<U>& out) const {
    if (!p_) return E_POINTER;
    return p_->QueryInterface(iid, out.PutVoid());
  }

 private:
  T* p_ = nullptr;
};

// A BSTR.
class TBStr {
 public:
  TBStr() = default;
  explicit TBStr(const std::wstring& text) : s_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
  ~TBStr() { SysFreeString(s_); }
  TBStr(const TBStr&) = delete;
  TBStr& operator=(const TBStr&) = delete;
  TBStr(TBStr&& other) noexcept : s_(other.Detach()) {}
  TBStr& operator=(TBStr&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  void Attach(BSTR s) {
    if (s == s_) return;
    SysFreeString(s_);
    s_ = s;
  }
  BSTR Detach() { return std::exchange(s_, nullptr); }
  BSTR* Put() {
    Attach(nullptr);
    return &s_;
  }
  BSTR Get() const { return s_; }
  // For a by-reference argument: the callee may replace the string; the
  // owner frees whatever is there in the end.
  BSTR* Address() { return &s_; }
  std::wstring Text() const { return s_ ? std::wstring(s_, SysStringLen(s_)) : std::wstring(); }

 private:
  BSTR s_ = nullptr;
};

// A VARIANT, cleared when the owner ends.
class TVariant {
 public:
  TVariant() { VariantInit(&v_); }
  ~TVariant() { VariantClear(&v_); }
  // The copy functions of the headers take their source as non-const.
  TVariant(const TVariant& other) {
    VariantInit(&v_);
    VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
  }
  TVariant& operator=(const TVariant& other) {
    if (this != &other) VariantCopy(&v_, const_cast<VARIANT*>(&other.v_));
    return *this;
  }

  // Takes over the contents of a VARIANT, which is left empty.
  void Attach(VARIANT& source) {
    VariantClear(&v_);
    v_ = source;
    VariantInit(&source);
  }
  // Moves the contents out to a VARIANT the caller owns.
  void Detach(VARIANT& target) {
    target = v_;
    VariantInit(&v_);
  }
  // For out parameters: cleared, to be filled by the callee.
  VARIANT* Put() {
    VariantClear(&v_);
    return &v_;
  }
  VARIANT* Get() { return &v_; }
  const VARIANT* Get() const { return &v_; }
  const VARIANT& operator*() const { return v_; }
  const VARIANT* operator->() const { return &v_; }
  VARTYPE Type() const { return v_.vt; }

  // Values of the kinds that automation passes.
  static TVariant OfLong(long value) {
    TVariant v;
    v.v_.vt = VT_I4;
    v.v_.lVal = value;
    return v;
  }
  static TVariant OfFloat(float value) {
    TVariant v;
    v.v_.vt = VT_R4;
    v.v_.fltVal = value;
    return v;
  }
  static TVariant OfDouble(double value) {
    TVariant v;
    v.v_.vt = VT_R8;
    v.v_.dblVal = value;
    return v;
  }
  static TVariant OfBool(bool value) {
    TVariant v;
    v.v_.vt = VT_BOOL;
    v.v_.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return v;
  }
  static TVariant OfText(const std::wstring& text) {
    TVariant v;
    v.v_.vt = VT_BSTR;
    v.v_.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return v;
  }

 private:
  VARIANT v_;
};

// The single-threaded apartment of the calling thread, entered for the
// owner's life.
class TComApartment {
 public:
  TComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
  HRESULT Status() const { return result_; }
  bool Entered() const { return SUCCEEDED(result_); }

 private:
  HRESULT result_;
};
