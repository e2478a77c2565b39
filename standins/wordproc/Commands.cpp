#include "Commands.h"

#include <windows.h>

#include <algorithm>
#include <fstream>

#include "Dispatch.h"
#include "Navigation.h"
#include "SystemText.h"
#include "Picture.h"
#include "Rtf.h"

void TypeText(TDocument& doc, const std::string& text) {
  doc.InsertText(doc.Selection, text);
  CollapseSelection(doc, true);
}

void InsertPicture(TDocument& doc, TPicture picture) {
  doc.Pictures.push_back(std::move(picture));
  doc.InsertElement(doc.Selection, TElement::Picture, static_cast<int32_t>(doc.Pictures.size() - 1));
  CollapseSelection(doc, true);
}

void Paste(TDocument& doc) {
  TPicture picture;
  std::string text;
  if (ReadClipboard(picture, text))
    InsertPicture(doc, std::move(picture));
  else
    TypeText(doc, text);
}

void InsertFile(TDocument& doc, const std::string& fileName) {
  if (fileName.empty()) throw TAutoError(WordError::BadFileName, "No file name was given.");
  TypeText(doc, ReadWholeFile(FullPath(fileName), "file"));
}

void InsertField(TDocument& doc, const TField& field) {
  if (field.Type == TFieldType::Toc && InFooter(doc))
    throw TAutoError(WordError::NotAvailable, "A table of contents cannot be inserted in a header or footer.");
  doc.Fields.push_back(field);
  doc.InsertElement(doc.Selection, TElement::Field, static_cast<int32_t>(doc.Fields.size() - 1));
  CollapseSelection(doc, true);
}

void InsertBreak(TDocument& doc, TElement kind) {
  doc.InsertElement(doc.Selection, kind, 0);
  CollapseSelection(doc, true);
}

void CollapseSelection(TDocument& doc, bool toEnd) {
  TTracked& s = doc.Selection;
  // The insertion point never goes past the final paragraph mark.
  const int at = toEnd ? std::min(s.End(), s.Story().End() - 1) : s.Start();
  s.Set(at, at);
}

void GoToPage(TDocument& doc, const TPageMap& pages, int page) {
  if (page < 1 || page > pages.Count())
    throw TAutoError(WordError::OutOfRange,
                     "There is no page " + std::to_string(page) + ": the document has " + std::to_string(pages.Count()) + ".");
  const int at = pages.StartOf(page);
  doc.Selection.Set(doc.Main, at, at);
}

int PageOfSelection(const TDocument& doc, const TPageMap& pages) {
  return pages.PageOf(InFooter(doc) ? doc.MainSelection.Start() : doc.Selection.Start());
}

void GoToSection(TDocument& doc, int section) {
  const int at = doc.SectionStart(section - 1);
  doc.Selection.Set(doc.Main, at, at);
}

bool InFooter(const TDocument& doc) { return doc.Selection.Story().Type != TStoryType::Main; }

void OpenFooter(TDocument& doc) {
  if (InFooter(doc)) return;
  doc.MainSelection.Set(doc.Main, doc.Selection.Start(), doc.Selection.End());
  doc.Selection.Set(doc.Footer, 0, 0);
}

void CloseFooter(TDocument& doc) {
  if (!InFooter(doc)) return;
  doc.Selection.Set(doc.Main, doc.MainSelection.Start(), doc.MainSelection.End());
}

std::string FullPath(const std::string& fileName) {
  char buffer[MAX_PATH * 2];
  const DWORD n = GetFullPathNameA(fileName.c_str(), sizeof buffer, buffer, nullptr);
  if (n == 0 || n >= sizeof buffer) throw TAutoError(WordError::BadFileName, "\"" + fileName + "\" is not a valid file name.");
  return std::string(buffer, n);
}

namespace {
std::string SystemMessage(DWORD code) {
  const std::string text = SystemErrorText(code);
  return text.empty() ? "error " + std::to_string(code) : text;
}
}  // namespace

void SaveDocument(const TDocument& doc, const std::string& fileName) {
  if (fileName.empty()) throw TAutoError(WordError::BadFileName, "No file name was given.");
  const std::string target = FullPath(fileName);
  const std::string rtf = WriteRtf(doc);
  const std::string temporary = target + ".wordproc-tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (out) out.write(rtf.data(), static_cast<std::streamsize>(rtf.size()));
    if (!out) {
      const DWORD code = GetLastError();
      DeleteFileA(temporary.c_str());
      throw TAutoError(WordError::CommandFailed,
                       "The document cannot be saved as \"" + target + "\": " + SystemMessage(code));
    }
  }
  if (!MoveFileExA(temporary.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    const DWORD code = GetLastError();
    DeleteFileA(temporary.c_str());
    throw TAutoError(WordError::CommandFailed, "The document cannot be saved as \"" + target + "\": " + SystemMessage(code));
  }
}

void ApplyStyleByName(TDocument& doc, const std::string& name) {
  const int style = doc.StyleByName(name);
  if (style < 0) throw TAutoError(WordError::NoSuchMember, "The style \"" + name + "\" does not exist.");
  doc.ApplyParagraphStyle(doc.Selection.Story(), doc.Selection.Start(), doc.Selection.End(), style);
}
