// The security owners: no copies, moves that hand the object on, Detach
// that gives it up, Attach and Close that free it once.
#include "SecurityOwners.h"

#include <gtest/gtest.h>
#include <schannel.h>

#include <type_traits>

namespace {

static_assert(!std::is_copy_constructible_v<TCredentialsHandle> && !std::is_copy_assignable_v<TCredentialsHandle>);
static_assert(!std::is_copy_constructible_v<TSecurityContext> && !std::is_copy_assignable_v<TSecurityContext>);
static_assert(!std::is_copy_constructible_v<TCertContext> && !std::is_copy_assignable_v<TCertContext>);
static_assert(!std::is_copy_constructible_v<TLocalMemory> && !std::is_copy_assignable_v<TContextBuffer>);

// A real Schannel credentials handle, owned by the handle given.
bool Acquire(TCredentialsHandle& owner) {
  SCHANNEL_CRED cred{};
  cred.dwVersion = SCHANNEL_CRED_VERSION;
  cred.dwFlags = SCH_CRED_MANUAL_CRED_VALIDATION | SCH_CRED_NO_DEFAULT_CREDS;
  TimeStamp expiry{};
  if (AcquireCredentialsHandleA(nullptr, const_cast<char*>(UNISP_NAME_A), SECPKG_CRED_OUTBOUND, nullptr, &cred,
                                nullptr, nullptr, owner.Receive(), &expiry) != SEC_E_OK)
    return false;
  owner.Taken();
  return true;
}

// A block as CryptProtectData returns it: LocalAlloc'd.
BYTE* Block() { return static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, 16)); }

TEST(SecurityOwners, ACredentialsHandleIsOwnedUntilMovedDetachedOrClosed) {
  TCredentialsHandle first;
  EXPECT_FALSE(first.Valid());
  EXPECT_EQ(first.Get(), nullptr);
  ASSERT_TRUE(Acquire(first));
  EXPECT_TRUE(first.Valid());
  const CredHandle raw = *first.Get();

  TCredentialsHandle second(std::move(first));
  EXPECT_FALSE(first.Valid());
  ASSERT_TRUE(second.Valid());
  EXPECT_EQ(second.Get()->dwLower, raw.dwLower);
  EXPECT_EQ(second.Get()->dwUpper, raw.dwUpper);

  CredHandle given = second.Detach();
  EXPECT_FALSE(second.Valid());
  // Still alive after Detach: the owner did not free it.
  EXPECT_EQ(FreeCredentialsHandle(&given), SEC_E_OK);

  // Receive frees what the owner held before a new one is filled in.
  TCredentialsHandle third;
  ASSERT_TRUE(Acquire(third));
  ASSERT_TRUE(Acquire(third));
  third.Close();
  EXPECT_FALSE(third.Valid());
  third.Close();  // once only
}

TEST(SecurityOwners, APointerOwnerFreesWhatItHoldsOnceAndGivesUpOnDetach) {
  TLocalMemory block(Block());
  ASSERT_TRUE(block);
  BYTE* raw = block.Get();
  TLocalMemory moved;
  moved = std::move(block);
  EXPECT_FALSE(block);
  EXPECT_EQ(moved.Get(), raw);
  BYTE* given = moved.Detach();
  EXPECT_FALSE(moved);
  EXPECT_EQ(LocalFree(given), nullptr);  // ours to free, and still valid

  TLocalMemory owner(Block());
  owner.Attach(owner.Get());  // the same block: kept, not freed
  ASSERT_TRUE(owner);
  owner.Get()[0] = 1;
  owner.Attach(Block());
  owner.Close();
  EXPECT_FALSE(owner);
}

TEST(SecurityOwners, ACertificateOwnerHoldsItsOwnReference) {
  // A certificate of our own making, from a key pair of the moment.
  HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_MEMORY, 0, 0, 0, nullptr);
  ASSERT_NE(store, nullptr);
  BYTE name[64];
  DWORD size = sizeof name;
  ASSERT_TRUE(CertStrToNameA(X509_ASN_ENCODING, "CN=Owner test", CERT_X500_NAME_STR, nullptr, name, &size, nullptr));
  CERT_NAME_BLOB subject{size, name};
  PCCERT_CONTEXT made = CertCreateSelfSignCertificate(0, &subject, 0, nullptr, nullptr, nullptr, nullptr, nullptr);
  if (!made) {
    CertCloseStore(store, 0);
    GTEST_SKIP() << "no self-signed certificate can be made here";
  }
  TCertContext owner(made);
  TCertContext copy(CertDuplicateCertificateContext(owner.Get()));
  owner.Close();
  EXPECT_FALSE(owner);
  // The second reference still reads.
  char text[64] = {};
  EXPECT_GT(CertGetNameStringA(copy.Get(), CERT_NAME_SIMPLE_DISPLAY_TYPE, 0, nullptr, text, sizeof text), 1u);
  EXPECT_STREQ(text, "Owner test");
  CertCloseStore(store, 0);
}

}  // namespace
