// Standard controls: button, check box, label, edit, memo, list box, combo
// box and group box.
#pragma once

#include "Forms.h"

class TButton : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b, const std::string& caption);
  // Clicking sets the form's ModalResult to this value (when not mrNone)
  // before OnClick runs.
  int ModalResult = mrNone;
  // Shows the bitmap instead of the caption (a glyph button); the button
  // takes the bitmap over.
  void SetGlyph(HBITMAP bitmap);
  // Enter clicks the default button, Escape the cancel button.
  bool Default = false;
  bool Cancel = false;
  void Click() override;
  unsigned ButtonRoles() const override { return (Default ? brDefault : 0u) | (Cancel ? brCancel : 0u); }

 protected:
  void Command(WORD code) override;

 private:
  std::unique_ptr<TOwnedGdiObject> glyph_;
};

// Setting the state from code fires OnClick when the state changes, as a
// click of the user does.
class TCheckBox : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b, const std::string& caption, bool checked = false);
  bool Checked() const;
  void SetChecked(bool c);

 protected:
  void Command(WORD code) override;
};

// A line of text painted by us: transparent to its parent's colour, sized to
// its text while AutoSize is set.
class TLabel : public TCustomControl {
 public:
  void Create(TControl& parent, int left, int top, const std::string& caption);
  void Create(TControl& parent, const TBounds& b, const std::string& caption);
  void SetText(const std::string& text) override;
  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool a);
  void SetAlignment(TAlignment a);
  void SetWordWrap(bool w);
  // '&' shows as an underlined mnemonic unless this is off.
  void SetShowAccelChar(bool s);
  // Resizes to the text now (done on every change of text or font).
  void AdjustSize();

 protected:
  void Paint(HDC dc, const RECT& client) override;
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  UINT DrawFlags() const;
  bool autoSize_ = true, wordWrap_ = false, showAccelChar_ = true;
  TAlignment alignment_ = taLeftJustify;
};

class TEdit : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b, const std::string& text = {});
  bool ReadOnly() const;
  void SetReadOnly(bool r);
  void SetMaxLength(int n);
  void SelectAll();
  int SelStart() const;
  int SelLength() const;
  void SetSel(int start, int length);
  bool Modified() const;
  void SetModified(bool m);
  // Fires for every change of the text, typed or set from code.
  std::function<void()> OnChange;

 protected:
  void Command(WORD code) override;
  DWORD extraStyle_ = ES_AUTOHSCROLL;
};

enum TScrollStyle { ssNone, ssHorizontal, ssVertical, ssBoth };

class TMemo : public TEdit {
 public:
  void Create(TControl& parent, const TBounds& b, TScrollStyle scrollBars = ssNone, bool border = true);
  // Lines without their CR LF.
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  void AddLine(const std::string& line);
  void Clear() { SetText({}); }
};

class TListBox : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b, bool sorted = false);
  void Clear();
  int Add(const std::string& item);
  int Count() const;
  std::string Items(int i) const;
  // -1 when nothing is selected.
  int ItemIndex() const;
  void SetItemIndex(int i);
  void SetItemHeight(int h);
  int ItemHeight() const;
  // OnClick fires when the selection changes, OnDblClick on a double click.

 protected:
  void Command(WORD code) override;
};

class TComboBox : public TControl {
 public:
  // A drop-down list, or an edit with a list when editable.
  void Create(TControl& parent, const TBounds& b, bool editable = false, int dropDownCount = 8);
  void Clear();
  int Add(const std::string& item);
  int Count() const;
  std::string Items(int i) const;
  int ItemIndex() const;
  void SetItemIndex(int i);
  std::function<void()> OnChange;

 protected:
  void Command(WORD code) override;
};

// A frame with a caption at its top, holding controls.
class TGroupBox : public TCustomControl {
 public:
  void Create(TControl& parent, const TBounds& b, const std::string& caption);

 protected:
  void Paint(HDC dc, const RECT& client) override;
  RECT AlignRect() override;
};
