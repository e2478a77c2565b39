#include "PackedAutomaton.h"

#include <algorithm>

namespace {
constexpr uint16_t FreeSlot = 0xFFFF;  // no working state has this number
}

TPackedAutomaton PackAutomaton(const std::vector<TStateMoves>& states) {
  TPackedAutomaton table;
  table.Base.assign(states.size(), 0);
  table.Default.resize(states.size());
  for (std::size_t s = 0; s < states.size(); ++s) {
    const TStateMoves& state = states[s];
    table.Default[s] = state.Default;
    if (state.Moves.empty()) continue;  // no slot can carry its number
    int lowest = 256;
    for (const auto& move : state.Moves) lowest = std::min(lowest, static_cast<int>(move.first));
    // The first base at which every move lands on a free slot.
    for (int32_t base = -lowest;; ++base) {
      const bool fits = std::all_of(state.Moves.begin(), state.Moves.end(), [&](const auto& move) {
        const std::size_t i = static_cast<std::size_t>(base + move.first);
        return i >= table.Check.size() || table.Check[i] == FreeSlot;
      });
      if (!fits) continue;
      table.Base[s] = base;
      for (const auto& move : state.Moves) {
        const std::size_t i = static_cast<std::size_t>(base + move.first);
        if (i >= table.Check.size()) {
          table.Check.resize(i + 1, FreeSlot);
          table.Next.resize(i + 1, NoTokenState);
        }
        table.Check[i] = static_cast<uint16_t>(s);
        table.Next[i] = move.second;
      }
      break;
    }
  }
  return table;
}
