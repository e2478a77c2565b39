// The whole document generation of both dialects, call for call as the
// driver sends it: new document, one section per unit, diagram, table of
// contents, save. Run by the document test with WORDPROC_WORK set, the
// documents stay there for LibreOffice to render.
#include <cmath>

#include "DocumentCase.h"
#include "WordprocTestSupport.h"

namespace {

constexpr float PointsPerCm = 28.35f;  // the driver's CmToPoints
const std::wstring Bracket = W(BracketLine);

// The project's files: sources, the picture of the unit that has one, the
// diagram as a metafile file (Word 97) and on the clipboard (WordBasic).
class SequenceTest : public TWordprocTest {
 protected:
  void SetUp() override {
    TWordprocTest::SetUp();
    Work = std::make_unique<TWorkDir>();
    if (!Shared.empty()) Out = Shared;
    else Out = Work->Path();
    for (const TUnitCase& unit : Units()) {
      Work->Write(unit.Name + ".pas", SourceText(unit));
      if (unit.Picture) Work->Write(unit.Name + ".BMP", BmpBytes(PictureWidth, PictureHeight));
    }
    Diagram = EmfBytes(DiagramWidth, DiagramHeight, DiagramText);
    ASSERT_FALSE(Diagram.empty());
  }
  std::wstring SourceOf(const TUnitCase& unit) const { return W(Work->File(unit.Name + ".pas")); }
  std::wstring PictureOf(const TUnitCase& unit) const { return W(Work->File(unit.Name + ".BMP")); }
  static long SourceLength(const TUnitCase& unit) {
    long length = 0;
    for (const std::string& line : unit.Source) length += static_cast<long>(line.size()) + 1;  // CR LF is one mark
    return length;
  }

