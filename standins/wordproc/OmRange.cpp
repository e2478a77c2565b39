// Ranges and what they lead to: paragraphs, words, sections, page setup
// and text columns.
#include <algorithm>

#include "App.h"
#include "Navigation.h"
#include "ObjectModel.h"

namespace {

[[noreturn]] void NoSuchItem() {
  throw TAutoError(WordError::NoSuchMember, "The requested member of the collection does not exist.");
}

std::string Numbered(const std::string& path, const char* member, long index) {
  return path + "." + member + "(" + std::to_string(index) + ")";
}

class TRangeObj : public TAutoClass<TRangeObj> {
 public:
  TRangeObj(const TDocumentRef& doc, TStory& story, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(story, start, end) {}
  TDocumentRef Doc;
  TTracked R;
  static std::span<const TMember<TRangeObj>> Table();
};

std::span<const TMember<TRangeObj>> TRangeObj::Table() {
  static const TMember<TRangeObj> table[] = {
      {{L"Start", mkGet | mkPut, L""},
       [](TRangeObj& r, TCall& c) {
         if (c.IsPut())
           r.R.Set(std::clamp<int>(c.Int(TCall::PutValue), 0, r.R.End()), r.R.End());
         else
           c.Return(r.R.Start());
       }},
      {{L"End", mkGet | mkPut, L""},
       [](TRangeObj& r, TCall& c) {
         if (c.IsPut())
           r.R.Set(r.R.Start(), std::max<int>(c.Int(TCall::PutValue), r.R.Start()));
         else
           c.Return(r.R.End());
       }},
      {{L"StoryType", mkGet, L""}, [](TRangeObj& r, TCall& c) { c.Return(static_cast<long>(r.R.Story().Type)); }},
      {{L"Text", mkGet, L""}, [](TRangeObj& r, TCall& c) { c.ReturnText(r.Doc->Text(r.R.Story(), r.R.Start(), r.R.End())); }},
      {{L"Style", mkGet | mkPut, L""},
       [](TRangeObj& r, TCall& c) {
         if (c.IsPut()) {
           r.Doc->ApplyParagraphStyle(r.R.Story(), r.R.Start(), r.R.End(), StyleArgument(*r.Doc, c, TCall::PutValue));
           return;
         }
         const int style = r.Doc->ParagraphFormat(r.R.Story(), r.R.Start()).Style;
         c.ReturnObject(NewStyle(r.Doc, style, r.Path() + ".Style").Get());
       }},
      {{L"InsertAfter", mkMethod, L"Text"},
       [](TRangeObj& r, TCall& c) {
         // The range grows over the new text.
         const int start = r.R.Start();
         TTracked at(r.R.Story(), r.R.End(), r.R.End());
         const int end = r.Doc->InsertText(at, c.Text(0));
         r.R.Set(start, end);
       }},
      {{L"Paragraphs", mkGet, L""},
       [](TRangeObj& r, TCall& c) {
         c.ReturnObject(NewParagraphs(r.Doc, r.R.Story(), r.R.Start(), r.R.End(), r.Path() + ".Paragraphs").Get());
       }},
      {{L"PageSetup", mkGet, L""},
       [](TRangeObj& r, TCall& c) {
         if (r.R.Story().Type != TStoryType::Main)
           throw TAutoError(WordError::NotAvailable, "A header or footer has no page setup of its own.");
         c.ReturnObject(NewPageSetup(r.Doc, r.R.Start(), r.R.End(), r.Path() + ".PageSetup").Get());
       }},
      {{L"Sections", mkGet, L""},
       [](TRangeObj& r, TCall& c) {
         const bool main = r.R.Story().Type == TStoryType::Main;
         c.ReturnObject(NewSections(r.Doc, main ? r.R.Start() : 0, main ? r.R.End() : 0, r.Path() + ".Sections").Get());
       }},
      {{L"Select", mkMethod, L""},
       [](TRangeObj& r, TCall&) {
         TWordApp::Instance().Activate(r.Doc);
         r.Doc->Selection.Set(r.R.Story(), r.R.Start(), r.R.End());
       }},
  };
  return table;
}

class TParagraphObj : public TAutoClass<TParagraphObj> {
 public:
  TParagraphObj(const TDocumentRef& doc, TStory& story, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(story, start, end) {}
  TDocumentRef Doc;
  TTracked R;

  static std::span<const TMember<TParagraphObj>> Table() {
    static const TMember<TParagraphObj> table[] = {
        {{L"Alignment", mkGet | mkPut, L""},
         [](TParagraphObj& p, TCall& c) {
           if (c.IsPut()) {
             const long alignment = c.Int(TCall::PutValue);
             Check(alignment >= Align::Left && alignment <= Align::Justify);
             p.Doc->ApplyAlignment(p.R.Story(), p.R.Start(), p.R.Start(), static_cast<int>(alignment));
             return;
           }
           const TParaFormat& f = p.Doc->ParagraphFormat(p.R.Story(), p.R.Start());
           c.Return(f.Alignment == Align::FromStyle ? p.Doc->Styles[static_cast<size_t>(f.Style)].Alignment : f.Alignment);
         }},
        {{L"Range", mkGet, L""},
         [](TParagraphObj& p, TCall& c) {
           c.ReturnObject(NewRange(p.Doc, p.R.Story(), p.R.Start(), p.R.End(), p.Path() + ".Range").Get());
         }},
    };
    return table;
  }
};

// The paragraphs or words of a range, counted when they are asked for.
class TParagraphsObj : public TAutoClass<TParagraphsObj> {
 public:
  TParagraphsObj(const TDocumentRef& doc, TStory& story, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(story, start, end) {}
  TDocumentRef Doc;
  TTracked R;

  std::vector<int> Marks() const { return TDocument::ParagraphMarks(R.Story(), R.Start(), R.End()); }

  static std::span<const TMember<TParagraphsObj>> Table() {
    static const TMember<TParagraphsObj> table[] = {
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TParagraphsObj& ps, TCall& c) {
           const long index = c.Int(0);
           const std::vector<int> marks = ps.Marks();
           if (index < 1 || index > static_cast<long>(marks.size())) NoSuchItem();
           const int mark = marks[static_cast<size_t>(index - 1)];
           const int start = TDocument::ParagraphStart(ps.R.Story(), mark);
           c.ReturnObject(
               MakeObject<TParagraphObj>(ps.Doc, ps.R.Story(), start, mark + 1, Numbered(ps.Path(), "Item", index)).Get());
         }},
        {{L"Count", mkGet, L""}, [](TParagraphsObj& ps, TCall& c) { c.Return(static_cast<long>(ps.Marks().size())); }},
    };
    return table;
  }
};

class TWordsObj : public TAutoClass<TWordsObj> {
 public:
  TWordsObj(const TDocumentRef& doc, TStory& story, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(story, start, end) {}
  TDocumentRef Doc;
  TTracked R;

  // The words that [start, end) touches, with their trailing spaces.
  std::vector<std::pair<int, int>> Words() const {
    std::vector<std::pair<int, int>> words;
    int pos = R.Start();
    do {
      const auto word = WordWithSpaces(R.Story(), pos);
      words.push_back(word);
      if (word.second <= pos) break;
      pos = word.second;
    } while (pos < R.End());
    return words;
  }

  static std::span<const TMember<TWordsObj>> Table() {
    static const TMember<TWordsObj> table[] = {
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TWordsObj& ws, TCall& c) {
           const long index = c.Int(0);
           const auto words = ws.Words();
           if (index < 1 || index > static_cast<long>(words.size())) NoSuchItem();
           const auto [from, to] = words[static_cast<size_t>(index - 1)];
           c.ReturnObject(NewRange(ws.Doc, ws.R.Story(), from, to, Numbered(ws.Path(), "Item", index)).Get());
         }},
        {{L"Count", mkGet, L""}, [](TWordsObj& ws, TCall& c) { c.Return(static_cast<long>(ws.Words().size())); }},
    };
    return table;
  }
};

// ---------------------------------------------------------------- page setup

// The sections of [start, end) of the main text. A change that covers part
// of a section first makes that part a section of its own, as Word does.
std::pair<int, int> SectionsOf(TDocument& doc, const TTracked& r, bool change, TSectionStart start) {
  if (change) return doc.IsolateSections(r.Start(), r.End(), start);
  return {doc.SectionAt(r.Start()), doc.SectionAt(std::max(r.Start(), r.End() - 1))};
}

// Applies a change to the sections of a range once it is known to leave
// room for text in every one of them.
template <class F>
void ChangeSections(TDocument& doc, const TTracked& r, TSectionStart start, F change) {
  auto [first, last] = SectionsOf(doc, r, false, start);
  for (int i = first; i <= last; ++i) {
    TSection s = doc.Sections[static_cast<size_t>(i)];
    change(s);
    if (s.ColumnWidth() <= 0 || s.TextHeight() <= 0)
      throw TAutoError(WordError::OutOfRange, "The margins leave no room for text on the page.");
  }
  std::tie(first, last) = SectionsOf(doc, r, true, start);
  doc.ForSections(first, last, change);
}

class TTextColumnObj : public TAutoClass<TTextColumnObj> {
 public:
  TTextColumnObj(const TDocumentRef& doc, int start, int end, long index, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(doc->Main, start, end), Index(index) {}
  TDocumentRef Doc;
  TTracked R;
  long Index;

  const TSection& Section() const { return Doc->Sections[static_cast<size_t>(Doc->SectionAt(R.Start()))]; }

  static std::span<const TMember<TTextColumnObj>> Table() {
    static const TMember<TTextColumnObj> table[] = {
        {{L"Width", mkGet, L""},
         [](TTextColumnObj& col, TCall& c) { c.ReturnSingle(static_cast<float>(col.Section().ColumnWidth())); }},
        {{L"SpaceAfter", mkGet, L""},
         [](TTextColumnObj& col, TCall& c) {
           const TSection& s = col.Section();
           c.ReturnSingle(static_cast<float>(col.Index < s.Columns ? s.ColumnSpacing : 0));
         }},
    };
    return table;
  }
};

class TTextColumnsObj : public TAutoClass<TTextColumnsObj> {
 public:
  TTextColumnsObj(const TDocumentRef& doc, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(doc->Main, start, end) {}
  TDocumentRef Doc;
  TTracked R;

  const TSection& First() const { return Doc->Sections[static_cast<size_t>(Doc->SectionAt(R.Start()))]; }
  template <class F>
  void Change(F change) {
    ChangeSections(*Doc, R, TSectionStart::Continuous, change);
  }

  static std::span<const TMember<TTextColumnsObj>> Table() {
    static const TMember<TTextColumnsObj> table[] = {
        {{L"SetCount", mkMethod, L"NumColumns"},
         [](TTextColumnsObj& cols, TCall& c) {
           const long n = c.Int(0);
           Check(n >= 1 && n <= WordLimit::MaxColumns);
           cols.Change([&](TSection& s) {
             s.Columns = static_cast<int>(n);
             s.EvenlySpaced = true;
           });
         }},
        {{L"Count", mkGet, L""}, [](TTextColumnsObj& cols, TCall& c) { c.Return(cols.First().Columns); }},
        {{L"EvenlySpaced", mkGet | mkPut, L""},
         [](TTextColumnsObj& cols, TCall& c) {
           if (c.IsPut())
             cols.Change([&](TSection& s) { s.EvenlySpaced = TriState(c.Int(TCall::PutValue)); });
           else
             c.Return(cols.First().EvenlySpaced ? -1 : 0);
         }},
        {{L"LineBetween", mkGet | mkPut, L""},
         [](TTextColumnsObj& cols, TCall& c) {
           if (c.IsPut())
             cols.Change([&](TSection& s) { s.LineBetween = TriState(c.Int(TCall::PutValue)); });
           else
             c.Return(cols.First().LineBetween ? -1 : 0);
         }},
        {{L"Spacing", mkGet | mkPut, L""},
         [](TTextColumnsObj& cols, TCall& c) {
           if (!c.IsPut()) {
             c.ReturnSingle(static_cast<float>(cols.First().ColumnSpacing));
             return;
           }
           const double spacing = c.Real(TCall::PutValue);
           Check(spacing >= 0 && spacing <= WordLimit::MaxLength);
           cols.Change([&](TSection& s) { s.ColumnSpacing = spacing; });
         }},
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TTextColumnsObj& cols, TCall& c) {
           const long index = c.Int(0);
           if (index < 1 || index > cols.First().Columns) NoSuchItem();
           c.ReturnObject(MakeObject<TTextColumnObj>(cols.Doc, cols.R.Start(), cols.R.End(), index,
                                                     Numbered(cols.Path(), "Item", index))
                              .Get());
         }},
    };
    return table;
  }
};

class TPageSetupObj : public TAutoClass<TPageSetupObj> {
 public:
  TPageSetupObj(const TDocumentRef& doc, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(doc->Main, start, end) {}
  TDocumentRef Doc;
  TTracked R;

  const TSection& First() const { return Doc->Sections[static_cast<size_t>(Doc->SectionAt(R.Start()))]; }

  // A length of the page setup: read from the first section, written to all.
  template <double TSection::*Field>
  static void Length(TPageSetupObj& ps, TCall& c) {
    if (!c.IsPut()) {
      c.ReturnSingle(static_cast<float>(ps.First().*Field));
      return;
    }
    const double value = c.Real(TCall::PutValue);
    Check(value >= 0 && value <= WordLimit::MaxLength);
    ChangeSections(*ps.Doc, ps.R, TSectionStart::NewPage, [&](TSection& s) { s.*Field = value; });
  }

  static std::span<const TMember<TPageSetupObj>> Table() {
    static const TMember<TPageSetupObj> table[] = {
        {{L"Orientation", mkGet | mkPut, L""},
         [](TPageSetupObj& ps, TCall& c) {
           if (!c.IsPut()) {
             c.Return(ps.First().Orientation);
             return;
           }
           const long orientation = c.Int(TCall::PutValue);
           Check(orientation == 0 || orientation == 1);
           // Turning the page swaps its sides.
           ChangeSections(*ps.Doc, ps.R, TSectionStart::NewPage, [&](TSection& s) {
             if (s.Orientation == orientation) return;
             s.Orientation = static_cast<int>(orientation);
             std::swap(s.PageWidth, s.PageHeight);
           });
         }},
        {{L"TopMargin", mkGet | mkPut, L""}, &Length<&TSection::TopMargin>},
        {{L"BottomMargin", mkGet | mkPut, L""}, &Length<&TSection::BottomMargin>},
        {{L"LeftMargin", mkGet | mkPut, L""}, &Length<&TSection::LeftMargin>},
        {{L"RightMargin", mkGet | mkPut, L""}, &Length<&TSection::RightMargin>},
        {{L"Gutter", mkGet | mkPut, L""}, &Length<&TSection::Gutter>},
        {{L"HeaderDistance", mkGet | mkPut, L""}, &Length<&TSection::HeaderDistance>},
        {{L"FooterDistance", mkGet | mkPut, L""}, &Length<&TSection::FooterDistance>},
        {{L"PageWidth", mkGet | mkPut, L""}, &Length<&TSection::PageWidth>},
        {{L"PageHeight", mkGet | mkPut, L""}, &Length<&TSection::PageHeight>},
        {{L"TextColumns", mkGet, L""},
         [](TPageSetupObj& ps, TCall& c) {
           c.ReturnObject(MakeObject<TTextColumnsObj>(ps.Doc, ps.R.Start(), ps.R.End(), ps.Path() + ".TextColumns").Get());
         }},
    };
    return table;
  }
};

class TSectionObj : public TAutoClass<TSectionObj> {
 public:
  TSectionObj(const TDocumentRef& doc, int index, std::string path)
      : TAutoClass(std::move(path)),
        Doc(doc),
        R(doc->Main, doc->SectionStart(index),
          index + 1 < static_cast<int>(doc->Sections.size()) ? doc->SectionStart(index + 1) : doc->Main.End()) {}
  TDocumentRef Doc;
  TTracked R;

