#include "LaterWindows.h"

#include "Dialogs.h"
#include "Messages.h"

namespace {
void NotYet(const std::string& what) {
  ShowMessageBox(what + " is not available in this version of Usagram.", Msg::AppCaption,
                 MB_OK | MB_ICONINFORMATION);
}
}  // namespace

void ReportNoDocumentGenerator() { NotYet("Generating a document with Microsoft Word(tm)"); }
