#include "Cycles.h"

#include "ModelTestUtil.h"

using namespace modeltest;

namespace {

// Graphs built in memory: units that no location holds, linked by hand in
// the order a test gives (that order stands for the branch order).
class Cycles_ : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    FileArray = std::make_unique<TFileArray>(true);
  }
  TFile* U(const std::string& name) {
    if (TFile* known = Unit(name)) return known;
    auto* unit = new TFile(name, "");
    FileArray->Items[FileArray->Count++] = unit;
    return unit;
  }
  void Uses(const std::string& from, const std::string& to, TClause clause = TClause::Interface) {
    TFile* u = U(from);
    (clause == TClause::Interface ? u->InterfaceUses : u->ImplementationUses)->Add(U(to));
  }
  static std::vector<std::string> Members(const TCycleComponent& c) {
    std::vector<std::string> names;
    for (const TFile* u : c.Units) names.push_back(u->Name);
    return names;
  }
};

}  // namespace

TEST_F(Cycles_, AnInterfaceOnlyCycleIsAnErrorAndAComponentToo) {
  // The sample: Shapes and Colours name each other in their interfaces;
  // Orders -> Customers -> Invoices goes back to Orders through an
  // implementation clause, which the compiler accepts.
  for (const char* name : {"Invoices", "Colours", "Utils", "Customers", "Shapes", "Orders", "Shop"}) U(name);
  Uses("Invoices", "Orders", TClause::Implementation);
  Uses("Colours", "Shapes");
  Uses("Customers", "Invoices");
  Uses("Customers", "Utils");
  Uses("Shapes", "Colours");
  Uses("Orders", "Customers");
  Uses("Orders", "Utils", TClause::Implementation);
  for (const char* name : {"Shapes", "Orders", "Utils"}) Uses("Shop", name, TClause::Implementation);

  const TCycleReport report = FindCycles(*FileArray);
  ASSERT_EQ(report.Errors.size(), 1u);
  EXPECT_EQ(Members(report.Errors[0]), (std::vector<std::string>{"Colours", "Shapes"}));
  EXPECT_EQ(CycleChain(report.Errors[0]), "Colours -> Shapes -> Colours");
  EXPECT_EQ(CycleClauses(report.Errors[0]), "interface,interface");

  ASSERT_EQ(report.Components.size(), 2u);  // largest first
  EXPECT_EQ(Members(report.Components[0]), (std::vector<std::string>{"Invoices", "Customers", "Orders"}));
  EXPECT_EQ(CycleChain(report.Components[0]), "Invoices -> Orders -> Customers -> Invoices");
  EXPECT_EQ(CycleClauses(report.Components[0]), "implementation,interface,interface");
  EXPECT_EQ(Members(report.Components[1]), (std::vector<std::string>{"Colours", "Shapes"}));
  EXPECT_EQ(report.UnitsInCycles(), 5);
}

TEST_F(Cycles_, TheCycleIsAShortestOneAndStartsAtTheFirstUnitThatHasIt) {
  // A -> B -> C -> D -> A, and a shortcut C -> B: the shortest cycle is
  // B -> C -> B, although A comes first.
  for (const char* name : {"A", "B", "C", "D"}) U(name);
  Uses("A", "B");
  Uses("B", "C");
  Uses("C", "D");
  Uses("D", "A", TClause::Implementation);
  Uses("C", "B", TClause::Implementation);
  const TCycleReport report = FindCycles(*FileArray);
  ASSERT_EQ(report.Components.size(), 1u);
  EXPECT_EQ(Members(report.Components[0]), (std::vector<std::string>{"A", "B", "C", "D"}));
  EXPECT_EQ(CycleChain(report.Components[0]), "B -> C -> B");
  EXPECT_EQ(CycleClauses(report.Components[0]), "interface,implementation");
  // Without the implementation uses nothing goes round.
  EXPECT_TRUE(report.Errors.empty());
}

TEST_F(Cycles_, AUnitNamedInBothClausesStepsThroughItsInterface) {
  Uses("A", "B", TClause::Implementation);
  Uses("A", "B");
  Uses("B", "A");
  const TCycleReport report = FindCycles(*FileArray);
  ASSERT_EQ(report.Errors.size(), 1u);
  EXPECT_EQ(CycleClauses(report.Errors[0]), "interface,interface");
}

