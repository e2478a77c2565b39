// wordproc.exe: the word processor that stands in for Microsoft Word, as an
// out-of-process automation server.
//
//   wordproc /RegServer [PROGID...]   register (Word.Basic, Word.Application,
//                                     or only those named)
//   wordproc /UnregServer             remove the registration
//   wordproc /Embedding               serve (COM starts it so)
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Automation.h"
#include "ComOwners.h"
#include "Module.h"
#include "Registration.h"
#include "uChaines.h"

namespace {

// How long a server that COM started waits for its first client.
constexpr UINT FirstClientTimeoutMs = 60000;

enum TExitCode { ExitOk = 0, ExitFailed = 1, ExitUsage = 2 };

class TClassFactory : public IClassFactory {
 public:
  using TCreate = TComPtr<TAutoObject> (*)();
  explicit TClassFactory(TCreate create) : Create(create) {}

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory) ? this : nullptr;
    return *object ? S_OK : E_NOINTERFACE;
  }
  // The factories live as long as the server: the counts do not matter.
  ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
  ULONG STDMETHODCALLTYPE Release() override { return 1; }

  HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    try {
      TComPtr<TAutoObject> created = Create();
      return created->QueryInterface(iid, object);
    } catch (...) {
      return E_OUTOFMEMORY;
    }
  }
  HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
    if (lock)
      CoAddRefServerProcess();
    else if (CoReleaseServerProcess() == 0)
      PostQuitMessage(0);
    return S_OK;
  }

 private:
  TCreate Create;
};

TClassFactory WordBasicFactory(&SharedWordBasic);
TClassFactory ApplicationFactory(&SharedApplication);

void CALLBACK NoClientYet(HWND, UINT, UINT_PTR timer, DWORD) {
  KillTimer(nullptr, timer);
  if (LiveObjectCount() == 0) PostQuitMessage(0);
}

int Serve() {
  TComApartment apartment;
  if (!apartment.Entered()) {
    std::fprintf(stderr, "wordproc: COM cannot be initialised (0x%08lX).\n", static_cast<unsigned long>(apartment.Status()));
    return ExitFailed;
  }
  // The server ends when its last object goes.
  SetObjectCountHooks([] { CoAddRefServerProcess(); },
                      [] {
                        if (CoReleaseServerProcess() == 0) PostQuitMessage(0);
                      });
  const std::string program = ModuleFileName();
  std::vector<DWORD> cookies;
  for (const TServerClass& server : ServerClasses) {
    // Only the identifiers registered to this program are served.
    if (!RegisteredToThisProgram(*server.Clsid, program)) continue;
    IClassFactory* factory = server.Clsid == &CLSID_WordBasic ? static_cast<IClassFactory*>(&WordBasicFactory)
                                                              : static_cast<IClassFactory*>(&ApplicationFactory);
    DWORD cookie = 0;
    if (SUCCEEDED(CoRegisterClassObject(*server.Clsid, factory, CLSCTX_LOCAL_SERVER,
                                        REGCLS_MULTIPLEUSE | REGCLS_SUSPENDED, &cookie)))
      cookies.push_back(cookie);
  }
  if (cookies.empty()) {
    std::fprintf(stderr, "wordproc: %s is not registered as the server of Word.Basic or Word.Application.\n",
                 program.c_str());
    return ExitFailed;
  }
  CoResumeClassObjects();
  SetTimer(nullptr, 0, FirstClientTimeoutMs, NoClientYet);
  MSG message;
  while (GetMessageA(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageA(&message);
  }
  for (DWORD cookie : cookies) CoRevokeClassObject(cookie);
  return ExitOk;
}

int Usage() {
  std::fprintf(stderr,
               "usage: wordproc /RegServer [Word.Basic] [Word.Application]\n"
               "       wordproc /UnregServer\n"
               "       wordproc /Embedding      (how COM starts the server)\n");
  return ExitUsage;
}

bool IsOption(const std::string& arg, const char* name) {
  return arg.size() > 1 && (arg[0] == '/' || arg[0] == '-') && SameTextAscii(arg.substr(1), name);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  const std::vector<std::string> args(__argv + 1, __argv + __argc);
  if (args.empty()) return Usage();
  std::string message;
  if (IsOption(args[0], "RegServer")) {
    const bool ok = RegisterServer(ModuleFileName(), std::vector<std::string>(args.begin() + 1, args.end()), message);
    std::fputs(message.c_str(), stderr);
    return ok ? ExitOk : ExitFailed;
  }
  if (IsOption(args[0], "UnregServer")) {
    if (args.size() > 1) return Usage();
    const bool ok = UnregisterServer(message);
    std::fputs(message.c_str(), stderr);
    return ok ? ExitOk : ExitFailed;
  }
  if (IsOption(args[0], "Embedding") || IsOption(args[0], "Automation")) return Serve();
  return Usage();
}
