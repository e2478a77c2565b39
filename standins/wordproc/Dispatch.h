// Late-bound automation objects described by tables: every object of the
// server is an IDispatch whose members (name, kinds of call, parameter names)
// are listed once, next to the code that runs them. Names are resolved
// without regard to letter case, as Word does; a name that is not listed
// is refused with DISP_E_UNKNOWNNAME.
#pragma once

#include <windows.h>
#include <oleauto.h>

#include <span>
#include <stdexcept>
#include <string>
#include <vector>

#include "ComOwners.h"
#include "WideText.h"

// The kinds of call a member answers.
enum TMemberKind : unsigned {
  mkMethod = 1,
  mkGet = 2,
  mkPut = 4,
  mkDefault = 8,  // answers DISPID_VALUE
};

// Parameters are written "Name1,Name2"; a leading '*' marks a parameter that
// is only ever passed by position (WordBasic's unnamed arguments).
struct TMemberInfo {
  const wchar_t* Name;
  unsigned Kinds;
  const wchar_t* Params;
};

// A failure that the caller sees as DISP_E_EXCEPTION, with Word's error
// number and a message.
class TAutoError : public std::runtime_error {
 public:
  TAutoError(long number, const std::string& message) : std::runtime_error(message), Number(number) {}
  long Number;
};

// Word's error numbers for the failures the server reports.
namespace WordError {
inline constexpr long CommandFailed = 4198;
inline constexpr long NoDocument = 4248;
inline constexpr long NotAvailable = 4605;
inline constexpr long OutOfRange = 4608;
inline constexpr long BadFileName = 5152;
inline constexpr long FileNotFound = 5174;
inline constexpr long NoSuchMember = 5941;
}  // namespace WordError

// A value the command cannot take: Word's "Value out of range."
inline void Check(bool ok) {
  if (!ok) throw TAutoError(WordError::OutOfRange, "Value out of range.");
}

class TAutoObject;

// One call being run: its arguments bound to the member's parameters, the
// value of a property put, and the result.
class TCall {
 public:
  enum class TKind { Method, Get, Put };
  // Index of the value of a property put among the arguments.
  static constexpr int PutValue = -1;

  TCall(TKind kind, std::vector<const VARIANT*> args, std::vector<UINT> argPositions, const VARIANT* value,
        UINT valuePosition, VARIANT* result);

  bool IsPut() const { return CallKind == TKind::Put; }

  // Whether parameter i was given (a missing optional argument is not).
  bool Has(int i) const;
  // Typed reads; a required argument that is absent or of a type that does
  // not convert fails the call with the usual dispatch error.
  long Int(int i) const;
  long Int(int i, long def) const { return Has(i) ? Int(i) : def; }
  double Real(int i) const;
  double Real(int i, double def) const { return Has(i) ? Real(i) : def; }
  bool Bool(int i) const { return Int(i) != 0; }
  bool Bool(int i, bool def) const { return Has(i) ? Bool(i) : def; }
  // Text in code page 1252.
  std::string Text(int i) const;
  std::string Text(int i, const std::string& def) const { return Has(i) ? Text(i) : def; }
  // A length: a number is in points; text carries its unit ("29,7 cm",
  // "12 pt"; without a unit, centimetres).
  double Points(int i) const;
  // One of the server's own objects; an object of another server, or no
  // object, fails with a type mismatch.
  TAutoObject* Object(int i) const;
  // The argument as passed (references followed); null when absent.
  const VARIANT* Raw(int i) const;

  void Return(long value);
  void ReturnSingle(float value);
  void ReturnBool(bool value);
  void ReturnText(const std::string& text);
  // Hands out a new reference to the object (which the call may have just made).
  void ReturnObject(TAutoObject* object);
  void ReturnVariant(const VARIANT& value);
  // The result as it was set, for the call log.

  // Fails the call: argument i has the wrong type, or is missing.
  [[noreturn]] void Mismatch(int i) const;
  [[noreturn]] void Missing(int i) const;

 private:
  TVariant Converted(int i, VARTYPE type) const;

  TKind CallKind;
  std::vector<const VARIANT*> Args;
  std::vector<UINT> Positions;
  const VARIANT* Value;
  UINT ValuePosition;
  VARIANT* ResultValue;
};

// A dispatch error raised while binding arguments (type mismatch, missing
// parameter), with the index of the argument in the caller's array.
struct TArgumentError {
  HRESULT Code;
  UINT Position;
};

// Server hooks: the process counts its objects to know when to end.
using TObjectCountHook = void (*)();
void SetObjectCountHooks(TObjectCountHook created, TObjectCountHook destroyed);
long LiveObjectCount();

// {5E0C1D3A-7B2F-4C61-9D4E-8A1B2C3D4E5F}: asked of an argument to find out
// whether it is one of ours; answered with the object's IDispatch.
inline constexpr GUID IID_IWordprocObject = {
    0x5e0c1d3a, 0x7b2f, 0x4c61, {0x9d, 0x4e, 0x8a, 0x1b, 0x2c, 0x3d, 0x4e, 0x5f}};

class TAutoObject : public IDispatch {
 public:
  explicit TAutoObject(std::string path);
  virtual ~TAutoObject();
  TAutoObject(const TAutoObject&) = delete;
  TAutoObject& operator=(const TAutoObject&) = delete;

  // How the object was reached ("Application.Selection"), for the call log.
  const std::string& Path() const { return ObjectPath; }

  // IUnknown
  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  // IDispatch
  HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override;
  HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo** info) override;
  HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid,
                                          DISPID* ids) override;
  HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params,
                                   VARIANT* result, EXCEPINFO* exception, UINT* argError) override;

 protected:
  virtual std::span<const TMemberInfo> Members() const = 0;
  virtual void Run(size_t member, TCall& call) = 0;

 private:
  HRESULT FindIds(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids);
  HRESULT InvokeMember(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                       EXCEPINFO* exception, UINT* argError);

  std::string ObjectPath;
  LONG References = 1;
};

// A member of a class: its description and the code that runs it.
template <class Self>
struct TMember {
  TMemberInfo Info;
  void (*Handler)(Self&, TCall&);
};

// The table-driven object: Self provides `static std::span<const
// TMember<Self>> Table()`.
template <class Self>
class TAutoClass : public TAutoObject {
 public:
  using TAutoObject::TAutoObject;

 protected:
  std::span<const TMemberInfo> Members() const override {
    static const std::vector<TMemberInfo> infos = [] {
      std::vector<TMemberInfo> list;
      for (const auto& member : Self::Table()) list.push_back(member.Info);
      return list;
    }();
    return infos;
  }
  void Run(size_t member, TCall& call) override { Self::Table()[member].Handler(static_cast<Self&>(*this), call); }
};

// A new object handed out with its first reference owned by the caller.
template <class T, class... Args>
TComPtr<T> MakeObject(Args&&... args) {
  TComPtr<T> result;
  result.Attach(new T(std::forward<Args>(args)...));
  return result;
}

// The same, typed as any automation object.
template <class T, class... Args>
TComPtr<TAutoObject> MakeAuto(Args&&... args) {
  TComPtr<TAutoObject> result;
  result.Attach(new T(std::forward<Args>(args)...));
  return result;
}
