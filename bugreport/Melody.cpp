#include "Melody.h"

#include "uMidi.h"

// A little air in D that climbs to the top of the range and comes home.
const uint8_t MelodyNotes[MelodyLength] = {
    74, 76, 78, 79, 81, 81, 83, 81, 79, 78,  //
    76, 74, 78, 81, 84, 83, 81, 79, 78, 79,  //
    81, 83, 81, 79, 78, 76, 78, 76, 74, 74};
const int32_t MelodyDurations[MelodyLength] = {
    250, 250, 250, 250, 500, 500, 250, 250, 250, 250,  //
    500, 500, 250, 250, 500, 250, 250, 500, 125, 125,  //
    250, 250, 250, 250, 250, 250, 250, 250, 1000, 2000};

int32_t MelodyStep = 1;
int32_t MelodyInstrument = FirstInstrument;

uint32_t MelodyTick() {
  // Out-of-range state (set by hand) starts the tune again.
  if (MelodyStep < 1 || MelodyStep > MelodyLength) MelodyStep = 1;
  if (MelodyInstrument < 1 || MelodyInstrument > InstrumentCount) MelodyInstrument = FirstInstrument;
  const int step = MelodyStep;
  if (step == 1) MidiReset();  // silences the last note of the previous pass
  MidiShortMsg(MidiStatus::ProgramChange, ProgramOf(MelodyInstrument), 0);
  if (step > 1) MidiShortMsg(MidiStatus::NoteOff, MelodyNotes[step - 2], NoteVelocity);
  MidiShortMsg(MidiStatus::NoteOn, MelodyNotes[step - 1], NoteVelocity);
  const uint32_t interval = static_cast<uint32_t>(MelodyDurations[step - 1]);
  if (++MelodyStep > MelodyLength) {
    MelodyStep = 1;
    if (++MelodyInstrument > InstrumentCount) MelodyInstrument = 1;
  }
  return interval;
}
