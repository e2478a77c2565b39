// The WordBasic sequences of the French Word 95: every command sent to the
// "Word.Basic" object as a method, named arguments in the order written.
#include "FileSystem.h"
#include "Messages.h"
#include "WordNames.h"
#include "Yield.h"
#include "uMSWord.h"

using namespace WB;

namespace {
const std::string CR = "\r";
const std::string FF = "\f";
constexpr long SourcePoints = 7;
constexpr const char* SourceFont = "Courier New";
constexpr const char* TailleX = "TailleX";
constexpr const char* TailleY = "TailleY";
constexpr const char* EchelleX = "EchelleX";
constexpr const char* EchelleY = "EchelleY";
// The page's text area as NewDocument sets it up: 29.7 - 1.5 - 0.4 cm wide,
// 21 - 0.42 - 1 cm high.
constexpr const char* TextHeight = "19,58 cm";
constexpr double TextHeightPerWidth = 19.58 / 27.8;

// The number at the start of a length as Word writes it ("13,28 cm"), with
// a decimal comma or point; 0 when there is none.
double LeadingNumber(const std::string& text) {
  double value = 0, scale = 0;
  for (char c : text) {
    if (c >= '0' && c <= '9') {
      if (scale == 0) {
        value = value * 10 + (c - '0');
      } else {
        value += (c - '0') * scale;
        scale /= 10;
      }
    } else if ((c == ',' || c == '.') && scale == 0) {
      scale = 0.1;
    } else if (c != ' ' || value != 0 || scale != 0) {
      break;
    }
  }
  return value;
}
}  // namespace

void TMSWord::NewDocumentWordBasic() {
  const TOleObject& wb = WordBasic;
  wb.Call(FenAppAfficher);
  SetStatus(Msg::StatusCreatingDocument);
  wb.Call("FichierNouveau");
  SetStatus(Msg::StatusPageSetup);
  // An empty first page, kept for the diagram.
  wb.Call(Insertion, {{"", OleText(CR + FF)}});
  // Two columns with a line between them, from here on.
  wb.Call("FormatColonnes",
          {{"Colonnes", OleInt(TwoColumns)}, {"AppliquerColsA", OleInt(FromHereOn)}, {"ColLigne", OleInt(Yes)}});
  ProcessMessages();
  wb.Call("FichierMiseEnPage", {{"Orientation", OleInt(Landscape)},
                                {"AppliquerPropsA", OleInt(WholeDocument)},
                                {"LargeurPage", OleText("29,7 cm")},
                                {"HauteurPage", OleText("21 cm")},
                                {"MargeHaut", OleText("0,42 cm")},
                                {"MargeBas", OleText("1 cm")},
                                {"MargeGauche", OleText("1,5 cm")},
                                {"MargeDroite", OleText("0,4 cm")},
                                {"MargeReliure", OleText("0 cm")},
                                {"DistanceEnTête", OleText("0 cm")},
                                {"DistancePiedPg", OleText("0,45 cm")},
                                {"Onglet", OleInt(0)}});
  SetStatus(Msg::StatusFooter);
  wb.Call("AffichagePiedPage");
  wb.Call(Insertion, {{"", OleText("   ")}});
  wb.Call("InsertionDateHeure", {{"ImageDateHeure", OleText("jjjj MMMM j aaaa at HH:mm")}});
  wb.Call(Insertion, {{"", OleText(". ")}});
  wb.Call("InsertionChamp", {{"Champ", OleText("NBPAGES")}});
  wb.Call(Insertion, {{"", OleText(" pages. ")}});
  wb.Call("InsertionNumPage", {{"Type", OleInt(FooterNumber)}, {"Position", OleInt(NumberRight)}, {"PremièrePage", OleInt(No)}});
  wb.Call("FermerAffichageEnTêtePiedPg");
  ProcessMessages();
  wb.Call("AffichageNormal");
}

