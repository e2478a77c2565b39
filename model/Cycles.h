// Cycles in the uses graph of the analysed project: its strongly connected
// components, and the ones the compiler refuses (made of interface uses only).
// Built from the model as the analysis left it; nothing is read again.
#pragma once

#include <string>
#include <vector>

class TFile;
class TFileArray;

enum class TClause { Interface, Implementation };
const char* ClauseName(TClause clause);  // "interface", "implementation"

struct TCycleStep {
  TFile* From = nullptr;
  TFile* To = nullptr;
  TClause Clause = TClause::Interface;  // the clause of From that names To
};

struct TCycleComponent {
  std::vector<TFile*> Units;       // in branch order
  std::vector<TCycleStep> Cycle;   // one shortest cycle, from the first unit that has one
};

struct TCycleReport {
  // Components of interface uses alone: "circular unit reference" errors.
  std::vector<TCycleComponent> Errors;
  // Components of the uses of both clauses; largest first.
  std::vector<TCycleComponent> Components;
  // Units that stand in one of the components.
  int UnitsInCycles() const;
  bool Empty() const { return Components.empty(); }
};

// The components of two or more units, and single units that name
// themselves. Units appear in the array's order (branch order once sorted);
// components of equal size keep the order of their first units.
TCycleReport FindCycles(const TFileArray& units);

// "A -> B -> C -> A"
std::string CycleChain(const TCycleComponent& component);
// "interface,implementation,interface": the clause of each step.
std::string CycleClauses(const TCycleComponent& component);