  const std::string Shared = SharedWorkDir();
  std::unique_ptr<TWorkDir> Work;
  std::string Out;
  std::string Diagram;
};

// ---------------------------------------------------------------- WordBasic

TEST_F(SequenceTest, WordBasic) {
  TAuto wb = TAuto::Create(L"Word.Basic");
  ASSERT_TRUE(wb);
  // NewDocument
  wb.Call(L"FenAppAfficher");
  wb.Call(L"FichierNouveau");
  wb.Call(L"Insertion", {{L"", Text(L"\r\f")}});
  wb.Call(L"FormatColonnes", {{L"Colonnes", Int(2)}, {L"AppliquerColsA", Int(1)}, {L"ColLigne", Int(1)}});
  wb.Call(L"FichierMiseEnPage",
          {{L"Orientation", Int(1)}, {L"AppliquerPropsA", Int(4)}, {L"LargeurPage", Text(L"29,7 cm")},
           {L"HauteurPage", Text(L"21 cm")}, {L"MargeHaut", Text(L"0,42 cm")}, {L"MargeBas", Text(L"1 cm")},
           {L"MargeGauche", Text(L"1,5 cm")}, {L"MargeDroite", Text(L"0,4 cm")}, {L"MargeReliure", Text(L"0 cm")},
           {L"DistanceEnTête", Text(L"0 cm")}, {L"DistancePiedPg", Text(L"0,45 cm")}, {L"Onglet", Int(0)}});
  wb.Call(L"AffichagePiedPage");
  wb.Call(L"Insertion", {{L"", Text(L"   ")}});
  wb.Call(L"InsertionDateHeure", {{L"ImageDateHeure", Text(L"jjjj MMMM j aaaa at HH:mm")}});
  wb.Call(L"Insertion", {{L"", Text(L". ")}});
  wb.Call(L"InsertionChamp", {{L"Champ", Text(L"NBPAGES")}});
  wb.Call(L"Insertion", {{L"", Text(L" pages. ")}});
  wb.Call(L"InsertionNumPage", {{L"Type", Int(1)}, {L"Position", Int(2)}, {L"PremièrePage", Int(0)}});
  wb.Call(L"FermerAffichageEnTêtePiedPg");
  wb.Call(L"AffichageNormal");
  // The empty first page, its section break, then the units' section.
  EXPECT_EQ(AsInt(wb.Call(L"LitPosDébSél")), 3);

  for (const TUnitCase& unit : Units()) {
    SCOPED_TRACE(unit.Name);
    wb.Call(L"FenAppAfficher");
    wb.Call(L"Insertion", {{L"", Text(W(unit.Name) + L"\r")}});
    wb.Call(L"MotGauche");
    wb.Call(L"SélectionnerMotCour");
    wb.Call(L"Style", {{L"", Text(L"Titre 1")}});
    wb.Call(L"FormatParagraphes", {{L"Alignement", Int(1)}});
    wb.Call(L"LigneVersBas");
    wb.Call(L"DébutLigne");
    wb.Call(L"Insertion", {{L"", Text(Bracket + L"\r")}});
    wb.Call(L"LigneVersBas");
    wb.Call(L"DébutLigne");
    if (unit.Picture) {
      wb.Call(L"InsertionImage", {{L"Nom", Text(PictureOf(unit))}});
      wb.Call(L"MotGauche");
      wb.Call(L"SélectionnerMotCour");
      wb.Call(L"FormatParagraphes", {{L"Alignement", Int(1)}});
      TAuto cols = wb.Obj(L"CurValues").Obj(L"FormatColonnes");
      TAuto img = wb.Obj(L"CurValues").Obj(L"FormatImage");
      // Two columns of (27.8 - 1.25) / 2 cm; the picture at 96 dpi.
      EXPECT_EQ(cols.GetText(L"LargeurColonne"), L"13,28 cm");
      EXPECT_EQ(img.GetText(L"TailleX"), L"1,27 cm");
      wb.Call(L"FormatImage", {{L"DéfinirTaille", Int(1)}, {L"TailleX", cols.Get(L"LargeurColonne")}});
      wb.Call(L"FormatImage", {{L"DéfinirTaille", Int(0)}, {L"TailleY", img.Get(L"TailleX")}});
      // The record keeps what was read; the picture now spans the column.
      EXPECT_EQ(img.GetText(L"TailleX"), L"1,27 cm");
      EXPECT_EQ(TAuto::From(wb.Obj(L"CurValues").Get(L"FormatImage")).GetText(L"TailleX"), L"13,28 cm");
      wb.Call(L"FinLigne");
      wb.Call(L"Insertion", {{L"", Text(L"\r  \r")}});
    }
    wb.Call(L"LigneVersBas");
    wb.Call(L"DébutLigne");
    const TVariant p1 = wb.Call(L"LitPosDébSél");
    wb.Call(L"InsertionFichier", {{L"Nom", Text(SourceOf(unit))}});
    const TVariant p2 = wb.Call(L"LitPosDébSél");
    // The selection follows the inserted text.
    EXPECT_EQ(AsInt(p2) - AsInt(p1), SourceLength(unit));
    wb.Call(L"DéfinirEtendueSél", {{L"", p1}, {L"", p2}});
    wb.Call(L"StyleNormal");
    wb.Call(L"FormatCaractères", {{L"Points", Int(7)}, {L"Police", Text(L"Courier New")}});
    wb.Call(L"FinDocument");
    wb.Call(L"InsertionSautColonne");
  }

  // Finish: the diagram from the clipboard on page 1, the table of contents, save.
  ASSERT_TRUE(PutMetafileOnClipboard(Diagram));
  wb.Call(L"FenAppAfficher");
  wb.Call(L"EditionAtteindre", {{L"Destination", Text(L"p1")}});
  EXPECT_EQ(AsInt(wb.Call(L"LitPosDébSél")), 0);
  wb.Call(L"EditionColler");
  wb.Call(L"MotGauche");
  wb.Call(L"SélectionnerMotCour");
  wb.Call(L"FormatParagraphes", {{L"Alignement", Int(1)}});
  const TVariant width = wb.Obj(L"CurValues").Obj(L"FormatColonnes").Get(L"LargeurColonne");
  EXPECT_EQ(AsText(width), L"27,8 cm");  // page 1 has one column
  wb.Call(L"FormatImage", {{L"DéfinirTaille", Int(1)}, {L"TailleX", width}});
  wb.Call(L"FormatImage",
          {{L"DéfinirTaille", Int(0)}, {L"EchelleY", wb.Obj(L"CurValues").Obj(L"FormatImage").Get(L"EchelleX")}});
  TAuto picture = wb.Obj(L"CurValues").Obj(L"FormatImage");
  EXPECT_NEAR(picture.GetReal(L"EchelleX"), picture.GetReal(L"EchelleY"), 1e-9);
  EXPECT_EQ(picture.GetText(L"TailleY"), L"19,58 cm");
  wb.Call(L"FinDocument");
  wb.Call(L"InsertionTableMatières", {{L"Plan", Int(1)}, {L"De", Int(1)}, {L"A", Int(3)}, {L"Champs", Int(0)},
                                      {L"AlignerDroiteNumPages", Int(1)}, {L"Remplacer", Int(1)}});
  TTextByRef name(W(DocumentFile(Out, "WordBasic")));
  wb.Call(L"FichierEnregistrerSous", {{L"Nom", name.Arg()}});
  wb.Call(L"FenAppAfficher");
  const std::string rtf = ReadFileBytes(DocumentFile(Out, "WordBasic"));
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("Unit\\'e9"), std::string::npos);
}

