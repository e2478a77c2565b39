// Shared pieces of the Word driver's tests: the sample project copied where
// its document may be written, the word processor's call log, a host that
// records what the driver asks and shows, and the stand-in's registration.
#pragma once

#include <string>
#include <vector>

#include "Metafile.h"
#include "WordprocTestSupport.h"
#include "uMSWord.h"

// samples/Document copied into a directory of the test's own.
class TSampleProject {
 public:
  TSampleProject();
  const std::string& Dir() const { return Work.Path(); }
  std::string Project() const { return Work.File("Gestion.dpr"); }
  std::string Pictures() const { return Work.File("pictures"); }
  std::string File(const std::string& name) const { return Work.File(name); }
  // The document and diagram names that Ctrl+G proposes beside the project.
  std::string Document() const { return Work.File("Gestion.DOC"); }
  std::string Diagram() const { return Work.File("Gestion.EMF"); }

 private:
  TWorkDir Work;
};

// The unit the sample gives a picture, and its size in pixels.
inline constexpr const char* UnitWithPicture = "Clients";
inline constexpr int PictureWidth = 64, PictureHeight = 40;
// The unit whose name has an accented letter (code page 1252).
inline constexpr const char* AccentedUnit = "R\xE9glages";

// One line of the call log: PATH, MEMBER, KIND, then the arguments and the
// outcome, as the stand-in writes them.
using TCall = std::vector<std::string>;

// The stand-in's call log, in a file of the test's own.
class TCallLog {
 public:
  explicit TCallLog(const std::string& dir);
  std::vector<TCall> Calls() const;
  // The calls of that member, on any object.
  std::vector<TCall> Of(const std::string& member) const;
  void Clear() const;

 private:
  std::string File;
};
// Whether a call has a field that starts with the text.
bool HasField(const TCall& call, const std::string& start);

// Answers the driver as the test sets it, and records what it is told.
// The question for Word 97 is the window tests' (WordWindow_test.cpp).
class TRecordingHost : public TWordHost {
 public:
  bool AskTryWord97() override { return false; }
  void SwitchToWord97() override {}
  void ShowProblem(const std::string& text) override { Problems.push_back(text); }
  void ShowUnavailable(const std::string& text) override { Unavailable.push_back(text); }
  std::string DocumentFileName() override { return DocumentName; }
  std::string DiagramFileName() override { return DiagramName; }
  bool SaveDiagram(const std::string& fileName) override;

  std::string DocumentName, DiagramName;  // empty: the user cancelled
  const TMetafile* Metafile = nullptr;
  std::vector<std::string> Problems, Unavailable;
};

// The found units in the order the drawing hands them over: from the bottom
// row upwards.
std::vector<std::string> FoundUnitsInDrawingOrder();

// The stand-in registered under those identifiers only ("" : none), and
// under both again when the object ends.
class TRegistration {
 public:
  explicit TRegistration(const std::string& progIds);
  ~TRegistration();
  TRegistration(const TRegistration&) = delete;
  TRegistration& operator=(const TRegistration&) = delete;
  bool Done() const { return Result == 0; }

 private:
  int Result;
};

// The RTF's plain paragraphs, enough to compare two documents: control
// words, groups of pictures and fields' instructions dropped, \'hh
// decoded, one entry per \par with its blanks trimmed, empty ones left out.
std::vector<std::string> RtfParagraphs(const std::string& rtf);
// The displayed sizes (\picwgoal, \pichgoal, in twips) of the pictures in
// the RTF, with the kind of each: "emf", "dib" or "png".
struct TRtfPicture {
  std::string Kind;
  int Width = 0, Height = 0;
};
std::vector<TRtfPicture> RtfPictures(const std::string& rtf);
