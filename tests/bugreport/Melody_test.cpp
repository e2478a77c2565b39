// The melody: the tune's tables, the messages each tick sends (recorded in
// place of the device), and what the real device of this machine allows.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

#include "Melody.h"
#include "MidiRecorder.h"

namespace {

using Call = TMidiCall;

TEST(Melody, TuneStaysInItsRangeWithTheAllowedDurations) {
  for (int i = 0; i < MelodyLength; ++i) {
    SCOPED_TRACE(i);
    EXPECT_GE(MelodyNotes[i], LowestNote);
    EXPECT_LE(MelodyNotes[i], HighestNote);
    EXPECT_NE(std::find(std::begin(AllowedDurations), std::end(AllowedDurations), MelodyDurations[i]),
              std::end(AllowedDurations));
  }
}

TEST(Melody, EachTickPlaysTheNextNoteAndEachPassTheNextInstrument) {
  TMidiRecorder device;
  MidiOpen();
  ASSERT_TRUE(MidiOK());
  MelodyStep = 1;
  MelodyInstrument = FirstInstrument;
  TMidiRecorder::Calls().clear();

  std::vector<Call> expected;
  std::vector<uint32_t> intervals;
  auto msg = [](BYTE s, BYTE a, BYTE b) { return Call{"msg", TMidiRecorder::Message(s, a, b)}; };
  for (int tick = 1; tick <= MelodyLength + 2; ++tick) {
    const int step = (tick - 1) % MelodyLength;  // 0-based note of this tick
    const int instrument = FirstInstrument + (tick - 1) / MelodyLength;
    // A new pass silences the last note of the previous one by a reset.
    if (step == 0) expected.push_back({"reset"});
    expected.push_back(msg(0xC0, static_cast<BYTE>(instrument - 1), 0));
    if (step > 0) expected.push_back(msg(0x80, MelodyNotes[step - 1], 64));
    expected.push_back(msg(0x90, MelodyNotes[step], 64));
    intervals.push_back(MelodyTick());
    EXPECT_EQ(intervals.back(), static_cast<uint32_t>(MelodyDurations[step])) << "tick " << tick;
  }
  EXPECT_EQ(TMidiRecorder::Calls(), expected);
  EXPECT_EQ(MelodyStep, 3);
  EXPECT_EQ(MelodyInstrument, FirstInstrument + 1);
}

TEST(Melody, InstrumentComesBackToTheFirstAfter128) {
  TMidiRecorder device;
  MidiOpen();
  MelodyStep = MelodyLength;
  MelodyInstrument = InstrumentCount;
  TMidiRecorder::Calls().clear();
  MelodyTick();  // the last note of the 128th pass, on program 127
  MelodyTick();  // the first of the next pass, on program 0
  EXPECT_EQ(TMidiRecorder::Messages(),
            (std::vector<DWORD>{TMidiRecorder::Message(0xC0, 127, 0),
                                TMidiRecorder::Message(0x80, MelodyNotes[MelodyLength - 2], 64),
                                TMidiRecorder::Message(0x90, MelodyNotes[MelodyLength - 1], 64),
                                TMidiRecorder::Message(0xC0, 0, 0), TMidiRecorder::Message(0x90, MelodyNotes[0], 64)}));
  EXPECT_EQ(MelodyInstrument, 1);
  EXPECT_EQ(MelodyStep, 2);
}

TEST(Midi, OpenGoesOnlyAsFarAsTheDeviceAllows) {
  TMidiRecorder device;
  struct TCase {
    MMRESULT Caps, Open;
    std::vector<Call> Calls;
    bool Usable;
  };
  const Call count{"count"}, caps{"caps", 52}, open{"open", MIDI_MAPPER}, reset{"reset"};
  const std::vector<TCase> cases = {
      {MMSYSERR_NOERROR, MMSYSERR_NOERROR, {count, caps, open, reset}, true},
      {MMSYSERR_NODRIVER, MMSYSERR_NOERROR, {count, caps}, false},
      {MMSYSERR_BADDEVICEID, MMSYSERR_NOERROR, {count, caps}, false},
      // A capability query the driver does not know does not stop the opening.
      {MMSYSERR_NOTSUPPORTED, MMSYSERR_NOERROR, {count, caps, open, reset}, true},
      // A device that did not open is not reset.
      {MMSYSERR_NOERROR, MMSYSERR_ALLOCATED, {count, caps, open}, false},
      {MMSYSERR_NOERROR, MMSYSERR_NODRIVER, {count, caps, open}, false},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.Caps << "/" << c.Open);
    MidiClose();
    TMidiRecorder::Calls().clear();
    TMidiRecorder::CapsResult() = c.Caps;
    TMidiRecorder::OpenResult() = c.Open;
    MidiOpen();
    EXPECT_EQ(TMidiRecorder::Calls(), c.Calls);
    EXPECT_EQ(MidiOK(), c.Usable);
  }
  TMidiRecorder::CapsResult() = TMidiRecorder::OpenResult() = MMSYSERR_NOERROR;
  MidiOpen();
  TMidiRecorder::Calls().clear();
  MidiClose();
  EXPECT_EQ(TMidiRecorder::Calls(), std::vector<Call>{{"close"}});
  MidiClose();  // nothing open: nothing to close
  EXPECT_EQ(TMidiRecorder::Calls().size(), 1u);
}

TEST(Midi, TheMapperOfThisMachineIsUsableOnlyWithADevice) {
  MidiOpen();
  // This machine has no MIDI device; with one, the mapper must open.
  if (midiOutGetNumDevs() == 0)
    EXPECT_FALSE(MidiOK()) << "result " << MidiLastResult;
  else
    EXPECT_TRUE(MidiOK()) << "result " << MidiLastResult;
  MidiClose();
}

}  // namespace