// ---------------------------------------------------------------- Word 97

class Word97 {
 public:
  explicit Word97(TAuto app) : App(std::move(app)) {}
  TAuto Sel() const { return App.Obj(L"Selection"); }
  TAuto Pane() const { return App.Obj(L"ActiveWindow").Obj(L"ActivePane"); }
  void SetNoProofing(const TAuto& doc) const {
    doc.Obj(L"AttachedTemplate").Put(L"LanguageID", Int(1024));
    Sel().Call(L"WholeStory");
    Sel().Put(L"LanguageID", Int(1024));
  }
  TAuto App;
};

TEST_F(SequenceTest, Word97) {
  Word97 w(TAuto::Create(L"Word.Application"));
  ASSERT_TRUE(w.App);
  w.App.Put(L"Visible", Int(-1));
  // NewDocument
  TAuto docs = w.App.Obj(L"Documents");
  TAuto doc = docs.Obj(L"Add");
  doc.Call(L"Activate");
  w.SetNoProofing(doc);
  TAuto pascalStyle = doc.Obj(L"Styles").Obj(L"Add", {{L"Name", Text(L"Pascal code")}, {L"Type", Int(2)}});
  pascalStyle.Obj(L"Font").Put(L"Name", Text(L"Courier New"));
  pascalStyle.Obj(L"Font").Put(L"Size", Int(7));
  w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}});
  w.Sel().Call(L"InsertBreak", {{L"", Int(7)}});
  w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
  TAuto ps = doc.Obj(L"Content").Obj(L"PageSetup");
  ps.Put(L"Orientation", Int(1));
  const float margins[] = {0.42f, 1, 1.5f, 0.4f, 0, 0, 0.45f};
  const wchar_t* names[] = {L"TopMargin", L"BottomMargin", L"LeftMargin", L"RightMargin",
                            L"Gutter",    L"HeaderDistance", L"FooterDistance"};
  for (size_t i = 0; i < 7; ++i) ps.Put(names[i], Single(margins[i] * PointsPerCm));
  EXPECT_NEAR(ps.GetReal(L"PageWidth"), 841.9, 0.1);  // A4, turned
  w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
  w.Sel().Call(L"GoTo", {{L"What", Int(1)}, {L"Which", Int(1)}, {L"Count", Int(2)}});
  EXPECT_EQ(w.Sel().GetInt(L"Start"), 1);  // after the page break
  w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}, {L"Extend", Int(1)}});
  TAuto cols = doc.Obj(L"Range", {{L"", w.Sel().Get(L"Start")}, {L"", doc.Obj(L"Content").Get(L"End")}})
                   .Obj(L"PageSetup")
                   .Obj(L"TextColumns");
  cols.Call(L"SetCount", {{L"", Int(2)}});
  cols.Put(L"EvenlySpaced", Int(-1));
  cols.Put(L"LineBetween", Int(-1));
  w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
  // Page 1 keeps one column; the rest has two.
  EXPECT_EQ(doc.Obj(L"Sections").GetInt(L"Count"), 2);
  EXPECT_EQ(doc.Obj(L"Sections").Obj(L"First").Obj(L"PageSetup").Obj(L"TextColumns").GetInt(L"Count"), 1);
  // The footer.
  doc.Call(L"Activate");
  if (w.App.Obj(L"ActiveWindow").Obj(L"View").GetInt(L"SplitSpecial") != 0)
    w.App.Obj(L"ActiveWindow").Obj(L"Panes").Obj(L"Item", {{L"", Int(2)}}).Call(L"Close");
  const long view = w.Pane().Obj(L"View").GetInt(L"Type");
  if (view == 1 || view == 2 || view == 5) w.Pane().Obj(L"View").Put(L"Type", Int(3));
  w.Pane().Obj(L"View").Put(L"SeekView", Int(10));
  w.Sel().Call(L"TypeText", {{L"", Text(L"   ")}});
  w.Sel().Call(L"InsertDateTime", {{L"DateTimeFormat", Text(L"jjjj MMMM j aaaa")}, {L"InsertAsField", Int(0)}});
  w.Sel().Call(L"TypeText", {{L"", Text(L" at ")}});
  w.Sel().Call(L"InsertDateTime", {{L"DateTimeFormat", Text(L"HH:mm")}, {L"InsertAsField", Int(0)}});
  w.Sel().Call(L"TypeText", {{L"", Text(L". ")}});
  w.Sel().Obj(L"Fields").Call(L"Add", {{L"Range", w.Sel().Get(L"Range")}, {L"Type", Int(26)}});
  w.Sel().Call(L"TypeText", {{L"", Text(L" pages. ")}});
  w.Sel().Obj(L"HeaderFooter").Obj(L"PageNumbers").Call(L"Add", {{L"PageNumberAlignment", Int(2)}, {L"FirstPage", Int(-1)}});
  w.Pane().Obj(L"View").Put(L"SeekView", Int(0));
  if (w.App.Obj(L"ActiveWindow").Obj(L"View").GetInt(L"SplitSpecial") == 0)
    w.Pane().Obj(L"View").Put(L"Type", Int(1));
  else
    w.App.Obj(L"ActiveWindow").Obj(L"View").Put(L"Type", Int(1));

  for (const TUnitCase& unit : Units()) {
    SCOPED_TRACE(unit.Name);
    doc.Call(L"Activate");
    w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}});
    w.Sel().Call(L"TypeText", {{L"", Text(L"\r" + Bracket + L"\r")}});
    w.Sel().Call(L"MoveUp", {{L"Unit", Int(5)}, {L"Count", Int(2)}, {L"Extend", Int(0)}});
    TAuto r = w.Sel().Obj(L"Range");
    r.Put(L"Style", Int(-2));
    r.Call(L"InsertAfter", {{L"", Text(W(unit.Name))}});
    r.Obj(L"Paragraphs").Obj(L"Item", {{L"", Int(1)}}).Put(L"Alignment", Int(1));
    EXPECT_EQ(r.GetText(L"Text"), W(unit.Name));
    w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}});
    if (unit.Picture) {
      doc.Call(L"Activate");
      w.Sel().Call(L"TypeText", {{L"", Text(L"\r")}});
      const TVariant s = w.Sel().Get(L"Start");
      w.Sel().Call(L"TypeText", {{L"", Text(L"  ")}});
      const TVariant e = w.Sel().Get(L"Start");
      doc.Obj(L"Range", {{L"Start", s}, {L"End", e}}).Call(L"Select");
      TAuto shape = doc.Obj(L"Shapes").Obj(L"AddPicture", {{L"Anchor", w.Sel().Get(L"Range")}, {L"FileName", Text(PictureOf(unit))}});
      shape.Put(L"LockAspectRatio", Int(-1));
      shape.Put(L"LockAnchor", Int(-1));
      const TVariant column =
          w.Sel().Obj(L"Sections").Obj(L"First").Obj(L"PageSetup").Obj(L"TextColumns").Obj(L"Item", {{L"", Int(1)}}).Get(L"Width");
      EXPECT_NEAR(AsReal(column), (27.8 - 1.25) / 2 * 72 / 2.54, 0.5);
      shape.Put(L"Width", column);
      // The aspect ratio holds.
      EXPECT_NEAR(shape.GetReal(L"Height") / shape.GetReal(L"Width"), double(PictureHeight) / PictureWidth, 1e-4);
      w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
      w.Sel().Call(L"TypeText", {{L"", Text(L"\r")}});
    }
    doc.Call(L"Activate");
    const TVariant s = w.Sel().Get(L"Start");
    w.Sel().Call(L"InsertFile", {{L"FileName", Text(SourceOf(unit))}});
    w.Sel().Call(L"TypeText", {{L"", Text(L"\r")}});
    w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}});
    w.Sel().Call(L"MoveLeft", {{L"Unit", Int(1)}, {L"Count", Int(1)}, {L"Extend", Int(0)}});
    const TVariant e = w.Sel().Get(L"Start");
    EXPECT_EQ(AsInt(e) - AsInt(s), SourceLength(unit));
    doc.Obj(L"Range", {{L"Start", s}, {L"End", e}}).Call(L"Select");
    w.Sel().Put(L"Style", Object(pascalStyle.Get()));
    w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}});
    w.Sel().Call(L"InsertBreak", {{L"Type", Int(8)}});
    w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
  }

  // Finish
  doc.Call(L"Activate");
  w.SetNoProofing(doc);
  w.Sel().Call(L"GoTo", {{L"What", Int(1)}, {L"Which", Int(2)}, {L"Name", Text(L"1")}});
  EXPECT_EQ(w.Sel().GetInt(L"Start"), 0);
  const std::string diagramFile = Work->Write("Projet.EMF", Diagram);
  doc.Call(L"Activate");
  TTextByRef diagramName(W(diagramFile));
  TAuto shape = doc.Obj(L"Shapes").Obj(L"AddPicture", {{L"", diagramName.Arg()}});
  w.Sel().Call(L"MoveLeft", {{L"Unit", Int(2)}, {L"Count", Int(1)}, {L"Extend", Int(0)}});
  w.Sel().Obj(L"Words").Obj(L"Item", {{L"", Int(1)}}).Call(L"Select");
  w.Sel().Obj(L"Paragraphs").Obj(L"Item", {{L"", Int(1)}}).Put(L"Alignment", Int(1));
  shape.Put(L"LockAspectRatio", Int(-1));
  shape.Put(L"Left", Single(0));
  shape.Put(L"Top", Single(0));
  TAuto first = doc.Obj(L"Sections").Obj(L"First").Obj(L"PageSetup");
  shape.Put(L"Width", Single(static_cast<float>(first.GetReal(L"PageWidth") - first.GetReal(L"RightMargin") -
                                                 first.GetReal(L"LeftMargin"))));
  shape.Put(L"Height", Single(static_cast<float>(first.GetReal(L"PageHeight") - first.GetReal(L"BottomMargin") -
                                                  first.GetReal(L"TopMargin"))));
  EXPECT_NEAR(shape.GetReal(L"Height"), 19.58 * PointsPerCm, 0.5);
  w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
  doc.Call(L"Activate");
  w.Sel().Call(L"Collapse", {{L"Direction", Int(0)}});
  w.Sel().Call(L"EndKey", {{L"Unit", Int(6)}});
  doc.Obj(L"TablesOfContents")
      .Call(L"Add", {{L"Range", w.Sel().Get(L"Range")}, {L"UseHeadingStyles", Int(-1)}, {L"UpperHeadingLevel", Int(1)},
                     {L"LowerHeadingLevel", Int(3)}, {L"UseFields", Int(0)}, {L"RightAlignPageNumbers", Int(-1)},
                     {L"IncludePageNumbers", Int(-1)}});
  doc.Call(L"Activate");
  TTextByRef name(W(DocumentFile(Out, "Word97")));
  doc.Call(L"SaveAs", {{L"FileName", name.Arg()}, {L"FileFormat", Int(0)}, {L"LockComments", Int(0)},
                       {L"Password", Text(L"")}, {L"AddToRecentFiles", Int(-1)}, {L"WritePassword", Text(L"")},
                       {L"ReadOnlyRecommended", Int(0)}, {L"EmbedTrueTypeFonts", Int(0)},
                       {L"SaveNativePictureFormat", Int(0)}, {L"SaveFormsData", Int(0)}, {L"SaveAsAOCELetter", Int(0)}});
  const std::string rtf = ReadFileBytes(DocumentFile(Out, "Word97"));
  EXPECT_EQ(rtf.rfind("{\\rtf1", 0), 0u);
  EXPECT_NE(rtf.find("Pascal code;"), std::string::npos);
}

}  // namespace
