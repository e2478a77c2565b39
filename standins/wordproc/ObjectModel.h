// The Word 97 object model: the objects that the Application hands out,
// spread over OmApplication, OmDocument, OmRange and OmSelection.
#pragma once

#include <memory>
#include <string>

#include "Automation.h"
#include "Document.h"

// Word 97's enumerations, as far as the calls use them.
namespace Wd {
// WdUnits
inline constexpr int Character = 1;
inline constexpr int Word = 2;
inline constexpr int Paragraph = 4;
inline constexpr int Line = 5;
inline constexpr int Story = 6;
// WdMovementType
inline constexpr int Move = 0;
inline constexpr int Extend = 1;
// WdCollapseDirection
inline constexpr int CollapseEnd = 0;
inline constexpr int CollapseStart = 1;
// WdBreakType
inline constexpr int SectionBreakNextPage = 2;
inline constexpr int SectionBreakContinuous = 3;
inline constexpr int LineBreak = 6;
inline constexpr int PageBreak = 7;
inline constexpr int ColumnBreak = 8;
// WdGoToItem
inline constexpr int GoToSection = 0;
inline constexpr int GoToPage = 1;
// WdGoToDirection: first and absolute share 1, next and relative share 2.
inline constexpr int GoToAbsolute = 1;
inline constexpr int GoToNext = 2;
inline constexpr int GoToPrevious = 3;
inline constexpr int GoToLast = -1;
// WdFieldType
inline constexpr int FieldEmpty = -1;
inline constexpr int FieldNumPages = 26;
inline constexpr int FieldPage = 33;
// WdSaveFormat
inline constexpr int FormatDocument = 0;
inline constexpr int FormatRtf = 6;
// msoTriState / Boolean arguments.
inline constexpr long True = -1;
inline constexpr long False = 0;
}  // namespace Wd

using TDocumentRef = std::shared_ptr<TDocument>;

// Path of a document's object in the call log.
std::string DocumentPath(const TDocument& doc);

TComPtr<TAutoObject> NewDocumentObject(const TDocumentRef& doc);
TComPtr<TAutoObject> NewSelection();
TComPtr<TAutoObject> NewRange(const TDocumentRef& doc, TStory& story, int start, int end, const std::string& path);
TComPtr<TAutoObject> NewParagraphs(const TDocumentRef& doc, TStory& story, int start, int end, const std::string& path);
TComPtr<TAutoObject> NewWords(const TDocumentRef& doc, TStory& story, int start, int end, const std::string& path);
// The sections and page setup of [start, end) of the main text.
TComPtr<TAutoObject> NewSections(const TDocumentRef& doc, int start, int end, const std::string& path);
TComPtr<TAutoObject> NewPageSetup(const TDocumentRef& doc, int start, int end, const std::string& path);
TComPtr<TAutoObject> NewStyle(const TDocumentRef& doc, int style, const std::string& path);
TComPtr<TAutoObject> NewFields(const TDocumentRef& doc, const std::string& path);
TComPtr<TAutoObject> NewHeaderFooter(const TDocumentRef& doc, const std::string& path);

// A Range passed as an argument: its document and extent at the time of
// the call. Anything else is a type mismatch.
struct TRangeArg {
  TDocument* Doc;
  TStory* Story;
  int Start, End;
};
TRangeArg RangeArgument(const TCall& call, int index);
// A style passed as a Style object, a name or a Word number (wdStyle...).
int StyleArgument(TDocument& doc, const TCall& call, int index);
// Which style a Style object stands for, or -1 for another object.
int StyleOfObject(TAutoObject* object, const TDocument& doc);
// msoTrue is -1; any non-zero value counts as true.
inline bool TriState(long value) { return value != 0; }
