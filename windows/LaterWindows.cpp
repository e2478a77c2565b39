#include "LaterWindows.h"

#include "Dialogs.h"
#include "Messages.h"

namespace {
void NotYet(const std::string& what) {
  ShowMessageBox(what + " is not available in this version of Usagram.", Msg::AppCaption,
                 MB_OK | MB_ICONINFORMATION);
}
}  // namespace

bool ExecuteBasicUnitsEditor() {
  NotYet("The basic units editor");
  return false;
}

bool ExecuteLocationsEditor() {
  NotYet("The locations editor");
  return false;
}

void ReportNoDocumentGenerator() { NotYet("Generating a document with Microsoft Word(tm)"); }
