// The library's main module: its entry point, its expert and the library's
// start and end.
#include "Usagram_Expert.h"

#include <stdexcept>
#include <string>

#include "Analysis.h"
#include "FileSystem.h"
#include "InstallHooks.h"
#include "Forms.h"
#include "Globales.h"
#include "HtmlHelp.h"
#include "Messages.h"
#include "Module.h"
#include "Pictures.h"
#include "ToolWindows.h"
#include "ufBugReport.h"
#include "ufEditeur.h"
#include "ufUsagram.h"

namespace {

constexpr TDelphiLiteral Name("Usagram_Expert");
constexpr TDelphiLiteral Author("Pelvarin");
constexpr TDelphiLiteral Comment(
    "Add-in producing a graphic representation of the dependences of project's units with document generation "
    "capability.");
constexpr TDelphiLiteral NoPage("");
constexpr TDelphiLiteral IDString("Vantrelle.Usagram");
constexpr TDelphiLiteral MenuText("&Usagram");
constexpr TDelphiLiteral ItemName("ViewUsagramItem");
constexpr TDelphiLiteral ProjectManagerItem("ViewPrjMgrItem");

// Edit on a unit opens it in the IDE's editor; false when the IDE cannot.
bool OpenInIde(const std::string& fileName) {
  if (!ToolServices) return false;
  const TDelphiTempStr name(fileName);
  return ToolServices->OpenFile(name.Str());
}

}  // namespace

// ---- The library's start and end --------------------------------------------

TLibrarySession::TSettingsLife::TSettingsLife() { UsagramInitialise(); }
TLibrarySession::TSettingsLife::~TSettingsLife() { UsagramFinalise(); }

TLibrarySession::TLibrarySession(HWND ideWindow) {
  Application.Initialize();
  Application.Handle = ideWindow;
  Application.HelpFile = HelpFileBesideProgram();
  OpenFileInIde = &OpenInIde;
}

TLibrarySession::~TLibrarySession() {
  OpenFileInIde = nullptr;
  // The mail client's thread ends, and the windows write their values,
  // before the settings are written; no window of ours may outlive the code
  // of its window procedure.
  FreeBugReportWindow();
  FreeToolWindows();
  // The IDE asks an add-in to close its help windows before it goes.
  HtmlHelp::CloseHelp();
  Application.Handle = nullptr;
}

// ---- The expert ----------------------------------------------------------------

TUsagramExpert::TUsagramExpert()
    : Session(ToolServices->GetParentHandle()),
      MenuItem(InsertMenuItemAfter(ToolServices, ProjectManagerItem.Str(), MenuText.Str(), ItemName.Str(),
                                   MakeClickEvent<TUsagramExpert, &TUsagramExpert::Click>(this))) {
  Instance = this;
}

TUsagramExpert::~TUsagramExpert() {
  Instance = nullptr;
  MenuItem.Reset();
}

void __stdcall TUsagramExpert::GetName(TDelphiStr* result) { ReturnString(result, Name); }
void __stdcall TUsagramExpert::GetAuthor(TDelphiStr* result) { ReturnString(result, Author); }
void __stdcall TUsagramExpert::GetComment(TDelphiStr* result) { ReturnString(result, Comment); }
void __stdcall TUsagramExpert::GetPage(TDelphiStr* result) { ReturnString(result, NoPage); }
HICON __stdcall TUsagramExpert::GetGlyph() { return MainIcon(); }
TExpertStyle __stdcall TUsagramExpert::GetStyle() { return esAddIn; }
TExpertState __stdcall TUsagramExpert::GetState() { return 0; }
void __stdcall TUsagramExpert::GetIDString(TDelphiStr* result) { ReturnString(result, IDString); }
void __stdcall TUsagramExpert::GetMenuText(TDelphiStr* result) { ReturnString(result, MenuText); }
void __stdcall TUsagramExpert::Execute() {}

void TUsagramExpert::Click(TIMenuItemIntf*) {
  ExpertMode = true;
  InstallWindowHooks();
  CreateToolWindows();
  std::string project;
  {
    TIdeString name(ToolServices);
    ToolServices->GetProjectName(name.Receive());
    project = name.Text();
  }
  if (project.empty()) {
    fUsagram->AutoOpen = false;
  } else {
    fUsagram->AutoOpen = true;
    // Expanded now: the analysis makes the project's directory current.
    fUsagram->OpenDialog.FileName = ExpandFileName(project);
    fUsagram->SetCaption(Msg::TitlePrefix + fUsagram->OpenDialog.FileName);
  }
  fUsagram->Show();
}

// ---- The entry point -----------------------------------------------------------

extern "C" bool __stdcall INITEXPERT0017(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                                         TExpertTerminateProc* terminate) {
  if (terminate) *terminate = nullptr;
  if (!toolServices || !registerProc) return true;  // nothing to register with, nowhere to report
  if (!RunGuarded([&] {
        // The same library named twice among the experts is loaded once
        // and called twice: one expert, one item, one set of settings.
        if (TUsagramExpert::Instance) throw std::runtime_error(Msg::ExpertAlreadyLoaded);
        ToolServices = toolServices;
        registerProc(new TUsagramExpert);
      }))
    toolServices->RaiseException(KeptFailure());  // outside any catch: the IDE raises here
  return true;
}
