// Commands of both dialects on a document's selection.
#pragma once

#include <string>

#include "Document.h"
#include "Navigation.h"

// Replaces the selection by the text; the selection ends up after it.
void TypeText(TDocument& doc, const std::string& text);
// An inline picture in place of the selection, which ends up after it.
void InsertPicture(TDocument& doc, TPicture picture);
// The clipboard's metafile as a picture, or its text.
void Paste(TDocument& doc);
// The text of a file in place of the selection, which ends up after it.
void InsertFile(TDocument& doc, const std::string& fileName);
void InsertField(TDocument& doc, const TField& field);
// A page, column or line break in place of the selection.
void InsertBreak(TDocument& doc, TElement kind);
void CollapseSelection(TDocument& doc, bool toEnd);
// Moves the selection to the start of the main text's page (from 1) of the
// document's pages, out of the footer.
void GoToPage(TDocument& doc, const TPageMap& pages, int page);
// The page (from 1) of the selection, or of its place in the main text
// while it is in the footer.
int PageOfSelection(const TDocument& doc, const TPageMap& pages);
// Moves the selection to the start of a section (from 1, which exists), out
// of the footer.
void GoToSection(TDocument& doc, int section);
// The selection goes to the footer and back to where it was.
void OpenFooter(TDocument& doc);
void CloseFooter(TDocument& doc);
bool InFooter(const TDocument& doc);
// Writes the document as RTF; the file is replaced only once the new one
// is complete.
void SaveDocument(const TDocument& doc, const std::string& fileName);
// The full path of a file name given by a client.
std::string FullPath(const std::string& fileName);
// Applies a paragraph or character style by name to the selection.
void ApplyStyleByName(TDocument& doc, const std::string& name);
