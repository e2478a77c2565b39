// The Word 97 sequences, through the object model of "Word.Application".
// Lengths are in points.
#include "FileSystem.h"
#include "Messages.h"
#include "WordNames.h"
#include "Yield.h"
#include "uMSWord.h"

using namespace OM;

namespace {
const std::string CR = "\r";
constexpr const char* PascalStyleName = "Pascal code";
constexpr const char* SourceFont = "Courier New";

TOleArgs UnitStory() { return {{Unit, OleInt(wdStory)}}; }
TOleArgs CollapseEnd() { return {{Direction, OleInt(wdCollapseEnd)}}; }
TOleArgs Text(const std::string& text) { return {{"", OleText(text)}}; }
}  // namespace

// Read at every use, as Word's selection moves between the text and the
// footer.
TOleObject TMSWord::Sel() const { return WordApp.Obj(Selection); }

void TMSWord::SetNoProofing() {
  Document.Obj("AttachedTemplate").Put(LanguageID, OleInt(wdNoProofing));
  Sel().Call("WholeStory");
  Sel().Put(LanguageID, OleInt(wdNoProofing));
}

void TMSWord::NewDocumentObjectModel() {
  ProcessMessages();
  const TOleObject documents = WordApp.Obj("Documents");
  SetStatus(Msg::StatusCreatingDocument);
  Document = documents.CallObj("Add");
  SetStatus(Msg::StatusPageSetup);
  Document.Call(Activate);
  SetNoProofing();
  PascalStyle = Document.Obj("Styles").CallObj(
      "Add", {{"Name", OleText(PascalStyleName)}, {Type, OleInt(wdStyleTypeCharacter)}});
  PascalStyle.Obj("Font").Put("Name", OleText(SourceFont));
  PascalStyle.Obj("Font").Put("Size", OleInt(static_cast<long>(PascalCodePoints)));
  Sel().Call(EndKey, UnitStory());
  // Page 1 stays for the diagram.
  Sel().Call(InsertBreak, {{"", OleInt(wdPageBreak)}});
  Sel().Call(Collapse, CollapseEnd());
  ProcessMessages();
  const TOleObject pageSetup = Document.Obj(Content).Obj(PageSetup);
  pageSetup.Put("Orientation", OleInt(wdOrientLandscape));
  const struct {
    const char* Name;
    float Centimetres;
  } margins[] = {{"TopMargin", 0.42f}, {"BottomMargin", 1},   {"LeftMargin", 1.5f},     {"RightMargin", 0.4f},
                 {"Gutter", 0},        {"HeaderDistance", 0}, {"FooterDistance", 0.45f}};
  for (const auto& margin : margins) pageSetup.Put(margin.Name, OleSingle(CmToPoints(margin.Centimetres)));
  Sel().Call(Collapse, CollapseEnd());
  // Two columns from page 2 on.
  Sel().Call(GoTo, {{What, OleInt(wdGoToPage)}, {Which, OleInt(wdGoToFirst)}, {Count, OleInt(2)}});
  Sel().Call(EndKey, {{Unit, OleInt(wdStory)}, {Extend, OleInt(wdExtend)}});
  const TOleObject columns = Document.CallObj(Range, {{"", Sel().Get(StartPosition)}, {"", Document.Obj(Content).Get(EndPosition)}})
                                 .Obj(PageSetup)
                                 .Obj("TextColumns");
  columns.Call("SetCount", {{"", OleInt(TwoColumns)}});
  columns.Put("EvenlySpaced", OleBool(true));
  columns.Put("LineBetween", OleBool(true));
  Sel().Call(Collapse, CollapseEnd());

  SetStatus(Msg::StatusFooter);
  Document.Call(Activate);
  const TOleObject window = WordApp.Obj(ActiveWindow);
  if (OleToInt(window.Obj(View).Get(SplitSpecial)) != wdPaneNone)
    window.Obj("Panes").CallObj(Item, {{"", OleInt(2)}}).Call("Close");
  const long viewType = OleToInt(window.Obj(ActivePane).Obj(View).Get(Type));
  if (viewType == wdNormalView || viewType == wdOutlineView || viewType == wdMasterView)
    window.Obj(ActivePane).Obj(View).Put(Type, OleInt(wdPageView));
  window.Obj(ActivePane).Obj(View).Put(SeekView, OleInt(wdSeekCurrentPageFooter));
  ProcessMessages();
  Sel().Call(TypeText, Text("   "));
  Sel().Call(InsertDateTime, {{"DateTimeFormat", OleText("jjjj MMMM j aaaa")}, {"InsertAsField", OleBool(false)}});
  Sel().Call(TypeText, Text(" at "));
  Sel().Call(InsertDateTime, {{"DateTimeFormat", OleText("HH:mm")}, {"InsertAsField", OleBool(false)}});
  Sel().Call(TypeText, Text(". "));
  Sel().Obj("Fields").Call("Add", {{Range, Sel().Get(Range)}, {Type, OleInt(wdFieldNumPages)}});
  Sel().Call(TypeText, Text(" pages. "));
  Sel().Obj("HeaderFooter").Obj("PageNumbers").Call(
      "Add", {{"PageNumberAlignment", OleInt(wdAlignPageNumberRight)}, {"FirstPage", OleBool(true)}});
  window.Obj(ActivePane).Obj(View).Put(SeekView, OleInt(wdSeekMainDocument));
  ProcessMessages();
  if (OleToInt(window.Obj(View).Get(SplitSpecial)) == wdPaneNone)
    window.Obj(ActivePane).Obj(View).Put(Type, OleInt(wdNormalView));
  else
    window.Obj(View).Put(Type, OleInt(wdNormalView));
}

