// Documents and what belongs to them: template, styles and their fonts,
// floating pictures, tables of contents, and saving.
#include <algorithm>

#include "App.h"
#include "Commands.h"
#include "ObjectModel.h"
#include "Picture.h"

namespace {

class TFontObj : public TAutoClass<TFontObj> {
 public:
  TFontObj(const TDocumentRef& doc, int style, std::string path) : TAutoClass(std::move(path)), Doc(doc), Style(style) {}
  TDocumentRef Doc;
  int Style;
  TStyle& Target() { return Doc->Styles[static_cast<size_t>(Style)]; }

  static std::span<const TMember<TFontObj>> Table() {
    static const TMember<TFontObj> table[] = {
        {{L"Name", mkGet | mkPut, L""},
         [](TFontObj& f, TCall& c) {
           if (!c.IsPut()) {
             c.ReturnText(f.Target().Font.empty() ? f.Doc->Styles[0].Font : f.Target().Font);
             return;
           }
           const std::string name = c.Text(TCall::PutValue);
           if (name.empty()) throw TAutoError(WordError::OutOfRange, "A font needs a name.");
           f.Target().Font = name;
         }},
        {{L"Size", mkGet | mkPut, L""},
         [](TFontObj& f, TCall& c) {
           if (!c.IsPut()) {
             c.ReturnSingle(static_cast<float>(f.Target().Size > 0 ? f.Target().Size : f.Doc->Styles[0].Size));
             return;
           }
           const double size = c.Real(TCall::PutValue);
           Check(size >= 1 && size <= WordLimit::MaxFontSize);
           f.Target().Size = size;
         }},
        {{L"Bold", mkGet | mkPut, L""},
         [](TFontObj& f, TCall& c) {
           if (c.IsPut())
             f.Target().Bold = TriState(c.Int(TCall::PutValue));
           else
             c.Return(f.Target().Bold ? -1 : 0);
         }},
    };
    return table;
  }
};

class TStyleObj : public TAutoClass<TStyleObj> {
 public:
  TStyleObj(const TDocumentRef& doc, int style, std::string path) : TAutoClass(std::move(path)), Doc(doc), Style(style) {}
  TDocumentRef Doc;
  int Style;

  static std::span<const TMember<TStyleObj>> Table() {
    static const TMember<TStyleObj> table[] = {
        {{L"NameLocal", mkGet | mkDefault, L""},
         [](TStyleObj& s, TCall& c) { c.ReturnText(s.Doc->Styles[static_cast<size_t>(s.Style)].LocalName); }},
        {{L"Type", mkGet, L""},
         [](TStyleObj& s, TCall& c) { c.Return(static_cast<long>(s.Doc->Styles[static_cast<size_t>(s.Style)].Type)); }},
        {{L"Font", mkGet, L""},
         [](TStyleObj& s, TCall& c) { c.ReturnObject(MakeObject<TFontObj>(s.Doc, s.Style, s.Path() + ".Font").Get()); }},
    };
    return table;
  }
};

std::string StylePath(const TDocument& doc, int style) {
  return DocumentPath(doc) + ".Styles(\"" + doc.Styles[static_cast<size_t>(style)].LocalName + "\")";
}

class TStylesObj : public TAutoClass<TStylesObj> {
 public:
  TStylesObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;

  static std::span<const TMember<TStylesObj>> Table() {
    static const TMember<TStylesObj> table[] = {
        {{L"Add", mkMethod, L"Name,Type"},
         [](TStylesObj& ss, TCall& c) {
           const long type = c.Int(1, static_cast<long>(TStyleType::Paragraph));
           Check(type == static_cast<long>(TStyleType::Paragraph) || type == static_cast<long>(TStyleType::Character));
           const int style = ss.Doc->AddStyle(c.Text(0), static_cast<TStyleType>(type));
           c.ReturnObject(NewStyle(ss.Doc, style, StylePath(*ss.Doc, style)).Get());
         }},
        {{L"Item", mkMethod | mkGet | mkDefault, L"Index"},
         [](TStylesObj& ss, TCall& c) {
           const int style = StyleArgument(*ss.Doc, c, 0);
           c.ReturnObject(NewStyle(ss.Doc, style, StylePath(*ss.Doc, style)).Get());
         }},
        {{L"Count", mkGet, L""}, [](TStylesObj& ss, TCall& c) { c.Return(static_cast<long>(ss.Doc->Styles.size())); }},
    };
    return table;
  }
};

class TTemplateObj : public TAutoClass<TTemplateObj> {
 public:
  TTemplateObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;

