// Edits of the document's text and formats.
#include <algorithm>

#include "Dispatch.h"
#include "Document.h"

namespace {

// Word never edits after the final paragraph mark.
int InsertionPoint(const TStory& story, int pos) { return std::clamp(pos, 0, story.End() - 1); }

// New text takes the format of the character before it in its paragraph,
// or else of the one it goes before.
uint16_t InsertionFormat(const TStory& story, int pos) {
  if (pos > 0 && !TDocument::IsMark(story.Chars[static_cast<size_t>(pos - 1)]))
    return story.Chars[static_cast<size_t>(pos - 1)].Format;
  return story.Chars[static_cast<size_t>(pos)].Format;
}

char CharOf(TElement kind) {
  switch (kind) {
    case TElement::ParagraphEnd: return ParagraphChar;
    case TElement::SectionBreak:
    case TElement::PageBreak: return PageBreakChar;
    case TElement::ColumnBreak: return ColumnBreakChar;
    case TElement::LineBreak: return LineBreakChar;
    case TElement::Picture: return ObjectChar;
    case TElement::Field: return FieldChar;
    case TElement::Text: break;
  }
  return ' ';
}

void RequireMainStory(const TStory& story, const char* what) {
  if (story.Type != TStoryType::Main)
    throw TAutoError(WordError::NotAvailable, std::string(what) + " cannot be inserted in a header or footer.");
}

}  // namespace

void TDocument::InsertChars(TStory& story, int pos, const std::vector<TChar>& chars) {
  if (chars.empty()) return;
  ++Revision;
  story.Chars.insert(story.Chars.begin() + pos, chars.begin(), chars.end());
  const std::vector<TTracked*> trackers = story.Trackers;
  for (TTracked* tracked : trackers) tracked->Inserted(pos, static_cast<int>(chars.size()));
}

int TDocument::InsertText(TTracked& range, const std::string& text) {
  TStory& story = range.Story();
  if (!range.Collapsed()) Delete(story, range.Start(), range.End());
  const int at = InsertionPoint(story, range.Start());
  const uint16_t format = InsertionFormat(story, at);
  // A new paragraph mark splits the paragraph: both halves keep its format.
  const int32_t paragraph = story.Chars[static_cast<size_t>(ParagraphMark(story, at))].Ref;
  std::vector<TChar> chars;
  chars.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r' || c == '\n') {
      if (c == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
      chars.push_back(TChar{ParagraphChar, TElement::ParagraphEnd, format, paragraph});
    } else if (c == PageBreakChar) {
      RequireMainStory(story, "A page break");
      chars.push_back(TChar{c, TElement::PageBreak, format, 0});
    } else if (c == ColumnBreakChar) {
      RequireMainStory(story, "A column break");
      chars.push_back(TChar{c, TElement::ColumnBreak, format, 0});
    } else if (c == LineBreakChar) {
      chars.push_back(TChar{c, TElement::LineBreak, format, 0});
    } else if (c == '\t' || static_cast<unsigned char>(c) >= 32) {
      chars.push_back(TChar{c, TElement::Text, format, 0});
    }
    // Other control characters have no place in a document's text.
  }
  InsertChars(story, at, chars);
  const int end = at + static_cast<int>(chars.size());
  range.Set(at, end);
  return end;
}

void TDocument::InsertElement(TTracked& range, TElement kind, int32_t ref) {
  TStory& story = range.Story();
  if (kind == TElement::PageBreak || kind == TElement::ColumnBreak || kind == TElement::SectionBreak)
    RequireMainStory(story, "A break");
  if (!range.Collapsed()) Delete(story, range.Start(), range.End());
  const int at = InsertionPoint(story, range.Start());
  InsertChars(story, at, {TChar{CharOf(kind), kind, InsertionFormat(story, at), ref}});
  range.Set(at, at + 1);
}

