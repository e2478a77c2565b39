#include "uMidi.h"

#include "MidiOut.h"

static_assert(sizeof(MIDIOUTCAPSA) == 52, "the mapper's capabilities are a 52-byte record");

UINT MidiDeviceCount = 0;
MIDIOUTCAPSA MidiCaps{};
// Nothing is open before the first MidiOpen.
MMRESULT MidiLastResult = MMSYSERR_INVALHANDLE;

namespace {

TMidiApi Api = SystemMidiApi();
TMidiOutHandle Device;

// The answers after which the mapper is not worth trying further.
bool Hopeless(MMRESULT r) {
  return r == MMSYSERR_BADDEVICEID || r == MMSYSERR_NODRIVER || r == MMSYSERR_NOMEM || r == MMSYSERR_INVALPARAM;
}

}  // namespace

TMidiApi SystemMidiApi() {
  return {&midiOutGetNumDevs, &midiOutGetDevCapsA, &midiOutOpen, &midiOutReset, &midiOutShortMsg, &midiOutClose};
}

TMidiApi SetMidiApi(const TMidiApi& api) {
  MidiClose();
  TMidiApi previous = Api;
  Api = api;
  return previous;
}

void MidiOpen() {
  MidiDeviceCount = Api.GetNumDevs();
  MidiLastResult = Api.GetDevCaps(MidiDeviceNumber, &MidiCaps, sizeof MidiCaps);
  if (Hopeless(MidiLastResult)) return;
  HMIDIOUT h = nullptr;
  MidiLastResult = Api.Open(&h, MidiDeviceNumber, 0, 0, CALLBACK_NULL);
  // Only a device that opened can be reset: any failure ends here.
  if (MidiLastResult != MMSYSERR_NOERROR || !h) return;
  Device.Attach(h, Api.Close);
  MidiReset();
}

void MidiReset() { MidiLastResult = Api.Reset(Device.Get()); }

void MidiShortMsg(uint8_t status, uint8_t data1, uint8_t data2) {
  const DWORD message = static_cast<DWORD>(status) | (static_cast<DWORD>(data1) << 8) | (static_cast<DWORD>(data2) << 16);
  MidiLastResult = Api.ShortMsg(Device.Get(), message);
}

void MidiClose() {
  if (Device.Open()) MidiLastResult = Device.Close();
}

bool MidiOK() { return MidiLastResult == MMSYSERR_NOERROR; }
