// The word processor's document: stories of characters as Word counts them
// (one position per character, paragraph mark, break, picture or field),
// paragraph and character formats, sections with their page setup and
// columns, styles, pictures, floating shapes and the footer. Positions are
// what the automation clients see as selection starts and range ends.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "Measure.h"

// What one position of a story holds.
enum class TElement : uint8_t {
  Text,
  ParagraphEnd,
  SectionBreak,  // ends a paragraph and the section that holds it
  PageBreak,
  ColumnBreak,
  LineBreak,
  Picture,  // an inline picture: Ref indexes TDocument::Pictures
  Field,    // Ref indexes TDocument::Fields
};

// The characters that stand for the elements in inserted text and in the
// text a client reads back.
inline constexpr char ParagraphChar = '\r';
inline constexpr char PageBreakChar = '\f';
inline constexpr char ColumnBreakChar = '\x0E';
inline constexpr char LineBreakChar = '\x0B';
inline constexpr char ObjectChar = '\x01';
inline constexpr char FieldChar = '\x13';

struct TChar {
  char Ch;
  TElement Kind;
  uint16_t Format;  // index into TDocument::CharFormats
  int32_t Ref;      // paragraph marks: TDocument::ParaFormats; pictures, fields: their tables
};

// Word's story numbers (wdMainTextStory, wdPrimaryFooterStory).
enum class TStoryType { Main = 1, PrimaryFooter = 9 };

class TTracked;

struct TStory {
  explicit TStory(TStoryType type) : Type(type) {}
  TStory(const TStory&) = delete;
  TStory& operator=(const TStory&) = delete;
  TStoryType Type;
  // Never empty: the last character is the story's final paragraph mark.
  std::vector<TChar> Chars;
  // The ranges that follow this story's edits.
  std::vector<TTracked*> Trackers;
  int End() const { return static_cast<int>(Chars.size()); }
};

// A range of a story that moves with the edits of the text, as Word's
// ranges, the selection and the anchors of shapes do.
class TTracked {
 public:
  TTracked(TStory& story, int start, int end);
  ~TTracked();
  TTracked(const TTracked&) = delete;
  TTracked& operator=(const TTracked&) = delete;

  void Set(TStory& story, int start, int end);
  void Set(int start, int end) { Set(*S, start, end); }
  TStory& Story() const { return *S; }
  int Start() const { return From; }
  int End() const { return To; }
  bool Collapsed() const { return From == To; }

  // Called by the story's edits.
  void Inserted(int at, int count);
  void Deleted(int from, int to);

 private:
  TStory* S;
  int From, To;
};

// Word's numbers for built-in styles.
namespace StyleId {
inline constexpr int Normal = -1;
inline constexpr int Heading1 = -2;
inline constexpr int Heading2 = -3;
inline constexpr int Heading3 = -4;
inline constexpr int Toc1 = -20;
inline constexpr int Toc2 = -21;
inline constexpr int Toc3 = -22;
inline constexpr int Footer = -33;
inline constexpr int DefaultParagraphFont = -66;
inline constexpr int User = 0;
}  // namespace StyleId

// wdStyleTypeParagraph, wdStyleTypeCharacter.
enum class TStyleType { Paragraph = 1, Character = 2 };

// Paragraph alignment, Word's numbers (wdAlignParagraph...).
namespace Align {
inline constexpr int Left = 0;
inline constexpr int Center = 1;
inline constexpr int Right = 2;
inline constexpr int Justify = 3;
inline constexpr int FromStyle = -1;
}  // namespace Align

struct TStyle {
  int Id = StyleId::User;
  std::string LocalName;  // as the French Word names it ("Titre 1")
  std::string RtfName;    // as documents name it ("heading 1")
  TStyleType Type = TStyleType::Paragraph;
  std::string Font;       // empty: the Normal style's
  double Size = 0;        // points; 0: the Normal style's
  bool Bold = false;
  int Alignment = Align::Left;
  double SpaceBefore = 0, SpaceAfter = 0, LeftIndent = 0;
  bool KeepWithNext = false;
  int OutlineLevel = -1;  // 0 for a level-1 heading, -1 for body text
};

