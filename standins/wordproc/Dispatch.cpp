#include "Dispatch.h"

#include <new>

#include "CallLog.h"
#include "Measure.h"
#include "Switches.h"

namespace {

TObjectCountHook CreatedHook = nullptr;
TObjectCountHook DestroyedHook = nullptr;
LONG ObjectCount = 0;

bool SameName(const wchar_t* a, size_t aLength, const wchar_t* b, size_t bLength) {
  return CompareStringOrdinal(a, static_cast<int>(aLength), b, static_cast<int>(bLength), TRUE) == CSTR_EQUAL;
}

struct TParam {
  std::wstring Name;
  bool Nameable;
};

std::vector<TParam> ParamList(const wchar_t* params) {
  std::vector<TParam> list;
  std::wstring rest = params ? params : L"";
  while (!rest.empty()) {
    const size_t comma = rest.find(L',');
    std::wstring name = rest.substr(0, comma);
    rest = comma == std::wstring::npos ? L"" : rest.substr(comma + 1);
    const bool nameable = name.empty() || name[0] != L'*';
    list.push_back({nameable ? name : name.substr(1), nameable});
  }
  return list;
}

void FillException(EXCEPINFO* exception, long number, const std::string& message) {
  if (!exception) return;
  *exception = EXCEPINFO{};
  exception->bstrSource = TBStr(L"wordproc").Detach();
  exception->bstrDescription = TBStr(WidenText(message)).Detach();
  exception->scode = MAKE_HRESULT(SEVERITY_ERROR, FACILITY_CONTROL, number);
}

}  // namespace

void SetObjectCountHooks(TObjectCountHook created, TObjectCountHook destroyed) {
  CreatedHook = created;
  DestroyedHook = destroyed;
}

long LiveObjectCount() { return ObjectCount; }

// ---------------------------------------------------------------- TCall

TCall::TCall(TKind kind, std::vector<const VARIANT*> args, std::vector<UINT> argPositions, const VARIANT* value,
             UINT valuePosition, VARIANT* result)
    : CallKind(kind),
      Args(std::move(args)),
      Positions(std::move(argPositions)),
      Value(value),
      ValuePosition(valuePosition),
      ResultValue(result) {}

const VARIANT* TCall::Raw(int i) const {
  const VARIANT* v = i == PutValue ? Value : (i >= 0 && static_cast<size_t>(i) < Args.size() ? Args[i] : nullptr);
  while (v && v->vt == (VT_BYREF | VT_VARIANT)) v = v->pvarVal;
  return v;
}

bool TCall::Has(int i) const {
  const VARIANT* v = Raw(i);
  return v && !(v->vt == VT_ERROR && v->scode == DISP_E_PARAMNOTFOUND);
}

void TCall::Mismatch(int i) const {
  throw TArgumentError{DISP_E_TYPEMISMATCH, i == PutValue ? ValuePosition : Positions[i]};
}

void TCall::Missing(int i) const {
  throw TArgumentError{DISP_E_PARAMNOTFOUND, i == PutValue || static_cast<size_t>(i) >= Positions.size() ? 0u : Positions[i]};
}

TVariant TCall::Converted(int i, VARTYPE type) const {
  if (!Has(i)) Missing(i);
  TVariant plain, converted;
  if (FAILED(VariantCopyInd(plain.Put(), const_cast<VARIANT*>(Raw(i))))) Mismatch(i);
  if (FAILED(VariantChangeTypeEx(converted.Put(), plain.Get(), LOCALE_INVARIANT, 0, type))) Mismatch(i);
  return converted;
}

long TCall::Int(int i) const {
  const VARIANT* raw = Raw(i);
  // Whole numbers only: 2.5 columns is not two columns.
  if (raw && ((raw->vt & VT_TYPEMASK) == VT_R4 || (raw->vt & VT_TYPEMASK) == VT_R8)) {
    const double r = Real(i);
    if (r != static_cast<double>(static_cast<long>(r))) Mismatch(i);
    return static_cast<long>(r);
  }
  return Converted(i, VT_I4)->lVal;
}

double TCall::Real(int i) const { return Converted(i, VT_R8)->dblVal; }

std::string TCall::Text(int i) const {
  TVariant text = Converted(i, VT_BSTR);
  BSTR s = text->bstrVal;
  return NarrowText(s ? std::wstring(s, SysStringLen(s)) : std::wstring());
}

double TCall::Points(int i) const {
  const VARIANT* raw = Raw(i);
  if (raw && (raw->vt & VT_TYPEMASK) == VT_BSTR) {
    const std::string text = Text(i);
    double points = 0;
    if (!ParseMeasure(text, points)) throw TAutoError(WordError::OutOfRange, "\"" + text + "\" is not a valid measurement.");
    return points;
  }
  return Real(i);
}

