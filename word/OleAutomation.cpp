#include "OleAutomation.h"

#include <cstdio>

#include "SystemText.h"
#include "WideText.h"

namespace {

std::string SystemText(HRESULT code) {
  std::string text = SystemErrorText(static_cast<DWORD>(code));
  if (text.empty()) {
    char code8[32];
    std::snprintf(code8, sizeof code8, "0x%08lX", static_cast<unsigned long>(code));
    text = std::string("Automation error ") + code8;
  }
  return text;
}

// A failure outside the server's own code (a name it does not know, a
// wrong argument): the system's text, and the member it concerns.
[[noreturn]] void Fail(HRESULT code, const std::string& member) {
  throw EOleError(SystemText(code) + " (" + member + ")", code);
}

// The server's exception: its description, or the text of its code.
[[noreturn]] void FailWith(EXCEPINFO& info, const std::string& member) {
  if (info.pfnDeferredFillIn) info.pfnDeferredFillIn(&info);
  TBStr source, description, help;
  source.Attach(info.bstrSource);
  description.Attach(info.bstrDescription);
  help.Attach(info.bstrHelpFile);
  const HRESULT code = info.scode ? info.scode : DISP_E_EXCEPTION;
  const std::string text = NarrowText(description.Text());
  if (text.empty()) Fail(code, member);
  throw EOleError(text, code);
}

TVariant Changed(const TVariant& value, VARTYPE type) {
  TVariant result;
  const HRESULT hr = VariantChangeTypeEx(result.Put(), const_cast<VARIANT*>(value.Get()), LOCALE_INVARIANT, 0, type);
  if (FAILED(hr)) throw EOleError("Unexpected result from the word processor: " + SystemText(hr), hr);
  return result;
}

}  // namespace

TVariant OleInt(long value) { return TVariant::OfLong(value); }
TVariant OleSingle(float value) { return TVariant::OfFloat(value); }
TVariant OleBool(bool value) { return TVariant::OfBool(value); }
TVariant OleText(const std::string& text) { return TVariant::OfText(WidenText(text)); }
TVariant OleFileText(const std::string& fileName) { return TVariant::OfText(WidenFileName(fileName)); }

TOleFileName::TOleFileName(const std::string& fileName) : Name(WidenFileName(fileName)) {}

TVariant TOleFileName::Arg() {
  // Points at the string this object owns: clearing the variant leaves it.
  TVariant v;
  v.Put()->vt = VT_BSTR | VT_BYREF;
  v.Get()->pbstrVal = Name.Address();
  return v;
}

long OleToInt(const TVariant& value) { return Changed(value, VT_I4)->lVal; }
float OleToSingle(const TVariant& value) { return Changed(value, VT_R4)->fltVal; }

std::string OleToText(const TVariant& value) {
  const TVariant text = Changed(value, VT_BSTR);
  return text->bstrVal ? NarrowText(std::wstring(text->bstrVal, SysStringLen(text->bstrVal))) : std::string();
}

TOleObject TOleObject::From(const TVariant& value, const std::string& member) {
  if (value.Type() != VT_DISPATCH || !value->pdispVal)
    throw EOleError("The word processor gave no object for " + member + ".", DISP_E_TYPEMISMATCH);
  return TOleObject(TComPtr<IDispatch>::Share(value->pdispVal));
}

namespace {
CLSID ClassOf(const std::string& progId) {
  CLSID clsid;
  const HRESULT hr = CLSIDFromProgID(WidenText(progId).c_str(), &clsid);
  if (FAILED(hr)) Fail(hr, progId);
  return clsid;
}
}  // namespace

TOleObject TOleObject::Running(const std::string& progId) {
  const CLSID clsid = ClassOf(progId);
  TComPtr<IUnknown> running;
  TComPtr<IDispatch> object;
  if (SUCCEEDED(GetActiveObject(clsid, nullptr, running.Put())) && running)
    running.QueryInterface(IID_IDispatch, object);
  return TOleObject(std::move(object));
}

TOleObject TOleObject::Create(const std::string& progId) {
  const CLSID clsid = ClassOf(progId);
  TComPtr<IDispatch> object;
  const HRESULT hr = CoCreateInstance(clsid, nullptr, CLSCTX_SERVER, IID_IDispatch, object.PutVoid());
  if (FAILED(hr) || !object) Fail(FAILED(hr) ? hr : E_NOINTERFACE, progId);
  return TOleObject(std::move(object));
}

bool ServerGone(HRESULT code) {
  return code == RPC_E_DISCONNECTED || code == RPC_E_SERVER_DIED || code == RPC_E_SERVER_DIED_DNE ||
         code == CO_E_OBJNOTCONNECTED || code == HRESULT_FROM_WIN32(RPC_S_SERVER_UNAVAILABLE) ||
         code == HRESULT_FROM_WIN32(RPC_S_CALL_FAILED);
}

TVariant TOleObject::AsArg() const {
  TVariant v;
  v.Put()->vt = VT_DISPATCH;
  v.Get()->pdispVal = Object.Get();
  if (Object) Object->AddRef();
  return v;
}

TVariant TOleObject::Call(const std::string& member, const TOleArgs& args) const {
  return Invoke(member, DISPATCH_METHOD, args);
}

TVariant TOleObject::Get(const std::string& member, const TOleArgs& args) const {
  return Invoke(member, DISPATCH_PROPERTYGET | DISPATCH_METHOD, args);
}

void TOleObject::Put(const std::string& member, const TVariant& value) const {
  TOleArgs args;
  args.push_back({std::string(), value});
  Invoke(member, DISPATCH_PROPERTYPUT, args);
}

TVariant TOleObject::Invoke(const std::string& member, WORD flags, const TOleArgs& args) const {
  if (!Object) throw EOleError("No word processor object for " + member + ".", E_POINTER);
  // The member first, then the named arguments in the order written.
  std::vector<std::wstring> names{WidenText(member)};
  for (const TOleArg& a : args)
    if (!a.Name.empty()) names.push_back(WidenText(a.Name));
  std::vector<LPOLESTR> pointers;
  for (std::wstring& n : names) pointers.push_back(n.data());
  std::vector<DISPID> ids(names.size(), DISPID_UNKNOWN);
  HRESULT hr = Object->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()),
                                     LOCALE_USER_DEFAULT, ids.data());
  if (FAILED(hr)) Fail(hr, member);

  // rgvarg holds the arguments from the last to the first; the named ones
  // come first in it, matched one to one by the DISPID array.
  std::vector<VARIANT> argv;
  std::vector<DISPID> named;
  for (size_t i = args.size(), name = names.size(); i-- > 0;)
    if (!args[i].Name.empty()) {
      argv.push_back(*args[i].Value);
      named.push_back(ids[--name]);
    }
  for (size_t i = args.size(); i-- > 0;)
    if (args[i].Name.empty()) argv.push_back(*args[i].Value);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{argv.data(), named.data(), static_cast<UINT>(argv.size()), static_cast<UINT>(named.size())};
  if (flags & DISPATCH_PROPERTYPUT) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  TVariant result;
  EXCEPINFO info{};
  UINT argError = 0;
  hr = Object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params,
                      (flags & DISPATCH_PROPERTYPUT) ? nullptr : result.Put(), &info, &argError);
  if (hr == DISP_E_EXCEPTION) FailWith(info, member);
  if (FAILED(hr)) Fail(hr, member);
  return result;
}
