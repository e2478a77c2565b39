// The tool services the host hands to each expert, and the loading and
// unloading of the expert libraries.
#include "Reg.h"
#include "ExpertHost.h"
#include "RegKey.h"

namespace {

class THostServices final : public TInterfaceImpl<TIToolServices, THostServices> {
 public:
  explicit THostServices(THostContext& context) : Context(context) {}

  bool __stdcall CloseProject() override { return Unsupported("CloseProject"); }
  bool __stdcall OpenProject(TDelphiStr) override { return Unsupported("OpenProject"); }
  bool __stdcall OpenProjectInfo(TDelphiStr) override { return Unsupported("OpenProjectInfo"); }
  bool __stdcall SaveProject() override { return Unsupported("SaveProject"); }
  bool __stdcall CloseFile(TDelphiStr) override { return Unsupported("CloseFile"); }
  bool __stdcall SaveFile(TDelphiStr) override { return Unsupported("SaveFile"); }
  bool __stdcall OpenFile(TDelphiStr fileName) override {
    return Safely(false, [&] {
      const std::string path = DelphiStrText(fileName);
      const bool opened = !path.empty() && Context.OpenFile && Context.OpenFile(path);
      Log.Event({"openfile", path, opened ? "ok" : "failed"});
      return opened;
    });
  }
  bool __stdcall ReloadFile(TDelphiStr) override { return Unsupported("ReloadFile"); }
  int32_t __stdcall ModalDialogBox(HINSTANCE, const char*, HWND, FARPROC, int32_t) override {
    Unsupported("ModalDialogBox");
    return -1;
  }
  bool __stdcall CreateModule(TDelphiStr, TIStream*, TIStream*, TCreateModuleFlags) override {
    return Unsupported("CreateModule");
  }
  TIModuleInterface* __stdcall CreateModuleEx(TDelphiStr, TDelphiStr, TDelphiStr, TDelphiStr, TIStream*, TIStream*,
                                              TCreateModuleFlags) override {
    Unsupported("CreateModuleEx");
    return nullptr;
  }

  HWND __stdcall GetParentHandle() override { return Context.MainWindow; }
  void __stdcall GetProjectName(TDelphiStr* result) override {
    Safely(false, [&] {
      Log.Event({"project", Context.Project});
      Strings.Return(result, Context.Project);
      return true;
    });
  }
  int32_t __stdcall GetUnitCount() override { return 0; }
  void __stdcall GetUnitName(int32_t, TDelphiStr* result) override { Strings.Free(result); }
  bool __stdcall EnumProjectUnits(TProjectEnumProc, void*) override { return Unsupported("EnumProjectUnits"); }
  int32_t __stdcall GetFormCount() override { return 0; }
  void __stdcall GetFormName(int32_t, TDelphiStr* result) override { Strings.Free(result); }
  void __stdcall GetCurrentFile(TDelphiStr* result) override {
    Safely(false, [&] {
      Strings.Return(result, Context.CurrentFile ? Context.CurrentFile() : std::string());
      return true;
    });
  }
  bool __stdcall IsFileOpen(TDelphiStr) override { return Unsupported("IsFileOpen"); }
  bool __stdcall GetNewModuleName(TDelphiStr*, TDelphiStr*) override { return Unsupported("GetNewModuleName"); }

  int32_t __stdcall GetModuleCount() override { return 0; }
  void __stdcall GetModuleName(int32_t, TDelphiStr* result) override { Strings.Free(result); }
  int32_t __stdcall GetComponentCount(int32_t) override { return 0; }
  void __stdcall GetComponentName(int32_t, int32_t, TDelphiStr* result) override { Strings.Free(result); }

  bool __stdcall RegisterFileSystem(TIVirtualFileSystem*) override { return Unsupported("RegisterFileSystem"); }
  bool __stdcall UnRegisterFileSystem(TDelphiStr) override { return Unsupported("UnRegisterFileSystem"); }
  TIVirtualFileSystem* __stdcall GetFileSystem(TDelphiStr) override {
    Unsupported("GetFileSystem");
    return nullptr;
  }

  TIModuleInterface* __stdcall GetModuleInterface(TDelphiStr) override {
    Unsupported("GetModuleInterface");
    return nullptr;
  }
  TIModuleInterface* __stdcall GetFormModuleInterface(TDelphiStr) override {
    Unsupported("GetFormModuleInterface");
    return nullptr;
  }

  TIMainMenuIntf* __stdcall GetMainMenu() override {
    if (!Context.Menu) return nullptr;
    return Safely<TIMainMenuIntf*>(nullptr, [&] { return NewMainMenuIntf(*Context.Menu); });
  }

  bool __stdcall AddNotifier(TIAddInNotifier*) override { return Unsupported("AddNotifier"); }
  bool __stdcall RemoveNotifier(TIAddInNotifier*) override { return Unsupported("RemoveNotifier"); }