TAutoObject* TCall::Object(int i) const {
  if (!Has(i)) Missing(i);
  TVariant plain;
  if (FAILED(VariantCopyInd(plain.Put(), const_cast<VARIANT*>(Raw(i))))) Mismatch(i);
  IUnknown* unknown = plain->vt == VT_DISPATCH ? plain->pdispVal : plain->vt == VT_UNKNOWN ? plain->punkVal : nullptr;
  if (!unknown) Mismatch(i);
  TComPtr<IDispatch> ours;
  if (FAILED(unknown->QueryInterface(IID_IWordprocObject, ours.PutVoid())) || !ours) Mismatch(i);
  // The caller's argument keeps the object alive for the whole call.
  return static_cast<TAutoObject*>(ours.Get());
}

void TCall::Return(long value) {
  VariantClear(ResultValue);
  TVariant::OfLong(value).Detach(*ResultValue);
}

void TCall::ReturnSingle(float value) {
  VariantClear(ResultValue);
  TVariant::OfFloat(value).Detach(*ResultValue);
}

void TCall::ReturnBool(bool value) {
  VariantClear(ResultValue);
  TVariant::OfBool(value).Detach(*ResultValue);
}

void TCall::ReturnText(const std::string& text) {
  VariantClear(ResultValue);
  TVariant::OfText(WidenText(text)).Detach(*ResultValue);
}

void TCall::ReturnObject(TAutoObject* object) {
  VariantClear(ResultValue);
  ResultValue->vt = VT_DISPATCH;
  ResultValue->pdispVal = object;
  if (object) object->AddRef();
}

void TCall::ReturnVariant(const VARIANT& value) {
  VariantClear(ResultValue);
  VariantCopy(ResultValue, const_cast<VARIANT*>(&value));
}

// ---------------------------------------------------------------- TAutoObject

TAutoObject::TAutoObject(std::string path) : ObjectPath(std::move(path)) {
  ++ObjectCount;
  if (CreatedHook) CreatedHook();
}

TAutoObject::~TAutoObject() {
  --ObjectCount;
  if (DestroyedHook) DestroyedHook();
}

HRESULT TAutoObject::QueryInterface(REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, IID_IWordprocObject))
    *object = static_cast<IDispatch*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TAutoObject::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&References)); }

