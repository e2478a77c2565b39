#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "PASCAL.h"
#include "Ridarar.h"
#include "TempFiles.h"
#include "Yield.h"

namespace {

struct TEntry {
  TUsesClause Clause;
  std::string Name;
  std::string Path;
  bool operator==(const TEntry&) const = default;
};
std::ostream& operator<<(std::ostream& out, const TEntry& e) {
  return out << (e.Clause == TUsesClause::Interface ? "interface " : "implementation ") << e.Name << " '" << e.Path << "'";
}

struct TScan {
  bool IsUnit = false;
  std::vector<TEntry> Entries;
};

TScan ScanText(const std::string& text) {
  TTempDir dir;
  TScan scan;
  scan.IsUnit = ScanUses(dir.Write("u.pas", text), [&](TUsesClause c, const std::string& n, const std::string& p) {
    scan.Entries.push_back({c, n, p});
  });
  return scan;
}

constexpr auto Intf = TUsesClause::Interface;
constexpr auto Impl = TUsesClause::Implementation;

}  // namespace

TEST(Analyseur, ReservedWordsCarryTheirCodesAndEveryCharacterMovesOn) {
  TTempDir dir;
  TAnalyseur a(dir.Write("a.pas", std::string("Unit U;uses Strings,string 9\0.", 30)));
  std::vector<std::pair<int, std::string>> tokens;
  for (int code = a.NextToken(); code != tkEnd; code = a.NextToken()) tokens.push_back({code, a.Text});
  EXPECT_EQ(tokens, (std::vector<std::pair<int, std::string>>{{kwUnit, "Unit"},
                                                             {tkBlank, " "},
                                                             {tkIdentifier, "U"},
                                                             {tkSemicolon, ";"},
                                                             {kwUses, "uses"},
                                                             {tkBlank, " "},
                                                             {tkIdentifier, "Strings"},
                                                             {tkComma, ","},
                                                             {kwString, "string"},
                                                             {tkBlank, " "},
                                                             {tkError, "9"},
                                                             {tkError, std::string(1, '\0')},
                                                             {tkDot, "."}}));
  EXPECT_EQ(a.NextToken(), tkEnd);
}

TEST(Analyseur, EveryReservedWordInMixedCaseAndLongerWordsAreIdentifiers) {
  std::string text;
  for (const char* word : KeywordsByAccept) {
    std::string mixed = word;
    for (std::size_t i = 1; i < mixed.size(); i += 2) mixed[i] = static_cast<char>(mixed[i] - 'A' + 'a');
    text += mixed + " " + mixed + "s " + mixed + "_ ";
  }
  TTempDir dir;
  TAnalyseur a(dir.Write("k.pas", text));
  for (unsigned k = 0; k < KeywordCount; ++k) {
    EXPECT_EQ(a.NextToken(), KeywordCodeOfAccept(k)) << KeywordsByAccept[k];
    a.NextToken();
    EXPECT_EQ(a.NextToken(), tkIdentifier) << a.Text;
    a.NextToken();
    EXPECT_EQ(a.NextToken(), tkIdentifier) << a.Text;
    a.NextToken();
  }
  EXPECT_EQ(a.NextToken(), tkEnd);
}

TEST(ScanUses, ProgramClauseWithPathAndFormComment) {
  const TScan s = ScanText("program P;\r\n\r\nuses A, B in 'sub\\b.pas' {FormB}, C;\r\n\r\nbegin end.");
  EXPECT_FALSE(s.IsUnit);
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Impl, "A", ""}, {Impl, "B", "sub\\b.pas"}, {Impl, "C", ""}}));
}

TEST(ScanUses, UnitKeepsItsTwoListsApart) {
  const TScan s = ScanText("unit U; interface uses X; implementation uses Y, Z; end.");
  EXPECT_TRUE(s.IsUnit);
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Intf, "X", ""}, {Impl, "Y", ""}, {Impl, "Z", ""}}));
  const TScan noInterfaceClause = ScanText("unit U;\r\ninterface\r\ntype T = integer;\r\nimplementation\r\nuses Y;\r\nend.");
  EXPECT_TRUE(noInterfaceClause.IsUnit);
  EXPECT_EQ(noInterfaceClause.Entries, (std::vector<TEntry>{{Impl, "Y", ""}}));
}

