#include <random>

#include "BTree.h"
#include "ModelTestUtil.h"

using namespace modeltest;

namespace {

// Orders keys by their value; equal keys compare as 1.
class TNumberTree : public TArbre {
 public:
  uint8_t Compare(uint16_t a, uint16_t b) override { return a < b ? 0 : a == b ? 1 : 2; }
};

std::vector<uint16_t> Walk(TArbre& tree) {
  TWordList list;
  tree.Traverse(list);
  std::vector<uint16_t> keys(list.Words, list.Words + list.Length);
  FreeWordList(list);
  return keys;
}

class Sorting : public ModelTest {
 protected:
  void SetUp() override {
    ModelTest::SetUp();
    FileArray = std::make_unique<TFileArray>(true);
  }
  // An unresolved unit with the given classification, placed in the array
  // without analysis.
  static TFile* Put(TFileArray& array, const std::string& name, int location, uint16_t level,
                    uint16_t basicIndex = 0) {
    TFile* f = new TFile(name, "");
    f->Analysed = true;
    f->Location = location;
    f->Level = level;
    f->BasicIndex = basicIndex;
    array.Items[array.Count++] = f;
    array.Sorted = false;
    return f;
  }
  static void Refer(TFileArray& list, TFile* f) {
    list.Items[list.Count++] = f;
    list.Sorted = false;
  }
};

}  // namespace

TEST(WordList, AllocationGivesLengthPlusOneWordsAndFreeingZeroes) {
  TWordList list;
  AllocWordList(list, 5);
  ASSERT_EQ(list.Length, 5);
  ASSERT_NE(list.Words, nullptr);
  for (int i = 0; i <= 5; ++i) list.Words[i] = static_cast<uint16_t>(i);
  EXPECT_EQ(list.Words[5], 5);
  FreeWordList(list);
  EXPECT_EQ(list.Length, 0);
  EXPECT_EQ(list.Words, nullptr);
  AllocWordList(list, -3);
  EXPECT_EQ(list.Length, 0);
  EXPECT_EQ(list.Words, nullptr);
  FreeWordList(list);
}

TEST(Tree, NodesLinkToTheirParentWithTheirSide) {
  TNoeud parent(1), left(2), right(3);
  EXPECT_EQ(parent.Side, 1);
  EXPECT_EQ(parent.Parent, nullptr);
  parent.SetLeft(&left);
  parent.SetRight(&right);
  EXPECT_EQ(left.Parent, &parent);
  EXPECT_EQ(left.Side, 0);
  EXPECT_EQ(right.Parent, &parent);
  EXPECT_EQ(right.Side, 2);
  parent.SetLeft(nullptr);
  EXPECT_EQ(parent.Left, nullptr);
}

TEST(Tree, InOrderWalkSortsAndEqualKeysComeOutInReverseOrder) {
  TNumberTree tree;
  std::mt19937 random(7);
  std::vector<uint16_t> keys;
  for (int i = 0; i < 500; ++i) keys.push_back(static_cast<uint16_t>(random() % 200));
  for (uint16_t k : keys) tree.Insert(k);
  EXPECT_EQ(tree.NodeCount, 500);
  std::vector<uint16_t> expected = keys;
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(Walk(tree), expected);

  // The base class calls every key equal: all go left.
  TArbre plain;
  for (uint16_t k : {4, 9, 1}) plain.Insert(k);
  EXPECT_EQ(Walk(plain), (std::vector<uint16_t>{1, 9, 4}));
  plain.Clear();
  EXPECT_EQ(plain.NodeCount, 0);
  EXPECT_EQ(plain.RootNode, nullptr);
  EXPECT_TRUE(Walk(plain).empty());
}

TEST(Tree, DegenerateTreesAreWalkedAndClearedWithoutRecursion) {
  for (bool ascending : {true, false}) {
    TNumberTree tree;
    const int n = 60000;
    for (int i = 0; i < n; ++i) tree.Insert(static_cast<uint16_t>(ascending ? i : n - 1 - i));
    std::vector<uint16_t> keys = Walk(tree);
    ASSERT_EQ(keys.size(), static_cast<size_t>(n));
    EXPECT_TRUE(std::is_sorted(keys.begin(), keys.end()));
    tree.Clear();
    EXPECT_EQ(tree.RootNode, nullptr);
    EXPECT_EQ(tree.Current, nullptr);
  }
}

