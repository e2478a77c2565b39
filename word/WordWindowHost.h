// The main window's side of the Word driver: its boxes, its save dialogs
// for the document and the diagram, its diagram metafile and its Word menu
// item.
#pragma once

#include "uMSWord.h"

class TWordWindowHost : public TWordHost {
 public:
  bool AskTryWord97() override;
  void SwitchToWord97() override;
  void ShowProblem(const std::string& text) override;
  void ShowUnavailable(const std::string& text) override;
  std::string DocumentFileName() override;
  std::string DiagramFileName() override;
  bool SaveDiagram(const std::string& fileName) override;
};
