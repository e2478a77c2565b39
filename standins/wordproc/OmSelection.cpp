// Application.Selection (always the active document's), and the fields,
// header or footer and page numbers reached from it.
#include <algorithm>
#include <climits>
#include <optional>

#include "App.h"
#include "Commands.h"
#include "DateFormat.h"
#include "Navigation.h"
#include "ObjectModel.h"
#include "Picture.h"
#include "uChaines.h"

namespace {

constexpr int MaxPageNumberAlignment = 4;  // wdAlignPageNumberOutside
constexpr int PageNumberRight = 2;         // wdAlignPageNumberRight

TDocumentRef ActiveDoc() { return TWordApp::Instance().ActiveShared(); }

class TPageNumberObj : public TAutoClass<TPageNumberObj> {
 public:
  TPageNumberObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;
  static std::span<const TMember<TPageNumberObj>> Table() {
    static const TMember<TPageNumberObj> table[] = {
        {{L"Alignment", mkGet, L""}, [](TPageNumberObj& p, TCall& c) { c.Return(p.Doc->PageNumbers.Alignment); }},
    };
    return table;
  }
};

class TPageNumbersObj : public TAutoClass<TPageNumbersObj> {
 public:
  TPageNumbersObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;
  static std::span<const TMember<TPageNumbersObj>> Table() {
    static const TMember<TPageNumbersObj> table[] = {
        {{L"Add", mkMethod, L"PageNumberAlignment,FirstPage"},
         [](TPageNumbersObj& p, TCall& c) {
           const long alignment = c.Int(0, PageNumberRight);
           Check(alignment >= 0 && alignment <= MaxPageNumberAlignment);
           p.Doc->PageNumbers = TPageNumbers{true, static_cast<int>(alignment), TriState(c.Int(1, Wd::True))};
           c.ReturnObject(MakeObject<TPageNumberObj>(p.Doc, p.Path() + ".Item(1)").Get());
         }},
        {{L"Count", mkGet, L""}, [](TPageNumbersObj& p, TCall& c) { c.Return(p.Doc->PageNumbers.Present ? 1 : 0); }},
    };
    return table;
  }
};

class THeaderFooterObj : public TAutoClass<THeaderFooterObj> {
 public:
  THeaderFooterObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;
  static std::span<const TMember<THeaderFooterObj>> Table() {
    static const TMember<THeaderFooterObj> table[] = {
        {{L"PageNumbers", mkGet, L""},
         [](THeaderFooterObj& h, TCall& c) {
           c.ReturnObject(MakeObject<TPageNumbersObj>(h.Doc, h.Path() + ".PageNumbers").Get());
         }},
        {{L"Range", mkGet, L""},
         [](THeaderFooterObj& h, TCall& c) {
           c.ReturnObject(NewRange(h.Doc, h.Doc->Footer, 0, h.Doc->Footer.End(), h.Path() + ".Range").Get());
         }},
    };
    return table;
  }
};

class TFieldObj : public TAutoClass<TFieldObj> {
 public:
  TFieldObj(long type, std::string path) : TAutoClass(std::move(path)), Type(type) {}
  long Type;
  static std::span<const TMember<TFieldObj>> Table() {
    static const TMember<TFieldObj> table[] = {
        {{L"Type", mkGet, L""}, [](TFieldObj& f, TCall& c) { c.Return(f.Type); }},
    };
    return table;
  }
};

class TFieldsObj : public TAutoClass<TFieldsObj> {
 public:
  TFieldsObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;
  static std::span<const TMember<TFieldsObj>> Table() {
    static const TMember<TFieldsObj> table[] = {
        {{L"Add", mkMethod, L"Range,Type,Text,PreserveFormatting"},
         [](TFieldsObj& fs, TCall& c) {
           const TRangeArg range = RangeArgument(c, 0);
           if (range.Doc != fs.Doc.get())
             throw TAutoError(WordError::CommandFailed, "The range belongs to another document.");
           long type = c.Int(1, Wd::FieldEmpty);
           if (type == Wd::FieldEmpty) {
             const std::string code = c.Text(2, "");
             const std::string name = code.substr(0, code.find(' '));
             type = name == "NUMPAGES" ? Wd::FieldNumPages : name == "PAGE" ? Wd::FieldPage : Wd::FieldEmpty;
           }
           TField field;
           if (type == Wd::FieldNumPages)
             field.Type = TFieldType::NumPages;
           else if (type == Wd::FieldPage)
             field.Type = TFieldType::Page;
           else
             throw TAutoError(WordError::CommandFailed, "wordproc inserts page and page-count fields only (Type 33, 26).");
           // The field takes the place of the range.
           fs.Doc->Fields.push_back(field);
           TTracked at(*range.Story, range.Start, range.End);
           fs.Doc->InsertElement(at, TElement::Field, static_cast<int32_t>(fs.Doc->Fields.size() - 1));
           c.ReturnObject(MakeObject<TFieldObj>(type, fs.Path() + ".Item(" + std::to_string(fs.Doc->Fields.size()) + ")").Get());
         }},
        {{L"Count", mkGet, L""}, [](TFieldsObj& fs, TCall& c) { c.Return(static_cast<long>(fs.Doc->Fields.size())); }},
    };
    return table;
  }
};

bool ExtendArgument(const TCall& c, int index) {
  const long mode = c.Int(index, Wd::Move);
  Check(mode == Wd::Move || mode == Wd::Extend);
  return mode == Wd::Extend;
}

class TSelectionObj : public TAutoClass<TSelectionObj> {
 public:
  TSelectionObj() : TAutoClass("Application.Selection") {}
  static std::span<const TMember<TSelectionObj>> Table();
};

std::span<const TMember<TSelectionObj>> TSelectionObj::Table() {
  static const TMember<TSelectionObj> table[] = {
      {{L"Start", mkGet | mkPut, L""},
       [](TSelectionObj&, TCall& c) {
         TTracked& s = ActiveDoc()->Selection;
         if (c.IsPut())
           s.Set(std::clamp<int>(c.Int(TCall::PutValue), 0, s.End()), s.End());
         else
           c.Return(s.Start());
       }},
      {{L"End", mkGet | mkPut, L""},
       [](TSelectionObj&, TCall& c) {
         TTracked& s = ActiveDoc()->Selection;
         if (c.IsPut())
           s.Set(s.Start(), std::max<int>(c.Int(TCall::PutValue), s.Start()));
         else
           c.Return(s.End());
       }},
      {{L"StoryType", mkGet, L""},
       [](TSelectionObj&, TCall& c) { c.Return(static_cast<long>(ActiveDoc()->Selection.Story().Type)); }},
      {{L"Text", mkGet, L""},
       [](TSelectionObj&, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         c.ReturnText(d->Text(d->Selection.Story(), d->Selection.Start(), d->Selection.End()));
       }},
      {{L"Range", mkGet, L""},
       [](TSelectionObj& self, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         const TTracked& s = d->Selection;
         c.ReturnObject(NewRange(d, s.Story(), s.Start(), s.End(), self.Path() + ".Range").Get());
       }},
      {{L"EndKey", mkMethod, L"Unit,Extend"},
       [](TSelectionObj&, TCall& c) {
         TDocument& d = *ActiveDoc();
         const long unit = c.Int(0, Wd::Line);
         Check(unit == Wd::Line || unit == Wd::Story);
         const bool extend = ExtendArgument(c, 1);
         const TStory& story = d.Selection.Story();
         const int before = d.Selection.End();
         // Extending to the end of the story takes in its last paragraph mark.
         const int target = unit == Wd::Story ? (extend ? story.End() : story.End() - 1)
                                              : LineEnd(story, d.Selection.End());
         d.MoveSelection(target, extend);
         c.Return(std::abs(target - before));
       }},
      {{L"MoveLeft", mkMethod, L"Unit,Count,Extend"},
       [](TSelectionObj&, TCall& c) {
         TDocument& d = *ActiveDoc();
         const long unit = c.Int(0, Wd::Character), count = c.Int(1, 1);
         Check(unit == Wd::Character || unit == Wd::Word);
         Check(count >= 0);
         const bool extend = ExtendArgument(c, 2);
         int pos = d.Selection.Start();
         long moved = 0, left = count;
         // Without extending, a selection first collapses to its start: that is one move.
         if (!extend && !d.Selection.Collapsed() && left > 0) {
           --left;
           ++moved;
         }
         for (; left > 0 && pos > 0; --left, ++moved) pos = unit == Wd::Word ? WordLeft(d.Selection.Story(), pos) : pos - 1;
         d.MoveSelection(pos, extend);
         c.Return(moved);
       }},
      {{L"MoveUp", mkMethod, L"Unit,Count,Extend"},
       [](TSelectionObj&, TCall& c) {
         TDocument& d = *ActiveDoc();
         const long unit = c.Int(0, Wd::Line), count = c.Int(1, 1);
         Check(unit == Wd::Line || unit == Wd::Paragraph);
         Check(count >= 0);
         const bool extend = ExtendArgument(c, 2);
         const TStory& story = d.Selection.Story();
         int pos = d.Selection.Start();
         long moved = 0;
         for (; moved < count; ++moved) {
           const int next = unit == Wd::Line ? LineMove(story, pos, -1) : TDocument::ParagraphStart(story, pos);
           const int target = unit == Wd::Paragraph && next == pos && pos > 0 ? TDocument::ParagraphStart(story, pos - 1) : next;
           if (target == pos) break;
           pos = target;
         }
         d.MoveSelection(pos, extend);
         c.Return(moved);
       }},
      {{L"Collapse", mkMethod, L"Direction"},
       [](TSelectionObj&, TCall& c) {
         const long direction = c.Int(0, Wd::CollapseStart);
         Check(direction == Wd::CollapseStart || direction == Wd::CollapseEnd);
         CollapseSelection(*ActiveDoc(), direction == Wd::CollapseEnd);
       }},
      {{L"GoTo", mkMethod, L"What,Which,Count,Name"},
       [](TSelectionObj& self, TCall& c) {
         TDocumentRef d = ActiveDoc();
         const long what = c.Int(0, Wd::GoToPage), which = c.Int(1, Wd::GoToAbsolute), count = c.Int(2, 1);
         if (what != Wd::GoToPage && what != Wd::GoToSection)
           throw TAutoError(WordError::CommandFailed, "wordproc goes to pages and sections only.");
         const bool page = what == Wd::GoToPage;
         std::optional<TPageMap> pages;
         if (page) pages.emplace(*d);
         const int current = page ? PageOfSelection(*d, *pages) : d->SectionAt(d->Selection.Start()) + 1;
         const int total = page ? pages->Count() : static_cast<int>(d->Sections.size());
         long long target;
         // A name (Edit/Go To's "3", "+1") says where, whatever Which says.
         const std::string name = c.Text(3, "");
         if (!name.empty()) {
           int32_t n = 0;
           const bool relative = name[0] == '+' || name[0] == '-';
           if (!TryStrToInt(name[0] == '+' ? name.substr(1) : name, n))
             throw TAutoError(WordError::CommandFailed, "\"" + name + "\" is not a page or section number.");
           target = relative ? current + n : n;
         } else if (which == Wd::GoToAbsolute) {
           target = count;
         } else if (which == Wd::GoToNext) {
           target = current + count;
         } else if (which == Wd::GoToPrevious) {
           target = current - count;
         } else if (which == Wd::GoToLast) {
           target = total;
         } else {
           throw TAutoError(WordError::OutOfRange, "Value out of range.");
         }
         if (page) {
           GoToPage(*d, *pages, static_cast<int>(std::clamp<long long>(target, 0, INT_MAX)));
         } else {
           if (target < 1 || target > total) throw TAutoError(WordError::OutOfRange, "There is no such section.");
           GoToSection(*d, static_cast<int>(target));
         }
         c.ReturnObject(NewRange(d, d->Main, d->Selection.Start(), d->Selection.Start(), self.Path() + ".Range").Get());
       }},
      {{L"TypeText", mkMethod, L"Text"}, [](TSelectionObj&, TCall& c) { TypeText(*ActiveDoc(), c.Text(0)); }},
      {{L"InsertBreak", mkMethod, L"Type"},
       [](TSelectionObj&, TCall& c) {
         TDocument& d = *ActiveDoc();
         switch (c.Int(0, Wd::PageBreak)) {
           case Wd::PageBreak: InsertBreak(d, TElement::PageBreak); break;
           case Wd::ColumnBreak: InsertBreak(d, TElement::ColumnBreak); break;
           case Wd::LineBreak: InsertBreak(d, TElement::LineBreak); break;
           case Wd::SectionBreakNextPage:
           case Wd::SectionBreakContinuous: {
             if (InFooter(d)) throw TAutoError(WordError::NotAvailable, "A section break cannot go in a footer.");
             if (!d.Selection.Collapsed()) d.Delete(d.Main, d.Selection.Start(), d.Selection.End());
             d.InsertSectionBreak(d.Selection.Start(), c.Int(0) == Wd::SectionBreakNextPage ? TSectionStart::NewPage
                                                                                             : TSectionStart::Continuous);
             break;
           }
           default: Check(false);
         }
       }},
      {{L"InsertDateTime", mkMethod, L"DateTimeFormat,InsertAsField"},
       [](TSelectionObj&, TCall& c) {
         if (TriState(c.Int(1, Wd::False)))
           throw TAutoError(WordError::CommandFailed, "wordproc inserts the date as text only (InsertAsField = False).");
         SYSTEMTIME now;
         GetLocalTime(&now);
         TypeText(*ActiveDoc(), FormatDateTime(c.Text(0, "jj/MM/aa"), now));
       }},
      {{L"InsertFile", mkMethod, L"FileName,Range,ConfirmConversions,Link,Attachment"},
       [](TSelectionObj&, TCall& c) {
         if (!c.Text(1, "").empty() || TriState(c.Int(3, Wd::False)) || TriState(c.Int(4, Wd::False)))
           throw TAutoError(WordError::CommandFailed, "wordproc inserts whole files only, without links.");
         InsertFile(*ActiveDoc(), c.Text(0));
       }},
      {{L"Fields", mkGet, L""},
       [](TSelectionObj& self, TCall& c) { c.ReturnObject(NewFields(ActiveDoc(), self.Path() + ".Fields").Get()); }},
      {{L"HeaderFooter", mkGet, L""},
       [](TSelectionObj& self, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         if (!InFooter(*d)) throw TAutoError(WordError::NotAvailable, "The selection is not in a header or footer.");
         c.ReturnObject(NewHeaderFooter(d, self.Path() + ".HeaderFooter").Get());
       }},
      {{L"Style", mkGet | mkPut, L""},
       [](TSelectionObj& self, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         TTracked& s = d->Selection;
         if (c.IsPut()) {
           d->ApplyParagraphStyle(s.Story(), s.Start(), s.End(), StyleArgument(*d, c, TCall::PutValue));
           return;
         }
         c.ReturnObject(NewStyle(d, d->ParagraphFormat(s.Story(), s.Start()).Style, self.Path() + ".Style").Get());
       }},
      {{L"Sections", mkGet, L""},
       [](TSelectionObj& self, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         const TTracked& s = InFooter(*d) ? d->MainSelection : d->Selection;
         c.ReturnObject(NewSections(d, s.Start(), s.End(), self.Path() + ".Sections").Get());
       }},
      {{L"Words", mkGet, L""},
       [](TSelectionObj& self, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         TTracked& s = d->Selection;
         c.ReturnObject(NewWords(d, s.Story(), s.Start(), s.End(), self.Path() + ".Words").Get());
       }},
      {{L"Paragraphs", mkGet, L""},
       [](TSelectionObj& self, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         TTracked& s = d->Selection;
         c.ReturnObject(NewParagraphs(d, s.Story(), s.Start(), s.End(), self.Path() + ".Paragraphs").Get());
       }},
      {{L"WholeStory", mkMethod, L""},
       [](TSelectionObj&, TCall&) {
         TTracked& s = ActiveDoc()->Selection;
         s.Set(0, s.Story().End());
       }},
      {{L"LanguageID", mkGet | mkPut, L""},
       [](TSelectionObj&, TCall& c) {
         const TDocumentRef d = ActiveDoc();
         TTracked& s = d->Selection;
         if (c.IsPut()) {
           d->ApplyLanguage(s.Story(), s.Start(), s.End(), static_cast<int>(c.Int(TCall::PutValue)));
           return;
         }
         c.Return(d->CharFormats[s.Story().Chars[static_cast<size_t>(std::min(s.Start(), s.Story().End() - 1))].Format].Language);
       }},
  };
  return table;
}

}  // namespace

TComPtr<TAutoObject> NewSelection() { return MakeAuto<TSelectionObj>(); }

TComPtr<TAutoObject> NewFields(const TDocumentRef& doc, const std::string& path) { return MakeAuto<TFieldsObj>(doc, path); }

TComPtr<TAutoObject> NewHeaderFooter(const TDocumentRef& doc, const std::string& path) {
  return MakeAuto<THeaderFooterObj>(doc, path);
}
