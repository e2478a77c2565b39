// Owner of an open MIDI output device. The device is closed through the
// function it was opened with (the multimedia API, or a test's recorder),
// and the result of that close is returned to whoever asks for it.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class TMidiOutHandle {
 public:
  using TCloser = MMRESULT(WINAPI*)(HMIDIOUT);

  TMidiOutHandle() = default;
  ~TMidiOutHandle() { Close(); }
  TMidiOutHandle(const TMidiOutHandle&) = delete;
  TMidiOutHandle& operator=(const TMidiOutHandle&) = delete;

  HMIDIOUT Get() const { return h_; }
  bool Open() const { return h_ != nullptr; }
  // Takes an opened device over; the one held until now is closed.
  void Attach(HMIDIOUT h, TCloser closer = &midiOutClose) {
    if (h == h_) return;
    Close();
    h_ = h;
    closer_ = closer;
  }
  HMIDIOUT Detach() {
    HMIDIOUT h = h_;
    h_ = nullptr;
    return h;
  }
  // MMSYSERR_INVALHANDLE when nothing is open.
  MMRESULT Close() {
    if (!h_) return MMSYSERR_INVALHANDLE;
    MMRESULT r = closer_(h_);
    h_ = nullptr;
    return r;
  }

 private:
  HMIDIOUT h_ = nullptr;
  TCloser closer_ = &midiOutClose;
};
