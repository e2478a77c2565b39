// What an expert of ours sends across the boundary, seen from the IDE's
// side of the table: a probe object laid out as the IDE's objects are (its
// first field points to a table of slots), each slot recording its number
// and answering 0. The stand-in host is compiled from our own headers and
// cannot see a slot out of place; the probe's slots are numbered as in
// Delphi's units, so a call that lands elsewhere shows here.
//
// The slots take the object and one argument, and this build passes both in
// registers whatever the callee declares (x64), so every call fits them.
#include "ExpertSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <ostream>
#include <utility>
#include <vector>

namespace {

struct TSlotProbe;

struct TSlotCall {
  int Slot;
  void* Argument;
  bool operator==(const TSlotCall&) const = default;
  friend void PrintTo(const TSlotCall& call, std::ostream* out) {
    *out << "slot " << call.Slot << " (" << call.Argument << ")";
  }
};

constexpr int SlotCount = 48;
using TSlot = std::uintptr_t (*)(TSlotProbe* self, void* argument);

template <int N>
std::uintptr_t RecordSlot(TSlotProbe* self, void* argument);

template <int... N>
constexpr std::array<TSlot, SlotCount> MakeSlots(std::integer_sequence<int, N...>) {
  return {&RecordSlot<N>...};
}
constexpr std::array<TSlot, SlotCount> Slots = MakeSlots(std::make_integer_sequence<int, SlotCount>());

struct TSlotProbe {
  const TSlot* Table = Slots.data();
  std::vector<TSlotCall> Calls;

  template <class T>
  T* As() {
    return reinterpret_cast<T*>(this);
  }
  std::vector<int> SlotsCalled() const {
    std::vector<int> slots;
    for (const TSlotCall& call : Calls) slots.push_back(call.Slot);
    return slots;
  }
};

template <int N>
std::uintptr_t RecordSlot(TSlotProbe* self, void* argument) {
  self->Calls.push_back({N, argument});
  return 0;
}

// The probe as the library's tool services for the time of a test.
class ExpertSupportTest : public testing::Test {
 protected:
  void SetUp() override { ToolServices = Ide.As<TIToolServices>(); }
  void TearDown() override { ToolServices = nullptr; }
  TSlotProbe Ide;
};

// Slot numbers of Delphi's ToolIntf unit.
enum : int {
  OpenFileSlot = 9,
  GetParentHandleSlot = 14,
  GetProjectNameSlot = 15,
  GetMainMenuSlot = 33,
  FreePascalStringSlot = 37,
  RaiseExceptionSlot = 40,
  DestroyMenuItemSlot = 3,
  ReleaseSlot = 1,
};

TEST_F(ExpertSupportTest, TheToolServicesOurExpertsCallAreTheIdesSlots) {
  TIToolServices* services = Ide.As<TIToolServices>();
  constexpr TDelphiLiteral Message("a failure");
  services->OpenFile(Message.Str());
  services->GetParentHandle();
  TDelphiStr project = nullptr;
  services->GetProjectName(&project);
  services->RaiseException(Message.Str());
  EXPECT_EQ(Ide.SlotsCalled(),
            (std::vector<int>{OpenFileSlot, GetParentHandleSlot, GetProjectNameSlot, RaiseExceptionSlot}));
}

TEST_F(ExpertSupportTest, InsertingAnItemAsksTheIdeForItsMainMenuFirst) {
  constexpr TDelphiLiteral Anchor("ViewPrjMgrItem");
  constexpr TDelphiLiteral Caption("&Usagram");
  constexpr TDelphiLiteral Name("ViewUsagramItem");
  // An IDE without a main menu: the answer 0 stops the insertion.
  EXPECT_EQ(InsertMenuItemAfter(ToolServices, Anchor.Str(), Caption.Str(), Name.Str(), {}), nullptr);
  EXPECT_EQ(Ide.SlotsCalled(), (std::vector<int>{GetMainMenuSlot}));
}

TEST_F(ExpertSupportTest, AStringOfTheIdeIsHandedBackThroughFreePascalString) {
  static char ideChars[] = "C:\\Projects\\Demo.dpr";  // stands for a string of the IDE's
  TIdeString project(ToolServices);
  TDelphiStr* variable = project.Receive();
  EXPECT_TRUE(Ide.Calls.empty());  // nothing to give back yet
  *variable = ideChars;
  EXPECT_EQ(project.Text(), ideChars);
  project.Reset();
  EXPECT_EQ(Ide.Calls, (std::vector<TSlotCall>{{FreePascalStringSlot, variable}}));
}

TEST_F(ExpertSupportTest, AStringResultReleasesWhatTheVariableHeldFirst) {
  constexpr TDelphiLiteral Answer("Usagram_Expert");
  static char ideChars[] = "Vantrelle.Usagram";  // the IDE's previous answer
  TDelphiStr variable = ideChars;
  ReturnString(&variable, Answer);
  EXPECT_EQ(Ide.Calls, (std::vector<TSlotCall>{{FreePascalStringSlot, &variable}}));
  EXPECT_EQ(variable, Answer.Str());

  // An empty variable has nothing to release.
  Ide.Calls.clear();
  variable = nullptr;
  ReturnString(&variable, Answer);
  EXPECT_TRUE(Ide.Calls.empty());
  EXPECT_EQ(variable, Answer.Str());
}

TEST_F(ExpertSupportTest, AnInsertedItemIsDestroyedInTheIdesMenuThenReleasedOnce) {
  TSlotProbe item;
  {
    TExpertMenuItem owner(item.As<TIMenuItemIntf>());
    EXPECT_TRUE(owner);
    owner.Reset();
    EXPECT_FALSE(owner);
  }
  EXPECT_EQ(item.SlotsCalled(), (std::vector<int>{DestroyMenuItemSlot, ReleaseSlot}));

  // No item, no call.
  { TExpertMenuItem none(nullptr); }
  EXPECT_EQ(item.Calls.size(), 2u);
}

}  // namespace