struct TCharFormat {
  std::string Font;    // empty: the paragraph style's
  double Size = 0;     // points; 0: the paragraph style's
  int CharStyle = -1;  // index into TDocument::Styles
  int Language = 0;    // 1024: no proofing
  bool operator==(const TCharFormat&) const = default;
};

struct TParaFormat {
  int Style = 0;  // index into TDocument::Styles
  int Alignment = Align::FromStyle;
  bool operator==(const TParaFormat&) const = default;
};

// Word's limits, whichever dialect asks: the largest heading level of a
// table of contents, font size, page or picture side, and column count.
namespace WordLimit {
inline constexpr int MaxHeadingLevel = 9;
inline constexpr double MaxFontSize = 1638;
inline constexpr double MaxLength = 22 * PointsPerInch;
inline constexpr int MaxColumns = 45;
}  // namespace WordLimit

// wdSectionContinuous, wdSectionNewColumn, wdSectionNewPage.
enum class TSectionStart { Continuous = 0, NewColumn = 1, NewPage = 2 };

// Page setup and columns of one section; lengths in points. A new document
// is A4 upright with the French Word's margins: 2.5 cm, header and footer
// at 1.25 cm, columns 1.25 cm apart.
struct TSection {
  double PageWidth = 21 * PointsPerCm, PageHeight = 29.7 * PointsPerCm;
  int Orientation = 0;  // wdOrientPortrait; 1 landscape
  double TopMargin = 2.5 * PointsPerCm, BottomMargin = 2.5 * PointsPerCm, LeftMargin = 2.5 * PointsPerCm,
         RightMargin = 2.5 * PointsPerCm, Gutter = 0;
  double HeaderDistance = 1.25 * PointsPerCm, FooterDistance = 1.25 * PointsPerCm;
  int Columns = 1;
  double ColumnSpacing = 1.25 * PointsPerCm;
  bool EvenlySpaced = true, LineBetween = false;
  TSectionStart Start = TSectionStart::NewPage;

  double TextWidth() const { return PageWidth - LeftMargin - RightMargin - Gutter; }
  double TextHeight() const { return PageHeight - TopMargin - BottomMargin; }
  double ColumnWidth() const { return (TextWidth() - (Columns - 1) * ColumnSpacing) / Columns; }
};

enum class TPictureFormat { Emf, Dib, Png };

struct TPicture {
  TPictureFormat Format = TPictureFormat::Emf;
  std::string Data;  // the whole metafile or PNG file; a DIB without its file header
  int PixelWidth = 0, PixelHeight = 0;
  double NaturalWidth = 0, NaturalHeight = 0;  // points
  double Width = 0, Height = 0;                // points, as shown
  std::string Source;                          // file name, or "clipboard"
};

// A picture floating over the text, anchored to the paragraph of a position.
struct TShape {
  int Picture = 0;
  std::unique_ptr<TTracked> Anchor;
  double Left = 0, Top = 0;
  bool LockAspectRatio = false, LockAnchor = false;
};

enum class TFieldType { NumPages, Page, Toc };

struct TField {
  TFieldType Type = TFieldType::Page;
  int From = 1, To = 9;  // heading levels of a table of contents
  bool RightAlignPageNumbers = true, IncludePageNumbers = true;
};

// Page numbers that the footer shows (wdAlignPageNumber...: 0 left,
// 1 centre, 2 right, 3 inside, 4 outside).
struct TPageNumbers {
  bool Present = false;
  int Alignment = 2;  // right
  bool FirstPage = true;
};

// Word's view types (wdNormalView, wdOutlineView, wdPageView) and the seek
// views used here (wdSeekMainDocument, wdSeekCurrentPageFooter).
namespace View {
inline constexpr int Normal = 1;
inline constexpr int Outline = 2;
inline constexpr int Page = 3;
inline constexpr int Master = 5;
inline constexpr int SeekMain = 0;
inline constexpr int SeekPrimaryFooter = 4;
inline constexpr int SeekCurrentPageFooter = 10;
}  // namespace View

class TDocument {
 public:
  explicit TDocument(std::string name);
  TDocument(const TDocument&) = delete;
  TDocument& operator=(const TDocument&) = delete;

