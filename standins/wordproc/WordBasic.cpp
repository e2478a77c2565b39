// "Word.Basic": the commands of the French WordBasic that drive the active
// document, and the dialog records of CurValues.
#include <algorithm>
#include <climits>

#include "App.h"
#include "Automation.h"
#include "Commands.h"
#include "DateFormat.h"
#include "Measure.h"
#include "Navigation.h"
#include "Picture.h"
#include "uChaines.h"

namespace {

// AppliquerColsA and AppliquerPropsA: where a change of columns or page
// setup applies.
namespace ApplyTo {
constexpr int ThisSection = 0;
constexpr int ThisPointForward = 1;
constexpr int SelectedSections = 2;
constexpr int SelectedText = 3;
constexpr int WholeDocument = 4;
}  // namespace ApplyTo
// DéfinirTaille: which values of FormatImage set the size.
namespace SetSize {
constexpr int Scale = 0;
constexpr int Size = 1;
}  // namespace SetSize
// InsertionNumPage's Type.
constexpr int PageNumbersInFooter = 1;
constexpr int MaxAlignment = Align::Justify;
constexpr int MaxPageNumberPosition = 4;
constexpr int PageNumberRight = 2;  // InsertionNumPage's Position

TDocument& Doc() { return TWordApp::Instance().Active(); }

void RequireMainText(const TDocument& d) {
  if (InFooter(d)) throw TAutoError(WordError::NotAvailable, "This command is not available in a header or footer.");
}

std::pair<int, int> SectionsFor(TDocument& d, int scope, TSectionStart start) {
  RequireMainText(d);
  const int from = d.Selection.Start(), to = d.Selection.End();
  const int last = static_cast<int>(d.Sections.size()) - 1;
  switch (scope) {
    case ApplyTo::ThisSection: return {d.SectionAt(from), d.SectionAt(from)};
    case ApplyTo::ThisPointForward: {
      const int first = d.IsolateSections(from, d.Main.End(), start).first;
      return {first, static_cast<int>(d.Sections.size()) - 1};
    }
    case ApplyTo::SelectedSections: return {d.SectionAt(from), d.SectionAt(std::max(from, to - 1))};
    case ApplyTo::SelectedText: return d.IsolateSections(from, to, start);
    case ApplyTo::WholeDocument: return {0, last};
    default: Check(false);
  }
  return {0, last};
}

// The section a dialog reads: the selection's, or in the footer the one
// the footer was opened from.
const TSection& CurrentSection(const TDocument& d) {
  const int pos = InFooter(d) ? d.MainSelection.Start() : d.Selection.Start();
  return d.Sections[static_cast<size_t>(d.SectionAt(pos))];
}

TPicture& SelectedPicture(TDocument& d) {
  const int index = d.PictureIn(d.Selection.Story(), d.Selection.Start(), d.Selection.End());
  if (index < 0) throw TAutoError(WordError::NotAvailable, "No picture is selected.");
  return d.Pictures[static_cast<size_t>(index)];
}

TVariant Number(long value) { return TVariant::OfLong(value); }
TVariant Real(double value) { return TVariant::OfDouble(value); }
TVariant Text(const std::string& text) { return TVariant::OfText(WidenText(text)); }

// A dialog record of CurValues: the dialog's fields as they were when the
// record was read (later changes do not show in it).
class TDialogRecord : public TAutoObject {
 public:
  explicit TDialogRecord(std::string path) : TAutoObject(std::move(path)) {}
  void Add(const wchar_t* name, TVariant value) {
    Names.emplace_back(name);
    Values.push_back(std::move(value));
    Infos.clear();
    for (const std::wstring& n : Names) Infos.push_back(TMemberInfo{n.c_str(), mkGet, L""});
  }

 protected:
  std::span<const TMemberInfo> Members() const override { return Infos; }
  void Run(size_t member, TCall& call) override { call.ReturnVariant(*Values[member]); }

 private:
  std::vector<std::wstring> Names;
  std::vector<TVariant> Values;
  std::vector<TMemberInfo> Infos;
};

class TCurValues : public TAutoClass<TCurValues> {
 public:
  TCurValues() : TAutoClass("WordBasic.CurValues") {}

