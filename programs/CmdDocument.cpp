#include "CmdDocument.h"

#include <cstdio>
#include <optional>

#include "CmdAnalysis.h"
#include "CmdDiagram.h"
#include "ComOwners.h"
#include "Compose.h"
#include "FileSystem.h"
#include "Globales.h"
#include "Output.h"
#include "Units.h"
#include "uChaines.h"
#include "uMSWord.h"

namespace {

// A box's text on one line of standard error: a line break and the blanks
// that indent the next line become one blank.
void Report(const std::string& text) {
  std::string line;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' || text[i] == '\n') {
      while (i + 1 < text.size() && (text[i + 1] == '\r' || text[i + 1] == '\n' || text[i + 1] == ' ')) ++i;
      line += ' ';
    } else {
      line += text[i];
    }
  }
  std::fprintf(stderr, "UsagramCmd: %s\n", line.c_str());
}

// The driver's questions answered from the command line: the names given,
// no dialogs, the messages on standard error.
class TConsoleWordHost : public TWordHost {
 public:
  TConsoleWordHost(const TDocumentRequest& request, const TMetafile& metafile)
      : Request(request), Metafile(metafile) {}

  // Word 97 is tried instead unless Word 95 was asked for by name.
  bool AskTryWord97() override {
    if (Request.Dialect == TWordDialect::Word95) return false;
    Report("Word 95 (\"Word.Basic\") does not answer in French; trying Word 97 (\"Word.Application\")");
    return true;
  }
  void SwitchToWord97() override { MSWord95 = false; }
  void ShowProblem(const std::string& text) override {
    Failed = true;
    Report(text);
  }
  void ShowUnavailable(const std::string& text) override { Report(text); }
  std::string DocumentFileName() override { return Request.File; }
  // Beside the document, with its name.
  std::string DiagramFileName() override {
    const std::string name = ProposedEmfName(Request.File);
    return SameTextAscii(name, Request.File) ? name + ".EMF" : name;
  }
  bool SaveDiagram(const std::string& fileName) override { return Metafile.SaveToFile(fileName); }

  bool Failed = false;

 private:
  const TDocumentRequest& Request;
  const TMetafile& Metafile;
};

// Hands the units to the driver without their pictures, as the drawing's
// generator while it lives.
class TWithoutPictures : public TDocumentGenerator {
 public:
  explicit TWithoutPictures(TDocumentGenerator& driver) : Driver(driver) { DocumentGenerator = this; }
  ~TWithoutPictures() override { DocumentGenerator = &Driver; }
  TWithoutPictures(const TWithoutPictures&) = delete;
  TWithoutPictures& operator=(const TWithoutPictures&) = delete;
  bool Start() override { return Driver.Start(); }
  void NewDocument() override { Driver.NewDocument(); }
  void AddUnit(const std::string& name, const std::string&, const std::string& source) override {
    Driver.AddUnit(name, std::string(), source);
  }
  void Finish() override { Driver.Finish(); }

 private:
  TDocumentGenerator& Driver;
};

// The Word version and the pictures' directory of this run; the user's
// settings are as they were afterwards.
class TDocumentSettings {
 public:
  explicit TDocumentSettings(const TDocumentRequest& request) : Word95(MSWord95), Images(ImagesDirectory) {
    if (request.Dialect != TWordDialect::Setting) MSWord95 = request.Dialect == TWordDialect::Word95;
    if (!request.Pictures.empty()) ImagesDirectory = request.Pictures;
    KeepWordVersion = request.Dialect == TWordDialect::Setting;
  }
  ~TDocumentSettings() {
    // A fallback to Word 97 that the settings chose is the user's new
    // setting, as in the main window.
    if (!KeepWordVersion) MSWord95 = Word95;
    ImagesDirectory = Images;
  }
  TDocumentSettings(const TDocumentSettings&) = delete;
  TDocumentSettings& operator=(const TDocumentSettings&) = delete;

 private:
  bool Word95;
  std::string Images;
  bool KeepWordVersion;
};

struct TFileStamp {
  bool Exists = false;
  ULONGLONG Written = 0;
};

TFileStamp StampOf(const std::string& fileName) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(fileName.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
    return {};
  return {true, (static_cast<ULONGLONG>(data.ftLastWriteTime.dwHighDateTime) << 32) | data.ftLastWriteTime.dwLowDateTime};
}

std::string Quoted(const std::string& text) {
  std::string quoted = "\"";
  quoted += text;
  quoted += '"';
  return quoted;
}

}  // namespace

TExitCode RunDocument(const TCmdRequest& request) {
  const TAnalysisRequest& analysis = request.Analysis;
  TAnalysisSession session(analysis);
  const TExitCode code = session.Run();
  if (session.Outcome() != TProjectOutcome::Analysed || !FileArray) return code;
  if (analysis.ListsGiven) UsePalette();

  TDocumentSettings settings(request.Document);
  TComApartment com;
  TMetafile metafile;
  TConsoleWordHost host(request.Document, metafile);
  TMSWordInstallation installation(host);
  // The lists of the command line leave the user's pictures directory unread.
  std::optional<TWithoutPictures> withoutPictures;
  if (analysis.ListsGiven && request.Document.Pictures.empty()) withoutPictures.emplace(*MSWord);

  if (!MSWord->Start())
    throw ECmdWordProcessor("no word processor answers as \"Word.Basic\" or \"Word.Application\"; nothing written");
  // A document left from an earlier run must not pass for this one's.
  const TFileStamp before = StampOf(request.Document.File);
  TNoDiagramHost diagramHost;
  GenerateDocument(diagramHost, metafile);
  if (host.Failed || !MSWord->Started) throw ECmdWordProcessor("the document was not written");
  const TFileStamp after = StampOf(request.Document.File);
  if (!after.Exists || (before.Exists && after.Written == before.Written))
    throw ECmdWordProcessor(std::string("the word processor did not write ") + Quoted(request.Document.File));
  return code;
}
