#include "Document.h"

#include <windows.h>

#include <algorithm>

#include "Dispatch.h"

// ---------------------------------------------------------------- TTracked

TTracked::TTracked(TStory& story, int start, int end) : S(&story), From(start), To(end) {
  S->Trackers.push_back(this);
}

TTracked::~TTracked() { std::erase(S->Trackers, this); }

void TTracked::Set(TStory& story, int start, int end) {
  if (&story != S) {
    std::erase(S->Trackers, this);
    S = &story;
    S->Trackers.push_back(this);
  }
  From = std::clamp(start, 0, story.End());
  To = std::clamp(end, From, story.End());
}

void TTracked::Inserted(int at, int count) {
  // Text inserted where the range starts goes before it; text inserted
  // where it ends stays outside.
  if (From >= at) {
    From += count;
    To += count;
  } else if (To > at) {
    To += count;
  }
}

void TTracked::Deleted(int from, int to) {
  auto moved = [&](int p) { return p <= from ? p : p >= to ? p - (to - from) : from; };
  From = moved(From);
  To = moved(To);
}

// ---------------------------------------------------------------- styles

namespace {

TStyle Builtin(int id, const char* local, const char* rtf, const char* font, double size, bool bold, double before,
               double after, int outline) {
  TStyle s;
  s.Id = id;
  s.LocalName = local;
  s.RtfName = rtf;
  s.Font = font;
  s.Size = size;
  s.Bold = bold;
  s.SpaceBefore = before;
  s.SpaceAfter = after;
  s.KeepWithNext = outline >= 0;
  s.OutlineLevel = outline;
  return s;
}

bool SameText(const std::string& a, const std::string& b) {
  return CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, a.c_str(), static_cast<int>(a.size()), b.c_str(),
                        static_cast<int>(b.size())) == CSTR_EQUAL;
}

}  // namespace

TDocument::TDocument(std::string name) : Name(std::move(name)) {
  // The built-in styles of a French Word: Normal comes first (index 0).
  Styles.push_back(Builtin(StyleId::Normal, "Normal", "Normal", "Times New Roman", 10, false, 0, 0, -1));
  Styles.push_back(Builtin(StyleId::Heading1, "Titre 1", "heading 1", "Arial", 14, true, 12, 3, 0));
  Styles.push_back(Builtin(StyleId::Heading2, "Titre 2", "heading 2", "Arial", 12, true, 12, 3, 1));
  Styles.push_back(Builtin(StyleId::Heading3, "Titre 3", "heading 3", "Arial", 12, false, 12, 3, 2));
  for (int level = 0; level < 3; ++level) {
    TStyle toc = Builtin(StyleId::Toc1 - level, "", "", "", 0, false, 0, 0, -1);
    toc.LocalName = "TM " + std::to_string(level + 1);
    toc.RtfName = "toc " + std::to_string(level + 1);
    toc.LeftIndent = 10.0 * level;
    Styles.push_back(toc);
  }
  Styles.push_back(Builtin(StyleId::Footer, "Pied de page", "footer", "", 0, false, 0, 0, -1));
  TStyle defaultFont = Builtin(StyleId::DefaultParagraphFont, "Police par défaut", "Default Paragraph Font", "", 0,
                               false, 0, 0, -1);
  defaultFont.Type = TStyleType::Character;
  Styles.push_back(defaultFont);

  CharFormats.push_back(TCharFormat{});
  ParaFormats.push_back(TParaFormat{});
  Sections.push_back(TSection{});
  Main.Chars.push_back(TChar{ParagraphChar, TElement::ParagraphEnd, 0, 0});
  const int32_t footerFormat = InternParaFormat(TParaFormat{StyleById(StyleId::Footer), Align::FromStyle});
  Footer.Chars.push_back(TChar{ParagraphChar, TElement::ParagraphEnd, 0, footerFormat});
}

uint16_t TDocument::InternCharFormat(const TCharFormat& format) {
  const auto found = std::find(CharFormats.begin(), CharFormats.end(), format);
  if (found != CharFormats.end()) return static_cast<uint16_t>(found - CharFormats.begin());
  if (CharFormats.size() >= 0xFFFF)
    throw TAutoError(WordError::CommandFailed, "The document has too many different character formats.");
  CharFormats.push_back(format);
  return static_cast<uint16_t>(CharFormats.size() - 1);
}

