// An expert library for the tests of the IDE's stand-in: an add-in expert
// whose item "&Test expert" (ViewTestExpertItem) goes right after the IDE's
// Project Manager item. Its click opens the IDE's project in the IDE's
// editor; without a project it fails, and the failure goes to the IDE.
//
// It writes what happens on its side, one event per line, to the file named
// by the environment variable USAGRAM_TEST_EXPERT_TRACE.
//
// Built with TEST_EXPERT_FAILS, the entry point fails before registering.
// Built with TEST_EXPERT_CARELESS, it ignores who frees what across the
// boundary: it writes its strings over the IDE's without releasing them,
// and releases its item without destroying it.
#include <windows.h>

#include <cstddef>
#include <fstream>
#include <stdexcept>
#include <string>

#include "ExpertSupport.h"

namespace {

void Trace(const std::string& event) {
  char path[MAX_PATH] = {};
  const DWORD n = GetEnvironmentVariableA("USAGRAM_TEST_EXPERT_TRACE", path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return;
  std::ofstream(path, std::ios::app) << event << '\n';
}

#ifdef TEST_EXPERT_CARELESS
template <std::size_t N>
void Answer(TDelphiStr* result, const TDelphiLiteral<N>& text) {
  *result = text.Str();
}
using TItem = TComPtr<TIMenuItemIntf>;
#else
template <std::size_t N>
void Answer(TDelphiStr* result, const TDelphiLiteral<N>& text) {
  ReturnString(result, text);
}
using TItem = TExpertMenuItem;
#endif

constexpr TDelphiLiteral Name("Test expert");
constexpr TDelphiLiteral Author("Usagram tests");
constexpr TDelphiLiteral Comment("Opens the project in the IDE's editor.");
constexpr TDelphiLiteral NoPage("");
constexpr TDelphiLiteral IDString("Usagram.TestExpert");
constexpr TDelphiLiteral MenuText("&Test expert");
constexpr TDelphiLiteral ItemName("ViewTestExpertItem");
constexpr TDelphiLiteral ProjectManagerItem("ViewPrjMgrItem");

class TTestExpert final : public TInterfaceImpl<TIExpert, TTestExpert> {
 public:
  TTestExpert()
      : MenuItem(InsertMenuItemAfter(ToolServices, ProjectManagerItem.Str(), MenuText.Str(), ItemName.Str(),
                                     MakeClickEvent<TTestExpert, &TTestExpert::Click>(this))) {
    Trace(MenuItem ? "construct with item" : "construct without item");
  }
  ~TTestExpert() { Trace("destroy"); }

  void __stdcall GetName(TDelphiStr* result) override { Answer(result, Name); }
  void __stdcall GetAuthor(TDelphiStr* result) override { Answer(result, Author); }
  void __stdcall GetComment(TDelphiStr* result) override { Answer(result, Comment); }
  void __stdcall GetPage(TDelphiStr* result) override { Answer(result, NoPage); }
  HICON __stdcall GetGlyph() override { return nullptr; }
  TExpertStyle __stdcall GetStyle() override { return esAddIn; }
  TExpertState __stdcall GetState() override { return 0; }
  void __stdcall GetIDString(TDelphiStr* result) override { Answer(result, IDString); }
  void __stdcall GetMenuText(TDelphiStr* result) override { Answer(result, MenuText); }
  void __stdcall Execute() override {}

 private:
  void Click(TIMenuItemIntf* sender) {
    TIdeString itemName(ToolServices);
    if (sender) sender->GetName(itemName.Receive());
    Trace("click " + itemName.Text());
    TIdeString project(ToolServices);
    ToolServices->GetProjectName(project.Receive());
    if (project.Text().empty()) throw std::runtime_error("No project is open in the IDE");
    const TDelphiTempStr file(project.Text());
    Trace("open " + project.Text() + (ToolServices->OpenFile(file.Str()) ? " ok" : " failed"));
  }

  TItem MenuItem;
};

void TerminateExpert() { Trace("terminate"); }

}  // namespace

extern "C" bool __stdcall INITEXPERT0017(TIToolServices* toolServices, TExpertRegisterProc registerProc,
                                         TExpertTerminateProc* terminate) {
  if (terminate) *terminate = &TerminateExpert;
  if (!RunGuarded([&] {
        Trace("init");
        ToolServices = toolServices;
#ifdef TEST_EXPERT_FAILS
        (void)registerProc;
        throw std::runtime_error("The test expert cannot start");
#else
        registerProc(new TTestExpert);
#endif
      }))
    toolServices->RaiseException(KeptFailure());
  return true;
}