TEST(ScanUses, WordsInCommentsAndStringsAreNotClauses) {
  const TScan s = ScanText("{ uses Fake } (* uses Fake2 *) // uses Fake3\r\nprogram P; const S = 'uses Fake4'; uses Real;");
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Impl, "Real", ""}}));
}

TEST(ScanUses, NamesAreIdentifiersWhenLongerThanAReservedWord) {
  const TScan s = ScanText("uses Forms, Strings, Inline2;");
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Impl, "Forms", ""}, {Impl, "Strings", ""}, {Impl, "Inline2", ""}}));
}

TEST(ScanUses, NoClauseOrEmptyFile) {
  for (const std::string text : {"", "program P; begin end.", "library L;", "{ uses }"}) {
    const TScan s = ScanText(text);
    EXPECT_FALSE(s.IsUnit) << text;
    EXPECT_TRUE(s.Entries.empty()) << text;
  }
}

TEST(ScanUses, UnitWithoutInterfaceOrWithoutImplementation) {
  // Without INTERFACE the clauses after UNIT are never reached.
  const TScan noInterface = ScanText("unit U; uses X; implementation uses Y; end.");
  EXPECT_TRUE(noInterface.IsUnit);
  EXPECT_TRUE(noInterface.Entries.empty());
  const TScan cut = ScanText("unit U; interface uses X, Y");
  EXPECT_TRUE(cut.IsUnit);
  EXPECT_EQ(cut.Entries, (std::vector<TEntry>{{Intf, "X", ""}, {Intf, "Y", ""}}));
}

TEST(ScanUses, OnlyTheProgramsFirstClauseAndTheFirstAfterImplementation) {
  EXPECT_EQ(ScanText("program P; uses A; uses B;").Entries, (std::vector<TEntry>{{Impl, "A", ""}}));
  EXPECT_EQ(ScanText("unit U; interface implementation procedure Q; begin end; uses Y; uses W;").Entries,
            (std::vector<TEntry>{{Impl, "Y", ""}}));
}

TEST(ScanUses, EveryBranchOfAConditionalAndRepeatedNames) {
  const TScan s = ScanText("uses {$IFDEF WIN32} Windows, {$ELSE} WinProcs, {$ENDIF}\r\n  SysUtils, SysUtils;");
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Impl, "Windows", ""}, {Impl, "WinProcs", ""}, {Impl, "SysUtils", ""},
                                            {Impl, "SysUtils", ""}}));
}

TEST(ScanUses, StrayTokensBeforeANameBecomeItsPrefix) {
  const TScan s = ScanText("uses .A, 1B,C in 'x.pas' in 'y.pas', D 'p';");
  EXPECT_EQ(s.Entries,
            (std::vector<TEntry>{{Impl, ".A", ""}, {Impl, "1B", ""}, {Impl, "C", "y.pas"}, {Impl, "D", "p"}}));
}

TEST(ScanUses, EachTokenOutsideTheEntryYieldsOnceAndEntriesComeAtOnce) {
  std::vector<unsigned long long> stepsAtEntry;
  TTempDir dir;
  const std::string file = dir.Write("y.pas", "uses A in 'a.pas', B;");
  const unsigned long long before = WorkSteps();
  ScanUses(file, [&](TUsesClause, const std::string&, const std::string&) {
    stepsAtEntry.push_back(WorkSteps() - before);
  });
  // uses | blank A (in 'a.pas' ,) | blank B (;)
  EXPECT_EQ(stepsAtEntry, (std::vector<unsigned long long>{3, 5}));
  EXPECT_EQ(WorkSteps() - before, 5u);
}