  static std::span<const TMember<TCurValues>> Table() {
    static const TMember<TCurValues> table[] = {
        {{L"FormatColonnes", mkGet, L""},
         [](TCurValues& self, TCall& c) {
           const TSection& s = CurrentSection(Doc());
           auto record = MakeObject<TDialogRecord>(self.Path() + ".FormatColonnes");
           record->Add(L"Colonnes", Number(s.Columns));
           record->Add(L"LargeurColonne", Text(FormatCentimetres(s.ColumnWidth())));
           record->Add(L"Espacement", Text(FormatCentimetres(s.ColumnSpacing)));
           record->Add(L"ColLigne", Number(s.LineBetween ? 1 : 0));
           record->Add(L"AppliquerColsA", Number(ApplyTo::ThisSection));
           c.ReturnObject(record.Get());
         }},
        {{L"FormatImage", mkGet, L""},
         [](TCurValues& self, TCall& c) {
           const TPicture& p = SelectedPicture(Doc());
           auto record = MakeObject<TDialogRecord>(self.Path() + ".FormatImage");
           record->Add(L"DéfinirTaille", Number(SetSize::Scale));
           record->Add(L"TailleX", Text(FormatCentimetres(p.Width)));
           record->Add(L"TailleY", Text(FormatCentimetres(p.Height)));
           record->Add(L"EchelleX", Real(p.Width / p.NaturalWidth * 100));
           record->Add(L"EchelleY", Real(p.Height / p.NaturalHeight * 100));
           c.ReturnObject(record.Get());
         }},
    };
    return table;
  }
};

TField FieldFromCode(const std::string& code) {
  std::string name = code.substr(0, code.find(' '));
  for (char& ch : name) ch = static_cast<char>(std::toupper(static_cast<unsigned char>(ch)));
  TField field;
  if (name == "NBPAGES" || name == "NUMPAGES")
    field.Type = TFieldType::NumPages;
  else if (name == "PAGE")
    field.Type = TFieldType::Page;
  else
    throw TAutoError(WordError::CommandFailed, "wordproc does not know the field \"" + code + "\".");
  return field;
}

// EditionAtteindre's destinations: "p3", "p+1", "p-1", "p" (next page), "s2".
void GoTo(TDocument& d, const std::string& destination) {
  const std::string text = destination.substr(0, destination.find_last_not_of(' ') + 1);
  if (text.empty() || (text[0] != 'p' && text[0] != 'P' && text[0] != 's' && text[0] != 'S'))
    throw TAutoError(WordError::CommandFailed, "wordproc cannot go to \"" + destination + "\".");
  const bool page = text[0] == 'p' || text[0] == 'P';
  std::string number = text.substr(1);
  const bool relative = !number.empty() && (number[0] == '+' || number[0] == '-');
  int32_t n = 1;
  if (!number.empty() && !TryStrToInt(number[0] == '+' ? number.substr(1) : number, n))
    throw TAutoError(WordError::CommandFailed, "wordproc cannot go to \"" + destination + "\".");
  if (page) {
    const TPageMap pages(d);
    const int current = PageOfSelection(d, pages);
    const long long target = number.empty() ? current + 1LL : relative ? current + static_cast<long long>(n) : n;
    GoToPage(d, pages, static_cast<int>(std::clamp<long long>(target, 0, INT_MAX)));
  } else {
    if (relative || n < 1 || n > static_cast<int>(d.Sections.size()))
      throw TAutoError(WordError::OutOfRange, "There is no section " + number + ".");
    GoToSection(d, n);
  }
}

class TWordBasic;
TWordBasic* LiveWordBasic = nullptr;
DWORD WordBasicCookie = 0;

class TWordBasic : public TAutoClass<TWordBasic> {
 public:
  TWordBasic() : TAutoClass("WordBasic") {}
  ~TWordBasic() override {
    if (LiveWordBasic != this) return;
    LiveWordBasic = nullptr;
    RevokeRunning(WordBasicCookie);
  }

