#include "CallLog.h"

#include <cstdio>

#include "Dispatch.h"

namespace {

std::string Number(const char* format, double value) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, format, value);
  return buffer;
}

std::string DescribeObject(IUnknown* unknown) {
  if (!unknown) return "obj:nothing";
  TComPtr<IDispatch> ours;
  if (SUCCEEDED(unknown->QueryInterface(IID_IWordprocObject, ours.PutVoid())) && ours)
    return "obj:" + static_cast<TAutoObject*>(ours.Get())->Path();
  return "obj:?";
}

}  // namespace

std::string EscapeLogText(const std::string& text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '"': out += "\\\""; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\t': out += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 32) {
          char hex[8];
          std::snprintf(hex, sizeof hex, "\\x%02X", static_cast<unsigned char>(c));
          out += hex;
        } else {
          out += c;
        }
    }
  }
  return out;
}

std::string DescribeValue(const VARIANT& value) {
  const bool byRef = (value.vt & VT_BYREF) != 0;
  TVariant plain;
  if (byRef && FAILED(VariantCopyInd(plain.Put(), const_cast<VARIANT*>(&value)))) return "&vt:" + std::to_string(value.vt & VT_TYPEMASK);
  const VARIANT& v = byRef ? *plain : value;
  std::string text;
  switch (v.vt) {
    case VT_EMPTY: text = "empty"; break;
    case VT_NULL: text = "null"; break;
    case VT_I1: text = "i1:" + std::to_string(v.cVal); break;
    case VT_UI1: text = "ui1:" + std::to_string(v.bVal); break;
    case VT_I2: text = "i2:" + std::to_string(v.iVal); break;
    case VT_UI2: text = "ui2:" + std::to_string(v.uiVal); break;
    case VT_I4: text = "i4:" + std::to_string(v.lVal); break;
    case VT_UI4: text = "ui4:" + std::to_string(v.ulVal); break;
    case VT_INT: text = "int:" + std::to_string(v.intVal); break;
    case VT_UINT: text = "uint:" + std::to_string(v.uintVal); break;
    case VT_R4: text = "r4:" + Number("%.7g", v.fltVal); break;
    case VT_R8: text = "r8:" + Number("%.15g", v.dblVal); break;
    case VT_BOOL: text = "bool:" + std::to_string(v.boolVal); break;
    case VT_BSTR:
      text = "str:\"" + EscapeLogText(NarrowText(v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : L"")) +
             "\"";
      break;
    case VT_DISPATCH: text = DescribeObject(v.pdispVal); break;
    case VT_UNKNOWN: text = DescribeObject(v.punkVal); break;
    case VT_ERROR: {
      if (v.scode == DISP_E_PARAMNOTFOUND) {
        text = "missing";
      } else {
        char hex[24];
        std::snprintf(hex, sizeof hex, "error:0x%08lX", static_cast<unsigned long>(v.scode));
        text = hex;
      }
      break;
    }
    default: text = "vt:" + std::to_string(v.vt);
  }
  return (byRef ? "&" : "") + text;
}

std::string DescribeFlags(WORD flags) {
  std::string text;
  auto add = [&](WORD flag, const char* name) {
    if (!(flags & flag)) return;
    if (!text.empty()) text += '|';
    text += name;
  };
  add(DISPATCH_METHOD, "method");
  add(DISPATCH_PROPERTYGET, "get");
  add(DISPATCH_PROPERTYPUT, "put");
  add(DISPATCH_PROPERTYPUTREF, "putref");
  return text.empty() ? "none" : text;
}
