#include "AutoClient.h"

#include <gtest/gtest.h>

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n, nullptr, nullptr);
  return out;
}

TVariant Converted(const TVariant& value, VARTYPE type) {
  TVariant out;
  if (FAILED(VariantChangeTypeEx(out.Put(), const_cast<VARIANT*>(value.Get()), LOCALE_INVARIANT, 0, type)))
    ADD_FAILURE() << "value of type " << value.Type() << " does not convert to " << type;
  return out;
}

}  // namespace

TVariant Int(long value) { return TVariant::OfLong(value); }
TVariant Single(float value) { return TVariant::OfFloat(value); }
TVariant Text(const std::wstring& text) { return TVariant::OfText(text); }
TVariant Bool(bool value) { return TVariant::OfBool(value); }

TVariant Object(IDispatch* object) {
  TVariant v;
  v.Put()->vt = VT_DISPATCH;
  v.Get()->pdispVal = object;
  if (object) object->AddRef();
  return v;
}

TTextByRef::TTextByRef(const std::wstring& text) : Value(text) {}

TVariant TTextByRef::Arg() {
  // Refers to the string this object owns: VariantClear leaves it alone.
  TVariant v;
  v.Put()->vt = VT_BSTR | VT_BYREF;
  v.Get()->pbstrVal = Value.Address();
  return v;
}

TAuto TAuto::Create(const wchar_t* progId, HRESULT* result) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  TComPtr<IDispatch> object;
  if (SUCCEEDED(hr)) hr = CoCreateInstance(clsid, nullptr, CLSCTX_LOCAL_SERVER, IID_IDispatch, object.PutVoid());
  if (result) *result = hr;
  return TAuto(object);
}

TAuto TAuto::Running(const wchar_t* progId, HRESULT* result) {
  CLSID clsid;
  HRESULT hr = CLSIDFromProgID(progId, &clsid);
  TComPtr<IUnknown> unknown;
  TComPtr<IDispatch> object;
  if (SUCCEEDED(hr)) hr = GetActiveObject(clsid, nullptr, unknown.Put());
  if (SUCCEEDED(hr)) hr = unknown.QueryInterface(IID_IDispatch, object);
  if (result) *result = hr;
  return TAuto(object);
}

TAuto TAuto::From(const TVariant& value) {
  if (value.Type() != VT_DISPATCH || !value->pdispVal) {
    ADD_FAILURE() << "not an object (type " << value.Type() << ")";
    return TAuto();
  }
  return TAuto(TComPtr<IDispatch>::Share(value->pdispVal));
}

TOutcome TAuto::Try(const std::wstring& member, WORD flags, const std::vector<TArg>& args) const {
  TOutcome outcome;
  if (!Object) {
    outcome.Result = E_POINTER;
    return outcome;
  }
  // Names: the member first, then the named arguments in the order given.
  std::vector<std::wstring> names{member};
  for (const TArg& a : args)
    if (!a.Name.empty()) names.push_back(a.Name);
  std::vector<LPOLESTR> pointers;
  for (std::wstring& n : names) pointers.push_back(n.data());
  std::vector<DISPID> ids(names.size());
  outcome.Result = Object->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(names.size()), LOCALE_USER_DEFAULT,
                                         ids.data());
  if (FAILED(outcome.Result)) return outcome;

  // rgvarg holds the arguments last first; named ones come first in it.
  std::vector<VARIANT> argv;
  std::vector<DISPID> named;
  for (size_t i = args.size(); i-- > 0;)
    if (!args[i].Name.empty()) argv.push_back(*args[i].Value);
  for (size_t i = names.size(); i-- > 1;) named.push_back(ids[i]);
  for (size_t i = args.size(); i-- > 0;)
    if (args[i].Name.empty()) argv.push_back(*args[i].Value);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{argv.data(), named.data(), static_cast<UINT>(argv.size()), static_cast<UINT>(named.size())};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  EXCEPINFO exception{};
  UINT argError = 0;
  outcome.Result = Object->Invoke(ids[0], IID_NULL, LOCALE_USER_DEFAULT, flags, &params, outcome.Value.Put(),
                                  &exception, &argError);
  if (outcome.Result == DISP_E_EXCEPTION) {
    outcome.Code = exception.scode;
    TBStr source, description, help;
    source.Attach(exception.bstrSource);
    description.Attach(exception.bstrDescription);
    help.Attach(exception.bstrHelpFile);
    outcome.Error = description.Text();
  }
  return outcome;
}

TVariant TAuto::Call(const std::wstring& member, const std::vector<TArg>& args) const {
  TOutcome outcome = Try(member, DISPATCH_METHOD, args);
  EXPECT_TRUE(outcome.Ok()) << Utf8(member) << ": 0x" << std::hex << outcome.Result << " " << Utf8(outcome.Error);
  return outcome.Value;
}

TVariant TAuto::Get(const std::wstring& member, const std::vector<TArg>& args) const {
  TOutcome outcome = Try(member, DISPATCH_METHOD | DISPATCH_PROPERTYGET, args);
  EXPECT_TRUE(outcome.Ok()) << Utf8(member) << ": 0x" << std::hex << outcome.Result << " " << Utf8(outcome.Error);
  return outcome.Value;
}

void TAuto::Put(const std::wstring& member, TVariant value) const {
  std::vector<TArg> args;
  args.push_back(TArg{L"", std::move(value)});
  TOutcome outcome = Try(member, DISPATCH_PROPERTYPUT, args);
  EXPECT_TRUE(outcome.Ok()) << Utf8(member) << " := 0x" << std::hex << outcome.Result << " " << Utf8(outcome.Error);
}

long TAuto::GetInt(const std::wstring& member) const { return AsInt(Get(member)); }
double TAuto::GetReal(const std::wstring& member) const { return AsReal(Get(member)); }
std::wstring TAuto::GetText(const std::wstring& member) const { return AsText(Get(member)); }

long AsInt(const TVariant& value) { return Converted(value, VT_I4)->lVal; }
double AsReal(const TVariant& value) { return Converted(value, VT_R8)->dblVal; }

std::wstring AsText(const TVariant& value) {
  const TVariant text = Converted(value, VT_BSTR);
  return text->bstrVal ? std::wstring(text->bstrVal, SysStringLen(text->bstrVal)) : std::wstring();
}
