// The two automation objects that clients create: "Word.Basic", the
// WordBasic of the French Word 95, and "Word.Application", the object model
// of Word 97. Both drive the process's one word processor.
#pragma once

#include <windows.h>

#include "ComOwners.h"
#include "Dispatch.h"

// The class identifiers under which Word registers the two objects, and
// their program identifiers.
inline constexpr CLSID CLSID_WordBasic = {0x000209FE, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr CLSID CLSID_WordApplication = {
    0x000209FF, 0x0000, 0x0000, {0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46}};
inline constexpr const char* ProgID_WordBasic = "Word.Basic";
inline constexpr const char* ProgID_WordApplication = "Word.Application";

// The process's one object of each kind, made on first demand and
// registered as running under its class so that GetActiveObject finds it;
// the registration goes with the object.
TComPtr<TAutoObject> SharedWordBasic();
TComPtr<TAutoObject> SharedApplication();

// The running object table, weakly: clients' references keep the objects
// alive, the table does not. 0 when the object could not be registered.
DWORD RegisterRunning(IUnknown* object, const CLSID& clsid);
void RevokeRunning(DWORD& cookie);
