// One print job on a printer's device context: started by the constructor,
// ended by End; a job that is not ended is aborted with its owner.
#pragma once

#include <windows.h>

#include <string>

class TPrintJob {
 public:
  // outputFile: print to that file instead of the printer's port.
  TPrintJob(HDC printer, const std::string& title, const std::string& outputFile = std::string()) : DC(printer) {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    if (!outputFile.empty()) info.lpszOutput = outputFile.c_str();
    Open = DC && StartDocA(DC, &info) > 0;
  }
  ~TPrintJob() {
    if (Open) AbortDoc(DC);
  }
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  bool Started() const { return Open; }
  bool StartPage() { return Open && ::StartPage(DC) > 0; }
  bool EndPage() { return Open && ::EndPage(DC) > 0; }
  // Completes the document; false (and the job aborted) when it cannot be.
  bool End() {
    if (!Open) return false;
    Open = false;
    return EndDoc(DC) > 0;
  }

 private:
  HDC DC;
  bool Open = false;
};