void TMSWord::AddUnitWordBasic(const std::string& name, const std::string& picture, const std::string& source) {
  const TOleObject& wb = WordBasic;
  wb.Call(FenAppAfficher);
  SetStatus(Msg::StatusTitle);
  wb.Call(Insertion, {{"", OleText(name + CR)}});
  wb.Call(MotGauche);
  wb.Call(SelectionnerMotCour);
  wb.Call("Style", {{"", OleText("Titre 1")}});
  wb.Call(FormatParagraphes, {{Alignement, OleInt(AlignCentre)}});
  wb.Call(LigneVersBas);
  wb.Call(DebutLigne);
  wb.Call(Insertion, {{"", OleText(BracketLine() + CR)}});
  wb.Call(LigneVersBas);
  wb.Call(DebutLigne);
  if (FileExists(picture)) {
    SetStatus(Msg::StatusPicture);
    wb.Call("InsertionImage", {{Nom, OleFileText(picture)}});
    wb.Call(MotGauche);
    wb.Call(SelectionnerMotCour);
    wb.Call(FormatParagraphes, {{Alignement, OleInt(AlignCentre)}});
    // As wide as the column, then the same scale both ways: the picture
    // keeps its proportions.
    const TOleObject columns = wb.Obj(CurValues).Obj(FormatColonnes);
    wb.Call(FormatImage, {{DefinirTaille, OleInt(SizeByLength)}, {TailleX, columns.Get(LargeurColonne)}});
    const TVariant scale = wb.Obj(CurValues).Obj(FormatImage).Get(EchelleX);
    wb.Call(FormatImage, {{DefinirTaille, OleInt(SizeByScale)}, {EchelleY, scale}});
    wb.Call("FinLigne");
    wb.Call(Insertion, {{"", OleText(CR + "  " + CR)}});
  }
  SetStatus(Msg::StatusSource);
  wb.Call(LigneVersBas);
  wb.Call(DebutLigne);
  const TVariant p1 = wb.Call(LitPosDebSel);
  wb.Call("InsertionFichier", {{Nom, OleFileText(ExpandFileName(source))}});
  const TVariant p2 = wb.Call(LitPosDebSel);
  wb.Call("DéfinirEtendueSél", {{"", p1}, {"", p2}});
  wb.Call("StyleNormal");
  wb.Call("FormatCaractères", {{"Points", OleInt(SourcePoints)}, {"Police", OleText(SourceFont)}});
  // The next unit starts in a new column.
  wb.Call(FinDocument);
  wb.Call("InsertionSautColonne");
}

void TMSWord::FinishWordBasic() {
  const TOleObject& wb = WordBasic;
  ProcessMessages();
  wb.Call(FenAppAfficher);
  wb.Call("EditionAtteindre", {{"Destination", OleText("p1")}});
  SetStatus(Msg::StatusDiagram);
  // The diagram's metafile, which the composition left on the clipboard.
  wb.Call("EditionColler");
  ProcessMessages();
  wb.Call(MotGauche);
  wb.Call(SelectionnerMotCour);
  wb.Call(FormatParagraphes, {{Alignement, OleInt(AlignCentre)}});
  // As wide as the page, the same scale both ways; a diagram too tall for
  // that would run off the page and is fitted to its height instead.
  const TOleObject pasted = wb.Obj(CurValues).Obj(FormatImage);
  if (LeadingNumber(OleToText(pasted.Get(TailleY))) > LeadingNumber(OleToText(pasted.Get(TailleX))) * TextHeightPerWidth) {
    wb.Call(FormatImage, {{DefinirTaille, OleInt(SizeByLength)}, {TailleY, OleText(TextHeight)}});
    wb.Call(FormatImage,
            {{DefinirTaille, OleInt(SizeByScale)}, {EchelleX, wb.Obj(CurValues).Obj(FormatImage).Get(EchelleY)}});
  } else {
    wb.Call(FormatImage,
            {{DefinirTaille, OleInt(SizeByLength)}, {TailleX, wb.Obj(CurValues).Obj(FormatColonnes).Get(LargeurColonne)}});
    wb.Call(FormatImage,
            {{DefinirTaille, OleInt(SizeByScale)}, {EchelleY, wb.Obj(CurValues).Obj(FormatImage).Get(EchelleX)}});
  }
  SetStatus(Msg::StatusContents);
  wb.Call(FinDocument);
  ProcessMessages();
  wb.Call("InsertionTableMatières", {{"Plan", OleInt(Yes)},
                                     {"De", OleInt(HeadingLevelFirst)},
                                     {"A", OleInt(HeadingLevelLast)},
                                     {"Champs", OleInt(No)},
                                     {"AlignerDroiteNumPages", OleInt(Yes)},
                                     {"Remplacer", OleInt(Yes)}});
  SetStatus(Msg::StatusSaving);
  const std::string fileName = Host.DocumentFileName();
  if (fileName.empty()) {
    wb.Call(FenAppAfficher);
  } else {
    TOleFileName name(fileName);
    wb.Call("FichierEnregistrerSous", {{Nom, name.Arg()}});
  }
  ProcessMessages();
  wb.Call(FenAppAfficher);
}