TEST(Tree, WalkFillsAGivenListNoFurtherThanItsLength) {
  TNumberTree tree;
  for (uint16_t k : {5, 3, 8, 1}) tree.Insert(k);
  TWordList list;
  AllocWordList(list, 2);
  list.Words[2] = 999;
  tree.Traverse(list);
  EXPECT_EQ(list.Words[0], 1);
  EXPECT_EQ(list.Words[1], 3);
  EXPECT_EQ(list.Words[2], 999);
  FreeWordList(list);
}

TEST_F(Sorting, SameLocationAndLevelComeOutInReverseOrderOfEntry) {
  UseLocations({});
  Put(*FileArray, "A", 0, 1);
  Put(*FileArray, "B", 0, 1);
  Put(*FileArray, "C", 0, 1);
  FileArray->Sort();
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"C", "B", "A"}));
  EXPECT_TRUE(FileArray->Sorted);
}

TEST_F(Sorting, BranchOrderIsBasicThenNotFoundThenLocationsThenLevel) {
  TTempDir dir;
  UseLocations({dir / "l0", dir / "l1", dir / "l2"});
  Locations[1]->Explicit = true;  // ranks with "." (index 3)
  Put(*FileArray, "Project", 3, 4);
  Put(*FileArray, "InL2", 2, 1);
  Put(*FileArray, "Basic5", -2, 0, 5);
  Put(*FileArray, "Missing", -1, 1);
  Put(*FileArray, "ExplicitLow", 1, 1);
  Put(*FileArray, "InL0High", 0, 3);
  Put(*FileArray, "Basic1", -2, 0, 1);
  Put(*FileArray, "InL0Low", 0, 2);
  Put(*FileArray, "HereMid", 3, 2);
  FileArray->Sort();
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"Basic1", "Basic5", "Missing", "InL0Low", "InL0High", "InL2",
                                                         "ExplicitLow", "HereMid", "Project"}));
}

TEST_F(Sorting, ListsFollowTheProjectOrderAndKeepDuplicatesAdjacent) {
  UseLocations({});
  TFile* p = Put(*FileArray, "P", 0, 3);
  TFile* a = Put(*FileArray, "A", 0, 1);
  TFile* b = Put(*FileArray, "B", 0, 2);
  TFile* c = Put(*FileArray, "C", -1, 1);
  // Levels in the list would give another order: only positions count.
  Refer(*p->ImplementationUses, a);
  Refer(*p->ImplementationUses, b);
  Refer(*p->ImplementationUses, c);
  Refer(*p->ImplementationUses, a);
  Refer(*b->InterfaceUses, p);
  Refer(*b->InterfaceUses, c);
  FileArray->Sort();
  ASSERT_EQ(Names(*FileArray), (std::vector<std::string>{"C", "A", "B", "P"}));
  EXPECT_EQ(Names(*p->ImplementationUses), (std::vector<std::string>{"C", "A", "A", "B"}));
  EXPECT_EQ(Names(*b->InterfaceUses), (std::vector<std::string>{"C", "P"}));
  EXPECT_TRUE(p->ImplementationUses->Sorted);
  EXPECT_TRUE(a->InterfaceUses->Sorted);  // empty lists are marked too
}

TEST_F(Sorting, ASortedOrEmptyArrayIsLeftAlone) {
  UseLocations({});
  TFileArray empty;
  empty.Sorted = false;
  empty.Sort();
  EXPECT_TRUE(empty.Sorted);
  Put(*FileArray, "Low", 0, 1);
  Put(*FileArray, "High", 0, 2);
  FileArray->Sorted = true;
  FileArray->Sort();
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"Low", "High"}));
  std::swap(FileArray->Items[0], FileArray->Items[1]);
  FileArray->Sorted = false;
  FileArray->Sort();
  EXPECT_EQ(Names(*FileArray), (std::vector<std::string>{"Low", "High"}));
}

TEST_F(Sorting, LongChainsOfListsSortWithoutDeepRecursion) {
  UseLocations({});
  std::vector<TFile*> units;
  for (int i = 0; i < 1000; ++i) units.push_back(Put(*FileArray, Numbered("U", i), 0, static_cast<uint16_t>(1000 - i)));
  for (int i = 0; i + 1 < 1000; ++i) {
    Refer(*units[i]->InterfaceUses, units[i + 1]);
    Refer(*units[i]->ImplementationUses, units[i + 1]);
  }
  FileArray->Sort();
  EXPECT_EQ(FileArray->Items[0], units[999]);
  EXPECT_EQ(FileArray->Items[999], units[0]);
  for (TFile* u : units) EXPECT_TRUE(u->InterfaceUses->Sorted && u->ImplementationUses->Sorted);
}
