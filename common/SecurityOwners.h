// Owners for the security interfaces of the mail client: an SSPI
// credentials handle and security context, a buffer the security package
// allocated, a certificate and a certificate chain, and a block of local
// memory that the data-protection functions return. Each frees its object
// when it ends or takes another; none can be copied.
#pragma once

#ifndef SECURITY_WIN32
#define SECURITY_WIN32
#endif
#include <windows.h>
#include <security.h>
#include <wincrypt.h>

// A CredHandle or CtxtHandle, freed by the function given (the two kinds
// differ in that function alone).
template <class H, SECURITY_STATUS(SEC_ENTRY* Free)(H*)>
class TSspiHandle {
 public:
  TSspiHandle() = default;
  ~TSspiHandle() { Close(); }
  TSspiHandle(TSspiHandle&& other) noexcept { Attach(other.Detach()); }
  TSspiHandle& operator=(TSspiHandle&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TSspiHandle(const TSspiHandle&) = delete;
  TSspiHandle& operator=(const TSspiHandle&) = delete;

  bool Valid() const { return _valid; }
  // For the functions that read the handle; null while there is none.
  H* Get() { return _valid ? &_handle : nullptr; }
  // For the functions that fill in a new handle: the old one is freed, and
  // the new one is owned once Taken() says the call succeeded.
  H* Receive() {
    Close();
    return &_handle;
  }
  void Taken() { _valid = true; }
  void Attach(const H& handle) {
    Close();
    _handle = handle;
    _valid = true;
  }
  H Detach() {
    H handle = _handle;
    _handle = H{};
    _valid = false;
    return handle;
  }
  void Close() {
    if (_valid) Free(&_handle);
    _handle = H{};
    _valid = false;
  }

 private:
  H _handle{};
  bool _valid = false;
};

using TCredentialsHandle = TSspiHandle<CredHandle, &FreeCredentialsHandle>;
using TSecurityContext = TSspiHandle<CtxtHandle, &DeleteSecurityContext>;

// A pointer the owner frees with the function given; null is "none".
template <class T, auto Free>
class TFreedPointer {
 public:
  TFreedPointer() = default;
  explicit TFreedPointer(T* p) : _pointer(p) {}
  ~TFreedPointer() { Close(); }
  TFreedPointer(TFreedPointer&& other) noexcept : _pointer(other.Detach()) {}
  TFreedPointer& operator=(TFreedPointer&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TFreedPointer(const TFreedPointer&) = delete;
  TFreedPointer& operator=(const TFreedPointer&) = delete;

  T* Get() const { return _pointer; }
  T* operator->() const { return _pointer; }
  explicit operator bool() const { return _pointer != nullptr; }
  // For the functions that return a new pointer through an argument.
  T** Receive() {
    Close();
    return &_pointer;
  }
  void Attach(T* p) {
    if (p == _pointer) return;
    Close();
    _pointer = p;
  }
  T* Detach() {
    T* p = _pointer;
    _pointer = nullptr;
    return p;
  }
  void Close() {
    if (_pointer) Free(_pointer);
    _pointer = nullptr;
  }

 private:
  T* _pointer = nullptr;
};

// A token the security package allocated (ISC_REQ_ALLOCATE_MEMORY).
using TContextBuffer = TFreedPointer<void, &FreeContextBuffer>;
using TCertContext = TFreedPointer<const CERT_CONTEXT, &CertFreeCertificateContext>;
using TCertChain = TFreedPointer<const CERT_CHAIN_CONTEXT, &CertFreeCertificateChain>;
// What CryptProtectData and CryptUnprotectData return.
using TLocalMemory = TFreedPointer<BYTE, &LocalFree>;