  static std::span<const TMember<TTemplateObj>> Table() {
    static const TMember<TTemplateObj> table[] = {
        {{L"LanguageID", mkGet | mkPut, L""},
         [](TTemplateObj& t, TCall& c) {
           if (c.IsPut())
             t.Doc->TemplateLanguage = static_cast<int>(c.Int(TCall::PutValue));
           else
             c.Return(t.Doc->TemplateLanguage);
         }},
        {{L"Name", mkGet, L""}, [](TTemplateObj&, TCall& c) { c.ReturnText("Normal.dot"); }},
    };
    return table;
  }
};

class TShapeObj : public TAutoClass<TShapeObj> {
 public:
  TShapeObj(const TDocumentRef& doc, size_t shape, std::string path) : TAutoClass(std::move(path)), Doc(doc), Shape(shape) {}
  TDocumentRef Doc;
  size_t Shape;
  TShape& Target() { return *Doc->Shapes[Shape]; }
  TPicture& Picture() { return Doc->Pictures[static_cast<size_t>(Target().Picture)]; }

  // Width and height; with the aspect ratio locked, setting one scales the other.
  static void Side(TShapeObj& s, TCall& c, bool width) {
    TPicture& p = s.Picture();
    if (!c.IsPut()) {
      c.ReturnSingle(static_cast<float>(width ? p.Width : p.Height));
      return;
    }
    const double value = c.Real(TCall::PutValue);
    Check(value > 0 && value <= WordLimit::MaxLength);
    double& changed = width ? p.Width : p.Height;
    double& other = width ? p.Height : p.Width;
    if (s.Target().LockAspectRatio) other = other * value / changed;
    changed = value;
  }

  static std::span<const TMember<TShapeObj>> Table() {
    static const TMember<TShapeObj> table[] = {
        {{L"LockAspectRatio", mkGet | mkPut, L""},
         [](TShapeObj& s, TCall& c) {
           if (c.IsPut())
             s.Target().LockAspectRatio = TriState(c.Int(TCall::PutValue));
           else
             c.Return(s.Target().LockAspectRatio ? -1 : 0);
         }},
        {{L"LockAnchor", mkGet | mkPut, L""},
         [](TShapeObj& s, TCall& c) {
           if (c.IsPut())
             s.Target().LockAnchor = TriState(c.Int(TCall::PutValue));
           else
             c.Return(s.Target().LockAnchor ? -1 : 0);
         }},
        {{L"Width", mkGet | mkPut, L""}, [](TShapeObj& s, TCall& c) { Side(s, c, true); }},
        {{L"Height", mkGet | mkPut, L""}, [](TShapeObj& s, TCall& c) { Side(s, c, false); }},
        {{L"Left", mkGet | mkPut, L""},
         [](TShapeObj& s, TCall& c) {
           if (c.IsPut())
             s.Target().Left = c.Real(TCall::PutValue);
           else
             c.ReturnSingle(static_cast<float>(s.Target().Left));
         }},
        {{L"Top", mkGet | mkPut, L""},
         [](TShapeObj& s, TCall& c) {
           if (c.IsPut())
             s.Target().Top = c.Real(TCall::PutValue);
           else
             c.ReturnSingle(static_cast<float>(s.Target().Top));
         }},
    };
    return table;
  }
};

class TShapesObj : public TAutoClass<TShapesObj> {
 public:
  TShapesObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;

  static std::span<const TMember<TShapesObj>> Table() {
    static const TMember<TShapesObj> table[] = {
        {{L"AddPicture", mkMethod, L"FileName,LinkToFile,SaveWithDocument,Left,Top,Width,Height,Anchor"},
         [](TShapesObj& ss, TCall& c) {
           TDocument& d = *ss.Doc;
           if (TriState(c.Int(1, Wd::False)) || !TriState(c.Int(2, Wd::True)))
             throw TAutoError(WordError::CommandFailed, "wordproc keeps pictures in the document (LinkToFile = False).");
           // Without an anchor the picture goes with the selection's paragraph.
           TStory* story = &d.Main;
           int anchor = InFooter(d) ? d.MainSelection.Start() : d.Selection.Start();
           if (c.Has(7)) {
             const TRangeArg range = RangeArgument(c, 7);
             if (range.Doc != &d) throw TAutoError(WordError::CommandFailed, "The anchor belongs to another document.");
             story = range.Story;
             anchor = range.Start;
           }
           TPicture picture = LoadPictureFile(FullPath(c.Text(0)));
           if (c.Has(5)) picture.Width = c.Real(5);
           if (c.Has(6)) picture.Height = c.Real(6);
           Check(picture.Width > 0 && picture.Width <= WordLimit::MaxLength && picture.Height > 0 &&
                 picture.Height <= WordLimit::MaxLength);
           d.Pictures.push_back(std::move(picture));
           auto shape = std::make_unique<TShape>();
           shape->Picture = static_cast<int>(d.Pictures.size() - 1);
           shape->Anchor = std::make_unique<TTracked>(*story, anchor, anchor);
           shape->Left = c.Real(3, 0);
           shape->Top = c.Real(4, 0);
           d.Shapes.push_back(std::move(shape));
           const size_t index = d.Shapes.size() - 1;
           c.ReturnObject(MakeObject<TShapeObj>(ss.Doc, index, ss.Path() + "(" + std::to_string(index + 1) + ")").Get());
         }},
        {{L"Count", mkGet, L""}, [](TShapesObj& ss, TCall& c) { c.Return(static_cast<long>(ss.Doc->Shapes.size())); }},
    };
    return table;
  }
};

class TTableOfContentsObj : public TAutoClass<TTableOfContentsObj> {
 public:
  TTableOfContentsObj(const TDocumentRef& doc, size_t field, std::string path)
      : TAutoClass(std::move(path)), Doc(doc), Field(field) {}
  TDocumentRef Doc;
  size_t Field;