  static std::span<const TMember<TWordBasic>> Table();
};

std::span<const TMember<TWordBasic>> TWordBasic::Table() {
  static const TMember<TWordBasic> table[] = {
      {{L"FenAppAfficher", mkMethod, L""}, [](TWordBasic&, TCall&) { TWordApp::Instance().SetVisible(true); }},
      {{L"FichierNouveau", mkMethod, L""}, [](TWordBasic&, TCall&) { TWordApp::Instance().NewDocument(); }},
      {{L"Insertion", mkMethod, L"*Texte"}, [](TWordBasic&, TCall& c) { TypeText(Doc(), c.Text(0)); }},
      {{L"FormatColonnes", mkMethod, L"Colonnes,AppliquerColsA,ColLigne,Espacement"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         if (c.Has(0)) Check(c.Int(0) >= 1 && c.Int(0) <= WordLimit::MaxColumns);
         const double spacing = c.Has(3) ? c.Points(3) : -1;
         if (c.Has(3)) Check(spacing >= 0 && spacing <= WordLimit::MaxLength);
         const int scope = c.Int(1, ApplyTo::ThisSection);
         Check(scope >= ApplyTo::ThisSection && scope <= ApplyTo::WholeDocument);
         const auto [first, last] = SectionsFor(d, scope, TSectionStart::Continuous);
         d.ForSections(first, last, [&](TSection& s) {
           if (c.Has(0)) s.Columns = c.Int(0);
           if (c.Has(2)) s.LineBetween = c.Bool(2);
           if (spacing >= 0) s.ColumnSpacing = spacing;
           s.EvenlySpaced = true;
         });
       }},
      {{L"FichierMiseEnPage", mkMethod,
        L"Orientation,AppliquerPropsA,LargeurPage,HauteurPage,MargeHaut,MargeBas,MargeGauche,MargeDroite,"
        L"MargeReliure,DistanceEnTête,DistancePiedPg,Onglet"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         const int scope = c.Int(1, ApplyTo::ThisSection);
         Check(scope >= ApplyTo::ThisSection && scope <= ApplyTo::WholeDocument);
         if (c.Has(0)) Check(c.Int(0) == 0 || c.Int(0) == 1);
         // Indexed as the arguments; -1 where none was given.
         std::vector<double> lengths(11, -1);
         for (int i = 2; i <= 10; ++i)
           if (c.Has(i)) {
             lengths[static_cast<size_t>(i)] = c.Points(i);
             Check(lengths[static_cast<size_t>(i)] >= 0 && lengths[static_cast<size_t>(i)] <= WordLimit::MaxLength);
           }
         // Every section is checked before any changes: a bad value changes nothing.
         auto changed = [&](TSection s) {
           if (c.Has(0) && c.Int(0) != s.Orientation) {
             s.Orientation = c.Int(0);
             std::swap(s.PageWidth, s.PageHeight);
           }
           double* fields[] = {nullptr,          nullptr,         &s.PageWidth,  &s.PageHeight,
                               &s.TopMargin,     &s.BottomMargin, &s.LeftMargin, &s.RightMargin,
                               &s.Gutter,        &s.HeaderDistance, &s.FooterDistance};
           for (size_t i = 2; i < lengths.size(); ++i)
             if (lengths[i] >= 0) *fields[i] = lengths[i];
           if (s.ColumnWidth() <= 0 || s.TextHeight() <= 0)
             throw TAutoError(WordError::OutOfRange, "The margins leave no room for text on the page.");
           return s;
         };
         for (const TSection& s : d.Sections) changed(s);
         const auto [first, last] = SectionsFor(d, scope, TSectionStart::NewPage);
         d.ForSections(first, last, [&](TSection& s) { s = changed(s); });
       }},
      {{L"AffichagePiedPage", mkMethod, L""}, [](TWordBasic&, TCall&) { OpenFooter(Doc()); }},
      {{L"InsertionDateHeure", mkMethod, L"ImageDateHeure"},
       [](TWordBasic&, TCall& c) {
         SYSTEMTIME now;
         GetLocalTime(&now);
         TypeText(Doc(), FormatDateTime(c.Text(0, "jj/MM/aa"), now));
       }},
      {{L"InsertionChamp", mkMethod, L"Champ"}, [](TWordBasic&, TCall& c) { InsertField(Doc(), FieldFromCode(c.Text(0))); }},
      {{L"InsertionNumPage", mkMethod, L"Type,Position,PremièrePage"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         if (c.Int(0, PageNumbersInFooter) != PageNumbersInFooter)
           throw TAutoError(WordError::NotAvailable, "wordproc keeps no header: page numbers go in the footer (Type = 1).");
         const int position = c.Int(1, PageNumberRight);
         Check(position >= 0 && position <= MaxPageNumberPosition);
         d.PageNumbers = TPageNumbers{true, position, c.Bool(2, true)};
       }},
      {{L"FermerAffichageEnTêtePiedPg", mkMethod, L""}, [](TWordBasic&, TCall&) { CloseFooter(Doc()); }},
      {{L"AffichageNormal", mkMethod, L""},
       [](TWordBasic&, TCall&) {
         TDocument& d = Doc();
         CloseFooter(d);
         d.ViewType = View::Normal;
       }},
      {{L"MotGauche", mkMethod, L"*Nombre,*Étendre"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         int pos = d.Selection.Start();
         for (int n = c.Int(0, 1); n > 0; --n) pos = WordLeft(d.Selection.Story(), pos);
         d.MoveSelection(pos, c.Bool(1, false));
       }},
      {{L"LigneVersBas", mkMethod, L"*Nombre,*Étendre"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         d.MoveSelection(LineMove(d.Selection.Story(), d.Selection.End(), c.Int(0, 1)), c.Bool(1, false));
       }},
      {{L"DébutLigne", mkMethod, L"*Étendre"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         d.MoveSelection(LineStart(d.Selection.Story(), d.Selection.Start()), c.Bool(0, false));
       }},
      {{L"FinLigne", mkMethod, L"*Étendre"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         d.MoveSelection(LineEnd(d.Selection.Story(), d.Selection.End()), c.Bool(0, false));
       }},
      {{L"FinDocument", mkMethod, L"*Étendre"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         d.MoveSelection(d.Selection.Story().End() - 1, c.Bool(0, false));
       }},
      {{L"SélectionnerMotCour", mkMethod, L""},
       [](TWordBasic&, TCall&) {
         TDocument& d = Doc();
         const auto [from, to] = CurrentWord(d.Selection.Story(), d.Selection.Start());
         d.Selection.Set(from, to);
       }},
      {{L"Style", mkMethod, L"*Style"}, [](TWordBasic&, TCall& c) { ApplyStyleByName(Doc(), c.Text(0)); }},
      {{L"StyleNormal", mkMethod, L""}, [](TWordBasic&, TCall&) { ApplyStyleByName(Doc(), "Normal"); }},
      {{L"FormatParagraphes", mkMethod, L"Alignement"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         if (!c.Has(0)) return;
         Check(c.Int(0) >= Align::Left && c.Int(0) <= MaxAlignment);
         d.ApplyAlignment(d.Selection.Story(), d.Selection.Start(), d.Selection.End(), c.Int(0));
       }},
      {{L"FormatCaractères", mkMethod, L"Points,Police"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         const double size = c.Real(0, 0);
         if (c.Has(0)) Check(size >= 1 && size <= WordLimit::MaxFontSize);
         d.ApplyFont(d.Selection.Story(), d.Selection.Start(), d.Selection.End(), c.Text(1, ""), size);
       }},
      {{L"InsertionImage", mkMethod, L"Nom"},
       [](TWordBasic&, TCall& c) { InsertPicture(Doc(), LoadPictureFile(FullPath(c.Text(0)))); }},
      {{L"FormatImage", mkMethod, L"DéfinirTaille,TailleX,TailleY,EchelleX,EchelleY"},
       [](TWordBasic&, TCall& c) {
         TPicture& p = SelectedPicture(Doc());
         const bool sizes = c.Has(1) || c.Has(2);
         const int mode = c.Int(0, sizes ? SetSize::Size : SetSize::Scale);
         Check(mode == SetSize::Scale || mode == SetSize::Size);
         // The mode says which values count, as in Word's dialog.
         double width = p.Width, height = p.Height;
         if (mode == SetSize::Size) {
           if (c.Has(1)) width = c.Points(1);
           if (c.Has(2)) height = c.Points(2);
         } else {
           if (c.Has(3)) width = p.NaturalWidth * c.Real(3) / 100;
           if (c.Has(4)) height = p.NaturalHeight * c.Real(4) / 100;
         }
         Check(width > 0 && width <= WordLimit::MaxLength && height > 0 && height <= WordLimit::MaxLength);
         p.Width = width;
         p.Height = height;
       }},
      {{L"CurValues", mkGet, L""}, [](TWordBasic&, TCall& c) { c.ReturnObject(MakeObject<TCurValues>().Get()); }},
      {{L"LitPosDébSél", mkMethod, L""}, [](TWordBasic&, TCall& c) { c.Return(Doc().Selection.Start()); }},
      {{L"LitPosFinSél", mkMethod, L""}, [](TWordBasic&, TCall& c) { c.Return(Doc().Selection.End()); }},
      {{L"DéfinirEtendueSél", mkMethod, L"*Début,*Fin"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         const long a = c.Int(0), b = c.Int(1, a);
         const int end = d.Selection.Story().End();
         d.Selection.Set(std::clamp<int>(std::min(a, b), 0, end), std::clamp<int>(std::max(a, b), 0, end));
       }},
      {{L"InsertionFichier", mkMethod, L"Nom"}, [](TWordBasic&, TCall& c) { InsertFile(Doc(), c.Text(0)); }},
      {{L"InsertionSautColonne", mkMethod, L""}, [](TWordBasic&, TCall&) { InsertBreak(Doc(), TElement::ColumnBreak); }},
      {{L"EditionAtteindre", mkMethod, L"Destination"}, [](TWordBasic&, TCall& c) { GoTo(Doc(), c.Text(0)); }},
      {{L"EditionColler", mkMethod, L""}, [](TWordBasic&, TCall&) { Paste(Doc()); }},
      {{L"InsertionTableMatières", mkMethod, L"Plan,De,A,Champs,AlignerDroiteNumPages,Remplacer"},
       [](TWordBasic&, TCall& c) {
         TDocument& d = Doc();
         TField toc;
         toc.Type = TFieldType::Toc;
         toc.From = c.Int(1, 1);
         toc.To = c.Int(2, WordLimit::MaxHeadingLevel);
         Check(toc.From >= 1 && toc.From <= toc.To && toc.To <= WordLimit::MaxHeadingLevel);
         if (!c.Bool(0, true) && !c.Bool(3, false))
           throw TAutoError(WordError::CommandFailed, "A table of contents needs headings (Plan) or entry fields (Champs).");
         toc.RightAlignPageNumbers = c.Bool(4, true);
         // Replacing: a table already in the text takes the new settings.
         if (c.Bool(5, false))
           for (const TChar& ch : d.Main.Chars)
             if (ch.Kind == TElement::Field && d.Fields[static_cast<size_t>(ch.Ref)].Type == TFieldType::Toc) {
               d.Fields[static_cast<size_t>(ch.Ref)] = toc;
               return;
             }
         InsertField(d, toc);
       }},
      {{L"FichierEnregistrerSous", mkMethod, L"Nom"}, [](TWordBasic&, TCall& c) { SaveDocument(Doc(), c.Text(0)); }},
  };
  return table;
}

}  // namespace

TComPtr<TAutoObject> SharedWordBasic() {
  if (LiveWordBasic) return TComPtr<TAutoObject>::Share(LiveWordBasic);
  TComPtr<TAutoObject> object = MakeAuto<TWordBasic>();
  LiveWordBasic = static_cast<TWordBasic*>(object.Get());
  WordBasicCookie = RegisterRunning(object.Get(), CLSID_WordBasic);
  return object;
}