ULONG TAutoObject::Release() {
  const LONG left = InterlockedDecrement(&References);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

HRESULT TAutoObject::GetTypeInfoCount(UINT* count) {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

HRESULT TAutoObject::GetTypeInfo(UINT, LCID, ITypeInfo** info) {
  if (info) *info = nullptr;
  return DISP_E_BADINDEX;
}

// No exception leaves the server's entry points: a client gets an error code.
HRESULT TAutoObject::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID lcid, DISPID* ids) {
  try {
    return FindIds(iid, names, count, lcid, ids);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TAutoObject::Invoke(DISPID id, REFIID iid, LCID lcid, WORD flags, DISPPARAMS* params, VARIANT* result,
                            EXCEPINFO* exception, UINT* argError) {
  try {
    return InvokeMember(id, iid, lcid, flags, params, result, exception, argError);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}

HRESULT TAutoObject::FindIds(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  if (!names || !ids || count == 0) return E_INVALIDARG;
  const auto members = Members();
  const std::wstring wanted = names[0] ? names[0] : L"";
  ids[0] = DISPID_UNKNOWN;
  for (size_t i = 0; i < members.size(); ++i) {
    const std::wstring name = members[i].Name;
    if (SameName(name.data(), name.size(), wanted.data(), wanted.size())) ids[0] = static_cast<DISPID>(i + 1);
  }
  HRESULT hr = ids[0] == DISPID_UNKNOWN ? DISP_E_UNKNOWNNAME : S_OK;
  const std::vector<TParam> params =
      ids[0] == DISPID_UNKNOWN ? std::vector<TParam>() : ParamList(members[ids[0] - 1].Params);
  for (UINT n = 1; n < count; ++n) {
    ids[n] = DISPID_UNKNOWN;
    const std::wstring argument = names[n] ? names[n] : L"";
    for (size_t p = 0; p < params.size(); ++p)
      if (params[p].Nameable && SameName(params[p].Name.data(), params[p].Name.size(), argument.data(), argument.size()))
        ids[n] = static_cast<DISPID>(p);
    if (ids[n] == DISPID_UNKNOWN) hr = DISP_E_UNKNOWNNAME;
  }
  return hr;
}

HRESULT TAutoObject::InvokeMember(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                  EXCEPINFO* exception, UINT* argError) {
  if (!IsEqualIID(iid, IID_NULL)) return DISP_E_UNKNOWNINTERFACE;
  const auto members = Members();
  size_t index = members.size();
  if (id == DISPID_VALUE) {
    for (size_t i = 0; i < members.size(); ++i)
      if (members[i].Kinds & mkDefault) index = i;
  } else if (id >= 1 && static_cast<size_t>(id) <= members.size()) {
    index = static_cast<size_t>(id) - 1;
  }
  if (index >= members.size()) return DISP_E_MEMBERNOTFOUND;
  const TMemberInfo& info = members[index];

  TCall::TKind kind;
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    if (!(info.Kinds & mkPut)) return DISP_E_MEMBERNOTFOUND;
    kind = TCall::TKind::Put;
  } else if ((flags & DISPATCH_PROPERTYGET) && (info.Kinds & mkGet)) {
    kind = TCall::TKind::Get;
  } else if ((flags & DISPATCH_METHOD) && (info.Kinds & mkMethod)) {
    kind = TCall::TKind::Method;
  } else if ((flags & DISPATCH_METHOD) && (info.Kinds & mkGet)) {
    kind = TCall::TKind::Get;  // obj.Property() read as a method
  } else {
    return DISP_E_MEMBERNOTFOUND;
  }

  // Bind the arguments: named ones by their DISPID, then positional ones,
  // which come last in the array and in reverse order.
  const std::vector<TParam> paramList = ParamList(info.Params);
  std::vector<const VARIANT*> bound(paramList.size(), nullptr);
  std::vector<UINT> positions(paramList.size(), 0);
  const VARIANT* value = nullptr;
  UINT valuePosition = 0;
  const UINT argCount = params ? params->cArgs : 0, namedCount = params ? params->cNamedArgs : 0;
  if (argCount && !params->rgvarg) return E_INVALIDARG;
  if (namedCount > argCount || (namedCount && !params->rgdispidNamedArgs)) return E_INVALIDARG;
  for (UINT n = 0; n < namedCount; ++n) {
    const DISPID d = params->rgdispidNamedArgs[n];
    if (d == DISPID_PROPERTYPUT && kind == TCall::TKind::Put) {
      value = &params->rgvarg[n];
      valuePosition = n;
    } else if (d >= 0 && static_cast<size_t>(d) < bound.size() && !bound[d]) {
      bound[d] = &params->rgvarg[n];
      positions[d] = n;
    } else {
      if (argError) *argError = n;
      return DISP_E_PARAMNOTFOUND;
    }
  }
  UINT positional = argCount - namedCount;
  if (kind == TCall::TKind::Put && !value) {
    if (positional == 0) return DISP_E_PARAMNOTOPTIONAL;
    value = &params->rgvarg[namedCount];  // the last positional argument
    valuePosition = namedCount;
    --positional;
  }
  if (positional > bound.size()) return DISP_E_BADPARAMCOUNT;
  for (UINT p = 0; p < positional; ++p) {
    const UINT at = argCount - 1 - p;
    if (bound[p]) {
      if (argError) *argError = at;
      return DISP_E_PARAMNOTFOUND;
    }
    bound[p] = &params->rgvarg[at];
    positions[p] = at;
  }

  // The log line: the arguments in the caller's order.
  const std::string member = NarrowText(info.Name);
  std::string line = ObjectPath + "\t" + member + "\t" + DescribeFlags(flags);
  for (UINT at = argCount; at-- > 0;) {
    if (value == &params->rgvarg[at]) {
      line += '\t';
      line += DescribeValue(params->rgvarg[at]);
      continue;
    }
    for (size_t p = 0; p < bound.size(); ++p)
      if (bound[p] == &params->rgvarg[at])
        line += '\t' + NarrowText(paramList[p].Name) + (at < namedCount ? ":=" : "=") + DescribeValue(params->rgvarg[at]);
  }

  TVariant scratch;
  VARIANT* target = result ? result : scratch.Put();
  if (result) VariantInit(result);
  const TSwitches switches = ReadSwitches();
  HRESULT hr = S_OK;
  try {
    if (FailureRequested(switches, ObjectPath, member))
      throw TAutoError(WordError::CommandFailed, member + " failed: the FailOn switch of wordproc asks for it.");
    TCall call(kind, bound, positions, value, valuePosition, target);
    Run(index, call);
    if (target->vt != VT_EMPTY) line += "\t-> " + DescribeValue(*target);
  } catch (const TAutoError& e) {
    VariantClear(target);
    FillException(exception, e.Number, e.what());
    line += "\t!! " + EscapeLogText(e.what());
    hr = DISP_E_EXCEPTION;
  } catch (const TArgumentError& e) {
    VariantClear(target);
    if (argError) *argError = e.Position;
    line += e.Code == DISP_E_TYPEMISMATCH ? "\t!! type mismatch" : "\t!! parameter not found";
    hr = e.Code;
  } catch (const std::bad_alloc&) {
    VariantClear(target);
    line += "\t!! out of memory";
    hr = E_OUTOFMEMORY;
  } catch (const std::exception& e) {
    VariantClear(target);
    FillException(exception, WordError::CommandFailed, "Internal error of wordproc: " + std::string(e.what()));
    line += "\t!! " + EscapeLogText(e.what());
    hr = DISP_E_EXCEPTION;
  }
  AppendToCallLog(switches, line);
  return hr;
}