  static std::span<const TMember<TTableOfContentsObj>> Table() {
    static const TMember<TTableOfContentsObj> table[] = {
        {{L"UpperHeadingLevel", mkGet, L""},
         [](TTableOfContentsObj& t, TCall& c) { c.Return(t.Doc->Fields[t.Field].From); }},
        {{L"LowerHeadingLevel", mkGet, L""},
         [](TTableOfContentsObj& t, TCall& c) { c.Return(t.Doc->Fields[t.Field].To); }},
        // Entries and page numbers are worked out whenever the document is saved.
        {{L"Update", mkMethod, L""}, [](TTableOfContentsObj&, TCall&) {}},
    };
    return table;
  }
};

class TTablesOfContentsObj : public TAutoClass<TTablesOfContentsObj> {
 public:
  TTablesOfContentsObj(const TDocumentRef& doc, std::string path) : TAutoClass(std::move(path)), Doc(doc) {}
  TDocumentRef Doc;

  static std::span<const TMember<TTablesOfContentsObj>> Table() {
    static const TMember<TTablesOfContentsObj> table[] = {
        {{L"Add", mkMethod,
          L"Range,UseHeadingStyles,UpperHeadingLevel,LowerHeadingLevel,UseFields,TableID,RightAlignPageNumbers,"
          L"IncludePageNumbers,AddedStyles"},
         [](TTablesOfContentsObj& ts, TCall& c) {
           TDocument& d = *ts.Doc;
           const TRangeArg range = RangeArgument(c, 0);
           if (range.Doc != &d || range.Story != &d.Main)
             throw TAutoError(WordError::CommandFailed, "A table of contents goes in the main text of its document.");
           TField toc;
           toc.Type = TFieldType::Toc;
           toc.From = static_cast<int>(c.Int(2, 1));
           toc.To = static_cast<int>(c.Int(3, WordLimit::MaxHeadingLevel));
           Check(toc.From >= 1 && toc.From <= toc.To && toc.To <= WordLimit::MaxHeadingLevel);
           if (!TriState(c.Int(1, Wd::True)) && !TriState(c.Int(4, Wd::False)))
             throw TAutoError(WordError::CommandFailed, "A table of contents needs heading styles or entry fields.");
           toc.RightAlignPageNumbers = TriState(c.Int(6, Wd::True));
           toc.IncludePageNumbers = TriState(c.Int(7, Wd::True));
           d.Fields.push_back(toc);
           TTracked at(d.Main, range.Start, range.End);
           d.InsertElement(at, TElement::Field, static_cast<int32_t>(d.Fields.size() - 1));
           c.ReturnObject(MakeObject<TTableOfContentsObj>(ts.Doc, d.Fields.size() - 1, ts.Path() + "(1)").Get());
         }},
        {{L"Count", mkGet, L""},
         [](TTablesOfContentsObj& ts, TCall& c) {
           c.Return(static_cast<long>(std::count_if(ts.Doc->Fields.begin(), ts.Doc->Fields.end(),
                                                    [](const TField& f) { return f.Type == TFieldType::Toc; })));
         }},
    };
    return table;
  }
};

class TDocumentObj : public TAutoClass<TDocumentObj> {
 public:
  explicit TDocumentObj(const TDocumentRef& doc) : TAutoClass(DocumentPath(*doc)), Doc(doc) {}
  TDocumentRef Doc;
  static std::span<const TMember<TDocumentObj>> Table();
};

std::span<const TMember<TDocumentObj>> TDocumentObj::Table() {
  static const TMember<TDocumentObj> table[] = {
      {{L"Name", mkGet | mkDefault, L""}, [](TDocumentObj& d, TCall& c) { c.ReturnText(d.Doc->Name); }},
      {{L"Activate", mkMethod, L""}, [](TDocumentObj& d, TCall&) { TWordApp::Instance().Activate(d.Doc); }},
      {{L"AttachedTemplate", mkGet, L""},
       [](TDocumentObj& d, TCall& c) {
         c.ReturnObject(MakeObject<TTemplateObj>(d.Doc, d.Path() + ".AttachedTemplate").Get());
       }},
      {{L"Styles", mkGet, L""},
       [](TDocumentObj& d, TCall& c) { c.ReturnObject(MakeObject<TStylesObj>(d.Doc, d.Path() + ".Styles").Get()); }},
      {{L"Content", mkGet, L""},
       [](TDocumentObj& d, TCall& c) {
         c.ReturnObject(NewRange(d.Doc, d.Doc->Main, 0, d.Doc->Main.End(), d.Path() + ".Content").Get());
       }},
      {{L"Range", mkMethod | mkGet, L"Start,End"},
       [](TDocumentObj& d, TCall& c) {
         const int end = d.Doc->Main.End();
         const long from = c.Int(0, 0), to = c.Int(1, end);
         Check(from >= 0 && to >= 0);
         const int a = std::min<int>(from, end), b = std::clamp<int>(to, a, end);
         c.ReturnObject(NewRange(d.Doc, d.Doc->Main, a, b,
                                 d.Path() + ".Range(" + std::to_string(a) + "," + std::to_string(b) + ")")
                            .Get());
       }},
      {{L"Shapes", mkGet, L""},
       [](TDocumentObj& d, TCall& c) { c.ReturnObject(MakeObject<TShapesObj>(d.Doc, d.Path() + ".Shapes").Get()); }},
      {{L"Sections", mkGet, L""},
       [](TDocumentObj& d, TCall& c) {
         c.ReturnObject(NewSections(d.Doc, 0, d.Doc->Main.End(), d.Path() + ".Sections").Get());
       }},
      {{L"TablesOfContents", mkGet, L""},
       [](TDocumentObj& d, TCall& c) {
         c.ReturnObject(MakeObject<TTablesOfContentsObj>(d.Doc, d.Path() + ".TablesOfContents").Get());
       }},
      {{L"SaveAs", mkMethod,
        L"FileName,FileFormat,LockComments,Password,AddToRecentFiles,WritePassword,ReadOnlyRecommended,"
        L"EmbedTrueTypeFonts,SaveNativePictureFormat,SaveFormsData,SaveAsAOCELetter"},
       [](TDocumentObj& d, TCall& c) {
         const long format = c.Int(1, Wd::FormatDocument);
         if (format != Wd::FormatDocument && format != Wd::FormatRtf)
           throw TAutoError(WordError::CommandFailed, "wordproc saves documents as Word reads them (FileFormat 0 or 6) only.");
         if (!c.Text(3, "").empty() || !c.Text(5, "").empty())
           throw TAutoError(WordError::CommandFailed, "wordproc cannot protect a document with a password.");
         SaveDocument(*d.Doc, c.Text(0));
       }},
  };
  return table;
}

}  // namespace