void TMSWord::AddUnitObjectModel(const std::string& name, const std::string& picture, const std::string& source) {
  Document.Call(Activate);
  Sel().Call(EndKey, UnitStory());
  SetStatus(Msg::StatusTitle);
  Sel().Call(TypeText, Text(CR + BracketLine() + CR));
  Sel().Call("MoveUp", {{Unit, OleInt(wdLine)}, {Count, OleInt(2)}, {Extend, OleInt(wdMove)}});
  const TOleObject title = Sel().Obj(Range);
  title.Put(Style, OleInt(wdStyleHeading1));
  title.Call("InsertAfter", Text(name));
  title.Obj(Paragraphs).CallObj(Item, {{"", OleInt(1)}}).Put(Alignment, OleInt(wdAlignParagraphCenter));
  Sel().Call(EndKey, UnitStory());
  if (FileExists(picture)) {
    SetStatus(Msg::StatusPicture);
    Document.Call(Activate);
    Sel().Call(TypeText, Text(CR));
    const TVariant s = Sel().Get(StartPosition);
    Sel().Call(TypeText, Text("  "));
    const TVariant e = Sel().Get(StartPosition);
    Document.CallObj(Range, {{StartPosition, s}, {EndPosition, e}}).Call(Select);
    const TOleObject shape =
        Document.Obj(Shapes).CallObj(AddPicture, {{"Anchor", Sel().Get(Range)}, {FileName, OleFileText(picture)}});
    shape.Put(LockAspectRatio, OleBool(true));
    shape.Put("LockAnchor", OleBool(true));
    shape.Put(Width, Sel().Obj(Sections)
                         .Obj(First)
                         .Obj(PageSetup)
                         .Obj("TextColumns")
                         .CallObj(Item, {{"", OleInt(1)}})
                         .Get(Width));
    Sel().Call(Collapse, CollapseEnd());
    Sel().Call(TypeText, Text(CR));
  }
  SetStatus(Msg::StatusSource);
  Document.Call(Activate);
  const TVariant s = Sel().Get(StartPosition);
  Sel().Call("InsertFile", {{FileName, OleFileText(ExpandFileName(source))}});
  Sel().Call(TypeText, Text(CR));
  Sel().Call(EndKey, UnitStory());
  Sel().Call(MoveLeft, {{Unit, OleInt(wdCharacter)}, {Count, OleInt(1)}, {Extend, OleInt(wdMove)}});
  const TVariant e = Sel().Get(StartPosition);
  Document.CallObj(Range, {{StartPosition, s}, {EndPosition, e}}).Call(Select);
  Sel().Put(Style, PascalStyle.AsArg());
  // The next unit starts in a new column.
  Sel().Call(EndKey, UnitStory());
  Sel().Call(InsertBreak, {{Type, OleInt(wdColumnBreak)}});
  Sel().Call(Collapse, CollapseEnd());
}

