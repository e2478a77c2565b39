#include "Cycles.h"

#include <algorithm>
#include <cstdint>
#include <unordered_map>

#include "Units.h"

namespace {

struct TEdge {
  int To;
  TClause Clause;
};

// The uses of every unit by array index, one edge per used unit: a unit
// named in both clauses counts as an interface use, the stronger one.
using TGraph = std::vector<std::vector<TEdge>>;

TGraph BuildGraph(const TFileArray& units, bool interfaceOnly) {
  std::unordered_map<const TFile*, int> index;
  index.reserve(units.Count * 2u);
  for (int i = 0; i < units.Count; ++i)
    if (units.Items[i]) index.emplace(units.Items[i], i);
  TGraph graph(units.Count);
  std::vector<int> seenFrom(units.Count, -1);  // seenFrom[v] == u: u -> v already listed
  for (int u = 0; u < units.Count; ++u) {
    const TFile* unit = units.Items[u];
    if (!unit) continue;
    auto addList = [&](const TFileArray* list, TClause clause) {
      if (!list) return;
      for (int k = 0; k < list->Count; ++k) {
        auto found = index.find(list->Items[k]);
        if (found == index.end()) continue;
        const int v = found->second;
        if (seenFrom[v] == u) continue;
        seenFrom[v] = u;
        graph[u].push_back({v, clause});
      }
    };
    addList(unit->InterfaceUses.get(), TClause::Interface);
    if (!interfaceOnly) addList(unit->ImplementationUses.get(), TClause::Implementation);
    // Edges in the order of their target: the chains then read in branch order.
    std::sort(graph[u].begin(), graph[u].end(), [](const TEdge& a, const TEdge& b) { return a.To < b.To; });
  }
  return graph;
}

// Tarjan's algorithm without recursion: a chain of 1000 units must not
// depend on the size of the stack. Result: component number per vertex.
std::vector<int> StrongComponents(const TGraph& graph, int& count) {
  const int n = static_cast<int>(graph.size());
  std::vector<int> order(n, -1), low(n, 0), component(n, -1), stack;
  std::vector<std::pair<int, size_t>> calls;  // vertex, next edge
  int next = 0;
  count = 0;
  for (int start = 0; start < n; ++start) {
    if (order[start] >= 0) continue;
    calls.push_back({start, 0});
    order[start] = low[start] = next++;
    stack.push_back(start);
    while (!calls.empty()) {
      auto& [v, edge] = calls.back();
      if (edge < graph[v].size()) {
        const int w = graph[v][edge++].To;
        if (order[w] < 0) {
          order[w] = low[w] = next++;
          stack.push_back(w);
          calls.push_back({w, 0});
        } else if (component[w] < 0) {
          low[v] = std::min(low[v], order[w]);
        }
        continue;
      }
      const int done = v;
      calls.pop_back();
      if (!calls.empty()) low[calls.back().first] = std::min(low[calls.back().first], low[done]);
      if (low[done] == order[done]) {
        int w;
        do {
          w = stack.back();
          stack.pop_back();
          component[w] = count;
        } while (w != done);
        ++count;
      }
    }
  }
  return component;
}

// The shortest cycle through the members: a breadth-first search from each
// member, inside the component, back to where it started. The first member
// (in branch order) that reaches the shortest length gives the cycle.
std::vector<TCycleStep> ShortestCycle(const TFileArray& units, const TGraph& graph, const std::vector<int>& members,
                                      const std::vector<int>& component) {
  const int own = component[members.front()];
  const int n = static_cast<int>(graph.size());
  std::vector<int> parent(n, -1), depth(n, -1), touched, queue;
  std::vector<TClause> via(n, TClause::Interface);
  std::vector<TCycleStep> best;
  size_t bestLength = SIZE_MAX;
  // Two units that name each other are the shortest cycle there is short of
  // a unit naming itself: looking for them first spares the searches their
  // long detours in a dense component.
  bool selfUse = false;
  for (const int u : members)
    for (const TEdge& e : graph[u])
      if (e.To == u) selfUse = true;
  if (!selfUse) {
    for (const int u : members) {
      for (const TEdge& e : graph[u]) {
        if (component[e.To] != own || e.To == u) continue;
        const auto& back = graph[e.To];
        const auto closing = std::find_if(back.begin(), back.end(), [u](const TEdge& b) { return b.To == u; });
        if (closing == back.end()) continue;
        return {{units.Items[u], units.Items[e.To], e.Clause}, {units.Items[e.To], units.Items[u], closing->Clause}};
      }
    }
  }
  for (const int start : members) {
    if (bestLength <= 1) break;
    for (int t : touched) depth[t] = -1;
    touched.clear();
    queue.clear();
    queue.push_back(start);
    depth[start] = 0;
    touched.push_back(start);
    int closing = -1;
    TClause closingClause = TClause::Interface;
    for (size_t head = 0; head < queue.size() && closing < 0; ++head) {
      const int v = queue[head];
      // A cycle found from here would be no shorter than the best one.
      if (static_cast<size_t>(depth[v]) + 1 >= bestLength) break;
      for (const TEdge& e : graph[v]) {
        if (component[e.To] != own) continue;
        if (e.To == start) {
          closing = v;
          closingClause = e.Clause;
          break;
        }
        if (depth[e.To] >= 0) continue;
        depth[e.To] = depth[v] + 1;
        parent[e.To] = v;
        via[e.To] = e.Clause;
        touched.push_back(e.To);
        queue.push_back(e.To);
      }
    }
    if (closing < 0) continue;
    std::vector<TCycleStep> cycle;
    cycle.push_back({units.Items[closing], units.Items[start], closingClause});
    for (int v = closing; v != start; v = parent[v]) cycle.push_back({units.Items[parent[v]], units.Items[v], via[v]});
    std::reverse(cycle.begin(), cycle.end());
    bestLength = cycle.size();
    best = std::move(cycle);
  }
  return best;
}

std::vector<TCycleComponent> Components(const TFileArray& units, bool interfaceOnly) {
  const TGraph graph = BuildGraph(units, interfaceOnly);
  int count = 0;
  const std::vector<int> component = StrongComponents(graph, count);
  std::vector<std::vector<int>> members(count);
  for (int v = 0; v < static_cast<int>(graph.size()); ++v)
    if (component[v] >= 0) members[component[v]].push_back(v);  // ascending: branch order
  std::vector<TCycleComponent> result;
  std::vector<int> firsts;
  for (const std::vector<int>& m : members) {
    if (m.empty()) continue;
    if (m.size() == 1) {
      const auto& edges = graph[m.front()];
      if (std::none_of(edges.begin(), edges.end(), [&](const TEdge& e) { return e.To == m.front(); })) continue;
    }
    TCycleComponent c;
    for (int v : m) c.Units.push_back(units.Items[v]);
    c.Cycle = ShortestCycle(units, graph, m, component);
    result.push_back(std::move(c));
    firsts.push_back(m.front());
  }
  std::vector<size_t> order(result.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
    if (result[a].Units.size() != result[b].Units.size()) return result[a].Units.size() > result[b].Units.size();
    return firsts[a] < firsts[b];
  });
  std::vector<TCycleComponent> sorted;
  sorted.reserve(result.size());
  for (size_t i : order) sorted.push_back(std::move(result[i]));
  return sorted;
}

}  // namespace

const char* ClauseName(TClause clause) { return clause == TClause::Interface ? "interface" : "implementation"; }

int TCycleReport::UnitsInCycles() const {
  int total = 0;
  for (const TCycleComponent& c : Components) total += static_cast<int>(c.Units.size());
  return total;
}

TCycleReport FindCycles(const TFileArray& units) {
  TCycleReport report;
  report.Errors = Components(units, true);
  report.Components = Components(units, false);
  return report;
}

std::string CycleChain(const TCycleComponent& component) {
  std::string text;
  for (const TCycleStep& step : component.Cycle) text += step.From->Name + " -> ";
  if (!component.Cycle.empty()) text += component.Cycle.front().From->Name;
  return text;
}

std::string CycleClauses(const TCycleComponent& component) {
  std::string text;
  for (const TCycleStep& step : component.Cycle) {
    if (!text.empty()) text += ',';
    text += ClauseName(step.Clause);
  }
  return text;
}
