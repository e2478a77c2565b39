#include "Navigation.h"

#include <algorithm>
#include <cctype>

namespace {

enum class TClass { Space, Letter, Punctuation, Single };

TClass ClassOf(const TChar& c) {
  if (c.Kind != TElement::Text || c.Ch == '\t') return TClass::Single;
  const unsigned char u = static_cast<unsigned char>(c.Ch);
  if (u == ' ' || u == 0xA0) return TClass::Space;
  // Letters of code page 1252: ASCII ones, the accented ones from 0xC0
  // (without the multiplication and division signs), and a few others.
  const bool letter = std::isalnum(u) || u == '_' || (u >= 0xC0 && u != 0xD7 && u != 0xF7) || u == 0x8A ||
                      u == 0x8C || u == 0x8E || u == 0x9A || u == 0x9C || u == 0x9E || u == 0x9F || u == 0xAA ||
                      u == 0xB5 || u == 0xBA;
  return letter ? TClass::Letter : TClass::Punctuation;
}

TClass ClassAt(const TStory& story, int pos) { return ClassOf(story.Chars[static_cast<size_t>(pos)]); }

bool IsMarkAt(const TStory& story, int pos) { return TDocument::IsMark(story.Chars[static_cast<size_t>(pos)]); }

// The end of the word that starts at pos, with its trailing spaces.
int WordEnd(const TStory& story, int pos) {
  const int last = story.End() - 1;
  if (pos >= last) return last;
  const TClass cls = ClassAt(story, pos);
  int q = pos;
  if (IsMarkAt(story, q)) return q + 1;
  if (cls == TClass::Single || cls == TClass::Space)
    ++q;
  else
    while (q < last && ClassAt(story, q) == cls) ++q;
  while (q < last && ClassAt(story, q) == TClass::Space) ++q;
  return q;
}

}  // namespace

int WordLeft(const TStory& story, int pos) {
  int q = std::clamp(pos, 0, story.End() - 1);
  while (q > 0 && ClassAt(story, q - 1) == TClass::Space) --q;
  if (q == 0) return 0;
  const TClass cls = ClassAt(story, q - 1);
  if (cls == TClass::Single) return q - 1;
  while (q > 0 && ClassAt(story, q - 1) == cls) --q;
  return q;
}

int WordRight(const TStory& story, int pos) { return WordEnd(story, std::clamp(pos, 0, story.End() - 1)); }

std::pair<int, int> CurrentWord(const TStory& story, int pos) {
  const int last = story.End() - 1;
  pos = std::clamp(pos, 0, last);
  auto letters = [&](int at) {
    const TClass cls = ClassAt(story, at);
    int from = at, to = at;
    while (from > 0 && ClassAt(story, from - 1) == cls) --from;
    while (to < last && ClassAt(story, to) == cls) ++to;
    return std::pair{from, to};
  };
  const TClass here = ClassAt(story, pos);
  if (here == TClass::Letter || here == TClass::Punctuation) return letters(pos);
  if (pos > 0) {
    const TClass before = ClassAt(story, pos - 1);
    if (before == TClass::Letter || before == TClass::Punctuation) return letters(pos - 1);
  }
  if (here == TClass::Single) return {pos, pos + 1};
  if (pos > 0 && ClassAt(story, pos - 1) == TClass::Single && !IsMarkAt(story, pos - 1)) return {pos - 1, pos};
  return {pos, pos};
}

std::pair<int, int> WordWithSpaces(const TStory& story, int pos) {
  pos = std::clamp(pos, 0, story.End() - 1);
  int from = pos;
  if (ClassAt(story, pos) == TClass::Space) {
    while (from > 0 && ClassAt(story, from - 1) == TClass::Space) --from;
    if (from > 0 && !IsMarkAt(story, from - 1)) from = WordLeft(story, from);
  } else if (ClassAt(story, pos) != TClass::Single) {
    const TClass cls = ClassAt(story, pos);
    while (from > 0 && ClassAt(story, from - 1) == cls) --from;
  }
  return {from, WordEnd(story, from)};
}

int LineMove(const TStory& story, int pos, int count) {
  pos = std::clamp(pos, 0, story.End() - 1);
  const int column = pos - TDocument::ParagraphStart(story, pos);
  for (; count > 0; --count) {
    const int mark = TDocument::ParagraphMark(story, pos);
    if (mark >= story.End() - 1) break;  // already on the last line
    pos = std::min(mark + 1 + column, TDocument::ParagraphMark(story, mark + 1));
  }
  for (; count < 0; ++count) {
    const int start = TDocument::ParagraphStart(story, pos);
    if (start == 0) break;  // already on the first line
    pos = std::min(TDocument::ParagraphStart(story, start - 1) + column, start - 1);
  }
  return pos;
}

// ---------------------------------------------------------------- pages