  static std::span<const TMember<TSectionObj>> Table() {
    static const TMember<TSectionObj> table[] = {
        {{L"PageSetup", mkGet, L""},
         [](TSectionObj& s, TCall& c) {
           c.ReturnObject(NewPageSetup(s.Doc, s.R.Start(), s.R.End(), s.Path() + ".PageSetup").Get());
         }},
        {{L"Range", mkGet, L""},
         [](TSectionObj& s, TCall& c) {
           c.ReturnObject(NewRange(s.Doc, s.Doc->Main, s.R.Start(), s.R.End(), s.Path() + ".Range").Get());
         }},
    };
    return table;
  }
};

class TSectionsObj : public TAutoClass<TSectionsObj> {
 public:
  TSectionsObj(const TDocumentRef& doc, int start, int end, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), R(doc->Main, start, end) {}
  TDocumentRef Doc;
  TTracked R;

  std::pair<int, int> Span() const { return {Doc->SectionAt(R.Start()), Doc->SectionAt(std::max(R.Start(), R.End() - 1))}; }
  void Give(TCall& c, long index, const std::string& path) {
    const auto [first, last] = Span();
    if (index < 1 || first + index - 1 > last) NoSuchItem();
    c.ReturnObject(MakeObject<TSectionObj>(Doc, first + static_cast<int>(index) - 1, path).Get());
  }

