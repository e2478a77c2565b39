// Commands of both dialects on a document's selection.
#pragma once

#include <string>

#include "Document.h"

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
// Moves the selection to the main text's page (from 1).
void GoToPage(TDocument& doc, int page);
// Page count and pages of the main text, estimated.
int PageCount(const TDocument& doc);
int PageOfSelection(const TDocument& doc);
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
