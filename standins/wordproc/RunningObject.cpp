#include "Automation.h"

DWORD RegisterRunning(IUnknown* object, const CLSID& clsid) {
  DWORD cookie = 0;
  if (FAILED(RegisterActiveObject(object, clsid, ACTIVEOBJECT_WEAK, &cookie))) return 0;
  return cookie;
}

void RevokeRunning(DWORD& cookie) {
  if (cookie) RevokeActiveObject(cookie, nullptr);
  cookie = 0;
}