  static std::span<const TMember<TSectionsObj>> Table() {
    static const TMember<TSectionsObj> table[] = {
        {{L"First", mkGet, L""}, [](TSectionsObj& ss, TCall& c) { ss.Give(c, 1, ss.Path() + ".First"); }},
        {{L"Last", mkGet, L""},
         [](TSectionsObj& ss, TCall& c) {
           const auto [first, last] = ss.Span();
           ss.Give(c, last - first + 1, ss.Path() + ".Last");
         }},
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TSectionsObj& ss, TCall& c) { ss.Give(c, c.Int(0), Numbered(ss.Path(), "Item", c.Int(0))); }},
        {{L"Count", mkGet, L""},
         [](TSectionsObj& ss, TCall& c) {
           const auto [first, last] = ss.Span();
           c.Return(last - first + 1);
         }},
    };
    return table;
  }
};

}  // namespace

TComPtr<TAutoObject> NewRange(const TDocumentRef& doc, TStory& story, int start, int end, const std::string& path) {
  return MakeAuto<TRangeObj>(doc, story, start, end, path);
}

TComPtr<TAutoObject> NewParagraphs(const TDocumentRef& doc, TStory& story, int start, int end, const std::string& path) {
  return MakeAuto<TParagraphsObj>(doc, story, start, end, path);
}

TComPtr<TAutoObject> NewWords(const TDocumentRef& doc, TStory& story, int start, int end, const std::string& path) {
  return MakeAuto<TWordsObj>(doc, story, start, end, path);
}

TComPtr<TAutoObject> NewSections(const TDocumentRef& doc, int start, int end, const std::string& path) {
  return MakeAuto<TSectionsObj>(doc, start, end, path);
}

TComPtr<TAutoObject> NewPageSetup(const TDocumentRef& doc, int start, int end, const std::string& path) {
  return MakeAuto<TPageSetupObj>(doc, start, end, path);
}

TRangeArg RangeArgument(const TCall& call, int index) {
  auto* range = dynamic_cast<TRangeObj*>(call.Object(index));
  if (!range) call.Mismatch(index);
  return TRangeArg{range->Doc.get(), &range->R.Story(), range->R.Start(), range->R.End()};
}
