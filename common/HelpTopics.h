// The help files and the page of the help file that each window's help
// context opens. The help project (help/Usagram.hhp) maps the same numbers
// to the same pages; a test holds the two together.
#pragma once

#include <string_view>

namespace HelpFiles {
inline constexpr const char* Usagram = "Usagram.chm";
inline constexpr const char* Quorvel = "Quorvel.chm";
}  // namespace HelpFiles

struct THelpTopic {
  int Context;
  std::string_view Page;
};

// Help contexts in order, 1 to 7.
inline constexpr THelpTopic HelpTopics[] = {
    {1, "main-window.htm"},        // TfUsagram
    {2, "inspect-window.htm"},     // TfUnite
    {3, "editor-window.htm"},      // TfEditeur
    {4, "basic-units-window.htm"}, // TfUnitsdebase
    {5, "locations-window.htm"},   // TfLocalisations
    {6, "bug-report-window.htm"},  // TfBugReport
    {7, "simplification-window.htm"},  // TfAeration
};

// The page of a help context, or an empty view when none has one.
constexpr std::string_view HelpTopicPage(int context) {
  for (const THelpTopic& t : HelpTopics)
    if (t.Context == context) return t.Page;
  return {};
}
