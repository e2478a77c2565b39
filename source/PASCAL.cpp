#include "PASCAL.h"

#include <new>

#include "Messages.h"
#include "Ridarar.h"
#include "Yield.h"
#include "uChaines.h"

TAnalyseur::TAnalyseur(const std::string& FileName, std::size_t halfSize)
    : Scanner(std::make_unique<TAnalyseur_T>(FileName, halfSize)), Keywords(std::make_unique<TAnalyseur_K>("")) {}

TAnalyseur::~TAnalyseur() = default;

uint8_t TAnalyseur::NextToken() {
  // The scanner's token text goes straight into Text: one copy per token.
  const uint8_t code = Scanner->NextTokenInto(Text);
  if (code == tkIdentifier) {
    // Only the whole identifier counts ("Strings" holds STRING but is not
    // it): the recogniser answers that from its exact table.
    const uint8_t k = Keywords->WholeWordCode(Text.data(), Text.size());
    return k == tkError ? tkIdentifier : k;
  }
  // The scanner took nothing: take the character here, so the stream moves on.
  if (code == tkError && Text.empty()) Scanner->Reader->TakeToken(1, Text);
  return code;
}

namespace {

// The header scan's state: the analyser and its last token.
class THeaderScan {
 public:
  THeaderScan(TAnalyseur& analyser, const TUsesHandler& onEntry) : A(analyser), OnEntry(onEntry) {}

  bool Run() {
    do Next(); while (Tok == tkBlank || Tok == tkComment || Tok == tkEndOfLine);
    // A package is read as a program whose one clause is its CONTAINS
    // (REQUIRES lists packages, not units). Neither word is reserved.
    if (Tok == tkIdentifier && SameTextAscii(A.Text, "package")) {
      do Next(); while (Tok != tkEnd && !(Tok == tkIdentifier && SameTextAscii(A.Text, "contains")));
      if (Tok != tkEnd) ReadUses(TUsesClause::Implementation);
      return false;
    }
    // Whatever comes first (comments, PROGRAM, LIBRARY, the program's
    // name) is skipped up to UNIT or USES.
    while (Tok != tkEnd && Tok != kwUnit && Tok != kwUses) Next();
    if (Tok == tkEnd) return false;
    if (Tok == kwUses) {
      // A program or library: its one clause.
      ReadUses(TUsesClause::Implementation);
      return false;
    }
    do Next(); while (Tok != kwInterface && Tok != tkEnd);
    do Next(); while (Tok != kwImplementation && Tok != kwUses && Tok != tkEnd);
    if (Tok == kwUses) {
      ReadUses(TUsesClause::Interface);
      do Next(); while (Tok != tkEnd && Tok != kwImplementation);
    }
    // The first USES after that is the implementation clause, wherever it stands.
    do Next(); while (Tok != tkEnd && Tok != kwUses);
    if (Tok == kwUses) ReadUses(TUsesClause::Implementation);
    return true;
  }

 private:
  TAnalyseur& A;
  const TUsesHandler& OnEntry;
  uint8_t Tok = tkEnd;

  // Every token of the scan gives the message loop its turn first.
  void Next() {
    YieldWhileWorking();
    Tok = A.NextToken();
  }

  static bool IsSeparator(uint8_t code) {
    return code == tkComma || code == tkComment || code == tkBlank || code == tkEndOfLine;
  }

  // One clause, after its USES (or CONTAINS): an entry per name, with the
  // path of its IN 'path' if any. A name is an identifier, or identifiers
  // joined by dots with nothing between them ("System.SysUtils"). Tokens
  // that are not separators just before a name (a stray dot, a digit)
  // become a prefix of that name.
  void ReadUses(TUsesClause clause) {
    uint8_t prev = kwUses;
    std::string acc;
    do {
      Next();
      if (Tok == tkIdentifier) {
        std::string name = IsSeparator(prev) ? A.Text : acc + A.Text;
        acc.clear();
        Tok = A.NextToken();
        while (Tok == tkDot) {
          Tok = A.NextToken();
          if (Tok != tkIdentifier) break;
          name += '.';
          name += A.Text;
          Tok = A.NextToken();
        }
        for (; Tok != tkEnd && Tok != tkComma && Tok != tkSemicolon; Tok = A.NextToken()) {
          if (Tok == tkString)
            acc += A.Text;
          else if (Tok == kwIn)
            acc.clear();
        }
        // Without its quotes.
        const std::string path = acc.size() >= 2 ? acc.substr(1, acc.size() - 2) : std::string();
        OnEntry(clause, name, path);
        acc.clear();
      } else if (IsSeparator(Tok) || Tok == tkString || Tok == kwIn) {
        acc.clear();
      } else {
        acc += A.Text;
      }
      prev = Tok;
    } while (Tok != tkEnd && Tok != tkSemicolon);
  }
};

}  // namespace

bool ScanUses(TAnalyseur& analyser, const TUsesHandler& onEntry) { return THeaderScan(analyser, onEntry).Run(); }

bool ScanUses(const std::string& fileName, const TUsesHandler& onEntry) {
  std::unique_ptr<TAnalyseur> analyser;
  try {
    analyser = std::make_unique<TAnalyseur>(fileName);
  } catch (const std::bad_alloc&) {
    // Answered with OK: the file ends its analysis with no entries.
    WarnOrStop(Msg::NoAnalyserMemory);
    return false;
  }
  return ScanUses(*analyser, onEntry);
}
