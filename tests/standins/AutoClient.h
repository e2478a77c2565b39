// The tests' own automation client: late-bound calls through IDispatch,
// names resolved with GetIDsOfNames and named arguments passed by DISPID,
// as the product's driver calls Word.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <string>
#include <vector>

#include "ComOwners.h"

// One argument: a name for a named argument, none for a positional one.
struct TArg {
  std::wstring Name;
  TVariant Value;
};

TVariant Int(long value);
TVariant Single(float value);
TVariant Text(const std::wstring& text);
TVariant Bool(bool value);
TVariant Object(IDispatch* object);
// A string passed by reference, as the driver passes file names.
struct TTextByRef {
  explicit TTextByRef(const std::wstring& text);
  TVariant Arg();
  TBStr Value;
};

// What a call gave back.
struct TOutcome {
  HRESULT Result = E_FAIL;
  TVariant Value;
  std::wstring Error;  // the exception's description
  long Code = 0;       // the exception's scode
  bool Ok() const { return SUCCEEDED(Result); }
};

class TAuto {
 public:
  TAuto() = default;
  explicit TAuto(TComPtr<IDispatch> object) : Object(std::move(object)) {}
  // A new object of the class named (out of process).
  static TAuto Create(const wchar_t* progId, HRESULT* result = nullptr);
  // The running object of the class named, if there is one.
  static TAuto Running(const wchar_t* progId, HRESULT* result = nullptr);
  static TAuto From(const TVariant& value);

  explicit operator bool() const { return static_cast<bool>(Object); }
  IDispatch* Get() const { return Object.Get(); }

  // The raw call; DISPID resolution failures come back as the result.
  TOutcome Try(const std::wstring& member, WORD flags, const std::vector<TArg>& args = {}) const;
  // Calls that must succeed (a failure is a test failure, with the message).
  TVariant Call(const std::wstring& member, const std::vector<TArg>& args = {}) const;
  TVariant Get(const std::wstring& member, const std::vector<TArg>& args = {}) const;
  TAuto Obj(const std::wstring& member, const std::vector<TArg>& args = {}) const { return From(Get(member, args)); }
  void Put(const std::wstring& member, TVariant value) const;
  long GetInt(const std::wstring& member) const;
  double GetReal(const std::wstring& member) const;
  std::wstring GetText(const std::wstring& member) const;

 private:
  TComPtr<IDispatch> Object;
};

long AsInt(const TVariant& value);
double AsReal(const TVariant& value);
std::wstring AsText(const TVariant& value);
