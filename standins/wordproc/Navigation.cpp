#include "Navigation.h"

#include <algorithm>
#include <cctype>
#include <map>

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

namespace {
bool EndsLine(const TChar& c) {
  return TDocument::IsMark(c) || c.Kind == TElement::PageBreak || c.Kind == TElement::ColumnBreak ||
         c.Kind == TElement::LineBreak;
}
}  // namespace

int LineStart(const TStory& story, int pos) {
  pos = std::clamp(pos, 0, story.End() - 1);
  while (pos > 0 && !EndsLine(story.Chars[static_cast<size_t>(pos - 1)])) --pos;
  return pos;
}

int LineEnd(const TStory& story, int pos) {
  pos = std::clamp(pos, 0, story.End() - 1);
  while (!EndsLine(story.Chars[static_cast<size_t>(pos)])) ++pos;
  return pos;
}

int LineMove(const TStory& story, int pos, int count) {
  pos = std::clamp(pos, 0, story.End() - 1);
  const int column = pos - LineStart(story, pos);
  for (; count > 0; --count) {
    const int end = LineEnd(story, pos);
    if (end >= story.End() - 1) break;  // already on the last line
    pos = std::min(end + 1 + column, LineEnd(story, end + 1));
  }
  for (; count < 0; ++count) {
    const int start = LineStart(story, pos);
    if (start == 0) break;  // already on the first line
    pos = std::min(LineStart(story, start - 1) + column, start - 1);
  }
  return pos;
}

int TextStart(const TStory& story, int paragraphStart) {
  int pos = paragraphStart;
  while (pos < story.End() - 1 && !TDocument::IsMark(story.Chars[static_cast<size_t>(pos)]) &&
         EndsLine(story.Chars[static_cast<size_t>(pos)]))
    ++pos;
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

// Lengths read back from centimetres differ from the page's in the last digits.
constexpr double Tolerance = 0.05;

// Walks the main text line by line through the columns and pages.
class TPaginator {
 public:
  explicit TPaginator(const TDocument& doc) : Doc(doc), Section(&doc.Sections[0]) { Starts.push_back(0); }

  std::vector<int> Run() {
    const TStory& main = Doc.Main;
    for (const auto& shape : Doc.Shapes)
      if (&shape->Anchor->Story() == &main)
        Floating[TDocument::ParagraphStart(main, shape->Anchor->Start())].push_back(shape.get());
    int sectionIndex = 0;
    for (int start = 0; start < main.End();) {
      const int mark = TDocument::ParagraphMark(main, start);
      // A page break that ends a section starts the next one on a new page,
      // as the document is written; a paragraph that held only that break
      // leaves no line behind it (unless it opens its section).
      const bool sectionEnd = main.Chars[static_cast<size_t>(mark)].Kind == TElement::SectionBreak;
      const bool breakEnds = sectionEnd && mark > start && main.Chars[static_cast<size_t>(mark - 1)].Kind == TElement::PageBreak;
      const bool onlyBreak = breakEnds && mark == start + 1 && start > Doc.SectionStart(sectionIndex) && !Floating.contains(start);
      if (!onlyBreak) Paragraph(start, breakEnds ? mark - 1 : mark, mark);
      if (sectionEnd && sectionIndex + 1 < static_cast<int>(Doc.Sections.size())) {
        Section = &Doc.Sections[static_cast<size_t>(++sectionIndex)];
        if (breakEnds || Section->Start == TSectionStart::NewPage)
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
    if (Y > 0 && Y + height > Section->TextHeight() + Tolerance) NextColumn(at);
    Y += height;
  }

  // The paragraph [start, end) whose mark is at mark.
  void Paragraph(int start, int end, int mark) {
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
    // Floating pictures are written at the start of their paragraph.
    if (const auto shapes = Floating.find(start); shapes != Floating.end())
      for (const TShape* shape : shapes->second) {
        const TPicture& p = Doc.Pictures[static_cast<size_t>(shape->Picture)];
        if (x > 0 && x + p.Width > width + Tolerance) endLine(start);
        x += p.Width;
        lineHeight = std::max(lineHeight, p.Height);
      }
    for (int i = start; i <= mark; ++i) {
      if (i == end) i = mark;
      const TChar& c = main.Chars[static_cast<size_t>(i)];
      // Direct format first, then the character style, the paragraph's, Normal.
      const TCharFormat& f = Doc.CharFormats[c.Format];
      const TStyle& chars = f.CharStyle >= 0 ? Doc.Styles[static_cast<size_t>(f.CharStyle)] : style;
      const std::string& font = !f.Font.empty()       ? f.Font
                                : !chars.Font.empty() ? chars.Font
                                : !style.Font.empty() ? style.Font
                                                      : normal.Font;
      const double size = f.Size > 0 ? f.Size : chars.Size > 0 ? chars.Size : style.Size > 0 ? style.Size : normal.Size;
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
      // Only what takes room wraps; a hair's breadth over the width is not over.
      if (advance > 0 && x > 0 && x + advance > width + Tolerance) endLine(i);
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
  std::map<int, std::vector<const TShape*>> Floating;
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
