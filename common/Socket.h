// Owners for Winsock: the library's start-up and one socket. The SMTP client
// never calls WSACleanup or closesocket itself.
#pragma once

#include <winsock2.h>

// Winsock started for the life of the object (the system counts the calls,
// so owners may nest).
class TWinsock {
 public:
  TWinsock() : started_(WSAStartup(MAKEWORD(2, 2), &data_) == 0) {}
  ~TWinsock() {
    if (started_) WSACleanup();
  }
  TWinsock(const TWinsock&) = delete;
  TWinsock& operator=(const TWinsock&) = delete;
  bool Started() const { return started_; }

 private:
  WSADATA data_{};
  bool started_;
};

// One socket, closed when the owner ends or takes another.
class TSocket {
 public:
  TSocket() = default;
  explicit TSocket(SOCKET s) : s_(s) {}
  ~TSocket() { Close(); }
  TSocket(TSocket&& other) noexcept : s_(other.Detach()) {}
  TSocket& operator=(TSocket&& other) noexcept {
    if (this != &other) Attach(other.Detach());
    return *this;
  }
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;

  SOCKET Get() const { return s_; }
  bool Valid() const { return s_ != INVALID_SOCKET; }
  // Takes s over; the socket held until now is closed.
  void Attach(SOCKET s) {
    if (s == s_) return;
    Close();
    s_ = s;
  }
  // Gives the socket up without closing it.
  SOCKET Detach() {
    SOCKET s = s_;
    s_ = INVALID_SOCKET;
    return s;
  }
  void Close() {
    if (s_ != INVALID_SOCKET) closesocket(s_);
    s_ = INVALID_SOCKET;
  }

 private:
  SOCKET s_ = INVALID_SOCKET;
};
