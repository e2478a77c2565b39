// The MIDI output owner closes through the function the device was opened
// with, once, and reports that close's result. No device is needed.
#include <gtest/gtest.h>

#include <type_traits>
#include <vector>

#include "MidiOut.h"

namespace {

static_assert(!std::is_copy_constructible_v<TMidiOutHandle> && !std::is_copy_assignable_v<TMidiOutHandle>);

std::vector<HMIDIOUT> Closed;
MMRESULT WINAPI RecordClose(HMIDIOUT h) {
  Closed.push_back(h);
  return MMSYSERR_NOERROR;
}
HMIDIOUT Device(int n) { return reinterpret_cast<HMIDIOUT>(static_cast<INT_PTR>(n)); }

TEST(TMidiOutHandle, ClosesWhenItEndsOrTakesAnother) {
  Closed.clear();
  {
    TMidiOutHandle owner;
    owner.Attach(Device(1), &RecordClose);
    owner.Attach(Device(1), &RecordClose);  // the same device again: kept
    EXPECT_TRUE(Closed.empty());
    owner.Attach(Device(2), &RecordClose);
    EXPECT_EQ(Closed, std::vector<HMIDIOUT>{Device(1)});
  }
  EXPECT_EQ(Closed, (std::vector<HMIDIOUT>{Device(1), Device(2)}));
}

TEST(TMidiOutHandle, DetachHandsTheDeviceOverAndCloseSaysWhenNothingIsOpen) {
  Closed.clear();
  TMidiOutHandle owner;
  EXPECT_EQ(owner.Close(), MMSYSERR_INVALHANDLE);
  owner.Attach(Device(3), &RecordClose);
  EXPECT_TRUE(owner.Open());
  EXPECT_EQ(owner.Detach(), Device(3));
  EXPECT_FALSE(owner.Open());
  EXPECT_EQ(owner.Close(), MMSYSERR_INVALHANDLE);
  EXPECT_TRUE(Closed.empty());
}

}  // namespace
