// One print job on a printer's device context: started by the constructor,
// ended by End; a job that is not ended is aborted with its owner.
#pragma once

#include <windows.h>

#include <string>

class TPrintJob {
 public:
  // outputFile: print to that file instead of the printer's port.
  TPrintJob(HDC printer, const std::string& title, const std::string& outputFile = std::string()) : dc_(printer) {
    DOCINFOA info{};
    info.cbSize = sizeof info;
    info.lpszDocName = title.c_str();
    if (!outputFile.empty()) info.lpszOutput = outputFile.c_str();
    open_ = dc_ && StartDocA(dc_, &info) > 0;
  }
  ~TPrintJob() {
    if (open_) AbortDoc(dc_);
  }
  TPrintJob(const TPrintJob&) = delete;
  TPrintJob& operator=(const TPrintJob&) = delete;

  bool Started() const { return open_; }
  bool StartPage() { return open_ && ::StartPage(dc_) > 0; }
  bool EndPage() { return open_ && ::EndPage(dc_) > 0; }
  // Completes the document; false (and the job aborted) when it cannot be.
  bool End() {
    if (!open_) return false;
    open_ = false;
    return EndDoc(dc_) > 0;
  }

 private:
  HDC dc_;
  bool open_ = false;
};
