#include "BTree.h"

#include <new>
#include <vector>

#include "Globales.h"
#include "Units.h"

// ---------------------------------------------------------------- word lists

void AllocWordList(TWordList& list, int32_t length) {
  list.Length = 0;
  list.Words = nullptr;
  if (length < 0) return;
  list.Words = new (std::nothrow) uint16_t[static_cast<size_t>(length) + 1];
  if (list.Words) list.Length = length;
}

void FreeWordList(TWordList& list) {
  delete[] list.Words;
  list.Words = nullptr;
  list.Length = 0;
}

// ---------------------------------------------------------------- TNoeud

void TNoeud::SetLeft(TNoeud* node) {
  Left = node;
  if (node) {
    node->Parent = this;
    node->Side = 0;
  }
}

void TNoeud::SetRight(TNoeud* node) {
  Right = node;
  if (node) {
    node->Parent = this;
    node->Side = 2;
  }
}

// ---------------------------------------------------------------- TArbre

TArbre::~TArbre() { Clear(); }

uint8_t TArbre::Compare(uint16_t, uint16_t) { return 1; }

void TArbre::Insert(uint16_t key) {
  Inserting = true;
  if (!RootNode) {
    RootNode = new TNoeud(key);
  } else {
    Current = RootNode;
    while (Inserting) {
      if (Compare(key, Current->Key) <= 1) {
        if (Current->Left) {
          Current = Current->Left;
        } else {
          Current->SetLeft(new TNoeud(key));
          Inserting = false;
        }
      } else if (Current->Right) {
        Current = Current->Right;
      } else {
        Current->SetRight(new TNoeud(key));
        Inserting = false;
      }
    }
  }
  Inserting = false;
  ++NodeCount;
}

void TArbre::Traverse(TWordList& list) {
  if (list.Length == 0) AllocWordList(list, NodeCount);
  const int32_t limit = NodeCount < list.Length ? NodeCount : list.Length;
  TNoeud* node = RootNode;
  while (node && node->Left) node = node->Left;
  int32_t emitted = 0;
  while (node && emitted < limit) {
    list.Words[emitted++] = node->Key;
    if (node->Right) {
      node = node->Right;
      while (node->Left) node = node->Left;
    } else {
      // Up past every right-child link, then once more from a left child.
      while (node->Side == 2) node = node->Parent;
      node = node->Side == 0 ? node->Parent : nullptr;
    }
  }
}

void TArbre::Clear() {
  // Post-order without a stack: go down to a leaf, free it, climb.
  Current = RootNode;
  while (Current) {
    if (Current->Left) {
      Current = Current->Left;
    } else if (Current->Right) {
      Current = Current->Right;
    } else {
      TNoeud* parent = Current->Parent;
      if (parent) {
        if (Current->Side == 0)
          parent->Left = nullptr;
        else
          parent->Right = nullptr;
      }
      delete Current;
      Current = parent;
    }
  }
  RootNode = nullptr;
  Current = nullptr;
  NodeCount = 0;
}

// ---------------------------------------------------------------- TFileArbre

TFileArbre::~TFileArbre() { Clear(); }

uint8_t TFileArbre::Compare(uint16_t newKey, uint16_t nodeKey) {
  const TFile* u = SortArray->Items[newKey];
  const TFile* v = SortArray->Items[nodeKey];
  if (FileArray && FileArray->Sorted) {
    uint16_t a = FileArray->IndexOf(u), b = FileArray->IndexOf(v);
    return a < b ? 0 : a == b ? 1 : 2;
  }
  int ru = EffectiveLocation(u->Location), rv = EffectiveLocation(v->Location);
  if (ru != rv) return ru < rv ? 0 : 2;
  if (ru == LocationBasic) return u->BasicIndex < v->BasicIndex ? 0 : u->BasicIndex == v->BasicIndex ? 1 : 2;
  return u->Level < v->Level ? 0 : u->Level == v->Level ? 1 : 2;
}

// ---------------------------------------------------------------- TFileArray::Sort

namespace {

// Steps 1 to 4: this array's own order. False when it was sorted already.
bool SortOwnOrder(TFileArray& array) {
  if (array.Sorted) return false;
  if (array.Count == 0) {
    array.Sorted = true;
    return false;
  }
  TWordList list;
  AllocWordList(list, array.Count);
  if (list.Length == array.Count) {
    TFileArbre tree(&array);
    for (uint16_t key = 0; key < array.Count; ++key) tree.Insert(key);
    tree.Traverse(list);
    tree.Clear();
    std::vector<TFile*> order(array.Count);
    for (int i = 0; i < array.Count; ++i) order[i] = array.Items[list.Words[i]];
    for (int i = 0; i < array.Count; ++i) array.Items[i] = order[i];
    array.ItemsReordered();
  }
  // Without memory for the key list the entries keep their order.
  FreeWordList(list);
  array.Sorted = true;
  return true;
}

}  // namespace

void TFileArray::Sort() {
  // Every list reachable from this one is sorted, each by the same rule
  // whatever the order they are visited in; a work list instead of
  // recursion keeps long chains of units off the call stack.
  if (!SortOwnOrder(*this)) return;
  std::vector<TFileArray*> pending{this};
  while (!pending.empty()) {
    TFileArray* array = pending.back();
    pending.pop_back();
    // Entries in the new order, interface list before implementation list.
    for (int i = array->Count - 1; i >= 0; --i) {
      TFile* unit = array->Items[i];
      if (!unit) continue;
      for (TFileArray* uses : {unit->ImplementationUses.get(), unit->InterfaceUses.get()})
        if (uses && SortOwnOrder(*uses)) pending.push_back(uses);
    }
  }
}
