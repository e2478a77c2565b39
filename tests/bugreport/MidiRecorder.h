// A MIDI device that is always there: the midiOut calls of uMidi recorded,
// with the answers a test chooses. Installed for the life of the object.
#pragma once

#include <string>
#include <vector>

#include "uMidi.h"

struct TMidiCall {
  std::string What;   // "count", "caps", "open", "reset", "msg", "close"
  DWORD Value = 0;    // caps: the size asked; open: the device; msg: the message
  bool operator==(const TMidiCall&) const = default;
};

class TMidiRecorder {
 public:
  TMidiRecorder() : previous_(SetMidiApi({&GetNumDevs, &GetDevCaps, &Open, &Reset, &ShortMsg, &Close})) {
    Calls().clear();
    CapsResult() = OpenResult() = MMSYSERR_NOERROR;
  }
  ~TMidiRecorder() { SetMidiApi(previous_); }
  TMidiRecorder(const TMidiRecorder&) = delete;
  TMidiRecorder& operator=(const TMidiRecorder&) = delete;

  static std::vector<TMidiCall>& Calls() {
    static std::vector<TMidiCall> calls;
    return calls;
  }
  static MMRESULT& CapsResult() {
    static MMRESULT r = MMSYSERR_NOERROR;
    return r;
  }
  static MMRESULT& OpenResult() {
    static MMRESULT r = MMSYSERR_NOERROR;
    return r;
  }
  // Only the short messages, in order.
  static std::vector<DWORD> Messages() {
    std::vector<DWORD> m;
    for (const TMidiCall& c : Calls())
      if (c.What == "msg") m.push_back(c.Value);
    return m;
  }
  static DWORD Message(BYTE status, BYTE data1, BYTE data2) { return status | (data1 << 8) | (data2 << 16); }

 private:
  static inline HMIDIOUT const Device = reinterpret_cast<HMIDIOUT>(static_cast<INT_PTR>(0x4D49));
  static MMRESULT Answer(HMIDIOUT h) { return h == Device ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE; }

  static UINT WINAPI GetNumDevs() {
    Calls().push_back({"count"});
    return 1;
  }
  static MMRESULT WINAPI GetDevCaps(UINT_PTR, LPMIDIOUTCAPSA, UINT size) {
    Calls().push_back({"caps", size});
    return CapsResult();
  }
  static MMRESULT WINAPI Open(LPHMIDIOUT h, UINT device, DWORD_PTR, DWORD_PTR, DWORD) {
    Calls().push_back({"open", device});
    if (OpenResult() == MMSYSERR_NOERROR) *h = Device;
    return OpenResult();
  }
  static MMRESULT WINAPI Reset(HMIDIOUT h) {
    Calls().push_back({"reset"});
    return Answer(h);
  }
  static MMRESULT WINAPI ShortMsg(HMIDIOUT h, DWORD message) {
    Calls().push_back({"msg", message});
    return Answer(h);
  }
  static MMRESULT WINAPI Close(HMIDIOUT h) {
    Calls().push_back({"close"});
    return Answer(h);
  }

  TMidiApi previous_;
};
