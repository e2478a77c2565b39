// The Word driver: writes the project's documentation into a Word document
// by OLE automation, through the WordBasic of the French Word 95
// ("Word.Basic") or the object model of Word 97 ("Word.Application"), as
// MSWord95 chooses at the moment of each operation.
#pragma once

#include <exception>
#include <memory>
#include <string>

#include "Draw.h"
#include "OleAutomation.h"

// Program identifiers of the two dialects.
inline constexpr const char* WordBasicProgId = "Word.Basic";
inline constexpr const char* WordApplicationProgId = "Word.Application";

// What the driver needs from the program around it: the questions and
// reports a user sees, the document's names and the diagram. The main window
// answers with boxes and its save dialogs, the console program from its
// command line.
class TWordHost {
 public:
  virtual ~TWordHost() = default;
  // Word 95 could not be reached: try Word 97? (a Yes/No question)
  virtual bool AskTryWord97() = 0;
  // Flips MSWord95 as the main window's Word menu item does.
  virtual void SwitchToWord97() = 0;
  // A failure while generating (ReportError's box).
  virtual void ShowProblem(const std::string& text) = 0;
  // Word could not be started at all.
  virtual void ShowUnavailable(const std::string& text) = 0;
  // Full names of the document and of the diagram's picture file; empty
  // when the user cancelled.
  virtual std::string DocumentFileName() = 0;
  virtual std::string DiagramFileName() = 0;
  // Writes the diagram as an enhanced metafile; false when it cannot.
  virtual bool SaveDiagram(const std::string& fileName) = 0;
};

class TMSWord : public TDocumentGenerator {
 public:
  explicit TMSWord(TWordHost& host) : Host(host) {}

  // Reaches Word unless already connected; returns Started.
  bool Start() override;
  // The document, its page setup, columns and footer.
  void NewDocument() override;
  // One unit's section: title, bracket line, picture when the file exists,
  // source.
  void AddUnit(const std::string& name, const std::string& picture, const std::string& source) override;
  // The diagram, the table of contents, the save.
  void Finish() override;
  // Reports a failure once and ends the connection.
  void ReportError(const std::exception& error, const std::string& context);

  static float CmToPoints(float centimetres) { return centimetres * 28.35f; }

  TOleObject WordBasic;    // "Word.Basic"
  TOleObject WordApp;      // "Word.Application"
  TOleObject Document;     // the object model's document
  TOleObject PascalStyle;  // its character style for the sources
  bool Started = false;

 private:
  // Runs one operation's Word calls while connected; a failure goes to
  // ReportError with the context.
  template <class TSteps>
  void Guarded(const std::string& context, TSteps steps);
  void StartWordBasic();
  void StartWordApplication();

  // The WordBasic sequences.
  void NewDocumentWordBasic();
  void AddUnitWordBasic(const std::string& name, const std::string& picture, const std::string& source);
  void FinishWordBasic();
  // The object-model sequences.
  TOleObject Sel() const;
  void SetNoProofing();
  void NewDocumentObjectModel();
  void AddUnitObjectModel(const std::string& name, const std::string& picture, const std::string& source);
  void FinishObjectModel();

  TWordHost& Host;
};

// "[" + the three caption texts separated by blanks + "]": the line under
// every unit's title.
std::string BracketLine();

// The process's driver. While an installation lives it exists and is the
// drawing's DocumentGenerator.
extern TMSWord* MSWord;
class TMSWordInstallation {
 public:
  explicit TMSWordInstallation(TWordHost& host);
  ~TMSWordInstallation();
  TMSWordInstallation(const TMSWordInstallation&) = delete;
  TMSWordInstallation& operator=(const TMSWordInstallation&) = delete;

 private:
  std::unique_ptr<TMSWord> Driver;
};