  std::string Name;
  TStory Main{TStoryType::Main};
  TStory Footer{TStoryType::PrimaryFooter};
  // One per section break of the main story, then the last section.
  std::vector<TSection> Sections;
  std::vector<TStyle> Styles;
  std::vector<TCharFormat> CharFormats;
  std::vector<TParaFormat> ParaFormats;
  std::vector<TPicture> Pictures;
  std::vector<std::unique_ptr<TShape>> Shapes;
  std::vector<TField> Fields;
  TPageNumbers PageNumbers;
  int TemplateLanguage = 0;
  int ViewType = View::Normal;
  // Counts the edits, so that the window knows when to show the text again.
  unsigned long Revision = 0;
  // The selection, and where it stood in the main text while it is in the footer.
  TTracked Selection{Main, 0, 0};
  TTracked MainSelection{Main, 0, 0};
  // The selection moves to pos, or its end does when the move extends it.
  void MoveSelection(int pos, bool extend) {
    if (extend)
      Selection.Set(std::min(Selection.Start(), pos), std::max(Selection.Start(), pos));
    else
      Selection.Set(pos, pos);
  }

  // ---- Structure (Document.cpp)
  uint16_t InternCharFormat(const TCharFormat& format);
  int32_t InternParaFormat(const TParaFormat& format);
  // The style of that Word number, or of that name (French or document name,
  // letter case ignored); -1 when there is none.
  int StyleById(int id) const;
  int StyleByName(const std::string& name) const;
  int AddStyle(const std::string& name, TStyleType type);
  static bool IsMark(const TChar& c) { return c.Kind == TElement::ParagraphEnd || c.Kind == TElement::SectionBreak; }
  // Start of the paragraph that holds pos, and the position of its mark.
  static int ParagraphStart(const TStory& story, int pos);
  static int ParagraphMark(const TStory& story, int pos);
  // The marks of the paragraphs that [from, to) touches.
  static std::vector<int> ParagraphMarks(const TStory& story, int from, int to);
  const TParaFormat& ParagraphFormat(const TStory& story, int pos) const;
  const TStyle& ParagraphStyle(const TStory& story, int pos) const;
  // The section that holds a position of the main text.
  int SectionAt(int pos) const;
  int SectionStart(int section) const;
  // The text of [from, to) with elements as their characters.
  std::string Text(const TStory& story, int from, int to) const;
  // The first inline picture in [from, to], or -1.
  int PictureIn(const TStory& story, int from, int to) const;

  // ---- Edits (Editing.cpp). Each adjusts every tracked range of the story.
  // Replaces the range's text with the text given (CR: paragraph, FF: page
  // break, 14: column break, 11: line break); the range ends up around the
  // new text. Returns the end of the new text.
  int InsertText(TTracked& range, const std::string& text);
  // Replaces the range by one element, which the range then holds.
  void InsertElement(TTracked& range, TElement kind, int32_t ref);
  // A section break before pos in the main text; the new section (after
  // the break) starts as given. Returns its index.
  int InsertSectionBreak(int pos, TSectionStart start);
  // Removes [from, to); the final paragraph mark stays.
  void Delete(TStory& story, int from, int to);
  void ApplyParagraphStyle(TStory& story, int from, int to, int style);
  void ApplyCharacterStyle(TStory& story, int from, int to, int style);
  void ApplyAlignment(TStory& story, int from, int to, int alignment);
  void ApplyFont(TStory& story, int from, int to, const std::string& font, double size);
  void ApplyLanguage(TStory& story, int from, int to, int language);
  // Makes [from, to) of the main text whole sections, adding section breaks
  // of the kind given where it starts or ends inside one; returns the
  // first and last section indexes.
  std::pair<int, int> IsolateSections(int from, int to, TSectionStart start);
  // Applies a change of page setup to every section.
  template <class F>
  void ForSections(int first, int last, F change) {
    for (int i = first; i <= last; ++i) change(Sections[static_cast<size_t>(i)]);
  }

 private:
  void InsertChars(TStory& story, int pos, const std::vector<TChar>& chars);
};