TEST(ScanUses, DottedNamesAreOneEntryAsWritten) {
  const TScan s = ScanText(
      "program Shop;\r\nuses\r\n  Winapi.Windows, System.Generics.Collections,\r\n"
      "  Reports.Sales in '..\\source\\Reports.Sales.pas' {Form1},\r\n  mormot.core.base;\r\nbegin end.");
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Impl, "Winapi.Windows", ""},
                                            {Impl, "System.Generics.Collections", ""},
                                            {Impl, "Reports.Sales", "..\\source\\Reports.Sales.pas"},
                                            {Impl, "mormot.core.base", ""}}));
  const TScan u = ScanText("unit Vcl.Main; interface uses System.SysUtils; implementation uses Vcl.Forms, Data.DB; end.");
  EXPECT_TRUE(u.IsUnit);
  EXPECT_EQ(u.Entries,
            (std::vector<TEntry>{{Intf, "System.SysUtils", ""}, {Impl, "Vcl.Forms", ""}, {Impl, "Data.DB", ""}}));
}

TEST(ScanUses, ADotNotFollowedDirectlyByAnIdentifierEndsTheName) {
  // Blanks, comments, a reserved word or a second dot after the dot: the
  // name stops before it, and the rest of the entry is skipped as ever.
  const TScan s = ScanText("uses A. B, C.{x}D, E.in 'e.pas', F..G, H.;");
  EXPECT_EQ(s.Entries, (std::vector<TEntry>{{Impl, "A", ""}, {Impl, "C", ""}, {Impl, "E", "e.pas"}, {Impl, "F", ""},
                                            {Impl, "H", ""}}));
  // A dot at the end of the text ends the entry there.
  EXPECT_EQ(ScanText("uses A.").Entries, (std::vector<TEntry>{{Impl, "A", ""}}));
}

TEST(ScanUses, APackagesContainsClauseIsItsOneClause) {
  const TScan p = ScanText(
      "{ the shop's runtime package }\r\npackage Shop.Runtime;\r\n{$R *.res}\r\nrequires rtl, vcl, Data.DB;\r\n"
      "contains\r\n  Shop.Core in 'Shop.Core.pas', Shop.Views;\r\nend.");
  EXPECT_FALSE(p.IsUnit);
  EXPECT_EQ(p.Entries, (std::vector<TEntry>{{Impl, "Shop.Core", "Shop.Core.pas"}, {Impl, "Shop.Views", ""}}));
  EXPECT_EQ(ScanText("PACKAGE p; CONTAINS a; uses b;").Entries, (std::vector<TEntry>{{Impl, "a", ""}}));
  EXPECT_TRUE(ScanText("package p; requires rtl; end.").Entries.empty());
  // Only as the first word: a program named Package stays a program.
  EXPECT_EQ(ScanText("program Package; uses contains;").Entries, (std::vector<TEntry>{{Impl, "contains", ""}}));
  EXPECT_EQ(ScanText("\xEF\xBB\xBFpackage p; contains a;").Entries, (std::vector<TEntry>{{Impl, "a", ""}}));
}

TEST(ScanUses, AByteOrderMarkNeverSticksToTheFirstWord) {
  const TScan u = ScanText("\xEF\xBB\xBFunit U; interface uses X; implementation end.");
  EXPECT_TRUE(u.IsUnit);
  EXPECT_EQ(u.Entries, (std::vector<TEntry>{{Intf, "X", ""}}));
  EXPECT_EQ(ScanText("\xEF\xBB\xBFuses A;").Entries, (std::vector<TEntry>{{Impl, "A", ""}}));
}

TEST(ScanUses, UnreadableFileRaisesTheInputOutputError) {
  TTempDir dir;
  EXPECT_THROW(ScanUses(dir.Missing("gone.pas"), [](TUsesClause, const std::string&, const std::string&) {}),
               EInOutError);
}

TEST(ScanUses, HandlerErrorsPassThrough) {
  TTempDir dir;
  const std::string name = dir.Write("h.pas", "uses A, B;");
  int calls = 0;
  EXPECT_THROW(ScanUses(name,
                        [&](TUsesClause, const std::string&, const std::string&) {
                          ++calls;
                          throw EInOutError("inner");
                        }),
               EInOutError);
  EXPECT_EQ(calls, 1);
}
