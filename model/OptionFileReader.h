// Reading a project's option files from disk: the XML ones (.dproj, .lpi)
// through Windows' own XmlLite, the text ones (.dof, .cfg) as they are; the
// evaluation is OptionFiles'.
#pragma once

#include <string>
#include <vector>

#include "OptionFiles.h"

// The settings of the option file, by its extension; platform and config
// choose a .dproj's configuration (empty: the file's defaults). Nothing
// throws: a file that cannot be read or is malformed gives one problem
// naming it, and no directories.
TOptionFileSettings ReadOptionFile(const std::string& fileName, const std::string& platform = std::string(),
                                   const std::string& config = std::string());

// The file's scope names after those listed, each once: a name already
// listed is passed over without a word (importing a file twice is no
// mistake). Refusals of the list itself (its limit, an invalid name) are
// reported as AddScopeName reports them. The number of names added.
int AddOptionFileScopeNames(const std::vector<std::string>& names);

// The project's own option file beside it, by the same base name: X.dproj,
// then X.dof, X.cfg and X.lpi; empty when there is none.
std::string ProjectOptionFile(const std::string& projectFile);

// The document's elements, parsed by XmlLite (no DTD, at most MaxXmlDepth
// levels and MaxXmlElements elements). False, with what was wrong in error.
bool ParseXmlDocument(const std::string& bytes, TXmlElement& root, std::string& error);
