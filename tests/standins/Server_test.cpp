// The server as a client meets it: names, errors, the running object, the
// call log, the failure switch and the registration.
#include <chrono>
#include <thread>

#include "HostPath.h"
#include "Registration.h"
#include "RegKey.h"
#include "Switches.h"
#include "WordprocTestSupport.h"

namespace {

// Waits until no Word.Application is running any more (the server ends
// when its last client lets go); false after a few seconds.
bool RunningObjectGone(const wchar_t* progId) {
  for (int i = 0; i < 100; ++i) {
    HRESULT hr = S_OK;
    TAuto running = TAuto::Running(progId, &hr);
    if (hr == MK_E_UNAVAILABLE) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return false;
}

DISPID IdOf(const TAuto& object, std::vector<std::wstring> names, HRESULT& hr) {
  std::vector<LPOLESTR> pointers;
  for (std::wstring& n : names) pointers.push_back(n.data());
  std::vector<DISPID> ids(names.size());
  hr = object.Get()->GetIDsOfNames(IID_NULL, pointers.data(), static_cast<UINT>(pointers.size()), LOCALE_USER_DEFAULT,
                                   ids.data());
  return ids[0];
}

// Backslashes as the log writes them.
std::string Doubled(const std::string& path) {
  std::string out;
  for (const char c : path) out += c == '\\' ? std::string("\\\\") : std::string(1, c);
  return out;
}

using ServerTest = TWordprocTest;

TEST_F(ServerTest, NamesAreWordsAndTheRunningObjectIsShared) {
  HRESULT hr = S_OK;
  TAuto word = TAuto::Create(L"Word.Application", &hr);
  ASSERT_TRUE(word) << std::hex << hr;
  TAuto basic = TAuto::Create(L"Word.Basic", &hr);
  ASSERT_TRUE(basic) << std::hex << hr;

  // Names are found whatever their letter case, accents included; any
  // other name, or an unknown argument name, is refused.
  IdOf(basic, {L"DÉFINIRETENDUESÉL"}, hr);
  EXPECT_EQ(hr, S_OK);
  IdOf(basic, {L"AppShow"}, hr);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
  IdOf(basic, {L"FormatImage", L"TailleX", L"SizeX"}, hr);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
  IdOf(word, {L"Quit"}, hr);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
  // Arguments that WordBasic only takes by position have no name.
  IdOf(basic, {L"Insertion", L"Texte"}, hr);
  EXPECT_EQ(hr, DISP_E_UNKNOWNNAME);
  // A property is no method to call with arguments it does not take.
  EXPECT_EQ(word.Try(L"Visible", DISPATCH_METHOD, {{L"", Int(1)}}).Result, DISP_E_BADPARAMCOUNT);

  // The running object is the one the client made: both see one word processor.
  TAuto running = TAuto::Running(L"Word.Application", &hr);
  ASSERT_TRUE(running) << std::hex << hr;
  word.Obj(L"Documents").Call(L"Add");
  EXPECT_EQ(running.Obj(L"Documents").GetInt(L"Count"), 1);
  TAuto runningBasic = TAuto::Running(L"Word.Basic", &hr);
  ASSERT_TRUE(runningBasic) << std::hex << hr;
  basic.Call(L"FichierNouveau");
  EXPECT_EQ(word.Obj(L"Documents").GetInt(L"Count"), 2);
  EXPECT_EQ(word.Obj(L"ActiveDocument").GetText(L"Name"), L"Document2");

  // When the clients let go, the server ends and nothing is left running.
  word = TAuto();
  basic = TAuto();
  running = TAuto();
  runningBasic = TAuto();
  EXPECT_TRUE(RunningObjectGone(L"Word.Application"));
  EXPECT_TRUE(RunningObjectGone(L"Word.Basic"));
}

TEST_F(ServerTest, FailOnMakesThatCallRaiseAnException) {
  SetSwitch(WordprocReg::FailOn, "FormatImage; Fields.Add ;Insertion#2");
  TAuto basic = TAuto::Create(L"Word.Basic");
  ASSERT_TRUE(basic);
  basic.Call(L"FichierNouveau");
  TOutcome failed = basic.Try(L"FormatImage", DISPATCH_METHOD, {{L"DéfinirTaille", Int(1)}, {L"TailleX", Text(L"3 cm")}});
  EXPECT_EQ(failed.Result, DISP_E_EXCEPTION);
  EXPECT_NE(failed.Error.find(L"FormatImage"), std::wstring::npos) << A(failed.Error);
  EXPECT_NE(failed.Code, 0);
  // "#2": the second call only.
  EXPECT_TRUE(basic.Try(L"Insertion", DISPATCH_METHOD, {{L"", Text(L"a")}}).Ok());
  EXPECT_EQ(basic.Try(L"Insertion", DISPATCH_METHOD, {{L"", Text(L"b")}}).Result, DISP_E_EXCEPTION);
  EXPECT_TRUE(basic.Try(L"Insertion", DISPATCH_METHOD, {{L"", Text(L"c")}}).Ok());
  // The failed call changed nothing.
  EXPECT_EQ(AsInt(basic.Call(L"LitPosDébSél")), 2);
  // "Fields.Add": that object's member, not another Add.
  TAuto word = TAuto::Create(L"Word.Application");
  ASSERT_TRUE(word);
  TAuto doc = word.Obj(L"ActiveDocument");
  EXPECT_TRUE(doc.Obj(L"Styles").Try(L"Add", DISPATCH_METHOD, {{L"Name", Text(L"Code")}}).Ok());
  TOutcome field = word.Obj(L"Selection").Obj(L"Fields").Try(
      L"Add", DISPATCH_METHOD, {{L"Range", word.Obj(L"Selection").Get(L"Range")}, {L"Type", Int(33)}});
  EXPECT_EQ(field.Result, DISP_E_EXCEPTION);
  // Without the switch, the same call fails for its own reason only
  // (no picture is selected).
  ClearSwitches();
  failed = basic.Try(L"FormatImage", DISPATCH_METHOD, {{L"DéfinirTaille", Int(1)}, {L"TailleX", Text(L"3 cm")}});
  EXPECT_EQ(failed.Result, DISP_E_EXCEPTION);
  EXPECT_EQ(failed.Error.find(L"FormatImage"), std::wstring::npos) << A(failed.Error);
}

TEST_F(ServerTest, BadArgumentsAreRefusedWithoutChangingTheDocument) {
  TAuto basic = TAuto::Create(L"Word.Basic");
  ASSERT_TRUE(basic);
  // No document yet.
  TOutcome outcome = basic.Try(L"Insertion", DISPATCH_METHOD, {{L"", Text(L"x")}});
  EXPECT_EQ(outcome.Result, DISP_E_EXCEPTION);
  EXPECT_NE(outcome.Error.find(L"no document"), std::wstring::npos);
  basic.Call(L"FichierNouveau");
  basic.Call(L"Insertion", {{L"", Text(L"abc")}});
  EXPECT_EQ(AsInt(basic.Call(L"LitPosDébSél")), 3);
  // A length that is no length, a missing required argument, a wrong type.
  outcome = basic.Try(L"FichierMiseEnPage", DISPATCH_METHOD, {{L"LargeurPage", Text(L"vingt cm")}});
  EXPECT_EQ(outcome.Result, DISP_E_EXCEPTION);
  EXPECT_NE(outcome.Error.find(L"vingt cm"), std::wstring::npos);
  EXPECT_EQ(basic.Try(L"DéfinirEtendueSél", DISPATCH_METHOD).Result, DISP_E_PARAMNOTFOUND);
  EXPECT_EQ(basic.Try(L"FormatColonnes", DISPATCH_METHOD, {{L"Colonnes", Text(L"deux")}}).Result, DISP_E_TYPEMISMATCH);
  // Margins that leave no room: refused, the page stays as it was.
  outcome = basic.Try(L"FichierMiseEnPage", DISPATCH_METHOD,
                      {{L"AppliquerPropsA", Int(4)}, {L"MargeGauche", Text(L"15 cm")}, {L"MargeDroite", Text(L"15 cm")}});
  EXPECT_EQ(outcome.Result, DISP_E_EXCEPTION);
  TAuto record = TAuto::From(basic.Obj(L"CurValues").Get(L"FormatColonnes"));
  EXPECT_EQ(record.GetText(L"LargeurColonne"), L"16 cm");  // A4 portrait less 2 x 2.5 cm
  // A picture file that is not a picture, a file that does not exist.
  TWorkDir dir;
  outcome = basic.Try(L"InsertionImage", DISPATCH_METHOD, {{L"Nom", Text(W(dir.Write("not.bmp", "text")))}});
  EXPECT_EQ(outcome.Result, DISP_E_EXCEPTION);
  outcome = basic.Try(L"InsertionFichier", DISPATCH_METHOD, {{L"Nom", Text(W(dir.File("absent.pas")))}});
  EXPECT_EQ(outcome.Result, DISP_E_EXCEPTION);
  EXPECT_NE(outcome.Error.find(L"absent.pas"), std::wstring::npos);
  // Saving where there is no such directory: an error, no file.
  outcome = basic.Try(L"FichierEnregistrerSous", DISPATCH_METHOD, {{L"Nom", Text(W(dir.File("no\\such\\x.doc")))}});
  EXPECT_EQ(outcome.Result, DISP_E_EXCEPTION);
  EXPECT_EQ(AsInt(basic.Call(L"LitPosDébSél")), 3);
}

TEST_F(ServerTest, CallLogHasOneLinePerCall) {
  TWorkDir dir;
  const std::string log = dir.File("calls.log");
  SetSwitch(WordprocReg::CallLog, log);
  TAuto word = TAuto::Create(L"Word.Application");
  ASSERT_TRUE(word);
  word.Put(L"Visible", Int(-1));
  TAuto doc = word.Obj(L"Documents").Obj(L"Add");
  TAuto selection = word.Obj(L"Selection");
  selection.Call(L"TypeText", {{L"Text", Text(L"Unité\r\"x\"\t")}});
  selection.Call(L"MoveLeft", {{L"Unit", Int(1)}, {L"Count", Int(2)}, {L"Extend", Int(0)}});
  TAuto range = doc.Obj(L"Range", {{L"", Int(0)}, {L"", Int(3)}});
  word.Obj(L"Selection").Obj(L"Fields").Call(L"Add", {{L"Range", Object(range.Get())}, {L"Type", Int(26)}});
  word.Try(L"Nothing", DISPATCH_METHOD);  // refused by name: never reaches the log
  TTextByRef name(W(dir.File("é.doc")));
  doc.Try(L"SaveAs", DISPATCH_METHOD, {{L"FileName", name.Arg()}, {L"FileFormat", Int(7)}});

  const std::vector<std::string> lines = ReadLines(log);
  const std::vector<std::string> expected = {
      "Application\tVisible\tput\ti4:-1",
      "Application\tDocuments\tmethod|get\t-> obj:Application.Documents",
      "Application.Documents\tAdd\tmethod|get\t-> obj:Documents(\"Document1\")",
      "Application\tSelection\tmethod|get\t-> obj:Application.Selection",
      "Application.Selection\tTypeText\tmethod\tText:=str:\"Unité\\r\\\"x\\\"\\t\"",
      "Application.Selection\tMoveLeft\tmethod\tUnit:=i4:1\tCount:=i4:2\tExtend:=i4:0\t-> i4:2",
      "Documents(\"Document1\")\tRange\tmethod|get\tStart=i4:0\tEnd=i4:3\t-> obj:Documents(\"Document1\").Range(0,3)",
      "Application\tSelection\tmethod|get\t-> obj:Application.Selection",
      "Application.Selection\tFields\tmethod|get\t-> obj:Application.Selection.Fields",
      "Application.Selection.Fields\tAdd\tmethod\tRange:=obj:Documents(\"Document1\").Range(0,3)\tType:=i4:26\t-> "
      "obj:Application.Selection.Fields.Item(1)",
      "Documents(\"Document1\")\tSaveAs\tmethod\tFileName:=&str:\"" + Doubled(dir.File("é.doc")) +
          "\"\tFileFormat:=i4:7\t!! wordproc saves documents as Word reads them (FileFormat 0 or 6) only.",
  };
  EXPECT_EQ(lines, expected);
}

// The registration, as /RegServer and /UnregServer leave it.
class RegistrationTest : public TWordprocTest {
 protected:
  void TearDown() override {
    // Whatever a test did, the tests that follow find the server registered.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, (std::string(WordprocReg::Classes) + "\\" + WordprocReg::Clsid + "\\" + ClsidText(*ServerClasses[0].Clsid)).c_str());
    EXPECT_EQ(Server("/RegServer"), 0);
    TWordprocTest::TearDown();
  }
  static int Server(const std::string& arguments) {
    std::string command = "\"";
    command += HostPath(WORDPROC_EXE);
    command += "\" ";
    return RunProgram(command + arguments);
  }
  static HRESULT Find(const wchar_t* progId) {
    CLSID clsid;
    return CLSIDFromProgID(progId, &clsid);
  }
};

TEST_F(RegistrationTest, UnregServerRemovesItAndAListRegistersOnlyThose) {
  ASSERT_EQ(Find(L"Word.Basic"), S_OK);
  EXPECT_EQ(Server("/UnregServer"), 0);
  EXPECT_EQ(Find(L"Word.Basic"), CO_E_CLASSSTRING);
  EXPECT_EQ(Find(L"Word.Application"), CO_E_CLASSSTRING);
  HRESULT hr = S_OK;
  EXPECT_FALSE(TAuto::Create(L"Word.Application", &hr));

  // Word 97 without the Word 95 object.
  EXPECT_EQ(Server("/RegServer Word.Application"), 0);
  EXPECT_EQ(Find(L"Word.Basic"), CO_E_CLASSSTRING);
  EXPECT_TRUE(TAuto::Create(L"Word.Application", &hr)) << std::hex << hr;
  EXPECT_EQ(Server("/RegServer Word.Perfect"), 1);
  EXPECT_EQ(Server("/Frobnicate"), 2);
}

TEST_F(RegistrationTest, AnotherProgramsRegistrationIsLeftAlone) {
  const std::string key =
      std::string(WordprocReg::Classes) + "\\" + WordprocReg::Clsid + "\\" + ClsidText(*ServerClasses[0].Clsid) + "\\" + WordprocReg::LocalServer32;
  const std::string word = "C:\\MSOffice\\Winword\\WINWORD.EXE /Automation";
  {
    TRegKey server;
    ASSERT_TRUE(server.Create(HKEY_LOCAL_MACHINE, key));
    RegSetValueExA(server.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(word.c_str()),
                   static_cast<DWORD>(word.size() + 1));
  }
  EXPECT_EQ(Server("/RegServer"), 1);
  EXPECT_EQ(Server("/UnregServer"), 0);
  TRegKey server;
  ASSERT_TRUE(server.Open(HKEY_LOCAL_MACHINE, key));
  char value[256] = {};
  DWORD size = sizeof value - 1;
  RegQueryValueExA(server.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size);
  EXPECT_EQ(std::string(value), word);
}

}  // namespace
