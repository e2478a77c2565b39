// The one word processor of the process, which both automation dialects
// drive: its documents, the active one, and whether it is shown.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "Document.h"

class TWordApp {
 public:
  static TWordApp& Instance();

  std::shared_ptr<TDocument> NewDocument();
  // The active document; fails as Word does when none is open.
  TDocument& Active();
  std::shared_ptr<TDocument> ActiveShared();
  void Activate(const std::shared_ptr<TDocument>& document);
  const std::vector<std::shared_ptr<TDocument>>& Documents() const { return Docs; }

  bool Visible() const { return Shown; }
  void SetVisible(bool visible);
  // The window follows the active document after each call.
  void Changed();

  // Forgets every document (tests run many sessions in one process).
  void Reset();

 private:
  std::vector<std::shared_ptr<TDocument>> Docs;
  std::shared_ptr<TDocument> Current;
  bool Shown = false;
  int Created = 0;
};

// The window that shows the active document's text while the word
// processor is visible (Window.cpp). Without a display it stays hidden.
void ShowDocumentWindow(bool visible);
void RefreshDocumentWindow();
