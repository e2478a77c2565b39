// The authority that issued the loopback servers' certificate (made by
// smtp_server.py for the run, DIR/ca.der), among the current user's trusted
// roots for the life of the object, as an administrator would add a
// company's own. Windows' check of the certificate then passes.
#pragma once

#include <windows.h>
#include <wincrypt.h>

#include <fstream>
#include <iterator>
#include <string>

#include "SmtpTestServers.h"

class TTrustedTestAuthority {
 public:
  TTrustedTestAuthority() {
    Remove();
    const std::string der = Der();
    HCERTSTORE store = Open();
    Added = store && !der.empty() &&
            CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                             static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING, nullptr);
    if (store) CertCloseStore(store, 0);
  }
  ~TTrustedTestAuthority() { Remove(); }
  TTrustedTestAuthority(const TTrustedTestAuthority&) = delete;
  TTrustedTestAuthority& operator=(const TTrustedTestAuthority&) = delete;
  bool Added = false;

  // Takes the authority out of the trusted roots (when it is there). The
  // store keeps each certificate under its SHA-1 thumbprint; Wine's
  // CertDeleteCertificateFromStore leaves it there, so the key goes.
  static void Remove() {
    const std::string der = Der();
    if (der.empty()) return;
    PCCERT_CONTEXT ours =
        CertCreateCertificateContext(X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()), static_cast<DWORD>(der.size()));
    if (!ours) return;
    BYTE hash[20];
    DWORD size = sizeof hash;
    const bool hashed = CertGetCertificateContextProperty(ours, CERT_SHA1_HASH_PROP_ID, hash, &size);
    CertFreeCertificateContext(ours);
    if (!hashed) return;
    std::string key = "Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\";
    static const char hex[] = "0123456789ABCDEF";
    for (DWORD i = 0; i < size; ++i) key += {hex[hash[i] >> 4], hex[hash[i] & 15]};
    RegDeleteTreeA(HKEY_CURRENT_USER, key.c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, key.c_str());
  }

 private:
  static HCERTSTORE Open() {
    return CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "Root");
  }
  static std::string Der() {
    std::ifstream in(TSmtpTestServers::Root() / "ca.der", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
};
