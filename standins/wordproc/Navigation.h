// Moving through a story by words and lines, and through the main text by
// pages. There is no real layout: lines end at paragraph marks and breaks,
// and pages come from an estimate of how the text fills the columns of
// each section.
#pragma once

#include <utility>
#include <vector>

#include "Document.h"

// Where the word before pos starts (a paragraph mark, a picture or a field
// is a word of its own; spaces belong to the word they follow).
int WordLeft(const TStory& story, int pos);
int WordRight(const TStory& story, int pos);
// The word at pos without its trailing spaces, or the one just before pos.
std::pair<int, int> CurrentWord(const TStory& story, int pos);
// The word that holds pos, with its trailing spaces.
std::pair<int, int> WordWithSpaces(const TStory& story, int pos);
// Lines: a paragraph is one line, except that a page, column or line break
// ends the line it is on (the break belongs to it). LineEnd is the position
// of the mark or break that ends the line.
int LineStart(const TStory& story, int pos);
int LineEnd(const TStory& story, int pos);
// The same offset from the start of the line count lines further
// (negative: back), kept inside the target line's text.
int LineMove(const TStory& story, int pos, int count);
// The first position of a paragraph's text: after the breaks that open it.
int TextStart(const TStory& story, int paragraphStart);

// The estimated pages of the main text.
class TPageMap {
 public:
  explicit TPageMap(const TDocument& document);
  int Count() const { return static_cast<int>(Starts.size()); }
  // The page (from 1) that holds pos.
  int PageOf(int pos) const;
  // The first position of a page (from 1; clamped to the pages there are).
  int StartOf(int page) const;

 private:
  std::vector<int> Starts;
};
