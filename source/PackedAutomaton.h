// Packed transition tables of the two automata (token scanner, keyword
// recogniser), in the form a scanner generator emits: per state a base and a
// default; two parallel arrays next and check.
//
// A transition on byte c from state s: i := base[s] + c; if 0 <= i < length
// and check[i] = s, the new state is next[i] and c is consumed; otherwise the
// new state is default[s] and c is not consumed. States below 10000 are
// working states (0 is the start), 10000..19999 accept number (state - 10000),
// 20000 and above mean no token.
#pragma once

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

inline constexpr uint16_t FirstAcceptState = 10000;
inline constexpr uint16_t FirstNoTokenState = 20000;
inline constexpr uint16_t NoTokenState = 65535;
inline constexpr uint16_t AcceptState(unsigned k) { return static_cast<uint16_t>(FirstAcceptState + k); }

struct TPackedAutomaton {
  std::vector<int32_t> Base;
  std::vector<uint16_t> Default;
  std::vector<uint16_t> Next;
  std::vector<uint16_t> Check;

  // One transition; consumed tells whether c was used.
  uint16_t Step(uint16_t state, unsigned char c, bool& consumed) const {
    const int64_t i = static_cast<int64_t>(Base[state]) + c;
    if (i >= 0 && i < static_cast<int64_t>(Next.size()) && Check[i] == state) {
      consumed = true;
      return Next[i];
    }
    consumed = false;
    return Default[state];
  }
};

// What one working state does: its consuming moves and its default.
struct TStateMoves {
  std::vector<std::pair<unsigned char, uint16_t>> Moves;
  uint16_t Default = NoTokenState;
};

// Packs the states (index = state number), first fit in state order.
TPackedAutomaton PackAutomaton(const std::vector<TStateMoves>& states);
