#include "SavedPassword.h"

#include <windows.h>
#include <wincrypt.h>

#include <vector>

#include "SecurityOwners.h"

namespace {

// Binds the blob to this use: another program's protected data does not
// open as our password.
constexpr char Entropy[] = "Usagram bug report mail password";

DATA_BLOB Blob(const void* data, size_t size) {
  return DATA_BLOB{static_cast<DWORD>(size), static_cast<BYTE*>(const_cast<void*>(data))};
}

}  // namespace

std::string ProtectPassword(const std::string& password) {
  DATA_BLOB in = Blob(password.data(), password.size());
  DATA_BLOB entropy = Blob(Entropy, sizeof Entropy - 1);
  DATA_BLOB out{};
  if (!CryptProtectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return {};
  TLocalMemory owned(out.pbData);
  static const char hex[] = "0123456789ABCDEF";
  std::string text;
  for (DWORD i = 0; i < out.cbData; ++i) {
    text += hex[owned.Get()[i] >> 4];
    text += hex[owned.Get()[i] & 15];
  }
  return text;
}

std::optional<std::string> UnprotectPassword(const std::string& stored) {
  if (stored.empty() || stored.size() % 2 != 0) return std::nullopt;
  std::vector<BYTE> bytes;
  for (size_t i = 0; i < stored.size(); i += 2) {
    int value = 0;
    for (char c : {stored[i], stored[i + 1]}) {
      int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
      if (digit < 0) return std::nullopt;
      value = value * 16 + digit;
    }
    bytes.push_back(static_cast<BYTE>(value));
  }
  DATA_BLOB in = Blob(bytes.data(), bytes.size());
  DATA_BLOB entropy = Blob(Entropy, sizeof Entropy - 1);
  DATA_BLOB out{};
  if (!CryptUnprotectData(&in, nullptr, &entropy, nullptr, nullptr, CRYPTPROTECT_UI_FORBIDDEN, &out)) return std::nullopt;
  TLocalMemory owned(out.pbData);
  std::string password(reinterpret_cast<const char*>(owned.Get()), out.cbData);
  SecureZeroMemory(owned.Get(), out.cbData);
  return password;
}
