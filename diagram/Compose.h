// The composition: lays the model out and records the diagram into the
// main window's metafile. The window's side of it (menus, cursor, banner
// timer, the image) goes through a host.
#pragma once

#include <windows.h>

#include "Metafile.h"

class TDiagramHost {
 public:
  virtual ~TDiagramHost() = default;
  virtual void EnableMenus(bool /*enabled*/) {}
  virtual void SetHourglass(bool /*busy*/) {}
  virtual void StopTimer() {}
  virtual void StartTimer() {}
  // The new picture, to show (the image takes a copy if it keeps it).
  virtual void ShowMetafile(const TMetafile& /*metafile*/) {}
  // The whole window is to be repainted.
  virtual void Invalidate() {}
  // Owner of the clipboard while a document is generated.
  virtual HWND ClipboardOwner() { return nullptr; }
};

// A console run: nothing to enable, show or repaint.
class TNoDiagramHost : public TDiagramHost {};

// True while a composition runs.
extern bool Composing;

// Lays out FileArray and records it into the metafile (the caption alone
// when there is no model). Returns false at once when a composition is
// already running. Whatever fails, the metafile is completed and shown and
// the window is given back its menus, cursor, timer and "Ready"; the
// failure then passes on.
bool ComposeDiagram(TDiagramHost& host, TMetafile& metafile);