std::string DocumentPath(const TDocument& doc) { return "Documents(\"" + doc.Name + "\")"; }

TComPtr<TAutoObject> NewDocumentObject(const TDocumentRef& doc) { return MakeAuto<TDocumentObj>(doc); }

TComPtr<TAutoObject> NewStyle(const TDocumentRef& doc, int style, const std::string& path) {
  return MakeAuto<TStyleObj>(doc, style, path);
}

int StyleOfObject(TAutoObject* object, const TDocument& doc) {
  auto* style = dynamic_cast<TStyleObj*>(object);
  if (!style) return -1;
  // A style of another document stands for the style of that name here.
  if (style->Doc.get() == &doc) return style->Style;
  return doc.StyleByName(style->Doc->Styles[static_cast<size_t>(style->Style)].LocalName);
}

int StyleArgument(TDocument& doc, const TCall& call, int index) {
  const VARIANT* raw = call.Raw(index);
  if (!raw || !call.Has(index)) call.Missing(index);
  const VARTYPE type = raw->vt & VT_TYPEMASK;
  int style = -1;
  std::string description;
  if (type == VT_DISPATCH || type == VT_UNKNOWN) {
    style = StyleOfObject(call.Object(index), doc);
    description = "that object";
  } else if (type == VT_BSTR) {
    description = call.Text(index);
    style = doc.StyleByName(description);
  } else {
    const long id = call.Int(index);
    description = std::to_string(id);
    style = doc.StyleById(static_cast<int>(id));
  }
  if (style < 0) throw TAutoError(WordError::NoSuchMember, "The style " + description + " does not exist.");
  return style;
}
