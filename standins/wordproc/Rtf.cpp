#include "Rtf.h"

#include <algorithm>
#include <cstdio>
#include <map>

#include "Measure.h"
#include "Navigation.h"

namespace {

constexpr double DefaultTab = 1.25 * PointsPerCm;  // Word's default tab stops, 1.25 cm apart

// The RTF font family of a font name.
const char* FamilyOf(const std::string& font) {
  if (font.find("Courier") != std::string::npos || font.find("Mono") != std::string::npos) return "\\fmodern";
  if (font.find("Arial") != std::string::npos || font.find("Sans") != std::string::npos) return "\\fswiss";
  return "\\froman";
}

std::string Twips(const char* control, double points) { return control + std::to_string(ToTwips(points)); }

const char* AlignmentControl(int alignment) {
  switch (alignment) {
    case Align::Center: return "\\qc";
    case Align::Right: return "\\qr";
    case Align::Justify: return "\\qj";
    default: return "\\ql";
  }
}

std::string Escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    const unsigned char u = static_cast<unsigned char>(c);
    if (c == '\\' || c == '{' || c == '}') {
      out += '\\';
      out += c;
    } else if (c == '\t') {
      out += "\\tab ";
    } else if (u >= 0x80) {
      char hex[8];
      std::snprintf(hex, sizeof hex, "\\'%02x", u);
      out += hex;
    } else if (u >= 32) {
      out += c;
    }
  }
  return out;
}

class TRtfWriter {
 public:
  explicit TRtfWriter(const TDocument& doc) : Doc(doc), Pages(doc) {}

