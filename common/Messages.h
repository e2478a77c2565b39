// The program's message and status texts, kept together so that each one is
// written exactly once.
#pragma once

namespace Msg {
// Source reading and analysis
inline constexpr const char* NoBufferMemory = "Insufficient memory to create a buffer for ";
inline constexpr const char* NoAnalyserMemory = "Insufficient memory to create an analyser";
inline constexpr const char* UnitsArrayFull = "Insufficient room in units array";
inline constexpr const char* ProjectNotFound = "Cannot find the project file ";
// Locations and basic units
inline constexpr const char* BasicUnitsLimit = "Maximal number of basic units is reached !";
inline constexpr const char* BasicUnitDuplicate = "This basic unit is already in the list !";
inline constexpr const char* BasicUnitMissing = " cannot be found in the list.";
inline constexpr const char* ScopeNamesLimit = "Maximal number of unit scope names is reached !";
inline constexpr const char* ScopeNameDuplicate = "This unit scope name is already in the list !";
// After the name, in quotes.
inline constexpr const char* ScopeNameInvalid =
    " is not a unit scope name: write identifiers separated by dots, such as System.Win";
inline constexpr const char* LocationsLimit =
    "Maximal locations number is reached !\r\n"
    "Please delete some by mean of Options/Locations menu\r\n"
    "otherwise diagram will be invalid.";
inline constexpr const char* LocationDuplicate = "This location is already in the list !";
// Status texts
inline constexpr const char* StatusInitializing = "Initializing diagram ...";
inline constexpr const char* StatusRestarting = "Implicit locations found, restarting...";
inline constexpr const char* StatusSorting = "Sorting diagram's branches ...";
inline constexpr const char* StatusComposing = "Composing diagram's metafile ...";
inline constexpr const char* StatusReady = "Ready";
inline constexpr const char* StatusLoadingWord = "Loading MS Word(tm)";
inline constexpr const char* StatusGenerating = "Generating document";
// The basic-units box's title until the user gives it one.
inline constexpr const char* DefaultBasicUnitsTitle = "Basic units";
// The Word document's progress
inline constexpr const char* StatusCreatingDocument = "Creating new document";
inline constexpr const char* StatusPageSetup = "Tuning page setup";
inline constexpr const char* StatusFooter = "Defining page footer";
inline constexpr const char* StatusTitle = "Inserting title";
inline constexpr const char* StatusPicture = "Inserting associated picture";
inline constexpr const char* StatusSource = "Inserting pascal file";
inline constexpr const char* StatusDiagram = "Inserting diagram";
inline constexpr const char* StatusContents = "Inserting table of contents";
inline constexpr const char* StatusSaving = "Saving document";
// Word automation
inline constexpr const char* WordUnavailable = "Unable to execute Microsoft Word(tm).";
inline constexpr const char* TryWord97 =
    "Apparently, french version of Microsoft Word 95 is not installed.\r\n"
    "Do you want to try with Microsoft Word 97 ?";
// Context (first) and the failure's message (second).
inline constexpr const char* DocumentProblem = "A problem has occurred while generating document %s\r\n     %s";
inline constexpr const char* WhileNewDocument = "while initializing new document :";
inline constexpr const char* WhileInserting = "while inserting %s :";  // the unit's name
inline constexpr const char* WhileFinishing = "while finishing document";
// Captions
inline constexpr const char* AppCaption = "Usagram";
inline constexpr const char* TitlePrefix = "Usagram - ";
// Windows
inline constexpr const char* NoHelp = "The help of this window cannot be shown.";
// The IDE expert: the library listed twice in the IDE's experts.
inline constexpr const char* ExpertAlreadyLoaded = "Usagram_Expert is already loaded: it is listed twice among the experts";
}  // namespace Msg
