// Common controls: status bar, image list and tree view, rich edit, and the
// scroll box (a scrollable container of ours).
#pragma once

#include <chrono>

#include "Forms.h"
#include "StdCtrls.h"

#include <commctrl.h>

struct TStatusPanel {
  int Width = 50;
  TAlignment Alignment = taLeftJustify;
  std::string Text;
};

// Sits at the bottom of its parent. The last panel reaches the right edge.
class TStatusBar : public TControl {
 public:
  void Create(TControl& parent);
  void SetPanels(const std::vector<TStatusPanel>& panels);
  int PanelCount() const { return static_cast<int>(panels_.size()); }
  const std::string& PanelText(int i) const { return panels_.at(static_cast<size_t>(i)).Text; }
  void SetPanelText(int i, const std::string& text);

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static constexpr UINT_PTR RefreshTimer = 1;
  static constexpr unsigned RefreshMs = 15;
  void ShowPanel(size_t i);
  void ShowPendingPanels();
  std::vector<TStatusPanel> panels_;
  unsigned pending_ = 0;  // panels whose latest text the control does not show yet
  bool refreshing_ = false;
  std::chrono::steady_clock::time_point lastShown_;
};

class TImageList {
 public:
  explicit TImageList(int width = 16, int height = 16);
  ~TImageList();
  TImageList(const TImageList&) = delete;
  TImageList& operator=(const TImageList&) = delete;
  HIMAGELIST Handle() const { return list_.Get(); }
  // Copies the bitmap's images (as many as its width holds); pixels of the
  // mask colour are transparent. Returns the index of the first one.
  int Add(HBITMAP bmp, TColor maskColor);
  int AddIcon(HICON icon);
  int Count() const;
  void Draw(HDC dc, int x, int y, int index) const;
  // A new bitmap of one image on a background (for a legend's picture).
  HBITMAP CreateBitmap(int index, TColor background) const;
  int Width() const { return width_; }
  int Height() const { return height_; }

 private:
  TOwnedImageList list_;
  int width_, height_;
};

using TTreeNode = HTREEITEM;

class TTreeView : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b);
  void SetImages(TImageList* images);
  void SetIndent(int indent);
  int Indent() const;
  void Clear();
  // parent nullptr adds a root. The image shows whether selected or not.
  TTreeNode AddChild(TTreeNode parent, const std::string& text, int imageIndex = -1);
  std::string NodeText(TTreeNode node) const;
  int NodeImage(TTreeNode node) const;
  // parent nullptr: the first root.
  TTreeNode FirstChild(TTreeNode parent) const;
  TTreeNode NextSibling(TTreeNode node) const;
  int Count() const;
  bool Expanded(TTreeNode node) const;
  void SetExpanded(TTreeNode node, bool expanded);
  void FullExpand();
  void FullCollapse();
  TTreeNode Selected() const;
  void SetSelected(TTreeNode node);
  // The selection changed.
  std::function<void()> OnChange;

 protected:
  bool Notify(NMHDR* nm, LRESULT& result) override;

 private:
  void ExpandAll(TTreeNode first, UINT how);
};

// A rich edit control (RichEdit 2.0). In plain-text mode it holds one format
// and loads and saves text files as they are.
class TRichEdit : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b, bool plainText = false, bool border = true,
              TScrollStyle scrollBars = ssBoth);
  // Raise an exception naming the file when it cannot be read or written.
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);
  // The whole text as a file would hold it (CR LF after each line but the
  // last), and the text replaced by one in any line-end style.
  std::string PlainText() const;
  void SetPlainText(const std::string& text);
  void Clear();
  int TextLength() const;
  bool Modified() const;
  void SetModified(bool m);
  bool ReadOnly() const;
  void SetReadOnly(bool r);
  void SetColor(TColor c);

  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int length);
  std::string SelText() const;
  void SetSelText(const std::string& text);
  void SelectAll() { SetSel(0, -1); }
  void CutToClipboard();
  void CopyToClipboard();
  void PasteFromClipboard();
  void ClearSelection();

  // Formatting of the selection (rich-text mode).
  void SetSelBold(bool bold);
  // pointSize 0 keeps the size.
  void SetSelFont(const std::string& name, int pointSize, bool bold);
  void SetParagraphAlignment(TAlignment a);
  // Of the paragraph where the selection starts.
  TAlignment ParagraphAlignment() const;
  // The character format where the selection starts.
  struct TSelAttributes {
    std::string Name;
    int PointSize = 0;
    bool Bold = false;
  };
  TSelAttributes SelAttributes() const;
  // Adds a paragraph at the end and returns the range of its text.
  std::pair<int, int> AppendParagraph(const std::string& text);
  // Hides the caret now and each time the control gets the focus (a text
  // to read, not to edit).
  void HideCaret();

  // Prints the whole text on the current printer as one job of that title.
  void Print(const std::string& title);

  std::function<void()> OnChange;

 protected:
  void Command(WORD code) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  bool caretHidden_ = false;
};

// A container whose children can be larger than its client: scroll bars
// appear as needed. The range is the extent of the children that are not
// aligned (Delphi's auto range); positions move them.
class TScrollBox : public TCustomControl {
 public:
  void Create(TControl& parent, const TBounds& b);
  int HorzPosition() const { return hpos_; }
  int VertPosition() const { return vpos_; }
  // Clamped to 0 .. range - client size.
  void SetHorzPosition(int p);
  void SetVertPosition(int p);
  int HorzRange() const;
  int VertRange() const;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void ChildBoundsChanged(TControl* child) override;

 private:
  void UpdateScrollBars();
  void ScrollTo(int h, int v);
  void OnScroll(int bar, WORD code);
  int hpos_ = 0, vpos_ = 0;
  bool updating_ = false;
};
