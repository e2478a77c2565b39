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
// Captions
inline constexpr const char* AppCaption = "Usagram";
inline constexpr const char* TitlePrefix = "Usagram - ";
// Windows
inline constexpr const char* NoHelp = "The help of this window cannot be shown.";
}  // namespace Msg
