// The owner of one reference to an object counted by AddRef and Release
// (an interface lent by the Delphi IDE, for example): the reference is
// released when the owner ends.
#pragma once

template <class T>
class TRefOwner {
 public:
  TRefOwner() = default;
  // Takes over a reference the caller already holds (as returned by the
  // call that gave the object).
  explicit TRefOwner(T* object) : Object(object) {}
  ~TRefOwner() { Reset(); }
  TRefOwner(const TRefOwner&) = delete;
  TRefOwner& operator=(const TRefOwner&) = delete;
  TRefOwner(TRefOwner&& other) noexcept : Object(other.Detach()) {}
  TRefOwner& operator=(TRefOwner&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }

  void Reset() {
    T* object = Object;
    Object = nullptr;  // cleared first: Release may call back into us
    if (object) object->Release();
  }
  // Releases the reference held, then holds this one.
  void Attach(T* object) {
    Reset();
    Object = object;
  }
  // Gives the reference up without releasing it.
  T* Detach() {
    T* object = Object;
    Object = nullptr;
    return object;
  }

  T* Get() const { return Object; }
  T* operator->() const { return Object; }
  explicit operator bool() const { return Object != nullptr; }

 private:
  T* Object = nullptr;
};