int32_t TDocument::InternParaFormat(const TParaFormat& format) {
  const auto found = std::find(ParaFormats.begin(), ParaFormats.end(), format);
  if (found != ParaFormats.end()) return static_cast<int32_t>(found - ParaFormats.begin());
  ParaFormats.push_back(format);
  return static_cast<int32_t>(ParaFormats.size() - 1);
}

int TDocument::StyleById(int id) const {
  for (size_t i = 0; i < Styles.size(); ++i)
    if (Styles[i].Id == id && id != StyleId::User) return static_cast<int>(i);
  return -1;
}

int TDocument::StyleByName(const std::string& name) const {
  for (size_t i = 0; i < Styles.size(); ++i)
    if (SameText(Styles[i].LocalName, name) || SameText(Styles[i].RtfName, name)) return static_cast<int>(i);
  return -1;
}

int TDocument::AddStyle(const std::string& name, TStyleType type) {
  if (name.empty()) throw TAutoError(WordError::OutOfRange, "A style needs a name.");
  if (StyleByName(name) >= 0) throw TAutoError(WordError::CommandFailed, "The style \"" + name + "\" already exists.");
  TStyle style;
  style.LocalName = name;
  style.RtfName = name;
  style.Type = type;
  Styles.push_back(style);
  return static_cast<int>(Styles.size() - 1);
}

// ---------------------------------------------------------------- structure

int TDocument::ParagraphStart(const TStory& story, int pos) {
  pos = std::clamp(pos, 0, story.End() - 1);
  while (pos > 0 && !IsMark(story.Chars[static_cast<size_t>(pos - 1)])) --pos;
  return pos;
}

int TDocument::ParagraphMark(const TStory& story, int pos) {
  pos = std::clamp(pos, 0, story.End() - 1);
  while (!IsMark(story.Chars[static_cast<size_t>(pos)])) ++pos;
  return pos;
}

std::vector<int> TDocument::ParagraphMarks(const TStory& story, int from, int to) {
  std::vector<int> marks;
  const int last = ParagraphMark(story, std::max(from, to - 1));
  for (int mark = ParagraphMark(story, from);; mark = ParagraphMark(story, mark + 1)) {
    marks.push_back(mark);
    if (mark >= last) break;
  }
  return marks;
}

const TParaFormat& TDocument::ParagraphFormat(const TStory& story, int pos) const {
  return ParaFormats[static_cast<size_t>(story.Chars[static_cast<size_t>(ParagraphMark(story, pos))].Ref)];
}

const TStyle& TDocument::ParagraphStyle(const TStory& story, int pos) const {
  return Styles[static_cast<size_t>(ParagraphFormat(story, pos).Style)];
}

int TDocument::SectionAt(int pos) const {
  int section = 0;
  const int end = std::min(pos, Main.End());
  for (int i = 0; i < end; ++i)
    if (Main.Chars[static_cast<size_t>(i)].Kind == TElement::SectionBreak) ++section;
  return std::min(section, static_cast<int>(Sections.size()) - 1);
}

int TDocument::SectionStart(int section) const {
  if (section <= 0) return 0;
  int seen = 0;
  for (int i = 0; i < Main.End(); ++i)
    if (Main.Chars[static_cast<size_t>(i)].Kind == TElement::SectionBreak && ++seen == section) return i + 1;
  return Main.End();
}

std::string TDocument::Text(const TStory& story, int from, int to) const {
  std::string text;
  from = std::clamp(from, 0, story.End());
  to = std::clamp(to, from, story.End());
  for (int i = from; i < to; ++i) text += story.Chars[static_cast<size_t>(i)].Ch;
  return text;
}

int TDocument::PictureIn(const TStory& story, int from, int to) const {
  for (int i = std::max(from, 0); i < std::max(to, from + 1) && i < story.End(); ++i)
    if (story.Chars[static_cast<size_t>(i)].Kind == TElement::Picture) return story.Chars[static_cast<size_t>(i)].Ref;
  return -1;
}
