// The directory list box: one line per level from the drive's root down to
// the opened directory, then one line per subdirectory of it. A double click
// or Enter opens the highlighted line.
#pragma once

#include "Forms.h"

class TDirectoryListBox : public TControl {
 public:
  void Create(TControl& parent, const TBounds& b);

  // The opened directory: "C:\" for a root, no final backslash otherwise.
  const std::string& Directory() const { return directory_; }
  // Opens a directory (a relative one against the current directory).
  // Nothing happens for an empty text or the directory already open; a
  // directory that cannot be read raises an exception and changes nothing.
  // OnChange fires when the directory changes.
  void SetDirectory(const std::string& dir);
  // The opened directory's drive letter, upper case.
  char Drive() const { return directory_.empty() ? '\0' : directory_[0]; }

  int Count() const;
  int ItemIndex() const;
  void SetItemIndex(int i);
  // The full path of a line: a root ends with a backslash, any other
  // directory does not.
  std::string GetItemPath(int index) const;
  // Opens the highlighted line.
  void OpenCurrent();

  // The directory changed. OnClick fires when the highlight moves.
  std::function<void()> OnChange;

 protected:
  LRESULT WndProc(UINT msg, WPARAM wp, LPARAM lp) override;
  void Command(WORD code) override;
  bool DrawItem(DRAWITEMSTRUCT* item) override;
  void DoKeyDown(WORD key, TShiftState shift) override;

 private:
  struct TLine {
    std::string name, path;
    int level;
    bool open;  // the root, its ancestors and the opened directory
  };
  std::vector<TLine> lines_;
  std::string directory_;
};