TEST_F(Cycles_, AUnitThatNamesItselfIsACycleOfOne) {
  Uses("Gamma", "Gamma", TClause::Implementation);
  Uses("Alpha", "Gamma");
  const TCycleReport report = FindCycles(*FileArray);
  ASSERT_EQ(report.Components.size(), 1u);
  EXPECT_EQ(Members(report.Components[0]), (std::vector<std::string>{"Gamma"}));
  EXPECT_EQ(CycleChain(report.Components[0]), "Gamma -> Gamma");
  EXPECT_TRUE(report.Errors.empty());
}

TEST_F(Cycles_, AGraphWithoutCyclesGivesAnEmptyReport) {
  Uses("P", "A");
  Uses("P", "B", TClause::Implementation);
  Uses("A", "B");
  Uses("A", "B");  // twice in one clause
  const TCycleReport report = FindCycles(*FileArray);
  EXPECT_TRUE(report.Empty());
  EXPECT_TRUE(report.Errors.empty());
  EXPECT_EQ(report.UnitsInCycles(), 0);
  EXPECT_TRUE(FindCycles(TFileArray()).Empty());
}

TEST_F(Cycles_, AChainOfAThousandUnitsNeedsNoDeepStack) {
  // U0 -> U1 -> ... -> U999 -> U0: one component, one cycle through all.
  for (int i = 0; i < 1000; ++i) U(Numbered("U", i));
  for (int i = 0; i < 1000; ++i) Uses(Numbered("U", i), Numbered("U", (i + 1) % 1000));
  const TCycleReport report = FindCycles(*FileArray);
  ASSERT_EQ(report.Components.size(), 1u);
  EXPECT_EQ(report.Components[0].Units.size(), 1000u);
  EXPECT_EQ(report.Components[0].Cycle.size(), 1000u);
  ASSERT_EQ(report.Errors.size(), 1u);
  EXPECT_EQ(report.Errors[0].Cycle.front().From->Name, "U0");
  EXPECT_EQ(report.Errors[0].Cycle.back().To->Name, "U0");
}

TEST_F(Cycles_, ComponentsOfOneSizeKeepTheBranchOrderOfTheirFirstUnits) {
  for (const char* name : {"A", "X", "B", "Y"}) U(name);
  Uses("X", "Y");
  Uses("Y", "X");
  Uses("A", "B", TClause::Implementation);
  Uses("B", "A", TClause::Implementation);
  const TCycleReport report = FindCycles(*FileArray);
  ASSERT_EQ(report.Components.size(), 2u);
  EXPECT_EQ(Members(report.Components[0]), (std::vector<std::string>{"A", "B"}));
  EXPECT_EQ(Members(report.Components[1]), (std::vector<std::string>{"X", "Y"}));
  ASSERT_EQ(report.Errors.size(), 1u);
  EXPECT_EQ(Members(report.Errors[0]), (std::vector<std::string>{"X", "Y"}));
}

TEST_F(Cycles_, ListsKeepTheSourceOrderBesideTheBranchOrder) {
  // The real analysis: Sort rearranges the lists, InSourceOrder keeps the clause's order.
  TTempDir dir;
  dir.Write("P\\P.dpr", ProgramText("P", {"Alpha", "Zeta"}));
  dir.Write("P\\Zeta.pas", UnitText("Zeta", {}));
  dir.Write("P\\Alpha.pas", UnitText("Alpha", {"Zeta"}));
  FileArray.reset();
  AnalyseProjectFile(dir / "P\\P.dpr");
  ASSERT_TRUE(FileArray);
  EXPECT_EQ(Names(*FileArray->Root->ImplementationUses), (std::vector<std::string>{"Zeta", "Alpha"}));
  std::vector<std::string> source;
  for (const TFile* u : FileArray->Root->ImplementationUses->InSourceOrder) source.push_back(u->Name);
  EXPECT_EQ(source, (std::vector<std::string>{"Alpha", "Zeta"}));
}
