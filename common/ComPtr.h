// Owners for the component object runtime: an interface pointer released
// when its owner ends (ownership moves with Attach and Detach), and the
// runtime itself, initialised on this thread for the life of an object.
#pragma once

#include <objbase.h>

template <class T>
class TComPtr {
 public:
  TComPtr() = default;
  // Takes over a reference the caller holds.
  explicit TComPtr(T* p) : p_(p) {}
  ~TComPtr() { Release(); }
  TComPtr(TComPtr&& other) noexcept : p_(other.Detach()) {}
  TComPtr& operator=(TComPtr&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TComPtr(const TComPtr&) = delete;
  TComPtr& operator=(const TComPtr&) = delete;

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  void Attach(T* p) {
    Release();
    p_ = p;
  }
  T* Detach() {
    T* p = p_;
    p_ = nullptr;
    return p;
  }
  void Release() {
    if (p_) p_->Release();
    p_ = nullptr;
  }
  // Where a call that hands out a new reference stores it (CoCreateInstance,
  // QueryInterface); the reference held before is released first.
  void** PutVoid() {
    Release();
    return reinterpret_cast<void**>(&p_);
  }

 private:
  T* p_ = nullptr;
};

// The runtime in a single-threaded apartment on this thread. Initialising it
// again on the same thread only counts, so owners may nest.
class TComApartment {
 public:
  TComApartment() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~TComApartment() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  TComApartment(const TComApartment&) = delete;
  TComApartment& operator=(const TComApartment&) = delete;
  HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};