void TMSWord::FinishObjectModel() {
  Document.Call(Activate);
  SetNoProofing();
  Sel().Call(GoTo, {{What, OleInt(wdGoToPage)}, {Which, OleInt(wdGoToNext)}, {"Name", OleText("1")}});
  const std::string diagramFile = Host.DiagramFileName();
  if (!diagramFile.empty()) {
    SetStatus(Msg::StatusDiagram);
    Document.Call(Activate);
    if (!Host.SaveDiagram(diagramFile))
      throw EOleError("The diagram cannot be written to " + diagramFile + ".", E_FAIL);
    TOleFileName pictureName(diagramFile);
    const TOleObject shape = Document.Obj(Shapes).CallObj(AddPicture, {{"", pictureName.Arg()}});
    Sel().Call(MoveLeft, {{Unit, OleInt(wdWord)}, {Count, OleInt(1)}, {Extend, OleInt(wdMove)}});
    Sel().Obj("Words").CallObj(Item, {{"", OleInt(1)}}).Call(Select);
    Sel().Obj(Paragraphs).CallObj(Item, {{"", OleInt(1)}}).Put(Alignment, OleInt(wdAlignParagraphCenter));
    shape.Put(LockAspectRatio, OleBool(true));
    ProcessMessages();
    shape.Put("Left", OleSingle(CmToPoints(0)));
    shape.Put("Top", OleSingle(CmToPoints(0)));
    const TOleObject pageSetup = Document.Obj(Sections).Obj(First).Obj(PageSetup);
    auto points = [&](const char* member) { return OleToSingle(pageSetup.Get(member)); };
    shape.Put(Width, OleSingle(points("PageWidth") - points("RightMargin") - points("LeftMargin")));
    shape.Put("Height", OleSingle(points("PageHeight") - points("BottomMargin") - points("TopMargin")));
    Sel().Call(Collapse, CollapseEnd());
  }
  SetStatus(Msg::StatusContents);
  Document.Call(Activate);
  Sel().Call(Collapse, CollapseEnd());
  Sel().Call(EndKey, UnitStory());
  Document.Obj("TablesOfContents")
      .Call("Add", {{Range, Sel().Get(Range)},
                    {"UseHeadingStyles", OleBool(true)},
                    {"UpperHeadingLevel", OleInt(HeadingLevelFirst)},
                    {"LowerHeadingLevel", OleInt(HeadingLevelLast)},
                    {"UseFields", OleBool(false)},
                    {"RightAlignPageNumbers", OleBool(true)},
                    {"IncludePageNumbers", OleBool(true)}});
  SetStatus(Msg::StatusSaving);
  Document.Call(Activate);
  const std::string fileName = Host.DocumentFileName();
  if (fileName.empty()) {
    WordApp.Put(Visible, OleBool(true));
  } else {
    TOleFileName name(fileName);
    Document.Call("SaveAs", {{FileName, name.Arg()},
                             {"FileFormat", OleInt(wdFormatDocument)},
                             {"LockComments", OleBool(false)},
                             {"Password", OleText("")},
                             {"AddToRecentFiles", OleBool(true)},
                             {"WritePassword", OleText("")},
                             {"ReadOnlyRecommended", OleBool(false)},
                             {"EmbedTrueTypeFonts", OleBool(false)},
                             {"SaveNativePictureFormat", OleBool(false)},
                             {"SaveFormsData", OleBool(false)},
                             {"SaveAsAOCELetter", OleBool(false)}});
  }
  ProcessMessages();
}
