#include "uMSWord.h"

#include "Caption.h"
#include "Format.h"
#include "Globales.h"
#include "Messages.h"
#include "WordNames.h"

TMSWord* MSWord = nullptr;

namespace {

// The running object of the class, or else a new one, with its first call
// made. A Word that has ended may leave its entry in the running object
// table for a while: that one counts as not running.
template <class TFirstCall>
TOleObject Reach(const char* progId, TFirstCall firstCall) {
  if (TOleObject running = TOleObject::Running(progId)) {
    try {
      firstCall(running);
      return running;
    } catch (const EOleError& error) {
      if (!ServerGone(error.Code)) throw;
    }
  }
  TOleObject created = TOleObject::Create(progId);
  firstCall(created);
  return created;
}

}  // namespace

std::string BracketLine() {
  std::string line = "[";
  for (int i = 0; i < CaptionLineCount; ++i) {
    if (i > 0) line += ' ';
    line += CaptionLine(i);
  }
  line += ']';
  return line;
}

template <class TSteps>
void TMSWord::Guarded(const std::string& context, TSteps steps) {
  if (!Started) return;
  try {
    steps();
  } catch (const std::exception& error) {
    ReportError(error, context);
  }
}

void TMSWord::StartWordBasic() {
  // A Word that does not speak French WordBasic fails here.
  WordBasic = Reach(WordBasicProgId, [](const TOleObject& wb) { wb.Call(WB::FenAppAfficher); });
  Started = true;
}

void TMSWord::StartWordApplication() {
  WordApp = Reach(WordApplicationProgId, [](const TOleObject& app) { app.Put(OM::Visible, OleBool(true)); });
  Started = true;
}

bool TMSWord::Start() {
  // The connection serves the dialect it was made with; after a switch
  // of MSWord95 the other one is reached as at the first run.
  if (Started && (MSWord95 ? WordBasic : WordApp)) return true;
  Started = false;
  try {
    if (MSWord95) {
      try {
        StartWordBasic();
      } catch (const std::exception&) {
        WordBasic.Reset();
        if (!Host.AskTryWord97()) throw;
        Host.SwitchToWord97();
      }
    }
    if (!Started && !MSWord95) StartWordApplication();
  } catch (const std::exception&) {
    WordApp.Reset();
    Started = false;
    Host.ShowUnavailable(Msg::WordUnavailable);
  }
  return Started;
}

void TMSWord::ReportError(const std::exception& error, const std::string& context) {
  if (!Started) return;
  Host.ShowProblem(Format(Msg::DocumentProblem, context.c_str(), error.what()));
  Started = false;
  if (MSWord95 && WordBasic) {
    // Only to bring Word to the front: the failure has been reported once,
    // and a Word that no longer answers must not break off the drawing.
    try {
      WordBasic.Call(WB::FenAppAfficher);
    } catch (const std::exception&) {
    }
  }
}

void TMSWord::NewDocument() {
  Guarded(Msg::WhileNewDocument, [this] {
    if (MSWord95)
      NewDocumentWordBasic();
    else
      NewDocumentObjectModel();
  });
}

void TMSWord::AddUnit(const std::string& name, const std::string& picture, const std::string& source) {
  Guarded(Format(Msg::WhileInserting, name.c_str()), [&] {
    if (MSWord95)
      AddUnitWordBasic(name, picture, source);
    else
      AddUnitObjectModel(name, picture, source);
  });
}

void TMSWord::Finish() {
  Guarded(Msg::WhileFinishing, [this] {
    if (MSWord95)
      FinishWordBasic();
    else
      FinishObjectModel();
  });
}

TMSWordInstallation::TMSWordInstallation(TWordHost& host) : Driver(std::make_unique<TMSWord>(host)) {
  MSWord = Driver.get();
  DocumentGenerator = Driver.get();
}

TMSWordInstallation::~TMSWordInstallation() {
  if (DocumentGenerator == Driver.get()) DocumentGenerator = nullptr;
  if (MSWord == Driver.get()) MSWord = nullptr;
}