int TDocument::InsertSectionBreak(int pos, TSectionStart start) {
  const int at = InsertionPoint(Main, pos);
  const int section = SectionAt(at);
  // The break ends the first part, which keeps a copy of the section's setup.
  Sections.insert(Sections.begin() + section, Sections[static_cast<size_t>(section)]);
  Sections[static_cast<size_t>(section) + 1].Start = start;
  const int32_t paragraph = Main.Chars[static_cast<size_t>(ParagraphMark(Main, at))].Ref;
  InsertChars(Main, at, {TChar{PageBreakChar, TElement::SectionBreak, InsertionFormat(Main, at), paragraph}});
  return section + 1;
}

void TDocument::Delete(TStory& story, int from, int to) {
  from = std::clamp(from, 0, story.End() - 1);
  to = std::clamp(to, from, story.End() - 1);
  if (from == to) return;
  ++Revision;
  if (story.Type == TStoryType::Main) {
    // A removed section break takes its section's setup with it: the text
    // before it joins the following section, as in Word.
    for (int i = to - 1; i >= from; --i)
      if (Main.Chars[static_cast<size_t>(i)].Kind == TElement::SectionBreak)
        Sections.erase(Sections.begin() + SectionAt(i));
  }
  story.Chars.erase(story.Chars.begin() + from, story.Chars.begin() + to);
  const std::vector<TTracked*> trackers = story.Trackers;
  for (TTracked* tracked : trackers) tracked->Deleted(from, to);
}

void TDocument::ApplyParagraphStyle(TStory& story, int from, int to, int style) {
  if (Styles[static_cast<size_t>(style)].Type == TStyleType::Character) {
    ApplyCharacterStyle(story, from, to, style);
    return;
  }
  // A paragraph style replaces the paragraph's own formatting.
  const int32_t format = InternParaFormat(TParaFormat{style, Align::FromStyle});
  for (int mark : ParagraphMarks(story, from, to)) story.Chars[static_cast<size_t>(mark)].Ref = format;
}

namespace {
template <class F>
void ChangeCharFormats(TDocument& doc, TStory& story, int from, int to, F change) {
  from = std::clamp(from, 0, story.End());
  to = std::clamp(to, from, story.End());
  for (int i = from; i < to; ++i) {
    TChar& c = story.Chars[static_cast<size_t>(i)];
    TCharFormat format = doc.CharFormats[c.Format];
    change(format);
    c.Format = doc.InternCharFormat(format);
  }
}
}  // namespace

void TDocument::ApplyCharacterStyle(TStory& story, int from, int to, int style) {
  const int applied = Styles[static_cast<size_t>(style)].Id == StyleId::DefaultParagraphFont ? -1 : style;
  ChangeCharFormats(*this, story, from, to, [&](TCharFormat& f) { f.CharStyle = applied; });
}

void TDocument::ApplyAlignment(TStory& story, int from, int to, int alignment) {
  for (int mark : ParagraphMarks(story, from, to)) {
    TParaFormat format = ParaFormats[static_cast<size_t>(story.Chars[static_cast<size_t>(mark)].Ref)];
    format.Alignment = alignment;
    story.Chars[static_cast<size_t>(mark)].Ref = InternParaFormat(format);
  }
}

void TDocument::ApplyFont(TStory& story, int from, int to, const std::string& font, double size) {
  ChangeCharFormats(*this, story, from, to, [&](TCharFormat& f) {
    if (!font.empty()) f.Font = font;
    if (size > 0) f.Size = size;
  });
}

void TDocument::ApplyLanguage(TStory& story, int from, int to, int language) {
  ChangeCharFormats(*this, story, from, to, [&](TCharFormat& f) { f.Language = language; });
}

std::pair<int, int> TDocument::IsolateSections(int from, int to, TSectionStart start) {
  from = InsertionPoint(Main, from);
  to = std::clamp(to, from, Main.End());
  int first = SectionAt(from);
  if (from > SectionStart(first)) {
    first = InsertSectionBreak(from, start);
    ++to;
  }
  const int last = SectionAt(std::max(from, to - 1));
  const bool lastOfDocument = last == static_cast<int>(Sections.size()) - 1;
  const int sectionEnd = lastOfDocument ? Main.End() - 1 : SectionStart(last + 1) - 1;
  if (to < sectionEnd) InsertSectionBreak(to, start);
  return {first, last};
}
