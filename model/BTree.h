// The sorting tree that puts units into branch order: a plain unbalanced
// binary tree of 16-bit keys, walked without recursion.
#pragma once

#include <cstdint>

class TFileArray;

// A length and Length + 1 words.
struct TWordList {
  int32_t Length = 0;
  uint16_t* Words = nullptr;
};
// Length 0 (and no block) when the memory cannot be had.
void AllocWordList(TWordList& list, int32_t length);
void FreeWordList(TWordList& list);

class TNoeud {
 public:
  explicit TNoeud(uint16_t key) : Key(key) {}
  void SetLeft(TNoeud* node);
  void SetRight(TNoeud* node);

  uint16_t Key;
  TNoeud* Parent = nullptr;
  TNoeud* Left = nullptr;
  TNoeud* Right = nullptr;
  uint8_t Side = 1;  // 0 left child, 1 root, 2 right child
};

class TArbre {
 public:
  TArbre() = default;
  virtual ~TArbre();
  TArbre(const TArbre&) = delete;
  TArbre& operator=(const TArbre&) = delete;

  // 0: newKey sorts before nodeKey, 1: equal, 2: after.
  virtual uint8_t Compare(uint16_t newKey, uint16_t nodeKey);

  // Equal keys go left, so they come out in reverse order of insertion.
  void Insert(uint16_t key);
  // Keys in order; an empty list is first allocated with NodeCount entries.
  void Traverse(TWordList& list);
  void Clear();

  bool Inserting = false;
  int32_t NodeCount = 0;
  TNoeud* RootNode = nullptr;
  TNoeud* Current = nullptr;
};

// Keys index the entries of SortArray.
class TFileArbre : public TArbre {
 public:
  explicit TFileArbre(TFileArray* sortArray) : SortArray(sortArray) {}
  ~TFileArbre() override;
  uint8_t Compare(uint16_t newKey, uint16_t nodeKey) override;

  TFileArray* SortArray;  // not owned
};
