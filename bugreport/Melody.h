// The melody of the bug report window: a tune of 30 notes, one per tick of
// the window's timer, looping with the next instrument at every pass.
#pragma once

#include <cstdint>

inline constexpr int MelodyLength = 30;
// MIDI note numbers (all within 74..84) and the milliseconds until the next
// tick (each 125, 250, 500, 1000 or 2000), one per step.
extern const uint8_t MelodyNotes[MelodyLength];
extern const int32_t MelodyDurations[MelodyLength];
inline constexpr uint8_t LowestNote = 74, HighestNote = 84;
inline constexpr int32_t AllowedDurations[] = {125, 250, 500, 1000, 2000};

// The instrument counter runs 1..128; the program change sends it as
// 0..127, the range of a MIDI data byte.
inline constexpr int32_t FirstInstrument = 6;
inline constexpr int32_t InstrumentCount = 128;
inline constexpr uint8_t ProgramOf(int32_t instrument) { return static_cast<uint8_t>(instrument - 1); }

namespace MidiStatus {
inline constexpr uint8_t NoteOff = 0x80;  // first channel
inline constexpr uint8_t NoteOn = 0x90;
inline constexpr uint8_t ProgramChange = 0xC0;
}  // namespace MidiStatus
inline constexpr uint8_t NoteVelocity = 64;

// Where the tune stands: kept for the life of the process, so that a window
// shown again goes on where it stopped.
extern int32_t MelodyStep;        // 1..30: the note of the next tick
extern int32_t MelodyInstrument;  // 1..128

// Plays one step through uMidi and moves on; returns the interval until the
// next tick (the duration of the step played).
uint32_t MelodyTick();
