#include "pascal_keywords.h"

#include <bit>
#include <cstring>
#include <vector>

#include "pascal_tokens.h"

// Index = accept number. Keep this order: the codes are derived from it.
constexpr std::array<const char*, KeywordCount> KeywordsByAccept = {
    "AND",         "EXPORTS",        "MOD",           "SHR",            "ARRAY",     // 0..4   -> 29..33
    "FILE",        "NIL",            "STRING",        "AS",             "FINALIZATION",  // 5..9   -> 34..38
    "NOT",         "STRINGRESOURCE", "ASM",           "FINALLY",        "OBJECT",    // 10..14 -> 39..43
    "THEN",        "BEGIN",          "FOR",           "OF",             "THREADVAR",  // 15..19 -> 44..48
    "CASE",        "FUNCTION",       "OR",            "TO",             "CLASS",     // 20..24 -> 49..53
    "GOTO",        "OUT",            "TRY",           "CONST",          "IF",        // 25..29 -> 54..58
    "PACKED",      "TYPE",           "CONSTRUCTOR",   "IMPLEMENTATION", "PROCEDURE",  // 30..34 -> 59..63
    "UNIT",        "DESTRUCTOR",     "IN",                                           // 35..37 -> 64..66
    "ON",                                                                            // 38     -> 95
    "PROGRAM",     "UNTIL",          "DISPINTERFACE", "INHERITED",      "PROPERTY",  // 39..43 -> 67..71
    "USES",        "DIV",            "INITIALIZATION", "RAISE",         "VAR",       // 44..48 -> 72..76
    "DO",          "INLINE",         "RECORD",        "WHILE",          "DOWNTO",    // 49..53 -> 77..81
    "INTERFACE",   "REPEAT",         "WITH",          "ELSE",           "IS",        // 54..58 -> 82..86
    "RESOURCESTRING", "XOR",         "END",           "LABEL",          "SET",       // 59..63 -> 87..91
    "EXCEPT",      "LIBRARY",        "SHL",                                          // 64..66 -> 92..94
};

namespace {

// A trie of the words over 'A'..'Z'. A word that no other word continues is
// accepted on its last letter; a word that is the prefix of a longer one is
// accepted on the first character that cannot continue, without taking it.
TPackedAutomaton BuildKeywordAutomaton() {
  struct TNode {
    int Child[26];
    int Accept = -1;
  };
  std::vector<TNode> trie(1);
  for (auto& c : trie[0].Child) c = -1;
  for (unsigned k = 0; k < KeywordCount; ++k) {
    int node = 0;
    for (const char* p = KeywordsByAccept[k]; *p; ++p) {
      int& child = trie[node].Child[*p - 'A'];
      if (child < 0) {
        child = static_cast<int>(trie.size());
        TNode fresh;
        for (auto& c : fresh.Child) c = -1;
        trie.push_back(fresh);  // invalidates `child`: not used again
      }
      node = trie[node].Child[*p - 'A'];
    }
    trie[node].Accept = static_cast<int>(k);
  }
  auto isLeaf = [&](int node) {
    for (int c : trie[node].Child)
      if (c >= 0) return false;
    return true;
  };
  // Working states: the nodes that are not leaves, numbered breadth first.
  std::vector<int> stateOf(trie.size(), -1);
  std::vector<int> order{0};
  stateOf[0] = 0;
  for (std::size_t i = 0; i < order.size(); ++i)
    for (int c : trie[order[i]].Child)
      if (c >= 0 && !isLeaf(c)) {
        stateOf[c] = static_cast<int>(order.size());
        order.push_back(c);
      }
  std::vector<TStateMoves> states(order.size());
  for (std::size_t s = 0; s < order.size(); ++s) {
    const TNode& node = trie[order[s]];
    states[s].Default = node.Accept >= 0 ? AcceptState(node.Accept) : NoTokenState;
    for (int letter = 0; letter < 26; ++letter) {
      const int child = node.Child[letter];
      if (child < 0) continue;
      const uint16_t target = isLeaf(child) ? AcceptState(trie[child].Accept) : static_cast<uint16_t>(stateOf[child]);
      states[s].Moves.push_back({static_cast<unsigned char>('A' + letter), target});
    }
  }
  return PackAutomaton(states);
}

}  // namespace

// The chunks are built here byte by byte and loaded by the analyser with
// memcpy: the two agree on a little-endian machine, which every target is.
static_assert(std::endian::native == std::endian::little);

constexpr std::array<TKeywordSlot, 256> KeywordSlots = [] {
  std::array<TKeywordSlot, 256> slots{};
  auto chunk = [](const char* p, std::size_t width) {
    uint64_t v = 0;
    for (std::size_t i = 0; i < width; ++i) v |= static_cast<uint64_t>(static_cast<unsigned char>(p[i]) | 0x20u) << (8 * i);
    return v;
  };
  for (unsigned k = 0; k < KeywordCount; ++k) {
    const char* word = KeywordsByAccept[k];
    std::size_t length = 0;
    while (word[length]) ++length;
    TKeywordSlot& slot = slots[KeywordHash(static_cast<unsigned char>(word[0]), static_cast<unsigned char>(word[1]),
                                           static_cast<unsigned char>(word[length - 1]), length)];
    if (slot.Length != 0) throw "two reserved words share a slot of the exact table";
    const std::size_t width = KeywordChunkWidth(length);
    slot = {chunk(word, width), chunk(word + length - width, width), static_cast<uint8_t>(length), KeywordCodeOfAccept(k)};
  }
  return slots;
}();

const TPackedAutomaton& KeywordAutomaton() {
  static const TPackedAutomaton table = BuildKeywordAutomaton();
  return table;
}

TAnalyseur_K::TAnalyseur_K(const char* Text) : Reader(std::make_unique<TMemoryBufLec>(Text)) {}

TAnalyseur_K::~TAnalyseur_K() = default;

void TAnalyseur_K::SetText(const char* Text) {
  if (Reader.get() != Memory) Memory = dynamic_cast<TMemoryBufLec*>(Reader.get());
  if (Memory) Memory->SetText(Text);
}

void TAnalyseur_K::SetText(const std::string& Text) {
  if (Reader.get() != Memory) Memory = dynamic_cast<TMemoryBufLec*>(Reader.get());
  // An identifier holds no NUL: its length is the NUL-terminated length.
  if (Memory) Memory->SetText(Text.c_str(), Text.size());
}

uint8_t TAnalyseur_K::NextToken() {
  TBufLec& reader = *Reader;
  const TPackedAutomaton& table = KeywordAutomaton();
  TScanCursor cursor(reader);
  std::size_t length = 0;
  uint16_t state = 0;
  unsigned char c;
  do {
    c = cursor.Next();
    bool consumed;
    state = table.Step(state, ReaderUpCase[c], consumed);
    if (consumed) ++length;
  } while (state < FirstAcceptState);
  const bool atEnd = cursor.End(c);
  cursor.Store();  // TakeToken below rewinds
  uint8_t code;
  if (state < FirstNoTokenState && length > 0)
    code = KeywordCodeOfAccept(state - FirstAcceptState);
  else
    code = atEnd ? tkEnd : tkError;
  Length = length;
  reader.TakeToken(code == tkEnd ? 0 : length, Text);
  return code;
}
