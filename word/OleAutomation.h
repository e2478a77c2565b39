// Late-bound automation calls, as a script host makes them: every member and
// named argument is looked up by name with GetIDsOfNames (code page 1252
// names sent as the same characters in UTF-16), named arguments go through
// the DISPID array in the order written, and a failure becomes an exception
// that carries the server's own message.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "ComOwners.h"

// A failed automation call. The message is the server's description of the
// failure, or the system's text for the code.
class EOleError : public std::runtime_error {
 public:
  EOleError(const std::string& message, HRESULT code) : std::runtime_error(message), Code(code) {}
  HRESULT Code;
};

// Values as automation servers expect them.
TVariant OleInt(long value);
TVariant OleSingle(float value);
// VT_BOOL: True is -1, False 0.
TVariant OleBool(bool value);
// Program text (code page 1252) as a BSTR.
TVariant OleText(const std::string& text);
// A file name (the system's ANSI code page, as the file functions take it)
// as a BSTR.
TVariant OleFileText(const std::string& fileName);

// A file name handed over as a wide string by reference: the variant points
// at the string this object owns, so it lives as long as the call.
class TOleFileName {
 public:
  explicit TOleFileName(const std::string& fileName);
  TVariant Arg();

 private:
  TBStr Name;
};

// One argument of a call: named when Name is not empty, else positional.
struct TOleArg {
  std::string Name;
  TVariant Value;
};
using TOleArgs = std::vector<TOleArg>;

// Codes of a call whose server has gone away.
bool ServerGone(HRESULT code);

// Reading results.
long OleToInt(const TVariant& value);
float OleToSingle(const TVariant& value);
std::string OleToText(const TVariant& value);

// One automation object.
class TOleObject {
 public:
  TOleObject() = default;
  explicit TOleObject(TComPtr<IDispatch> object) : Object(std::move(object)) {}
  // The object a result holds; throws when the result is no object.
  static TOleObject From(const TVariant& value, const std::string& member);
  // The running object of the class named by progId; none (false) when no
  // object of it runs. Throws when the class is not known.
  static TOleObject Running(const std::string& progId);
  // A new object of the class; throws when it cannot be created.
  static TOleObject Create(const std::string& progId);

  explicit operator bool() const { return static_cast<bool>(Object); }
  IDispatch* Get() const { return Object.Get(); }
  void Reset() { Object.Reset(); }
  // The object as an argument or a property value.
  TVariant AsArg() const;

  // A method; its result, if it has one.
  TVariant Call(const std::string& member, const TOleArgs& args = {}) const;
  // A property read (or a method read for its result).
  TVariant Get(const std::string& member, const TOleArgs& args = {}) const;
  TOleObject Obj(const std::string& member, const TOleArgs& args = {}) const { return From(Get(member, args), member); }
  // A method whose result is an object.
  TOleObject CallObj(const std::string& member, const TOleArgs& args = {}) const {
    return From(Call(member, args), member);
  }
  void Put(const std::string& member, const TVariant& value) const;

 private:
  TVariant Invoke(const std::string& member, WORD flags, const TOleArgs& args) const;
  TComPtr<IDispatch> Object;
};
