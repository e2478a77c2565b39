#include "WordWindowHost.h"

#include "Dialogs.h"
#include "Globales.h"
#include "Messages.h"
#include "Output.h"
#include "ufUsagram.h"

namespace {

// The main window comes to the front with the dialog, whose name the user
// confirms or changes.
bool AskFileName(TSaveDialog& dialog, std::string& fileName) {
  if (!fUsagram) return false;
  SetForegroundWindow(fUsagram->Handle());
  dialog.FileName = fileName;
  if (!dialog.Execute(fUsagram->Handle())) return false;
  fileName = dialog.FileName;
  return true;
}

}  // namespace

bool TWordWindowHost::AskTryWord97() {
  return ShowMessageBox(Msg::TryWord97, Msg::AppCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void TWordWindowHost::SwitchToWord97() {
  if (fUsagram)
    fUsagram->WordClick();
  else
    MSWord95 = !MSWord95;
}

void TWordWindowHost::ShowProblem(const std::string& text) {
  ShowMessageBox(text, Msg::AppCaption, MB_OK | MB_ICONINFORMATION);
}

void TWordWindowHost::ShowUnavailable(const std::string& text) { ShowMessage(text); }

std::string TWordWindowHost::DocumentFileName() {
  return ::DocumentFileName([](std::string& name) { return fUsagram && AskFileName(fUsagram->SaveDOC, name); });
}

std::string TWordWindowHost::DiagramFileName() {
  return ::DiagramFileName([](std::string& name) { return fUsagram && AskFileName(fUsagram->SaveEMF, name); });
}

bool TWordWindowHost::SaveDiagram(const std::string& fileName) {
  return fUsagram && fUsagram->Metafile.SaveToFile(fileName);
}
