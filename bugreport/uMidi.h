// The MIDI output of the bug report's melody: one process-wide device, the
// system's MIDI mapper, behind five routines. The result of the last call
// tells whether the device is usable.
#pragma once

#include <windows.h>
#include <mmsystem.h>

#include <cstdint>

// Always the MIDI mapper.
inline constexpr UINT MidiDeviceNumber = MIDI_MAPPER;
// What the device queries answered (kept for the curious).
extern UINT MidiDeviceCount;
extern MIDIOUTCAPSA MidiCaps;
// Result of the last midiOut call; MMSYSERR_NOERROR is success.
extern MMRESULT MidiLastResult;

// Queries the mapper and opens it; a device that opens is reset at once.
void MidiOpen();
// All notes off.
void MidiReset();
// One short message: status in the low byte, then the two data bytes.
void MidiShortMsg(uint8_t status, uint8_t data1, uint8_t data2);
void MidiClose();
bool MidiOK();

// The multimedia calls the routines make. Tests put recorders in their
// place; the product uses the system's.
struct TMidiApi {
  UINT(WINAPI* GetNumDevs)();
  MMRESULT(WINAPI* GetDevCaps)(UINT_PTR device, LPMIDIOUTCAPSA caps, UINT size);
  MMRESULT(WINAPI* Open)(LPHMIDIOUT handle, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags);
  MMRESULT(WINAPI* Reset)(HMIDIOUT handle);
  MMRESULT(WINAPI* ShortMsg)(HMIDIOUT handle, DWORD message);
  MMRESULT(WINAPI* Close)(HMIDIOUT handle);
};
TMidiApi SystemMidiApi();
// Closes the device, then installs api; returns the one it replaces.
TMidiApi SetMidiApi(const TMidiApi& api);
