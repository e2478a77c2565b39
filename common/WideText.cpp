#include "WideText.h"

#include <windows.h>

namespace {

constexpr UINT ProgramCodePage = 1252;

std::wstring Widen(UINT codePage, const std::string& text) {
  if (text.empty()) return std::wstring();
  const int n = MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring result(n, L'\0');
  MultiByteToWideChar(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), n);
  return result;
}

std::string Narrow(UINT codePage, const std::wstring& text) {
  if (text.empty()) return std::string();
  const int n =
      WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string result(n, '\0');
  WideCharToMultiByte(codePage, 0, text.data(), static_cast<int>(text.size()), result.data(), n, nullptr, nullptr);
  return result;
}

}  // namespace

std::wstring WidenText(const std::string& text) { return Widen(ProgramCodePage, text); }
std::string NarrowText(const std::wstring& text) { return Narrow(ProgramCodePage, text); }
std::wstring WidenFileName(const std::string& name) { return Widen(CP_ACP, name); }
std::string NarrowFileName(const std::wstring& name) { return Narrow(CP_ACP, name); }
