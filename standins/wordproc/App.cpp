#include "App.h"

#include "Dispatch.h"

TWordApp& TWordApp::Instance() {
  static TWordApp app;
  return app;
}

std::shared_ptr<TDocument> TWordApp::NewDocument() {
  auto document = std::make_shared<TDocument>("Document" + std::to_string(++Created));
  Docs.push_back(document);
  Current = document;
  Changed();
  return document;
}

TDocument& TWordApp::Active() {
  if (!Current) throw TAutoError(WordError::NoDocument, "This command is not available because no document is open.");
  return *Current;
}

std::shared_ptr<TDocument> TWordApp::ActiveShared() {
  Active();
  return Current;
}

void TWordApp::Activate(const std::shared_ptr<TDocument>& document) {
  Current = document;
  Changed();
}

void TWordApp::SetVisible(bool visible) {
  Shown = visible;
  ShowDocumentWindow(visible);
}

void TWordApp::Changed() {
  if (Shown) RefreshDocumentWindow();
}

void TWordApp::Reset() {
  Current.reset();
  Docs.clear();
  Created = 0;
  if (Shown) SetVisible(false);
}