namespace {

// Text metrics of the fonts that stand for Word's here (Liberation): the
// height of a line and the mean advance of a character, per point of size.
struct TMetrics {
  double Line, Advance;
};
TMetrics MetricsOf(const std::string& font) {
  if (font.find("Courier") != std::string::npos || font.find("Mono") != std::string::npos) return {1.133, 0.6};
  if (font.find("Arial") != std::string::npos || font.find("Sans") != std::string::npos) return {1.149, 0.5};
  return {1.150, 0.45};
}

// Walks the main text line by line through the columns and pages.
class TPaginator {
 public:
  explicit TPaginator(const TDocument& doc) : Doc(doc), Section(&doc.Sections[0]) { Starts.push_back(0); }

  std::vector<int> Run() {
    const TStory& main = Doc.Main;
    int sectionIndex = 0;
    for (int start = 0; start < main.End();) {
      const int mark = TDocument::ParagraphMark(main, start);
      Paragraph(start, mark);
      if (main.Chars[static_cast<size_t>(mark)].Kind == TElement::SectionBreak &&
          sectionIndex + 1 < static_cast<int>(Doc.Sections.size())) {
        Section = &Doc.Sections[static_cast<size_t>(++sectionIndex)];
        if (Section->Start == TSectionStart::NewPage)
          NewPage(mark + 1);
        else if (Section->Start == TSectionStart::NewColumn)
          NextColumn(mark + 1);
        else
          Column = std::min(Column, Section->Columns - 1);
      }
      start = mark + 1;
    }
    return Starts;
  }

 private:
  void NewPage(int at) {
    if (at < Doc.Main.End() && Starts.back() != at) Starts.push_back(at);
    Column = 0;
    Y = 0;
  }
  void NextColumn(int at) {
    if (Column + 1 < Section->Columns) {
      ++Column;
      Y = 0;
    } else {
      NewPage(at);
    }
  }
  // A line of that height beginning at position at.
  void Line(double height, int at) {
    if (Y > 0 && Y + height > Section->TextHeight()) NextColumn(at);
    Y += height;
  }

  void Paragraph(int start, int mark) {
    const TStory& main = Doc.Main;
    const TStyle& style = Doc.ParagraphStyle(main, start);
    const TStyle& normal = Doc.Styles[0];
    if (Y > 0) Y += style.SpaceBefore;
    const double width = Section->ColumnWidth() - style.LeftIndent;
    double x = 0, lineHeight = 0;
    int lineStart = start;
    auto endLine = [&](int next) {
      Line(std::max(lineHeight, 1.0), lineStart);
      x = 0;
      lineHeight = 0;
      lineStart = next;
    };
    for (int i = start; i <= mark; ++i) {
      const TChar& c = main.Chars[static_cast<size_t>(i)];
      const TCharFormat& f = Doc.CharFormats[c.Format];
      const std::string& font = !f.Font.empty() ? f.Font : !style.Font.empty() ? style.Font : normal.Font;
      const double size = f.Size > 0 ? f.Size : style.Size > 0 ? style.Size : normal.Size;
      const TMetrics m = MetricsOf(font);
      double advance = 0, height = size * m.Line;
      switch (c.Kind) {
        case TElement::Text: advance = c.Ch == '\t' ? 36 : size * m.Advance; break;
        case TElement::Picture: {
          const TPicture& p = Doc.Pictures[static_cast<size_t>(c.Ref)];
          advance = p.Width;
          height = p.Height;
          break;
        }
        case TElement::Field: advance = 3 * size * m.Advance; break;
        case TElement::LineBreak: endLine(i + 1); continue;
        case TElement::ColumnBreak:
          endLine(i + 1);
          NextColumn(i + 1);
          continue;
        case TElement::PageBreak:
          endLine(i + 1);
          NewPage(i + 1);
          continue;
        case TElement::ParagraphEnd:
        case TElement::SectionBreak: break;
      }
      if (x > 0 && x + advance > width) endLine(i);
      x += advance;
      lineHeight = std::max(lineHeight, height);
      if (c.Kind == TElement::Field && Doc.Fields[static_cast<size_t>(c.Ref)].Type == TFieldType::Toc) TocLines(i);
    }
    if (x > 0 || lineHeight > 0) endLine(mark + 1);
    Y += style.SpaceAfter;
  }

  // A table of contents takes one line per heading it lists.
  void TocLines(int at) {
    const TField& toc = Doc.Fields[static_cast<size_t>(Doc.Main.Chars[static_cast<size_t>(at)].Ref)];
    const TStory& main = Doc.Main;
    for (int start = 0; start < main.End(); start = TDocument::ParagraphMark(main, start) + 1) {
      const int level = Doc.ParagraphStyle(main, start).OutlineLevel + 1;
      if (level >= toc.From && level <= toc.To) Line(Doc.Styles[0].Size * MetricsOf(Doc.Styles[0].Font).Line, at);
    }
  }

  const TDocument& Doc;
  const TSection* Section;
  std::vector<int> Starts;
  int Column = 0;
  double Y = 0;
};

}  // namespace

TPageMap::TPageMap(const TDocument& document) : Starts(TPaginator(document).Run()) {}

int TPageMap::PageOf(int pos) const {
  return static_cast<int>(std::upper_bound(Starts.begin(), Starts.end(), pos) - Starts.begin());
}

int TPageMap::StartOf(int page) const { return Starts[static_cast<size_t>(std::clamp(page, 1, Count()) - 1)]; }
