// Names and numbers of Word's automation that the driver sends: the
// WordBasic commands and values of the French Word 95, the object model's
// members and published constants of Word 97.
#pragma once

// WordBasic.
namespace WB {
inline constexpr const char* FenAppAfficher = "FenAppAfficher";  // shows Word's window
inline constexpr const char* Insertion = "Insertion";
inline constexpr const char* MotGauche = "MotGauche";
inline constexpr const char* SelectionnerMotCour = "SélectionnerMotCour";
inline constexpr const char* FormatParagraphes = "FormatParagraphes";
inline constexpr const char* FormatImage = "FormatImage";
inline constexpr const char* LigneVersBas = "LigneVersBas";
inline constexpr const char* DebutLigne = "DébutLigne";
inline constexpr const char* FinDocument = "FinDocument";
inline constexpr const char* LitPosDebSel = "LitPosDébSél";
inline constexpr const char* CurValues = "CurValues";
inline constexpr const char* FormatColonnes = "FormatColonnes";
inline constexpr const char* LargeurColonne = "LargeurColonne";

// Argument names used by more than one command.
inline constexpr const char* Alignement = "Alignement";
inline constexpr const char* DefinirTaille = "DéfinirTaille";
inline constexpr const char* Nom = "Nom";

// Values.
inline constexpr long AlignCentre = 1;        // FormatParagraphes.Alignement
inline constexpr long SizeByLength = 1;       // FormatImage.DéfinirTaille: TailleX, TailleY
inline constexpr long SizeByScale = 0;        // FormatImage.DéfinirTaille: EchelleX, EchelleY
inline constexpr long Landscape = 1;          // FichierMiseEnPage.Orientation
inline constexpr long FromHereOn = 1;         // AppliquerColsA
inline constexpr long WholeDocument = 4;      // AppliquerPropsA
inline constexpr long FooterNumber = 1;       // InsertionNumPage.Type
inline constexpr long NumberRight = 2;        // InsertionNumPage.Position
inline constexpr long TwoColumns = 2;
inline constexpr long Yes = 1, No = 0;        // check boxes of the dialogs
inline constexpr long HeadingLevelFirst = 1, HeadingLevelLast = 3;  // InsertionTableMatières.De, A
}  // namespace WB

// The Word 97 object model.
namespace OM {
inline constexpr const char* Visible = "Visible";
inline constexpr const char* Selection = "Selection";
inline constexpr const char* Activate = "Activate";
inline constexpr const char* Range = "Range";
inline constexpr const char* StartPosition = "Start";
inline constexpr const char* EndPosition = "End";
inline constexpr const char* Select = "Select";
inline constexpr const char* EndKey = "EndKey";
inline constexpr const char* Collapse = "Collapse";
inline constexpr const char* TypeText = "TypeText";
inline constexpr const char* MoveLeft = "MoveLeft";
inline constexpr const char* InsertBreak = "InsertBreak";
inline constexpr const char* GoTo = "GoTo";
inline constexpr const char* Item = "Item";
inline constexpr const char* PageSetup = "PageSetup";
inline constexpr const char* Alignment = "Alignment";
inline constexpr const char* Paragraphs = "Paragraphs";
inline constexpr const char* Shapes = "Shapes";
inline constexpr const char* AddPicture = "AddPicture";
inline constexpr const char* LockAspectRatio = "LockAspectRatio";
inline constexpr const char* Width = "Width";
inline constexpr const char* Sections = "Sections";
inline constexpr const char* First = "First";
inline constexpr const char* ActiveWindow = "ActiveWindow";
inline constexpr const char* ActivePane = "ActivePane";
inline constexpr const char* View = "View";
inline constexpr const char* Type = "Type";
inline constexpr const char* SplitSpecial = "SplitSpecial";
inline constexpr const char* SeekView = "SeekView";
inline constexpr const char* InsertDateTime = "InsertDateTime";
inline constexpr const char* LanguageID = "LanguageID";
inline constexpr const char* Content = "Content";
inline constexpr const char* Style = "Style";
// Argument names.
inline constexpr const char* Unit = "Unit";
inline constexpr const char* Count = "Count";
inline constexpr const char* Extend = "Extend";
inline constexpr const char* Direction = "Direction";
inline constexpr const char* What = "What";
inline constexpr const char* Which = "Which";
inline constexpr const char* FileName = "FileName";

// Published constants.
inline constexpr long wdCharacter = 1, wdWord = 2, wdLine = 5, wdStory = 6;       // units of movement
inline constexpr long wdMove = 0, wdExtend = 1;                                   // Extend
inline constexpr long wdCollapseEnd = 0;                                          // Collapse
inline constexpr long wdPageBreak = 7, wdColumnBreak = 8;                         // InsertBreak
inline constexpr long wdGoToPage = 1, wdGoToFirst = 1, wdGoToNext = 2;            // GoTo
inline constexpr long wdOrientLandscape = 1;                                      // PageSetup.Orientation
inline constexpr long wdNoProofing = 1024;                                        // LanguageID
inline constexpr long wdStyleTypeCharacter = 2;                                   // Styles.Add
inline constexpr long wdStyleHeading1 = -2;                                       // built-in style
inline constexpr long wdAlignParagraphCenter = 1;                                 // Alignment
inline constexpr long wdPaneNone = 0;                                             // SplitSpecial
inline constexpr long wdNormalView = 1, wdOutlineView = 2, wdPageView = 3, wdMasterView = 5;  // View.Type
inline constexpr long wdSeekMainDocument = 0, wdSeekCurrentPageFooter = 10;       // SeekView
inline constexpr long wdFieldNumPages = 26;                                       // Fields.Add
inline constexpr long wdAlignPageNumberRight = 2;                                 // PageNumbers.Add
inline constexpr long wdFormatDocument = 0;                                       // SaveAs.FileFormat
inline constexpr long TwoColumns = 2;
inline constexpr long HeadingLevelFirst = 1, HeadingLevelLast = 3;                // TablesOfContents.Add
inline constexpr float PascalCodePoints = 7;
}  // namespace OM