  std::string Run() {
    Fonts();
    // French text (1036), the Normal font first.
    Out += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1036\n{\\fonttbl";
    for (size_t i = 0; i < FontNames.size(); ++i)
      Out += "{\\f" + std::to_string(i) + FamilyOf(FontNames[i]) + "\\fcharset0\\fprq2 " + Escaped(FontNames[i]) + ";}";
    Out += "}\n";
    StyleSheet();
    Out += "{\\*\\generator wordproc;}{\\info{\\title " + Escaped(Doc.Name) + "}}\n";
    const TSection& first = Doc.Sections[0];
    Out += Twips("\\paperw", first.PageWidth) + Twips("\\paperh", first.PageHeight) +
           Twips("\\margl", first.LeftMargin) + Twips("\\margr", first.RightMargin) +
           Twips("\\margt", first.TopMargin) + Twips("\\margb", first.BottomMargin) +
           (first.Orientation == 1 ? "\\landscape" : "") + Twips("\\deftab", DefaultTab) + "\n";
    Anchors();
    Body();
    Out += "}\n";
    return Out;
  }

 private:
  // ---- tables
  int FontIndex(const std::string& name) {
    const auto found = std::find(FontNames.begin(), FontNames.end(), name);
    if (found != FontNames.end()) return static_cast<int>(found - FontNames.begin());
    FontNames.push_back(name);
    return static_cast<int>(FontNames.size() - 1);
  }

  void Fonts() {
    FontIndex(Doc.Styles[0].Font);
    for (const TStyle& s : Doc.Styles)
      if (!s.Font.empty()) FontIndex(s.Font);
    for (const TCharFormat& f : Doc.CharFormats)
      if (!f.Font.empty()) FontIndex(f.Font);
  }

  std::string StyleCharacters(const TStyle& s) {
    const TStyle& normal = Doc.Styles[0];
    std::string props = "\\f" + std::to_string(FontIndex(s.Font.empty() ? normal.Font : s.Font)) + "\\fs" +
                        std::to_string(static_cast<int>(2 * (s.Size > 0 ? s.Size : normal.Size)));
    if (s.Bold) props += "\\b";
    return props;
  }

  std::string StyleParagraph(const TStyle& s, int alignment) {
    std::string props = AlignmentControl(alignment == Align::FromStyle ? s.Alignment : alignment);
    if (s.SpaceBefore > 0) props += Twips("\\sb", s.SpaceBefore);
    if (s.SpaceAfter > 0) props += Twips("\\sa", s.SpaceAfter);
    if (s.LeftIndent > 0) props += Twips("\\li", s.LeftIndent);
    if (s.KeepWithNext) props += "\\keepn";
    if (s.OutlineLevel >= 0) props += "\\outlinelevel" + std::to_string(s.OutlineLevel);
    return props;
  }

  void StyleSheet() {
    Out += "{\\stylesheet\n";
    for (size_t i = 0; i < Doc.Styles.size(); ++i) {
      const TStyle& s = Doc.Styles[i];
      const std::string n = std::to_string(i);
      if (s.Type == TStyleType::Character)
        Out += "{\\*\\cs" + n + "\\additive " + (s.Font.empty() && s.Size == 0 ? "" : StyleCharacters(s)) + " " +
               Escaped(s.RtfName) + ";}\n";
      else
        Out += std::string("{") + (i ? "\\s" + n : "") + StyleParagraph(s, Align::FromStyle) + StyleCharacters(s) +
               (i ? "\\sbasedon0" : "") + "\\snext" + (s.OutlineLevel >= 0 ? "0" : n) + " " + Escaped(s.RtfName) +
               ";}\n";
    }
    Out += "}\n";
  }

  // ---- paragraphs
  void ParagraphStart(const TStory& story, int mark, const std::string& extra = "") {
    const TParaFormat& format = Doc.ParaFormats[static_cast<size_t>(story.Chars[static_cast<size_t>(mark)].Ref)];
    const TStyle& style = Doc.Styles[static_cast<size_t>(format.Style)];
    Out += "\\pard\\plain\\s" + std::to_string(format.Style) + StyleParagraph(style, format.Alignment) + extra +
           StyleCharacters(style) + " ";
  }

  std::string Characters(const TCharFormat& f, const TStyle& paragraph) {
    const TStyle* charStyle = f.CharStyle >= 0 ? &Doc.Styles[static_cast<size_t>(f.CharStyle)] : nullptr;
    const TStyle& normal = Doc.Styles[0];
    const std::string font = !f.Font.empty()                          ? f.Font
                             : charStyle && !charStyle->Font.empty() ? charStyle->Font
                             : !paragraph.Font.empty()               ? paragraph.Font
                                                                     : normal.Font;
    const double size = f.Size > 0                           ? f.Size
                        : charStyle && charStyle->Size > 0 ? charStyle->Size
                        : paragraph.Size > 0               ? paragraph.Size
                                                           : normal.Size;
    std::string props;
    if (charStyle) props += "\\cs" + std::to_string(f.CharStyle);
    props += "\\f" + std::to_string(FontIndex(font)) + "\\fs" + std::to_string(static_cast<int>(2 * size));
    if (paragraph.Bold || (charStyle && charStyle->Bold)) props += "\\b";
    if (f.Language) props += "\\lang" + std::to_string(f.Language) + (f.Language == 1024 ? "\\noproof" : "");
    return props;
  }

  void Picture(const TPicture& p) {
    Out += "{\\pict";
    switch (p.Format) {
      case TPictureFormat::Emf:
        // Metafiles give their size in hundredths of a millimetre.
        Out += "\\emfblip\\picw" + std::to_string(static_cast<int>(p.NaturalWidth / PointsPerCm * 1000)) + "\\pich" +
               std::to_string(static_cast<int>(p.NaturalHeight / PointsPerCm * 1000));
        break;
      case TPictureFormat::Dib:
      case TPictureFormat::Png:
        Out += std::string(p.Format == TPictureFormat::Dib ? "\\dibitmap0" : "\\pngblip") + "\\picw" +
               std::to_string(p.PixelWidth) + "\\pich" + std::to_string(p.PixelHeight);
        break;
    }
    Out += Twips("\\picwgoal", p.Width) + Twips("\\pichgoal", p.Height) + "\n";
    static const char digits[] = "0123456789abcdef";
    for (size_t i = 0; i < p.Data.size(); ++i) {
      const unsigned char u = static_cast<unsigned char>(p.Data[i]);
      Out += digits[u >> 4];
      Out += digits[u & 15];
      if (i % 64 == 63) Out += '\n';
    }
    Out += "}";
  }

  void SimpleField(const char* instruction, const std::string& result, const std::string& props) {
    Out += "{\\field{\\*\\fldinst {" + props + " " + instruction + " }}{\\fldrslt {" + props + " " + result + "}}}";
  }

  int TocStyle(int level) const { return std::max(Doc.StyleById(StyleId::Toc1 - std::min(level, 3) + 1), 0); }

  void TocParagraph(const TField& toc) {
    const int style = TocStyle(toc.From);
    const TStyle& tocStyle = Doc.Styles[static_cast<size_t>(style)];
    Out += "\\pard\\plain\\s" + std::to_string(style) + StyleParagraph(tocStyle, Align::FromStyle) +
           StyleCharacters(tocStyle) + " ";
  }

  // The table of contents: one paragraph per heading, with the heading's
  // estimated page.
  void Toc(const TField& toc, int sectionIndex) {
    const TSection& section = Doc.Sections[static_cast<size_t>(sectionIndex)];
    Out += "{\\field{\\*\\fldinst TOC \\\\o \"" + std::to_string(toc.From) + "-" + std::to_string(toc.To) +
           "\" \\\\h \\\\z }{\\fldrslt ";
    const TStory& main = Doc.Main;
    for (int start = 0; start < main.End(); start = TDocument::ParagraphMark(main, start) + 1) {
      const int mark = TDocument::ParagraphMark(main, start);
      const int level = Doc.ParagraphStyle(main, start).OutlineLevel + 1;
      if (level < toc.From || level > toc.To) continue;
      const int style = TocStyle(level);
      const TStyle& tocStyle = Doc.Styles[static_cast<size_t>(style)];
      std::string text;
      for (int i = start; i < mark; ++i)
        if (main.Chars[static_cast<size_t>(i)].Kind == TElement::Text) text += main.Chars[static_cast<size_t>(i)].Ch;
      Out += "\\pard\\plain\\s" + std::to_string(style) + StyleParagraph(tocStyle, Align::FromStyle);
      if (toc.RightAlignPageNumbers) Out += Twips("\\tqr\\tldot\\tx", section.ColumnWidth() - 1);
      Out += StyleCharacters(tocStyle) + " " + Escaped(text);
      if (toc.IncludePageNumbers) {
        Out += toc.RightAlignPageNumbers ? "\\tab " : " ";
        Out += "{\\field{\\*\\fldinst PAGEREF " + BookmarkOf(start) + " \\\\h }{\\fldrslt " +
               std::to_string(Pages.PageOf(TextStart(main, start))) + "}}";
      }
      Out += "\\par\n";
    }
    Out += "}}";
  }

  std::string BookmarkOf(int paragraphStart) {
    const auto found = Bookmarks.find(paragraphStart);
    if (found != Bookmarks.end()) return found->second;
    char name[32];
    std::snprintf(name, sizeof name, "_Toc%09d", static_cast<int>(Bookmarks.size()) + 1);
    return Bookmarks[paragraphStart] = name;
  }

  // Shapes float in Word; here each goes at the start of its anchor paragraph.
  void Anchors() {
    for (const auto& shape : Doc.Shapes)
      if (shape->Anchor->Story().Type == TStoryType::Main)
        ShapesAt[TDocument::ParagraphStart(Doc.Main, shape->Anchor->Start())].push_back(shape.get());
  }

  // Writes the paragraphs of [from, to) of a story; to is just after a mark.
  // skip: a position not to write (a page break that the next section's
  // start carries instead).
  void Paragraphs(const TStory& story, int from, int to, int sectionIndex, int skip, bool pageNumber) {
    for (int start = from; start < to;) {
      const int mark = TDocument::ParagraphMark(story, start);
      const TStyle& style = Doc.ParagraphStyle(story, start);
      std::string extra;
      if (pageNumber) extra = PageNumberTab(Doc.Sections[static_cast<size_t>(sectionIndex)]);
      ParagraphStart(story, mark, extra);
      // A heading's bookmark starts with its text, after any break that
      // opens the paragraph, so that it is on the heading's page.
      const bool heading = &story == &Doc.Main && style.OutlineLevel >= 0;
      const int text = heading ? TextStart(story, start) : -1;
      if (&story == &Doc.Main) {
        const auto shapes = ShapesAt.find(start);
        if (shapes != ShapesAt.end())
          for (const TShape* shape : shapes->second) Picture(Doc.Pictures[static_cast<size_t>(shape->Picture)]);
      }
      for (int i = start; i <= mark;) {
        if (i == text) Out += "{\\*\\bkmkstart " + BookmarkOf(start) + "}";
        if (i == mark) break;
        const TChar& c = story.Chars[static_cast<size_t>(i)];
        const std::string props = Characters(Doc.CharFormats[c.Format], style);
        if (i == skip) {
          ++i;
          continue;
        }
        switch (c.Kind) {
          case TElement::Text: {
            int j = i;
            std::string text;
            while (j < mark && story.Chars[static_cast<size_t>(j)].Kind == TElement::Text &&
                   story.Chars[static_cast<size_t>(j)].Format == c.Format && j != skip)
              text += story.Chars[static_cast<size_t>(j++)].Ch;
            Out += "{" + props + " " + Escaped(text) + "}";
            i = j;
            continue;
          }
          case TElement::PageBreak: Out += "\\page "; break;
          case TElement::ColumnBreak: Out += "\\column "; break;
          case TElement::LineBreak: Out += "\\line "; break;
          case TElement::Picture: Picture(Doc.Pictures[static_cast<size_t>(c.Ref)]); break;
          case TElement::Field: {
            const TField& field = Doc.Fields[static_cast<size_t>(c.Ref)];
            if (field.Type == TFieldType::NumPages) {
              SimpleField("NUMPAGES", std::to_string(Pages.Count()), props);
            } else if (field.Type == TFieldType::Page) {
              SimpleField("PAGE", &story == &Doc.Main ? std::to_string(Pages.PageOf(i)) : "1", props);
            } else {
              // Its entries are paragraphs: whatever came before in this
              // paragraph ends first, and the rest continues after it.
              // Readers give the first entry the format in force where the
              // field starts, so that is the entries' format already.
              if (i > start) Out += "\\par\n";
              TocParagraph(field);
              Toc(field, sectionIndex);
              ParagraphStart(story, mark);
            }
            break;
          }
          case TElement::ParagraphEnd:
          case TElement::SectionBreak: break;
        }
        ++i;
      }
      if (heading) Out += "{\\*\\bkmkend " + BookmarkOf(start) + "}";
      if (pageNumber) {
        PageNumberField(style);
        pageNumber = false;
      }
      // The mark's own format: it sets the height of an empty paragraph.
      Out += Characters(Doc.CharFormats[story.Chars[static_cast<size_t>(mark)].Format], style) + " ";
      const bool sectionEnd = story.Chars[static_cast<size_t>(mark)].Kind == TElement::SectionBreak;
      start = mark + 1;
      // A last paragraph that only carried the page break goes: this one
      // ends the section, and no empty line is left to spill onto a page.
      const bool merged = start < to && CarriesOnlyBreak(story, start, skip);
      if (merged) start = TDocument::ParagraphMark(story, start) + 1;
      Out += sectionEnd || merged ? "\\sect\n" : "\\par\n";
    }
  }

  bool CarriesOnlyBreak(const TStory& story, int start, int skip) const {
    const int mark = TDocument::ParagraphMark(story, start);
    return &story == &Doc.Main && start == skip && mark == start + 1 &&
           story.Chars[static_cast<size_t>(mark)].Kind == TElement::SectionBreak && !ShapesAt.contains(start);
  }

  std::string PageNumberTab(const TSection& section) {
    switch (Doc.PageNumbers.Alignment) {
      case 0: return "";
      case 1: return Twips("\\tqc\\tx", section.TextWidth() / 2);
      default: return Twips("\\tqr\\tx", section.TextWidth());
    }
  }

  void PageNumberField(const TStyle& style) {
    const std::string props = Characters(TCharFormat{}, style);
    if (Doc.PageNumbers.Alignment == 0) {
      Out += " ";
      SimpleField("PAGE", "1", props);
    } else {
      Out += "\\tab ";
      SimpleField("PAGE", "1", props);
    }
  }

  void Footers(int sectionIndex, bool firstPageApart) {
    Out += "{\\footer ";
    Paragraphs(Doc.Footer, 0, Doc.Footer.End(), sectionIndex, -1, Doc.PageNumbers.Present);
    Out += "}\n";
    if (firstPageApart) {
      Out += "{\\footerf ";
      Paragraphs(Doc.Footer, 0, Doc.Footer.End(), sectionIndex, -1, false);
      Out += "}\n";
    }
  }

  void SectionFormat(int index, bool newPage) {
    const TSection& s = Doc.Sections[static_cast<size_t>(index)];
    Out += "\\sectd";
    if (index > 0) {
      const TSectionStart start = newPage ? TSectionStart::NewPage : s.Start;
      Out += start == TSectionStart::Continuous ? "\\sbknone" : start == TSectionStart::NewColumn ? "\\sbkcol" : "\\sbkpage";
    }
    Out += Twips("\\pgwsxn", s.PageWidth) + Twips("\\pghsxn", s.PageHeight) + (s.Orientation == 1 ? "\\lndscpsxn" : "") +
           Twips("\\marglsxn", s.LeftMargin) + Twips("\\margrsxn", s.RightMargin) + Twips("\\margtsxn", s.TopMargin) +
           Twips("\\margbsxn", s.BottomMargin) + Twips("\\guttersxn", s.Gutter) + Twips("\\headery", s.HeaderDistance) +
           Twips("\\footery", s.FooterDistance);
    if (s.Columns > 1) Out += "\\cols" + std::to_string(s.Columns) + Twips("\\colsx", s.ColumnSpacing);
    if (s.LineBetween) Out += "\\linebetcol";
    const bool firstPageApart = index == 0 && Doc.PageNumbers.Present && !Doc.PageNumbers.FirstPage;
    if (firstPageApart) Out += "\\titlepg";
    Out += "\n";
    Footers(index, firstPageApart);
  }

  void Body() {
    const TStory& main = Doc.Main;
    bool newPage = false;
    int from = 0;
    for (int section = 0; section < static_cast<int>(Doc.Sections.size()); ++section) {
      int to = from;
      while (to < main.End() && main.Chars[static_cast<size_t>(to)].Kind != TElement::SectionBreak) ++to;
      const bool last = to >= main.End();
      to = last ? main.End() : to + 1;
      // A page break just before a section break is lost by readers: the
      // next section starts on a new page instead.
      const int breakAt = !last && to >= 2 && main.Chars[static_cast<size_t>(to - 2)].Kind == TElement::PageBreak ? to - 2 : -1;
      SectionFormat(section, newPage);
      Paragraphs(main, from, to, section, breakAt, false);
      newPage = breakAt >= 0;
      from = to;
      if (last) break;
    }
  }

  const TDocument& Doc;
  TPageMap Pages;
  std::string Out;
  std::vector<std::string> FontNames;
  std::map<int, std::string> Bookmarks;
  std::map<int, std::vector<const TShape*>> ShapesAt;
};

}  // namespace

std::string WriteRtf(const TDocument& document) { return TRtfWriter(document).Run(); }
