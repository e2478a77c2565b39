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