  TDelphiStr __stdcall NewPascalString(const char* str) override {
    return Safely<TDelphiStr>(nullptr, [&] { return Strings.New(str ? str : ""); });
  }
  void __stdcall FreePascalString(TDelphiStr* str) override {
    Safely(false, [&] {
      Strings.Free(str);
      return true;
    });
  }
  void __stdcall ReferencePascalString(TDelphiStr* str) override { Strings.Reference(str); }
  void __stdcall AssignPascalString(TDelphiStr* dest, TDelphiStr* src) override {
    if (!dest || !src || *dest == *src) return;
    Safely(false, [&] {
      Strings.Reference(src);
      Strings.Free(dest);
      *dest = *src;
      return true;
    });
  }

  // The IDE raises an exception here; the host records the message and
  // returns, as the message is all a test needs.
  void __stdcall RaiseException(TDelphiStr message) override {
    Safely(false, [&] {
      Log.Event({"raise", DelphiStrText(message)});
      return true;
    });
  }

  void __stdcall GetBaseRegistryKey(TDelphiStr* result) override {
    Safely(false, [&] {
      Strings.Return(result, std::string(Reg::DelphiKey) + Reg::Delphi3);
      return true;
    });
  }

 private:
  bool Unsupported(const char* operation) {
    return Safely(false, [&] {
      Log.Event({"unsupported", operation});
      return false;
    });
  }

  THostContext& Context;
};

// The library whose entry point is running: the register procedure files
// experts under it.
TExpertLibrary* Loading = nullptr;

bool DELPHI_REGISTER RegisterExpert(TIExpert* expert) {
  if (!expert) return false;
  if (!Loading) {
    Safely(false, [] {
      Log.Event({"error", "an expert registered outside its library's entry point"});
      return false;
    });
    return false;
  }
  return Safely(false, [&] {
    TComPtr<TIExpert> owner(expert);  // the register procedure takes over the creation reference
    // One variable for both answers, as Delphi reuses the variable a result
    // is assigned to: it still holds our copy of the ID when the name is
    // asked for, and the expert releases it before it answers.
    TDelphiStr text = nullptr;
    expert->GetIDString(&text);
    const std::string idText = Strings.KeepFromExpert(&text, "GetIDString");
    expert->GetName(&text);
    const std::string nameText = Strings.TakeFromExpert(&text, "GetName");
    Log.Event({"register", idText, nameText, std::to_string(expert->GetStyle())});
    Loading->ExpertIds.push_back(idText);
    Loading->Experts.push_back(std::move(owner));
    return true;
  });
}

TExpertInitProc EntryPoint(const TLibrary& library) {
  // From the generic procedure type through void (*)(), which matches any.
  return reinterpret_cast<TExpertInitProc>(reinterpret_cast<void (*)()>(library.Procedure(ExpertEntryPoint)));
}

}  // namespace

TIToolServices* NewToolServices(THostContext& context) { return new THostServices(context); }

// ---- Experts -----------------------------------------------------------------

void THostExperts::LoadAll(TIToolServices* services) {
  TRegKey key;
  const std::string name = Reg::DelphiVersionKey(Reg::Delphi3, Reg::Experts);
  if (!key.Open(HKEY_CURRENT_USER, name)) return;  // no experts installed
  for (const std::string& value : key.ValueNames()) {
    std::string path;
    if (key.QueryString(value, path))
      Load(path, services);
    else
      Log.Event({"error", "the expert value " + value + " is not a string"});
  }
}

void THostExperts::Load(const std::string& path, TIToolServices* services) {
  auto library = std::make_unique<TExpertLibrary>();
  library->Path = path;
  if (!library->Module.Load(path)) {
    Log.Event({"load", path, "failed", std::to_string(GetLastError())});
    return;
  }
  Log.Event({"load", path});
  TExpertInitProc init = EntryPoint(library->Module);
  if (!init) {
    Log.Event({"noentry", path});
    Log.Event({"unload", path});
    return;
  }
  Loading = library.get();
  const bool initialised = init(services, &RegisterExpert, &library->Terminate);
  Loading = nullptr;
  Log.Event({"init", path, initialised ? "true" : "false"});
  if (!initialised) {
    Unload(*library);
    return;
  }
  Libraries.push_back(std::move(library));
}

void THostExperts::UnloadAll() {
  while (!Libraries.empty()) {
    Unload(*Libraries.back());
    Libraries.pop_back();
  }
}

void THostExperts::Unload(TExpertLibrary& library) {
  for (size_t i = library.Experts.size(); i-- > 0;) {
    Log.Event({"release", library.ExpertIds[i]});
    library.Experts[i].Reset();
  }
  if (library.Terminate) {
    Log.Event({"terminate", library.Path});
    TExpertTerminateProc terminate = library.Terminate;
    library.Terminate = nullptr;
    terminate();
  }
  // A click on an item the library left would run code that is gone.
  if (Menu) Menu->DisarmHandlersOf(library.Module.Get());
  library.Module.Free();
  Log.Event({"unload", library.Path});
}
